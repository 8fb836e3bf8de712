// What every benchmark program shares: a fresh temporary program folder, messages recorded instead
// of shown, repetitions that the command line may change, the median time of each benchmark, and
// the closing lines "ratio: <label> = <value> (limit <limit>)" with the exit code scripts/bench
// reads (1 when a ratio is above its limit).
#pragma once

#include "platform/Application.h"
#include "platform/ControlSurface.h"
#include "platform/Files.h"
#include "platform/Seams.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace benchsupport {

// A program folder of the run's own, removed with everything in it at the end. Nothing else
// touches it, so no other run (and no cleaner of the temporary folder) can take it away midway.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "karvel-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::perror("cannot make a temporary folder");
            std::exit(2);
        }
        path_ = pattern;
        platform::SetProgramFolder(path_.string());
    }
    ~TempFolder() {
        platform::SetProgramFolder("");
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    // Writes a file below the folder (`relative` uses "/"), making its folders.
    void Write(const std::string& relative, const std::string& bytes) const {
        const std::filesystem::path file = path_ / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << bytes;
    }

  private:
    std::filesystem::path path_;
};

// The 52 GIF cards of the bundled card game, copied into the folder's "cards" folder; their
// model paths ("cards\\2c.gif", ...).
inline std::vector<std::string> CopyBundledCards(const TempFolder& folder) {
    std::vector<std::string> paths;
    for (const char* rank : {"2", "3", "4", "5", "6", "7", "8", "9", "10", "j", "q", "k", "a"})
        for (const char* suit : {"c", "d", "h", "s"}) {
            const std::string name = std::string(rank) + suit + ".gif";
            std::filesystem::create_directories(folder.Path() / "cards");
            std::filesystem::copy_file(std::filesystem::path(KARVEL_GAMES) / "parlour" / name,
                                       folder.Path() / "cards" / name);
            paths.push_back("cards\\" + name);
        }
    return paths;
}

// The cards of CopyBundledCards with the deck's back and empty-pile pictures beside them.
inline std::vector<std::string> CopyBundledDeck(const TempFolder& folder) {
    std::vector<std::string> paths = CopyBundledCards(folder);
    for (const char* name : {"back.gif", "empty.gif"})
        std::filesystem::copy_file(std::filesystem::path(KARVEL_GAMES) / "parlour" / name,
                                   folder.Path() / "cards" / name);
    return paths;
}

// Writes `name` into the folder: two seats (`seats` holds their [PLAYER n] lines after the name)
// and one common deck of n cards cycling through the faces, dealing `deal` to each seat; `game`
// holds further [GAME] lines. The definition's full path.
inline std::string WriteOneDeckGame(const TempFolder& folder, const std::string& name,
                                    const std::vector<std::string>& faces, int n, int deal,
                                    const std::string& game = "", const std::string& seat1 = "",
                                    const std::string& seat2 = "") {
    std::string text = "[GAME]\r\nplayers=2\r\ncommon_decks=1\r\ndirectory=cards\r\nexternal_hand=FALSE\r\n" +
                       game + "[PLAYER 1]\r\nname=One\r\n" + seat1 + "[PLAYER 2]\r\nname=Two\r\n" + seat2 +
                       "[COMMON 1]\r\nsplit=FALSE\r\ndeckSize=" + std::to_string(n) +
                       "\r\nimg_back=back.gif\r\nimg_discard=empty.gif\r\ndeal=" + std::to_string(deal) +
                       "\r\n";
    for (int k = 1; k <= n; ++k) {
        const std::string& path = faces[static_cast<std::size_t>(k - 1) % faces.size()];
        text += "card" + std::to_string(k) + "=" + path.substr(path.find('\\') + 1) + ",,,K" +
                std::to_string(k) + ",\r\n";
    }
    folder.Write(name, text);
    return folder.Path().string() + "\\" + name;
}

// The window system on the offscreen platform, and the table window the cards lie on (a card
// control is always a child of its window, whose mask it shapes). The table goes before the
// application: a window cannot outlive the window system.
class OffscreenTable {
  public:
    OffscreenTable(int& argc, char** argv, int width, int height)
        : app_(Offscreen(argc), argv, "Karvel"), table_(std::make_unique<platform::ControlSurface>()) {
        table_->SetSizePixels(width, height);
    }
    platform::ControlSurface& Surface() { return *table_; }

  private:
    static int& Offscreen(int& argc) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        return argc;
    }
    platform::Application app_;
    std::unique_ptr<platform::ControlSurface> table_;
};

// Messages are counted and written to stderr, and questions answered no: a dialog waiting for a
// person on the offscreen platform would wait forever.
class MessageLog {
  public:
    MessageLog() {
        platform::SetMessageHandler([this](const std::string& text) {
            ++count_;
            std::fprintf(stderr, "message: %s\n", text.c_str());
        });
        platform::SetQuestionHandler([this](const std::string& text) {
            ++count_;
            std::fprintf(stderr, "question: %s\n", text.c_str());
            return false;
        });
    }
    ~MessageLog() {
        platform::SetMessageHandler({});
        platform::SetQuestionHandler({});
    }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    int Count() const { return count_; }

