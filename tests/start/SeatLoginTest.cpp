// The seat login with its options window, the arbitrator's seat ID editor and the choice of the
// acting player.
#include "GameFixture.h"

#include "platform/Keys.h"
#include "platform/Seams.h"
#include "platform/TestDriver.h"
#include "start/LoginForm.h"
#include "start/OptionsForm.h"
#include "start/PlayerPasswdForm.h"
#include "state/Helpers.h"
#include "state/OptionMgmt.h"
#include "state/TableState.h"
#include "table/JudgeMgmt.h"
#include "table/PlayerSelectForm.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace drive = platform::testdriver;
using Names = std::vector<std::string>;

namespace {

const char* const kCrews = "[GAME]\nplayers=2\narbitrator=TRUE\n"
                           "[PLAYER 1]\nname=Red (left)\n[PLAYER 2]\nname=Blue\n"
                           "[OPTIONS]\nnum_options=3\noption1=M1,Merchant,1,TRUE\noption2=P1,Privateer,1,\n"
                           "option3=M2,Merchant,2,TRUE\n";
const char* const kPlain =
    "[GAME]\nplayers=3\n[PLAYER 1]\nname=Ann\n[PLAYER 2]\nname=Bo\n[PLAYER 3]\nname=Cy\n";

class SeatLoginTest : public GameFixture {
  protected:
    // Reads the seats of a new game, as the game list does before the login.
    void NewGame(const char* definition) {
        WriteGame(definition);
        InitGameOptions();
        GameListKind = kTrue;
    }

    static Names Captions(const LoginForm& login) {
        Names captions;
        for (int index : login.SideOption.Indexes())
            if (login.SideOption(index)->Visible()) captions.push_back(login.SideOption(index)->Caption());
        return captions;
    }

    // Opens the login, takes the seat's button (from 1; 0 the last button) with the ID typed,
    // and presses Login; whether the login closed.
    static bool LogIn(int button, const std::optional<std::string>& id = std::nullopt,
                      bool testMode = false) {
        LoginForm login;
        login.form.Show();
        const int index = button == 0 ? login.SideOption.UBound() : button - 1;
        login.SideOption(index)->SetValue(true);
        if (id) login.IDtxt.SetText(*id);
        if (testMode) login.testModeOpt.SetValue(1);
        EXPECT_TRUE(drive::Click(login.Command1));
        return !login.form.Visible();
    }
};

} // namespace

TEST_F(SeatLoginTest, TheSeatListMarksEveryFreeSeatAndShowsTheChosenOptions) {
    NewGame(kCrews);
    LoginForm login;
    login.form.Show();
    EXPECT_EQ(login.form.Caption(), "Login");
    EXPECT_EQ(Captions(login), (Names{"Red (left)(Merchant) ***", "Blue(Merchant) ***", "Arbitrator ***"}));
    EXPECT_TRUE(login.SideOption(0)->Value());
    EXPECT_GT(login.SideOption(1)->Top(), login.SideOption(0)->Top());
    // Rows 350 twips apart, each at a whole pixel.
    EXPECT_NEAR(login.SideOption(2)->Top() - login.SideOption(1)->Top(), 350, 15);
    EXPECT_TRUE(login.OptBtn.Visible());
    EXPECT_TRUE(login.testModeOpt.Visible());
    EXPECT_EQ(login.IDtxt.Text(), "yourID");
    EXPECT_EQ(DialogResult, "Continue");
    EXPECT_EQ(Game.CurrentPlayer, -1);
    login.form.Unload();

    Game.players[2].seatId = "blue";
    Game.players[kArbitratorSeat].seatId = "";
    login.form.Show();
    EXPECT_EQ(Captions(login), (Names{"Red (left)(Merchant) ***", "Blue(Merchant)", "Arbitrator"}));
}

TEST_F(SeatLoginTest, ChoosingAnOptionRewritesTheSeatsCaptionKeepingBracketsOfItsName) {
    NewGame(kCrews);
    LoginForm login;
    login.form.Show();
    drive::DialogScript script;
    script.AnswerModal([](platform::Form&) {
        OptionsForm* options = OptionsWindow();
        ASSERT_NE(options, nullptr);
        EXPECT_EQ(options->optionTitle.Caption(), "Red (left)(Merchant) ***");
        ASSERT_TRUE(options->pOpt(1));
        EXPECT_EQ(options->pOpt(0)->Caption(), "Merchant");
        EXPECT_TRUE(options->pOpt(0)->Value());
        EXPECT_EQ(options->pOpt(1)->Caption(), "Privateer");
        EXPECT_FALSE(options->pOpt.Exists(2)) << "player 2's option is not offered";
        options->pOpt(1)->SetValue(true);
        ASSERT_TRUE(drive::Click(options->Command1));
    });
    ASSERT_TRUE(drive::Click(login.OptBtn));
    EXPECT_EQ(GameOptionTable.selectedOption[1], 2);
    EXPECT_EQ(Captions(login), (Names{"Red (left)(Privateer) ***", "Blue(Merchant) ***", "Arbitrator ***"}));

    // The arbitrator has no seat options: nothing opens.
    login.SideOption(2)->SetValue(true);
    ASSERT_TRUE(drive::Click(login.OptBtn));
    EXPECT_TRUE(script.Problems().empty());
}

