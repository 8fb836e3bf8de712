// The monkey: random real input to whatever window is on top of the sanitizer build of Karvel,
// on a virtual screen of its own, round after round (from the game list, then from each bundled
// game; a new round when the program ends by itself). Every event goes to a log with the seed, so
// that a failure replays exactly:
//
//   karvel_monkey [--seconds N] [--seed N] [--log FILE]
//   karvel_monkey --replay FILE
//
// A crash, a hang (no answer from the event loop for 10 s), a sanitizer or leak report ends it
// with a failure and keeps the log.
//
// Two-sided, it plays direct play: a server and a client of one bundled game at a time, connected
// over the loopback, each event to one side or the other, and every few dozen events both tables
// brought to rest and compared through their quick saves. A difference between the tables, or a
// message that a command of the other side does not fit, is a finding as a fault is:
//
//   karvel_monkey --two-sided [--game FILE] [--seconds N] [--seed N] [--log FILE]
#include "DirectPlay.h"
#include "Session.h"
#include "Table.h"
#include "TableRecords.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace e2e;

namespace {

using Clock = std::chrono::steady_clock;

const std::vector<std::vector<std::string>> kStarts = {{}, {"Parlour Cards.game"}, {"Spice Harbour.game"}};

const char* const kKeys[] = {"a",   "m",      "1",      "2",     "3",   "4",  "9",      "F1",
                             "F2",  "F4",     "F5",     "F7",    "F8",  "F9", "F10",    "F11",
                             "F12", "Escape", "Return", "space", "Tab", "x",  "Delete", "Down"};

// One event of the monkey, as it stands in the log: a word and its numbers or text.
struct Event {
    std::string word;
    std::vector<int> numbers;
    std::string text;

    std::string Line() const {
        std::string line = word;
        for (int n : numbers)
            line += " " + std::to_string(n);
        if (!text.empty()) line += " " + text;
        return line;
    }
    static Event Parse(const std::string& line) {
        Event e;
        std::istringstream in(line);
        in >> e.word;
        if (e.word == "key" || e.word == "close" || e.word == "round" || e.word == "direct") {
            std::getline(in, e.text);
            if (!e.text.empty() && e.text[0] == ' ') e.text.erase(0, 1);
            return e;
        }
        int n = 0;
        while (in >> n)
            e.numbers.push_back(n);
        return e;
    }
};

class Monkey {
  public:
    explicit Monkey(unsigned seed) : random_(seed) {}

    // A random event fitting what is on screen. With `keepTable`, the table window is never
    // closed (a direct-play game ends with it).
    Event Choose(const Scene& scene, const Screen& screen, bool keepTable = false) {
        // An open menu: mostly one of its items, as a player who right-clicked picks one.
        if (!scene.Menus().empty() && Chance(85)) {
            std::vector<const ItemInfo*> items;
            for (const ItemInfo& item : scene.items)
                if (!item.Separator() && item.click.Valid()) items.push_back(&item);
            if (!items.empty()) return Click(Pick(items)->click, 1);
        }
        // A message box or question: one of its buttons.
        if (const WindowInfo* dialog = scene.Dialog(); dialog && Chance(80)) {
            std::vector<const WidgetInfo*> buttons = Clickable(scene, dialog->id, true);
            if (!buttons.empty()) return Click(Pick(buttons)->click, 1);
        }
        const WindowInfo* top = Top(scene);
        const int roll = Below(100);
        if (!top) return Click(Point{Below(screen.Width()), Below(screen.Height())}, 1);
        if (roll < 3 && top->kind != "menu" && top->kind != "tip" &&
            !(keepTable && top->title.rfind("Karvel Engine", 0) == 0))
            return Event{"close", {}, top->title};
        if (roll < 18) return Event{"key", {}, kKeys[Below(std::size(kKeys))]};
        const Point at = Target(scene, *top);
        if (roll < 45) return Click(at, 1);
        if (roll < 55) return Event{"dclick", {at.x, at.y}, ""};
        if (roll < 72) return Click(at, 3);
        // A drag: short, across the window, or to another window.
        Point to{at.x + Below(121) - 60, at.y + Below(121) - 60};
        if (roll >= 85)
            to = Target(scene, scene.windows[static_cast<std::size_t>(Below(scene.windows.size()))]);
        return Event{
            "drag",
            {at.x, at.y, std::clamp(to.x, 0, screen.Width() - 1), std::clamp(to.y, 0, screen.Height() - 1)},
            ""};
    }

