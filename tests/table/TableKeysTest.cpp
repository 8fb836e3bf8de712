// The table window's keys: which key does what under which condition, the dice of the digit row
// and their quick-message label, the chat texts of Ctrl with a function key, and the quick save.
#include "TableTestSupport.h"

#include "net/ChatForm.h"
#include "platform/Keys.h"
#include "platform/TestDriver.h"
#include "services/DiceRoller.h"
#include "state/TableState.h"
#include "table/DesignToolBarForm.h"
#include "table/DiceRollerForm.h"
#include "table/TableKeys.h"
#include "table/ToolBarForm.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace keys = platform::keys;
using platform::testdriver::KeyDown;
using platform::testdriver::PressKey;
using tabletest::TableFixture;
using testing::ElementsAre;
using testing::IsEmpty;

namespace {

constexpr int kF3 = keys::kF1 + 2;
constexpr int kF4 = keys::kF1 + 3;
constexpr int kF7 = keys::kF1 + 6;
constexpr int kF8 = keys::kF1 + 7;

// Four seats, one common deck, three dice (the third with a long name), chat texts 1 and 2.
std::string KeyGame() {
    return "[GAME]\nplayers=4\ncommon_decks=1\ndirectory=img\n"
           "[PLAYER 1]\nname=Ann\n[PLAYER 2]\nname=Bob\n[PLAYER 3]\nname=Cid\n[PLAYER 4]\nname=Dee\n"
           "[COMMON 1]\nname=Stock\nsplit=FALSE\ndecksize=2\nimg_back=back.png\nimg_discard=empty.png\n"
           "card1=f1.png,,,k1\ncard2=f2.png,,,k2\n"
           "[DICE]\nnum_dices=3\ndice1=2+2,Four\ndice2=1,One\n"
           "dice3=3,The die with the very long name that needs a wide label\n"
           "[CHAT]\nmessage1=Hello there\nmessage2=Your turn\n";
}

class TableKeysTest : public testing::Test {
  protected:
    TableKeysTest() {
        EXPECT_TRUE(fixture.Start(KeyGame()));
        LoadDice();
        table.Window().Show();
        table.Others.showChat = [this](const std::string& text) { chats.push_back(text); };
    }
    ~TableKeysTest() override {
        GameMode = kModeLocal;
        AllCardsVisible = kFalse;
        DesignMode = kFalse;
    }

    void Press(int keyCode, int shift = 0) { EXPECT_TRUE(PressKey(table.Window(), keyCode, shift)); }

