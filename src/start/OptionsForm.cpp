#include "start/OptionsForm.h"

#include "common/Helpers.h"
#include "common/Numbers.h"
#include "state/OptionMgmt.h"
#include "state/TableState.h"

#include <algorithm>
#include <cstdlib>

namespace {

OptionsForm* g_openOptionsForm = nullptr;

} // namespace

OptionsForm* OptionsWindow() {
    return g_openOptionsForm;
}

OptionsForm::OptionsForm() : pOpt(platform::LikeFirst<platform::OptionButton>()) {
    g_openOptionsForm = this;
    form.SetCaption("Options");
    optionTitle.Move(120, 120, 3800, 255);
    auto first = std::make_unique<platform::OptionButton>(form.Handle());
    first->Move(240, 480, 3600, 300);
    first->SetVisible(false);
    pOpt.Place(0, std::move(first));
    Command1.SetCaption("OK");
    Command1.SetDefault(true);
    Command1.OnClick = [this] { Command1_Click(); };
}

OptionsForm::~OptionsForm() {
    if (g_openOptionsForm == this) g_openOptionsForm = nullptr;
}

void OptionsForm::SetOptionsForPlayer(std::int16_t player, const std::string& title) {
    form.Load();
    player_ = player;
    optionTitle.SetCaption(title);
    for (int index : pOpt.Indexes())
        if (index > 0) pOpt.Unload(index);
    platform::OptionButton& base = *pOpt(0);
    base.SetVisible(false);

    const int count = std::clamp<int>(GameOptionTable.num_options, 0, kMaxOptions);
    int shown = 0;
    int top = base.Top();
    for (int k = 1; k <= count; ++k) {
        const std::string line = GetIni("OPTIONS", "option" + std::to_string(k), CurrentGameFile);
        if (LeadingInt16(GetField(line, 3, ",")) != player) continue;
        platform::OptionButton* button = shown == 0 ? &base : pOpt.Load(shown);
        if (!button) break;
        button->Move(base.Left(), top);
        top += button->Height();
        button->SetCaption(GetField(line, 2, ","));
        button->SetTag(std::to_string(k));
        button->SetVisible(true);
        if (player >= 1 && player <= kMaxPlayers && GameOptionTable.selectedOption[player] == k)
            button->SetValue(true);
        ++shown;
    }
    Command1.Move(base.Left(), top + 240, 1200, 375);
    form.FitToContent(240);
}

void OptionsForm::Command1_Click() {
    for (int index : pOpt.Indexes()) {
        const platform::OptionButton* button = pOpt(index);
        if (!button->Visible() || !button->Value()) continue;
        if (player_ >= 1 && player_ <= kMaxPlayers) {
            GameOptionTable.selectedOption[player_] =
                static_cast<std::int16_t>(std::atoi(button->Tag().c_str()));
            if (OptionChosen) OptionChosen(player_);
        }
        break;
    }
    form.Unload();
}
