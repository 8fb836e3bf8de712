#include "editor/MainForm.h"

#include "editor/CardDetailForm.h"
#include "editor/DeckPropForm.h"
#include "editor/HelpBoxes.h"
#include "editor/ImageForms.h"
#include "editor/TreeForm.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Codec.h"
#include "platform/Files.h"
#include "platform/Ini.h"
#include "platform/Keys.h"
#include "platform/Seams.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <utility>

namespace wizard {

using platform::CheckBox;
using platform::ComboBox;
using platform::CommandButton;
using platform::Frame;
using platform::Label;
using platform::ListBox;
using platform::TextBox;

namespace {

constexpr int kFrameHeight = 5900;

template <class T, class... A>
std::unique_ptr<T> Make(platform::NativeWidget* parent, int left, int top, int width, int height, A... args) {
    auto control = std::make_unique<T>(parent, args...);
    control->Move(left, top, width, height);
    return control;
}

std::unique_ptr<CommandButton> Button(platform::NativeWidget* parent, const std::string& caption, int left,
                                      int top, int width, int height = 360) {
    auto button = Make<CommandButton>(parent, left, top, width, height);
    button->SetCaption(caption);
    return button;
}

std::unique_ptr<Label> Caption(platform::NativeWidget* parent, const std::string& caption, int left, int top,
                               int width, int height = 285) {
    auto label = Make<Label>(parent, left, top, width, height);
    label->SetCaption(caption);
    return label;
}

// The number of a count box: its leading number, rounded halves to even.
int BoxNumber(const std::string& text) {
    return RoundToInt16(LeadingNumber(text));
}

std::string PlayerSection(int p) {
    return "Player " + std::to_string(p);
}

const char* const kQuickGuide =
    "To quickly create a new .game file:\r\n"
    "1) Select the name of the game and the folder where you've saved all the card "
    "images (this page)\r\n"
    "2) Specify how many players will partecipate and give each player a name\r\n"
    "3) Specify how many decks will be used\r\n"
    "4) For each deck specify what images will be used";

} // namespace

void MainForm::Describe(platform::NativeWidget* parent, const std::string& caption, int left, int top,
                        int width) {
    labels_.push_back(Caption(parent, caption, left, top, width));
}

MainForm::MainForm() {
    Build();
    Wire();
}

MainForm::~MainForm() = default;

ImageListForm& MainForm::ImageList() {
    if (!imageList_) imageList_ = std::make_unique<ImageListForm>();
    return *imageList_;
}

CardImageForm& MainForm::CardImage() {
    if (!cardImage_) cardImage_ = std::make_unique<CardImageForm>();
    return *cardImage_;
}

DeckPropForm& MainForm::DeckProperties() {
    if (!deckProps_) deckProps_ = std::make_unique<DeckPropForm>();
    return *deckProps_;
}

TreeForm& MainForm::Tree() {
    if (!tree_) tree_ = std::make_unique<TreeForm>();
    return *tree_;
}

std::string MainForm::PlayerName(int p) const {
    return p >= 1 && p <= 6 ? PLname[p - 1]->Text() : std::string();
}

void MainForm::JumpFromTree() {
    TreeForm& tree = Tree();
    tree.Open(GameFile(), std::clamp(BoxNumber(PlNum->Text()), 0, 6));
    if (tree.JumpStep != -1) JumpTo(tree.JumpStep, tree.JumpOwner, tree.JumpNumber);
}

void MainForm::JumpTo(int step, int owner, int number) {
    PreviousStep = CurrentStep;
    CurrentStep = step;
    if (CurrentStep == 2) CurrentIndex = number;
    if (CurrentStep == 4) {
        IsCommonDeck = owner == -1;
        if (IsCommonDeck) {
            CurrentIndex = number;
        } else {
            CurrentDeck = number;
            CurrentIndex = owner;
        }
        LoadDeckData(DeckSection());
    }
    if (CurrentStep == 7) CurrentIndex = owner;
    ShowFrame();
}

void MainForm::OpenAt(const std::string& game, int step) {
    std::string name = game;
    if (name.size() > 5 && platform::AnsiLower(name.substr(name.size() - 5)) == ".game")
        name.resize(name.size() - 5);
    NameTXT->SetText(name);
    NameChosen();
    if (step < 0 || step > 7 || step == 5) return;
    // A step that shows one player, deck or report shows the first.
    JumpTo(step, step == 7 ? 0 : -1, 1);
}

CardDetailForm& MainForm::CardDetail() {
    if (!cardDetail_) cardDetail_ = std::make_unique<CardDetailForm>(*this);
    return *cardDetail_;
}

void MainForm::Build() {
    form_.SetCaption("Karvel Wizard - ver 1.0.1");
    form_.Resize(9600, 7400);
    const char* captions[8] = {"General Info", "Players Info", "Players Detail",        "Decks Info",
                               "Decks Detail", "Card Detail",  "Properties && Reports", "Report Detail"};
    for (int i = 0; i < 8; ++i) {
        Wiz[i] = Make<Frame>(form_.Handle(), 8, 8, 9400, kFrameHeight);
        Wiz[i]->SetCaption(captions[i]);
        Wiz[i]->SetVisible(false);
    }
    ButtonFrame = Make<Frame>(form_.Handle(), 8, kFrameHeight + 60, 9400, 700);
    auto* b = ButtonFrame->Handle();
    PrevStep = Button(b, "<< Back", 240, 240, 1400);
    NextStep = Button(b, "Forward >>", 1800, 240, 1400);
    SaveBtn = Button(b, "Save", 3360, 240, 1400);
    TreeBtn = Button(b, "Index", 4920, 240, 1400);
    HelpBtn = Button(b, "?", 6480, 240, 600);
    BuildStep0();
    BuildStep1to3();
    BuildStep4();
    BuildStep6and7();
    NameControls();
    help_ = std::make_unique<HelpBoxes>(form_.Handle(),
                                        [this](const std::string& name) { return ControlValue(name); });
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

void MainForm::BuildStep4() {
    auto* f = Wiz[4]->Handle();
    Describe(f, "Images in the Game Directory", 240, 300, 3000);
    File1 = Make<ListBox>(f, 240, 600, 3000, 3600, true);
    SelectAll = Button(f, "Select All", 240, 4300, 960, 315);
    SelectNone = Button(f, "Select None", 1260, 4300, 960, 315);
    RefreshFiles = Button(f, "Refresh", 2280, 4300, 960, 315);
    AddCards = Button(f, "->", 3360, 1200, 600, 315);
    RemoveCard = Button(f, "<-", 3360, 1680, 600, 315);
    ClearCards = Button(f, "clear", 3360, 2160, 600, 315);
    commonList = Make<platform::VirtualListBox>(f, 4080, 600, 2880, 3600);
    commonList->SetItemSource([this](int index) {
        return index >= 0 && index < static_cast<int>(cards_.size())
                   ? cards_[static_cast<std::size_t>(index)].text
                   : std::string();
    });
    commLabel = Caption(f, "Cards: 0", 4080, 4300, 2880);
    Describe(f, "Back", 7320, 300, 1800);
    AddBack = Button(f, "->", 7080, 600, 360, 315);
    backImg = Make<ListBox>(f, 7500, 600, 1700, 600);
    Describe(f, "Discard", 7320, 1380, 1800);
    AddDiscard = Button(f, "->", 7080, 1680, 360, 315);
    discardImg = Make<ListBox>(f, 7500, 1680, 1700, 600);
    Describe(f, "Cards to deal", 7080, 2520, 1800);
    DealCrds = Make<TextBox>(f, 7080, 2820, 900, 315);
    AdvancedProps = Button(f, "Advanced Properties", 7080, 3480, 2100);
}

void MainForm::BuildStep6and7() {
    auto* f = Wiz[6]->Handle();
    UsePropOpt = Make<CheckBox>(f, 240, 300, 3000, 315);
    UsePropOpt->SetCaption("Use Properties");
    pNameFrame = Make<Frame>(f, 240, 700, 9000, 3000);
    pNameFrame->SetCaption("Property list");
    pNameFrame->SetVisible(false);
    for (int k = 0; k < 4; ++k) {
        const int left = 120 + k * 2200;
        pListName[k] = Make<TextBox>(pNameFrame->Handle(), left, 300, 2000, 315);
        for (int j = 0; j < 6; ++j)
            pName[k * 6 + j] = Make<TextBox>(pNameFrame->Handle(), left, 760 + j * 360, 2000, 315);
    }
    repFrame = Make<Frame>(f, 240, 3800, 9000, 1900);
    repFrame->SetCaption("Reports");
    Describe(repFrame->Handle(), "Number of Reports", 120, 300, 2000);
    repNum = Make<TextBox>(repFrame->Handle(), 2200, 300, 600, 315);
    for (int i = 0; i < 8; ++i)
        ShowReport[i] = Button(repFrame->Handle(), "Show Report #" + std::to_string(i + 1),
                               120 + (i % 4) * 2200, 800 + (i / 4) * 480, 2000, 360);
    auto* g = Wiz[7]->Handle();
    Describe(g, "Title", 240, 360, 1500);
    RepTitle = Make<TextBox>(g, 1800, 360, 4000, 315);
    Describe(g, "Type", 240, 840, 1500);
    repType = Make<ComboBox>(g, 1800, 840, 2000, 315, 2);
    repType->AddItem("SUM");
    repType->AddItem("COUNT");
    Describe(g, "Scope", 240, 1320, 1500);
    repScope = Make<ComboBox>(g, 1800, 1320, 2000, 315, 2);
    for (const char* scope : {"ALL", "HAND", "SELECTED"})
        repScope->AddItem(scope);
    Describe(g, "Property", 240, 1800, 1500);
    RepPropName = Make<ComboBox>(g, 1800, 1800, 2000, 315, 2);
    RepOnlyOwned = Make<CheckBox>(g, 1800, 2280, 4000, 315);
    RepOnlyOwned->SetCaption("Use only cards owned");
}

void MainForm::Wire() {
    NextStep->OnClick = [this] { Forward(); };
    PrevStep->OnClick = [this] { Back(); };
    SaveBtn->OnClick = [this] { CheckAndSave(); };
    TreeBtn->OnClick = [this] { JumpFromTree(); };
    HelpBtn->OnClick = [this] { help_->Toggle(CurrentStep); };
    NameTXT->OnClick = [this] { NameChosen(); };
    NameTXT->OnKeyDown = [this](int key, int) {
        if (key == platform::keys::kReturn) NameChosen();
    };
    LoadBtn->OnClick = [this] { OpenGameDialog(); };
    NewDirBtn->OnClick = [this] { NewDir(); };
    mainHelp->OnClick = [this] { SetQuickHelp(); };

    PlNum->OnChange = [this] {
        if (!filling_) writer_.Forget("GAME", "players");
        if (CountValid(*PlNum, 6, "Please select a number from 1 to 6")) RefreshPlayerButtons();
    };
    NumPLdecks->OnChange = [this] {
        if (!CountValid(*NumPLdecks, 6, "Please insert a number from 0 to 6")) return;
        ShowButtons(ShowPlayerDeck.data(), 6, BoxNumber(NumPLdecks->Text()));
        if (!filling_) {
            // The player's deck count is written as soon as it is typed.
            const std::string file = UsableGameFile();
            if (file.empty()) return;
            if (!writer_.Write(file, {KeyValue{PlayerSection(CurrentIndex), "decks", NumPLdecks->Text()}}))
                ReportWriteFailure();
        }
        RefreshPlayerButtons();
    };
    CommDecksNum->OnChange = [this] {
        if (!filling_) writer_.Forget("GAME", "common_decks");
        if (CountValid(*CommDecksNum, 6, "Please insert a number from 0 to 6"))
            ShowButtons(ShowCommonDeck.data(), 6, BoxNumber(CommDecksNum->Text()));
    };
    // Two counts are checked again when the user leaves them: the focus stays until they hold a
    // number the window can show.
    // A box hidden with its step is not left by the user: nothing is said then.
    const auto checkOnLeaving = [this](TextBox& box, int step, int high, const std::string& message) {
        box.OnLostFocus = [this, &box, step, high, message] {
            if (CurrentStep != step || CountValid(box, high, message)) return;
            box.SetFocus();
        };
    };
    checkOnLeaving(*PlNum, 1, 6, "Please select a number from 1 to 6");
    checkOnLeaving(*CommDecksNum, 3, 6, "Please insert a number from 0 to 6");
    // Leaving the name box reads the game it names; the game already shown is not read again,
    // so that what was typed into the steps is not lost.
    NameTXT->OnLostFocus = [this] {
        if (GameFile() != headerFile_) NameChosen();
    };
    repNum->OnChange = [this] {
        if (CountValid(*repNum, 8, "Please select a number from 1 to 8"))
            ShowButtons(ShowReport.data(), 8, BoxNumber(repNum->Text()));
    };

    for (int i = 0; i < 6; ++i) {
        PL_data[i]->OnClick = [this, i] {
            PreviousStep = CurrentStep;
            CurrentStep = 2;
            CurrentIndex = i + 1;
            ShowFrame();
        };
        ShowCommonDeck[i]->OnClick = [this, i] {
            PreviousStep = CurrentStep;
            CurrentStep = 4;
            IsCommonDeck = true;
            CurrentIndex = i + 1;
            LoadDeckData(DeckSection());
            ShowFrame();
        };
        ShowPlayerDeck[i]->OnClick = [this, i] {
            PreviousStep = CurrentStep;
            CurrentStep = 4;
            IsCommonDeck = false;
            CurrentDeck = i + 1;
            LoadDeckData(DeckSection());
            ShowFrame();
        };
    }
    for (int i = 0; i < 8; ++i)
        ShowReport[i]->OnClick = [this, i] {
            PreviousStep = CurrentStep;
            CurrentStep = 7;
            CurrentIndex = i;
            ShowFrame();
        };
    MrkUseOption->OnClick = [this] { ShowMarkersBtn->SetVisible(MrkUseOption->Value() == 1); };
    UsePropOpt->OnClick = [this] { pNameFrame->SetVisible(UsePropOpt->Value() == 1); };

    AddCards->OnClick = [this] { AddSelectedCards(); };
    File1->OnDblClick = [this] {
        if (File1->ListIndex() >= 0) CardImage().Open(ImageFolder(), File1->List(File1->ListIndex()), true);
    };
    SetDesktopImage->OnClick = [this] {
        ImageList().Open(ImageFolder());
        if (!ImageList().SelectedImage.empty()) DeskTopImage->SetCaption(ImageList().SelectedImage);
    };
    AdvancedProps->OnClick = [this] {
        const std::string file = UsableGameFile();
        if (file.empty()) return;
        if (!DeckProperties().Open(file, DeckSection(), IsCommonDeck)) ReportWriteFailure();
    };
    commonList->OnDblClick = [this] {
        CardDetail().Open(false);
        UpdateCardCount();
    };
    commonList->OnKeyDown = [this](int key, int) {
        if (key == platform::keys::kReturn) CardDetail().Open(true);
    };
    RemoveCard->OnClick = [this] {
        const int index = commonList->ListIndex();
        if (index < 0 || index >= static_cast<int>(cards_.size())) return;
        cards_.erase(cards_.begin() + index);
        commonList->ItemsRemoved(index, 1);
        UpdateCardCount();
    };
    ClearCards->OnClick = [this] {
        cards_.clear();
        commonList->ResetItems(0);
        UpdateCardCount();
    };
    const auto firstSelected = [this](ListBox& target) {
        target.Clear();
        for (int i = 0; i < File1->ListCount(); ++i)
            if (File1->Selected(i)) {
                target.AddItem(File1->List(i));
                break;
            }
    };
    AddBack->OnClick = [this, firstSelected] { firstSelected(*backImg); };
    AddDiscard->OnClick = [this, firstSelected] { firstSelected(*discardImg); };
    const auto selectEvery = [this](bool selected) {
        for (int i = 0; i < File1->ListCount(); ++i)
            File1->SetSelected(i, selected);
    };
    SelectAll->OnClick = [selectEvery] { selectEvery(true); };
    SelectNone->OnClick = [selectEvery] { selectEvery(false); };
    RefreshFiles->OnClick = [this] {
        File1->Clear();
        for (const std::string& name : ImageFiles(ImageFolder()))
            File1->AddItem(name);
    };
}

void MainForm::Show() {
    // The games beside the program, by name.
    for (const std::string& game : platform::ListFiles(platform::ProgramFolder(), "*.game"))
        NameTXT->AddItem(game.substr(0, game.size() - 5));
    SetQuickHelp();
    CurrentStep = 0;
    PreviousStep = -1;
    ShowFrame();
    FillDirList();
    // The help boxes are loaded (with the window): the count starts again.
    QuickHelpCount = 0;
    form_.Show();
}

void MainForm::SetQuickHelp() {
    if (QuickHelpCount == 0) mainHelp->SetCaption(kQuickGuide);
    if (QuickHelpCount < INT16_MAX) ++QuickHelpCount;
}

std::string MainForm::ImageFolder() const {
    return platform::ProgramFolder() + "\\" + DirName->Text();
}

std::string MainForm::GameFile() const {
    return GameFilePath(NameTXT->Text());
}

std::string MainForm::UsableGameFile() {
    const std::string name = NameTXT->Text();
    if (name.empty()) return "";
    if (std::string refusal = GameNameRefusal(name); !refusal.empty()) {
        ShowMsg(refusal);
        return "";
    }
    return GameFilePath(name);
}

void MainForm::ReportWriteFailure() {
    ShowMsg("The game file " + NameTXT->Text() + ".game could not be written");
}

std::string MainForm::DeckSection() const {
    if (IsCommonDeck) return "COMMON " + std::to_string(CurrentIndex);
    return "DECK " + std::to_string(CurrentDeck) + " PLAYER " + std::to_string(CurrentIndex);
}

void MainForm::ShowFrame() {
    help_->Hide();
    if (PreviousStep != -1 && PreviousStep != CurrentStep) Wiz[PreviousStep]->SetVisible(false);
    platform::Frame& frame = *Wiz[CurrentStep];
    frame.Move(8, 8, form_.ScaleWidth() - 16, kFrameHeight);
    frame.SetVisible(true);
    frame.ZOrder(true);
    if (CurrentStep == 4) {
        if (DirName->Text().empty()) ShowMsg("No directory has been set for the current game");
        RefreshFiles->OnClick();
        if (IsCommonDeck)
            frame.SetCaption("Common Deck #" + std::to_string(CurrentIndex));
        else
            frame.SetCaption("Deck #" + std::to_string(CurrentDeck) + " Player # " +
                             std::to_string(CurrentIndex) + " - " + PlayerName(CurrentIndex));
    } else if (CurrentStep == 2) {
        frame.SetCaption("Data Player #" + std::to_string(CurrentIndex) + " " + PlayerName(CurrentIndex));
        const std::string decks = GetIni(PlayerSection(CurrentIndex), "decks", GameFile());
        SetCountFromFile(*NumPLdecks, StripBlanks(decks), 6);
    } else if (CurrentStep == 6) {
        showProperties();
        LoadReportCount();
    } else if (CurrentStep == 7) {
        DisplayReport(CurrentIndex);
    }
}

void MainForm::Forward() {
    help_->Hide();
    const int step = CurrentStep;
    if (step == 0) {
        if (NameTXT->Text().empty()) {
            ShowMsg("Please select the game name");
            return;
        }
        if (std::string refusal = GameNameRefusal(NameTXT->Text()); !refusal.empty()) {
            ShowMsg(refusal);
            return;
        }
        // Leaving the name box reads the game it names.
        if (GameFile() != headerFile_ && FileExists(GameFile())) LoadGameHeader();
    }
    PreviousStep = step;
    switch (step) {
    case 0:
        CurrentStep = 1;
        break;
    case 1:
        CurrentStep = 3;
        break;
    case 2:
        // A count the box refused walks no further than the rows the window has.
        if (std::clamp(BoxNumber(PlNum->Text()), 0, 6) > CurrentIndex) ++CurrentIndex;
        break;
    case 3:
        CurrentStep = 6;
        break;
    case 4: {
        const int count =
            std::clamp(BoxNumber(IsCommonDeck ? CommDecksNum->Text() : NumPLdecks->Text()), 0, 6);
        int& number = IsCommonDeck ? CurrentIndex : CurrentDeck;
        if (count > number) {
            if (!SaveDeckData()) return;
            ++number;
            LoadDeckData(DeckSection());
        }
        break;
    }
    default:
        break;
    }
    ShowFrame();
}

void MainForm::Back() {
    help_->Hide();
    PreviousStep = CurrentStep;
    switch (CurrentStep) {
    case 1:
        CurrentStep = 0;
        break;
    case 2:
        if (CurrentIndex >= 2)
            --CurrentIndex;
        else
            CurrentStep = 1;
        break;
    case 3:
        CurrentStep = 1;
        break;
    case 4: {
        int& number = IsCommonDeck ? CurrentIndex : CurrentDeck;
        if (number >= 2) {
            if (!SaveDeckData()) return;
            --number;
            LoadDeckData(DeckSection());
        } else {
            CurrentStep = IsCommonDeck ? 3 : 2;
        }
        break;
    }
    case 6:
        if (!SavePropLists()) return;
        CurrentStep = 3;
        break;
    case 7:
        if (CurrentIndex >= 1)
            --CurrentIndex;
        else
            CurrentStep = 6;
        break;
    default:
        break;
    }
    ShowFrame();
}

bool MainForm::CountValid(TextBox& box, int high, const std::string& message) {
    const int n = BoxNumber(box.Text());
    if (n >= 0 && n <= high) return true;
    if (!filling_) ShowMsg(message);
    return false;
}

void MainForm::SetCountFromFile(TextBox& box, const std::string& value, int high) {
    // A count the window cannot show is shown clamped; the file keeps its own value while the box
    // is not edited.
    const int n = BoxNumber(value);
    filling_ = true;
    box.SetText(n > high ? std::to_string(high) : n < 0 ? "0" : value);
    filling_ = false;
}

void MainForm::ShowButtons(std::unique_ptr<CommandButton>* buttons, int count, int shown) {
    for (int i = 0; i < count; ++i)
        buttons[i]->SetVisible(i < shown);
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

bool MainForm::WriteGameHeader() {
    const std::string file = GameFile();
    const KeyWriter before = writer_;
    // One replace of the file for the whole save: a failure leaves the old file whole.
    platform::IniWriteScope scope;
    bool written = writer_.Write(file, HeaderKeys());
    std::vector<KeyValue> deck;
    if (CurrentStep == 4) {
        deck = DeckKeysToWrite(file);
        written = writer_.Write(file, deck) && written;
    }
    std::optional<std::vector<KeyValue>> lists;
    // Lists that would not read back as typed are refused with their own message; the rest of
    // the game is saved all the same.
    if (CurrentStep == 6) lists = PropListsToWrite();
    if (lists) written = writer_.Write(file, *lists) && written;
    written = writer_.Write(file, {KeyValue{"GAME", "desktop", DeskTopImage->Caption()}}) && written;
    if (!CommitWrites(scope, written, before)) return false;
    if (!deck.empty()) Deck.MarkSaved(cards_);
    if (lists && !lists->empty()) propListsShown_ = *lists;
    headerFile_ = file;
    return true;
}

bool MainForm::CommitWrites(platform::IniWriteScope& scope, bool written, const KeyWriter& before) {
    // The platform names a file it could not write by the path it was given; the author knows the
    // game by its name, and hears of the failure once.
    std::vector<std::string> held;
    platform::MessageHandler shown =
        platform::SetMessageHandler([&held](const std::string& text) { held.push_back(text); });
    written = scope.Commit() && written;
    platform::SetMessageHandler(std::move(shown));
    if (!written) {
        // What is on disk is what was there before: what this save meant to write is forgotten.
        writer_ = before;
        ReportWriteFailure();
        return false;
    }
    for (const std::string& text : held)
        ShowMsg(text);
    return true;
}

void MainForm::SetCardEntry(int index, const std::string& text) {
    if (index < 0 || index >= static_cast<int>(cards_.size())) return;
    cards_[static_cast<std::size_t>(index)].text = text;
    commonList->Refresh();
}

long MainForm::CardId(int index) const {
    return index >= 0 && index < static_cast<int>(cards_.size()) ? cards_[static_cast<std::size_t>(index)].id
                                                                 : 0;
}

void MainForm::LoadDeckData(const std::string& section) {
    const std::string file = GameFile();
    Deck.Load(file, section);
    backImg->Clear();
    backImg->AddItem(Deck.Back());
    discardImg->Clear();
    discardImg->AddItem(Deck.Discard());
    cards_ = Deck.TakeEntries();
    const std::vector<DeckEntry>& entries = cards_;
    commonList->ResetItems(static_cast<int>(entries.size()));
    ShowCardCount(entries);
    DealCrds->SetText(Deck.Deal());
    // A deck the file does not have yet is written whole once it holds something.
    if (Deck.Existed()) writer_.Remember(file, Deck.LoadedKeys(file, entries));
}

std::vector<KeyValue> MainForm::DeckKeysToWrite(const std::string& file) const {
    return Deck.Keys(file, cards_, backImg->List(0), discardImg->List(0), DealCrds->Text());
}

bool MainForm::SaveDeckData() {
    const std::string file = UsableGameFile();
    if (file.empty()) return true;
    const std::vector<KeyValue> keys = DeckKeysToWrite(file);
    // A deck that has nothing to write is not in the file after the save either.
    if (keys.empty()) return true;
    const KeyWriter before = writer_;
    platform::IniWriteScope scope;
    if (!CommitWrites(scope, writer_.Write(file, keys), before)) return false;
    Deck.MarkSaved(cards_);
    return true;
}

void MainForm::AddSelectedCards() {
    const std::size_t listed = cards_.size();
    int total = TotalCards(cards_);
    for (int i = 0; i < File1->ListCount(); ++i) {
        if (!File1->Selected(i)) continue;
        const std::string name = File1->List(i);
        if (name.find(',') != std::string::npos) {
            ShowMsg("The image " + name + " has a \",\" in its name, which would break its card line");
            continue;
        }
        if (total + 1 > kMaxCards) {
            ShowMsg("A deck holds at most " + std::to_string(kMaxCards) + " cards");
            break;
        }
        ++total;
        cards_.push_back(DeckEntry{Deck.NewId(), name});
    }
    commonList->ItemsInserted(static_cast<int>(listed), static_cast<int>(cards_.size() - listed));
    UpdateCardCount();
}

void MainForm::UpdateCardCount() {
    ShowCardCount(cards_);
}

void MainForm::ShowCardCount(const std::vector<DeckEntry>& entries) {
    commLabel->SetCaption("Cards: " + std::to_string(entries.size()) +
                          " (tot: " + std::to_string(TotalCards(entries)) + ")");
}

std::vector<KeyValue> MainForm::PropListKeys() const {
    if (UsePropOpt->Value() != 1) return {KeyValue{"PROP LISTS", "total", "0"}};
    std::vector<KeyValue> lists;
    for (int k = 0; k < 4; ++k) {
        const std::string name = pListName[k]->Text();
        if (name.empty()) continue;
        std::string line = name;
        for (int j = 0; j < 6; ++j)
            if (const std::string prop = pName[k * 6 + j]->Text(); !prop.empty()) line += "," + prop;
        lists.push_back({"PROP LISTS", "list" + std::to_string(lists.size() + 1), line});
    }
    std::vector<KeyValue> keys{{"PROP LISTS", "total", std::to_string(lists.size())}};
    keys.insert(keys.end(), lists.begin(), lists.end());
    return keys;
}

std::optional<std::vector<KeyValue>> MainForm::PropListsToWrite() const {
    if (propListsLocked_) return std::vector<KeyValue>{};
    for (int i = 0; i < 28; ++i) {
        const std::string text = i < 4 ? pListName[i]->Text() : pName[i - 4]->Text();
        if (text.find_first_of(",|=") != std::string::npos) {
            ShowMsg("A property list or property name may not hold \",\", \"|\" or \"=\": " + text);
            return std::nullopt;
        }
    }
    std::vector<KeyValue> keys = PropListKeys();
    // Lists nobody edited stay as the file holds them.
    if (keys.size() == propListsShown_.size() &&
        std::equal(keys.begin(), keys.end(), propListsShown_.begin(),
                   [](const KeyValue& a, const KeyValue& b) { return a.key == b.key && a.value == b.value; }))
        return std::vector<KeyValue>{};
    return keys;
}

bool MainForm::SavePropLists() {
    const std::optional<std::vector<KeyValue>> keys = PropListsToWrite();
    if (!keys) return false;
    if (keys->empty()) return true;
    const std::string file = UsableGameFile();
    if (file.empty()) return true;
    const KeyWriter before = writer_;
    platform::IniWriteScope scope;
    if (!CommitWrites(scope, writer_.Write(file, *keys), before)) return false;
    propListsShown_ = *keys;
    return true;
}

void MainForm::showProperties() {
    const std::string file = GameFile();
    const int total = BoxNumber(GetIni("PROP LISTS", "total", file));
    // Lists the boxes cannot hold are not cut down to what they hold: they stay as the file has them.
    propListsLocked_ = total > 4;
    for (int k = 1; k <= std::min(total, 4); ++k)
        if (CountFields(GetIni("PROP LISTS", "list" + std::to_string(k), file), ",") > 7)
            propListsLocked_ = true;
    // Said once for the game opened, not at every visit of the step.
    if (propListsLocked_ && !std::exchange(propListsWarned_, true))
        ShowMsg(
            "The game has more than 4 property lists or more than 6 names in a list; its lists are kept as "
            "they are and cannot be edited here");
    UsePropOpt->SetEnabled(!propListsLocked_);
    pNameFrame->SetEnabled(!propListsLocked_);
    UsePropOpt->SetValue(total != 0 ? 1 : 0);
    pNameFrame->SetVisible(total != 0);
    for (int k = 1; k <= std::min(total, 4); ++k) {
        const std::vector<std::string> fields =
            GetFields(GetIni("PROP LISTS", "list" + std::to_string(k), file), 7);
        pListName[k - 1]->SetText(fields[0]);
        for (int j = 0; j < 6; ++j)
            pName[(k - 1) * 6 + j]->SetText(fields[j + 1]);
    }
    propListsShown_ = PropListKeys();
}

void MainForm::LoadReportCount() {
    const std::string value = GetIni("REPORTS", "num_reports", GameFile());
    filling_ = true;
    repNum->SetText(BoxNumber(value) > 8 ? "8" : value);
    filling_ = false;
    ShowButtons(ShowReport.data(), 8, std::clamp(BoxNumber(repNum->Text()), 0, 8));
}

void MainForm::DisplayReport(int index) {
    const std::string file = GameFile();
    const std::vector<std::string> fields =
        GetFields(GetIni("REPORTS", "report" + std::to_string(index + 1), file), 5);
    RepTitle->SetText(fields[0]);
    for (ComboBox* box : {repType.get(), repScope.get()}) {
        const std::string& wanted = box == repType.get() ? fields[1] : fields[2];
        for (int i = 0; i < box->ListCount(); ++i)
            if (box->List(i) == wanted) box->SetListIndex(i);
    }
    RepOnlyOwned->SetValue(fields[3] == "TRUE" ? 1 : 0);
    RepPropName->Clear();
    const int total = BoxNumber(GetIni("PROP LISTS", "total", file));
    int chosen = 0;
    for (int k = 1; k <= total; ++k) {
        const std::vector<std::string> list =
            GetFields(GetIni("PROP LISTS", "list" + std::to_string(k), file), 7);
        for (int j = 1; j < 7; ++j) {
            if (list[j].empty()) continue;
            RepPropName->AddItem(list[j]);
            if (list[j] == fields[4]) chosen = RepPropName->ListCount() - 1;
        }
    }
    if (RepPropName->ListCount() > 0) RepPropName->SetListIndex(chosen);
}

int MainForm::SavedCount(const std::string& file, const std::string& key) const {
    for (const KeyValue& kv : HeaderKeys())
        if (kv.section == "GAME" && kv.key == key)
            return std::max(0, BoxNumber(writer_.Unchanged(file, kv) ? GetIni("GAME", key, file) : kv.value));
    return 0;
}

std::string MainForm::CheckReport() const {
    std::string report;
    const auto add = [&](const std::string& line) { report += "\r\n" + line; };
    if (NameTXT->Text().empty()) add("- Missing game name");
    if (DirName->Text().empty()) add("- Missing directory name");
    const int players = std::clamp(BoxNumber(PlNum->Text()), 0, 6);
    if (players == 0) add("- No players specified");
    for (int p = 1; p <= players; ++p)
        if (PLname[p - 1]->Text().empty()) add("- No Name specified for player #" + std::to_string(p));
    if (CurrentStep == 4) {
        const std::string owner =
            IsCommonDeck ? " common deck #" + std::to_string(CurrentIndex)
                         : " deck #" + std::to_string(CurrentDeck) + " player: " + PlayerName(CurrentIndex);
        if (backImg->List(0).empty()) add("- No back image specified for " + owner);
        if (discardImg->List(0).empty()) add("- No discard image specified for " + owner);
    }
    // What the table engine would refuse or cut is said too; the file is saved all the same.
    for (const KeyValue& kv : HeaderKeys())
        if (kv.value.size() > kMaxValueLength)
            add("- The value of " + kv.key + " in [" + kv.section + "] is longer than " +
                std::to_string(kMaxValueLength) + " characters and will be read cut");
    const std::string file = GameFile();
    const platform::IniReadScope reading;
    // The cards of every deck, the one shown as its list holds it.
    long long cards = 0;
    const auto countCards = [&](const std::string& section) {
        const bool shown = CurrentStep == 4 && Deck.Loaded() && section == DeckSection();
        cards += shown ? TotalCards(cards_) : DeckCards(file, section);
    };
    // The decks the file holds after the save: a count the window showed clamped keeps the file's.
    const int common = SavedCount(file, "common_decks");
    int decks = common;
    for (int n = 1; n <= common; ++n)
        countCards("COMMON " + std::to_string(n));
    const int seats = SavedCount(file, "players");
    for (int p = 1; p <= seats; ++p) {
        const int own = std::max(0, static_cast<int>(LeadingInt16(GetIni(PlayerSection(p), "decks", file))));
        decks += own;
        for (int k = 1; k <= own && decks <= kMaxDecks; ++k)
            countCards("DECK " + std::to_string(k) + " PLAYER " + std::to_string(p));
    }
    if (decks > kMaxDecks)
        add("- The game has " + std::to_string(decks) + " decks; Karvel plays at most " +
            std::to_string(kMaxDecks));
    else if (cards > kMaxCards)
        add("- The game has " + std::to_string(cards) + " cards; Karvel plays at most " +
            std::to_string(kMaxCards));
    if (report.empty()) return "";
    return "** Missing or incorrect information **\r\n" + report;
}

void MainForm::CheckAndSave() {
    const std::string name = NameTXT->Text();
    if (!name.empty()) {
        if (std::string refusal = GameNameRefusal(name); !refusal.empty()) {
            ShowMsg(refusal);
            return;
        }
        // Leaving the name box for "Save" reads the game it names, as leaving it otherwise does.
        if (GameFile() != headerFile_ && FileExists(GameFile()) && CurrentStep == 0) LoadGameHeader();
    }
    LastCheckReport = CheckReport();
    if (!LastCheckReport.empty()) {
        platform::Form check;
        check.SetCaption("Check Phase");
        check.Resize(6000, 3600);
        TextBox text(check.Handle(), true);
        text.Move(120, 120, 5600, 2900);
        text.SetText(LastCheckReport);
        text.SetLocked(true);
        text.OnKeyDown = [&check](int, int) { check.Hide(); };
        check.OnKeyDown = [&check](int, int) { check.Hide(); };
        check.SetKeyPreview(true);
        check.ShowModal();
    }
    if (name.empty()) return;
    WriteGameHeader();
}

} // namespace wizard
