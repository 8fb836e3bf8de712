#include "TestSupport.h"

#include "controls/ImageInfo.h"

#include <gtest/gtest.h>

#include <string>

using controls::ImageInfo;

namespace {

std::string BE16(int v) {
    return {static_cast<char>((v >> 8) & 0xFF), static_cast<char>(v & 0xFF)};
}
std::string LE16(int v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
}
std::string BE32(long v) {
    return BE16(static_cast<int>((v >> 16) & 0xFFFF)) + BE16(static_cast<int>(v & 0xFFFF));
}
std::string LE32(long v) {
    return LE16(static_cast<int>(v & 0xFFFF)) + LE16(static_cast<int>((v >> 16) & 0xFFFF));
}
std::string Bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list)
        s += static_cast<char>(b);
    return s;
}

std::string Png(long w, long h) {
    return Bytes({0x89, 'P', 'N', 'G', 13, 10, 26, 10}) + BE32(13) + "IHDR" + BE32(w) + BE32(h) +
           Bytes({8, 6, 0, 0, 0}) + std::string(20, '\0');
}

// A GIF header and a global table of 2^n entries, entry i holding (i, i + 1, i + 2) mod 256.
std::string GifHead(int w, int h, int packed) {
    std::string s = "GIF89a" + LE16(w) + LE16(h) + static_cast<char>(packed) + std::string(2, '\0');
    int entries = 1 << ((packed & 7) + 1);
    for (int i = 0; i < entries; ++i)
        s += Bytes({i & 0xFF, (i + 1) & 0xFF, (i + 2) & 0xFF});
    return s;
}
std::string Gce(int packed, int index) {
    return Bytes({0x21, 0xF9, 4, packed, 0, 0, index, 0});
}
std::string Comment(const std::string& text) {
    return Bytes({0x21, 0xFE, static_cast<int>(text.size())}) + text + std::string(1, '\0');
}
// An animated picture's loop count, and XMP data in three sub-blocks, as image editors write them.
const std::string kLoop = Bytes({0x21, 0xFF, 11}) + "NETSCAPE2.0" + Bytes({3, 1, 0, 0, 0});
const std::string kXmp = Bytes({0x21, 0xFF, 11}) + "XMP DataXMP" + Bytes({5}) + "<?xpa" + Bytes({3}) +
                         std::string(3, '\xFE') + Bytes({1, 0xF9, 0});
const std::string kImageBlock = Bytes({0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 0x44, 1, 0, 0x3B});

std::string Bmp(long w, long h) {
    return "BM" + LE32(70) + LE32(0) + LE32(54) + LE32(40) + LE32(w) + LE32(h) + LE16(1) + LE16(24) +
           std::string(24, '\0') + std::string(16, '\x7F');
}

std::string Segment(int marker, const std::string& body) {
    return Bytes({0xFF, marker}) + BE16(static_cast<int>(body.size()) + 2) + body;
}
std::string Sof(int marker, int w, int h) {
    return Segment(marker, Bytes({8}) + BE16(h) + BE16(w) + Bytes({3, 1, 0x11, 0}));
}
const std::string kSoi = Bytes({0xFF, 0xD8});
const std::string kTail = std::string(16, '\0');

struct Case {
    const char* name;
    std::string bytes;
    int type;
    int width;
    int height;
    bool transparent;
    int rgb;
};

} // namespace

