#include "start/LoginForm.h"

#include "common/Messages.h"
#include "common/Numbers.h"
#include "start/OptionsForm.h"
#include "state/OptionMgmt.h"
#include "state/TableState.h"

#include <algorithm>

namespace {

LoginForm* g_openLoginForm = nullptr;
constexpr int kRowGap = 50;
const std::string kFreeMark = " ***";

int Players() {
    return std::clamp<int>(Game.playerCount, 0, kMaxPlayers);
}

bool HasArbitratorSeat() {
    return Game.arbitrator != kFalse;
}

bool IsFree(int seat) {
    return Game.players[seat].seatId == kNoSeatId;
}

} // namespace

LoginForm* LoginWindow() {
    return g_openLoginForm;
}

LoginForm::LoginForm() : SideOption(platform::LikeFirst<platform::OptionButton>()) {
    g_openLoginForm = this;
    form.SetCaption("Login");
    auto first = std::make_unique<platform::OptionButton>(form.Handle());
    first->SetCaption("Option1");
    first->Move(240, 240, 3600, 300);
    SideOption.Place(0, std::move(first));
    IDlabel.SetCaption("ID");
    IDlabel.Move(4080, 270, 300, 255);
    IDtxt.SetText("yourID");
    IDtxt.Move(4440, 225, 2400, 315);
    // Typing an ID replaces the designed text.
    IDtxt.SetSelectAllOnFocus(true);
    testModeOpt.SetCaption("Test Mode");
    testModeOpt.Move(4080, 720, 2760, 300);
    OptBtn.SetCaption("Options");
    OptBtn.Move(4080, 1200, 1320, 375);
    OptBtn.SetVisible(false);
    Command1.SetCaption("Login");
    Command1.Move(4080, 1800, 1320, 375);
    Command1.SetDefault(true);
    Command2.SetCaption("Cancel");
    Command2.Move(5520, 1800, 1320, 375);
    Command2.SetCancel(true);

    form.OnLoad = [this] { Form_Load(); };
    Command1.OnClick = [this] { Command1_Click(); };
    Command2.OnClick = [this] { Command2_Click(); };
    OptBtn.OnClick = [this] { OptBtn_Click(); };
}

LoginForm::~LoginForm() {
    if (g_openLoginForm == this) g_openLoginForm = nullptr;
}

std::string LoginForm::SeatCaption(std::int16_t seat) {
    std::string caption = Game.players[seat].name;
    if (HasOptions()) caption += "(" + SelectedOptionLabel(seat) + ")";
    if (IsFree(seat)) caption += kFreeMark;
    return caption;
}

int LoginForm::ArbitratorIndex() const {
    return HasArbitratorSeat() ? Players() : -1;
}

void LoginForm::Form_Load() {
    // The window may show another game than last time: only the designed button stays.
    for (int index : SideOption.Indexes())
        if (index > 0) SideOption.Unload(index);
    platform::OptionButton& base = *SideOption(0);
    const auto placeRow = [&base, this](int index) {
        platform::OptionButton* button = SideOption(index) ? SideOption(index) : SideOption.Load(index);
        if (!button) return button;
        button->Move(base.Left(), base.Top() + index * (base.Height() + kRowGap));
        button->SetVisible(true);
        button->SetCaption("");
        return button;
    };
    for (int k = 2; k <= Players(); ++k)
        placeRow(k - 1);
    if (HasArbitratorSeat()) {
        if (platform::OptionButton* button = placeRow(Players()))
            button->SetCaption(kArbitratorName + (IsFree(kArbitratorSeat) ? kFreeMark : ""));
    }
    for (int k = 1; k <= Players(); ++k)
        SideOption(k - 1)->SetCaption(SeatCaption(static_cast<std::int16_t>(k)));
    form.FitToContent(240);

    SideOption(0)->SetValue(true);
    Game.CurrentPlayer = -1;
    testModeOpt.SetToolTipText(
        "In test mode you can draw, discard and use all cards and markers regardless of the owner.");
    OptBtn.SetVisible(HasOptions() != kFalse);
    // A loaded game is played as it was saved: no test mode.
    testModeOpt.SetVisible(GameListKind != kFalse);
    DialogResult = "Continue";
}

int LoginForm::SelectedIndex() const {
    const int last = HasArbitratorSeat() ? Players() : Players() - 1;
    for (int index = 0; index <= last; ++index)
        if (const platform::OptionButton* button = SideOption(index); button && button->Value()) return index;
    return 0;
}

bool LoginForm::VerifySeatID() {
    const int s = SelectedIndex();
    const int seat = s == ArbitratorIndex() ? kArbitratorSeat : s + 1;
    std::string& id = Game.players[seat].seatId;
    if (id == kNoSeatId) {
        id = IDtxt.Text();
        return true;
    }
    if (IDtxt.Text() == id) return true;
    ShowMsg("Please verify your ID");
    return false;
}

void TakePlayerSeat(std::int16_t seat, bool testMode) {
    Game.CurrentPlayer = seat;
    AllCardsVisible = ToFlag(testMode);
    ArbitratorLoggedIn = kFalse;
    if (!HasArbitratorSeat()) Game.turnCounter = ClampToInt16(Game.turnCounter + 1);
}

void LoginForm::Command1_Click() {
    if (!VerifySeatID()) return;
    const int s = SelectedIndex();
    if (s == ArbitratorIndex()) {
        Game.CurrentPlayer = 1;
        AllCardsVisible = kTrue;
        ArbitratorLoggedIn = kTrue;
    } else if (s < Players()) {
        TakePlayerSeat(static_cast<std::int16_t>(s + 1), testModeOpt.Value() == 1);
    }
    form.Unload();
}

void LoginForm::Command2_Click() {
    DialogResult.clear();
    form.Unload();
}

void LoginForm::OptBtn_Click() {
    const int s = SelectedIndex();
    // The arbitrator has no options of a seat to choose.
    if (s >= Players() || s == ArbitratorIndex()) return;
    const auto seat = static_cast<std::int16_t>(s + 1);
    OptionsForm options;
    options.OptionChosen = [this](std::int16_t player) {
        if (platform::OptionButton* button = SideOption(player - 1)) button->SetCaption(SeatCaption(player));
    };
    options.SetOptionsForPlayer(seat, SideOption(s)->Caption());
    options.form.ShowModal();
}
