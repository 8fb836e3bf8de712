// Fonts and text measuring. A font is named by its face; "Arial" and the other common Windows
// faces resolve to metric-compatible faces installed with the program's fonts.
#pragma once

#include <string>

namespace platform {

// A font as the text routines build it: the character height in pixels (the em size, without
// the leading), bold or not.
struct FontSpec {
    std::string face = "Arial";
    int pixelHeight = 11;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
};

// A control's font object, in points.
struct Font {
    std::string name = "Arial";
    double size = 8.25;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
};

// Character height in pixels of a font of that many points on the table's screen (20 twips to
// the point, 15 twips to the pixel), rounded half to even.
int PixelHeightOfPoints(double points);
FontSpec SpecOf(const Font& font);

struct TextSize {
    int width = 0;
    int height = 0;
};

// The extent of one line of ANSI text: its advance width and the font's cell height (ascent plus
// descent). An empty text has width 0 and the cell height.
TextSize MeasureText(const FontSpec& font, const std::string& text);

} // namespace platform
