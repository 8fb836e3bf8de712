#include "controls/Module.h"

#include <algorithm>
#include <cmath>

float Max3(float a, float b, float c) {
    return std::max({a, b, c});
}

float Min3(float a, float b, float c) {
    return std::min({a, b, c});
}

void RGBToHSL(std::int32_t R, std::int32_t G, std::int32_t B, float& H, float& S, float& L) {
    const float r = static_cast<float>(R) / 255.0f;
    const float g = static_cast<float>(G) / 255.0f;
    const float b = static_cast<float>(B) / 255.0f;
    const float max = Max3(r, g, b), min = Min3(r, g, b);
    L = (max + min) / 2.0f;
    if (max == min) {
        S = 0.0f;
        H = 0.0f;
        return;
    }
    S = L <= 0.5f ? (max - min) / (max + min) : (max - min) / (2.0f - max - min);
    const float d = max - min;
    if (r == max)
        H = (g - b) / d;
    else if (g == max)
        H = 2.0f + (b - r) / d;
    else
        H = 4.0f + (r - g) / d;
}

void HSLToRGB(float H, float S, float L, std::int32_t& R, std::int32_t& G, std::int32_t& B) {
    float r, g, b;
    if (S == 0.0f) {
        r = g = b = L;
    } else {
        const float m1 = L <= 0.5f ? L * (1.0f - S) : L - (1.0f - L) * S;
        const float m2 = 2.0f * L - m1;
        const float d = m2 - m1;
        if (H < 1.0f) {
            r = m2;
            if (H < 0.0f) {
                g = m1;
                b = m1 - H * d;
            } else {
                b = m1;
                g = m1 + H * d;
            }
        } else if (H < 3.0f) {
            g = m2;
            if (H < 2.0f) {
                b = m1;
                r = m1 - (H - 2.0f) * d;
            } else {
                r = m1;
                b = m1 + (H - 2.0f) * d;
            }
        } else {
            b = m2;
            if (H < 4.0f) {
                r = m1;
                g = m1 - (H - 4.0f) * d;
            } else {
                g = m1;
                r = m1 + (H - 4.0f) * d;
            }
        }
    }
    // A lightness or saturation a little outside 0 to 1 must not give a channel outside a byte.
    auto channel = [](float v) {
        return static_cast<std::int32_t>(std::clamp(std::nearbyint(v * 255.0f), 0.0f, 255.0f));
    };
    R = channel(r);
    G = channel(g);
    B = channel(b);
}

bool FillSolidRect(platform::Picture& dc, std::intptr_t, std::intptr_t, std::int32_t cx, std::int32_t cy) {
    dc.FillRect(0, 0, cx, cy, platform::MakeColour(0, 0, 0));
    return true;
}

void DrawUnionState(platform::Picture& dc, DrawStateProc proc, int x, int y, int cx, int cy) {
    if (cx <= 0 || cy <= 0 || !proc) return;
    platform::Picture drawn(std::min(cx, platform::Picture::kMaxSide),
                            std::min(cy, platform::Picture::kMaxSide));
    if (!proc(drawn, 0, 0, cx, cy)) return;
    for (int row = 0; row < drawn.Height(); ++row)
        for (int col = row % 2; col < drawn.Width(); col += 2)
            dc.SetPixel(x + col, y + row, drawn.GetPixel(col, row));
}
