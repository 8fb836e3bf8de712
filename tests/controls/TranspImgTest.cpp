#include "TestSupport.h"
#include "controls/TestImages.h"

#include "common/FaultMessages.h"
#include "controls/ImageInfo.h"
#include "controls/TranspImg.h"
#include "platform/ControlSurface.h"
#include "state/TableState.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using controls::TranspImg;
using platform::Colour;
using platform::MakeColour;
using platform::Picture;

namespace {

constexpr Colour kMagenta = MakeColour(255, 0, 255);
constexpr Colour kCyan = MakeColour(0, 255, 255);

using testimages::CountColour;

class TranspImgTest : public ::testing::Test {
  protected:
    testsupport::TempProgramFolder folder;
    testsupport::MessageRecorder messages;
    Picture card = testimages::AsymmetricCard(71, 96);

    void SetUp() override {
        folder.Write("cards/card.bmp", testimages::BmpOf(card));
        folder.Write("cards/square.bmp", testimages::BmpOf(testimages::AsymmetricCard(100, 100)));
        folder.Write("cards/even.bmp", testimages::BmpOf(testimages::AsymmetricCard(40, 30)));
        folder.Write("cards/dot.bmp", testimages::BmpOf(Picture(1, 1, MakeColour(9, 9, 9))));
        folder.Write("cards/bad.bmp", "BM this header promises a bitmap and holds none");
        SelectionColour = static_cast<std::int32_t>(kCyan);
    }

    // A control brought to a card's look as the table window does it.
    void Prepare(TranspImg& img) {
        img.reset();
        img.MaskColor(kMagenta);
    }
};

} // namespace

TEST_F(TranspImgTest, SquareFrameHoldsThePictureInItsMiddle) {
    struct Case {
        const char* file;
        int w, h, side, x, y;
    } cases[] = {{"cards/card.bmp", 71, 96, 131, 30, 18}, {"cards/square.bmp", 100, 100, 153, 27, 27}};
    for (const auto& c : cases) {
        TranspImg img;
        Prepare(img);
        img.loadNewPicture(c.file);
        EXPECT_EQ(img.Surface().ScaleWidth(), c.side) << c.file;
        EXPECT_EQ(img.Surface().ScaleHeight(), c.side) << c.file;
        EXPECT_EQ(img.Surface().Width(), c.side * 15);
        Picture face = *Picture::Load(c.file);
        Picture inFrame(c.w, c.h);
        inFrame.Copy(0, 0, c.w, c.h, img.hdc(), c.x, c.y);
        EXPECT_TRUE(inFrame.SamePixels(face)) << c.file;
        EXPECT_EQ(img.hdc().GetPixel(c.x - 1, c.y), kMagenta);
        EXPECT_EQ(img.hdc().GetPixel(c.x + c.w, c.y + c.h), kMagenta);
        EXPECT_TRUE(img.GetPicture().SamePixels(img.hdc()));
        EXPECT_EQ(img.GetPictureName(), c.file);
    }
}

TEST_F(TranspImgTest, OriginsAndRealSizesUseTheFilesOwnSize) {
    TranspImg img;
    Prepare(img);
    EXPECT_EQ(img.GetOriginLeft(), 0) << "no file yet";
    EXPECT_EQ(img.GetOriginTop(), 0);
    img.loadNewPicture("cards/card.bmp");
    EXPECT_EQ(img.GetOriginLeft(), 450);
    EXPECT_EQ(img.GetOriginTop(), 262); // 17.5 pixels: half to even
    EXPECT_EQ(img.GetRealWidth(), 1065);
    EXPECT_EQ(img.GetRealHeight(), 1440);
    img.rotation(90);
    img.zoom(150);
    EXPECT_EQ(img.GetRealWidth(), 1065) << "turned and zoomed, the file's size stays";
    img.SetPosition(100, 50);
    img.zoom(100);
    img.rotation(0);
    img.SetPosition(100, 50);
    EXPECT_EQ(img.Surface().Left(), (100 - 30) * 15);
    EXPECT_EQ(img.Surface().Top(), (50 - 18) * 15);
}

TEST_F(TranspImgTest, QuarterTurnsAreExactAndTurnClockwise) {
    for (const char* file : {"cards/card.bmp", "cards/even.bmp"}) {
        TranspImg img;
        Prepare(img);
        img.loadNewPicture(file);
        const Picture frame = img.hdc();
        const int n = frame.Width();
        for (int q = 1; q <= 3; ++q) {
            img.rotation(static_cast<std::int16_t>(90 * q));
            ASSERT_EQ(img.hdc().Width(), n);
            ASSERT_EQ(img.hdc().Height(), n);
            int wrong = 0;
            for (int y = 0; y < n; ++y)
                for (int x = 0; x < n; ++x) {
                    int sx = x, sy = y;
                    if (q == 1) sx = y, sy = n - 1 - x;
                    if (q == 2) sx = n - 1 - x, sy = n - 1 - y;
                    if (q == 3) sx = n - 1 - y, sy = x;
                    wrong += img.hdc().GetPixel(x, y) != frame.GetPixel(sx, sy);
                }
            EXPECT_EQ(wrong, 0) << file << " by " << 90 * q;
        }
    }
    // At 90 degrees the card's red top edge is its right edge.
    TranspImg img;
    Prepare(img);
    img.loadNewPicture("cards/card.bmp");
    img.rotation(90);
    EXPECT_EQ(img.hdc().GetPixel(130 - 18, 60), MakeColour(255, 0, 0));
    EXPECT_EQ(img.hdc().GetPixel(130 - 18 + 1, 60), kMagenta);
    EXPECT_EQ(img.rotation(), 90);
}

