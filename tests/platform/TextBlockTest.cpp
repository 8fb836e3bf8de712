#include "TestSupport.h"

#include "platform/Fonts.h"
#include "platform/Picture.h"
#include "platform/TextBox.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using platform::Colour;
using platform::FontSpec;
using platform::MakeColour;
using platform::Picture;
using platform::TextBlock;
using platform::TextBoxFormat;
using platform::TextFont;

namespace {

constexpr Colour kPaper = MakeColour(255, 255, 225);
constexpr Colour kInk = MakeColour(20, 30, 140);

} // namespace

// A text laid out once must measure and draw exactly as the text routines that lay it out anew
// each time: the balloon's box is sized from the block and shows the block.
TEST(TextBlock, MeasuresAndDrawsAsTheTextRoutinesDo) {
    const FontSpec arial{"Arial", 12, false}, bold{"Arial", 13, true, true},
        small{"Arial", 9, false, false, true};
    struct Case {
        const char* name;
        FontSpec font;
        std::string text;
        TextBoxFormat format;
        int width; // the rectangle drawn into, and the width words break at
        int height;
    } cases[] = {
        {"one line", arial, "Knight of cups", {0, false, true}, 200, 40},
        {"lines of every break", arial, "one\r\ntwo\rthree\nfour\n\r\nsix", {0, false, true}, 200, 200},
        {"centred", bold, "Short\r\nA much longer line here\r\n\r\nend  ", {1, false, true}, 250, 120},
        {"right with trailing blanks", bold, "right aligned\r\ntext   \r\nx", {2, false, true}, 180, 90},
        {"any other alignment is left", arial, "odd alignment", {7, false, false}, 150, 30},
        {"tabs expanded", arial, "a\tb\t\tc\r\n\tindented", {0, false, true}, 300, 60},
        {"tabs not expanded", arial, "a\tb\t\tc", {0, false, false}, 300, 30},
        {"tabs centred are blanks", arial, "a\tb", {1, false, true}, 300, 30},
        {"doubled ampersands", small, "Tom&&Jerry && R&&D", {0, false, true}, 200, 30},
        {"access key underlined", arial, "&File and E&xit &", {0, false, true}, 200, 30},
        {"only a mark", arial, "&", {0, false, true}, 100, 30},
        {"cut at the bottom", arial, "1\r\n2\r\n3\r\n4\r\n5\r\n6", {0, false, true}, 100, 33},
        {"cut at the right", arial, "a line much wider than its box", {0, false, true}, 60, 30},
        {"words broken",
         arial,
         "the words of this text break to fit the width of its box",
         {0, true, false},
         90,
         200},
        {"words broken, centred", small, "the words of this text break to fit", {1, true, true}, 70, 200},
        {"ANSI letters", arial, "Caf\xe9 \x9c\x80 \xe0 la carte \xa9", {0, false, true}, 200, 30},
    };
    for (const Case& c : cases) {
        const TextFont font(c.font);
        const TextBlock block(font, c.text, c.format, c.width);
        const platform::TextSize measured = platform::MeasureTextBox(c.font, c.text, c.width, c.format);
        EXPECT_EQ(block.Size().width, measured.width) << c.name;
        EXPECT_EQ(block.Size().height, measured.height) << c.name;
        // Drawn at an odd place inside a larger picture, so that the clipping shows too.
        Picture expected(c.width + 20, c.height + 20, kPaper), drawn = expected;
        platform::DrawTextBox(expected, 7, 5, 7 + c.width, 5 + c.height, c.text, c.font, kInk, c.format);
        block.Draw(drawn, 7, 5, 7 + c.width, 5 + c.height, kInk, c.format.align);
        EXPECT_TRUE(drawn.SamePixels(expected)) << c.name;
    }
}

TEST(TextBlock, DrawsWithTheAlignmentItIsGivenAndMeasuresAsTheTextFontDoes) {
    const FontSpec arial{"Arial", 12, false};
    const TextFont font(arial);
    EXPECT_EQ(font.LineHeight(), platform::MeasureText(arial, "").height);
    for (const std::string text : {"", "Queen Mary", "R&D"}) {
        EXPECT_EQ(font.Measure(text).width, platform::MeasureText(arial, text).width) << text;
        EXPECT_EQ(font.Measure(text).height, platform::MeasureText(arial, text).height) << text;
    }
    // A one-line text's advance comes from its layout, equal to the measured one; a text of
    // several lines or with blanks at its end has none.
    const FontSpec bold{"Arial", 12, true};
    const TextFont boldFont(bold), italicFont(FontSpec{"Arial", 17, false, true});
    struct Advance {
        std::string text, shown;
        bool known;
    } advances[] = {
        {"Queen Mary", "Queen Mary", true},
        {"R&&D", "R&D", true},
        {"  leading blanks", "  leading blanks", true},
        {"Caf\xe9 \x9c", "Caf\xe9 \x9c", true},
        {"W", "W", true},
        {"AVAW office fj", "AVAW office fj", true},
        {"ends in a blank ", "", false},
        {"two\r\nlines", "", false},
        {"", "", false},
        {"tab\tstop", "", false},
        {"&Underlined", "", false},
    };
    for (const Advance& a : advances) {
        for (const TextFont* f : {&font, &boldFont, &italicFont}) {
            const std::optional<int> advance = TextBlock(*f, a.text, {0, false, true}).Advance();
            ASSERT_EQ(advance.has_value(), a.known) << a.text;
            if (a.known) {
                EXPECT_EQ(*advance, f->Measure(a.shown).width) << a.text;
            }
        }
    }
    // Laid out left-aligned, drawn with each alignment; a text with tabs expands them only when
    // drawn from the left, as the text routine does.
    for (const std::string text : {"a line\r\nand a longer line", "tab\tstop"}) {
        const TextBlock block(font, text, {0, false, true});
        for (int align : {0, 1, 2, 5}) {
            Picture expected(220, 50, kPaper), drawn = expected;
            platform::DrawTextBox(expected, 3, 2, 203, 48, text, arial, kInk, {align, false, true});
            block.Draw(drawn, 3, 2, 203, 48, kInk, align);
            EXPECT_TRUE(drawn.SamePixels(expected)) << text << " aligned " << align;
        }
    }
    // An empty text or rectangle draws nothing.
    Picture blank(50, 20, kPaper);
    TextBlock(font, "", {}).Draw(blank, 0, 0, 50, 20, kInk, 0);
    TextBlock(font, "x", {}).Draw(blank, 10, 5, 10, 20, kInk, 0);
    EXPECT_TRUE(blank.SamePixels(Picture(50, 20, kPaper)));
    EXPECT_EQ(TextBlock(font, "", {}).Size().height, font.LineHeight());
}
