// The selection window: one list of names, a line chosen with a double click or Enter, left with
// Esc. The card effects choose a deck or a player with it.
#pragma once

#include "platform/Form.h"
#include "platform/Lists.h"

#include <string>
#include <vector>

class PlayerSelectForm {
  public:
    PlayerSelectForm();

    // Shows the lines modally under the caption; the 1-based position of the line chosen, -1
    // when the window was left without a choice.
    static int Choose(const std::string& caption, const std::vector<std::string>& lines);
    // The window shown by Choose; nullptr when none is.
    static PlayerSelectForm* Current();

    // Takes the selected line as the choice and closes the window.
    void Accept();

    platform::Form form;
    platform::ListBox NameList{form.Handle()};
    int result = -1;
};
