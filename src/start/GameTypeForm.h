// The game type window: a new game (alone or by exchange of saved games), direct play over the
// network, or a design session. The first and the last lead to the game list, direct play to the
// connection dialog.
#pragma once

#include "controls/cpvButton.h"
#include "platform/Controls.h"
#include "platform/Form.h"

#include <functional>

class GameTypeForm {
  public:
    GameTypeForm();

    platform::Form form;
    platform::Frame Frame1{form.Handle()};
    controls::cpvButton NewGameBtn{Frame1.Handle()};
    platform::Label NewGameLabel{Frame1.Handle()};
    platform::Frame Frame2{form.Handle()};
    controls::cpvButton DirectPlayBtn{Frame2.Handle()};
    platform::Label DirectPlayLabel{Frame2.Handle()};
    platform::Frame Frame3{form.Handle()};
    controls::cpvButton DesignBtn{Frame3.Handle()};
    platform::Label DesignLabel{Frame3.Handle()};

    // Runs after a new game or a design session was chosen: the program's start shows the game
    // list here.
    std::function<void()> ShowGameList;
};

// Opens the connection dialog of direct play. Until direct play exists it does nothing; it
// returns the opener it replaced (an empty one restores the default).
using ConnectionDialogOpener = std::function<void()>;
ConnectionDialogOpener SetConnectionDialogOpener(ConnectionDialogOpener opener);
void ShowConnectionDialog();
