// The editor window's steps: Forward and Back, the counts' checks, refused game names and an
// existing definition read into the steps.
#include "EditorSupport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

using editortest::Editor;
namespace drive = editortest::drive;
using testing::ElementsAre;

namespace {

TEST(WizardSteps, ForwardNeedsAGameNameAndThenWalksTheStepsBothWays) {
    Editor e;
    auto& w = e.window;
    EXPECT_EQ(w.Window().Caption(), "Karvel Wizard - ver 1.0.1");
    EXPECT_TRUE(w.Wiz[0]->Visible());
    e.Forward();
    EXPECT_THAT(e.messages.Messages(), ElementsAre("Please select the game name"));
    EXPECT_EQ(w.CurrentStep, 0);

    w.NameTXT->SetText("Duel");
    const std::vector<int> forward{1, 3, 6, 6};
    for (int expected : forward) {
        e.Forward();
        EXPECT_EQ(w.CurrentStep, expected);
    }
    const std::vector<int> back{3, 1, 0, 0};
    for (int expected : back) {
        e.Back();
        EXPECT_EQ(w.CurrentStep, expected);
        for (int i = 0; i < 8; ++i)
            EXPECT_EQ(w.Wiz[i]->Visible(), i == expected) << "only the current frame shows";
    }
    EXPECT_EQ(e.messages.Messages().size(), 1u);
    EXPECT_FALSE(e.Exists("Duel.game")) << "walking the steps writes nothing";
}

TEST(WizardSteps, PlayerDetailWalksThePlayersAndBackLeavesForThePlayerList) {
    Editor e;
    auto& w = e.window;
    w.NameTXT->SetText("Trio");
    e.Forward();
    e.Type(*w.PlNum, "3");
    EXPECT_TRUE(w.PL_data[2]->Visible());
    EXPECT_FALSE(w.PL_data[3]->Visible());
    e.Type(*w.PLname[0], "Red");
    e.Press(*w.PL_data[0]);
    EXPECT_EQ(w.CurrentStep, 2);
    EXPECT_EQ(w.Wiz[2]->Caption(), "Data Player #1 Red");
    e.Forward();
    e.Forward();
    EXPECT_EQ(w.CurrentIndex, 3);
    e.Forward();
    EXPECT_EQ(w.CurrentIndex, 3) << "no player after the last";
    e.Back();
    e.Back();
    EXPECT_EQ(w.CurrentIndex, 1);
    e.Back();
    EXPECT_EQ(w.CurrentStep, 1);

    e.Type(*w.PlNum, "6");
    e.Press(*w.PL_data[5]);
    e.Type(*w.PlNum, "9");
    e.Forward();
    EXPECT_EQ(w.CurrentIndex, 6) << "a refused count walks no further than the sixth player";
}

TEST(WizardSteps, ACountOutOfRangeIsRefusedAndChangesNothing) {
    struct Case {
        const char* box;
        const char* typed;
        const char* message;
    };
    const Case cases[] = {
        {"CommDecksNum", "7", "Please insert a number from 0 to 6"},
        {"CommDecksNum", "-1", "Please insert a number from 0 to 6"},
        {"PlNum", "9", "Please select a number from 1 to 6"},
        {"repNum", "9", "Please select a number from 1 to 8"},
        {"NumPLdecks", "7", "Please insert a number from 0 to 6"},
    };
    for (const Case& c : cases) {
        Editor e;
        auto& w = e.window;
        platform::TextBox* box = std::string(c.box) == "CommDecksNum" ? w.CommDecksNum.get()
                                 : std::string(c.box) == "PlNum"      ? w.PlNum.get()
                                 : std::string(c.box) == "repNum"     ? w.repNum.get()
                                                                      : w.NumPLdecks.get();
        std::unique_ptr<platform::CommandButton>* buttons =
            std::string(c.box) == "CommDecksNum" ? w.ShowCommonDeck.data()
            : std::string(c.box) == "PlNum"      ? w.PL_data.data()
            : std::string(c.box) == "repNum"     ? w.ShowReport.data()
                                                 : w.ShowPlayerDeck.data();
        e.Type(*box, "2");
        EXPECT_TRUE(buttons[1]->Visible()) << c.box;
        EXPECT_FALSE(buttons[2]->Visible()) << c.box;
        e.messages.Clear();
        e.Type(*box, c.typed);
        EXPECT_THAT(e.messages.Messages(), ElementsAre(c.message)) << c.box << " " << c.typed;
        EXPECT_TRUE(buttons[1]->Visible()) << c.box << ": the rows stay as they were";
        EXPECT_FALSE(buttons[2]->Visible()) << c.box;
        e.Type(*box, "0");
        EXPECT_FALSE(buttons[0]->Visible()) << c.box << ": 0 hides every row";
    }
}

TEST(WizardSteps, LeavingACheckedCountOutOfRangeSaysSoAgainAndKeepsTheFocus) {
    Editor e;
    auto& w = e.window;
    w.NameTXT->SetText("Duel");
    e.Forward();
    // Leaving a box is moving the focus to another control of the window.
    const auto leave = [&](platform::TextBox& box) {
        box.SetFocus();
        platform::PumpEvents();
        w.NextStep->SetFocus();
        platform::PumpEvents();
    };
    e.Type(*w.PlNum, "9");
    leave(*w.PlNum);
    EXPECT_THAT(e.messages.Messages(),
                ElementsAre("Please select a number from 1 to 6", "Please select a number from 1 to 6"));
    EXPECT_TRUE(w.PlNum->HasFocus()) << "the focus stays in the box";
    e.Type(*w.PlNum, "1");
    e.messages.Clear();
    w.NextStep->SetFocus();
    platform::PumpEvents();
    EXPECT_TRUE(e.messages.Messages().empty());
    EXPECT_TRUE(w.NextStep->HasFocus()) << "a valid count lets the focus go";

    e.Forward();
    ASSERT_EQ(w.CurrentStep, 3);
    e.Type(*w.CommDecksNum, "7");
    leave(*w.CommDecksNum);
    EXPECT_THAT(e.messages.Messages(),
                ElementsAre("Please insert a number from 0 to 6", "Please insert a number from 0 to 6"));
    EXPECT_TRUE(w.CommDecksNum->HasFocus());
    e.Type(*w.CommDecksNum, "1");
    e.messages.Clear();
    // A click on "<< Back" leaves the box, which says so once more, and Back goes on; the box hidden
    // with its step says nothing further.
    e.Type(*w.CommDecksNum, "8");
    e.Back();
    EXPECT_EQ(w.CurrentStep, 1);
    EXPECT_THAT(e.messages.Messages(),
                ElementsAre("Please insert a number from 0 to 6", "Please insert a number from 0 to 6"));

    // The deck count of a player is checked only as it is typed.
    e.Press(*w.PL_data[0]);
    e.Type(*w.NumPLdecks, "9");
    e.messages.Clear();
    leave(*w.NumPLdecks);
    EXPECT_TRUE(e.messages.Messages().empty());
}

TEST(WizardSteps, LeavingTheNameBoxReadsTheGameItNamesOnce) {
    Editor e;
    e.Write("Duel.game", "[GAME]\r\nname=Duel\r\nplayers=2\r\ndirectory=pics\r\n"
                         "[PLAYER 1]\r\nname=Red\r\n[PLAYER 2]\r\nname=Blue\r\n");
    auto& w = e.window;
    w.NameTXT->SetFocus();
    platform::PumpEvents();
    w.NameTXT->SetText("Duel");
    w.descTxt->SetFocus();
    platform::PumpEvents();
    EXPECT_EQ(w.DirName->Text(), "pics");
    EXPECT_EQ(w.PLname[1]->Text(), "Blue");

    // What the user typed since is not read over by passing through the name box again.
    e.Type(*w.descTxt, "Two players");
    w.NameTXT->SetFocus();
    platform::PumpEvents();
    w.descTxt->SetFocus();
    platform::PumpEvents();
    EXPECT_EQ(w.descTxt->Text(), "Two players");
}

TEST(WizardSteps, AGameNameThatCannotBeAFileNameIsRefusedOnForwardAndOnSave) {
    for (const std::string name :
         {"a\\b", "a/b", "a:b", "a*b", "a?b", "a\"b", "a<b", "a>b", "a|b", ".hidden"}) {
        Editor e;
        auto& w = e.window;
        w.NameTXT->SetText(name);
        e.Forward();
        EXPECT_EQ(w.CurrentStep, 0) << name;
        ASSERT_EQ(e.messages.Messages().size(), 1u) << name;
        EXPECT_THAT(e.messages.Messages()[0], testing::HasSubstr("cannot be used as a file name")) << name;
        e.Save();
        EXPECT_EQ(e.messages.Messages().size(), 2u) << name << ": Save refuses it too";
        EXPECT_TRUE(std::filesystem::is_empty(e.folder.Path())) << name << ": nothing is written";
    }
}

TEST(WizardSteps, AnExistingDefinitionFillsTheStepsWithCountsClampedToTheWindows) {
    Editor e;
    e.Write("Big.game",
            "[GAME]\nname=Big\ndescription=First line\\nSecond line\nplayers=7\ndirectory=pics\n"
            "common_decks=7\ndesktop=felt.jpg\n[PLAYER 1]\nname=Red\ndecks=2\n[player 2]\nname=Blue\n"
            "decks=1\n[PLAYER 3]\nname=Green\n");
    auto& w = e.window;
    e.OpenGame("Big");
    EXPECT_EQ(w.descTxt->Text(), "First line\r\nSecond line");
    EXPECT_EQ(w.DirName->Text(), "pics");
    EXPECT_EQ(w.PlNum->Text(), "6");
    EXPECT_EQ(w.CommDecksNum->Text(), "6");
    EXPECT_EQ(w.DeskTopImage->Caption(), "felt.jpg");
    EXPECT_EQ(w.PLname[1]->Text(), "Blue");
    EXPECT_EQ(w.PL_data[0]->Caption(), "Player # 1 data (2 decks)");
    EXPECT_EQ(w.PL_data[1]->Caption(), "Player # 2 data (1 deck)");
    EXPECT_EQ(w.PL_data[2]->Caption(), "Player # 3 data (NO decks)");
    EXPECT_TRUE(w.ShowCommonDeck[5]->Visible());
    EXPECT_TRUE(e.messages.Messages().empty()) << "a clamped count is no error of the user";
}

// The user selects what a box shows and types over it.
void TypeOver(platform::TextBox& box, const std::string& text) {
    box.SetSelStart(0);
    box.SetSelLength(static_cast<int>(box.Text().size()));
    drive::TypeText(box, text);
}

// A definition with seven players and seven common decks (and a player owning seven decks): the
// boxes show 6, and typing 6 is the author's choice to cut the game to six.
TEST(WizardSteps, TypingTheCountABoxShowsClampedCutsTheGameToIt) {
    std::string players;
    for (int p = 1; p <= 7; ++p)
        players += "[PLAYER " + std::to_string(p) + "]\r\nname=Seat" + std::to_string(p) + "\r\n";
    const std::string text =
        "[GAME]\r\nname=Seven\r\nplayers=7\r\ndirectory=pics\r\ncommon_decks=7\r\n" + players;
    Editor e;
    e.Write("Seven.game", text);
    auto& w = e.window;
    e.OpenGame("Seven");
    ASSERT_EQ(w.PlNum->Text(), "6");
    ASSERT_EQ(w.CommDecksNum->Text(), "6");
    e.Save();
    EXPECT_EQ(e.Read("Seven.game"), text) << "shown clamped, not edited: the file keeps its counts";

    TypeOver(*w.PlNum, "6");
    EXPECT_EQ(w.PlNum->Text(), "6");
    e.Save();
    std::string expected = text;
    expected.replace(expected.find("players=7"), 9, "players=6");
    EXPECT_EQ(e.Read("Seven.game"), expected);
    e.Forward();
    e.Forward();
    TypeOver(*w.CommDecksNum, "6");
    e.Save();
    expected.replace(expected.find("common_decks=7"), 14, "common_decks=6");
    EXPECT_EQ(e.Read("Seven.game"), expected);
    // A count edited and typed back to what the file holds changes nothing.
    TypeOver(*w.CommDecksNum, "5");
    TypeOver(*w.CommDecksNum, "6");
    e.Save();
    EXPECT_EQ(e.Read("Seven.game"), expected);

    // A player's deck count is written as it is typed.
    const auto owning = [&](const std::string& decks) {
        std::string owner = text;
        return owner.insert(owner.find("[PLAYER 2]"), "decks=" + decks + "\r\n");
    };
    e.Write("Seven.game", owning("7"));
    e.Back();
    ASSERT_EQ(w.CurrentStep, 1);
    e.Press(*w.PL_data[0]);
    ASSERT_EQ(w.NumPLdecks->Text(), "6");
    TypeOver(*w.NumPLdecks, "6");
    EXPECT_EQ(e.Read("Seven.game"), owning("6"));
    EXPECT_TRUE(e.messages.Messages().empty());
}

TEST(WizardSteps, CommonDecksAreSavedAndLoadedWhenForwardAndBackWalkThem) {
    Editor e;
    e.Write("Two.game", "[GAME]\ncommon_decks=2\ndirectory=pics\n[COMMON 1]\ndecksize=1\ncard1=a.bmp\n"
                        "[COMMON 2]\ndecksize=2\ncard1=(x2)b.bmp\ncard2=(x4)c.bmp\n");
    e.Write("pics/x.bmp", "");
    auto& w = e.window;
    e.OpenGame("Two");
    e.Forward();
    e.Forward();
    e.Press(*w.ShowCommonDeck[0]);
    EXPECT_EQ(w.Wiz[4]->Caption(), "Common Deck #1");
    EXPECT_THAT(w.File1->ListCount(), 1);
    w.File1->SetSelected(0, true);
    e.Press(*w.AddCards);
    EXPECT_EQ(w.commLabel->Caption(), "Cards: 2 (tot: 2)");
    e.Forward();
    EXPECT_EQ(w.CurrentIndex, 2);
    EXPECT_EQ(w.commLabel->Caption(), "Cards: 2 (tot: 6)");
    EXPECT_THAT(e.Read("Two.game"), testing::HasSubstr("[COMMON 1]\ndecksize=2\ncard1=a.bmp\ncard2=x.bmp\n"));
    e.Forward();
    EXPECT_EQ(w.CurrentIndex, 2) << "no deck after the last";
    e.Press(*w.ClearCards);
    e.Back();
    EXPECT_EQ(w.CurrentIndex, 1);
    EXPECT_THAT(e.Read("Two.game"), testing::HasSubstr("[COMMON 2]\ndecksize=0\n"));
    EXPECT_EQ(w.commonList->ListCount(), 2);
    e.Press(*w.ClearCards);
    e.Back();
    EXPECT_EQ(w.CurrentStep, 3);
    EXPECT_THAT(e.Read("Two.game"), testing::HasSubstr("[COMMON 1]\ndecksize=2\n"))
        << "leaving the first deck backwards does not save it";
}

TEST(WizardSteps, ReportsAreShownFromTheFileAndBackWalksThemToTheListStep) {
    Editor e;
    e.Write("Rep.game",
            "[PROP LISTS]\ntotal=2\nlist1=Combat,power,gold\nlist2=Money,gold\n"
            "[REPORTS]\nnum_reports=3\nreport1=Power,SUM,ALL,FALSE,power\nreport2=Gold,SUM,HAND,TRUE,gold\n"
            "report3=Count,COUNT,SELECTED\n");
    auto& w = e.window;
    e.OpenGame("Rep");
    e.Forward();
    e.Forward();
    e.Forward();
    EXPECT_EQ(w.CurrentStep, 6);
    EXPECT_EQ(w.UsePropOpt->Value(), 1);
    EXPECT_EQ(w.pName[6]->Text(), "gold");
    EXPECT_TRUE(w.ShowReport[2]->Visible());
    EXPECT_FALSE(w.ShowReport[3]->Visible());
    e.Press(*w.ShowReport[1]);
    EXPECT_EQ(w.RepTitle->Text(), "Gold");
    EXPECT_EQ(w.repType->Text(), "SUM");
    EXPECT_EQ(w.repScope->Text(), "HAND");
    EXPECT_EQ(w.RepOnlyOwned->Value(), 1);
    EXPECT_EQ(w.RepPropName->ListIndex(), 2) << "the last of the names that match";
    e.Back();
    EXPECT_EQ(w.RepTitle->Text(), "Power");
    e.Back();
    EXPECT_EQ(w.CurrentStep, 6);
}

} // namespace
