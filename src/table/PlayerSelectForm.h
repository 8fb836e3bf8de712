// The player selection window: a list of names of which the user chooses one by a double click
// or Enter; Esc leaves it without a choice.
#pragma once

#include "platform/Form.h"
#include "platform/Lists.h"

#include <cstdint>

class PlayerSelectForm {
  public:
    PlayerSelectForm();

    platform::Form form;
    platform::ListBox NameList{form.Handle()};

    // The chosen line's position from 1; -1 while nothing was chosen.
    std::int16_t Result = -1;

  private:
    void Choose();
};
