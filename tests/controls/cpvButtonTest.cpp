#include "TestSupport.h"
#include "controls/ReviewPictures.h"

#include "controls/Module.h"
#include "controls/cpvButton.h"
#include "platform/Seams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using controls::cpvButton;
using platform::Colour;
using platform::MakeColour;
using platform::MouseAction;
using platform::Picture;

namespace {

constexpr Colour kOrange = MakeColour(230, 120, 20);
constexpr Colour kRed = MakeColour(255, 0, 0);
constexpr Colour kGreen = MakeColour(0, 160, 0);
constexpr Colour kBlue = MakeColour(0, 0, 255);
constexpr Colour kGreyPicture = MakeColour(90, 90, 90);

float Lightness(Colour c) {
    float h, s, l;
    RGBToHSL(platform::RedOf(c), platform::GreenOf(c), platform::BlueOf(c), h, s, l);
    return l;
}
float Hue(Colour c) {
    float h, s, l;
    RGBToHSL(platform::RedOf(c), platform::GreenOf(c), platform::BlueOf(c), h, s, l);
    return h;
}

// A window 140 x 60 with one 80 x 30 button at (10, 10).
struct Window {
    platform::ControlSurface window;
    cpvButton button{window.Handle()};
    int clicks = 0;

    explicit Window(Colour colour = kOrange) {
        window.SetSizePixels(140, 60);
        button.Surface().Move(10 * 15, 10 * 15, 80 * 15, 30 * 15);
        button.InitProperties("cmdDeal", platform::Font{"Arial", 8, false}, colour);
        button.caption("");
        button.Click = [this] { ++clicks; };
        window.SetVisible(true);
    }
    const Picture& Drawn() const { return button.Surface().Drawing(); }
    void Mouse(MouseAction action, int x, int y, int b = 1) {
        platform::MouseAt(window, action, 10 + x, 10 + y, b);
    }
};

} // namespace

TEST(cpvButton, FrameShadesShareTheButtonsHueFromDarkToLight) {
    Window w(kOrange);
    const cpvButton& b = w.button;
    const Colour shades[] = {b.DarkShadowShade(), b.ShadowShade(), kOrange, b.LightShade(),
                             b.HighlightShade()};
    for (int i = 1; i < 5; ++i)
        EXPECT_LT(Lightness(shades[i - 1]), Lightness(shades[i])) << i;
    for (Colour c : shades)
        EXPECT_NEAR(Hue(c), Hue(kOrange), 0.05) << std::hex << c;

    // Released: highlight and light on the outer and inner top-left, dark shadow and shadow on
    // the outer and inner bottom-right.
    struct Pixel {
        const char* name;
        int x, y;
        Colour released, pressed;
    } pixels[] = {
        {"outer left", 0, 15, b.HighlightShade(), b.DarkShadowShade()},
        {"outer top", 40, 0, b.HighlightShade(), b.DarkShadowShade()},
        {"inner left", 1, 15, b.LightShade(), b.ShadowShade()},
        {"inner right", 78, 15, b.ShadowShade(), b.LightShade()},
        {"inner bottom", 40, 28, b.ShadowShade(), b.LightShade()},
        {"outer right", 79, 15, b.DarkShadowShade(), b.HighlightShade()},
        {"outer bottom", 40, 29, b.DarkShadowShade(), b.HighlightShade()},
        {"face", 40, 15, kOrange, kOrange},
    };
    reviewpictures::Save(w.Drawn(), "cpvButton-3d-released");
    for (const Pixel& p : pixels)
        EXPECT_EQ(w.Drawn().GetPixel(p.x, p.y), p.released) << p.name;
    w.Mouse(MouseAction::Press, 40, 15);
    reviewpictures::Save(w.Drawn(), "cpvButton-3d-pressed");
    for (const Pixel& p : pixels)
        EXPECT_EQ(w.Drawn().GetPixel(p.x, p.y), p.pressed) << p.name;
    w.Mouse(MouseAction::Release, 40, 15);
}

