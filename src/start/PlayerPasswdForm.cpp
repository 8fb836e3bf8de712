#include "start/PlayerPasswdForm.h"

#include "common/Helpers.h"
#include "platform/Codec.h"
#include "platform/Keys.h"
#include "state/Helpers.h"
#include "state/TableState.h"

#include <algorithm>

namespace {

constexpr int kRowGap = 50;

int Players() {
    return std::clamp<int>(Game.playerCount, 0, kMaxPlayers);
}

} // namespace

PlayerPasswdForm::PlayerPasswdForm()
    : nm(platform::LikeFirst<platform::Label>()), pwd(platform::LikeFirst<platform::TextBox>()) {
    form.SetCaption("Player Password");
    form.Resize(6000, 4200);
    form.SetKeyPreview(true);
    auto name = std::make_unique<platform::Label>(form.Handle());
    name->Move(240, 240, 2400, 315);
    nm.Place(0, std::move(name));
    auto id = std::make_unique<platform::TextBox>(form.Handle());
    id->Move(2760, 240, 2400, 315);
    pwd.Place(0, std::move(id));
    Command1.SetCaption("Create New");
    Command2.SetCaption("Update");

    form.OnLoad = [this] { Form_Load(); };
    form.OnKeyDown = [this](int keyCode, int) {
        if (keyCode == platform::keys::kEscape) form.Unload();
    };
    Command1.OnClick = [this] { Command1_Click(); };
    Command2.OnClick = [this] { Command2_Click(); };
}

std::string PlayerPasswdForm::NewSeatID(const std::string& name) {
    const std::string letters = platform::AnsiLower(StripBlanks(name.substr(0, 8)));
    return letters + std::to_string(RandomInt(800) + 100);
}

void PlayerPasswdForm::Form_Load() {
    for (int index : nm.Indexes())
        if (index > 0) nm.Unload(index);
    for (int index : pwd.Indexes())
        if (index > 0) pwd.Unload(index);
    platform::Label& firstName = *nm(0);
    firstName.SetVisible(false);
    pwd(0)->SetVisible(false);
    int top = firstName.Top();
    for (int k = 1; k <= Players(); ++k) {
        platform::Label* name = k == 1 ? &firstName : nm.Load(k - 1);
        platform::TextBox* id = k == 1 ? pwd(0) : pwd.Load(k - 1);
        if (!name || !id) break;
        name->Move(firstName.Left(), top);
        id->Move(pwd(0)->Left(), top);
        name->SetCaption(Game.players[k].name);
        const std::string& seatId = Game.players[k].seatId;
        id->SetText(seatId == kNoSeatId ? "" : seatId);
        name->SetVisible(true);
        id->SetVisible(true);
        top += firstName.Height() + kRowGap;
    }
    Command1.Move(firstName.Left(), top + 120, 1500, 375);
    Command2.Move(firstName.Left() + 1620, top + 120, 1500, 375);
    form.SetHeight(top + 1300);
}

void PlayerPasswdForm::Command1_Click() {
    for (int k = 1; k <= Players(); ++k) {
        std::string& seatId = Game.players[k].seatId;
        if (seatId != kNoSeatId) continue;
        seatId = NewSeatID(Game.players[k].name);
        if (platform::TextBox* id = pwd(k - 1)) id->SetText(seatId);
    }
}

void PlayerPasswdForm::Command2_Click() {
    for (int k = 1; k <= Players(); ++k) {
        const platform::TextBox* id = pwd(k - 1);
        if (!id) continue;
        const std::string text = id->Text();
        Game.players[k].seatId = text.empty() ? kNoSeatId : text;
    }
    form.Unload();
}