    TableFixture fixture;
    MainForm& table = fixture.Table();
    testsupport::MessageRecorder messages;
    std::vector<std::string> chats;
};

TEST_F(TableKeysTest, F4OpensTheChatOnlyInDirectPlay) {
    Press(kF4);
    EXPECT_THAT(chats, IsEmpty());
    GameMode = kModeDirect;
    Press(kF4, keys::kShift);
    EXPECT_THAT(chats, ElementsAre("")) << "Shift does not change the command";
}

TEST_F(TableKeysTest, F8StepsThroughTheSeatsOnlyWhileAllCardsAreVisible) {
    Press(kF8);
    EXPECT_EQ(Game.CurrentPlayer, 1);
    AllCardsVisible = kTrue;
    std::vector<int> seats;
    for (int i = 0; i < 5; ++i) {
        Press(kF8);
        seats.push_back(Game.CurrentPlayer);
    }
    EXPECT_THAT(seats, ElementsAre(2, 3, 4, 1, 2));
    EXPECT_THAT(table.Window().Caption(), testing::HasSubstr("Bob"));
    Game.CurrentPlayer = kArbitratorSeat;
    Press(kF8);
    EXPECT_EQ(Game.CurrentPlayer, 1) << "the arbitrator's seat steps to the first seat, not beyond the seats";
    GameMode = kModeDirect;
    Press(kF8);
    EXPECT_EQ(Game.CurrentPlayer, 1) << "in direct play the seat stays the one agreed with the other side";
}

TEST_F(TableKeysTest, DigitKeysRollTheirDieIntoTheQuickMessageAtLeast2300TwipsWide) {
    struct Case {
        int key;
        std::string caption; // "" when nothing may change
        bool rolled;
        bool wider;
    };
    const std::vector<Case> cases = {
        {keys::kDigit0 + 5, "Dice # 5 not defined", false, false},
        {keys::kDigit0 + 1, "[1] Four: 4", true, false},
        {keys::kDigit0 + 3, "[2] The die with the very long name that needs a wide label: 3", true, true},
        {keys::kNumpad0 + 1, "", false, false},
        {keys::kSubtract, "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        table.QuickMsg.SetVisible(false);
        table.QuickMsg.SetCaption("before");
        const std::int16_t serial = Game.diceSerial;
        Press(c.key);
        EXPECT_EQ(Game.diceSerial != serial, c.rolled);
        if (c.caption.empty()) {
            EXPECT_EQ(table.QuickMsg.Caption(), "before");
            EXPECT_FALSE(table.QuickMsg.Visible());
            continue;
        }
        EXPECT_EQ(table.QuickMsg.Caption(), c.caption);
        EXPECT_TRUE(table.QuickMsg.Visible());
        if (c.wider)
            EXPECT_GT(table.QuickMsg.Width(), 2300);
        else // to the pixel: 15 twips each
            EXPECT_NEAR(table.QuickMsg.Width(), 2300, 14);
    }
}

// Alt with a button's access key (its caption's first character here) presses the shown button;
// of "Save" and "Show Hand area" the first in the panel takes S.
TEST_F(TableKeysTest, AltWithAnAccessKeyPressesTheShownButtonThatHasIt) {
    std::string game = KeyGame() + "[INFOPANEL]\nwidth=3000\nshowToolbar=TRUE\n";
    game.replace(game.find("name=Ann\n"), 9, "name=Ann\nlayout=3000,1500,2400,6000\n");
    ASSERT_TRUE(fixture.Start(game));
    table.setSB();
    ASSERT_TRUE(table.InfoPanel.Visible());
    int saves = 0;
    table.Others.showSaveForm = [&saves] { ++saves; };
    struct Case {
        const char* name;
        int key;
        int shift;
        int saves;
        bool diceShown;
    };
    for (const Case& c :
         {Case{"Alt+S", 'S', keys::kAlt, 1, false}, Case{"S alone", 'S', 0, 0, false},
          Case{"Ctrl+Alt+S", 'S', keys::kCtrl | keys::kAlt, 0, false},
          Case{"Alt+D", 'D', keys::kAlt, 0, true}, Case{"Alt+Q, no button", 'Q', keys::kAlt, 0, false}}) {
        SCOPED_TRACE(c.name);
        saves = 0;
        if (table.DiceRoller) table.DiceRoller->form.Hide();
        EXPECT_TRUE(KeyDown(table.Window(), c.key, c.shift));
        EXPECT_EQ(saves, c.saves);
        EXPECT_EQ(table.DiceRoller && table.DiceRoller->form.Visible(), c.diceShown);
    }
    // A disabled or hidden button takes no key: S goes on to the next button that has it.
    saves = 0;
    table.saveGameBtn.Enabled(false);
    const bool areaShown = table.PlayerArea(0)->Visible();
    EXPECT_TRUE(KeyDown(table.Window(), 'S', keys::kAlt));
    EXPECT_EQ(saves, 0);
    EXPECT_NE(table.PlayerArea(0)->Visible(), areaShown) << "Show Hand area toggled the areas";
    table.InfoPanel.SetVisible(false);
    EXPECT_TRUE(KeyDown(table.Window(), 'S', keys::kAlt));
    EXPECT_EQ(table.PlayerArea(0)->Visible(), !areaShown);
}

TEST_F(TableKeysTest, CtrlWithAFunctionKeyPutsTheGamesChatTextIntoTheChat) {
    struct Case {
        int key;
        int shift;
        std::vector<std::string> chats;
    };
    const std::vector<Case> cases = {
        {keys::kF1 + 1, keys::kCtrl, {"Your turn"}},
        {kF3, keys::kCtrl, {}}, // no message3
        {keys::kF1, keys::kCtrl | keys::kShift, {}},
        {keys::kF1, keys::kCtrl | keys::kAlt, {}},
        {keys::kF1, 0, {}},
        {keys::kF1 + 8, keys::kCtrl, {}}, // F9 has no text
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.key) + " shift " + std::to_string(c.shift));
        chats.clear();
        EXPECT_TRUE(KeyDown(table.Window(), c.key, c.shift));
        EXPECT_EQ(chats, c.chats);
    }
    EXPECT_EQ(ChatMacroText(keys::kF1, fixture.GameFile()), "Hello there");
}

TEST_F(TableKeysTest, F7WritesTheQuickSaveWithoutADialog) {
    const std::string save = fixture.Folder().Path() + "/save/test.pack.save";
    ASSERT_FALSE(std::filesystem::exists(save));
    Press(kF7);
    EXPECT_TRUE(std::filesystem::exists(save));
    EXPECT_THAT(messages.Messages(), IsEmpty());
}

TEST_F(TableKeysTest, F12ShowsTheDesignToolBarInADesignSessionAndTheGameToolBarOtherwise) {
    Press(keys::kF12);
    ASSERT_TRUE(table.ToolBar);
    EXPECT_TRUE(table.ToolBar->form.Visible());
    EXPECT_FALSE(table.DesignToolBar);
    table.ToolBar->form.Unload();

    DesignMode = kTrue;
    Press(keys::kF12);
    ASSERT_TRUE(table.DesignToolBar);
    EXPECT_TRUE(table.DesignToolBar->form.Visible());
    EXPECT_FALSE(table.ToolBar->form.Visible());
}

} // namespace
