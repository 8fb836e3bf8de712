#include "TestSupport.h"

#include "platform/ControlSurface.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>
#include <utility>

using platform::Colour;
using platform::ControlSurface;
using platform::MakeColour;
using platform::Picture;

namespace {

constexpr Colour kRed = MakeColour(255, 0, 0);
constexpr Colour kGreen = MakeColour(0, 255, 0);
constexpr Colour kBlue = MakeColour(0, 0, 255);
constexpr Colour kMagenta = MakeColour(255, 0, 255);

// A window with two overlapping surfaces: `below` fully opaque, `above` showing only its left
// half (the right half of its mask picture is the mask colour).
struct Stack {
    ControlSurface window;
    ControlSurface below{window.Handle()};
    ControlSurface above{window.Handle()};
    int belowClicks = 0, aboveClicks = 0;

    Stack() {
        window.SetSizePixels(40, 40);
        window.SetBackColor(kBlue);
        window.SetBackStyle(1);
        below.Move(0, 0, 40 * 15, 40 * 15);
        below.SetBackColor(kGreen);
        above.Move(0, 0, 40 * 15, 40 * 15);
        Picture face(40, 40, kRed);
        face.FillRect(20, 0, 20, 40, kMagenta);
        above.SetPicture(face);
        above.SetMaskPicture(face);
        above.SetMaskColor(kMagenta);
        above.SetBackStyle(0);
        below.OnClick = [this] { ++belowClicks; };
        above.OnClick = [this] { ++aboveClicks; };
        window.SetVisible(true);
        window.Refresh();
    }
};

} // namespace

TEST(ControlSurface, SizesAreWholePixelsOfFifteenTwips) {
    ControlSurface s;
    s.SetWidth(131.4027 * 15);
    s.SetHeight(1500);
    EXPECT_EQ(s.ScaleWidth(), 131);
    EXPECT_EQ(s.Width(), 1965);
    EXPECT_EQ(s.Height(), 1500);
    s.SetWidth(196.5 * 15); // halves go to the even neighbour
    EXPECT_EQ(s.ScaleWidth(), 196);
    s.Move(30, 45);
    EXPECT_EQ(s.Left(), 30);
    EXPECT_EQ(s.Top(), 45);
    s.SetWidth(-100);
    EXPECT_EQ(s.Width(), 0);
}

TEST(ControlSurface, DrawingKeepsItsPixelsAndGrowsInTheBackColour) {
    ControlSurface s;
    s.SetBackColor(kBlue);
    s.SetSizePixels(2, 2);
    s.Drawing().SetPixel(1, 1, kRed);
    s.SetSizePixels(3, 3);
    EXPECT_EQ(s.Drawing().GetPixel(1, 1), kRed);
    EXPECT_EQ(s.Drawing().GetPixel(2, 2), kBlue);
    s.SetPicture(Picture(1, 1, kGreen));
    EXPECT_EQ(s.Drawing().GetPixel(0, 0), kGreen);
    EXPECT_EQ(s.Drawing().GetPixel(1, 1), kBlue) << "setting the picture redraws from it";
    s.Drawing().SetPixel(2, 2, kRed);
    s.TakeDrawingAsPicture();
    EXPECT_EQ(s.GetPicture().GetPixel(2, 2), kRed);
}

