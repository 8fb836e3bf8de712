// Windows-1252 text at the edges: the model keeps ANSI bytes in std::string, the file system and
// Qt speak Unicode. Our own 256-entry table, so the conversion is the same on every machine.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

// The places of names in a list that its owner keeps, found by their AnsiNoCaseHash: one array of
// slots instead of a heap node per name, for lists of thousands of names that are made often.
// Each slot holds the high half of the name's hash beside its place, so that a probe reads the
// list only for a likely match. Names are put in list order and never taken out: a name put in
// twice is found at its first place.
class NoCaseIndex {
  public:
    // Empties the index and makes room for `count` names.
    void Reserve(std::size_t count) {
        std::size_t size = 8;
        while (size < count * 2)
            size *= 2;
        slots_.assign(size, 0);
    }

    // Whether a list of `count` names needs a larger index before one more is put in.
    bool Full(std::size_t count) const { return (count + 1) * 2 > slots_.size(); }

    // The first place put in with `hash` for which `matches(place)` holds; npos when none.
    template <typename Matches> std::size_t Find(std::size_t hash, const Matches& matches) const {
        if (slots_.empty()) return std::string::npos;
        const std::size_t mask = slots_.size() - 1;
        const std::uint64_t high = static_cast<std::uint64_t>(hash) >> 32 << 32;
        for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
            const std::uint64_t slot = slots_[i];
            if (slot == 0) return std::string::npos;
            if ((slot & ~kPlace) == high && matches(static_cast<std::size_t>((slot & kPlace) - 1)))
                return static_cast<std::size_t>((slot & kPlace) - 1);
        }
    }

    // Puts in the name at `place` of the list; the caller made room (see Full).
    void Put(std::size_t hash, std::size_t place) {
        const std::size_t mask = slots_.size() - 1;
        std::size_t i = hash & mask;
        while (slots_[i] != 0)
            i = (i + 1) & mask;
        slots_[i] = (static_cast<std::uint64_t>(hash) >> 32 << 32) | (static_cast<std::uint64_t>(place) + 1);
    }

  private:
    static constexpr std::uint64_t kPlace = 0xFFFFFFFFull;
    std::vector<std::uint64_t> slots_;
};

} // namespace platform
