// The editor's deck of 500 cards: saving it (every line changed) costs at most five times one
// atomic write of the same file, and opening it in the window at most twice one parse of the file.
// Reading it into the editor (a parse of the file and 500 reads of its keys) is timed as well, to
// tell the reading apart from filling the card list.
#include "BenchSupport.h"

#include "editor/MainForm.h"
#include "platform/Ini.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int kCards = 500;
const std::string kGame = "Big";

wizard::MainForm* g_window = nullptr;
std::string g_file;

std::string Definition() {
    std::string text = "[GAME]\r\nname=Big\r\nplayers=2\r\ndirectory=cards\r\ncommon_decks=1\r\n\r\n"
                       "[PLAYER 1]\r\nname=North\r\n\r\n[PLAYER 2]\r\nname=South\r\n\r\n[COMMON 1]\r\n"
                       "decksize=" +
                       std::to_string(kCards) + "\r\nimg_back=back.gif\r\nimg_discard=disc.gif\r\n";
    for (int i = 1; i <= kCards; ++i)
        text += "card" + std::to_string(i) + "=c" + std::to_string(i) + ".gif,,power=" + std::to_string(i) +
                ",K" + std::to_string(i) + "\r\n";
    return text + "\r\n[DICE]\r\ndice1=2d6\r\n";
}

void BM_SaveDeck500(benchmark::State& state) {
    int round = 0;
    for (auto _ : state) {
        state.PauseTiming();
        ++round;
        // Every card's line changes, so every one is written.
        for (int i = 0; i < g_window->commonList->ListCount(); ++i)
            g_window->Deck.SetProperties(g_window->CardId(i), "power=" + std::to_string(round));
        state.ResumeTiming();
        if (!g_window->SaveDeckData()) state.SkipWithError("the deck was not saved");
    }
}

void BM_OneAtomicWrite(benchmark::State& state) {
    int round = 0;
    for (auto _ : state) {
        ++round;
        if (!platform::IniWrite(g_file, "GAME", "handSize", std::to_string(round % 7)))
            state.SkipWithError("the file was not written");
    }
}

void BM_OpenDeck500(benchmark::State& state) {
    for (auto _ : state) {
        platform::IniClearCache();
        g_window->LoadDeckData("COMMON 1");
    }
    if (g_window->commonList->ListCount() != kCards) state.SkipWithError("the deck did not open whole");
}

void BM_ReadDeck500(benchmark::State& state) {
    for (auto _ : state) {
        platform::IniClearCache();
        wizard::DeckData deck;
        deck.Load(g_file, "COMMON 1");
        if (deck.LoadedEntries().size() != kCards) state.SkipWithError("the deck was not read whole");
    }
}

void BM_OneParse(benchmark::State& state) {
    for (auto _ : state) {
        platform::IniClearCache();
        benchmark::DoNotOptimize(platform::IniRead(g_file, "COMMON 1", "card500"));
    }
}

} // namespace

BENCHMARK(BM_SaveDeck500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OneAtomicWrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenDeck500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadDeck500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OneParse)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    benchsupport::OffscreenTable offscreen(argc, argv, 16, 16);
    benchsupport::Initialize(argc, argv, 9);
    benchsupport::TempFolder folder;
    benchsupport::MessageLog log;
    folder.Write(kGame + ".game", Definition());
    g_file = folder.Path().string() + "\\" + kGame + ".game";
    std::vector<benchsupport::Ratio> ratios;
    benchsupport::MedianReporter reporter;
    {
        wizard::MainForm window;
        g_window = &window;
        window.NameTXT->SetText(kGame);
        window.LoadDeckData("COMMON 1");
        benchmark::RunSpecifiedBenchmarks(&reporter);
        g_window = nullptr;
    }
    benchmark::Shutdown();
    benchsupport::AddRatio(ratios, reporter, "saving a 500-card deck / one atomic write of the file",
                           "BM_SaveDeck500", "BM_OneAtomicWrite", 5.0);
    benchsupport::AddRatio(ratios, reporter, "reading a 500-card deck / one parse of the file",
                           "BM_ReadDeck500", "BM_OneParse", 2.5);
    benchsupport::AddRatio(ratios, reporter, "opening a 500-card deck in the window / one parse of the file",
                           "BM_OpenDeck500", "BM_OneParse", 2.0);
    return benchsupport::Finish(ratios, reporter, log);
}