TEST(cpvButton, GreyAndSystemColoursGetShadesToo) {
    Window grey(MakeColour(128, 128, 128));
    for (Colour c : {grey.button.LightShade(), grey.button.HighlightShade(), grey.button.ShadowShade(),
                     grey.button.DarkShadowShade()}) {
        EXPECT_EQ(platform::RedOf(c), platform::GreenOf(c)) << std::hex << c;
        EXPECT_EQ(platform::GreenOf(c), platform::BlueOf(c)) << std::hex << c;
    }
    Window face(platform::kSystemColourFlag | 15);
    Window resolved(platform::ResolveColour(platform::kSystemColourFlag | 15));
    EXPECT_EQ(face.button.ShadowShade(), resolved.button.ShadowShade());
    EXPECT_EQ(face.button.HighlightShade(), resolved.button.HighlightShade());
    EXPECT_TRUE(face.Drawn().SamePixels(resolved.Drawn()));
}

TEST(cpvButton, MouseClicksOnceOnAReleaseOverTheButton) {
    using A = MouseAction;
    struct Step {
        A action;
        int x, y, b;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        int clicks;
    } cases[] = {
        {"left press and release", {{A::Press, 40, 15, 1}, {A::Release, 40, 15, 1}}, 1},
        {"released outside", {{A::Press, 40, 15, 1}, {A::Move, 120, 15, 1}, {A::Release, 120, 15, 1}}, 0},
        {"right button", {{A::Press, 40, 15, 2}, {A::Release, 40, 15, 2}}, 0},
        {"released on the last column", {{A::Press, 40, 15, 1}, {A::Release, 79, 29, 1}}, 1},
        {"released just past it", {{A::Press, 40, 15, 1}, {A::Release, 80, 15, 1}}, 0},
    };
    for (const Case& c : cases) {
        Window w;
        bool pressedLook = false;
        w.button.MouseDown = [&](std::int16_t, std::int16_t, float, float) {
            pressedLook = w.button.Pressed();
        };
        for (const Step& s : c.steps)
            w.Mouse(s.action, s.x, s.y, s.b);
        EXPECT_EQ(w.clicks, c.clicks) << c.name;
        EXPECT_FALSE(w.button.Pressed()) << c.name;
        EXPECT_EQ(pressedLook, c.steps[0].b != 2) << c.name << ": the right button never presses it";
    }
}

TEST(cpvButton, ToggleFlipsOnClickAndShowsItsStateDithered) {
    Window w;
    w.button.Appearance(2);
    w.button.caption("");
    w.Mouse(MouseAction::Press, 40, 15);
    w.Mouse(MouseAction::Release, 40, 15);
    EXPECT_TRUE(w.button.Checked());
    EXPECT_EQ(w.clicks, 1);
    reviewpictures::Save(w.Drawn(), "cpvButton-toggled");
    int blackPixels = 0;
    for (int y = 2; y < 28; ++y)
        for (int x = 2; x < 78; ++x)
            blackPixels += w.Drawn().GetPixel(x, y) == 0;
    const int inner = 76 * 26;
    EXPECT_NEAR(blackPixels, inner / 2, inner / 20) << "about half black";
    w.Mouse(MouseAction::Press, 40, 15);
    w.Mouse(MouseAction::Release, 40, 15);
    EXPECT_FALSE(w.button.Checked());
    EXPECT_EQ(w.Drawn().GetPixel(40, 15), kOrange);
}

TEST(cpvButton, PictureIsChosenByState) {
    Window w;
    w.button.Style(1);
    w.button.SetPicture(Picture(12, 10, kRed));
    w.button.PictureOver(Picture(12, 10, kGreen));
    w.button.PictureDown(Picture(12, 10, kBlue));
    w.button.PictureDisabled(Picture(12, 10, kGreyPicture));
    auto centre = [&] { return w.Drawn().GetPixel(40, 15); };
    EXPECT_EQ(centre(), kRed) << "at rest";
    platform::MouseAt(w.window, MouseAction::Move, 50, 25);
    EXPECT_TRUE(w.button.PointerOver());
    EXPECT_EQ(centre(), kGreen) << "pointer over";
    w.Mouse(MouseAction::Press, 40, 15);
    EXPECT_EQ(centre(), kBlue) << "pressed";
    EXPECT_EQ(w.Drawn().GetPixel(35, 11), kBlue) << "one pixel right and down: (34, 10) moved by one";
    EXPECT_EQ(w.Drawn().GetPixel(34, 10), kOrange);
    w.Mouse(MouseAction::Move, 120, 15);
    EXPECT_FALSE(w.button.PointerOver());
    EXPECT_EQ(centre(), kRed) << "held but dragged out: drawn released";
    EXPECT_TRUE(w.button.Pressed());
    w.Mouse(MouseAction::Release, 120, 15);
    platform::MouseAt(w.window, MouseAction::Move, 135, 55);
    w.button.Enabled(false);
    EXPECT_EQ(centre(), kGreyPicture) << "disabled";
    w.button.PictureDisabled(Picture());
    EXPECT_EQ(centre(), kRed) << "a missing picture falls back to the normal one";
    reviewpictures::Save(w.Drawn(), "cpvButton-disabled-picture");
}

