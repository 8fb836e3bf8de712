// One step of dragging a card that carries 8 markers across a full table: 500 cards dealt, 300
// markers (150 numerical, 150 image markers), a 4000 x 3000 background, the window shown and
// painted. The step moves the card and carries its markers (raising them as a drag does), then
// lets the window repaint; the baseline moves the same 9 controls directly, without the table's
// procedures, and lets the window repaint as well. Limits: 1.5 times the baseline and 2 ms.
#include "BenchSupport.h"

#include "controls/TranspImg.h"
#include "controls/zLabelA.h"
#include "platform/Picture.h"
#include "state/MarkersMgmt.h"
#include "state/Model.h"
#include "state/TableState.h"
#include "state/ZOrder.h"
#include "table/CarriedMarkers.h"
#include "table/MainForm.h"
#include "table/TableSetup.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kCards = 500;
constexpr int kNumMarkers = 150;
constexpr int kImageMarkers = 150;
constexpr int kCarried = 8; // half numerical, half image markers

std::unique_ptr<MainForm> g_table;
// The dragged card's control and the surfaces of the 9 controls it moves.
int g_card = -1;
std::vector<platform::ControlSurface*> g_moved;

// Lays the markers: the first 4 of each kind on the dragged card, the others spread over the
// table.
void LayMarkers(const std::string& markerPicture) {
    MainForm& table = *g_table;
    controls::TranspImg& card = *table.crd(g_card);
    const int cardLeft = card.Surface().Left() + card.GetOriginLeft();
    const int cardTop = card.Surface().Top() + card.GetOriginTop();
    for (int m = 0; m < kNumMarkers; ++m) {
        controls::zLabelA* label = m == 0 ? table.markerNum(0) : table.markerNum.Load(m);
        label->AutoSize(true);
        label->caption("HP: " + std::to_string(m));
        const bool carried = m < kCarried / 2;
        label->Surface().Move(carried ? cardLeft + 60 + m * 90 : 300 + (m % 30) * 900,
                              carried ? cardTop + 150 : 900 + (m / 30) * 1800);
        label->Surface().SetVisible(true);
        NumMarkerInUse[m] = kTrue;
        BringToFrontZOrder(kZNumMarker, static_cast<std::int16_t>(m), 0);
    }
    NextNumMarker = kNumMarkers + 1;
    for (int n = 1; n <= kImageMarkers; ++n) {
        controls::TranspImg* image = n == 1 ? table.mrk(0) : table.mrk.Load(n - 1);
        image->loadNewPicture(markerPicture, true);
        const bool carried = n <= kCarried / 2;
        image->Surface().Move(carried ? cardLeft + 60 + (n - 1) * 120 : 600 + (n % 30) * 900,
                              carried ? cardTop + 900 : 1500 + (n / 30) * 1800);
        image->Surface().SetVisible(true);
        GraphMarkers[n].inUse = kTrue;
        BringToFrontZOrder(kZImageMarker, static_cast<std::int16_t>(n - 1), 0);
    }
    GraphMarkerCount = kImageMarkers;

    // 800 objects overflow the 200 entries of the stacking order, which keeps the latest: the card
    // is raised again, as a click on it would, so that the markers find it.
    BringToFrontZOrder(kZCard, static_cast<std::int16_t>(std::stoi(card.Surface().Tag())), 0);
    g_moved = {&card.Surface()};
    for (int m = 0; m < kCarried / 2; ++m) {
        AttachNumericalMarker(static_cast<std::int16_t>(m));
        g_moved.push_back(&table.markerNum(m)->Surface());
    }
    for (int n = 1; n <= kCarried / 2; ++n) {
        AttachImageMarker(static_cast<std::int16_t>(n));
        g_moved.push_back(&table.mrk(n - 1)->Surface());
    }
}

// How many markers lie on the dragged card.
int CarriedCount() {
    int count = 0;
    for (int m = 0; m < kNumMarkers; ++m)
        count += g_table->markerNum(m)->Surface().Tag() == std::to_string(g_card);
    for (int n = 1; n <= kImageMarkers; ++n)
        count += g_table->mrk(n - 1)->Surface().Tag() == std::to_string(g_card);
    return count;
}

