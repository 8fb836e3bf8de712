// The host list of direct play: named server addresses kept in direct.ini, from which the
// connection dialog's address box is filled.
#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Lists.h"

#include <functional>
#include <string>
#include <vector>

// direct.ini in the program folder: the settings of direct play and the host list.
std::string DirectIniPath();

// An entry is the host's name, " (", its address and ")": "Office (192.168.0.7)".
std::string HostEntry(const std::string& name, const std::string& address);
// The characters before the first "(", less the one just before it (the blank of " (").
std::string HostEntryName(const std::string& entry);
// The characters after the first "(" up to the entry's last character, which is left out.
std::string HostEntryAddress(const std::string& entry);

// The entries of [HOSTS] of direct.ini in list order, and writing them back (count and name1 to
// name<count>; keys beyond the count stay in the file and are not read again).
std::vector<std::string> ReadHostList();
void WriteHostList(const std::vector<std::string>& entries);

class HostListForm {
  public:
    HostListForm();

    platform::Form form;
    platform::ListBox HostList{form.Handle()};
    platform::Label NameLabel{form.Handle()};
    platform::TextBox H_Name{form.Handle()};
    platform::Label AddressLabel{form.Handle()};
    platform::TextBox H_IP{form.Handle()};
    platform::CommandButton Command1{form.Handle()}; // Add New
    platform::CommandButton Command2{form.Handle()}; // Update
    platform::CommandButton Command3{form.Handle()}; // Delete
    platform::CommandButton Command4{form.Handle()}; // Select

    void LoadHostList();
    void SaveHostList();

    // Receives the chosen address for the connection dialog.
    std::function<void(const std::string& address)> ChooseAddress;

  private:
    // The selected entry's index; -1, with the message shown, when none is selected.
    int SelectedEntry();
    void Choose(bool save);
};
