// The card actions on a full table: the pile operations of a 500-card deck against one pass over
// the card table; select all, the rectangle and clear over 500 cards against toggling their 500
// selection halos; and one step of dragging 500 selected cards against moving 500 bare controls.
#include "BenchSupport.h"

#include "controls/TranspImg.h"
#include "state/DecksMgmt.h"
#include "state/Model.h"
#include "state/TableState.h"
#include "table/CardActions.h"
#include "table/MainForm.h"
#include "table/SelectionMgmt.h"
#include "table/TableSetup.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kCards = 500;

std::vector<std::string> g_cards;
std::unique_ptr<MainForm> g_table;
std::string g_game;
bool g_drawn = false;

// One common deck of 500 cards; the seats have no areas, so every card drawn lies on bare table.
void NewGame() {
    g_drawn = false;
    Model().Reset();
    Game.CurrentPlayer = 1;
    if (!SetUpNewGame(*g_table, g_game)) std::abort();
    Game.GamePhase = kPhasePlaying;
}

// ---- piles ----

void CardTablePass(benchmark::State& state) {
    NewGame();
    for (auto _ : state)
        benchmark::DoNotOptimize(CountPileCards(0, false));
}
BENCHMARK(CardTablePass);

void ListPile(benchmark::State& state) {
    NewGame();
    for (auto _ : state)
        benchmark::DoNotOptimize(ListDrawPileCards(0, kCards + 1));
}
BENCHMARK(ListPile);

void FindTopCard(benchmark::State& state) {
    NewGame();
    for (auto _ : state) {
        benchmark::DoNotOptimize(IsDeckEmpty(0));
        benchmark::DoNotOptimize(FindCard(0, Game.nextDrawPositions[0], false));
    }
}
BENCHMARK(FindTopCard);

void MoveTopToBottom(benchmark::State& state) {
    NewGame();
    for (auto _ : state)
        g_table->cardActions->Move2BottomOfDrawDeck_body(FindCard(0, Game.nextDrawPositions[0], false));
}
BENCHMARK(MoveTopToBottom);

void ReshuffleDrawPile(benchmark::State& state) {
    NewGame();
    for (auto _ : state)
        ShuffleDeck(0, false, true);
}
BENCHMARK(ReshuffleDrawPile);

// ---- selection and group drag, on 500 drawn cards ----

// Once for the benchmarks below: every card drawn onto the table.
void DrawEverything() {
    if (g_drawn) return;
    NewGame();
    while (!IsDeckEmpty(0))
        g_table->cardActions->DeckImg_DblClick(0);
    g_drawn = true;
}

std::vector<controls::TranspImg*> CardControls() {
    DrawEverything();
    std::vector<controls::TranspImg*> controls;
    for (int card = 1; card <= kCards; ++card)
        if (controls::TranspImg* image = g_table->crd(Cards[card].controlIndex)) controls.push_back(image);
    return controls;
}

void ToggleHalos(benchmark::State& state) {
    const std::vector<controls::TranspImg*> controls = CardControls();
    for (auto _ : state) {
        for (controls::TranspImg* image : controls)
            image->selected(true);
        for (controls::TranspImg* image : controls)
            image->selected(false);
    }
}
BENCHMARK(ToggleHalos)->Unit(benchmark::kMillisecond);

void SelectAllAndClear(benchmark::State& state) {
    DrawEverything();
    for (auto _ : state) {
        SelectAllCards();
        ClearSelection();
    }
    if (CountSelectedCards() != 0) state.SkipWithError("selection left");
}
BENCHMARK(SelectAllAndClear)->Unit(benchmark::kMillisecond);

void RubberBandAndClear(benchmark::State& state) {
    DrawEverything();
    for (auto _ : state) {
        StartRubberBand(0, 0);
        UpdateRubberBand(30000, 30000);
        SelectCardsInRubberBand(30000, 30000);
        ClearSelection();
    }
}
BENCHMARK(RubberBandAndClear)->Unit(benchmark::kMillisecond);

void MoveBareControls(benchmark::State& state) {
    const std::vector<controls::TranspImg*> controls = CardControls();
    int step = 15;
    for (auto _ : state) {
        for (controls::TranspImg* image : controls)
            image->Surface().Move(image->Surface().Left() + step, image->Surface().Top() + step);
        step = -step;
    }
}
BENCHMARK(MoveBareControls)->Unit(benchmark::kMillisecond);

void DragSelection(benchmark::State& state) {
    DrawEverything();
    SelectAllCards();
    int step = 15;
    for (auto _ : state) {
        // The dragged card itself moves too, as the mouse handler moves it.
        controls::TranspImg* dragged = g_table->crd(Cards[1].controlIndex);
        dragged->Surface().Move(dragged->Surface().Left() + step, dragged->Surface().Top() + step);
        DragSelectedCards(step, step, 1);
        step = -step;
    }
    ClearSelection();
}
BENCHMARK(DragSelection)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchsupport::MessageLog log;
    benchsupport::TempFolder folder;
    g_cards = benchsupport::CopyBundledDeck(folder);
    benchsupport::OffscreenTable screen(argc, argv, 800, 600);
    g_table = std::make_unique<MainForm>();
    g_game = benchsupport::WriteOneDeckGame(folder, "actions.game", g_cards, kCards, 0);
    // Fifteen repetitions: with five, the selection ratios' medians swung past their limit on a
    // busy machine, and with nine they came within a twentieth of it.
    benchsupport::Initialize(argc, argv, 15);
    benchsupport::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    g_table.reset();
    std::vector<benchsupport::Ratio> ratios;
    const char* pass = "CardTablePass";
    benchsupport::AddRatio(ratios, reporter, "listing a 500-card pile / one pass over the cards", "ListPile",
                           pass, 10);
    benchsupport::AddRatio(ratios, reporter, "finding the top card / one pass", "FindTopCard", pass, 10);
    benchsupport::AddRatio(ratios, reporter, "top card to the bottom / one pass", "MoveTopToBottom", pass,
                           10);
    benchsupport::AddRatio(ratios, reporter, "reshuffling the draw pile / one pass", "ReshuffleDrawPile",
                           pass, 10);
    benchsupport::AddRatio(ratios, reporter, "select all and clear / 500 halos on and off",
                           "SelectAllAndClear", "ToggleHalos", 1.2);
    benchsupport::AddRatio(ratios, reporter, "rectangle and clear / 500 halos on and off",
                           "RubberBandAndClear", "ToggleHalos", 1.2);
    benchsupport::AddRatio(ratios, reporter, "dragging 500 selected cards / moving 500 bare controls",
                           "DragSelection", "MoveBareControls", 1.5);
    return benchsupport::Finish(ratios, reporter, log);
}
