// Saving a game in play and loading it back onto the table window: the same bytes after a save,
// a load and a save; a refused file leaves the running game as it was; a save that cannot be
// written keeps the old file.
#include "TableTestSupport.h"

#include "controls/TranspImg.h"
#include "platform/Files.h"
#include "platform/Ini.h"
#include "services/DiceRoller.h"
#include "state/DecksMgmt.h"
#include "state/LogStore.h"
#include "state/MarkersMgmt.h"
#include "state/OptionMgmt.h"
#include "state/SaveRecord.h"
#include "state/ZOrder.h"
#include "table/CardActions.h"
#include "table/SaveGameMgmt.h"
#include "table/TableSetup.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

using tabletest::TableFixture;
using testsupport::MessageRecorder;

namespace {

// Marker controls as plain values: what the markers' unit would show on the table.
class FakeMarkers : public MarkerControls {
  public:
    FakeMarkers() : previous_(SetMarkerControls(this)) {}
    ~FakeMarkers() override { SetMarkerControls(previous_); }
    FakeMarkers(const FakeMarkers&) = delete;
    FakeMarkers& operator=(const FakeMarkers&) = delete;

    std::map<int, MarkerControlState> numbers; // by control
    std::map<int, MarkerControlState> images;  // by record

    std::optional<MarkerControlState> NumMarker(int control) override { return Find(numbers, control); }
    std::optional<MarkerControlState> ImageMarker(int record) override { return Find(images, record); }
    void ClearMarkers() override {
        numbers.clear();
        images.clear();
    }
    void RestoreNumMarker(int control, const MarkerControlState& state) override { numbers[control] = state; }
    void RestoreImageMarker(int record, const MarkerControlState& state) override { images[record] = state; }

  private:
    static std::optional<MarkerControlState> Find(const std::map<int, MarkerControlState>& map, int key) {
        const auto it = map.find(key);
        return it == map.end() ? std::nullopt : std::optional<MarkerControlState>(it->second);
    }
    MarkerControls* previous_;
};

const std::string kGame =
    "[GAME]\nname=Test cards\ndescription=A game\\nfor two\nplayers=2\ncommon_decks=1\n"
    "directory=img\nexternal_hand=FALSE\n"
    "[PLAYER 1]\nname=Ann\nlayout=3000,1500,2400,6000\nmarkers=2\n"
    "marker1=f9.png,Gold,,90,\nmarker2=f10.png,Coin,f11.png+f12.png,0,\n"
    "[PLAYER 2]\nname=Bob\nlayout=9000,1500,2400,6000\n"
    "[DICE]\nnum_dices=1\ndice1=3,Three\n"
    "[OPTIONS]\nnum_options=2\noption1=Red,Red army,1,TRUE\noption2=Blue,Blue army,1,FALSE\n"
    "[LOG]\nmax_log_items=50\n"
    "[COMMON 1]\nname=Stock\ndeckSize=8\nimg_back=back.png\nimg_discard=empty.png\n"
    "split=FALSE\ndeal=2\nzoom=100\n"
    "card1=f1.png,,,k1,\ncard2=f2.png,,,k2,\ncard3=f3.png,,,k3,\ncard4=f4.png,,,k4,\n"
    "card5=f5.png,,,k5,\ncard6=f6.png,,,k6,\ncard7=f7.png,,,k7,\ncard8=f8.png,,,k8,\n";

class SaveGameTest : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(fixture.Start(kGame));
        LoadDice();
        PlayAFewTurns();
    }

    // Dealt cards, a moved and a turned card, markers on and off cards with a deleted one of each
    // kind, rolls, notes, an option and log lines.
    void PlayAFewTurns() {
        controls::TranspImg* first = table.crd(0);
        ASSERT_NE(first, nullptr);
        first->Surface().Move(4500, 3000);
        const int turned = std::atoi(table.crd(1)->Surface().Tag().c_str());
        Cards[turned].rotation = 90;

        markers.numbers[0] = {3015, 4515, "HP: 9", "0"};
        markers.numbers[1] = {600, 600, "deleted", "-1"};
        markers.numbers[2] = {1200, 7500, "7", "-1"};
        markers.numbers[3] = {1500, 7500, "never dropped", ""};
        for (int m = 0; m < 4; ++m)
            NumMarkerInUse[m] = m == 1 ? kFalse : kTrue;
        NextNumMarker = 5;
        GraphMarkers[1] = {0, 0, "", -1, "", 90, kFalse, kTrue, 1, 1, 0, 0};
        GraphMarkers[2] = {0, 0, "", -1, "", 0, kFalse, kFalse, 2, 1, 0, 0};
        GraphMarkers[3] = {0, 0, "", -1, "", 0, kTrue, kTrue, 2, 1, 2, 0};
        GraphMarkerCount = 3;
        markers.images[1] = {3000, 4800, "", "1"};
        markers.images[2] = {90, 90, "", "-1"};
        markers.images[3] = {4500, 9000, "", "-1"};
        for (const auto& [kind, index] :
             std::vector<std::pair<int, int>>{{2, 0}, {2, 1}, {3, 0}, {2, 2}, {3, 2}, {2, 3}, {3, 1}})
            BringToFrontZOrder(static_cast<std::int16_t>(kind), static_cast<std::int16_t>(index), 0);
        RemoveFromZOrder(kZNumMarker, 1); // the deleted markers leave the stacking order
        RemoveFromZOrder(kZImageMarker, 1);

        RollDice(1, false, false);
        RollDice(1, false, false);
        NotesText = "caf\xE9 \x80\xFF\r\nsecond line";
        GameOptionTable.selectedOption[2] = 2;
        StoreLogItem("Card Drawn: k1");
        StoreLogItem("two\r\nlines");
        Game.GamePhase = kPhasePlaying;
    }

    std::string SaveBytes(const std::string& file) { return folder().Read("save/" + file); }
    const testsupport::TempProgramFolder& folder() const { return fixture.Folder(); }

    // The whole running game as a record would hold it, with the loaded game file and the
    // marker kinds that a load reads.
    std::string Snapshot() {
        const auto record = NewSaveRecord();
        FillSaveRecord(*record);
        std::string bytes;
        std::string error;
        EXPECT_TRUE(EncodeSaveRecord(*record, bytes, error)) << error;
        return bytes + "|" + CurrentGameFile + "|" + std::to_string(MarkerKindCount) + "|" +
               std::to_string(LoadedCardControls) + "|" + std::to_string(markers.numbers.size()) + "|" +
               std::to_string(markers.images.size());
    }

    TableFixture fixture;
    MainForm& table = fixture.Table();
    FakeMarkers markers;
};

