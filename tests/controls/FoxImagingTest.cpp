#include "controls/FoxImaging.h"
#include "controls/TestImages.h"
#include "controls/TranspImg.h"
#include "platform/ControlSurface.h"

#include <gtest/gtest.h>

using namespace controls;
using platform::MakeColour;

namespace {

constexpr Colour kMagenta = MakeColour(255, 0, 255);
constexpr Colour kWhite = MakeColour(255, 255, 255);
constexpr Colour kBlack = MakeColour(0, 0, 0);
constexpr Colour kRed = MakeColour(255, 0, 0);

// The square frame of a picture: the mask colour round it, the picture in the middle.
Picture Frame(const Picture& card, int side) {
    Picture frame(side, side, kMagenta);
    frame.Copy((side - card.Width()) / 2, (side - card.Height()) / 2, card.Width(), card.Height(), card, 0,
               0);
    return frame;
}

// Where the pixel (x, y) of a square of side n comes from after q clockwise quarter turns.
std::pair<int, int> SourceOf(int q, int n, int x, int y) {
    switch (q) {
    case 1:
        return {y, n - 1 - x};
    case 2:
        return {n - 1 - x, n - 1 - y};
    case 3:
        return {n - 1 - y, x};
    default:
        return {x, y};
    }
}

// The selected look as the control's recipe builds it, step by step from the four functions,
// with work pictures larger than the drawing: what the painted halo must match pixel for pixel.
Picture HaloByRecipe(const Picture& drawing, Colour mask, Colour selection) {
    using platform::RasterOp;
    const int W = drawing.Width(), H = drawing.Height();
    Picture w1(W - 1, H - 1);
    FoxCreateFastMask(w1, 0, 0, W - 1, H - 1, drawing, 0, 0, mask, kFoxMaskInverse);
    Picture w2(W + 5, H + 5);
    w2.Stretch(0, 0, W + 5, H + 5, w1, 0, 0, W - 1, H - 1, platform::StretchMode::ColourOnColour);
    Picture w3(W + 5, H + 5);
    FoxCreateFastMask(w3, 0, 0, W + 5, H + 5, w2, 0, 0, 0, kFoxMaskForAnd);
    w1 = Picture(W + 5, H + 5, selection);
    w1.Copy(0, 0, W + 5, H + 5, w2, 0, 0, RasterOp::And);
    w2.Fill(mask);
    w2.Copy(0, 0, W + 5, H + 5, w3, 0, 0, RasterOp::And);
    w2.Copy(0, 0, W + 5, H + 5, w1, 0, 0, RasterOp::Or);
    FoxCreateFastMask(w1, 0, 0, W, H, drawing, 0, 0, mask, kFoxMaskForAnd);
    w2.Copy(3, 3, W, H, w1, 0, 0, RasterOp::And);
    FoxCreateFastData(w3, 0, 0, W, H, drawing, 0, 0, mask, kFoxMaskForAnd);
    w2.Copy(3, 3, W, H, w3, 0, 0, RasterOp::Or);
    Picture result(W + 5, H + 5, mask);
    result.Copy(0, 0, W + 2, H + 2, w2, 3, 3);
    return result;
}

} // namespace