TEST_F(TranspImgTest, TurnsToTheLeftAndPastAFullTurnMatchTheirTurnsToTheRight) {
    // even.bmp has an even frame (62 pixels), where the centre needs the angle's correction.
    struct Case {
        std::int16_t angle, same;
    } cases[] = {{-90, 270}, {-180, 180}, {-270, 90},  {-360, 0},
                 {450, 90},  {720, 0},    {-450, 270}, {-45, 315}};
    for (const char* file : {"cards/even.bmp", "cards/card.bmp"})
        for (const auto& c : cases) {
            TranspImg expected, img;
            Prepare(expected);
            Prepare(img);
            expected.loadNewPicture(file);
            img.loadNewPicture(file);
            expected.rotation(c.same);
            img.rotation(c.angle);
            EXPECT_TRUE(img.hdc().SamePixels(expected.hdc())) << file << " " << c.angle << " as " << c.same;
            EXPECT_EQ(img.rotation(), c.angle) << "the angle is kept as given";
        }
}

TEST_F(TranspImgTest, TurningBackToNoughtReloadsTheSquareFrame) {
    TranspImg img;
    Prepare(img);
    img.loadNewPicture("cards/card.bmp", true);
    EXPECT_EQ(img.Surface().ScaleWidth(), 71);
    EXPECT_TRUE(img.hdc().SamePixels(card));
    img.rotation(0);
    EXPECT_EQ(img.Surface().ScaleWidth(), 131);
    EXPECT_EQ(img.hdc().GetPixel(30, 18), card.GetPixel(0, 0));
}

TEST_F(TranspImgTest, FitStretchesThePictureToTheControlsSize) {
    TranspImg img;
    Prepare(img);
    img.Surface().SetSizePixels(142, 192);
    img.loadNewPicture("cards/card.bmp", true, true);
    EXPECT_EQ(img.Surface().ScaleWidth(), 142);
    EXPECT_EQ(img.hdc().GetPixel(0, 0), card.GetPixel(0, 0));
    EXPECT_EQ(img.hdc().GetPixel(141, 191), card.GetPixel(70, 95));
    EXPECT_EQ(img.hdc().GetPixel(11, 17), card.GetPixel(5, 8));
}

TEST_F(TranspImgTest, ZoomCompoundsAndHundredReloadsTheNaturalPicture) {
    TranspImg img;
    Prepare(img);
    img.loadNewPicture("cards/card.bmp");
    img.rotation(90);
    img.zoom(150);
    EXPECT_EQ(img.Surface().ScaleWidth(), 196); // 196.5 to even
    img.zoom(150);
    EXPECT_EQ(img.Surface().ScaleWidth(), 294); // 225 % of 131, through the rounded 196
    EXPECT_EQ(img.hdc().GetPixel(147, 147), img.GetPicture().GetPixel(147, 147));
    img.zoom(100);
    EXPECT_EQ(img.Surface().ScaleWidth(), 71);
    EXPECT_EQ(img.Surface().ScaleHeight(), 96);
    EXPECT_TRUE(img.hdc().SamePixels(card)) << "natural and unturned";
    EXPECT_EQ(img.rotation(), 90);
}

TEST_F(TranspImgTest, ZoomBelowOneChangesNothingAndNoSurfaceOutgrowsTheLimit) {
    TranspImg img;
    Prepare(img);
    img.loadNewPicture("cards/card.bmp");
    const Picture before = img.hdc();
    for (std::int16_t z : {0, -50}) {
        img.zoom(z);
        EXPECT_EQ(img.zoom(), 100);
        EXPECT_TRUE(img.hdc().SamePixels(before));
    }
    // 300 times a 131-pixel frame would be 1.5 billion pixels: the zoom stops at the limit.
    img.zoom(30000);
    const auto pixels = [](int w, int h) { return static_cast<std::int64_t>(w) * h; };
    EXPECT_LE(pixels(img.Surface().ScaleWidth(), img.Surface().ScaleHeight()), Picture::kMaxPixels);
    EXPECT_GE(pixels(img.Surface().ScaleWidth(), img.Surface().ScaleHeight()),
              Picture::kMaxPixels * 99 / 100);
    EXPECT_EQ(img.hdc().Width(), img.Surface().ScaleWidth());
}

TEST_F(TranspImgTest, CardsThatShowOneLookAtOneZoomShareItsPixelsUntilOneDrawsOnItsOwn) {
    std::vector<std::unique_ptr<TranspImg>> cards;
    for (int k = 0; k < 3; ++k) {
        cards.push_back(std::make_unique<TranspImg>());
        Prepare(*cards.back());
        cards.back()->loadNewPicture("cards/card.bmp");
        cards.back()->zoom(200);
    }
    TranspImg& a = *cards[0];
    TranspImg& b = *cards[1];
    TranspImg& c = *cards[2];
    EXPECT_EQ(a.Surface().ScaleWidth(), 262);
    EXPECT_TRUE(a.hdc().SamePixels(b.hdc()));
    EXPECT_EQ(a.hdc().Bits(), b.hdc().Bits()) << "one zoomed look, not one per card";
    // A turn, a halo or another zoom of one card leaves the others as they were.
    const Picture shared = b.hdc();
    a.rotation(90);
    c.selected(true);
    EXPECT_TRUE(b.hdc().SamePixels(shared));
    EXPECT_NE(a.hdc().Bits(), b.hdc().Bits());
    EXPECT_EQ(c.hdc().Bits(), b.hdc().Bits()) << "the halo is painted round the shared look";
    EXPECT_EQ(c.Surface().ScaleWidth(), 267);
    EXPECT_EQ(b.Surface().ScaleWidth(), 262);
    b.zoom(100);
    EXPECT_EQ(b.Surface().ScaleWidth(), 71);
}

