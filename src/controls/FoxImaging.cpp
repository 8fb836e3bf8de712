#include "controls/FoxImaging.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace controls {

namespace {

constexpr std::uint32_t kBlack = Picture::PixelOf(0x000000);
constexpr std::uint32_t kWhite = Picture::PixelOf(0xFFFFFF);

// Calls f(destPixel, srcPixel) for every pixel of the block that lies in both pictures.
template <typename F>
void ForBlock(Picture& dest, int dx, int dy, int width, int height, const Picture& src, int sx, int sy, F f) {
    // Cut the block to both pictures once, so that the loop itself tests nothing.
    if (!platform::ClipBlock(dx, dy, width, height, sx, sy, src.Width(), src.Height(), dest.Width(),
                             dest.Height()))
        return;
    const Picture source = src; // keeps the source's pixels if the destination is the same picture
    const std::uint32_t* srcBits = source.Bits();
    const int srcStride = source.Stride();
    std::uint32_t* destBits = dest.Bits();
    const int destStride = dest.Stride();
    for (int j = 0; j < height; ++j) {
        const std::uint32_t* s = srcBits + static_cast<std::ptrdiff_t>(sy + j) * srcStride + sx;
        std::uint32_t* d = destBits + static_cast<std::ptrdiff_t>(dy + j) * destStride + dx;
        for (int i = 0; i < width; ++i)
            f(d[i], s[i]);
    }
}

// The exact pixel mapping of a quarter turn, or -1 when the angle is none.
int QuarterTurns(double angle) {
    double a = std::fmod(angle, 360.0);
    if (a < 0) a += 360.0;
    for (int q = 0; q < 4; ++q)
        if (std::fabs(a - 90.0 * q) < 1e-9) return q;
    if (std::fabs(a - 360.0) < 1e-9) return 0;
    return -1;
}

} // namespace

