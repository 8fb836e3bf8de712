// An author who opens a definition and walks every step, saving on each and opening the windows
// of each deck, without changing anything, finds the file byte for byte as it was.
#include "EditorSupport.h"

#include "editor/DeckPropForm.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using editortest::Editor;
namespace drive = editortest::drive;
using testing::IsEmpty;

namespace {

template <class Buttons> int VisibleCount(const Buttons& buttons) {
    return static_cast<int>(
        std::count_if(buttons.begin(), buttons.end(), [](const auto& button) { return button->Visible(); }));
}

// On step 4: Save, the deck property window opened and closed, the first card's window opened and
// closed; then Forward through the other decks, each the same, and Back out of the first.
void WalkDecks(Editor& e, platform::testdriver::DialogScript& script, int decks) {
    auto& w = e.window;
    for (int d = 1; d <= decks; ++d) {
        ASSERT_EQ(w.CurrentStep, 4);
        // A deck without its pictures (a deck with variants, a deck the file lacks) is told of.
        if (w.backImg->List(0).empty() || w.discardImg->List(0).empty())
            script.AnswerModal([](platform::Form& form) { EXPECT_EQ(form.Caption(), "Check Phase"); });
        e.Save();
        script.AnswerModal([](platform::Form& form) { EXPECT_EQ(form.Caption(), "Deck Properties"); });
        e.Press(*w.AdvancedProps);
        if (w.commonList->ListCount() > 0) {
            w.commonList->SetListIndex(0);
            drive::DoubleClick(*w.commonList, 300, 90);
            EXPECT_TRUE(w.CardDetail().form_.Visible());
            drive::PressCloseBox(w.CardDetail().form_);
        }
        e.Forward();
    }
    for (int d = decks; d >= 1; --d)
        e.Back();
}

// Every place of every step, from the game's name to its last report and back.
void WalkEveryStep(Editor& e, const std::string& game) {
    auto& w = e.window;
    platform::testdriver::DialogScript script;
    e.OpenGame(game);
    e.Save();
    e.Forward();
    ASSERT_EQ(w.CurrentStep, 1);
    e.Save();
    const int players = VisibleCount(w.PL_data);
    if (players > 0) {
        e.Press(*w.PL_data[0]);
        for (int p = 1; p <= players; ++p) {
            ASSERT_EQ(w.CurrentStep, 2);
            ASSERT_EQ(w.CurrentIndex, p);
            e.Save();
            if (const int decks = VisibleCount(w.ShowPlayerDeck); decks > 0) {
                e.Press(*w.ShowPlayerDeck[0]);
                WalkDecks(e, script, decks);
            }
            e.Forward();
        }
        for (int p = players; p >= 1; --p)
            e.Back();
    }
    ASSERT_EQ(w.CurrentStep, 1);
    e.Forward();
    ASSERT_EQ(w.CurrentStep, 3);
    e.Save();
    if (const int decks = VisibleCount(w.ShowCommonDeck); decks > 0) {
        e.Press(*w.ShowCommonDeck[0]);
        WalkDecks(e, script, decks);
    }
    ASSERT_EQ(w.CurrentStep, 3);
    e.Forward();
    ASSERT_EQ(w.CurrentStep, 6);
    e.Save();
    if (const int reports = VisibleCount(w.ShowReport); reports > 0) {
        e.Press(*w.ShowReport[reports - 1]);
        for (int r = reports; r >= 1; --r) {
            ASSERT_EQ(w.CurrentStep, 7);
            e.Save();
            e.Back();
        }
    }
    ASSERT_EQ(w.CurrentStep, 6);
    // The game tree, closed without a choice.
    script.AnswerModal([](platform::Form& form) { EXPECT_EQ(form.Caption(), "Game Tree"); });
    e.Press(*w.TreeBtn);
    e.Back();
    e.Back();
    e.Back();
    ASSERT_EQ(w.CurrentStep, 0);
    e.Save();
    EXPECT_THAT(script.Messages(), IsEmpty());
    EXPECT_THAT(script.Problems(), IsEmpty());
}

TEST(WizardNoEditWalk, EveryBundledGameStaysByteForByte) {
    Editor e;
    e.folder.CopyIn(KARVEL_GAMES, "");
    int walked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(KARVEL_GAMES)) {
        if (entry.path().extension() != ".game") continue;
        const std::string file = entry.path().filename().string();
        SCOPED_TRACE(file);
        const std::string before = e.Read(file);
        WalkEveryStep(e, entry.path().stem().string());
        EXPECT_EQ(e.Read(file), before);
        ++walked;
    }
    EXPECT_GE(walked, 2);
    EXPECT_THAT(e.messages.Messages(), IsEmpty());
}

