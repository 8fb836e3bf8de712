#include "StartRoad.h"

#include "Table.h"

namespace e2e {

Point ButtonBeside(const Scene& scene, const std::string& window, const std::string& caption) {
    const WindowInfo* w = scene.Window(window);
    if (!w) return Point{};
    const WidgetInfo* label = scene.WithText(w->id, caption, "QLabel");
    if (!label) return Point{};
    for (const WidgetInfo* b : scene.In(w->id, "Surface"))
        if (b->rect.x + b->rect.w <= label->rect.x && b->rect.y <= label->rect.Centre().y &&
            b->rect.y + b->rect.h >= label->rect.Centre().y)
            return b->click;
    return Point{};
}

const RowInfo* RowStarting(const Scene& scene, const std::string& text) {
    for (const RowInfo& r : scene.rows)
        if (r.text.rfind(text, 0) == 0) return &r;
    return nullptr;
}

Scene OpenGameList(Session& s) {
    // The splash goes by itself after a moment, or at a click.
    Scene scene = s.Until([](const Scene& now) { return !now.windows.empty(); }, "the first window");
    if (!scene.Window("Game Type")) {
        s.Step("splash");
        s.Input().Click(scene.windows.front().inner.Centre());
    }
    scene = s.UntilWindow("Game Type");
    s.Step("game-type");
    s.Input().Click(ButtonBeside(scene, "Game Type", "Start a new PBEM game (or a solo game)"));
    return s.UntilWindow(kGameList);
}

void LogIn(Session& s, const std::string& id) {
    Scene login = s.UntilWindow("Login");
    s.Step("login");
    const WidgetInfo* box = nullptr;
    for (const WidgetInfo* e : login.In(login.Window("Login")->id, "QLineEdit"))
        box = e;
    if (!box) throw Failure("the login window has no ID box");
    // As a player does: a click into the box, then the ID typed, which must replace the default.
    s.ClickInto(*box);
    s.Input().Type(id);
    s.Until(
        [&](const Scene& now) {
            const WindowInfo* l = now.Window("Login");
            if (!l) return false;
            for (const WidgetInfo* e : now.In(l->id, "QLineEdit"))
                if (e->text == id) return true;
            return false;
        },
        "the ID box to read \"" + id + "\" (it kept the default when the click came before the typing)");
    s.ClickText("Login", "Login");
}

} // namespace e2e
