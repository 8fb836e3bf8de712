// One step of dragging a card across a table of 500 cards, painted as the table window paints its
// cards: big cards (200 x 280, from 52 BMP files) against the bundled cards (71 x 96). The cards
// of both tables lie in a grid that overlaps them alike (each a quarter of its frame from the next),
// and the dragged card, raised over the others, goes back and forth by one pixel in the middle of
// its table. The step is timed in wall time: the window system may paint on threads of its own.
// Limit: the big-card step at most 1.5 times the small-card step, the cost following the area the
// step changes rather than the size of what lies under it.
#include "BenchSupport.h"

#include "../tests/controls/TestImages.h"

#include "controls/TranspImg.h"
#include "platform/Picture.h"
#include "platform/Seams.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr platform::Colour kMagenta = platform::MakeColour(255, 0, 255);
constexpr platform::Colour kFelt = platform::MakeColour(30, 90, 40);
constexpr int kCards = 500;
constexpr int kColumns = 25;

// A table window of its own with its cards, one of them dragged.
struct Table {
    std::unique_ptr<platform::ControlSurface> window;
    std::vector<std::unique_ptr<controls::TranspImg>> cards;
    controls::TranspImg* dragged = nullptr;
    int step = 0;
};

Table g_big, g_small;

// 52 card faces of 200 x 280: the bundled cards, enlarged, written as BMP files.
std::vector<std::string> BigFaces(const benchsupport::TempFolder& folder,
                                  const std::vector<std::string>& small) {
    std::vector<std::string> files;
    for (const std::string& card : small) {
        const platform::Picture face = *platform::Picture::Load(card);
        platform::Picture large(200, 280, kMagenta);
        large.Stretch(0, 0, 200, 280, face, 0, 0, face.Width(), face.Height(),
                      platform::StretchMode::ColourOnColour);
        const std::string name = "large/" + card.substr(card.find('\\') + 1) + ".bmp";
        folder.Write(name, testimages::BmpOf(large));
        files.push_back(name);
    }
    return files;
}

// Lays 500 cards of the faces in the grid, shows the window and raises the card in the middle.
void Lay(Table& table, const std::vector<std::string>& faces, int width, int height) {
    const int side = static_cast<int>(std::sqrt(double(width) * width + double(height) * height) + 12);
    const int dx = side / 4, dy = side / 4;
    table.window = std::make_unique<platform::ControlSurface>();
    table.window->SetBackStyle(1);
    table.window->SetBackColor(kFelt);
    table.window->SetSizePixels((kColumns - 1) * dx + side, (kCards / kColumns - 1) * dy + side);
    for (int i = 0; i < kCards; ++i) {
        auto card = std::make_unique<controls::TranspImg>(table.window->Handle());
        card->reset();
        card->MaskColor(kMagenta);
        card->loadNewPicture(faces[static_cast<std::size_t>(i) % faces.size()]);
        card->Surface().Move((i % kColumns) * dx * 15.0, (i / kColumns) * dy * 15.0);
        table.cards.push_back(std::move(card));
    }
    table.dragged = table.cards[kCards / 2 + kColumns / 2].get();
    table.dragged->Surface().BringToFront();
    table.window->SetVisible(true);
    platform::PumpEvents();
}

void DragStep(benchmark::State& state, Table& table) {
    platform::ControlSurface& card = table.dragged->Surface();
    for (auto _ : state) {
        const int d = (table.step++ % 2 == 0) ? 15 : -15;
        card.Move(card.Left() + d, card.Top() + d);
        platform::PumpEvents();
    }
}

void DragBigCard(benchmark::State& state) {
    DragStep(state, g_big);
}
BENCHMARK(DragBigCard)->Unit(benchmark::kMicrosecond)->UseRealTime();

void DragSmallCard(benchmark::State& state) {
    DragStep(state, g_small);
}
BENCHMARK(DragSmallCard)->Unit(benchmark::kMicrosecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    benchsupport::MessageLog log;
    benchsupport::TempFolder folder;
    const std::vector<std::string> small = benchsupport::CopyBundledCards(folder);
    benchsupport::OffscreenTable screen(argc, argv, 10, 10);
    const std::vector<std::string> big = BigFaces(folder, small);
    Lay(g_big, big, 200, 280);
    Lay(g_small, small, 71, 96);

    benchsupport::Initialize(argc, argv, 9);
    benchsupport::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::vector<benchsupport::Ratio> ratios;
    benchsupport::AddWallRatio(ratios, reporter,
                               "drag step of a 200x280 card over 500 such cards / of a 71x96 card, wall time",
                               "DragBigCard", "DragSmallCard", 1.5);
    for (const char* name : {"DragBigCard", "DragSmallCard"})
        if (const double cpu = reporter.Median(name); cpu > 0)
            std::printf("%s: median %.0f us wall, %.0f us CPU in the main thread\n", name,
                        reporter.WallMedian(name) * 1e6, cpu * 1e6);
    // The windows go before the window system they live in.
    for (Table* table : {&g_big, &g_small}) {
        table->cards.clear();
        table->window.reset();
    }
    return benchsupport::Finish(ratios, reporter, log);
}
