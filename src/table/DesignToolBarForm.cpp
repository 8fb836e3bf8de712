#include "table/DesignToolBarForm.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "state/MarkersMgmt.h"
#include "state/PlayerMgmt.h"
#include "state/TableView.h"
#include "table/MainForm.h"
#include "table/MarkerForm.h"
#include "table/TableMarkers.h"
#include "table/ToolBarForm.h"

#include <algorithm>

namespace {

constexpr int kOptionHeight = 285;
constexpr int kWidth = 2400;

} // namespace

DesignToolBarForm::DesignToolBarForm(MainForm& table) : table_(table) {
    form.SetCaption("Design");
    int top = 60;
    for (int seat = 0; seat <= kMaxPlayers; ++seat) {
        auto option = std::make_unique<platform::OptionButton>(form.Handle());
        option->Move(120, top, kWidth - 240, kOptionHeight);
        option->SetCaption(seat == 0 ? "No seat" : "Seat " + std::to_string(seat));
        if (seat > 0) {
            option->SetForeColor(static_cast<platform::Colour>(SeatColour(seat)));
            option->OnClick = [this, seat] { plaSelected_Click(seat); };
        }
        options_[static_cast<std::size_t>(seat)] = std::move(option);
        top += kOptionHeight;
    }
    DressToolButton(GraphMrk, "Markers", 120, 0);
    DressToolButton(NewMarkerNumBtn, "Counter", 120 + kToolButtonWidth + kToolButtonGap, 0);
    DressToolButton(Save, "Save layout", 120, 0, 2);
    PlaceButtons(kMaxPlayers);

    GraphMrk.Click = [this] { GraphMrk_Click(); };
    NewMarkerNumBtn.Click = [] { NewMarkerNumProc("", -1, -1, ""); };
    Save.Click = [this] { Save_Click(); };
    form.OnLoad = [this] { Form_Load(); };
}

DesignToolBarForm::~DesignToolBarForm() = default;

void DesignToolBarForm::PlaceButtons(int seats) {
    // The buttons stand below the options of the game's seats.
    const int top = 60 + (seats + 1) * kOptionHeight + 60;
    GraphMrk.Surface().SetTop(top);
    NewMarkerNumBtn.Surface().SetTop(top);
    Save.Surface().SetTop(top + kToolButtonHeight + kToolButtonGap);
    form.SetClientSize(kWidth, top + 2 * kToolButtonHeight + kToolButtonGap + 120);
}

platform::OptionButton* DesignToolBarForm::plaSelected(int seat) const {
    if (seat < 0 || seat > kMaxPlayers) return nullptr;
    return options_[static_cast<std::size_t>(seat)].get();
}

void DesignToolBarForm::Form_Load() {
    const int players = std::clamp<int>(Game.playerCount, 0, kMaxPlayers);
    for (int seat = 1; seat <= kMaxPlayers; ++seat) {
        platform::OptionButton& option = *plaSelected(seat);
        if (seat <= players) option.SetCaption(Game.players[seat].name);
        option.SetVisible(seat <= players);
    }
    for (int seat = 0; seat <= kMaxPlayers; ++seat)
        plaSelected(seat)->SetValue(false);
    PlaceButtons(players);
}

int DesignToolBarForm::ChosenSeat() const {
    const int players = std::clamp<int>(Game.playerCount, 0, kMaxPlayers);
    for (int seat = 1; seat <= players; ++seat)
        if (plaSelected(seat)->Value()) return seat;
    return 0;
}

void DesignToolBarForm::plaSelected_Click(int seat) {
    const std::string rect = GetIni("PLAYER " + std::to_string(seat), "layout", CurrentGameFile);
    if (!rect.empty()) SetPlayerAreaShape(static_cast<std::int16_t>(seat - 1), rect, kTrue);
}

