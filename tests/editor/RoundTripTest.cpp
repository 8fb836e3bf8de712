// A game made through the editor's controls is played by Karvel's own reader, and the editor
// gives back, unchanged, whatever it did not edit.
#include "EditorSupport.h"

#include "state/GameMgmt.h"
#include "state/Model.h"
#include "state/OptionMgmt.h"
#include "state/PlayerMgmt.h"
#include "state/TableState.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using editortest::Editor;
using testing::HasSubstr;

namespace {

int FileIndex(const wizard::MainForm& w, const std::string& name) {
    for (int i = 0; i < w.File1->ListCount(); ++i)
        if (w.File1->List(i) == name) return i;
    return -1;
}

void SelectOnly(wizard::MainForm& w, const std::string& name) {
    for (int i = 0; i < w.File1->ListCount(); ++i)
        w.File1->SetSelected(i, i == FileIndex(w, name));
}

// Reads the definition as the game list starts a game.
bool LoadWithKarvel(const std::string& path) {
    Model().Reset();
    CurrentGameFile = path;
    InitGameOptions();
    LoadPlayerNames(path);
    return LoadGameDefinition(path);
}

struct ModelReset {
    ~ModelReset() { Model().Reset(); }
};

TEST(WizardRoundTrip, AGameBuiltInTheEditorIsReadByKarvelAndSavedAgainUnchanged) {
    const ModelReset reset;
    Editor e;
    for (const char* image : {"a.bmp", "b.bmp", "back.bmp", "disc.bmp"})
        e.Write(std::string("pics/") + image, "");
    auto& w = e.window;

    w.NameTXT->SetText("Round");
    w.DirName->SetText("pics");
    w.descTxt->SetText("Draw two cards.\r\nHighest power wins.");
    e.Forward();
    e.Type(*w.PlNum, "2");
    e.Type(*w.PLname[0], "Red");
    e.Type(*w.PLname[1], "Blue");
    e.Forward();
    e.Type(*w.CommDecksNum, "1");
    e.Forward();
    w.UsePropOpt->SetValue(1);
    e.Type(*w.pListName[0], "Combat");
    e.Type(*w.pName[0], "power");
    e.Back();
    EXPECT_EQ(w.CurrentStep, 3);

    e.Press(*w.ShowCommonDeck[0]);
    SelectOnly(w, "a.bmp");
    e.Press(*w.AddCards);
    SelectOnly(w, "b.bmp");
    e.Press(*w.AddCards);
    w.commonList->SetListIndex(0);
    editortest::drive::DoubleClick(*w.commonList, 300, 90);
    w.CardDetail().CrdX->SetText("2");
    w.CardDetail().pName[0]->SetText("3");
    e.Press(*w.CardDetail().UpdateBtn);
    SelectOnly(w, "back.bmp");
    e.Press(*w.AddBack);
    SelectOnly(w, "disc.bmp");
    e.Press(*w.AddDiscard);
    e.Type(*w.DealCrds, "1");
    EXPECT_EQ(w.commLabel->Caption(), "Cards: 2 (tot: 3)");
    e.Save();

    const std::string path = e.folder.Path() + "\\Round.game";
    const std::string saved = e.Read("Round.game");
    EXPECT_THAT(saved, HasSubstr("description=Draw two cards.\\nHighest power wins.\r\n"));
    EXPECT_THAT(saved, HasSubstr("[PROP LISTS]\r\ntotal=1\r\nlist1=Combat,power\r\n"));
    EXPECT_TRUE(e.messages.Messages().empty()) << e.messages.Messages()[0];

    ASSERT_TRUE(LoadWithKarvel(path)) << saved;
    EXPECT_TRUE(e.messages.Messages().empty()) << e.messages.Messages()[0];
    EXPECT_EQ(Game.playerCount, 2);
    EXPECT_EQ(Game.players[1].name, "Red");
    EXPECT_EQ(Game.players[2].name, "Blue");
    EXPECT_EQ(Game.deckCount, 1) << saved;
    EXPECT_EQ(Game.totalCards, 3);
    EXPECT_EQ(Game.decks[0].deal, 1);
    EXPECT_EQ(Game.decks[0].split, 0) << "a new deck is not split";
    int powered = 0;
    for (int card = 1; card <= Game.totalCards; ++card)
        powered += Cards[card].image == "a.bmp" && Cards[card].properties == "power=3";
    EXPECT_EQ(powered, 2);

    // Opened again and saved again, step by step, the file stays as it is.
    Model().Reset();
    wizard::MainForm again;
    again.Show();
    again.NameTXT->SetText("Round");
    again.NameTXT->SetFocus();
    editortest::drive::PressKey(again.Window(), platform::keys::kReturn);
    EXPECT_EQ(again.PLname[1]->Text(), "Blue");
    editortest::drive::Click(*again.SaveBtn);
    editortest::drive::Click(*again.NextStep);
    editortest::drive::Click(*again.NextStep);
    editortest::drive::Click(*again.ShowCommonDeck[0]);
    EXPECT_EQ(again.commLabel->Caption(), "Cards: 2 (tot: 3)");
    editortest::drive::Click(*again.SaveBtn);
    EXPECT_EQ(e.Read("Round.game"), saved);
    EXPECT_TRUE(e.messages.Messages().empty());
}

// An author makes a game from nothing: two players, a deck of the first player's own and a common
// deck, each saved once while still empty (as an author presses Save to see where things stand).
// Reopened and saved again it stays as built, and Karvel plays it so: the common deck stays whole.
TEST(WizardRoundTrip, ANewGameWithACommonAndAPlayersDeckPlaysAsBuiltAfterItIsReopenedAndSaved) {
    const ModelReset reset;
    Editor e;
    for (const char* image : {"a.bmp", "b.bmp", "r.bmp", "back.bmp", "disc.bmp"})
        e.Write(std::string("pics/") + image, "");
    auto& w = e.window;
    const auto fillDeck = [&](const std::vector<std::string>& cards, const std::string& deal) {
        {
            platform::testdriver::DialogScript script;
            script.AnswerModal([](platform::Form& form) { EXPECT_EQ(form.Caption(), "Check Phase"); });
            e.Save();
            EXPECT_TRUE(script.Problems().empty());
        }
        for (const std::string& card : cards) {
            SelectOnly(w, card);
            e.Press(*w.AddCards);
        }
        SelectOnly(w, "back.bmp");
        e.Press(*w.AddBack);
        SelectOnly(w, "disc.bmp");
        e.Press(*w.AddDiscard);
        e.Type(*w.DealCrds, deal);
        e.Save();
    };
    w.NameTXT->SetText("Duel");
    w.DirName->SetText("pics");
    e.Forward();
    e.Type(*w.PlNum, "2");
    e.Type(*w.PLname[0], "Red");
    e.Type(*w.PLname[1], "Blue");
    e.Press(*w.PL_data[0]);
    e.Type(*w.NumPLdecks, "1");
    e.Press(*w.ShowPlayerDeck[0]);
    fillDeck({"r.bmp"}, "");
    e.Back();
    e.Back();
    e.Forward();
    ASSERT_EQ(w.CurrentStep, 3);
    e.Type(*w.CommDecksNum, "1");
    e.Press(*w.ShowCommonDeck[0]);
    fillDeck({"a.bmp", "b.bmp"}, "1");
    e.Back();
    e.Back();
    e.Back();
    ASSERT_EQ(w.CurrentStep, 0);
    e.Save();
    const std::string built = e.Read("Duel.game");
    EXPECT_THAT(built, HasSubstr("[COMMON 1]\r\ndecksize=2\r\nimg_back=back.bmp\r\nimg_discard=disc.bmp\r\n"
                                 "deal=1\r\nsplit=false\r\ndraw_facedown=false\r\n"));
    EXPECT_TRUE(e.messages.Messages().empty()) << e.messages.Messages()[0];

    {
        wizard::MainForm again;
        again.Show();
        again.NameTXT->SetText("Duel");
        again.NameTXT->SetFocus();
        editortest::drive::PressKey(again.Window(), platform::keys::kReturn);
        const auto press = [](platform::CommandButton& button) { editortest::drive::Click(button); };
        press(*again.SaveBtn);
        press(*again.NextStep);
        press(*again.PL_data[0]);
        press(*again.ShowPlayerDeck[0]);
        EXPECT_EQ(again.commLabel->Caption(), "Cards: 1 (tot: 1)");
        press(*again.SaveBtn);
        press(*again.PrevStep);
        press(*again.PrevStep);
        press(*again.NextStep);
        press(*again.ShowCommonDeck[0]);
        EXPECT_EQ(again.commLabel->Caption(), "Cards: 2 (tot: 2)");
        press(*again.SaveBtn);
    }
    EXPECT_EQ(e.Read("Duel.game"), built);

    ASSERT_TRUE(LoadWithKarvel(e.folder.Path() + "\\Duel.game")) << built;
    EXPECT_TRUE(e.messages.Messages().empty()) << e.messages.Messages()[0];
    EXPECT_EQ(Game.playerCount, 2);
    ASSERT_EQ(Game.deckCount, 2) << built;
    EXPECT_EQ(Game.totalCards, 3);
    // Common decks come first: deck 0 is the common one, deck 1 the first player's.
    EXPECT_EQ(Game.decks[0].owner, 0);
    EXPECT_EQ(Game.decks[0].split, 0) << "a new common deck is not split";
    EXPECT_EQ(Game.decks[0].deal, 1);
    EXPECT_EQ(Game.decks[1].owner, 1);
    int common = 0, red = 0;
    for (int card = 1; card <= Game.totalCards; ++card) {
        common += Cards[card].deck == 0 && Cards[card].owner == 0;
        red += Cards[card].deck == 1 && Cards[card].owner == 1 && Cards[card].image == "r.bmp";
    }
    EXPECT_EQ(common, 2) << "the common deck's cards stay in it";
    EXPECT_EQ(red, 1);
}

TEST(WizardRoundTrip, AnEditOfAHandWrittenDefinitionKeepsEveryLineTheEditorDoesNotOwn) {
    Editor e;
    const std::string text = "[GAME]\r\nname=Hand\r\nplayers=2\r\ndirectory=pics\r\ncommon_decks=1\r\n"
                             "handSize=7\r\nexternal_hand=TRUE\r\nplayer1=0,0,3000,4000\r\n"
                             "[PLAYER 1]\r\nname=Red\r\n[PLAYER 2]\r\nname=Blue\r\n"
                             "[COMMON 1]\r\ndecksize=2\r\nrotate=0,90,180\r\n"
                             "card1=(x2)a.bmp,burn+heal,power=3,KEY1,EXPANSION\r\ncard2=b.bmp,,,KEY2\r\n"
                             "[EFFECTS]\r\nburn=ELIMINATE\r\nheal=SHOW_HAND\r\n[DICE]\r\ndice1=2d6\r\n"
                             "[OPTIONS]\r\noption1=EXPANSION\r\n[setup default]\r\ndeck1=100,100,900,600\r\n";
    e.Write("Hand.game", text);
    auto& w = e.window;
    e.OpenGame("Hand");
    e.Forward();
    e.Type(*w.PLname[0], "Crimson");
    e.Forward();
    e.Press(*w.ShowCommonDeck[0]);
    w.SetCardEntry(1, "(x2)b.bmp");
    e.Save();
    std::string expected = text;
    expected.replace(expected.find("name=Red"), 8, "name=Crimson");
    expected.replace(expected.find("card2=b.bmp"), 11, "card2=(x2)b.bmp");
    EXPECT_EQ(e.Read("Hand.game"), expected);
}

} // namespace
