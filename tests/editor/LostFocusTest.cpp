// The window runtime's LostFocus, which the editor's count and name boxes answer: raised when the
// focus moves to another control of the program, with the chance to take the focus back, and
// never from a window that is going away. (Kept beside the editor's tests: in the platform's test
// program, where the image plugins are loaded, it moved the leak checker onto a known fault of its
// own at exit.)
#include "platform/Application.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Lists.h"
#include "platform/TestDriver.h"
#include "platform/TextBox.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace platform;
namespace drive = platform::testdriver;

namespace {

struct Window {
    Form form;
    TextBox first{form.Handle()};
    TextBox second{form.Handle()};
    ComboBox names{form.Handle(), 0};
    CommandButton button{form.Handle()};

    Window() {
        first.Move(120, 120, 2000, 315);
        second.Move(120, 600, 2000, 315);
        names.Move(120, 1080, 2000, 315);
        button.Move(120, 1560, 2000, 360);
        form.Resize(4000, 3000);
        form.Show();
        PumpEvents();
    }
};

} // namespace

TEST(LostFocus, MovingToAnotherControlRaisesItOnceForTheControlLeft) {
    Window w;
    std::vector<std::string> lost;
    w.first.OnLostFocus = [&] { lost.push_back("first"); };
    w.second.OnLostFocus = [&] { lost.push_back("second"); };
    w.names.OnLostFocus = [&] { lost.push_back("names"); };

    w.first.SetFocus();
    PumpEvents();
    EXPECT_TRUE(lost.empty()) << "taking the focus is not losing it";
    drive::TypeText(w.second, "x");
    PumpEvents();
    w.names.SetFocus();
    PumpEvents();
    // A click on a button takes the focus as the user's click does.
    drive::Click(w.button);
    PumpEvents();
    EXPECT_EQ(lost, (std::vector<std::string>{"first", "second", "names"}));
}

TEST(LostFocus, AHandlerThatTakesTheFocusBackKeepsIt) {
    Window w;
    int raised = 0;
    w.first.OnLostFocus = [&] {
        ++raised;
        w.first.SetFocus();
    };
    w.first.SetFocus();
    PumpEvents();
    w.second.SetFocus();
    PumpEvents();
    EXPECT_EQ(raised, 1);
    EXPECT_TRUE(w.first.HasFocus());
    EXPECT_FALSE(w.second.HasFocus());
}

TEST(LostFocus, AControlDestroyedWithTheFocusRaisesNothing) {
    Form form;
    form.Resize(4000, 3000);
    auto box = std::make_unique<TextBox>(form.Handle());
    TextBox other(form.Handle());
    box->Move(120, 120, 2000, 315);
    other.Move(120, 600, 2000, 315);
    form.Show();
    PumpEvents();
    bool raised = false;
    box->OnLostFocus = [&] { raised = true; };
    box->SetFocus();
    PumpEvents();
    ASSERT_TRUE(box->HasFocus());
    box.reset();
    PumpEvents();
    EXPECT_FALSE(raised);
}