// Where two byte strings first differ (npos when they are equal), so that a failure names a place
// instead of printing two records.
std::size_t FirstDifference(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i)
        if (a[i] != b[i]) return i;
    return a.size() == b.size() ? std::string::npos : n;
}

} // namespace

TEST_F(SaveGameTest, SaveLoadSaveGivesTheSameBytesAndTheSameTables) {
    std::vector<ZOrderEntry> live(Game.ZOrderList.begin(), Game.ZOrderList.end());
    const std::int16_t liveCount = Game.zOrderCount;
    ASSERT_TRUE(SaveGame("first.save"));
    EXPECT_EQ(std::vector<ZOrderEntry>(Game.ZOrderList.begin(), Game.ZOrderList.end()).size(), live.size());
    for (int z = 1; z <= kMaxZOrder; ++z) {
        EXPECT_EQ(Game.ZOrderList[z].kind, live[static_cast<std::size_t>(z - 1)].kind) << "entry " << z;
        EXPECT_EQ(Game.ZOrderList[z].index, live[static_cast<std::size_t>(z - 1)].index) << "entry " << z;
    }
    EXPECT_EQ(Game.zOrderCount, liveCount) << "saving renumbers a copy, not the live stacking order";

    const auto cards = Cards;
    const auto dice = DiceLog;
    const std::vector<std::string> log = {LogEntry(1), LogEntry(2)};
    Model().Reset();
    MessageRecorder messages;
    ASSERT_TRUE(LoadSavedGame("first.save", false));
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_EQ(Game.CurrentPlayer, -1) << "the seat login sets the player";
    Game.CurrentPlayer = 1;
    RestoreLoadedTable();
    ASSERT_TRUE(SaveGame("second.save"));
    EXPECT_EQ(FirstDifference(SaveBytes("second.save"), SaveBytes("first.save")), std::string::npos);

    EXPECT_EQ(CurrentGameFile, fixture.GameFile());
    for (int c = 1; c <= Game.totalCards; ++c) {
        SCOPED_TRACE("card " + std::to_string(c));
        EXPECT_EQ(Cards[c].controlIndex, cards[c].controlIndex);
        EXPECT_EQ(Cards[c].rotation, cards[c].rotation);
        EXPECT_EQ(Cards[c].owner, cards[c].owner);
        EXPECT_EQ(Cards[c].pilePosition, cards[c].pilePosition);
        if (Cards[c].controlIndex >= 0) {
            EXPECT_EQ(table.crd(Cards[c].controlIndex)->Surface().Tag(), std::to_string(c));
        }
    }
    EXPECT_EQ(table.crd(0)->Surface().Left(), 4500);
    EXPECT_EQ(table.crd(0)->Surface().Top(), 3000);
    EXPECT_EQ(NotesText, "caf\xE9 \x80\xFF\r\nsecond line");
    EXPECT_EQ(GameOptionTable.selectedOption[2], 2);
    EXPECT_EQ((std::vector<std::string>{LogEntry(1), LogEntry(2)}), log);
    for (int k = 1; k <= kDiceLogSize; ++k)
        EXPECT_EQ(DiceLog[k].text, dice[k].text);

    // Markers are stored compacted: the deleted ones are gone and the later ones follow on.
    EXPECT_EQ(NextNumMarker, 4);
    ASSERT_EQ(markers.numbers.size(), 3u);
    EXPECT_EQ(markers.numbers[0].caption, "HP: 9");
    EXPECT_EQ(markers.numbers[0].tag, "0") << "it lies on the card of control 0 again";
    EXPECT_EQ(markers.numbers[1].caption, "7");
    EXPECT_EQ(markers.numbers[1].tag, "");
    EXPECT_EQ(markers.numbers[2].caption, "never dropped");
    EXPECT_EQ(GraphMarkerCount, 2);
    EXPECT_EQ(GraphMarkers[1].rotation, 90);
    EXPECT_EQ(markers.images[1].tag, "1");
    EXPECT_EQ(GraphMarkers[2].face, 2);
    EXPECT_EQ(markers.images[2].tag, "-1") << "a marker on no card reads no card control";
    EXPECT_EQ(markers.images[2].left, 9000);
    // The stacking order follows the new numbers.
    std::vector<std::pair<int, int>> markerStack;
    for (int z = 1; z <= Game.zOrderCount; ++z)
        if (Game.ZOrderList[z].kind != kZCard)
            markerStack.emplace_back(Game.ZOrderList[z].kind, Game.ZOrderList[z].index);
    EXPECT_EQ(markerStack, (std::vector<std::pair<int, int>>{{2, 0}, {3, 0}, {2, 1}, {3, 1}, {2, 2}}));
}

