// What a full table costs in memory: 500 card controls of 200 x 280 pixels, drawn from 52 image
// files, on a table window painted on the offscreen platform. The process's resident memory is
// read before the cards are made and after each stage of play (every card turned and back, a
// third of them left turned and a tenth left selected, then every card selected); the growth and
// the peak must stay within 40 MB, and within 60 MB with every card selected. The same table at
// the largest deck zoom must stay within 250 MB. A table of 500 distinct faces must stay within
// 1.4 times their decoded pixels. Afterwards the time to lay out such a table is benchmarked.
#include "BenchSupport.h"

#include "../tests/controls/TestImages.h"

#include "controls/TranspImg.h"
#include "platform/Picture.h"
#include "platform/Seams.h"
#include "state/TableState.h"
#include "table/TableSetup.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr platform::Colour kMagenta = platform::MakeColour(255, 0, 255);
constexpr int kCards = 500;
// The 52 decoded faces (11.6 MB) and their turned looks at their own size (11.6 MB): an unturned
// card shows the decoded face itself and a selected one paints its halo round it.
constexpr double kLimitMb = 40;
constexpr double kAllSelectedLimitMb = 60;
// The zoomed looks of these cards: at most one of 512 x 512 pixels (1 MB) per face and turn, shared
// by the cards that show it, beside a tenth of the cards drawing their halo on a copy of their own.
constexpr double kZoomedLimitMb = 250;

std::vector<std::string> g_files;
std::vector<std::string> g_distinct;
// What 500 distinct faces of 200 x 280 hold as decoded pixels, in MB.
constexpr double kDistinctDecodedMb = kCards * 200.0 * 280.0 * 4 / (1024 * 1024);
constexpr double kDistinctLimit = 1.4;

// Resident and peak resident memory of the process, in MB, as the kernel counts them.
struct Memory {
    double resident = 0;
    double peak = 0;
};

Memory ReadMemory() {
    Memory m;
    std::ifstream status("/proc/self/status");
    std::string key;
    double kb = 0;
    while (status >> key) {
        if (key == "VmRSS:" && status >> kb) m.resident = kb / 1024;
        if (key == "VmHWM:" && status >> kb) m.peak = kb / 1024;
    }
    return m;
}

// 52 card faces of 200 x 280: the bundled cards, enlarged, written as BMP files.
void MakeFiles(const benchsupport::TempFolder& folder) {
    for (const std::string& card : benchsupport::CopyBundledCards(folder)) {
        const platform::Picture small = *platform::Picture::Load(card);
        platform::Picture large(200, 280, kMagenta);
        large.Stretch(0, 0, 200, 280, small, 0, 0, small.Width(), small.Height(),
                      platform::StretchMode::ColourOnColour);
        const std::string name = "large/" + card.substr(card.find('\\') + 1, card.size()) + ".bmp";
        folder.Write(name, testimages::BmpOf(large));
        g_files.push_back(name);
    }
    // 500 faces alike in size, each its own picture: a bundled face with a mark of its own.
    for (int i = 0; i < kCards; ++i) {
        const platform::Picture face =
            *platform::Picture::Load(g_files[static_cast<std::size_t>(i) % g_files.size()]);
        platform::Picture own = face;
        own.FillRect(10 + (i % 25) * 7, 10 + (i / 25) * 12, 6, 10, platform::MakeColour(i % 256, 40, 200));
        const std::string name = folder.Path().string() + "/distinct/" + std::to_string(i) + ".png";
        std::filesystem::create_directories(folder.Path() / "distinct");
        own.SaveAsPng(name);
        g_distinct.push_back("distinct/" + std::to_string(i) + ".png");
    }
}

benchsupport::OffscreenTable* g_table = nullptr;

platform::ControlSurface& Table() {
    return g_table->Surface();
}

// Lays the cards on the table as the table window does with each new card.
std::vector<std::unique_ptr<controls::TranspImg>> LayCards(const std::vector<std::string>& files = g_files) {
    std::vector<std::unique_ptr<controls::TranspImg>> cards;
    for (int i = 0; i < kCards; ++i) {
        auto card = std::make_unique<controls::TranspImg>(Table().Handle());
        card->reset();
        card->MaskColor(kMagenta);
        card->loadNewPicture(files[static_cast<std::size_t>(i) % files.size()]);
        card->Surface().Move((i % 25) * 60 * 15.0, (i / 25) * 45 * 15.0);
        cards.push_back(std::move(card));
    }
    return cards;
}

