// Saved games: saving a full game costs at most three times writing the same bytes atomically.
// Reading a save's header takes the whole record through the strict decoder (a save that does not
// decode whole is an old one), so it is compared with reading the file and decoding its bytes once:
// at most twice that; listing 200 saves with their games' descriptions at most twice reading and
// decoding the 200 files. The bare reads are shown for scale: the reader copies a file about as
// fast as memory does, so against them a ratio would time the decoder alone.
#include "BenchSupport.h"
#include "platform/Files.h"
#include "platform/Ini.h"
#include "services/DiceRoller.h"
#include "state/LogStore.h"
#include "state/MarkersMgmt.h"
#include "state/Model.h"
#include "state/SaveRecord.h"
#include "table/SaveGameMgmt.h"

#include <string>
#include <vector>

namespace {

// Fifteen: with nine, the header's ratio moved by a third between runs while two other programs
// kept two cores busy.
constexpr int kRepetitions = 15;
constexpr int kSaves = 200;

// The markers' controls as the table would answer: every marker in use lies somewhere.
class BenchMarkers : public MarkerControls {
  public:
    std::optional<MarkerControlState> NumMarker(int control) override {
        return MarkerControlState{100 + control, 200 + control, "HP: " + std::to_string(control), "-1"};
    }
    std::optional<MarkerControlState> ImageMarker(int record) override {
        return MarkerControlState{300 + record, 400 + record, "", "-1"};
    }
};

// A game at the tables' limits: 12 decks, 500 cards with their texts, 200 stacked objects, 300
// markers of each kind, a full roll log, notes and a full game log.
void FillFullGame(const std::string& gameFile) {
    Model().Reset();
    CurrentGameFile = gameFile;
    Game.deckCount = kMaxDecks;
    Game.totalCards = kMaxCards;
    Game.playerCount = kMaxPlayers;
    Game.directory = "cards";
    for (int d = 0; d < kMaxDecks; ++d) {
        Game.decks[d].section = "COMMON " + std::to_string(d + 1);
        Game.decks[d].name = "Deck " + std::to_string(d + 1);
        Game.decks[d].firstCard = static_cast<std::int16_t>(1 + d * 41);
        Game.deckSizes[d] = 41;
        Game.backImages[d] = platform::ProgramFolder() + "\\cards\\back" + std::to_string(d) + ".gif";
    }
    for (int c = 1; c <= kMaxCards; ++c) {
        CardRecord& card = Cards[c];
        card.key = "Card number " + std::to_string(c);
        card.image = "card" + std::to_string(c) + ".gif";
        card.properties = "power=" + std::to_string(c % 9) + "|cost=" + std::to_string(c % 5);
        card.deck = static_cast<std::int16_t>(std::min((c - 1) / 41, kMaxDecks - 1));
    }
    for (int z = 1; z <= kMaxZOrder; ++z)
        Game.ZOrderList[z] = {kZCard, static_cast<std::int16_t>(z)};
    Game.zOrderCount = kMaxZOrder;
    for (int m = 0; m < kMaxMarkers; ++m)
        NumMarkerInUse[m] = kTrue;
    NextNumMarker = kMaxMarkers + 1;
    for (int n = 1; n <= kMaxMarkers; ++n)
        GraphMarkers[n] = {0, 0, "", -1, "", 0, kFalse, kTrue, 1, 1, 0, 0};
    GraphMarkerCount = kMaxMarkers;
    for (int k = 1; k <= kDiceLogSize; ++k)
        DiceLog[k] = {static_cast<std::int16_t>(k), 1, "rolled " + std::to_string(k)};
    NotesText = std::string(2000, 'n');
    InitLog();
    for (int n = 1; n <= LogCapacity(); ++n)
        StoreLogItem("Card Drawn: card number " + std::to_string(n));
}

std::string SaveBytesOfTheGame() {
    const auto record = NewSaveRecord();
    FillSaveRecord(*record);
    std::string bytes;
    std::string error;
    EncodeSaveRecord(*record, bytes, error);
    return bytes;
}

void BM_SaveGameOfAFullGame(benchmark::State& state) {
    for (auto _ : state)
        if (!SaveGame("full.save")) state.SkipWithError("the game was not saved");
}

void BM_WriteTheSameBytesAtomically(benchmark::State& state) {
    const std::string bytes = SaveBytesOfTheGame();
    for (auto _ : state)
        if (!platform::WriteFileAtomic(SaveFilePath("plain.save"), bytes)) state.SkipWithError("not written");
}

void BM_ReadSaveHeader(benchmark::State& state) {
    for (auto _ : state)
        if (ReadSaveHeader("full").empty()) state.SkipWithError("the save did not read");
}

void BM_ReadTheFile(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(platform::ReadFileBytes(SaveFilePath("full.save")));
}

// The file read and decoded into a record made once, as the listing does.
void BM_ReadAndDecodeTheFile(benchmark::State& state) {
    const auto record = NewSaveRecord();
    std::string error;
    for (auto _ : state)
        if (ReadSaveFile("full.save", *record, error) != SaveReadResult::ok)
            state.SkipWithError("the save did not decode");
}

void BM_ListTwoHundredSaves(benchmark::State& state) {
    for (auto _ : state)
        if (ListSavedGames().size() != kSaves + 2) state.SkipWithError("the saves were not all listed");
}

void BM_ReadTwoHundredSaves(benchmark::State& state) {
    const std::vector<std::string> files = platform::ListFiles(SaveFolder(), "*.save");
    for (auto _ : state)
        for (const std::string& file : files)
            benchmark::DoNotOptimize(platform::ReadFileBytes(SaveFilePath(file)));
}

void BM_ReadAndDecodeTwoHundredSaves(benchmark::State& state) {
    const std::vector<std::string> files = platform::ListFiles(SaveFolder(), "*.save");
    const auto record = NewSaveRecord();
    std::string error;
    for (auto _ : state)
        for (const std::string& file : files)
            if (ReadSaveFile(file, *record, error) != SaveReadResult::ok)
                state.SkipWithError("a save did not decode");
}

} // namespace

