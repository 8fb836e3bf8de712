// Image files made in the tests: BMP, GIF and PNG bytes written by hand from a picture, so that
// the loaders see real files of each kind the table uses.
#pragma once

#include "platform/Picture.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace testimages {

inline void PutLE(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A 24-bit BMP, bottom row first (or top row first, with a negative height, when topDown). An info
// header longer than 40 bytes carries colour masks (zero, unused by 24 bits) and zeros after them,
// as image editors write headers of 56 bytes.
inline std::string BmpOf(const platform::Picture& picture, bool topDown = false,
                         std::uint32_t headerSize = 40) {
    const int w = picture.Width(), h = picture.Height();
    const int stride = (w * 3 + 3) / 4 * 4;
    const std::uint32_t offset = 14 + headerSize;
    std::string out = "BM";
    PutLE(out, static_cast<std::uint32_t>(offset + stride * h), 4);
    PutLE(out, 0, 4);
    PutLE(out, offset, 4);
    PutLE(out, headerSize, 4);
    PutLE(out, static_cast<std::uint32_t>(w), 4);
    PutLE(out, static_cast<std::uint32_t>(topDown ? -h : h), 4);
    PutLE(out, 1, 2);
    PutLE(out, 24, 2);
    PutLE(out, 0, 4);
    PutLE(out, static_cast<std::uint32_t>(stride * h), 4);
    PutLE(out, 2835, 4);
    PutLE(out, 2835, 4);
    PutLE(out, 0, 4);
    PutLE(out, 0, 4);
    out.append(headerSize - 40, '\0');
    for (int r = 0; r < h; ++r) {
        const int y = topDown ? r : h - 1 - r;
        for (int x = 0; x < w; ++x) {
            platform::Colour c = picture.GetPixel(x, y);
            out += static_cast<char>(platform::BlueOf(c));
            out += static_cast<char>(platform::GreenOf(c));
            out += static_cast<char>(platform::RedOf(c));
        }
        out.append(static_cast<std::size_t>(stride - w * 3), '\0');
    }
    return out;
}

// A GIF with a 4-entry global colour table; pixels are indexes 0..3. With transparentIndex >= 0
// a graphic control extension marks that entry see-through. The image data sends a clear code
// before every pixel, so that every code stays 3 bits wide.
inline std::string GifOf(int w, int h, const std::vector<std::uint8_t>& indexes,
                         const std::vector<platform::Colour>& palette, int transparentIndex) {
    std::string out = "GIF89a";
    PutLE(out, static_cast<std::uint32_t>(w), 2);
    PutLE(out, static_cast<std::uint32_t>(h), 2);
    out += static_cast<char>(0x81); // global table of 4 entries
    out += '\0';
    out += '\0';
    for (int i = 0; i < 4; ++i) {
        platform::Colour c = i < static_cast<int>(palette.size()) ? palette[static_cast<std::size_t>(i)] : 0;
        out += static_cast<char>(platform::RedOf(c));
        out += static_cast<char>(platform::GreenOf(c));
        out += static_cast<char>(platform::BlueOf(c));
    }
    if (transparentIndex >= 0) {
        out += "\x21\xF9\x04";
        out += '\x01';
        out += std::string("\0\0", 2);
        out += static_cast<char>(transparentIndex);
        out += '\0';
    }
    out += '\x2C';
    PutLE(out, 0, 4);
    PutLE(out, static_cast<std::uint32_t>(w), 2);
    PutLE(out, static_cast<std::uint32_t>(h), 2);
    out += '\0';
    out += '\x02'; // minimum code size
    std::vector<std::uint8_t> data;
    std::uint32_t bits = 0;
    int count = 0;
    auto emit = [&](std::uint32_t code) {
        bits |= code << count;
        count += 3;
        while (count >= 8) {
            data.push_back(static_cast<std::uint8_t>(bits & 0xFF));
            bits >>= 8;
            count -= 8;
        }
    };
    for (std::uint8_t index : indexes) {
        emit(4); // clear
        emit(index);
    }
    emit(5); // end
    if (count > 0) data.push_back(static_cast<std::uint8_t>(bits & 0xFF));
    for (std::size_t i = 0; i < data.size(); i += 255) {
        std::size_t n = std::min<std::size_t>(255, data.size() - i);
        out += static_cast<char>(n);
        out.append(reinterpret_cast<const char*>(data.data() + i), n);
    }
    out += '\0';
    out += '\x3B';
    return out;
}

inline void PutBE(std::string& out, std::uint32_t value) {
    for (int i = 3; i >= 0; --i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// A PNG of the given bit depth and colour type (0 grey, 2 RGB, 3 palette, 4 grey and alpha,
// 6 RGB and alpha) from its rows of samples as the format lays them out (without the filter
// byte), with an optional palette and tRNS chunk. The rows are stored uncompressed.
inline std::string PngOf(int w, int h, int depth, int colourType, const std::vector<std::string>& rows,
                         const std::string& palette = "", const std::string& transparency = "") {
    auto crc = [](const std::string& bytes) {
        std::uint32_t c = 0xFFFFFFFFu;
        for (unsigned char b : bytes) {
            c ^= b;
            for (int k = 0; k < 8; ++k)
                c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
        }
        return c ^ 0xFFFFFFFFu;
    };
    std::string out("\x89PNG\r\n\x1A\n", 8);
    auto chunk = [&](const char* type, const std::string& data) {
        PutBE(out, static_cast<std::uint32_t>(data.size()));
        const std::string body = type + data;
        out += body;
        PutBE(out, crc(body));
    };
    std::string header;
    PutBE(header, static_cast<std::uint32_t>(w));
    PutBE(header, static_cast<std::uint32_t>(h));
    header += static_cast<char>(depth);
    header += static_cast<char>(colourType);
    header.append(3, '\0');
    chunk("IHDR", header);
    if (!palette.empty()) chunk("PLTE", palette);
    if (!transparency.empty()) chunk("tRNS", transparency);
    std::string raw;
    for (const std::string& row : rows)
        raw += '\0' + row;
    // A zlib stream of stored blocks.
    std::string z("\x78\x01", 2);
    std::size_t at = 0;
    do {
        const std::size_t n = std::min<std::size_t>(65535, raw.size() - at);
        z += static_cast<char>(at + n == raw.size() ? 1 : 0);
        PutLE(z, static_cast<std::uint32_t>(n), 2);
        PutLE(z, static_cast<std::uint32_t>(~n & 0xFFFF), 2);
        z += raw.substr(at, n);
        at += n;
    } while (at < raw.size());
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    PutBE(z, (b << 16) | a);
    chunk("IDAT", z);
    chunk("IEND", "");
    return out;
}

// A PNG with an alpha channel from a picture and the pixels to leave see-through; those keep
// the colour of the picture beneath their alpha of 0.
inline std::string RgbaPngOf(const platform::Picture& picture, const std::vector<bool>& seeThrough) {
    std::vector<std::string> rows;
    for (int y = 0; y < picture.Height(); ++y) {
        std::string row;
        for (int x = 0; x < picture.Width(); ++x) {
            const platform::Colour c = picture.GetPixel(x, y);
            row += static_cast<char>(platform::RedOf(c));
            row += static_cast<char>(platform::GreenOf(c));
            row += static_cast<char>(platform::BlueOf(c));
            row += seeThrough[static_cast<std::size_t>(y * picture.Width() + x)] ? '\0' : '\xFF';
        }
        rows.push_back(row);
    }
    return PngOf(picture.Width(), picture.Height(), 8, 6, rows);
}

// How many pixels of the picture have the colour.
inline int CountColour(const platform::Picture& p, platform::Colour c) {
    int n = 0;
    for (int y = 0; y < p.Height(); ++y)
        for (int x = 0; x < p.Width(); ++x)
            n += p.GetPixel(x, y) == c;
    return n;
}

// A card picture whose every edge can be told apart: a red top row, a green left column, a blue
// bottom row, a yellow right column, white inside with a black dot near the top-left corner.
inline platform::Picture AsymmetricCard(int w, int h) {
    platform::Picture p(w, h, platform::MakeColour(255, 255, 255));
    p.FillRect(0, 0, w, 1, platform::MakeColour(255, 0, 0));
    p.FillRect(0, 0, 1, h, platform::MakeColour(0, 255, 0));
    p.FillRect(0, h - 1, w, 1, platform::MakeColour(0, 0, 255));
    p.FillRect(w - 1, 0, 1, h, platform::MakeColour(255, 255, 0));
    p.FillRect(5, 8, 6, 4, platform::MakeColour(0, 0, 0));
    for (int y = 20; y < h - 10; ++y)
        for (int x = 8; x < w - 8; ++x)
            if ((x * 7 + y * 3) % 11 == 0) p.SetPixel(x, y, platform::MakeColour(x * 3, y * 2, 120));
    return p;
}

} // namespace testimages
