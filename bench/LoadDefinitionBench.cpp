// Loading a definition at the tables' limits (500 cards in 12 decks for 7 players) cold, as a game
// is first opened: nothing parsed and no folder listed before. Loading reads thousands of keys and
// checks every card's image name, which takes one listing of the image folder; the baseline does
// the least any loader must: read the file (with the program's own reader), cut it into lines and
// list the image folder once. Listing 504 entries costs the kernel about three times the plain read
// of the file, which is why it belongs to both sides. The load must stay within 5 times that.
#include "BenchSupport.h"

#include "platform/Files.h"
#include "platform/Ini.h"
#include "state/GameMgmt.h"
#include "state/OptionMgmt.h"
#include "state/PlayerMgmt.h"
#include "state/TableState.h"

#include <benchmark/benchmark.h>

#include <dirent.h>

#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kCommonDecks = 5;
constexpr int kPlayers = 7;
constexpr double kLimit = 5.0;

std::string g_file; // model path given to the reader
fs::path g_art;     // the game's image folder

std::string DeckDirectives() {
    return "name=Deck\r\nviewDiscard=TRUE\r\nresize=FALSE\r\nzoom=100\r\nsplit=FALSE\r\ndraw_facedown="
           "FALSE\r\n"
           "played_cards_can_be_taken=ALWAYS\r\nrestricted_actions=\r\nlocked=FALSE\r\nopenDrawDeck=FALSE\r\n"
           "deal=2\r\ncardTooltipFormat=%ID\r\nrotate=0,90\r\ntransparentColor=255,0,255\r\n"
           "noReshuffle=FALSE\r\nimg_back=back.gif\r\nimg_discard=discard.gif\r\n";
}

// Writes the game, its images and an empty globals.dat into the program folder.
void MakeGame(const benchsupport::TempFolder& folder) {
    std::ostringstream game;
    game << "[GAME]\r\nplayers=" << kPlayers << "\r\ncommon_decks=" << kCommonDecks
         << "\r\ndirectory=art\r\nhandSize=8\r\nexternal_hand=FALSE\r\n\r\n";
    int card = 0;
    auto cardLines = [&](int count) {
        for (int i = 1; i <= count; ++i) {
            const std::string image = "card" + std::to_string(++card) + ".gif";
            folder.Write("art/" + image, "GIF89a");
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
    folder.Write("art/back.gif", "GIF89a");
    folder.Write("art/discard.gif", "GIF89a");
    folder.Write("globals.dat", "[GLOBAL MARKERS]\r\nmarkers=0\r\n");
    folder.Write("limits.game", game.str());
    g_file = folder.Path().string() + "\\limits.game";
    g_art = folder.Path() / "art";
}

// Everything a first opening of the game finds unknown: no file parsed, no folder listed. The
// image folder is listed again when its time changes, as when a file is added to it.
void ForgetEverythingRead() {
    platform::IniClearCache();
    static auto stamp = fs::file_time_type::clock::now();
    stamp += std::chrono::seconds(1);
    fs::last_write_time(g_art, stamp);
}

void LoadDefinitionCold(benchmark::State& state) {
    // The game list reads the options and the seat names before the seat login, long before the
    // definition itself is read.
    CurrentGameFile = g_file;
    InitGameOptions();
    LoadPlayerNames(g_file);
    for (auto _ : state) {
        ForgetEverythingRead();
        const bool loaded = LoadGameDefinition(g_file);
        benchmark::DoNotOptimize(loaded);
        if (!loaded || Game.totalCards != 500 || Game.deckCount != 12)
            state.SkipWithError("definition not loaded whole");
    }
}
BENCHMARK(LoadDefinitionCold)->Unit(benchmark::kMicrosecond);

// The file read with the program's own reader and cut into lines.
std::vector<std::string> ReadAndSplit() {
    const std::string bytes = platform::ReadFileBytes(g_file).value_or("");
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t nl; (nl = bytes.find('\n', start)) != std::string::npos; start = nl + 1)
        lines.emplace_back(bytes, start, nl - start);
    if (start < bytes.size()) lines.emplace_back(bytes, start);
    return lines;
}

// The listing alone, as the C library gives it: the names of the image folder's entries.
std::vector<std::string> ListImageFolder() {
    std::vector<std::string> names;
    if (DIR* dir = opendir(g_art.c_str())) {
        while (const dirent* entry = readdir(dir))
            names.emplace_back(entry->d_name);
        closedir(dir);
    }
    return names;
}

// Shown beside the others for scale: the read alone.
void ReadAndSplitLines(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadAndSplit());
}
BENCHMARK(ReadAndSplitLines)->Unit(benchmark::kMicrosecond);

void ReadSplitAndList(benchmark::State& state) {
    for (auto _ : state) {
        ForgetEverythingRead();
        benchmark::DoNotOptimize(ReadAndSplit());
        benchmark::DoNotOptimize(ListImageFolder());
    }
}
BENCHMARK(ReadSplitAndList)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    benchsupport::MessageLog log;
    benchsupport::TempFolder folder;
    MakeGame(folder);
    benchsupport::Initialize(argc, argv, 9);
    benchsupport::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    std::vector<benchsupport::Ratio> ratios;
    benchsupport::AddRatio(ratios, reporter,
                           "cold load of a 500-card definition / read and split of its file and "
                           "listing of its image folder",
                           "LoadDefinitionCold", "ReadSplitAndList", kLimit);
    return benchsupport::Finish(ratios, reporter, log);
}
