// The tool bars and the design session: where a tool bar docks, what its buttons show and do, the
// seats' areas drawn on the table, the layout saved into the definition and read back, and cards
// added during play.
#include "CardActionsSupport.h"
#include "TableTestSupport.h"

#include "common/Helpers.h"
#include "controls/zLabelA.h"
#include "platform/TestDriver.h"
#include "state/PlayerMgmt.h"
#include "state/TableState.h"
#include "table/DesignToolBarForm.h"
#include "table/ToolBarForm.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using cardtest::SendRecorder;
using tabletest::TableFixture;
using testing::ElementsAre;
using testing::IsEmpty;

namespace {

// Three seats (Cid without an area), one common deck of four cards.
std::string DesignGame(const std::string& gameExtra = "", const std::string& tail = "") {
    return "[GAME]\nplayers=3\ncommon_decks=1\ndirectory=img\n" + gameExtra +
           "\n[PLAYER 1]\nname=Ann\nlayout=3000,1500,2400,6000\n"
           "[PLAYER 2]\nname=Bob\nlayout=9000,1500,2400,6000\n[PLAYER 3]\nname=Cid\n"
           "[COMMON 1]\nname=Stock\nsplit=FALSE\ndecksize=4\nimg_back=back.png\nimg_discard=empty.png\n"
           "card1=f1.png,,,k1\ncard2=f2.png,,,k2\ncard3=f3.png,,,k3\ncard4=f4.png,,,k4\n" +
           tail;
}

class DesignSessionTest : public testing::Test {
  protected:
    ~DesignSessionTest() override {
        DesignMode = kFalse;
        GameMode = kModeLocal;
    }

    bool StartDesign(const std::string& definition) {
        DesignMode = kTrue;
        const bool started = fixture.Start(definition);
        table.Window().Show();
        ShowDesignToolBar(table);
        return started;
    }
    DesignToolBarForm& bar() { return *table.DesignToolBar; }
    std::string Key(const std::string& section, const std::string& key) const {
        return GetIni(section, key, fixture.GameFile());
    }

