#include "GameFixture.h"

#include "services/DiceRoller.h"
#include "state/LogStore.h"
#include "state/MarkersMgmt.h"
#include "state/Model.h"
#include "state/TableView.h"

#include "platform/Files.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

struct PlacedMarker {
    int kind, owner, x, y;
    bool dicePlaced;
    bool operator==(const PlacedMarker&) const = default;
};

struct TellingView : TableView {
    TellingView() : previous(SetTableView(this)) {}
    ~TellingView() override { SetTableView(previous); }

    std::optional<MarkerPlace> PlaceImageMarker(std::int16_t kind, std::int16_t owner, int x, int y,
                                                bool dicePlaced) override {
        placed.push_back({kind, owner, x, y, dicePlaced});
        return MarkerPlace{x + 1, y + 1};
    }
    void DiceRolled(std::int16_t die, const std::string& text, std::int16_t markerKind, std::int16_t,
                    const std::optional<MarkerPlace>& marker) override {
        rolls.push_back(std::to_string(die) + "|" + text + "|" + std::to_string(markerKind) +
                        (marker ? "|" + std::to_string(marker->left) : ""));
    }

    TableView* previous;
    std::vector<PlacedMarker> placed;
    std::vector<std::string> rolls;
};

struct ShownRolls : DiceHistoryObserver {
    ShownRolls() { SetDiceHistoryObserver(this); }
    ~ShownRolls() override { SetDiceHistoryObserver(nullptr); }
    void RollShown(const std::vector<std::string>& lines) override {
        shown.insert(shown.end(), lines.begin(), lines.end());
    }
    std::vector<std::string> shown;
};

class DiceRollerTest : public GameFixture {
  protected:
    void UseGame(const std::string& text) {
        WriteGame(text);
        InitLog();
        LoadDice();
    }
};

} // namespace

TEST_F(DiceRollerTest, DiceAreReadWithTheirPrefixesAndDefaults) {
    folder_.Write("globals.dat", "[DICES]\n3=dice(6),hits\n");
    testsupport::MessageRecorder messages;
    UseGame("[DICE]\nnum_dices=4\ndice1=$3,Attack\ndice2=(x2)dice(6)+1,Double,\ndice3=dice(20),Plain,crit\n"
            "dice4=$9,Lost,stale\n");
    ASSERT_EQ(DiceCount, 4);
    struct Expected {
        const char* name;
        const char* formula;
        const char* table;
        int repeat;
    };
    const Expected expected[] = {{"Attack", "dice(6)", "hits", 1},
                                 {"Double", "dice(6)+1", "", 2},
                                 {"Plain", "dice(20)", "crit", 1},
                                 {"Lost", "$9", "", 1}};
    for (int k = 1; k <= 4; ++k) {
        const Expected& e = expected[k - 1];
        EXPECT_EQ(Dice[k].name, e.name) << k;
        EXPECT_EQ(Dice[k].formula, e.formula) << k;
        EXPECT_EQ(Dice[k].table, e.table) << k;
        EXPECT_EQ(Dice[k].repeat, e.repeat) << k;
    }
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{"Default dice $9 not found"});
}

TEST_F(DiceRollerTest, MoreThanFiftyDiceAreCutWithAMessageAndNoneMeansNone) {
    testsupport::MessageRecorder messages;
    UseGame("[DICE]\nnum_dices=60\n");
    EXPECT_EQ(DiceCount, 50);
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{"You can define up to 50 dices"});
    UseGame("[GAME]\nplayers=2\n");
    EXPECT_EQ(DiceCount, 0);
    EXPECT_EQ(RollDice(1, true, false), "");
    EXPECT_EQ(Game.diceSerial, 0);
}

TEST_F(DiceRollerTest, ARollWithoutTableGivesTheNumberAndItsNameOnRequest) {
    UseGame("[DICE]\nnum_dices=1\ndice1=2+2.5,Attack\n");
    EXPECT_EQ(RollDice(1, false, false), "4") << "4.5 rounds to the even neighbour";
    EXPECT_EQ(RollDice(1, false, true), "Attack: 4");
    EXPECT_EQ(Game.diceSerial, 2);
}

