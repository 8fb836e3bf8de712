#include "net/HostListForm.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Files.h"

#include <algorithm>

namespace {

// A hand-edited count may be anything; the list never reads more keys than the file can hold.
constexpr int kMaxHosts = 1000;

} // namespace

std::string DirectIniPath() {
    return platform::ProgramFolder() + "\\direct.ini";
}

std::string HostEntry(const std::string& name, const std::string& address) {
    return name + " (" + address + ")";
}

std::string HostEntryName(const std::string& entry) {
    const std::size_t open = entry.find('(');
    // An entry without "(" is all name; one that starts with "(" has none.
    if (open == std::string::npos) return entry;
    return entry.substr(0, open == 0 ? 0 : open - 1);
}

std::string HostEntryAddress(const std::string& entry) {
    const std::size_t open = entry.find('(');
    if (open == std::string::npos || open + 1 >= entry.size()) return "";
    return entry.substr(open + 1, entry.size() - open - 2);
}

std::vector<std::string> ReadHostList() {
    const std::string file = DirectIniPath();
    const int count = std::clamp<int>(LeadingInt16(GetIni("HOSTS", "count", file)), 0, kMaxHosts);
    std::vector<std::string> entries;
    for (int i = 1; i <= count; ++i)
        entries.push_back(GetIni("HOSTS", "name" + std::to_string(i), file));
    return entries;
}

void WriteHostList(const std::vector<std::string>& entries) {
    const std::string file = DirectIniPath();
    WriteIni("HOSTS", "count", std::to_string(entries.size()), file);
    for (std::size_t i = 0; i < entries.size(); ++i)
        WriteIni("HOSTS", "name" + std::to_string(i + 1), entries[i], file);
}

HostListForm::HostListForm() {
    form.SetCaption("Host List");
    form.Resize(6000, 4200);
    HostList.Move(120, 120, 3240, 3480);
    NameLabel.SetCaption("Name");
    NameLabel.Move(3480, 120, 2280, 255);
    H_Name.Move(3480, 400, 2280, 315);
    AddressLabel.SetCaption("IP Address");
    AddressLabel.Move(3480, 840, 2280, 255);
    H_IP.Move(3480, 1120, 2280, 315);
    Command1.SetCaption("Add New");
    Command1.Move(3480, 1680, 1080, 375);
    Command2.SetCaption("Update");
    Command2.Move(4680, 1680, 1080, 375);
    Command3.SetCaption("Delete");
    Command3.Move(3480, 2160, 1080, 375);
    Command4.SetCaption("Select");
    Command4.Move(4680, 2160, 1080, 375);

    form.OnLoad = [this] {
        H_Name.SetText("");
        H_IP.SetText("<ip address>");
        LoadHostList();
    };
    Command1.OnClick = [this] { HostList.AddItem(HostEntry(H_Name.Text(), H_IP.Text())); };
    Command2.OnClick = [this] {
        const int i = SelectedEntry();
        if (i >= 0) HostList.SetList(i, HostEntry(H_Name.Text(), H_IP.Text()));
    };
    Command3.OnClick = [this] {
        const int i = SelectedEntry();
        if (i >= 0) HostList.RemoveItem(i);
    };
    Command4.OnClick = [this] { Choose(true); };
    HostList.OnClick = [this] {
        const int i = HostList.ListIndex();
        if (i < 0) return;
        H_Name.SetText(HostEntryName(HostList.List(i)));
        H_IP.SetText(HostEntryAddress(HostList.List(i)));
    };
    HostList.OnDblClick = [this] {
        if (HostList.ListIndex() >= 0) Choose(false);
    };
}

void HostListForm::LoadHostList() {
    HostList.Clear();
    HostList.AddItems(ReadHostList());
}

void HostListForm::SaveHostList() {
    std::vector<std::string> entries;
    for (int i = 0; i < HostList.ListCount(); ++i)
        entries.push_back(HostList.List(i));
    WriteHostList(entries);
}

int HostListForm::SelectedEntry() {
    const int i = HostList.ListIndex();
    if (i < 0 || i >= HostList.ListCount()) {
        ShowMsg("Please select one host from the list");
        return -1;
    }
    return i;
}

void HostListForm::Choose(bool save) {
    const int i = SelectedEntry();
    if (i < 0) return;
    const std::string address = HostEntryAddress(HostList.List(i));
    if (save) SaveHostList();
    if (ChooseAddress) ChooseAddress(address);
    form.Unload();
}
