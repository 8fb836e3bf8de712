// The editor's window: eight steps shown one at a time in frames, walked with "<< Back" and
// "Forward >>" or entered by the buttons of the steps, and the keys of the game file each step
// reads and writes. Its definitions are kept by concern: MainForm.cpp (the window and the walk
// between the steps), GameAndPlayers.cpp, DeckStep.cpp, PropertiesAndReports.cpp, SaveAndCheck.cpp
// and ControlValues.cpp.
#pragma once

#include "editor/DeckData.h"
#include "editor/DefinitionKeys.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Lists.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform {
class IniWriteScope;
}

namespace wizard {

class CardDetailForm;
class CardImageForm;
class ImageListForm;
class DeckPropForm;
class HelpBoxes;
class TreeForm;

class MainForm {
  public:
    MainForm();
    ~MainForm();
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    platform::Form& Window() { return form_; }
    // Loads the window (the game list, the folders) and shows it.
    void Show();

    // Reads the game of that name beside the program (a final ".game" is left out), as choosing it
    // in the name box does, and shows the step (-1 stays on the first; a step of one player, deck
    // or report shows the first of them).
    void OpenAt(const std::string& game, int step);
    // Shows a step as the game tree's jump does: the player `number` on step 2, deck `number` of
    // player `owner` (-1 a common deck) on step 4, report `owner` (from 0) on step 7.
    void JumpTo(int step, int owner, int number);

    // Shows frame CurrentStep, hiding the last one, and fills it from the game file.
    void ShowFrame();
    // The game file of the name box.
    std::string GameFile() const;

    // The steps' state.
    int CurrentStep = 0;
    int PreviousStep = -1;
    int CurrentIndex = 1;
    int CurrentDeck = 1;
    bool IsCommonDeck = true;
    // The text of the last "Check Phase" report shown ("" when none).
    std::string LastCheckReport;
    // The calls that set the quick guide of the first step since the help boxes were loaded:
    // only the first of them sets its text.
    std::int16_t QuickHelpCount = 0;
    void SetQuickHelp();

    // The frames and the controls of each step, as the tests and the user reach them.
    platform::Form form_;
    std::array<std::unique_ptr<platform::Frame>, 8> Wiz;
    std::unique_ptr<platform::Frame> ButtonFrame;
    std::unique_ptr<platform::CommandButton> PrevStep, NextStep, SaveBtn, TreeBtn, HelpBtn;
    // Step 0.
    std::unique_ptr<platform::ComboBox> NameTXT, DirName;
    std::unique_ptr<platform::TextBox> descTxt;
    std::unique_ptr<platform::Label> DeskTopImage, mainHelp;
    std::unique_ptr<platform::CommandButton> NewDirBtn, SetDesktopImage, LoadBtn;
    // Step 1.
    std::unique_ptr<platform::TextBox> PlNum;
    std::array<std::unique_ptr<platform::Label>, 6> PLlabel;
    std::array<std::unique_ptr<platform::TextBox>, 6> PLname;
    std::array<std::unique_ptr<platform::CommandButton>, 6> PL_data;
    // Step 2.
    std::unique_ptr<platform::TextBox> NumPLdecks;
    std::array<std::unique_ptr<platform::CommandButton>, 6> ShowPlayerDeck;
    std::unique_ptr<platform::CheckBox> MrkUseOption;
    std::unique_ptr<platform::CommandButton> ShowMarkersBtn;
    // Step 3.
    std::unique_ptr<platform::TextBox> CommDecksNum;
    std::array<std::unique_ptr<platform::CommandButton>, 6> ShowCommonDeck;
    // Step 4.
    std::unique_ptr<platform::ListBox> File1, backImg, discardImg;
    // The deck's cards: the list shows the texts of cards_ and asks for them as it draws them.
    std::unique_ptr<platform::VirtualListBox> commonList;
    std::unique_ptr<platform::CommandButton> AddCards, RemoveCard, ClearCards, AddBack, AddDiscard, SelectAll,
        SelectNone, RefreshFiles, AdvancedProps;
    std::unique_ptr<platform::TextBox> DealCrds;
    std::unique_ptr<platform::Label> commLabel;
    // Step 6.
    std::unique_ptr<platform::CheckBox> UsePropOpt;
    std::unique_ptr<platform::Frame> pNameFrame, repFrame;
    std::array<std::unique_ptr<platform::TextBox>, 4> pListName;
    std::array<std::unique_ptr<platform::TextBox>, 24> pName;
    std::unique_ptr<platform::TextBox> repNum;
    std::array<std::unique_ptr<platform::CommandButton>, 8> ShowReport;
    // Step 7.
    std::unique_ptr<platform::TextBox> RepTitle;
    std::unique_ptr<platform::ComboBox> repType, repScope, RepPropName;
    std::unique_ptr<platform::CheckBox> RepOnlyOwned;

