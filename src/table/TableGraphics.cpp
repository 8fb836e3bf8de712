#include "table/TableGraphics.h"

#include "platform/Picture.h"
#include "platform/Twips.h"

#include <cmath>

bool PixelHitTest(std::int16_t x, std::int16_t y, const controls::TranspImg& image) {
    const int px = static_cast<int>(std::nearbyint(static_cast<double>(x) / platform::kTwipsPerPixelX));
    const int py = static_cast<int>(std::nearbyint(static_cast<double>(y) / platform::kTwipsPerPixelY));
    const platform::Picture& drawing = image.hdc();
    if (px < 0 || py < 0 || px >= drawing.Width() || py >= drawing.Height()) return false;
    const platform::Colour pixel = drawing.GetPixel(px, py) & 0xFFFFFFu;
    return pixel != platform::ResolveColour(image.MaskColor());
}
