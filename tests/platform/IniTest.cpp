#include "TestSupport.h"

#include "platform/Files.h"
#include "platform/Ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace platform;

namespace {

class IniFile : public ::testing::Test {
  protected:
    testsupport::TempProgramFolder folder;
};

} // namespace

TEST_F(IniFile, ReadsWithTheProfileRules) {
    folder.Write("a.game", "; a comment\r\n"
                           "[GAME]\r\n"
                           "  Name  =  Hearts Duel  \r\n"
                           "players=2\r\n"
                           "players=3\r\n"
                           "quoted=\"  spaced  \"\r\n"
                           "single='x'\r\n"
                           "half=\"open\r\n"
                           "empty=\r\n"
                           "eq=a=b\r\n"
                           "[ Common 1 ]\r\n"
                           "deal=5\r\n"
                           "[game]\r\n"
                           "late=never seen\r\n"
                           "name=second\r\n");
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {"GAME", "name", "Hearts Duel"},  // trimmed, key case ignored
        {"game", "NAME", "Hearts Duel"},  // section case ignored; the first section wins
        {"GAME", "players", "2"},         // the first duplicate key wins
        {"GAME", "quoted", "  spaced  "}, // one pair of quotes removed, inside kept
        {"GAME", "single", "x"},
        {"GAME", "half", "\"open"}, // unmatched quote stays
        {"GAME", "empty", ""},
        {"GAME", "eq", "a=b"},     // the first "=" splits
        {"common 1", "DEAL", "5"}, // blanks inside the brackets are trimmed
        {"GAME", "late", ""},      // keys of a later duplicate section are not seen
        {"GAME", "missing", ""},
        {"NOSUCH", "name", ""},
        {" GAME ", " name ", "Hearts Duel"}, // the caller's blanks do not matter
    };
    for (const auto& c : cases)
        EXPECT_EQ(IniRead("a.game", c.section, c.key), c.value) << c.section << "/" << c.key;
    EXPECT_EQ(IniRead("missing.game", "GAME", "name"), "");
}

TEST_F(IniFile, ValuesAreCutTo254Characters) {
    folder.Write("long.ini", "[S]\nk=" + std::string(300, 'x') + "\n");
    EXPECT_EQ(IniRead("long.ini", "S", "k"), std::string(254, 'x'));
}

TEST_F(IniFile, WritingChangesOneLineAndKeepsEveryOtherByte) {
    const std::string before = "; made by hand\r\n"
                               "[GAME]\r\n"
                               "Name=Old\r\n"
                               "  ; keep me\r\n"
                               "players=2\r\n"
                               "\r\n"
                               "[COMMON 1]\r\n"
                               "card1=a.bmp\r\n";
    folder.Write("g.game", before);
    ASSERT_TRUE(IniWrite("g.game", "game", "NAME", "New"));
    EXPECT_EQ(folder.Read("g.game"), "; made by hand\r\n"
                                     "[GAME]\r\n"
                                     "Name=New\r\n"
                                     "  ; keep me\r\n"
                                     "players=2\r\n"
                                     "\r\n"
                                     "[COMMON 1]\r\n"
                                     "card1=a.bmp\r\n");
    EXPECT_EQ(IniRead("g.game", "GAME", "name"), "New");
}

TEST_F(IniFile, NewKeysGoToTheEndOfTheirSectionAndNewSectionsToTheEnd) {
    folder.Write("g.game", "[GAME]\nplayers=2\n\n[COMMON 1]\ncard1=a.bmp\n");
    ASSERT_TRUE(IniWrite("g.game", "GAME", "desktop", "felt.jpg"));
    ASSERT_TRUE(IniWrite("g.game", "Setup Default", "deck0", "10,20"));
    ASSERT_TRUE(IniWrite("g.game", "COMMON 1", "card2", "b.bmp"));
    EXPECT_EQ(folder.Read("g.game"), "[GAME]\nplayers=2\ndesktop=felt.jpg\n\n"
                                     "[COMMON 1]\ncard1=a.bmp\ncard2=b.bmp\n\n"
                                     "[Setup Default]\ndeck0=10,20\n");
}

TEST_F(IniFile, WritingCreatesAMissingFileWithWindowsLineEnds) {
    ASSERT_TRUE(IniWrite("direct.ini", "DIRECTPLAY", "port", "188"));
    EXPECT_EQ(folder.Read("direct.ini"), "[DIRECTPLAY]\r\nport=188\r\n");
}

