// Player seats: names, the players' own decks and cards, deck variants, and the seat areas.
#include "ReaderTestSupport.h"
#include "RecordingView.h"

#include "state/GameMgmt.h"
#include "state/OptionMgmt.h"
#include "state/PlayerMgmt.h"
#include "state/TableState.h"

#include <gmock/gmock.h>

#include <gtest/gtest.h>

using readertest::DefinitionFolder;
using testing::ElementsAre;
using testing::IsEmpty;
using testsupport::MessageRecorder;

namespace {

class PlayerMgmtTest : public testing::Test {
  protected:
    void SetUp() override { readertest::ResetReaderState(); }
    void TearDown() override { readertest::ResetReaderState(); }

    DefinitionFolder definition;
    MessageRecorder messages;
};

TEST_F(PlayerMgmtTest, NamesComeFromThePlayerSectionsAndSeatEightIsTheArbitrator) {
    Game.players[2].seatId = "secret";
    Game.players[8].name = "someone";
    Game.playerCount = 3;
    LoadPlayerNames(definition.Write("p.game", "[PLAYER 1]\nname=Ann\n[PLAYER 3]\nname=Cid\n", false));
    EXPECT_EQ(Game.players[1].name, "Ann");
    EXPECT_EQ(Game.players[2].name, "");
    EXPECT_EQ(Game.players[2].seatId, kNoSeatId);
    EXPECT_EQ(Game.players[3].name, "Cid");
    EXPECT_EQ(Game.players[8].name, "Arbitrator");
}

TEST_F(PlayerMgmtTest, PlayerDecksFollowTheCommonDecks) {
    std::string text = "[GAME]\nplayers=2\ncommon_decks=3\ndirectory=cards\n";
    for (int n = 1; n <= 3; ++n)
        text += "[COMMON " + std::to_string(n) + "]\nsplit=FALSE\ndeckSize=1\ncard1=c.bmp,,,C,\n";
    for (int p = 1; p <= 2; ++p) {
        text += "[PLAYER " + std::to_string(p) + "]\nname=P" + std::to_string(p) + "\ndecks=2\n";
        for (int k = 1; k <= 2; ++k)
            text += "[DECK " + std::to_string(k) + " PLAYER " + std::to_string(p) +
                    "]\ndecksize=1\nsplit=TRUE\nimg_back=pb.bmp\nimg_discard=pd.bmp\ncard1=(x3)own.bmp,peek,"
                    "v=2,K" +
                    std::to_string(p) + std::to_string(k) + ",\n";
    }
    text += "[EFFECTS]\nnum_effects=1\neffect1=peek\n";
    ASSERT_TRUE(definition.LoadText(text));
    EXPECT_THAT(messages.Messages(), IsEmpty());
    ASSERT_EQ(Game.deckCount, 7);
    EXPECT_EQ(Game.players[1].deckCount, 2);
    EXPECT_EQ(Game.players[1].decks[0], 3);
    EXPECT_EQ(Game.players[1].decks[1], 4);
    EXPECT_EQ(Game.players[2].decks[0], 5);
    EXPECT_EQ(Game.players[2].decks[1], 6);
    EXPECT_EQ(Game.decks[5].section, "DECK 1 PLAYER 2");
    EXPECT_EQ(Game.decks[5].owner, 2);
    EXPECT_EQ(Game.decks[5].split, kFalse); // a player's deck is never dealt out among the players
    EXPECT_EQ(Game.backImages[5], definition.Folder().Path() + "\\cards\\pb.bmp");
    // (x3) makes three identical cards: the deck grows by 2 beyond its decksize.
    EXPECT_EQ(Game.deckSizes[5], 3);
    EXPECT_EQ(Game.decks[5].firstCard, 10);
    for (int card = 10; card <= 12; ++card) {
        EXPECT_EQ(Cards[card].key, "K21");
        EXPECT_EQ(Cards[card].image, "own.bmp");
        EXPECT_EQ(Cards[card].owner, 2);
        EXPECT_EQ(Cards[card].deck, 5);
        EXPECT_EQ(Cards[card].properties, "v=2");
        EXPECT_EQ(Cards[card].effects[0], kTrue);
    }
    EXPECT_EQ(Game.totalCards, 15);
    EXPECT_TRUE(readertest::CardPlaceFaults().empty());
}

TEST_F(PlayerMgmtTest, DeckVariantChosenByTheSelectedOption) {
    const std::string path = definition.Write(
        "v.game", "[GAME]\nplayers=1\ndirectory=cards\n[OPTIONS]\nnum_options=2\noption1=ELVES,Elves,1,\n"
                  "option2=DWARVES,Dwarves,1,TRUE\n[PLAYER 1]\ndecks=1\n[DECK 1 PLAYER 1]\nnum_variants=2\n"
                  "var1=7,ELVES\nvar2=8,DWARVES\n[DECK 8]\ndecksize=1\ncard1=axe.bmp,,,AXE,\n");
    ASSERT_TRUE(definition.Load(path));
    EXPECT_EQ(Game.decks[0].section, "DECK 8");
    EXPECT_EQ(Cards[1].key, "AXE");
    EXPECT_THAT(messages.Messages(), IsEmpty());

    CurrentGameFile = path;
    InitGameOptions();
    GameOptionTable.selectedOption[1] = 0; // no option: no variant matches
    ASSERT_TRUE(LoadGameDefinition(path));
    EXPECT_EQ(Game.deckCount, 1);
    EXPECT_EQ(Game.totalCards, 0);
    EXPECT_THAT(messages.Messages(),
                ElementsAre("No variant of [DECK 1 PLAYER 1] matches the option of player 1"));
}

struct AreaCase {
    const char* rect;
    bool show;
    PlayerAreaShape expected;
};

class PlayerAreaTest : public PlayerMgmtTest, public testing::WithParamInterface<AreaCase> {};

TEST_P(PlayerAreaTest, ShapeTakesTheRectangleFields) {
    const AreaCase& c = GetParam();
    RecordingView view;
    PlayerAreas[2].outlineColour = 77;
    SetPlayerAreaShape(2, c.rect, ToFlag(c.show));
    const PlayerAreaShape& s = PlayerAreas[2];
    EXPECT_EQ(s.top, c.expected.top);
    EXPECT_EQ(s.left, c.expected.left);
    EXPECT_EQ(s.height, c.expected.height);
    EXPECT_EQ(s.width, c.expected.width);
    EXPECT_EQ(s.visible, c.expected.visible);
    EXPECT_EQ(s.outlineColour, c.expected.outlineColour);
    EXPECT_THAT(view.areasChanged, ElementsAre(2));
}

INSTANTIATE_TEST_SUITE_P(Rectangles, PlayerAreaTest,
                         testing::Values(AreaCase{"100,200", false, {100, 200, 0, 0, false, 77}},
                                         AreaCase{"1,2,3,4", true, {1, 2, 3, 4, true, 0x00C000}},
                                         AreaCase{"", false, {0, 0, 0, 0, false, 77}}));

TEST_F(PlayerMgmtTest, ShowPlayerAreaOutlinesInTheSeatColour) {
    ShowPlayerArea(2, kTrue);
    EXPECT_EQ(PlayerAreas[2].outlineColour, 0x00C000); // seat 3: 0, 192, 0
    EXPECT_TRUE(PlayerAreas[2].visible);
    ShowPlayerArea(0, kFalse);
    EXPECT_EQ(PlayerAreas[0].outlineColour, 0x0000FF);
    EXPECT_FALSE(PlayerAreas[0].visible);
    EXPECT_EQ(SeatColour(7), 0x004040);
    EXPECT_EQ(SeatColour(2), 0xFF0000);
}

} // namespace