// The growth of resident memory at the end and at its peak, over what the process held before.
struct Growth {
    double end = 0;
    double peak = 0;
    double allSelected = 0;
};

Growth MeasureTable() {
    platform::PumpEvents();
    const Memory before = ReadMemory();
    auto cards = LayCards();
    platform::PumpEvents();
    for (auto& card : cards)
        card->rotation(90);
    platform::PumpEvents();
    for (std::size_t i = 0; i < cards.size(); ++i) {
        if (i % 3 != 0) cards[i]->rotation(0);
        if (i % 10 == 0) cards[i]->selected(true);
    }
    platform::PumpEvents();
    const Memory after = ReadMemory();
    std::printf(
        "memory: %.1f MB before the cards, %.1f MB with %d cards laid, turned and selected, peak %.1f MB\n",
        before.resident, after.resident, kCards, after.peak);
    for (auto& card : cards)
        if (!card->selected()) card->selected(true);
    platform::PumpEvents();
    const Memory all = ReadMemory();
    std::printf("memory: %.1f MB with every card selected\n", all.resident);
    return Growth{after.resident - before.resident, after.peak - before.resident,
                  all.resident - before.resident};
}

// 500 cards each showing a face of its own: what they hold beyond their decoded pixels.
double MeasureDistinctFaces() {
    platform::PumpEvents();
    const Memory before = ReadMemory();
    auto cards = LayCards(g_distinct);
    platform::PumpEvents();
    const Memory after = ReadMemory();
    std::printf("memory: %.1f MB before 500 distinct faces, %.1f MB with them (%.1f MB of decoded pixels)\n",
                before.resident, after.resident, kDistinctDecodedMb);
    return (after.resident - before.resident) / kDistinctDecodedMb;
}

// The same table with the zoom a deck asks for in a hostile definition or saved game (32767
// percent), as the table gives it to each face: kept within the deck zoom's range and the largest
// zoomed look; the cards showing one face share one look. Turned and selected as above.
Growth MeasureZoomedTable() {
    platform::PumpEvents();
    const Memory before = ReadMemory();
    auto cards = LayCards();
    const float deckZoom = DeckZoom(32767);
    for (auto& card : cards)
        card->zoom(CardZoom(*card, deckZoom));
    platform::PumpEvents();
    for (std::size_t i = 0; i < cards.size(); ++i) {
        if (i % 3 == 0) cards[i]->rotation(90);
        if (i % 10 == 0) cards[i]->selected(true);
    }
    platform::PumpEvents();
    const Memory after = ReadMemory();
    std::printf("memory: %.1f MB before the zoomed cards, %.1f MB with them, peak %.1f MB\n", before.resident,
                after.resident, after.peak);
    return Growth{after.resident - before.resident, after.peak - before.resident};
}

void LayTableOf500Cards(benchmark::State& state) {
    for (auto _ : state) {
        auto cards = LayCards();
        benchmark::DoNotOptimize(cards.data());
    }
}
BENCHMARK(LayTableOf500Cards)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchsupport::OffscreenTable table(argc, argv, 1600, 1000);
    g_table = &table;
    benchsupport::MessageLog log;
    benchsupport::TempFolder folder;
    table.Surface().SetVisible(true);
    MakeFiles(folder);
    // Measured first, before the benchmark's own runs leave their traces in the process.
    const Growth growth = MeasureTable();
    const Growth zoomed = MeasureZoomedTable();
    const double distinct = MeasureDistinctFaces();
    benchsupport::Initialize(argc, argv, 3);
    benchsupport::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const std::vector<benchsupport::Ratio> ratios = {
        {"memory growth in MB of 500 cards of 200x280 from 52 files, turned and selected", growth.end,
         kLimitMb},
        {"peak memory growth in MB while laying, turning and selecting them", growth.peak, kLimitMb},
        {"memory growth in MB of the same table with every card selected", growth.allSelected,
         kAllSelectedLimitMb},
        {"memory growth in MB of the same cards at a deck zoom of 32767, turned and selected", zoomed.end,
         kZoomedLimitMb},
        {"memory of 500 cards with 500 distinct faces of 200x280 / their decoded pixels", distinct,
         kDistinctLimit},
    };
    return benchsupport::Finish(ratios, reporter, log);
}
