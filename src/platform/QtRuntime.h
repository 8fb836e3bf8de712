// What the window runtime's units share behind their headers: key and mouse translation, the
// way from a Qt widget back to the form or control it shows, and the in-process drag.
#pragma once

#include "platform/ControlSurface.h"
#include "platform/NativeWidget.h"
#include "platform/Twips.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>

class QKeyEvent;
class QMenuBar;
class QMouseEvent;

namespace platform {

class Control;
class Form;
class Menu;
struct DragEvent;

// 1 left, 2 right, 4 middle.
int ButtonMaskOf(Qt::MouseButton button);
int ButtonsMaskOf(Qt::MouseButtons buttons);
Qt::MouseButton QtButtonOf(int mask);
// 1 Shift, 2 Ctrl, 4 Alt.
int ShiftMaskOf(Qt::KeyboardModifiers modifiers);
Qt::KeyboardModifiers QtModifiersOf(int shift);

// The virtual key code of a key event (0 when it has none); keypad keys keep their own codes.
int VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);
// The Qt key and whether it lies on the keypad, for a virtual key code; Qt::Key_unknown when
// there is none.
int QtKeyOf(int keyCode, bool& keypad);

// The events a widget's mouse raises on its control or form, in twips. A passive widget (label,
// frame, picture box, form) takes the mouse itself and raises Click; an active one (button,
// list) leaves the mouse to Qt and raises Click from what the widget reports.
struct MouseHandlers {
    std::function<void()>* click = nullptr;
    std::function<void()>* dblClick = nullptr;
    std::function<void(const MouseEvent&)>* down = nullptr;
    std::function<void(const MouseEvent&)>* move = nullptr;
    std::function<void(const MouseEvent&)>* up = nullptr;
};
// Returns the hook, which DetachMouseHook silences when the handlers' owner goes.
QObject* InstallMouseHook(QWidget* widget, MouseHandlers handlers, bool passive);
void DetachMouseHook(QObject* hook);

// Lets a window object go whose owner is done with it. An event of its own (or a menu or dialog
// opened from one) may still be on the stack, and the window system may still hold it for the rest
// of that event (a right-button release goes on to a context-menu event for the same widget): a
// widget is hidden at once and nothing of ours hears from it again, but it is deleted only when no
// event is being handled any more. Outside any event it is deleted at once.
void DisposeWhenIdle(QObject* object);
// The application's event dispatch brackets every event with these; leaving the outermost one
// deletes what was disposed of meanwhile.
void EnteringEvent();
void LeavingEvent();
// Deletes at once whatever waits (the application's end, or a test that handles no events).
void DeleteDisposed();

// Makes a root menu the items of a form's menu bar.
void AttachMenuBar(Menu& root, QMenuBar* bar);

// Starts the window probe of the end-to-end tests when KARVEL_PROBE names its socket.
void StartProbeIfAsked();

// Whether the widget is a control surface's, and its Tag and the key of the picture it shows then.
bool IsSurfaceWidget(const QWidget* widget, std::string* tag, long long* look);

// Dynamic properties of the command buttons that answer Enter and Esc.
inline constexpr char kDefaultButtonProperty[] = "karvelDefault";
inline constexpr char kCancelButtonProperty[] = "karvelCancel";

// The application-wide event filter that gives forms their keys first (KeyPreview), lets the
// default and cancel buttons answer Enter and Esc, and carries a drag made with the real mouse.
void EnsureEventHub();

// The form whose window holds the widget, or nullptr.
Form* FormOfWidget(const QWidget* widget);
// The control shown by exactly this widget, or nullptr.
Control* ControlOfWidget(const QWidget* widget);
QWidget* WidgetOf(const Control& control);
QWidget* WindowWidgetOf(const Form& form);
QWidget* ClientWidgetOf(const Form& form);

// Where a drag may be dropped: a control, a user-control surface or a form's client area.
struct DropTarget {
    std::function<void(const DragEvent&)>* over = nullptr;
    std::function<void(const DragEvent&)>* drop = nullptr;
};
void RegisterDropTarget(QWidget* widget, DropTarget target);
void UnregisterDropTarget(QWidget* widget);

// The in-process drag: one at a time, from the widget it began on.
void BeginDrag(QWidget* source);
void CancelDrag();
QWidget* DragSource();
// The pointer is over a point (pixels) of a widget; the drop ends the drag there.
void DragMovedTo(QWidget* widget, QPointF local);
void DropOn(QWidget* widget, QPointF local);
// Where the pointer is for the next mouse event of a drag, when the window system cannot tell
// (the offscreen platform has no screen to look at); nullptr goes back to asking it.
void SetPointerOverride(QWidget* widget, QPointF local);

// The desktop the forms open on, as tests set it: the screen's work area (twips) and the frame a
// window manager adds around each window (pixels: left, top, right, bottom). nullopt gives the
// window system's own back.
void SimulateDesktop(std::optional<TwipRect> workArea, std::optional<std::array<int, 4>> frame);

} // namespace platform
