#include "common/Numbers.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

double LeadingNumber(const std::string& text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    const std::size_t start = i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < n && std::isdigit(static_cast<unsigned char>(text[i])))
        ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && std::isdigit(static_cast<unsigned char>(text[i])))
            ++i, ++digits;
    }
    if (digits == 0) return 0.0;
    std::size_t end = i;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
        std::size_t expDigits = 0;
        while (j < n && std::isdigit(static_cast<unsigned char>(text[j])))
            ++j, ++expDigits;
        if (expDigits > 0) end = j;
    }
    std::string number = text.substr(start, end - start);
    if (!number.empty() && number[0] == '+') number.erase(0, 1);
    double value = 0.0;
    auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone on overflow; the text still names a huge number.
        return number[0] == '-' ? -std::numeric_limits<double>::max() : std::numeric_limits<double>::max();
    }
    return value;
}

namespace {

template <typename T> T RoundClamped(double value) {
    if (std::isnan(value)) return 0;
    double r = std::nearbyint(value); // the default rounding mode is to nearest, ties to even
    if (r <= static_cast<double>(std::numeric_limits<T>::min())) return std::numeric_limits<T>::min();
    if (r >= static_cast<double>(std::numeric_limits<T>::max())) return std::numeric_limits<T>::max();
    return static_cast<T>(r);
}

} // namespace

std::int16_t RoundToInt16(double value) {
    return RoundClamped<std::int16_t>(value);
}
std::int32_t RoundToInt32(double value) {
    return RoundClamped<std::int32_t>(value);
}

std::int16_t LeadingInt16(const std::string& text) {
    return RoundToInt16(LeadingNumber(text));
}

std::int16_t ClampToInt16(long long value) {
    if (value < std::numeric_limits<std::int16_t>::min()) return std::numeric_limits<std::int16_t>::min();
    if (value > std::numeric_limits<std::int16_t>::max()) return std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(value);
}

std::string FormatNumber(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
    if (value == 0) return "0";
    char buffer[64];
    // %g follows the C locale's point only when the program never changes LC_NUMERIC, so the
    // text is built by to_chars, which ignores locales altogether.
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    std::string text(buffer, result.ptr);
    return text;
}
