#include "common/Numbers.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

// The power of ten of a number's first significant digit ("123" 2, "0.05" -2, "1e-400" -400),
// saturated far beyond any double's range; the text is a well-formed number.
long long DecimalExponent(const std::string& number) {
    constexpr long long kFar = 1'000'000;
    long long exponent = 0;
    std::size_t e = number.find_first_of("eE");
    if (e != std::string::npos) {
        std::size_t j = e + 1;
        bool negative = j < number.size() && number[j] == '-';
        if (j < number.size() && (number[j] == '+' || number[j] == '-')) ++j;
        for (; j < number.size(); ++j)
            exponent = std::min(exponent * 10 + (number[j] - '0'), kFar);
        if (negative) exponent = -exponent;
    }
    const std::string mantissa = number.substr(0, e);
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string::npos) return -kFar; // zero
    const long long place =
        first < point ? static_cast<long long>(point - first) - 1 : -static_cast<long long>(first - point);
    return exponent + place;
}

} // namespace

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
        // from_chars leaves the value alone when the number does not fit a double: a huge one
        // reads as the largest value, one too close to zero for a double reads as 0.
        if (DecimalExponent(number) < 0) return 0.0;
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

std::string Padded3(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%03d", value);
    return text;
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
