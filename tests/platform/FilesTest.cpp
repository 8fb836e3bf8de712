#include "TestSupport.h"

#include "platform/Files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include <sys/stat.h>

using namespace platform;

namespace {

class ProgramFolderFiles : public ::testing::Test {
  protected:
    testsupport::TempProgramFolder folder;
    std::string Native(const std::string& relative) { return folder.Path() + "/" + relative; }
};

} // namespace

TEST_F(ProgramFolderFiles, ComponentsMatchWithoutRegardToCaseWithEitherSeparator) {
    folder.Write("cards/ace.bmp", "BM");
    folder.Write("Save/Game One.save", "x");
    EXPECT_EQ(ResolvePath("Cards\\ACE.BMP"), Native("cards/ace.bmp"));
    EXPECT_EQ(ResolvePath("CARDS/Ace.bmp"), Native("cards/ace.bmp"));
    EXPECT_EQ(ResolvePath(ProgramFolder() + "\\cards\\ACE.bmp"), Native("cards/ace.bmp"));
    // "." components, doubled and closing separators mean nothing, in the folder's part too.
    EXPECT_EQ(ResolvePath(".\\cards\\\\.\\ace.bmp"), Native("cards/ace.bmp"));
    EXPECT_EQ(ResolvePath("cards\\"), Native("cards"));
    const std::string folderPath = ProgramFolder();
    const std::size_t cut = folderPath.rfind('/');
    EXPECT_EQ(
        ResolvePath(folderPath.substr(0, cut) + "/./" + folderPath.substr(cut + 1) + "//cards\\ace.bmp"),
        Native("cards/ace.bmp"));
    EXPECT_EQ(ResolvePath("save\\game one.SAVE"), Native("Save/Game One.save"));
    // A file that does not exist yet keeps the spelling it was given, below the folders found.
    EXPECT_EQ(ResolvePath("SAVE\\New.save"), Native("Save/New.save"));
}

TEST_F(ProgramFolderFiles, PathsNeverLeaveTheProgramFolder) {
    folder.Write("cards/ace.bmp", "BM");
    for (const char* path :
         {"..\\secret.txt", "cards\\..\\..\\etc\\passwd", "../x", "/etc/passwd", "C:\\Windows\\win.ini", ""})
        EXPECT_FALSE(ResolvePath(path).has_value()) << path;
    EXPECT_FALSE(ReadFileBytes("..\\..\\etc\\passwd").has_value());
    EXPECT_FALSE(WriteFileAtomic("../escape.txt", "x"));
}

TEST_F(ProgramFolderFiles, APathHoldingANulByteIsRefused) {
    using namespace std::string_literals;
    folder.Write("cards/ace.bmp", "BM");
    folder.Write("a.game", "[GAME]");
    // "..", a NUL and anything: the file system would read the name as "..".
    const std::string paths[] = {"..\0x"s, "cards\\..\0\\..\0"s, "a.game\0.txt"s,
                                 "\0"s,    "cards\\ace.bmp\0"s,  "cards\0\\ace.bmp"s};
    for (const std::string& path : paths) {
        SCOPED_TRACE(testing::PrintToString(path));
        EXPECT_FALSE(ResolvePath(path).has_value());
        EXPECT_FALSE(ResolveUserPath(path).has_value());
        EXPECT_FALSE(ReadFileBytes(path).has_value());
        EXPECT_FALSE(IsRegularFile(path));
        EXPECT_TRUE(ListFiles(path, "*").empty());
        EXPECT_FALSE(WriteFileAtomic(path + "new.txt", "x"));
    }
    EXPECT_EQ(ListFiles("", "*"), std::vector<std::string>{"a.game"});
    EXPECT_FALSE(ResolveUserPath("/tmp/..\0"s).has_value());
}

TEST_F(ProgramFolderFiles, LinksLeadingOutOfTheProgramFolderAreNotFollowed) {
    namespace fs = std::filesystem;
    const fs::path outside = folder.Path() + "-outside";
    fs::create_directories(outside);
    std::ofstream(outside / "secret.txt") << "secret";
    folder.Write("cards/ace.bmp", "BM");
    fs::create_directory_symlink(outside, Native("away"));
    fs::create_symlink(outside / "secret.txt", Native("note.txt"));
    fs::create_symlink("../" + outside.filename().string() + "/new.ini", Native("dangling.ini"));
    fs::create_directory_symlink("cards", Native("deck"));
    fs::create_directory_symlink(Native("away"), Native("cards/again"));

    for (const char* path :
         {"away\\secret.txt", "AWAY", "note.txt", "dangling.ini", "cards\\again\\secret.txt"})
        EXPECT_FALSE(ResolvePath(path).has_value()) << path;
    EXPECT_FALSE(ReadFileBytes("note.txt").has_value());
    EXPECT_FALSE(IsRegularFile("away\\secret.txt"));
    EXPECT_FALSE(WriteFileAtomic("dangling.ini", "[A]\nx=1\n"));
    EXPECT_FALSE(WriteFileAtomic("away\\planted.ini", "x"));
    EXPECT_FALSE(fs::exists(outside / "new.ini"));
    EXPECT_FALSE(fs::exists(outside / "planted.ini"));
    // A link that stays inside is an ordinary folder.
    EXPECT_TRUE(IsRegularFile("DECK\\ace.bmp"));
    EXPECT_EQ(ReadFileBytes("deck\\ace.bmp"), "BM");
    fs::remove_all(outside);
}

