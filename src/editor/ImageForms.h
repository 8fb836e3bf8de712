// The two picture windows of the editor: "Card Image" shows one image of the game's folder at
// its own size; "ImageList" lets the user pick an image of the folder for the desktop.
#pragma once

#include "platform/Form.h"
#include "platform/Graphics.h"
#include "platform/Lists.h"

#include <memory>
#include <string>
#include <vector>

namespace wizard {

// The image files of a folder of the program (.bmp, .jpg, .gif), sorted without regard to case.
std::vector<std::string> ImageFiles(const std::string& folder);

class CardImageForm {
  public:
    CardImageForm();
    ~CardImageForm();
    CardImageForm(const CardImageForm&) = delete;
    CardImageForm& operator=(const CardImageForm&) = delete;

    // Shows the image `name` of the folder; a file that cannot be shown says so.
    void Open(const std::string& folder, const std::string& name, bool modal);

    platform::Form form_;
    std::unique_ptr<platform::PictureBox> crdPict;
};

class ImageListForm {
  public:
    ImageListForm();
    ~ImageListForm();
    ImageListForm(const ImageListForm&) = delete;
    ImageListForm& operator=(const ImageListForm&) = delete;

    // Shows the images of the folder modally; SelectedImage is then the one double-clicked, ""
    // when the window was closed without a choice.
    void Open(const std::string& folder);
    void Choose(int index);

    std::string SelectedImage;
    platform::Form form_;
    std::unique_ptr<platform::ListBox> Files;
};

} // namespace wizard
