// A player's first game, through real input from the splash to a saved game loaded again: the
// start windows, the dealt table, a draw, a drag, a rubber band, a marker from the picker, a roll,
// the log, a save, the table closed and the save loaded, which must show the table as it was.
#include "StartRoad.h"
#include "Table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

using namespace e2e;

namespace {

// Where the table's cards and markers lie, counted from the table surface's corner (the window
// may open elsewhere), by card number and by marker.
std::map<std::string, std::vector<std::string>> Layout(const Scene& scene) {
    std::map<std::string, std::vector<std::string>> layout;
    const WindowInfo* table = TableWindow(scene);
    const WidgetInfo* surface = scene.Named("BasePict");
    if (!table || !surface) return layout;
    for (const WidgetInfo& w : scene.widgets) {
        if (w.window != table->id) continue;
        const std::string at = std::to_string(w.rect.x - surface->rect.x) + "," +
                               std::to_string(w.rect.y - surface->rect.y) + " " + std::to_string(w.rect.w) +
                               "x" + std::to_string(w.rect.h);
        if (w.name.rfind("crd(", 0) == 0 && !w.tag.empty())
            layout["card " + w.tag].push_back(at);
        else if (w.name.rfind("mrk(", 0) == 0 || w.name.rfind("markerNum(", 0) == 0)
            layout["marker"].push_back(at + " " + w.text);
    }
    for (auto& [key, places] : layout)
        std::sort(places.begin(), places.end());
    return layout;
}

std::string Text(const std::map<std::string, std::vector<std::string>>& layout) {
    std::string out;
    for (const auto& [key, places] : layout) {
        out += key + ":";
        for (const std::string& p : places)
            out += " " + p;
        out += "\n";
    }
    return out;
}

const WidgetInfo* HandLabel(const Scene& scene) {
    for (const WidgetInfo& w : scene.widgets)
        if (w.cls == "QLabel" && w.text.rfind("Red Captain (", 0) == 0) return &w;
    return nullptr;
}

// Logs in to the first seat with the ID and waits for the table.
void LogInToTable(Session& s, const std::string& id) {
    LogIn(s, id);
    s.Until([](const Scene& now) { return TableWindow(now) != nullptr; }, "the table");
}

} // namespace

