// What a player meets on the table with the windows of a running game open, with a window manager
// (openbox) and without one: the stacking the X server shows and what the screen shows, never
// coordinates or waits for a time.
#include "Table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

using namespace e2e;

namespace {

std::string Managed(bool manager) {
    return manager ? "openbox" : "bare";
}

// Spice Harbour started from the command line (for the first seat): the dealt table and its tool
// bar.
void StartHarbour(Session& s) {
    s.Until([](const Scene& now) { return now.Named("crd(0)") && now.Window("Tools"); }, "the dealt table");
    s.AnswerDialogs(300);
}

// The place of the window in the X server's stacking (0: the bottom), -1 when it does not show.
int StackPlace(const std::vector<Shown>& stacking, const std::string& title) {
    for (std::size_t i = 0; i < stacking.size(); ++i)
        if (stacking[i].title == title) return static_cast<int>(i);
    return -1;
}

std::string Text(const std::vector<Shown>& stacking) {
    std::string out;
    for (const Shown& w : stacking)
        out += (out.empty() ? "" : ", ") + w.title;
    return out;
}

class TableWindows : public ::testing::TestWithParam<bool> {};

} // namespace

INSTANTIATE_TEST_SUITE_P(Screen, TableWindows, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return Managed(info.param); });

// The hand, the marker picker, the reports, the log and the dice window, opened from the table,
// stay above it when the player clicks the table: the stacking keeps each over the table, and
// the middle of each shows that window, not the table.
TEST_P(TableWindows, TheGamesWindowsStayAboveTheTableWhenItIsClicked) {
    Session s("table-windows-" + Managed(GetParam()), "Karvel", {"Spice Harbour.game"}, 1280, 800,
              GetParam());
    StartHarbour(s);
    const std::string table = TableWindow(s.Now())->title;
    const auto open = [&](const std::string& key, const std::string& title) {
        FocusTable(s);
        s.Input().Key(key);
        s.UntilWindow(title);
    };
    open("F9", "Hand");
    open("m", "Markers");
    open("F5", "Reports");
    FocusTable(s);
    s.ClickText("Tools", "Notes");
    s.UntilWindow("Game log");
    FocusTable(s);
    s.ClickText("Tools", "Dice");
    s.UntilWindow("Dice roller");
    const std::vector<std::string> windows = {"Hand",     "Markers",     "Reports",
                                              "Game log", "Dice roller", "Tools"};

    // The player goes back to the table: a click on its bare felt.
    FocusTable(s);
    s.Step("table-clicked");
    const std::vector<Shown> stacking = s.Input().Stacking();
    const int tablePlace = StackPlace(stacking, table);
    ASSERT_GE(tablePlace, 0) << Text(stacking);
    for (const std::string& title : windows) {
        const int place = StackPlace(stacking, title);
        EXPECT_GT(place, tablePlace) << title << " is below the table: " << Text(stacking);
        if (place < 0) continue;
        const Shown& w = stacking[static_cast<std::size_t>(place)];
        const std::string top = s.Input().TopAt(Point{w.x + w.w / 2, w.y + w.h / 2});
        EXPECT_NE(top, table) << "the table shows in the middle of " << title << ": " << Text(stacking);
    }
    s.Finish();
}

