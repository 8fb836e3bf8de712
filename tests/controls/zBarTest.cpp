// The marker picker's side bar and its two small controls: the flat group button, the selection
// frame, and the bar's groups, items, selection and scrolling. The drawings are written as PNGs
// for review.
#include "TestSupport.h"
#include "controls/ReviewPictures.h"

#include "controls/zBar.h"
#include "controls/zFlatButton.h"
#include "controls/zShape.h"
#include "platform/ControlSurface.h"
#include "platform/Fonts.h"
#include "platform/Twips.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using controls::zBar;
using controls::zFlatButton;
using controls::zShape;
using platform::Colour;
using platform::MakeColour;
using platform::Picture;

namespace {

constexpr Colour kWhite = MakeColour(255, 255, 255);
constexpr Colour kBlack = MakeColour(0, 0, 0);
constexpr Colour kGrey = MakeColour(128, 128, 128);
constexpr Colour kButtonBack = MakeColour(224, 224, 224);
constexpr Colour kYellow = MakeColour(255, 255, 128);
constexpr Colour kMagenta = MakeColour(255, 0, 255);

int LineHeight() {
    return platform::MeasureText(platform::SpecOf(platform::Font{"Arial", 8.25, false}), "Ag").height;
}

// A folder of item pictures: name.png of width x height in one colour, with a magenta corner
// square when asked (the key colour of transparent items).
class PictureFolder {
  public:
    std::string Write(const std::string& name, int width, int height, Colour colour, bool keyCorner = false) {
        Picture p(width, height, colour);
        if (keyCorner) p.FillRect(0, 0, 4, 4, kMagenta);
        const std::string path = folder_.Path() + "/" + name + ".png";
        p.SaveAsPng(path);
        return path;
    }

  private:
    testsupport::TempProgramFolder folder_;
};

// A bar of 120 x 300 pixels.
std::unique_ptr<zBar> NewBar() {
    auto bar = std::make_unique<zBar>();
    bar->Surface().SetSizePixels(120, 300);
    return bar;
}

} // namespace

TEST(zFlatButton, UpDrawsTheCaptionCentredInBlackAndAWhiteHighlightOnTheLeftAndTop) {
    zFlatButton button;
    button.Surface().SetSizePixels(80, 17);
    button.caption("Player");
    const Picture& p = button.Surface().Drawing();
    reviewpictures::Save(p, "zFlatButton-up");
    for (int y = 0; y < 17; ++y)
        EXPECT_EQ(p.GetPixel(0, y), kWhite) << "left edge, y " << y;
    for (int x = 0; x < 80; ++x)
        EXPECT_EQ(p.GetPixel(x, 0), kWhite) << "top edge, x " << x;
    // No darker edge while up.
    EXPECT_EQ(p.GetPixel(79, 8), kButtonBack);
    EXPECT_EQ(p.GetPixel(40, 16), kButtonBack);
    const reviewpictures::Ink ink = reviewpictures::InkOf(p, kButtonBack, 1, 1, 79, 17);
    ASSERT_FALSE(ink.Empty());
    EXPECT_NEAR((ink.left + ink.right) / 2.0, 40, 2.0);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, 8.5, 3.0);
}

TEST(zFlatButton, AnEmptyCaptionDrawsOnlyTheEdgesAndTheStoredPropertiesChangeNothing) {
    zFlatButton button;
    button.Surface().SetSizePixels(60, 17);
    button.caption("");
    const Picture before = button.Surface().Drawing();
    EXPECT_TRUE(reviewpictures::InkOf(before, kButtonBack, 1, 1, 60, 17).Empty());
    button.ForeColor(MakeColour(255, 0, 0));
    button.Font(platform::Font{"Courier New", 20, true});
    button.Enabled(false);
    button.BackStyle(1);
    button.BorderStyle(1);
    EXPECT_TRUE(button.Surface().Drawing().SamePixels(before));
    button.BackColor(MakeColour(0, 0, 200));
    EXPECT_EQ(button.Surface().Drawing().GetPixel(30, 8), MakeColour(0, 0, 200));
}

