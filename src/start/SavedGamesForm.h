// The saved-game picker: the saves of the save folder by name, with the description of the game
// each was made from. A double click chooses one and closes the window; closing it otherwise
// chooses nothing. The connection dialog of direct play asks it for the game to continue.
#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Lists.h"

#include <string>

class SavedGamesForm {
  public:
    SavedGamesForm();

    platform::Form form;
    platform::ListBox List1{form.Handle()};
    platform::Label DescTxt{form.Handle()};

    // The save name chosen by the last double click; "" until then.
    std::string chosen;
};

// Shows the picker modally: the name of the save chosen, "" when none was.
std::string PickSavedGame();
