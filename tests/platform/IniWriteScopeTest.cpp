// A write scope gathers many writes to a file and replaces the file once when it ends; reads in
// between see the writes. The file must come out exactly as the same writes made one by one.
#include "TestSupport.h"

#include "platform/Ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>
#include <vector>

using platform::IniRead;
using platform::IniWrite;
using platform::IniWriteScope;

namespace {

using Write = std::tuple<std::string, std::string, std::string>; // section, key, value

TEST(IniWriteScopeTest, GivesTheFileTheSameBytesAsWritesMadeOneByOne) {
    struct Case {
        const char* name;
        const char* start; // nullptr: no file yet
        std::vector<Write> writes;
    } cases[] = {
        {"new file", nullptr, {{"GAME", "name", "x"}, {"GAME", "players", "2"}, {"COMMON 1", "deal", "5"}}},
        {"keys added in an early section move the later ones",
         "[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n[A]\r\nlate=3\r\n",
         {{"a", "new1", "v"},
          {"B", "Y", "20"},
          {"A", "new2", "w"},
          {"b", "z", "9"},
          {"A", "X", "10"},
          {"C", "c", "1"},
          {"A", "new3", ""}}},
        {"no closing line break, Unix line ends",
         "[A]\nx=1",
         {{"A", "y", "2"}, {"B", "z", "3"}, {"A", "x", "0"}}},
        {"byte order mark and keys before any header",
         "\xEF\xBB\xBForphan=1\n[A]\n; note\nx=1\n\n",
         {{"A", "x", "2"}, {"A", "y", "3"}, {"orphan", "k", "4"}}},
        {"the same key many times", "[A]\nx=1\n", {{"A", "x", "2"}, {"A", "x", "3"}, {"A", "x", "4"}}},
        {"a refused write in between", "[A]\nx=1\n", {{"A", "k=v", "1"}, {"A", "y", "2\n"}, {"A", "z", "3"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::TempProgramFolder folder;
        if (c.start) {
            folder.Write("one.ini", c.start);
            folder.Write("scoped.ini", c.start);
        }
        std::vector<bool> plain, scoped;
        for (const auto& [section, key, value] : c.writes)
            plain.push_back(IniWrite("one.ini", section, key, value));
        {
            IniWriteScope scope;
            for (const auto& [section, key, value] : c.writes) {
                scoped.push_back(IniWrite("scoped.ini", section, key, value));
                if (scoped.back()) {
                    EXPECT_EQ(IniRead("scoped.ini", section, key), value);
                }
            }
            // Nothing reaches the disk before the scope ends.
            EXPECT_EQ(folder.Read("scoped.ini"), c.start ? c.start : "");
        }
        EXPECT_EQ(scoped, plain);
        EXPECT_EQ(folder.Read("scoped.ini"), folder.Read("one.ini"));
        platform::IniClearCache();
        for (const auto& [section, key, value] : c.writes)
            EXPECT_EQ(IniRead("scoped.ini", section, key), IniRead("one.ini", section, key)) << key;
    }
}

TEST(IniWriteScopeTest, TheOutermostScopeWritesAndCommitWritesAtOnce) {
    testsupport::TempProgramFolder folder;
    folder.Write("deck.ini", "[A]\nx=1\n");
    IniWriteScope outer;
    {
        IniWriteScope inner;
        ASSERT_TRUE(IniWrite("deck.ini", "A", "x", "2"));
    }
    EXPECT_EQ(folder.Read("deck.ini"), "[A]\nx=1\n");
    platform::IniClearCache(); // pending writes survive it
    EXPECT_EQ(IniRead("DECK.INI", "a", "X"), "2");
    EXPECT_TRUE(outer.Commit());
    EXPECT_EQ(folder.Read("deck.ini"), "[A]\nx=2\n");
    ASSERT_TRUE(IniWrite("deck.ini", "A", "y", "3"));
    EXPECT_EQ(folder.Read("deck.ini"), "[A]\nx=2\n");
    EXPECT_TRUE(outer.Commit());
    EXPECT_EQ(folder.Read("deck.ini"), "[A]\nx=2\ny=3\n");
    EXPECT_TRUE(outer.Commit()); // nothing pending
}

TEST(IniWriteScopeTest, AFailedFinalWriteKeepsTheOldFileDropsTheWritesAndSaysSo) {
    testsupport::TempProgramFolder folder;
    testsupport::MessageRecorder messages;
    folder.Write("keep.ini", "[A]\nx=1\n");
    platform::IniReadScope reads; // a reader around the writer must not keep the lost writes either
    bool committed = true;
    {
        IniWriteScope scope;
        ASSERT_TRUE(IniWrite("cfg\\a.ini", "A", "x", "new"));
        ASSERT_TRUE(IniWrite("keep.ini", "A", "x", "2"));
        // Something else takes the name meanwhile: a folder cannot be replaced by a file.
        folder.Write("cfg/a.ini/inside.txt", "old");
        committed = scope.Commit();
    }
    EXPECT_FALSE(committed);
    EXPECT_EQ(folder.Read("cfg/a.ini/inside.txt"), "old");
    EXPECT_EQ(IniRead("cfg\\a.ini", "A", "x"), "");
    EXPECT_EQ(folder.Read("keep.ini"), "[A]\nx=2\n"); // the other file was written
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_EQ(messages.Messages()[0], "The file cfg\\a.ini could not be written.");
}

// The cache knows a file by its time and size; a rewrite of the same size within one step of
// the file system's clock leaves both as they were.
TEST(IniCacheTest, AFileChangedTooRecentlyToTellIsReadAgain) {
    namespace fs = std::filesystem;
    testsupport::TempProgramFolder folder;
    const fs::path native = folder.Path() + "/g.game";
    struct Case {
        const char* name;
        fs::file_time_type::duration age; // of the file's time when it is first read
        const char* seen;                 // after the rewrite
    } cases[] = {
        {"just written", std::chrono::seconds(0), "3"},
        {"written a moment ago", std::chrono::milliseconds(900), "3"},
        {"untouched for an hour", std::chrono::hours(1), "2"}, // safely cached, not read again
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        platform::IniClearCache();
        folder.Write("g.game", "[GAME]\nplayers=2\n");
        const auto stamp = fs::file_time_type::clock::now() - c.age;
        fs::last_write_time(native, stamp);
        EXPECT_EQ(IniRead("g.game", "GAME", "players"), "2");
        folder.Write("g.game", "[GAME]\nplayers=3\n");
        fs::last_write_time(native, stamp);
        EXPECT_EQ(IniRead("g.game", "GAME", "players"), c.seen);
    }
}

} // namespace
