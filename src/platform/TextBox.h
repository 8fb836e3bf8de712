// Text laid out in a rectangle, as captions and balloons draw it: lines break at line breaks
// (CR, LF or both) and, when asked, between words to fit the width; an "&" underlines the next
// character and "&&" draws one "&".
#pragma once

#include "platform/Fonts.h"
#include "platform/Picture.h"

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

} // namespace platform
