// The table engine's entry point. Without arguments it opens the splash, and the player goes on
// through the game type window and the game list to a game. Given a game file (a name beside the
// program, or a path inside the program folder), it starts that game for the first seat at once,
// as the game list would once the seat is chosen: with "hand" after it, that seat's hand shows
// too; with "--design" before it, in a design session. Closing the table brings the game list.
#include "platform/Application.h"
#include "platform/Files.h"
#include "services/DebugMgmt.h"
#include "start/StartWindows.h"
#include "state/Helpers.h"
#include "state/TableState.h"
#include "table/MainForm.h"

#include <cstdio>
#include <string>

namespace {

std::string GamePath(const std::string& argument) {
    if (argument.find_first_of("/\\") != std::string::npos) return argument;
    return platform::ProgramFolder() + "\\" + argument;
}

} // namespace

int main(int argc, char** argv) {
    if (std::string reason = platform::MissingDisplayReason(); !reason.empty()) {
        std::fprintf(stderr, "Karvel cannot start: %s.\n", reason.c_str());
        return 1;
    }
    platform::Application app(argc, argv, "Karvel");
    InstallDebugErrorLogger();
    // Every road to a game deals from here on, direct play's too, which never opens the game
    // list that reseeds the generator.
    SeedRandomFromEntropy();
    StartWindows windows;
    if (argc > 1) {
        // "--design" before the game file opens it in a design session with its tool bar.
        const bool design = std::string(argv[1]) == "--design" && argc > 2;
        DesignMode = ToFlag(design);
        if (!windows.gameList.StartGameForSeat(GamePath(argv[design ? 2 : 1]), 1)) return 1;
        // "hand" after the game shows the first seat's hand too (its window, or its area).
        if (!design && argc > 2 && std::string(argv[2]) == "hand")
            windows.gameList.Table()->showHandAreaBtn_Click();
        return app.Run();
    }
    windows.Start();
    return app.Run();
}
