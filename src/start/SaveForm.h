// The save dialog: the saves of the save folder and the name to save the running game under.
// A save replaces an old file of that name only after a yes, and never before the new record is
// written whole.
#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Lists.h"
#include "state/Helpers.h"

#include <string>

class SaveForm {
  public:
    SaveForm();

    platform::Form form;
    platform::ListBox SaveList{form.Handle()};
    platform::Label saveAsLabel{form.Handle()};
    platform::TextBox SaveName{form.Handle()};
    platform::CommandButton Command1{form.Handle()};
    platform::CommandButton Command2{form.Handle()};

  private:
    void DoSave();
};

// "save" and the date as DDMMYY: the name the dialog offers.
std::string DefaultSaveName(const CalendarDate& date);

// Why a typed name cannot name a save file; "" when it can. Empty names, "." and "..", and names
// with \ / : * ? " < > | or control characters are refused.
std::string SaveNameProblem(const std::string& name);

// Shows the save dialog modally over the table.
void ShowSaveForm();
