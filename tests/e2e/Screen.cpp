#include "Screen.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace e2e {
namespace {

// The programs under test go on for a moment after the last input; a pause between the events
// of one gesture lets the window system tell a press from a drag, as a hand does.
void Pause(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

std::string WindowName(Display* display, Window window) {
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string name;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count, &after,
                           &data) == Success &&
        data) {
        name.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
        return name;
    }
    char* plain = nullptr;
    if (XFetchName(display, window, &plain) && plain) {
        name = plain;
        XFree(plain);
    }
    return name;
}

// The title a window shows: its own, or that of the client window a window manager's frame holds
// (the client is the descendant the manager marked with WM_STATE).
std::string ShownTitle(Display* display, Window window, int depth = 0) {
    std::string name = WindowName(display, window);
    if (!name.empty() || depth > 3) return name;
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) return name;
    for (unsigned int i = count; i-- > 0 && name.empty();) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable)
            name = ShownTitle(display, children[i], depth + 1);
    }
    if (children) XFree(children);
    return name;
}

// The window of that title: the window itself or, in a window manager's frame, the client.
Window Titled(Display* display, Window window, const std::string& title, int depth = 0) {
    if (WindowName(display, window) == title) return window;
    if (depth > 3) return 0;
    Window root = 0, parent = 0, *children = nullptr, found = 0;
    unsigned int count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) return 0;
    for (unsigned int i = 0; i < count && !found; ++i)
        found = Titled(display, children[i], title, depth + 1);
    if (children) XFree(children);
    return found;
}

// Windows come and go while the driver looks at them: a window gone between two requests is no
// fault of the run (Xlib's own handler would end the process).
int IgnoreXErrors(Display*, XErrorEvent*) {
    return 0;
}

} // namespace

Screen::Screen(int width, int height) : width_(width), height_(height) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) throw std::runtime_error("no pipe for the X server");
    const std::string geometry = std::to_string(width) + "x" + std::to_string(height) + "x24";
    const std::string fd = std::to_string(pipeFds[1]);
    server_ = fork();
    if (server_ == 0) {
        close(pipeFds[0]);
        int devnull = open("/dev/null", O_WRONLY);
        if (devnull >= 0) {
            dup2(devnull, 1);
            dup2(devnull, 2);
        }
        // -displayfd: the server picks a free display number itself and writes it to the pipe,
        // so that runs side by side never race for one.
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", geometry.c_str(), "-nolisten", "tcp",
               "-ac", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    if (server_ < 0) throw std::runtime_error("cannot start Xvfb");
    std::string number;
    pollfd waiting{pipeFds[0], POLLIN, 0};
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        if (poll(&waiting, 1, 200) > 0) {
            char c = 0;
            const ssize_t got = read(pipeFds[0], &c, 1);
            if (got <= 0 || c == '\n') break;
            number += c;
        }
        int status = 0;
        if (waitpid(server_, &status, WNOHANG) == server_) {
            server_ = -1;
            break;
        }
    }
    close(pipeFds[0]);
    if (number.empty()) throw std::runtime_error("Xvfb did not start (is the xvfb package installed?)");
    name_ = ":" + number;
    XSetErrorHandler(IgnoreXErrors);
    display_ = XOpenDisplay(name_.c_str());
    if (!display_) throw std::runtime_error("cannot open the display " + name_);
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display_, &event, &error, &major, &minor))
        throw std::runtime_error("the X server has no test extension");
}

namespace {

// Ends a child of ours: asked first, killed after two seconds.
void Stop(pid_t child) {
    if (child <= 0) return;
    kill(child, SIGTERM);
    int status = 0;
    for (int i = 0; i < 100 && waitpid(child, &status, WNOHANG) == 0; ++i)
        Pause(20);
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
}

} // namespace

Screen::~Screen() {
    Stop(manager_);
    if (display_) XCloseDisplay(display_);
    Stop(server_);
}

void Screen::Sync() const {
    XSync(display_, False);
}

void Screen::MoveTo(Point p) {
    XTestFakeMotionEvent(display_, 0, p.x, p.y, CurrentTime);
    Sync();
}

void Screen::Press(int button) {
    using namespace std::chrono;
    const long long now = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    const Point at = Pointer();
    constexpr long long kDoubleClickMs = 600; // above the window system's interval
    if (!doubling_ && button == lastButton_ && std::abs(at.x - lastPress_.x) < 10 &&
        std::abs(at.y - lastPress_.y) < 10 && now - lastPressMs_ < kDoubleClickMs)
        Pause(static_cast<int>(kDoubleClickMs - (now - lastPressMs_)));
    lastButton_ = button;
    lastPress_ = at;
    lastPressMs_ = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    XTestFakeButtonEvent(display_, static_cast<unsigned>(button), True, CurrentTime);
    Sync();
}

void Screen::Release(int button) {
    XTestFakeButtonEvent(display_, static_cast<unsigned>(button), False, CurrentTime);
    Sync();
}

void Screen::Click(Point p, int button) {
    MoveTo(p);
    Pause(30);
    Press(button);
    Pause(30);
    Release(button);
}

void Screen::DoubleClick(Point p) {
    MoveTo(p);
    Pause(30);
    Press(1);
    Pause(20);
    Release(1);
    Pause(40);
    doubling_ = true;
    Press(1);
    doubling_ = false;
    Pause(20);
    Release(1);
}

