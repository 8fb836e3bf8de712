#include "table/TableGraphics.h"

#include "platform/Picture.h"
#include "platform/Twips.h"

#include <cmath>

bool PixelHitTest(std::int16_t x, std::int16_t y, const controls::TranspImg& image) {
    const int px = static_cast<int>(std::nearbyint(static_cast<double>(x) / platform::kTwipsPerPixelX));
    const int py = static_cast<int>(std::nearbyint(static_cast<double>(y) / platform::kTwipsPerPixelY));
    // What the control shows and takes clicks on: its halo too, when it is selected.
    return image.Surface().ShowsPixel(px, py);
}