BENCHMARK(BM_SaveGameOfAFullGame)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteTheSameBytesAtomically)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadSaveHeader)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadTheFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadAndDecodeTheFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ListTwoHundredSaves)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadTwoHundredSaves)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndDecodeTwoHundredSaves)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchsupport::MessageLog log;
    benchsupport::TempFolder folder;
    folder.Write("full.game", "[GAME]\r\nname=Full table\r\ndescription=Every table at its limit\r\n[LOG]\r\n"
                              "max_log_items=500\r\n");
    BenchMarkers markers;
    SetMarkerControls(&markers);
    FillFullGame(platform::ProgramFolder() + "\\full.game");
    const std::string bytes = SaveBytesOfTheGame();
    for (int k = 1; k <= kSaves; ++k)
        folder.Write("save/game" + std::to_string(k) + ".save", bytes);
    folder.Write("save/full.save", bytes);
    folder.Write("save/plain.save", bytes);

    benchsupport::Initialize(argc, argv, kRepetitions);
    benchsupport::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    SetMarkerControls(nullptr);
    std::vector<benchsupport::Ratio> ratios;
    benchsupport::AddRatio(ratios, reporter, "SaveGame of a full game / writing its bytes atomically",
                           "BM_SaveGameOfAFullGame", "BM_WriteTheSameBytesAtomically", 3.0);
    benchsupport::AddRatio(ratios, reporter, "ReadSaveHeader / reading and decoding the file",
                           "BM_ReadSaveHeader", "BM_ReadAndDecodeTheFile", 2.0);
    benchsupport::AddRatio(ratios, reporter, "listing 200 saves / reading and decoding them",
                           "BM_ListTwoHundredSaves", "BM_ReadAndDecodeTwoHundredSaves", 2.0);
    return benchsupport::Finish(ratios, reporter, log);
}