TEST_F(TranspImgTest, ZoomIsKeptForTheNextLoad) {
    TranspImg img;
    Prepare(img);
    img.zoom(200);
    EXPECT_EQ(img.zoom(), 200);
    img.loadNewPicture("cards/card.bmp");
    EXPECT_EQ(img.Surface().ScaleWidth(), 262);
}

TEST_F(TranspImgTest, SelectionHaloGrowsByFivePixelsInTheSelectionColour) {
    TranspImg img;
    Prepare(img);
    img.loadNewPicture("cards/card.bmp");
    img.selected(true);
    EXPECT_TRUE(img.selected());
    const Picture d = img.Surface().Grab();
    ASSERT_EQ(img.Surface().ScaleWidth(), 136);
    ASSERT_EQ(img.Surface().ScaleHeight(), 136);
    EXPECT_EQ(d.GetPixel(30, 18), card.GetPixel(0, 0)) << "the picture stays in place";
    EXPECT_EQ(d.GetPixel(100, 113), card.GetPixel(70, 95));
    for (auto [x, y] : {std::pair{29, 60}, {101, 60}, {102, 60}, {60, 17}, {60, 114}})
        EXPECT_EQ(d.GetPixel(x, y), kCyan) << x << "," << y;
    for (auto [x, y] : {std::pair{27, 60}, {104, 60}, {60, 14}, {133, 133}, {0, 0}})
        EXPECT_EQ(d.GetPixel(x, y), kMagenta) << x << "," << y;
    EXPECT_FALSE(img.Surface().ShowsPixel(133, 133));
    EXPECT_TRUE(img.Surface().ShowsPixel(29, 60)) << "the halo takes clicks like the picture";

    img.selected(true);
    EXPECT_EQ(img.Surface().ScaleWidth(), 141) << "a second halo round the first";
    img.selected(false);
    EXPECT_EQ(img.Surface().ScaleWidth(), 131);
    EXPECT_EQ(testimages::CountColour(img.Surface().Grab(), kCyan), 0);
    img.selected(false);
    EXPECT_EQ(img.Surface().ScaleWidth(), 131) << "nothing to remove";
}

TEST_F(TranspImgTest, HaloSurvivesTurnsAndSkipsTinyControls) {
    TranspImg img;
    Prepare(img);
    img.loadNewPicture("cards/card.bmp");
    img.selected(true);
    img.rotation(270);
    EXPECT_EQ(img.Surface().ScaleWidth(), 136);
    EXPECT_GT(testimages::CountColour(img.Surface().Grab(), kCyan), 100);
    img.zoom(200);
    EXPECT_EQ(img.Surface().ScaleWidth(), 267) << "the halo goes round the zoomed card";
    EXPECT_GT(testimages::CountColour(img.Surface().Grab(), kCyan), 200);

    TranspImg tiny;
    Prepare(tiny);
    tiny.loadNewPicture("cards/dot.bmp", true);
    tiny.selected(true);
    EXPECT_EQ(tiny.Surface().ScaleWidth(), 1);
    EXPECT_EQ(tiny.hdc().GetPixel(0, 0), MakeColour(9, 9, 9));
}

TEST_F(TranspImgTest, GreyIsShownButNotTakenAsThePicture) {
    TranspImg img;
    Prepare(img);
    img.loadNewPicture("cards/card.bmp");
    img.GreyScale(true);
    int colourful = 0;
    for (int y = 0; y < 131; ++y)
        for (int x = 0; x < 131; ++x) {
            Colour c = img.hdc().GetPixel(x, y);
            if (c != kMagenta)
                colourful +=
                    platform::RedOf(c) != platform::GreenOf(c) || platform::GreenOf(c) != platform::BlueOf(c);
        }
    EXPECT_EQ(colourful, 0);
    EXPECT_EQ(testimages::CountColour(img.hdc(), kMagenta),
              testimages::CountColour(img.GetPicture(), kMagenta));
    EXPECT_EQ(img.GetPicture().GetPixel(30, 18), card.GetPixel(0, 0));
    img.GreyScale(false);
    EXPECT_NE(img.hdc().GetPixel(30, 18), card.GetPixel(0, 0)) << "nothing is redrawn";
    img.rotation(180);
    EXPECT_GT(testimages::CountColour(img.hdc(), MakeColour(255, 0, 0)), 0)
        << "the next turn draws in colour";
}

TEST_F(TranspImgTest, LoadFailuresChangeNothing) {
    TranspImg img;
    Prepare(img);
    img.loadNewPicture("cards/card.bmp");
    img.rotation(90);
    const Picture before = img.hdc();
    img.loadNewPicture("cards/none.bmp");
    img.loadNewPicture("cards/bad.bmp");
    EXPECT_EQ(messages.Messages(),
              (std::vector<std::string>{"File cards/none.bmp not found",
                                        "File cards/bad.bmp cannot be shown as a picture"}));
    EXPECT_TRUE(img.hdc().SamePixels(before));
    EXPECT_EQ(img.GetPictureName(), "cards/card.bmp");
    EXPECT_EQ(img.rotation(), 90);

    img.loadNewPicture("");
    EXPECT_TRUE(img.GetPicture().IsEmpty()) << "an empty name blanks the picture";
    EXPECT_EQ(img.Surface().ScaleWidth(), 131);
    EXPECT_EQ(img.GetPictureName(), "cards/card.bmp");
}

