#include "start/StartForm.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "platform/Dates.h"
#include "platform/Files.h"
#include "platform/Keys.h"
#include "platform/Seams.h"
#include "services/DiceRoller.h"
#include "start/CategoryMgmt.h"
#include "start/LoginForm.h"
#include "start/StartPictures.h"
#include "start/TableDialogs.h"
#include "state/GameMgmt.h"
#include "state/Helpers.h"
#include "state/OptionMgmt.h"
#include "state/SaveRecord.h"
#include "state/TableState.h"
#include "table/MainForm.h"
#include "table/TableSetup.h"
#include "table/ToolBarForm.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace {

SavedGameSeams g_saves;

const std::string kGameExtension = ".game";

std::string DefinitionOf(const std::string& entry) {
    return platform::ProgramFolder() + "\\" + entry + kGameExtension;
}

// Definitions write a line break as the two characters "\n".
std::string WithLineBreaks(std::string text) {
    for (std::size_t at = text.find("\\n"); at != std::string::npos; at = text.find("\\n", at + 2))
        text.replace(at, 2, "\r\n");
    return text;
}

void EnsureSaveFolder() {
    const auto folder = platform::ResolvePath(SaveFolder());
    if (!folder) return;
    std::error_code failed;
    std::filesystem::create_directories(*folder, failed);
}

// A new game's options and seats are the chosen definition's only while it is being started.
void DiscardGameOptions() {
    GameOptionTable.num_options = 0;
    GameOptionTable.optionNames.Fill("");
    GameOptionTable.selectedOption.Fill(0);
}

} // namespace

GameListSave MakeGameListSave(const std::string& fileName, const std::string& definition, bool damaged) {
    GameListSave entry;
    entry.fileName = fileName;
    const std::string name = fileName.size() > 5 ? fileName.substr(0, fileName.size() - 5) : fileName;
    const std::string date = platform::FileDateText(SaveFolder() + "\\" + fileName);
    entry.damaged = damaged;
    if (damaged) {
        entry.listText = name + " (** Damaged saved game **) - " + date;
        return entry;
    }
    entry.oldFormat = definition.empty();
    if (entry.oldFormat) {
        entry.listText = name + " (** Old savegame format **) - " + date;
        return entry;
    }
    entry.listText = name + " (" + GetIni("GAME", "name", definition) + ") - " + date;
    entry.description = GetIni("GAME", "description", definition);
    return entry;
}

SavedGameSeams SetSavedGameSeams(SavedGameSeams seams) {
    return std::exchange(g_saves, std::move(seams));
}

