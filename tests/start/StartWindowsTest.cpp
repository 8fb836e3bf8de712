// The program's start: the splash, the game type window, and a bundled game started from the
// game list with a seat taken.
#include "StartTestSupport.h"

#include "common/Version.h"
#include "platform/Keys.h"
#include "platform/TestDriver.h"
#include "platform/Timer.h"
#include "start/LoginForm.h"
#include "start/StartWindows.h"
#include "state/TableState.h"
#include "table/MainForm.h"
#include "table/SaveGameMgmt.h"
#include "table/TableSetup.h"
#include "table/ToolBarForm.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>

namespace drive = platform::testdriver;
using starttest::IndexOf;
using starttest::Press;

namespace {

class StartWindowsTest : public starttest::StartFixture {};

// The seat login answers by taking a seat's button, typing nothing and pressing Login.
std::function<void(platform::Form&)> LogInto(int seat) {
    return [seat](platform::Form&) {
        LoginForm* login = LoginWindow();
        ASSERT_NE(login, nullptr);
        login->SideOption(seat - 1)->SetValue(true);
        ASSERT_TRUE(drive::Click(login->Command1));
    };
}

} // namespace

TEST_F(StartWindowsTest, TheSplashShowsTheVersionAndClosesAfterTwoSecondsIntoTheGameType) {
    platform::ManualTimers timers;
    DesignMode = kTrue;
    AllCardsVisible = kTrue;
    StartWindows windows;
    windows.Start();
    ASSERT_TRUE(windows.splash.form.Visible());
    EXPECT_EQ(windows.splash.lblVersion.Caption(), "Version " + std::string(kVersionText) + " ");
    EXPECT_EQ(DesignMode, kFalse);
    EXPECT_EQ(AllCardsVisible, kFalse);
    EXPECT_EQ(std::filesystem::current_path(), std::filesystem::path(folder_.Path()));

    platform::AdvanceTimers(1990);
    EXPECT_TRUE(windows.splash.form.Visible());
    EXPECT_FALSE(windows.gameType.form.Visible());
    platform::AdvanceTimers(10);
    EXPECT_FALSE(windows.splash.form.Visible());
    EXPECT_TRUE(windows.gameType.form.Visible());
    EXPECT_EQ(windows.gameType.form.Caption(), "Game Type");
    // The timer went with the splash: it opens nothing further.
    windows.gameType.form.Unload();
    platform::AdvanceTimers(4000);
    EXPECT_FALSE(windows.gameType.form.Visible());
}

TEST_F(StartWindowsTest, AKeyOrAClickOnTheLogoItsFrameOrTheNameClosesTheSplashOtherLabelsDoNot) {
    platform::ManualTimers timers;
    struct Case {
        const char* what;
        std::function<bool(SplashForm&)> act;
        bool closes;
    } cases[] = {
        {"a click on the logo", [](SplashForm& s) { return drive::Click(s.imgLogo); }, true},
        {"a click on the product's name", [](SplashForm& s) { return drive::Click(s.lblProductName); }, true},
        {"a click on the frame's free part", [](SplashForm& s) { return drive::Click(s.Frame1, 7000, 3200); },
         true},
        {"a key", [](SplashForm& s) { return drive::PressKey(s.form, 'A'); }, true},
        {"a click on the version line", [](SplashForm& s) { return drive::Click(s.lblVersion); }, false},
        {"a click on the product line", [](SplashForm& s) { return drive::Click(s.lblProductLine); }, false},
    };
    for (const Case& c : cases) {
        StartWindows windows;
        windows.Start();
        ASSERT_TRUE(c.act(windows.splash)) << c.what;
        EXPECT_EQ(windows.splash.form.Visible(), !c.closes) << c.what;
        EXPECT_EQ(windows.gameType.form.Visible(), c.closes) << c.what;
    }
}

TEST_F(StartWindowsTest, TheGameTypeButtonsLeadToTheGameListOrTheConnectionDialog) {
    folder_.Write("Solo.game", "[GAME]\nplayers=1\n");
    {
        StartWindows windows;
        DesignMode = kTrue;
        windows.gameType.form.Show();
        EXPECT_EQ(windows.gameType.NewGameBtn.Surface().ToolTipText(), "Start a new PBEM game");
        ASSERT_TRUE(Press(windows.gameType.NewGameBtn));
        EXPECT_FALSE(windows.gameType.form.Visible());
        ASSERT_TRUE(windows.gameList.form.Visible());
        EXPECT_EQ(DesignMode, kFalse);
        EXPECT_EQ(windows.gameList.form.Caption(), "Start or Load a PBEM game");
        EXPECT_TRUE(windows.gameList.PBEMdisplayFrame.Visible());
        EXPECT_TRUE(windows.gameList.PBEMstartFrame.Visible());
        EXPECT_FALSE(windows.gameList.DESIGNstartFrame.Visible());
        EXPECT_EQ(starttest::Items(windows.gameList.List1), std::vector<std::string>{"Solo"});
    }
    {
        StartWindows windows;
        windows.gameType.form.Show();
        ASSERT_TRUE(Press(windows.gameType.DesignBtn));
        EXPECT_FALSE(windows.gameType.form.Visible());
        ASSERT_TRUE(windows.gameList.form.Visible());
        EXPECT_EQ(DesignMode, kTrue);
        EXPECT_EQ(windows.gameList.form.Caption(), "Start a new Design session");
        EXPECT_FALSE(windows.gameList.PBEMdisplayFrame.Visible());
        EXPECT_FALSE(windows.gameList.PBEMstartFrame.Visible());
        EXPECT_TRUE(windows.gameList.DESIGNstartFrame.Visible());
    }
    {
        StartWindows windows;
        windows.gameType.form.Show();
        ASSERT_TRUE(Press(windows.gameType.DirectPlayBtn));
        EXPECT_TRUE(windows.connection.form.Visible());
        EXPECT_EQ(windows.connection.form.Caption(), "Direct Play options");
        EXPECT_FALSE(windows.gameType.form.Visible());
        EXPECT_FALSE(windows.gameList.form.Visible());
    }
}

