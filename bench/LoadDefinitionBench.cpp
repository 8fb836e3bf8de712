// Loading a definition at the tables' limits (500 cards in 12 decks for 7 players) against merely
// reading the same file (with the program's own file reader) and cutting it into lines. Loading reads
// thousands of keys; with the parsed file cached it must stay within 20 times the plain read.
#include "platform/Files.h"
#include "platform/Ini.h"
#include "platform/Seams.h"
#include "services/OptionMgmt.h"
#include "state/GameMgmt.h"
#include "state/PlayerMgmt.h"
#include "state/TableState.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kCommonDecks = 5;
constexpr int kPlayers = 7;
constexpr double kLimit = 20.0;

fs::path g_folder;
std::string g_file; // model path given to the reader
int g_messages = 0;

void WriteFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string DeckDirectives() {
    return "name=Deck\r\nviewDiscard=TRUE\r\nresize=FALSE\r\nzoom=100\r\nsplit=FALSE\r\ndraw_facedown="
           "FALSE\r\n"
           "played_cards_can_be_taken=ALWAYS\r\nrestricted_actions=\r\nlocked=FALSE\r\nopenDrawDeck=FALSE\r\n"
           "deal=2\r\ncardTooltipFormat=%ID\r\nrotate=0,90\r\ntransparentColor=255,0,255\r\n"
           "noReshuffle=FALSE\r\nimg_back=back.gif\r\nimg_discard=discard.gif\r\n";
}

// Writes the game, its images and an empty globals.dat into a fresh program folder.
void MakeGame() {
    g_folder = fs::temp_directory_path() / ("karvel-bench-" + std::to_string(std::random_device{}()));
    fs::create_directories(g_folder / "art");
    platform::SetProgramFolder(g_folder.string());

    std::ostringstream game;
    game << "[GAME]\r\nplayers=" << kPlayers << "\r\ncommon_decks=" << kCommonDecks
         << "\r\ndirectory=art\r\nhandSize=8\r\nexternal_hand=FALSE\r\n\r\n";
    int card = 0;
    auto cardLines = [&](int count) {
        for (int i = 1; i <= count; ++i) {
            const std::string image = "card" + std::to_string(++card) + ".gif";
            WriteFile(g_folder / "art" / image, "GIF89a");
            game << "card" << i << "=" << image << ",,value=" << card << "|suit=" << card % 4 << ",K" << card
                 << ",\r\n";
        }
    };
    for (int n = 1; n <= kCommonDecks; ++n) {
        game << "[COMMON " << n << "]\r\ndeckSize=60\r\n" << DeckDirectives();
        cardLines(60);
        game << "\r\n";
    }
    for (int p = 1; p <= kPlayers; ++p) {
        game << "[PLAYER " << p << "]\r\nname=Player " << p << "\r\ndecks=1\r\nmarkers=3\r\n";
        for (int m = 1; m <= 3; ++m)
            game << "marker" << m << "=m" << m << ".gif,Marker " << m << ",,90,\r\n";
        const int size = p <= 4 ? 29 : 28; // 4 x 29 + 3 x 28 = 200 beside the 300 common cards
        game << "\r\n[DECK 1 PLAYER " << p << "]\r\ndecksize=" << size << "\r\n" << DeckDirectives();
        cardLines(size);
        game << "\r\n";
    }
    WriteFile(g_folder / "art" / "back.gif", "GIF89a");
    WriteFile(g_folder / "art" / "discard.gif", "GIF89a");
    WriteFile(g_folder / "globals.dat", "[GLOBAL MARKERS]\r\nmarkers=0\r\n");
    WriteFile(g_folder / "limits.game", game.str());
    g_file = g_folder.string() + "\\limits.game";
}

void BM_LoadDefinition(benchmark::State& state) {
    // The game list reads the options and the seat names before the seat login, long before the
    // definition itself is read.
    CurrentGameFile = g_file;
    InitGameOptions();
    LoadPlayerNames(g_file);
    for (auto _ : state) {
        const bool loaded = LoadGameDefinition(g_file);
        benchmark::DoNotOptimize(loaded);
        if (!loaded || Game.totalCards != 500 || Game.deckCount != 12)
            state.SkipWithError("definition not loaded whole");
    }
}

void BM_ReadAndSplitLines(benchmark::State& state) {
    for (auto _ : state) {
        const std::string bytes = platform::ReadFileBytes(g_file).value_or("");
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t nl; (nl = bytes.find('\n', start)) != std::string::npos; start = nl + 1)
            lines.emplace_back(bytes, start, nl - start);
        if (start < bytes.size()) lines.emplace_back(bytes, start);
        benchmark::DoNotOptimize(lines);
    }
}

// Keeps the medians of the repeated runs so that their ratio can be printed after the table.
class MedianReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.aggregate_name == "median")
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;
};

} // namespace

BENCHMARK(BM_LoadDefinition)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);
BENCHMARK(BM_ReadAndSplitLines)->Unit(benchmark::kMicrosecond)->Repetitions(15)->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    platform::SetMessageHandler([](const std::string& text) {
        ++g_messages;
        std::fprintf(stderr, "message: %s\n", text.c_str());
    });
    MakeGame();
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    platform::SetProgramFolder("");
    std::error_code ec;
    fs::remove_all(g_folder, ec);

    const double load = reporter.medians["BM_LoadDefinition"];
    const double read = reporter.medians["BM_ReadAndSplitLines"];
    if (load <= 0 || read <= 0) return 0; // a filter left one of them out
    const double ratio = load / read;
    std::printf("median load %.1f us, median read and split %.1f us, ratio %.1f (limit %.0f)\n", load, read,
                ratio, kLimit);
    if (g_messages > 0) std::printf("the load showed %d messages\n", g_messages);
    return ratio > kLimit || g_messages > 0 ? 1 : 0;
}
