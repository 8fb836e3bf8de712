#include "common/Numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

TEST(LeadingNumber, ReadsTheNumberATextStartsWith) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {{"12", 12},     {"  7 apples", 7}, {"-3", -3},    {"+4", 4}, {"2.5x", 2.5},
                 {".5", 0.5},    {"5.", 5},         {"1e3", 1000}, {"1e", 1}, {"2E-2", 0.02},
                 {"1.2.3", 1.2}, {"abc", 0},        {"", 0},       {"-", 0},  {".", 0},
                 {"- 5", 0},     {"\t9", 9},        {"0x10", 0},   {"007", 7}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << c.text;
    EXPECT_GT(LeadingNumber("1e999"), 1e300);
}

TEST(LeadingNumber, ANumberBeyondADoublesRangeReadsAsItsNearestEnd) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {{"1e-400", 0},
                 {"-1e-400", 0},
                 {"0.000001e-320", 0},
                 {"1e-99999999999999999999", 0},
                 {"123456e-330", 0},
                 {"1e999", std::numeric_limits<double>::max()},
                 {"-1e999", -std::numeric_limits<double>::max()},
                 {"0.1e310", std::numeric_limits<double>::max()},
                 {"1e99999999999999999999", std::numeric_limits<double>::max()}};
    for (const auto& c : cases)
        EXPECT_EQ(LeadingNumber(c.text), c.value) << c.text;
    EXPECT_EQ(LeadingInt16("1e-400"), 0);
}

TEST(RoundToInt16, RoundsHalvesToEvenAndClamps) {
    struct Case {
        double value;
        int result;
    } cases[] = {{0.5, 0},    {1.5, 2},         {2.5, 2},       {-0.5, 0},        {-1.5, -2},     {2.4999, 2},
                 {2.5001, 3}, {32767.4, 32767}, {40000, 32767}, {-40000, -32768}, {1e300, 32767}, {NAN, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(RoundToInt16(c.value), c.result) << c.value;
    EXPECT_EQ(RoundToInt32(2.5), 2);
    EXPECT_EQ(RoundToInt32(3e10), 2147483647);
    EXPECT_EQ(LeadingInt16(" 2.5 cards"), 2);
    EXPECT_EQ(LeadingInt16("1e9"), 32767);
    EXPECT_EQ(LeadingInt16("none"), 0);
    EXPECT_EQ(ClampToInt16(70000), 32767);
    EXPECT_EQ(ClampToInt16(-70000), -32768);
}

TEST(FormatNumber, UsesAPointWhateverTheLocale) {
    std::setlocale(LC_NUMERIC, "de_DE.UTF-8"); // may be missing; the point must not depend on it
    struct Case {
        double value;
        const char* text;
    } cases[] = {{12, "12"},        {-3, "-3"}, {0.25, "0.25"}, {0, "0"}, {1.0 / 3, "0.333333333333333"},
                 {0.1 + 0.2, "0.3"}};
    for (const auto& c : cases)
        EXPECT_EQ(FormatNumber(c.value), c.text);
    std::setlocale(LC_NUMERIC, "C");
}
