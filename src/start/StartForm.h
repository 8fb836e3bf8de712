// The game list: where a player picks a definition to start a new game or to open in a design
// session, or a saved game to continue. SelectGame is the road into a game: the seat login, the
// definition, the dealt table. Closing the table window brings the list back; closing the list
// ends the program.
#pragma once

#include "controls/cpvButton.h"
#include "platform/ControlArray.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Lists.h"
#include "platform/Menu.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class MainForm;

// A saved game as the list shows it.
struct GameListSave {
    // The file's name in the save folder, with its extension.
    std::string fileName;
    // The line of the list: the save's name, its game's name and the file's date.
    std::string listText;
    // The [GAME] description of the definition the save was made from.
    std::string description;
    // Made by an older version of the program: listed while asked for, never loaded.
    bool oldFormat = false;
    // A save of this program that is damaged: always listed, and its load says what is wrong.
    bool damaged = false;
};

// The entry of a file of the save folder made from the definition at `definition` (its
// [GAME] name and description); "" for a save of an older format or a damaged one, which
// `damaged` tells apart. The date is the file's, as the user's locale writes it.
GameListSave MakeGameListSave(const std::string& fileName, const std::string& definition,
                              bool damaged = false);

// Saved games join the game list through these. Until they are set, the list has no saved games.
struct SavedGameSeams {
    std::function<std::vector<GameListSave>()> list;
    // Reads the save into the game's state; false (after its message) when the file is refused,
    // the running state then unchanged.
    std::function<bool(const GameListSave&)> read;
    // Lays the loaded game out on the new table window, once a seat is taken.
    std::function<void()> restoreTable;
    // Deletes the saves of an older format (only files read whole that are not records of ours).
    std::function<void()> deleteOldFormat;
};
// Returns the seams they replace.
SavedGameSeams SetSavedGameSeams(SavedGameSeams seams);

class StartForm {
  public:
    StartForm();
    ~StartForm();
    StartForm(const StartForm&) = delete;
    StartForm& operator=(const StartForm&) = delete;

    // Lists the definitions of the chosen category.
    void NewGameBtn_Click();
    // Lists the saved games.
    void LoadGameBtn_Click();
    // Starts the selected definition or loads the selected saved game.
    void SelectGame();
    // Starts a new game of the definition for a seat without asking for it, as the command line
    // does (in a design session when DesignMode is set): the same set-up as a game started from
    // the list, table and tool bar shown, the list loaded behind it for when the table closes.
    // False, after its message, when the definition is refused.
    bool StartGameForSeat(const std::string& gameFile, std::int16_t seat);

    // The table window of the game started from the list; nullptr before the first.
    MainForm* Table() const { return table_.get(); }

    platform::Form form;
    platform::ComboBox CategList{form.Handle(), 0};
    platform::Label CategLabel{form.Handle()};
    platform::ListBox List1{form.Handle()};
    platform::TextBox DescTxt{form.Handle(), true};
    platform::Frame PBEMdisplayFrame{form.Handle()};
    controls::cpvButton NewGameBtn{PBEMdisplayFrame.Handle()};
    platform::Label NewGameLabel{PBEMdisplayFrame.Handle()};
    controls::cpvButton LoadGameBtn{PBEMdisplayFrame.Handle()};
    platform::Label LoadGameLabel{PBEMdisplayFrame.Handle()};
    platform::Frame PBEMstartFrame{form.Handle()};
    controls::cpvButton StartGameBtn{PBEMstartFrame.Handle()};
    platform::Label startLabel{PBEMstartFrame.Handle()};
    platform::Frame DESIGNstartFrame{form.Handle()};
    controls::cpvButton DesignBtn{DESIGNstartFrame.Handle()};
    platform::Label DesignLabel{DESIGNstartFrame.Handle()};

    platform::Menu CategoryMenuGroup;
    platform::ControlArray<platform::Menu> CategoryMenu;
    platform::Menu EditGameFileItem{CategoryMenuGroup, "[Edit the .game file]"};
    platform::Menu SavedGamesMenuGroup;
    platform::Menu HideOldFormatItem{SavedGamesMenuGroup, "Hide old format games"};
    platform::Menu ShowOldFormatItem{SavedGamesMenuGroup, "Show old format games"};
    platform::Menu DeleteOldFormatItem{SavedGamesMenuGroup, "Delete old format games"};

  private:
    void Form_Load();
    void List1_Click();
    void List1_MouseUp(const platform::MouseEvent& e);
    void SetOldFormatShown(bool shown);
    void DeleteOldFormatGames();
    // The entry chosen in the list; "" when none.
    std::string SelectedEntry() const;
    void StartNewGame(const std::string& entry);
    // After the seat is chosen: the definition, its copyright picture, the dealt table and the
    // dice; the table shown with its tool bar. False when the definition is refused or no seat
    // was taken.
    bool OpenNewGame();
    void LoadSavedGame(const GameListSave& entry);
    // A fresh table window, loaded but not shown, that brings the list back when it closes.
    MainForm& NewTable();
    void ShowTable();

    std::unique_ptr<MainForm> table_;
    // Listed saved games, in the order of the list.
    std::vector<GameListSave> saves_;
    bool showOldFormat_ = true;
    bool closing_ = false;
};