TEST_F(IniFile, AFileWithoutAFinalLineEndStaysReadable) {
    folder.Write("g.ini", "[A]\nx=1");
    ASSERT_TRUE(IniWrite("g.ini", "A", "y", "2"));
    EXPECT_EQ(folder.Read("g.ini"), "[A]\nx=1\ny=2\n");
}

TEST_F(IniFile, AnsiBytesRoundTripUnchanged) {
    const std::string value = "Caf\xE9 \x80 \xA7 \xB0\xB2\xB3 \x8A";
    folder.Write("c.ini", "[\xC9QUIPE]\nnom=\xE9t\xE9\n");
    EXPECT_EQ(IniRead("c.ini", "\xE9quipe", "NOM"), "\xE9t\xE9");
    ASSERT_TRUE(IniWrite("c.ini", "\xC9QUIPE", "texte", value));
    EXPECT_EQ(IniRead("c.ini", "\xC9QUIPE", "texte"), value);
    EXPECT_EQ(folder.Read("c.ini"), "[\xC9QUIPE]\nnom=\xE9t\xE9\ntexte=" + value + "\n");
}

TEST_F(IniFile, AFileChangedOnDiskIsReadAgain) {
    folder.Write("g.ini", "[A]\nx=1\n");
    EXPECT_EQ(IniRead("g.ini", "A", "x"), "1");
    folder.Write("g.ini", "[A]\nx=22\n"); // another size: seen even within one clock tick
    EXPECT_EQ(IniRead("g.ini", "A", "x"), "22");
}

TEST_F(IniFile, KeysOfASectionComeInFileOrder) {
    folder.Write("g.ini", "[A]\nb=1\na=2\nB=3\nnot a key\n[B]\nc=4\n");
    EXPECT_EQ(IniKeys("g.ini", "a"), (std::vector<std::string>{"b", "a"}));
    EXPECT_TRUE(IniKeys("g.ini", "none").empty());
}

TEST_F(IniFile, ASectionReadAtOnceGivesWhatItsKeysReadOneByOneGive) {
    using namespace std::string_literals;
    folder.Write("s.ini", "[A]\r\n b = 1 \r\nquoted=\"x y\"\r\nB=3\r\n; c=4\r\nnul=ab\0cd\r\nlong="s +
                              std::string(300, 'w') + "\r\n[B]\r\nc=5\r\n[a]\r\nd=6\r\n");
    const auto section = IniSection("s.ini", " a ");
    std::vector<std::string> keys;
    for (const auto& [key, value] : section) {
        keys.push_back(key);
        EXPECT_EQ(value, IniRead("s.ini", "A", key)) << key;
    }
    EXPECT_EQ(keys, IniKeys("s.ini", "A"))
        << "the first spelling of each key, in file order, of the first section";
    EXPECT_EQ(section.size(), 4u);
    EXPECT_EQ(section.at(1).second, "x y");
    EXPECT_EQ(section.at(2).second, "ab");
    EXPECT_EQ(section.at(3).second, std::string(254, 'w'));
    EXPECT_TRUE(IniSection("s.ini", "none").empty());
    EXPECT_TRUE(IniSection("missing.ini", "A").empty());
    EXPECT_TRUE(IniSection("../outside.ini", "A").empty());
}

TEST_F(IniFile, AFileOutsideTheProgramFolderIsNeitherReadNorWritten) {
    EXPECT_EQ(IniRead("../outside.ini", "A", "x"), "");
    EXPECT_FALSE(IniWrite("../outside.ini", "A", "x", "1"));
}

TEST_F(IniFile, ANulByteEndsAValue) {
    folder.Write("n.ini", std::string("[A]\nk=ab\0cd\nq=\"x\0\"\nnext=1\n", 26));
    EXPECT_EQ(IniRead("n.ini", "A", "k"), "ab");
    EXPECT_EQ(IniRead("n.ini", "A", "q"), "\"x");
    EXPECT_EQ(IniRead("n.ini", "A", "next"), "1");
    ASSERT_TRUE(IniWrite("n.ini", "B", std::string("key\0x", 5), std::string("v\0w", 3)));
    EXPECT_EQ(folder.Read("n.ini").substr(26), "\n[B]\nkey=v\n");
    // Names end at a NUL byte for the reader as for the writer, so what was written reads back.
    EXPECT_EQ(IniRead("n.ini", std::string("B\0y", 3), std::string("key\0x", 5)), "v");
    EXPECT_EQ(IniKeys("n.ini", std::string("b\0", 2)), (std::vector<std::string>{"key"}));
}

