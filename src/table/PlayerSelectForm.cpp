#include "table/PlayerSelectForm.h"

#include "platform/Keys.h"

namespace {

PlayerSelectForm* g_current = nullptr;

} // namespace

PlayerSelectForm::PlayerSelectForm() {
    form.Resize(3600, 3300);
    form.SetKeyPreview(true);
    NameList.Move(120, 120, 3200, 2600);
    NameList.OnDblClick = [this] { Accept(); };
    form.OnKeyDown = [this](int key, int) {
        if (key == platform::keys::kEscape)
            form.Unload();
        else if (key == platform::keys::kReturn && NameList.ListIndex() >= 0)
            Accept();
    };
}

void PlayerSelectForm::Accept() {
    if (NameList.ListIndex() < 0) return;
    result = NameList.ListIndex() + 1;
    form.Unload();
}

PlayerSelectForm* PlayerSelectForm::Current() {
    return g_current;
}

int PlayerSelectForm::Choose(const std::string& caption, const std::vector<std::string>& lines) {
    PlayerSelectForm window;
    window.form.SetCaption(caption);
    window.NameList.AddItems(lines);
    PlayerSelectForm* previous = g_current;
    g_current = &window;
    window.form.ShowModal();
    g_current = previous;
    return window.result;
}
