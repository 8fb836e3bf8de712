// The bundled games are what a new user sees first: each must load without a single message, with
// every card in one place. They are loaded from a copy of games/ laid out as beside the program.
#include "ReaderTestSupport.h"

#include "state/GameMgmt.h"
#include "state/OptionMgmt.h"
#include "state/PlayerMgmt.h"
#include "state/TableState.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using testing::IsEmpty;

namespace {

std::vector<std::string> BundledGames() {
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(KARVEL_GAMES, error), end; !error && it != end; it.increment(error))
        if (it->path().extension() == ".game") names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class BundledSampleGamesTest : public testing::Test {
  protected:
    void SetUp() override { readertest::ResetReaderState(); }
    void TearDown() override { readertest::ResetReaderState(); }
};

TEST_F(BundledSampleGamesTest, EachBundledGameLoadsWithoutAMessage) {
    const std::vector<std::string> games = BundledGames();
    ASSERT_GE(games.size(), 2u) << "the two bundled games are missing from " << KARVEL_GAMES;
    testsupport::TempProgramFolder folder;
    folder.CopyIn(KARVEL_GAMES, "");
    for (const std::string& game : games) {
        SCOPED_TRACE(game);
        readertest::ResetReaderState();
        testsupport::MessageRecorder messages;
        const std::string path = folder.Path() + "\\" + game;
        CurrentGameFile = path;
        InitGameOptions();
        LoadPlayerNames(path);
        ASSERT_TRUE(LoadGameDefinition(path));
        ShowGameCopyright();
        EXPECT_THAT(messages.Messages(), IsEmpty());
        EXPECT_GT(Game.totalCards, 0);
        EXPECT_GT(Game.deckCount, 0);
        EXPECT_THAT(readertest::CardPlaceFaults(), IsEmpty());
    }
}

} // namespace
