// The windows of the program's start, wired as a player meets them: the splash, then the game
// type window, then the game list (or the connection dialog of direct play).
#pragma once

#include "table/GameTypeForm.h"
#include "table/SplashForm.h"
#include "table/StartForm.h"

class StartWindows {
  public:
    StartWindows();

    // Opens the splash.
    void Start();

    SplashForm splash;
    GameTypeForm gameType;
    StartForm gameList;
};
