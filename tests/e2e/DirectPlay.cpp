#include "DirectPlay.h"

#include "Table.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <sstream>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;

const char kDialog[] = "Direct Play options";

// Chooses the seat in the dialog's "Player #" list: the list opens at a click, the seat's row
// (seats count from 1, rows from 0) is clicked.
void ChooseSeat(Session& s, int seat) {
    Scene scene =
        s.Until([](const Scene& now) { return DialogControl(now, "Player #", "QComboBox") != nullptr; },
                "the seat list of the connection dialog");
    const std::string before = DialogControl(scene, "Player #", "QComboBox")->text;
    if (seat == 1) return; // the dialog chooses the first seat itself
    s.Input().Click(DialogControl(scene, "Player #", "QComboBox")->click);
    scene = s.Until(
        [&](const Scene& now) {
            for (const RowInfo& r : now.rows)
                if (r.row == seat - 1) return true;
            return false;
        },
        "the seat list to open");
    for (const RowInfo& r : scene.rows)
        if (r.row == seat - 1) {
            s.Input().Click(r.click);
            break;
        }
    s.Until(
        [&](const Scene& now) {
            const WidgetInfo* list = DialogControl(now, "Player #", "QComboBox");
            return list && list->text != before && now.Menus().empty();
        },
        "seat " + std::to_string(seat) + " chosen");
}

void Sleep(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

} // namespace

const WidgetInfo* DialogControl(const Scene& scene, const std::string& label, const std::string& cls) {
    const WindowInfo* w = scene.Window(kDialog);
    if (!w) w = scene.WindowStarting("Connect as");
    if (!w) return nullptr;
    const WidgetInfo* caption = scene.WithText(w->id, label, "QLabel");
    if (!caption) return nullptr;
    const int line = caption->rect.Centre().y;
    const WidgetInfo* found = nullptr;
    for (const WidgetInfo* c : scene.In(w->id, cls))
        if (c->rect.x >= caption->rect.x + caption->rect.w - 4 && c->rect.y <= line &&
            c->rect.y + c->rect.h >= line && (!found || c->rect.x < found->rect.x))
            found = c;
    return found;
}

const WidgetInfo* DialogButton(const Scene& scene, const std::string& text) {
    const WindowInfo* w = scene.WindowStarting("Connect as");
    if (!w) w = scene.Window(kDialog);
    return w ? scene.WithText(w->id, text, "QPushButton") : nullptr;
}

int FreePort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) throw Failure("no socket to find a free port");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(fd);
        throw Failure("no free port on the loopback");
    }
    close(fd);
    return ntohs(address.sin_port);
}

void WriteDirectIni(const std::string& home, int port, const std::string& game, const std::string& nickname) {
    std::ofstream(home + "/direct.ini")
        << "[DIRECTPLAY]\r\nport=" << port << "\r\nGAME=" << game << "\r\nnickname=" << nickname << "\r\n";
}

void OpenConnectionDialog(Session& s) {
    Scene scene = s.Until([](const Scene& now) { return !now.windows.empty(); }, "the first window");
    if (!scene.Window("Game Type")) s.Input().Click(scene.windows.front().inner.Centre());
    // The picture button of direct play shows its text only as its own.
    auto button = [](const Scene& now) -> const WidgetInfo* {
        const WindowInfo* w = now.Window("Game Type");
        const WidgetInfo* b = w ? now.WithText(w->id, "Start a new Direct Play Session", "Surface") : nullptr;
        return b && b->click.Valid() ? b : nullptr;
    };
    scene = s.Until([&](const Scene& now) { return button(now) != nullptr; }, "the game type window");
    s.Input().Click(button(scene)->click);
    s.UntilWindow(kDialog);
}

bool TableShown(const Scene& scene) {
    const WindowInfo* table = TableWindow(scene);
    if (!table) return false;
    for (const WidgetInfo* card : scene.NamedLike("crd("))
        if (card->window == table->id) return true;
    return scene.Named("BasePict") != nullptr;
}

std::string QuickSavePath(const Session& s, const std::string& game) {
    const std::string stem = game.size() > 5 ? game.substr(0, game.size() - 5) : game;
    return s.Home() + "/save/" + stem + ".pack.save";
}

bool TablesApartMessage(const std::string& text) {
    return text.find("does not fit this table") != std::string::npos;
}

std::vector<std::string> CalmTable(Session& s) {
    std::vector<std::string> texts;
    for (int round = 0; round < 30; ++round) {
        const Scene scene = s.Now();
        if (!scene.Menus().empty()) {
            s.Input().Key("Escape");
            continue;
        }
        if (const WindowInfo* dialog = scene.Dialog()) {
            std::string text;
            for (const WidgetInfo* w : scene.In(dialog->id, "QLabel"))
                if (!w->text.empty()) text += (text.empty() ? "" : " ") + w->text;
            const WidgetInfo* answer = nullptr;
            for (const char* choice : {"OK", "Cancel", "No", "Close"})
                if (!answer) answer = scene.WithText(dialog->id, choice, "QPushButton");
            if (answer && answer->click.Valid()) {
                texts.push_back(text);
                const int id = dialog->id;
                s.Input().Click(answer->click);
                s.Until([&](const Scene& now) { return !now.Dialog() || now.Dialog()->id != id; },
                        "the message to close");
            } else {
                s.Input().Close(dialog->title);
            }
            continue;
        }
        const WindowInfo* table = TableWindow(scene);
        bool closed = false;
        for (const WindowInfo& w : scene.windows)
            if (w.kind != "tip" && w.kind != "menu" && (!table || w.id != table->id))
                closed |= s.Input().Close(w.title);
        if (closed) {
            Sleep(100);
            continue;
        }
        // A message that the last event raises a moment later is answered at the next round.
        if (table && !TryFocusTable(s)) continue;
        break;
    }
    return texts;
}

