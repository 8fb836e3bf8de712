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

// A rectangle of a window, a screen or the table, in twips.
struct TwipRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;

    constexpr int Right() const { return left + width; }
    constexpr int Bottom() const { return top + height; }
    // Rectangles that only touch do not overlap; an empty one overlaps nothing.
    constexpr bool Overlaps(const TwipRect& o) const {
        return width > 0 && height > 0 && o.width > 0 && o.height > 0 && left < o.Right() &&
               o.left < Right() && top < o.Bottom() && o.top < Bottom();
    }
    constexpr bool operator==(const TwipRect&) const = default;
};

// The window moved, and cut to the area's size where it is larger, so that it lies wholly in the
// area: a window never opens with its title bar or its close box off the screen.
constexpr TwipRect FitInto(TwipRect window, const TwipRect& area) {
    window.width = std::min(window.width, area.width);
    window.height = std::min(window.height, area.height);
    window.left = std::clamp(window.left, area.left, area.Right() - window.width);
    window.top = std::clamp(window.top, area.top, area.Bottom() - window.height);
    return window;
}

// A window of the size centred over its owner's rectangle, then fitted into the area.
constexpr TwipRect CentreOver(int width, int height, const TwipRect& owner, const TwipRect& area) {
    return FitInto(
        {owner.left + (owner.width - width) / 2, owner.top + (owner.height - height) / 2, width, height},
        area);
}

// Twips to whole pixels, halves to the even neighbour; what is not a number gives 0 and
// sizes beyond a million pixels are cut there.
inline int RoundedPixels(double twips, int twipsPerPixel) {
    double pixels = std::nearbyint(twips / twipsPerPixel);
    if (!(pixels >= -1e6)) return 0;
    return static_cast<int>(std::min(pixels, 1e6));
}

} // namespace platform