TEST_F(SaveGameTest, TheGameListFindsTheSaveWithItsGameAndDescription) {
    ASSERT_TRUE(SaveGame("a (b).save"));
    folder().Write("save/old.save", "an older format");
    folder().Write("save/notes.txt", "not a save");
    EXPECT_EQ(ReadSaveHeader("a (b)"), fixture.GameFile());
    EXPECT_EQ(ReadSaveHeader("old"), "");
    EXPECT_EQ(ReadSaveHeader("missing"), "");

    const std::vector<SavedGameEntry> entries = ListSavedGames();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].fileName, "a (b).save") << "the entry keeps its file: the name holds \" (\"";
    EXPECT_EQ(entries[0].description, "A game\\nfor two");
    EXPECT_EQ(SavedGameListText(entries[0]).rfind("a (b) (Test cards) - 20", 0), 0u)
        << SavedGameListText(entries[0]);
    EXPECT_EQ(entries[1].gameFile, "");
    EXPECT_EQ(entries[1].damage, "");
    EXPECT_EQ(SavedGameListText(entries[1]).rfind("old (** Old savegame format **) - 20", 0), 0u);
    // A save of this version cut short is damaged, and says how.
    folder().Write("save/cut.save", SaveBytes("a (b).save").substr(0, 3000));
    const SavedGameEntry cut = ListSavedGames()[1];
    ASSERT_EQ(cut.fileName, "cut.save");
    EXPECT_NE(cut.damage, "");
    EXPECT_EQ(SavedGameListText(cut).rfind("cut (** Damaged saved game **) - 20", 0), 0u);
    std::filesystem::remove(folder().Path() + "/save/cut.save");

    // Deleting the old format keeps every save that reads and every file that could not be read.
    folder().Write("save/0-locked.save", "unreadable now");
    platform::FailNextFileReads(1); // the files are read in name order: "0-locked" first
    EXPECT_EQ(DeleteOldFormatSaves(), 1);
    EXPECT_TRUE(std::filesystem::exists(folder().Path() + "/save/a (b).save"));
    EXPECT_FALSE(std::filesystem::exists(folder().Path() + "/save/old.save"));
    EXPECT_TRUE(std::filesystem::exists(folder().Path() + "/save/0-locked.save"));
}

TEST_F(SaveGameTest, QuickSaveNamesTheDefinitionsPack) {
    EXPECT_EQ(QuickSaveName("C:\\games\\chess.game"), "chess.pack.save");
    EXPECT_EQ(QuickSaveName(fixture.GameFile()), "test.pack.save");
    ASSERT_TRUE(QuickSave());
    EXPECT_NE(ReadSaveHeader("test.pack"), "");
}

TEST_F(SaveGameTest, PlacesBeyond16BitsAreClampedNotWrapped) {
    table.crd(0)->Surface().Move(40005, -40005);
    const auto record = NewSaveRecord();
    FillSaveRecord(*record);
    const int card = std::atoi(table.crd(0)->Surface().Tag().c_str());
    EXPECT_EQ(record->cardPositions[card].left, 32767);
    EXPECT_EQ(record->cardPositions[card].top, -32768);
}