  private:
    int count_ = 0;
};

// Hands the command line to Google Benchmark, adding the default number of repetitions (and a
// report of their statistics only) unless the command line asks for something else.
inline void Initialize(int& argc, char**& argv, int repetitions) {
    static std::vector<std::string> added;
    static std::vector<char*> args;
    auto given = [&](const char* flag) {
        for (int i = 1; i < argc; ++i)
            if (std::string(argv[i]).starts_with(flag)) return true;
        return false;
    };
    if (!given("--benchmark_repetitions"))
        added.push_back("--benchmark_repetitions=" + std::to_string(repetitions));
    // Repetitions of the timed work and of its baseline take turns, so that both meet the same
    // moments of a busy machine.
    if (!given("--benchmark_enable_random_interleaving"))
        added.push_back("--benchmark_enable_random_interleaving=true");
    if (!given("--benchmark_report_aggregates_only") && !given("--benchmark_display_aggregates_only"))
        added.push_back("--benchmark_display_aggregates_only=true");
    args.assign(argv, argv + argc);
    for (std::string& flag : added)
        args.push_back(flag.data());
    args.push_back(nullptr);
    argc = static_cast<int>(args.size()) - 1;
    argv = args.data();
    benchmark::Initialize(&argc, argv);
}

// Prints the usual table and keeps, for each benchmark (name and arguments), the median CPU time
// of its repetitions in seconds: the median aggregate when there is one, else the median of the
// single runs it saw. CPU time, so that other work on a busy machine does not count as ours; the
// median wall time beside it, for work that other threads do for ours (Qt's painting threads).
class MedianReporter : public benchmark::ConsoleReporter {
  public:
    // Without colours: scripts/bench reads the lines that follow the table.
    MedianReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred) {
                failed_ = true;
                continue;
            }
            const double unit = benchmark::GetTimeUnitMultiplier(run.time_unit);
            const double seconds = run.GetAdjustedCPUTime() / unit;
            const double wall = run.GetAdjustedRealTime() / unit;
            const std::string key = KeyOf(run);
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "median") {
                    medians_[key] = seconds;
                    wallMedians_[key] = wall;
                }
            } else {
                singles_[key].push_back(seconds);
                wallSingles_[key].push_back(wall);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    // The median time in seconds of "name" or "name/arg:value..."; 0 when it did not run.
    double Median(const std::string& key) const { return MedianOf(medians_, singles_, key); }
    // The same in wall time.
    double WallMedian(const std::string& key) const { return MedianOf(wallMedians_, wallSingles_, key); }
    // A benchmark stopped with an error.
    bool Failed() const { return failed_; }

  private:
    static double MedianOf(const std::map<std::string, double>& medians,
                           const std::map<std::string, std::vector<double>>& singles,
                           const std::string& key) {
        if (auto m = medians.find(key); m != medians.end()) return m->second;
        auto s = singles.find(key);
        if (s == singles.end() || s->second.empty()) return 0;
        std::vector<double> times = s->second;
        std::sort(times.begin(), times.end());
        const std::size_t n = times.size();
        return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
    }
    static std::string KeyOf(const Run& run) {
        return run.run_name.args.empty() ? run.run_name.function_name
                                         : run.run_name.function_name + "/" + run.run_name.args;
    }
    std::map<std::string, double> medians_, wallMedians_;
    std::map<std::string, std::vector<double>> singles_, wallSingles_;
    bool failed_ = false;
};

// One checked figure: a ratio of two medians, or any other value with its limit.
struct Ratio {
    std::string label;
    double value;
    double limit;
};

// The ratio of two medians; nothing when a filter left either benchmark out.
inline void AddRatio(std::vector<Ratio>& ratios, const MedianReporter& reporter, const std::string& label,
                     const std::string& timed, const std::string& baseline, double limit) {
    const double t = reporter.Median(timed), b = reporter.Median(baseline);
    if (t > 0 && b > 0) ratios.push_back(Ratio{label, t / b, limit});
}

// The same with the median wall times.
inline void AddWallRatio(std::vector<Ratio>& ratios, const MedianReporter& reporter, const std::string& label,
                         const std::string& timed, const std::string& baseline, double limit) {
    const double t = reporter.WallMedian(timed), b = reporter.WallMedian(baseline);
    if (t > 0 && b > 0) ratios.push_back(Ratio{label, t / b, limit});
}

// Prints every ratio and gives the program's exit code: 1 when a ratio is above its limit, when
// a benchmark failed or when a message was shown (the run did not do the work it claims to time).
inline int Finish(const std::vector<Ratio>& ratios, const MedianReporter& reporter, const MessageLog& log) {
    bool above = false;
    for (const Ratio& r : ratios) {
        std::printf("ratio: %s = %.2f (limit %g)\n", r.label.c_str(), r.value, r.limit);
        above = above || !(r.value <= r.limit);
    }
    if (reporter.Failed()) std::printf("a benchmark stopped with an error\n");
    if (log.Count() > 0) std::printf("the run showed %d messages\n", log.Count());
    std::fflush(stdout);
    return above || reporter.Failed() || log.Count() > 0 ? 1 : 0;
}

} // namespace benchsupport
