// Showing a new card balloon (make it, measure, draw and show it, then let it go) against what it
// cannot do without: measuring its text, filling a picture and drawing the text into it. Limit:
// 1.4, the balloon laying its text out once and looking each of its fonts up once.
#include "BenchSupport.h"
#include "controls/CInfoTip.h"
#include "platform/Picture.h"
#include "platform/Seams.h"
#include "platform/TextBox.h"

#include <string>
#include <vector>

namespace {

const std::string kText = "Knight of cups\r\nMove 2, attack 3\r\nMay be played face down";
const std::string kTitle = "Knight";
const platform::FontSpec kFont{"Arial", 11, false};

void MeasureFillAndDrawText(benchmark::State& state) {
    for (auto _ : state) {
        const platform::TextSize size = platform::MeasureTextBox(kFont, kText, 0, {0, false, true});
        platform::Picture picture(size.width + 10, size.height + 5);
        picture.Fill(platform::MakeColour(255, 255, 225));
        platform::DrawTextBox(picture, 5, 2, size.width + 5, size.height + 2, kText, kFont, 0,
                              {0, false, true});
        benchmark::DoNotOptimize(picture.Row(0));
    }
}
BENCHMARK(MeasureFillAndDrawText);

// As the table window shows a card's balloon: a new instance each time, with title and shadow.
void ShowNewBalloon(benchmark::State& state) {
    int shown = 0;
    for (auto _ : state) {
        auto tip = controls::CInfoTip::New();
        tip->UseTimeOut(false);
        tip->ShowTitle(true);
        tip->title(kTitle);
        tip->text(kText);
        tip->DropShadow(true);
        tip->ShowAt({200, 200}, {1024, 768});
        benchmark::DoNotOptimize(tip->Drawing().Row(0));
        tip.reset();
        // The window system's events run after every few balloons, as the table's timer ticks
        // run between them, untimed: left queued they pile up and made the repetitions swing by
        // half. Stopping the clock costs a microsecond, so it is not stopped after each one.
        if (++shown % 32 == 0) {
            state.PauseTiming();
            platform::PumpEvents();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(ShowNewBalloon);

} // namespace

int main(int argc, char** argv) {
    benchsupport::OffscreenTable table(argc, argv, 100, 100);
    benchsupport::MessageLog log;
    benchsupport::TempFolder folder;
    // 21 repetitions: with five, the median swung by a tenth on a busy machine, and with nine it
    // came within a thirtieth of its limit while two other programs kept two cores busy.
    benchsupport::Initialize(argc, argv, 21);
    benchsupport::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::vector<benchsupport::Ratio> ratios;
    benchsupport::AddRatio(ratios, reporter, "new balloon / measure, fill and draw its text",
                           "ShowNewBalloon", "MeasureFillAndDrawText", 1.4);
    return benchsupport::Finish(ratios, reporter, log);
}
