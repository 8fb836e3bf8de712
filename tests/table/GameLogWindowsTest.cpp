// The log window and the dice roller window, driven as a player drives them.
#include "GameFixture.h"

#include "platform/Files.h"
#include "platform/Keys.h"
#include "platform/TestDriver.h"
#include "services/DiceRoller.h"
#include "state/LogStore.h"
#include "state/Model.h"
#include "table/DiceRollerForm.h"
#include "table/LogForm.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace drive = platform::testdriver;

namespace {

// A click on one of the log window's picture buttons, at its middle.
bool Press(const controls::cSfCb& button) {
    const platform::ControlSurface& s = button.Surface();
    const int x = static_cast<int>(s.Width() / 2), y = static_cast<int>(s.Height() / 2);
    return drive::MouseDown(s, 1, 0, x, y) && drive::MouseUp(s, 1, 0, x, y);
}

class GameLogWindowsTest : public GameFixture {
  protected:
    void UseGame(const std::string& text) {
        WriteGame(text);
        InitLog();
        LoadDice();
    }

    template <typename List> static std::vector<std::string> Lines(const List& list) {
        std::vector<std::string> lines;
        for (int n = 0; n < list.ListCount(); ++n)
            lines.push_back(list.List(n));
        return lines;
    }
};

} // namespace

TEST_F(GameLogWindowsTest, TheLogWindowFollowsTheStoreWhileOpenAndLeavesItAloneWhenClosed) {
    UseGame("[LOG]\nuse_log=TRUE\nmax_log_items=3\n");
    StoreLogItem("first");
    StoreLogItem("Attack: Hit\r\nMiss");
    LogForm window;
    window.form.Show();
    EXPECT_EQ(Lines(window.LogTxt), (std::vector<std::string>{"first", "Attack: Hit", "\tMiss"}));
    EXPECT_FALSE(window.addFreeTxtBtn.Surface().Visible());

    StoreLogItem("third");
    StoreLogItem("fourth"); // the store is full: "first" leaves it and the list
    EXPECT_EQ(Lines(window.LogTxt), (std::vector<std::string>{"Attack: Hit", "\tMiss", "third", "fourth"}));
    StoreLogItem("fifth");
    EXPECT_EQ(Lines(window.LogTxt), (std::vector<std::string>{"third", "fourth", "fifth"}));

    ASSERT_TRUE(window.form.Unload());
    StoreLogItem("after closing");
    EXPECT_EQ(LogEntries(), (std::vector<std::string>{"fourth", "fifth", "after closing"}));
    EXPECT_TRUE(Lines(window.LogTxt).empty()) << "a closed window keeps nothing and no longer follows";
    window.form.Show();
    EXPECT_EQ(Lines(window.LogTxt), (std::vector<std::string>{"fourth", "fifth", "after closing"}));
}

TEST_F(GameLogWindowsTest, TheOpenLogWindowEmptiesWithTheStoreAndRereadsAStoreChangedBehindIt) {
    UseGame("[LOG]\nuse_log=TRUE\nmax_log_items=4\n");
    StoreLogItem("old game");
    LogForm window;
    window.form.Show();
    InitLog(); // a new game
    EXPECT_TRUE(Lines(window.LogTxt).empty());
    StoreLogItem("new game");
    EXPECT_EQ(Lines(window.LogTxt), std::vector<std::string>{"new game"});

    // A store filled as a whole (a restored game) is read again at its next entry.
    LogLines = {"", "one", "two\r\nthree", "", ""};
    LogCount = 2;
    LogFirst = 1;
    StoreLogItem("four");
    EXPECT_EQ(Lines(window.LogTxt), (std::vector<std::string>{"one", "two", "\tthree", "four"}));
    StoreLogItem("five");
    StoreLogItem("six");
    EXPECT_EQ(Lines(window.LogTxt), (std::vector<std::string>{"two", "\tthree", "four", "five", "six"}));
}

