#include "Session.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace fs = std::filesystem;

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;

void Sleep(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Tail(const std::string& text, std::size_t lines) {
    std::size_t at = text.size();
    for (std::size_t n = 0; n <= lines && at != std::string::npos && at > 0; ++n)
        at = text.rfind('\n', at - 1);
    return at == std::string::npos ? text : text.substr(at + 1);
}

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t slash = path.find('/', start);
        parts.push_back(path.substr(start, slash == std::string::npos ? std::string::npos : slash - start));
        if (slash == std::string::npos) break;
        start = slash + 1;
    }
    return parts;
}

const ItemInfo* FindItem(const Scene& scene, const std::string& text) {
    const ItemInfo* found = nullptr;
    for (const WindowInfo* menu : scene.Menus())
        for (const ItemInfo* item : scene.ItemsOf(menu->id))
            if (item->text == text) found = item; // the innermost menu holding it
    return found;
}

} // namespace

std::string SanitizerReport(const std::string& log) {
    for (const char* mark : {"ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                             "SUMMARY: UndefinedBehaviorSanitizer", "AddressSanitizer:DEADLYSIGNAL"}) {
        const std::size_t at = log.find(mark);
        if (at != std::string::npos) {
            const std::size_t from = log.rfind('\n', at);
            return log.substr(from == std::string::npos ? 0 : from + 1, 6000);
        }
    }
    return "";
}

std::string OutputFolder() {
    const char* out = std::getenv("KARVEL_E2E_OUT");
    return out && *out ? out : std::string(KARVEL_BUILD_DIR) + "/e2e";
}

Session::Session(const std::string& run, const std::string& program, std::vector<std::string> args, int width,
                 int height, bool windowManager)
    : run_(run), program_(program), args_(std::move(args)) {
    folder_ = OutputFolder() + "/" + run;
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    // A program folder of the run's own: the bundled games, nothing saved yet.
    char pattern[] = "/tmp/karvel-e2e-XXXXXX";
    if (!mkdtemp(pattern)) throw Failure("no temporary folder");
    home_ = pattern;
    fs::copy(KARVEL_GAMES, home_, fs::copy_options::recursive);
    probe_ = home_ + "/probe.sock";
    logPath_ = folder_ + "/program.log";
    screen_ = std::make_unique<Screen>(width, height);
    const char* manager = std::getenv("KARVEL_E2E_WM");
    if (windowManager || (manager && std::string(manager) == "openbox")) screen_->StartWindowManager();
    Start();
}

Session::~Session() {
    if (pid_ > 0 && !ended_) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &exitStatus_, 0);
    }
    screen_.reset();
    std::error_code ignored;
    fs::remove_all(home_, ignored);
}