StartForm::StartForm() : CategoryMenu(platform::LikeFirst<platform::Menu>()) {
    form.SetCaption("Start or Load a PBEM game");
    CategList.Move(120, 120, 2400, 315);
    CategLabel.SetCaption("<= Change Game Category");
    CategLabel.Move(2640, 165, 2160, 255);
    List1.Move(120, 540, 4680, 5640);
    DescTxt.Move(4920, 120, 4680, 2880);
    DescTxt.SetLocked(true);

    PBEMdisplayFrame.SetCaption("PBEM");
    PBEMdisplayFrame.Move(4920, 3120, 4680, 1680);
    startpictures::DressPictureButton(NewGameBtn, "NewGameBtn", startpictures::NewGameIcon(),
                                      "Start a new PBEM game", 180, 300);
    NewGameLabel.SetCaption("Display available Games");
    NewGameLabel.Move(960, 480, 3500, 255);
    startpictures::DressPictureButton(LoadGameBtn, "LoadGameBtn", startpictures::SavedGameIcon(),
                                      "Load a saved PBEM session", 180, 960);
    LoadGameLabel.SetCaption("Display Saved Games");
    LoadGameLabel.Move(960, 1140, 3500, 255);
    PBEMstartFrame.SetCaption("");
    PBEMstartFrame.Move(4920, 4920, 4680, 1020);
    startpictures::DressPictureButton(StartGameBtn, "StartGameBtn", startpictures::StartIcon(),
                                      "Confirm the game selection", 180, 240);
    startLabel.SetCaption("Start a new game");
    startLabel.Move(960, 420, 3500, 255);
    DESIGNstartFrame.SetCaption("Design Mode");
    DESIGNstartFrame.Move(4920, 3120, 4680, 1020);
    startpictures::DressPictureButton(DesignBtn, "DesignBtn", startpictures::DesignIcon(),
                                      "Start a design Session", 180, 300);
    DesignLabel.SetCaption("Start a new Design session");
    DesignLabel.Move(960, 480, 3500, 255);
    form.FitToContent(120);

    CategoryMenu.Place(0, std::make_unique<platform::Menu>(CategoryMenuGroup, kGenericCategory));
    for (int i = 1; i <= kMaxCategories; ++i)
        CategoryMenu.Load(i);
    // The named categories come before the editing item.
    for (int i = 0; i <= kMaxCategories; ++i) {
        CategoryMenu(i)->OnClick = [this, i] { SetGameCategory(*this, i, SelectedEntry()); };
    }
    EditGameFileItem.OnClick = [this] {
        const std::string entry = SelectedEntry();
        if (entry.empty()) {
            ShowMsg("Please select a game");
            return;
        }
        if (!platform::OpenDocument(DefinitionOf(entry))) ShowMsg("Cannot open " + DefinitionOf(entry));
    };
    ShowOldFormatItem.SetVisible(false);
    HideOldFormatItem.OnClick = [this] { SetOldFormatShown(false); };
    ShowOldFormatItem.OnClick = [this] { SetOldFormatShown(true); };
    DeleteOldFormatItem.OnClick = [this] { DeleteOldFormatGames(); };

    form.OnLoad = [this] { Form_Load(); };
    // Escape closes the list, and so the program, as its close box does: without a window manager
    // the window has no close box.
    form.SetKeyPreview(true);
    form.OnKeyDown = [this](int keyCode, int) {
        if (keyCode == platform::keys::kEscape) form.Close();
    };
    form.OnQueryUnload = [this](bool&, platform::UnloadMode) {
        closing_ = true;
        if (table_) table_->Window().Unload();
        closing_ = false;
    };
    CategList.OnClick = [this] { ClickNewGame(*this); };
    CategList.OnChange = [this] { ClickNewGame(*this); };
    NewGameBtn.Click = [this] { NewGameBtn_Click(); };
    LoadGameBtn.Click = [this] { LoadGameBtn_Click(); };
    StartGameBtn.Click = [this] {
        DesignMode = kFalse;
        SelectGame();
    };
    DesignBtn.Click = [this] {
        DesignMode = kTrue;
        GameListKind = kTrue;
        SelectGame();
    };
    List1.OnClick = [this] { List1_Click(); };
    List1.OnDblClick = [this] {
        StartGameBtn.Enabled(true);
        SelectGame();
    };
    List1.OnMouseUp = [this](const platform::MouseEvent& e) { List1_MouseUp(e); };
}

StartForm::~StartForm() = default;

void StartForm::Form_Load() {
    SeedRandom(GetTimeStamp());
    GameListKind = kFalse;
    showOldFormat_ = true;
    HideOldFormatItem.SetVisible(true);
    ShowOldFormatItem.SetVisible(false);
    Game.GamePhase = kPhaseGameList;
    EnsureSaveFolder();
    // A save the program was ended in the middle of leaves its temporary file behind.
    platform::RemoveStaleAtomicWrites(SaveFolder(), "*.save");
    StartGameBtn.Enabled(false);
    DesignBtn.Enabled(false);
    FillCategoryCombo(*this);
    const bool design = DesignMode != kFalse;
    form.SetCaption(design ? "Start a new Design session" : "Start or Load a PBEM game");
    PBEMstartFrame.SetVisible(!design);
    PBEMdisplayFrame.SetVisible(!design);
    DESIGNstartFrame.SetVisible(design);
}

void StartForm::NewGameBtn_Click() {
    GameListKind = kTrue;
    List1.Clear();
    saves_.clear();
    DescTxt.SetText("");
    CategList.SetEnabled(true);
    const std::string category = CategList.Text();
    std::vector<std::string> entries;
    for (const std::string& file : platform::ListFiles(platform::ProgramFolder(), "*" + kGameExtension)) {
        const std::string entry = file.substr(0, file.size() - kGameExtension.size());
        if (GameInCategory(entry, category)) entries.push_back(entry);
    }
    List1.AddItems(entries);
    GameMode = kModeLocal;
    startLabel.SetCaption("Start the select game");
}

void StartForm::LoadGameBtn_Click() {
    List1.Clear();
    saves_.clear();
    DescTxt.SetText("");
    CategList.SetEnabled(false);
    if (g_saves.list) {
        for (GameListSave& entry : g_saves.list())
            if (!entry.oldFormat || showOldFormat_) saves_.push_back(std::move(entry));
    }
    std::vector<std::string> lines;
    for (const GameListSave& entry : saves_)
        lines.push_back(entry.listText);
    List1.AddItems(lines);
    GameMode = kModeLocal;
    GameListKind = kFalse;
    startLabel.SetCaption("Load the select game");
}

