#include "table/ToolBarForm.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Placement.h"
#include "platform/Fonts.h"
#include "platform/PropertyBag.h"
#include "platform/Twips.h"
#include "services/DiceRoller.h"
#include "services/LogMgmt.h"
#include "state/Helpers.h"
#include "state/PlayerMgmt.h"
#include "state/Sarnell.h"
#include "state/TableState.h"
#include "table/CardActions.h"
#include "table/DesignToolBarForm.h"
#include "table/DiceRollerForm.h"
#include "table/InfoPanel.h"
#include "table/LogForm.h"
#include "table/MainForm.h"
#include "table/MarkerForm.h"
#include "table/NewCardForm.h"
#include "table/NotesForm.h"
#include "table/Outbox.h"
#include "table/TableMarkers.h"
#include "table/TableSetup.h"

#include <algorithm>

namespace {

// Room is looked for on a grid of 8 pixels.
constexpr int kDockStep = 120;
// A window manager's title bar, 30 pixels at the most.
constexpr int kTitleBarHeight = 450;
constexpr int kMargin = 60;
constexpr int kColumns = 5;

int ColumnLeft(int column) {
    return kMargin + column * (kToolButtonWidth + kToolButtonGap);
}

int RowTop(int row) {
    return kMargin / 2 + row * (kToolButtonHeight + kToolButtonGap);
}

} // namespace

platform::TwipRect ToolBarDock(const platform::TwipRect& table, int width, int height,
                               const platform::TwipRect& screen,
                               const std::vector<platform::TwipRect>& covered) {
    const platform::TwipRect docked{table.Right() - width - 300, table.top + 500, width, height};
    if (auto free = FreePlace(docked, screen, covered, kDockStep)) return *free;
    return platform::FitInto(docked, screen);
}

std::vector<platform::TwipRect> TablePlacesOnScreen(MainForm& table) {
    const platform::TwipRect client = table.Window().ClientArea();
    std::vector<platform::TwipRect> places;
    // A rectangle of a container of the client area, as far as the client area shows it.
    const auto add = [&](const platform::Control& container, int left, int top, int width, int height) {
        platform::TwipRect r{client.left + container.Left() + left, client.top + container.Top() + top, width,
                             height};
        const int right = std::min(r.Right(), client.Right()), bottom = std::min(r.Bottom(), client.Bottom());
        r.left = std::max(r.left, client.left);
        r.top = std::max(r.top, client.top);
        r.width = right - r.left;
        r.height = bottom - r.top;
        if (r.width > 0 && r.height > 0) places.push_back(r);
    };
    const auto addImage = [&](const controls::TranspImg* image, const platform::Control& container) {
        if (!image || !image->Surface().Visible()) return;
        const CardPictureRect p = MainForm::CardPictureOf(*image);
        add(container, p.left, p.top, p.width, p.height);
    };
    for (int d = 0; d < std::clamp<int>(Game.deckCount, 0, kMaxDecks); ++d) {
        const platform::Control& container = DeckStandsInPanel(d)
                                                 ? static_cast<platform::Control&>(table.InfoPanel)
                                                 : static_cast<platform::Control&>(table.BasePict);
        addImage(table.DeckImg(d), container);
        addImage(table.DiscardImg(d), container);
    }
    for (int c : table.crd.Indexes())
        addImage(table.crd(c), table.BasePict);
    // Markers are read during play (a round counter, a score): the bar keeps clear of them too.
    for (int m : table.mrk.Indexes())
        addImage(table.mrk(m), table.BasePict);
    for (int m : table.markerNum.Indexes()) {
        const platform::ControlSurface& label = table.markerNum(m)->Surface();
        if (label.Visible()) add(table.BasePict, label.Left(), label.Top(), label.Width(), label.Height());
    }
    for (int seat = 1; seat <= std::clamp<int>(Game.playerCount, 0, kMaxPlayers); ++seat) {
        const PlayerAreaShape& a = PlayerAreas[seat - 1];
        if (Game.players[seat].hasTableArea != kFalse) add(table.BasePict, a.left, a.top, a.width, a.height);
    }
    if (table.InfoPanel.Visible())
        add(table.InfoPanel, 0, 0, table.InfoPanel.Width(), table.InfoPanel.Height());
    // The window's title bar and menus: its caption tells the hands, and it is where it is dragged.
    // Until the window manager has framed a new window its frame reads as none: a title bar's
    // usual height is kept clear all the same.
    const platform::Form& window = table.Window();
    places.push_back(
        {window.Left(), window.Top(), window.Width(), std::max(client.top - window.Top(), kTitleBarHeight)});
    return places;
}

void DockToolBar(platform::Form& bar, MainForm& table) {
    bar.SetOwner(&table.Window());
    const platform::Form& window = table.Window();
    const platform::TwipRect place =
        ToolBarDock({window.Left(), window.Top(), window.Width(), window.Height()}, bar.Width(), bar.Height(),
                    window.ScreenArea(), TablePlacesOnScreen(table));
    bar.Move(place.left, place.top);
    // A table the window manager has not framed yet lays its things out by a guessed frame (none
    // when it is the program's first framed window): the bar docks again by the real one, so that
    // it opens at one place however the game started.
    if (!window.FrameKnown())
        table.Window().OnFramed = [&bar, &table] {
            table.Window().OnFramed = nullptr;
            // Only a bar that is still the table's (compared, not touched, as it may be gone).
            const bool ours = (table.ToolBar && &table.ToolBar->form == &bar) ||
                              (table.DesignToolBar && &table.DesignToolBar->form == &bar);
            if (ours && bar.Loaded()) DockToolBar(bar, table);
        };
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
    form.SetClientSize(ColumnLeft(kColumns) - kToolButtonGap + kMargin, 2000);

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
    form.SetClientSize(form.ScaleWidth(), 2 * Save.Surface().Height() + 140);
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
    KeepAboveTable(table_.DiceRoller->form);
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
        KeepAboveTable(table_.Log->form);
        table_.Log->form.Show();
    } else {
        if (!table_.Notes) table_.Notes = std::make_unique<NotesForm>();
        KeepAboveTable(table_.Notes->form);
        table_.Notes->form.Show();
    }
}

void ShowToolBar(MainForm& table) {
    if (!table.ToolBar) table.ToolBar = std::make_unique<ToolBarForm>(table);
    platform::Form& bar = table.ToolBar->form;
    if (!bar.Loaded()) {
        bar.Load();
        DockToolBar(bar, table);
    }
    bar.ShowInactive();
}

bool PanelCarriesToolBar() {
    return InfoPanelSettings.width > 0 && InfoPanelSettings.showToolbar != kFalse;
}

void ShowTableToolBar(MainForm& table) {
    if (DesignMode != kFalse)
        ShowDesignToolBar(table);
    else if (!PanelCarriesToolBar())
        ShowToolBar(table);
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
    Outbox().SendNewCard(deck, line, card, control);
    // It lies in the middle of what this window shows, which the other side's window does not.
    SendPlaceOfCard(control);
    return card;
}