TEST_F(SaveGameTest, HostileSavesAreRefusedAndTheRunningGameStays) {
    ASSERT_TRUE(SaveGame("good.save"));
    const std::string good = SaveBytes("good.save");
    const std::string before = Snapshot();

    // A record made from the good one, changed.
    const auto changed = [&](const std::function<void(SaveRecord&)>& change) {
        auto record = NewSaveRecord();
        std::string error;
        EXPECT_TRUE(DecodeSaveRecord(good, *record, error)) << error;
        change(*record);
        std::string bytes;
        EXPECT_TRUE(EncodeSaveRecord(*record, bytes, error)) << error;
        return bytes;
    };
    const std::vector<std::pair<std::string, std::string>> hostile = {
        {"an empty file", ""},
        {"a cut in the game state", good.substr(0, 1000)},
        {"a cut in the cards", good.substr(0, 5000)},
        {"a cut in the markers", good.substr(0, 30000)},
        {"a cut in the log", good.substr(0, good.size() - 3)},
        {"trailing bytes", good + std::string(4, '\0')},
        {"13 decks", changed([](SaveRecord& r) { r.game.deckCount = 13; })},
        {"a card of no deck", changed([](SaveRecord& r) { r.cards[1].deck = 5; })},
        {"a stacked card past the total", changed([](SaveRecord& r) {
             r.game.ZOrderList[1] = {kZCard, 9};
         })},
        {"a NaN zoom", changed([](SaveRecord& r) { r.game.decks[0].zoom = std::nanf(""); })},
        {"a huge zoom", changed([](SaveRecord& r) { r.decks[0].zoom = 3e9f; })},
        {"an image folder above the program",
         changed([](SaveRecord& r) { r.game.directory = "img\\..\\.."; })},
        {"a card image from elsewhere", changed([](SaveRecord& r) { r.cards[3].image = "..\\..\\x.png"; })},
        {"a game file that is no file", changed([](SaveRecord& r) { r.gameFile = "C:\\games\\.."; })},
        {"a missing game file", changed([](SaveRecord& r) { r.gameFile = "C:\\games\\gone.game"; })},
        {"a die the game does not define", changed([](SaveRecord& r) { r.diceLog[1].die = 2; })},
        {"two cards on one control", changed([](SaveRecord& r) {
             for (int c = 1; c <= 8; ++c)
                 if (r.cards[c].controlIndex == 1) r.cards[c].controlIndex = 0;
         })},
    };
    MessageRecorder messages;
    for (const auto& [why, bytes] : hostile) {
        SCOPED_TRACE(why);
        folder().Write("save/bad.save", bytes);
        messages.Clear();
        EXPECT_FALSE(LoadSavedGame("bad.save", false));
        EXPECT_EQ(messages.Messages().size(), 1u);
        EXPECT_EQ(FirstDifference(Snapshot(), before), std::string::npos);
    }

    // A file larger than any record is refused without being read.
    {
        std::ofstream(folder().Path() + "/save/huge.save");
        std::filesystem::resize_file(folder().Path() + "/save/huge.save", kMaxSaveRecordBytes + 1);
        messages.Clear();
        EXPECT_FALSE(LoadSavedGame("huge.save", false));
        EXPECT_EQ(FirstDifference(Snapshot(), before), std::string::npos);
    }

    // Random flips in the game state and the cards: a flip the reader takes loads a sound game;
    // any other leaves the running one alone.
    std::mt19937 random(17);
    for (int round = 0; round < 60; ++round) {
        std::string bytes = good;
        for (int flip = 0; flip < 3; ++flip)
            bytes[random() % 6000] ^= static_cast<char>(1 + random() % 255);
        folder().Write("save/flip.save", bytes);
        std::string now = Snapshot();
        if (!LoadSavedGame("flip.save", false)) {
            EXPECT_EQ(FirstDifference(Snapshot(), now), std::string::npos) << "round " << round;
        } else {
            ASSERT_TRUE(LoadSavedGame("good.save", false)) << "round " << round;
        }
    }
}

TEST_F(SaveGameTest, AMarkerOfAKindTheGameNoLongerHasIsLeftOutWithOneMessage) {
    ASSERT_TRUE(SaveGame("kinds.save"));
    folder().Write("test.game", std::string(kGame).replace(kGame.find("markers=2"), 9, "markers=1"));
    platform::IniClearCache();
    MessageRecorder messages;
    ASSERT_TRUE(LoadSavedGame("kinds.save", false));
    EXPECT_EQ(messages.Messages(),
              (std::vector<std::string>{"Markers of a kind that the game no longer defines were left out"}));
    EXPECT_EQ(GraphMarkerCount, 1);
    EXPECT_EQ(GraphMarkers[1].kind, 1);
    for (int z = 1; z <= Game.zOrderCount; ++z)
        if (Game.ZOrderList[z].kind == kZImageMarker) {
            EXPECT_EQ(Game.ZOrderList[z].index, 0);
        }
}