// The start windows end a margin below their lowest control: no window manager's frame takes a
// band of their height, so none stands empty under the content when there is none. The login
// fits the seats of the game it opens for.
TEST_F(StartWindowsTest, TheStartWindowsFitTheirContent) {
    folder_.CopyIn(KARVEL_GAMES, "");
    StartWindows windows;
    const auto bottom = [](const platform::Control& c) { return c.Top() + c.Height(); };
    EXPECT_EQ(windows.splash.form.ScaleHeight(), bottom(windows.splash.Frame1) + 60);
    EXPECT_EQ(windows.gameType.form.ScaleHeight(), bottom(windows.gameType.Frame3) + 120);
    EXPECT_EQ(windows.gameList.form.ScaleHeight(), bottom(windows.gameList.List1) + 120);

    windows.gameType.form.Show();
    ASSERT_TRUE(Press(windows.gameType.NewGameBtn));
    for (const char* game : {"Parlour Cards", "Spice Harbour"}) {
        windows.gameList.List1.SetListIndex(IndexOf(windows.gameList.List1, game));
        int lowest = 0, height = 0;
        drive::DialogScript script;
        script.AnswerModal([&](platform::Form&) {
            LoginForm* login = LoginWindow();
            ASSERT_NE(login, nullptr);
            for (int index : login->SideOption.Indexes())
                lowest = std::max(lowest, bottom(*login->SideOption(index)));
            lowest = std::max(lowest, bottom(login->Command1));
            height = login->form.ScaleHeight();
            ASSERT_TRUE(drive::Click(login->Command2));
        });
        ASSERT_TRUE(Press(windows.gameList.StartGameBtn));
        EXPECT_EQ(height, lowest + 240) << game;
    }
}

TEST_F(StartWindowsTest, ABundledGameStartedForASeatOpensItsDealtTableWithThatSeatsFacesShown) {
    folder_.CopyIn(KARVEL_GAMES, "");
    StartWindows windows;
    windows.gameType.form.Show();
    ASSERT_TRUE(Press(windows.gameType.NewGameBtn));
    StartForm& list = windows.gameList;
    const int parlour = IndexOf(list.List1, "Parlour Cards");
    ASSERT_GE(parlour, 0);
    EXPECT_FALSE(list.StartGameBtn.Enabled());
    list.List1.SetListIndex(parlour);
    EXPECT_TRUE(list.StartGameBtn.Enabled());
    EXPECT_EQ(list.DescTxt.Text().rfind("A standard deck of 52 cards for 2 to 4 players.\r\nFive cards", 0),
              0u)
        << list.DescTxt.Text();

    drive::DialogScript script;
    script.AnswerModal(LogInto(3));
    ASSERT_TRUE(Press(list.StartGameBtn));
    EXPECT_TRUE(script.Messages().empty()) << script.Messages().front();
    EXPECT_TRUE(script.Problems().empty());

    ASSERT_NE(list.Table(), nullptr);
    MainForm& table = *list.Table();
    EXPECT_TRUE(table.Window().Visible());
    EXPECT_FALSE(list.form.Visible());
    EXPECT_EQ(Game.GamePhase, kPhasePlaying);
    EXPECT_EQ(Game.CurrentPlayer, 3);
    EXPECT_EQ(table.SideName(2)->Caption(), "South");
    int mine = 0, others = 0;
    for (int card = 1; card <= Game.totalCards; ++card) {
        const CardRecord& c = Cards[card];
        if (c.controlIndex < 0 || c.pilePosition != kPileInPlay) continue;
        const controls::TranspImg* image = table.crd(c.controlIndex);
        ASSERT_NE(image, nullptr);
        EXPECT_TRUE(image->Surface().Visible());
        if (c.owner == 3) {
            ++mine;
            EXPECT_EQ(c.faceShown, kTrue) << "card " << card;
        } else {
            ++others;
            EXPECT_EQ(c.faceShown, kFalse) << "card " << card;
        }
    }
    EXPECT_EQ(mine, 5);
    EXPECT_EQ(others, 15);

    // Closing the table brings the list back as it was.
    ASSERT_TRUE(drive::PressCloseBox(table.Window()));
    EXPECT_TRUE(list.form.Visible());
    EXPECT_EQ(list.List1.ListIndex(), parlour);
}

