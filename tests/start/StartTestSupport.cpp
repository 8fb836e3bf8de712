#include "StartTestSupport.h"

#include "platform/TestDriver.h"

namespace starttest {

namespace drive = platform::testdriver;

bool Press(controls::cpvButton& button) {
    const platform::ControlSurface& s = button.Surface();
    const int x = s.Width() / 2;
    const int y = s.Height() / 2;
    return drive::MouseDown(s, 1, 0, x, y) && drive::MouseUp(s, 1, 0, x, y);
}

std::vector<std::string> Items(const platform::ListBox& list) {
    std::vector<std::string> items;
    for (int n = 0; n < list.ListCount(); ++n)
        items.push_back(list.List(n));
    return items;
}

std::vector<std::string> Items(const platform::ComboBox& box) {
    std::vector<std::string> items;
    for (int n = 0; n < box.ListCount(); ++n)
        items.push_back(box.List(n));
    return items;
}

int IndexOf(const platform::ListBox& list, const std::string& item) {
    for (int n = 0; n < list.ListCount(); ++n)
        if (list.List(n) == item) return n;
    return -1;
}

} // namespace starttest
