// Forms through the test driver: modal show, the close box, key preview, default and cancel
// buttons, key codes, geometry and menus.
#include "platform/Form.h"
#include "platform/Controls.h"
#include "platform/Keys.h"
#include "platform/TestDriver.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace platform;
namespace drive = platform::testdriver;

namespace {

// A small dialog: a name box, OK (default) and Cancel (cancel) buttons; the result is read
// back after the modal show, as the windows read a dialog's shared values.
struct NameDialog {
    Form form;
    TextBox name{form.Handle()};
    CommandButton ok{form.Handle()};
    CommandButton cancel{form.Handle()};
    std::string result = "<none>";

    NameDialog() {
        form.SetCaption("Name");
        form.Resize(4500, 3000);
        name.Move(150, 150, 3000, 330);
        ok.Move(150, 1500, 1200, 450);
        ok.SetCaption("OK");
        ok.SetDefault(true);
        cancel.Move(1500, 1500, 1200, 450);
        cancel.SetCaption("Cancel");
        cancel.SetCancel(true);
        ok.OnClick = [this] {
            result = name.Text();
            form.Hide();
        };
        cancel.OnClick = [this] {
            result = "<cancelled>";
            form.Unload();
        };
    }
};

} // namespace

TEST(Form, AModalFormReturnsAfterAScriptedClickWithItsResult) {
    NameDialog dialog;
    int loads = 0;
    dialog.form.OnLoad = [&] { ++loads; };
    drive::DialogScript script;
    script.AnswerModal([&](Form& shown) {
        EXPECT_EQ(&shown, &dialog.form);
        EXPECT_TRUE(shown.Visible());
        EXPECT_TRUE(drive::TypeText(dialog.name, "Alice"));
        EXPECT_TRUE(drive::Click(dialog.ok));
    });
    dialog.form.ShowModal();
    EXPECT_EQ(dialog.result, "Alice");
    EXPECT_FALSE(dialog.form.Visible());
    EXPECT_TRUE(dialog.form.Loaded()) << "Hide keeps the form loaded";
    EXPECT_EQ(loads, 1);
    EXPECT_TRUE(script.Problems().empty());
}

TEST(Form, AModalFormThatTheScriptLeavesOpenIsHiddenAndReported) {
    NameDialog dialog;
    drive::DialogScript script;
    dialog.form.ShowModal(); // no answer given: must not wait
    EXPECT_FALSE(dialog.form.Visible());
    ASSERT_EQ(script.Problems().size(), 1u);
    EXPECT_NE(script.Problems()[0].find("modal form \"Name\""), std::string::npos) << script.Problems()[0];
}

TEST(Form, DefaultAndCancelButtonsAnswerEnterAndEsc) {
    struct Case {
        int key;
        bool focusOnCancel;
        const char* result;
    } cases[] = {
        {keys::kReturn, false, "Bob"},         // Enter in the text box: the default button
        {keys::kEscape, false, "<cancelled>"}, // Esc: the cancel button
        {keys::kReturn, true, "<cancelled>"},  // Enter on a focused button clicks that button
        {keys::kEscape, true, "<cancelled>"},
    };
    for (const Case& c : cases) {
        NameDialog dialog;
        drive::DialogScript script;
        script.AnswerModal([&](Form& shown) {
            drive::TypeText(dialog.name, "Bob");
            if (c.focusOnCancel) dialog.cancel.SetFocus();
            drive::PressKey(shown, c.key);
        });
        dialog.form.ShowModal();
        EXPECT_EQ(dialog.result, c.result) << c.key << " " << c.focusOnCancel;
    }
}

TEST(Form, EnterInAMultiLineTextBoxIsALineBreakNotTheDefaultButton) {
    Form form;
    TextBox notes(form.Handle(), true);
    CommandButton ok(form.Handle());
    ok.SetDefault(true);
    int clicks = 0;
    ok.OnClick = [&] { ++clicks; };
    form.Show();
    drive::TypeText(notes, "a\rb");
    EXPECT_EQ(notes.Text(), "a\r\nb");
    EXPECT_EQ(clicks, 0);
    // A hidden or disabled default button does not answer.
    drive::TypeText(notes, "");
    ok.SetEnabled(false);
    TextBox line(form.Handle());
    drive::TypeText(line, "x\r");
    EXPECT_EQ(clicks, 0);
    ok.SetEnabled(true);
    drive::TypeText(line, "\r");
    EXPECT_EQ(clicks, 1);
}

