#include "TestSupport.h"
#include "controls/ReviewPictures.h"

#include "controls/cSfCb.h"
#include "platform/Seams.h"
#include "platform/TextBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

using controls::cSfCb;
using platform::Colour;
using platform::MakeColour;
using platform::MouseAction;
using platform::Picture;

namespace {

constexpr Colour kBack = MakeColour(212, 208, 200);
constexpr Colour kWhite = MakeColour(255, 255, 255);
constexpr Colour kGrey = MakeColour(128, 128, 128);
constexpr Colour kRed = MakeColour(255, 0, 0);
constexpr Colour kGreen = MakeColour(0, 160, 0);
constexpr Colour kBlue = MakeColour(0, 0, 255);

// A tool bar window 120 x 60 with one 40 x 30 button at (10, 10).
struct ToolBar {
    platform::ControlSurface window;
    cSfCb button{window.Handle()};
    int clicks = 0;

    explicit ToolBar(const Picture& picture = Picture(16, 16, kBlue)) {
        window.SetSizePixels(120, 60);
        button.Surface().Move(10 * 15, 10 * 15, 40 * 15, 30 * 15);
        platform::PropertyBag bag;
        bag.WriteInt("colourBackColour", kBack, 0);
        bag.WritePicture("Picture", picture);
        button.ReadProperties(bag);
        button.Click = [this] { ++clicks; };
        window.SetVisible(true);
    }
    const Picture& Drawn() const { return button.Surface().Drawing(); }
    // Points of the window, for a point of the button.
    void Mouse(MouseAction action, int x, int y) { platform::MouseAt(window, action, 10 + x, 10 + y); }
    void Hover() { Mouse(MouseAction::Move, 20, 15); }
    void Away() { platform::MouseAt(window, MouseAction::Move, 100, 50); }
};

} // namespace

TEST(cSfCb, BevelIsRaisedUnderThePointerAndSunkenWhilePressed) {
    ToolBar bar;
    const int w = 39, h = 29; // the last column and row
    struct Side {
        const char* name;
        int x, y;
        bool light; // light side of a raised bevel
    } sides[] = {{"left", 0, 15, true},           {"top", 20, 0, true},
                 {"top-left corner", 0, 0, true}, {"right", w, 15, false},
                 {"bottom", 20, h, false},        {"top-right corner", w, 0, false},
                 {"bottom-right", w, h, false},   {"bottom-left corner", 0, h, true}};
    EXPECT_EQ(bar.Drawn().GetPixel(0, 15), kBack) << "no bevel at rest";
    bar.Hover();
    EXPECT_EQ(bar.button.State(), cSfCb::kOver);
    reviewpictures::Save(bar.Drawn(), "cSfCb-raised");
    for (const Side& s : sides)
        EXPECT_EQ(bar.Drawn().GetPixel(s.x, s.y), s.light ? kWhite : kGrey) << "raised " << s.name;
    EXPECT_EQ(bar.Drawn().GetPixel(1, 1), kBack) << "one pixel wide";
    bar.Mouse(MouseAction::Press, 20, 15);
    EXPECT_EQ(bar.button.State(), cSfCb::kOver | cSfCb::kPressed);
    reviewpictures::Save(bar.Drawn(), "cSfCb-sunken");
    for (const Side& s : sides)
        EXPECT_EQ(bar.Drawn().GetPixel(s.x, s.y), s.light ? kGrey : kWhite) << "sunken " << s.name;
    bar.Mouse(MouseAction::Release, 20, 15);
}