TEST_F(TranspImgTest, TurningWithoutAFileStoresTheAngleOnly) {
    TranspImg img;
    Prepare(img);
    img.rotation(90);
    EXPECT_EQ(img.rotation(), 90);
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(img.Surface().ScaleWidth(), 0);
    img.loadNewPicture("cards/card.bmp");
    EXPECT_EQ(img.hdc().GetPixel(30, 18), card.GetPixel(0, 0)) << "a load draws unturned";
}

TEST_F(TranspImgTest, ResetChangesNoPixel) {
    TranspImg img;
    Prepare(img);
    img.loadNewPicture("cards/card.bmp");
    img.zoom(150);
    img.selected(true);
    const Picture before = img.hdc();
    img.reset();
    EXPECT_TRUE(img.hdc().SamePixels(before));
    EXPECT_EQ(img.GetPictureName(), "");
    EXPECT_EQ(img.zoom(), 100);
    EXPECT_EQ(img.rotation(), 0);
    EXPECT_FALSE(img.selected());
    EXPECT_EQ(img.BackStyle(), 1);
    EXPECT_EQ(img.MaskColor(), kMagenta);
    EXPECT_EQ(img.GetOriginLeft(), 0);
}

TEST_F(TranspImgTest, MaskColourOnAnOpaqueControlMakesItTransparent) {
    TranspImg img;
    img.reset();
    ASSERT_EQ(img.BackStyle(), 1);
    const Colour green = MakeColour(0, 128, 0);
    img.MaskColor(green);
    EXPECT_EQ(img.BackStyle(), 0);
    EXPECT_EQ(img.Surface().BackColor(), green);
    EXPECT_EQ(img.MaskColor(), green);
}

TEST_F(TranspImgTest, ASystemColourAsMaskColourIsSeeThroughAsItShows) {
    const Colour buttonFace = platform::kSystemColourFlag | 15;
    TranspImg img;
    img.reset();
    img.MaskColor(buttonFace);
    img.loadNewPicture("cards/card.bmp");
    img.rotation(45);
    img.selected(true);
    EXPECT_EQ(img.hdc().GetPixel(0, 0), platform::ResolveColour(buttonFace));
    EXPECT_FALSE(img.Surface().ShowsPixel(0, 0)) << "the frame's corner";
    EXPECT_TRUE(img.Surface().ShowsPixel(68, 68)) << "the card's middle";
    EXPECT_GT(testimages::CountColour(img.Surface().Grab(), kCyan), 100)
        << "the halo follows the card's outline";
}

// Animated pictures carry a loop count, and pictures saved by image editors XMP data, before the
// graphic control extension that names the transparent colour.
TEST_F(TranspImgTest, GifTransparentColourBecomesTheMaskColour) {
    const Colour key = MakeColour(0, 255, 0);
    const std::string loop = std::string("\x21\xFF\x0BNETSCAPE2.0\x03\x01\x00\x00\x00", 19);
    const std::string xmp = std::string("\x21\xFF\x0BXMP DataXMP\x04<?xp\x02\xF9\xFE\x00", 23);
    for (const std::string& before : {std::string(), loop, xmp + loop}) {
        std::string gif = testimages::GifOf(4, 4, {0, 1, 1, 0, 1, 1, 1, 1, 0, 0, 0, 0, 1, 1, 1, 1},
                                            {key, MakeColour(200, 0, 0)}, 0);
        gif.insert(25, before); // after the screen and its colour table
        folder.Write("cards/t.gif", gif);
        Picture::ForgetShared();
        TranspImg img;
        Prepare(img);
        img.loadNewPicture("cards/t.gif");
        EXPECT_EQ(img.MaskColor(), key) << before.size();
        EXPECT_EQ(img.Surface().ScaleWidth(), 18);
        EXPECT_FALSE(img.Surface().ShowsPixel(0, 0));
        EXPECT_FALSE(img.Surface().ShowsPixel(7, 7)) << "the file's transparent pixel, " << before.size();
        EXPECT_TRUE(img.Surface().ShowsPixel(8, 7));
    }

    // The header is read once for the decoded picture, yet a file written anew is read anew:
    // another transparent colour (and a size the old modification time cannot hide).
    const Colour other = MakeColour(0, 0, 250);
    folder.Write("cards/t.gif",
                 testimages::GifOf(5, 4, {0, 1, 1, 0, 1, 1, 1, 1, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1},
                                   {MakeColour(200, 0, 0), other}, 1));
    TranspImg again;
    Prepare(again);
    again.loadNewPicture("cards/t.gif");
    EXPECT_EQ(again.MaskColor(), other);
    TranspImg third;
    Prepare(third);
    third.loadNewPicture("cards/t.gif");
    EXPECT_EQ(third.MaskColor(), other) << "the header as the shared picture's";
}