TEST(ImageInfo, ReadsEveryHeaderCaseInBoundedTime) {
    const std::string jfif = Segment(0xE0, "JFIF" + std::string(10, '\0'));
    const std::string dqt = Segment(0xDB, std::string(65, '\x01'));
    const std::string dht = Segment(0xC4, std::string(30, '\x02'));
    const std::string bigExif = Segment(0xE1, "Exif" + std::string(0x9000, '\x03'));
    const Case cases[] = {
        {"png", Png(1000, 700), 3, 1000, 700, false, 0},
        {"png wider than 32767 comes out negative", Png(40000, 10), 3, -25536, 10, false, 0},
        {"png cut inside its height", Png(64, 48).substr(0, 23), 3, 64, 0, false, 0},
        {"png cut after its signature", Png(64, 48).substr(0, 8), 3, 0, 0, false, 0},
        {"gif without extensions", GifHead(30, 20, 0x81) + kImageBlock, 1, 30, 20, false, 0},
        {"gif with a transparent colour", GifHead(30, 20, 0x82) + Gce(0x01, 5) + kImageBlock, 1, 30, 20, true,
         5 + 256 * 6 + 65536 * 7},
        {"gif with a disposal method only", GifHead(30, 20, 0x82) + Gce(0x04, 5) + kImageBlock, 1, 30, 20,
         false, 0},
        {"gif with comments before the control extension",
         GifHead(8, 9, 0x81) + Comment("made by us") + Comment("") + Gce(0x05, 2) + kImageBlock, 1, 8, 9,
         true, 2 + 256 * 3 + 65536 * 4},
        {"gif with a loop count before the control extension",
         GifHead(8, 9, 0x81) + kLoop + Gce(0x01, 1) + kImageBlock, 1, 8, 9, true, 1 + 256 * 2 + 65536 * 3},
        {"gif with XMP data of several sub-blocks, a comment and a loop count first",
         GifHead(8, 9, 0x81) + kXmp + Comment("made by us") + kLoop + Gce(0x01, 2) + kImageBlock, 1, 8, 9,
         true, 2 + 256 * 3 + 65536 * 4},
        {"gif with a plain-text extension first",
         GifHead(8, 9, 0x81) + Bytes({0x21, 0x01, 12}) + std::string(12, '\x01') + Bytes({2, 'h', 'i', 0}) +
             Gce(0x01, 3) + kImageBlock,
         1, 8, 9, true, 3 + 256 * 4 + 65536 * 5},
        {"gif whose loop count comes before the image, no control extension",
         GifHead(8, 9, 0x81) + kLoop + kImageBlock, 1, 8, 9, false, 0},
        {"gif whose control extension after a loop count has no flag",
         GifHead(8, 9, 0x81) + kLoop + Gce(0x04, 1) + kImageBlock, 1, 8, 9, false, 0},
        {"gif whose application extension runs past the end",
         GifHead(8, 9, 0x81) + Bytes({0x21, 0xFF, 11}) + "NETSCAPE2.0" + Bytes({200, 1, 0}), 1, 8, 9, false,
         0},
        {"gif whose application label is no extension's",
         GifHead(8, 9, 0x80) + Bytes({0x2C, 0xFF, 0, 0x21, 0xF9, 4, 1, 0, 0, 1, 0}) + kImageBlock, 1, 8, 9,
         false, 0},
        {"gif with a 256 colour table walks from 782", GifHead(300, 200, 0xF7) + Gce(0x01, 255) + kImageBlock,
         1, 300, 200, true, 255 + 256 * 0 + 65536 * 1},
        {"gif cut before its extensions", GifHead(30, 20, 0x81).substr(0, 15), 1, 30, 20, false, 0},
        {"gif cut inside its control extension", GifHead(30, 20, 0x81) + Gce(0x01, 1).substr(0, 4), 1, 30, 20,
         false, 0},
        {"gif comment running past the end", GifHead(30, 20, 0x81) + Bytes({0x21, 0xFE, 200, 'x'}), 1, 30, 20,
         false, 0},
        {"gif cut after its width", std::string("GIF89a") + LE16(30), 1, 30, 0, false, 0},
        {"bmp", Bmp(71, 96), 4, 71, 96, false, 0},
        {"bmp stored top row first", Bmp(71, -96), 4, 71, 96, false, 0},
        {"bmp cut inside its height", Bmp(71, 96).substr(0, 21), 4, 71, 0, false, 0},
        {"jpeg baseline", kSoi + jfif + dqt + Sof(0xC0, 640, 480) + kTail, 2, 640, 480, false, 0},
        {"jpeg extended", kSoi + jfif + Sof(0xC1, 33, 44) + kTail, 2, 33, 44, false, 0},
        {"jpeg progressive", kSoi + jfif + dht + Sof(0xC2, 71, 96) + kTail, 2, 71, 96, false, 0},
        {"jpeg lossless", kSoi + Sof(0xC3, 5, 6) + kTail, 2, 5, 6, false, 0},
        {"jpeg with a table marker C4 before its frame", kSoi + dht + dqt + Sof(0xC0, 12, 13) + kTail, 2, 12,
         13, false, 0},
        {"jpeg whose only frame marker is C5", kSoi + jfif + Sof(0xC5, 71, 96) + kTail, 0, 0, 0, false, 0},
        {"jpeg behind a large exif segment", kSoi + bigExif + Sof(0xC0, 800, 600) + kTail, 2, 800, 600, false,
         0},
        {"jpeg of 10 bytes", kSoi + Bytes({0xFF, 0xC0, 0, 11, 8, 0, 1, 0}), 0, 0, 0, false, 0},
        {"jpeg segment length FFFF", kSoi + Bytes({0xFF, 0xE0, 0xFF, 0xFF}) + std::string(40, '\0'), 0, 0, 0,
         false, 0},
        {"jpeg segment length 0", kSoi + Bytes({0xFF, 0xE0, 0, 0}) + std::string(40, '\xFF'), 0, 0, 0, false,
         0},
        {"jpeg segment length 1", kSoi + Bytes({0xFF, 0xE0, 0, 1}) + std::string(40, '\0'), 0, 0, 0, false,
         0},
        {"jpeg frame marker cut off", kSoi + jfif + Sof(0xC0, 1, 2).substr(0, 3), 0, 0, 0, false, 0},
        {"fill bytes before a marker", kSoi + Bytes({0xFF, 0xFF, 0xFF}) + Sof(0xC0, 7, 8).substr(1) + kTail,
         2, 7, 8, false, 0},
        {"unknown signature", "hello, this is no picture at all", 0, 0, 0, false, 0},
        {"all FF bytes", std::string(5000, '\xFF'), 0, 0, 0, false, 0},
    };
    for (const Case& c : cases) {
        ImageInfo info;
        info.ReadImageBytes(c.bytes);
        EXPECT_EQ(info.ImageType(), c.type) << c.name;
        EXPECT_EQ(info.ImageWidth(), c.width) << c.name;
        EXPECT_EQ(info.ImageHeight(), c.height) << c.name;
        EXPECT_EQ(info.HasTransparency(), c.transparent) << c.name;
        EXPECT_EQ(info.TranspRGB(), c.rgb) << c.name;
        EXPECT_EQ(info.FileSize(), static_cast<int>(c.bytes.size())) << c.name;
    }
}