TEST(cSfCb, PictureIsChosenByStateAndCentred) {
    ToolBar bar(Picture(10, 8, kRed));
    bar.button.PictureOver(Picture(10, 8, kGreen));
    bar.button.PictureDown(Picture(10, 8, kBlue));
    auto centre = [&] { return bar.Drawn().GetPixel(20, 15); };
    const reviewpictures::Ink ink = reviewpictures::InkOf(bar.Drawn(), kBack, 0, 0, 40, 30);
    EXPECT_EQ(ink.left, 15);
    EXPECT_EQ(ink.top, 11);
    EXPECT_EQ(ink.right, 24);
    EXPECT_EQ(ink.bottom, 18);
    EXPECT_EQ(centre(), kRed) << "at rest";
    bar.Hover();
    EXPECT_EQ(centre(), kGreen) << "pointer over";
    bar.Mouse(MouseAction::Press, 20, 15);
    EXPECT_EQ(centre(), kBlue) << "pressed";
    bar.Mouse(MouseAction::Move, 90, 15);
    EXPECT_EQ(bar.button.State(), 0) << "dragged out";
    EXPECT_EQ(centre(), kRed);
    bar.Mouse(MouseAction::Move, 20, 15);
    EXPECT_EQ(bar.button.State(), cSfCb::kOver | cSfCb::kPressed) << "back in while held";
    EXPECT_EQ(centre(), kBlue);
    bar.Mouse(MouseAction::Release, 20, 15);
    bar.button.UsePictures(false);
    bar.Mouse(MouseAction::Press, 20, 15);
    EXPECT_EQ(centre(), kRed) << "without UsePictures the normal picture shows pressed too";
    bar.Mouse(MouseAction::Release, 20, 15);
}

TEST(cSfCb, PressAndReleaseOverTheButtonClickOnce) {
    struct Step {
        MouseAction action;
        int x, y; // button pixels
    };
    using A = MouseAction;
    struct Case {
        const char* name;
        std::vector<Step> steps;
        int clicks;
    } cases[] = {
        {"press and release inside", {{A::Move, 20, 15}, {A::Press, 20, 15}, {A::Release, 20, 15}}, 1},
        {"press without a move first", {{A::Press, 5, 5}, {A::Release, 5, 5}}, 1},
        {"release outside",
         {{A::Move, 20, 15}, {A::Press, 20, 15}, {A::Move, 70, 40}, {A::Release, 70, 40}},
         0},
        {"out and back in while held",
         {{A::Press, 20, 15}, {A::Move, 70, 15}, {A::Move, 30, 15}, {A::Release, 30, 15}},
         1},
        {"pressed outside, released over it",
         {{A::Move, 70, 15}, {A::Press, 70, 15}, {A::Move, 20, 15}, {A::Release, 20, 15}},
         0},
        {"two clicks",
         {{A::Press, 20, 15}, {A::Release, 20, 15}, {A::Press, 20, 15}, {A::Release, 20, 15}},
         2},
    };
    for (const Case& c : cases) {
        ToolBar bar;
        std::vector<std::string> events;
        bar.button.Click = [&] { events.push_back("Click"); };
        bar.button.MouseUp = [&](std::int16_t, std::int16_t, float, float) { events.push_back("MouseUp"); };
        for (const Step& s : c.steps)
            bar.Mouse(s.action, s.x, s.y);
        EXPECT_EQ(std::count(events.begin(), events.end(), "Click"), c.clicks) << c.name;
        if (c.clicks > 0) {
            EXPECT_EQ(events[0], "Click") << c.name << ": Click comes before MouseUp";
        }
        EXPECT_EQ(bar.button.State() & cSfCb::kPressed, 0) << c.name;
    }
}

TEST(cSfCb, DisabledButtonIgnoresTheMouseButStillDraws) {
    ToolBar bar(Picture(10, 8, kRed));
    bar.button.Enabled(false);
    int events = 0;
    bar.button.MouseEnter = [&] { ++events; };
    bar.button.MouseDown = [&](std::int16_t, std::int16_t, float, float) { ++events; };
    bar.Hover();
    bar.Mouse(MouseAction::Press, 20, 15);
    bar.Mouse(MouseAction::Release, 20, 15);
    EXPECT_EQ(bar.clicks + events, 0);
    EXPECT_EQ(bar.button.State(), 0);
    bar.button.ForceRedraw();
    EXPECT_EQ(bar.Drawn().GetPixel(20, 15), kRed);
}