TEST(Form, KeysGiveTheirVirtualCodesWithShiftMasks) {
    Form form;
    std::vector<std::pair<int, int>> down;
    form.OnKeyDown = [&](int code, int shift) { down.emplace_back(code, shift); };
    form.Show();
    const std::vector<std::pair<int, int>> keysSent = {
        {keys::kF1, 0},          {keys::kF12, keys::kCtrl}, {'1', 0},
        {keys::kNumpad0 + 1, 0}, {'0', keys::kShift},       {keys::kNumpad0 + 9, 0},
        {keys::kDelete, 0},      {keys::kLeft, 0},          {keys::kUp, 0},
        {keys::kRight, 0},       {keys::kDown, 0},          {keys::kReturn, 0},
        {keys::kEscape, 0},      {'A', keys::kCtrl},        {'Z', keys::kAlt | keys::kShift},
    };
    for (auto [code, shift] : keysSent)
        EXPECT_TRUE(drive::KeyDown(form, code, shift)) << code;
    EXPECT_EQ(down, keysSent);
    // The codes themselves, as the windows compare them.
    EXPECT_EQ(keys::kF1, 112);
    EXPECT_EQ(keys::kF12, 123);
    EXPECT_EQ(keys::kNumpad0 + 1, 97);
    EXPECT_NE(keys::kNumpad0 + 1, '1');
}

TEST(Form, KeyPreviewGivesTheFormTheKeyBeforeTheControl) {
    Form form;
    TextBox box(form.Handle());
    std::vector<std::string> order;
    form.OnKeyDown = [&](int, int) { order.push_back("form"); };
    box.OnKeyDown = [&](int, int) { order.push_back("box"); };
    form.OnKeyPress = [&](int& ascii) {
        if (ascii == 'x') ascii = 0; // swallowed
    };
    form.Show();
    drive::TypeText(box, "a");
    EXPECT_EQ(order, std::vector<std::string>{"box"}) << "without preview the focused control alone";
    order.clear();
    form.SetKeyPreview(true);
    drive::TypeText(box, "bxc");
    EXPECT_EQ(order, (std::vector<std::string>{"form", "box", "form", "box", "form", "box"}));
    EXPECT_EQ(box.Text(), "abc");
}

TEST(Form, TheCloseBoxAsksTheFormWhichMayRefuse) {
    Form form;
    bool refuse = true;
    std::vector<UnloadMode> modes;
    int unloads = 0;
    form.OnQueryUnload = [&](bool& cancel, UnloadMode mode) {
        modes.push_back(mode);
        cancel = refuse;
    };
    form.OnUnload = [&](bool&) { ++unloads; };
    form.Show();
    EXPECT_FALSE(drive::PressCloseBox(form));
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(form.Loaded());
    refuse = false;
    EXPECT_TRUE(drive::PressCloseBox(form));
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(unloads, 1);
    form.Show();
    EXPECT_TRUE(form.Unload());
    EXPECT_EQ(modes, (std::vector<UnloadMode>{UnloadMode::CloseBox, UnloadMode::CloseBox, UnloadMode::Code}));
}

TEST(Form, GeometryReadsBackInTwips) {
    Form form;
    form.Move(1500, 750, 6000, 4500);
    EXPECT_EQ(form.Left(), 1500);
    EXPECT_EQ(form.Top(), 750);
    EXPECT_EQ(form.Width(), 6000);
    EXPECT_EQ(form.Height(), 4500);
    form.Show();
    EXPECT_EQ(form.Height(), 4500) << "the outer size stays once the window is framed";
    const int bare = form.ScaleHeight();
    Menu file(form.Menus(), "&File");
    Menu open(file, "&Open");
    EXPECT_LT(form.ScaleHeight(), bare) << "a visible menu takes room";
    file.SetVisible(false);
    EXPECT_EQ(form.ScaleHeight(), bare) << "menus that are all hidden (pop-up menus) take none";
    form.SetState(WindowState::Maximised);
    EXPECT_EQ(form.State(), WindowState::Maximised);
    form.SetState(WindowState::Normal);
    EXPECT_EQ(form.State(), WindowState::Normal);
}

// A 1280 x 800 screen, its windows framed by a window manager: 4 pixels at the sides and the
// bottom, a title bar of 22.
struct Desktop {
    static constexpr TwipRect kArea{0, 0, 19200, 12000};
    drive::SimulatedDesktop desktop{kArea, 4, 22, 4, 4};
};

TEST(Form, AWindowOpensWhollyOnTheScreenAndCentredOverTheWindowThatOpenedIt) {
    Desktop d;
    Form table;
    table.Move(1500, 900, 12000, 7500);
    table.Show();
    table.Activate();
    Form dialog;
    dialog.Resize(4800, 4200);
    dialog.Show();
    EXPECT_EQ(dialog.Left(), 1500 + (12000 - 4800) / 2);
    EXPECT_EQ(dialog.Top(), 900 + (7500 - 4200) / 2);
    // Hidden and shown again, it stays where it was (the player may have moved it).
    dialog.Move(3000, 3000);
    dialog.Hide();
    dialog.Show();
    EXPECT_EQ(dialog.Left(), 3000);
    // An owned tool window is centred over its owner, even when another window is active.
    Form tools;
    tools.Resize(3000, 1500);
    tools.SetOwner(&table);
    dialog.Activate();
    tools.Show();
    EXPECT_EQ(tools.Left(), 1500 + (12000 - 3000) / 2);
    EXPECT_EQ(tools.Top(), 900 + (7500 - 1500) / 2);
}