    int Below(std::size_t n) {
        return n == 0 ? 0 : static_cast<int>(std::uniform_int_distribution<std::size_t>(0, n - 1)(random_));
    }

  private:
    Event Click(Point p, int button) { return Event{"click", {button, p.x, p.y}, ""}; }
    bool Chance(int percent) { return Below(100) < percent; }
    template <class T> T Pick(const std::vector<T>& from) {
        return from[static_cast<std::size_t>(Below(from.size()))];
    }

    static std::vector<const WidgetInfo*> Clickable(const Scene& scene, int window, bool buttonsOnly) {
        std::vector<const WidgetInfo*> found;
        for (const WidgetInfo* w : scene.In(window))
            if (w->click.Valid() && w->Enabled() && (!buttonsOnly || w->cls == "QPushButton"))
                found.push_back(w);
        return found;
    }

    // The window on top: an open menu, else the modal or active window, else any.
    static const WindowInfo* Top(const Scene& scene) {
        for (const WindowInfo& w : scene.windows)
            if (w.kind == "menu" || w.Is("popup")) return &w;
        for (const WindowInfo& w : scene.windows)
            if (w.Is("modal")) return &w;
        for (const WindowInfo& w : scene.windows)
            if (w.Is("active")) return &w;
        for (const WindowInfo& w : scene.windows)
            if (w.kind != "tip") return &w;
        return nullptr;
    }

    // A point of the window: mostly a control, a list row or a menu item of it, else anywhere in it.
    Point Target(const Scene& scene, const WindowInfo& window) {
        std::vector<Point> points;
        for (const WidgetInfo* w : scene.In(window.id))
            if (w->click.Valid()) points.push_back(w->click);
        for (const RowInfo* r : scene.RowsIn(window.id))
            points.push_back(r->click);
        for (const ItemInfo* i : scene.ItemsOf(window.id))
            points.push_back(i->click);
        if (!points.empty() && Chance(75)) return Pick(points);
        return Point{window.inner.x + Below(static_cast<std::size_t>(std::max(1, window.inner.w))),
                     window.inner.y + Below(static_cast<std::size_t>(std::max(1, window.inner.h)))};
    }

