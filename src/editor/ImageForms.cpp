#include "editor/ImageForms.h"

#include "common/Messages.h"
#include "editor/EditorWindow.h"
#include "platform/Codec.h"
#include "platform/Files.h"
#include "platform/Picture.h"
#include "platform/Twips.h"

#include <algorithm>

namespace wizard {

std::vector<std::string> ImageFiles(const std::string& folder) {
    std::vector<std::string> files;
    for (const char* pattern : {"*.bmp", "*.jpg", "*.gif"}) {
        std::vector<std::string> some = platform::ListFiles(folder, pattern);
        files.insert(files.end(), some.begin(), some.end());
    }
    std::sort(files.begin(), files.end(), [](const std::string& a, const std::string& b) {
        return platform::AnsiLower(a) < platform::AnsiLower(b);
    });
    return files;
}

CardImageForm::CardImageForm() {
    form_.SetCaption("Card Image");
    crdPict = std::make_unique<platform::PictureBox>(form_.Handle());
    crdPict->Move(0, 0, 1500, 2100);
    crdPict->SetAutoSize(true);
    form_.SetKeyPreview(true);
    form_.OnKeyDown = [this](int, int) { form_.Unload(); };
}

CardImageForm::~CardImageForm() = default;

void CardImageForm::Open(const std::string& folder, const std::string& name, bool modal) {
    const std::optional<platform::Picture> picture = platform::Picture::Load(folder + "\\" + name);
    if (!picture) {
        ShowMsg("The image " + name + " cannot be shown");
        return;
    }
    crdPict->SetPicture(*picture);
    form_.Resize(platform::TwipsFromPixelsX(picture->Width()) + 80,
                 platform::TwipsFromPixelsY(picture->Height()) + 320);
    if (modal)
        form_.ShowModal();
    else
        form_.Show();
}

ImageListForm::ImageListForm() {
    form_.SetCaption("ImageList");
    form_.Resize(3600, 4800);
    Files = std::make_unique<platform::ListBox>(form_.Handle());
    Files->Move(120, 120, 3200, 4100);
    Files->OnDblClick = [this] { Choose(Files->ListIndex()); };
    CloseOnEscape(form_);
}

ImageListForm::~ImageListForm() = default;

void ImageListForm::Open(const std::string& folder) {
    SelectedImage.clear();
    Files->Clear();
    for (const std::string& name : ImageFiles(folder))
        Files->AddItem(name);
    form_.ShowModal();
}

void ImageListForm::Choose(int index) {
    if (index < 0 || index >= Files->ListCount()) return;
    SelectedImage = Files->List(index);
    form_.Unload();
}

} // namespace wizard
