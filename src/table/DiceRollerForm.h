// The dice roller window: the game's dice to choose from, the Roll button and the history of
// the rolls, to which every roll made with show is added while the window is open.
#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Lists.h"
#include "services/DiceRoller.h"

#include <string>
#include <vector>

class DiceRollerForm : public DiceHistoryObserver {
  public:
    DiceRollerForm();
    ~DiceRollerForm() override;
    DiceRollerForm(const DiceRollerForm&) = delete;
    DiceRollerForm& operator=(const DiceRollerForm&) = delete;

    platform::Form form;
    platform::ComboBox diceRolls{form.Handle(), 2};
    platform::ListBox rollHistory{form.Handle()};
    platform::CommandButton rollBtn{form.Handle()};
    platform::Label label{form.Handle()};

  private:
    void RollShown(const std::vector<std::string>& lines) override;
    void Fill();

    // The distances between the window's inner size and the history's, kept on resize.
    int widthMargin_ = 0;
    int heightMargin_ = 0;
    bool observing_ = false;
    DiceHistoryObserver* previousObserver_ = nullptr;
};
