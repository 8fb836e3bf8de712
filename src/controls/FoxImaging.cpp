#include "controls/FoxImaging.h"

#include <cmath>
#include <cstdint>

namespace controls {

namespace {

constexpr std::uint32_t kBlack = Picture::PixelOf(0x000000);
constexpr std::uint32_t kWhite = Picture::PixelOf(0xFFFFFF);

// Calls f(destPixel, srcPixel) for every pixel of the block that lies in both pictures.
template <typename F>
void ForBlock(Picture& dest, int dx, int dy, int width, int height, const Picture& src, int sx, int sy, F f) {
    if (&dest == &src) {
        Picture copy = src;
        copy.Row(0); // own pixels
        ForBlock(dest, dx, dy, width, height, copy, sx, sy, f);
        return;
    }
    for (int j = 0; j < height; ++j) {
        int y = dy + j, srcY = sy + j;
        if (y < 0 || y >= dest.Height() || srcY < 0 || srcY >= src.Height()) continue;
        const std::uint32_t* s = src.Row(srcY);
        std::uint32_t* d = dest.Row(y);
        for (int i = 0; i < width; ++i) {
            int x = dx + i, srcX = sx + i;
            if (x >= 0 && x < dest.Width() && srcX >= 0 && srcX < src.Width()) f(d[x], s[srcX]);
        }
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
    Picture own = src; // the destination may be the source
    own.Row(0);
    const Picture& source = own;
    // Pivot of the source block, in the source's pixels.
    const int px = srcX + srcWidth / 2;
    const int py = srcY + srcHeight - 1 - srcHeight / 2;
    const int left = srcX, top = srcY, right = srcX + srcWidth, bottom = srcY + srcHeight;
    auto inside = [&](int x, int y) {
        return x >= left && x < right && y >= top && y < bottom && x >= 0 && y >= 0 && x < source.Width() &&
               y < source.Height();
    };

    int quarter = QuarterTurns(angle);
    if (quarter >= 0) {
        // Clockwise by q quarters: the source offset (u, v) from the pivot comes from the
        // destination offset (a, b) by turning back.
        for (int y = 0; y < dest.Height(); ++y) {
            std::uint32_t* d = dest.Row(y);
            int b = y - cy;
            for (int x = 0; x < dest.Width(); ++x) {
                int a = x - cx, u = a, v = b;
                switch (quarter) {
                case 1:
                    u = b;
                    v = -a;
                    break;
                case 2:
                    u = -a;
                    v = -b;
                    break;
                case 3:
                    u = -b;
                    v = a;
                    break;
                default:
                    break;
                }
                int sx = px + u, sy = py + v;
                if (inside(sx, sy)) d[x] = source.Row(sy)[sx];
            }
        }
        return;
    }

    const double radians = angle * 3.14159265358979323846 / 180.0;
    const double c = std::cos(radians), s = std::sin(radians);
    const std::uint32_t keyPixel = Picture::PixelOf(key);
    for (int y = 0; y < dest.Height(); ++y) {
        std::uint32_t* d = dest.Row(y);
        const double b = y - cy;
        for (int x = 0; x < dest.Width(); ++x) {
            const double a = x - cx;
            const double u = a * c + b * s;
            const double v = -a * s + b * c;
            const double fx = px + u, fy = py + v;
            const int nx = static_cast<int>(std::lround(fx)), ny = static_cast<int>(std::lround(fy));
            if (!inside(nx, ny)) continue;
            std::uint32_t nearest = source.Row(ny)[nx];
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
                std::uint32_t p = source.Row(sy)[sx];
                if (p == keyPixel) continue;
                double w = ((k & 1) ? tx : 1 - tx) * ((k >> 1) ? ty : 1 - ty);
                sum[0] += w * (p & 0xFF);
                sum[1] += w * ((p >> 8) & 0xFF);
                sum[2] += w * ((p >> 16) & 0xFF);
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
        int grey = static_cast<int>(
            ((s & 0xFF) * 299 + ((s >> 8) & 0xFF) * 587 + ((s >> 16) & 0xFF) * 114 + 500) / 1000);
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
