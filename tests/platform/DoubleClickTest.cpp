// Only the left button double-clicks. A second quick press of another button arrives from the
// window system as a double click; it must reach the control as the press it is, or a player who
// dismisses a card's menu and right-clicks again at once gets nothing.
#include "platform/ControlSurface.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/NativeWidget.h"
#include "platform/QtRuntime.h"

#include <QApplication>
#include <QMouseEvent>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace platform;

namespace {

void SecondPress(QWidget* widget, Qt::MouseButton button) {
    QMouseEvent press(QEvent::MouseButtonDblClick, QPointF(3, 3), widget->mapToGlobal(QPointF(3, 3)), button,
                      button, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
}

} // namespace

TEST(DoubleClick, OnlyTheLeftButtonDoubleClicksASurfaceOrALabel) {
    Form form;
    ControlSurface surface(form.Handle());
    surface.SetSizePixels(20, 20);
    Label label(form.Handle());
    std::vector<std::string> seen;
    for (auto* handlers : {&surface.OnMouseDown, &label.OnMouseDown})
        *handlers = [&](const MouseEvent& e) { seen.push_back("down " + std::to_string(e.button)); };
    for (auto* handlers : {&surface.OnDblClick, &label.OnDblClick})
        *handlers = [&] { seen.push_back("dblclick"); };
    for (QWidget* widget : {ToQWidget(surface.Handle()), WidgetOf(label)}) {
        seen.clear();
        SecondPress(widget, Qt::RightButton);
        SecondPress(widget, Qt::LeftButton);
        EXPECT_EQ(seen, (std::vector<std::string>{"down 2", "dblclick"}));
    }
}
