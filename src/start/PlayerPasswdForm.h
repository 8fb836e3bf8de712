// The arbitrator's seat ID editor: every player seat's name and ID, new IDs made for the free
// seats, and the IDs typed taken over on Update (an empty box frees its seat).
#pragma once

#include "platform/ControlArray.h"
#include "platform/Controls.h"
#include "platform/Form.h"

#include <string>

class PlayerPasswdForm {
  public:
    PlayerPasswdForm();

    // A new ID for a seat: the first 8 characters of its name without the blanks around them, in
    // lower case, then a number from 101 to 900.
    static std::string NewSeatID(const std::string& name);

    platform::Form form;
    platform::ControlArray<platform::Label> nm;
    platform::ControlArray<platform::TextBox> pwd;
    platform::CommandButton Command1{form.Handle()};
    platform::CommandButton Command2{form.Handle()};

  private:
    void Form_Load();
    void Command1_Click();
    void Command2_Click();
};