TEST(cSfCb, PointerArrivalAndDepartureAreRaisedOnceEach) {
    ToolBar bar;
    std::vector<std::string> events;
    bar.button.MouseEnter = [&] { events.push_back("enter"); };
    bar.button.MouseExit = [&] { events.push_back("exit"); };
    bar.Hover();
    bar.Mouse(MouseAction::Press, 21, 15);
    bar.Mouse(MouseAction::Release, 21, 15);
    bar.Away();
    bar.Away();
    EXPECT_EQ(events, (std::vector<std::string>{"enter", "exit"}));
    EXPECT_EQ(bar.Drawn().GetPixel(0, 15), kBack) << "the bevel went with the pointer";
}

TEST(cSfCb, WithoutPictureOnlyTheBackgroundShowsInEveryState) {
    ToolBar bar(Picture{});
    bar.button.caption("Deal");
    bar.button.AlwaysDrawBevel(true);
    auto plain = [&] { return reviewpictures::InkOf(bar.Drawn(), kBack, 0, 0, 40, 30).Empty(); };
    EXPECT_TRUE(plain()) << "at rest";
    bar.Hover();
    EXPECT_TRUE(plain()) << "pointer over";
    bar.Mouse(MouseAction::Press, 20, 15);
    EXPECT_TRUE(plain()) << "pressed";
    bar.Mouse(MouseAction::Move, 70, 15);
    EXPECT_TRUE(plain()) << "pressed, pointer outside";
    bar.Mouse(MouseAction::Release, 70, 15);
}

TEST(cSfCb, AlwaysDrawBevelMakesTheRestingLookThePointerOverLook) {
    ToolBar resting(Picture(10, 8, kRed)), hovered(Picture(10, 8, kRed));
    for (ToolBar* bar : {&resting, &hovered}) {
        bar->button.PictureOver(Picture(10, 8, kGreen));
        bar->button.colourTextOverColour(kBlue);
        bar->button.caption("Go");
    }
    resting.button.AlwaysDrawBevel(true);
    hovered.Hover();
    EXPECT_EQ(resting.button.State(), 0);
    EXPECT_TRUE(resting.Drawn().SamePixels(hovered.Drawn()));
    EXPECT_EQ(resting.Drawn().GetPixel(0, 15), kWhite);
}

TEST(cSfCb, CaptionIsPlacedByItsTwoPositions) {
    // A picture in the background colour leaves only the caption to see.
    ToolBar bar(Picture(4, 4, kBack));
    bar.button.UseBevels(false);
    bar.button.caption("HH");
    const platform::FontSpec font = platform::SpecOf(bar.button.CaptionFont());
    const int tw = platform::MeasureText(font, "HH").width;
    const int th = platform::MeasureTextBox(font, "HH", 0, {}).height;
    reviewpictures::Save(bar.Drawn(), "cSfCb-caption");
    struct Case {
        int v, h;
        int cellLeft, cellTop; // the caption's cell
    } cases[] = {
        {1, 1, (40 - tw + 1) / 2, (30 - th + 1) / 2},
        {0, 0, 1, 1},
        {2, 2, 39 - tw, 30 - th - 1},
        {3, 1, (40 - tw + 1) / 2, static_cast<int>(std::nearbyint(30 * 3.0 / 4 - th / 2.0 - 1))},
        {7, 7, 18, 13}, // other values: the picture's corner
    };
    for (const Case& c : cases) {
        bar.button.TextPositionV(c.v);
        bar.button.TextPositionH(c.h);
        const reviewpictures::Ink ink = reviewpictures::InkOf(bar.Drawn(), kBack, 0, 0, 40, 30);
        ASSERT_FALSE(ink.Empty()) << c.v;
        // The glyphs lie inside their cell and fill most of its width.
        EXPECT_GE(ink.left, c.cellLeft) << c.v << "," << c.h;
        EXPECT_LE(ink.right, c.cellLeft + tw) << c.v << "," << c.h;
        EXPECT_GE(ink.top, c.cellTop) << c.v << "," << c.h;
        EXPECT_LT(ink.bottom, c.cellTop + th) << c.v << "," << c.h;
        if (c.h == 1) {
            EXPECT_LE(std::abs((ink.left + ink.right + 1) - 40), 2) << "centred within one pixel";
        }
    }
}