TEST_F(IniFile, CommentLinesAreNotKeys) {
    folder.Write("c.ini", "[A]\n; players=9\nplayers=2\n;note=x\n");
    EXPECT_EQ(IniKeys("c.ini", "A"), (std::vector<std::string>{"players"}));
    EXPECT_EQ(IniRead("c.ini", "A", "players"), "2");
}

TEST_F(IniFile, AWriteThatWouldReadBackAsSomethingElseIsRefused) {
    const std::string before = "[A]\r\nx=1\r\n";
    folder.Write("w.ini", before);
    struct Case {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {"A", "x", "2\r\n[GAME]\r\nplayers=7"}, // a value may not add lines
        {"A", "y", "2\nz=3"},
        {"A]\r\n[B", "x", "1"},
        {"A]x", "x", "1"},
        {"A", "k=v", "1"},
        {"A", "a\nb", "1"},
        {"A", ";x", "1"},
        {"A", "[B]", "1"},
        {"", "x", "1"},
        {"A", " ", "1"},
    };
    for (const auto& c : cases)
        EXPECT_FALSE(IniWrite("w.ini", c.section, c.key, c.value)) << c.section << "/" << c.key;
    EXPECT_EQ(folder.Read("w.ini"), before);
}

TEST_F(IniFile, AFileThatCannotBeReadIsNotOverwritten) {
    const std::string text = "[A]\nx=1\nmany=keys\n";
    folder.Write("locked.ini", text);
    FailNextFileReads();
    EXPECT_EQ(IniRead("locked.ini", "A", "x"), "");
    FailNextFileReads();
    EXPECT_FALSE(IniWrite("locked.ini", "A", "y", "2"));
    EXPECT_EQ(folder.Read("locked.ini"), text);
    // Readable again: nothing of the failed reads stuck to the file.
    EXPECT_EQ(IniRead("locked.ini", "A", "many"), "keys");
    ASSERT_TRUE(IniWrite("locked.ini", "A", "y", "2"));
    EXPECT_EQ(folder.Read("locked.ini"), text + "y=2\n");
}

TEST_F(IniFile, AByteOrderMarkBeforeTheFirstHeaderIsSkipped) {
    folder.Write("bom.game", "\xEF\xBB\xBF[GAME]\r\nplayers=2\r\n");
    EXPECT_EQ(IniRead("bom.game", "GAME", "players"), "2");
    ASSERT_TRUE(IniWrite("bom.game", "GAME", "players", "3"));
    EXPECT_EQ(folder.Read("bom.game"), "\xEF\xBB\xBF[GAME]\r\nplayers=3\r\n");
}

TEST_F(IniFile, LinesOutsideSectionsAndOddLinesDoNotDisturbTheKeys) {
    const std::string longLine = "long=" + std::string(100000, 'L');
    folder.Write("odd.game", "orphan=1\r\n"
                             "  [ GAME ]  \r\n"
                             "just a word\r\n"
                             "=no key\r\n" +
                                 longLine +
                                 "\r\n"
                                 "after=2\r\n"
                                 "[EMPTY]\r\n"
                                 "[LAST]\r\n"
                                 "tail=3");
    struct Case {
        const char* section;
        const char* key;
        std::string value;
    } cases[] = {
        {"GAME", "orphan", ""}, // a key before the first header belongs to no section
        {"GAME", "long", std::string(254, 'L')},
        {"GAME", "after", "2"},
        {"GAME", "just a word", ""},
        {"EMPTY", "tail", ""},
        {"LAST", "tail", "3"}, // no line end after the last line
    };
    for (const auto& c : cases)
        EXPECT_EQ(IniRead("odd.game", c.section, c.key), c.value) << c.section << "/" << c.key;
    ASSERT_TRUE(IniWrite("odd.game", "EMPTY", "k", "v"));
    EXPECT_EQ(IniRead("odd.game", "EMPTY", "k"), "v");
    EXPECT_EQ(IniRead("odd.game", "LAST", "tail"), "3");
    EXPECT_EQ(IniRead("odd.game", "GAME", "after"), "2");
}