// Back and forth by one pixel, so that the card stays where it lies.
int g_step = 0;
int NextDx() {
    return (g_step++ % 2 == 0) ? 15 : -15;
}

void DragCardWithMarkers(benchmark::State& state) {
    platform::ControlSurface& card = g_table->crd(g_card)->Surface();
    for (auto _ : state) {
        const int dx = NextDx();
        card.Move(card.Left() + dx, card.Top() + dx);
        card.BringToFront();
        MoveAttachedMarkers(static_cast<std::int16_t>(g_card), static_cast<std::int16_t>(dx),
                            static_cast<std::int16_t>(dx), kMarkersMove);
        platform::PumpEvents();
    }
}
BENCHMARK(DragCardWithMarkers)->Unit(benchmark::kMicrosecond);

void MoveNineControls(benchmark::State& state) {
    for (auto _ : state) {
        const int dx = NextDx();
        for (platform::ControlSurface* s : g_moved)
            s->Move(s->Left() + dx, s->Top() + dx);
        platform::PumpEvents();
    }
}
BENCHMARK(MoveNineControls)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    benchsupport::MessageLog log;
    benchsupport::TempFolder folder;
    std::vector<std::string> faces = benchsupport::CopyBundledDeck(folder);
    benchsupport::OffscreenTable screen(argc, argv, 800, 600);
    {
        platform::Picture desk(4000, 3000, platform::MakeColour(30, 90, 40));
        for (int y = 0; y < 3000; y += 100)
            desk.FillRect(0, y, 4000, 2, platform::MakeColour(40, 110, 50));
        desk.SaveAsPng((folder.Path() / "cards" / "desk.png").string());
        platform::Picture marker(24, 24, platform::MakeColour(200, 40, 40));
        marker.SaveAsPng((folder.Path() / "cards" / "marker.png").string());
    }
    g_table = std::make_unique<MainForm>();
    Model().Reset();
    Game.CurrentPlayer = 1;
    // The table goes before the window system it lives in.
    const auto fail = [](const std::string& why) {
        std::printf("%s\n", why.c_str());
        g_table.reset();
        return 1;
    };
    if (!SetUpNewGame(*g_table, benchsupport::WriteOneDeckGame(
                                    folder, "drag.game", faces, kCards, kCards / 2, "desktop=desk.png\r\n",
                                    "layout=300,300,20000,28000\r\n", "layout=21000,300,20000,28000\r\n")) ||
        LoadedCardControls != kCards)
        return fail("the table was not set up whole: " + std::to_string(LoadedCardControls) + " cards");
    g_table->Window().Resize(15000, 11000);
    g_table->Window().Show();
    // Seat 1's third card, in view: seat 1 is dealt controls 0, 2, 4, ...
    g_card = 4;
    LayMarkers(folder.Path().string() + "\\cards\\marker.png");
    platform::PumpEvents();
    if (CarriedCount() != kCarried)
        return fail(std::to_string(CarriedCount()) + " markers lie on the dragged card, not " +
                    std::to_string(kCarried));

    benchsupport::Initialize(argc, argv, 9);
    benchsupport::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::vector<benchsupport::Ratio> ratios;
    benchsupport::AddRatio(ratios, reporter, "drag step of a card carrying 8 markers / moving its 9 controls",
                           "DragCardWithMarkers", "MoveNineControls", 1.5);
    if (const double step = reporter.Median("DragCardWithMarkers"); step > 0) {
        ratios.push_back({"drag step of a card carrying 8 markers on a full table, ms", step * 1000, 2});
        // Qt may paint on threads of its own, which the main thread's CPU time does not show.
        std::printf("drag step: median %.0f us CPU in the main thread, %.0f us wall\n", step * 1e6,
                    reporter.WallMedian("DragCardWithMarkers") * 1e6);
    }
    g_table.reset();
    return benchsupport::Finish(ratios, reporter, log);
}
