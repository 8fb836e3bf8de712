// The game log and the dice on what a long game asks of them: logging into a full log costs what
// logging into an empty one costs, opening the log window over a full log costs little more than
// building its lines, and a roll costs little more than what it asks of the evaluator.
#include "BenchSupport.h"

#include "platform/Seams.h"
#include "services/DiceRoller.h"
#include "services/Evaluator.h"
#include "services/LogMgmt.h"
#include "state/LogStore.h"
#include "state/Model.h"
#include "table/LogForm.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kFullLog = 32767;
const std::string kEntry = "[Ann] Card Discarded: Ace of Spades (#12)";

benchsupport::TempFolder* g_folder = nullptr;

void UseGame() {
    Model().Reset();
    g_folder->Write("bench.game", "[LOG]\nuse_log=TRUE\nmax_log_items=32767\n[DICE]\nnum_dices=1\n"
                                  "dice1=dice(6)+dice(6)+2,Two dice\n");
    CurrentGameFile = g_folder->Path().string() + "\\bench.game";
    InitLog();
    LoadDice();
}

void FillLog() {
    for (int n = 0; n < kFullLog; ++n)
        StoreLogItem(kEntry);
}

} // namespace

static void BM_LogIntoEmpty(benchmark::State& state) {
    UseGame();
    for (auto _ : state) {
        StoreLogItem(kEntry);
        // Emptied without a new allocation: every entry goes into a store that is nearly empty.
        if (LogCount == 1000) LogCount = 0;
    }
}
BENCHMARK(BM_LogIntoEmpty);

static void BM_LogIntoFull(benchmark::State& state) {
    UseGame();
    FillLog();
    for (auto _ : state)
        StoreLogItem(kEntry);
}
BENCHMARK(BM_LogIntoFull);

static void BM_BuildLogTexts(benchmark::State& state) {
    UseGame();
    FillLog();
    for (auto _ : state) {
        std::vector<std::string> lines;
        for (int n = 1; n <= LogCount; ++n)
            for (std::string& line : LogListLines(LogEntry(n)))
                lines.push_back(std::move(line));
        benchmark::DoNotOptimize(lines.data());
    }
}
BENCHMARK(BM_BuildLogTexts);

static void BM_OpenLogWindow(benchmark::State& state) {
    UseGame();
    FillLog();
    LogForm window;
    for (auto _ : state) {
        window.form.Show();
        // Open means seen: the window lays its list out and draws its first page.
        platform::PumpEvents();
        benchmark::DoNotOptimize(window.LogTxt.TopIndex());
        state.PauseTiming();
        window.form.Unload();
        platform::PumpEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenLogWindow);

static void BM_EvaluateRollFormula(benchmark::State& state) {
    UseGame();
    for (auto _ : state) {
        ev.SetFormula(Dice[1].formula);
        benchmark::DoNotOptimize(ev.Evaluate());
    }
}
BENCHMARK(BM_EvaluateRollFormula);

static void BM_RollDice(benchmark::State& state) {
    UseGame();
    for (auto _ : state)
        benchmark::DoNotOptimize(RollDice(1, false, false));
}
BENCHMARK(BM_RollDice);

int main(int argc, char** argv) {
    benchsupport::OffscreenTable table(argc, argv, 100, 100);
    benchsupport::MessageLog log;
    benchsupport::TempFolder folder;
    benchsupport::Initialize(argc, argv, 5);
    g_folder = &folder;
    benchsupport::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    Model().Reset();
    std::vector<benchsupport::Ratio> ratios;
    benchsupport::AddRatio(ratios, reporter, "logging into a full log / into an empty one", "BM_LogIntoFull",
                           "BM_LogIntoEmpty", 2.0);
    benchsupport::AddRatio(ratios, reporter,
                           "opening the log window over 32767 entries / building their lines",
                           "BM_OpenLogWindow", "BM_BuildLogTexts", 3.0);
    benchsupport::AddRatio(ratios, reporter, "a roll / the evaluation it asks for", "BM_RollDice",
                           "BM_EvaluateRollFormula", 2.0);
    return benchsupport::Finish(ratios, reporter, log);
}
