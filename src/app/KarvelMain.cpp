// The table engine's entry point. Given a game file (a name beside the program, or a path inside
// the program folder), it opens that game's dealt table for the first seat.
#include "platform/Application.h"
#include "platform/Files.h"
#include "platform/Form.h"
#include "services/DebugMgmt.h"
#include "state/TableState.h"
#include "table/MainForm.h"
#include "table/TableSetup.h"

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
    if (argc > 1) {
        MainForm table;
        Game.CurrentPlayer = 1;
        if (!SetUpNewGame(table, GamePath(argv[1]))) return 1;
        Game.GamePhase = kPhasePlaying;
        table.Window().Show();
        return app.Run();
    }
    platform::Form main;
    main.SetCaption("Karvel");
    main.Resize(9600, 7200);
    main.Show();
    return app.Run();
}
