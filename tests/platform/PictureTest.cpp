#include "TestSupport.h"
#include "controls/TestImages.h"

#include "platform/Files.h"
#include "platform/Fonts.h"
#include "platform/Picture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

using platform::Colour;
using platform::MakeColour;
using platform::Picture;
using platform::RasterOp;
using platform::StretchMode;

namespace {

constexpr Colour kRed = MakeColour(255, 0, 0);
constexpr Colour kBlue = MakeColour(0, 0, 255);
constexpr Colour kWhite = MakeColour(255, 255, 255);
constexpr Colour kMagenta = MakeColour(255, 0, 255);

using testimages::CountColour;

} // namespace

TEST(Picture, TakesColoursWithRedInTheLowByteAndStoresThemAsTheScreenDoes) {
    Picture p(3, 2, MakeColour(1, 2, 3));
    EXPECT_EQ(p.GetPixel(2, 1), 0x030201u);
    p.SetPixel(0, 0, 0x00112233);
    EXPECT_EQ(p.GetPixel(0, 0), 0x00112233u);
    EXPECT_EQ(p.Row(0)[0], 0xFF332211u) << "stored as the screen paints it";
    EXPECT_EQ(Picture::ColourOf(p.Row(0)[0]), 0x00112233u);
    EXPECT_EQ(p.GetPixel(3, 0), Picture::kNoPixel);
    EXPECT_EQ(p.GetPixel(-1, 0), Picture::kNoPixel);
    p.SetPixel(9, 9, kRed); // outside: nothing happens
    EXPECT_EQ(CountColour(p, kRed), 0);
}

TEST(Picture, NeverGrowsBeyondTheLargestSide) {
    Picture p(Picture::kMaxSide + 100, 2);
    EXPECT_EQ(p.Width(), Picture::kMaxSide);
    Picture q(4, 4);
    q.Resize(20000, 3, kRed);
    EXPECT_EQ(q.Width(), Picture::kMaxSide);
    EXPECT_EQ(Picture(-5, 4).IsEmpty(), true);
    // Both sides within the limit, and still 256 MB (or 100 MB) of pixels: nothing is made.
    EXPECT_TRUE(Picture(Picture::kMaxSide, Picture::kMaxSide).IsEmpty());
    EXPECT_TRUE(Picture(5000, 5000).IsEmpty());
    q.Resize(Picture::kMaxSide, Picture::kMaxSide, kRed);
    EXPECT_TRUE(q.IsEmpty());
}

TEST(Picture, AFileIsDecodedOnceForEveryoneWhileItStaysAsItIs) {
    testsupport::TempProgramFolder folder;
    const Picture red(3, 2, kRed), blue(3, 2, kBlue);
    folder.Write("cards/a.bmp", testimages::BmpOf(red));
    const auto first = Picture::LoadShared("cards/a.bmp");
    const auto second = Picture::LoadShared("Cards\\A.BMP");
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(first->SamePixels(red));
    EXPECT_EQ(first->Bits(), second->Bits()) << "one decoded picture for both";
    EXPECT_TRUE(first->PixelsShared());

    Picture changed = *second;
    changed.SetPixel(0, 0, kWhite);
    EXPECT_EQ(first->GetPixel(0, 0), kRed) << "a change to one copy stays in that copy";

    // Rewritten with the same size; its time tells the change.
    folder.Write("cards/a.bmp", testimages::BmpOf(blue));
    const auto path = std::filesystem::path(folder.Path()) / "cards" / "a.bmp";
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(5));
    const auto rewritten = Picture::LoadShared("cards/a.bmp");
    ASSERT_TRUE(rewritten);
    EXPECT_TRUE(rewritten->SamePixels(blue));

    Picture::ForgetShared();
    const auto again = Picture::LoadShared("cards/a.bmp");
    ASSERT_TRUE(again);
    EXPECT_NE(again->Bits(), rewritten->Bits()) << "forgotten: decoded anew";
    EXPECT_TRUE(again->SamePixels(blue));

    EXPECT_FALSE(Picture::LoadShared("cards/none.bmp"));
    EXPECT_FALSE(Picture::LoadShared("../outside.bmp"));
    EXPECT_FALSE(Picture::LoadShared(""));
}

