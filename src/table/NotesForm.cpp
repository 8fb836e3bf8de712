#include "table/NotesForm.h"

#include "common/Messages.h"
#include "platform/Keys.h"
#include "state/TableState.h"

#include <algorithm>

NotesForm::NotesForm() {
    form.SetCaption("Notes");
    form.Resize(6000, 4500);
    form.SetKeyPreview(true);
    NotesTxt.SetMaxLength(static_cast<int>(kMaxNotesLength));
    form.OnLoad = [this] {
        NotesTxt.SetText(NotesText);
        form.OnResize();
    };
    form.OnResize = [this] {
        NotesTxt.Move(0, 0, std::max(0, form.ScaleWidth()), std::max(0, form.ScaleHeight()));
    };
    form.OnUnload = [this](bool& cancel) {
        const std::string text = NotesTxt.Text();
        if (text.size() > kMaxNotesLength) {
            ShowMsg("The notes cannot hold more than 65,535 characters");
            cancel = true;
            return;
        }
        NotesText = text;
    };
    form.OnKeyDown = [this](int keyCode, int) {
        if (keyCode == platform::keys::kEscape) form.Unload();
    };
}