bool DesignToolBarForm::SetPlayerArea() {
    const int seat = ChosenSeat();
    if (seat == 0) return false;
    placedArea_ = static_cast<std::int16_t>(seat - 1);
    ShowPlayerArea(placedArea_, kTrue);
    return true;
}

void DesignToolBarForm::GraphMrk_Click() {
    const int seat = ChosenSeat();
    if (seat == 0) {
        ShowMsg("Please select a player");
        return;
    }
    FillMarkerList(static_cast<std::int16_t>(seat));
}

void DesignToolBarForm::Save_Click() {
    SaveLayout(TableLayoutOf(table_));
}

void ShowDesignToolBar(MainForm& table) {
    if (!table.DesignToolBar) table.DesignToolBar = std::make_unique<DesignToolBarForm>(table);
    platform::Form& bar = table.DesignToolBar->form;
    if (!bar.Loaded()) {
        bar.Load();
        DockToolBar(bar, table);
    }
    bar.ShowInactive();
}

TableLayout TableLayoutOf(MainForm& table) {
    TableLayout layout;
    const platform::Form& window = table.Window();
    layout.window = {static_cast<double>(window.Top()), static_cast<double>(window.Left()),
                     static_cast<double>(window.Height()), static_cast<double>(window.Width())};
    const auto rectOf = [](const controls::TranspImg* image) {
        if (!image) return LayoutRect{};
        const platform::ControlSurface& s = image->Surface();
        return LayoutRect{static_cast<double>(s.Top()), static_cast<double>(s.Left()),
                          static_cast<double>(s.Height()), static_cast<double>(s.Width())};
    };
    for (int d = 0; d < std::clamp<int>(Game.deckCount, 0, kMaxDecks); ++d) {
        layout.decks.push_back(rectOf(table.DeckImg(d)));
        layout.discards.push_back(rectOf(table.DiscardImg(d)));
    }
    for (int i : table.markerNum.Indexes()) {
        const platform::ControlSurface& s = table.markerNum(i)->Surface();
        layout.numMarkers.push_back(
            {i, table.markerNum(i)->caption(), static_cast<double>(s.Top()), static_cast<double>(s.Left())});
    }
    for (int i : table.mrk.Indexes()) {
        const controls::TranspImg& marker = *table.mrk(i);
        const platform::ControlSurface& s = marker.Surface();
        layout.imageMarkers.push_back({i + 1, static_cast<double>(s.Top() + marker.GetOriginTop()),
                                       static_cast<double>(s.Left() + marker.GetOriginLeft())});
    }
    for (int i : table.crd.Indexes()) {
        const platform::ControlSurface& s = table.crd(i)->Surface();
        layout.cards.push_back({i, s.Tag(), static_cast<double>(s.Top()), static_cast<double>(s.Left())});
    }
    return layout;
}

void DesignArea_MouseDown(MainForm& table, bool& drawing, float x, float y) {
    DesignToolBarForm* bar = table.DesignToolBar.get();
    if (!bar || bar->plaSelected(0)->Value()) return;
    if (!bar->SetPlayerArea() || drawing) return;
    drawing = true;
    const std::int16_t area = bar->PlayerAreaBeingPlaced();
    PlayerAreaShape& shape = PlayerAreas[area];
    shape.top = RoundToInt32(y);
    shape.left = RoundToInt32(x);
    shape.height = 1;
    shape.width = 1;
    shape.visible = true;
    View().PlayerAreaChanged(area);
}

void DesignArea_MouseMove(MainForm& table, bool drawing, float x, float y) {
    DesignToolBarForm* bar = table.DesignToolBar.get();
    if (!drawing || !bar) return;
    const std::int16_t area = bar->PlayerAreaBeingPlaced();
    PlayerAreaShape& shape = PlayerAreas[area];
    const int right = RoundToInt32(x);
    const int bottom = RoundToInt32(y);
    if (right <= shape.left || bottom <= shape.top) return;
    shape.height = bottom - shape.top;
    shape.width = right - shape.left;
    View().PlayerAreaChanged(area);
}