TEST(zFlatButton, PressDrawsSunkenThenRaisesDownAndReleaseRaisesUpThenDrawsUp) {
    zFlatButton button;
    button.Surface().SetSizePixels(60, 17);
    button.caption("Go");
    button.Enabled(false); // a disabled button still reacts
    std::vector<std::string> events;
    button.MouseDown = [&](std::int16_t, std::int16_t, float, float) {
        const Picture& p = button.Surface().Drawing();
        events.push_back("down");
        EXPECT_EQ(p.GetPixel(0, 8), MakeColour(64, 64, 64));
        EXPECT_EQ(p.GetPixel(30, 0), MakeColour(64, 64, 64));
        EXPECT_EQ(p.GetPixel(1, 8), kGrey);
        EXPECT_EQ(p.GetPixel(30, 1), kGrey);
        EXPECT_EQ(p.GetPixel(59, 8), kWhite);
        EXPECT_EQ(p.GetPixel(30, 16), kWhite);
        reviewpictures::Save(p, "zFlatButton-pressed");
    };
    button.MouseUp = [&](std::int16_t, std::int16_t, float, float) {
        events.push_back("up");
        EXPECT_EQ(button.Surface().Drawing().GetPixel(0, 8), MakeColour(64, 64, 64)) << "still pressed";
    };
    platform::MouseAt(button.Surface(), platform::MouseAction::Press, 10, 8);
    platform::MouseAt(button.Surface(), platform::MouseAction::Release, 10, 8);
    EXPECT_EQ(events, (std::vector<std::string>{"down", "up"}));
    EXPECT_EQ(button.Surface().Drawing().GetPixel(0, 8), kWhite);
    EXPECT_EQ(button.Surface().Drawing().GetPixel(59, 8), kButtonBack);
}

TEST(zShape, AnySizeKeepsAYellowLineAlongEachEdgeAndShowsWhatLiesBelowInside) {
    platform::ControlSurface parent;
    parent.SetBackStyle(1);
    parent.SetBackColor(MakeColour(0, 0, 160));
    parent.SetSizePixels(100, 80);
    parent.Clear();
    zShape frame(parent.Handle());
    for (const auto& [w, h] : std::vector<std::pair<int, int>>{{40, 20}, {70, 51}, {3, 3}}) {
        SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
        frame.Surface().Move(platform::TwipsFromPixelsX(10), platform::TwipsFromPixelsY(10));
        frame.Surface().SetSizePixels(w, h);
        const Picture shown = parent.Grab();
        for (int x = 10; x < 10 + w; ++x) {
            EXPECT_EQ(shown.GetPixel(x, 10), kYellow) << "top, x " << x;
            EXPECT_EQ(shown.GetPixel(x, 9 + h), kYellow) << "bottom, x " << x;
        }
        for (int y = 10; y < 10 + h; ++y) {
            EXPECT_EQ(shown.GetPixel(10, y), kYellow) << "left, y " << y;
            EXPECT_EQ(shown.GetPixel(9 + w, y), kYellow) << "right, y " << y;
        }
        if (w > 2 && h > 2) {
            EXPECT_EQ(shown.GetPixel(10 + w / 2, 10 + h / 2), MakeColour(0, 0, 160))
                << "inside is see-through";
            EXPECT_FALSE(frame.Surface().ShowsPixel(w / 2, h / 2)) << "and takes no clicks";
        }
        EXPECT_EQ(shown.GetPixel(10 + w + 1, 10), MakeColour(0, 0, 160)) << "nothing outside";
        if (w == 70) reviewpictures::Save(shown, "zShape-frame");
    }
    frame.BackColor(kBlack);
    frame.ForeColor(kBlack);
    EXPECT_EQ(parent.Grab().GetPixel(10, 10), kYellow);
}