// Within a look scope each file is looked at once: a file rewritten while the scope lives keeps
// showing what the first look found, in every spelling of its path that was looked at, and the
// first look after the outermost scope sees the change.
TEST(Picture, AScopeLooksAtEachFileOnce) {
    testsupport::TempProgramFolder folder;
    const Picture red(3, 2, kRed), blue(3, 2, kBlue), white(5, 1, kWhite);
    folder.Write("cards/a.bmp", testimages::BmpOf(red));
    const auto path = std::filesystem::path(folder.Path()) / "cards" / "a.bmp";
    const auto rewrite = [&](const Picture& picture) {
        const auto before = std::filesystem::last_write_time(path);
        folder.Write("cards/a.bmp", testimages::BmpOf(picture));
        std::filesystem::last_write_time(path, before + std::chrono::seconds(5));
    };
    {
        const Picture::LookScope outer;
        ASSERT_TRUE(Picture::LoadShared("cards/a.bmp"));
        {
            const Picture::LookScope inner;
            rewrite(blue);
            EXPECT_TRUE(Picture::LoadShared("cards/a.bmp")->SamePixels(red));
        }
        rewrite(white);
        EXPECT_TRUE(Picture::LoadShared("cards/a.bmp")->SamePixels(red))
            << "the inner scope's end changes nothing";
        EXPECT_TRUE(Picture::LoadWithin("cards/a.bmp", 512)->SamePixels(red));
        // A spelling not looked at yet is looked at, and finds the file's stamp of the first look.
        EXPECT_TRUE(Picture::LoadShared("CARDS\\a.bmp")->SamePixels(red));
    }
    EXPECT_TRUE(Picture::LoadShared("cards/a.bmp")->SamePixels(white));
    // Without a scope every load looks.
    rewrite(red);
    EXPECT_TRUE(Picture::LoadShared("cards/a.bmp")->SamePixels(red));
}

TEST(Picture, BlockTransfersCombineAsTheirRasterOperation) {
    struct Case {
        RasterOp op;
        Colour dest, src, result;
    } cases[] = {
        {RasterOp::Copy, 0x00F0F0F0, 0x000F0F0F, 0x000F0F0F},
        {RasterOp::And, 0x00F0FFF0, 0x000FFF0F, 0x0000FF00},
        {RasterOp::Or, 0x00F00000, 0x00000F0F, 0x00F00F0F},
    };
    for (const auto& c : cases) {
        Picture dest(4, 4, c.dest);
        Picture src(2, 2, c.src);
        dest.Copy(1, 1, 2, 2, src, 0, 0, c.op);
        EXPECT_EQ(dest.GetPixel(1, 1), c.result);
        EXPECT_EQ(dest.GetPixel(2, 2), c.result);
        EXPECT_EQ(dest.GetPixel(0, 0), c.dest) << "outside the block";
        EXPECT_EQ(dest.GetPixel(3, 3), c.dest);
    }
}

TEST(Picture, BlockTransfersAreClippedToBothPictures) {
    Picture src(4, 4, kRed);
    src.SetPixel(3, 3, kBlue);
    Picture dest(4, 4, kWhite);
    dest.Copy(-2, -2, 10, 10, src, 0, 0);
    EXPECT_EQ(dest.GetPixel(1, 1), kBlue);
    EXPECT_EQ(dest.GetPixel(2, 2), kWhite);
    Picture dest2(4, 4, kWhite);
    dest2.Copy(2, 2, 10, 10, src, -1, -1); // source outside its picture starts at its corner
    EXPECT_EQ(dest2.GetPixel(3, 3), kRed);
    EXPECT_EQ(dest2.GetPixel(2, 2), kWhite);
    // A block moved within its own picture sees the picture as it was.
    Picture self(4, 1, kWhite);
    self.SetPixel(0, 0, kRed);
    self.Copy(1, 0, 3, 1, self, 0, 0);
    EXPECT_EQ(self.GetPixel(1, 0), kRed);
    EXPECT_EQ(self.GetPixel(2, 0), kWhite);
}