TEST_F(SaveGameTest, ALogLongerThanTheStoreKeepsItsNewestEntries) {
    for (int n = 1; n <= 60; ++n)
        StoreLogItem("entry " + std::to_string(n));
    ASSERT_EQ(LogCount, 50);
    ASSERT_TRUE(SaveGame("log.save"));
    folder().Write("test.game",
                   std::string(kGame).replace(kGame.find("max_log_items=50"), 16, "max_log_items=20"));
    platform::IniClearCache();
    ASSERT_TRUE(LoadSavedGame("log.save", false));
    ASSERT_EQ(LogCount, 20);
    EXPECT_EQ(LogEntry(1), "entry 41");
    EXPECT_EQ(LogEntry(20), "entry 60");
}

namespace {

// Makes a folder unwritable for this test, whoever runs it: its mode, and for a user whom modes
// do not bind, the immutable attribute. Undone when it goes.
class UnwritableFolder {
  public:
    explicit UnwritableFolder(const std::string& path) : path_(path) {
        std::filesystem::permissions(path_,
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        if (geteuid() != 0) {
            locked_ = true;
            return;
        }
        const int fd = open(path_.c_str(), O_RDONLY | O_DIRECTORY);
        if (fd < 0) return;
        int flags = 0;
        if (ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            immutable_ = locked_ = ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        close(fd);
    }
    ~UnwritableFolder() {
        if (immutable_) {
            const int fd = open(path_.c_str(), O_RDONLY | O_DIRECTORY);
            int flags = 0;
            if (fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags &= ~FS_IMMUTABLE_FL;
                ioctl(fd, FS_IOC_SETFLAGS, &flags);
            }
            if (fd >= 0) close(fd);
        }
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all);
    }
    UnwritableFolder(const UnwritableFolder&) = delete;
    UnwritableFolder& operator=(const UnwritableFolder&) = delete;
    bool Locked() const { return locked_; }

  private:
    std::string path_;
    bool immutable_ = false;
    bool locked_ = false;
};

} // namespace

TEST_F(SaveGameTest, AReadOnlySaveFolderKeepsTheOldFileAndLeavesNoTemporaryFile) {
    ASSERT_TRUE(SaveGame("kept.save"));
    const std::string old = SaveBytes("kept.save");
    NotesText = "changed since";
    const std::string folderPath = folder().Path() + "/save";
    {
        UnwritableFolder readOnly(folderPath);
        if (!readOnly.Locked()) GTEST_SKIP() << "the folder cannot be made unwritable here";
        MessageRecorder messages;
        EXPECT_FALSE(SaveGame("kept.save"));
        // The path in one form throughout, as the program folder writes it.
        EXPECT_EQ(messages.Messages(), (std::vector<std::string>{"The game could not be saved in " +
                                                                 folder().Path() + "/save/kept.save"}));
    }
    EXPECT_EQ(SaveBytes("kept.save"), old);
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(folderPath))
        files.push_back(entry.path().filename().string());
    EXPECT_EQ(files, (std::vector<std::string>{"kept.save"}));
}

TEST(SaveGameOnTheTable, TheTablesOwnMarkersAreSavedAndMadeAgain) {
    TableFixture fixture;
    ASSERT_TRUE(fixture.Start(kGame));
    MainForm& table = fixture.Table();
    controls::zLabelA* number = table.markerNum(0);
    ASSERT_NE(number, nullptr);
    number->caption("HP: 4");
    number->Surface().Move(6000, 1500);
    number->Surface().SetTag("-1");
    NumMarkerInUse[0] = kTrue;
    NextNumMarker = 2;
    controls::TranspImg* image = table.mrk(0);
    ASSERT_NE(image, nullptr);
    GraphMarkers[1] = {0, 0, "", -1, "", 0, kTrue, kTrue, 2, 1, 2, 0};
    GraphMarkerCount = 1;
    image->Surface().Move(4500, 2250);
    image->Surface().SetTag("0");
    ASSERT_TRUE(SaveGame("table.save"));

    MessageRecorder messages;
    ASSERT_TRUE(LoadSavedGame("table.save", false));
    EXPECT_TRUE(messages.Messages().empty());
    ASSERT_NE(table.markerNum(0), nullptr);
    EXPECT_EQ(table.markerNum(0)->caption(), "HP: 4");
    EXPECT_EQ(table.markerNum(0)->Surface().Left(), 6000);
    EXPECT_TRUE(table.markerNum(0)->Surface().Visible());
    ASSERT_NE(table.mrk(0), nullptr);
    EXPECT_EQ(table.mrk(0)->Surface().Top(), 2250);
    EXPECT_EQ(table.mrk(0)->Surface().Tag(), "0") << "it lies on the card of control 0 again";
    EXPECT_EQ(table.mrk(0)->GetPictureName(), fixture.Folder().Path() + "\\img\\f12.png")
        << "its second back face";
    EXPECT_TRUE(table.mrk(0)->Surface().Visible());

    // On a card that lies face down the marker is hidden with the card's face.
    const int card = std::atoi(table.crd(0)->Surface().Tag().c_str());
    Cards[card].faceShown = kFalse;
    ASSERT_TRUE(SaveGame("table.save"));
    ASSERT_TRUE(LoadSavedGame("table.save", false));
    EXPECT_FALSE(table.mrk(0)->Surface().Visible());
    EXPECT_TRUE(table.markerNum(0)->Surface().Visible()) << "a marker on no card stays";
}

