// Saving a deck writes hundreds of keys of one file. Inside a write scope they must cost at most
// five times one plain write of a key, which replaces the whole file atomically as well.
#include "BenchSupport.h"
#include "platform/Ini.h"

#include <string>
#include <vector>

namespace {

constexpr int kKeys = 500;
constexpr double kLimit = 5.0;
constexpr int kRepetitions = 9;
const std::string kFile = "deck.game";

std::string Value(int key, int round) {
    const std::string number = std::to_string(key);
    return std::string("c") + number + ".gif,,value=" + (round % 2 ? "1" : "0") + ",K" + number + ",";
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

} // namespace

BENCHMARK(BM_WriteScope500Keys)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OneAtomicWrite)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    benchsupport::MessageLog log;
    benchsupport::TempFolder folder;
    folder.Write(kFile, Definition());
    benchsupport::Initialize(argc, argv, kRepetitions);
    benchsupport::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::vector<benchsupport::Ratio> ratios;
    benchsupport::AddRatio(ratios, reporter,
                           "500 keys in one write scope / one atomic write of the same file",
                           "BM_WriteScope500Keys", "BM_OneAtomicWrite", kLimit);
    return benchsupport::Finish(ratios, reporter, log);
}
