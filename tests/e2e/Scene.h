// What the program under test shows, as its window probe describes it: the visible windows and,
// in each, the controls, list rows and menu items with their text and where a click reaches them.
#pragma once

#include "Screen.h"

#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    Point Centre() const { return Point{x + w / 2, y + h / 2}; }
    bool Contains(Point p) const { return p.x >= x && p.y >= y && p.x < x + w && p.y < y + h; }
};

struct WindowInfo {
    int id = 0;
    std::string kind; // window, dialog, menu, popup, tip
    std::string state;
    Rect inner;
    Rect frame;
    std::string title;
    bool Is(const std::string& flag) const { return state.find(flag) != std::string::npos; }
};

struct WidgetInfo {
    int window = 0;
    std::string cls;
    std::string name;
    std::string tag;
    std::string state;
    Rect rect;
    Point click;        // invalid when nothing of it can be reached
    long long look = 0; // a control surface's picture: changes whenever another is drawn
    std::string text;
    bool Enabled() const { return state.rfind("enabled", 0) == 0; }
    bool Checked() const { return state.find("checked") != std::string::npos; }
};

struct RowInfo {
    int window = 0;
    int row = 0;
    bool selected = false;
    Rect rect;
    Point click;
    std::string text;
};

struct ItemInfo {
    int window = 0;
    int position = 0;
    std::string state;
    Rect rect;
    Point click;
    std::string text;
    bool Enabled() const { return state.rfind("enabled", 0) == 0; }
    bool Separator() const { return state == "separator"; }
    bool Submenu() const { return state.find("submenu") != std::string::npos; }
};

struct Scene {
    std::vector<WindowInfo> windows;
    std::vector<WidgetInfo> widgets;
    std::vector<RowInfo> rows;
    std::vector<ItemInfo> items;

    const WindowInfo* Window(const std::string& title) const;
    // A window whose title starts with the text.
    const WindowInfo* WindowStarting(const std::string& prefix) const;
    const WindowInfo* OfKind(const std::string& kind) const;
    // The open menus (in no particular order).
    std::vector<const WindowInfo*> Menus() const;
    // The open submenu of the menu item with the text (a submenu is titled by its item).
    const WindowInfo* SubmenuOf(const std::string& item) const;
    // The modal dialog on top (a message box, a question, a file chooser), if any.
    const WindowInfo* Dialog() const;
    const WidgetInfo* Named(const std::string& name) const;
    // The widgets whose names start with the text ("crd(" finds every card control).
    std::vector<const WidgetInfo*> NamedLike(const std::string& prefix) const;
    // A widget of the window (0: any window) of the class (empty: any) showing the text.
    const WidgetInfo* WithText(int window, const std::string& text, const std::string& cls = "") const;
    std::vector<const WidgetInfo*> In(int window, const std::string& cls = "") const;
    std::vector<const RowInfo*> RowsIn(int window) const;
    std::vector<const ItemInfo*> ItemsOf(int window) const;
    // One line a window, for a failure's message.
    std::string Summary() const;
};

// Parses a probe's answer; nullopt when it is not a whole answer.
std::optional<Scene> ParseScene(const std::string& text);

// Asks the probe at the socket; nullopt when it does not answer within the time.
std::optional<std::string> AskProbe(const std::string& socket, const std::string& request, int timeoutMs);

} // namespace e2e
