// Window objects let go from inside their own events: the window system goes on delivering the rest
// of such an event to the same widget (a right-button release is followed by a context-menu event,
// a menu's chosen item by the menu's own closing), so the widget must outlive the event while
// nothing of ours hears from it again.
#include "platform/ControlArray.h"
#include "platform/ControlSurface.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Menu.h"
#include "platform/NativeWidget.h"
#include "platform/QtRuntime.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace platform;

namespace {

// Runs `body` as the handler of one event, the way the event loop runs a handler.
void AsOneEvent(std::function<void()> body) {
    bool ran = false;
    QTimer::singleShot(0, qApp, [&] {
        body();
        ran = true;
    });
    while (!ran)
        QApplication::processEvents();
}

void Release(QWidget* widget, Qt::MouseButton button) {
    QMouseEvent up(QEvent::MouseButtonRelease, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)), button,
                   Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &up);
}

void ContextMenu(QWidget* widget) {
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(2, 2), widget->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(widget, &menu);
}

} // namespace

TEST(Disposal, AnElementUnloadedByItsOwnEventOutlivesTheEventAndItsIndexIsFreeAtOnce) {
    Form form;
    ControlArray<Label> labels(LikeFirst<Label>());
    labels.Place(0, std::make_unique<Label>(form.Handle()));
    ASSERT_NE(labels.Load(1), nullptr);
    QPointer<QWidget> widget = WidgetOf(*labels(1));
    int ups = 0;
    bool reloaded = false;
    labels(1)->OnMouseUp = [&](const MouseEvent&) {
        ++ups;
        labels.Unload(1);
        reloaded = labels.Load(1) != nullptr;
    };
    AsOneEvent([&] {
        Release(widget, Qt::RightButton);
        // The rest of the release, as the window system delivers it, to the same widget.
        ASSERT_FALSE(widget.isNull());
        EXPECT_TRUE(widget->isHidden());
        ContextMenu(widget);
        Release(widget, Qt::LeftButton);
    });
    EXPECT_EQ(ups, 1);
    EXPECT_TRUE(reloaded);
    EXPECT_TRUE(widget.isNull()) << "the widget goes once the event is over";
    EXPECT_NE(WidgetOf(*labels(1)), nullptr);
}

TEST(Disposal, ASurfaceDestroyedByItsOwnEventHearsNothingMore) {
    Form form;
    auto surface = std::make_unique<ControlSurface>(form.Handle());
    surface->SetSizePixels(20, 20);
    QPointer<QWidget> widget = ToQWidget(surface->Handle());
    int ups = 0;
    surface->OnMouseUp = [&](const MouseEvent&) {
        ++ups;
        surface.reset();
    };
    AsOneEvent([&] {
        Release(widget, Qt::RightButton);
        ASSERT_FALSE(widget.isNull());
        ContextMenu(widget);
        Release(widget, Qt::LeftButton);
        widget->update();
    });
    EXPECT_EQ(ups, 1);
    EXPECT_TRUE(widget.isNull());
}

TEST(Disposal, AFormDestroyedFromItsOwnEventLeavesAWindowThatCallsNothing) {
    auto form = std::make_unique<Form>();
    int resizes = 0;
    form->OnResize = [&] { ++resizes; };
    form->Show();
    QPointer<QWidget> window = WindowWidgetOf(*form);
    AsOneEvent([&] {
        resizes = 0; // the show's own resize may come first
        form.reset();
        ASSERT_FALSE(window.isNull());
        window->resize(300, 200);
        window->close();
    });
    EXPECT_EQ(resizes, 0);
    EXPECT_TRUE(window.isNull());
}

TEST(Disposal, AMenuItemUnloadedByItsOwnClickGoesAfterTheEvent) {
    Form form;
    Menu top(form.Menus(), "Actions");
    ControlArray<Menu> items(LikeFirst<Menu>());
    items.Place(0, std::make_unique<Menu>(top, "First"));
    ASSERT_NE(items.Load(1), nullptr);
    int clicks = 0;
    items(1)->OnClick = [&] {
        ++clicks;
        items.Unload(1);
    };
    AsOneEvent([&] { items(1)->Choose(); });
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(items.Count(), 1);
}

TEST(Disposal, OutsideAnyEventAControlGoesAtOnce) {
    Form form;
    auto label = std::make_unique<Label>(form.Handle());
    QPointer<QWidget> widget = WidgetOf(*label);
    label.reset();
    EXPECT_TRUE(widget.isNull());
}