TEST_F(ProgramFolderFiles, FileExistsMeansARegularVisibleFile) {
    folder.Write("cards/ace.bmp", "BM");
    folder.Write("cards/.hidden.bmp", "BM");
    struct Case {
        const char* path;
        bool exists;
    } cases[] = {
        {"cards\\ace.bmp", true},   {"CARDS\\ACE.BMP", true},
        {"cards", false},           {"cards\\", false},
        {"cards\\nope.bmp", false}, {"cards\\.hidden.bmp", false},
        {"cards\\*.bmp", true},     {"cards\\a?e.BMP", true},
        {"cards\\*.gif", false},    {"", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsRegularFile(c.path), c.exists) << c.path;
}

TEST_F(ProgramFolderFiles, AtomicWriteReplacesTheFileWhole) {
    ASSERT_TRUE(WriteFileAtomic("save\\one.save", std::string("\0\x01\xFF", 3)));
    EXPECT_EQ(ReadFileBytes("SAVE\\ONE.SAVE"), std::string("\0\x01\xFF", 3));
    ASSERT_TRUE(WriteFileAtomic("save\\one.save", "second"));
    EXPECT_EQ(ReadFileBytes("save\\one.save"), "second");
}

TEST_F(ProgramFolderFiles, AFailedWriteReportsFailureAndLeavesWhatWasThere) {
    // A folder stands where the file should go: the rename over it must fail, whoever runs it.
    folder.Write("cfg/a.ini/keep.txt", "old");
    EXPECT_FALSE(WriteFileAtomic("cfg\\a.ini", "new"));
    EXPECT_EQ(folder.Read("cfg/a.ini/keep.txt"), "old");
    folder.Write("plain.txt", "x");
    EXPECT_FALSE(WriteFileAtomic("plain.txt\\inner.ini", "new")); // a file used as a folder
}

TEST_F(ProgramFolderFiles, AReadGivesTheWholeFileWithTheStampOfWhatItOpened) {
    // Larger than any buffer a reader might start with, with bytes a text reader would change.
    std::string big(300000, 'x');
    for (std::size_t i = 0; i < big.size(); i += 7)
        big[i] = static_cast<char>(i % 256);
    folder.Write("big.dat", big);
    folder.Write("empty.dat", "");
    folder.Write("cards/ace.bmp", "BM");
    ASSERT_EQ(mkfifo(Native("pipe").c_str(), 0600), 0); // nobody writes to it: opening must not wait
    struct Case {
        const char* path;
        std::optional<std::string> bytes;
        bool regular;
    } cases[] = {
        {"big.dat", big, true},        {"empty.dat", std::string(), true},   {"cards", std::nullopt, false},
        {"pipe", std::nullopt, false}, {"missing.dat", std::nullopt, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        FileStamp stamp;
        const auto bytes = ReadResolvedFileBytes(Native(c.path), &stamp);
        EXPECT_EQ(bytes, c.bytes);
        EXPECT_EQ(stamp.regular, c.regular);
        const FileStamp looked = StampOfFile(Native(c.path));
        EXPECT_EQ(looked.regular, c.regular);
        if (c.regular) {
            EXPECT_EQ(stamp.size, c.bytes->size());
            EXPECT_EQ(stamp.modifiedNs, looked.modifiedNs);
            EXPECT_NE(stamp.modifiedNs, 0);
        }
    }
    // A regular file that cannot be read still counts as one, so that nobody rewrites it from
    // nothing.
    FailNextFileReads();
    FileStamp stamp;
    EXPECT_FALSE(ReadResolvedFileBytes(Native("cards/ace.bmp"), &stamp).has_value());
    EXPECT_TRUE(stamp.regular);
    EXPECT_EQ(ReadFileBytes("cards\\ace.bmp"), "BM");
}

TEST_F(ProgramFolderFiles, ListsMatchingFilesSortedWithoutRegardToCase) {
    folder.Write("b.game", "");
    folder.Write("A.GAME", "");
    folder.Write("c.txt", "");
    folder.Write("d.game/inner", ""); // a folder named like a game is not a game
    EXPECT_EQ(ListFiles("", "*.game"), (std::vector<std::string>{"A.GAME", "b.game"}));
}

TEST(Wildcards, MatchLikeAFolderSearch) {
    struct Case {
        const char* pattern;
        const char* name;
        bool match;
    } cases[] = {{"*.game", "Poker.GAME", true},
                 {"*.game", "poker.game.bak", false},
                 {"?.bmp", "a.bmp", true},
                 {"?.bmp", "ab.bmp", false},
                 {"*", "", true},
                 {"a*b*c", "axxbyyc", true},
                 {"a*b*c", "axxbyy", false},
                 {"*", "*a", true},
                 {"*a", "*a", true},
                 {"a*", "a*", true},
                 {"*?", "*", true},
                 {"?", "*", true},
                 {"*b", "*a", false}};
    for (const auto& c : cases)
        EXPECT_EQ(WildcardMatch(c.pattern, c.name), c.match) << c.pattern << " " << c.name;
}