TEST(Picture, ColourKeyCopyLeavesTheKeyOut) {
    Picture src(2, 1, kMagenta);
    src.SetPixel(1, 0, kRed);
    Picture dest(2, 1, kBlue);
    dest.CopyColourKey(0, 0, 2, 1, src, 0, 0, kMagenta);
    EXPECT_EQ(dest.GetPixel(0, 0), kBlue);
    EXPECT_EQ(dest.GetPixel(1, 0), kRed);
}

TEST(Picture, ColourOnColourStretchRepeatsAndDropsWholePixels) {
    Picture src(2, 2, kRed);
    src.SetPixel(1, 1, kBlue);
    Picture big(4, 4, kWhite);
    big.Stretch(0, 0, 4, 4, src, 0, 0, 2, 2, StretchMode::ColourOnColour);
    EXPECT_EQ(CountColour(big, kBlue), 4);
    EXPECT_EQ(big.GetPixel(2, 2), kBlue);
    EXPECT_EQ(big.GetPixel(3, 3), kBlue);
    EXPECT_EQ(big.GetPixel(1, 1), kRed);
    Picture small(1, 1, kWhite);
    small.Stretch(0, 0, 1, 1, big, 0, 0, 4, 4, StretchMode::ColourOnColour);
    EXPECT_EQ(small.GetPixel(0, 0), kRed);
}

TEST(Picture, HalftoneStretchAveragesWhatItShrinks) {
    Picture src(2, 1, MakeColour(0, 0, 0));
    src.SetPixel(1, 0, MakeColour(200, 200, 200));
    Picture one(1, 1, kRed);
    one.Stretch(0, 0, 1, 1, src, 0, 0, 2, 1, StretchMode::Halftone);
    int red = platform::RedOf(one.GetPixel(0, 0));
    EXPECT_GT(red, 50);
    EXPECT_LT(red, 150);
}

TEST(Picture, ResizeKeepsWhatLiesInsideBothSizes) {
    Picture p(2, 2, kRed);
    p.Resize(3, 1, kBlue);
    EXPECT_EQ(p.Width(), 3);
    EXPECT_EQ(p.Height(), 1);
    EXPECT_EQ(p.GetPixel(1, 0), kRed);
    EXPECT_EQ(p.GetPixel(2, 0), kBlue);
}

TEST(Picture, LinesAndTextDrawInTheirColour) {
    Picture p(40, 40, kWhite);
    p.DrawLine(0, 5, 39, 5, kRed);
    EXPECT_EQ(p.GetPixel(20, 5), kRed);
    Picture text(60, 30, kWhite);
    platform::FontSpec font{"Arial", 16, false};
    text.DrawText(2, 2, "Hg", font, MakeColour(0, 0, 0));
    EXPECT_GT(CountColour(text, MakeColour(0, 0, 0)), 5);
    // Turned text stands upward from its origin: nothing below it, nothing left of it.
    Picture turned(30, 60, kWhite);
    turned.DrawText(4, 50, "Hg", font, MakeColour(0, 0, 0), true);
    for (int y = 51; y < 60; ++y)
        for (int x = 0; x < 30; ++x)
            EXPECT_EQ(turned.GetPixel(x, y), kWhite) << x << "," << y;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(turned.GetPixel(x, y), kWhite) << x << "," << y;
    EXPECT_LT(CountColour(turned, kWhite), 30 * 60);
}

