// Markers lying on cards: on which card a dropped marker lies, and how the markers follow their
// card when it is dragged, raised, lowered, shown, hidden, turned or taken off the table.
#include "TableTestSupport.h"

#include "platform/Picture.h"
#include "state/LogStore.h"
#include "state/MarkersMgmt.h"
#include "state/ZOrder.h"
#include "table/CarriedMarkers.h"
#include "table/SelectionMgmt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using tabletest::TableFixture;

namespace {

// Seats 1 and 2 with areas; one card dealt to each; cards turn by quarter turns. Ann's card is
// control 0, Bob's control 1.
const std::string kGame =
    "[GAME]\nplayers=2\ncommon_decks=1\ndirectory=img\nexternal_hand=FALSE\n"
    "[LOG]\nlog_card_actions=ROTATE\n"
    "[PLAYER 1]\nname=Ann\nlayout=3000,1500,2400,6000\n"
    "[PLAYER 2]\nname=Bob\nlayout=9000,1500,2400,6000\n"
    "[COMMON 1]\nsplit=FALSE\ndeckSize=4\nimg_back=back.png\nimg_discard=empty.png\ndeal=1\n"
    "rotate=0,90,180,270\n"
    "card1=f1.png,,,k1,\ncard2=f2.png,,,k2,\ncard3=f3.png,,,k3,\ncard4=f4.png,,,k4,\n";

struct Rect {
    int left, top, width, height;
    int Right() const { return left + width; }
    int Bottom() const { return top + height; }
};

Rect RectOf(const platform::ControlSurface& s) {
    return Rect{s.Left(), s.Top(), s.Width(), s.Height()};
}

// On each card a numerical marker (0 on control 0, 1 on control 1) and an image marker (record 1
// on control 0, record 2 on control 1), attached where they were dropped.
struct MarkersOnTwoCards {
    platform::ControlSurface* num[2];
    platform::ControlSurface* image[2];
};

class CarriedMarkersTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(fixture.Start(kGame));
        ASSERT_EQ(LoadedCardControls, 2);
        // Both cards lie side by side in the open, clear of the seat areas.
        Card(0).Move(3000, 6000);
        Card(1).Move(6000, 6000);
    }

    platform::ControlSurface& Card(int control) { return table.crd(control)->Surface(); }
    // The card a control shows.
    std::int16_t CardOf(int control) { return static_cast<std::int16_t>(std::stoi(Card(control).Tag())); }
    // The point where a control's picture starts, in table twips.
    int PictureLeft(int control) { return tabletest::PictureLeft(*table.crd(control)); }
    int PictureTop(int control) { return tabletest::PictureTop(*table.crd(control)); }

    // Numerical marker m, in use, at a place and size in twips (whole pixels).
    platform::ControlSurface& NumMarker(int m, const Rect& r) {
        controls::zLabelA* label = table.markerNum(m) ? table.markerNum(m) : table.markerNum.Load(m);
        platform::ControlSurface& s = label->Surface();
        s.Move(r.left, r.top, r.width, r.height);
        s.SetVisible(true);
        NumMarkerInUse[m] = kTrue;
        NextNumMarker = static_cast<std::int16_t>(std::max(NextNumMarker + 0, m + 2));
        BringToFrontZOrder(kZNumMarker, static_cast<std::int16_t>(m), 0);
        return s;
    }

    // Image marker record n (control n - 1), in use, showing a solid picture.
    platform::ControlSurface& ImageMarker(int n, const Rect& r) {
        controls::TranspImg* image = table.mrk(n - 1) ? table.mrk(n - 1) : table.mrk.Load(n - 1);
        image->SetPicture(platform::Picture(r.width / 15, r.height / 15, platform::MakeColour(0, 160, 0)));
        platform::ControlSurface& s = image->Surface();
        s.Move(r.left, r.top, r.width, r.height);
        s.SetVisible(true);
        GraphMarkers[n].inUse = kTrue;
        GraphMarkerCount = static_cast<std::int16_t>(std::max(GraphMarkerCount + 0, n));
        BringToFrontZOrder(kZImageMarker, static_cast<std::int16_t>(n - 1), 0);
        return s;
    }

    MarkersOnTwoCards DropMarkersOnBothCards() {
        MarkersOnTwoCards on{};
        for (int control : {0, 1}) {
            const Rect card = RectOf(Card(control));
            on.num[control] = &NumMarker(control, {card.left + 150, card.top + 150, 150, 150});
            on.image[control] =
                &ImageMarker(control + 1, {PictureLeft(control) + 150, PictureTop(control) + 300, 150, 150});
            AttachNumericalMarker(static_cast<std::int16_t>(control));
            AttachImageMarker(static_cast<std::int16_t>(control + 1));
            EXPECT_EQ(on.num[control]->Tag(), std::to_string(control));
            EXPECT_EQ(on.image[control]->Tag(), std::to_string(control));
        }
        return on;
    }

    // The stacking-order position of a pair; 0 when it is not listed.
    static int ZPosition(std::int16_t kind, std::int16_t index) {
        for (int i = 1; i <= Game.zOrderCount; ++i)
            if (Game.ZOrderList[i].kind == kind && Game.ZOrderList[i].index == index) return i;
        return 0;
    }

    TableFixture fixture;
    MainForm& table = fixture.Table();
};