    TableFixture fixture;
    MainForm& table = fixture.Table();
    testsupport::MessageRecorder messages;
};

TEST(ToolBarDock, ATableWindowsToolBarDocksBelowItsTopRightCornerWhereThatCoversNothing) {
    using platform::TwipRect;
    const TwipRect screen{0, 0, 19200, 12000};
    const TwipRect table{0, 600, 10000, 8000};
    EXPECT_EQ(ToolBarDock(table, 1500, 900, screen, {}), (TwipRect{8200, 1100, 1500, 900}))
        << "500 below the window's top, 300 in from its right edge";
    EXPECT_EQ(ToolBarDock(table, 1500, 900, screen, {{7800, 900, 1200, 1680}}),
              (TwipRect{9000, 1100, 1500, 900}))
        << "a pile there: just beside it";
    EXPECT_EQ(ToolBarDock(table, 1500, 900, screen, {screen}), (TwipRect{8200, 1100, 1500, 900}))
        << "nowhere free: at the edge all the same";
    EXPECT_EQ(ToolBarDock({9200, 0, 10000, 12000}, 1500, 900, screen, {}), (TwipRect{17400, 500, 1500, 900}));
    EXPECT_EQ(ToolBarDock({12000, 300, 9000, 6000}, 1500, 900, screen, {{0, 0, 19200, 600}}),
              (TwipRect{17700, 800, 1500, 900}))
        << "a window partly off the screen: the bar stays on it";
}

TEST_F(DesignSessionTest, TheToolBarCoversNoPileCardOrSeatAreaOfTheTable) {
    ASSERT_TRUE(fixture.Start(DesignGame("", "layout_deck=600,7800\nlayout_discard=2400,7800\n")));
    table.Window().Move(0, 600, 10000, 8000);
    table.Window().Show();
    ShowToolBar(table);
    const platform::Form& tools = table.ToolBar->form;
    const platform::TwipRect bar{tools.Left(), tools.Top(), tools.Width(), tools.Height()};
    const std::vector<platform::TwipRect> covered = TablePlacesOnScreen(table);
    EXPECT_GE(covered.size(), 4u)
        << "the draw pile (the empty discard pile hides), two seats' areas and the window's title bar";
    EXPECT_EQ(covered.back().top, table.Window().Top());
    EXPECT_GE(covered.back().height, 450) << "a title bar's height, framed or not yet";
    for (const platform::TwipRect& place : covered)
        EXPECT_FALSE(bar.Overlaps(place))
            << place.left << "," << place.top << " " << place.width << "x" << place.height << " bar "
            << bar.left << "," << bar.top << " " << bar.width << "x" << bar.height;
    EXPECT_GE(tools.ScaleHeight(), 2 * table.ToolBar->Save.Surface().Height() + 140 - 15)
        << "two rows of buttons show";

    // A counter lying where the bar docked: a bar opened again keeps clear of it.
    const platform::TwipRect client = table.Window().ClientArea();
    controls::zLabelA* counter = table.markerNum.Load(1);
    ASSERT_NE(counter, nullptr);
    counter->Surface().Move(bar.left - client.left - table.BasePict.Left(),
                            bar.top - client.top - table.BasePict.Top(), bar.width, bar.height);
    counter->Surface().SetVisible(true);
    const platform::TwipRect counterOnScreen{client.left + table.BasePict.Left() + counter->Surface().Left(),
                                             client.top + table.BasePict.Top() + counter->Surface().Top(),
                                             counter->Surface().Width(), counter->Surface().Height()};
    ASSERT_TRUE(counterOnScreen.Overlaps(bar));
    table.ToolBar.reset();
    ShowToolBar(table);
    const platform::Form& again = table.ToolBar->form;
    EXPECT_FALSE(counterOnScreen.Overlaps({again.Left(), again.Top(), again.Width(), again.Height()}))
        << "the bar covers the counter at " << again.Left() << "," << again.Top();
}

TEST_F(DesignSessionTest, TheTableOpensWithTheToolBarUnlessItsInformationPanelCarriesTheButtons) {
    struct Case {
        const char* name;
        bool design;
        std::string panel;
        bool toolBar, designBar, panelButtons;
    };
    const std::vector<Case> cases = {
        {"no panel", false, "", true, false, false},
        {"a panel without the tool bar", false, "[INFOPANEL]\nwidth=2700\nshowZoom=TRUE\n", true, false,
         false},
        {"a panel with the tool bar", false, "[INFOPANEL]\nwidth=2700\nshowToolbar=TRUE\n", false, false,
         true},
        {"the tool bar asked of no panel", false, "[INFOPANEL]\nshowToolbar=TRUE\n", true, false, false},
        {"a design session", true, "[INFOPANEL]\nwidth=2700\nshowToolbar=TRUE\n", false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DesignMode = ToFlag(c.design);
        ASSERT_TRUE(fixture.Start(DesignGame("", c.panel)));
        table.Window().Show();
        ShowTableToolBar(table);
        EXPECT_EQ(table.ToolBar && table.ToolBar->form.Visible(), c.toolBar);
        EXPECT_EQ(table.DesignToolBar && table.DesignToolBar->form.Visible(), c.designBar);
        EXPECT_EQ(table.InfoPanel.Visible() && table.addNumMarker.Surface().Visible(), c.panelButtons)
            << "the panel shows the window's own buttons";
        table.ToolBar.reset();
        table.DesignToolBar.reset();
    }
}

TEST_F(DesignSessionTest, TheNewCardButtonShowsExactlyWhenCardsCanBeAdded) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"", false}, {"cards_can_be_added=TRUE", true}, {"cards_can_be_added=FALSE", false}};
    for (const auto& [line, shown] : cases) {
        SCOPED_TRACE(line);
        ASSERT_TRUE(fixture.Start(DesignGame(line)));
        ShowToolBar(table);
        EXPECT_EQ(table.ToolBar->newCrdBtn.Surface().Visible(), shown);
        table.ToolBar->form.Unload();
    }
}

TEST_F(DesignSessionTest, TheToolBarsDiceAndEndGameButtons) {
    ASSERT_TRUE(fixture.Start(DesignGame()));
    table.Window().Show();
    ShowToolBar(table);
    // A click of the mouse on the button, as the player makes it.
    const platform::ControlSurface& dice = table.ToolBar->diceBtn.Surface();
    EXPECT_TRUE(platform::testdriver::MouseDown(dice, 1, 0, 150, 150));
    EXPECT_TRUE(platform::testdriver::MouseUp(dice, 1, 0, 150, 150));
    EXPECT_THAT(messages.Messages(), ElementsAre("No dices defined"));

    testsupport::QuestionScript no({false});
    table.ToolBar->EndGameBtn.Click();
    EXPECT_NE(Game.GamePhase, kPhaseEnded);
    testsupport::QuestionScript yes({true});
    table.ToolBar->EndGameBtn.Click();
    EXPECT_EQ(Game.GamePhase, kPhaseEnded);
    EXPECT_EQ(AllCardsVisible, kTrue);
    EXPECT_EQ(Game.decks[0].viewDiscard, kTrue);
    AllCardsVisible = kFalse;
}