TEST(Picture, LoadsEachFileKindAndRefusesTheRest) {
    testsupport::TempProgramFolder folder;
    Picture card = testimages::AsymmetricCard(7, 5);
    folder.Write("cards/a.bmp", testimages::BmpOf(card));
    folder.Write("cards/top.bmp", testimages::BmpOf(card, true));
    ASSERT_TRUE(card.SaveAsPng(folder.Path() + "/cards/a.png"));
    folder.Write("cards/g.gif", testimages::GifOf(2, 1, {1, 2}, {kMagenta, kRed, kBlue}, 0));
    folder.Write("cards/bad.bmp", "BMxxxx not really");

    for (const char* name : {"Cards\\A.BMP", "cards/top.bmp", "cards\\a.png"}) {
        auto loaded = Picture::Load(name);
        ASSERT_TRUE(loaded) << name;
        EXPECT_TRUE(loaded->SamePixels(card)) << name;
    }
    auto gif = Picture::Load("cards/g.gif");
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->GetPixel(0, 0), kRed);
    EXPECT_EQ(gif->GetPixel(1, 0), kBlue);
    EXPECT_FALSE(Picture::Load("cards/bad.bmp"));
    EXPECT_FALSE(Picture::Load("cards/none.bmp"));
    EXPECT_FALSE(Picture::Load(""));
    EXPECT_FALSE(Picture::Load("../outside.bmp"));
}

TEST(Picture, AFileDeclaringMorePixelsThanItHoldsOrTheLimitIsRefused) {
    testsupport::TempProgramFolder folder;
    const std::string whole = testimages::BmpOf(testimages::AsymmetricCard(5, 4));
    std::string tall = testimages::BmpOf(Picture(1, 1, kRed)); // then declared 1 x 8192
    tall[22] = 0;
    tall[23] = 0x20;
    std::string tallTopDown = tall; // the same rows, top row first
    tallTopDown.replace(22, 4, std::string("\x00\xE0\xFF\xFF", 4));
    std::string farOffset = whole;
    farOffset[10] = '\x7F'; // the rows would start past the end of the file
    std::string hugeGif = testimages::GifOf(1, 1, {1}, {kWhite, kRed}, -1);
    hugeGif.replace(6, 4, std::string("\x01\x10\x00\x10", 4));              // a screen of 4097 x 4096
    std::string thinGif = testimages::GifOf(1, 1, {1}, {kWhite, kRed}, -1); // a 1000 x 1000 frame, 4 bytes
    thinGif.replace(6, 4, std::string("\xE8\x03\xE8\x03", 4));
    thinGif.replace(30, 4, std::string("\xE8\x03\xE8\x03", 4));
    std::string largeGif = hugeGif;
    largeGif.replace(6, 4, std::string("\x00\x04\x00\x04", 4)); // 1024 x 1024 is fine
    struct Case {
        const char* name;
        std::string bytes;
        bool loads;
    } cases[] = {
        {"whole.bmp", whole, true},
        {"short.bmp", whole.substr(0, whole.size() - 1), false},
        {"tall.bmp", tall, false},
        {"tall-top-down.bmp", tallTopDown, false},
        {"offset.bmp", farOffset, false},
        {"header-only.bmp", whole.substr(0, 30), false},
        {"huge.gif", hugeGif, false},
        {"thin.gif", thinGif, false},
        {"wide-frame.gif", testimages::GifOf(300, 2, std::vector<std::uint8_t>(600, 1), {kWhite, kRed}, -1),
         true},
        {"large.gif", largeGif, true},
    };
    for (const auto& c : cases) {
        folder.Write(c.name, c.bytes);
        EXPECT_EQ(Picture::Load(c.name).has_value(), c.loads) << c.name;
    }
    static_assert(std::int64_t{4097} * 4096 > Picture::kMaxPixels);
    EXPECT_EQ(Picture::Load("large.gif")->Width(), 1024);
}

TEST(Picture, EveryPictureOfTheBundledGamesLoads) {
    testsupport::TempProgramFolder folder;
    folder.CopyIn(KARVEL_GAMES, "games");
    int pictures = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.Path() + "/games")) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".gif" && ext != ".jpg" && ext != ".bmp" && ext != ".png") continue;
        ++pictures;
        const std::string relative = entry.path().string().substr(folder.Path().size() + 1);
        EXPECT_TRUE(Picture::Load(relative).has_value()) << relative;
    }
    EXPECT_GT(pictures, 50);
}

