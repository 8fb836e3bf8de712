// The texts of cards, piles and the table window's caption, and the card turn's next angle.
#include "TestSupport.h"

#include "state/CaptionMgmt.h"
#include "state/CardMgmt.h"
#include "state/LayoutMgmt.h"
#include "state/Model.h"
#include "state/PlayerMgmt.h"
#include "state/TableState.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testsupport::TempProgramFolder;

namespace {

class CaptionMgmtTest : public testing::Test {
  protected:
    void SetUp() override {
        Model().Reset();
        ForgetCardInfo();
        Game.playerCount = 2;
        Game.players[1].name = "Ann";
        Game.players[2].name = "Bob";
        Game.CurrentPlayer = 1;
        Game.deckCount = 1;
        Game.external_hand = kTrue; // hands are told by the in-hand flag
        Game.totalCards = 1;
        Cards[1] = NewCardRecord(0);
        Cards[1].key = "ace";
        Cards[1].image = "ace.gif";
        WriteGame("");
    }
    void TearDown() override {
        ForgetCardInfo();
        Model().Reset();
    }

    void WriteGame(const std::string& cardInfo) {
        folder.Write("t.game", "[GAME]\nplayers=2\n" + cardInfo + "[PLAYER 1]\nname=Ann\n");
        CurrentGameFile = folder.Path() + "\\t.game";
        ForgetCardInfo();
    }

