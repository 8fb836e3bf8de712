// Windows-1252 text at the edges: the model keeps ANSI bytes in std::string, the file system and
// Qt speak Unicode. Our own 256-entry table, so the conversion is the same on every machine.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// UTF-8 text from Windows-1252 bytes. The five bytes that Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls of the same value, so every byte
// round-trips.
std::string Utf8FromAnsi(const std::string& ansi);

// Windows-1252 bytes from UTF-8 text. A character the code page cannot hold becomes "?",
// as the Windows conversion does; malformed UTF-8 bytes are taken as Latin-1.
std::string AnsiFromUtf8(const std::string& utf8);

// The Unicode code point of one Windows-1252 byte, and back (-1 when it has no byte).
char32_t CodePointOfAnsi(unsigned char byte);
int AnsiOfCodePoint(char32_t cp);

} // namespace platform

namespace platform {

// Upper and lower case of Windows-1252 text, letters of the code page included, as the
// Windows string functions change them. Lengths never change.
std::string AnsiUpper(std::string text);
std::string AnsiLower(std::string text);

// Case-insensitive equality of two Windows-1252 texts.
bool AnsiEqualNoCase(const std::string& a, const std::string& b);

// The upper case of one Windows-1252 byte, as AnsiUpper changes it.
constexpr unsigned char AnsiUpperByte(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 0x20);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 0x20);
    switch (c) {
    case 0x9A:
        return 0x8A;
    case 0x9C:
        return 0x8C;
    case 0x9E:
        return 0x8E;
    case 0xFF:
        return 0x9F;
    default:
        return c;
    }
}

// Hash and equality of names without regard to case, for maps of names that are looked up
// thousands of times: a look-up by a std::string_view neither folds nor copies the name.
struct AnsiNoCaseHash {
    using is_transparent = void;
    // Folds eight bytes at a time into one word and mixes the words: a look-up hashes its name
    // every time, and a byte-by-byte multiply chain made that most of the look-up's cost.
    std::size_t operator()(std::string_view s) const {
        constexpr std::uint64_t kMix = 0x9E3779B97F4A7C15ull;
        std::uint64_t h = kMix ^ s.size();
        std::size_t i = 0;
        const auto word = [&](std::size_t count) {
            std::uint64_t w = 0;
            for (std::size_t b = 0; b < count; ++b)
                w |= static_cast<std::uint64_t>(kUpper[static_cast<unsigned char>(s[i + b])]) << (8 * b);
            i += count;
            return w;
        };
        while (s.size() - i >= 8) {
            h = (h ^ word(8)) * kMix;
            h ^= h >> 32;
        }
        h = (h ^ word(s.size() - i)) * kMix;
        // The low bits pick the bucket: every bit of the name must reach them.
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDull;
        h ^= h >> 33;
        return static_cast<std::size_t>(h);
    }
    static constexpr std::array<unsigned char, 256> kUpper = [] {
        std::array<unsigned char, 256> table{};
        for (int c = 0; c < 256; ++c)
            table[static_cast<std::size_t>(c)] = AnsiUpperByte(static_cast<unsigned char>(c));
        return table;
    }();
};

struct AnsiNoCaseEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const {
        if (a.size() != b.size()) return false;
        for (std::size_t i = 0; i < a.size(); ++i)
            if (AnsiNoCaseHash::kUpper[static_cast<unsigned char>(a[i])] !=
                AnsiNoCaseHash::kUpper[static_cast<unsigned char>(b[i])])
                return false;
        return true;
    }
};

} // namespace platform
