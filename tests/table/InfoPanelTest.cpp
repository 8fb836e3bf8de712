// The information panel: whether it shows, the hand labels of a hand-window game, and what it
// tells of the card under the mouse.
#include "TableTestSupport.h"

#include "state/GameMgmt.h"
#include "table/InfoPanel.h"

#include <gtest/gtest.h>

#include <string>

using tabletest::TableFixture;

namespace {

std::string PanelGame(const std::string& panel, bool handWindow, int deal = 2) {
    std::string text =
        "[GAME]\nplayers=2\ncommon_decks=1\ndirectory=img\nexternal_hand=" +
        std::string(handWindow ? "TRUE" : "FALSE") + "\n[INFOPANEL]\n" + panel +
        "\n[PLAYER 1]\nname=Ann\nlayout=3000,1500,2400,6000\n"
        "[PLAYER 2]\nname=Bob\nlayout=9000,1500,2400,6000\n"
        "[COMMON 1]\ndeckSize=16\nimg_back=back.png\nimg_discard=empty.png\nsplit=FALSE\ndeal=" +
        std::to_string(deal) + "\n";
    for (int k = 1; k <= 16; ++k)
        text += "card" + std::to_string(k) + "=f" + std::to_string((k - 1) % 12 + 1) + ".png,,,key" +
                std::to_string(k) + ",\n";
    text += "[CARD INFO]\n";
    for (int k = 1; k <= 16; ++k)
        text += "key" + std::to_string(k) + "=Card " + std::to_string(k) + "|About\\nit\n";
    return text;
}

class InfoPanelTest : public testing::Test {
  protected:
    void SetUp() override { fixture.WritePicture("crdIcon.jpg", 10, 14); }
    TableFixture fixture;
    MainForm& table = fixture.Table();
};

TEST_F(InfoPanelTest, WithoutAWidthThereIsNoPanelWhateverElseIsAsked) {
    ASSERT_TRUE(fixture.Start(PanelGame("showZoom=TRUE\nshowInfo=TRUE\nshowHandSize=100,100,RED", true)));
    table.setSB();
    EXPECT_EQ(InfoPanelSettings.width, 0);
    EXPECT_FALSE(table.InfoPanel.Visible());
}

TEST_F(InfoPanelTest, HandLabelsCountEachSeatsHandWithAtMostTwelveIcons) {
    ASSERT_TRUE(fixture.Start(PanelGame("width=3000\nshowHandSize=300,0,BLUE", true, 6)));
    table.Window().Resize(12000, 9000);
    table.setSB();
    ASSERT_TRUE(table.InfoPanel.Visible());
    ASSERT_NE(table.HandLabel(1), nullptr);
    EXPECT_EQ(table.HandLabel(0)->Caption(), "Ann (6)");
    EXPECT_EQ(table.HandLabel(1)->Caption(), "Bob (6)");
    EXPECT_EQ(table.HandLabel(0)->Left(), 15); // a left below 1 becomes 20, kept in whole pixels

    // Seat 1 holds 15 cards: the count says so and all twelve icons show.
    for (int card = 1; card <= 16; ++card) {
        Cards[card].owner = card <= 15 ? 1 : 0;
        Cards[card].inHand = ToFlag(card <= 15);
        Cards[card].pilePosition = card <= 15 ? kPileInPlay : 1;
    }
    UpdateHandSizeCaptions();
    EXPECT_EQ(table.HandLabel(0)->Caption(), "Ann (15)");
    for (int k = 0; k < kHandIcons; ++k)
        EXPECT_TRUE(table.HandIcon(k)->Visible()) << "icon " << k + 1;
    EXPECT_EQ(table.HandLabel(1)->Caption(), "Bob (0)");
    EXPECT_FALSE(table.HandIcon(kHandIcons)->Visible());
}

TEST_F(InfoPanelTest, HandLabelsNeedTheHandWindow) {
    ASSERT_TRUE(fixture.Start(PanelGame("width=3000\nshowHandSize=300,100,BLUE", false)));
    table.setSB();
    EXPECT_FALSE(table.HandLabel(0)->Visible());
}

TEST_F(InfoPanelTest, TheCardUnderTheMouseShowsUnlessAnotherSeatHidesIt) {
    ASSERT_TRUE(fixture.Start(PanelGame("width=3000\nshowZoom=TRUE\nshowInfo=TRUE", false, 1)));
    table.setSB();
    const std::int16_t mine = tabletest::DealtCardOf(1);
    const std::int16_t theirs = tabletest::DealtCardOf(2);
    ASSERT_NE(mine, 0);
    ASSERT_NE(theirs, 0);

    ShowCardInfo(mine);
    EXPECT_EQ(table.ZoomImg.GetPictureName(), GameImagePath(Cards[mine].image));
    // The label shows each line break as one.
    EXPECT_EQ(table.CardInfoLabel.Caption(), "Card " + std::to_string(mine) + "\n\nAbout\nit");

    ShowCardInfo(theirs);
    EXPECT_EQ(table.ZoomImg.GetPictureName(), Game.backImages[0]);
    EXPECT_EQ(table.CardInfoLabel.Caption(), "No info is available on the card");
}

// The card shown last shows what it shows now when the mouse comes back to it: a card turned face
// down, or taken into another seat's hand, shows its back; turned up again, its face.
TEST_F(InfoPanelTest, TheCardShownLastShowsItsPictureOfNowWhenHoveredAgain) {
    ASSERT_TRUE(fixture.Start(PanelGame("width=3000\nshowZoom=TRUE", false, 1)));
    table.setSB();
    const std::int16_t card = tabletest::DealtCardOf(1);
    Cards[card].owner = 0; // on the table, common
    Cards[card].inHand = kFalse;
    const std::string face = GameImagePath(Cards[card].image);
    struct Step {
        const char* name;
        std::int16_t owner;
        bool faceShown;
        std::string shown;
    };
    for (const Step& s :
         {Step{"face up", 0, true, face}, Step{"flipped face down", 0, false, Game.backImages[0]},
          Step{"flipped back up", 0, true, face},
          Step{"taken into another seat's hand", 2, false, Game.backImages[0]}}) {
        SCOPED_TRACE(s.name);
        Cards[card].owner = s.owner;
        Cards[card].faceShown = ToFlag(s.faceShown);
        ShowCardInfo(card);
        EXPECT_EQ(table.ZoomImg.GetPictureName(), s.shown);
    }
}

} // namespace
