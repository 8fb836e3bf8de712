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

// Why no window can be shown here ("" when a display is available): checked before the
// application object is made, since the window system aborts the process when it finds none.
std::string MissingDisplayReason();

} // namespace platform
