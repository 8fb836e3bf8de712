// The game list: the categories, the descriptions, the saved games' entries and the sequence
// that starts a new game, with its ways of stopping.
#include "StartTestSupport.h"

#include "platform/Dates.h"
#include "platform/TestDriver.h"
#include "start/CategoryMgmt.h"
#include "start/LoginForm.h"
#include "start/StartForm.h"
#include "start/StartWindows.h"
#include "state/CaptionMgmt.h"
#include "state/OptionMgmt.h"
#include "state/TableState.h"
#include "table/MainForm.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/time.h>

namespace drive = platform::testdriver;
using starttest::IndexOf;
using starttest::Items;
using starttest::Press;
using Names = std::vector<std::string>;

namespace {

const char* const kCategories = "[CATEGORIES]\nnum_categ=3\ncat1=Card games\ncat2=Board games\ncat3=Dice\n";

std::string SmallGame(const std::string& description) {
    return "[GAME]\nplayers=2\ndescription=" + description +
           "\ncommon_decks=0\n[PLAYER 1]\nname=Ann\n[PLAYER 2]\nname=Bo\n";
}

class GameListTest : public starttest::StartFixture {
  protected:
    void SetUp() override {
        StartFixture::SetUp();
        folder_.Write("base_categ.dat", kCategories);
        for (const char* name : {"Alpha", "Beta", "Gamma"})
            folder_.Write(std::string(name) + ".game", SmallGame(std::string(name) + " line one\\nline two"));
        folder_.Write("notes.txt", "not a game");
    }

    // The right button released over the list's chosen item.
    void RightClickList(StartForm& list) {
        const int y = 100 + 195 * list.List1.ListIndex();
        ASSERT_TRUE(drive::MouseDown(list.List1, 2, 0, 300, y));
        ASSERT_TRUE(drive::MouseUp(list.List1, 2, 0, 300, y));
    }
};

void ChooseCategory(StartForm& list, const std::string& name) {
    for (int n = 0; n < list.CategList.ListCount(); ++n)
        if (list.CategList.List(n) == name) list.CategList.SetListIndex(n);
}

} // namespace