TEST(Walk, APlayersFirstGameFromTheSplashToALoadedSave) {
    Session s("walk", "Karvel");
    Scene scene = OpenGameList(s);
    const auto row = RowStarting;
    scene = s.Until([&](const Scene& now) { return row(now, "Spice Harbour") != nullptr; },
                    "Spice Harbour listed");
    s.Input().Click(row(scene, "Spice Harbour")->click);
    scene = s.Until(
        [&](const Scene& now) {
            for (const WidgetInfo& w : now.widgets)
                if (w.cls == "QPlainTextEdit" && w.text.find("captains") != std::string::npos) return true;
            return false;
        },
        "the game's description");
    s.Step("game-list");
    s.Input().Click(ButtonBeside(scene, kGameList, "Start the select game"));
    LogInToTable(s, "alice");
    scene =
        s.Until([](const Scene& now) { return now.Named("crd(0)") && HandLabel(now); }, "the dealt table");
    s.Step("dealt");
    // The tool bar opens beside the table without taking the keys from it.
    s.Until([](const Scene& now) { return TableWindow(now) && TableWindow(now)->Is("active"); },
            "the dealt table to be the active window");
    FocusTable(s);

    // Hovering: the card's balloon comes after the tool tip's delay, the information panel shows
    // the card under the mouse, and both follow the mouse to the next card; the balloon goes over
    // the bare table.
    auto panelText = [](const Scene& now) {
        std::string text;
        for (const WidgetInfo& w : now.widgets)
            if (w.cls == "QLabel" && w.rect.x > 1000 && w.text.size() > 20) text = w.text;
        return text;
    };
    auto hover = [&](const std::string& name) {
        const Scene now = s.Now();
        const Point at = now.Named(name)->click;
        s.Input().MoveTo(Point{at.x - 3, at.y - 3});
        s.Input().MoveTo(at);
    };
    hover("crd(0)");
    scene = s.Until([](const Scene& now) { return now.OfKind("tip") != nullptr; }, "the card's balloon");
    const std::string first = panelText(scene);
    EXPECT_FALSE(first.empty()) << "the information panel shows nothing for the hovered card";
    s.Step("balloon");
    hover("crd(1)");
    s.Until([&](const Scene& now) { return now.OfKind("tip") && panelText(now) != first; },
            "the balloon and the panel to follow the mouse to the next card");
    s.Input().MoveTo(OpenSpot(s, s.Now(), 60));
    s.Until([](const Scene& now) { return now.OfKind("tip") == nullptr; },
            "the balloon to go over the bare table");

    // A draw: a double click on the voyage deck puts a card into the hand.
    const std::string handBefore = HandLabel(scene)->text;
    s.Input().DoubleClick(s.Now().Named("DeckImg(0)")->click);
    s.Until([&](const Scene& now) { return HandLabel(now) && HandLabel(now)->text != handBefore; },
            "the drawn card in the hand");
    s.AnswerDialogs(300);
    s.Step("drawn");
    // The draw shows the hand window; it is put away to reach the table below it.
    if (s.Input().Close("Hand")) s.UntilGone("Hand");

    // A drag: a port card carried to open water.
    scene = s.Now();
    const WidgetInfo* port = scene.Named("crd(0)");
    const Rect was = port->rect;
    const Point to = OpenSpot(s, scene, 90);
    s.Input().Drag(port->click, to);
    scene =
        s.Until([&](const Scene& now) { return now.Named("crd(0)") && now.Named("crd(0)")->rect.x != was.x; },
                "the dragged card to move");
    s.Step("dragged");

    // A rubber band around the card selects it: the selection halo changes its picture.
    const WidgetInfo* moved = scene.Named("crd(0)");
    const long long look = moved->look;
    const Rect r = moved->rect;
    s.Input().Drag(Point{r.x - 15, r.y - 15}, Point{r.x + r.w + 15, r.y + r.h + 15});
    s.Until([&](const Scene& now) { return now.Named("crd(0)") && now.Named("crd(0)")->look != look; },
            "the card selected by the rubber band");
    s.Step("rubber-band");
    s.Input().Key("Escape");

    // A marker from the picker: M opens it, a double click on a kind lays one on the table.
    FocusTable(s);
    const std::size_t markers = s.Now().NamedLike("mrk(").size();
    PickFirstMarkerKind(s);
    s.Until([&](const Scene& now) { return now.NamedLike("mrk(").size() > markers; },
            "a marker on the table");
    s.Step("marker-placed");
    s.Input().Close("Markers");
    s.UntilGone("Markers");

    // A roll: the digit 1 rolls the first die and shows its result.
    FocusTable(s);
    s.Input().Key("1");
    s.Until([](const Scene& now) { return now.Named("QuickMsg") != nullptr; }, "the roll's result");
    s.Step("rolled");

    // The log, from the tool bar's Notes.
    s.ClickText("Tools", "Notes");
    s.UntilWindow("Game log");
    s.Step("log");
    s.Input().Close("Game log");
    s.UntilGone("Game log");

    // Save under a name of our own.
    SaveGameAs(s, "walk");
    s.Step("saved");
    ASSERT_TRUE(std::filesystem::exists(s.Home() + "/save/walk.save"));
    const auto before = Layout(s.Now());

    // Closing the table brings the game list back; its saved games hold ours.
    s.Input().Close(TableWindow(s.Now())->title);
    s.AnswerDialogs(400, "No");
    scene = s.UntilWindow(kGameList);
    s.Input().Click(ButtonBeside(scene, kGameList, "Display Saved Games"));
    scene = s.Until([&](const Scene& now) { return row(now, "walk (Spice Harbour)") != nullptr; },
                    "the save listed");
    s.Input().Click(row(scene, "walk (Spice Harbour)")->click);
    s.Step("saved-games");
    s.Input().Click(ButtonBeside(s.Now(), kGameList, "Load the select game"));
    LogInToTable(s, "alice");
    const Scene loaded =
        s.Until([](const Scene& now) { return now.Named("crd(0)") && HandLabel(now); }, "the loaded table");
    s.Step("loaded");
    EXPECT_EQ(Text(Layout(loaded)), Text(before)) << "the loaded table differs from the saved one";

    // The hand window: a card moved to the table follows the mouse until a click lays it.
    FocusTable(s);
    s.Input().Key("F9");
    scene = s.UntilWindow("Hand");
    const WindowInfo* hand = scene.Window("Hand");
    const WidgetInfo* card = nullptr;
    for (const WidgetInfo* w : scene.NamedLike("crd("))
        if (w->window == hand->id && w->click.Valid()) card = w;
    ASSERT_NE(card, nullptr);
    const std::string tag = card->tag;
    s.OpenMenuAt(card->click);
    s.Choose("Move to desktop");
    const Point spot = OpenSpot(s, s.Now(), 90);
    s.Input().MoveTo(Point{spot.x - 20, spot.y - 20});
    s.Input().Click(spot);
    s.Until(
        [&](const Scene& now) {
            const WindowInfo* t = TableWindow(now);
            for (const WidgetInfo* w : now.NamedLike("crd("))
                if (t && w->window == t->id && w->tag == tag) return true;
            return false;
        },
        "the hand's card on the table");
    s.Step("moved-to-desktop");
    s.Finish();
}
