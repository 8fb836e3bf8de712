// A read scope lets a reader take thousands of keys of one file without looking at the file on
// disk for each: inside the scope a file is checked once, afterwards changes are seen again.
#include "TestSupport.h"

#include "platform/Ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

void Rewrite(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    // A different size makes the change visible even within one clock tick.
}

TEST(IniReadScopeTest, FileIsCheckedOnceInsideTheScopeAndAgainAfterIt) {
    testsupport::TempProgramFolder folder;
    const std::string native = folder.Path() + "/g.game";
    const std::string path = folder.Path() + "\\g.game";
    Rewrite(native, "[GAME]\nplayers=2\n");
    {
        platform::IniReadScope scope;
        EXPECT_EQ(platform::IniRead(path, "GAME", "players"), "2");
        Rewrite(native, "[GAME]\nplayers=3\nname=x\n");
        EXPECT_EQ(platform::IniRead(path, "game", "PLAYERS"), "2");
        {
            platform::IniReadScope nested;
            EXPECT_EQ(platform::IniRead(path, "GAME", "players"), "2");
        }
        EXPECT_EQ(platform::IniRead(path, "GAME", "name"), "");
    }
    EXPECT_EQ(platform::IniRead(path, "GAME", "players"), "3");
}

TEST(IniReadScopeTest, WritesInsideTheScopeAreReadBack) {
    testsupport::TempProgramFolder folder;
    const std::string path = folder.Path() + "\\w.game";
    platform::IniReadScope scope;
    EXPECT_EQ(platform::IniRead(path, "GAME", "players"), "");
    ASSERT_TRUE(platform::IniWrite(path, "GAME", "players", "4"));
    EXPECT_EQ(platform::IniRead(path, "GAME", "players"), "4");
    platform::IniClearCache();
    EXPECT_EQ(platform::IniRead(path, "GAME", "players"), "4");
}

TEST(IniReadScopeTest, AWriteUnderAnotherSpellingOfTheNameIsReadBackUnderEither) {
    testsupport::TempProgramFolder folder;
    folder.Write("Games/Duel.game", "[GAME]\nplayers=2\n");
    platform::IniReadScope scope;
    EXPECT_EQ(platform::IniRead("games\\duel.game", "GAME", "players"), "2");
    ASSERT_TRUE(platform::IniWrite(folder.Path() + "/GAMES/DUEL.GAME", "GAME", "players", "5"));
    EXPECT_EQ(platform::IniRead("games\\duel.game", "GAME", "players"), "5");
    EXPECT_EQ(platform::IniRead("Games/Duel.game", "game", "PLAYERS"), "5");
}

} // namespace