std::string StartForm::SelectedEntry() const {
    return List1.List(List1.ListIndex());
}

void StartForm::List1_Click() {
    StartGameBtn.Enabled(true);
    DesignBtn.Enabled(true);
    const int index = List1.ListIndex();
    if (index < 0) return;
    std::string description;
    if (GameListKind != kFalse)
        description = GetIni("GAME", "description", DefinitionOf(SelectedEntry()));
    else if (static_cast<std::size_t>(index) < saves_.size())
        description = saves_[static_cast<std::size_t>(index)].description;
    DescTxt.SetText(WithLineBreaks(description));
}

void StartForm::List1_MouseUp(const platform::MouseEvent& e) {
    if (e.button != 2) return;
    form.PopupMenu(GameListKind != kFalse ? CategoryMenuGroup : SavedGamesMenuGroup);
}

void StartForm::SetOldFormatShown(bool shown) {
    showOldFormat_ = shown;
    HideOldFormatItem.SetVisible(shown);
    ShowOldFormatItem.SetVisible(!shown);
    LoadGameBtn_Click();
}

void StartForm::DeleteOldFormatGames() {
    if (!platform::AskYesNo(
            "Do you want to delete all the savegames created with a previous version of Karvel?"))
        return;
    if (g_saves.deleteOldFormat) g_saves.deleteOldFormat();
    LoadGameBtn_Click();
}

void StartForm::SelectGame() {
    const int index = List1.ListIndex();
    const std::string entry = SelectedEntry();
    if (entry.empty()) {
        ShowMsg("Please select one game");
        return;
    }
    if (GameListKind != kFalse) {
        StartNewGame(entry);
    } else if (static_cast<std::size_t>(index) < saves_.size()) {
        LoadSavedGame(saves_[static_cast<std::size_t>(index)]);
    }
}

MainForm& StartForm::NewTable() {
    // The previous game's window went when its table closed; only now may the object go.
    table_.reset();
    table_ = std::make_unique<MainForm>();
    table_->Others.showGameList = [this] {
        if (!closing_) form.Show();
    };
    WireTableDialogs(*table_);
    return *table_;
}

void StartForm::ShowTable() {
    form.Hide();
    table_->Window().Show();
    ShowTableToolBar(*table_);
    Game.GamePhase = kPhasePlaying;
    UpdateTitle();
    table_->Window().Activate();
}

void StartForm::StartNewGame(const std::string& entry) {
    CurrentGameFile = DefinitionOf(entry);
    if (!FileExists(CurrentGameFile)) {
        ShowMsg("The game " + entry + " is no longer beside the program");
        NewGameBtn_Click();
        return;
    }
    InitGameOptions();
    {
        LoginForm login;
        login.form.ShowModal();
    }
    if (DialogResult.empty()) return;
    OpenNewGame();
}

bool StartForm::OpenNewGame() {
    // The previous game's table goes before the definition replaces what it showed.
    table_.reset();
    if (!LoadDefinitionForTable(CurrentGameFile)) {
        DiscardGameOptions();
        return false;
    }
    ShowGameCopyright();
    if (Game.CurrentPlayer <= 0) return false;
    MainForm& table = NewTable();
    SetUpDealtTable(table);
    LoadDice();
    ShowTable();
    return true;
}

bool StartForm::StartGameForSeat(const std::string& gameFile, std::int16_t seat) {
    // The list as it opens (the random numbers seeded, the save folder made), then the start
    // the list makes once the seat is chosen.
    form.Load();
    GameListKind = kTrue;
    CurrentGameFile = gameFile;
    if (!FileExists(CurrentGameFile)) {
        ShowMsg("The game " + gameFile + " is not in the program folder");
        return false;
    }
    InitGameOptions();
    TakePlayerSeat(seat, false);
    DialogResult = "Continue";
    return OpenNewGame();
}

void StartForm::LoadSavedGame(const GameListSave& entry) {
    if (DesignMode != kFalse) {
        ShowMsg("You cannot load a saved game in design mode");
        return;
    }
    if (entry.oldFormat || !g_saves.read) {
        ShowMsg("This is a game saved with a previous version of Karvel and cannot be used.");
        return;
    }
    NewTable();
    if (!g_saves.read(entry)) {
        table_.reset();
        return;
    }
    form.Hide();
    {
        LoginForm login;
        login.form.ShowModal();
    }
    if (Game.CurrentPlayer <= 0) {
        closing_ = true;
        table_->Window().Unload();
        closing_ = false;
        table_.reset();
        form.Show();
        return;
    }
    if (g_saves.restoreTable) g_saves.restoreTable();
    ShowTable();
}