// Spice Harbour opened from the game list (logged in through the login window: a click into the
// ID box and the ID typed) and from the command line: the tool bar opens at the same place by the
// table on both roads, clear of every pile, card, seat area, marker and counter the table shows.
TEST_P(TableWindows, TheToolBarOpensClearOfTheTableAtOnePlaceOnBothRoads) {
    std::vector<std::pair<int, int>> places;
    for (const bool fromList : {true, false}) {
        const std::string road = fromList ? "list" : "command-line";
        SCOPED_TRACE(road);
        Session s("tool-bar-" + road + "-" + Managed(GetParam()), "Karvel",
                  fromList ? std::vector<std::string>{} : std::vector<std::string>{"Spice Harbour.game"},
                  1280, 800, GetParam());
        if (fromList) {
            StartFromList(s, "Spice Harbour");
            LogIn(s, "alice");
        }
        StartHarbour(s);
        // What the bar covers of the table's things; the bar may dock again once the window
        // manager has framed the table.
        std::pair<int, int> place;
        const auto covers = [&](const Scene& scene) {
            const WindowInfo* table = TableWindow(scene);
            const std::vector<Shown> stacking = s.Input().Stacking();
            const int tools = StackPlace(stacking, "Tools");
            const int below = table ? StackPlace(stacking, table->title) : -1;
            if (tools <= below || below < 0) return "the tool bar below the table: " + Text(stacking);
            const Shown& bar = stacking[static_cast<std::size_t>(tools)];
            const Shown& window = stacking[static_cast<std::size_t>(below)];
            place = {bar.x - window.x, bar.y - window.y};
            std::string covered;
            int items = 0;
            for (const WidgetInfo& w : scene.widgets) {
                bool item = false;
                for (const char* kind :
                     {"crd(", "DeckImg(", "DiscardImg(", "mrk(", "markerNum(", "PlayerArea("})
                    item |= w.name.rfind(kind, 0) == 0;
                // What of it the window shows.
                const int left = std::max(w.rect.x, table->inner.x), top = std::max(w.rect.y, table->inner.y);
                const int right = std::min(w.rect.x + w.rect.w, table->inner.x + table->inner.w);
                const int bottom = std::min(w.rect.y + w.rect.h, table->inner.y + table->inner.h);
                if (w.window != table->id || !item || right <= left || bottom <= top) continue;
                ++items;
                if (left < bar.x + bar.w && bar.x < right && top < bar.y + bar.h && bar.y < bottom)
                    covered += " " + w.name;
            }
            if (items < 10) return std::string("too few of the table's things to tell");
            return covered.empty() ? covered : "the tool bar covers" + covered;
        };
        std::string covered;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!(covered = covers(s.Now())).empty() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_EQ(covered, "");
        s.Step("tool-bar");
        places.push_back(place);
        s.Finish();
    }
    EXPECT_EQ(places[0], places[1]) << "the tool bar opens elsewhere by the table on the two roads";
}

namespace {

// The names of the table's widgets that start so.
std::vector<std::string> NamesLike(const Scene& scene, const std::string& prefix) {
    std::vector<std::string> names;
    const WindowInfo* table = TableWindow(scene);
    for (const WidgetInfo* w : scene.NamedLike(prefix))
        if (table && w->window == table->id) names.push_back(w->name);
    return names;
}

// The widget of the names in `now` that `before` did not have.
const WidgetInfo* NewOne(const Scene& now, const std::vector<std::string>& before,
                         const std::string& prefix) {
    for (const std::string& name : NamesLike(now, prefix))
        if (std::find(before.begin(), before.end(), name) == before.end()) return now.Named(name);
    return nullptr;
}

} // namespace

// A double click on a kind in the marker picker lays a marker where the player sees it: in the
// table window, with no window and nothing of the table over it.
TEST_P(TableWindows, AMarkerFromThePickerLandsWhereThePlayerSeesIt) {
    Session s("picked-marker-" + Managed(GetParam()), "Karvel", {"Spice Harbour.game"}, 1280, 800,
              GetParam());
    StartHarbour(s);
    FocusTable(s);
    const std::vector<std::string> before = NamesLike(s.Now(), "mrk(");
    PickFirstMarkerKind(s);
    const Scene scene =
        s.Until([&](const Scene& now) { return NewOne(now, before, "mrk(") != nullptr; }, "a new marker");
    s.Step("marker-placed");
    const WidgetInfo* marker = NewOne(scene, before, "mrk(");
    ASSERT_TRUE(marker->click.Valid()) << "the table's own things cover the new marker";
    EXPECT_EQ(s.Input().TopAt(marker->click), TableWindow(scene)->title)
        << "a window covers the new marker: " << Text(s.Input().Stacking());
    EXPECT_EQ(s.WidgetAt(marker->click), marker->name);
    s.Finish();
}