std::optional<std::string> TryQuickSave(Session& s, const std::string& game, int timeoutMs) {
    const std::string path = QuickSavePath(s, game);
    std::error_code ignored;
    fs::remove(path, ignored);
    if (!TryFocusTable(s)) return std::nullopt;
    s.Input().Key("F7");
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!fs::exists(path)) {
        const Scene now = s.Now();
        if (const WindowInfo* dialog = now.Dialog()) {
            std::string text;
            for (const WidgetInfo* w : now.In(dialog->id, "QLabel"))
                text += w->text + " ";
            throw Failure("the quick save showed \"" + text + "\" instead of writing " + path);
        }
        if (Clock::now() > deadline) return std::nullopt;
        Sleep(50);
    }
    // The save replaces the file whole (it is renamed into place): once it is there, it is complete.
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string QuickSave(Session& s, const std::string& game) {
    if (std::optional<std::string> bytes = TryQuickSave(s, game, 60000)) return *bytes;
    throw Failure("F7 wrote no quick save to " + QuickSavePath(s, game));
}

void AskAsClient(Session& client, int seat) {
    ChooseSeat(client, seat);
    Scene scene = client.Now();
    const WidgetInfo* address = DialogControl(scene, "Address", "QLineEdit");
    if (!address) throw Failure("the connection dialog shows no address box");
    client.ClickInto(*address);
    client.Input().Key("Control_L+a");
    client.Input().Type("127.0.0.1");
    client.Until(
        [](const Scene& now) {
            const WidgetInfo* box = DialogControl(now, "Address", "QLineEdit");
            return box && box->text == "127.0.0.1";
        },
        "the server's address typed");
    // The first press may find the connection not made yet ("Connection not active"): the request
    // goes at a later press, once it is.
    for (int press = 0;; ++press) {
        scene = client.Now();
        if (TableShown(scene)) return;
        const WidgetInfo* button = DialogButton(scene, "Client");
        if (button && button->Enabled() && button->click.Valid()) client.Input().Click(button->click);
        const auto until = Clock::now() + std::chrono::seconds(3);
        while (Clock::now() < until) {
            const Scene now = client.Now();
            const WidgetInfo* b = DialogButton(now, "Client");
            if (TableShown(now) || (b && !b->Enabled())) return;
            if (now.Dialog()) client.AnswerDialogs(200);
            Sleep(50);
        }
        if (press == 20) {
            const Scene last = client.Now();
            throw Failure("the client's request never went to the server\nOn screen:\n" + last.Summary());
        }
    }
}

DirectGame::DirectGame(const std::string& run, const std::string& game, int serverSeat, int clientSeat,
                       const std::vector<std::string>& extraGames)
    : game_(game), serverSeat_(serverSeat), clientSeat_(clientSeat) {
    const int port = FreePort();
    server_ = std::make_unique<Session>(run + "-server", "Karvel");
    client_ = std::make_unique<Session>(run + "-client", "Karvel");
    // Read when the connection dialog loads, which is after this.
    WriteDirectIni(server_->Home(), port, game, "Host");
    WriteDirectIni(client_->Home(), port, game, "Guest");
    for (const std::string& extra : extraGames)
        for (Session* s : {server_.get(), client_.get()})
            fs::copy_file(extra, s->Home() + "/" + fs::path(extra).filename().string(),
                          fs::copy_options::overwrite_existing);
    for (Session* s : {server_.get(), client_.get()})
        OpenConnectionDialog(*s);

    ChooseSeat(*server_, serverSeat);
    server_->ClickText(kDialog, "Server");
    server_->UntilWindow("Connect as Server");

    AskAsClient(*client_, clientSeat);
    for (Session* s : {server_.get(), client_.get()}) {
        const Scene shown = s->Until(
            [](const Scene& now) {
                return (TableShown(now) && TableWindow(now)->Is("active")) || now.Dialog();
            },
            "the direct-play table");
        if (const WindowInfo* dialog = shown.Dialog()) {
            std::string text;
            for (const WidgetInfo* w : shown.In(dialog->id, "QLabel"))
                text += w->text + " ";
            throw Failure(run + ": the " + (s == server_.get() ? "server" : "client") + " said \"" + text +
                          "\" instead of showing the table");
        }
    }
    server_->Step("table");
    client_->Step("table");
}

void DirectGame::Finish() {
    // The client leaves first: the server is told, and closes its own table then.
    client_->Finish();
    server_->Finish();
}

} // namespace e2e
