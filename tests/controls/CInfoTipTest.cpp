#include "TestSupport.h"
#include "controls/ReviewPictures.h"

#include "controls/CInfoTip.h"
#include "controls/MInfoTip.h"
#include "platform/Seams.h"
#include "platform/TextBox.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

using controls::CInfoTip;
using platform::Colour;
using platform::MakeColour;
using platform::Picture;

namespace {

constexpr Colour kPaper = MakeColour(255, 255, 225);
constexpr Colour kInk = MakeColour(0, 0, 0);
constexpr Colour kTitle = MakeColour(200, 0, 0);
constexpr Colour kLine = MakeColour(0, 0, 200);
constexpr platform::ScreenPoint kPointer{100, 100};
constexpr platform::TextSize kScreen{800, 600};

// A balloon as the table window makes one, in a font that does not depend on the machine.
std::shared_ptr<CInfoTip> NewTip() {
    auto tip = CInfoTip::New();
    tip->UseSystemFont(false);
    tip->fontname("Arial");
    tip->fontsize(12);
    tip->BackColor(kPaper);
    tip->ForeColor(kInk);
    tip->TitleColor(kTitle);
    tip->BorderColor(kLine);
    tip->UseTimeOut(false);
    return tip;
}

platform::FontSpec TextFont() {
    return platform::FontSpec{"Arial", 12, false};
}

int Count(const Picture& p, Colour c, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            n += p.GetPixel(x, y) == c;
    return n;
}

} // namespace

TEST(CInfoTip, BoxIsTheTextWidthPlusTwicethePaddingAndTheTitleAddsALine) {
    const std::string text = "Ace of spades\r\nworth 11 or 1";
    const int textWidth = platform::MeasureTextBox(TextFont(), text, 0, {}).width;
    EXPECT_GE(textWidth, platform::MeasureText(TextFont(), "Ace of spades").width);
    const int lineHeight = platform::MeasureText(TextFont(), "A").height;
    struct Case {
        const char* name;
        const char* file;
        int padding;
        bool showTitle;
        std::string title;
        int width, height;
    } cases[] = {
        {"no title", "plain", 5, false, "", textWidth + 10, 2 * lineHeight + 5},
        {"title", "title", 5, true, "Ace", textWidth + 10, 2 * lineHeight + 5 + lineHeight + 5},
        {"wide padding", "padding", 9, true, "Ace", textWidth + 18, 2 * lineHeight + 9 + lineHeight + 9},
        {"title not shown", "title-not-shown", 5, false, "Ace", textWidth + 10, 2 * lineHeight + 5},
    };
    for (const Case& c : cases) {
        auto tip = NewTip();
        tip->DropShadow(false);
        tip->Padding(c.padding);
        tip->ShowTitle(c.showTitle);
        tip->ShowAt(kPointer, kScreen, text, c.title);
        const Picture& d = tip->Drawing();
        EXPECT_EQ(d.Width(), c.width) << c.name;
        EXPECT_EQ(d.Height(), c.height) << c.name;
        ASSERT_NE(tip->Window(), nullptr);
        EXPECT_EQ(tip->Window()->Width(), c.width) << c.name;
        EXPECT_TRUE(tip->Window()->Visible());
        reviewpictures::Save(d, std::string("CInfoTip-") + c.file);
        const int titleInk = Count(d, kTitle, 1, 1, d.Width() - 1, d.Height() - 1);
        const int separator = Count(d, kLine, c.padding, 1, d.Width() - c.padding, d.Height() - 1);
        EXPECT_EQ(titleInk > 0, c.showTitle) << c.name << ": title drawn only when shown";
        EXPECT_EQ(separator, c.showTitle ? d.Width() - 2 * c.padding : 0) << c.name << ": separator";
    }
}