TEST_F(GameLogWindowsTest, AFullLogOpensWithEveryEntryAndDropsItsOldestWhileOpen) {
    UseGame("[LOG]\nuse_log=TRUE\nmax_log_items=32767\n");
    for (int n = 1; n <= 32767; ++n)
        StoreLogItem(n % 1000 == 0 ? "entry " + std::to_string(n) + "\r\nsecond line"
                                   : "entry " + std::to_string(n));
    LogForm window;
    window.form.Show();
    ASSERT_EQ(window.LogTxt.ListCount(), 32767 + 32);
    EXPECT_EQ(window.LogTxt.List(0), "entry 1");
    EXPECT_EQ(window.LogTxt.List(1000), "\tsecond line");
    EXPECT_EQ(window.LogTxt.List(1001), "entry 1001");
    EXPECT_EQ(window.LogTxt.List(32767 + 31), "entry 32767");

    StoreLogItem("one more");
    ASSERT_EQ(window.LogTxt.ListCount(), 32767 + 32);
    EXPECT_EQ(window.LogTxt.List(0), "entry 2");
    EXPECT_EQ(window.LogTxt.List(32767 + 31), "one more");
    for (int n = 2; n <= 1000; ++n)
        StoreLogItem("more");
    EXPECT_EQ(window.LogTxt.List(0), "entry 1001") << "the dropped entry took both its lines";
    EXPECT_EQ(window.LogTxt.ListCount(), 32767 + 31);
}

TEST_F(GameLogWindowsTest, FreeTextAndPreparedItemsAreLoggedFromTheWindow) {
    UseGame("[GAME]\nplayers=2\n[LOG]\nuse_log=TRUE\nuse_free_text=true\nadd_player_name=TRUE\nnum_items=2\n"
            "item1=Turn ends\nitem2=Bridge down\n");
    Game.players[1].name = "Ann";
    Game.CurrentPlayer = 1;
    LogForm window;
    window.form.Show();
    ASSERT_TRUE(window.addFreeTxtBtn.Surface().Visible());

    ASSERT_TRUE(Press(window.addFreeTxtBtn));
    EXPECT_EQ(window.itemType.Caption(), "Free text");
    EXPECT_TRUE(window.FreeTxt.Visible());
    EXPECT_FALSE(window.DataList.Visible());
    ASSERT_TRUE(drive::TypeText(window.FreeTxt, "well played"));
    ASSERT_TRUE(drive::PressKey(window.form, platform::keys::kReturn));

    ASSERT_TRUE(Press(window.showItemsBtn));
    EXPECT_EQ(window.Mode(), 2);
    EXPECT_EQ(window.itemType.Caption(), "Log items list");
    EXPECT_EQ(Lines(window.DataList), (std::vector<std::string>{"Turn ends", "Bridge down"}));
    ASSERT_TRUE(drive::DoubleClick(window.DataList, 300, 60));

    EXPECT_EQ(LogEntries(), (std::vector<std::string>{"[Ann] <well played>", "[Ann] Turn ends"}));
    EXPECT_EQ(Lines(window.LogTxt), LogEntries());
    EXPECT_EQ(window.LogTxt.ListIndex(), 1);
}

TEST_F(GameLogWindowsTest, ADieRolledFromTheLogWindowIsStoredByTheRollAndByTheWindow) {
    UseGame("[LOG]\nuse_log=TRUE\nlog_all_dice_rolls=TRUE\n[DICE]\nnum_dices=1\ndice1=6,Six\n");
    LogForm window;
    window.form.Show();
    ASSERT_TRUE(Press(window.diceRollerBtn));
    EXPECT_EQ(window.Mode(), 1);
    EXPECT_EQ(window.itemType.Caption(), "Dice list");
    EXPECT_EQ(Lines(window.DataList), std::vector<std::string>{"Six"});
    ASSERT_TRUE(drive::DoubleClick(window.DataList, 300, 60));
    EXPECT_EQ(LogEntries(), (std::vector<std::string>{"Six: 6", "Six: 6"}));
    EXPECT_EQ(Game.diceSerial, 1);
}

TEST_F(GameLogWindowsTest, TheRollWindowAsksForADieWhenTheGameHasNone) {
    UseGame("[GAME]\nplayers=2\n");
    DiceRollerForm window;
    window.form.Show();
    EXPECT_EQ(window.diceRolls.ListCount(), 0);
    drive::DialogScript script;
    ASSERT_TRUE(drive::Click(window.rollBtn));
    EXPECT_EQ(script.Messages(), std::vector<std::string>{"Please select a dice"});
}

