#include "table/CopyrightForm.h"

#include "platform/Picture.h"

CopyrightForm::CopyrightForm() {
    form.SetKeyPreview(true);
    Picture1.Move(0, 0);
    Picture1.SetAutoSize(true);
    const auto close = [this] { form.Unload(); };
    form.OnClick = close;
    Picture1.OnClick = close;
    form.OnKeyUp = [close](int, int) { close(); };
}

void CopyrightForm::ShowPicture(const std::string& path) {
    const auto picture = platform::Picture::Load(path);
    if (!picture || picture->IsEmpty()) return;
    form.Load();
    Picture1.SetPicture(*picture);
    // The window's inner area takes the picture; its frame comes on top.
    form.SetClientSize(Picture1.Width(), Picture1.Height());
    form.ShowModal();
}
