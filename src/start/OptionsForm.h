// The options window of the seat login: the options of one player, one option button each, of
// which the player keeps the one checked on OK.
#pragma once

#include "platform/ControlArray.h"
#include "platform/Controls.h"
#include "platform/Form.h"

#include <cstdint>
#include <functional>
#include <string>

class OptionsForm {
  public:
    OptionsForm();
    ~OptionsForm();
    OptionsForm(const OptionsForm&) = delete;
    OptionsForm& operator=(const OptionsForm&) = delete;

    // Shows the title and one button per option of the player, the player's selection checked.
    void SetOptionsForPlayer(std::int16_t player, const std::string& title);

    platform::Form form;
    platform::Label optionTitle{form.Handle()};
    platform::ControlArray<platform::OptionButton> pOpt;
    platform::CommandButton Command1{form.Handle()};

    // Runs after OK changed the player's selection: the seat login shows the new choice.
    std::function<void(std::int16_t player)> OptionChosen;

  private:
    void Command1_Click();

    std::int16_t player_ = 0;
};

// The options window open now (the newest); nullptr when none is.
OptionsForm* OptionsWindow();