    std::mt19937 random_;
};

void Perform(Session& s, const Event& e) {
    Screen& input = s.Input();
    auto at = [&](std::size_t i) {
        return Point{std::clamp(e.numbers[i], 0, input.Width() - 1),
                     std::clamp(e.numbers[i + 1], 0, input.Height() - 1)};
    };
    if (e.word == "click" && e.numbers.size() == 3) {
        input.Click(at(1), e.numbers[0]);
    } else if (e.word == "dclick" && e.numbers.size() == 2) {
        input.DoubleClick(at(0));
    } else if (e.word == "drag" && e.numbers.size() == 4) {
        input.Drag(at(0), at(2));
    } else if (e.word == "key") {
        input.Key(e.text);
    } else if (e.word == "close") {
        input.Close(e.text);
    }
}

std::vector<std::string> SplitArgs(const std::string& text) {
    std::vector<std::string> args;
    if (!text.empty()) args.push_back(text);
    return args;
}

int Run(int seconds, unsigned seed, const std::string& logPath) {
    std::ofstream log(logPath);
    log << "seed " << seed << "\n";
    Monkey monkey(seed);
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    long events = 0;
    try {
        for (int round = 0; Clock::now() < end; ++round) {
            const std::vector<std::string>& args = kStarts[static_cast<std::size_t>(round) % kStarts.size()];
            log << "round " << (args.empty() ? "" : args.front()) << "\n" << std::flush;
            Session s("monkey", "Karvel", args);
            try {
                while (Clock::now() < end) {
                    if (!s.Alive()) break;
                    const Scene scene = s.Now();
                    if (scene.windows.empty()) continue;
                    const Event e = monkey.Choose(scene, s.Input());
                    log << e.Line() << "\n" << std::flush;
                    Perform(s, e);
                    ++events;
                }
            } catch (const Ended&) {
                // Its last window closed: the next round starts it again.
            }
            s.CheckEnd();
            if (s.Alive()) {
                log << "finish\n" << std::flush;
                s.Finish();
            }
        }
    } catch (const std::exception& e) {
        std::cerr << "The monkey found a fault after " << events << " events (seed " << seed << "):\n"
                  << e.what() << "\nReplay it: scripts/monkey --replay " << logPath << "\n";
        return 1;
    }
    std::cout << "The monkey sent " << events << " events (seed " << seed << ") without a fault.\n";
    return 0;
}

const std::vector<std::string> kGames = {"Parlour Cards.game", "Spice Harbour.game"};
constexpr int kEventsBetweenComparisons = 40;

// The two tables of a direct-play game went apart: a finding, as a fault is.
struct Apart : Failure {
    using Failure::Failure;
};

// Where the two quick saves of tables found apart are kept, for whoever reads the finding: the
// run's log with ".server.save" and ".client.save" after it.
std::string g_keptSaves;

// A side's message that a command of the other side did not fit its table.
void CheckToldApart(int side, const Scene& scene) {
    const WindowInfo* dialog = scene.Dialog();
    if (!dialog) return;
    for (const WidgetInfo* w : scene.In(dialog->id, "QLabel"))
        if (TablesApartMessage(w->text))
            throw Apart(std::string("the ") + DirectGame::SideName(side) + " said: " + w->text);
}

// Both tables brought to rest and compared through their quick saves; throws Apart when they
// differ. False when a side no longer shows its table (its game ended), so that nothing is
// compared.
bool CompareTables(DirectGame& g) {
    std::vector<std::string> lines;
    std::string serverSave, clientSave;
    // The receiving side handles the last commands a moment later: a difference is waited out.
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    do {
        for (int side = 0; side < 2; ++side) {
            for (const std::string& text : CalmTable(g.Side(side)))
                if (TablesApartMessage(text))
                    throw Apart(std::string("the ") + DirectGame::SideName(side) + " said: " + text);
            if (!TableShown(g.Side(side).Now())) return false;
        }
        // A table that random input left holding the keys is compared at the next turn.
        const std::optional<std::string> server = TryQuickSave(g.Server(), g.Game(), 15000);
        const std::optional<std::string> client = TryQuickSave(g.Client(), g.Game(), 15000);
        if (!server || !client) return true;
        serverSave = *server;
        clientSave = *client;
        lines = TableDifferences(serverSave, clientSave);
    } while (!lines.empty() && Clock::now() < deadline);
    if (!lines.empty()) {
        std::string kept;
        if (!g_keptSaves.empty()) {
            std::ofstream(g_keptSaves + ".server.save", std::ios::binary) << serverSave;
            std::ofstream(g_keptSaves + ".client.save", std::ios::binary) << clientSave;
            kept = "\nBoth quick saves: " + g_keptSaves + ".server.save and .client.save";
        }
        throw Apart("the tables differ (" + std::to_string(lines.size()) + " members):\n" +
                    DifferenceReport(lines) + kept);
    }
    return true;
}

// One event to a side of a direct-play game; false when the side's game has ended.
bool Turn(DirectGame& g, Monkey& monkey, std::ofstream& log) {
    const int side = monkey.Below(2);
    Session& s = g.Side(side);
    const Scene scene = s.Now();
    CheckToldApart(side, scene);
    if (!TableShown(scene) && !scene.Dialog()) return false;
    const Event e = monkey.Choose(scene, s.Input(), true);
    log << DirectGame::SideName(side) << " " << e.Line() << "\n" << std::flush;
    Perform(s, e);
    return true;
}

int RunTwoSided(int seconds, unsigned seed, const std::string& logPath,
                const std::vector<std::string>& games) {
    std::ofstream log(logPath);
    log << "seed " << seed << "\n";
    Monkey monkey(seed);
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    // Each game has its share of the time, at least a minute.
    const auto share = std::chrono::seconds(std::max<int>(60, seconds / static_cast<int>(games.size())));
    long events = 0;
    try {
        for (std::size_t round = 0; Clock::now() < end; ++round) {
            const std::string& game = games[round % games.size()];
            log << "direct " << game << "\n" << std::flush;
            DirectGame g("monkey-two-sided", game);
            const auto roundEnd = std::min(end, Clock::now() + share);
            bool playing = true;
            try {
                for (int since = 0; playing && Clock::now() < roundEnd;) {
                    playing = Turn(g, monkey, log);
                    ++events;
                    if (playing && ++since == kEventsBetweenComparisons) {
                        log << "compare\n" << std::flush;
                        playing = CompareTables(g);
                        since = 0;
                    }
                }
                if (playing) {
                    log << "compare\n" << std::flush;
                    CompareTables(g);
                }
            } catch (const Ended&) {
                // A side's program ended by itself: the next round starts both again.
            }
            log << "finish\n" << std::flush;
            for (int side = 0; side < 2; ++side) {
                g.Side(side).CheckEnd();
                if (g.Side(side).Alive()) g.Side(side).Finish();
            }
        }
    } catch (const std::exception& e) {
        std::cerr << "The two-sided monkey found a fault after " << events << " events (seed " << seed
                  << "):\n"
                  << e.what() << "\nReplay it: scripts/monkey --replay " << logPath << "\n";
        return 1;
    }
    std::cout << "The two-sided monkey sent " << events << " events (seed " << seed
              << ") and found the tables equal throughout.\n";
    return 0;
}

int Replay(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        std::cerr << "cannot read " << path << "\n";
        return 2;
    }
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) lines.push_back(line);
    long events = 0;
    try {
        std::unique_ptr<Session> s;
        std::unique_ptr<DirectGame> direct;
        auto finishDirect = [&] {
            if (!direct) return;
            for (int side = 0; side < 2; ++side) {
                direct->Side(side).CheckEnd();
                if (direct->Side(side).Alive()) direct->Side(side).Finish();
            }
            direct.reset();
        };
        for (const std::string& line : lines) {
            // A two-sided round: its events go to the side they name.
            if (line.rfind("direct ", 0) == 0) {
                finishDirect();
                direct = std::make_unique<DirectGame>("monkey-replay", line.substr(7));
                continue;
            }
            if (direct) {
                if (line == "finish") {
                    finishDirect();
                } else if (line == "compare") {
                    CompareTables(*direct);
                } else {
                    const int side = line.rfind("client ", 0) == 0 ? 1 : 0;
                    Session& to = direct->Side(side);
                    if (!to.Alive()) continue;
                    CheckToldApart(side, to.Now());
                    Perform(to, Event::Parse(line.substr(line.find(' ') + 1)));
                    ++events;
                }
                continue;
            }
            const Event e = Event::Parse(line);
            if (e.word == "seed") continue;
            if (e.word == "round") {
                if (s) {
                    s->CheckEnd();
                    if (s->Alive()) s->Finish();
                }
                s.reset();
                s = std::make_unique<Session>("monkey-replay", "Karvel", SplitArgs(e.text));
                continue;
            }
            if (!s) continue;
            if (e.word == "finish") {
                s->CheckEnd();
                if (s->Alive()) s->Finish();
                s.reset();
                continue;
            }
            // Each event waits for the one before it to be handled, as the run did.
            try {
                if (s->Alive()) s->Now();
            } catch (const Ended&) {
            }
            if (!s->Alive()) continue;
            Perform(*s, e);
            ++events;
        }
        if (s) {
            s->CheckEnd();
            if (s->Alive()) s->Finish();
        }
        finishDirect();
    } catch (const std::exception& e) {
        std::cerr << "The replay of " << path << " found a fault after " << events << " events:\n"
                  << e.what() << "\n";
        return 1;
    }
    std::cout << "The replay of " << path << " (" << events << " events) ran without a fault.\n";
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    int seconds = 60;
    unsigned seed = static_cast<unsigned>(std::random_device{}());
    std::string log = OutputFolder() + "/monkey.log";
    std::string replay;
    bool twoSided = false;
    std::vector<std::string> games = kGames;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool more = i + 1 < argc;
        if (arg == "--seconds" && more)
            seconds = std::atoi(argv[++i]);
        else if (arg == "--seed" && more)
            seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        else if (arg == "--log" && more)
            log = argv[++i];
        else if (arg == "--replay" && more)
            replay = argv[++i];
        else if (arg == "--two-sided")
            twoSided = true;
        else if (arg == "--game" && more)
            games = {argv[++i]};
        else if (arg.find_first_not_of("0123456789") == std::string::npos)
            seconds = std::atoi(arg.c_str());
        else {
            std::cerr << "usage: karvel_monkey [seconds] [--seconds N] [--seed N] [--log FILE] [--two-sided "
                         "[--game FILE]]"
                         " | --replay FILE\n";
            return 2;
        }
    }
    g_keptSaves = replay.empty() ? log : replay;
    if (!replay.empty()) return Replay(replay);
    std::filesystem::create_directories(std::filesystem::path(log).parent_path());
    return twoSided ? RunTwoSided(seconds, seed, log, games) : Run(seconds, seed, log);
}