TEST(cSfCb, AccessKeyIsTheCharacterAfterTheFirstAmpersand) {
    struct Case {
        const char* caption;
        char key;
    } cases[] = {{"&Save", 'S'}, {"Sa&ve", 'v'}, {"Save&", 0}, {"Save", 0}, {"a&&b", '&'}, {"", 0}};
    ToolBar bar;
    for (const Case& c : cases) {
        bar.button.caption(c.caption);
        EXPECT_EQ(bar.button.AccessKey(), c.key) << c.caption;
    }
    // The "&" itself is drawn with the caption, as wide as the text with it.
    bar.button.TextPositionV(0);
    bar.button.caption("&");
    EXPECT_FALSE(reviewpictures::InkOf(bar.Drawn(), kBack, 0, 0, 40, 8).Empty());
}

TEST(cSfCb, AutoDimBrightensAndDarkensAllButTheIgnoredColour) {
    constexpr Colour kIgnore = MakeColour(10, 20, 30);
    Picture picture(3, 1);
    picture.SetPixel(0, 0, MakeColour(200, 200, 200));
    picture.SetPixel(1, 0, MakeColour(230, 0, 100));
    picture.SetPixel(2, 0, kIgnore);
    ToolBar bar(picture);
    bar.button.colourIgnore(kIgnore);
    bar.button.AutoDim(true);
    struct Case {
        int x;
        Colour over, pressed;
    } cases[] = {
        {0, MakeColour(240, 240, 240), MakeColour(180, 180, 180)},
        {1, MakeColour(255, 0, 120), MakeColour(207, 0, 90)},
        {2, kIgnore, kIgnore},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(bar.button.OverImage().GetPixel(c.x, 0), c.over) << c.x;
        EXPECT_EQ(bar.button.PressedImage().GetPixel(c.x, 0), c.pressed) << c.x;
    }
    bar.Hover();
    EXPECT_EQ(bar.Drawn().GetPixel(18, 14), MakeColour(240, 240, 240)) << "the over image is drawn";
    bar.button.AutoDim(false);
    EXPECT_TRUE(bar.button.OverImage().IsEmpty());
    EXPECT_TRUE(bar.button.PressedImage().IsEmpty());
}

TEST(cSfCb, AutoColourNeedsAContainerColour) {
    testsupport::MessageRecorder messages;
    ToolBar bar;
    for (bool value : {true, false}) {
        bar.button.AutoColour(value);
        EXPECT_FALSE(bar.button.AutoColour());
    }
    ASSERT_EQ(messages.Messages().size(), 2u);
    EXPECT_EQ(
        messages.Messages()[0],
        "Sorry, AutoColour can't be changed, because the container doesn't support a BackColor property!");
    EXPECT_EQ(bar.button.colourBackColour(), kBack);

    bar.button.ContainerBackColor = [] { return std::optional<Colour>(kGreen); };
    bar.button.AutoColour(true);
    EXPECT_TRUE(bar.button.AutoColour());
    EXPECT_EQ(bar.button.colourBackColour(), kGreen);
    EXPECT_EQ(bar.Drawn().GetPixel(1, 1), kGreen);
    bar.button.AutoColour(false);
    EXPECT_EQ(bar.button.colourBackColour(), kBack);
    EXPECT_EQ(messages.Messages().size(), 2u);
}

