// The game tree: the outline of the game file in order, and each line's jump to its step.
#include "EditorSupport.h"

#include "editor/TreeForm.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using editortest::Editor;
using testing::ElementsAre;

namespace {

const char* const kGame = "[GAME]\r\nplayers=2\r\ncommon_decks=1\r\ndirectory=pics\r\n"
                          "[PLAYER 1]\r\nname=Red\r\ndecks=1\r\n[PLAYER 2]\r\nname=Blue\r\ndecks=2\r\n"
                          "[DECK 2 PLAYER 2]\r\ndecksize=1\r\ncard1=blue.bmp\r\n"
                          "[REPORTS]\r\nnum_reports=1\r\nreport1=Gold,SUM,HAND,TRUE,gold\r\n";

std::vector<std::string> Lines(const wizard::TreeForm& tree) {
    std::vector<std::string> lines;
    for (int i = 0; i < tree.GameList->ListCount(); ++i)
        lines.push_back(tree.GameList->List(i));
    return lines;
}

TEST(WizardGameTree, TheOutlineListsPlayersTheirDecksCommonDecksAndReportsInOrder) {
    Editor e;
    e.Write("Tree.game", kGame);
    e.OpenGame("Tree");
    wizard::TreeForm& tree = e.window.Tree();
    tree.Build(e.window.GameFile(), 2);
    EXPECT_THAT(Lines(tree),
                ElementsAre("Game Description", "Players Panel", "  *** Player 1 Data ", "           deck #1",
                            "  *** Player 2 Data ", "           deck #1", "           deck #2",
                            "Common Decks Panel", "  *** deck #1", "Properties Panel", "  *** Gold"));
    tree.Build(e.window.GameFile(), 0);
    EXPECT_THAT(Lines(tree), ElementsAre("Game Description", "Players Panel", "Common Decks Panel",
                                         "  *** deck #1", "Properties Panel", "  *** Gold"));
}

TEST(WizardGameTree, EachLineJumpsToItsStep) {
    struct Case {
        int line;
        int step;
        const char* caption;
    };
    const Case cases[] = {
        {1, 1, "Players Info"},   {4, 2, "Data Player #2 Blue"}, {6, 4, "Deck #2 Player # 2 - Blue"},
        {8, 4, "Common Deck #1"}, {10, 7, "Report Detail"},
    };
    for (const Case& c : cases) {
        Editor e;
        e.Write("Tree.game", kGame);
        e.OpenGame("Tree");
        platform::testdriver::DialogScript script;
        script.AnswerModal([&](platform::Form&) { e.window.Tree().Choose(c.line); });
        e.Press(*e.window.TreeBtn);
        EXPECT_EQ(e.window.CurrentStep, c.step) << c.line;
        EXPECT_TRUE(e.window.Wiz[c.step]->Visible()) << c.line;
        EXPECT_EQ(e.window.Wiz[c.step]->Caption(), c.caption) << c.line;
        if (c.line == 6) {
            EXPECT_EQ(e.window.commonList->List(0), "blue.bmp");
        }
        if (c.line == 10) {
            EXPECT_EQ(e.window.RepTitle->Text(), "Gold");
        }
    }
}

TEST(WizardGameTree, ClosingTheTreeWithoutAChoiceStaysWhereTheEditorWas) {
    Editor e;
    e.Write("Tree.game", kGame);
    e.OpenGame("Tree");
    e.Forward();
    platform::testdriver::DialogScript script;
    script.AnswerModal([](platform::Form&) {});
    e.Press(*e.window.TreeBtn);
    EXPECT_EQ(e.window.CurrentStep, 1);
}

TEST(WizardGameTree, AGameOpenedFromTheCommandLineShowsTheFirstOfAStepsPlaces) {
    struct Case {
        const char* game;
        int step;
        const char* caption;
    };
    const Case cases[] = {
        {"Tree", -1, "General Info"},
        {"Tree.game", 2, "Data Player #1 Red"},
        {"Tree", 4, "Common Deck #1"},
        {"Tree", 7, "Report Detail"},
    };
    for (const Case& c : cases) {
        Editor e;
        e.Write("Tree.game", kGame);
        e.window.OpenAt(c.game, c.step);
        EXPECT_EQ(e.window.NameTXT->Text(), "Tree") << c.game;
        EXPECT_EQ(e.window.PLname[1]->Text(), "Blue") << c.game << ": the game is read";
        EXPECT_EQ(e.window.CurrentStep, c.step == -1 ? 0 : c.step);
        EXPECT_EQ(e.window.Wiz[e.window.CurrentStep]->Caption(), c.caption);
        if (c.step == 7) {
            EXPECT_EQ(e.window.RepTitle->Text(), "Gold");
        }
        EXPECT_TRUE(e.messages.Messages().empty()) << c.step;
    }
}

TEST(WizardGameTree, AnOutlineOfMoreThanFiftyPlacesJumpsToEachOfThem) {
    std::string game = "[GAME]\r\nplayers=6\r\ncommon_decks=6\r\n[REPORTS]\r\nnum_reports=8\r\n";
    for (int r = 1; r <= 8; ++r)
        game += "report" + std::to_string(r) + "=R" + std::to_string(r) + ",COUNT,ALL\r\n";
    for (int p = 1; p <= 6; ++p)
        game += "[PLAYER " + std::to_string(p) + "]\r\nname=P" + std::to_string(p) + "\r\ndecks=6\r\n";
    Editor e;
    e.Write("Wide.game", game);
    e.OpenGame("Wide");
    wizard::TreeForm& tree = e.window.Tree();
    tree.Build(e.window.GameFile(), 6);
    // 56 places: 6 players, their 36 decks, 6 common decks and 8 reports, and the 4 panels.
    ASSERT_EQ(tree.GameList->ListCount(), 60);
    EXPECT_EQ(tree.GameList->List(43), "           deck #6");
    EXPECT_EQ(tree.GameList->List(59), "  *** R8");
    struct Case {
        int line;
        int step;
        const char* caption;
    };
    const Case cases[] = {
        {43, 4, "Deck #6 Player # 6 - P6"}, {50, 4, "Common Deck #6"}, {59, 7, "Report Detail"}};
    for (const Case& c : cases) {
        platform::testdriver::DialogScript script;
        script.AnswerModal([&](platform::Form&) { e.window.Tree().Choose(c.line); });
        e.Press(*e.window.TreeBtn);
        EXPECT_EQ(e.window.CurrentStep, c.step) << c.line;
        EXPECT_EQ(e.window.Wiz[c.step]->Caption(), c.caption) << c.line;
    }
    EXPECT_EQ(e.window.CurrentIndex, 7);
    EXPECT_EQ(e.window.RepTitle->Text(), "R8");
}

} // namespace
