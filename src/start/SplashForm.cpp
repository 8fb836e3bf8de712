#include "start/SplashForm.h"

#include "common/Version.h"
#include "platform/Files.h"
#include "start/StartPictures.h"
#include "state/TableState.h"

#include <filesystem>
#include <system_error>

namespace {

constexpr int kSplashInterval = 2000;

// Files named without a folder are looked for beside the program.
void EnterProgramFolder() {
    const auto folder = platform::ResolvePath(platform::ProgramFolder());
    if (!folder) return;
    std::error_code ignored;
    std::filesystem::current_path(*folder, ignored);
}

} // namespace

std::string SplashForm::VersionLine() {
    return "Version " + std::to_string(kVersionMajor) + "." + std::to_string(kVersionMinor) + "." +
           std::to_string(kVersionRevision) + " " + kVersionComments;
}

SplashForm::SplashForm() {
    form.SetCaption("Karvel");
    form.SetKeyPreview(true);
    Frame1.SetCaption("");
    Frame1.Move(60, 0, 7260, 3420);
    imgLogo.SetPicture(startpictures::Logo());
    imgLogo.Move(150, 300);
    lblProductName.SetCaption("Karvel");
    lblProductName.SetFont(platform::Font{"Arial", 24, true});
    lblProductName.Move(4050, 300, 3000, 600);
    lblProductLine.SetCaption("A virtual game table for card and board games");
    lblProductLine.SetWordWrap(true);
    lblProductLine.Move(4050, 1050, 3000, 700);
    lblPlatform.SetCaption("for Linux");
    lblPlatform.Move(4050, 1800, 3000, 255);
    lblVersion.SetAlignment(1);
    lblVersion.Move(4050, 2900, 3000, 255);
    form.FitToContent(60);
    Timer1.SetInterval(kSplashInterval);
    Timer1.SetEnabled(false);

    form.OnLoad = [this] {
        lblVersion.SetCaption(VersionLine());
        DesignMode = kFalse;
        AllCardsVisible = kFalse;
        EnterProgramFolder();
        // The two seconds count from the splash's opening.
        Timer1.SetEnabled(true);
    };
    form.OnUnload = [this](bool&) {
        Timer1.SetEnabled(false);
        if (ShowGameType) ShowGameType();
    };
    const auto close = [this] { form.Unload(); };
    form.OnKeyPress = [close](int&) { close(); };
    Frame1.OnClick = close;
    imgLogo.OnClick = close;
    lblProductName.OnClick = close;
    Timer1.OnTimer = close;
}
