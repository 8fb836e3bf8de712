// One run of a real program (the sanitizer build of Karvel or wizard) on a virtual screen of its
// own, in a program folder of its own holding the bundled games, driven by real input. Every wait
// is for something the probe shows (a window, a control, a state), never for a fixed time, and
// every wait also watches that the program is alive and its sanitizers silent: a fault ends the
// run with the program's log and what was on screen.
#pragma once

#include "Scene.h"
#include "Screen.h"

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <sys/types.h>
#include <vector>

namespace e2e {

// A fault of the program under test (crash, hang, sanitizer report) or a state that never came.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The program ended by itself, cleanly (its last window closed) while a step waited for it.
struct Ended : Failure {
    using Failure::Failure;
};

// The sanitizer's report in a program's output, or "".
std::string SanitizerReport(const std::string& log);

// Where the runs write their pictures and logs: build/e2e (or $KARVEL_E2E_OUT).
std::string OutputFolder();

class Session {
  public:
    // `run` names the run's folder of pictures; `program` is "Karvel" or "wizard", started with
    // the arguments from the build folder. With `windowManager` (or KARVEL_E2E_WM=openbox in the
    // environment, for every run) openbox manages the screen before the program starts.
    Session(const std::string& run, const std::string& program, std::vector<std::string> args = {},
            int width = 1280, int height = 800, bool windowManager = false);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    Screen& Input() { return *screen_; }
    const std::string& Home() const { return home_; }
    const std::string& Folder() const { return folder_; }

    // What is on screen now, once the X server shows every window where the program says it is
    // (see Until). A probe that does not answer for 10 s is a hung program.
    Scene Now();
    // Waits until the condition holds (60 s at most, longer for a slow sanitizer build) and the
    // X server shows each of the scene's windows where the program says it is, and returns that
    // scene: a window manager frames and places a window some time after the program shows it, and
    // a click aimed by the program's word before then lands beside the window.
    Scene Until(const std::function<bool(const Scene&)>& condition, const std::string& what,
                int timeoutMs = 90000);
    Scene UntilWindow(const std::string& title);
    Scene UntilGone(const std::string& title);
    // The name of the program's widget that a click at the point reaches first, within the
    // window the program has there ("" when it has none, or the widget has no name).
    std::string WidgetAt(Point p);
    // The step is done: the program is alive and silent, and a picture of the screen is kept as
    // NN-step.png in the run's folder.
    void Step(const std::string& step);

    // Gestures that wait for their effect.
    // Right-clicks at the point and waits for the pop-up menu; its scene.
    Scene OpenMenuAt(Point p, int button = 3);
    // Chooses the item of the open menu (opening submenus on the way: "Give to player/East"),
    // by the mouse; waits until every menu is closed.
    void Choose(const std::string& path);
    // Answers every message box and question that comes within `settleMs` (OK / Yes by default,
    // "No" when asked); returns their texts.
    std::vector<std::string> AnswerDialogs(int settleMs = 600, const std::string& button = "");
    // Clicks into a text box, as a player does before typing, and waits until the box has the
    // keys: a window manager gives a window the keyboard some time after it shows, and what is
    // typed before then goes to the window that had it.
    void ClickInto(const WidgetInfo& box);
    // Clicks a widget of the window showing the text (a button, a check box).
    void ClickText(const std::string& windowTitle, const std::string& text);
    // The window the screen shows on top at the point, as the window system stacks the windows
    // (its number in the scene); 0 when none of the program's windows is there.
    int WindowAt(Point p);

    bool Alive();
    // How the program ended (a wait status), once Alive() is false.
    int ExitStatus() const { return exitStatus_; }
    std::string Log() const;
    // Throws the failure of a program that ended by a fault or reported one; nothing when it is
    // running or ended cleanly.
    void CheckEnd();
    // Closes the program as a user would (its windows' close boxes, answering what it asks)
    // and waits for its end; throws when it ended by a fault or reported one.
    void Finish();

  private:
    void Start();
    // The probe's scene as it answers, whatever the screen shows yet.
    Scene Ask();
    void Fail(const std::string& what, const Scene* scene = nullptr);
    void CheckHealth();
    // Gives the scene's windows the frames the X server shows around them (the program's own idea
    // of a window manager's frame may lag or stay wrong) and returns those of its windows that the
    // server does not show where the program says they are; "" when it shows every one there.
    std::string Settle(Scene& scene) const;

    std::string run_;
    std::string program_;
    std::vector<std::string> args_;
    std::string folder_;
    std::string home_;
    std::string probe_;
    std::string logPath_;
    std::unique_ptr<Screen> screen_;
    pid_t pid_ = -1;
    int exitStatus_ = 0;
    bool ended_ = false;
    int shots_ = 0;
};

} // namespace e2e
