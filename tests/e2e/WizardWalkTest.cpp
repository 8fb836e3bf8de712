// wizard as an author meets it, through real input: a bundled game opened from the file chooser,
// every step walked with Forward to the end, and Save. Nothing was edited, so the file must come
// out as it went in.
#include "Session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>

using namespace e2e;

namespace {

const char kWizard[] = "Karvel Wizard - ver 1.0.1";

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The title of the step's frame: what the author reads as the step's name.
std::string StepTitle(const Scene& scene) {
    const WindowInfo* w = scene.Window(kWizard);
    if (!w) return "";
    std::string title;
    for (const WidgetInfo* box : scene.In(w->id, "QGroupBox"))
        if (!box->text.empty() && box->rect.h > 100) title = box->text;
    return title;
}

std::string FileName(std::string text) {
    for (char& c : text)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '-';
    return text;
}

} // namespace

TEST(WizardWalk, EveryStepOfABundledGameAndSaveLeaveItsFileAsItWas) {
    Session s("wizard-walk", "wizard");
    const std::string file = s.Home() + "/Spice Harbour.game";
    const std::string original = Bytes(file);
    ASSERT_FALSE(original.empty());
    s.UntilWindow(kWizard);
    s.Step("start");

    s.ClickText(kWizard, "Load");
    // The chooser fills its list while it opens: the name is typed, as an author may.
    Scene scene =
        s.Until([](const Scene& now) { return now.Named("fileNameEdit") != nullptr; }, "the file chooser");
    s.ClickInto(*scene.Named("fileNameEdit"));
    s.Input().Type("Spice Harbour.game");
    s.Input().Key("Return");
    s.Until([](const Scene& now) { return !now.Dialog() && now.Window(kWizard); }, "the chooser to close");
    s.AnswerDialogs(500);
    s.Step("opened");

    // Forward until it can go no further, answering what each step asks.
    int steps = 0;
    int visited = 0;
    bool propertiesClosed = false;
    for (; steps < 60; ++steps) {
        scene = s.Now();
        const WindowInfo* w = scene.Window(kWizard);
        ASSERT_NE(w, nullptr);
        const WidgetInfo* forward = scene.WithText(w->id, "Forward >>", "QPushButton");
        if (!forward || !forward->Enabled()) break;
        const std::string before = StepTitle(scene);
        // A step that lists players, decks or reports leads to each one's own step by a button:
        // the first of them is visited, and Back returns.
        for (const WidgetInfo* b : scene.In(w->id, "QPushButton")) {
            const bool leads =
                b->Enabled() && b->click.Valid() &&
                (b->text.find("data") != std::string::npos || b->text.find("eck #") != std::string::npos ||
                 b->text.find("eport #") != std::string::npos);
            if (!leads) continue;
            const std::string text = b->text;
            s.Input().Click(b->click);
            s.AnswerDialogs(500);
            s.Until([&](const Scene& now) { return StepTitle(now) != before || now.Dialog(); },
                    "the step of \"" + text + "\"");
            s.Step("step-" + std::to_string(steps + 1) + "-" + FileName(text));
            ++visited;
            // The deck's property window has no close box without a window manager: Esc closes
            // it, and closed unchanged it writes nothing.
            if (!propertiesClosed && s.Now().WithText(0, "Advanced Properties", "QPushButton")) {
                s.ClickText(kWizard, "Advanced Properties");
                s.UntilWindow("Deck Properties");
                s.Step("deck-properties");
                s.Input().Key("Escape");
                s.UntilGone("Deck Properties");
                propertiesClosed = true;
            }
            s.ClickText(kWizard, "<< Back");
            s.AnswerDialogs(500);
            s.Until([&](const Scene& now) { return StepTitle(now) == before; }, "Back to \"" + before + "\"");
            break;
        }
        scene = s.Now();
        w = scene.Window(kWizard);
        forward = scene.WithText(w->id, "Forward >>", "QPushButton");
        s.Input().Click(forward->click);
        s.AnswerDialogs(500);
        scene = s.Now();
        s.Step("step-" + std::to_string(steps + 1) + "-" + FileName(StepTitle(scene)));
        // The last step keeps Forward enabled but stays where it is.
        if (StepTitle(scene) == before && before.find("eport") != std::string::npos) break;
    }
    EXPECT_GE(steps, 3) << "the walk stopped early";
    EXPECT_GE(visited, 3) << "the players', decks' and reports' own steps were not all reached";
    EXPECT_TRUE(propertiesClosed) << "no deck's step was reached";

    s.ClickText(kWizard, "Save");
    s.AnswerDialogs(800);
    s.Step("saved");
    EXPECT_EQ(Bytes(file), original) << "a walk without an edit changed the game file";
    s.Finish();
}