void Session::Start() {
    const std::string executable = std::string(KARVEL_PROGRAM_DIR) + "/" + program_;
    pid_ = fork();
    if (pid_ < 0) throw Failure("cannot start " + program_);
    if (pid_ == 0) {
        const int log = open(logPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (log >= 0) {
            dup2(log, 1);
            dup2(log, 2);
        }
        setenv("DISPLAY", screen_->Name().c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        setenv("KARVEL_HOME", home_.c_str(), 1);
        setenv("KARVEL_PROBE", probe_.c_str(), 1);
        const char* lsan = std::getenv("LSAN_OPTIONS");
        const std::string suppressions = std::string(lsan && *lsan ? std::string(lsan) + ":" : "") +
                                         "suppressions=" KARVEL_E2E_DIR "/lsan.supp";
        setenv("LSAN_OPTIONS", suppressions.c_str(), 1);
        // A fixed double-click time and no desktop settings: the same program on every machine.
        unsetenv("XDG_CURRENT_DESKTOP");
        unsetenv("SESSION_MANAGER");
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(executable.c_str()));
        for (const std::string& a : args_)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(executable.c_str(), argv.data());
        _exit(127);
    }
    // Up when its probe answers.
    Until([](const Scene&) { return true; }, program_ + " to start");
}

bool Session::Alive() {
    if (ended_) return false;
    if (waitpid(pid_, &exitStatus_, WNOHANG) == pid_) {
        ended_ = true;
        // On a loaded machine the leak checker's own tracer thread now and then crashes at exit
        // ("LeakSanitizer has encountered a fatal error"): it reports no leak and proves none, so
        // the program's end is judged without it rather than taken for the program's fault.
        const std::string log = Log();
        if (WIFEXITED(exitStatus_) && WEXITSTATUS(exitStatus_) == 1 &&
            log.find("LeakSanitizer has encountered a fatal error") != std::string::npos &&
            SanitizerReport(log).empty()) {
            std::fprintf(stderr, "%s: the leak checker failed by itself at the program's end\n", run_.c_str());
            exitStatus_ = 0;
        }
    }
    return !ended_;
}

std::string Session::Log() const {
    return ReadFile(logPath_);
}

void Session::Fail(const std::string& what, const Scene* scene) {
    // What was on screen when it failed, for whoever reads the failure.
    if (!ended_ && Alive()) {
        AskProbe(probe_, "shot " + folder_ + "/failure.png", 10000);
        if (const auto answer = AskProbe(probe_, "scene", 10000))
            std::ofstream(folder_ + "/failure-scene.txt") << *answer;
    }
    if (std::getenv("E2E_HOLD")) {
        std::fprintf(stderr, "HOLD %s %s\n", screen_->Name().c_str(), probe_.c_str());
        Sleep(600000);
    }
    std::string message = run_ + ": " + what + "\n";
    if (scene) message += "On screen:\n" + scene->Summary();
    const std::string log = Log();
    const std::string report = SanitizerReport(log);
    message +=
        report.empty() ? "Program output (last lines):\n" + Tail(log, 40) : "Sanitizer report:\n" + report;
    message += "\nPictures and log: " + folder_ + "\n";
    throw Failure(message);
}

void Session::CheckHealth() {
    if (!Alive() && WIFEXITED(exitStatus_) && WEXITSTATUS(exitStatus_) == 0 && SanitizerReport(Log()).empty())
        throw Ended(run_ + ": " + program_ + " ended by itself");
    if (!Alive()) {
        std::string how = WIFSIGNALED(exitStatus_)
                              ? "was killed by signal " + std::to_string(WTERMSIG(exitStatus_))
                              : "ended with code " + std::to_string(WEXITSTATUS(exitStatus_));
        Fail(program_ + " " + how);
    }
    if (!SanitizerReport(Log()).empty()) Fail("the sanitizers reported a fault");
}

Scene Session::Now() {
    // As a wait does, a look waits for the screen to show the windows where the program says they
    // are: what the program says before then is not where a click lands.
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (true) {
        Scene scene = Ask();
        const std::string unsettled = Settle(scene);
        if (unsettled.empty()) return scene;
        if (Clock::now() > deadline) Fail(unsettled, &scene);
        Sleep(30);
    }
}

Scene Session::Ask() {
    CheckHealth();
    // A program that is closing stops listening before it ends: only ten seconds without an
    // answer while it still runs is a hang.
    std::optional<std::string> answer;
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!answer && Clock::now() < deadline) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        answer = AskProbe(probe_, "scene", static_cast<int>(std::max<long long>(left, 1)));
        if (!answer) {
            CheckHealth();
            Sleep(50);
        }
    }
    if (!answer) {
        CheckHealth();
        Fail("the program did not answer for 10 s (hung)");
    }
    auto scene = ParseScene(*answer);
    if (!scene) Fail("the probe's answer was cut short");
    return *scene;
}

Scene Session::Until(const std::function<bool(const Scene&)>& condition, const std::string& what,
                     int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::optional<Scene> last;
    while (Clock::now() < deadline) {
        CheckHealth();
        if (const auto answer = AskProbe(probe_, "scene", 10000)) {
            if (auto scene = ParseScene(*answer)) {
                if (Settle(*scene).empty() && condition(*scene)) return *scene;
                last = *scene;
            }
        } else if (last) {
            CheckHealth();
            Fail("the program did not answer for 10 s (hung) while waiting for " + what, &*last);
        }
        Sleep(30);
    }
    const std::string unsettled = last ? Settle(*last) : "";
    Fail("timed out waiting for " + what + (unsettled.empty() ? "" : " (" + unsettled + ")"),
         last ? &*last : nullptr);
    return Scene{};
}

