#include "controls/Module.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(Module, ColoursComeBackThroughHueSaturationAndLightnessWithinOneUnit) {
    const int colours[][3] = {
        {0, 0, 0},     {255, 255, 255}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},  {0, 0, 255},
        {255, 255, 0}, {0, 255, 255},   {255, 0, 255},   {212, 208, 200}, {1, 2, 3},    {254, 1, 128},
        {10, 200, 30}, {90, 60, 250},   {200, 100, 99},  {127, 128, 129}, {64, 0, 192}, {250, 250, 249},
    };
    for (const auto& c : colours) {
        float h, s, l;
        RGBToHSL(c[0], c[1], c[2], h, s, l);
        EXPECT_GE(h, -1.0f);
        EXPECT_LE(h, 5.0f);
        EXPECT_GE(s, 0.0f);
        EXPECT_LE(s, 1.0f);
        std::int32_t r, g, b;
        HSLToRGB(h, s, l, r, g, b);
        EXPECT_LE(std::abs(r - c[0]), 1) << c[0] << "," << c[1] << "," << c[2];
        EXPECT_LE(std::abs(g - c[1]), 1) << c[0] << "," << c[1] << "," << c[2];
        EXPECT_LE(std::abs(b - c[2]), 1) << c[0] << "," << c[1] << "," << c[2];
    }
}

TEST(Module, HueIsInSixthsOfTheCircleAndGreyHasNoSaturation) {
    struct Case {
        int r, g, b;
        float h, s, l;
    } cases[] = {
        {255, 0, 0, 0, 1, 0.5f},
        {0, 255, 0, 2, 1, 0.5f},
        {0, 0, 255, 4, 1, 0.5f},
        {255, 0, 128, -128.0f / 255, 1, 0.5f},
        {128, 128, 128, 0, 0, 128.0f / 255},
    };
    for (const Case& c : cases) {
        float h, s, l;
        RGBToHSL(c.r, c.g, c.b, h, s, l);
        EXPECT_NEAR(h, c.h, 1e-5) << c.r << "," << c.g << "," << c.b;
        EXPECT_NEAR(s, c.s, 1e-5);
        EXPECT_NEAR(l, c.l, 1e-5);
    }
    EXPECT_EQ(Max3(1, 3, 2), 3);
    EXPECT_EQ(Min3(1, -3, 2), -3);
}

TEST(Module, UnionStateDithersTheCallbacksBlackOverHalfThePixels) {
    platform::Picture p(10, 6, platform::MakeColour(255, 255, 255));
    DrawUnionState(p, FillSolidRect, 2, 1, 6, 4);
    int black = 0;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool inside = x >= 2 && x < 8 && y >= 1 && y < 5;
            const bool isBlack = p.GetPixel(x, y) == 0;
            black += isBlack;
            if (!inside) {
                EXPECT_FALSE(isBlack) << x << "," << y;
            }
            if (inside && x + 1 < 8) {
                EXPECT_NE(isBlack, p.GetPixel(x + 1, y) == 0) << "neighbours alternate";
            }
        }
    EXPECT_EQ(black, 12);
}