TEST(cSfCb, AStoredAutoColourTakesTheContainersColour) {
    platform::ControlSurface window;
    cSfCb button{window.Handle()};
    button.Surface().Move(0, 0, 40 * 15, 30 * 15);
    button.ContainerBackColor = [] { return std::optional<Colour>(kGreen); };
    platform::PropertyBag bag;
    bag.WriteInt("colourBackColour", kBack, 0);
    bag.WriteInt("AutoColour", -1, 0);
    button.ReadProperties(bag);
    EXPECT_TRUE(button.AutoColour());
    EXPECT_EQ(button.colourBackColour(), kGreen);
    EXPECT_EQ(button.Surface().Drawing().GetPixel(1, 1), kGreen);
    button.AutoColour(false);
    EXPECT_EQ(button.colourBackColour(), kBack) << "switched off, it gives back the stored colour";
}

TEST(cSfCb, KeysClickOnceWhateverTheRepeat) {
    ToolBar bar;
    using platform::KeyAction;
    platform::KeyAt(bar.button.Surface(), KeyAction::Down, 32);
    EXPECT_EQ(bar.button.State(), cSfCb::kOver | cSfCb::kPressed) << "the space bar shows the button pressed";
    for (int i = 0; i < 5; ++i)
        platform::KeyAt(bar.button.Surface(), KeyAction::Repeat, 32);
    EXPECT_EQ(bar.clicks, 0) << "nothing until the space bar comes up";
    platform::KeyAt(bar.button.Surface(), KeyAction::Up, 32);
    EXPECT_EQ(bar.clicks, 1);
    EXPECT_EQ(bar.button.State(), 0) << "back to the look before the key";
    platform::KeyAt(bar.button.Surface(), KeyAction::Down, 13);
    EXPECT_EQ(bar.clicks, 2) << "Enter clicks at once";
    EXPECT_EQ(bar.button.State(), 0);
    bar.button.Enabled(false);
    platform::KeyAt(bar.button.Surface(), KeyAction::Down, 32);
    platform::KeyAt(bar.button.Surface(), KeyAction::Up, 32);
    EXPECT_EQ(bar.clicks, 2);
}

TEST(cSfCb, AClickThatEndsTheButtonEndsItsHandling) {
    platform::ControlSurface window;
    window.SetSizePixels(60, 40);
    auto button = std::make_unique<cSfCb>(window.Handle());
    button->Surface().Move(0, 0, 40 * 15, 30 * 15);
    button->ReadProperties(platform::PropertyBag{});
    button->Click = [&] { button.reset(); };
    window.SetVisible(true);
    platform::ClickAt(window, 10, 10);
    EXPECT_EQ(button, nullptr);
}

TEST(cSfCb, StoredPropertiesComeBackAndMissingOnesTakeTheirDefaults) {
    ToolBar bar(Picture(6, 6, kRed));
    bar.button.caption("&Log");
    bar.button.colourLowLight(kGreen);
    bar.button.colourTextStdColour(kBlue);
    bar.button.TextPositionV(3);
    bar.button.AutoDim(true);
    bar.button.UseBevels(false);
    bar.button.CaptionFont(platform::Font{"Arial", 10, false, true});
    platform::PropertyBag bag;
    bar.button.WriteProperties(bag);
    EXPECT_EQ(bag.ReadInt("COLOURLOWLIGHT", 0), static_cast<std::int64_t>(kGreen));
    EXPECT_FALSE(bag.Has("colourHighlight")) << "a default is not stored";

    cSfCb copy;
    copy.ReadProperties(bag);
    EXPECT_EQ(copy.caption(), "&Log");
    EXPECT_EQ(copy.AccessKey(), 'L');
    EXPECT_EQ(copy.colourLowLight(), kGreen);
    EXPECT_EQ(copy.colourTextStdColour(), kBlue);
    EXPECT_EQ(copy.colourTextOverColour(), 0u);
    EXPECT_EQ(copy.TextPositionV(), 3);
    EXPECT_TRUE(copy.AutoDim());
    EXPECT_FALSE(copy.OverImage().IsEmpty());
    EXPECT_FALSE(copy.UseBevels());
    EXPECT_TRUE(copy.CaptionFont().italic);
    EXPECT_TRUE(copy.GetPicture().SamePixels(Picture(6, 6, kRed)));

    platform::PropertyBag standardOnly;
    standardOnly.WriteInt("colourTextStdColour", kBlue, 0);
    copy.ReadProperties(standardOnly);
    EXPECT_EQ(copy.colourTextOverColour(), kBlue) << "the over colour follows the standard one when missing";

    cSfCb fresh;
    fresh.ReadProperties(platform::PropertyBag{});
    EXPECT_EQ(fresh.colourHighlight(), kWhite);
    EXPECT_EQ(fresh.colourLowLight(), kGrey);
    EXPECT_EQ(fresh.colourBackColour(), platform::kSystemColourFlag | 15);
    EXPECT_EQ(fresh.colourTextOverColour(), 0u);
    EXPECT_TRUE(fresh.UseBevels());
    EXPECT_TRUE(fresh.Enabled());
    EXPECT_EQ(fresh.TextPositionH(), 1);
    EXPECT_EQ(fresh.CaptionFont().name, "Arial");
    EXPECT_TRUE(fresh.CaptionFont().bold);
}