TEST(ControlSurface, APlacedPictureIsSharedShownInItsPlaceAndNothingShowsRoundIt) {
    ControlSurface window;
    window.SetSizePixels(20, 20);
    window.SetBackStyle(1);
    window.SetBackColor(kGreen);
    ControlSurface s(window.Handle());
    s.SetSizePixels(10, 10);
    s.SetBackStyle(0);
    s.SetMaskColor(kMagenta);
    Picture face(4, 3, kRed);
    face.SetPixel(0, 0, kMagenta);
    // A pixel the picture itself marks see-through (alpha 0) is see-through like the mask colour.
    face.Row(2)[1] &= 0x00FFFFFFu;
    s.SetPictureAt(face, 5, 2);
    s.TakeDrawingAsPicture();
    s.MaskWithPicture();
    window.SetVisible(true);
    EXPECT_EQ(std::as_const(s).Drawing().Bits(), std::as_const(face).Bits())
        << "shared, not copied into a frame";
    EXPECT_EQ(s.PictureLeft(), 5);
    EXPECT_EQ(s.PictureTop(), 2);
    // Shows and takes clicks on the picture's pixels only, in its place.
    for (auto [x, y, shows] : {std::tuple{5, 2, false},
                               {6, 2, true},
                               {8, 4, true},
                               {9, 4, false},
                               {8, 5, false},
                               {0, 0, false},
                               {4, 3, false},
                               {6, 4, false},
                               {7, 4, true}})
        EXPECT_EQ(s.ShowsPixel(x, y), shows) << x << "," << y;
    const Picture whole = s.ShownDrawing();
    ASSERT_EQ(whole.Width(), 10);
    EXPECT_EQ(whole.GetPixel(6, 2), kRed);
    EXPECT_EQ(whole.GetPixel(0, 0), kMagenta);
    const Picture seen = window.Grab();
    EXPECT_EQ(seen.GetPixel(6, 2), kRed);
    EXPECT_EQ(seen.GetPixel(5, 2), kGreen) << "the key pixel shows the window below";
    EXPECT_EQ(seen.GetPixel(1, 1), kGreen) << "round the picture too";
    EXPECT_EQ(seen.GetPixel(6, 4), kGreen) << "and where the picture is see-through";
    // A halo goes round the placed picture.
    s.AddHalo(kBlue);
    EXPECT_EQ(s.ScaleWidth(), 15);
    EXPECT_TRUE(s.ShowsPixel(10, 3)) << "right of the picture";
    EXPECT_TRUE(s.ShowsPixel(9, 5)) << "below it";
    EXPECT_EQ(window.Grab().GetPixel(10, 3), kBlue);
    s.ClearHalos();
    // Drawing on it makes a drawing of the surface's size; the shared picture stays as it was.
    s.Drawing().SetPixel(0, 0, kBlue);
    EXPECT_EQ(s.Drawing().Width(), 10);
    EXPECT_EQ(s.Drawing().GetPixel(7, 3), kRed);
    EXPECT_EQ(face.GetPixel(1, 0), kRed);
    EXPECT_EQ(face.GetPixel(0, 0), kMagenta);
}

TEST(ControlSurface, APictureCoveringTheSurfaceIsSharedUntilOneSideDraws) {
    ControlSurface window;
    window.SetSizePixels(50, 50);
    ControlSurface s(window.Handle());
    s.SetSizePixels(6, 4);
    s.SetBackStyle(0);
    s.SetMaskColor(kBlue);
    const Picture face(6, 4, kRed);
    s.SetPicture(face);
    s.SetMaskPicture(face);
    // Hundreds of cards show one look: neither what is drawn nor the mask may copy it.
    EXPECT_EQ(std::as_const(s.Drawing()).Bits(), face.Bits());
    EXPECT_EQ(std::as_const(s.MaskPicture()).Bits(), face.Bits());
    EXPECT_TRUE(s.ShowsPixel(1, 1));

    s.Drawing().SetPixel(1, 1, kBlue);
    EXPECT_EQ(s.Drawing().GetPixel(1, 1), kBlue);
    EXPECT_EQ(face.GetPixel(1, 1), kRed) << "drawing on the surface leaves the shared picture";
    EXPECT_EQ(s.GetPicture().GetPixel(1, 1), kRed);
    EXPECT_EQ(s.MaskPicture().GetPixel(1, 1), kRed);
}

TEST(ControlSurface, ShowsOnlyWhereTheMaskPictureIsNotTheMaskColour) {
    Stack stack;
    EXPECT_TRUE(stack.above.ShowsPixel(5, 5));
    EXPECT_FALSE(stack.above.ShowsPixel(30, 5));
    EXPECT_FALSE(stack.above.ShowsPixel(40, 5));
    Picture seen = stack.window.Grab();
    ASSERT_EQ(seen.Width(), 40);
    EXPECT_EQ(seen.GetPixel(5, 5), kRed);
    EXPECT_EQ(seen.GetPixel(30, 5), kGreen) << "the surface below shows through";
    stack.above.SetBackStyle(1);
    EXPECT_TRUE(stack.above.ShowsPixel(30, 5));
    EXPECT_EQ(stack.window.Grab().GetPixel(30, 5), kMagenta);
}

