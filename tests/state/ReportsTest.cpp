#include "GameFixture.h"

#include "state/PropertyMgmt.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Four cards: 1 and 2 on the table (seat 1 and seat 2), 3 in seat 2's hand, 4 in a discard pile.
class ReportsTest : public GameFixture {
  protected:
    void SetUp() override {
        GameFixture::SetUp();
        Game.totalCards = 4;
        Game.external_hand = kTrue;
        Game.CurrentPlayer = 1;
        SetCard(1, 0, 1, "gold=3|name=Ship");
        SetCard(2, 1, 2, "gold=4");
        SetCard(3, -1, 2, "gold=10");
        Cards[3].inHand = kTrue;
        SetCard(4, 2, 1, "gold=100");
        Cards[4].inDiscardPile = kTrue;
    }

    static void SetCard(int card, int control, int owner, const std::string& properties) {
        Cards[card].controlIndex = static_cast<std::int16_t>(control);
        Cards[card].owner = static_cast<std::int16_t>(owner);
        Cards[card].properties = properties;
    }

    static void Define(const ReportRecord& report) {
        ReportCount = 1;
        ReportDef[1] = report;
    }
};

} // namespace

TEST_F(ReportsTest, TheHeaderFramesEachTitleAndTotal) {
    ReportHeader = "Player %TITLE:\\b";
    Define({kReportSum, kScopeAll, "Gold", "gold", kFalse, ""});
    EXPECT_EQ(ReportLines(), std::vector<std::string>{"Player Gold: 7"});
    ReportHeader.clear();
    EXPECT_EQ(ReportLines(), std::vector<std::string>{"*** Gold: 7"});
}

TEST_F(ReportsTest, EachScopeCountsItsOwnCards) {
    struct Case {
        const char* what;
        ReportRecord report;
        int total;
    };
    const Case cases[] = {
        {"sum over the table", {kReportSum, kScopeAll, "t", "gold", kFalse, ""}, 7},
        {"sum over my cards on the table", {kReportSum, kScopeAll, "t", "gold", kTrue, ""}, 3},
        {"count of every card on the table", {kReportCount, kScopeAll, "t", "", kFalse, ""}, 2},
        {"count of cards with a name", {kReportCount, kScopeAll, "t", "name", kFalse, ""}, 1},
        {"hand of seat 2 whatever mine says", {kReportSum, kScopeHand, "t", "gold", kTrue, "2"}, 10},
        {"my hand", {kReportCount, kScopeHand, "t", "", kTrue, ""}, 0},
        {"every hand", {kReportCount, kScopeHand, "t", "", kFalse, ""}, 1},
        {"played by seat 2", {kReportSum, kScopePlayed, "t", "gold", kFalse, "2"}, 4},
        {"played by anyone", {kReportCount, kScopePlayed, "t", "", kFalse, ""}, 2},
        {"nothing selected", {kReportCount, kScopeSelected, "t", "", kFalse, ""}, 0},
    };
    for (const Case& c : cases) {
        Define(c.report);
        EXPECT_EQ(ReportLines(), std::vector<std::string>{"*** t: " + std::to_string(c.total)}) << c.what;
    }
    Cards[2].selectionMark = 1;
    Define({kReportSum, kScopeSelected, "t", "gold", kFalse, ""});
    EXPECT_EQ(ReportLines(), std::vector<std::string>{"*** t: 4"});
    Define({kReportSum, kScopeSelected, "t", "gold", kTrue, ""});
    EXPECT_EQ(ReportLines(), std::vector<std::string>{"*** t: 0"});
}

TEST_F(ReportsTest, ASumBeyondSixteenBitsStopsAtTheLimit) {
    Cards[1].properties = "gold=30000";
    Cards[2].properties = "gold=30000";
    Define({kReportSum, kScopeAll, "Gold", "gold", kFalse, ""});
    EXPECT_EQ(ReportLines(), std::vector<std::string>{"*** Gold: 32767"});
}

TEST_F(ReportsTest, TheStatisticsListEachDeckWithItsEliminatedAndDiscardedCards) {
    Game.deckCount = 3;
    Game.deckSizes[0] = 3;
    Game.deckSizes[1] = 0; // a deck without cards is left out
    Game.deckSizes[2] = 1;
    Game.decks[0].section = "COMMON 1";
    Game.decks[2].section = "DECK 1 PLAYER 1";
    Cards[1].image = "ship.bmp";
    Cards[1].eliminated = kTrue;
    Cards[2].image = "storm.bmp";
    Cards[2].eliminated = kTrue;
    Cards[4].deck = 2;
    Cards[3].deck = 0;
    EXPECT_EQ(EndGameStatistics(),
              (std::vector<std::string>{" ", "*** End Game Statistics", "     > COMMON 1",
                                        "             ship.bmp eliminated",
                                        "             storm.bmp eliminated", "      Total eliminated: 2",
                                        "      Total discarded: 0", "      ", "     > DECK 1 PLAYER 1",
                                        "      Total eliminated: 0", "      Total discarded: 1", "      "}));
}