TEST(Picture, GifTransparentPixelsKeepTheFilesColour) {
    testsupport::TempProgramFolder folder;
    folder.Write("t.gif", testimages::GifOf(2, 1, {0, 1}, {MakeColour(0, 255, 0), kRed}, 0));
    auto gif = Picture::Load("t.gif");
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->GetPixel(0, 0), MakeColour(0, 255, 0));
    EXPECT_EQ(gif->GetPixel(1, 0), kRed);
}

// Every kind of see-through pixel a PNG can carry keeps the colour the file stores beneath it
// (a grey's transparent grey too); asked for a key, the picture shows the key exactly there.
TEST(Picture, SeeThroughPixelsKeepTheFilesColourAndTakeAKey) {
    testsupport::TempProgramFolder folder;
    auto grey = [](int g) { return MakeColour(g, g, g); };
    const Colour dark = MakeColour(16, 32, 48), light = MakeColour(64, 80, 96);
    const std::string rgbRow("\x10\x20\x30\x40\x50\x60", 6);
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<Colour> colours; // pixel 0 is see-through, the others not
    } cases[] = {
        {"grey, transparent grey 255",
         testimages::PngOf(3, 1, 8, 0, {std::string("\xFF\x00\x80", 3)}, "", std::string("\x00\xFF", 2)),
         {grey(255), grey(0), grey(128)}},
        {"grey of 4 bits, transparent grey 5",
         testimages::PngOf(2, 1, 4, 0, {std::string("\x5F", 1)}, "", std::string("\x00\x05", 2)),
         {grey(85), grey(255)}},
        {"grey of 1 bit, transparent white",
         testimages::PngOf(2, 1, 1, 0, {std::string("\x80", 1)}, "", std::string("\x00\x01", 2)),
         {grey(255), grey(0)}},
        {"grey of 16 bits",
         testimages::PngOf(2, 1, 16, 0, {std::string("\x12\x34\xFF\xFF", 4)}, "", std::string("\x12\x34", 2)),
         {grey(0x12), grey(255)}},
        {"RGB, transparent colour",
         testimages::PngOf(2, 1, 8, 2, {rgbRow}, "", std::string("\x00\x10\x00\x20\x00\x30", 6)),
         {dark, light}},
        {"palette",
         testimages::PngOf(2, 1, 8, 3, {std::string("\x00\x01", 2)}, rgbRow, std::string("\x00", 1)),
         {dark, light}},
        {"RGB and alpha",
         testimages::PngOf(2, 1, 8, 6, {std::string("\x10\x20\x30\x00\x40\x50\x60\xFF", 8)}),
         {dark, light}},
        {"RGB and alpha below half, and just at half",
         testimages::PngOf(3, 1, 8, 6, {std::string("\x10\x20\x30\x7F\x40\x50\x60\x80\x40\x50\x60\xFF", 12)}),
         {dark, light, light}},
        {"grey and alpha",
         testimages::PngOf(2, 1, 8, 4, {std::string("\x77\x00\x88\xFF", 4)}),
         {grey(0x77), grey(0x88)}},
    };
    for (const auto& c : cases) {
        folder.Write("t.png", c.bytes);
        Picture::ForgetShared();
        const auto loaded = Picture::Load("t.png");
        ASSERT_TRUE(loaded) << c.name;
        bool seeThrough = false;
        const auto keyed = Picture::LoadShared("t.png", kMagenta, seeThrough);
        ASSERT_TRUE(keyed) << c.name;
        EXPECT_TRUE(seeThrough) << c.name;
        for (std::size_t x = 0; x < c.colours.size(); ++x) {
            EXPECT_EQ(loaded->GetPixel(static_cast<int>(x), 0), c.colours[x]) << c.name << " " << x;
            EXPECT_EQ(keyed->GetPixel(static_cast<int>(x), 0), x == 0 ? kMagenta : c.colours[x])
                << c.name << " " << x;
        }
    }
    // A picture without see-through pixels is the shared picture itself, whatever the key.
    folder.Write("opaque.png",
                 testimages::PngOf(2, 1, 8, 6, {std::string("\x10\x20\x30\xFF\x40\x50\x60\xFF", 8)}));
    bool seeThrough = true;
    const auto opaque = Picture::LoadShared("opaque.png", kMagenta, seeThrough);
    EXPECT_FALSE(seeThrough);
    EXPECT_TRUE(opaque->PixelsShared());
    const auto plain = Picture::LoadShared("opaque.png");
    EXPECT_EQ(opaque->Bits(), plain->Bits());
}