TEST(cpvButton, PictureSitsByCaptionAlignWithTheCaptionBesideIt) {
    struct Case {
        int align;
        int left, top; // of a 12 x 10 picture in the 80 x 30 button, PictureTab 2
    } cases[] = {
        {0, 34, 10}, {1, 34, 30 - 10 - 2 - 4}, {2, 34, 2 + 3}, {3, 80 - 12 - 2 - 4, 10}, {4, 2 + 3, 10}};
    for (const Case& c : cases) {
        Window w;
        w.button.Style(1);
        w.button.PictureTab(2);
        w.button.CaptionAlign(c.align);
        w.button.SetPicture(Picture(12, 10, kBlue));
        const reviewpictures::Ink ink = reviewpictures::InkOf(w.Drawn(), kOrange, 2, 2, 78, 28);
        EXPECT_EQ(ink.left, c.left) << c.align;
        EXPECT_EQ(ink.top, c.top) << c.align;
        EXPECT_EQ(ink.right - ink.left, 11) << c.align;
    }
    Window w;
    w.button.PictureTab(-5);
    EXPECT_EQ(w.button.PictureTab(), 0);
}

TEST(cpvButton, MaskColourLeavesThePicturesKeyOut) {
    Window w;
    Picture picture(12, 10, kRed);
    picture.FillRect(0, 0, 6, 10, kBlue);
    w.button.Style(1);
    w.button.SetPicture(picture);
    w.button.MaskColor(kBlue);
    EXPECT_EQ(w.Drawn().GetPixel(35, 15), kBlue);
    w.button.UseMaskColor(true);
    EXPECT_EQ(w.Drawn().GetPixel(35, 15), kOrange);
    EXPECT_EQ(w.Drawn().GetPixel(42, 15), kRed);
}

TEST(cpvButton, CaptionIsCentredAndEmbossedWhenDisabled) {
    Window w(MakeColour(255, 255, 255));
    w.button.FontColor(0);
    w.button.caption("Deal");
    reviewpictures::Save(w.Drawn(), "cpvButton-caption");
    const reviewpictures::Ink ink = reviewpictures::InkOf(w.Drawn(), MakeColour(255, 255, 255), 3, 3, 77, 27);
    ASSERT_FALSE(ink.Empty());
    EXPECT_LE(std::abs((ink.left + ink.right + 1) - 80), 2) << "centred within one pixel";
    EXPECT_LE(std::abs((ink.top + ink.bottom + 1) - 30), 6) << "about the middle";
    float darkest = 1;
    for (int y = 3; y < 27; ++y)
        for (int x = 3; x < 77; ++x)
            darkest = std::min(darkest, Lightness(w.Drawn().GetPixel(x, y)));
    EXPECT_LT(darkest, 0.2f) << "enabled: the font colour, black";

    // Disabled: embossed in the highlight and shadow shades, never darker than the shadow.
    w.button.ButtonColor(kOrange);
    w.button.Enabled(false);
    reviewpictures::Save(w.Drawn(), "cpvButton-caption-disabled");
    const reviewpictures::Ink embossed = reviewpictures::InkOf(w.Drawn(), kOrange, 3, 3, 77, 27);
    EXPECT_GT(embossed.count, 20);
    darkest = 1;
    for (int y = 3; y < 27; ++y)
        for (int x = 3; x < 77; ++x)
            darkest = std::min(darkest, Lightness(w.Drawn().GetPixel(x, y)));
    EXPECT_NEAR(darkest, Lightness(w.button.ShadowShade()), 0.02f);
}

TEST(cpvButton, AccessKeyIsAfterTheAmpersandOrTheFirstCharacter) {
    struct Case {
        const char* caption;
        char key;
    } cases[] = {{"&Roll", 'R'}, {"Ro&ll", 'l'}, {"Roll", 'R'}, {"Roll&", 0}, {"", 0}};
    Window w;
    for (const Case& c : cases) {
        w.button.caption(c.caption);
        EXPECT_EQ(w.button.AccessKey(), c.key) << c.caption;
    }
    w.button.Appearance(3);
    w.button.AccessKeyPress('r');
    EXPECT_TRUE(w.button.Checked()) << "the access key flips a toggle";
    EXPECT_EQ(w.clicks, 1);
    w.button.AccessKeyPress(27);
    EXPECT_TRUE(w.button.Checked()) << "Escape only clicks";
    EXPECT_EQ(w.clicks, 2);
}

