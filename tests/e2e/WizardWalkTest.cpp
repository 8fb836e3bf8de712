// wizard as an author meets it, through real input: a bundled game opened from the file chooser,
// every step walked with Forward to the end, and Save. Nothing was edited, so the file must come
// out as it went in.
#include "Session.h"

#include <gtest/gtest.h>

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
    s.Input().Click(scene.Named("fileNameEdit")->click);
    s.Input().Type("Spice Harbour.game");
    s.Input().Key("Return");
    s.Until([](const Scene& now) { return !now.Dialog() && now.Window(kWizard); }, "the chooser to close");
    s.AnswerDialogs(500);
    s.Step("opened");

    // Forward until it can go no further, answering what each step asks.
    int steps = 0;
    int visited = 0;
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

    s.ClickText(kWizard, "Save");
    s.AnswerDialogs(800);
    s.Step("saved");
    EXPECT_EQ(Bytes(file), original) << "a walk without an edit changed the game file";
    s.Finish();
}