namespace {

// The save "good.save" of the game in play, read back into a record.
std::unique_ptr<SaveRecord> ReadBack(const testsupport::TempProgramFolder& folder, const std::string& file) {
    auto record = NewSaveRecord();
    std::string error;
    EXPECT_TRUE(DecodeSaveRecord(folder.Read("save/" + file), *record, error)) << error;
    return record;
}

std::string Encoded(const SaveRecord& record) {
    std::string bytes;
    std::string error;
    EXPECT_TRUE(EncodeSaveRecord(record, bytes, error)) << error;
    return bytes;
}

} // namespace

TEST_F(SaveGameTest, ASaveWhoseDeckPicturesAreMissingIsRefusedAndNeverEndsTheProgram) {
    ASSERT_TRUE(SaveGame("good.save"));
    const std::string before = Snapshot();
    const std::string fitted =
        std::string(kGame).replace(kGame.find("img_discard=empty.png"), 21, "img_discard=gone.png");
    const std::string noBack = std::string(kGame).replace(kGame.find("img_back=back.png"), 17, "img_back=");
    struct Case {
        const char* why;
        std::string definition;
        bool removeBack;
        std::function<void(SaveRecord&)> change;
        std::string message;
    };
    const std::string img = folder().Path() + "/img/";
    const std::vector<Case> cases = {
        {"the back picture is gone", kGame, true, {}, "Back image for deck 0 not found:" + img + "back.png"},
        {"the deck names no back picture", noBack, false, {}, "Back image for deck 0 not found:" + img},
        {"the save's image folder holds no back picture", kGame, false,
         [](SaveRecord& r) { r.game.directory = "other"; },
         "Back image for deck 0 not found:" + folder().Path() + "/other/back.png"},
        {"a deck that fits its pile's picture has no discard picture", fitted, false,
         [](SaveRecord& r) { r.game.decks[0].resize = kTrue; },
         "Discard image for deck 0 not found:\r\n" + img + "gone.png"},
        {"a deck made by no split, with no section of its own", kGame, false,
         [](SaveRecord& r) {
             r.game.decks[0].section = "DECK 1 PLAYER 1";
             r.game.backImages[0] = "C:\\elsewhere\\back.png";
         },
         "Back image for deck 0 not found:" + img},
    };
    std::filesystem::create_directories(folder().Path() + "/other");
    MessageRecorder messages;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        folder().Write("test.game", c.definition);
        platform::IniClearCache();
        const bool goneBack = c.removeBack;
        if (goneBack) std::filesystem::remove(img + "back.png");
        auto record = ReadBack(folder(), "good.save");
        if (c.change) c.change(*record);
        folder().Write("save/bad.save", Encoded(*record));
        messages.Clear();
        bool loaded = true;
        EXPECT_NO_THROW(loaded = LoadSavedGame("bad.save", false));
        EXPECT_FALSE(loaded);
        EXPECT_EQ(messages.Messages(),
                  (std::vector<std::string>{"The saved game bad.save cannot be loaded: " + c.message}));
        EXPECT_EQ(FirstDifference(Snapshot(), before), std::string::npos);
        if (goneBack) fixture.WritePicture("back.png");
    }
    folder().Write("test.game", kGame);
    platform::IniClearCache();
    EXPECT_TRUE(LoadSavedGame("good.save", false));
}

TEST_F(SaveGameTest, RefusalsNameWhatIsWrongWithTheStoredGameFile) {
    ASSERT_TRUE(SaveGame("good.save"));
    const struct {
        std::string stored;
        std::string message;
    } cases[] = {
        {"", "it names no game file"},
        {std::string("C:\\games\\te\0st.game", 18), "the name of its game file is not a file name"},
        {"C:\\games\\*.game", "the name of its game file is not a file name"},
        {"C:\\games\\gone.game", "its game file gone.game is missing"},
    };
    MessageRecorder messages;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        auto record = ReadBack(folder(), "good.save");
        record->gameFile = c.stored;
        folder().Write("save/named.save", Encoded(*record));
        EXPECT_EQ(ReadSaveHeader("named"), c.stored.find("gone") != std::string::npos
                                               ? folder().Path() + "\\gone.game"
                                               : std::string());
        messages.Clear();
        EXPECT_FALSE(LoadSavedGame("named.save", false));
        EXPECT_EQ(messages.Messages(),
                  (std::vector<std::string>{"The saved game named.save cannot be loaded: " + c.message}));
    }
}