TEST(cpvButton, SpaceClicksAtOnceAndOnceWhileHeld) {
    Window w;
    using platform::KeyAction;
    platform::KeyAt(w.button.Surface(), KeyAction::Down, 32);
    EXPECT_EQ(w.clicks, 1);
    EXPECT_TRUE(w.button.Pressed());
    for (int i = 0; i < 4; ++i)
        platform::KeyAt(w.button.Surface(), KeyAction::Repeat, 32);
    EXPECT_EQ(w.clicks, 1);
    platform::KeyAt(w.button.Surface(), KeyAction::Up, 32);
    EXPECT_FALSE(w.button.Pressed());
    platform::KeyAt(w.button.Surface(), KeyAction::Down, 13);
    EXPECT_EQ(w.clicks, 2);
    platform::KeyAt(w.button.Surface(), KeyAction::Up, 13);
    w.button.Appearance(2);
    platform::KeyAt(w.button.Surface(), KeyAction::Down, 13);
    EXPECT_FALSE(w.button.Checked()) << "keys never flip a toggle";
}

TEST(cpvButton, BlackBorderMarksTheDefaultButtonButNeverAToggle) {
    struct Case {
        int appearance;
        bool isDefault;
        bool border;
    } cases[] = {{1, true, true}, {1, false, false}, {3, true, false}, {0, true, false}};
    for (const Case& c : cases) {
        Window w;
        w.button.IsDefault = [&c] { return std::optional<bool>(c.isDefault); };
        w.button.Appearance(c.appearance);
        const bool black = w.Drawn().GetPixel(0, 15) == 0 && w.Drawn().GetPixel(79, 15) == 0;
        EXPECT_EQ(black, c.border) << c.appearance << " " << c.isDefault;
        if (c.border) {
            EXPECT_EQ(w.Drawn().GetPixel(1, 15), w.button.HighlightShade()) << "the edge moves in by one";
            reviewpictures::Save(w.Drawn(), "cpvButton-default");
        }
    }
    Window unknown;
    unknown.button.IsDefault = [] { return std::optional<bool>(); };
    unknown.button.Refresh();
    EXPECT_EQ(unknown.Drawn().GetPixel(0, 15), unknown.button.HighlightShade());
}

TEST(cpvButton, FlatOverShowsTheEdgeOnlyUnderThePointer) {
    Window w;
    w.button.Appearance(0);
    w.button.FlatOver(true);
    EXPECT_EQ(w.Drawn().GetPixel(0, 15), kOrange) << "no edge at rest";
    w.Mouse(MouseAction::Move, 40, 15);
    EXPECT_EQ(w.Drawn().GetPixel(0, 15), w.button.HighlightShade());
    EXPECT_EQ(w.Drawn().GetPixel(79, 15), w.button.ShadowShade());
    platform::MouseAt(w.window, MouseAction::Move, 135, 55);
    EXPECT_EQ(w.Drawn().GetPixel(0, 15), kOrange) << "gone with the pointer";
    w.button.FlatOverBox(true);
    EXPECT_EQ(w.Drawn().GetPixel(0, 15), 0u) << "the box is always there";
    EXPECT_EQ(w.Drawn().GetPixel(79, 29), 0u);
    EXPECT_EQ(w.Drawn().GetPixel(1, 15), kOrange);
}

TEST(cpvButton, PointerArrivalAndDepartureRaiseMouseInAndOut) {
    Window w;
    std::vector<std::string> events;
    w.button.MouseIn = [&](std::int16_t) { events.push_back("in"); };
    w.button.MouseOut = [&](std::int16_t) { events.push_back("out"); };
    w.Mouse(MouseAction::Move, 40, 15);
    w.Mouse(MouseAction::Move, 41, 15);
    platform::MouseAt(w.window, MouseAction::Move, 135, 55);
    w.Mouse(MouseAction::Move, 40, 15);
    EXPECT_EQ(events, (std::vector<std::string>{"in", "out", "in"}));
}