TEST_F(GameListTest, TheListShowsEveryGameOfTheChosenCategoryAndTheChosenGamesDescription) {
    folder_.Write("usercat.dat", "[USER CATALOG]\nAlpha=Card games\nGamma=Dice\n");
    StartForm list;
    list.form.Show();
    EXPECT_EQ(folder_.Read("categ.dat"), kCategories) << "made from base_categ.dat";
    EXPECT_EQ(Items(list.CategList), (Names{"(All games)", "Card games", "Board games", "Dice"}));
    EXPECT_EQ(list.CategList.Text(), "(All games)");
    EXPECT_EQ(Items(list.List1), (Names{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(GameListKind, kTrue);
    EXPECT_EQ(GameMode, kModeLocal);
    EXPECT_EQ(Game.GamePhase, kPhaseGameList);
    EXPECT_EQ(list.startLabel.Caption(), "Start the select game");

    ChooseCategory(list, "Card games");
    EXPECT_EQ(Items(list.List1), Names{"Alpha"});
    ChooseCategory(list, "Board games");
    EXPECT_TRUE(Items(list.List1).empty());
    // Typed text lists the games filed under exactly that text.
    list.CategList.SetText("(generic)");
    EXPECT_EQ(Items(list.List1), Names{"Beta"});
    list.CategList.SetText("dice");
    EXPECT_TRUE(Items(list.List1).empty());
    list.CategList.SetText("Dice");
    EXPECT_EQ(Items(list.List1), Names{"Gamma"});

    list.List1.SetListIndex(0);
    EXPECT_EQ(list.DescTxt.Text(), "Gamma line one\r\nline two");
    EXPECT_TRUE(list.StartGameBtn.Enabled());
    EXPECT_TRUE(list.DesignBtn.Enabled());
}

TEST_F(GameListTest, FilingAGameThroughTheMenuMovesItBetweenCategories) {
    StartForm list;
    list.form.Show();
    EXPECT_TRUE(list.CategoryMenu(3)->Visible());
    for (int i = 4; i <= kMaxCategories; ++i)
        EXPECT_FALSE(list.CategoryMenu(i)->Visible()) << i;
    EXPECT_TRUE(GameInCategory("Beta", "(generic)")) << "without usercat.dat every game is generic";
    EXPECT_FALSE(GameInCategory("Beta", "Board games"));

    list.List1.SetListIndex(IndexOf(list.List1, "Beta"));
    drive::DialogScript script;
    script.AnswerPopup("Board games").AnswerPopup("(generic)");
    RightClickList(list);
    EXPECT_EQ(folder_.Read("usercat.dat").find("Beta=Board games") != std::string::npos, true);
    ChooseCategory(list, "Board games");
    EXPECT_EQ(Items(list.List1), Names{"Beta"});

    list.List1.SetListIndex(0);
    RightClickList(list);
    EXPECT_TRUE(GameInCategory("Beta", "(generic)"));
    EXPECT_FALSE(GameInCategory("Beta", "Board games"));
    EXPECT_TRUE(script.Problems().empty());

    // A category renamed in categ.dat loses its games: the filing keeps the old name.
    folder_.Write("usercat.dat", "[USER CATALOG]\nAlpha=Card games\n");
    folder_.Write("categ.dat", "[CATEGORIES]\nnum_categ=1\ncat1=Cards\n");
    EXPECT_FALSE(GameInCategory("Alpha", "Cards"));
    EXPECT_FALSE(GameInCategory("Alpha", "(generic)"));
    EXPECT_TRUE(GameInCategory("Alpha", "(All games)"));
}

TEST_F(GameListTest, FilingWithoutAChosenGameAsksForOneAndWritesNothing) {
    StartForm list;
    list.form.Show();
    drive::DialogScript script;
    SetGameCategory(list, 1, "");
    EXPECT_EQ(script.Messages(), Names{"Please select a game"});
    EXPECT_FALSE(std::filesystem::exists(folder_.Path() + "/usercat.dat"));
}

TEST_F(GameListTest, TheCategoryCountIsKeptToTheMenuAndMissingFilesLeaveOnlyAllGames) {
    struct Case {
        const char* categ; // nullptr: no categ.dat
        bool base;
        size_t entries;
        size_t messages;
    } cases[] = {
        {"[CATEGORIES]\nnum_categ=12\ncat1=a\ncat2=b\ncat3=c\ncat4=d\ncat5=e\ncat6=f\ncat7=g\ncat8=h\n", true,
         8, 0},
        {"[CATEGORIES]\nnum_categ=-3\ncat1=a\n", true, 1, 0},
        {"[CATEGORIES]\nnum_categ=1.6\ncat1=a\ncat2=b\n", true, 3, 0},
        {"[CATEGORIES]\nnum_categ=many\n", true, 1, 0},
        {nullptr, false, 1, 1},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(folder_.Path() + "/categ.dat");
        std::filesystem::remove(folder_.Path() + "/base_categ.dat");
        if (c.categ) folder_.Write("categ.dat", c.categ);
        if (c.base) folder_.Write("base_categ.dat", kCategories);
        drive::DialogScript script;
        StartForm list;
        list.form.Show();
        EXPECT_EQ(list.CategList.ListCount(), static_cast<int>(c.entries))
            << (c.categ ? c.categ : "no files");
        EXPECT_EQ(script.Messages().size(), c.messages);
        EXPECT_EQ(Items(list.List1).size(), 3u) << "every game is listed";
    }
}

TEST_F(GameListTest, StartingWithoutAChosenGameAsksForOne) {
    StartForm list;
    list.form.Show();
    drive::DialogScript script;
    list.SelectGame();
    EXPECT_EQ(script.Messages().back(), "Please select one game");
    EXPECT_EQ(list.Table(), nullptr);
}

TEST_F(GameListTest, ACancelledLoginReadsNothingAndTheCloseBoxStopsAfterTheDefinition) {
    StartForm list;
    list.form.Show();
    list.List1.SetListIndex(IndexOf(list.List1, "Beta"));
    drive::DialogScript script;
    script.AnswerModal([](platform::Form&) { ASSERT_TRUE(drive::Click(LoginWindow()->Command2)); });
    list.SelectGame();
    EXPECT_EQ(DialogResult, "");
    EXPECT_EQ(Game.CurrentPlayer, -1);
    EXPECT_EQ(Game.GamePhase, kPhaseGameList);
    EXPECT_EQ(list.Table(), nullptr);
    EXPECT_TRUE(list.form.Visible());

    // The close box leaves "Continue" and no seat: the definition is read, then the list stays.
    Game.GamePhase = 7;
    script.AnswerModal([](platform::Form& login) { ASSERT_TRUE(drive::PressCloseBox(login)); });
    list.SelectGame();
    EXPECT_EQ(DialogResult, "Continue");
    EXPECT_EQ(Game.CurrentPlayer, -1);
    EXPECT_EQ(Game.GamePhase, kPhaseGameList) << "the definition was read";
    EXPECT_EQ(list.Table(), nullptr);
    EXPECT_TRUE(list.form.Visible());
    EXPECT_TRUE(script.Problems().empty());
}

TEST_F(GameListTest, ARefusedDefinitionKeepsTheListOpenWithItsMessageAndShowsNoTable) {
    folder_.Write("Huge.game", "[GAME]\nplayers=9\n[OPTIONS]\nnum_options=1\noption1=A,Alpha,1,TRUE\n");
    StartForm list;
    list.form.Show();
    // A game played before stays closed.
    list.List1.SetListIndex(IndexOf(list.List1, "Alpha"));
    drive::DialogScript script;
    script.AnswerModal([](platform::Form&) { ASSERT_TRUE(drive::Click(LoginWindow()->Command1)); });
    list.SelectGame();
    ASSERT_NE(list.Table(), nullptr);
    ASSERT_TRUE(drive::PressCloseBox(list.Table()->Window()));

    list.List1.SetListIndex(IndexOf(list.List1, "Huge"));
    script.AnswerModal([](platform::Form&) { ASSERT_TRUE(drive::Click(LoginWindow()->Command1)); });
    list.SelectGame();
    ASSERT_EQ(script.Messages().size(), 1u);
    EXPECT_EQ(script.Messages()[0].rfind("The game cannot be loaded: ", 0), 0u) << script.Messages()[0];
    EXPECT_TRUE(list.form.Visible());
    EXPECT_EQ(list.Table(), nullptr);
    EXPECT_EQ(HasOptions(), kFalse) << "the refused game's options are gone";
}

TEST_F(GameListTest, AGameFileRemovedAfterListingIsReportedAndTheListIsRead) {
    StartForm list;
    list.form.Show();
    list.List1.SetListIndex(IndexOf(list.List1, "Gamma"));
    std::filesystem::remove(folder_.Path() + "/Gamma.game");
    drive::DialogScript script;
    list.SelectGame();
    EXPECT_EQ(script.Messages(), Names{"The game Gamma is no longer beside the program"});
    EXPECT_EQ(Items(list.List1), (Names{"Alpha", "Beta"}));
    EXPECT_TRUE(script.Problems().empty()) << "no login was shown";
}

TEST_F(GameListTest, SavedGamesJoinTheListThroughTheirSeams) {
    std::vector<std::string> read;
    int restored = 0;
    const SavedGameSeams previous = SetSavedGameSeams(SavedGameSeams{
        [] {
            return std::vector<GameListSave>{
                {"Monday (late).save", "Monday (late) (Alpha) - 1/2/25 9:00 PM", "Alpha\\nsaved", false},
                {"Old.save", "Old (** Old savegame format **) - 1/1/20 8:00 AM", "", true},
            };
        },
        [&read](const GameListSave& entry) {
            read.push_back(entry.fileName);
            Game.playerCount = 2;
            Game.players[1].name = "Ann";
            Game.players[2].name = "Bo";
            return true;
        },
        [&restored] { ++restored; },
        {}});
    StartForm list;
    list.form.Show();
    ASSERT_TRUE(Press(list.LoadGameBtn));
    EXPECT_EQ(GameListKind, kFalse);
    EXPECT_FALSE(list.CategList.Enabled());
    EXPECT_EQ(list.startLabel.Caption(), "Load the select game");
    EXPECT_EQ(list.List1.ListCount(), 2);

    drive::DialogScript script;
    script.AnswerPopup("Hide old format games");
    list.List1.SetListIndex(0);
    RightClickList(list);
    EXPECT_EQ(Items(list.List1), Names{"Monday (late) (Alpha) - 1/2/25 9:00 PM"});
    EXPECT_FALSE(list.HideOldFormatItem.Visible());
    EXPECT_TRUE(list.ShowOldFormatItem.Visible());
    script.AnswerPopup("Show old format games");
    list.List1.SetListIndex(0);
    RightClickList(list);
    EXPECT_EQ(list.List1.ListCount(), 2);

    list.List1.SetListIndex(1);
    list.SelectGame();
    EXPECT_EQ(script.Messages().back(),
              "This is a game saved with a previous version of Karvel and cannot be used.");
    DesignMode = kTrue;
    list.SelectGame();
    EXPECT_EQ(script.Messages().back(), "You cannot load a saved game in design mode");
    DesignMode = kFalse;

    // A save whose name holds " (" is loaded by its own file.
    list.List1.SetListIndex(0);
    EXPECT_EQ(list.DescTxt.Text(), "Alpha\r\nsaved");
    script.AnswerModal([](platform::Form&) {
        LoginForm* login = LoginWindow();
        EXPECT_FALSE(login->testModeOpt.Visible()) << "a loaded game has no test mode";
        ASSERT_TRUE(drive::Click(login->Command1));
    });
    list.SelectGame();
    SetSavedGameSeams(previous);
    EXPECT_EQ(read, Names{"Monday (late).save"});
    EXPECT_EQ(restored, 1);
    ASSERT_NE(list.Table(), nullptr);
    EXPECT_TRUE(list.Table()->Window().Visible());
    EXPECT_FALSE(list.form.Visible());
    EXPECT_EQ(Game.CurrentPlayer, 1);
    EXPECT_EQ(Game.GamePhase, kPhasePlaying);
    EXPECT_TRUE(script.Problems().empty());
}

TEST_F(GameListTest, ASavedGamesEntryNamesItsGameAndItsDateInTheUsersLocale) {
    folder_.Write("save/Turn 3.save", "record");
    folder_.Write("save/Ancient.save", "record");
    std::tm written{};
    written.tm_year = 2025 - 1900;
    written.tm_mon = 0;
    written.tm_mday = 2;
    written.tm_hour = 21;
    written.tm_min = 5;
    written.tm_isdst = -1;
    const std::time_t when = std::mktime(&written);
    for (const char* file : {"/save/Turn 3.save", "/save/Ancient.save"}) {
        const timeval times[2] = {{when, 0}, {when, 0}};
        ASSERT_EQ(utimes((folder_.Path() + file).c_str(), times), 0);
    }
    folder_.Write("Alpha.game", "[GAME]\nname=Alpha Deluxe\ndescription=Two seats\\nand a deck\n");
    platform::SetDateLocale("de_DE");
    const GameListSave saved = MakeGameListSave("Turn 3.save", folder_.Path() + "\\Alpha.game");
    const GameListSave old = MakeGameListSave("Ancient.save", "");
    platform::SetDateLocale("");
    EXPECT_EQ(saved.listText, "Turn 3 (Alpha Deluxe) - 02.01.25 21:05");
    EXPECT_EQ(saved.description, "Two seats\\nand a deck");
    EXPECT_FALSE(saved.oldFormat);
    EXPECT_EQ(old.listText, "Ancient (** Old savegame format **) - 02.01.25 21:05");
    EXPECT_TRUE(old.oldFormat);
}

TEST_F(GameListTest, TheStartListsTheSaveFolderAndDeletesOnlyWhatIsNotARecord) {
    folder_.Write("save/Old.save", "a record of an older format");
    // A save of this version cut short: its version text, then too little of the record.
    const std::string version = ProgramVersion();
    folder_.Write("save/Cut.save", std::string{static_cast<char>(version.size()), '\0'} + version + "cut");
    StartWindows start;
    StartForm& list = start.gameList;
    list.form.Show();
    ASSERT_TRUE(Press(list.LoadGameBtn));
    ASSERT_EQ(list.List1.ListCount(), 2);
    EXPECT_EQ(list.List1.List(0).rfind("Cut (** Damaged saved game **) - ", 0), 0u) << list.List1.List(0);
    EXPECT_EQ(list.List1.List(1).rfind("Old (** Old savegame format **) - ", 0), 0u) << list.List1.List(1);

    // The damaged one says what is wrong with it, not that it is old.
    drive::DialogScript script;
    list.List1.SetListIndex(0);
    list.SelectGame();
    ASSERT_FALSE(script.Messages().empty());
    EXPECT_EQ(script.Messages().back().rfind("The saved game Cut.save cannot be loaded: ", 0), 0u)
        << script.Messages().back();
    EXPECT_EQ(list.Table(), nullptr);

    script.AnswerYesNo(true);
    list.DeleteOldFormatItem.OnClick();
    EXPECT_EQ(Items(list.List1).size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(folder_.Path() + "/save/Old.save"));
    EXPECT_TRUE(std::filesystem::exists(folder_.Path() + "/save/Cut.save"));
    EXPECT_TRUE(script.Problems().empty());
}