// A roll's quick result kept on the table as a counter, then another roll: the new result shows
// over the kept one.
TEST_P(TableWindows, TheNewestRollShowsAboveAKeptResult) {
    Session s("kept-roll-" + Managed(GetParam()), "Karvel", {"Spice Harbour.game"}, 1280, 800, GetParam());
    StartHarbour(s);
    FocusTable(s);
    const std::vector<std::string> before = NamesLike(s.Now(), "markerNum(");
    s.Input().Key("1");
    Scene scene =
        s.Until([](const Scene& now) { return now.Named("QuickMsg") != nullptr; }, "the roll's result");
    const std::string first = scene.Named("QuickMsg")->text;
    s.Input().Click(scene.Named("QuickMsg")->click, 3);
    scene = s.Until(
        [&](const Scene& now) {
            return !now.Named("QuickMsg") && NewOne(now, before, "markerNum(") != nullptr;
        },
        "the result kept as a counter");
    const Rect kept = NewOne(scene, before, "markerNum(")->rect;
    s.Input().Key("1");
    scene = s.Until(
        [&](const Scene& now) { return now.Named("QuickMsg") && now.Named("QuickMsg")->text != first; },
        "the second roll's result");
    s.Step("second-roll");
    // The middle of where the result and the kept counter overlap.
    const Rect result = scene.Named("QuickMsg")->rect;
    const int left = std::max(kept.x, result.x), top = std::max(kept.y, result.y);
    const int right = std::min(kept.x + kept.w, result.x + result.w);
    const int bottom = std::min(kept.y + kept.h, result.y + result.h);
    ASSERT_TRUE(right > left && bottom > top) << "the result shows away from the kept one";
    const Point both{(left + right) / 2, (top + bottom) / 2};
    EXPECT_EQ(s.WidgetAt(both), "QuickMsg") << "the kept result covers the new one";
    EXPECT_EQ(s.Input().TopAt(both), TableWindow(scene)->title);
    s.Finish();
}

// The keys of what a game lacks say so, in the program's message box: an OK button, no icon.
TEST(TableKeys, HelpAndReportsSayWhenTheGameHasNone) {
    Session s("no-help-no-reports", "Karvel", {"Parlour Cards.game"});
    s.Until([](const Scene& now) { return now.Named("crd(0)") != nullptr; }, "the dealt table");
    for (const auto& [key, text] : {std::pair<std::string, std::string>{"F2", "This game has no help"},
                                    std::pair<std::string, std::string>{"F5", "This game has no reports"}}) {
        FocusTable(s);
        s.Input().Key(key);
        const Scene scene = s.Until([](const Scene& now) { return now.Dialog() != nullptr; }, "a message");
        s.Step("message-" + key);
        const WindowInfo* box = scene.Dialog();
        EXPECT_NE(scene.WithText(box->id, text, "QLabel"), nullptr) << key;
        EXPECT_EQ(scene.Named("qt_msgboxex_icon_label"), nullptr) << "the message shows an icon";
        EXPECT_EQ(s.AnswerDialogs(400), std::vector<std::string>{text});
    }
    s.Finish();
}

// Alt+F4 closes the table as its close box does, and the game list comes back; there Alt+F4
// ends the program. Without a window manager the windows have no close box: the keys are the
// player's way out.
TEST_P(TableWindows, AltF4ClosesTheTableAndThenTheGameList) {
    Session s("close-keys-" + Managed(GetParam()), "Karvel", {}, 1280, 800, GetParam());
    StartFromList(s, "Spice Harbour");
    LogIn(s, "alice");
    StartHarbour(s);
    FocusTable(s);
    s.Input().Key("Alt_L+F4");
    Scene scene = s.Until(
        [](const Scene& now) {
            return !TableWindow(now) && now.Window(kGameList) && now.Window(kGameList)->Is("active");
        },
        "the table to close and the game list to come back");
    EXPECT_EQ(scene.Window("Tools"), nullptr) << "the tool bar outlived its table";
    s.Step("table-closed");
    s.Input().Key("Alt_L+F4");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (s.Alive() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(s.Alive()) << "the program goes on after its game list closed";
    s.CheckEnd();
}