TEST_F(StartWindowsTest, SpiceHarbourOpensWithItsToolBarAndDiceFromTheListAndFromTheCommandLine) {
    folder_.CopyIn(KARVEL_GAMES, "");
    for (const bool commandLine : {false, true}) {
        SCOPED_TRACE(commandLine ? "command line" : "game list");
        StartWindows windows;
        StartForm& list = windows.gameList;
        drive::DialogScript script;
        if (commandLine) {
            ASSERT_TRUE(list.StartGameForSeat(folder_.Path() + "\\Spice Harbour.game", 1));
        } else {
            list.form.Show();
            list.List1.SetListIndex(IndexOf(list.List1, "Spice Harbour"));
            script.AnswerModal(LogInto(1));
            list.SelectGame();
        }
        ASSERT_NE(list.Table(), nullptr);
        MainForm& table = *list.Table();
        EXPECT_TRUE(table.Window().Visible());
        EXPECT_FALSE(list.form.Visible());
        EXPECT_EQ(Game.CurrentPlayer, 1);
        EXPECT_EQ(Game.GamePhase, kPhasePlaying);
        ASSERT_TRUE(table.ToolBar) << "the game's information panel does not carry the buttons";
        EXPECT_TRUE(table.ToolBar->form.Visible());
        // The digit keys roll the game's dice.
        ASSERT_TRUE(drive::PressKey(table.Window(), platform::keys::kDigit0 + 1));
        EXPECT_TRUE(table.QuickMsg.Visible());
        EXPECT_EQ(table.QuickMsg.Caption().rfind("[", 0), 0u) << table.QuickMsg.Caption();
        EXPECT_TRUE(script.Messages().empty()) << script.Messages().front();

        // Closing the table brings the game list, however the game started.
        ASSERT_TRUE(drive::PressCloseBox(table.Window()));
        EXPECT_TRUE(list.form.Visible());
    }
}

TEST_F(StartWindowsTest, ThreeSaveAndLoadRoundsLeaveTheTableWindowAsItWas) {
    folder_.CopyIn(KARVEL_GAMES, "");
    // A 1280 x 800 screen whose window manager frames every window.
    drive::SimulatedDesktop desktop({0, 0, 19200, 12000}, 4, 22, 4, 4);
    StartWindows windows;
    StartForm& list = windows.gameList;
    ASSERT_TRUE(list.StartGameForSeat(folder_.Path() + "\\Parlour Cards.game", 1));
    const auto placeOf = [](const platform::Form& w) {
        return platform::TwipRect{w.Left(), w.Top(), w.Width(), w.Height()};
    };
    const platform::TwipRect first = placeOf(list.Table()->Window());
    EXPECT_EQ(first, (platform::TwipRect{300, 0, 18600, 12000}))
        << "the layout's 820 pixels high window is cut to the screen's 800";
    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(SaveGame("round.save"));
        ASSERT_TRUE(drive::PressCloseBox(list.Table()->Window()));
        ASSERT_TRUE(Press(list.LoadGameBtn));
        ASSERT_EQ(list.List1.ListCount(), 1);
        list.List1.SetListIndex(0);
        drive::DialogScript script;
        script.AnswerModal(LogInto(1));
        list.SelectGame();
        ASSERT_NE(list.Table(), nullptr);
        EXPECT_TRUE(list.Table()->Window().Visible());
        EXPECT_EQ(placeOf(list.Table()->Window()), first);
        EXPECT_TRUE(list.Table()->ToolBar && list.Table()->ToolBar->form.Visible())
            << "a loaded game opens with its tool bar too";
        EXPECT_TRUE(script.Messages().empty()) << script.Messages().front();
    }
}

TEST_F(StartWindowsTest, ClosingTheGameListClosesTheTableWithoutShowingTheListAgain) {
    folder_.CopyIn(KARVEL_GAMES, "");
    StartForm list;
    list.form.Show();
    list.List1.SetListIndex(IndexOf(list.List1, "Spice Harbour"));
    drive::DialogScript script;
    script.AnswerModal(LogInto(1));
    drive::DoubleClick(list.List1, 300, 100);
    ASSERT_NE(list.Table(), nullptr);
    ASSERT_TRUE(list.Table()->Window().Visible());
    list.form.Show();
    ASSERT_TRUE(drive::PressCloseBox(list.form));
    EXPECT_FALSE(list.Table()->Window().Visible());
    EXPECT_FALSE(list.form.Visible());

    // Escape closes it as well, where no window manager gives it a close box.
    list.form.Show();
    ASSERT_TRUE(list.form.Visible());
    ASSERT_TRUE(drive::PressKey(list.form, platform::keys::kEscape));
    EXPECT_FALSE(list.form.Visible());
}