TEST(zBar, ItemsStackFromFourPixelsFiveApartWithTheirCaptionsUnderThePictures) {
    PictureFolder files;
    auto bar = NewBar();
    bar->AddGroup("Player");
    bar->AddImage(7, files.Write("a", 30, 20, MakeColour(200, 0, 0)), "Coin", false);
    bar->AddImage(9, files.Write("b", 16, 40, MakeColour(0, 200, 0)), "Flag", false);
    bar->SelectGroup(1);
    const int line = LineHeight();
    ASSERT_EQ(bar->ItemCount(), 2);
    EXPECT_EQ(bar->ItemRecord(1).top, 4);
    EXPECT_EQ(bar->ItemRecord(1).height, 20 + 4 + line);
    EXPECT_EQ(bar->ItemRecord(2).top, 4 + 20 + 4 + line + 5);
    EXPECT_EQ(bar->ItemRecord(2).height, 40 + 4 + line);
    EXPECT_EQ(bar->ItemRecord(2).group, 1);
    EXPECT_EQ(bar->ItemRecord(2).id, 9);

    const Picture& group = bar->GroupPicture(1).Drawing();
    const int width = group.Width();
    EXPECT_EQ(width, 120 - 6);
    // The first picture lies centred at y 4; its caption, in white, below it.
    const int x = (width - 30 + 1) / 2;
    EXPECT_EQ(group.GetPixel(x, 4), MakeColour(200, 0, 0));
    EXPECT_EQ(group.GetPixel(x - 1, 4), kGrey);
    EXPECT_EQ(group.GetPixel(x, 3), kGrey);
    const reviewpictures::Ink caption = reviewpictures::InkOf(group, kGrey, 0, 28, width, 28 + line);
    ASSERT_FALSE(caption.Empty());
    EXPECT_NEAR((caption.left + caption.right) / 2.0, width / 2.0, 2.0);
    // The bar's own edges: black at x 1, white at its right edge; grey behind everything.
    const Picture& edges = bar->Surface().Drawing();
    EXPECT_EQ(edges.GetPixel(1, 150), kBlack);
    EXPECT_EQ(edges.GetPixel(119, 150), kWhite);
    EXPECT_EQ(edges.GetPixel(0, 150), kGrey);
    reviewpictures::Save(bar->Surface().Grab(), "zBar-one-group");
}

TEST(zBar, TextOnlyReadsNoPictureAndImagesOnlyDrawsNoCaption) {
    PictureFolder files;
    const int line = LineHeight();
    {
        auto bar = NewBar();
        bar->ShowOnlyText(true);
        bar->AddGroup("Words");
        bar->AddImage(1, "no such file.png", "One", false);
        bar->AddImage(2, "no such file.png", "Two", false);
        EXPECT_EQ(bar->ItemRecord(1).height, 1 + line);
        EXPECT_EQ(bar->ItemRecord(2).top, 4 + 1 + line + 5);
        bar->PressGroupPicture(1, 5);
        EXPECT_EQ(bar->SelectionFrame().Surface().ScaleHeight(), 1 + line + 6);
    }
    {
        auto bar = NewBar();
        bar->ShowOnlyImages(true);
        bar->AddGroup("Pictures");
        bar->AddImage(1, files.Write("c", 20, 20, MakeColour(0, 0, 200)), "Hidden", false);
        EXPECT_EQ(bar->ItemRecord(1).height, 24);
        const Picture& group = bar->GroupPicture(1).Drawing();
        EXPECT_TRUE(reviewpictures::InkOf(group, kGrey, 0, 24, group.Width(), 24 + line).Empty());
        bar->PressGroupPicture(1, 10);
        const platform::ControlSurface& frame = bar->SelectionFrame().Surface();
        EXPECT_EQ(frame.ScaleHeight(), 24);
        EXPECT_EQ(frame.Top() / platform::kTwipsPerPixelY,
                  4 + platform::PixelsFromTwipsY(bar->GroupPicture(1).Top()) - 2);
        EXPECT_EQ(frame.Left() / platform::kTwipsPerPixelX, 15);
        EXPECT_EQ(frame.ScaleWidth(), 120 - 50);
    }
}

