// A new game's table: the opening deal into the seats' areas, the deck piles' places and
// pictures, the cards that start on the table, the scroll bars, and the definitions refused
// because the table cannot be laid out.
#include "TableTestSupport.h"
#include "controls/TestImages.h"

#include "net/MultiplayerMgmt.h"
#include "state/GameMgmt.h"
#include "state/LogStore.h"
#include "state/TableState.h"
#include "state/TableView.h"
#include "state/ZOrder.h"
#include "table/InfoPanel.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

using tabletest::PictureLeft;
using tabletest::PictureTop;
using tabletest::TableFixture;
using testing::ElementsAre;
using testsupport::MessageRecorder;

namespace {

// Seats 1 and 3 have areas, seat 2 none.
std::string ThreeSeatGame(const std::string& deckExtra = "", const std::string& gameExtra = "") {
    std::string text =
        "[GAME]\nplayers=3\ncommon_decks=1\ndirectory=img\nexternal_hand=FALSE\n" + gameExtra +
        "\n[PLAYER 1]\nname=Ann\nlayout=3000,1500,2400,6000\n"
        "[PLAYER 2]\nname=Bob\n"
        "[PLAYER 3]\nname=Cy\nlayout=9000,1500,2400,6000\n"
        "[COMMON "
        "1]\nname=Stock\ndeckSize=8\nimg_back=back.png\nimg_discard=empty.png\nsplit=FALSE\ndeal=2\n" +
        deckExtra + "\n";
    for (int k = 1; k <= 8; ++k)
        text +=
            "card" + std::to_string(k) + "=f" + std::to_string(k) + ".png,,,key" + std::to_string(k) + ",\n";
    return text;
}

class TableSetupTest : public testing::Test {
  protected:
    TableFixture fixture;
    MainForm& table = fixture.Table();
};

TEST_F(TableSetupTest, ACommonDeckDealsRoundTheSeatsWithAreasInTheirSlots) {
    ASSERT_TRUE(fixture.Start(ThreeSeatGame()));

    // The stacking order holds the dealt cards in deal order: seats 1, 3, 1, 3.
    ASSERT_EQ(Game.zOrderCount, 4);
    struct Expected {
        int seat;
        int slot;
    };
    const std::vector<Expected> expected = {{1, 1}, {3, 1}, {1, 2}, {3, 2}};
    for (int entry = 1; entry <= 4; ++entry) {
        SCOPED_TRACE("entry " + std::to_string(entry));
        const ZOrderEntry z = Game.ZOrderList[entry];
        ASSERT_EQ(z.kind, kZCard);
        const CardRecord& card = Cards[z.index];
        const Expected& e = expected[static_cast<std::size_t>(entry - 1)];
        EXPECT_EQ(card.owner, e.seat);
        EXPECT_EQ(card.controlIndex, entry - 1);
        const controls::TranspImg* control = table.crd(card.controlIndex);
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(control->Surface().Visible());
        EXPECT_EQ(control->Surface().Tag(), std::to_string(z.index));
        const PlayerAreaShape& area = PlayerAreas[e.seat - 1];
        // Positions are kept as whole pixels of 15 twips.
        EXPECT_NEAR(PictureLeft(*control), area.left + e.slot * 250, 8);
        EXPECT_NEAR(PictureTop(*control), area.top + 120, 8);
        // The local seat sees its faces, the other seat backs. A deck without transparentColor
        // leaves the reset's magenta as the mask: no grey of a card's picture is see-through.
        const std::string shown = e.seat == 1 ? GameImagePath(card.image) : Game.backImages[0];
        EXPECT_EQ(control->GetPictureName(), shown);
        EXPECT_EQ(card.faceShown, e.seat == 1 ? kTrue : kFalse);
        EXPECT_EQ(control->MaskColor(), platform::MakeColour(255, 0, 255));
    }
    EXPECT_EQ(LoadedCardControls, 4);
    // Areas and names show for the seats with a layout only.
    EXPECT_TRUE(table.PlayerArea(0)->Visible());
    EXPECT_FALSE(table.PlayerArea(1)->Visible());
    EXPECT_TRUE(table.PlayerArea(2)->Visible());
    EXPECT_EQ(table.SideName(2)->Caption(), "Cy");
    EXPECT_FALSE(table.SideName(1)->Visible());
}

// Card pictures as other programs save them, dealt face up: their see-through pixels show the
// table and let clicks pass, their other pixels show as the file stores them.
TEST(TablePictures, CardsOfEveryKindShowAsTheirFilesKeepThem) {
    const int w = tabletest::kFaceWidth, h = tabletest::kFaceHeight;
    const platform::Colour black = platform::MakeColour(0, 0, 0), red = platform::MakeColour(200, 0, 0);
    auto corner = [&](int x, int y) { return std::min(x, w - 1 - x) + std::min(y, h - 1 - y) < 4; };
    // A red face with a black middle, its rounded corners black beneath their transparency.
    platform::Picture face(w, h, red);
    face.FillRect(10, 20, 20, 16, black);
    std::vector<bool> corners(static_cast<std::size_t>(w * h));
    std::vector<std::uint8_t> indexes(corners.size(), 1);
    std::vector<std::string> greyRows;
    for (int y = 0; y < h; ++y) {
        greyRows.emplace_back(static_cast<std::size_t>(w), '\x40');
        for (int x = 0; x < w; ++x) {
            const auto i = static_cast<std::size_t>(y * w + x);
            corners[i] = corner(x, y);
            if (face.GetPixel(x, y) == black) indexes[i] = 2;
            if (corners[i]) {
                face.SetPixel(x, y, black);
                indexes[i] = 0;
                greyRows.back()[static_cast<std::size_t>(x)] = '\xFF';
            }
        }
    }
    std::string gif = testimages::GifOf(w, h, indexes, {platform::MakeColour(0, 255, 0), red, black}, 0);
    gif.insert(25, std::string("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19)); // a loop count
    struct Case {
        const char* name;
        const char* extension;
        std::string bytes;
        std::string deckExtra;
        bool cornersSeeThrough;
        platform::Colour middle;
    } cases[] = {
        {"PNG with an alpha channel", ".png", testimages::RgbaPngOf(face, corners), "", true, black},
        {"animated GIF", ".gif", gif, "", true, black},
        {"grey PNG whose white is transparent, on a deck masking white", ".png",
         testimages::PngOf(w, h, 8, 0, greyRows, "", std::string("\x00\xFF", 2)), "transparentColor=WHITE",
         true, platform::MakeColour(0x40, 0x40, 0x40)},
        {"BMP with a 56-byte header", ".bmp", testimages::BmpOf(face, false, 56), "", false, black},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MessageRecorder messages;
        TableFixture fixture;
        std::string text = ThreeSeatGame(c.deckExtra);
        for (int k = 1; k <= 8; ++k) {
            const std::string name = "f" + std::to_string(k);
            text.replace(text.find(name + ".png"), name.size() + 4, name + c.extension);
            fixture.Folder().Write("img/" + name + c.extension, c.bytes);
        }
        ASSERT_TRUE(fixture.Start(text));
        int shown = 0;
        for (int entry = 1; entry <= Game.zOrderCount; ++entry) {
            const CardRecord& card = Cards[Game.ZOrderList[entry].index];
            if (card.owner != 1) continue;
            const controls::TranspImg& control = *fixture.Table().crd(card.controlIndex);
            ASSERT_EQ(control.GetPictureName(), GameImagePath(card.image));
            const int x0 = control.GetOriginLeft() / 15, y0 = control.GetOriginTop() / 15;
            const platform::ControlSurface& surface = control.Surface();
            EXPECT_EQ(surface.ShowsPixel(x0, y0), !c.cornersSeeThrough);
            EXPECT_EQ(surface.ShowsPixel(x0 + w - 1, y0 + h - 1), !c.cornersSeeThrough);
            EXPECT_TRUE(surface.ShowsPixel(x0 + 4, y0));
            EXPECT_TRUE(surface.ShowsPixel(x0 + w / 2, y0 + h / 2));
            EXPECT_EQ(control.hdc().GetPixel(x0 + w / 2, y0 + h / 2), c.middle);
            ++shown;
        }
        EXPECT_EQ(shown, 2);
        EXPECT_TRUE(messages.Messages().empty());
    }
}

TEST_F(TableSetupTest, EveryCardIsVisibleWhenAllCardsAreShownAndASeatWithoutAreaGetsNone) {
    AllCardsVisible = kTrue;
    ASSERT_TRUE(fixture.Start(ThreeSeatGame()));
    for (int entry = 1; entry <= Game.zOrderCount; ++entry) {
        const CardRecord& card = Cards[Game.ZOrderList[entry].index];
        EXPECT_NE(card.owner, 2);
        EXPECT_EQ(table.crd(card.controlIndex)->GetPictureName(), GameImagePath(card.image));
    }
}

TEST_F(TableSetupTest, TwoCommonDecksStandSideBySideAtTheMiddleHeight) {
    std::string text = ThreeSeatGame() +
                       "[COMMON 2]\nsplit=FALSE\ndeckSize=1\nimg_back=back.png\nimg_discard=empty.png\n"
                       "card1=f9.png,,,key9,\n";
    text.replace(text.find("common_decks=1"), 14, "common_decks=2");
    ASSERT_TRUE(fixture.Start(text));

    const platform::ControlSurface& first = table.DeckImg(0)->Surface();
    const platform::ControlSurface& second = table.DeckImg(1)->Surface();
    const platform::ControlSurface& discard = table.DiscardImg(0)->Surface();
    EXPECT_EQ(discard.Width(), tabletest::kFaceWidth * 15);
    EXPECT_NEAR(first.Left(), 100, 8);
    EXPECT_NEAR(discard.Left(), first.Left() + discard.Width() + 50, 8);
    EXPECT_NEAR(second.Left(), 100 + 2 * discard.Width() + 200, 8);
    const int middle = table.Window().Height() / 2 - discard.Height() / 2;
    EXPECT_NEAR(first.Top(), middle, 8);
    EXPECT_NEAR(second.Top(), middle, 8);
    EXPECT_TRUE(first.Visible());
    EXPECT_TRUE(second.Visible());
    // Deck 0 still holds cards and shows its back.
    EXPECT_EQ(table.DeckImg(0)->GetPictureName(), Game.backImages[0]);
}

TEST_F(TableSetupTest, ALayoutMovesADeckWithoutResizingIt) {
    ASSERT_TRUE(fixture.Start(ThreeSeatGame("layout_deck=1500,3000,99,99\nlayout_discard=1500,4500")));
    const platform::ControlSurface& pile = table.DeckImg(0)->Surface();
    EXPECT_EQ(pile.Top(), 1500);
    EXPECT_EQ(pile.Left(), 3000);
    EXPECT_EQ(pile.Width(), tabletest::kFaceWidth * 15);
    EXPECT_EQ(pile.Height(), tabletest::kFaceHeight * 15);
    EXPECT_EQ(table.DiscardImg(0)->Surface().Left(), 4500);
}

TEST_F(TableSetupTest, ThePilesTellTheirCardCounts) {
    ASSERT_TRUE(
        fixture.Start(ThreeSeatGame("count_cards_in_draw_pile=TRUE\ncount_cards_in_discard_pile=TRUE")));
    EXPECT_EQ(table.DeckImg(0)->Surface().ToolTipText(), "Stock (4 cards)");
    EXPECT_EQ(table.DiscardImg(0)->Surface().ToolTipText(), " (0 cards)");
}

TEST_F(TableSetupTest, CardsThatStartOnTheTableLieAtTheirSetUpPlaceOrBesideTheirDeck) {
    // Cards 7 and 8 start on the table: 8 has a set-up place, turned; 7 has none.
    std::string text =
        ThreeSeatGame("", "") + "[LOG]\nlog_card_actions=ROTATE\n[setup default]\ndeckindex8=4500,6000,90\n";
    text.replace(text.find("card7=f7.png,,"), 14, "card7=f7.png,ON_PLAY,");
    text.replace(text.find("card8=f8.png,,"), 14, "card8=f8.png,ON_PLAY,");
    ASSERT_TRUE(fixture.Start(text));
    const controls::TranspImg& turned = *table.crd(Cards[8].controlIndex);
    EXPECT_EQ(turned.Surface().Top(), 4500);
    EXPECT_EQ(turned.Surface().Left(), 6000);
    // Its own face, turned as any turn of a card: logged, and the markers on it put back.
    EXPECT_EQ(turned.GetPictureName(), GameImagePath(Cards[8].image));
    EXPECT_EQ(turned.rotation(), 90);
    EXPECT_EQ(Cards[8].rotation, 90);
    ASSERT_EQ(LogCount, 1);
    EXPECT_THAT(LogEntry(1), testing::StartsWith("Card rotated (90) : "));

    const controls::TranspImg& beside = *table.crd(Cards[7].controlIndex);
    const platform::ControlSurface& deck = table.DeckImg(0)->Surface();
    EXPECT_EQ(beside.GetPictureName(), GameImagePath(Cards[7].image));
    EXPECT_TRUE(beside.Surface().Visible());
    // The first one without a set-up place lies 120 right of and below its deck where the deck
    // stands once the table is set up.
    EXPECT_EQ(beside.Surface().Left(), deck.Left() + 120);
    EXPECT_EQ(beside.Surface().Top(), deck.Top() + 120);
    // Both are on top of the stacking order, in card order.
    EXPECT_EQ(Game.ZOrderList[Game.zOrderCount - 1].index, 7);
    EXPECT_EQ(Game.ZOrderList[Game.zOrderCount].index, 8);
}

TEST_F(TableSetupTest, ADefinitionTheTableCannotLayOutIsRefusedAndNeverEndsTheProgram) {
    const std::string img = fixture.Folder().Path() + "/img/";
    const auto changed = [](std::string text, const std::string& from, const std::string& to) {
        return text.replace(text.find(from), from.size(), to);
    };
    const struct {
        const char* why;
        std::string definition;
        std::string refusal;
    } cases[] = {
        {"a missing back picture", changed(ThreeSeatGame(), "img_back=back.png", "img_back=gone.png"),
         "Back image for deck 0 not found:" + img + "gone.png"},
        {"no back picture named", changed(ThreeSeatGame(), "img_back=back.png", "img_back="),
         "Back image for deck 0 not found:" + img},
        {"a fitted pile without a discard picture",
         changed(ThreeSeatGame("resize=TRUE"), "img_discard=empty.png", "img_discard="),
         "Discard image for deck 0 not defined"},
        {"a fitted pile whose discard picture is missing",
         changed(ThreeSeatGame("resize=TRUE"), "img_discard=empty.png", "img_discard=gone.png"),
         "Discard image for deck 0 not found:\r\n" + img + "gone.png"},
        {"a deck split among the seats, its back missing",
         changed(changed(ThreeSeatGame(), "split=FALSE", "split=TRUE"), "img_back=back.png",
                 "img_back=gone.png"),
         "Back image for deck 1 not found:" + img + "gone.png"},
        {"a card naming an effect the game does not define",
         changed(ThreeSeatGame(), "card3=f3.png,,", "card3=f3.png,Teleport=2,"),
         "Effect Teleport=2 for card 3 not found"},
    };
    MessageRecorder messages;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        messages.Clear();
        bool started = true;
        EXPECT_NO_THROW(started = fixture.Start(c.definition));
        EXPECT_FALSE(started);
        EXPECT_EQ(messages.Messages(), std::vector<std::string>{"The game cannot be loaded: " + c.refusal});
        EXPECT_EQ(LoadedCardControls, 0) << "nothing is dealt";
    }
    EXPECT_TRUE(fixture.Start(ThreeSeatGame()));
}

TEST_F(TableSetupTest, ADealLargerThanTheDeckMakesControlsForTheDealtCardsOnly) {
    std::string text = ThreeSeatGame();
    text.replace(text.find("deal=2"), 6, "deal=32767");
    ASSERT_TRUE(fixture.Start(text));
    int dealt[4] = {};
    for (int card = 1; card <= Game.totalCards; ++card)
        if (Cards[card].pilePosition == kPileInPlay && Cards[card].owner >= 1 && Cards[card].owner <= 3)
            ++dealt[Cards[card].owner];
    EXPECT_EQ(dealt[1], 4);
    EXPECT_EQ(dealt[2], 0) << "a seat without an area gets nothing";
    EXPECT_EQ(dealt[3], 4);
    // Every attempt still takes its control number, as a deal from an empty pile does.
    EXPECT_EQ(LoadedCardControls, 32767);
    EXPECT_EQ(table.crd.Indexes().size(), 8u);
}

TEST_F(TableSetupTest, TheScrollBarsFollowTheTableSize) {
    ASSERT_TRUE(fixture.Start(ThreeSeatGame()));
    table.Window().Resize(9000, 6000);
    table.setSB();
    struct Case {
        const char* name;
        int tableHeight; // relative to the vertical bar's height
        int tableWidth;  // relative to the horizontal bar's width
        bool vertical;
        bool horizontal;
    };
    const std::vector<Case> cases = {
        {"equal sizes", 0, 0, false, true},
        {"one pixel larger", 15, 15, true, true},
        {"one pixel smaller", -15, -15, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TableHeight = table.vsb.Height() + c.tableHeight;
        TableWidth = table.hsb.Width() + c.tableWidth;
        table.setSB();
        EXPECT_EQ(table.vsb.Enabled(), c.vertical);
        EXPECT_EQ(table.hsb.Enabled(), c.horizontal);
        EXPECT_GE(table.vsb.Max(), 0);
        EXPECT_GE(table.hsb.Max(), 0);
    }
}

TEST_F(TableSetupTest, ScrollingMovesOnlyTheTableSurfaceAndAHugeTableStaysInTheBarsRange) {
    ASSERT_TRUE(fixture.Start(ThreeSeatGame()));
    table.Window().Resize(9000, 6000);
    table.setSB();
    const controls::TranspImg& card = *table.crd(0);
    const int cardLeft = card.Surface().Left();
    table.hsb.SetValue(300);
    table.vsb.SetValue(450);
    EXPECT_EQ(table.BasePict.Left(), -300);
    EXPECT_EQ(table.BasePict.Top(), -450);
    EXPECT_EQ(card.Surface().Left(), cardLeft);

    // 600000 twips do not fit the bar's 16 bits: the bar takes coarser steps and still reaches
    // the table's far edge.
    TableWidth = 600000;
    table.setSB();
    EXPECT_LE(table.hsb.Max(), 32767);
    EXPECT_GT(table.hsb.Max(), 0);
    table.hsb.SetValue(table.hsb.Max());
    const int farEdge = TableWidth - table.Window().ScaleWidth() + table.vsb.Width();
    EXPECT_NEAR(-table.BasePict.Left(), farEdge, 30);
}

TEST_F(TableSetupTest, TheTablesRightEdgeScrollsOutFromUnderTheInformationPanel) {
    ASSERT_TRUE(fixture.Start(ThreeSeatGame()));
    table.Window().Resize(9000, 6000);
    TableWidth = 18000;
    TableHeight = 11400;
    for (int panel : {0, 2700}) {
        SCOPED_TRACE(panel);
        InfoPanelSettings.width = static_cast<std::int16_t>(panel);
        table.setSB();
        table.hsb.SetValue(table.hsb.Max());
        table.vsb.SetValue(table.vsb.Max());
        // What shows of the table ends where the panel (or the bar) begins: at the table's edge.
        EXPECT_EQ(-table.BasePict.Left() + table.vsb.Left(), TableWidth);
        EXPECT_EQ(-table.BasePict.Top() + table.hsb.Top(), TableHeight);
    }
}

TEST_F(TableSetupTest, AShuffleReportedToTheWindowIsSentInDirectPlay) {
    ASSERT_TRUE(fixture.Start(ThreeSeatGame()));
    std::vector<std::string> sent;
    const tabletest::NetOutboxInstalled outbox;
    const NetSendHook previous =
        SetNetSendHook([&](const std::string& command, const std::vector<std::string>& fields) {
            sent.push_back(command + " " + fields[0]);
        });
    GameMode = kModeDirect;
    Game.GamePhase = kPhasePlaying;
    View().DeckShuffled(0);
    SetNetSendHook(previous);
    EXPECT_THAT(sent, ElementsAre("DKSHUFF 0"));
}

TEST_F(TableSetupTest, ALongGameHandsOutNewControlsAndMarksEveryRemovedOneFree) {
    ASSERT_TRUE(fixture.Start(ThreeSeatGame()));
    const int before = LoadedCardControls;
    // Far more cards come and go than the table holds cards: each takes a new control.
    for (int round = 0; round < 2000; ++round) {
        const std::int16_t control = NewCardControl();
        ASSERT_EQ(control, before + round);
        ASSERT_NE(table.crd(control), nullptr);
        EXPECT_EQ(table.crd(control)->MaskColor(), platform::MakeColour(128, 128, 128));
        RemoveCardControl(control);
        ASSERT_EQ(CardControlFree[control], kTrue);
    }
    EXPECT_EQ(LoadedCardControls, before + 2000);
    // Only the dealt cards' controls stay loaded.
    EXPECT_EQ(table.crd.Count(), before);
    // The first control is only hidden when its card goes.
    RemoveCardControl(0);
    ASSERT_NE(table.crd(0), nullptr);
    EXPECT_FALSE(table.crd(0)->Surface().Visible());
    EXPECT_EQ(table.crd(0)->Surface().Tag(), "");
}

TEST_F(TableSetupTest, TheSizeGripResizesAboveFiveThousandTwipsOnly) {
    ASSERT_TRUE(fixture.Start(ThreeSeatGame()));
    platform::Form& window = table.Window();
    struct Case {
        const char* name;
        int width; // asked for, twips
        int height;
        bool applied;
    };
    const std::vector<Case> cases = {
        {"exactly 5000 wide", 5000, 7500, false},
        {"exactly 5000 high", 7500, 5000, false},
        {"just above both", 5010, 5010, true},
        {"larger", 12000, 9000, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window.Resize(9000, 6000);
        const int width = window.Width(), height = window.Height();
        table.corner.OnMouseDown({1, 0, 30, 30});
        table.corner.OnMouseMove(
            {1, 0, static_cast<float>(30 + c.width - width), static_cast<float>(30 + c.height - height)});
        table.corner.OnMouseUp({1, 0, 0, 0});
        EXPECT_EQ(window.Width(), c.applied ? c.width : width);
        EXPECT_EQ(window.Height(), c.applied ? c.height : height);
    }
    // Without a press first the grip does nothing.
    table.corner.OnMouseMove({1, 0, 3000, 3000});
    EXPECT_EQ(window.Width(), 12000);
}

TEST_F(TableSetupTest, ClosingTheTableClearsTheCards) {
    ASSERT_TRUE(fixture.Start(ThreeSeatGame()));
    table.Window().Show();
    ASSERT_FALSE(Cards[1].key.empty());
    EXPECT_TRUE(table.Window().Unload());
    EXPECT_TRUE(Cards[1].key.empty());
}

} // namespace
