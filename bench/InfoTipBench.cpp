// Showing a new card balloon (make it, measure, draw and show it, then let it go) against what it
// cannot do without: measuring its text, filling a picture and drawing the text into it.
#include "controls/CInfoTip.h"
#include "platform/Application.h"
#include "platform/Files.h"
#include "platform/Picture.h"
#include "platform/Seams.h"
#include "platform/TextBox.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
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
    for (auto _ : state) {
        auto tip = controls::CInfoTip::New();
        tip->UseTimeOut(false);
        tip->ShowTitle(true);
        tip->title(kTitle);
        tip->text(kText);
        tip->DropShadow(true);
        tip->ShowAt({200, 200}, {1024, 768});
        benchmark::DoNotOptimize(tip->Drawing().Row(0));
    }
}
BENCHMARK(ShowNewBalloon);

// Keeps the median of repeated runs (or the run itself without repetitions) by benchmark.
class Recorder : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const std::string name = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate) {
                if (run.aggregate_name == "median") medians[name] = run.GetAdjustedRealTime();
            } else if (!medians.count(name) || singles.count(name)) {
                singles[name] = run.GetAdjustedRealTime();
                medians[name] = run.GetAdjustedRealTime();
            }
        }
    }
    std::map<std::string, double> medians;
    std::map<std::string, double> singles;
};

bool CheckRatio(const std::string& label, double value, double limit) {
    std::printf("ratio: %s = %.2f (limit %.2f)\n", label.c_str(), value, limit);
    return value <= limit;
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::Application app(argc, argv, "Karvel");
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("karvel-infotip-bench-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    platform::SetProgramFolder(folder.string());
    std::vector<std::string> messages;
    platform::SetMessageHandler([&messages](const std::string& text) { messages.push_back(text); });

    benchmark::Initialize(&argc, argv);
    Recorder recorder;
    benchmark::RunSpecifiedBenchmarks(&recorder);
    benchmark::Shutdown();

    bool ok = true;
    if (recorder.medians.count("ShowNewBalloon") && recorder.medians.count("MeasureFillAndDrawText"))
        ok = CheckRatio("new balloon / measure, fill and draw its text",
                        recorder.medians["ShowNewBalloon"] / recorder.medians["MeasureFillAndDrawText"], 2.0);
    std::filesystem::remove_all(folder);
    return ok ? 0 : 1;
}
