#include "common/GraphicsMgmt.h"

#include <gtest/gtest.h>

TEST(ParseColour, ReadsTriplesAndNamesWithRedInTheLowestByte) {
    struct Case {
        const char* text;
        std::int32_t colour;
    } cases[] = {
        {"255,0,0", 255},
        {"255:0:0", 255},
        {"red", 255},
        {"Red", 255},
        {" red", 0}, // blanks are part of the name
        {"0,128,255", 0 | (128 << 8) | (255 << 16)},
        {" 10 , 20 , 30 ", 10 | (20 << 8) | (30 << 16)},
        {"0:0:255", 16711680},
        {"255,0", 0}, // two fields: looked up as a name
        {"1,2,3,4", 0},
        {"", -1},
        {"WHITE", 16777215},
        {"green", 65280},
        {"blue", 16711680},
        {"black", 0},
        {"yellow", 65535},
        {"cyan", 16776960},
        {"Magenta", 16711935},
        {"purple", 0},
        {"12.5,0,0", 12}, // halves to even
        {"13.5,0,0", 14},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseColour(c.text), c.colour) << "'" << c.text << "'";
}

TEST(ParseColour, ClampsComponentsSoTheyNeverSpillIntoAnotherByte) {
    EXPECT_EQ(ParseColour("300,0,0"), 255);
    EXPECT_EQ(ParseColour("0,999,0"), 255 << 8);
    EXPECT_EQ(ParseColour("-1,0,0"), 0);
    EXPECT_EQ(ParseColour("0,-5,7"), 7 << 16);
    EXPECT_EQ(ParseColour("x,y,z"), 0);
}
