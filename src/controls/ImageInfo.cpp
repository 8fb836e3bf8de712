#include "controls/ImageInfo.h"

#include "common/Helpers.h"
#include "platform/Files.h"

#include <limits>

namespace controls {

bool ImageInfo::Has(std::size_t offset, std::size_t count) const {
    return offset <= bytes_.size() && count <= bytes_.size() - offset;
}

std::uint8_t ImageInfo::Byte(std::size_t offset) const {
    return static_cast<std::uint8_t>(bytes_[offset]);
}

// Sizes are 16-bit values taken as signed, as the control has always read them.
std::int32_t ImageInfo::WordLE(std::size_t offset) const {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(Byte(offset) | (Byte(offset + 1) << 8)));
}
std::int32_t ImageInfo::WordBE(std::size_t offset) const {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>((Byte(offset) << 8) | Byte(offset + 1)));
}

void ImageInfo::ReadImageInfo(const std::string& fileName) {
    type_ = kUnknown;
    fileSize_ = 0;
    transpIndex_ = 0;
    hasTransparency_ = false;
    if (fileName.empty() || !FileExists(fileName)) return;
    std::optional<std::string> bytes = platform::ReadFileBytes(fileName);
    if (!bytes) return;
    ReadImageBytes(*bytes);
}

void ImageInfo::ReadImageBytes(const std::string& bytes) {
    type_ = kUnknown;
    transpIndex_ = 0;
    hasTransparency_ = false;
    bytes_ = bytes;
    fileSize_ = bytes_.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())
                    ? std::numeric_limits<std::int32_t>::max()
                    : static_cast<std::int32_t>(bytes_.size());
    if (bytes_.empty()) return;

    if (Has(0, 3) && Byte(0) == 0x89 && Byte(1) == 'P' && Byte(2) == 'N') {
        type_ = kPng;
        if (Has(18, 2)) width_ = WordBE(18);
        if (Has(22, 2)) height_ = WordBE(22);
    } else if (Has(0, 3) && Byte(0) == 'G' && Byte(1) == 'I' && Byte(2) == 'F') {
        type_ = kGif;
        if (Has(6, 2)) width_ = WordLE(6);
        if (Has(8, 2)) height_ = WordLE(8);
        ReadGif();
    } else if (Has(0, 2) && Byte(0) == 'B' && Byte(1) == 'M') {
        type_ = kBmp;
        if (Has(18, 2)) width_ = WordLE(18);
        if (Has(22, 4)) {
            // A negative height marks a picture stored top row first; its size is the same.
            std::int32_t full = static_cast<std::int32_t>(
                static_cast<std::uint32_t>(Byte(22)) | (static_cast<std::uint32_t>(Byte(23)) << 8) |
                (static_cast<std::uint32_t>(Byte(24)) << 16) | (static_cast<std::uint32_t>(Byte(25)) << 24));
            std::int64_t magnitude = full < 0 ? -static_cast<std::int64_t>(full) : full;
            height_ = static_cast<std::int16_t>(static_cast<std::uint16_t>(magnitude & 0xFFFF));
        } else if (Has(22, 2)) {
            height_ = WordLE(22);
        }
    } else {
        ReadJpeg();
    }
    if (type_ != kUnknown) bytes_.clear();
}

void ImageInfo::ReadGif() {
    if (!Has(10, 1)) return;
    int n = (Byte(10) & 7) + 1;
    std::size_t p = 13 + 3 * (std::size_t{1} << n) + 1;
    // Blocks before the graphic control extension are passed: comments, each taken as one
    // sub-block, and the application and plain-text extensions that animated pictures and image
    // editors put first (a loop count, XMP data), each a chain of sub-blocks led by their lengths
    // and ended by an empty one. p stays on a block's label, one byte past its introducer.
    for (;;) {
        if (Has(p, 2) && Byte(p) == 0xFE) {
            p += Byte(p + 1) + 4;
        } else if (Has(p, 2) && (Byte(p) == 0xFF || Byte(p) == 0x01) && Byte(p - 1) == 0x21) {
            std::size_t q = p + 1;
            while (Has(q, 1) && Byte(q) != 0)
                q += std::size_t{Byte(q)} + 1;
            p = q + 2;
        } else {
            break;
        }
    }
    if (!Has(p, 6) || Byte(p) != 0xF9 || (Byte(p + 2) & 1) == 0) return;
    hasTransparency_ = true;
    transpIndex_ = Byte(p + 5);
    std::size_t c = 13 + 3 * static_cast<std::size_t>(transpIndex_);
    if (Has(c, 3)) {
        red_ = Byte(c);
        green_ = Byte(c + 1);
        blue_ = Byte(c + 2);
    }
}

void ImageInfo::ReadJpeg() {
    if (bytes_.size() <= 10) return;
    const std::size_t limit = bytes_.size() - 10;
    std::size_t i = 0;
    while (i < limit && !(Byte(i) == 0xFF && Byte(i + 1) == 0xD8 && Byte(i + 2) == 0xFF))
        ++i;
    if (i >= limit) return;
    std::size_t p = i + 2;
    while (p < limit) {
        if (Byte(p) != 0xFF || Byte(p + 1) == 0xFF) {
            ++p;
            continue;
        }
        std::size_t m = p + 1;
        std::uint8_t marker = Byte(m);
        if (marker >= 0xC0 && marker <= 0xC3) {
            type_ = kJpeg;
            height_ = WordBE(m + 4);
            width_ = WordBE(m + 6);
            return;
        }
        // Segment lengths are unsigned and count themselves: anything below 2 is a broken file,
        // and walking on would stand still or run backwards.
        std::size_t length = (static_cast<std::size_t>(Byte(m + 1)) << 8) | Byte(m + 2);
        if (length < 2) return;
        p = m + length;
    }
}

} // namespace controls