// The decoder hands a GIF's transparent pixels out as fully see-through; they must still carry
// the colour-table entry's colour, or they would not match the mask colour taken from the header.
TEST_F(TranspImgTest, GifTransparentPixelsMatchTheMaskColourByColour) {
    const std::vector<Colour> palette = {MakeColour(10, 20, 30), MakeColour(200, 0, 0), MakeColour(1, 254, 3),
                                         MakeColour(255, 255, 255)};
    const std::vector<std::uint8_t> pixels = {1, 1, 1, 1, 1, 2, 2, 3, 1, 2, 0, 3, 1, 1, 1, 1};
    struct Case {
        const char* name;
        int transparentIndex;
        bool natural;
        bool largerScreen; // the picture's screen is larger than its one frame
    } cases[] = {{"index 2, natural", 2, true, false},
                 {"index 2, square frame", 2, false, false},
                 {"index 0, natural", 0, true, false},
                 {"index 3, screen larger than the frame", 3, true, true}};
    for (const auto& c : cases) {
        std::string gif = testimages::GifOf(4, 4, pixels, palette, c.transparentIndex);
        if (c.largerScreen) gif[6] = gif[8] = 6;
        folder.Write("cards/t.gif", gif);
        TranspImg img;
        Prepare(img);
        img.loadNewPicture("cards/t.gif", c.natural);
        const Colour key = palette[static_cast<std::size_t>(c.transparentIndex)];
        ASSERT_EQ(img.MaskColor(), key) << c.name;
        const int offset = c.natural ? 0 : 7;
        int seeThrough = 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x) {
                const bool marked = pixels[static_cast<std::size_t>(y * 4 + x)] == c.transparentIndex;
                EXPECT_EQ(img.hdc().GetPixel(x + offset, y + offset) == key, marked)
                    << c.name << " " << x << "," << y;
                EXPECT_EQ(img.Surface().ShowsPixel(x + offset, y + offset), !marked)
                    << c.name << " " << x << "," << y;
                seeThrough += marked;
            }
        EXPECT_GT(seeThrough, 0) << c.name;
        if (c.largerScreen) {
            EXPECT_EQ(img.Surface().ScaleWidth(), 6);
            EXPECT_FALSE(img.Surface().ShowsPixel(5, 5)) << "outside the frame nothing is drawn";
        }
    }
}

// A card with rounded corners left see-through by its alpha channel, its see-through pixels
// stored black like its black mark: the corners show and take clicks as the mask colour does,
// and the black mark stays. The mask colour and the mask-colour rule are the control's as before.
TEST_F(TranspImgTest, APicturesOwnSeeThroughPixelsAreSeeThroughAsTheMaskColourIs) {
    constexpr Colour kDeckMask = MakeColour(10, 200, 30);
    constexpr Colour kBlack = MakeColour(0, 0, 0);
    const int w = 24, h = 32;
    Picture face = testimages::AsymmetricCard(w, h);
    face.SetPixel(12, 20, kDeckMask);
    std::vector<bool> corners(static_cast<std::size_t>(w * h));
    int cornerPixels = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int cx = std::min(x, w - 1 - x), cy = std::min(y, h - 1 - y);
            if (cx + cy < 3) {
                corners[static_cast<std::size_t>(y * w + x)] = true;
                face.SetPixel(x, y, kBlack);
                ++cornerPixels;
            }
        }
    folder.Write("cards/round.png", testimages::RgbaPngOf(face, corners));
    folder.Write("cards/opaque.png", testimages::RgbaPngOf(face, std::vector<bool>(corners.size())));
    struct Case {
        const char* name;
        Colour mask;
        bool natural;
        int turn;
    } cases[] = {{"square frame", kMagenta, false, 0},
                 {"natural size on an opaque control", kMagenta, true, 0},
                 {"turned a quarter", kMagenta, false, 90},
                 {"a deck's own mask colour", kDeckMask, false, 0}};
    for (const auto& c : cases) {
        TranspImg img;
        img.reset(); // opaque until a mask colour or a load makes it see-through
        if (c.mask != kMagenta) img.MaskColor(c.mask);
        img.loadNewPicture("cards/round.png", c.natural);
        if (c.turn != 0) img.rotation(static_cast<std::int16_t>(c.turn));
        EXPECT_EQ(img.MaskColor(), c.mask) << c.name;
        EXPECT_EQ(img.BackStyle(), 0) << c.name;
        // The face shows all its pixels but the corners (and the deck's mask colour, where that
        // is the mask colour); the control shows and takes clicks exactly there.
        const Picture& drawn = img.hdc();
        EXPECT_EQ(drawn.Width() * drawn.Height() - CountColour(drawn, c.mask),
                  w * h - cornerPixels - (c.mask == kDeckMask ? 1 : 0))
            << c.name;
        for (int y = 0; y < drawn.Height(); ++y)
            for (int x = 0; x < drawn.Width(); ++x)
                ASSERT_EQ(img.Surface().ShowsPixel(x, y), drawn.GetPixel(x, y) != c.mask)
                    << c.name << " " << x << "," << y;
        if (c.turn == 0) {
            const int x0 = c.natural ? 0 : (drawn.Width() - w + 1) / 2;
            const int y0 = c.natural ? 0 : (drawn.Height() - h + 1) / 2;
            EXPECT_EQ(drawn.GetPixel(x0, y0), c.mask) << c.name;
            EXPECT_EQ(drawn.GetPixel(x0 + w - 1, y0 + h - 1), c.mask) << c.name;
            EXPECT_EQ(drawn.GetPixel(x0 + 6, y0 + 9), kBlack) << c.name << ": the black mark stays";
        }
    }
    // Without see-through pixels of its own the picture keeps the mask-colour rule: an opaque
    // control stays opaque in its natural size, and black shows black.
    TranspImg opaque;
    opaque.reset();
    opaque.loadNewPicture("cards/opaque.png", true);
    EXPECT_EQ(opaque.BackStyle(), 1);
    EXPECT_EQ(opaque.hdc().GetPixel(0, 0), kBlack);
    EXPECT_TRUE(opaque.Surface().ShowsPixel(0, 0));

    // A click on a see-through corner reaches the table below; one on the card reaches the card.
    platform::ControlSurface table;
    table.SetSizePixels(100, 100);
    table.SetBackStyle(1);
    int tableClicks = 0, cardDowns = 0;
    table.OnClick = [&] { ++tableClicks; };
    TranspImg img(table.Handle());
    Prepare(img);
    img.loadNewPicture("cards/round.png", true);
    img.MouseDown = [&](std::int16_t, std::int16_t, platform::PixelPoint) { ++cardDowns; };
    img.Surface().Move(10 * 15, 10 * 15);
    table.SetVisible(true);
    platform::ClickAt(table, 10, 10);
    EXPECT_EQ(tableClicks, 1);
    EXPECT_EQ(cardDowns, 0);
    platform::ClickAt(table, 10 + 6, 10 + 9);
    EXPECT_EQ(cardDowns, 1);
    EXPECT_EQ(tableClicks, 1);
}

