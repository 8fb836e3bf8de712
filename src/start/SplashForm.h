// The splash window the program opens with: the logo, the product's name and the version line.
// It prepares the process-wide flags and closes on a key, on a click on the logo, its frame or
// the product's name, or after two seconds; closing it opens the game type window.
#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Graphics.h"
#include "platform/Timer.h"

#include <functional>
#include <string>

class SplashForm {
  public:
    SplashForm();

    // "Version " major.minor.revision, a blank and the version's comments.
    static std::string VersionLine();

    platform::Form form;
    platform::Frame Frame1{form.Handle()};
    platform::Image imgLogo{Frame1.Handle()};
    platform::Label lblProductName{Frame1.Handle()};
    platform::Label lblProductLine{Frame1.Handle()};
    platform::Label lblPlatform{Frame1.Handle()};
    platform::Label lblVersion{Frame1.Handle()};
    platform::Timer Timer1;

    // Runs as the splash goes: the program's start opens the game type window here.
    std::function<void()> ShowGameType;
};
