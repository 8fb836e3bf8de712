#include "table/PlayerSelectForm.h"

#include "platform/Keys.h"

PlayerSelectForm::PlayerSelectForm() {
    form.SetCaption("Select player");
    form.Resize(3600, 3300);
    form.SetKeyPreview(true);
    NameList.Move(120, 120, 3240, 2520);
    form.OnLoad = [this] { Result = -1; };
    form.OnKeyDown = [this](int keyCode, int) {
        if (keyCode == platform::keys::kEscape) form.Unload();
        if (keyCode == platform::keys::kReturn && NameList.ListIndex() >= 0) Choose();
    };
    NameList.OnDblClick = [this] { Choose(); };
}

void PlayerSelectForm::Choose() {
    // A double click beside the lines chooses nobody: the result stays "no choice".
    if (NameList.ListIndex() >= 0) Result = static_cast<std::int16_t>(NameList.ListIndex() + 1);
    form.Unload();
}
