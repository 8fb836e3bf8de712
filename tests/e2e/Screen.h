// A virtual X screen (Xvfb) of its own for one run, and real input on it: the pointer, the
// buttons and the keys go through the X server's test extension exactly as a user's mouse and
// keyboard would, so the program under test meets them in the window system's own order.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

struct _XDisplay;

namespace e2e {

struct Point {
    int x = -1;
    int y = -1;
    bool Valid() const { return x >= 0 && y >= 0; }
};

// A window the X server shows, as a player sees it: its title and its place, frame included, and
// the place of the program's own window inside the frame (the same without a window manager).
struct Shown {
    std::string title;
    int x = 0, y = 0, w = 0, h = 0;
    int innerX = 0, innerY = 0, innerW = 0, innerH = 0;
    bool Contains(Point p) const { return p.x >= x && p.y >= y && p.x < x + w && p.y < y + h; }
};

class Screen {
  public:
    // Starts the server on a free display number; throws std::runtime_error when it cannot.
    Screen(int width, int height);
    ~Screen();
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    // ":N", for the DISPLAY of the programs to start on it.
    const std::string& Name() const { return name_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    void MoveTo(Point p);
    // Buttons: 1 left, 2 middle, 3 right. A press of the button pressed last, near the same place,
    // waits until the window system cannot take the two for a double click.
    void Press(int button);
    void Release(int button);
    void Click(Point p, int button = 1);
    void DoubleClick(Point p);
    // Press at `from`, move in steps, release at `to`.
    void Drag(Point from, Point to, int button = 1, int steps = 8);
    // A key by its X name ("Return", "F9", "a", "2"), with modifiers held ("Control_L",
    // "Shift_L", "Alt_L"), separated by "+": "Control_L+a".
    void Key(const std::string& chord);
    // Holds a key down (true) or lets it go, around other input: "Control_L" for a Ctrl-click.
    void Hold(const std::string& key, bool down);
    // Types plain text, with Shift where a character needs it.
    void Type(const std::string& text);
    // Asks the window titled so to close, as a window manager's close box does; false when no
    // such window is mapped.
    bool Close(const std::string& title);
    // The pointer's place now.
    Point Pointer() const;

    // Starts openbox on the screen and waits until it manages windows; throws when it cannot.
    // It ends with the screen.
    void StartWindowManager();
    bool Managed() const { return manager_ > 0; }
    // The windows mapped on the screen, in the X server's stacking order, the bottom one first
    // (a window manager's frame counts as its window's). Windows without a title are left out.
    std::vector<Shown> Stacking() const;
    // The title of the top window at the point, "" when only the bare screen shows there.
    std::string TopAt(Point p) const;

  private:
    void Sync() const;
    void SendKey(unsigned int code, bool down);

    int width_;
    int height_;
    // The last press, so that two separate clicks are never taken for a double click.
    int lastButton_ = 0;
    Point lastPress_;
    long long lastPressMs_ = 0;
    bool doubling_ = false;
    pid_t server_ = -1;
    pid_t manager_ = -1;
    std::string name_;
    _XDisplay* display_ = nullptr;
};

} // namespace e2e