TEST(ImageInfo, TransparentIndexNamesItsTableEntry) {
    ImageInfo info;
    info.ReadImageBytes(GifHead(4, 4, 0x82) + Gce(0x01, 5) + kImageBlock);
    EXPECT_EQ(info.TranspIndex(), 5);
    EXPECT_EQ(info.TranspRGB(), 5 + 256 * 6 + 65536 * 7) << "bytes 28, 29, 30";
    // An index beyond a short file leaves the colour unread.
    ImageInfo cut;
    std::string bytes = GifHead(4, 4, 0x80);
    bytes += Gce(0x01, 200);
    cut.ReadImageBytes(bytes);
    EXPECT_TRUE(cut.HasTransparency());
    EXPECT_EQ(cut.TranspIndex(), 200);
    EXPECT_EQ(cut.TranspRGB(), 0);
}

TEST(ImageInfo, ReadsFilesOfTheProgramFolderAndNothingElse) {
    testsupport::TempProgramFolder folder;
    folder.Write("Cards/ace.png", Png(71, 96));
    folder.Write("Cards/empty.bmp", "");
    ImageInfo info;
    info.ReadImageInfo("cards\\ACE.PNG");
    EXPECT_EQ(info.ImageType(), ImageInfo::kPng);
    EXPECT_EQ(info.ImageWidth(), 71);
    EXPECT_EQ(info.FileSize(), static_cast<int>(Png(71, 96).size()));
    for (const char* name : {"Cards/empty.bmp", "Cards/none.png", ""}) {
        ImageInfo other;
        other.ReadImageInfo(name);
        EXPECT_EQ(other.ImageType(), 0) << name;
        EXPECT_EQ(other.ImageWidth(), 0) << name;
        EXPECT_FALSE(other.HasTransparency()) << name;
    }
    // A later read of a missing file forgets the type but keeps the sizes it had.
    info.ReadImageInfo("Cards/none.png");
    EXPECT_EQ(info.ImageType(), 0);
    EXPECT_EQ(info.ImageWidth(), 71);
}
