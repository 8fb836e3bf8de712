#include "start/SaveForm.h"

#include "common/Messages.h"
#include "platform/Files.h"
#include "platform/Seams.h"
#include "state/SaveRecord.h"
#include "table/SaveGameMgmt.h"

#include <cstdio>
#include <ctime>

namespace {

constexpr int kEnter = 13;

CalendarDate Today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

} // namespace

std::string DefaultSaveName(const CalendarDate& date) {
    char text[16];
    std::snprintf(text, sizeof text, "save%02d%02d%02d", date.day % 100, date.month % 100, date.year % 100);
    return text;
}

std::string SaveNameProblem(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return "Please type a name for the saved game";
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 32 || byte == 127 || std::string("\\/:*?\"<>|").find(c) != std::string::npos)
            return "A saved game's name cannot hold control characters nor any of \\ / : * ? \" < > |";
    }
    return {};
}

SaveForm::SaveForm() {
    form.SetCaption("Save game");
    form.Resize(4800, 4300);
    SaveList.Move(120, 120, 4440, 2700);
    saveAsLabel.Move(120, 3000, 900, 285);
    saveAsLabel.SetCaption("Save as");
    SaveName.Move(1080, 2960, 3480, 330);
    Command1.Move(1560, 3480, 1400, 420);
    Command1.SetCaption("save");
    Command2.Move(3120, 3480, 1400, 420);
    Command2.SetCaption("Cancel");
    Command2.SetCancel(true);

    form.OnLoad = [this] {
        SaveList.Clear();
        for (const std::string& file : platform::ListFiles(SaveFolder(), "*.save"))
            SaveList.AddItem(file.substr(0, file.size() - 5));
        SaveName.SetText(DefaultSaveName(Today()));
        SaveName.SetSelStart(0);
        SaveName.SetSelLength(static_cast<int>(SaveName.Text().size()));
        // Typing goes to the name: the list, given the focus, would take the keys and put its
        // first save's name (maybe another game's) into the box.
        SaveName.SetFocus();
    };
    SaveList.OnClick = [this] {
        if (SaveList.ListIndex() >= 0) SaveName.SetText(SaveList.List(SaveList.ListIndex()));
    };
    SaveList.OnDblClick = [this] {
        if (SaveList.ListIndex() < 0) return;
        SaveName.SetText(SaveList.List(SaveList.ListIndex()));
        DoSave();
    };
    SaveName.OnKeyPress = [this](int& keyAscii) {
        if (keyAscii != kEnter) return;
        keyAscii = 0;
        DoSave();
    };
    Command1.OnClick = [this] { DoSave(); };
    Command2.OnClick = [this] { form.Unload(); };
}

void SaveForm::DoSave() {
    const std::string name = SaveName.Text();
    if (const std::string problem = SaveNameProblem(name); !problem.empty()) {
        ShowMsg(problem);
        return;
    }
    // The old file stays until the new record has replaced it whole.
    if (FileExists(SaveFilePath(name + ".save")) &&
        !platform::AskYesNo("File exists: do you want to overwrite it?"))
        return;
    if (!SaveGame(name + ".save")) return;
    form.Unload();
}

void ShowSaveForm() {
    SaveForm dialog;
    dialog.form.ShowModal();
}
