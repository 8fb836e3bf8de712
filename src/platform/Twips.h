// Positions and sizes of the table are twips; the screen has a fixed 15 twips per pixel on both
// axes whatever its resolution, so that peers and stored layouts agree.
#pragma once

#include <algorithm>
#include <cmath>

namespace platform {

constexpr int kTwipsPerPixelX = 15;
constexpr int kTwipsPerPixelY = 15;

constexpr int PixelsFromTwipsX(int twips) {
    return twips / kTwipsPerPixelX;
}
constexpr int PixelsFromTwipsY(int twips) {
    return twips / kTwipsPerPixelY;
}
constexpr int TwipsFromPixelsX(int pixels) {
    return pixels * kTwipsPerPixelX;
}
constexpr int TwipsFromPixelsY(int pixels) {
    return pixels * kTwipsPerPixelY;
}

// Positions that carry their unit in their type, as the controls report the mouse: the card
// image control in pixels of its picture, the marker label in twips. One is never taken for the
// other; a drag that needs the other unit converts on purpose.
struct PixelPoint {
    float x = 0;
    float y = 0;
};
struct TwipPoint {
    float x = 0;
    float y = 0;
};

constexpr TwipPoint ToTwips(PixelPoint p) {
    return {p.x * kTwipsPerPixelX, p.y * kTwipsPerPixelY};
}
constexpr PixelPoint ToPixels(TwipPoint t) {
    return {t.x / kTwipsPerPixelX, t.y / kTwipsPerPixelY};
}

// Twips to whole pixels, halves to the even neighbour; what is not a number gives 0 and
// sizes beyond a million pixels are cut there.
inline int RoundedPixels(double twips, int twipsPerPixel) {
    double pixels = std::nearbyint(twips / twipsPerPixel);
    if (!(pixels >= -1e6)) return 0;
    return static_cast<int>(std::min(pixels, 1e6));
}

} // namespace platform