TEST(zBar, APressSelectsTheItemAtOrBelowThePointAndADoubleClickHandsBackItsId) {
    PictureFolder files;
    auto bar = NewBar();
    std::vector<int> picked;
    bar->ImageSelected = [&](std::int16_t& id) { picked.push_back(id); };
    bar->AddGroup("Player");
    const std::string file = files.Write("d", 20, 20, MakeColour(0, 120, 0));
    bar->AddImage(11, file, "A", false);
    bar->AddImage(12, file, "B", false);
    const int gapY = bar->ItemRecord(1).top + bar->ItemRecord(1).height + 2;
    bar->PressGroupPicture(1, gapY);
    EXPECT_EQ(bar->SelectedItem(), 2) << "a press in the gap selects the lower item";
    bar->DoubleClickGroupPicture();
    EXPECT_EQ(picked, std::vector<int>{12});
    const int frameTop = bar->SelectionFrame().Surface().Top();
    bar->PressGroupPicture(1, 150);
    EXPECT_EQ(bar->SelectedItem(), -1);
    EXPECT_TRUE(bar->SelectionFrame().Surface().Visible()) << "the frame stays where it was";
    EXPECT_EQ(bar->SelectionFrame().Surface().Top(), frameTop);
    bar->DoubleClickGroupPicture();
    EXPECT_EQ(picked.size(), 1u);
}

TEST(zBar, GroupsStandAboveAndBelowTheOpenOneAndItemsGoToTheLastGroupAdded) {
    PictureFolder files;
    auto bar = NewBar();
    bar->AddGroup("Player");
    bar->AddGroup("Orcs");
    bar->AddGroup("Dices");
    bar->SelectGroup(1);
    bar->AddImage(5, files.Write("e", 20, 10, MakeColour(0, 0, 255)), "Die", false);
    EXPECT_EQ(bar->ItemRecord(1).group, 3);
    const auto top = [&](int g) { return bar->GroupButton(g).Surface().Top() / platform::kTwipsPerPixelY; };
    EXPECT_EQ(top(1), 2);
    EXPECT_EQ(top(2), 300 - 19 * 2);
    EXPECT_EQ(top(3), 300 - 19);
    EXPECT_EQ(bar->GroupButton(3).caption(), "Dices");
    EXPECT_TRUE(bar->GroupPicture(1).Visible());
    EXPECT_FALSE(bar->GroupPicture(3).Visible());
    bar->GroupButtonReleased(3);
    EXPECT_EQ(bar->CurrentGroup(), 3);
    EXPECT_EQ(top(3), 2 + 19 * 2);
    const Picture shown = bar->Surface().Grab();
    reviewpictures::Save(shown, "zBar-third-group-open");
    // The die's picture shows under the third button.
    const int pictureTop = top(3) + 17 + 4;
    EXPECT_EQ(shown.GetPixel(60, pictureTop + 2), MakeColour(0, 0, 255));
}

TEST(zBar, ScrollingMovesTheOpenPictureByTwentyAndOpeningAGroupPutsItBack) {
    PictureFolder files;
    auto bar = NewBar();
    bar->AddGroup("Player");
    for (int k = 0; k < 6; ++k)
        bar->AddImage(static_cast<std::int16_t>(k),
                      files.Write("f" + std::to_string(k), 20, 40, MakeColour(0, 90, 0)), "item", false);
    const int start = bar->GroupPicture(1).Top();
    bar->ScrollUp();
    EXPECT_EQ(bar->GroupPicture(1).Top(), start) << "the up button does nothing at the start";
    bar->ScrollDown();
    bar->ScrollDown();
    EXPECT_EQ(bar->GroupPicture(1).Top(), start - 40 * platform::kTwipsPerPixelY);
    EXPECT_FALSE(bar->SelectionFrame().Surface().Visible());
    bar->Surface().SetSizePixels(130, 310);
    EXPECT_EQ(bar->GroupPicture(1).Top(), start - 40 * platform::kTwipsPerPixelY)
        << "a resize keeps the scroll";
    bar->ScrollUp();
    EXPECT_EQ(bar->GroupPicture(1).Top(), start - 20 * platform::kTwipsPerPixelY);
    bar->SelectGroup(1);
    EXPECT_EQ(bar->GroupPicture(1).Top(), start);
}

