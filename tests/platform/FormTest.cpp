// Forms through the test driver: modal show, the close box, key preview, default and cancel
// buttons, key codes, geometry and menus.
#include "platform/Form.h"
#include "platform/Controls.h"
#include "platform/Keys.h"
#include "platform/TestDriver.h"

#include <gtest/gtest.h>

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
    EXPECT_EQ(form.ScaleHeight(), 4500) << "no menu bar while no menu is visible";
    Menu file(form.Menus(), "&File");
    Menu open(file, "&Open");
    form.Show();
    EXPECT_LT(form.ScaleHeight(), 4500) << "a visible menu takes room";
    file.SetVisible(false);
    EXPECT_EQ(form.ScaleHeight(), 4500) << "menus that are all hidden (pop-up menus) take none";
    form.SetState(WindowState::Maximised);
    EXPECT_EQ(form.State(), WindowState::Maximised);
    form.SetState(WindowState::Normal);
    EXPECT_EQ(form.State(), WindowState::Normal);
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