TEST_F(TranspImgTest, AClickOnTheMaskColourReachesTheControlBelow) {
    platform::ControlSurface table;
    table.SetSizePixels(200, 200);
    table.SetBackStyle(1);
    platform::ControlSurface felt(table.Handle());
    felt.SetSizePixels(200, 200);
    int feltClicks = 0;
    felt.OnClick = [&] { ++feltClicks; };
    TranspImg img(table.Handle());
    Prepare(img);
    img.loadNewPicture("cards/card.bmp");
    img.rotation(90);
    img.Surface().Move(10 * 15, 10 * 15);
    int downs = 0;
    float lastX = -1;
    img.MouseDown = [&](std::int16_t button, std::int16_t, platform::PixelPoint at) {
        ++downs;
        EXPECT_EQ(button, 1);
        lastX = at.x;
    };
    table.SetVisible(true);

    platform::ClickAt(table, 10 + 5, 10 + 5); // the frame's corner: mask colour
    EXPECT_EQ(feltClicks, 1);
    EXPECT_EQ(downs, 0);
    platform::ClickAt(table, 10 + 65, 10 + 65); // the middle of the card
    EXPECT_EQ(downs, 1);
    EXPECT_EQ(lastX, 65);
    EXPECT_EQ(feltClicks, 1);
}

// Two cards overlapping on the table: a click on the upper card's see-through frame lands on the
// card below, where that one shows its picture, and on the table where neither does.
TEST_F(TranspImgTest, AClickThroughOneCardsFrameReachesTheCardBelow) {
    platform::ControlSurface table;
    table.SetSizePixels(300, 200);
    table.SetBackStyle(1);
    int tableClicks = 0;
    table.OnClick = [&] { ++tableClicks; };
    TranspImg lower(table.Handle()), upper(table.Handle());
    int lowerDowns = 0, upperDowns = 0;
    lower.MouseDown = [&](std::int16_t, std::int16_t, platform::PixelPoint) { ++lowerDowns; };
    upper.MouseDown = [&](std::int16_t, std::int16_t, platform::PixelPoint) { ++upperDowns; };
    for (TranspImg* img : {&lower, &upper}) {
        Prepare(*img);
        img->loadNewPicture("cards/card.bmp");
    }
    lower.SetPosition(20, 20); // the picture covers (20..90, 20..115)
    upper.SetPosition(80, 20); // its frame starts at 50, its picture at 80
    upper.Surface().BringToFront();
    table.SetVisible(true);

    platform::ClickAt(table, 60, 60); // inside the upper frame, on the lower card's picture
    EXPECT_EQ(lowerDowns, 1);
    EXPECT_EQ(upperDowns, 0);
    platform::ClickAt(table, 85, 60); // where both pictures lie, the upper one takes it
    EXPECT_EQ(upperDowns, 1);
    EXPECT_EQ(lowerDowns, 1);
    platform::ClickAt(table, 60, 125); // inside both frames, below both pictures
    EXPECT_EQ(tableClicks, 1);
    EXPECT_EQ(lowerDowns + upperDowns, 2);
    upper.rotation(90); // the turned card's frame is see-through where the picture was
    platform::ClickAt(table, 85, 25);
    EXPECT_EQ(lowerDowns, 2);
}

TEST_F(TranspImgTest, PropertiesReportTheirKeysWhenSet) {
    TranspImg img;
    std::vector<std::string> keys;
    img.PropertyChanged = [&](const std::string& key) { keys.push_back(key); };
    img.bestResize(true);
    img.useAntialias(true);
    img.BackStyle(1);
    img.zoom(120);
    EXPECT_EQ(keys, (std::vector<std::string>{"bestResize", "useAntialias", "BackStyle", "zoom"}));
    EXPECT_TRUE(img.bestResize());
    EXPECT_TRUE(img.Enabled()) << "a new control is enabled";
}