// A mask of every shape the controls make (a turned card's slanted edges, holes, single pixels,
// rows that repeat): the window shows the surface exactly where its mask picture is not the mask
// colour, and the surface below everywhere else.
TEST(ControlSurface, TheWindowShowsExactlyTheMaskPicturesShape) {
    Stack stack;
    Picture face(40, 40, kMagenta);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool diamond = std::abs(x - 20) + std::abs(y - 20) < 15;
            const bool hole = x >= 18 && x < 22 && y >= 18 && y < 22;
            const bool dot = (x == 2 && y == 37) || (x == 39 && y == 0) || (x == 37 && y == 37);
            const bool stripes = y < 6 && x % 3 == 0;
            if ((diamond && !hole) || dot || stripes) face.SetPixel(x, y, kRed);
        }
    stack.above.SetPicture(face);
    stack.above.SetMaskPicture(face);
    const Picture seen = stack.window.Grab();
    int wrong = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) {
            const bool shows = face.GetPixel(x, y) == kRed;
            wrong += seen.GetPixel(x, y) != (shows ? kRed : kGreen);
            wrong += stack.above.ShowsPixel(x, y) != shows;
        }
    EXPECT_EQ(wrong, 0);
}

TEST(ControlSurface, ClicksPassThroughTheMaskColourToTheSurfaceBelow) {
    Stack stack;
    platform::ClickAt(stack.window, 30, 10);
    EXPECT_EQ(stack.belowClicks, 1);
    EXPECT_EQ(stack.aboveClicks, 0);
    platform::ClickAt(stack.window, 5, 10);
    EXPECT_EQ(stack.aboveClicks, 1);
    EXPECT_EQ(stack.belowClicks, 1);
    stack.below.BringToFront();
    platform::ClickAt(stack.window, 5, 10);
    EXPECT_EQ(stack.belowClicks, 2);
}

TEST(ControlSurface, MouseEventsCarryButtonAndPixelPosition) {
    Stack stack;
    std::vector<platform::MouseEvent> downs, ups;
    stack.above.OnMouseDown = [&](const platform::MouseEvent& e) { downs.push_back(e); };
    stack.above.OnMouseUp = [&](const platform::MouseEvent& e) { ups.push_back(e); };
    platform::ClickAt(stack.window, 7, 12);
    ASSERT_EQ(downs.size(), 1u);
    ASSERT_EQ(ups.size(), 1u);
    EXPECT_EQ(downs[0].button, 1);
    EXPECT_EQ(downs[0].x, 7);
    EXPECT_EQ(downs[0].y, 12);
}

TEST(ControlSurface, AllMaskColourHidesTheSurfaceButKeepsItVisibleToTheProgram) {
    Stack stack;
    stack.above.SetMaskPicture(Picture(40, 40, kMagenta));
    EXPECT_TRUE(stack.above.Visible());
    platform::ClickAt(stack.window, 5, 5);
    EXPECT_EQ(stack.belowClicks, 1);
    EXPECT_EQ(stack.aboveClicks, 0);
    stack.above.SetMaskPicture(stack.above.GetPicture());
    platform::ClickAt(stack.window, 5, 5);
    EXPECT_EQ(stack.aboveClicks, 1);
}

TEST(ControlSurface, KeepsTagAndToolTip) {
    ControlSurface s;
    s.SetTag("17");
    s.SetToolTipText("Ace of \xA7");
    EXPECT_EQ(s.Tag(), "17");
    EXPECT_EQ(s.ToolTipText(), "Ace of \xA7");
}

