#include "common/GraphicsMgmt.h"

#include "common/Helpers.h"
#include "common/Numbers.h"
#include "platform/Codec.h"
#include "platform/Picture.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr std::int32_t Rgb(int red, int green, int blue) {
    return static_cast<std::int32_t>(platform::MakeColour(red, green, blue));
}

// A component outside 0..255 would spill into its neighbours' bytes: clamp it.
std::int32_t Component(const std::string& field) {
    return std::clamp(RoundToInt32(LeadingNumber(field)), 0, 255);
}

bool ParseTriple(const std::string& text, const std::string& separator, std::int32_t& colour) {
    if (CountFields(text, separator) != 3) return false;
    colour = Rgb(Component(GetField(text, 1, separator)), Component(GetField(text, 2, separator)),
                 Component(GetField(text, 3, separator)));
    return true;
}

} // namespace

std::int32_t ParseColour(const std::string& text) {
    if (text.empty()) return -1;
    std::int32_t colour = 0;
    if (ParseTriple(text, ",", colour) || ParseTriple(text, ":", colour)) return colour;

    static const std::array<std::pair<const char*, std::int32_t>, 8> kNames{{
        {"WHITE", Rgb(255, 255, 255)},
        {"RED", Rgb(255, 0, 0)},
        {"GREEN", Rgb(0, 255, 0)},
        {"BLUE", Rgb(0, 0, 255)},
        {"BLACK", Rgb(0, 0, 0)},
        {"YELLOW", Rgb(255, 255, 0)},
        {"CYAN", Rgb(0, 255, 255)},
        {"MAGENTA", Rgb(255, 0, 255)},
    }};
    const std::string upper = platform::AnsiUpper(text);
    for (const auto& [name, value] : kNames) {
        if (upper == name) return value;
    }
    return 0;
}
