// What saving writes into the game file: the keys of a new game in their order, nothing at all
// for a definition saved without an edit, and only the changed keys of an edited deck.
#include "EditorSupport.h"

#include "common/Helpers.h"
#include "editor/DeckPropForm.h"
#include "editor/DefinitionKeys.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using editortest::Editor;
using testing::ElementsAre;
using testing::HasSubstr;

namespace {

// The user walks from the first step to the common decks and opens one.
void ShowCommonDeck(Editor& e, int number) {
    e.Forward();
    e.Forward();
    ASSERT_EQ(e.window.CurrentStep, 3);
    e.Press(*e.window.ShowCommonDeck[number - 1]);
    ASSERT_EQ(e.window.CurrentStep, 4);
}

// A one-character separator is cut in a pass of its own: it must cut as the general field
// functions do, empty fields and a trailing separator included.
TEST(WizardWrite, SplittingAtOneCharacterCutsAsTheFieldFunctions) {
    for (const std::string text : {"", ",", "a", "a,b", ",a,,b,", "c1.gif,,power=1|suit=2,K1,", "a b  c "})
        for (const std::string separator : {",", " ", "|"}) {
            SCOPED_TRACE("\"" + text + "\" at \"" + separator + "\"");
            EXPECT_EQ(wizard::SplitAll(text, separator),
                      GetFields(text, CountFields(text, separator), separator));
        }
    EXPECT_EQ(wizard::SplitCardFields("a.gif,,p=1"), (std::vector<std::string>{"a.gif", "", "p=1", "", ""}));
}

TEST(WizardWrite, ANewGameGetsItsKeysInTheirOrder) {
    Editor e;
    auto& w = e.window;
    w.NameTXT->SetText("Duel");
    e.Forward();
    e.Type(*w.PlNum, "2");
    e.Type(*w.PLname[0], "Red");
    e.Type(*w.PLname[1], "Blue");
    w.DirName->SetText("pics");
    w.descTxt->SetText("Two lines\r\nof rules");
    e.Save();
    EXPECT_EQ(e.Read("Duel.game"),
              "[GAME]\r\nname=Duel\r\ndescription=Two lines\\nof rules\r\nplayers=2\r\n"
              "directory=pics\r\ncommon_decks=0\r\ndesktop=\r\n\r\n[Player 1]\r\nname=Red\r\n"
              "\r\n[Player 2]\r\nname=Blue\r\n");
    EXPECT_TRUE(e.messages.Messages().empty());
    EXPECT_EQ(w.LastCheckReport, "") << "nothing is missing";
}

const char* const kHandWritten =
    "; written by hand\r\n"
    "[GAME]\r\nname=Hand\r\n"
    "description=%LONG%\r\n"
    "players=7\r\ndirectory=pics\r\ncommon_decks=7\r\ndesktop=felt.jpg\r\nhandSize=5\r\n"
    "[PLAYER 1]\r\nname=Red\r\ndecks=1\r\n[player 2]\r\nname=Blue\r\n[PLAYER 7]\r\nname=Seventh\r\n"
    "[COMMON 1]\r\ndeckSize=5\r\nlastCard=4\r\nimg_back=back.bmp\r\nimg_discard=disc.bmp\r\n"
    "card1=(x2)a.bmp,burn,power=3,K1,opt\r\ncard2=b.bmp,,,,\r\ncard4=c.bmp\r\nviewDiscard=FALSE\r\n"
    "[DECK 1 PLAYER 1]\r\ndecksize=3\r\ncard1=x.bmp,,,,\r\ncard2=y.bmp\r\n"
    "[PROP LISTS]\r\ntotal=1\r\nlist1=Combat,power\r\n"
    "[REPORTS]\r\nnum_reports=1\r\nreport1=Power,SUM,ALL,FALSE,power\r\n"
    "[DICE]\r\ndice1=2d6\r\n[EFFECTS]\r\nburn=ELIMINATE\r\n[setup default]\r\nplayer1=0,0,1000,1000\r\n";

std::string HandWritten() {
    std::string text = kHandWritten;
    text.replace(text.find("%LONG%"), 6, std::string(300, 'w'));
    return text;
}

TEST(WizardWrite, SavingWithoutAnEditLeavesAnyDefinitionByteForByte) {
    Editor e;
    const std::string text = HandWritten();
    e.Write("Hand.game", text);
    e.Write("pics/a.bmp", "");
    auto& w = e.window;
    e.OpenGame("Hand");
    e.Save();
    e.Forward();
    e.Press(*w.PL_data[0]);
    e.Press(*w.ShowPlayerDeck[0]);
    e.Save();
    e.Back();
    e.Back();
    e.Forward();
    e.Press(*w.ShowCommonDeck[0]);
    EXPECT_EQ(w.commLabel->Caption(), "Cards: 3 (tot: 4)");
    e.Save();
    e.Forward();
    e.Back();
    e.Back();
    e.Forward();
    EXPECT_EQ(w.CurrentStep, 6);
    e.Save();
    e.Press(*w.ShowReport[0]);
    e.Back();
    e.Back();
    EXPECT_EQ(e.Read("Hand.game"), text);
    EXPECT_TRUE(e.messages.Messages().empty());
}

TEST(WizardWrite, AnEditedDeckRewritesOnlyItsChangedLinesAndKeepsTheFieldsItDoesNotEdit) {
    Editor e;
    e.Write("Deck.game",
            "[GAME]\r\nname=Deck\r\ncommon_decks=1\r\ndirectory=pics\r\n[COMMON 1]\r\ndecksize=5\r\n"
            "card1=a.bmp,burn,power=3,K1,opt\r\ncard2=b.bmp,,,,\r\ncard3=c.bmp\r\ncard4=d.bmp\r\n"
            "card5=e.bmp\r\n");
    auto& w = e.window;
    e.OpenGame("Deck");
    ShowCommonDeck(e, 1);
    w.SetCardEntry(0, "(x3)a.bmp");
    w.commonList->SetListIndex(4);
    e.Press(*w.RemoveCard);
    w.commonList->SetListIndex(3);
    e.Press(*w.RemoveCard);
    e.Save();
    EXPECT_EQ(e.Read("Deck.game"),
              "[GAME]\r\nname=Deck\r\ncommon_decks=1\r\ndirectory=pics\r\n[COMMON 1]\r\ndecksize=3\r\n"
              "card1=(x3)a.bmp,burn,power=3,K1,opt\r\ncard2=b.bmp,,,,\r\ncard3=c.bmp\r\n"
              "card4=d.bmp\r\ncard5=e.bmp\r\n")
        << "only the changed keys; lines above the new size stay";
    w.SetCardEntry(0, "a.bmp");
    e.Save();
    EXPECT_THAT(e.Read("Deck.game"), HasSubstr("decksize=3\r\ncard1=a.bmp,burn,power=3,K1,opt\r\n"))
        << "an edit taken back after a save is saved too";
}

TEST(WizardWrite, CardsEditedOverSeveralSavesKeepTheirOtherFieldsAndTheirProperties) {
    Editor e;
    e.Write("Many.game",
            "[GAME]\r\nname=Many\r\ncommon_decks=1\r\ndirectory=pics\r\n[COMMON 1]\r\ndecksize=3\r\n"
            "card1=a.bmp,burn,power=3,K1,opt\r\ncard2=b.bmp\r\ncard3=c.bmp,,luck=1\r\n");
    e.Write("pics/d.bmp", "");
    auto& w = e.window;
    e.OpenGame("Many");
    ShowCommonDeck(e, 1);
    const long first = w.CardId(0), second = w.CardId(1), third = w.CardId(2);
    w.Deck.SetProperties(first, "power=10|mana=2");
    w.SetCardEntry(1, "(x2)b.bmp");
    w.commonList->SetListIndex(2);
    e.Press(*w.RemoveCard);
    e.Save();
    EXPECT_EQ(e.Read("Many.game"),
              "[GAME]\r\nname=Many\r\ncommon_decks=1\r\ndirectory=pics\r\n[COMMON 1]\r\ndecksize=2\r\n"
              "card1=a.bmp,burn,power=10|mana=2,K1,opt\r\ncard2=(x2)b.bmp\r\n"
              "card3=c.bmp,,luck=1\r\n");
    EXPECT_EQ(w.Deck.Properties(first), "power=10|mana=2");
    EXPECT_EQ(w.Deck.Properties(third), "luck=1") << "a card taken off the list keeps what it had";

    // The second save starts from what the first one wrote.
    e.Press(*w.SelectAll);
    e.Press(*w.AddCards);
    ASSERT_EQ(w.commonList->ListCount(), 3);
    w.Deck.SetProperties(w.CardId(2), "power=1");
    w.SetCardEntry(0, "(x3)a.bmp");
    w.Deck.SetProperties(second, "");
    e.Save();
    const std::string saved =
        "[GAME]\r\nname=Many\r\ncommon_decks=1\r\ndirectory=pics\r\n[COMMON 1]\r\ndecksize=3\r\n"
        "card1=(x3)a.bmp,burn,power=10|mana=2,K1,opt\r\ncard2=(x2)b.bmp\r\n"
        "card3=d.bmp,,power=1\r\n";
    EXPECT_EQ(e.Read("Many.game"), saved);
    for (const long id : {first, second, w.CardId(2)})
        w.Deck.SetProperties(id, w.Deck.Properties(id));
    e.Save();
    EXPECT_EQ(e.Read("Many.game"), saved) << "properties set to what they were change nothing";
    e.Back();
    e.Press(*w.ShowCommonDeck[0]);
    EXPECT_EQ(w.Deck.Properties(w.CardId(0)), "power=10|mana=2");
    EXPECT_EQ(w.Deck.Properties(w.CardId(2)), "power=1");
    EXPECT_TRUE(e.messages.Messages().empty());
}

TEST(WizardWrite, ANewDeckIsWrittenWithItsDefaultsAndItsCardsProperties) {
    Editor e;
    e.Write("New.game", "[GAME]\r\ncommon_decks=1\r\ndirectory=pics\r\n[PLAYER 1]\r\nname=Red\r\n");
    e.Write("pics/a.bmp", "");
    e.Write("pics/b.bmp", "");
    auto& w = e.window;
    e.OpenGame("New");
    ShowCommonDeck(e, 1);
    e.Press(*w.SelectAll);
    e.Press(*w.AddCards);
    w.SetCardEntry(0, "(x2)a.bmp");
    w.Deck.SetProperties(w.CardId(0), "power=3");
    w.File1->SetSelected(1, false);
    e.Press(*w.AddBack);
    e.Save();
    EXPECT_THAT(e.Read("New.game"), HasSubstr("[COMMON 1]\r\ndecksize=2\r\nimg_back=a.bmp\r\nimg_discard=\r\n"
                                              "deal=\r\nsplit=false\r\ndraw_facedown=false\r\n"
                                              "card1=(x2)a.bmp,,power=3\r\ncard2=b.bmp\r\n"));
}

// The user presses "Save" on a deck without a back or discard image: the check report that
// says so is read and closed.
void SaveThroughTheCheck(Editor& e) {
    platform::testdriver::DialogScript script;
    script.AnswerModal([](platform::Form& form) { EXPECT_EQ(form.Caption(), "Check Phase"); });
    e.Save();
    EXPECT_TRUE(script.Problems().empty());
    EXPECT_TRUE(script.Messages().empty());
}

TEST(WizardWrite, ADeckTheFileLacksWritesNothingUntilItHoldsSomethingAndThenItsDefaults) {
    Editor e;
    const std::string text = "[GAME]\r\nname=New\r\nplayers=1\r\ndirectory=pics\r\ncommon_decks=2\r\n"
                             "[PLAYER 1]\r\nname=Red\r\n";
    e.Write("New.game", text);
    e.Write("pics/a.bmp", "");
    auto& w = e.window;
    e.OpenGame("New");
    ShowCommonDeck(e, 1);
    // Saved twice, walked to the next deck and back, saved again: nobody touched the decks.
    SaveThroughTheCheck(e);
    SaveThroughTheCheck(e);
    e.Forward();
    SaveThroughTheCheck(e);
    e.Back();
    SaveThroughTheCheck(e);
    e.Back();
    ASSERT_EQ(w.CurrentStep, 3);
    EXPECT_EQ(e.Read("New.game"), text);

    // Cards added after the empty saves: the deck is new to the file and is neither split nor
    // drawn face down.
    e.Press(*w.ShowCommonDeck[0]);
    e.Press(*w.SelectAll);
    e.Press(*w.AddCards);
    SaveThroughTheCheck(e);
    // The second deck: the deck property window chose to draw it face down before it had cards.
    e.Forward();
    platform::testdriver::DialogScript script;
    script.AnswerModal([&](platform::Form&) { w.DeckProperties().DrawFacedownOpt->SetValue(1); });
    e.Press(*w.AdvancedProps);
    e.Press(*w.SelectAll);
    e.Press(*w.AddCards);
    e.Back();
    EXPECT_EQ(e.Read("New.game"), text +
                                      "\r\n[COMMON 1]\r\ndecksize=1\r\nimg_back=\r\nimg_discard=\r\ndeal=\r\n"
                                      "split=false\r\ndraw_facedown=false\r\ncard1=a.bmp\r\n"
                                      "\r\n[COMMON 2]\r\ndraw_facedown=true\r\ndecksize=1\r\nimg_back=\r\n"
                                      "img_discard=\r\ndeal=\r\nsplit=false\r\ncard1=a.bmp\r\n");
    EXPECT_TRUE(script.Problems().empty());
}

TEST(WizardWrite, SaveWritesTheGamesNameWhereTheFileHoldsAnotherOrNone) {
    struct Case {
        const char* header; // the [GAME] lines before players
        const char* saved;  // the same lines after Save
    };
    const Case cases[] = {
        {"name=Alpha\r\n", "name=Alpha\r\n"},
        {"name=Beta\r\n", "name=Alpha\r\n"},
        {"NAME = alpha\r\n", "NAME=Alpha\r\n"},
        {"", ""},
    };
    for (const Case& c : cases) {
        Editor e;
        const std::string rest = "players=1\r\ndirectory=pics\r\n";
        e.Write("Alpha.game", "[GAME]\r\n" + std::string(c.header) + rest + "[PLAYER 1]\r\nname=Red\r\n");
        e.OpenGame("Alpha");
        e.Save();
        const std::string name = *c.header ? "" : "name=Alpha\r\n";
        EXPECT_EQ(e.Read("Alpha.game"),
                  "[GAME]\r\n" + std::string(c.saved) + rest + name + "[PLAYER 1]\r\nname=Red\r\n")
            << c.header;
        EXPECT_TRUE(e.messages.Messages().empty());
    }
}

TEST(WizardWrite, AnImageWhoseNameWouldBreakItsCardLineIsNotAdded) {
    Editor e;
    e.Write("Comma.game", "[GAME]\r\ncommon_decks=1\r\ndirectory=pics\r\n");
    e.Write("pics/a,b.bmp", "");
    e.Write("pics/c.bmp", "");
    auto& w = e.window;
    e.OpenGame("Comma");
    ShowCommonDeck(e, 1);
    e.Press(*w.SelectAll);
    e.Press(*w.AddCards);
    EXPECT_THAT(e.messages.Messages(),
                ElementsAre("The image a,b.bmp has a \",\" in its name, which would break its card line"));
    ASSERT_EQ(w.CardEntries().size(), 1u);
    EXPECT_EQ(w.CardEntries()[0].text, "c.bmp");
}

TEST(WizardWrite, AnExistingDeckKeepsItsSplitAndFaceDownChoice) {
    Editor e;
    e.Write("Old.game",
            "[GAME]\r\nname=Old\r\ncommon_decks=1\r\n[COMMON 1]\r\ndecksize=1\r\ncard1=a.bmp\r\n");
    auto& w = e.window;
    e.OpenGame("Old");
    ShowCommonDeck(e, 1);
    w.SetCardEntry(0, "z.bmp");
    e.Save();
    EXPECT_EQ(e.Read("Old.game"),
              "[GAME]\r\nname=Old\r\ncommon_decks=1\r\n[COMMON 1]\r\ndecksize=1\r\ncard1=z.bmp\r\n");
}

TEST(WizardWrite, ALastCardDeckIsWrittenWithoutGapsAndItsNewLineCount) {
    Editor e;
    e.Write("Last.game", "[GAME]\r\nname=Last\r\ncommon_decks=1\r\n[COMMON 1]\r\ndeckSize=6\r\nlastCard=4\r\n"
                         "card1=(x3)a.bmp\r\ncard2=b.bmp\r\ncard4=d.bmp\r\n");
    auto& w = e.window;
    e.OpenGame("Last");
    ShowCommonDeck(e, 1);
    ASSERT_EQ(w.commonList->ListCount(), 3) << "a missing line under lastCard makes no entry";
    w.commonList->SetListIndex(1);
    e.Press(*w.RemoveCard);
    e.Save();
    EXPECT_EQ(e.Read("Last.game"),
              "[GAME]\r\nname=Last\r\ncommon_decks=1\r\n[COMMON 1]\r\ndeckSize=4\r\nlastCard=2\r\n"
              "card1=(x3)a.bmp\r\ncard2=d.bmp\r\ncard4=d.bmp\r\n");
}

TEST(WizardWrite, ADeckFindsItsCardLinesAsTheTableLooksThemUp) {
    Editor e;
    // Key names match without regard to case, the first of two spellings wins, a number with a
    // leading zero or past the deck size names no line.
    e.Write("Keys.game", "[GAME]\r\ncommon_decks=1\r\n[COMMON 1]\r\ndecksize=4\r\n"
                         "CARD2=b.bmp,,power=2\r\ncard02=zero.bmp\r\ncard1= \"a.bmp,fx,power=1\" \r\n"
                         "Card2=late.bmp\r\ncard5=five.bmp\r\ncard=none.bmp\r\ncard4x=x.bmp\r\n"
                         "card4=d.bmp\r\n[common 1]\r\ncard3=hidden.bmp\r\n");
    wizard::DeckData deck;
    deck.Load("Keys.game", "COMMON 1");
    std::vector<std::string> texts;
    for (const wizard::DeckEntry& entry : deck.LoadedEntries())
        texts.push_back(entry.text);
    EXPECT_THAT(texts, ElementsAre("a.bmp", "b.bmp", "", "d.bmp"));
    EXPECT_EQ(deck.Properties(deck.LoadedEntries()[0].id), "power=1");
    EXPECT_EQ(deck.Properties(deck.LoadedEntries()[1].id), "power=2");

    // Under lastCard, lines after a higher number and missing ones: the cards still come by number.
    e.Write("Late.game",
            "[GAME]\r\ncommon_decks=1\r\n[COMMON 1]\r\nlastCard=5\r\n"
            "card2=b.bmp,,power=2,K\r\ncard5=e.bmp,x\r\ncard1=a.bmp,,power=1\r\ncard4=d.bmp\r\n");
    deck.Load("Late.game", "COMMON 1");
    texts.clear();
    std::vector<std::string> properties;
    for (const wizard::DeckEntry& entry : deck.LoadedEntries()) {
        texts.push_back(entry.text);
        properties.push_back(deck.Properties(entry.id));
    }
    EXPECT_THAT(texts, ElementsAre("a.bmp", "b.bmp", "d.bmp", "e.bmp"));
    EXPECT_THAT(properties, ElementsAre("power=1", "power=2", "", ""));
}

TEST(WizardWrite, ADeckOfMoreCardsThanAGameHoldsIsRefusedAndLeftAlone) {
    Editor e;
    std::string text = "[GAME]\r\nname=Huge\r\ncommon_decks=2\r\n"
                       "[COMMON 1]\r\ndecksize=501\r\n[COMMON 2]\r\ndecksize=500\r\n";
    for (int k = 1; k <= 500; ++k)
        text += "card" + std::to_string(k) + "=c" + std::to_string(k) + ".bmp\r\n";
    e.Write("Huge.game", text);
    e.Write("pics/x.bmp", "");
    auto& w = e.window;
    e.OpenGame("Huge");
    w.DirName->SetText("pics");
    ShowCommonDeck(e, 1);
    EXPECT_THAT(e.messages.Messages(), ElementsAre(HasSubstr("has 501 card lines")));
    EXPECT_EQ(w.commonList->ListCount(), 0);
    e.Press(*w.NextStep);
    EXPECT_EQ(w.CurrentIndex, 2);
    EXPECT_EQ(w.commonList->ListCount(), 500);
    e.messages.Clear();
    w.File1->SetSelected(0, true);
    e.Press(*w.AddCards);
    EXPECT_THAT(e.messages.Messages(), ElementsAre("A deck holds at most 500 cards"));
    EXPECT_EQ(w.commonList->ListCount(), 500);
    w.DirName->SetText("");
    e.Save();
    EXPECT_EQ(e.Read("Huge.game"), text) << "the refused deck and the full one are as they were";
}

TEST(WizardWrite, PropertyListsBeyondTheBoxesAreKeptWithAMessage) {
    for (const std::string lists :
         {"total=5\r\nlist1=A,a\r\nlist2=B,b\r\nlist3=C,c\r\nlist4=D,d\r\nlist5=E,e\r\n",
          "total=1\r\nlist1=A,a,b,c,d,e,f,g\r\n"}) {
        Editor e;
        const std::string text = "[GAME]\r\nname=Lists\r\nplayers=1\r\ndirectory=pics\r\n"
                                 "[PLAYER 1]\r\nname=Red\r\n[PROP LISTS]\r\n" +
                                 lists;
        e.Write("Lists.game", text);
        auto& w = e.window;
        e.OpenGame("Lists");
        e.Forward();
        e.Forward();
        e.Forward();
        ASSERT_EQ(w.CurrentStep, 6);
        EXPECT_EQ(e.messages.Messages().size(), 1u) << lists;
        w.pListName[0]->SetText("Changed");
        w.UsePropOpt->SetValue(0);
        e.Back();
        EXPECT_EQ(w.CurrentStep, 3);
        EXPECT_EQ(e.Read("Lists.game"), text) << lists;
        // Told once for the game opened, not at every visit of the step; opened again, told again.
        e.Forward();
        e.Save();
        e.Back();
        e.Forward();
        EXPECT_EQ(e.messages.Messages().size(), 1u) << lists;
        EXPECT_EQ(e.Read("Lists.game"), text) << lists;
        e.Back();
        e.OpenGame("Lists");
        e.Forward();
        EXPECT_EQ(e.messages.Messages().size(), 2u) << lists;
    }
}

TEST(WizardWrite, PropertyListsAreWrittenInTheOrderOfTheirBoxes) {
    Editor e;
    auto& w = e.window;
    w.NameTXT->SetText("Props");
    e.Forward();
    e.Forward();
    e.Forward();
    w.UsePropOpt->SetValue(1);
    w.pListName[0]->SetText("Combat");
    w.pName[0]->SetText("power");
    w.pName[1]->SetText("defence");
    w.pListName[2]->SetText("Magic");
    w.pName[12]->SetText("mana");
    e.Back();
    EXPECT_EQ(e.Read("Props.game"),
              "[PROP LISTS]\r\ntotal=2\r\nlist1=Combat,power,defence\r\nlist2=Magic,mana\r\n");
    e.Forward();
    w.UsePropOpt->SetValue(0);
    e.Back();
    EXPECT_EQ(e.Read("Props.game"),
              "[PROP LISTS]\r\ntotal=0\r\nlist1=Combat,power,defence\r\nlist2=Magic,mana\r\n");
    e.Forward();
    w.UsePropOpt->SetValue(1);
    w.pName[1]->SetText("a,b");
    e.Back();
    EXPECT_EQ(w.CurrentStep, 6) << "a name that would break its line is refused";
    EXPECT_EQ(e.messages.Messages().size(), 1u);
}

TEST(WizardWrite, AFailedWriteSaysSoAndKeepsTheWindow) {
    Editor e;
    std::filesystem::create_directories(e.folder.Path() + "/Locked.game");
    auto& w = e.window;
    w.NameTXT->SetText("Locked");
    w.DirName->SetText("pics");
    e.Type(*w.PlNum, "1");
    e.Type(*w.PLname[0], "Red");
    e.Save();
    EXPECT_THAT(e.messages.Messages(), ElementsAre("The game file Locked.game could not be written"));
    EXPECT_TRUE(w.Window().Visible());
}

// A file the program can read but not replace: the name leaves no room in the folder for the
// file written beside it before it takes the old one's place.
TEST(WizardWrite, AFailedSaveIsToldOnceByTheGamesFileNameWhereverItHappens) {
    const std::string name(245, 'L');
    const std::string text =
        "[GAME]\r\nname=" + name +
        "\r\nplayers=1\r\ndirectory=pics\r\ncommon_decks=2\r\n[PLAYER 1]\r\nname=Red\r\n"
        "[COMMON 1]\r\ndecksize=1\r\nimg_back=b.bmp\r\nimg_discard=d.bmp\r\ncard1=a.bmp\r\n"
        "[PROP LISTS]\r\ntotal=1\r\nlist1=Combat,power\r\n";
    struct Case {
        const char* what;
        int step;                         // where the edit is made
        std::function<void(Editor&)> act; // the press that writes
    };
    const Case cases[] = {
        {"Save on the first step", 0, [](Editor& e) { e.Save(); }},
        {"Save on a deck", 4, [](Editor& e) { e.Save(); }},
        {"Forward from a deck", 4, [](Editor& e) { e.Forward(); }},
        {"Save on the property lists", 6, [](Editor& e) { e.Save(); }},
        {"Back from the property lists", 6, [](Editor& e) { e.Back(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Editor e;
        e.Write(name + ".game", text);
        auto& w = e.window;
        e.OpenGame(name);
        e.Forward();
        e.Forward();
        if (c.step == 0) {
            e.Back();
            e.Back();
            w.descTxt->SetText("Edited");
        } else if (c.step == 4) {
            e.Press(*w.ShowCommonDeck[0]);
            w.SetCardEntry(0, "(x2)a.bmp");
        } else {
            e.Forward();
            w.pName[1]->SetText("defence");
        }
        ASSERT_EQ(w.CurrentStep, c.step);
        ASSERT_TRUE(e.messages.Messages().empty());
        c.act(e);
        EXPECT_THAT(e.messages.Messages(),
                    ElementsAre("The game file " + name + ".game could not be written"));
        EXPECT_EQ(w.CurrentStep, c.step) << "a failed write keeps the window where it was";
        EXPECT_EQ(e.Read(name + ".game"), text);
    }
}

// The user presses "Save"; the check report shown on the way ("" when none was shown).
std::string SaveReadingTheCheckReport(Editor& e) {
    std::string report;
    platform::testdriver::DialogScript script;
    script.AnswerModal([&](platform::Form& form) {
        EXPECT_EQ(form.Caption(), "Check Phase");
        report = e.window.LastCheckReport;
    });
    e.Save();
    return report;
}

TEST(WizardWrite, TheCheckReportListsWhatIsMissingOrTooBigAndTheFileIsSavedAnyway) {
    Editor e;
    auto& w = e.window;
    std::string report;
    const auto saveReading = [&] { report = SaveReadingTheCheckReport(e); };
    e.Type(*w.PlNum, "2");
    e.Type(*w.PLname[0], "Red");
    saveReading();
    EXPECT_EQ(report, "** Missing or incorrect information **\r\n\r\n- Missing game name\r\n"
                      "- Missing directory name\r\n- No Name specified for player #2");
    EXPECT_TRUE(std::filesystem::is_empty(e.folder.Path())) << "without a name nothing is written";

    e.Write("Big.game", "[GAME]\r\nplayers=2\r\ndirectory=pics\r\ncommon_decks=1\r\n"
                        "[Player 1]\r\nname=Red\r\ndecks=6\r\n[Player 2]\r\ndecks=6\r\n");
    e.OpenGame("Big");
    w.descTxt->SetText(std::string(300, 'd'));
    w.PLname[1]->SetText("Blue");
    e.Forward();
    e.Forward();
    e.Press(*w.ShowCommonDeck[0]);
    e.messages.Clear();
    saveReading();
    EXPECT_EQ(report, "** Missing or incorrect information **\r\n\r\n"
                      "- No back image specified for  common deck #1\r\n"
                      "- No discard image specified for  common deck #1\r\n"
                      "- The value of description in [GAME] is longer than 254 characters and will be "
                      "read cut\r\n- The game has 13 decks; Karvel plays at most 12");
    const std::string saved = e.Read("Big.game");
    EXPECT_THAT(saved, HasSubstr("description=" + std::string(300, 'd') + "\r\n")) << "saved all the same";
    EXPECT_THAT(saved, HasSubstr("[Player 2]\r\ndecks=6\r\nname=Blue\r\n"));
    EXPECT_TRUE(e.messages.Messages().empty());
}

TEST(WizardWrite, TheCheckReportCountsTheCardsOfEveryDeckAsTheTableDoes) {
    Editor e;
    auto& w = e.window;
    // 300 + 2 (a missing line is a card) + 150 (lastCard skips the missing line) + 49 = 501.
    e.Write("Full.game",
            "[GAME]\r\nname=Full\r\nplayers=1\r\ndirectory=pics\r\ncommon_decks=3\r\n"
            "[PLAYER 1]\r\nname=Red\r\ndecks=1\r\n"
            "[COMMON 1]\r\ndecksize=1\r\nimg_back=b.bmp\r\nimg_discard=d.bmp\r\n"
            "card1=(x300)a.bmp,,power=1\r\n"
            "[COMMON 2]\r\ndecksize=2\r\nimg_back=b.bmp\r\nimg_discard=d.bmp\r\ncard2=(x0)z.bmp\r\n"
            "[COMMON 3]\r\nlastCard=3\r\ncard1=(x100)a.bmp\r\ncard3=(x50)c.bmp\r\n"
            "[DECK 1 PLAYER 1]\r\ndecksize=1\r\ncard1=(x49)p.bmp\r\n");
    std::string report;
    const auto saveReading = [&] { report = SaveReadingTheCheckReport(e); };
    e.OpenGame("Full");
    saveReading();
    EXPECT_EQ(
        report,
        "** Missing or incorrect information **\r\n\r\n- The game has 501 cards; Karvel plays at most 500");
    ShowCommonDeck(e, 2);
    w.commonList->SetListIndex(0);
    e.Press(*w.RemoveCard);
    saveReading();
    EXPECT_EQ(report, "") << "the deck shown counts as its list holds it";
    w.SetCardEntry(0, "(x2)z.bmp");
    saveReading();
    EXPECT_EQ(
        report,
        "** Missing or incorrect information **\r\n\r\n- The game has 501 cards; Karvel plays at most 500");
    EXPECT_THAT(e.Read("Full.game"),
                HasSubstr("[COMMON 2]\r\ndecksize=1\r\nimg_back=b.bmp\r\nimg_discard=d.bmp\r\n"
                          "card2=(x0)z.bmp\r\ncard1=(x2)z.bmp\r\n"))
        << "saved all the same";
}

// Seven common decks and seven players owning 43 decks: the boxes show six of each, and the
// report speaks of what the file holds until the author types another count.
TEST(WizardWrite, TheCheckReportCountsTheDecksTheFileHoldsWhereTheBoxesShowThemClamped) {
    Editor e;
    auto& w = e.window;
    std::string text = "[GAME]\r\nname=Crowd\r\nplayers=7\r\ndirectory=pics\r\ncommon_decks=7\r\n";
    for (int p = 1; p <= 7; ++p)
        text += "[PLAYER " + std::to_string(p) + "]\r\nname=Seat" + std::to_string(p) +
                "\r\ndecks=" + (p == 7 ? "7" : "6") + "\r\n";
    e.Write("Crowd.game", text);
    e.OpenGame("Crowd");
    const std::string head = "** Missing or incorrect information **\r\n\r\n- The game has ";
    EXPECT_EQ(SaveReadingTheCheckReport(e), head + "50 decks; Karvel plays at most 12");
    EXPECT_EQ(e.Read("Crowd.game"), text);
    e.Forward();
    w.PlNum->SetText("5");
    w.PlNum->SetText("6");
    EXPECT_EQ(SaveReadingTheCheckReport(e), head + "43 decks; Karvel plays at most 12") << "six seats now";
    e.Forward();
    w.CommDecksNum->SetText("2");
    EXPECT_EQ(SaveReadingTheCheckReport(e), head + "38 decks; Karvel plays at most 12");
}

TEST(WizardWrite, LoadTakesTheChosenFilesNameWithoutItsFinalExtension) {
    Editor e;
    e.Write("Card Lines v1.2.game", "[GAME]\r\nplayers=1\r\ndirectory=lines\r\n[PLAYER 1]\r\nname=Solo\r\n");
    auto& w = e.window;
    platform::testdriver::DialogScript script;
    script.AnswerFile(e.folder.Path() + "/Card Lines v1.2.game");
    e.Press(*w.LoadBtn);
    EXPECT_EQ(w.NameTXT->Text(), "Card Lines v1.2");
    EXPECT_EQ(w.DirName->Text(), "lines");
    EXPECT_EQ(w.PLname[0]->Text(), "Solo");
    EXPECT_TRUE(script.Problems().empty());

    platform::testdriver::DialogScript cancel;
    cancel.AnswerFile(std::nullopt);
    e.Press(*w.LoadBtn);
    EXPECT_EQ(w.NameTXT->Text(), "Card Lines v1.2") << "cancelling changes nothing";
}

} // namespace
