// The definition editor's entry point: `wizard [game [step]]`.
#include "editor/MainForm.h"
#include "platform/Application.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (std::string reason = platform::MissingDisplayReason(); !reason.empty()) {
        std::fprintf(stderr, "wizard cannot start: %s.\n", reason.c_str());
        return 1;
    }
    platform::Application app(argc, argv, "Karvel Wizard");
    wizard::MainForm window;
    window.Show();
    // `wizard [game [step]]` opens a game beside the program on one of its steps.
    if (argc > 1) window.OpenAt(argv[1], argc > 2 ? std::atoi(argv[2]) : -1);
    return app.Run();
}