std::string Session::Settle(Scene& scene) const {
    const std::vector<Shown> stacking = screen_->Stacking();
    const auto text = [](int x, int y, int w, int h) {
        return std::to_string(x) + "," + std::to_string(y) + " " + std::to_string(w) + "x" +
               std::to_string(h);
    };
    std::string unsettled;
    for (WindowInfo& w : scene.windows) {
        // Menus, pop-ups and balloons are the program's own to place; the screen has no frame or
        // place of its own for them.
        if ((w.kind != "window" && w.kind != "dialog") || w.title.empty() || w.Is("minimised")) continue;
        // The window itself, inside a window manager's frame: the program learns where the
        // manager put it some time after the screen shows it there. (What the program makes of
        // the frame's size may lag further, and is not where a click lands.)
        bool shown = false;
        std::string seen;
        for (const Shown& x : stacking) {
            if (x.title != w.title) continue;
            if (x.innerX == w.inner.x && x.innerY == w.inner.y && x.innerW == w.inner.w &&
                x.innerH == w.inner.h) {
                shown = true;
                w.frame = Rect{x.x, x.y, x.w, x.h};
            }
            seen += " " + text(x.innerX, x.innerY, x.innerW, x.innerH);
        }
        if (!shown)
            unsettled += (unsettled.empty() ? "the screen does not show yet: " : ", ") + std::string("\"") +
                         w.title + "\" at " + text(w.inner.x, w.inner.y, w.inner.w, w.inner.h) +
                         ", the screen" + (seen.empty() ? " nowhere" : " at" + seen);
    }
    return unsettled;
}

int Session::WindowAt(Point p) {
    CheckHealth();
    const auto answer = AskProbe(probe_, "at " + std::to_string(p.x) + " " + std::to_string(p.y), 10000);
    if (!answer)
        Fail("the program did not say what lies at " + std::to_string(p.x) + "," + std::to_string(p.y));
    std::istringstream lines(*answer);
    for (std::string line; std::getline(lines, line);)
        if (line.rfind("window\t", 0) == 0) return std::atoi(line.c_str() + 7);
    return 0;
}

Scene Session::UntilWindow(const std::string& title) {
    return Until([&](const Scene& s) { return s.Window(title) != nullptr; }, "the window \"" + title + "\"");
}

Scene Session::UntilGone(const std::string& title) {
    return Until([&](const Scene& s) { return s.Window(title) == nullptr; },
                 "the window \"" + title + "\" to close");
}

std::string Session::WidgetAt(Point p) {
    CheckHealth();
    const auto answer = AskProbe(probe_, "at " + std::to_string(p.x) + " " + std::to_string(p.y), 10000);
    if (!answer) Fail("the program did not say what lies at a point");
    // The first line is the widget itself ("class<TAB>name"), its parents follow.
    const std::string first = answer->substr(0, answer->find('\n'));
    const std::size_t tab = first.find('\t');
    return tab == std::string::npos ? std::string() : first.substr(tab + 1);
}

void Session::Step(const std::string& step) {
    CheckHealth();
    char name[16];
    std::snprintf(name, sizeof name, "%02d-", ++shots_);
    const std::string path = folder_ + "/" + name + step + ".png";
    if (!AskProbe(probe_, "shot " + path, 20000)) Fail("no picture of the step " + step);
    CheckHealth();
}

Scene Session::OpenMenuAt(Point p, int button) {
    if (!p.Valid()) Fail("nothing to click on");
    screen_->Click(p, button);
    return Until([](const Scene& s) { return !s.Menus().empty() || s.Dialog(); },
                 "a pop-up menu at " + std::to_string(p.x) + "," + std::to_string(p.y), 20000);
}

void Session::Choose(const std::string& path) {
    for (const std::string& part : SplitPath(path)) {
        Scene scene = Until([&](const Scene& s) { return FindItem(s, part) != nullptr; },
                            "the menu item \"" + part + "\"");
        const ItemInfo* item = FindItem(scene, part);
        if (item->Submenu()) {
            // The open submenu must be this item's own: a menu keeps the submenu of the item the
            // pointer last crossed open for a moment while the pointer heads towards it, so the
            // click is given again until this item is the active one and its own submenu shows.
            const Point at = item->click;
            auto opened = [&](const Scene& s) {
                const ItemInfo* now = FindItem(s, part);
                return now && now->state.find("active") != std::string::npos && s.SubmenuOf(part) != nullptr;
            };
            for (int attempt = 0;; ++attempt) {
                screen_->MoveTo(at);
                screen_->Click(at);
                const auto until = Clock::now() + std::chrono::seconds(2);
                bool shown = false;
                while (!shown && Clock::now() < until) {
                    shown = opened(Now());
                    if (!shown) Sleep(50);
                }
                if (shown) break;
                if (attempt == 5) {
                    const Scene last = Now();
                    Fail("the submenu of \"" + part + "\" did not open", &last);
                }
            }
            continue;
        }
        screen_->MoveTo(item->click);
        screen_->Click(item->click);
        Until([](const Scene& s) { return s.Menus().empty(); }, "the menu to close after \"" + part + "\"");
    }
}