    TempProgramFolder folder;
};

TEST_F(CaptionMgmtTest, TheCardTipFillsItsDecksFormatWhenTheCardMayBeSeen) {
    struct Case {
        const char* name;
        std::int16_t owner;
        bool faceShown;
        bool inHand;
        std::string format;
        std::string info; // the [CARD INFO] section's lines
        std::string tip;
    };
    const std::string section = "[CARD INFO]\nACE=Ace of Spades|Highest card\\nof all\n";
    const std::vector<Case> cases = {
        {"another seat's face-down card", 2, false, false, "%ID", section, "[Bob]"},
        {"the same card face up", 2, true, false, "%ID: %INFO", section,
         "Ace of Spades: Highest card\r\nof all"},
        {"a face-up card in another seat's hand", 2, true, true, "%ID", section, "[Bob]"},
        {"an own card in the hand", 1, false, true, "%PL has %ID", section, "Ann has Ace of Spades"},
        {"a common card", 0, true, false, "%PL", section, "COMMON"},
        {"no format", 0, true, false, "", section, "[COMMON]"},
        {"no info line", 1, true, false, "%ID: %INFO", "", "ace: <no info available>"},
        {"an empty information", 1, true, false, "%INFO|", "[CARD INFO]\nace=Ace|\n", ""},
        {"title and text", 1, true, false, "%ID|%INFO|x", section, "Ace of Spades|Highest card\r\nof all|x"},
        {"a later section is not searched", 1, true, false, "%ID", "[CARD INFO]\n[OTHER]\nace=Other|x\n",
         "ace"},
        {"the header's spelling counts", 1, true, false, "%ID", "[card info]\nace=Other|x\n", "ace"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteGame(c.info);
        Cards[1].owner = c.owner;
        Cards[1].faceShown = ToFlag(c.faceShown);
        Cards[1].inHand = ToFlag(c.inHand);
        Game.decks[0].cardTooltipFormat = c.format;
        EXPECT_EQ(CardTooltipText(1), c.tip);
    }
}

TEST_F(CaptionMgmtTest, TheInformationIsReadOncePerGame) {
    WriteGame("[CARD INFO]\nace=First|one\n");
    EXPECT_EQ(ReadCardInfoFile("ACE"), "First|one");
    // The same game file again: the section read before stands.
    folder.Write("t.game", "[CARD INFO]\nace=Second|two\n");
    EXPECT_EQ(ReadCardInfoFile("ace"), "First|one");
    ForgetCardInfo();
    EXPECT_EQ(ReadCardInfoFile("ace"), "Second|two");
    EXPECT_EQ(ReadCardInfoFile(""), "");
}

TEST_F(CaptionMgmtTest, PileTipsCountCardsInTheRightNumber) {
    Game.totalCards = 2;
    Cards[2] = NewCardRecord(0);
    Cards[1].pilePosition = 1;
    Cards[2].pilePosition = 2;
    Game.decks[0].count_cards_in_draw_pile = kTrue;
    EXPECT_EQ(DeckCountTips(0).drawPile, "[COMMON] (2 cards)");
    EXPECT_FALSE(DeckCountTips(0).discardPile.has_value());
    Cards[2].inDiscardPile = kTrue;
    Game.decks[0].count_cards_in_discard_pile = kTrue;
    Game.decks[0].name = "Stock";
    EXPECT_EQ(DeckCountTips(0).drawPile, "Stock (1 card)");
    EXPECT_EQ(DeckCountTips(0).discardPile, " (1 card)");
    Game.decks[0].owner = 2;
    Game.decks[0].name = "";
    Game.decks[0].count_cards_in_draw_pile = kFalse;
    EXPECT_EQ(DeckCountTips(0).drawPile, "[Bob]");
}

TEST_F(CaptionMgmtTest, TheCaptionNamesTheSeatsAndTheAdversarysHand) {
    EXPECT_EQ(TableCaption(), "Karvel Engine - 1.0.0 [Ann]");
    folder.Write("t.game", "[GAME]\nshowAdversaryHandOnCaption=TRUE\n");
    Game.playerCount = 3;
    Game.players[3].name = "Cy";
    Game.CurrentPlayer = 3;
    Game.GamePhase = kPhaseEnded;
    Cards[1].owner = 1;
    Cards[1].inHand = kTrue;
    Cards[1].pilePosition = kPileInPlay;
    EXPECT_EQ(TableCaption(), "Karvel Engine - 1.0.0 [Cy] - [Adversary hand: 1] *** END GAME ***");
    GameMode = kModeDirect;
    Model().NetPlayerData[1].seatId = "2";
    Game.GamePhase = kPhasePlaying;
    EXPECT_EQ(TableCaption(), "Karvel Engine - 1.0.0 [Cy vs Bob] - [Adversary hand: 1]");
}

TEST_F(CaptionMgmtTest, ACardTurnsToTheNextAngleOfItsDecksList) {
    struct Case {
        std::string list;
        std::int16_t from;
        std::int16_t to;
    };
    const std::vector<Case> cases = {
        {"0,90", 0, 90},         {"0,90", 90, 0},        {"0,90,180,270", 270, 0},
        {"0,90,180,270", 45, 0}, {"0,90,0,180", 0, 180}, {"90", 90, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.list + " from " + std::to_string(c.from));
        Game.decks[0].rotate = c.list;
        Cards[1].rotation = c.from;
        EXPECT_EQ(NextRotationAngle(1), c.to);
    }
}

TEST_F(CaptionMgmtTest, AreasShowForSeatsWithLayoutsUnlessHandLinesAreOff) {
    Game.external_hand = kFalse;
    struct Case {
        std::string showHandLines;
        bool shown;
    };
    for (const Case& c : std::vector<Case>{{"", true}, {"FALSE", true}, {"false", false}}) {
        SCOPED_TRACE("show_hand_lines=" + c.showHandLines);
        folder.Write("t.game", "[GAME]\nshow_hand_lines=" + c.showHandLines +
                                   "\n[PLAYER 1]\nlayout=100,200,300,400\n[PLAYER 2]\nname=Bob\n");
        Game.players[1].hasTableArea = kFalse;
        LoadPlayerLayouts();
        ShowHandLines(CurrentGameFile);
        EXPECT_EQ(Game.players[1].hasTableArea, kTrue);
        EXPECT_EQ(PlayerAreas[0].left, 200);
        EXPECT_EQ(PlayerAreas[0].width, 400);
        EXPECT_EQ(PlayerAreas[0].visible, c.shown);
        EXPECT_FALSE(PlayerAreas[1].visible);
    }
}

} // namespace
