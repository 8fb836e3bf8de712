// Filling the marker picker's side bar with 300 items (six groups of 50 card pictures with their
// captions, half of them with a key colour) against what it cannot do without: loading the same
// pictures and drawing them with their captions into pictures already at their full size.
#include "BenchSupport.h"
#include "controls/zBar.h"
#include "platform/Fonts.h"
#include "platform/Picture.h"

#include <string>
#include <vector>

namespace {

constexpr int kGroups = 6;
constexpr int kPerGroup = 50;
constexpr int kBarWidth = 160;
constexpr platform::Colour kGrey = platform::MakeColour(128, 128, 128);
constexpr platform::Colour kKey = platform::MakeColour(255, 255, 255);

std::vector<std::string> g_files;

std::string FileOf(int item) {
    return g_files[static_cast<std::size_t>(item) % g_files.size()];
}

void FillPicker(benchmark::State& state) {
    for (auto _ : state) {
        controls::zBar bar;
        bar.Surface().SetSizePixels(kBarWidth, 600);
        for (int g = 0; g < kGroups; ++g) {
            bar.AddGroup("Group " + std::to_string(g + 1));
            for (int k = 0; k < kPerGroup; ++k) {
                const int item = g * kPerGroup + k;
                bar.AddImage(static_cast<std::int16_t>(item + 1), FileOf(item),
                             "Marker " + std::to_string(item), item % 2 == 0, kKey);
            }
        }
        bar.SelectGroup(1);
        benchmark::DoNotOptimize(bar.GroupPicture(1).Drawing().Row(0));
    }
}
BENCHMARK(FillPicker);

void DrawIntoFullSizePictures(benchmark::State& state) {
    const platform::FontSpec font = platform::SpecOf(platform::Font{"Arial", 8.25, false});
    for (auto _ : state) {
        std::vector<platform::Picture> groups;
        for (int g = 0; g < kGroups; ++g) {
            int height = 4;
            for (int k = 0; k < kPerGroup; ++k)
                height += platform::Picture::LoadShared(FileOf(g * kPerGroup + k))->Height() + 4 + 13 + 5;
            platform::Picture picture(kBarWidth - 6, height, kGrey);
            int y = 4;
            for (int k = 0; k < kPerGroup; ++k) {
                const int item = g * kPerGroup + k;
                const platform::Picture face = *platform::Picture::LoadShared(FileOf(item));
                const int x = (picture.Width() - face.Width()) / 2;
                if (item % 2 == 0)
                    picture.CopyColourKey(x, y, face.Width(), face.Height(), face, 0, 0, kKey);
                else
                    picture.Copy(x, y, face.Width(), face.Height(), face, 0, 0);
                const std::string caption = "Marker " + std::to_string(item);
                const platform::TextSize size = platform::MeasureText(font, caption);
                picture.DrawText((picture.Width() - size.width) / 2, y + face.Height() + 4, caption, font,
                                 platform::MakeColour(255, 255, 255));
                y += face.Height() + 4 + size.height + 5;
            }
            groups.push_back(std::move(picture));
        }
        benchmark::DoNotOptimize(groups.front().Row(0));
    }
}
BENCHMARK(DrawIntoFullSizePictures);

} // namespace

int main(int argc, char** argv) {
    benchsupport::OffscreenTable table(argc, argv, 100, 100);
    benchsupport::MessageLog log;
    benchsupport::TempFolder folder;
    for (const std::string& path : benchsupport::CopyBundledCards(folder))
        g_files.push_back(folder.Path().string() + "\\" + path);
    benchsupport::Initialize(argc, argv, 5);
    benchsupport::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::vector<benchsupport::Ratio> ratios;
    benchsupport::AddRatio(ratios, reporter,
                           "fill the picker with 300 items / draw them into full-size pictures", "FillPicker",
                           "DrawIntoFullSizePictures", 2.0);
    return benchsupport::Finish(ratios, reporter, log);
}
