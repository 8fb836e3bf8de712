// Saving a deck writes hundreds of keys of one file. Inside a write scope they must cost at most
// five times one plain write of a key, which replaces the whole file atomically as well.
#include "platform/Files.h"
#include "platform/Ini.h"
#include "platform/Seams.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kKeys = 500;
constexpr double kLimit = 5.0;
constexpr int kRepetitions = 9;
const std::string kFile = "deck.game";

int g_messages = 0;

std::string Value(int key, int round) {
    return "c" + std::to_string(key) + ".gif,,value=" + std::to_string(round % 2) + ",K" +
           std::to_string(key) + ",";
}

// A definition whose deck section holds the keys the benchmarks write, among other sections.
std::string Definition() {
    std::string text =
        "[GAME]\r\nplayers=2\r\ncommon_decks=1\r\n\r\n[COMMON 1]\r\ndecksize=" + std::to_string(kKeys) +
        "\r\n";
    for (int i = 1; i <= kKeys; ++i)
        text += "card" + std::to_string(i) + "=" + Value(i, 0) + "\r\n";
    return text + "\r\n[PLAYER 1]\r\nname=North\r\n\r\n[PLAYER 2]\r\nname=South\r\n";
}

void BM_WriteScope500Keys(benchmark::State& state) {
    int round = 0;
    for (auto _ : state) {
        ++round;
        platform::IniWriteScope scope;
        for (int i = 1; i <= kKeys; ++i)
            platform::IniWrite(kFile, "COMMON 1", "card" + std::to_string(i), Value(i, round));
        if (!scope.Commit()) state.SkipWithError("the file was not written");
    }
}

void BM_OneAtomicWrite(benchmark::State& state) {
    int round = 0;
    for (auto _ : state) {
        ++round;
        if (!platform::IniWrite(kFile, "COMMON 1", "card1", Value(1, round)))
            state.SkipWithError("the file was not written");
    }
}

// Keeps the median of each benchmark's repetitions for the ratio printed after the table.
class MedianReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;
};

} // namespace

BENCHMARK(BM_WriteScope500Keys)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OneAtomicWrite)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    // Repetitions give the medians; the command line may ask for another number.
    std::vector<char*> args(argv, argv + argc);
    std::string repetitions = "--benchmark_repetitions=" + std::to_string(kRepetitions);
    std::string aggregates = "--benchmark_display_aggregates_only=true";
    args.insert(args.begin() + 1, {repetitions.data(), aggregates.data()}); // later flags win
    int count = static_cast<int>(args.size());
    args.push_back(nullptr);
    benchmark::Initialize(&count, args.data());

    std::string folder = (fs::temp_directory_path() / "karvel-bench-XXXXXX").string();
    if (!mkdtemp(folder.data())) {
        std::perror("cannot make a temporary folder");
        return 2;
    }
    platform::SetProgramFolder(folder);
    platform::SetMessageHandler([](const std::string& text) {
        ++g_messages;
        std::fprintf(stderr, "message: %s\n", text.c_str());
    });
    std::ofstream(fs::path(folder) / kFile, std::ios::binary) << Definition();

    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    platform::SetProgramFolder("");
    std::error_code ec;
    fs::remove_all(folder, ec);

    int code = g_messages > 0 ? 1 : 0;
    if (g_messages > 0) std::printf("the run showed %d messages\n", g_messages);
    const double scoped = reporter.medians["BM_WriteScope500Keys"];
    const double single = reporter.medians["BM_OneAtomicWrite"];
    if (scoped > 0 && single > 0) {
        const double ratio = scoped / single;
        std::printf(
            "ratio: 500 keys in one write scope / one atomic write of the same file = %.2f (limit %g)\n",
            ratio, kLimit);
        if (!(ratio <= kLimit)) code = 1;
    }
    return code;
}