// Every control of one mask colour showing one file shares one painted picture; a GIF's
// transparent pixels already show its transparent colour, and that key paints nothing.
TEST(Picture, PicturesPaintedForOneKeyAreShared) {
    testsupport::TempProgramFolder folder;
    folder.Write("t.png",
                 testimages::PngOf(2, 1, 8, 6, {std::string("\x10\x20\x30\x00\x40\x50\x60\xFF", 8)}));
    folder.Write("t.gif", testimages::GifOf(2, 1, {0, 1}, {MakeColour(0, 255, 0), kRed}, 0));
    bool seeThrough = false;
    const auto first = Picture::LoadShared("t.png", kMagenta, seeThrough);
    const auto second = Picture::LoadShared("t.png", kMagenta, seeThrough);
    const auto other = Picture::LoadShared("t.png", kBlue, seeThrough);
    EXPECT_EQ(first->Bits(), second->Bits());
    EXPECT_NE(first->Bits(), other->Bits());
    EXPECT_EQ(other->GetPixel(0, 0), kBlue);
    const auto gif = Picture::LoadShared("t.gif", MakeColour(0, 255, 0), seeThrough);
    EXPECT_TRUE(seeThrough);
    const auto plainGif = Picture::LoadShared("t.gif");
    EXPECT_EQ(gif->Bits(), plainGif->Bits());
}

namespace {

using testimages::PutLE;

// A BMP with an info header of `size` bytes: the 40-byte header, then from 52 bytes on the red,
// green and blue masks and from 56 bytes the alpha mask; a palette follows the header.
std::string BmpWithHeader(std::uint32_t size, int bits, std::uint32_t compression, std::uint32_t alphaMask,
                          const std::string& palette, const std::string& rows, int w, int h) {
    std::string info;
    PutLE(info, size, 4);
    PutLE(info, static_cast<std::uint32_t>(w), 4);
    PutLE(info, static_cast<std::uint32_t>(h), 4);
    PutLE(info, 1, 2);
    PutLE(info, static_cast<std::uint32_t>(bits), 2);
    PutLE(info, compression, 4);
    PutLE(info, static_cast<std::uint32_t>(rows.size()), 4);
    PutLE(info, 2835, 4);
    PutLE(info, 2835, 4);
    PutLE(info, static_cast<std::uint32_t>(palette.size() / 4), 4);
    PutLE(info, 0, 4);
    const bool sixteen = bits == 16;
    PutLE(info, sixteen ? 0xF800 : 0xFF0000, 4);
    PutLE(info, sixteen ? 0x07E0 : 0xFF00, 4);
    PutLE(info, sixteen ? 0x001F : 0xFF, 4);
    PutLE(info, alphaMask, 4);
    info.resize(size);
    std::string out = "BM";
    PutLE(out, static_cast<std::uint32_t>(14 + info.size() + palette.size() + rows.size()), 4);
    PutLE(out, 0, 4);
    PutLE(out, static_cast<std::uint32_t>(14 + info.size() + palette.size()), 4);
    return out + info + palette + rows;
}

} // namespace

