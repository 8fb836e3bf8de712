// Text laid out in a rectangle, as captions and balloons draw it: lines break at line breaks
// (CR, LF or both) and, when asked, between words to fit the width; an "&" underlines the next
// character and "&&" draws one "&".
#pragma once

#include "platform/Fonts.h"
#include "platform/Picture.h"

#include <memory>
#include <optional>
#include <string>

namespace platform {

struct TextBoxFormat {
    int align = 0; // 0 left, 1 centred, 2 right; any other value is left
    bool wordBreak = false;
    bool expandTabs = false;
};

// The extent of the laid-out text: the widest line and the height of all lines. With word
// breaking the lines are broken to fit `width`.
TextSize MeasureTextBox(const FontSpec& font, const std::string& text, int width,
                        const TextBoxFormat& format);

// Draws the text from the top of the rectangle (right and bottom excluded), clipped to it.
void DrawTextBox(Picture& picture, int left, int top, int right, int bottom, const std::string& text,
                 const FontSpec& font, Colour colour, const TextBoxFormat& format);

// A font looked up once for the several texts of one drawing: finding a face and its metrics
// costs about as much as laying out a short text.
class TextFont {
  public:
    explicit TextFont(const FontSpec& spec);
    ~TextFont();
    TextFont(const TextFont&) = delete;
    TextFont& operator=(const TextFont&) = delete;

    // As MeasureText: one line's advance width and the font's cell height.
    TextSize Measure(const std::string& text) const;
    // The cell height alone.
    int LineHeight() const;

  private:
    friend class TextBlock;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// A text laid out once: its size is what MeasureTextBox gives, and drawing it shows what
// DrawTextBox shows in the same font and format, without laying the text out again. With word
// breaking its lines are broken to fit `width` once and for all; draw it into a rectangle of that
// width.
class TextBlock {
  public:
    TextBlock(const TextFont& font, const std::string& text, const TextBoxFormat& format, int width = 0);
    ~TextBlock();
    TextBlock(TextBlock&&) noexcept;
    TextBlock& operator=(TextBlock&&) noexcept;

    TextSize Size() const;
    // The advance width of a text that shows as one line with no blank at its end: what
    // TextFont::Measure gives for the text as it shows ("&&" as one "&"), from this layout.
    // Nothing for any other text.
    std::optional<int> Advance() const;
    // As DrawTextBox with the block's format, aligned as `align` says (0 left, 1 centred, 2 right;
    // any other value left).
    void Draw(Picture& picture, int left, int top, int right, int bottom, Colour colour, int align) const;

  private:
    friend class TextPainter;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// Draws blocks into one picture with one painter: setting a painter up on a picture costs about
// as much as drawing a short line. The picture is painted while the painter lives; its own
// drawing functions may be used meanwhile.
class TextPainter {
  public:
    explicit TextPainter(Picture& picture);
    ~TextPainter();
    TextPainter(const TextPainter&) = delete;
    TextPainter& operator=(const TextPainter&) = delete;

    // As TextBlock::Draw.
    void Draw(const TextBlock& block, int left, int top, int right, int bottom, Colour colour, int align);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace platform
