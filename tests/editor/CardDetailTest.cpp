// The card detail window: the copy count and the property values of one card of the deck.
#include "EditorSupport.h"

#include "editor/CardDetailForm.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using editortest::Editor;
using testing::ElementsAre;

namespace {

// A game with two property lists and a deck of the given card lines, shown on its step.
void OpenDeck(Editor& e, const std::string& cards) {
    e.Write("Cards.game", "[GAME]\r\ncommon_decks=1\r\ndirectory=pics\r\n[PROP LISTS]\r\ntotal=2\r\n"
                          "list1=Combat,power,defence\r\nlist2=Magic,mana\r\n[COMMON 1]\r\n" +
                              cards);
    e.OpenGame("Cards");
    e.Forward();
    e.Forward();
    e.Press(*e.window.ShowCommonDeck[0]);
}

TEST(WizardCardDetail, TheEntryGivesTheCountAndTheImageAndUpdateWritesThemBack) {
    struct Case {
        const char* entry;
        const char* shownCount;
        const char* shownImage;
        const char* typedCount;
        const char* updated;
    };
    const Case cases[] = {
        {"(x12)dragon.bmp", "12", "dragon.bmp", "3", "(x3)dragon.bmp"},
        {"dragon.bmp", "1", "dragon.bmp", "1", "dragon.bmp"},
        {"(x2) dragon.bmp", "2", "dragon.bmp", "0", "dragon.bmp"},
        {"(x0)dragon.bmp", "1", "dragon.bmp", " 4 ", "(x4)dragon.bmp"},
    };
    for (const Case& c : cases) {
        Editor e;
        OpenDeck(e, std::string("decksize=1\r\ncard1=") + c.entry + "\r\n");
        auto& w = e.window;
        w.commonList->SetListIndex(0);
        editortest::drive::DoubleClick(*w.commonList, 300, 90);
        wizard::CardDetailForm& detail = w.CardDetail();
        EXPECT_TRUE(detail.form_.Visible()) << c.entry;
        EXPECT_EQ(detail.CrdX->Text(), c.shownCount) << c.entry;
        EXPECT_EQ(detail.Label1->Caption(), c.shownImage) << c.entry;
        detail.CrdX->SetText(c.typedCount);
        e.Press(*detail.UpdateBtn);
        EXPECT_FALSE(detail.form_.Visible()) << c.entry;
        EXPECT_EQ(w.commonList->List(0), c.updated) << c.entry;
    }
}

TEST(WizardCardDetail, UpdateSetsTheChosenListsValuesAndKeepsTheOtherLists) {
    Editor e;
    OpenDeck(e, "decksize=1\r\ncard1=a.bmp,,power=5|mana=2|luck=1\r\n");
    auto& w = e.window;
    w.commonList->SetListIndex(0);
    editortest::drive::DoubleClick(*w.commonList, 300, 90);
    wizard::CardDetailForm& d = w.CardDetail();
    ASSERT_TRUE(d.propFrame->Visible());
    EXPECT_EQ(d.pListNames->Text(), "Combat");
    EXPECT_EQ(d.lbl[1]->Caption(), "defence");
    EXPECT_EQ(d.pName[0]->Text(), "5");
    d.pName[0]->SetText("6");
    d.pName[1]->SetText("2");
    e.Press(*d.UpdateBtn);
    EXPECT_EQ(w.Deck.Properties(w.CardId(0)), "power=6|mana=2|luck=1|defence=2");

    w.commonList->SetListIndex(0);
    editortest::drive::DoubleClick(*w.commonList, 300, 90);
    d.pListNames->SetListIndex(1);
    EXPECT_EQ(d.lbl[0]->Caption(), "mana");
    EXPECT_EQ(d.pName[0]->Text(), "2");
    d.pName[0]->SetText("");
    e.Press(*d.UpdateBtn);
    EXPECT_EQ(w.Deck.Properties(w.CardId(0)), "power=6|luck=1|defence=2") << "an emptied value goes";
    e.Save();
    EXPECT_THAT(e.Read("Cards.game"), testing::HasSubstr("card1=a.bmp,,power=6|luck=1|defence=2\r\n"));
}

TEST(WizardCardDetail, ABadValueOrNoSelectedCardChangesNothing) {
    Editor e;
    OpenDeck(e, "decksize=1\r\ncard1=a.bmp,,power=5\r\n");
    auto& w = e.window;
    for (const char* bad : {"1,2", "a|b", "x=y"}) {
        w.commonList->SetListIndex(0);
        editortest::drive::DoubleClick(*w.commonList, 300, 90);
        w.CardDetail().pName[0]->SetText(bad);
        e.Press(*w.CardDetail().UpdateBtn);
        EXPECT_TRUE(w.CardDetail().form_.Visible()) << bad << ": the window stays for a better value";
        EXPECT_EQ(w.Deck.Properties(w.CardId(0)), "power=5") << bad;
        w.CardDetail().form_.Unload();
    }
    EXPECT_EQ(e.messages.Messages().size(), 3u);

    w.commonList->SetListIndex(-1);
    w.CardDetail().Open(false);
    w.CardDetail().CrdX->SetText("4");
    e.Press(*w.CardDetail().UpdateBtn);
    EXPECT_FALSE(w.CardDetail().form_.Visible());
    EXPECT_EQ(w.commonList->List(0), "a.bmp");
}

TEST(WizardCardDetail, ACopyCountPastTheCardsAGameHoldsIsRefused) {
    Editor e;
    OpenDeck(e, "decksize=2\r\ncard1=a.bmp\r\ncard2=(x400)b.bmp\r\n");
    auto& w = e.window;
    w.commonList->SetListIndex(0);
    editortest::drive::DoubleClick(*w.commonList, 300, 90);
    w.CardDetail().CrdX->SetText("101");
    e.Press(*w.CardDetail().UpdateBtn);
    EXPECT_THAT(e.messages.Messages(), ElementsAre("A deck holds at most 500 cards"));
    EXPECT_EQ(w.commonList->List(0), "a.bmp");
    w.CardDetail().CrdX->SetText("100");
    e.Press(*w.CardDetail().UpdateBtn);
    EXPECT_EQ(w.commLabel->Caption(), "Cards: 2 (tot: 500)");
}

} // namespace