TEST_F(TranspImgTest, StoredPropertiesComeBackWithoutDrawing) {
    TranspImg img;
    Prepare(img);
    img.loadNewPicture("cards/card.bmp");
    img.useAntialias(true);
    img.bestResize(true);
    img.BackColor(MakeColour(1, 2, 3));
    platform::PropertyBag bag;
    img.WriteProperties(bag, platform::Font{});
    EXPECT_FALSE(bag.Has("zoom")) << "a default is not stored";
    EXPECT_TRUE(bag.Has("Enabled")) << "always stored";
    bag.WriteInt("rotation", 90, 0);
    bag.WriteInt("selected", -1, 0);

    TranspImg copy;
    copy.ReadProperties(bag, platform::Font{});
    EXPECT_EQ(copy.rotation(), 90);
    EXPECT_TRUE(copy.selected());
    EXPECT_TRUE(copy.useAntialias());
    EXPECT_TRUE(copy.bestResize());
    EXPECT_EQ(copy.BackColor(), MakeColour(1, 2, 3));
    EXPECT_EQ(copy.MaskColor(), kMagenta);
    EXPECT_EQ(copy.BackStyle(), 0);
    EXPECT_TRUE(copy.Enabled());
    EXPECT_TRUE(copy.GetPicture().SamePixels(img.GetPicture()))
        << "the picture, not turned by the stored angle";

    platform::PropertyBag empty;
    TranspImg bare;
    bare.ReadProperties(empty, platform::Font{});
    EXPECT_FALSE(bare.Enabled()) << "a missing Enabled reads as false";
    EXPECT_EQ(bare.zoom(), 100);
}

// card.jpg holds a red pip near its top-left corner; turned.jpg is red above and blue below, with
// an orientation tag asking viewers to turn it by 90 degrees: the table shows files as stored, at
// the size their header gives.
TEST_F(TranspImgTest, JpegCardsLoadAtTheirHeadersSizeAsStored) {
    struct Case {
        const char* fixture;
        int x, y;
        Colour colour;
    } cases[] = {{"card.jpg", 15, 15, MakeColour(200, 20, 30)},
                 {"turned.jpg", 35, 10, MakeColour(200, 20, 30)},
                 {"turned.jpg", 35, 85, MakeColour(30, 60, 200)}};
    for (const auto& c : cases) {
        folder.CopyIn(testsupport::FixturePath(std::string("pictures/") + c.fixture), "cards/card.jpg");
        controls::ImageInfo info;
        info.ReadImageInfo("cards/card.jpg");
        EXPECT_EQ(info.ImageType(), controls::ImageInfo::kJpeg) << c.fixture;
        EXPECT_EQ(info.ImageWidth(), 71) << c.fixture;
        EXPECT_EQ(info.ImageHeight(), 96) << c.fixture;
        TranspImg img;
        Prepare(img);
        img.loadNewPicture("cards/card.jpg", true);
        ASSERT_TRUE(messages.Messages().empty());
        EXPECT_EQ(img.Surface().ScaleWidth(), 71) << c.fixture;
        EXPECT_EQ(img.Surface().ScaleHeight(), 96) << c.fixture;
        EXPECT_EQ(img.GetRealWidth(), 71 * 15) << c.fixture;
        const Colour seen = img.hdc().GetPixel(c.x, c.y); // give or take the compression
        EXPECT_NEAR(platform::RedOf(seen), platform::RedOf(c.colour), 24) << c.fixture;
        EXPECT_NEAR(platform::GreenOf(seen), platform::GreenOf(c.colour), 24) << c.fixture;
        EXPECT_NEAR(platform::BlueOf(seen), platform::BlueOf(c.colour), 24) << c.fixture;
    }
}

TEST_F(TranspImgTest, APictureLargerThanTheLimitIsRefusedWithAMessage) {
    // The logical screen of a GIF is its picture's size: this one asks for 9000 x 9000.
    std::string gif =
        testimages::GifOf(4, 4, std::vector<std::uint8_t>(16, 1), {kMagenta, MakeColour(1, 2, 3)}, -1);
    gif[6] = gif[8] = static_cast<char>(9000 & 0xFF);
    gif[7] = gif[9] = static_cast<char>(9000 >> 8);
    folder.Write("cards/huge.gif", gif);
    TranspImg img;
    Prepare(img);
    img.loadNewPicture("cards/card.bmp");
    img.loadNewPicture("cards/huge.gif");
    EXPECT_EQ(messages.Messages(),
              std::vector<std::string>{"File cards/huge.gif cannot be shown as a picture"});
    EXPECT_EQ(img.Surface().ScaleWidth(), 131);
    EXPECT_EQ(img.GetPictureName(), "cards/card.bmp");
}

TEST_F(TranspImgTest, CardsShowingOneFileShareOneDrawingPerLook) {
    std::vector<std::unique_ptr<TranspImg>> cards;
    for (int i = 0; i < 4; ++i) {
        cards.push_back(std::make_unique<TranspImg>());
        Prepare(*cards.back());
        cards.back()->loadNewPicture(i % 2 ? "Cards\\CARD.BMP" : "cards/card.bmp");
    }
    auto pixels = [&](int i) {
        return std::as_const(cards[static_cast<std::size_t>(i)]->Surface()).Drawing().Bits();
    };
    EXPECT_EQ(pixels(0), pixels(1)) << "one file, one look, one drawing";
    EXPECT_EQ(pixels(0), pixels(3));
    // Held at the picture's own size, not as a copy in the square frame.
    EXPECT_EQ(std::as_const(cards[0]->Surface()).Drawing().Width(), 71);
    const Picture decoded = *Picture::LoadShared("cards/card.bmp");
    EXPECT_EQ(pixels(0), decoded.Bits()) << "the decoded picture itself";

    cards[1]->rotation(90);
    cards[2]->rotation(90);
    EXPECT_EQ(pixels(1), pixels(2));
    EXPECT_NE(pixels(1), pixels(0));
    EXPECT_EQ(std::as_const(cards[1]->Surface()).Drawing().Width(), 96) << "turned at its own size";

    cards[2]->selected(true);
    EXPECT_EQ(pixels(2), pixels(1)) << "the halo is painted round the shared look, not into a copy";
    EXPECT_EQ(cards[2]->Surface().ScaleWidth(), 136);
    EXPECT_EQ(cards[1]->Surface().ScaleWidth(), 131) << "the halo is drawn on its own card only";
    cards[2]->selected(false);
    EXPECT_EQ(pixels(2), pixels(1)) << "unselected: the shared look again";

    cards[3]->GreyScale(true);
    EXPECT_NE(pixels(3), pixels(0));
    EXPECT_EQ(cards[0]->hdc().GetPixel(30, 18), card.GetPixel(0, 0)) << "grey stays on its own card";

    // What makes a look another one: the mask colour, and the smoothing of a turn off the quarters.
    TranspImg cyanKeyed;
    cyanKeyed.reset();
    cyanKeyed.MaskColor(kCyan);
    cyanKeyed.loadNewPicture("cards/card.bmp");
    EXPECT_EQ(cyanKeyed.hdc().GetPixel(0, 0), kCyan);
    EXPECT_EQ(cards[0]->hdc().GetPixel(0, 0), kMagenta);
    cards[0]->rotation(45);
    cards[1]->useAntialias(true);
    cards[1]->rotation(45);
    EXPECT_FALSE(cards[0]->hdc().SamePixels(cards[1]->hdc()));
}

