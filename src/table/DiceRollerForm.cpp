#include "table/DiceRollerForm.h"

#include "common/Messages.h"

#include <algorithm>

DiceRollerForm::DiceRollerForm() {
    form.SetCaption("Dice roller");
    form.Resize(6000, 5400);
    label.Move(120, 165, 900, 285);
    label.SetCaption("Dice:");
    diceRolls.Move(1080, 120, 3300, 330);
    rollBtn.Move(4500, 90, 1200, 420);
    rollBtn.SetCaption("Roll");
    rollBtn.SetDefault(true);
    rollHistory.Move(120, 600, 5580, 4200);
    // A roll's text (a result table's line) may be longer than the list is wide: it shows whole.
    rollHistory.SetWordWrap(true);

    form.OnLoad = [this] {
        widthMargin_ = form.ScaleWidth() - rollHistory.Width();
        heightMargin_ = form.ScaleHeight() - rollHistory.Height();
        Fill();
        previousObserver_ = SetDiceHistoryObserver(this);
        observing_ = true;
    };
    form.OnResize = [this] {
        if (!form.Loaded()) return;
        rollHistory.SetWidth(std::max(0, form.ScaleWidth() - widthMargin_));
        rollHistory.SetHeight(std::max(0, form.ScaleHeight() - heightMargin_));
    };
    form.OnUnload = [this](bool&) {
        if (observing_) SetDiceHistoryObserver(previousObserver_);
        observing_ = false;
    };
    rollBtn.OnClick = [this] {
        const int chosen = diceRolls.ListIndex();
        if (chosen < 0) {
            ShowMsg("Please select a dice");
            return;
        }
        RollDice(static_cast<std::int16_t>(chosen + 1), true, false);
    };
}

DiceRollerForm::~DiceRollerForm() {
    if (observing_) SetDiceHistoryObserver(previousObserver_);
}

void DiceRollerForm::Fill() {
    diceRolls.Clear();
    for (int die = 1; die <= DiceCount; ++die)
        diceRolls.AddItem("[" + std::to_string(die) + "] " + Dice[die].name);
    if (diceRolls.ListCount() > 0) diceRolls.SetListIndex(0);
    rollHistory.Clear();
    for (const std::string& line : DiceLogLines())
        rollHistory.AddItem(line);
}

void DiceRollerForm::RollShown(const std::vector<std::string>& lines) {
    for (const std::string& line : lines)
        rollHistory.AddItem(line);
    const int count = rollHistory.ListCount();
    if (count > 1) rollHistory.SetSelected(count - 2, false);
    if (count > 0) rollHistory.SetListIndex(count - 1);
}
