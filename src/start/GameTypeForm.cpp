#include "start/GameTypeForm.h"

#include "start/StartPictures.h"
#include "state/TableState.h"

#include <utility>

namespace {

ConnectionDialogOpener g_connectionDialog;

void Place(platform::Frame& frame, const std::string& caption, int top, platform::Label& label,
           const std::string& text) {
    frame.SetCaption(caption);
    frame.Move(120, top, 5400, 1020);
    label.SetCaption(text);
    label.Move(960, 420, 4300, 255);
}

} // namespace

ConnectionDialogOpener SetConnectionDialogOpener(ConnectionDialogOpener opener) {
    return std::exchange(g_connectionDialog, std::move(opener));
}

void ShowConnectionDialog() {
    if (g_connectionDialog) g_connectionDialog();
}

GameTypeForm::GameTypeForm() {
    form.SetCaption("Game Type");
    Place(Frame1, "PBEM", 120, NewGameLabel, "Start a new PBEM game (or a solo game)");
    Place(Frame2, "DirectPlay", 1200, DirectPlayLabel, "Start a new DirectPlay session");
    Place(Frame3, "Design Mode", 2280, DesignLabel, "Start a new Design session");
    startpictures::DressPictureButton(NewGameBtn, "NewGameBtn", startpictures::NewGameIcon(),
                                      "Start a new PBEM game", 180, 300);
    startpictures::DressPictureButton(DirectPlayBtn, "DirectPlayBtn", startpictures::DirectPlayIcon(),
                                      "Start a new Direct Play Session", 180, 300);
    startpictures::DressPictureButton(DesignBtn, "DesignBtn", startpictures::DesignIcon(),
                                      "Start a design Session", 180, 300);
    form.FitToContent(120);

    // The next window opens before this one goes, so that the program never stands without one.
    NewGameBtn.Click = [this] {
        DesignMode = kFalse;
        if (ShowGameList) ShowGameList();
        form.Unload();
    };
    DesignBtn.Click = [this] {
        DesignMode = kTrue;
        if (ShowGameList) ShowGameList();
        form.Unload();
    };
    DirectPlayBtn.Click = [this] {
        ShowConnectionDialog();
        form.Unload();
    };
}