TEST_F(GameLogWindowsTest, TheRollWindowListsEachRollWithItsLines) {
    UseGame("[DICE]\nnum_dices=2\ndice1=3,Plain\ndice2=4,Attack,hits\n[TABLE hits]\nvalue4=Hit\\nMiss\n");
    DiceRollerForm window;
    window.form.Show();
    EXPECT_EQ(Lines(window.diceRolls), (std::vector<std::string>{"[1] Plain", "[2] Attack"}));
    EXPECT_EQ(window.diceRolls.ListIndex(), 0);
    ASSERT_TRUE(drive::Click(window.rollBtn));
    window.diceRolls.SetListIndex(1);
    ASSERT_TRUE(drive::Click(window.rollBtn));
    EXPECT_EQ(Lines(window.rollHistory),
              (std::vector<std::string>{"1\tPlain\t3", "2\tAttack\tHit", "\t\t\tMiss"}));
    EXPECT_EQ(window.rollHistory.ListIndex(), 2);
}

TEST_F(GameLogWindowsTest, TheHistoryShowsTheLastHundredRollsAndAReceivedRollOnceRefilled) {
    UseGame("[DICE]\nnum_dices=1\ndice1=5,Five\n");
    for (int n = 0; n < 101; ++n)
        RollDice(1, false, false);
    DiceRollerForm window;
    window.form.Show();
    auto lines = Lines(window.rollHistory);
    ASSERT_EQ(lines.size(), 100u);
    EXPECT_EQ(lines.front(), "2\tFive\t5");
    EXPECT_EQ(lines.back(), "101\tFive\t5");

    ASSERT_TRUE(ReceiveDiceRoll(1, "4"));
    EXPECT_EQ(window.rollHistory.ListCount(), 100) << "a received roll waits for the next filling";
    ASSERT_TRUE(window.form.Unload());
    window.form.Show();
    lines = Lines(window.rollHistory);
    ASSERT_EQ(lines.size(), 100u);
    EXPECT_EQ(lines.back(), "102\tFive\t4");
}

// A result longer than the history is wide shows whole, over further lines, where a short one
// takes one.
TEST_F(GameLogWindowsTest, TheHistoryShowsALongResultWhole) {
    // The height of the band of the history's picture that holds the text's dark pixels, with the
    // one roll of the die in it (in its upper half, above where a scroll bar would show).
    const auto inkHeight = [this](int die) {
        UseGame("[DICE]\nnum_dices=2\ndice1=1,Weather,w\ndice2=2,Weather,w\n[TABLE w]\nvalue1=Calm\n"
                "value2=Gale: every captain discards a Voyage card and loses a day's sailing\n");
        Game.diceSerial = 0;
        Game.diceLogPosition = 0;
        DiceRollerForm window;
        window.form.Show();
        window.diceRolls.SetListIndex(die - 1);
        drive::Click(window.rollBtn);
        window.rollHistory.SetListIndex(-1);
        const platform::Picture shown = drive::Grab(window.rollHistory);
        int top = -1, bottom = -1;
        for (int y = 3; y < shown.Height() / 2; ++y)
            for (int x = 3; x < shown.Width() - 3; ++x) {
                const platform::Colour c = shown.GetPixel(x, y);
                if (platform::RedOf(c) < 100 && platform::GreenOf(c) < 100 && platform::BlueOf(c) < 100) {
                    if (top < 0) top = y;
                    bottom = y;
                }
            }
        return top < 0 ? 0 : bottom - top + 1;
    };
    const int oneLine = inkHeight(1);
    ASSERT_GT(oneLine, 0);
    EXPECT_GT(inkHeight(2), 2 * oneLine) << "the long result was cut";
}

TEST_F(GameLogWindowsTest, TheHistoryFollowsTheRollWindowsSize) {
    UseGame("[DICE]\nnum_dices=1\ndice1=5,Five\n");
    DiceRollerForm window;
    window.form.Show();
    const int widthMargin = window.form.ScaleWidth() - window.rollHistory.Width();
    const int heightMargin = window.form.ScaleHeight() - window.rollHistory.Height();
    window.form.Resize(window.form.Width() + 1500, window.form.Height() + 900);
    EXPECT_EQ(window.form.ScaleWidth() - window.rollHistory.Width(), widthMargin);
    EXPECT_EQ(window.form.ScaleHeight() - window.rollHistory.Height(), heightMargin);
}
