#include "start/SavedGamesForm.h"

#include "common/Helpers.h"
#include "platform/Files.h"
#include "state/SaveRecord.h"

SavedGamesForm::SavedGamesForm() {
    form.SetCaption("Saved Games");
    form.Resize(4800, 4800);
    List1.Move(120, 120, 4440, 3000);
    DescTxt.Move(120, 3240, 4440, 1000);

    form.OnLoad = [this] {
        List1.Clear();
        chosen.clear();
        DescTxt.SetCaption("");
        for (const std::string& file : platform::ListFiles(SaveFolder(), "*.save"))
            List1.AddItem(file.substr(0, file.size() - 5));
    };
    List1.OnClick = [this] {
        const std::string gameFile = ReadSaveHeader(List1.List(List1.ListIndex()));
        DescTxt.SetCaption(gameFile.empty() ? std::string() : GetIni("GAME", "description", gameFile));
    };
    List1.OnDblClick = [this] {
        if (List1.ListIndex() < 0) return;
        chosen = List1.List(List1.ListIndex());
        form.Unload();
    };
}

std::string PickSavedGame() {
    SavedGamesForm picker;
    picker.form.ShowModal();
    return picker.chosen;
}
