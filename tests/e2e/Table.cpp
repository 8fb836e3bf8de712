#include "Table.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace e2e {

const WindowInfo* TableWindow(const Scene& scene) {
    return scene.WindowStarting("Karvel Engine");
}

void StartFromList(Session& s, const std::string& game) {
    OpenGameList(s);
    const auto row = [&](const Scene& now) -> const RowInfo* {
        for (const RowInfo& r : now.rows)
            if (r.text.rfind(game, 0) == 0) return &r;
        return nullptr;
    };
    const Scene scene =
        s.Until([&](const Scene& now) { return now.Window(kGameList) && row(now); }, game + " listed");
    s.Input().Click(row(scene)->click);
    s.Until([&](const Scene& now) { return row(now) && row(now)->selected; }, game + " chosen");
    s.Input().Click(ButtonBeside(s.Now(), kGameList, "Start the select game"));
}

Point OpenSpot(Session& s, const Scene& scene, int margin) {
    const WidgetInfo* table = scene.Named("BasePict");
    const WindowInfo* window = TableWindow(scene);
    if (!table || !window) return Point{};
    const int right =
        std::min({table->rect.x + table->rect.w, window->inner.x + window->inner.w, s.Input().Width()});
    const int bottom =
        std::min({table->rect.y + table->rect.h, window->inner.y + window->inner.h, s.Input().Height()});
    auto overlaps = [&](const Rect& r, Point p) {
        return p.x + margin >= r.x && p.x - margin < r.x + r.w && p.y + margin >= r.y &&
               p.y - margin < r.y + r.h;
    };
    for (int y = std::max(table->rect.y, window->inner.y) + margin + 10; y < bottom - margin; y += 23)
        for (int x = std::max(table->rect.x, window->inner.x) + margin + 10; x < right - margin; x += 29) {
            const Point p{x, y};
            bool taken = false;
            // Controls as wide as the felt or the window (the seats' areas drawn on it) do not count.
            for (const WidgetInfo& w : scene.widgets)
                taken |= w.window == window->id && w.name != "BasePict" && w.rect.w < table->rect.w &&
                         w.rect.w < window->inner.w && overlaps(w.rect, p);
            for (const WindowInfo& w : scene.windows)
                taken |= w.id != window->id && w.kind != "tip" && overlaps(w.frame, p);
            if (!taken) return p;
        }
    return Point{};
}

bool Reachable(Session& s, const Scene& scene, const WidgetInfo& widget) {
    const Point p = widget.click;
    if (!p.Valid() || p.x >= s.Input().Width() || p.y >= s.Input().Height()) return false;
    const WindowInfo* table = TableWindow(scene);
    for (const WindowInfo& w : scene.windows)
        if (w.id != widget.window && w.kind != "tip" && (!table || w.id != table->id) && w.frame.Contains(p))
            return false;
    return true;
}

bool InAnyArea(const Scene& scene, Point p) {
    for (const WidgetInfo* area : scene.NamedLike("PlayerArea("))
        if (area->rect.Contains(p)) return true;
    return false;
}

bool TryFocusTable(Session& s) {
    s.Input().Click(OpenSpot(s, s.Now()));
    const Scene now = s.Until(
        [](const Scene& now) { return now.Dialog() || (TableWindow(now) && TableWindow(now)->Is("active")); },
        "the table window (or a message) to be active");
    return !now.Dialog();
}

void FocusTable(Session& s) {
    if (!TryFocusTable(s)) throw Failure("a message showed instead of the table taking the keys");
}

void PickFirstMarkerKind(Session& s) {
    FocusTable(s);
    s.Input().Key("m");
    const Scene scene = s.UntilWindow("Markers");
    s.Step("marker-picker");
    const WindowInfo* picker = scene.Window("Markers");
    const WidgetInfo* items = nullptr;
    for (const WidgetInfo* w : scene.In(picker->id, "Surface"))
        if (w->rect.h > 100 && w->rect.w < picker->inner.w - 4) items = w;
    if (!items) throw Failure("the marker picker shows no items");
    s.Input().DoubleClick(Point{items->rect.Centre().x, items->rect.y + 25});
}

void SelectLastTwo(Session& s, const std::vector<Point>& cards) {
    if (cards.size() < 2) return;
    FocusTable(s);
    s.Input().Key("Escape");
    s.Input().Hold("Control_L", true);
    s.Input().Click(cards[cards.size() - 1]);
    s.Input().Click(cards[cards.size() - 2]);
    s.Input().Hold("Control_L", false);
}

void SaveGameAs(Session& s, const std::string& name) {
    s.ClickText("Tools", "Save");
    const Scene scene = s.UntilWindow("Save game");
    const WidgetInfo* box = nullptr;
    for (const WidgetInfo* e : scene.In(scene.Window("Save game")->id, "QLineEdit"))
        box = e;
    if (!box) throw Failure("the save dialog has no box for the name");
    s.ClickInto(*box);
    s.Input().Key("Control_L+a");
    s.Input().Type(name);
    s.ClickText("Save game", "save");
    s.UntilGone("Save game");
    s.AnswerDialogs(400);
}

} // namespace e2e