// Image editors write info headers of 56 bytes (and 52): read as the 40-byte header followed by
// the colour masks, their pictures show as a decoder that knows them shows them.
TEST(Picture, BmpsWithHeadersOfColourMasksLoad) {
    testsupport::TempProgramFolder folder;
    const Colour dark = MakeColour(16, 32, 48), light = MakeColour(64, 80, 96);
    // Two rows of two pixels, bottom row first: dark, light over light, dark.
    std::string rows32, rows24, rows8, rows16;
    for (Colour c : {light, dark, dark, light}) {
        PutLE(rows32,
              (static_cast<std::uint32_t>(platform::RedOf(c)) << 16) | (platform::GreenOf(c) << 8) |
                  platform::BlueOf(c),
              4);
        rows24 += std::string{static_cast<char>(platform::BlueOf(c)), static_cast<char>(platform::GreenOf(c)),
                              static_cast<char>(platform::RedOf(c))};
        rows8 += static_cast<char>(c == dark ? 1 : 0);
        PutLE(rows16, c == dark ? 0xF800 : 0x001F, 2);
    }
    rows24.insert(6, 2, '\0'); // each row padded to 4 bytes
    rows24 += std::string(2, '\0');
    rows8.insert(2, 2, '\0');
    rows8 += std::string(2, '\0');
    const std::string palette("\x60\x50\x40\x00\x30\x20\x10\x00", 8); // light, dark
    struct Case {
        const char* name;
        std::string bytes;
        Colour topLeft, topRight;
    } cases[] = {
        {"56 bytes, 32 bits with colour masks and an alpha mask",
         BmpWithHeader(56, 32, 3, 0xFF000000, "", rows32, 2, 2), dark, light},
        {"56 bytes, 32 bits plain", BmpWithHeader(56, 32, 0, 0, "", rows32, 2, 2), dark, light},
        {"56 bytes, 24 bits", BmpWithHeader(56, 24, 0, 0, "", rows24, 2, 2), dark, light},
        {"56 bytes, 8 bits with a palette", BmpWithHeader(56, 8, 0, 0, palette, rows8, 2, 2), dark, light},
        {"56 bytes, 16 bits of 5, 6 and 5", BmpWithHeader(56, 16, 3, 0, "", rows16, 2, 2),
         MakeColour(0xF8, 0, 0), MakeColour(0, 0, 0xF8)},
        {"52 bytes, 32 bits with colour masks", BmpWithHeader(52, 32, 3, 0, "", rows32, 2, 2), dark, light},
        {"40 bytes, 24 bits", BmpWithHeader(40, 24, 0, 0, "", rows24, 2, 2), dark, light},
    };
    for (const auto& c : cases) {
        folder.Write("t.bmp", c.bytes);
        const auto loaded = Picture::Load("t.bmp");
        ASSERT_TRUE(loaded) << c.name;
        EXPECT_EQ(loaded->Width(), 2) << c.name;
        EXPECT_EQ(loaded->Height(), 2) << c.name;
        EXPECT_EQ(loaded->GetPixel(0, 0), c.topLeft) << c.name;
        EXPECT_EQ(loaded->GetPixel(1, 0), c.topRight) << c.name;
        EXPECT_EQ(loaded->GetPixel(0, 1), c.topRight) << c.name;
        EXPECT_EQ(loaded->GetPixel(1, 1), c.topLeft) << c.name;
    }
    // Rows the file does not hold are refused as with every header.
    folder.Write("short.bmp", BmpWithHeader(56, 24, 0, 0, "", rows24.substr(0, 8), 2, 2));
    EXPECT_FALSE(Picture::Load("short.bmp"));
}

TEST(Fonts, PointsBecomePixelsAtTwentyTwipsAPoint) {
    EXPECT_EQ(platform::PixelHeightOfPoints(12), 16);
    EXPECT_EQ(platform::PixelHeightOfPoints(8.25), 11);
    EXPECT_EQ(platform::PixelHeightOfPoints(9), 12);
    platform::TextSize one = platform::MeasureText({"Arial", 16, false}, "8");
    platform::TextSize two = platform::MeasureText({"Arial", 16, false}, "88");
    EXPECT_GT(one.width, 0);
    EXPECT_EQ(two.width, 2 * one.width);
    EXPECT_GE(one.height, 16);
    EXPECT_EQ(platform::MeasureText({"Arial", 16, false}, "").width, 0);
    EXPECT_GT(platform::MeasureText({"Arial", 16, true}, "rtrt").width,
              platform::MeasureText({"Arial", 16, false}, "rtrt").width);
}