TEST_F(TranspImgTest, TurningBackAndUnselectingDoNotReadTheFileAgain) {
    TranspImg img;
    Prepare(img);
    img.loadNewPicture("cards/card.bmp");
    const Picture unturned = img.hdc();
    img.rotation(90);
    img.selected(true);
    // Gone from the disk: nothing below needs it.
    std::filesystem::remove(folder.Path() + "/cards/card.bmp");
    img.selected(false);
    EXPECT_EQ(img.Surface().ScaleWidth(), 131);
    img.rotation(0);
    EXPECT_TRUE(img.hdc().SamePixels(unturned));
    img.zoom(100);
    EXPECT_TRUE(img.hdc().SamePixels(card));
    EXPECT_TRUE(messages.Messages().empty());
    img.loadNewPicture("cards/card.bmp");
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{"File cards/card.bmp not found"})
        << "a new load still looks at the disk";
}

TEST_F(TranspImgTest, APictureWhoseFrameWouldPassThePixelLimitIsShrunkAndTurnsInItsFrame) {
    // 8192 pixels, and a square frame of 8204 x 8204 = 67 million: kept at 512 pixels instead.
    folder.Write("cards/tall.bmp", testimages::BmpOf(Picture(1, 8192, MakeColour(200, 0, 0))));
    TranspImg img;
    Prepare(img);
    img.loadNewPicture("cards/tall.bmp", true);
    EXPECT_EQ(img.Surface().ScaleWidth(), 1);
    EXPECT_EQ(img.Surface().ScaleHeight(), 512);
    img.loadNewPicture("cards/tall.bmp");
    const int side = img.Surface().ScaleHeight();
    EXPECT_GT(side, 512);
    EXPECT_LT(side, 530);
    img.rotation(90);
    EXPECT_EQ(img.rotation(), 90);
    EXPECT_EQ(img.Surface().ScaleHeight(), side);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(TranspImgTest, APictureLargerThanAnyCardIsDecodedDownToTheLargestSide) {
    const struct {
        int w, h;
        int shownW, shownH;
    } cases[] = {{2048, 2048, 512, 512},
                 {4096, 4096, 512, 512},
                 {600, 1200, 256, 512},
                 {3000, 40, 512, 7},
                 {512, 100, 512, 100}};
    for (const auto& c : cases) {
        const std::string name = "big" + std::to_string(c.w) + "x" + std::to_string(c.h) + ".png";
        SCOPED_TRACE(name);
        ASSERT_TRUE(Picture(c.w, c.h, MakeColour(200, 10, 10)).SaveAsPng(folder.Path() + "/cards/" + name));
        TranspImg img;
        Prepare(img);
        img.loadNewPicture("cards/" + name, true);
        EXPECT_TRUE(messages.Messages().empty());
        EXPECT_EQ(img.Surface().ScaleWidth(), c.shownW);
        EXPECT_NEAR(img.Surface().ScaleHeight(), c.shownH, 1);
        EXPECT_EQ(img.hdc().GetPixel(c.shownW / 2, c.shownH / 2), MakeColour(200, 10, 10));
        // In the square frame too: the frame is measured by the picture kept.
        TranspImg framed;
        Prepare(framed);
        framed.loadNewPicture("cards/" + name);
        EXPECT_TRUE(messages.Messages().empty());
        EXPECT_LT(framed.Surface().ScaleWidth(), 760) << "the frame of a 512 x 512 picture";
    }
}

TEST_F(TranspImgTest, ABrokenPictureRaisesOneMessagePerGameHoweverOftenItIsShown) {
    TranspImg img;
    Prepare(img);
    for (int k = 0; k < 5; ++k) {
        img.loadNewPicture("cards/none.bmp");
        img.loadNewPicture("cards/bad.bmp");
        img.loadNewPicture("cards/gone" + std::to_string(k) + ".bmp");
    }
    EXPECT_EQ(messages.Messages(),
              (std::vector<std::string>{"File cards/none.bmp not found",
                                        "File cards/bad.bmp cannot be shown as a picture"}));
    ForgetShownFaults(); // a new game
    img.loadNewPicture("cards/bad.bmp");
    EXPECT_EQ(messages.Messages().size(), 3u);
}