TEST_F(SeatLoginTest, AFreeSeatIsClaimedWithWhateverIsTypedAndThenNeedsExactlyThat) {
    NewGame(kPlain);
    drive::DialogScript script;
    EXPECT_TRUE(LogIn(1));
    EXPECT_EQ(Game.players[1].seatId, "yourID");
    EXPECT_EQ(Game.CurrentPlayer, 1);

    EXPECT_FALSE(LogIn(1, "yourid"));
    EXPECT_EQ(script.Messages(), Names{"Please verify your ID"});
    EXPECT_EQ(Game.CurrentPlayer, -1) << "a refused login takes no seat";
    EXPECT_TRUE(LogIn(1, "yourID"));

    EXPECT_TRUE(LogIn(2, ""));
    EXPECT_EQ(Game.players[2].seatId, "");
    EXPECT_FALSE(LogIn(2, " "));
    EXPECT_TRUE(LogIn(2, ""));
    EXPECT_EQ(Game.CurrentPlayer, 2);
}

TEST_F(SeatLoginTest, TheIDBoxsTextIsSelectedOnFocusSoThatTypingReplacesIt) {
    NewGame(kPlain);
    LoginForm login;
    login.form.Show();
    login.form.Activate();
    // Given the focus (by the Tab key, or by code), then clicked into: the text is selected.
    ASSERT_TRUE(drive::TypeText(login.IDtxt, "alice"));
    EXPECT_EQ(login.IDtxt.Text(), "alice");
    login.Command1.SetFocus();
    ASSERT_TRUE(drive::Click(login.IDtxt));
    platform::PumpEvents();
    EXPECT_EQ(login.IDtxt.SelText(), "alice");
    EXPECT_TRUE(drive::Click(login.Command1));
    EXPECT_EQ(Game.players[1].seatId, "alice");
}

TEST_F(SeatLoginTest, TheArbitratorActsAsSeatOneSeesEverythingAndLeavesTheTurnCounter) {
    NewGame(kCrews);
    Game.turnCounter = 4;
    EXPECT_TRUE(LogIn(0, "judge"));
    EXPECT_EQ(Game.players[kArbitratorSeat].seatId, "judge");
    EXPECT_EQ(Game.players[1].seatId, kNoSeatId);
    EXPECT_EQ(Game.CurrentPlayer, 1);
    EXPECT_EQ(AllCardsVisible, kTrue);
    EXPECT_EQ(ArbitratorLoggedIn, kTrue);
    EXPECT_EQ(Game.turnCounter, 4);

    EXPECT_TRUE(LogIn(2));
    EXPECT_EQ(Game.CurrentPlayer, 2);
    EXPECT_EQ(AllCardsVisible, kFalse);
    EXPECT_EQ(ArbitratorLoggedIn, kFalse);
    EXPECT_EQ(Game.turnCounter, 4) << "a game with an arbitrator counts no logins";
}

TEST_F(SeatLoginTest, WithoutAnArbitratorEveryPlayerLoginCountsATurnAndTestModeShowsAll) {
    NewGame(kPlain);
    EXPECT_TRUE(LogIn(3));
    EXPECT_TRUE(LogIn(2, std::nullopt, true));
    EXPECT_EQ(Game.turnCounter, 2);
    EXPECT_EQ(AllCardsVisible, kTrue);
    EXPECT_EQ(ArbitratorLoggedIn, kFalse);
    Game.turnCounter = 32767;
    EXPECT_TRUE(LogIn(3));
    EXPECT_EQ(Game.turnCounter, 32767) << "the counter stops at its limit";

    GameListKind = kFalse;
    LoginForm login;
    login.form.Show();
    EXPECT_FALSE(login.testModeOpt.Visible()) << "a loaded game offers no test mode";
    EXPECT_FALSE(login.OptBtn.Visible());
    EXPECT_EQ(login.SideOption.Count(), 3);
}

