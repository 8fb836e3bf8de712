#include "controls/zShape.h"

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

void zShape::ReadProperties(const platform::PropertyBag& bag, const platform::Font& ambient) {
    ReadLook(bag, ambient);
}

void zShape::WriteProperties(platform::PropertyBag& bag, const platform::Font& ambient) const {
    WriteLook(bag, ambient);
}

} // namespace controls