TEST(cSfCb, AutoSizeTakesThePictureAndTheBevels) {
    ToolBar bar(Picture(24, 20, kRed));
    bar.button.AutoSize(true);
    EXPECT_EQ(bar.button.Surface().ScaleWidth(), 26);
    EXPECT_EQ(bar.button.Surface().Height(), 22 * 15);
    bar.button.UseBevels(false);
    bar.button.SetPicture(Picture(30, 10, kRed));
    EXPECT_EQ(bar.button.Surface().ScaleWidth(), 30);
    EXPECT_EQ(bar.button.Surface().ScaleHeight(), 10);
    bar.button.Surface().SetSizePixels(50, 20);
    EXPECT_EQ(bar.Drawn().GetPixel(10, 5), kRed) << "a resized button is drawn again, the picture centred";
    EXPECT_EQ(bar.Drawn().GetPixel(9, 5), kBack);
}

TEST(cSfCb, LooksAreWrittenForAPersonToSee) {
    Picture picture(16, 16, MakeColour(40, 120, 200));
    picture.FillRect(4, 4, 8, 8, MakeColour(250, 210, 60));
    ToolBar bar(picture);
    bar.button.caption("Deal");
    bar.button.TextPositionV(2);
    bar.button.AutoDim(true);
    Picture strip(4 * 44, 34, MakeColour(255, 255, 255));
    auto take = [&](int slot) { strip.Copy(slot * 44 + 2, 2, 40, 30, bar.Drawn(), 0, 0); };
    take(0);
    bar.Hover();
    take(1);
    bar.Mouse(MouseAction::Press, 20, 15);
    take(2);
    bar.Mouse(MouseAction::Move, 70, 15);
    take(3);
    bar.Mouse(MouseAction::Release, 70, 15);
    EXPECT_TRUE(reviewpictures::Save(strip, "cSfCb-rest-over-pressed-outside"));
    EXPECT_EQ(bar.clicks, 0);
}

TEST(cSfCb, CaptionIsUnderlinedWhileTheButtonHasTheFocus) {
    ToolBar bar(Picture(4, 4, kBack));
    bar.button.caption("Deal");
    const Picture plain = bar.Drawn();
    bar.button.Surface().SetFocus();
    platform::PumpEvents();
    ASSERT_TRUE(bar.button.Surface().HasFocus());
    EXPECT_TRUE(bar.Drawn().SamePixels(plain)) << "seen at the next redraw";
    bar.button.ForceRedraw();
    const reviewpictures::Ink before = reviewpictures::InkOf(plain, kBack, 0, 0, 40, 30);
    const reviewpictures::Ink focused = reviewpictures::InkOf(bar.Drawn(), kBack, 0, 0, 40, 30);
    EXPECT_GT(focused.count, before.count) << "the underline adds ink";
    EXPECT_GE(focused.bottom, before.bottom);
    bar.window.SetTakesFocus(true);
    bar.window.SetFocus();
    platform::PumpEvents();
    EXPECT_TRUE(bar.Drawn().SamePixels(plain)) << "redrawn plain when the focus goes";
}
