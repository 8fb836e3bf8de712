// The helpers the engine and the editor share, linked here without the engine.
#include "TestSupport.h"

#include "common/Helpers.h"
#include "common/Messages.h"

#include <gtest/gtest.h>

#include <limits>

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
    EXPECT_EQ(GetField(list, 30000, ","), "f30000");
    EXPECT_EQ(GetField(list, 30001, ","), "");
    EXPECT_EQ(FieldIndexOf("F30000", list, ","), 30000);
    EXPECT_EQ(FieldIndexOf("absent", list, ","), 0);
    EXPECT_EQ(GetField("a,b", std::numeric_limits<int>::max(), ","), "");
    EXPECT_EQ(GetField("a::b", std::numeric_limits<int>::max(), "::"), "");
    // Copying what is left of the list once per field, or cutting every field anew for each
    // place, takes minutes here: the test run's time limit catches that.
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

TEST(ShowMsg, ReachesThePlatformsMessageBox) {
    testsupport::MessageRecorder messages;
    ShowMsg("Card 3 on common deck #1 not found");
    EXPECT_EQ(messages.Messages(), std::vector<std::string>{"Card 3 on common deck #1 not found"});
}
