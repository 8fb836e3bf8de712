#include "TestSupport.h"

#include "state/Helpers.h"
#include "state/LogStore.h"
#include "state/Model.h"

#include <gtest/gtest.h>

#include <set>

TEST(GetBoolDirective, ReadsTrueFalseAndReportsAnythingElse) {
    testsupport::TempProgramFolder folder;
    folder.Write("g.game", "[COMMON 1]\na=true\nb=False,xyz\nc=\nd=yes\ne=  TRUE  \n");
    folder.Write("other.game", "[COMMON 1]\na=FALSE\n");
    CurrentGameFile = folder.Path() + "\\g.game";
    testsupport::MessageRecorder messages;
    struct Case {
        const char* key;
        bool defaultValue;
        bool result;
    } cases[] = {{"a", false, true},      {"b", true, false}, {"c", true, true}, {"c", false, false},
                 {"missing", true, true}, {"e", false, true}, {"d", true, false}};
    for (const auto& c : cases)
        EXPECT_EQ(GetBoolDirective("COMMON 1", c.key, c.defaultValue), c.result) << c.key;
    EXPECT_EQ(messages.Messages(),
              std::vector<std::string>{"Directive d in section [COMMON 1] has an invalid value: yes"});
    // Given a file, the directive comes from that file, not from the game in use.
    EXPECT_FALSE(GetBoolDirective("COMMON 1", "a", true, folder.Path() + "\\other.game"));
    Model().Reset();
}

TEST(GetBoolDirective, AnInvalidValueIsShownOncePerKeyAndGameAndStillReadsFalse) {
    testsupport::TempProgramFolder folder;
    folder.Write("g.game", "[GAME]\ndebug=maybe\nuseRotate=sure\n");
    CurrentGameFile = folder.Path() + "\\g.game";
    testsupport::MessageRecorder messages;
    const std::string debug = "Directive debug in section [GAME] has an invalid value: maybe";
    const std::string rotate = "Directive useRotate in section [GAME] has an invalid value: sure";
    for (int read = 0; read < 3; ++read) {
        EXPECT_FALSE(GetBoolDirective("GAME", "debug", true));
        // The key and the section match without regard to case: the same directive.
        EXPECT_FALSE(GetBoolDirective("game", "DEBUG", true));
        EXPECT_FALSE(GetBoolDirective("GAME", "useRotate", true));
    }
    EXPECT_EQ(messages.Messages(), (std::vector<std::string>{debug, rotate}));

    // The next game shows them again.
    messages.Clear();
    ResetTableState();
    EXPECT_FALSE(GetBoolDirective("GAME", "debug", true));
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{debug});
    Model().Reset();
}

TEST(DateCode, IsCenturyYearAndDayOfTheYear) {
    struct Case {
        CalendarDate date;
        int code;
    } cases[] = {{{2026, 12, 9}, 126343},
                 {{1999, 1, 1}, 99001},
                 {{2000, 12, 31}, 100366},
                 {{2024, 3, 1}, 124061},
                 {{1900, 6, 15}, 166}};
    for (const auto& c : cases)
        EXPECT_EQ(DateCode(c.date), c.code) << c.date.year << "-" << c.date.month;
}

TEST(RandomInt, StaysWithinOneToN) {
    SeedRandom(42.0);
    std::set<int> seen;
    for (int i = 0; i < 2000; ++i) {
        EXPECT_EQ(RandomInt(1), 1);
        EXPECT_EQ(RandomInt(0), 1);
        EXPECT_EQ(RandomInt(-1), 1);
        EXPECT_EQ(RandomInt(-6), 1);
        int r = RandomInt(6);
        ASSERT_GE(r, 1);
        ASSERT_LE(r, 6);
        seen.insert(r);
    }
    EXPECT_EQ(seen.size(), 6u);
}

TEST(RandomInt, TheSameSeedGivesTheSameSequence) {
    auto draw = [] {
        std::vector<int> v;
        for (int i = 0; i < 20; ++i)
            v.push_back(RandomInt(500));
        return v;
    };
    SeedRandom(126343.5);
    auto first = draw();
    SeedRandom(126343.5);
    EXPECT_EQ(draw(), first);
    SeedRandom(126343.0);
    EXPECT_NE(draw(), first);
}

TEST(RandomInt, SeedsFromBytesRepeatAndSeedsFromEntropyDoNot) {
    auto draw = [] {
        std::vector<int> v;
        for (int i = 0; i < 20; ++i)
            v.push_back(RandomInt(500));
        return v;
    };
    // Two sides given one game's bytes deal alike; another game deals otherwise.
    SeedRandomFromBytes("record of a game");
    const auto first = draw();
    SeedRandomFromBytes("record of a game");
    EXPECT_EQ(draw(), first);
    SeedRandomFromBytes("record of a gamf");
    EXPECT_NE(draw(), first);
    // Two programs started in the same second still deal apart.
    SeedRandomFromEntropy();
    const auto one = draw();
    SeedRandomFromEntropy();
    EXPECT_NE(draw(), one);
}

TEST(GetTimeStamp, IsTheDateCodeTimesTenPlusTheSecondsOfTheDay) {
    double stamp = GetTimeStamp();
    // Whatever today is, the date code part lies between 1 January 2000 and 31 December 2099.
    EXPECT_GE(stamp, 100001 * 10.0);
    EXPECT_LT(stamp, 199366 * 10.0 + 86400);
}

TEST(ResetTableState, ForgetsTheInteractionStateOfThePreviousGame) {
    testsupport::TempProgramFolder folder;
    folder.Write("g.game", "[LOG]\nmax_log_items=50\n");
    CurrentGameFile = "g.game";
    DraggedCard = 4;
    DraggedMarker = 2;
    HandWindowWidth = 3000;
    LoadedCardControls = 17;
    NextNumMarker = 9;
    CardControlFree[12] = kTrue;
    NumMarkerInUse[299] = kTrue;
    GraphMarkerCount = 4;
    GraphMarkers[4].inUse = kTrue;
    LogCount = 5;
    ResetTableState();
    EXPECT_EQ(DraggedCard, -1);
    EXPECT_EQ(DraggedMarker, -1);
    EXPECT_EQ(HandWindowWidth, -1);
    EXPECT_EQ(LoadedCardControls, 0);
    EXPECT_EQ(NextNumMarker, 1);
    EXPECT_EQ(CardControlFree[12], kFalse);
    EXPECT_EQ(NumMarkerInUse[299], kFalse);
    EXPECT_EQ(GraphMarkerCount, 0);
    EXPECT_EQ(GraphMarkers[4].inUse, kFalse);
    EXPECT_EQ(LogCount, 0);
    EXPECT_EQ(LogLines.size(), 51u);

    folder.Write("g.game", "[LOG]\nmax_log_items=0\n");
    ResetTableState();
    EXPECT_EQ(LogLines.size(), 201u); // below 1 means the default of 200
    Model().Reset();
}