TEST_F(SaveGameTest, ADeckZoomIsKeptWithinTheTablesRangeAndEnlargesNoCardBeyondItsLargestSide) {
    for (const auto& [text, zoom] : std::vector<std::pair<std::string, float>>{{"0", 100.0f},
                                                                               {"x", 100.0f},
                                                                               {"-5", 100.0f},
                                                                               {"5", 10.0f},
                                                                               {"150", 150.0f},
                                                                               {"32767", 400.0f}}) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(fixture.Start(std::string(kGame).replace(kGame.find("zoom=100"), 8, "zoom=" + text)));
        EXPECT_EQ(Game.decks[0].zoom, zoom);
    }
    // A saved game asks for any zoom it likes; it is loaded within the range too.
    ASSERT_TRUE(fixture.Start(kGame));
    ASSERT_TRUE(SaveGame("zoomed.save"));
    auto record = ReadBack(folder(), "zoomed.save");
    record->game.decks[0].zoom = 32767.0f;
    record->decks[0].zoom = 32767.0f;
    folder().Write("save/zoomed.save", Encoded(*record));
    ASSERT_TRUE(LoadSavedGame("zoomed.save", false));
    EXPECT_EQ(Game.decks[0].zoom, 400.0f);

    // Large faces at the largest zoom: each card's look stops at the largest side, and the cards
    // that show one face share one look.
    for (int k = 1; k <= 8; ++k)
        fixture.WritePicture("f" + std::to_string(k) + ".png", 200, 280);
    ASSERT_TRUE(fixture.Start(std::string(kGame).replace(kGame.find("zoom=100"), 8, "zoom=32767")));
    int zoomed = 0;
    for (int index : table.crd.Indexes()) {
        const controls::TranspImg& card = *table.crd(index);
        if (card.zoom() == 100) continue;
        ++zoomed;
        EXPECT_LE(card.Surface().ScaleWidth(), kMaxZoomedCardSide);
        EXPECT_GT(card.Surface().ScaleWidth(), kMaxZoomedCardSide - 8);
    }
    EXPECT_GT(zoomed, 0) << "the local seat's faces are zoomed";
}

TEST_F(SaveGameTest, AGameThatNamesPicturesOutsideTheProgramFolderIsNeitherPlayedNorSaved) {
    const struct {
        std::string from;
        std::string to;
        std::string refusal;
    } definitions[] = {
        {"directory=img", "directory=img\ndesktop=..\\..\\desk.png",
         "its desktop picture ..\\..\\desk.png leaves the program folder"},
        {"directory=img", "directory=img\ndesktop=C:\\desk.png",
         "its desktop picture C:\\desk.png leaves the program folder"},
        {"directory=img", "directory=..\\img", "its image folder ..\\img leaves the program folder"},
        {"card3=f3.png", "card3=..\\img\\f3.png",
         "the picture ..\\img\\f3.png of card 3 of [COMMON 1] leaves the program folder"},
    };
    MessageRecorder messages;
    for (const auto& d : definitions) {
        SCOPED_TRACE(d.refusal);
        messages.Clear();
        EXPECT_FALSE(fixture.Start(std::string(kGame).replace(kGame.find(d.from), d.from.size(), d.to)));
        EXPECT_EQ(messages.Messages(), (std::vector<std::string>{"The game cannot be loaded: " + d.refusal}));
    }

    // Whatever put such a path into the running game, the save refuses it rather than write a file
    // its own reader refuses.
    ASSERT_TRUE(fixture.Start(kGame));
    Game.desktop = "..\\desk.png";
    messages.Clear();
    EXPECT_FALSE(SaveGame("outside.save"));
    EXPECT_EQ(messages.Messages(),
              (std::vector<std::string>{
                  "The game could not be saved: the image folder or the desktop leaves the program folder"}));
    EXPECT_FALSE(std::filesystem::exists(folder().Path() + "/save/outside.save"));
}

TEST_F(SaveGameTest, TheLastControlIndexOfASaveIsNotHandedOutAgain) {
    ASSERT_TRUE(SaveGame("last.save"));
    auto record = ReadBack(folder(), "last.save");
    std::int16_t card = 0;
    for (int c = 1; c <= record->game.totalCards && card == 0; ++c)
        if (IsTableCard(record->cards[c], record->game)) card = static_cast<std::int16_t>(c);
    ASSERT_NE(card, 0);
    record->cards[card].controlIndex = ControlFlags::kLast;
    folder().Write("save/last.save", Encoded(*record));
    ASSERT_TRUE(LoadSavedGame("last.save", false));
    Game.CurrentPlayer = 1;
    RestoreLoadedTable();
    ASSERT_EQ(table.cardActions->CardOfElement(ControlFlags::kLast), card);

    const std::int16_t drawn = FindCard(0, Game.nextDrawPositions[0], false);
    table.cardActions->DeckImg_DblClick(0);
    ASSERT_NE(Cards[drawn].controlIndex, -1);
    EXPECT_NE(Cards[drawn].controlIndex, ControlFlags::kLast);
    EXPECT_EQ(table.cardActions->CardOfElement(Cards[drawn].controlIndex), drawn);
    EXPECT_EQ(table.cardActions->CardOfElement(ControlFlags::kLast), card);
    ASSERT_TRUE(SaveGame("after.save"));
    MessageRecorder messages;
    EXPECT_TRUE(LoadSavedGame("after.save", false)) << testing::PrintToString(messages.Messages());
}