// Seven seats (the window shows six), twelve decks (one of them not in the file yet) and 500 cards
// in every form a card line takes: properties, effects, keys, copies, a lastCard deck with a gap;
// CRLF line ends.
std::string SevenSeatsAndFiveHundredCards() {
    std::string text = "; seven seats, five hundred cards\r\n[GAME]\r\nname=Crowd\r\n"
                       "description=Seven seats.\\nEvery card line form.\r\nplayers=7\r\ndirectory=crowd\r\n"
                       "common_decks=5\r\ndesktop=felt.jpg\r\nhandSize=7\r\n";
    for (int p = 1; p <= 7; ++p) {
        const std::string n = std::to_string(p);
        text += "[PLAYER " + n + "]\r\nname=Seat " + n + "\r\ndecks=1\r\n";
    }
    const auto deck = [&](const std::string& section, int lines, const std::string& extra) {
        text += "[" + section + "]\r\ndecksize=" + std::to_string(lines) +
                "\r\nimg_back=back.bmp\r\nimg_discard=disc.bmp\r\ndeal=2\r\n" + extra;
        for (int k = 1; k <= lines; ++k) {
            const std::string n = std::to_string(k);
            text += "card" + n + "=c" + n + ".bmp" +
                    (k % 3 == 0 ? ",burn,power=" + n + "|gold=1,K" + n : "") +
                    (k % 7 == 0 ? ",,luck=" + n : "") + "\r\n";
        }
    };
    deck("COMMON 1", 200, "split=false\r\n");
    // lastCard names twelve lines of which the fifth is missing: 11 lines of ten copies.
    text += "[COMMON 2]\r\ndeckSize=110\r\nlastCard=12\r\nimg_back=back.bmp\r\nimg_discard=disc.bmp\r\n"
            "viewDiscard=FALSE\r\n";
    for (int k = 1; k <= 12; ++k)
        if (k != 5) text += "card" + std::to_string(k) + "=(x10)l" + std::to_string(k) + ".bmp\r\n";
    deck("COMMON 3", 40, "draw_facedown=TRUE\r\n");
    // The fourth common deck has no section yet.
    deck("COMMON 5", 80, "resize=true\r\n");
    for (int p = 1; p <= 7; ++p)
        deck("DECK 1 PLAYER " + std::to_string(p), 10, "");
    text += "[PROP LISTS]\r\ntotal=2\r\nlist1=Combat,power,luck\r\nlist2=Money,gold\r\n"
            "[REPORTS]\r\nnum_reports=2\r\nreport1=Power,SUM,ALL,FALSE,power\r\n"
            "report2=Gold,SUM,HAND,TRUE,gold\r\n[DICE]\r\ndice1=2d6\r\n[EFFECTS]\r\nburn=ELIMINATE\r\n"
            "[setup default]\r\nplayer1=0,0,1000,1000\r\n";
    return text;
}

TEST(WizardNoEditWalk, ADefinitionOfSevenSeatsAndFiveHundredCardsStaysByteForByte) {
    Editor e;
    const std::string text = SevenSeatsAndFiveHundredCards();
    e.Write("Crowd.game", text);
    e.Write("crowd/c1.bmp", "");
    WalkEveryStep(e, "Crowd");
    EXPECT_EQ(e.Read("Crowd.game"), text);
    EXPECT_THAT(e.messages.Messages(), IsEmpty());
}

} // namespace