// The halo a surface paints round its picture (a ring, no picture of its own), as the surface
// shows it and as it takes clicks.
TEST(FoxImaging, ThePaintedHaloMatchesTheRecipe) {
    const Picture card = testimages::AsymmetricCard(71, 96);
    const Picture frame = Frame(card, 131);
    Picture turned(131, 131, kMagenta);
    FoxRotate(turned, 65, 65, 131, 131, frame, 0, 0, 90, kMagenta, kFoxQualityFast);
    Picture holes = testimages::AsymmetricCard(40, 3); // wider than high, with see-through pixels
    for (int x = 0; x < 40; x += 3)
        holes.SetPixel(x, x % 3, kMagenta);
    Picture dot(2, 2, kMagenta);
    dot.SetPixel(1, 0, kRed);
    const Picture cases[] = {frame, turned, holes, dot, Picture(5, 7, kMagenta), card};
    const Colour cyan = MakeColour(0, 255, 255);
    for (const Picture& drawing : cases) {
        platform::ControlSurface surface;
        surface.SetSizePixels(drawing.Width(), drawing.Height());
        surface.SetBackStyle(0);
        surface.SetMaskColor(kMagenta);
        surface.SetPicture(drawing);
        surface.SetMaskPicture(drawing);
        surface.AddHalo(cyan);
        const Picture recipe = HaloByRecipe(drawing, kMagenta, cyan);
        ASSERT_EQ(surface.ScaleWidth(), drawing.Width() + 5);
        ASSERT_EQ(surface.ScaleHeight(), drawing.Height() + 5);
        const Picture shown = surface.Grab();
        EXPECT_TRUE(shown.SamePixels(recipe)) << drawing.Width() << " x " << drawing.Height();
        int clickable = 0;
        for (int y = 0; y < recipe.Height(); ++y)
            for (int x = 0; x < recipe.Width(); ++x)
                clickable += surface.ShowsPixel(x, y) == (recipe.GetPixel(x, y) != kMagenta);
        EXPECT_EQ(clickable, recipe.Width() * recipe.Height()) << "what shows takes clicks, nothing else";
        EXPECT_TRUE(surface.Drawing().SamePixels(drawing)) << "the picture stays as it was";
    }
}

TEST(FoxImaging, MasksAndDataSplitAPictureAtTheKeyColour) {
    Picture src(2, 1, kMagenta);
    src.SetPixel(1, 0, kRed);
    Picture mask(2, 1, kRed), inverse(2, 1, kRed), data(2, 1, kRed);
    FoxCreateFastMask(mask, 0, 0, 2, 1, src, 0, 0, kMagenta, kFoxMaskForAnd);
    FoxCreateFastMask(inverse, 0, 0, 2, 1, src, 0, 0, kMagenta, kFoxMaskInverse);
    FoxCreateFastData(data, 0, 0, 2, 1, src, 0, 0, kMagenta, kFoxMaskForAnd);
    EXPECT_EQ(mask.GetPixel(0, 0), kWhite);
    EXPECT_EQ(mask.GetPixel(1, 0), kBlack);
    EXPECT_EQ(inverse.GetPixel(0, 0), kBlack);
    EXPECT_EQ(inverse.GetPixel(1, 0), kWhite);
    EXPECT_EQ(data.GetPixel(0, 0), kBlack);
    EXPECT_EQ(data.GetPixel(1, 0), kRed);
    // The two-pass copy puts the picture's own pixels over a background and keeps the rest.
    Picture table(2, 1, MakeColour(0, 128, 0));
    table.Copy(0, 0, 2, 1, mask, 0, 0, platform::RasterOp::And);
    table.Copy(0, 0, 2, 1, data, 0, 0, platform::RasterOp::Or);
    EXPECT_EQ(table.GetPixel(0, 0), MakeColour(0, 128, 0));
    EXPECT_EQ(table.GetPixel(1, 0), kRed);
}

TEST(FoxImaging, GreyKeepsTheKeyColourAndEvensTheChannels) {
    Picture src(3, 1, kMagenta);
    src.SetPixel(1, 0, MakeColour(200, 40, 10));
    src.SetPixel(2, 0, kWhite);
    Picture dest(3, 1, kBlack);
    FoxGreyScale(dest, 0, 0, 3, 1, src, 0, 0, kMagenta, 1);
    EXPECT_EQ(dest.GetPixel(0, 0), kMagenta);
    Colour grey = dest.GetPixel(1, 0);
    EXPECT_EQ(platform::RedOf(grey), platform::GreenOf(grey));
    EXPECT_EQ(platform::GreenOf(grey), platform::BlueOf(grey));
    EXPECT_EQ(platform::RedOf(grey), (200 * 299 + 40 * 587 + 10 * 114 + 500) / 1000);
    EXPECT_EQ(dest.GetPixel(2, 0), kWhite);
}

