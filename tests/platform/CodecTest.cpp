#include "platform/Codec.h"

#include <gtest/gtest.h>

using namespace platform;

TEST(Codec, EveryAnsiByteSurvivesTheTripThroughUtf8) {
    std::string all;
    for (int b = 1; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(AnsiFromUtf8(Utf8FromAnsi(all)), all);
}

TEST(Codec, MapsTheCodePageCharactersThatDifferFromLatin1) {
    struct Case {
        std::string ansi;
        std::string utf8;
    } cases[] = {
        {"\x80", "\xE2\x82\xAC"}, // euro sign
        {"\x99", "\xE2\x84\xA2"}, // trade mark
        {"\xA7", "\xC2\xA7"},     // section sign, the protocol's field separator
        {"\xB0\xB2\xB3", "\xC2\xB0\xC2\xB2\xC2\xB3"},
        {"\xE9t\xE9", "\xC3\xA9t\xC3\xA9"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8FromAnsi(c.ansi), c.utf8);
        EXPECT_EQ(AnsiFromUtf8(c.utf8), c.ansi);
    }
}

TEST(Codec, CharactersOutsideTheCodePageBecomeQuestionMarks) {
    EXPECT_EQ(AnsiFromUtf8("a\xE4\xB8\xAD"
                           "b"),
              "a?b");                                 // a CJK character
    EXPECT_EQ(AnsiFromUtf8("\xF0\x9F\x82\xA1"), "?"); // a playing card outside the BMP
}

TEST(Codec, MalformedUtf8IsTakenAsLatin1) {
    EXPECT_EQ(AnsiFromUtf8("caf\xE9"), "caf\xE9");
}

TEST(Codec, CaseFoldingCoversTheCodePageLetters) {
    EXPECT_EQ(AnsiUpper("ace of \xE9p\xE9\x65s \x9A\xFF"), "ACE OF \xC9P\xC9\x45S \x8A\x9F");
    EXPECT_EQ(AnsiLower("GAME \xC0"), "game \xE0");
    EXPECT_EQ(AnsiUpper("\xF7\xD7"), "\xF7\xD7"); // division and multiplication signs are no letters
    EXPECT_TRUE(AnsiEqualNoCase("[Common 1]", "[COMMON 1]"));
    EXPECT_FALSE(AnsiEqualNoCase("deck", "decks"));
}
