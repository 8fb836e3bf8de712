#include "table/ToolBarForm.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "net/MultiplayerMgmt.h"
#include "platform/Fonts.h"
#include "platform/PropertyBag.h"
#include "platform/Twips.h"
#include "services/DiceRoller.h"
#include "services/LogMgmt.h"
#include "state/Helpers.h"
#include "state/Sarnell.h"
#include "state/TableState.h"
#include "table/CardActions.h"
#include "table/DiceRollerForm.h"
#include "table/LogForm.h"
#include "table/MainForm.h"
#include "table/MarkerForm.h"
#include "table/NewCardForm.h"
#include "table/NotesForm.h"
#include "table/TableMarkers.h"
#include "table/TableSetup.h"

namespace {

constexpr int kMargin = 60;
constexpr int kColumns = 5;

int ColumnLeft(int column) {
    return kMargin + column * (kToolButtonWidth + kToolButtonGap);
}

int RowTop(int row) {
    return kMargin / 2 + row * (kToolButtonHeight + kToolButtonGap);
}

} // namespace

void DockToolBar(platform::Form& bar, platform::Form& table) {
    bar.SetOwner(&table);
    bar.SetTop(table.Top() + 500);
    bar.SetLeft(table.Left() + table.Width() - bar.Width() - 300);
}

void DressToolButton(controls::cSfCb& button, const std::string& caption, int left, int top, int columns) {
    // The button shows its picture: the caption is drawn into one the button's size.
    const int widthTwips = columns * kToolButtonWidth + (columns - 1) * kToolButtonGap;
    const int width = widthTwips / platform::kTwipsPerPixelX;
    const int height = kToolButtonHeight / platform::kTwipsPerPixelY;
    platform::Picture face(width, height, platform::MakeColour(236, 236, 236));
    const platform::FontSpec font{"Arial", 12};
    const platform::TextSize size = platform::MeasureText(font, caption);
    face.DrawText((width - size.width) / 2, (height - size.height) / 2, caption, font,
                  platform::MakeColour(0, 0, 0));
    platform::PropertyBag bag;
    bag.WritePicture("Picture", face);
    bag.WriteInt("AlwaysDrawBevel", -1, 0);
    button.ReadProperties(bag);
    button.Surface().Move(left, top, widthTwips, kToolButtonHeight);
    button.Surface().SetToolTipText(caption);
}

ToolBarForm::ToolBarForm(MainForm& table) : table_(table) {
    form.SetCaption("Tools");
    const std::pair<controls::cSfCb*, const char*> buttons[] = {
        {&cSfCb1, "Reports"},          {&diceBtn, "Dice"},       {&GraphMrk, "Markers"},
        {&NewMarkerNumBtn, "Counter"}, {&notesBtn, "Notes"},     {&Save, "Save"},
        {&ShowHand, "Areas"},          {&newCrdBtn, "New card"}, {&EndGameBtn, "End game"},
    };
    int place = 0;
    for (const auto& [button, caption] : buttons) {
        DressToolButton(*button, caption, ColumnLeft(place % kColumns), RowTop(place / kColumns));
        ++place;
    }
    form.Resize(ColumnLeft(kColumns) - kToolButtonGap + kMargin, 2000);

    cSfCb1.Click = [this] { table_.reportBtn_Click(); };
    diceBtn.Click = [this] { diceBtn_Click(); };
    EndGameBtn.Click = [this] {
        if (table_.cardActions) table_.cardActions->EndGameBtn_Click();
    };
    GraphMrk.Click = [this] { GraphMrk_Click(); };
    newCrdBtn.Click = [this] { newCrdBtn_Click(); };
    NewMarkerNumBtn.Click = [this] {
        if (table_.Markers) table_.Markers->addNumMarker_Click();
    };
    notesBtn.Click = [this] { notesBtn_Click(); };
    Save.Click = [this] { table_.saveGameBtn_Click(); };
    ShowHand.Click = [this] { table_.ToggleHandAreas(); };
    form.OnLoad = [this] { Form_Load(); };
}

ToolBarForm::~ToolBarForm() = default;

void ToolBarForm::Form_Load() {
    // Two rows of buttons and a margin below them, whatever the frame of the window adds.
    const int frame = form.Height() - form.ScaleHeight();
    form.SetHeight(2 * Save.Surface().Height() + 140 + frame);
    newCrdBtn.Surface().SetVisible(GetBoolDirective("GAME", "cards_can_be_added", false));
}

void ToolBarForm::GraphMrk_Click() {
    FillMarkerList(Game.CurrentPlayer);
}

void ToolBarForm::diceBtn_Click() {
    if (DiceCount < 1) {
        ShowMsg("No dices defined");
        return;
    }
    if (!table_.DiceRoller) table_.DiceRoller = std::make_unique<DiceRollerForm>();
    table_.DiceRoller->form.Show();
}

void ToolBarForm::newCrdBtn_Click() {
    if (!newCard_) {
        newCard_ = std::make_unique<NewCardForm>();
        newCard_->CreateCard = [this](std::int16_t deck, const std::string& image) {
            AddNewCardDuringPlay(table_, deck, image);
        };
    }
    newCard_->form.ShowModal();
}

void ToolBarForm::notesBtn_Click() {
    if (IsLogEnabled()) {
        if (!table_.Log) table_.Log = std::make_unique<LogForm>();
        table_.Log->form.Show();
    } else {
        if (!table_.Notes) table_.Notes = std::make_unique<NotesForm>();
        table_.Notes->form.Show();
    }
}

void ShowToolBar(MainForm& table) {
    if (!table.ToolBar) table.ToolBar = std::make_unique<ToolBarForm>(table);
    platform::Form& bar = table.ToolBar->form;
    const bool loading = !bar.Loaded();
    bar.Show();
    // Docked once shown: the window's frame counts in its width only from then on.
    if (loading) DockToolBar(bar, table.Window());
}

std::int16_t PlaceNewCard_body(MainForm& table, std::int16_t card) {
    const std::int16_t control = NewCardControl();
    controls::TranspImg* image = table.crd(control);
    Cards[card].controlIndex = control;
    Cards[card].pilePosition = kPileInPlay;
    if (image) {
        // The middle of the part of the table the window shows, wherever it is scrolled to.
        platform::ControlSurface& s = image->Surface();
        s.Move(table.Window().ScaleWidth() / 2 - table.BasePict.Left(),
               table.Window().ScaleHeight() / 2 - table.BasePict.Top());
        LoadCardPicture(control, card, false, false);
        Cards[card].faceShown = kTrue;
        s.SetTag(std::to_string(card));
        s.SetVisible(true);
        s.BringToFront();
    }
    CardControlFree[control] = kFalse;
    return control;
}

std::int16_t AddNewCardDuringPlay(MainForm& table, std::int16_t deck, const std::string& line) {
    const std::int16_t card = CreateNewCard(deck, line);
    if (card == 0) return 0;
    const std::int16_t control = PlaceNewCard_body(table, card);
    SendNewCard(deck, line, card, control);
    return card;
}