namespace {

// The rows of a list of the window of the class ("QListWidget", "QListView"): the lists stand in
// columns, `column` from the left (0 the leftmost), `nth` from the top within it.
std::vector<const RowInfo*> RowsOfList(const Scene& scene, int window, const std::string& cls, int column,
                                       int nth = 0) {
    const std::vector<const WidgetInfo*> lists = scene.In(window, cls);
    std::vector<int> lefts;
    for (const WidgetInfo* list : lists)
        lefts.push_back(list->rect.x);
    std::sort(lefts.begin(), lefts.end());
    lefts.erase(std::unique(lefts.begin(), lefts.end()), lefts.end());
    if (column >= static_cast<int>(lefts.size())) return {};
    std::vector<const WidgetInfo*> inColumn;
    for (const WidgetInfo* list : lists)
        if (list->rect.x == lefts[static_cast<std::size_t>(column)]) inColumn.push_back(list);
    std::sort(inColumn.begin(), inColumn.end(),
              [](const WidgetInfo* a, const WidgetInfo* b) { return a->rect.y < b->rect.y; });
    if (nth >= static_cast<int>(inColumn.size())) return {};
    const Rect area = inColumn[static_cast<std::size_t>(nth)]->rect;
    std::vector<const RowInfo*> rows;
    for (const RowInfo* row : scene.RowsIn(window))
        if (area.Contains(row->click)) rows.push_back(row);
    return rows;
}

} // namespace

// With a window manager, which raises a window that is clicked: the card detail window stays
// above the editor while the author works in the editor, a click chooses one picture and "->"
// takes that one, and the deck's property window closes with Esc.
TEST(WizardWalk, WithAWindowManagerADecksWindowsStayAboveTheEditorAndAClickChoosesOnePicture) {
    Session s("wizard-deck-windows", "wizard", {"Parlour Cards", "4"}, 1280, 800, true);
    Scene scene =
        s.Until([](const Scene& now) { return StepTitle(now) == "Common Deck #1"; }, "the first deck");
    s.Step("deck");
    const int editor = scene.Window(kWizard)->id;
    const std::vector<const RowInfo*> cards = RowsOfList(scene, editor, "QListView", 0);
    ASSERT_GE(cards.size(), 2u);
    s.Input().DoubleClick(cards[1]->click);
    scene = s.UntilWindow("Card Detail");
    const WindowInfo detail = *scene.Window("Card Detail");
    EXPECT_EQ(s.WindowAt(detail.inner.Centre()), detail.id);

    // The author clicks the editor beside the detail window: the editor comes forward, the
    // detail window stays above it.
    std::vector<const RowInfo*> files = RowsOfList(scene, editor, "QListWidget", 0);
    ASSERT_GE(files.size(), 3u);
    const RowInfo* beside = nullptr;
    for (const RowInfo* row : files)
        if (!detail.frame.Contains(row->click) && !beside) beside = row;
    ASSERT_NE(beside, nullptr);
    s.Input().Click(beside->click);
    s.Until([&](const Scene& now) { return now.Window(kWizard) && now.Window(kWizard)->Is("active"); },
            "the editor to be active");
    s.Step("editor-clicked");
    EXPECT_EQ(s.WindowAt(detail.inner.Centre()), detail.id) << "the card detail fell behind the editor";
    s.Input().Click(detail.inner.Centre());
    s.Until(
        [](const Scene& now) { return now.Window("Card Detail") && now.Window("Card Detail")->Is("active"); },
        "the card detail to be active");
    s.Input().Key("Escape");
    s.UntilGone("Card Detail");

    // One click chooses one picture; "->" of the back takes it.
    scene = s.Now();
    files = RowsOfList(scene, editor, "QListWidget", 0);
    const std::string chosen = files[2]->text;
    s.Input().Click(files[0]->click);
    s.Input().Click(files[2]->click);
    scene = s.Until(
        [&](const Scene& now) {
            const auto rows = RowsOfList(now, editor, "QListWidget", 0);
            return rows.size() > 2 && rows[2]->selected;
        },
        "the third picture chosen");
    const std::vector<const RowInfo*> chosenRows = RowsOfList(scene, editor, "QListWidget", 0);
    EXPECT_FALSE(chosenRows[0]->selected) << "a click added to the selection";
    // The back's "->" is the uppermost of the arrows at the right.
    const WidgetInfo* toBack = nullptr;
    for (const WidgetInfo* b : scene.In(editor, "QPushButton"))
        if (b->text == "->" && (!toBack || b->rect.x > toBack->rect.x ||
                                (b->rect.x == toBack->rect.x && b->rect.y < toBack->rect.y)))
            toBack = b;
    ASSERT_NE(toBack, nullptr);
    s.Input().Click(toBack->click);
    scene = s.Until(
        [&](const Scene& now) {
            const auto back = RowsOfList(now, editor, "QListWidget", 1);
            return !back.empty() && back[0]->text == chosen;
        },
        "\"" + chosen + "\" as the back");
    s.Step("back-chosen");

    s.ClickText(kWizard, "Advanced Properties");
    s.UntilWindow("Deck Properties");
    s.Input().Key("Escape");
    s.UntilGone("Deck Properties");
    s.Step("properties-closed");
    s.Finish();
}