TEST_F(DiceRollerTest, ATwoLineTableValueIsListedAsTwoRowsAndLoggedAndToldWhole) {
    UseGame("[DICE]\nnum_dices=1\ndice1=4,Attack,hits\n[TABLE "
            "hits]\nvalue4=Hit\\nMiss\n[LOG]\nlog_all_dice_rolls=TRUE\n");
    TellingView view;
    ShownRolls rolls;
    EXPECT_EQ(RollDice(1, true, false), "Hit\r\nMiss");
    EXPECT_EQ(rolls.shown, (std::vector<std::string>{"1\tAttack\tHit", "\t\t\tMiss"}));
    EXPECT_EQ(LogEntries(), std::vector<std::string>{"Attack: Hit\r\nMiss"});
    EXPECT_EQ(view.rolls, std::vector<std::string>{"1|Hit\r\nMiss|-1"});
    EXPECT_TRUE(view.placed.empty());
    EXPECT_EQ(DiceLogLines(), rolls.shown);
}

// "(x3)" rolls the die three times: each roll is counted, listed, logged and passed on.
TEST_F(DiceRollerTest, ARepeatCountRollsThatManyTimesEachRollCountedAndLogged) {
    struct Case {
        const char* formula;
        int rolls;
    };
    for (const Case& c : {Case{"(x3)5", 3}, Case{"(x1) 5", 1}, Case{"(x0)5", 1}, Case{"(x-2)5", 1},
                          Case{"(x1000)5", kDiceLogSize}}) {
        SCOPED_TRACE(c.formula);
        UseGame(std::string("[DICE]\nnum_dices=1\ndice1=") + c.formula +
                ",Five\n[LOG]\nlog_all_dice_rolls=TRUE\nmax_log_items=200\n");
        Game.diceSerial = 0;
        Game.diceLogPosition = 0;
        DiceLog.Fill(DiceLogEntry{});
        TellingView view;
        ShownRolls rolls;
        std::string texts = "5";
        for (int k = 2; k <= c.rolls; ++k)
            texts += ", 5";

        EXPECT_EQ(RollDice(1, true, true), "Five: " + texts);

        EXPECT_EQ(Game.diceSerial, c.rolls);
        EXPECT_EQ(rolls.shown.size(), static_cast<std::size_t>(c.rolls));
        EXPECT_EQ(LogEntries(), std::vector<std::string>(static_cast<std::size_t>(c.rolls), "Five: 5"));
        EXPECT_EQ(view.rolls, std::vector<std::string>(static_cast<std::size_t>(c.rolls), "1|5|-1"));
        EXPECT_EQ(DiceLogLines(), rolls.shown);
    }
}

TEST_F(DiceRollerTest, AnEvaluatorErrorIsShownAndRecordsNothing) {
    UseGame("[DICE]\nnum_dices=1\ndice1=(1+2,Broken\n[LOG]\nlog_all_dice_rolls=TRUE\n");
    TellingView view;
    ShownRolls rolls;
    testsupport::MessageRecorder messages;
    EXPECT_EQ(RollDice(1, true, true), "");
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0].rfind("Error 206: ", 0), 0u) << messages.Messages()[0];
    EXPECT_EQ(Game.diceSerial, 0);
    EXPECT_EQ(Game.diceLogPosition, 0);
    EXPECT_TRUE(rolls.shown.empty());
    EXPECT_TRUE(view.rolls.empty());
    EXPECT_EQ(LogCount, 0);
}

TEST_F(DiceRollerTest, TheHistoryHoldsTheLastHundredRollsEvenAcrossTheSerialsWrap) {
    UseGame("[DICE]\nnum_dices=1\ndice1=6,Six\n");
    for (int n = 0; n < 101; ++n)
        RollDice(1, false, false);
    auto lines = DiceLogLines();
    ASSERT_EQ(lines.size(), 100u);
    EXPECT_EQ(lines.front(), "2\tSix\t6");
    EXPECT_EQ(lines.back(), "101\tSix\t6");
    EXPECT_EQ(DiceLog[1].serial, 101) << "the 101st roll overwrites position 1";

    Game.diceSerial = 32766;
    for (int n = 0; n < 3; ++n)
        RollDice(1, false, false);
    lines = DiceLogLines();
    ASSERT_EQ(lines.size(), 100u);
    EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
              (std::vector<std::string>{"32767\tSix\t6", "1\tSix\t6", "2\tSix\t6"}));
    EXPECT_EQ(lines.front(), "5\tSix\t6");
}

