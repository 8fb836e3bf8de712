// The windows of the program's start, wired as a player meets them: the splash, then the game
// type window, then the game list (or the connection dialog of direct play).
#pragma once

#include "net/ConnectionForm.h"
#include "start/GameTypeForm.h"
#include "start/SplashForm.h"
#include "start/StartForm.h"

class StartWindows {
  public:
    StartWindows();
    ~StartWindows();
    StartWindows(const StartWindows&) = delete;
    StartWindows& operator=(const StartWindows&) = delete;

    // Opens the splash.
    void Start();

    SplashForm splash;
    GameTypeForm gameType;
    StartForm gameList;
    ConnectionForm connection;
};
