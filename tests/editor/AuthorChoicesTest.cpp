// What the author chose or typed is never replaced or lost without a word: the property lists
// left unsaved, the image chosen in the folder's list, and what the file holds for a player's
// markers and a report's scope.
#include "EditorSupport.h"

#include "editor/TreeForm.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

using editortest::Editor;
namespace drive = editortest::drive;
using testing::ElementsAre;
using testing::HasSubstr;

namespace {

const char kDropped[] = "The changes to the property lists were not saved and are dropped (\"<< Back\" or "
                        "\"Save\" on their step keeps them)";

// The steps' way to the property lists: 0 -> 1 -> 3 -> 6.
void ToPropertyLists(Editor& e) {
    e.window.OpenAt("Crew", 6);
    ASSERT_EQ(e.window.CurrentStep, 6);
}

TEST(WizardAuthorChoices, UnsavedPropertyListsLeftByIndexOrAReportAreDroppedWithAWordAndLeaveNoText) {
    struct Case {
        const char* way;
        std::function<void(Editor&)> leave;
    };
    const Case cases[] = {
        {"Index",
         [](Editor& e) {
             e.Press(*e.window.TreeBtn);
             EXPECT_EQ(e.window.CurrentStep, 1);
         }},
        {"a report's button",
         [](Editor& e) {
             e.Press(*e.window.ShowReport[0]);
             EXPECT_EQ(e.window.CurrentStep, 7);
         }},
    };
    for (const Case& c : cases) {
        Editor e;
        platform::testdriver::DialogScript script;
        // The game tree's "Players Panel", for the way by Index.
        if (std::string(c.way) == "Index")
            script.AnswerModal([&](platform::Form&) { e.window.Tree().Choose(1); });
        const std::string text =
            "[GAME]\r\nplayers=1\r\n[PLAYER 1]\r\nname=Red\r\n[REPORTS]\r\nnum_reports=1\r\n"
            "report1=Gold,SUM,ALL,FALSE,gold\r\n";
        e.Write("Crew.game", text);
        auto& w = e.window;
        ToPropertyLists(e);
        drive::Click(*w.UsePropOpt);
        ASSERT_TRUE(w.pNameFrame->Visible());
        drive::TypeText(*w.pListName[0], "Crew");
        drive::TypeText(*w.pName[0], "power");
        e.Forward();
        EXPECT_EQ(w.pListName[0]->Text(), "Crew") << c.way << ": Forward on the step keeps what was typed";
        c.leave(e);
        EXPECT_THAT(script.Messages(), ElementsAre(kDropped)) << c.way;
        EXPECT_EQ(e.Read("Crew.game"), text) << c.way << ": nothing was saved";
        w.JumpTo(6, 0, 0);
        EXPECT_EQ(w.UsePropOpt->Value(), 0) << c.way;
        EXPECT_EQ(w.pListName[0]->Text(), "") << c.way << ": no stale text";
        EXPECT_EQ(w.pName[0]->Text(), "") << c.way;
        drive::Click(*w.UsePropOpt);
        drive::TypeText(*w.pListName[0], "Crew");
        drive::TypeText(*w.pName[0], "power");
        e.Back();
        EXPECT_THAT(e.Read("Crew.game"), HasSubstr("[PROP LISTS]\r\ntotal=1\r\nlist1=Crew,power\r\n"))
            << c.way;
        EXPECT_EQ(script.Messages().size(), 1u) << c.way << ": saved lists are not dropped";
    }
}

TEST(WizardAuthorChoices, SavedOrUntouchedPropertyListsLeaveTheStepWithoutAWord) {
    Editor e;
    e.Write("Crew.game", "[GAME]\r\nplayers=1\r\n[PROP LISTS]\r\ntotal=1\r\nlist1=Crew,power\r\n[REPORTS]\r\n"
                         "num_reports=1\r\nreport1=Gold,SUM,ALL,FALSE,power\r\n");
    auto& w = e.window;
    ToPropertyLists(e);
    EXPECT_EQ(w.pListName[0]->Text(), "Crew");
    e.Press(*w.ShowReport[0]);
    EXPECT_EQ(w.RepPropName->Text(), "power");
    e.Back();
    EXPECT_EQ(w.pListName[0]->Text(), "Crew") << "the file's lists show again";
    w.pName[1]->SetText("luck");
    e.Save();
    e.Press(*w.ShowReport[0]);
    EXPECT_TRUE(e.messages.Messages().empty());
    EXPECT_THAT(e.Read("Crew.game"), HasSubstr("list1=Crew,power,luck\r\n"));
}

TEST(WizardAuthorChoices, AClickChoosesOneImageAndTheArrowsTakeTheOneChosen) {
    Editor e;
    for (const char* name : {"pics/a.bmp", "pics/b.bmp", "pics/c.bmp", "pics/d.bmp", "pics/e.bmp"})
        e.Write(name, "");
    e.Write("Deck.game", "[GAME]\r\ndirectory=pics\r\ncommon_decks=1\r\n");
    auto& w = e.window;
    w.OpenAt("Deck", 4);
    ASSERT_EQ(w.File1->ListCount(), 5);
    // The first row, then one further down (whichever the font's line height makes it).
    drive::Click(*w.File1, 300, 60);
    e.Press(*w.AddBack);
    drive::Click(*w.File1, 300, 400);
    const int chosen = w.File1->ListIndex();
    ASSERT_GT(chosen, 0);
    EXPECT_FALSE(w.File1->Selected(0)) << "a click selects one file";
    EXPECT_EQ(w.File1->SelCount(), 1);
    e.Press(*w.AddDiscard);
    EXPECT_EQ(w.backImg->List(0), "a.bmp");
    EXPECT_EQ(w.discardImg->List(0), w.File1->List(chosen)) << "the file chosen, not the first of the list";
    e.Press(*w.AddCards);
    EXPECT_EQ(w.commonList->ListCount(), 1);
    EXPECT_EQ(w.commonList->List(0), w.File1->List(chosen));

    // Several files chosen with Ctrl: "->" of the back takes the one clicked last.
    drive::Click(*w.File1, 300, 60);
    drive::MouseDown(*w.File1, 1, platform::keys::kCtrl, 300, 400);
    drive::MouseUp(*w.File1, 1, platform::keys::kCtrl, 300, 400);
    EXPECT_EQ(w.File1->SelCount(), 2);
    e.Press(*w.AddBack);
    EXPECT_EQ(w.backImg->List(0), w.File1->List(chosen));
    e.Press(*w.AddCards);
    EXPECT_EQ(w.commonList->ListCount(), 3);
}

TEST(WizardAuthorChoices, PlayerUseMarkersShowsWhetherThePlayersSectionHasMarkers) {
    Editor e;
    e.Write("Marked.game",
            "[GAME]\r\nplayers=3\r\n[PLAYER 1]\r\nname=Red\r\nmarkers=2\r\nmarker1=a\r\n"
            "marker2=b\r\n[PLAYER 2]\r\nname=Blue\r\n[PLAYER 3]\r\nname=Green\r\nmarkers=0\r\n");
    auto& w = e.window;
    w.OpenAt("Marked", 2);
    const int expected[] = {1, 0, 0};
    for (int p = 1; p <= 3; ++p) {
        ASSERT_EQ(w.CurrentIndex, p);
        EXPECT_EQ(w.MrkUseOption->Value(), expected[p - 1]) << "player " << p;
        EXPECT_EQ(w.ShowMarkersBtn->Visible(), expected[p - 1] == 1) << "player " << p;
        e.Forward();
    }
}

TEST(WizardAuthorChoices, AReportShowsTheScopeAndTypeTheFileHoldsAndSaveKeepsThem) {
    Editor e;
    const std::string reports = "[REPORTS]\r\nnum_reports=3\r\nreport1=Played,SUM,PLAYED,TRUE,gold\r\n"
                                "report2=Hands,COUNT,HAND,FALSE,gold\r\nreport3=Bare,,,,\r\n";
    e.Write("Reports.game", "[GAME]\r\nplayers=1\r\n[PLAYER 1]\r\nname=Red\r\n" + reports);
    auto& w = e.window;
    struct Case {
        int index;
        const char* type;
        const char* scope;
    };
    const Case cases[] = {{0, "SUM", "PLAYED"}, {1, "COUNT", "HAND"}, {2, "", ""}, {0, "SUM", "PLAYED"}};
    w.OpenAt("Reports", 7);
    for (const Case& c : cases) {
        w.JumpTo(7, c.index, 0);
        EXPECT_EQ(w.repType->Text(), c.type) << "report " << c.index + 1;
        EXPECT_EQ(w.repScope->Text(), c.scope) << "report " << c.index + 1;
    }
    EXPECT_EQ(w.repScope->ListCount(), 4) << "ALL, HAND, SELECTED and the file's own";
    w.JumpTo(7, 1, 0);
    EXPECT_EQ(w.repScope->ListCount(), 3) << "another report's word is not offered";
    w.JumpTo(7, 0, 0);
    e.Save();
    EXPECT_THAT(e.Read("Reports.game"), HasSubstr(reports));
}

} // namespace