TEST_F(DiceRollerTest, AReceivedRollEntersTheRingButNeitherTheListNorTheLog) {
    UseGame("[DICE]\nnum_dices=2\ndice1=1,One\ndice2=2,Two\n[LOG]\nlog_all_dice_rolls=TRUE\n");
    ShownRolls rolls;
    RollDice(1, true, false);
    EXPECT_TRUE(ReceiveDiceRoll(2, "5"));
    EXPECT_EQ(rolls.shown, std::vector<std::string>{"1\tOne\t1"});
    EXPECT_EQ(LogEntries(), std::vector<std::string>{"One: 1"});
    EXPECT_EQ(DiceLogLines(), (std::vector<std::string>{"1\tOne\t1", "2\tTwo\t5"}));

    for (const std::int16_t die : {std::int16_t{0}, std::int16_t{3}, std::int16_t{-1}, std::int16_t{51}}) {
        EXPECT_FALSE(ReceiveDiceRoll(die, "9")) << die;
    }
    EXPECT_EQ(Game.diceSerial, 2);
}

TEST_F(DiceRollerTest, MarkerDicePlaceTheirMarkersAlongTheCascade) {
    UseGame("[GAME]\nnewDiceMarker=1000,500,200,0\n[DICE]\nnum_dices=2\ndice1=3,Coin,m\ndice2=4,Nothing,m\n"
            "[TABLE m]\nuseMarkers=TRUE\nvalue3=0,2\nvalue4=0,7\n");
    MarkerKinds[1].owner = "1";
    MarkerKinds[2].owner = "0";
    MarkerKinds[2].label = "Bronze";
    MarkerKinds[3].owner = "0";
    MarkerKinds[3].label = "Gold";
    MarkerKindCount = 3;
    TellingView view;
    for (int n = 0; n < 3; ++n)
        EXPECT_EQ(RollDice(1, false, false), "Gold");
    ResetDiceMarkerCascade(); // one of them was deleted
    RollDice(1, false, false);
    EXPECT_EQ(view.placed, (std::vector<PlacedMarker>{{3, 0, 1000, 500, true},
                                                      {3, 0, 1200, 500, true},
                                                      {3, 0, 1400, 500, true},
                                                      {3, 0, 1000, 500, true}}));
    EXPECT_EQ(view.rolls.front(), "1|Gold|3|1001");

    EXPECT_EQ(RollDice(2, false, false), "0,7") << "a text naming no kind places nothing";
    EXPECT_EQ(view.placed.size(), 4u);
    EXPECT_EQ(view.rolls.back(), "2|0,7|-1");
}

TEST_F(DiceRollerTest, WithoutACascadeTheMarkerGoesToItsDefaultPlace) {
    folder_.Write("globals.dat", "[TABLE loot]\nvalue2=0,1\n");
    UseGame("[DICE]\nnum_dices=1\ndice1=2,Loot,GLOBAL\\loot\n");
    MarkerKinds[1].owner = "0";
    MarkerKinds[1].label = "Chest";
    MarkerKindCount = 1;
    TellingView view;
    EXPECT_EQ(RollDice(1, false, true), "Loot: Chest");
    EXPECT_EQ(view.placed, (std::vector<PlacedMarker>{{1, 0, -1, -1, false}}));
    EXPECT_EQ(DiceMarkerCascade, 0);
}

TEST_F(DiceRollerTest, DiceUseMarkersAsTheirTablesSay) {
    folder_.Write("globals.dat", "[TABLE g1]\nuseMarkers=true\n[TABLE g2]\nuseMarkers=no\n");
    UseGame("[DICE]\nnum_dices=5\ndice1=1,a\ndice2=1,b,GLOBAL\\g1\ndice3=1,c,GLOBAL\\g2\ndice4=1,d,t\ndice5="
            "1,e,u\n"
            "[TABLE t]\nuseMarkers=TRUE\n");
    const bool expected[] = {false, true, false, true, false};
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(DiceUsesMarkers(static_cast<std::int16_t>(k)), expected[k - 1]) << k;
    EXPECT_FALSE(DiceUsesMarkers(6));
}
