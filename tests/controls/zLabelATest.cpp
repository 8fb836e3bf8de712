#include "TestSupport.h"
#include "controls/TestImages.h"

#include "controls/Antialias.h"
#include "controls/zLabelA.h"
#include "platform/Fonts.h"

#include <gtest/gtest.h>

using controls::zLabelA;
using platform::Colour;
using platform::MakeColour;
using platform::Picture;

namespace {

constexpr Colour kWhite = MakeColour(255, 255, 255);
constexpr Colour kRed = MakeColour(255, 0, 0);

// The measured extent of one line as the label measures it: "Arial" at the label's size.
platform::TextSize Arial(const std::string& text, int points, bool bold = false) {
    return platform::MeasureText({"Arial", platform::PixelHeightOfPoints(points), bold}, text);
}

zLabelA* NewLabel(int points, bool bold = false) {
    auto* label = new zLabelA;
    label->Font(platform::Font{"Arial", static_cast<double>(points), bold});
    label->BackColor(kWhite);
    label->ForeColor(MakeColour(0, 0, 0));
    return label;
}

int Inked(const Picture& p, int x0, int x1, int y0, int y1) {
    int n = 0;
    for (int y = std::max(0, y0); y < std::min(p.Height(), y1); ++y)
        for (int x = std::max(0, x0); x < std::min(p.Width(), x1); ++x)
            n += p.GetPixel(x, y) != kWhite;
    return n;
}

} // namespace

TEST(zLabelA, SizesItselfToTheCaptionsMeasuredLines) {
    const platform::TextSize gold = Arial("Gold: 12", 12);
    const platform::TextSize a = Arial("a", 12), bb = Arial("bb", 12), wide = Arial("cccccc", 12);
    struct Case {
        const char* name;
        std::string caption;
        bool rotated;
        int width, height; // pixels
    } cases[] = {
        {"empty", "", false, 5, 2},
        {"empty, turned", "", true, 2, 9},
        {"one line", "Gold: 12", false, gold.width + 5, gold.height + 2},
        {"three lines", "a\r\nbb\r\ncccccc", false, wide.width + 5, a.height + bb.height + wide.height - 4},
        {"one line, turned", "Gold: 12", true, gold.height + 2, gold.width + 5 + 4},
        {"two lines, turned", "a\r\nbb", true, a.height + bb.height - 2, bb.width + 5 + 4},
        {"a lone LF does not cut", "a\nbb", false, Arial("a\nbb", 12).width + 5,
         Arial("a\nbb", 12).height + 2},
        {"a closing CRLF adds an empty line", "bb\r\n", false, bb.width + 5, bb.height - 2},
    };
    for (const auto& c : cases) {
        std::unique_ptr<zLabelA> label(NewLabel(12));
        label->Rotated(c.rotated);
        label->caption(c.caption);
        EXPECT_EQ(label->Surface().ScaleWidth(), c.width) << c.name;
        EXPECT_EQ(label->Surface().ScaleHeight(), c.height) << c.name;
        EXPECT_EQ(label->Surface().Width(), c.width * 15) << c.name;
        EXPECT_EQ(label->caption(), c.caption);
    }
    EXPECT_GT(gold.width, 20);
}

TEST(zLabelA, ACaptionIsCutToItsLongestLength) {
    std::unique_ptr<zLabelA> label(NewLabel(12));
    const std::string kept(kMaxCaptionLength, 'w');
    label->caption(kept + std::string(64 * 1024, 'x'));
    EXPECT_EQ(label->caption(), kept);
    const int width = label->Surface().ScaleWidth();
    label->caption(kept);
    EXPECT_EQ(label->Surface().ScaleWidth(), width) << "it is measured and drawn as cut";
    // Lines count in the length too: a caption of thousands of lines is as short.
    std::string lines;
    for (int k = 0; k < 20000; ++k)
        lines += "1\r\n";
    label->caption(lines);
    EXPECT_EQ(label->caption().size(), kMaxCaptionLength);
}