TEST_F(SeatLoginTest, CreateNewGivesEveryFreeSeatItsNameAndANumberAndUpdateTakesTheBoxes) {
    WriteGame("[GAME]\nplayers=4\n[PLAYER 1]\nname=Ann\n[PLAYER 2]\nname=Bob\n"
              "[PLAYER 3]\nname=CHRISTOPHER\n[PLAYER 4]\nname=Dee\n");
    InitGameOptions();
    // A definition's values are trimmed; a name from a saved game may start with blanks.
    Game.players[1].name = "  Ann Marie Long";
    Game.players[4].seatId = "kept";
    SeedRandom(1234);
    PlayerPasswdForm editor;
    editor.form.Show();
    EXPECT_EQ(editor.form.Caption(), "Player Password");
    EXPECT_EQ(editor.nm(1)->Caption(), "Bob");
    EXPECT_EQ(editor.pwd(0)->Text(), "");
    EXPECT_EQ(editor.pwd(3)->Text(), "kept");
    ASSERT_TRUE(drive::Click(editor.Command1));
    EXPECT_TRUE(editor.form.Visible());
    const std::regex ann("ann ma[0-9]{3}"), bob("bob[0-9]{3}"), chris("christop[0-9]{3}");
    EXPECT_TRUE(std::regex_match(Game.players[1].seatId, ann)) << Game.players[1].seatId;
    EXPECT_TRUE(std::regex_match(Game.players[2].seatId, bob)) << Game.players[2].seatId;
    EXPECT_TRUE(std::regex_match(Game.players[3].seatId, chris)) << Game.players[3].seatId;
    EXPECT_EQ(Game.players[4].seatId, "kept");
    EXPECT_EQ(editor.pwd(1)->Text(), Game.players[2].seatId);
    for (int seat = 1; seat <= 3; ++seat) {
        const int number = std::stoi(Game.players[seat].seatId.substr(Game.players[seat].seatId.size() - 3));
        EXPECT_GE(number, 101);
        EXPECT_LE(number, 900);
    }
    // The same seed gives the same IDs.
    const std::string first = Game.players[1].seatId;
    SeedRandom(1234);
    EXPECT_EQ(PlayerPasswdForm::NewSeatID("  Ann Marie Long"), first);

    editor.pwd(1)->SetText("");
    editor.pwd(2)->SetText("chris");
    ASSERT_TRUE(drive::Click(editor.Command2));
    EXPECT_FALSE(editor.form.Visible());
    EXPECT_EQ(Game.players[2].seatId, kNoSeatId) << "an empty box frees the seat";
    EXPECT_EQ(Game.players[3].seatId, "chris");

    // Esc takes nothing over.
    editor.form.Show();
    editor.pwd(3)->SetText("changed");
    ASSERT_TRUE(drive::PressKey(editor.form, platform::keys::kEscape));
    EXPECT_FALSE(editor.form.Visible());
    EXPECT_EQ(Game.players[4].seatId, "kept");
}

TEST_F(SeatLoginTest, TheActingPlayerChangesOnlyWhenASeatIsChosen) {
    WriteGame(kPlain);
    InitGameOptions();
    Game.CurrentPlayer = 1;
    drive::DialogScript script;
    script
        .AnswerModal(
            [](platform::Form& form) { ASSERT_TRUE(drive::PressKey(form, platform::keys::kEscape)); })
        .AnswerModal([](platform::Form& form) {
            // Beside the lines: nobody is chosen.
            ASSERT_TRUE(drive::DoubleClick(form, 1800, 3000));
        })
        .AnswerModal(
            [](platform::Form& form) { ASSERT_TRUE(drive::PressKey(form, platform::keys::kReturn)); })
        .AnswerModal([](platform::Form& form) {
            EXPECT_EQ(form.Caption(), "Select player");
            drive::DoubleClick(form, 600, 400); // the second line
        });
    for (int n = 0; n < 3; ++n) {
        SelectActingPlayer();
        EXPECT_EQ(Game.CurrentPlayer, 1) << n;
    }
    SelectActingPlayer();
    EXPECT_TRUE(script.Problems().empty());
    EXPECT_EQ(Game.CurrentPlayer, 2);
}

TEST_F(SeatLoginTest, ADoubleClickOnANameChoosesIt) {
    PlayerSelectForm window;
    window.form.Show();
    window.NameList.AddItem("Ann");
    window.NameList.AddItem("Bo");
    drive::DoubleClick(window.NameList, 300, 100);
    EXPECT_EQ(window.result, 1);
}
