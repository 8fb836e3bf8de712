// The deck property window: its boxes read from the deck's section, and only changed boxes
// written back when it closes.
#include "EditorSupport.h"

#include "editor/DeckPropForm.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using editortest::Editor;

namespace {

TEST(WizardDeckProperties, TheBoxesReadTheirKeysAsTheTableEngineDoes) {
    struct Case {
        const char* section;
        bool common;
        int split, viewDiscard, facedown, resize;
    };
    // The discard pile can be examined unless viewDiscard turns it off: missing reads TRUE, any
    // other word than TRUE reads FALSE.
    const Case cases[] = {
        {"[COMMON 1]\r\n", true, 1, 1, 0, 0},
        {"[COMMON 1]\r\nsplit=false\r\nviewDiscard=False\r\ndraw_facedown=true\r\nresize=TRUE\r\n", true, 0,
         0, 1, 1},
        {"[DECK 1 PLAYER 1]\r\nsplit=TRUE\r\nviewDiscard=TRUE\r\n", false, 0, 1, 0, 0},
        {"[DECK 1 PLAYER 1]\r\nviewDiscard=true\r\ndraw_facedown=yes\r\n", false, 0, 1, 0, 0},
        {"[COMMON 1]\r\nviewDiscard=maybe\r\n", true, 1, 0, 0, 0},
    };
    for (const Case& c : cases) {
        Editor e;
        e.Write("P.game", c.section);
        wizard::DeckPropForm form;
        const std::string name = c.common ? "COMMON 1" : "DECK 1 PLAYER 1";
        form.Read(e.folder.Path() + "\\P.game", name, c.common);
        EXPECT_EQ(form.SplitOption->Value(), c.split) << c.section;
        EXPECT_EQ(form.ViewDiscardOpt->Value(), c.viewDiscard) << c.section;
        EXPECT_EQ(form.DrawFacedownOpt->Value(), c.facedown) << c.section;
        EXPECT_EQ(form.resize->Value(), c.resize) << c.section;
    }
}

TEST(WizardDeckProperties, ClosingWritesOnlyTheBoxesThatChangedAndASavedDeckKeepsThem) {
    Editor e;
    const std::string text = "[GAME]\r\nname=Props\r\nplayers=1\r\n[PLAYER 1]\r\nname=Red\r\ndecks=2\r\n"
                             "[DECK 2 PLAYER 1]\r\ndecksize=1\r\ncard1=a.bmp\r\nviewDiscard=false\r\n";
    e.Write("Props.game", text);
    auto& w = e.window;
    e.OpenGame("Props");
    e.Forward();
    e.Press(*w.PL_data[0]);
    e.Press(*w.ShowPlayerDeck[1]);
    ASSERT_EQ(w.Wiz[4]->Caption(), "Deck #2 Player # 1 - Red");

    platform::testdriver::DialogScript script;
    script.AnswerModal([&](platform::Form&) { EXPECT_EQ(w.DeckProperties().ViewDiscardOpt->Value(), 0); });
    e.Press(*w.AdvancedProps);
    EXPECT_EQ(e.Read("Props.game"), text) << "closed unchanged: nothing written";

    script.AnswerModal([&](platform::Form&) { w.DeckProperties().DrawFacedownOpt->SetValue(1); });
    e.Press(*w.AdvancedProps);
    w.SetCardEntry(0, "b.bmp");
    e.Save();
    EXPECT_EQ(e.Read("Props.game"),
              "[GAME]\r\nname=Props\r\nplayers=1\r\n[PLAYER 1]\r\nname=Red\r\ndecks=2\r\n"
              "[DECK 2 PLAYER 1]\r\ndecksize=1\r\ncard1=b.bmp\r\nviewDiscard=false\r\n"
              "draw_facedown=true\r\n")
        << "saving the deck keeps the window's choice";
}

// "Discarded cards can be examined" says what the table does with the deck's discard pile: the
// box shows what viewDiscard means and writes that meaning.
TEST(WizardDeckProperties, TheDiscardBoxShowsAndWritesWhetherThePileCanBeExamined) {
    struct Case {
        const char* key; // the deck's viewDiscard line, "" for none
        int shown;
        int set;
        const char* written; // the line after closing, "" when nothing is written
    };
    const Case cases[] = {
        {"viewDiscard=TRUE\r\n", 1, 1, ""},
        {"viewDiscard=TRUE\r\n", 1, 0, "viewDiscard=false\r\n"},
        {"viewDiscard=FALSE\r\n", 0, 1, "viewDiscard=true\r\n"},
        {"", 1, 0, "viewDiscard=false\r\n"},
    };
    for (const Case& c : cases) {
        Editor e;
        e.Write("View.game",
                std::string("[GAME]\r\nname=View\r\ncommon_decks=1\r\n[COMMON 1]\r\ndecksize=1\r\n"
                            "card1=a.bmp\r\n") +
                    c.key);
        auto& w = e.window;
        e.OpenGame("View");
        e.Forward();
        e.Forward();
        e.Press(*w.ShowCommonDeck[0]);
        int shown = -1;
        platform::testdriver::DialogScript script;
        script.AnswerModal([&](platform::Form&) {
            shown = w.DeckProperties().ViewDiscardOpt->Value();
            w.DeckProperties().ViewDiscardOpt->SetValue(c.set);
        });
        e.Press(*w.AdvancedProps);
        EXPECT_EQ(shown, c.shown) << c.key;
        const std::string expected = std::string("[GAME]\r\nname=View\r\ncommon_decks=1\r\n[COMMON 1]\r\n"
                                                 "decksize=1\r\ncard1=a.bmp\r\n") +
                                     (*c.written ? c.written : c.key);
        EXPECT_EQ(e.Read("View.game"), expected) << c.key << " set to " << c.set;
    }
}

} // namespace