    // The deck on step 4.
    DeckData Deck;
    // The card detail window of the card list (made when first opened).
    CardDetailForm& CardDetail();
    // The window that shows one image of the game's folder (made when first opened).
    CardImageForm& CardImage();
    // The image list of the desktop image's "Select" (made when first opened).
    ImageListForm& ImageList();
    // The deck property window of "Advanced Properties" (made when first opened).
    DeckPropForm& DeckProperties();
    // The help boxes of "?".
    HelpBoxes& Help() { return *help_; }
    // The value of a control of the window by its name (without regard to case; an element of a
    // control array as "PLname(0)"): a box's text, a caption, a list's chosen or first entry, a
    // check box's caption while it is checked. "" for an unknown name.
    std::string ControlValue(const std::string& name) const;
    // The game tree of "Index" (made when first opened).
    TreeForm& Tree();
    // The entries of the card list with their identifiers, in list order: the window keeps them
    // and the list only shows their texts.
    const std::vector<DeckEntry>& CardEntries() const { return cards_; }
    // Sets the text of entry `index` (from 0) of the card list; out of range does nothing.
    void SetCardEntry(int index, const std::string& text);
    // The identifier of entry `index` of the card list; 0 out of range.
    long CardId(int index) const;

    // Reading and writing the file (the operations the steps and "Save" run).
    void LoadGameHeader();
    bool WriteGameHeader();
    void LoadDeckData(const std::string& section);
    bool SaveDeckData();
    bool SavePropLists();
    // Leaving the property lists' step any other way than by "<< Back": what was typed and not
    // saved is said to be dropped, and the boxes are emptied.
    void DropUnsavedPropLists();
    void showProperties();
    void DisplayReport(int index);
    void LoadReportCount();
    void RefreshPlayerButtons();
    void UpdateCardCount();
    void ShowCardCount(const std::vector<DeckEntry>& entries);
    void FillDirList();
    // The program folder's sub-folder of the game's images.
    std::string ImageFolder() const;

  private:
    // A window of the editor, owned by its main window so that it stays above it: a click on the
    // editor never hides the window the author is working in.
    template <class W> std::unique_ptr<W> Owned(std::unique_ptr<W> window) {
        window->form_.SetOwner(&form_);
        return window;
    }
    void Build();
    void BuildStep0();
    void BuildStep1to3();
    void BuildStep4();
    void BuildStep6and7();
    void Wire();
    void WireButtons();
    void WireCounts();
    void WireStepChoices();
    void WireDeckStep();
    // Makes every control known to ControlValue by its name.
    void NameControls();
    // A label that only describes a box; nothing reads it back.
    void Describe(platform::NativeWidget* parent, const std::string& caption, int left, int top, int width);

    void Forward();
    void Back();
    void CheckAndSave();
    void NameChosen();
    void OpenGameDialog();
    void NewDir();
    void AddSelectedCards();
    void JumpFromTree();
    // The name in player row `p` (from 1); "" for a row the window does not have.
    std::string PlayerName(int p) const;

    // A count box's change: validated, then `apply` with the rounded number. Nothing happens
    // while the window itself fills the box.
    bool CountValid(platform::TextBox& box, int high, const std::string& message);
    void SetCountFromFile(platform::TextBox& box, const std::string& value, int high);
    void ShowButtons(std::unique_ptr<platform::CommandButton>* buttons, int count, int shown);

    std::string DeckSection() const;
    std::vector<KeyValue> HeaderKeys() const;
    std::vector<KeyValue> PropListKeys() const;
    // The keys saving the deck on step 4 writes; none for a deck that has nothing to write.
    std::vector<KeyValue> DeckKeysToWrite(const std::string& file) const;
    // The property lists' keys to write: none when they are as shown or locked; nullopt, after a
    // message, when a name would not read back as typed.
    std::optional<std::vector<KeyValue>> PropListsToWrite() const;
    // The property lists' boxes differ from what the file holds.
    bool PropListsEdited() const;
    // Puts the writes of a save on disk (`written`: whether every write so far went through). On a
    // failure one message names the game file and the writer is set back to `before`.
    bool CommitWrites(platform::IniWriteScope& scope, bool written, const KeyWriter& before);
    // The name box, refused with a message when it cannot name a file; "" then.
    std::string UsableGameFile();
    void ReportWriteFailure();
    std::string CheckReport() const;
    // A [GAME] count ("players", "common_decks") as the file holds it once saved: the file's own
    // while its box is as the window showed it, else the box's.
    int SavedCount(const std::string& file, const std::string& key) const;

    KeyWriter writer_;
    std::vector<DeckEntry> cards_; // the card list's entries, as the list shows them
    std::string headerFile_;       // the file whose header the window shows
    std::vector<KeyValue> propListsShown_;
    bool propListsLocked_ = false;
    bool propListsWarned_ = false; // the locked lists were told of for the game opened
    bool filling_ = false;
    std::vector<std::unique_ptr<platform::Label>> labels_;
    // The value of each control by its name, lower-cased.
    std::unordered_map<std::string, std::function<std::string()>> values_;
    std::unique_ptr<CardDetailForm> cardDetail_;
    std::unique_ptr<TreeForm> tree_;
    std::unique_ptr<HelpBoxes> help_;
    std::unique_ptr<DeckPropForm> deckProps_;
    std::unique_ptr<CardImageForm> cardImage_;
    std::unique_ptr<ImageListForm> imageList_;
};

} // namespace wizard
