#include "table/StartWindows.h"

StartWindows::StartWindows() {
    splash.ShowGameType = [this] { gameType.form.Show(); };
    gameType.ShowGameList = [this] {
        // The list reads the design flag as it opens: a list left open takes the new choice too.
        gameList.form.Unload();
        gameList.form.Show();
    };
}

void StartWindows::Start() {
    splash.form.Show();
}