TEST(zLabelA, MeasuresInArialWhateverItsOwnFace) {
    std::unique_ptr<zLabelA> label(NewLabel(14, true));
    label->Font(platform::Font{"Courier New", 14, true});
    label->caption("Wounds: 3");
    const platform::TextSize bold = Arial("Wounds: 3", 14, true);
    EXPECT_EQ(label->Surface().ScaleWidth(), bold.width + 5);
    EXPECT_EQ(label->Surface().ScaleHeight(), bold.height + 2);
    EXPECT_EQ(label->TextWidth(), bold.width + 5);
    std::int32_t w = 0, h = 0;
    controls::MeasureAntialiasedCaption(w, h, label->hdc(), "Wounds: 3", 14, 700);
    EXPECT_EQ(w, bold.width + 5);
    EXPECT_EQ(h, bold.height + 2);
}

TEST(zLabelA, DrawsItsCaptionInTheForeColour) {
    std::unique_ptr<zLabelA> label(NewLabel(12));
    label->ForeColor(kRed);
    label->caption("88");
    const Picture& d = label->hdc();
    // Smoothed glyphs: the ink is the text colour at its core and lighter at its edges.
    int red = 0;
    for (int y = 0; y < d.Height(); ++y)
        for (int x = 0; x < d.Width(); ++x) {
            Colour c = d.GetPixel(x, y);
            red += platform::RedOf(c) > 200 && platform::GreenOf(c) < 60 && platform::BlueOf(c) < 60;
        }
    EXPECT_GT(red, 0);
    EXPECT_GT(Inked(d, 0, d.Width(), 0, d.Height()), 20);
    EXPECT_EQ(Inked(d, 0, 2, 0, d.Height()), 0) << "the text starts 2 pixels in";
    // Colours and bold take effect at the next caption only.
    const Picture before = d;
    label->ForeColor(MakeColour(0, 0, 255));
    label->FontBold(true);
    label->BackColor(MakeColour(0, 0, 0));
    EXPECT_TRUE(label->hdc().SamePixels(before));
}

TEST(zLabelA, TurnedCaptionReadsUpwardWithLinesSteppingRight) {
    std::unique_ptr<zLabelA> label(NewLabel(12));
    label->Rotated(true);
    label->caption("1111\r\n2222");
    const Picture& d = label->hdc();
    const int step = controls::LineStep(12);
    EXPECT_EQ(step, 16);
    EXPECT_GT(Inked(d, 0, step, 0, d.Height()), 0) << "first line";
    EXPECT_GT(Inked(d, step, d.Width(), 0, d.Height()), 0) << "second line";
    EXPECT_EQ(Inked(d, 0, d.Width(), 0, 4), 0) << "the text ends 4 pixels below the top";
    // Upward text is taller than wide.
    int top = d.Height(), bottom = 0;
    for (int y = 0; y < d.Height(); ++y)
        if (Inked(d, 0, d.Width(), y, y + 1) > 0) {
            top = std::min(top, y);
            bottom = y;
        }
    EXPECT_GT(bottom - top, Arial("1111", 12).width / 2);
}

TEST(zLabelA, StoredPropertiesChangeNothingOnScreen) {
    std::unique_ptr<zLabelA> label(NewLabel(10));
    label->caption("5");
    const Picture before = label->hdc();
    std::vector<std::string> keys;
    label->PropertyChanged = [&](const std::string& key) { keys.push_back(key); };
    label->AutoSize(true);
    label->Opacity(0.5);
    label->Enabled(true);
    label->BorderStyle(1);
    EXPECT_TRUE(label->hdc().SamePixels(before));
    EXPECT_EQ(keys, (std::vector<std::string>{"AutoSize", "Opacity", "Enabled", "BorderStyle"}));
    EXPECT_TRUE(label->AutoSize());
    EXPECT_EQ(label->Opacity(), 0.5);
    label->caption("5");
    EXPECT_TRUE(label->hdc().SamePixels(before)) << "and none at the next caption either";
}

