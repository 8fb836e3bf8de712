// The copyright window: the picture a game names as its copyright, shown in a window of its own
// when the game starts. A click on the window or the picture, or a key let go, closes it.
#pragma once

#include "platform/Form.h"
#include "platform/Graphics.h"

#include <string>

class CopyrightForm {
  public:
    CopyrightForm();

    // Shows the picture file modally in a window of the picture's size; a file that holds no
    // picture shows no window.
    void ShowPicture(const std::string& path);

    platform::Form form;
    platform::PictureBox Picture1{form.Handle()};
};
