// The card image control on the GIF cards of the bundled card game (71 x 96), each operation
// against decoding the same files with the platform's decoder. Each label says what it times:
// a load decodes the file (the shared pictures are forgotten first) unless it says otherwise.
#include "BenchSupport.h"

#include "controls/FoxImaging.h"
#include "controls/TranspImg.h"
#include "platform/Picture.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr platform::Colour kMagenta = platform::MakeColour(255, 0, 255);

std::vector<std::string> g_cards;

benchsupport::OffscreenTable* g_table = nullptr;

platform::ControlSurface& Table() {
    return g_table->Surface();
}

void Prepare(controls::TranspImg& img) {
    img.reset();
    img.MaskColor(kMagenta);
}

const std::string& CardOf(benchmark::IterationCount i) {
    return g_cards[static_cast<std::size_t>(i) % g_cards.size()];
}

void DecodeCard(benchmark::State& state) {
    benchmark::IterationCount i = 0;
    for (auto _ : state) {
        auto picture = platform::Picture::Load(CardOf(i++));
        if (!picture) state.SkipWithError("card not decoded");
        benchmark::DoNotOptimize(picture);
    }
}
BENCHMARK(DecodeCard)->Unit(benchmark::kMicrosecond);

void LoadCardDecoded(benchmark::State& state) {
    controls::TranspImg img(Table().Handle());
    Prepare(img);
    benchmark::IterationCount i = 0;
    for (auto _ : state) {
        platform::Picture::ForgetShared();
        img.loadNewPicture(CardOf(i++));
    }
}
BENCHMARK(LoadCardDecoded)->Unit(benchmark::kMicrosecond);

// The usual case on a table: the file is already shown by another card.
void LoadCardShownElsewhere(benchmark::State& state) {
    controls::TranspImg shown(Table().Handle()), img(Table().Handle());
    Prepare(shown);
    Prepare(img);
    shown.loadNewPicture(g_cards[0]);
    for (auto _ : state)
        img.loadNewPicture(g_cards[0]);
}
BENCHMARK(LoadCardShownElsewhere)->Unit(benchmark::kMicrosecond);

// The turn of the card's square frame itself, as the control draws a look no card shows yet.
void TurnFrame(benchmark::State& state) {
    const platform::Picture card = *platform::Picture::Load(g_cards[0]);
    platform::Picture frame(131, 131, kMagenta), turned(131, 131, kMagenta);
    frame.Copy(30, 18, card.Width(), card.Height(), card, 0, 0);
    const int angle = static_cast<int>(state.range(0));
    const int quality = state.range(1) ? controls::kFoxQualitySmooth : controls::kFoxQualityFast;
    int cx = 0, cy = 0;
    controls::RotationCentre(131, 131, angle, cx, cy);
    for (auto _ : state) {
        controls::FoxRotate(turned, cx, cy, 131, 131, frame, 0, 0, angle, kMagenta, quality);
        benchmark::DoNotOptimize(turned.Row(0));
    }
}
BENCHMARK(TurnFrame)->ArgNames({"angle", "smooth"})->Args({90, 0})->Args({45, 0})->Args({45, 1});

// A card turned to 90 degrees and back, both looks shown by other cards already.
void TurnCardTo90AndBack(benchmark::State& state) {
    controls::TranspImg shown(Table().Handle()), img(Table().Handle());
    Prepare(shown);
    Prepare(img);
    shown.loadNewPicture(g_cards[0]);
    shown.rotation(90);
    img.loadNewPicture(g_cards[0]);
    for (auto _ : state) {
        img.rotation(90);
        img.rotation(0);
    }
}
BENCHMARK(TurnCardTo90AndBack);

// The halo is drawn on select; unselect shows the card's shared unturned look again.
void SelectAndUnselect(benchmark::State& state) {
    controls::TranspImg img(Table().Handle());
    Prepare(img);
    img.loadNewPicture(g_cards[0]);
    for (auto _ : state) {
        img.selected(true);
        img.selected(false);
    }
}
BENCHMARK(SelectAndUnselect)->Unit(benchmark::kMicrosecond);

// A zoom works on the current drawing, so each round goes to 150 % and back to the natural size.
void ZoomTo150AndBack(benchmark::State& state) {
    controls::TranspImg img(Table().Handle());
    Prepare(img);
    img.loadNewPicture(g_cards[0]);
    for (auto _ : state) {
        img.zoom(150);
        img.zoom(100);
    }
}
BENCHMARK(ZoomTo150AndBack)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    benchsupport::OffscreenTable table(argc, argv, 800, 600);
    g_table = &table;
    benchsupport::MessageLog log;
    benchsupport::TempFolder folder;
    g_cards = benchsupport::CopyBundledCards(folder);
    benchsupport::Initialize(argc, argv, 5);
    benchsupport::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::vector<benchsupport::Ratio> ratios;
    const std::string decode = "DecodeCard";
    benchsupport::AddRatio(ratios, reporter,
                           "load of a 71x96 GIF card into a control, decoded / decode of the file",
                           "LoadCardDecoded", decode, 6);
    benchsupport::AddRatio(ratios, reporter, "load of a card another control shows / decode of the file",
                           "LoadCardShownElsewhere", decode, 1);
    benchsupport::AddRatio(ratios, reporter, "turn of a 131x131 frame by 90 degrees / decode of the file",
                           "TurnFrame/angle:90/smooth:0", decode, 1);
    benchsupport::AddRatio(ratios, reporter, "select and unselect (halo drawn) / decode of the file",
                           "SelectAndUnselect", decode, 8);
    return benchsupport::Finish(ratios, reporter, log);
}