TEST(cpvButton, TinyButtonGrowsToTenPixels) {
    Window w;
    w.button.Surface().Move(0, 0, 4 * 15, 50 * 15);
    EXPECT_EQ(w.button.Surface().ScaleWidth(), 10);
    EXPECT_EQ(w.button.Surface().ScaleHeight(), 50);
    w.button.Surface().SetHeight(0);
    EXPECT_EQ(w.button.Surface().ScaleHeight(), 10);
}

TEST(cpvButton, StoredPropertiesComeBackAndDefaultsAreNotStored) {
    const platform::Font ambient{"Arial", 8, false};
    Window w;
    w.button.caption("&Roll");
    w.button.Appearance(3);
    w.button.Checked(true);
    w.button.Style(1);
    w.button.PictureTab(4);
    w.button.SetPicture(Picture(5, 5, kRed));
    w.button.Font(platform::Font{"Arial", 10, true, false, true});
    EXPECT_FALSE(w.button.MousePointer(40000));
    EXPECT_TRUE(w.button.MousePointer(11));
    EXPECT_EQ(w.button.Surface().MousePointer(), 11);
    platform::PropertyBag bag;
    w.button.WriteProperties(bag, "cmdRoll", ambient);
    EXPECT_FALSE(bag.Has("CaptionAlign"));
    EXPECT_FALSE(bag.Has("ButtonColor") &&
                 bag.ReadInt("ButtonColor", 0) == (platform::kSystemColourFlag | 15));

    cpvButton copy;
    copy.ReadProperties(bag, "cmdRoll", ambient);
    EXPECT_EQ(copy.caption(), "&Roll");
    EXPECT_EQ(copy.AccessKey(), 'R');
    EXPECT_EQ(copy.Appearance(), 3);
    EXPECT_TRUE(copy.Checked());
    EXPECT_EQ(copy.PictureTab(), 4);
    EXPECT_EQ(copy.MousePointer(), 11);
    EXPECT_EQ(copy.Surface().MousePointer(), 11) << "the stored pointer shows over the button";
    EXPECT_TRUE(copy.Font().underline);
    EXPECT_EQ(copy.ButtonColor(), kOrange);
    EXPECT_EQ(copy.ShadowShade(), w.button.ShadowShade());

    cpvButton fresh;
    fresh.ReadProperties(platform::PropertyBag{}, "cmdNew", ambient);
    EXPECT_EQ(fresh.caption(), "cmdNew");
    EXPECT_EQ(fresh.Appearance(), 1);
    EXPECT_EQ(fresh.CaptionJustify(), 1);
    EXPECT_EQ(fresh.ButtonColor(), platform::kSystemColourFlag | 15);
    EXPECT_EQ(fresh.FontColor(), platform::kSystemColourFlag | 18);
    EXPECT_TRUE(fresh.ShowFocusRect());
    EXPECT_TRUE(fresh.Enabled());
}

TEST(cpvButton, FocusBringsTheBorderAndTheDottedRectangle) {
    Window w;
    w.button.Surface().SetFocus();
    platform::PumpEvents();
    ASSERT_TRUE(w.button.Surface().HasFocus());
    reviewpictures::Save(w.Drawn(), "cpvButton-focused");
    EXPECT_EQ(w.Drawn().GetPixel(0, 15), 0u) << "black border while focused";
    // The dotted rectangle inverts every other pixel of its lines, 4 pixels in.
    EXPECT_EQ(w.Drawn().GetPixel(4, 4), kOrange ^ 0xFFFFFF);
    EXPECT_EQ(w.Drawn().GetPixel(5, 4), kOrange);
    EXPECT_EQ(w.Drawn().GetPixel(6, 4), kOrange ^ 0xFFFFFF);
    w.button.ShowBorderOnFocus(false);
    w.button.ShowFocusRect(false);
    EXPECT_EQ(w.Drawn().GetPixel(0, 15), w.button.HighlightShade());
    EXPECT_EQ(w.Drawn().GetPixel(4, 4), kOrange);
    w.Mouse(MouseAction::Press, 40, 15);
    w.window.SetTakesFocus(true);
    w.window.SetFocus();
    platform::PumpEvents();
    EXPECT_FALSE(w.button.Pressed()) << "losing the focus releases the button";
    w.Mouse(MouseAction::Release, 40, 15);
    EXPECT_EQ(w.clicks, 1) << "the release over it still clicks";
}