TEST(zBar, ATransparentItemShowsTheGroupsGreyThroughItsKeyColour) {
    PictureFolder files;
    auto bar = NewBar();
    bar->AddGroup("Player");
    bar->AddImage(1, files.Write("g", 20, 20, MakeColour(0, 0, 200), true), "Keyed", true, kMagenta);
    const Picture& group = bar->GroupPicture(1).Drawing();
    const int x = (group.Width() - 20 + 1) / 2;
    EXPECT_EQ(group.GetPixel(x, 4), kGrey);
    EXPECT_EQ(group.GetPixel(x + 10, 14), MakeColour(0, 0, 200));
}

TEST(zBar, AGroupPictureGrowsOnlyWhenAnItemWouldNotFitAndItemsBeyondTheLimitsAreIgnored) {
    PictureFolder files;
    auto bar = NewBar();
    bar->AddImage(1, "x.png", "no group", false);
    EXPECT_EQ(bar->ItemCount(), 0) << "an item without a group is ignored";
    bar->AddGroup("Player");
    const std::string file = files.Write("h", 20, 40, MakeColour(90, 0, 0));
    const int line = LineHeight();
    int expected = zBar::kStartHeight;
    int y = 4;
    for (int k = 1; k <= 5; ++k) {
        if (40 + y + 25 > expected) expected += 40 + 25;
        bar->AddImage(static_cast<std::int16_t>(k), file, "x", false);
        y += 40 + 4 + line + 5;
    }
    EXPECT_EQ(bar->GroupPicture(1).ScaleHeight(), expected);
    // The bar holds 300 items in all; more are ignored.
    auto full = NewBar();
    full->ShowOnlyText(true);
    for (int g = 0; g < 4; ++g) {
        full->AddGroup("G" + std::to_string(g));
        for (int k = 0; k < 80; ++k)
            full->AddImage(static_cast<std::int16_t>(k), "", "t", false);
    }
    EXPECT_EQ(full->ItemCount(), 300);
    // No group picture grows past the largest picture.
    EXPECT_LE(full->GroupPicture(4).ScaleHeight(), Picture::kMaxSide);
}

TEST(zBar, StoredPropertiesComeBackFromThePropertyStoreAndDefaultsAreNotStored) {
    const platform::Font ambient{"Arial", 8.25, false};
    platform::PropertyBag empty;
    {
        zBar fresh;
        fresh.WriteProperties(empty, ambient);
        zShape frame;
        frame.WriteProperties(empty, ambient);
        zFlatButton button;
        button.WriteProperties(empty, ambient);
    }
    for (const char* key : {"BackColor", "ForeColor", "Enabled", "Font", "BackStyle", "BorderStyle",
                            "ShowOnlyImages", "ShowOnlyText", "Caption"})
        EXPECT_FALSE(empty.Has(key)) << key;

    zBar bar;
    bar.ForeColor(MakeColour(1, 2, 3));
    bar.Enabled(true);
    bar.BorderStyle(1);
    bar.ShowOnlyText(true);
    platform::PropertyBag bag;
    bar.WriteProperties(bag, ambient);
    zBar back;
    back.ReadProperties(bag, ambient);
    EXPECT_EQ(back.ForeColor(), MakeColour(1, 2, 3));
    EXPECT_TRUE(back.Enabled());
    EXPECT_EQ(back.BorderStyle(), 1);
    EXPECT_TRUE(back.ShowOnlyText());
    EXPECT_FALSE(back.ShowOnlyImages());

    zFlatButton button;
    button.caption("Orcs");
    button.BackColor(MakeColour(0, 0, 200));
    platform::PropertyBag buttonBag;
    button.WriteProperties(buttonBag, ambient);
    zFlatButton buttonBack;
    buttonBack.ReadProperties(buttonBag, ambient);
    EXPECT_EQ(buttonBack.caption(), "Orcs");
    EXPECT_EQ(buttonBack.BackColor(), MakeColour(0, 0, 200));
}
