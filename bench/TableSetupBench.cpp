// Setting a new game's table up with every card dealt onto it (definition read, controls made,
// faces and backs loaded, piles placed), against loading the same number of card pictures into
// bare card controls; and a 500-card table against a 250-card one. The pictures are the bundled
// card game's, shared per file. Loads that a definition or a saved game can make as large as it
// likes cost what the table shows: a deck dealing 32767 cards to each seat sets up about as fast as
// one dealing out the same 52 cards (at most 1.3 times), and a saved game of 300 numerical markers
// with captions of 64 KiB loads about as fast as the same game with captions of the longest length a
// label keeps (at most 1.5 times).
#include "BenchSupport.h"

#include "controls/TranspImg.h"
#include "controls/zLabelA.h"
#include "platform/Picture.h"
#include "platform/Seams.h"
#include "state/Model.h"
#include "state/SaveRecord.h"
#include "state/TableState.h"
#include "table/MainForm.h"
#include "table/SaveGameMgmt.h"
#include "table/TableSetup.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

std::vector<std::string> g_cards; // model paths of the 52 faces
std::string g_folder;

// One common deck of n cards dealt out whole to two seats with areas.
std::unique_ptr<MainForm> g_table;
// By the benchmark's argument: the definition and the card controls its set-up hands out. 250 and
// 500 cards are dealt out whole to two seats; 26 and 32767 are the deals a seat of 52 cards, the
// second running out of cards (every attempt still takes a control number).
std::map<int, std::pair<std::string, int>> g_games;

void SetUpTable(benchmark::State& state) {
    const auto& [game, controls] = g_games[static_cast<int>(state.range(0))];
    for (auto _ : state) {
        Model().Reset();
        Game.CurrentPlayer = 1;
        const bool ready = SetUpNewGame(*g_table, game);
        if (!ready || LoadedCardControls != controls) state.SkipWithError("table not set up whole");
        // The window system's events run between two set-ups, untimed, as they run during a
        // game: left queued, every control the next set-up clears away looked through all of
        // them, and a 500-card table cost more than twice a 250-card one.
        state.PauseTiming();
        platform::PumpEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(SetUpTable)->Arg(250)->Arg(500)->Arg(26)->Arg(32767)->Unit(benchmark::kMillisecond);

void LoadMarkedSave(benchmark::State& state) {
    const std::string file = state.range(0) == 0 ? "longest.save" : "huge.save";
    for (auto _ : state)
        if (!LoadSavedGame(file, false)) state.SkipWithError("the save did not load");
}
BENCHMARK(LoadMarkedSave)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The running game saved with 300 numerical markers, each captioned with `caption`.
std::string MarkedSave(const std::string& caption) {
    const auto record = NewSaveRecord();
    FillSaveRecord(*record);
    record->numMarkerCount = kMaxMarkers;
    for (int k = 1; k <= kMaxMarkers; ++k) {
        record->numMarkerPositions[k] = {static_cast<std::int16_t>(20 * k),
                                         static_cast<std::int16_t>(30 * k)};
        record->numMarkerCaptions[k] = caption;
        record->numMarkerCards[k] = -1;
    }
    std::string bytes, error;
    if (!EncodeSaveRecord(*record, bytes, error)) std::fprintf(stderr, "not encoded: %s\n", error.c_str());
    return bytes;
}

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
    const std::string seat1 = "layout=300,300,6000,20000\r\n", seat2 = "layout=7000,300,6000,20000\r\n";
    g_games[250] = {
        benchsupport::WriteOneDeckGame(folder, "table250.game", g_cards, 250, 125, "", seat1, seat2), 250};
    g_games[500] = {
        benchsupport::WriteOneDeckGame(folder, "table500.game", g_cards, 500, 250, "", seat1, seat2), 500};
    g_games[26] = {benchsupport::WriteOneDeckGame(folder, "whole.game", g_cards, 52, 26, "", seat1, seat2),
                   52};
    g_games[32767] = {
        benchsupport::WriteOneDeckGame(folder, "huge.game", g_cards, 52, 32767, "", seat1, seat2), 32767};
    Game.CurrentPlayer = 1;
    SetUpNewGame(*g_table, g_games[26].first);
    folder.Write("save/longest.save", MarkedSave(std::string(kMaxCaptionLength, 'w')));
    folder.Write("save/huge.save", MarkedSave(std::string(65535, 'w')));
    // Fifteen repetitions: with five, and then with nine while two other programs kept two cores
    // busy, the ratios' medians swung past their limits.
    benchsupport::Initialize(argc, argv, 15);
    benchsupport::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    g_table.reset();
    std::vector<benchsupport::Ratio> ratios;
    benchsupport::AddRatio(ratios, reporter, "set-up of a 500-card table / 500 card picture loads",
                           "SetUpTable/500", "LoadCardPictures/500", 1.3);
    benchsupport::AddRatio(ratios, reporter, "set-up of 500 cards / 250 cards", "SetUpTable/500",
                           "SetUpTable/250", 2.2);
    benchsupport::AddRatio(ratios, reporter, "set-up of a deal of 32767 cards a seat / of 26 a seat, from 52",
                           "SetUpTable/32767", "SetUpTable/26", 1.3);
    benchsupport::AddRatio(
        ratios, reporter,
        "load of 300 markers with 64 KiB captions / with captions of the longest kept length",
        "LoadMarkedSave/1", "LoadMarkedSave/0", 1.5);
    return benchsupport::Finish(ratios, reporter, log);
}