TEST(FoxImaging, QuarterTurnsAreExactPermutationsAboutTheCentre) {
    // An odd and an even frame side, each with the centres the card control passes.
    struct Case {
        int w, h, side;
    } cases[] = {{71, 96, 131}, {40, 30, 62}, {3, 2, 4}, {2, 3, 5}};
    for (const auto& c : cases) {
        Picture frame = Frame(testimages::AsymmetricCard(c.w, c.h), c.side);
        for (int q = 1; q <= 3; ++q) {
            Picture turned(c.side, c.side, kMagenta);
            int cx = 0, cy = 0;
            RotationCentre(c.side, c.side, 90 * q, cx, cy);
            FoxRotate(turned, cx, cy, c.side, c.side, frame, 0, 0, 90.0 * q, kMagenta, kFoxQualityFast);
            int wrong = 0;
            for (int y = 0; y < c.side; ++y)
                for (int x = 0; x < c.side; ++x) {
                    auto [sx, sy] = SourceOf(q, c.side, x, y);
                    wrong += turned.GetPixel(x, y) != frame.GetPixel(sx, sy);
                }
            EXPECT_EQ(wrong, 0) << c.side << " by " << 90 * q;
        }
    }
}

TEST(FoxImaging, OtherAnglesNeverBlendTheKeyColourIntoThePicture) {
    Picture frame = Frame(Picture(40, 60, kWhite), 84);
    for (int quality : {kFoxQualityFast, kFoxQualitySmooth})
        for (double angle : {45.0, 30.0, -45.0, 405.0}) {
            Picture turned(84, 84, kMagenta);
            FoxRotate(turned, 42, 41, 84, 84, frame, 0, 0, angle, kMagenta, quality);
            int picture = 0, other = 0;
            for (int y = 0; y < 84; ++y)
                for (int x = 0; x < 84; ++x) {
                    Colour c = turned.GetPixel(x, y);
                    picture += c == kWhite;
                    other += c != kWhite && c != kMagenta;
                }
            EXPECT_EQ(other, 0) << angle << " quality " << quality;
            EXPECT_NEAR(picture, 40 * 60, 40 * 60 / 20) << angle;
            EXPECT_EQ(turned.GetPixel(42, 41), kWhite);
        }
}

TEST(FoxImaging, UncoveredDestinationPixelsStayAsTheyWere) {
    Picture src(2, 2, kRed);
    Picture dest(10, 10, kBlack);
    FoxRotate(dest, 5, 5, 2, 2, src, 0, 0, 45, kMagenta, kFoxQualitySmooth);
    EXPECT_EQ(dest.GetPixel(0, 0), kBlack);
    EXPECT_EQ(dest.GetPixel(5, 5), kRed);
}

TEST(FoxImaging, RotationCentresFollowTheControlsSize) {
    struct Case {
        int side, angle, cx, cy;
    } cases[] = {{132, 270, 65, 65}, {132, 180, 65, 66}, {132, 90, 66, 66}, {132, 45, 66, 66},
                 {131, 90, 65, 65},  {131, 180, 65, 65}, {131, 270, 65, 65}};
    for (const auto& c : cases) {
        int cx = 0, cy = 0;
        RotationCentre(c.side, c.side, c.angle, cx, cy);
        EXPECT_EQ(cx, c.cx) << c.side << " " << c.angle;
        EXPECT_EQ(cy, c.cy) << c.side << " " << c.angle;
    }
    int cx = 0, cy = 0;
    RotationCentre(131, 132, 90, cx, cy);
    EXPECT_EQ(cy, 67);
    RotationCentre(132, 131, 180, cx, cy);
    EXPECT_EQ(cx, 65);
    EXPECT_EQ(cy, 66);
}
