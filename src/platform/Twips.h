// Positions and sizes of the table are twips; the screen has a fixed 15 twips per pixel on both
// axes whatever its resolution, so that peers and stored layouts agree.
#pragma once

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

} // namespace platform
