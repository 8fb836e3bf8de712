// Numbers as definitions, saved games and the wire hold them: texts read by their leading number,
// fractions rounded half to even and clamped into their stored width, "." as the decimal point
// whatever the locale.
#pragma once

#include <cstdint>
#include <string>

// The number a text starts with: leading blanks, a sign, digits, one decimal point and an
// exponent; 0 when the text does not start with a number.
double LeadingNumber(const std::string& text);

// Rounded to the nearest whole number, halves to the even neighbour, clamped into the width.
// Not-a-number gives 0.
std::int16_t RoundToInt16(double value);
std::int32_t RoundToInt32(double value);

// The leading number of a text as a 16-bit value: how definitions give counts and positions.
std::int16_t LeadingInt16(const std::string& text);

// Clamped into 16 bits without rounding (for values already whole).
std::int16_t ClampToInt16(long long value);

// Decimal text with "." as the decimal point and no exponent for ordinary magnitudes: whole
// numbers without a point ("12", "-3"), others with up to 15 significant digits ("0.25").
std::string FormatNumber(double value);

// A card number or pile position as lists of them hold it: at least three digits, zero-padded
// ("007", "123", "1000").
std::string Padded3(int value);
