// The table engine's entry point.
#include "platform/Application.h"
#include "platform/Form.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (std::string reason = platform::MissingDisplayReason(); !reason.empty()) {
        std::fprintf(stderr, "Karvel cannot start: %s.\n", reason.c_str());
        return 1;
    }
    platform::Application app(argc, argv, "Karvel");
    platform::Form main;
    main.SetCaption("Karvel");
    main.Resize(9600, 7200);
    main.Show();
    return app.Run();
}
