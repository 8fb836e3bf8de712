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
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_cards; // model paths of the 52 faces
std::string g_folder;

// One common deck of n cards dealt out whole to two seats with areas.
std::string WriteGame(const benchsupport::TempFolder& folder, int n) {
    std::ostringstream game;
    game << "[GAME]\r\nplayers=2\r\ncommon_decks=1\r\ndirectory=cards\r\nexternal_hand=FALSE\r\n"
         << "[PLAYER 1]\r\nname=One\r\nlayout=300,300,6000,20000\r\n"
         << "[PLAYER 2]\r\nname=Two\r\nlayout=7000,300,6000,20000\r\n"
         << "[COMMON 1]\r\nsplit=FALSE\r\ndeckSize=" << n
         << "\r\nimg_back=back.gif\r\nimg_discard=empty.gif\r\n"
         << "deal=" << n / 2 << "\r\n";
    for (int k = 1; k <= n; ++k) {
        const std::string& path = g_cards[static_cast<std::size_t>(k - 1) % g_cards.size()];
        game << "card" << k << "=" << path.substr(path.find('\\') + 1) << ",,,K" << k << ",\r\n";
    }
    const std::string name = "table" + std::to_string(n) + ".game";
    folder.Write(name, game.str());
    return g_folder + "\\" + name;
}

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
    g_cards = benchsupport::CopyBundledCards(folder);
    for (const char* name : {"back.gif", "empty.gif"})
        std::filesystem::copy_file(std::filesystem::path(KARVEL_GAMES) / "parlour" / name,
                                   folder.Path() / "cards" / name);
    benchsupport::OffscreenTable screen(argc, argv, 800, 600);
    g_table = std::make_unique<MainForm>();
    g_game250 = WriteGame(folder, 250);
    g_game500 = WriteGame(folder, 500);
    benchsupport::Initialize(argc, argv, 5);
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