TEST(Form, WithNoWindowActiveAWindowOpensInTheMiddleOfTheScreen) {
    Desktop d;
    Form alone;
    alone.Resize(6000, 3000);
    alone.Show();
    EXPECT_EQ(alone.Left(), (19200 - 6000) / 2);
    EXPECT_EQ(alone.Top(), (12000 - 3000) / 2);
}

TEST(Form, AWindowPlacedOffTheScreenOrLargerThanItOpensOnIt) {
    Desktop d;
    struct Case {
        const char* name;
        TwipRect asked, opened;
    };
    const std::vector<Case> cases = {
        {"past the right edge", {15000, 300, 6000, 4500}, {13200, 300, 6000, 4500}},
        {"above and left of the screen", {-3000, -600, 6000, 4500}, {0, 0, 6000, 4500}},
        {"wider and taller than the screen", {300, 300, 19800, 12300}, {0, 0, 19200, 12000}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Form form;
        form.Move(c.asked.left, c.asked.top, c.asked.width, c.asked.height);
        form.Show();
        EXPECT_EQ((TwipRect{form.Left(), form.Top(), form.Width(), form.Height()}), c.opened);
        EXPECT_EQ(form.ScaleWidth(), c.opened.width - 8 * 15) << "the frame lies inside the outer size";
    }
}

TEST(Form, ASizeSetBeforeTheWindowIsFramedIsItsOuterSize) {
    Desktop d;
    // Twice: the first window learns the frame as it is shown, the next one knows it beforehand.
    for (int round = 0; round < 2; ++round) {
        Form form;
        form.Move(1500, 1500, 9000, 6000);
        form.Show();
        EXPECT_EQ(form.Width(), 9000);
        EXPECT_EQ(form.Height(), 6000);
        EXPECT_EQ(form.ScaleWidth(), 9000 - 8 * 15);
        EXPECT_EQ(form.ScaleHeight(), 6000 - 26 * 15);
        EXPECT_EQ(form.ClientArea(),
                  (TwipRect{1500 + 4 * 15, 1500 + 22 * 15, 9000 - 8 * 15, 6000 - 26 * 15}));
        // Its own size read back and set again changes nothing.
        form.Resize(form.Width(), form.Height());
        EXPECT_EQ(form.Height(), 6000);
    }
}

// A window fitted to its content ends a margin beyond its furthest shown control, framed by a
// window manager or standing bare: the frame adds around it, never inside. A hidden control
// takes no room.
TEST(Form, AWindowFittedToItsContentEndsAMarginBeyondItsShownControls) {
    for (const bool framed : {false, true}) {
        std::optional<drive::SimulatedDesktop> desktop;
        if (framed) desktop.emplace(Desktop::kArea, 4, 22, 4, 4);
        Form form;
        CommandButton near{form.Handle()}, far{form.Handle()}, hidden{form.Handle()};
        near.Move(120, 120, 1200, 450);
        far.Move(3000, 2400, 1200, 450);
        hidden.Move(9000, 9000, 1200, 450);
        hidden.SetVisible(false);
        form.FitToContent(120);
        form.Show();
        EXPECT_EQ(form.ScaleWidth(), 4320) << framed;
        EXPECT_EQ(form.ScaleHeight(), 2970) << framed;
    }
}

// Alt+F4 closes a window as its close box does, whichever control has the keys; F4 alone or with
// another modifier does not.
TEST(Form, AltF4ClosesTheWindowAsItsCloseBoxDoes) {
    Form form;
    TextBox box{form.Handle()};
    box.Move(120, 120, 2400, 330);
    std::vector<UnloadMode> modes;
    form.OnQueryUnload = [&](bool&, UnloadMode mode) { modes.push_back(mode); };
    form.Show();
    box.SetFocus();
    for (const int shift : {0, keys::kShift, keys::kCtrl, keys::kAlt | keys::kCtrl})
        drive::PressKey(form, keys::kF4, shift);
    EXPECT_TRUE(form.Visible());
    EXPECT_TRUE(modes.empty());
    drive::PressKey(form, keys::kF4, keys::kAlt);
    EXPECT_FALSE(form.Visible());
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ(modes, std::vector<UnloadMode>{UnloadMode::CloseBox});
}

TEST(Form, AnOwnedToolWindowFollowsItsOwnerAndOutlivesIt) {
    auto table = std::make_unique<Form>();
    Form tools;
    tools.SetCaption("Tools");
    table->Show();
    tools.Show();
    tools.SetOwner(table.get());
    EXPECT_TRUE(tools.Visible());
    table.reset(); // the owner goes first: the tool window stays usable
    EXPECT_EQ(tools.Caption(), "Tools");
    tools.Hide();
    EXPECT_FALSE(tools.Visible());
}

TEST(Form, TheActiveFormIsTheOneActivatedLast) {
    Form a, b;
    a.Show();
    b.Show();
    a.Activate();
    EXPECT_EQ(ActiveForm(), &a);
    b.Activate();
    EXPECT_EQ(ActiveForm(), &b);
    EXPECT_TRUE(b.IsActive());
}