TEST(ControlSurface, AWindowOfItsOwnStaysHiddenUntilAskedForAndAChildShows) {
    ControlSurface window;
    ControlSurface child(window.Handle());
    EXPECT_FALSE(window.Visible());
    EXPECT_TRUE(child.Visible());
    // Masking everything away and back must not bring up a window nobody asked for.
    window.SetSizePixels(4, 4);
    window.SetMaskColor(kMagenta);
    window.SetBackStyle(0);
    window.SetMaskPicture(Picture(4, 4, kMagenta));
    window.SetMaskPicture(Picture(4, 4, kRed));
    EXPECT_FALSE(window.Visible());
    child.SetVisible(false);
    EXPECT_FALSE(child.Visible());
}

// The pointer's arrival and departure reach the surface it crosses, and a held button keeps the
// moves and the release with the surface it went down on, wherever the pointer goes.
TEST(ControlSurface, PointerArrivalHoverDepartureAndHeldButtonFollowTheWindowSystem) {
    ControlSurface window;
    window.SetSizePixels(100, 60);
    ControlSurface button(window.Handle());
    button.Move(10 * 15, 10 * 15, 30 * 15, 20 * 15);
    window.SetVisible(true);
    std::vector<std::string> seen;
    button.OnMouseEnter = [&](int) { seen.push_back("enter"); };
    button.OnMouseLeave = [&] { seen.push_back("leave"); };
    button.OnMouseMove = [&](const platform::MouseEvent& e) {
        seen.push_back("move " + std::to_string(static_cast<int>(e.x)) + " held " + std::to_string(e.button));
    };
    button.OnMouseUp = [&](const platform::MouseEvent& e) {
        seen.push_back("up " + std::to_string(static_cast<int>(e.x)));
    };
    using platform::MouseAction;
    platform::MouseAt(window, MouseAction::Move, 2, 2);
    platform::MouseAt(window, MouseAction::Move, 15, 15);
    platform::MouseAt(window, MouseAction::Press, 15, 15);
    platform::MouseAt(window, MouseAction::Move, 80, 15);
    platform::MouseAt(window, MouseAction::Release, 80, 15);
    platform::MouseAt(window, MouseAction::Move, 85, 15);
    // A move without a button reaches the surface under the pointer too (the balloons and the
    // information panel follow the hovering mouse).
    const std::vector<std::string> expected = {"enter", "move 5 held 0", "move 70 held 1", "up 70", "leave"};
    EXPECT_EQ(seen, expected);
}

TEST(ControlSurface, KeysReachTheSurfaceWithTheirCodesAndRepeatsComeWithoutKeyUps) {
    ControlSurface surface;
    surface.SetSizePixels(20, 20);
    std::vector<std::string> seen;
    surface.OnKeyDown = [&](int code, int) { seen.push_back("down " + std::to_string(code)); };
    surface.OnKeyUp = [&](int code, int) { seen.push_back("up " + std::to_string(code)); };
    surface.OnKeyPress = [&](int ascii) { seen.push_back("press " + std::to_string(ascii)); };
    using platform::KeyAction;
    platform::KeyAt(surface, KeyAction::Down, 32);
    platform::KeyAt(surface, KeyAction::Repeat, 32);
    platform::KeyAt(surface, KeyAction::Up, 32);
    platform::KeyAt(surface, KeyAction::Down, 13);
    platform::KeyAt(surface, KeyAction::Down, 'S');
    const std::vector<std::string> expected = {"down 32", "press 32", "down 32", "press 32", "up 32",
                                               "down 13", "press 13", "down 83", "press 83"};
    EXPECT_EQ(seen, expected);
}

TEST(ControlSurface, BusyTimesShowTheHourglassUntilTheOutermostEnds) {
    EXPECT_FALSE(platform::BusyPointer::Shown());
    {
        const platform::BusyPointer outer;
        {
            const platform::BusyPointer inner;
            EXPECT_TRUE(platform::BusyPointer::Shown());
        }
        EXPECT_TRUE(platform::BusyPointer::Shown()) << "an inner busy time leaves the outer one busy";
    }
    EXPECT_FALSE(platform::BusyPointer::Shown());

    ControlSurface surface;
    EXPECT_EQ(surface.MousePointer(), 0);
    surface.SetMousePointer(99, Picture(8, 8, kRed));
    EXPECT_EQ(surface.MousePointer(), 99);
}
