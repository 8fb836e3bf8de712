#include "TestSupport.h"

#include "services/LogMgmt.h"
#include "state/Helpers.h"
#include "state/TableState.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <set>

TEST(GetField, CutsTextsAtTheSeparator) {
    struct Case {
        const char* text;
        int n;
        const char* separator;
        const char* field;
    } cases[] = {
        {"a,b,c", 2, ",", "b"},     {"a,b", 3, ",", ""},
        {"a,,c", 2, ",", ""},       {"", 1, ",", ""},
        {"a,b", 0, ",", ""},        {"a,b", -1, ",", ""},
        {" a , b", 2, ",", " b"},   {"x,y", 2, "", "y"},
        {"x+y", 2, "", ""},         {"a,b,c", 3, ",", "c"},
        {"a", 1, ",", "a"},         {"a+b+c", 3, "+", "c"},
        {"k=v|w=x", 2, "|", "w=x"}, {"a::b::c", 2, "::", "b"},
        {"a::b", 3, "::", ""},      {"name=val", 1, "=", "name"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GetField(c.text, c.n, c.separator), c.field)
            << c.text << " #" << c.n << " '" << c.separator << "'";
}

TEST(GetField, FieldsCutAtOnceAreTheFieldsCutOneByOne) {
    for (const char* text :
         {"a,b,c", "a,,c,", "", ",", "a", "(x2)c.gif,ON_PLAY,v=1|w=2,K,opt", "a::b::", "x+y"})
        for (const char* separator : {",", "", "::", "+"})
            for (int n : {1, 2, 3, 5, 7}) {
                const std::vector<std::string> fields = GetFields(text, n, separator);
                ASSERT_EQ(fields.size(), static_cast<std::size_t>(n));
                for (int i = 1; i <= n; ++i)
                    EXPECT_EQ(fields[static_cast<std::size_t>(i - 1)], GetField(text, i, separator))
                        << text << " #" << i << " of " << n << " '" << separator << "'";
            }
    EXPECT_TRUE(GetFields("a,b", 0, ",").empty());
}

TEST(GetField, AFieldFarDownALongListCostsOnePassOverIt) {
    std::string list;
    for (int i = 1; i <= 30000; ++i)
        list += "f" + std::to_string(i) + ",";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(GetField(list, 30000, ","), "f30000");
    EXPECT_EQ(GetField(list, 30001, ","), "");
    EXPECT_EQ(FieldIndexOf("F30000", list, ","), 30000);
    EXPECT_EQ(FieldIndexOf("absent", list, ","), 0);
    EXPECT_EQ(GetField("a,b", std::numeric_limits<int>::max(), ","), "");
    EXPECT_EQ(GetField("a::b", std::numeric_limits<int>::max(), "::"), "");
    // Copying what is left of the list once per field, or cutting every field anew for each
    // place, takes minutes here.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(FieldIndexOf, WalksTheFieldsAsGetFieldCutsThemForLongerSeparators) {
    struct Case {
        const char* item;
        const char* list;
        const char* separator;
        int index;
    } cases[] = {{"a", "aaa", "aa", 3},   {"", "aaa", "aa", 1},    {":y", "x:::y", "::", 2},
                 {"y", "x:::y", "::", 0}, {"b", "a::b:", "::", 2}, {"b:", "a::b:", "::", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(FieldIndexOf(c.item, c.list, c.separator), c.index) << c.item << " in " << c.list;
}

TEST(CountFields, CountsEveryPlaceTheSeparatorBegins) {
    struct Case {
        const char* text;
        const char* separator;
        int count;
    } cases[] = {{"", ",", 1},      {"a,b", ",", 2},  {"a,,", ",", 3}, {"abc", ",", 1},
                 {"a+b+c", "+", 3}, {"aaa", "aa", 3}, {"x", "", 1}};
    for (const auto& c : cases)
        EXPECT_EQ(CountFields(c.text, c.separator), c.count) << c.text;
}

TEST(FieldIndexOf, FindsTheItemWithoutRegardToCase) {
    struct Case {
        const char* item;
        const char* list;
        int index;
    } cases[] = {{"B", "a,b,c", 2}, {"d", "a,b,c", 0}, {"", "", 1}, {"c", "a,b,c", 3}, {"", "a,,c", 2}};
    for (const auto& c : cases)
        EXPECT_EQ(FieldIndexOf(c.item, c.list, ","), c.index) << c.item << " in " << c.list;
}

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
    CurrentGameFile.clear();
}

TEST(GetIni, CutsLongValuesTo254Characters) {
    testsupport::TempProgramFolder folder;
    folder.Write("g.game", "[GAME]\ncopyright=" + std::string(300, 'c') + "\n");
    EXPECT_EQ(GetIni("GAME", "copyright", "g.game"), std::string(254, 'c'));
    EXPECT_EQ(GetIni("GAME", "copyright", "nofile.game"), "");
}

TEST(WriteIni, ReportsSuccessAsNonZero) {
    testsupport::TempProgramFolder folder;
    EXPECT_NE(WriteIni("GAME", "name", "Duel", "g.game"), 0);
    EXPECT_EQ(GetIni("game", "NAME", "g.game"), "Duel");
    EXPECT_EQ(WriteIni("GAME", "name", "Duel", "..\\g.game"), 0);
}

TEST(Paths, SplitAtTheLastBackslash) {
    struct Case {
        const char* path;
        const char* directory;
        const char* file;
    } cases[] = {{"C:\\games\\a.game", "C:\\games\\", "a.game"},
                 {"a.game", "a", "a.game"},
                 {"", "", ""},
                 {"dir\\", "dir\\", ""}};
    for (const auto& c : cases) {
        EXPECT_EQ(PathDirectory(c.path), c.directory) << c.path;
        EXPECT_EQ(PathFileName(c.path), c.file) << c.path;
    }
}

TEST(FileExists, EmptyPathIsFalseAndFoldersAreNotFiles) {
    testsupport::TempProgramFolder folder;
    folder.Write("Cards/Ace.bmp", "BM");
    EXPECT_FALSE(FileExists(""));
    EXPECT_FALSE(FileExists("cards"));
    EXPECT_TRUE(FileExists("cards\\ACE.bmp"));
    EXPECT_TRUE(FileExists(folder.Path() + "\\CARDS\\ace.BMP"));
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
    LogCount = 5;
    ResetTableState();
    EXPECT_EQ(DraggedCard, -1);
    EXPECT_EQ(DraggedMarker, -1);
    EXPECT_EQ(HandWindowWidth, -1);
    EXPECT_EQ(LoadedCardControls, 0);
    EXPECT_EQ(NextNumMarker, 1);
    EXPECT_EQ(CardControlFree[12], kFalse);
    EXPECT_EQ(NumMarkerInUse[299], kFalse);
    EXPECT_EQ(LogCount, 0);
    EXPECT_EQ(LogLines.size(), 51u);

    folder.Write("g.game", "[LOG]\nmax_log_items=0\n");
    ResetTableState();
    EXPECT_EQ(LogLines.size(), 201u); // below 1 means the default of 200
    CurrentGameFile.clear();
}