void Screen::Drag(Point from, Point to, int button, int steps) {
    MoveTo(from);
    Pause(40);
    Press(button);
    Pause(60);
    steps = std::max(1, steps);
    for (int i = 1; i <= steps; ++i) {
        MoveTo(Point{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
        Pause(25);
    }
    Pause(40);
    Release(button);
}

void Screen::SendKey(unsigned int code, bool down) {
    XTestFakeKeyEvent(display_, code, down ? True : False, CurrentTime);
    Sync();
}

void Screen::Key(const std::string& chord) {
    std::vector<unsigned int> codes;
    std::size_t start = 0;
    while (start <= chord.size()) {
        std::size_t plus = chord.find('+', start + 1);
        if (plus == std::string::npos) plus = chord.size();
        const std::string name = chord.substr(start, plus - start);
        const KeySym sym = XStringToKeysym(name.c_str());
        if (sym == NoSymbol) throw std::runtime_error("no key named " + name);
        codes.push_back(XKeysymToKeycode(display_, sym));
        start = plus + 1;
    }
    for (unsigned int code : codes)
        SendKey(code, true);
    Pause(20);
    for (auto it = codes.rbegin(); it != codes.rend(); ++it)
        SendKey(*it, false);
    Pause(20);
}

void Screen::Hold(const std::string& key, bool down) {
    const KeySym sym = XStringToKeysym(key.c_str());
    if (sym == NoSymbol) throw std::runtime_error("no key named " + key);
    SendKey(XKeysymToKeycode(display_, sym), down);
}

void Screen::Type(const std::string& text) {
    const unsigned int shift = XKeysymToKeycode(display_, XK_Shift_L);
    for (char c : text) {
        KeySym sym = static_cast<unsigned char>(c);
        if (c == ' ') sym = XK_space;
        if (c == '\n') sym = XK_Return;
        const unsigned int code = XKeysymToKeycode(display_, sym);
        if (code == 0) continue;
        // A character on the key's second level needs Shift.
        const bool shifted = XkbKeycodeToKeysym(display_, static_cast<::KeyCode>(code), 0, 0) != sym;
        if (shifted) SendKey(shift, true);
        SendKey(code, true);
        SendKey(code, false);
        if (shifted) SendKey(shift, false);
        Pause(10);
    }
}

bool Screen::Close(const std::string& title) {
    Window root = DefaultRootWindow(display_), parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, root, &root, &parent, &children, &count)) return false;
    Window found = 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display_, children[i], &attributes) || attributes.map_state != IsViewable)
            continue;
        found = Titled(display_, children[i], title);
    }
    if (children) XFree(children);
    if (!found) return false;
    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = found;
    event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display_, found, False, NoEventMask, &event);
    Sync();
    return true;
}

Point Screen::Pointer() const {
    Window root = 0, child = 0;
    int x = 0, y = 0, wx = 0, wy = 0;
    unsigned int mask = 0;
    XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &x, &y, &wx, &wy, &mask);
    return Point{x, y};
}

void Screen::StartWindowManager() {
    if (manager_ > 0) return;
    manager_ = fork();
    if (manager_ == 0) {
        int devnull = open("/dev/null", O_WRONLY);
        if (devnull >= 0) {
            dup2(devnull, 1);
            dup2(devnull, 2);
        }
        setenv("DISPLAY", name_.c_str(), 1);
        execlp("openbox", "openbox", "--sm-disable", static_cast<char*>(nullptr));
        _exit(127);
    }
    if (manager_ < 0) throw std::runtime_error("cannot start openbox");
    // It manages windows once it has named the window that proves it runs on the root.
    const Atom check = XInternAtom(display_, "_NET_SUPPORTING_WM_CHECK", False);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(manager_, &status, WNOHANG) == manager_) {
            manager_ = -1;
            throw std::runtime_error("openbox ended at its start (is the openbox package installed?)");
        }
        Atom type = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        const bool found = XGetWindowProperty(display_, DefaultRootWindow(display_), check, 0, 1, False,
                                              XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
                           data && count == 1;
        if (data) XFree(data);
        if (found) return;
        Pause(50);
    }
    throw std::runtime_error("openbox did not take the screen");
}

std::vector<Shown> Screen::Stacking() const {
    std::vector<Shown> shown;
    Window root = DefaultRootWindow(display_), parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, root, &root, &parent, &children, &count)) return shown;
    // XQueryTree lists the root's children bottom first: the stacking order itself.
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(display_, children[i], &a) || a.map_state != IsViewable) continue;
        std::string title = ShownTitle(display_, children[i]);
        if (title.empty()) continue;
        Shown s{title, a.x, a.y, a.width + 2 * a.border_width, a.height + 2 * a.border_width};
        s.innerX = s.x, s.innerY = s.y, s.innerW = a.width, s.innerH = a.height;
        XWindowAttributes inner;
        Window client = Titled(display_, children[i], title), ignored = 0;
        if (client && client != children[i] && XGetWindowAttributes(display_, client, &inner) &&
            XTranslateCoordinates(display_, client, root, 0, 0, &s.innerX, &s.innerY, &ignored)) {
            s.innerW = inner.width;
            s.innerH = inner.height;
        }
        shown.push_back(s);
    }
    if (children) XFree(children);
    return shown;
}

std::string Screen::TopAt(Point p) const {
    const std::vector<Shown> shown = Stacking();
    for (auto it = shown.rbegin(); it != shown.rend(); ++it)
        if (it->Contains(p)) return it->title;
    return "";
}

} // namespace e2e