TEST(zLabelA, BackgroundPictureSizesTheLabelAndCentresTheCaption) {
    testsupport::TempProgramFolder folder;
    Picture back(60, 30, MakeColour(0, 200, 0));
    back.FillRect(0, 0, 10, 30, MakeColour(255, 0, 255));
    folder.Write("marker.bmp", testimages::BmpOf(back));
    std::unique_ptr<zLabelA> label(NewLabel(10));
    label->transparent(true);
    label->MaskColor(MakeColour(255, 0, 255));
    EXPECT_FALSE(label->loadNewPicture("none.bmp"));
    ASSERT_TRUE(label->loadNewPicture("marker.bmp"));
    EXPECT_EQ(label->Surface().Width(), 60 * 15);
    EXPECT_EQ(label->Surface().Height(), 30 * 15);
    EXPECT_TRUE(label->hdc().SamePixels(back)) << "the label shows the whole picture";
    EXPECT_FALSE(label->Surface().ShowsPixel(5, 5));
    EXPECT_TRUE(label->Surface().ShowsPixel(30, 5));
    label->caption("7");
    // Centred over the 60-pixel picture before the label takes the caption's size.
    const platform::TextSize seven = platform::MeasureText(platform::SpecOf(label->Font()), "7");
    EXPECT_EQ(label->Surface().ScaleWidth(), Arial("7", 10).width + 5);
    EXPECT_GT((60 - seven.width) / 2, label->Surface().ScaleWidth()) << "the text lies beyond the new size";
}

TEST(zLabelA, MouseEventsArriveInTwips) {
    platform::ControlSurface table;
    table.SetSizePixels(100, 100);
    zLabelA label(table.Handle());
    label.Font(platform::Font{"Arial", 12, false});
    label.caption("Gold: 12");
    label.Surface().Move(150, 150);
    float x = -1, y = -1;
    int clicks = 0;
    label.MouseDown = [&](std::int16_t, std::int16_t, platform::TwipPoint at) {
        x = at.x;
        y = at.y;
    };
    label.Click = [&] { ++clicks; };
    table.SetVisible(true);
    platform::ClickAt(table, 10 + 4, 10 + 3);
    EXPECT_EQ(x, 4 * 15);
    EXPECT_EQ(y, 3 * 15);
    EXPECT_EQ(clicks, 1);
}

TEST(zLabelA, RestoredCaptionShowsNoTextUntilItIsSet) {
    platform::PropertyBag bag;
    bag.WriteText("caption", "1", "");
    bag.WriteFont("font", platform::Font{"Arial", 12, false}, platform::Font{});
    bag.WriteInt("fontbold", -1, 0);
    zLabelA label;
    label.ReadProperties(bag, platform::Font{});
    EXPECT_EQ(label.caption(), "1");
    EXPECT_TRUE(label.FontBold());
    EXPECT_EQ(label.Font().size, 12);
    EXPECT_EQ(label.Surface().ScaleWidth(), 0) << "nothing drawn, no size";
    label.caption(label.caption());
    EXPECT_EQ(label.Surface().ScaleWidth(), Arial("1", 12, true).width + 5);

    platform::PropertyBag saved;
    label.WriteProperties(saved, platform::Font{});
    EXPECT_EQ(saved.ReadText("Caption", ""), "1");
    EXPECT_FALSE(saved.Has("Opacity"));
    EXPECT_FALSE(saved.Has("BackColor")) << "still the window background";
}

TEST(zLabelA, ANewBackgroundPictureShowsFromTheNextCaption) {
    std::unique_ptr<zLabelA> label(NewLabel(12));
    label->caption("3");
    const Picture before = label->hdc();
    label->SetPicture(Picture(80, 40, MakeColour(0, 0, 200)));
    EXPECT_TRUE(label->hdc().SamePixels(before));
    label->caption("3");
    EXPECT_EQ(label->hdc().GetPixel(0, 0), MakeColour(0, 0, 200));
}
