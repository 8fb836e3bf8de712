// Setting a new game's table up with every card dealt onto it (definition read, controls made,
// faces and backs loaded, piles placed), against loading the same number of card pictures into
// bare card controls; and a 500-card table against a 250-card one. The pictures are the bundled
// card game's, shared per file.
#include "BenchSupport.h"

#include "controls/TranspImg.h"
#include "platform/Picture.h"
#include "state/Model.h"
#include "state/TableState.h"
#include "table/MainForm.h"
#include "table/TableSetup.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_cards; // model paths of the 52 faces
std::string g_folder;

// One common deck of n cards dealt out whole to two seats with areas.
std::unique_ptr<MainForm> g_table;
std::string g_game250, g_game500;

void SetUpTable(benchmark::State& state) {
    const std::string& game = state.range(0) == 500 ? g_game500 : g_game250;
    for (auto _ : state) {
        Model().Reset();
        Game.CurrentPlayer = 1;
        const bool ready = SetUpNewGame(*g_table, game);
        if (!ready || LoadedCardControls != state.range(0)) state.SkipWithError("table not set up whole");
    }
}
BENCHMARK(SetUpTable)->Arg(250)->Arg(500)->Unit(benchmark::kMillisecond);

void LoadCardPictures(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<std::unique_ptr<controls::TranspImg>> cards;
        for (int k = 0; k < state.range(0); ++k) {
            auto card = std::make_unique<controls::TranspImg>(g_table->BasePict.Handle());
            card->loadNewPicture(g_folder + "\\" + g_cards[static_cast<std::size_t>(k) % g_cards.size()]);
            cards.push_back(std::move(card));
        }
        benchmark::DoNotOptimize(cards);
    }
}
BENCHMARK(LoadCardPictures)->Arg(500)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchsupport::MessageLog log;
    benchsupport::TempFolder folder;
    g_folder = folder.Path().string();
    g_cards = benchsupport::CopyBundledDeck(folder);
    benchsupport::OffscreenTable screen(argc, argv, 800, 600);
    g_table = std::make_unique<MainForm>();
    g_game250 =
        benchsupport::WriteOneDeckGame(folder, "table250.game", g_cards, 250, 125, "",
                                       "layout=300,300,6000,20000\r\n", "layout=7000,300,6000,20000\r\n");
    g_game500 =
        benchsupport::WriteOneDeckGame(folder, "table500.game", g_cards, 500, 250, "",
                                       "layout=300,300,6000,20000\r\n", "layout=7000,300,6000,20000\r\n");
    // Nine repetitions: with five, both ratios' medians swung past their limits on a busy machine.
    benchsupport::Initialize(argc, argv, 9);
    benchsupport::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    g_table.reset();
    std::vector<benchsupport::Ratio> ratios;
    benchsupport::AddRatio(ratios, reporter, "set-up of a 500-card table / 500 card picture loads",
                           "SetUpTable/500", "LoadCardPictures/500", 1.3);
    benchsupport::AddRatio(ratios, reporter, "set-up of 500 cards / 250 cards", "SetUpTable/500",
                           "SetUpTable/250", 2.2);
    return benchsupport::Finish(ratios, reporter, log);
}
