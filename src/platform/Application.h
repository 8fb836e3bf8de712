// The application object: one per program, created before any window or picture.
#pragma once

#include <memory>
#include <string>

namespace platform {

class Application {
  public:
    // When the window system cannot be opened, the program ends here with a message on stderr
    // and exit code 1.
    Application(int& argc, char** argv, const std::string& name);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Runs the event loop until the last window closes; the program's exit code.
    int Run();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The window system's libraries leave the upper halves of the vector registers marked in use (they
// run wide vector code and return without clearing them), and the C library's string functions on
// current processors never clear them. While they are marked, every instruction of the older
// vector set, which is what our code is compiled to for the baseline x86-64, merges with the stale
// halves: on some processors and virtual machines that made our short string copies and field
// scans several times slower. Each event starts with them cleared (the application does it before
// it dispatches one); code that times our work outside events calls this first. It costs a few
// cycles and does nothing where the processor has no such registers.
void ClearStaleVectorState();

// Why no window can be shown here ("" when a display is available): checked before the
// application object is made, since the window system aborts the process when it finds none.
std::string MissingDisplayReason();

} // namespace platform
