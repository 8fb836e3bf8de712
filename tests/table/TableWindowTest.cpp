// The table window's frame around the dealt cards: cards handed to a seat from a pile, the piles
// and the window put back where a saved game had them, decks in the information panel, the card
// information window, the marker tips, the window's buttons, the quick-result label and closing.
#include "TableTestSupport.h"

#include "net/MultiplayerMgmt.h"
#include "platform/Seams.h"
#include "platform/TestDriver.h"
#include "state/GameMgmt.h"
#include "state/MarkersMgmt.h"
#include "table/CardInfoForm.h"
#include "table/InfoPanel.h"
#include "table/NotesForm.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using tabletest::PictureLeft;
using tabletest::PictureTop;
using tabletest::TableFixture;
using testing::ElementsAre;
using testsupport::MessageRecorder;

namespace {

std::string TwoSeatGame(const std::string& gameExtra = "", const std::string& deckExtra = "",
                        const std::string& sections = "") {
    return "[GAME]\nplayers=2\ncommon_decks=1\ndirectory=img\nexternal_hand=FALSE\n" + gameExtra +
           "\n[PLAYER 1]\nname=Ann\nlayout=3000,1500,2400,6000\n"
           "[PLAYER 2]\nname=Bob\nlayout=9000,1500,2400,6000\n"
           "[COMMON 1]\nname=Stock\nsplit=FALSE\ndeckSize=6\nimg_back=back.png\nimg_discard=empty.png\n"
           "deal=1\n" +
           deckExtra +
           "\ncard1=f1.png,,,k1,\ncard2=f2.png,,,k2,\ncard3=f3.png,,,k3,\ncard4=f4.png,,,k4,\n"
           "card5=f5.png,,,k5,\ncard6=f6.png,,,k6,\n" +
           sections;
}

// A card still in the draw pile.
std::int16_t CardInPile() {
    for (int card = 1; card <= Game.totalCards; ++card)
        if (Cards[card].pilePosition > 0) return static_cast<std::int16_t>(card);
    return 0;
}

class TableWindowTest : public testing::Test {
  protected:
    TableFixture fixture;
    MainForm& table = fixture.Table();
};

TEST_F(TableWindowTest, CardsTakenFromAPileLineUpInTheSeatsAreaByTheDecksOffset) {
    struct Case {
        const char* name;
        std::string offset;
        int x, y, dx, dy; // what the offset comes to
    };
    const std::vector<Case> cases = {
        {"no cardOffset", "", 50, 50, 100, 0},
        {"x 10, y 20, dx 30, dy 40", "cardOffset=10,20,30,40", 10, 20, 30, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(fixture.Start(TwoSeatGame("", c.offset)));
        const PlayerAreaShape& area = PlayerAreas[0];
        for (std::int16_t k : {1, 3}) {
            const std::int16_t card = CardInPile();
            ASSERT_NE(card, 0);
            const std::int16_t control = TakeCardToPlayer(card, 1, k);
            const controls::TranspImg& image = *table.crd(control);
            EXPECT_EQ(Cards[card].controlIndex, control);
            EXPECT_EQ(Cards[card].owner, 1);
            EXPECT_EQ(Cards[card].pilePosition, kPileInPlay);
            EXPECT_EQ(Cards[card].faceShown, kTrue);
            EXPECT_EQ(image.GetPictureName(), GameImagePath(Cards[card].image));
            EXPECT_EQ(image.Surface().Tag(), std::to_string(card));
            EXPECT_TRUE(image.Surface().Visible());
            EXPECT_NEAR(PictureLeft(image), area.left + c.x + (k - 1) * c.dx, 8);
            EXPECT_NEAR(PictureTop(image), area.top + c.y + (k - 1) * c.dy, 8);
        }
    }
    // Handed to another seat, the card shows its back.
    const std::int16_t card = CardInPile();
    const std::int16_t control = TakeCardToPlayer(card, 2, 1);
    EXPECT_EQ(table.crd(control)->GetPictureName(), Game.backImages[0]);
    EXPECT_EQ(Cards[card].faceShown, kFalse);
}

TEST_F(TableWindowTest, ASavedGamePutsThePilesAndTheWindowBack) {
    ASSERT_TRUE(fixture.Start(TwoSeatGame()));
    PilePositions piles{};
    piles[0] = {1500, 3000};
    piles[kMaxDecks] = {1800, 4500};
    Game.windowGeometry[1] = 600;   // top
    Game.windowGeometry[2] = 900;   // left
    Game.windowGeometry[3] = 7500;  // height
    Game.windowGeometry[4] = 10500; // width
    RestoreTablePositions(piles);
    EXPECT_EQ(table.DeckImg(0)->Surface().Top(), 1500);
    EXPECT_EQ(table.DeckImg(0)->Surface().Left(), 3000);
    EXPECT_EQ(table.DiscardImg(0)->Surface().Top(), 1800);
    EXPECT_EQ(table.DiscardImg(0)->Surface().Left(), 4500);
    EXPECT_EQ(table.Window().Width(), 10500);
    EXPECT_EQ(table.Window().Height(), 7500);

    // A record without a window size leaves the window as it is.
    Game.windowGeometry[3] = 0;
    RestoreTablePositions(piles);
    EXPECT_EQ(table.Window().Height(), 7500);
}

TEST_F(TableWindowTest, ADeckMarkedInfoStandsInTheInformationPanel) {
    struct Case {
        const char* name;
        std::string panel;
        bool inPanel;
    };
    const std::vector<Case> cases = {
        {"INFO", "layout_panel=INFO\nlayout_deck=300,150", true},
        {"info in lower case", "layout_panel=info\nlayout_deck=300,150", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(fixture.Start(TwoSeatGame("", c.panel, "[INFOPANEL]\nwidth=3000\n")));
        platform::ControlSurface& pile = table.DeckImg(0)->Surface();
        EXPECT_EQ(pile.Top(), 300);
        EXPECT_EQ(pile.Left(), 150);
        // Grabbed with its window: inside the panel it shows at the panel's place.
        table.Window().Show();
        platform::PumpEvents();
        const platform::Picture panel = platform::testdriver::Grab(table.InfoPanel);
        const platform::Picture back = platform::Picture::Load(Game.backImages[0]).value();
        const bool shownInPanel = (panel.GetPixel(15, 25) & 0xFFFFFFu) == (back.GetPixel(5, 5) & 0xFFFFFFu);
        EXPECT_EQ(shownInPanel, c.inPanel);
    }
}

TEST_F(TableWindowTest, TheCardInformationWindowShowsTheCardsEntry) {
    const std::string info = "[CARD INFO]\nk1=Ace|Beats\\nall\nk2=Two|\n";
    struct Case {
        const char* name;
        std::string game;
        std::string key;
        bool shown;
        std::string title;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"a card with an entry", "card_info=TRUE", "k1", true, "Ace", "Beats\nall"},
        {"a card without one", "card_info=TRUE", "k5", true, "", "No info is available on the card"},
        {"a game without card information", "", "k1", false, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(fixture.Start(TwoSeatGame(c.game, "", info)));
        table.CardInfo.reset();
        std::int16_t card = 0;
        for (int n = 1; n <= Game.totalCards; ++n)
            if (Cards[n].key == c.key) card = static_cast<std::int16_t>(n);
        ShowCardInfoForm(card);
        ASSERT_EQ(table.CardInfo != nullptr, c.shown);
        if (!c.shown) continue;
        EXPECT_TRUE(table.CardInfo->form.Visible());
        EXPECT_EQ(table.CardInfo->nameLabel.Caption(), c.title);
        // The label gives its line breaks back as the window system keeps them.
        EXPECT_EQ(table.CardInfo->infoLabel.Caption(), c.text);
    }
}

TEST_F(TableWindowTest, OnlyTheLocalSeatsImageMarkersTipTheirKindsLabel) {
    const std::string markers = "[PLAYER 1]\nmarkers=1\nmarker1=m.png,Gold\n";
    for (bool tips : {true, false}) {
        SCOPED_TRACE(tips ? "displayMarkerTooltips" : "no tips");
        std::string game = TwoSeatGame(tips ? "displayMarkerTooltips=TRUE" : "");
        game.replace(game.find("[PLAYER 1]\n"), 11, markers);
        ASSERT_TRUE(fixture.Start(game));
        ASSERT_GE(MarkerKindCount, 1);
        for (int n = 1; n <= 2; ++n) {
            if (!table.mrk(n - 1)) table.mrk.Load(n - 1);
            table.mrk(n - 1)->Surface().SetToolTipText("");
            GraphMarkers[n].inUse = kTrue;
            GraphMarkers[n].kind = 1;
            GraphMarkers[n].owner = static_cast<std::int16_t>(n); // seat 1, then seat 2
        }
        GraphMarkerCount = 2;
        ApplyMarkerTooltipSetting();
        EXPECT_EQ(table.mrk(0)->Surface().ToolTipText(), tips ? "Gold" : "");
        EXPECT_EQ(table.mrk(1)->Surface().ToolTipText(), "");
    }
}

TEST_F(TableWindowTest, TheButtonsOfTheWindow) {
    ASSERT_TRUE(fixture.Start(TwoSeatGame("", "", "[INFOPANEL]\nwidth=3000\nshowToolbar=TRUE\n")));
    int markerListHidden = 0;
    int saveShown = 0;
    table.Others.hideMarkerList = [&] { ++markerListHidden; };
    table.Others.showSaveForm = [&] { ++saveShown; };

    // Laid out in two rows in the panel.
    EXPECT_TRUE(table.diceRollerBtn.Surface().Visible());
    EXPECT_EQ(table.saveGameBtn.Surface().Top(),
              table.addNumMarker.Surface().Top() + table.addNumMarker.Surface().Height() + 15);
    EXPECT_EQ(table.showHandAreaBtn.caption(), "Show Hand area");

    {
        MessageRecorder messages;
        table.diceRollerBtn.Click();
        EXPECT_THAT(messages.Messages(), ElementsAre("No dices defined"));
        EXPECT_EQ(table.DiceRoller, nullptr);
    }
    table.saveGameBtn.Click();
    EXPECT_EQ(saveShown, 1);

    // Each seat's area shows and hides in turn.
    ASSERT_TRUE(table.PlayerArea(0)->Visible());
    table.showHandAreaBtn.Click();
    EXPECT_FALSE(table.PlayerArea(0)->Visible());
    EXPECT_FALSE(table.PlayerArea(1)->Visible());
    table.showHandAreaBtn.Click();
    EXPECT_TRUE(table.PlayerArea(0)->Visible());

    // Without a game log the notes show and hide.
    table.showNotesBtn.Click();
    ASSERT_NE(table.Notes, nullptr);
    EXPECT_TRUE(table.Notes->form.Visible());
    table.showNotesBtn.Click();
    EXPECT_FALSE(table.Notes->form.Visible());

    EXPECT_EQ(markerListHidden, 6);
}

TEST_F(TableWindowTest, ARightClickOnTheQuickResultMakesItAMarkerAndSendsIt) {
    ASSERT_TRUE(fixture.Start(TwoSeatGame()));
    std::vector<std::string> made;
    table.Others.newNumMarker = [&](const std::string& value, int top, int left) {
        made.push_back(value + " at " + std::to_string(top) + "," + std::to_string(left));
        controls::zLabelA& label = *table.markerNum(0);
        label.Surface().Move(left, top);
        return 0;
    };
    std::vector<std::string> sent;
    const tabletest::NetOutboxInstalled outbox;
    const NetSendHook previous =
        SetNetSendHook([&](const std::string& command, const std::vector<std::string>& fields) {
            std::string line = command;
            for (const std::string& f : fields)
                line += " " + f;
            sent.push_back(line);
        });
    GameMode = kModeDirect;
    Game.GamePhase = kPhasePlaying;

    table.QuickMsg.Move(1200, 900);
    table.QuickMsg.SetCaption("[4] 17");
    table.QuickMsg.SetVisible(true);
    table.QuickMsg_MouseUp(1); // a left click only hides it
    EXPECT_FALSE(table.QuickMsg.Visible());
    EXPECT_TRUE(made.empty());
    EXPECT_TRUE(sent.empty());

    table.QuickMsg.SetVisible(true);
    table.QuickMsg_MouseUp(2);
    SetNetSendHook(previous);
    EXPECT_FALSE(table.QuickMsg.Visible());
    EXPECT_THAT(made, ElementsAre("17 at 900,1200"));
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].substr(0, sent[0].find(' ')), "MRKLOAD");
    EXPECT_NE(sent[0].find("17"), std::string::npos);
    EXPECT_EQ(sent[1].substr(0, sent[1].find(' ')), "MRKMV");

    // A result of several lines (a die's table) is kept with its lines.
    GameMode = kModeLocal;
    made.clear();
    table.QuickMsg.SetCaption("[5] Gale\r\nEvery captain discards");
    table.QuickMsg.SetVisible(true);
    table.QuickMsg_MouseUp(2);
    EXPECT_THAT(made, ElementsAre("Gale\r\nEvery captain discards at 900,1200"));
}

TEST_F(TableWindowTest, ClosingTheTableUnloadsItsToolBarsAndShowsTheGameList) {
    struct Case {
        const char* name;
        Flag design;
        std::vector<std::string> calls;
    };
    const std::vector<Case> cases = {
        {"a game", kFalse, {"tool bar", "hand window", "hand window", "marker picker", "game list"}},
        {"a design session", kTrue, {"design tool bar", "hand window", "marker picker", "game list"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(fixture.Start(TwoSeatGame()));
        DesignMode = c.design;
        std::vector<std::string> calls;
        table.Others.unloadDesignToolBar = [&] { calls.push_back("design tool bar"); };
        table.Others.unloadToolBar = [&] { calls.push_back("tool bar"); };
        table.Others.unloadHandForm = [&] { calls.push_back("hand window"); };
        table.Others.unloadMarkerForm = [&] { calls.push_back("marker picker"); };
        table.Others.unloadConnection = [&] { calls.push_back("connection"); };
        table.Others.showGameList = [&] {
            // The cards are gone by then.
            EXPECT_TRUE(Cards[1].key.empty());
            calls.push_back("game list");
        };
        table.Window().Show();
        table.showNotesBtn.Click();
        ASSERT_TRUE(table.Notes->form.Visible());
        EXPECT_TRUE(table.Window().Unload());
        EXPECT_EQ(calls, c.calls);
        // The table's own windows close with it.
        EXPECT_FALSE(table.Notes->form.Visible());
        DesignMode = kFalse;
    }
}

} // namespace
