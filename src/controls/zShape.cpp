#include "controls/zShape.h"

#include "common/Numbers.h"

namespace controls {

namespace {

// The see-through colour of the frame's surface: never the colour of a line.
constexpr platform::Colour kSeeThrough = platform::MakeColour(255, 0, 255);

} // namespace

zShape::zShape(platform::NativeWidget* parent) : surface_(parent) {
    surface_.SetBackStyle(0);
    surface_.SetMaskColor(kSeeThrough);
    surface_.SetBackColor(kSeeThrough);
    surface_.OnResize = [this] { PlaceLines(); };
    PlaceLines();
}

void zShape::PlaceLines() {
    // The lines lie in the first and last pixel row and column, as four one-pixel strips at
    // 0, SW - 10, 0 and SH - 10 twips fall at 15 twips to the pixel.
    platform::Picture& p = surface_.Drawing();
    p.Fill(kSeeThrough);
    const int W = p.Width();
    const int H = p.Height();
    if (W > 0 && H > 0) {
        p.DrawLine(0, 0, W - 1, 0, kFrameColour);
        p.DrawLine(W - 1, 0, W - 1, H - 1, kFrameColour);
        p.DrawLine(0, H - 1, W - 1, H - 1, kFrameColour);
        p.DrawLine(0, 0, 0, H - 1, kFrameColour);
    }
    surface_.SetMaskPicture(p);
    surface_.Refresh();
}

void zShape::Changed(const char* key) {
    if (PropertyChanged) PropertyChanged(key);
}
void zShape::BackColor(platform::Colour c) {
    backColor_ = c;
    Changed("BackColor");
}
void zShape::ForeColor(platform::Colour c) {
    foreColor_ = c;
    Changed("ForeColor");
}
void zShape::Enabled(bool enabled) {
    enabled_ = enabled;
    Changed("Enabled");
}
void zShape::Font(const platform::Font& font) {
    font_ = font;
    Changed("Font");
}
void zShape::BackStyle(std::int16_t style) {
    backStyle_ = style;
    Changed("BackStyle");
}
void zShape::BorderStyle(std::int16_t style) {
    borderStyle_ = style;
    Changed("BorderStyle");
}

void zShape::ReadProperties(const platform::PropertyBag& bag, const platform::Font& ambient) {
    backColor_ = static_cast<platform::Colour>(bag.ReadInt("BackColor", 0));
    foreColor_ = static_cast<platform::Colour>(bag.ReadInt("ForeColor", 0));
    enabled_ = bag.ReadInt("Enabled", 0) != 0;
    font_ = bag.ReadFont("Font", ambient);
    backStyle_ = ClampToInt16(bag.ReadInt("BackStyle", 0));
    borderStyle_ = ClampToInt16(bag.ReadInt("BorderStyle", 0));
}

void zShape::WriteProperties(platform::PropertyBag& bag, const platform::Font& ambient) const {
    bag.WriteInt("BackColor", backColor_, 0);
    bag.WriteInt("ForeColor", foreColor_, 0);
    bag.WriteInt("Enabled", enabled_ ? -1 : 0, 0);
    bag.WriteFont("Font", font_, ambient);
    bag.WriteInt("BackStyle", backStyle_, 0);
    bag.WriteInt("BorderStyle", borderStyle_, 0);
}

} // namespace controls