TEST(CInfoTip, ALongTitleSizesTheBoxFromItself) {
    auto tip = NewTip();
    tip->DropShadow(false);
    tip->ShowTitle(true);
    // 1.4 x 10 characters of title reach the 14 of the text: the title decides the width; the
    // text's three lines still decide the height.
    tip->ShowAt(kPointer, kScreen, "1\r\n2\r\n34567890", "Queen Mary");
    const int lineHeight = platform::MeasureText(TextFont(), "A").height;
    const int boldTitle = platform::MeasureText(platform::FontSpec{"Arial", 12, true}, "Queen Mary").width;
    EXPECT_GE(tip->Drawing().Width(), boldTitle + 10) << "the bold title fits";
    EXPECT_GT(tip->Drawing().Width(), platform::MeasureText(TextFont(), "Queen Mary").width + 10);
    EXPECT_EQ(tip->Drawing().Height(), 3 * lineHeight + 5 + lineHeight + 5);
    reviewpictures::Save(tip->Drawing(), "CInfoTip-long-title");
    // One character more of text and the text decides.
    tip->ShowAt(kPointer, kScreen, "123456789012345", "Queen Mary");
    EXPECT_EQ(tip->Drawing().Width(),
              platform::MeasureTextBox(TextFont(), "123456789012345", 0, {}).width + 10);
}

TEST(CInfoTip, TabsBecomeBlanksInTheTextAndVanishFromTheTitle) {
    struct Case {
        int tabSize;
        std::string text, same;
    } cases[] = {{3, "a\tb", "a   b"}, {0, "a\tb", "ab"}, {1, "\t\tx", "  x"}, {-2, "a\tb", "ab"}};
    for (const Case& c : cases) {
        auto tip = NewTip(), plain = NewTip();
        tip->TabSize(c.tabSize);
        tip->ShowTitle(true);
        plain->ShowTitle(true);
        tip->ShowAt(kPointer, kScreen, c.text, "Ti\ttle");
        plain->ShowAt(kPointer, kScreen, c.same, "Title");
        EXPECT_TRUE(tip->Drawing().SamePixels(plain->Drawing())) << c.tabSize << " " << c.text;
    }
}

// Card names and descriptions are not captions: an "&" in them is drawn as written, never taken
// for an access key's mark, in the text and in the title alike.
TEST(CInfoTip, AnAmpersandShowsAsWrittenInTheTextAndTheTitle) {
    const platform::TextBoxFormat layout{0, false, true};
    const int written = platform::MeasureTextBox(TextFont(), "Tom&&Jerry", 0, layout).width;
    ASSERT_GT(written, platform::MeasureTextBox(TextFont(), "Tom&Jerry", 0, layout).width);
    auto tip = NewTip();
    tip->DropShadow(false);
    tip->ShowAt(kPointer, kScreen, "Tom&Jerry", "");
    EXPECT_EQ(tip->Drawing().Width(), written + 10);

    reviewpictures::Save(tip->Drawing(), "CInfoTip-ampersand");

    // The title's ink reaches as far right as "R&D" does, beyond where "RD" would end.
    auto titled = NewTip();
    titled->DropShadow(false);
    titled->ShowTitle(true);
    titled->ShowAt(kPointer, kScreen, "a text long enough for the title", "R&D");
    const Picture& d = titled->Drawing();
    const int lineHeight = platform::MeasureText(TextFont(), "A").height;
    int right = 0;
    for (int y = 2; y < 2 + lineHeight; ++y)
        for (int x = 1; x < d.Width() - 1; ++x)
            if (d.GetPixel(x, y) == kTitle) right = std::max(right, x);
    const platform::FontSpec bold{"Arial", 12, true};
    EXPECT_GT(right, 5 + platform::MeasureText(bold, "RD").width + 2);
    EXPECT_LE(right, 5 + platform::MeasureText(bold, "R&D").width + 2);
}

TEST(CInfoTip, BalloonOpensBelowThePointerAndStaysOnTheScreen) {
    struct Case {
        const char* name;
        platform::ScreenPoint cursor;
        int x, y;
    } cases[] = {
        {"room enough", {100, 100}, 100, 122},
        {"right edge", {750, 100}, 800 - 120 - 5, 122},
        {"just fits at the right", {680, 100}, 680, 122},
        {"bottom edge", {100, 580}, 100, 580 - 5 - 40},
        {"corner", {790, 590}, 800 - 120 - 5, 590 - 5 - 40},
    };
    for (const Case& c : cases) {
        const platform::ScreenPoint at = controls::BalloonPosition(c.cursor, 120, 40, 5, kScreen);
        EXPECT_EQ(at.x, c.x) << c.name;
        EXPECT_EQ(at.y, c.y) << c.name;
    }
    auto tip = NewTip();
    tip->ShowAt({790, 590}, kScreen, "Near the corner");
    const Picture& d = tip->Drawing();
    EXPECT_EQ(tip->Window()->Left() + d.Width() - 4, 800 - 5) << "the shadow takes no part";
    EXPECT_EQ(tip->Window()->Top() + d.Height() - 4, 590 - 5);
}