TEST_F(DesignSessionTest, TheDesignToolBarOffersOneNamedOptionPerSeatAndNoneChosen) {
    ASSERT_TRUE(StartDesign(DesignGame()));
    std::vector<std::string> shown;
    for (int seat = 1; seat <= 7; ++seat) {
        if (bar().plaSelected(seat)->Visible()) shown.push_back(bar().plaSelected(seat)->Caption());
        EXPECT_FALSE(bar().plaSelected(seat)->Value());
    }
    EXPECT_THAT(shown, ElementsAre("Ann", "Bob", "Cid"));
    EXPECT_EQ(bar().plaSelected(3)->ForeColor(), platform::MakeColour(0, 192, 0));

    bar().GraphMrk.Click();
    EXPECT_THAT(messages.Messages(), ElementsAre("Please select a player"));
    EXPECT_FALSE(bar().SetPlayerArea());
}

TEST_F(DesignSessionTest, ChoosingASeatShowsItsSavedAreaAndASeatWithoutOneChangesNothing) {
    ASSERT_TRUE(StartDesign(DesignGame()));
    const PlayerAreaShape cidBefore = PlayerAreas[2];
    bar().plaSelected(3)->SetValue(true);
    EXPECT_EQ(PlayerAreas[2].visible, cidBefore.visible);
    EXPECT_EQ(PlayerAreas[2].width, cidBefore.width);

    ShowPlayerArea(1, kFalse);
    bar().plaSelected(2)->SetValue(true);
    EXPECT_TRUE(PlayerAreas[1].visible);
    EXPECT_EQ(PlayerAreas[1].top, 9000);
    EXPECT_TRUE(table.PlayerArea(1)->Visible());
}

TEST_F(DesignSessionTest, ADragOnTheTableDrawsTheChosenSeatsAreaOnlyRightAndDown) {
    ASSERT_TRUE(StartDesign(DesignGame()));
    CardActions& actions = *table.cardActions;
    actions.BasePict_MouseDown(1, 1000, 2000);
    EXPECT_FALSE(actions.RubberBandActive) << "no seat chosen: nothing is drawn";

    bar().plaSelected(3)->SetValue(true);
    actions.BasePict_MouseDown(1, 1000, 2000);
    EXPECT_TRUE(actions.RubberBandActive);
    actions.BasePict_MouseMove(4000, 5000);
    actions.BasePict_MouseMove(500, 6000);  // left of the corner: no change
    actions.BasePict_MouseMove(5000, 1500); // above it: no change
    const PlayerAreaShape& area = PlayerAreas[2];
    EXPECT_EQ(std::vector<int>({area.top, area.left, area.height, area.width}),
              std::vector<int>({2000, 1000, 3000, 3000}));
    EXPECT_TRUE(area.visible);
    EXPECT_EQ(table.PlayerArea(2)->BorderColor(), platform::MakeColour(0, 192, 0));
    actions.BasePict_MouseUp(1, 500, 6000);
    EXPECT_FALSE(actions.RubberBandActive);
    actions.BasePict_MouseMove(9000, 9000);
    EXPECT_EQ(area.width, 3000) << "the area keeps its rectangle after the release";

    bar().plaSelected(0)->SetValue(true);
    actions.BasePict_MouseDown(1, 100, 100);
    EXPECT_FALSE(actions.RubberBandActive) << "the no-seat option draws nothing";
}