TEST_F(SaveGameTest, DeletingOldFormatsKeepsEveryFileOfThisVersion) {
    ASSERT_TRUE(SaveGame("good.save"));
    auto record = ReadBack(folder(), "good.save");
    record->game.desktop = "..\\desk.png";
    folder().Write("save/refused.save", Encoded(*record));
    const std::string good = SaveBytes("good.save");
    folder().Write("save/damaged.save", good.substr(0, good.size() / 2));
    std::string older = good;
    older[2] = older[2] == '9' ? '8' : '9'; // another program version's text, and no record of ours
    folder().Write("save/older.save", older.substr(0, good.size() / 2));

    EXPECT_EQ(DeleteOldFormatSaves(), 1);
    for (const char* kept : {"good.save", "refused.save", "damaged.save"})
        EXPECT_TRUE(std::filesystem::exists(folder().Path() + "/save/" + kept)) << kept;
    EXPECT_FALSE(std::filesystem::exists(folder().Path() + "/save/older.save"));
}

TEST_F(SaveGameTest, ADeckSplitAmongTheSeatsLoadsBackEqualFromASaveAndFromARecordReceived) {
    // Neither seat has a deck of its own: the split makes "DECK 1 PLAYER 1" and "DECK 1 PLAYER 2",
    // sections the definition does not have.
    ASSERT_TRUE(fixture.Start(std::string(kGame).replace(kGame.find("split=FALSE"), 11, "split=TRUE")));
    ASSERT_EQ(Game.deckCount, 3);
    ASSERT_EQ(Game.decks[1].section, "DECK 1 PLAYER 1");
    ASSERT_TRUE(SaveGame("split.save"));
    const std::string saved = SaveBytes("split.save");
    // The saving machine's folders differ from this one's: only the deck it was split from says
    // where the pictures are here.
    auto record = ReadBack(folder(), "split.save");
    for (int d = 0; d < 3; ++d) {
        record->game.backImages[d] = "D:\\far\\img\\back.png";
        record->game.discardImages[d] = "D:\\far\\img\\empty.png";
    }
    folder().Write("save/moved.save", Encoded(*record));

    for (const bool received : {false, true}) {
        for (const char* file : {"split.save", "moved.save"}) {
            SCOPED_TRACE(std::string(file) + (received ? ", received" : ", from the game list"));
            Model().Reset();
            Game.CurrentPlayer = 1;
            MessageRecorder messages;
            ASSERT_TRUE(LoadSavedGame(file, received)) << testing::PrintToString(messages.Messages());
            EXPECT_TRUE(messages.Messages().empty());
            Game.CurrentPlayer = 1;
            RestoreLoadedTable();
            for (int d = 1; d <= 2; ++d) {
                EXPECT_EQ(Game.backImages[d], Game.backImages[0]);
                EXPECT_EQ(table.DeckImg(d)->GetPictureName(), folder().Path() + "\\img\\back.png");
            }
            ASSERT_TRUE(SaveGame("again.save"));
            EXPECT_EQ(FirstDifference(SaveBytes("again.save"), saved), std::string::npos);
        }
    }
}

TEST_F(SaveGameTest, TheTemporaryFileOfASaveThatWasCutShortGoesAtTheNextSave) {
    const std::string saves = folder().Path() + "/save/";
    const auto olderBy = [&](const std::string& name, std::chrono::seconds age) {
        folder().Write("save/" + name, "half a record");
        std::filesystem::last_write_time(saves + name, std::filesystem::file_time_type::clock::now() - age);
    };
    olderBy("turn 3.save.aB3xY9", std::chrono::minutes(5)); // left by a save that was killed
    olderBy("turn 4.save.Qr81Zk", std::chrono::seconds(0)); // another copy's save under way
    olderBy("notes.save.bak", std::chrono::minutes(5));     // not ours
    olderBy("turn 5.game.aB3xY9", std::chrono::minutes(5)); // not a save's
    ASSERT_TRUE(SaveGame("turn 6.save"));
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(saves))
        files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    EXPECT_EQ(files, (std::vector<std::string>{"notes.save.bak", "turn 4.save.Qr81Zk", "turn 5.game.aB3xY9",
                                               "turn 6.save"}));
}
