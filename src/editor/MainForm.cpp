// The editor's window: its frames and button bar, what each control does when used, and the walk
// between the steps (Forward, Back, the steps' own buttons, the game tree's jump, opening a game
// at a step), with the windows it opens. The steps' controls and what they read and write live
// in GameAndPlayers.cpp, DeckStep.cpp and PropertiesAndReports.cpp; Save in SaveAndCheck.cpp.
#include "editor/MainForm.h"

#include "editor/CardDetailForm.h"
#include "editor/DeckPropForm.h"
#include "editor/HelpBoxes.h"
#include "editor/ImageForms.h"
#include "editor/MainFormHelpers.h"
#include "editor/TreeForm.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "platform/Codec.h"
#include "platform/Files.h"
#include "platform/Keys.h"

#include <algorithm>

namespace wizard {

using platform::CommandButton;
using platform::Frame;
using platform::ListBox;
using platform::TextBox;

namespace {

constexpr int kFrameHeight = 5900;

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
    if (!imageList_) imageList_ = Owned(std::make_unique<ImageListForm>());
    return *imageList_;
}

CardImageForm& MainForm::CardImage() {
    if (!cardImage_) cardImage_ = Owned(std::make_unique<CardImageForm>());
    return *cardImage_;
}

DeckPropForm& MainForm::DeckProperties() {
    if (!deckProps_) deckProps_ = Owned(std::make_unique<DeckPropForm>());
    return *deckProps_;
}

TreeForm& MainForm::Tree() {
    if (!tree_) tree_ = Owned(std::make_unique<TreeForm>());
    return *tree_;
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
    if (!cardDetail_) cardDetail_ = Owned(std::make_unique<CardDetailForm>(*this));
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

void MainForm::Wire() {
    WireButtons();
    WireCounts();
    WireStepChoices();
    WireDeckStep();
}

// The button row, the game's name and the first step's buttons.
void MainForm::WireButtons() {
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
    // Leaving the name box reads the game it names; the game already shown is not read again,
    // so that what was typed into the steps is not lost.
    NameTXT->OnLostFocus = [this] {
        if (GameFile() != headerFile_) NameChosen();
    };
}

// The counts of players, decks and reports, each showing as many buttons as it counts.
void MainForm::WireCounts() {
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
    repNum->OnChange = [this] {
        if (CountValid(*repNum, 8, "Please select a number from 1 to 8"))
            ShowButtons(ShowReport.data(), 8, BoxNumber(repNum->Text()));
    };
}

// The buttons that open a player's, a deck's or a report's own step, and the options that show
// more of their step.
void MainForm::WireStepChoices() {
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
}

// The picture lists (the desktop's and a deck's), the deck's cards and its advanced properties.
void MainForm::WireDeckStep() {
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
    // The file the author chose: the one clicked last while it is selected, else the first
    // selected in list order.
    const auto chosenFile = [this](ListBox& target) {
        target.Clear();
        const int current = File1->ListIndex();
        if (current >= 0 && File1->Selected(current)) {
            target.AddItem(File1->List(current));
            return;
        }
        for (int i = 0; i < File1->ListCount(); ++i)
            if (File1->Selected(i)) {
                target.AddItem(File1->List(i));
                break;
            }
    };
    AddBack->OnClick = [this, chosenFile] { chosenFile(*backImg); };
    AddDiscard->OnClick = [this, chosenFile] { chosenFile(*discardImg); };
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

std::string MainForm::ImageFolder() const {
    return platform::ProgramFolder() + "\\" + DirName->Text();
}

std::string MainForm::GameFile() const {
    return GameFilePath(NameTXT->Text());
}

void MainForm::ShowFrame() {
    help_->Hide();
    // The property lists are written by "<< Back" and "Save" alone.
    if (PreviousStep == 6 && CurrentStep != 6) DropUnsavedPropLists();
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
        // The box shows whether the player's section gives the player markers of their own, as
        // the table reads it; it is never written back.
        const bool markers = BoxNumber(GetIni(PlayerSection(CurrentIndex), "markers", GameFile())) > 0;
        MrkUseOption->SetValue(markers ? 1 : 0);
        ShowMarkersBtn->SetVisible(markers);
    } else if (CurrentStep == 6) {
        // Shown again from itself (Forward, the tree's panel line), the step stays as it stands:
        // what the author typed into the lists is kept.
        if (PreviousStep != 6) showProperties();
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

} // namespace wizard