TEST_F(DesignSessionTest, SavedLayoutIsReadBackByTheNextGameOfTheDefinition) {
    ASSERT_TRUE(StartDesign(DesignGame()));
    bar().plaSelected(3)->SetValue(true);
    table.cardActions->BasePict_MouseDown(1, 1005, 2010);
    table.cardActions->BasePict_MouseMove(4005, 5010);
    table.cardActions->BasePict_MouseUp(1, 4005, 5010);
    table.DeckImg(0)->Surface().Move(3330, 4440);
    table.DiscardImg(0)->Surface().Move(6660, 4440);
    GameMode = kModeDirect;
    SendRecorder recorder;
    bar().NewMarkerNumBtn.Click();
    EXPECT_THAT(recorder.sent, IsEmpty()) << "a default marker is not sent";

    bar().Save.Click();

    EXPECT_THAT(messages.Messages(), ElementsAre("Layout saved to " + fixture.GameFile()));
    EXPECT_EQ(Key("PLAYER 3", "layout"), "2010,1005,3000,3000");
    EXPECT_EQ(Key("COMMON 1", "layout_deck").substr(0, 10), "4440,3330,");
    EXPECT_EQ(Key("Setup Default", "markers"), "1");
    EXPECT_THAT(Key("Setup Default", "marker1"), testing::StartsWith("NUM,"));

    ASSERT_TRUE(SetUpNewGame(table, fixture.GameFile()));
    EXPECT_EQ(table.DeckImg(0)->Surface().Left(), 3330);
    EXPECT_EQ(table.DeckImg(0)->Surface().Top(), 4440);
    EXPECT_EQ(table.DiscardImg(0)->Surface().Left(), 6660);
    const PlayerAreaShape& cid = PlayerAreas[2];
    EXPECT_EQ(std::vector<int>({cid.top, cid.left, cid.height, cid.width}),
              std::vector<int>({2010, 1005, 3000, 3000}));
    EXPECT_EQ(Game.players[3].hasTableArea, kTrue);
}

TEST_F(DesignSessionTest, ANewCardLiesFaceUpOnTheTableAndIsSentWhenItFits) {
    ASSERT_TRUE(fixture.Start(DesignGame("cards_can_be_added=TRUE")));
    GameMode = kModeDirect;
    SendRecorder recorder;

    const std::int16_t card = AddNewCardDuringPlay(table, 0, "f9.png");

    ASSERT_EQ(card, 5);
    EXPECT_EQ(Key("COMMON 1", "decksize"), "5");
    EXPECT_EQ(Key("COMMON 1", "card5"), "f9.png");
    const std::int16_t control = Cards[card].controlIndex;
    const controls::TranspImg* image = table.crd(control);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Surface().Tag(), "5");
    EXPECT_TRUE(image->Surface().Visible());
    EXPECT_EQ(CardControlFree[control], kFalse);
    EXPECT_EQ(Game.ZOrderList[Game.zOrderCount].index, card);
    ASSERT_EQ(recorder.sent.size(), 2u);
    EXPECT_EQ(recorder.sent[0].command, "CNEWCARD");
    EXPECT_THAT(recorder.sent[0].fields, ElementsAre("0", "f9.png", "5", std::to_string(control)));
    // It lies in the middle of what this window shows: the other side is told the place.
    EXPECT_EQ(recorder.sent[1].command, "CMOVE");
    EXPECT_EQ(recorder.sent[1].fields[0], std::to_string(control));
}

// Another deck's cards follow the first deck's: the new card takes the number after every card of
// the running game, and the definition gets its line at the end of its deck.
TEST_F(DesignSessionTest, ANewCardOfADeckThatAnotherFollowsTakesTheNextFreeNumberAndIsSent) {
    const std::string second = "[COMMON 2]\nname=More\nsplit=FALSE\ndecksize=1\nimg_back=back.png\n"
                               "img_discard=empty.png\ncard1=f5.png,,,k5\n";
    std::string game = DesignGame("cards_can_be_added=TRUE", second);
    game.replace(game.find("common_decks=1"), 14, "common_decks=2");
    ASSERT_TRUE(fixture.Start(game));
    GameMode = kModeDirect;
    SendRecorder recorder;

    const std::int16_t card = AddNewCardDuringPlay(table, 0, "f9.png");

    ASSERT_EQ(card, 6);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(Cards[5].image, "f5.png") << "the other deck's card keeps its number";
    EXPECT_EQ(Cards[6].image, "f9.png");
    EXPECT_EQ(Cards[6].deck, 0);
    EXPECT_EQ(Game.deckSizes[0], 5);
    EXPECT_EQ(Key("COMMON 1", "decksize"), "5");
    EXPECT_EQ(Key("COMMON 1", "card5"), "f9.png");
    EXPECT_EQ(table.crd(Cards[6].controlIndex)->Surface().Tag(), "6");
    ASSERT_EQ(recorder.sent.size(), 2u);
    EXPECT_EQ(recorder.sent[0].command, "CNEWCARD");
    EXPECT_THAT(recorder.sent[0].fields,
                ElementsAre("0", "f9.png", "6", std::to_string(Cards[6].controlIndex)));
    EXPECT_EQ(recorder.sent[1].command, "CMOVE");
}

} // namespace