TEST_F(CarriedMarkersTest, ANumericalMarkerLiesOnACardOnlyStrictlyInsideIt) {
    const Rect card = RectOf(Card(0));
    struct Case {
        const char* name;
        Rect marker;
        std::string tag;
    };
    const std::vector<Case> cases = {
        {"one pixel in on every side",
         {card.left + 15, card.top + 15, card.width - 30, card.height - 30},
         "0"},
        {"right edge on the card's right edge", {card.left + 15, card.top + 15, card.width - 15, 150}, "-1"},
        {"top edge on the card's top edge", {card.left + 15, card.top, 150, 150}, "-1"},
        {"left of the card", {card.left - 150, card.top + 15, 150, 150}, "-1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        platform::ControlSurface& marker = NumMarker(0, c.marker);
        AttachNumericalMarker(0);
        EXPECT_EQ(marker.Tag(), c.tag);
    }
}

TEST_F(CarriedMarkersTest, ADroppedMarkerLiesOnTheHigherOfTwoOverlappingCards) {
    Card(1).Move(Card(0).Left() + 150, Card(0).Top() + 150);
    // Inside both pictures.
    const Rect inner{PictureLeft(1) + 150, PictureTop(1) + 150, 150, 150};
    const std::int16_t first = CardOf(0);
    const std::int16_t second = CardOf(1);
    struct Case {
        const char* name;
        int topCard;
        std::string tag;
    };
    for (const Case& c :
         std::vector<Case>{{"control 1 on top", second, "1"}, {"control 0 on top", first, "0"}}) {
        SCOPED_TRACE(c.name);
        BringToFrontZOrder(kZCard, static_cast<std::int16_t>(c.topCard), 0);
        NumMarker(0, inner);
        AttachNumericalMarker(0);
        EXPECT_EQ(table.markerNum(0)->Surface().Tag(), c.tag);
        ImageMarker(1, inner);
        AttachImageMarker(1);
        EXPECT_EQ(table.mrk(0)->Surface().Tag(), c.tag);
    }
}

TEST_F(CarriedMarkersTest, AnImageMarkerOverASeeThroughCornerOfACardDoesNotLieOnIt) {
    // A card's control is a square frame round its upright picture: the frame's corners beside
    // the picture are see-through.
    const Rect card = RectOf(Card(0));
    const int pictureLeft = PictureLeft(0);
    ASSERT_GT(pictureLeft, card.left + 60);
    platform::ControlSurface& marker = ImageMarker(1, {card.left, card.top + card.height / 2 - 30, 60, 60});
    AttachImageMarker(1);
    EXPECT_EQ(marker.Tag(), "-1");

    // Over the second card lying below that corner it lies on the second card.
    Card(1).Move(card.left - 600, card.top);
    BringToFrontZOrder(kZCard, CardOf(1), 0);
    BringToFrontZOrder(kZCard, CardOf(0), 0);
    ASSERT_GT(FindCardInZOrder(0), FindCardInZOrder(1));
    AttachImageMarker(1);
    EXPECT_EQ(marker.Tag(), "1");

    // Over the picture itself it lies on the card.
    marker.Move(pictureLeft + 60, card.top + card.height / 2 - 30);
    AttachImageMarker(1);
    EXPECT_EQ(marker.Tag(), "0");
}

TEST_F(CarriedMarkersTest, MarkersFindTheirCardFarOutOnALargeTable) {
    // Beyond 32767 twips, where a 16-bit position would stop.
    Card(0).Move(45000, 36000);
    const Rect inner{PictureLeft(0) + 150, PictureTop(0) + 150, 150, 150};
    platform::ControlSurface& num = NumMarker(0, inner);
    platform::ControlSurface& image = ImageMarker(1, inner);
    AttachNumericalMarker(0);
    AttachImageMarker(1);
    EXPECT_EQ(num.Tag(), "0");
    EXPECT_EQ(image.Tag(), "0");
    const int before = image.Left();
    MoveAttachedMarkers(0, 150, 150, kMarkersMove);
    EXPECT_EQ(image.Left(), before + 150);
}

TEST_F(CarriedMarkersTest, MarkersKeepTheirPlaceOnATurnedCard) {
    const Rect card = RectOf(Card(0));
    struct Case {
        const char* name;
        std::int16_t angle;
        int width, height; // of the marker
    };
    for (const Case& c :
         std::vector<Case>{{"to 90", 90, 150, 150}, {"to 270, a wide marker", 270, 300, 90}}) {
        SCOPED_TRACE(c.name);
        Cards[CardOf(0)].rotation = 0;
        table.crd(0)->rotation(0);
        // On the picture, `along` below the control's top edge and `across` right of its left edge
        // (whole pixels).
        const int along = (PictureTop(0) - card.top) / 15 * 15 + 105;
        const int across = (PictureLeft(0) - card.left) / 15 * 15 + 210;
        platform::ControlSurface& num =
            NumMarker(0, {card.left + across, card.top + along, c.width, c.height});
        platform::ControlSurface& image =
            ImageMarker(1, {card.left + across, card.top + along, c.width, c.height});
        AttachNumericalMarker(0);
        AttachImageMarker(1);
        ASSERT_EQ(num.Tag(), "0");
        ASSERT_EQ(image.Tag(), "0");
        RotateCard(0, c.angle);
        const Rect turned = RectOf(Card(0));
        for (const platform::ControlSurface* m : {&num, &image}) {
            if (c.angle == 90) {
                // The card's own top edge is now its right edge, its own left edge its top edge.
                EXPECT_EQ(m->Top(), turned.top + across);
                EXPECT_EQ(m->Left() + m->Width(), turned.Right() - along);
            } else {
                // The card's own top edge is now its left edge, its own left edge its bottom edge.
                EXPECT_EQ(m->Left(), turned.left + along);
                EXPECT_EQ(m->Top() + m->Height(), turned.Bottom() - across);
            }
        }
    }
    // Each turn went to the log.
    EXPECT_TRUE(std::any_of(LogLines.begin(), LogLines.end(), [](const std::string& line) {
        return line.find("Card rotated (270)") != std::string::npos;
    }));
}

TEST_F(CarriedMarkersTest, ADraggedCardCarriesItsMarkersAndRaisesThem) {
    const Rect card = RectOf(Card(0));
    platform::ControlSurface& num = NumMarker(0, {card.left + 150, card.top + 150, 150, 150});
    platform::ControlSurface& image = ImageMarker(1, {PictureLeft(0) + 150, PictureTop(0) + 300, 150, 150});
    platform::ControlSurface& elsewhere = NumMarker(1, {card.left + 150, card.top + 450, 150, 150});
    AttachNumericalMarker(0);
    AttachImageMarker(1);
    elsewhere.SetTag("1"); // lies on the other card
    // Put the card on top, below the markers' entries, then let something else on top.
    BringToFrontZOrder(kZNumMarker, 1, 0);

    struct Case {
        const char* name;
        bool keepStacking; // Alt alone
        bool sendToBack;   // Shift alone
        bool numRaised;
        bool imageRaised;
    };
    const std::vector<Case> cases = {
        {"a plain drag raises both", false, false, true, true},
        {"Alt alone raises only the image marker", true, false, false, true},
        {"Shift alone raises neither", false, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BringToFrontZOrder(kZNumMarker, 1, 0);
        KeepStackingDrag = ToFlag(c.keepStacking);
        SendToBackDrag = ToFlag(c.sendToBack);
        const int numLeft = num.Left(), numTop = num.Top();
        const int imageLeft = image.Left(), imageTop = image.Top();
        const int otherLeft = elsewhere.Left();
        MoveAttachedMarkers(0, 300, -150, kMarkersMove);
        EXPECT_EQ(num.Left(), numLeft + 300);
        EXPECT_EQ(num.Top(), numTop - 150);
        EXPECT_EQ(image.Left(), imageLeft + 300);
        EXPECT_EQ(image.Top(), imageTop - 150);
        EXPECT_EQ(elsewhere.Left(), otherLeft);
        EXPECT_EQ(ZPosition(kZNumMarker, 0) > ZPosition(kZNumMarker, 1), c.numRaised);
        EXPECT_EQ(ZPosition(kZImageMarker, 0) > ZPosition(kZNumMarker, 1), c.imageRaised);
    }
    KeepStackingDrag = kFalse;
    SendToBackDrag = kFalse;

    // Raised with the card, lowered with it.
    MoveAttachedMarkers(0, 0, 0, kMarkersLower);
    EXPECT_LE(ZPosition(kZNumMarker, 0), 2);
    EXPECT_LE(ZPosition(kZImageMarker, 0), 2);
    MoveAttachedMarkers(0, 0, 0, kMarkersRaise);
    EXPECT_GE(ZPosition(kZNumMarker, 0), Game.zOrderCount - 1);
    EXPECT_GE(ZPosition(kZImageMarker, 0), Game.zOrderCount - 1);
}

TEST_F(CarriedMarkersTest, TheMarkersOfSeveralCardsMoveAndRiseCardByCardInTheOrderGiven) {
    const MarkersOnTwoCards on = DropMarkersOnBothCards();
    const Rect first = RectOf(Card(0));
    // Off every card, and one whose Tag names no control.
    platform::ControlSurface& loose = NumMarker(2, {first.left - 600, first.top, 150, 150});
    platform::ControlSurface& untagged = ImageMarker(3, {first.left - 900, first.top, 150, 150});
    AttachNumericalMarker(2);
    ASSERT_EQ(loose.Tag(), "-1");
    ASSERT_EQ(untagged.Tag(), "");

    // As in a group drag: the numerical markers keep their place among the others.
    KeepStackingDrag = kTrue;
    struct Case {
        std::vector<std::int16_t> controls;
        std::int16_t upperImage; // the image marker that rose last
    };
    for (const Case& c : std::vector<Case>{{{1, 0}, 0}, {{0, 1}, 1}}) {
        SCOPED_TRACE("control " + std::to_string(c.controls[0]) + " first");
        const std::vector<platform::ControlSurface*> all = {on.num[0],   on.num[1], on.image[0],
                                                            on.image[1], &loose,    &untagged};
        std::vector<int> lefts, tops;
        for (const platform::ControlSurface* m : all)
            lefts.push_back(m->Left()), tops.push_back(m->Top());
        MoveMarkersOfCards(c.controls, 300, -150);
        for (std::size_t i = 0; i < all.size(); ++i) {
            const bool carried = i < 4;
            EXPECT_EQ(all[i]->Left(), lefts[i] + (carried ? 300 : 0)) << "marker " << i;
            EXPECT_EQ(all[i]->Top(), tops[i] - (carried ? 150 : 0)) << "marker " << i;
        }
        // Only the image markers rose, to the top.
        EXPECT_LT(ZPosition(kZNumMarker, 0), Game.zOrderCount - 1);
        EXPECT_LT(ZPosition(kZNumMarker, 1), Game.zOrderCount - 1);
        EXPECT_EQ(ZPosition(kZImageMarker, c.upperImage), Game.zOrderCount);
        EXPECT_EQ(ZPosition(kZImageMarker, static_cast<std::int16_t>(1 - c.upperImage)),
                  Game.zOrderCount - 1);
    }
    KeepStackingDrag = kFalse;
}

TEST_F(CarriedMarkersTest, AGroupDragCarriesTheMarkersOfTheCardsThatFollowNotOfTheDraggedCard) {
    const MarkersOnTwoCards on = DropMarkersOnBothCards();
    ToggleCardSelection(0);
    ToggleCardSelection(1);
    const int draggedLeft = on.num[0]->Left(), draggedImageLeft = on.image[0]->Left();
    const int followerLeft = on.num[1]->Left(), followerTop = on.num[1]->Top();
    const int imageLeft = on.image[1]->Left();
    BringToFrontZOrder(kZNumMarker, 0, 0); // something else on top
    const int numZ = ZPosition(kZNumMarker, 1);
    // Two steps: the markers keep following once the followers are known.
    for (int step = 1; step <= 2; ++step) {
        SCOPED_TRACE("step " + std::to_string(step));
        DragSelectedCards(300, 150, CardOf(0));
        EXPECT_EQ(on.num[0]->Left(), draggedLeft);
        EXPECT_EQ(on.image[0]->Left(), draggedImageLeft);
        EXPECT_EQ(on.num[1]->Left(), followerLeft + 300 * step);
        EXPECT_EQ(on.num[1]->Top(), followerTop + 150 * step);
        EXPECT_EQ(on.image[1]->Left(), imageLeft + 300 * step);
    }
    // The numerical marker kept its place in the stacking order; the image marker rose.
    EXPECT_EQ(ZPosition(kZNumMarker, 1), numZ);
    EXPECT_EQ(ZPosition(kZImageMarker, 1), Game.zOrderCount);
    EXPECT_EQ(KeepStackingDrag, kFalse);
    EndGroupDrag();
    ClearSelection();
}

TEST_F(CarriedMarkersTest, MarkersAreHiddenShownAndDeletedWithTheirCard) {
    const Rect card = RectOf(Card(0));
    platform::ControlSurface& image = ImageMarker(1, {PictureLeft(0) + 150, PictureTop(0) + 300, 150, 150});
    NumMarker(0, {card.left + 150, card.top + 150, 150, 150});
    NumMarker(1, {card.left + 150, card.top + 450, 150, 150});
    AttachNumericalMarker(0);
    AttachNumericalMarker(1);
    AttachImageMarker(1);

    MoveAttachedMarkers(0, 0, 0, kMarkersHide);
    EXPECT_FALSE(table.markerNum(1)->Surface().Visible());
    EXPECT_FALSE(image.Visible());
    MoveAttachedMarkers(0, 0, 0, kMarkersShow);
    EXPECT_TRUE(table.markerNum(1)->Surface().Visible());
    EXPECT_TRUE(image.Visible());

    // A card without markers changes nothing.
    const int entries = Game.zOrderCount;
    MoveAttachedMarkers(1, 0, 0, kMarkersDelete);
    EXPECT_EQ(Game.zOrderCount, entries);
    EXPECT_EQ(NumMarkerInUse[1], kTrue);

    MoveAttachedMarkers(0, 0, 0, kMarkersDelete);
    EXPECT_EQ(NumMarkerInUse[0], kFalse);
    EXPECT_EQ(NumMarkerInUse[1], kFalse);
    EXPECT_EQ(GraphMarkers[1].inUse, kFalse);
    EXPECT_EQ(table.markerNum(1), nullptr);
    // The designed elements stay, hidden and free.
    ASSERT_NE(table.markerNum(0), nullptr);
    EXPECT_FALSE(table.markerNum(0)->Surface().Visible());
    EXPECT_EQ(table.markerNum(0)->Surface().Tag(), "");
    ASSERT_NE(table.mrk(0), nullptr);
    EXPECT_FALSE(table.mrk(0)->Surface().Visible());
    EXPECT_EQ(ZPosition(kZNumMarker, 0), 0);
    EXPECT_EQ(ZPosition(kZNumMarker, 1), 0);
    EXPECT_EQ(ZPosition(kZImageMarker, 0), 0);
    EXPECT_EQ(Game.zOrderCount, entries - 3);
}

TEST_F(CarriedMarkersTest, ANumericalMarkerOnAnotherSeatsHandIsHiddenAnImageMarkerIsNot) {
    // Bob's card lies in Bob's area: a hand of another seat.
    const int bobs = Cards[tabletest::DealtCardOf(2)].controlIndex;
    const PlayerAreaShape& area = PlayerAreas[1];
    Card(bobs).Move(area.left + 300, area.top + 150);
    const Rect card = RectOf(Card(bobs));
    platform::ControlSurface& num = NumMarker(0, {card.left + 150, card.top + card.height / 2, 150, 150});
    platform::ControlSurface& image =
        ImageMarker(1, {card.left + card.width / 2 - 75, card.top + card.height / 2, 150, 150});
    AttachNumericalMarker(0);
    AttachImageMarker(1);
    EXPECT_EQ(num.Tag(), std::to_string(bobs));
    EXPECT_EQ(image.Tag(), std::to_string(bobs));
    EXPECT_FALSE(num.Visible());
    EXPECT_TRUE(image.Visible());
}

} // namespace