void FoxRotate(Picture& dest, int cx, int cy, int srcWidth, int srcHeight, const Picture& src, int srcX,
               int srcY, double angle, Colour key, int quality) {
    if (srcWidth <= 0 || srcHeight <= 0 || dest.IsEmpty() || src.IsEmpty() || !std::isfinite(angle)) return;
    // A second reference keeps the source's pixels as they are while the destination, which
    // may be the same picture, is written (writing gives the destination pixels of its own).
    const Picture own = src;
    const std::uint32_t* srcBits = own.Bits();
    const int srcStride = own.Stride();
    // Pivot of the source block, in the source's pixels, and the part of the block that exists.
    const int px = srcX + srcWidth / 2;
    const int py = srcY + srcHeight - 1 - srcHeight / 2;
    const int left = std::max(srcX, 0), top = std::max(srcY, 0);
    const int right = std::min(srcX + srcWidth, own.Width()),
              bottom = std::min(srcY + srcHeight, own.Height());
    auto inside = [&](int x, int y) { return x >= left && x < right && y >= top && y < bottom; };
    auto at = [&](int x, int y) { return srcBits[static_cast<std::ptrdiff_t>(y) * srcStride + x]; };
    std::uint32_t* destBits = dest.Bits();
    const int destStride = dest.Stride(), destWidth = dest.Width(), destHeight = dest.Height();

    int quarter = QuarterTurns(angle);
    if (quarter >= 0) {
        // Clockwise by q quarters: along a destination row the source walks one pixel at a time,
        // right, up, left or down, so each row is one run of plain copies.
        static constexpr int kStepX[4] = {1, 0, -1, 0};
        static constexpr int kStepY[4] = {0, -1, 0, 1};
        const int stepX = kStepX[quarter], stepY = kStepY[quarter];
        // The part [first, end) of a row whose source coordinate s0 + step * x lies in [lo, hi).
        auto cut = [](int s0, int step, int lo, int hi, int& first, int& end) {
            if (step == 0) {
                if (s0 < lo || s0 >= hi) end = first;
                return;
            }
            first = std::max(first, step > 0 ? lo - s0 : s0 - hi + 1);
            end = std::min(end, step > 0 ? hi - s0 : s0 - lo + 1);
        };
        for (int y = 0; y < destHeight; ++y) {
            const int b = y - cy;
            // The source of the row's pixel x = 0, turned back from the offset (-cx, b).
            const int u[4] = {-cx, b, cx, -b}, v[4] = {b, cx, -b, -cx};
            const int sx0 = px + u[quarter], sy0 = py + v[quarter];
            int first = 0, end = destWidth;
            cut(sx0, stepX, left, right, first, end);
            cut(sy0, stepY, top, bottom, first, end);
            if (first >= end) continue;
            std::uint32_t* d = destBits + static_cast<std::ptrdiff_t>(y) * destStride;
            const std::ptrdiff_t step = stepX + static_cast<std::ptrdiff_t>(stepY) * srcStride;
            std::ptrdiff_t index =
                static_cast<std::ptrdiff_t>(sy0 + stepY * first) * srcStride + sx0 + stepX * first;
            for (int x = first; x < end; ++x, index += step)
                d[x] = srcBits[index];
        }
        return;
    }

    const double radians = angle * 3.14159265358979323846 / 180.0;
    const double c = std::cos(radians), s = std::sin(radians);
    const std::uint32_t keyPixel = Picture::PixelOf(key);
    for (int y = 0; y < destHeight; ++y) {
        std::uint32_t* d = destBits + static_cast<std::ptrdiff_t>(y) * destStride;
        const double b = y - cy;
        // The source point moves by (c, -s) for each step to the right.
        double u = -cx * c + b * s;
        double v = cx * s + b * c;
        for (int x = 0; x < destWidth; ++x, u += c, v -= s) {
            const double fx = px + u, fy = py + v;
            const int nx = static_cast<int>(std::floor(fx + 0.5)),
                      ny = static_cast<int>(std::floor(fy + 0.5));
            if (!inside(nx, ny)) continue;
            std::uint32_t nearest = at(nx, ny);
            if (quality != kFoxQualitySmooth || nearest == keyPixel) {
                d[x] = nearest;
                continue;
            }
            // Blend the four neighbours that belong to the picture.
            const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
            const double tx = fx - x0, ty = fy - y0;
            double sum[3] = {0, 0, 0}, weight = 0;
            for (int k = 0; k < 4; ++k) {
                int sx = x0 + (k & 1), sy = y0 + (k >> 1);
                if (!inside(sx, sy)) continue;
                std::uint32_t p = at(sx, sy);
                if (p == keyPixel) continue;
                double w = ((k & 1) ? tx : 1 - tx) * ((k >> 1) ? ty : 1 - ty);
                const Colour colour = Picture::ColourOf(p);
                sum[0] += w * platform::RedOf(colour);
                sum[1] += w * platform::GreenOf(colour);
                sum[2] += w * platform::BlueOf(colour);
                weight += w;
            }
            if (weight <= 0) {
                d[x] = nearest;
                continue;
            }
            auto channel = [&](int i) { return static_cast<int>(std::lround(sum[i] / weight)) & 0xFF; };
            std::uint32_t blended =
                Picture::PixelOf(platform::MakeColour(channel(0), channel(1), channel(2)));
            // A blend that happens to hit the key colour would punch a hole into the picture.
            d[x] = blended == keyPixel ? nearest : blended;
        }
    }
}

void FoxGreyScale(Picture& dest, int dx, int dy, int width, int height, const Picture& src, int sx, int sy,
                  Colour key, int) {
    const std::uint32_t keyPixel = Picture::PixelOf(key);
    ForBlock(dest, dx, dy, width, height, src, sx, sy, [&](std::uint32_t& d, std::uint32_t s) {
        if (s == keyPixel) {
            d = s;
            return;
        }
        const Colour colour = Picture::ColourOf(s);
        int grey = static_cast<int>((platform::RedOf(colour) * 299 + platform::GreenOf(colour) * 587 +
                                     platform::BlueOf(colour) * 114 + 500) /
                                    1000);
        std::uint32_t g = Picture::PixelOf(platform::MakeColour(grey, grey, grey));
        // Grey must not turn a picture pixel into the key colour.
        d = g == keyPixel ? s : g;
    });
}

void FoxCreateFastMask(Picture& dest, int dx, int dy, int width, int height, const Picture& src, int sx,
                       int sy, Colour key, int flags) {
    const std::uint32_t keyPixel = Picture::PixelOf(key);
    const bool forAnd = flags == kFoxMaskForAnd;
    ForBlock(dest, dx, dy, width, height, src, sx, sy, [&](std::uint32_t& d, std::uint32_t s) {
        bool isKey = s == keyPixel;
        d = (isKey == forAnd) ? kWhite : kBlack;
    });
}

void FoxCreateFastData(Picture& dest, int dx, int dy, int width, int height, const Picture& src, int sx,
                       int sy, Colour key, int) {
    const std::uint32_t keyPixel = Picture::PixelOf(key);
    ForBlock(dest, dx, dy, width, height, src, sx, sy,
             [&](std::uint32_t& d, std::uint32_t s) { d = s == keyPixel ? kBlack : s; });
}

} // namespace controls
