#include "platform/Fonts.h"

#include "platform/QtFont.h"
#include "platform/QtText.h"
#include "platform/Twips.h"

#include <QFontMetrics>

#include <cmath>

namespace platform {

int PixelHeightOfPoints(double points) {
    return static_cast<int>(std::nearbyint(points * 20.0 / kTwipsPerPixelY));
}

FontSpec SpecOf(const Font& font) {
    return FontSpec{font.name,         PixelHeightOfPoints(font.size), font.bold, font.italic, font.underline,
                    font.strikethrough};
}

QFont ToQFont(const FontSpec& spec) {
    QFont font(ToQString(spec.face));
    font.setPixelSize(spec.pixelHeight > 0 ? spec.pixelHeight : 1);
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setUnderline(spec.underline);
    font.setStrikeOut(spec.strikeout);
    // Smoothed glyphs are the whole point of the label's text; hinting would change the widths
    // between machines.
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

TextSize MeasureText(const FontSpec& font, const std::string& text) {
    QFontMetrics metrics(ToQFont(font));
    return TextSize{metrics.horizontalAdvance(ToQString(text)), metrics.height()};
}

} // namespace platform
