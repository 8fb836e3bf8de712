// The editor's deck of 500 cards: saving it (every line changed) costs at most five times one
// atomic write of the same file, and opening it in the window at most twice the least any reader
// of the deck does: one parse of the file and one visit of each key of the deck's section (the
// parse alone takes under 15 us since the reader cuts a file in one pass, so against it a ratio
// would mostly count the 500 cards). Reading it into the editor without the window is timed as
// well, to tell the reading apart from filling the card list. Each round starts as an event of the window
// does, with the vector registers' stale state cleared (the window system leaves it behind).
#include "BenchSupport.h"

#include "editor/MainForm.h"
#include "platform/Application.h"
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
        platform::ClearStaleVectorState();
        state.ResumeTiming();
        if (!g_window->SaveDeckData()) state.SkipWithError("the deck was not saved");
    }
}

void BM_OneAtomicWrite(benchmark::State& state) {
    int round = 0;
    for (auto _ : state) {
        ++round;
        platform::ClearStaleVectorState();
        if (!platform::IniWrite(g_file, "GAME", "handSize", std::to_string(round % 7)))
            state.SkipWithError("the file was not written");
    }
}

void BM_OpenDeck500(benchmark::State& state) {
    for (auto _ : state) {
        platform::ClearStaleVectorState();
        platform::IniClearCache();
        g_window->LoadDeckData("COMMON 1");
    }
    if (g_window->commonList->ListCount() != kCards) state.SkipWithError("the deck did not open whole");
}

void BM_ReadDeck500(benchmark::State& state) {
    for (auto _ : state) {
        platform::ClearStaleVectorState();
        platform::IniClearCache();
        wizard::DeckData deck;
        deck.Load(g_file, "COMMON 1");
        if (deck.LoadedEntries().size() != kCards) state.SkipWithError("the deck was not read whole");
    }
}

void BM_OneParse(benchmark::State& state) {
    for (auto _ : state) {
        platform::ClearStaleVectorState();
        platform::IniClearCache();
        benchmark::DoNotOptimize(platform::IniRead(g_file, "COMMON 1", "card500"));
    }
}

void BM_ParseAndVisitTheDeck(benchmark::State& state) {
    for (auto _ : state) {
        platform::ClearStaleVectorState();
        platform::IniClearCache();
        std::size_t seen = 0;
        platform::IniSectionEach(g_file, "COMMON 1", [&](std::string_view name, std::string_view value) {
            seen += name.size() + value.size();
        });
        benchmark::DoNotOptimize(seen);
    }
}

} // namespace

BENCHMARK(BM_SaveDeck500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OneAtomicWrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OpenDeck500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadDeck500)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OneParse)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParseAndVisitTheDeck)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    benchsupport::OffscreenTable offscreen(argc, argv, 16, 16);
    // 21 repetitions: with nine, and then with fifteen while two other programs kept two cores
    // busy, the opening ratio's median swung past its limit.
    benchsupport::Initialize(argc, argv, 21);
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
    benchsupport::AddRatio(ratios, reporter, "reading a 500-card deck / one parse and one visit of its keys",
                           "BM_ReadDeck500", "BM_ParseAndVisitTheDeck", 2.5);
    benchsupport::AddRatio(ratios, reporter,
                           "opening a 500-card deck in the window / one parse and one visit of its keys",
                           "BM_OpenDeck500", "BM_ParseAndVisitTheDeck", 2.0);
    return benchsupport::Finish(ratios, reporter, log);
}
