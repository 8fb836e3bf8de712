// The definition editor's entry point.
#include "editor/MainForm.h"
#include "platform/Application.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (std::string reason = platform::MissingDisplayReason(); !reason.empty()) {
        std::fprintf(stderr, "wizard cannot start: %s.\n", reason.c_str());
        return 1;
    }
    platform::Application app(argc, argv, "Karvel Wizard");
    wizard::MainForm window;
    window.Show();
    return app.Run();
}
