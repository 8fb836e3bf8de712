// The first four steps: the game's name, image folder, description and desktop image (with the
// quick guide), the players and their names, each player's count of decks and the count of
// common decks; reading the game's header when a game is chosen, and the keys it is saved as.
#include "editor/MainForm.h"

#include "editor/MainFormHelpers.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "platform/Codec.h"
#include "platform/Files.h"
#include "platform/Ini.h"
#include "platform/Seams.h"

#include <algorithm>
#include <filesystem>
#include <optional>

namespace wizard {

using platform::CheckBox;
using platform::ComboBox;
using platform::TextBox;

namespace {

const char* const kQuickGuide =
    "To quickly create a new .game file:\r\n"
    "1) Select the name of the game and the folder where you've saved all the card "
    "images (this page)\r\n"
    "2) Specify how many players will partecipate and give each player a name\r\n"
    "3) Specify how many decks will be used\r\n"
    "4) For each deck specify what images will be used";

} // namespace

std::string MainForm::PlayerName(int p) const {
    return p >= 1 && p <= 6 ? PLname[p - 1]->Text() : std::string();
}

void MainForm::BuildStep0() {
    auto* f = Wiz[0]->Handle();
    Describe(f, "Game name", 240, 360, 2000);
    NameTXT = Make<ComboBox>(f, 2400, 360, 4000, 315, 0);
    Describe(f, "Image folder", 240, 840, 2000);
    DirName = Make<ComboBox>(f, 2400, 840, 4000, 315, 0);
    NewDirBtn = Button(f, "New Dir", 6600, 840, 1200, 315);
    Describe(f, "Description", 240, 1320, 2000);
    descTxt = Make<TextBox>(f, 2400, 1320, 5400, 1200, true);
    Describe(f, "Desktop image", 240, 2640, 2000);
    DeskTopImage = Caption(f, "", 2400, 2640, 4000);
    SetDesktopImage = Button(f, "Select", 6600, 2640, 1200, 315);
    LoadBtn = Button(f, "Load", 6600, 360, 1200, 315);
    mainHelp = Caption(f, "", 240, 3240, 8800, 2400);
    mainHelp->SetWordWrap(true);
}

void MainForm::BuildStep1to3() {
    auto* f = Wiz[1]->Handle();
    Describe(f, "Number of Players", 240, 360, 2400);
    PlNum = Make<TextBox>(f, 2760, 360, 600, 315);
    for (int i = 0; i < 6; ++i) {
        const int top = 960 + i * 600;
        PLlabel[i] = Caption(f, "Player #" + std::to_string(i + 1), 240, top, 1200);
        PLname[i] = Make<TextBox>(f, 1560, top, 3000, 315);
        PL_data[i] = Button(f, "Player Detail", 4800, top, 3600, 315);
    }
    auto* g = Wiz[2]->Handle();
    Describe(g, "Number of Player's decks", 240, 360, 2400);
    NumPLdecks = Make<TextBox>(g, 2760, 360, 600, 315);
    for (int i = 0; i < 6; ++i)
        ShowPlayerDeck[i] =
            Button(g, "Show PlayerDeck #" + std::to_string(i + 1), 240, 960 + i * 480, 3000, 360);
    MrkUseOption = Make<CheckBox>(g, 4800, 960, 3000, 315);
    MrkUseOption->SetCaption("Player use Markers");
    ShowMarkersBtn = Button(g, "Show Player Markers", 4800, 1440, 3000);
    ShowMarkersBtn->SetVisible(false);
    auto* h = Wiz[3]->Handle();
    Describe(h, "Number of Common decks", 240, 360, 2400);
    CommDecksNum = Make<TextBox>(h, 2760, 360, 600, 315);
    for (int i = 0; i < 6; ++i)
        ShowCommonDeck[i] =
            Button(h, "Show Common Deck #" + std::to_string(i + 1), 240, 960 + i * 480, 3000, 360);
}

void MainForm::SetQuickHelp() {
    if (QuickHelpCount == 0) mainHelp->SetCaption(kQuickGuide);
    if (QuickHelpCount < INT16_MAX) ++QuickHelpCount;
}

void MainForm::RefreshPlayerButtons() {
    const int players = BoxNumber(PlNum->Text());
    const std::string file = GameFile();
    for (int p = 1; p <= 6; ++p) {
        const bool shown = p <= players;
        PLlabel[p - 1]->SetVisible(shown);
        PLname[p - 1]->SetVisible(shown);
        PL_data[p - 1]->SetVisible(shown);
        if (!shown) continue;
        const std::string decks = GetIni(PlayerSection(p), "decks", file);
        std::string text;
        if (decks.empty() || decks == "0")
            text = "NO decks";
        else if (BoxNumber(decks) == 1)
            text = "1 deck";
        else
            text = decks + " decks";
        PL_data[p - 1]->SetCaption("Player # " + std::to_string(p) + " data (" + text + ")");
    }
}

void MainForm::FillDirList() {
    DirName->Clear();
    const std::optional<std::string> real = platform::ResolvePath(platform::ProgramFolder());
    if (!real) return;
    std::error_code error;
    std::vector<std::string> folders;
    for (const auto& entry : std::filesystem::directory_iterator(*real, error)) {
        const std::string name = platform::AnsiFromUtf8(entry.path().filename().string());
        if (name.rfind('.', 0) == 0 || !entry.is_directory(error) || entry.is_symlink(error)) continue;
        folders.push_back(name);
    }
    std::sort(folders.begin(), folders.end());
    for (const std::string& name : folders)
        DirName->AddItem(name);
}

void MainForm::NewDir() {
    const std::string name = DirName->Text();
    if (name.empty()) {
        ShowMsg("Please insert the new directory name");
        return;
    }
    const std::optional<std::string> real = platform::ResolvePath(platform::ProgramFolder() + "\\" + name);
    std::error_code error;
    if (name.find_first_of("\\/:*?\"<>|") != std::string::npos || name.rfind('.', 0) == 0 || !real) {
        ShowMsg("The folder name \"" + name + "\" cannot be used");
        return;
    }
    if (std::filesystem::exists(*real, error)) {
        ShowMsg("Directory '" + name + "' already exists - please select another name");
        return;
    }
    if (!std::filesystem::create_directory(*real, error)) {
        ShowMsg("The folder " + name + " could not be made");
        return;
    }
    FillDirList();
    DirName->SetText(name);
}

void MainForm::NameChosen() {
    const std::string name = NameTXT->Text();
    if (name.empty() || !GameNameRefusal(name).empty()) return;
    if (FileExists(GameFile())) LoadGameHeader();
}

void MainForm::OpenGameDialog() {
    platform::FileRequest request;
    request.title = "Open";
    request.filter = "Game Files|*.game";
    request.folder = platform::ProgramFolder();
    const std::optional<std::string> chosen = platform::ChooseFileToOpen(request);
    if (!chosen) return;
    // Only the name counts: the game edited is the file of that name beside the program.
    std::string name = PathFileName(*chosen);
    const auto slash = name.find_last_of('/');
    if (slash != std::string::npos) name = name.substr(slash + 1);
    OpenAt(name, -1);
}

void MainForm::LoadGameHeader() {
    const std::string file = GameFile();
    const platform::IniReadScope reading;
    filling_ = true;
    descTxt->SetText(DescriptionFromValue(GetIni("GAME", "description", file)));
    DirName->SetText(GetIni("GAME", "directory", file));
    filling_ = false;
    SetCountFromFile(*PlNum, GetIni("GAME", "players", file), 6);
    RefreshPlayerButtons();
    const int players = std::clamp(BoxNumber(PlNum->Text()), 0, 6);
    for (int p = 1; p <= players; ++p)
        PLname[p - 1]->SetText(GetIni("player " + std::to_string(p), "name", file));
    SetCountFromFile(*CommDecksNum, GetIni("GAME", "common_decks", file), 6);
    ShowButtons(ShowCommonDeck.data(), 6, BoxNumber(CommDecksNum->Text()));
    DeskTopImage->SetCaption(GetIni("GAME", "desktop", file));
    headerFile_ = file;
    propListsWarned_ = false;
    // The name key is not read (the file's name is the game's name), so the window never showed
    // it: Save writes it whenever the file holds another.
    std::vector<KeyValue> shown = HeaderKeys();
    std::erase_if(shown, [](const KeyValue& kv) { return kv.section == "GAME" && kv.key == "name"; });
    shown.push_back(KeyValue{"GAME", "desktop", DeskTopImage->Caption()});
    writer_.Remember(file, shown);
}

std::vector<KeyValue> MainForm::HeaderKeys() const {
    std::vector<KeyValue> keys{
        {"GAME", "name", NameTXT->Text()},
        {"GAME", "description", ValueFromDescription(descTxt->Text())},
        {"GAME", "players", PlNum->Text()},
        {"GAME", "directory", DirName->Text()},
        {"GAME", "common_decks", std::to_string(BoxNumber(CommDecksNum->Text()))},
    };
    const int players = std::clamp(BoxNumber(PlNum->Text()), 0, 6);
    for (int p = 1; p <= players; ++p)
        keys.push_back({PlayerSection(p), "name", PLname[p - 1]->Text()});
    return keys;
}

} // namespace wizard
