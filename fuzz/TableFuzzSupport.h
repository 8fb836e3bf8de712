// What the fuzz targets that play a table share: Qt's application object, the pictures of a small
// game (in "img"), one table window, and their end before the libraries' own.
#pragma once

#include "FuzzSupport.h"

#include "platform/Application.h"
#include "platform/Picture.h"
#include "table/MainForm.h"

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fuzzsupport {

// The faces f1.png to f6.png, the decks' back.png and empty.png, and the marker pictures coin.png
// and cback.png, each 20 x 28 in one colour.
inline void WriteTablePictures() {
    const std::filesystem::path folder = Folder() / "img";
    std::filesystem::create_directories(folder);
    const auto write = [&](const std::string& name) {
        platform::Picture(20, 28, platform::MakeColour(40, 120, 200)).SaveAsPng((folder / name).string());
    };
    for (const char* name : {"back.png", "empty.png", "coin.png", "cback.png"})
        write(name);
    for (int k = 1; k <= 6; ++k)
        write("f" + std::to_string(k) + ".png");
}

// Once per process, after Start: the application, the pictures and the table window.
inline MainForm& StartTable() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static platform::Application* app = new platform::Application(argc, argv, "Karvel");
    static MainForm* table = new MainForm;
    WriteTablePictures();
    // The window and then the application go first of all exit handlers, as at the end of a
    // program's main: taken down later, after the libraries' own, they would leave their fonts
    // unreachable.
    std::atexit([] {
        delete table;
        delete app;
    });
    return *table;
}

} // namespace fuzzsupport

// The font library keeps what it learns of fonts (a fallback face for a new character, say) until
// it is shut down at the end of the process; that memory is not the table's. Defined here, not
// inline, so that the leak checker finds it: each target includes this header in its one file.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