TEST(CInfoTip, ShadowDarkensWithinOneLevelOfTheDarkeningItStandsFor) {
    const int w = 40, h = 20;
    const std::vector<std::uint8_t> a = controls::ShadowOpacity(w, h);
    auto at = [&](int x, int y) { return static_cast<int>(a[static_cast<std::size_t>(y * w + x)]); };
    struct Case {
        int x, y, k;
    } cases[] = {
        {w - 4, 10, 60}, {w - 1, 10, 15},    {w - 4, 0, 0},     {w - 4, 3, 0},   {w - 4, 4, 12},
        {w - 4, 7, 48},  {w - 4, h - 4, 48}, {w - 1, h - 1, 3}, {10, h - 4, 60}, {10, h - 1, 15},
        {0, h - 1, 0},   {5, h - 4, 24},     {10, 10, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(at(c.x, c.y), c.k) << c.x << "," << c.y;
    // Black of opacity k over a channel c is within one level of c - floor(c * k / 255).
    for (int k = 0; k <= 60; ++k)
        for (int c = 0; c < 256; ++c) {
            const int darkened = c - c * k / 255;
            const int blended = static_cast<int>(std::lround(c * (255 - k) / 255.0));
            ASSERT_LE(std::abs(darkened - blended), 1) << c << " " << k;
        }

    auto tip = NewTip();
    tip->ShowTitle(true);
    tip->ShowAt(kPointer, kScreen, "Shadow", "Balloon");
    const std::vector<std::uint8_t>& o = tip->Opacity();
    const Picture& d = tip->Drawing();
    // As a person would see it over a light, striped desktop.
    Picture desktop(d.Width() + 20, d.Height() + 20, MakeColour(240, 240, 240));
    for (int y = 0; y < desktop.Height(); y += 6)
        desktop.FillRect(0, y, desktop.Width(), 3, MakeColour(120, 170, 220));
    for (int y = 0; y < d.Height(); ++y)
        for (int x = 0; x < d.Width(); ++x) {
            const int k = o[static_cast<std::size_t>(y * d.Width() + x)];
            const Colour below = desktop.GetPixel(10 + x, 10 + y), top = d.GetPixel(x, y);
            auto mix = [k](int a, int b) { return (b * k + a * (255 - k) + 127) / 255; };
            desktop.SetPixel(10 + x, 10 + y,
                             MakeColour(mix(platform::RedOf(below), platform::RedOf(top)),
                                        mix(platform::GreenOf(below), platform::GreenOf(top)),
                                        mix(platform::BlueOf(below), platform::BlueOf(top))));
        }
    reviewpictures::Save(desktop, "CInfoTip-shadow");
    EXPECT_EQ(o.size(), static_cast<std::size_t>(d.Width() * d.Height()));
    EXPECT_EQ(o[0], 255) << "the box is opaque";
    EXPECT_EQ(o[static_cast<std::size_t>((d.Height() / 2) * d.Width() + d.Width() - 4)], 60);
    const int withShadow = d.Width();
    tip->DropShadow(false);
    tip->ShowAt(kPointer, kScreen, "Shadow", "Balloon");
    EXPECT_EQ(tip->Drawing().Width(), withShadow - 4);
}

TEST(CInfoTip, BorderStyles) {
    struct Case {
        int style;
        bool line, edge;
    } cases[] = {{0, false, true}, {1, true, false}, {2, false, false}};
    for (const Case& c : cases) {
        auto tip = NewTip();
        tip->DropShadow(false);
        tip->BorderStyle(c.style);
        tip->ShowAt(kPointer, kScreen, "Border");
        const Picture& d = tip->Drawing();
        const int w = d.Width(), h = d.Height();
        const Colour light = platform::ResolveColour(platform::kSystemColourFlag | 22);
        const Colour dark = platform::ResolveColour(platform::kSystemColourFlag | 21);
        EXPECT_EQ(Count(d, kLine, 0, 0, w, 1) == w && Count(d, kLine, 0, h - 1, w, h) == w, c.line)
            << c.style;
        EXPECT_EQ(d.GetPixel(0, h / 2) == light && d.GetPixel(w - 1, h / 2) == dark, c.edge) << c.style;
        if (!c.line && !c.edge) {
            EXPECT_EQ(d.GetPixel(0, 0), kPaper);
        }
    }
}

TEST(CInfoTip, ShowingAgainReusesTheWindowAndHidingAlwaysTellsTheOwner) {
    auto tip = NewTip();
    int hidden = 0;
    tip->TipHidden = [&] { ++hidden; };
    tip->Hide();
    EXPECT_EQ(hidden, 1) << "even without a window";
    EXPECT_EQ(tip->hWnd(), 0);
    tip->ShowAt(kPointer, kScreen, "One");
    const std::int32_t handle = tip->hWnd();
    const platform::PopupWindow* window = tip->Window();
    EXPECT_NE(handle, 0);
    tip->ShowAt({300, 200}, kScreen, "Two, longer");
    EXPECT_EQ(tip->hWnd(), handle);
    EXPECT_EQ(tip->Window(), window);
    EXPECT_EQ(tip->Window()->Left(), 300);
    EXPECT_EQ(tip->text(), "") << "a given text is for this showing only";
    tip->Hide();
    EXPECT_EQ(hidden, 2);
    EXPECT_EQ(tip->hWnd(), 0);
    EXPECT_EQ(tip->Window(), nullptr);
    tip->text("Stored text");
    tip->ShowAt(kPointer, kScreen);
    EXPECT_NE(tip->hWnd(), 0);
    tip->TipHidden = [&] { ++hidden; };
    tip.reset();
    EXPECT_EQ(hidden, 3) << "ending the balloon hides it";
}

TEST(CInfoTip, TheCountdownHidesTheBalloonThatStartedOneLast) {
    auto first = NewTip(), second = NewTip();
    int firstHidden = 0, secondHidden = 0;
    first->TipHidden = [&] { ++firstHidden; };
    second->TipHidden = [&] { ++secondHidden; };
    for (auto* tip : {first.get(), second.get()}) {
        tip->UseTimeOut(true);
        tip->TimeOut(1);
        tip->ShowAt(kPointer, kScreen, "Counting down");
    }
    EXPECT_EQ(controls::CurrentInfoTip, second);
    std::weak_ptr<CInfoTip> kept = second;
    second.reset();
    EXPECT_FALSE(kept.expired()) << "a balloon counting down outlives its owner's reference";
    // The first countdown to end hides the balloon that started one last; the other countdown
    // either ended with that balloon's window or hides it once more.
    for (int i = 0; i < 5000 && secondHidden == 0; ++i) {
        platform::PumpEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    for (int i = 0; i < 20; ++i) {
        platform::PumpEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_GE(secondHidden, 1);
    EXPECT_EQ(firstHidden, 0);
    EXPECT_NE(first->hWnd(), 0) << "the first balloon is still shown";
    controls::CurrentInfoTip.reset();
    EXPECT_TRUE(kept.expired());
}

TEST(CInfoTip, IdentifiesItself) {
    testsupport::MessageRecorder messages;
    auto tip = NewTip();
    EXPECT_EQ(tip->Version(), "1.0.1");
    EXPECT_EQ(tip->GetAddress(1234), 1234);
    tip->About();
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_NE(messages.Messages()[0].find("CInfoTip v1.0.1"), std::string::npos);
}

TEST(MInfoTip, TooltipDelayComesFromTheProgramsSettings) {
    struct Case {
        const char* name;
        const char* file; // nullptr: no karvel.ini at all
        int delay;
    } cases[] = {
        {"no file", nullptr, 1500},
        {"no key", "[INTERFACE]\r\nother=3\r\n", 1500},
        {"empty value", "[INTERFACE]\r\ncard_tooltip_delay=\r\n", 1500},
        {"a number", "[Interface]\r\nCARD_TOOLTIP_DELAY=800\r\n", 800},
        {"blanks and a fraction", "[INTERFACE]\r\ncard_tooltip_delay=  750.5 ms\r\n", 750},
        {"odd half", "[INTERFACE]\r\ncard_tooltip_delay=751.5\r\n", 752},
        {"no number", "[INTERFACE]\r\ncard_tooltip_delay=soon\r\n", 0},
        {"too large", "[INTERFACE]\r\ncard_tooltip_delay=99999\r\n", 32767},
    };
    for (const Case& c : cases) {
        testsupport::TempProgramFolder folder;
        if (c.file) folder.Write("karvel.ini", c.file);
        EXPECT_EQ(controls::CardTooltipDelay(), c.delay) << c.name;
    }
}
