// A picture in memory: 32-bit pixels in the layout the screen paints from without converting
// (0xFFRRGGBB), with the drawing operations the controls need. Colours are given as definitions
// hold them (red in the low byte); PixelOf and ColourOf turn one into the other. A picture is a
// value: copies share their pixels until one of them is changed.
#pragma once

#include "platform/Fonts.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace platform {

// 0x00BBGGRR. Values from &H80000000 up name a system colour (see ResolveColour).
using Colour = std::uint32_t;

constexpr Colour MakeColour(int red, int green, int blue) {
    return static_cast<Colour>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int RedOf(Colour c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

constexpr Colour kSystemColourFlag = 0x80000000u;
// A system colour (&H80000000 plus its index) turned into the colour it shows now; other values
// lose their top byte.
Colour ResolveColour(Colour c);

// How a block transfer combines the source with the destination.
enum class RasterOp { Copy, And, Or };

// Colour-on-colour drops or repeats whole pixels; halftone averages the pixels it shrinks.
enum class StretchMode { ColourOnColour = 3, Halftone = 4 };

// Cuts a block of width x height at (sx, sy) of a source of sw x sh, going to (dx, dy) of a
// destination of dw x dh, to what lies inside both; false when nothing is left.
bool ClipBlock(int& dx, int& dy, int& width, int& height, int& sx, int& sy, int sw, int sh, int dw, int dh);

class Picture {
  public:
    // No picture may grow beyond this many pixels a side; larger requests are cut to it.
    static constexpr int kMaxSide = 8192;
    // No image file with more pixels than this is decoded (64 MB of pixels): a few bytes of
    // header can declare a picture of any size, and one such file must not exhaust the memory.
    static constexpr int kMaxPixels = 4096 * 4096;
    // What GetPixel gives for a point outside the picture.
    static constexpr Colour kNoPixel = 0xFFFFFFFFu;

    Picture();
    Picture(int width, int height, Colour fill = 0);
    Picture(const Picture& other);
    Picture& operator=(const Picture& other);
    Picture(Picture&& other) noexcept;
    Picture& operator=(Picture&& other) noexcept;
    ~Picture();

    int Width() const;
    int Height() const;
    bool IsEmpty() const;

    // The picture of an image file (BMP, GIF, JPEG, PNG), given as a path of the model; nullopt
    // when it cannot be found or decoded, when it is larger than kMaxSide a side or kMaxPixels
    // in all, or when its file is too short to hold the rows its header declares.
    static std::optional<Picture> Load(const std::string& path);
    // The same picture, decoded once for everyone who shows the file while it stays as it is
    // (same modification time and size): the copies handed out share their pixels until one of
    // them is changed. A table of hundreds of cards from a few dozen files holds a few dozen.
    static std::optional<Picture> LoadShared(const std::string& path);
    // LoadShared's picture with the pixels that the file itself marks see-through (an alpha
    // channel, a PNG's transparent colour, a GIF's transparent index) painted in `key`, so that a
    // control whose mask colour is `key` shows them see-through and lets clicks pass there, as it
    // does on its mask colour; `seeThrough` tells whether the file marks any pixel so. The
    // pictures of one file and one key share their pixels.
    static std::optional<Picture> LoadShared(const std::string& path, Colour key, bool& seeThrough);
    // The picture of an image file no larger than maxSide a side: a larger one is decoded at the
    // largest size that fits, its proportions kept, so that it never costs more than that once
    // decoded (the decoders that cannot shrink while they decode hold the whole picture for the
    // moment they decode it, within kMaxPixels). Pictures within the size are LoadShared's.
    static std::optional<Picture> LoadWithin(const std::string& path, int maxSide);
    // LoadWithin's picture with the file's own see-through pixels painted in `key`, as the keyed
    // LoadShared gives it.
    static std::optional<Picture> LoadWithin(const std::string& path, int maxSide, Colour key,
                                             bool& seeThrough);
    // Forgets the shared pictures, so that the next LoadShared of each file decodes it again;
    // whoever holds one keeps it.
    static void ForgetShared();
    // While a scope lives, the shared pictures look at each file on disk once: where a path
    // leads and whether the file changed are taken from the first look in the scope. Laying out a
    // table of hundreds of cards from a few dozen files then looks at a few dozen files instead
    // of checking each card's. A file changed while the scope lives is seen by the first look
    // after the scope. Scopes nest; the outermost one counts.
    class LookScope {
      public:
        LookScope();
        ~LookScope();
        LookScope(const LookScope&) = delete;
        LookScope& operator=(const LookScope&) = delete;
    };
    // True when another picture holds the very same pixels (a copy that neither has changed).
    bool PixelsShared() const;
    // A number that names these pixels: copies that share them share it, and no other picture
    // (decoded, drawn or changed since) ever has it.
    std::int64_t Identity() const;
    // Writes the picture as a PNG file under a real (UTF-8) file name; false on failure.
    bool SaveAsPng(const std::string& fileName) const;

    Colour GetPixel(int x, int y) const;
    void SetPixel(int x, int y, Colour c);
    bool SamePixels(const Picture& other) const;

    // A new size; what lay inside both sizes stays at its place, the rest is the fill colour.
    void Resize(int width, int height, Colour fill);
    void Fill(Colour c);
    void FillRect(int x, int y, int width, int height, Colour c);
    void DrawLine(int x1, int y1, int x2, int y2, Colour c);

    // Block transfer of a width x height block of src at (sx, sy) to (dx, dy); both blocks are
    // clipped to their pictures.
    void Copy(int dx, int dy, int width, int height, const Picture& src, int sx, int sy,
              RasterOp op = RasterOp::Copy);
    // Like Copy, leaving out the source pixels of the key colour.
    void CopyColourKey(int dx, int dy, int width, int height, const Picture& src, int sx, int sy, Colour key);
    // The block (sx, sy, sw, sh) of src stretched onto (dx, dy, dw, dh).
    void Stretch(int dx, int dy, int dw, int dh, const Picture& src, int sx, int sy, int sw, int sh,
                 StretchMode mode);

    // Text (ANSI) with its cell's top-left corner at (x, y), in smoothed glyphs. Turned text reads
    // upward from (x, y): its cell then lies right of x and above y.
    void DrawText(int x, int y, const std::string& text, const FontSpec& font, Colour c,
                  bool rotated = false);

    // Raw pixels for the imaging code: each is PixelOf the colour it shows, so that a card's
    // blit to the screen is a plain copy rather than a conversion of every pixel.
    static constexpr std::uint32_t PixelOf(Colour c) {
        return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
    }
    static constexpr Colour ColourOf(std::uint32_t pixel) {
        return ((pixel & 0xFFu) << 16) | (pixel & 0xFF00u) | ((pixel >> 16) & 0xFFu);
    }
    const std::uint32_t* Row(int y) const;
    std::uint32_t* Row(int y);
    // All rows at once: row y starts Stride() pixels after row y - 1.
    const std::uint32_t* Bits() const;
    std::uint32_t* Bits();
    int Stride() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    friend struct PictureAccess;
};

} // namespace platform