std::vector<std::string> Session::AnswerDialogs(int settleMs, const std::string& button) {
    std::vector<std::string> texts;
    auto quietSince = Clock::now();
    while (Clock::now() - quietSince < std::chrono::milliseconds(settleMs)) {
        Scene scene = Now();
        const WindowInfo* dialog = scene.Dialog();
        if (!dialog) {
            Sleep(40);
            continue;
        }
        std::string text;
        for (const WidgetInfo* w : scene.In(dialog->id, "QLabel"))
            if (!w->text.empty()) text += (text.empty() ? "" : " ") + w->text;
        texts.push_back(text);
        const WidgetInfo* answer = nullptr;
        const std::vector<std::string> choices =
            button.empty() ? std::vector<std::string>{"OK", "Yes", "Open", "Save", "Close"}
                           : std::vector<std::string>{button};
        for (const std::string& choice : choices)
            if (!answer) answer = scene.WithText(dialog->id, choice, "QPushButton");
        if (!answer || !answer->click.Valid()) Fail("a dialog without a button to answer it", &scene);
        const int id = dialog->id;
        const std::string title = dialog->title;
        screen_->Click(answer->click);
        Until(
            [&](const Scene& s) {
                const WindowInfo* now = s.Dialog();
                return !now || now->id != id;
            },
            "the dialog \"" + title + "\" to close");
        quietSince = Clock::now();
    }
    return texts;
}

void Session::ClickInto(const WidgetInfo& box) {
    if (!box.click.Valid()) Fail("the text box " + box.name + " cannot be reached");
    screen_->Click(box.click);
    Until(
        [&](const Scene& now) {
            for (const WindowInfo& w : now.windows)
                if (w.id == box.window && w.Is("active"))
                    for (const WidgetInfo* e : now.In(w.id, box.cls))
                        if (e->rect.x == box.rect.x && e->rect.y == box.rect.y &&
                            e->state.find("focus") != std::string::npos)
                            return true;
            return false;
        },
        "the keys in the text box clicked");
}

void Session::ClickText(const std::string& windowTitle, const std::string& text) {
    Scene scene = Until(
        [&](const Scene& s) {
            const WindowInfo* w = s.Window(windowTitle);
            return w && s.WithText(w->id, text) && s.WithText(w->id, text)->click.Valid();
        },
        "\"" + text + "\" in the window \"" + windowTitle + "\"");
    screen_->Click(scene.WithText(scene.Window(windowTitle)->id, text)->click);
}

void Session::CheckEnd() {
    const std::string report = SanitizerReport(Log());
    if (!report.empty()) Fail("the sanitizers reported a fault");
    if (Alive()) return;
    if (WIFSIGNALED(exitStatus_))
        Fail("the program was killed by signal " + std::to_string(WTERMSIG(exitStatus_)));
    if (WEXITSTATUS(exitStatus_) != 0)
        Fail("the program ended with code " + std::to_string(WEXITSTATUS(exitStatus_)));
}

void Session::Finish() {
    const auto deadline = Clock::now() + std::chrono::seconds(90);
    while (Alive() && Clock::now() < deadline) {
        const auto answer = AskProbe(probe_, "scene", 10000);
        if (!answer) {
            Sleep(50);
            continue;
        }
        auto scene = ParseScene(*answer);
        // Clicks are aimed once the screen shows the windows where the program says.
        if (!scene || !Settle(*scene).empty()) {
            Sleep(30);
            continue;
        }
        if (const WindowInfo* dialog = scene->Dialog()) {
            // A question on the way out ("save the game?"): the answer that ends the program.
            const WidgetInfo* b = nullptr;
            for (const char* choice : {"No", "OK", "Yes", "Close", "Cancel"})
                if (!b) b = scene->WithText(dialog->id, choice, "QPushButton");
            if (b && b->click.Valid()) screen_->Click(b->click);
        } else if (!scene->Menus().empty()) {
            screen_->Key("Escape");
        } else {
            for (const WindowInfo& w : scene->windows)
                if (w.kind != "tip") screen_->Close(w.title);
        }
        Sleep(100);
    }
    if (Alive()) Fail("the program did not end after its windows were closed");
    const std::string report = SanitizerReport(Log());
    if (!report.empty()) Fail("the sanitizers reported a fault at the end");
    if (WIFSIGNALED(exitStatus_))
        Fail("the program was killed by signal " + std::to_string(WTERMSIG(exitStatus_)));
    if (WEXITSTATUS(exitStatus_) != 0)
        Fail("the program ended with code " + std::to_string(WEXITSTATUS(exitStatus_)));
}

} // namespace e2e
