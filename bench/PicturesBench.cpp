// The card image control's drawing operations on a 71 x 96 card, against the plain copy of the
// same card that a repaint costs.
#include "../tests/controls/TestImages.h"

#include "controls/TranspImg.h"
#include "platform/Application.h"
#include "platform/ControlSurface.h"
#include "platform/Files.h"
#include "platform/Picture.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

constexpr platform::Colour kMagenta = platform::MakeColour(255, 0, 255);
const char* const kCard = "cards/card.bmp";

// The table the cards lie on: a control is always a child of its window, whose mask it shapes.
platform::ControlSurface& Table() {
    static platform::ControlSurface table;
    table.SetSizePixels(800, 600);
    return table;
}

void Prepare(controls::TranspImg& img) {
    img.reset();
    img.MaskColor(kMagenta);
}

void PlainCopy(benchmark::State& state) {
    const platform::Picture card = testimages::AsymmetricCard(71, 96);
    platform::Picture table(131, 131, kMagenta);
    for (auto _ : state) {
        table.Copy(30, 18, 71, 96, card, 0, 0);
        benchmark::DoNotOptimize(table.Row(0));
    }
}
BENCHMARK(PlainCopy);

void Load(benchmark::State& state) {
    controls::TranspImg img(Table().Handle());
    Prepare(img);
    for (auto _ : state)
        img.loadNewPicture(kCard);
}
BENCHMARK(Load);

void Turn(benchmark::State& state) {
    controls::TranspImg img(Table().Handle());
    Prepare(img);
    img.useAntialias(state.range(1) != 0);
    img.loadNewPicture(kCard);
    for (auto _ : state)
        img.rotation(static_cast<std::int16_t>(state.range(0)));
}
BENCHMARK(Turn)->ArgNames({"angle", "smooth"})->Args({90, 0})->Args({45, 0})->Args({45, 1});

// A zoom works on the current drawing, so each round goes to 150 % and back to the natural size.
void ZoomTo150AndBack(benchmark::State& state) {
    controls::TranspImg img(Table().Handle());
    Prepare(img);
    img.loadNewPicture(kCard);
    for (auto _ : state) {
        img.zoom(150);
        img.zoom(100);
    }
}
BENCHMARK(ZoomTo150AndBack);

// Unselecting redraws the card from its file, as the control always has.
void SelectAndUnselect(benchmark::State& state) {
    controls::TranspImg img(Table().Handle());
    Prepare(img);
    img.loadNewPicture(kCard);
    img.rotation(90);
    for (auto _ : state) {
        img.selected(true);
        img.selected(false);
    }
}
BENCHMARK(SelectAndUnselect);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::Application app(argc, argv, "Karvel");
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "karvel-pictures-bench";
    std::filesystem::create_directories(folder / "cards");
    std::ofstream(folder / "cards" / "card.bmp", std::ios::binary)
        << testimages::BmpOf(testimages::AsymmetricCard(71, 96));
    platform::SetProgramFolder(folder.string());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(folder);
    return 0;
}
