// The window runtime's shared machinery: key and mouse translation, the application-wide event
// filter and the in-process drag.
#include "platform/Control.h"
#include "platform/Keys.h"
#include "platform/QtRuntime.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

#include <unordered_map>

namespace platform {

bool HandleFormKey(Form& form, QWidget* target, QKeyEvent* event);

namespace {

struct KeyPair {
    int qt;
    int code;
};

// Keys whose code does not follow from a range; the keypad's own keys are told apart by the
// keypad modifier.
constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, keys::kBack},
    {Qt::Key_Tab, keys::kTab},
    {Qt::Key_Backtab, keys::kTab},
    {Qt::Key_Return, keys::kReturn},
    {Qt::Key_Enter, keys::kReturn},
    {Qt::Key_Shift, keys::kShiftKey},
    {Qt::Key_Control, keys::kControlKey},
    {Qt::Key_Alt, keys::kMenuKey},
    {Qt::Key_Escape, keys::kEscape},
    {Qt::Key_Space, keys::kSpace},
    {Qt::Key_PageUp, keys::kPageUp},
    {Qt::Key_PageDown, keys::kPageDown},
    {Qt::Key_End, keys::kEnd},
    {Qt::Key_Home, keys::kHome},
    {Qt::Key_Left, keys::kLeft},
    {Qt::Key_Up, keys::kUp},
    {Qt::Key_Right, keys::kRight},
    {Qt::Key_Down, keys::kDown},
    {Qt::Key_Insert, keys::kInsert},
    {Qt::Key_Delete, keys::kDelete},
};

constexpr KeyPair kKeypadKeys[] = {
    {Qt::Key_Asterisk, keys::kMultiply}, {Qt::Key_Plus, keys::kAdd},      {Qt::Key_Minus, keys::kSubtract},
    {Qt::Key_Period, keys::kDecimal},    {Qt::Key_Comma, keys::kDecimal}, {Qt::Key_Slash, keys::kDivide},
};

struct Drag {
    bool active = false;
    QPointer<QWidget> source;
    QPointer<QWidget> over;
};
Drag g_drag;
QPointer<QWidget> g_pointerWidget;
QPointF g_pointerLocal;

std::unordered_map<const QWidget*, DropTarget>& Targets() {
    static std::unordered_map<const QWidget*, DropTarget> targets;
    return targets;
}

// The nearest drop target at or above the widget, in its window, with the point in its pixels.
QWidget* FindTarget(QWidget* widget, QPointF& local) {
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (Targets().count(w)) return w;
        if (w->isWindow()) break;
        local = w->mapToParent(local);
    }
    return nullptr;
}

void SendDrag(QWidget* target, QPointF local, int state, bool drop, QWidget* source) {
    auto it = Targets().find(target);
    if (it == Targets().end()) return;
    std::function<void(const DragEvent&)>* handler = drop ? it->second.drop : it->second.over;
    if (!handler || !*handler) return;
    auto call = *handler;
    call(DragEvent{ToNativeWidget(source), local.x() * kTwipsPerPixelX, local.y() * kTwipsPerPixelY, state});
}

// Turns a widget's mouse events into the events of its control or form.
class MouseHook : public QObject {
  public:
    MouseHook(QWidget* widget, MouseHandlers handlers, bool passive)
        : QObject(widget), handlers_(handlers), passive_(passive) {}

    bool eventFilter(QObject* object, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::MouseButtonPress && type != QEvent::MouseMove &&
            type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
            return false;
        auto* e = static_cast<QMouseEvent*>(event);
        MouseEvent m;
        m.button = type == QEvent::MouseMove ? ButtonsMaskOf(e->buttons()) : ButtonMaskOf(e->button());
        m.shift = ShiftMaskOf(e->modifiers());
        m.x = static_cast<float>(e->position().x() * kTwipsPerPixelX);
        m.y = static_cast<float>(e->position().y() * kTwipsPerPixelY);
        // A handler may unload the control: each handler is copied before it runs, and nothing
        // of the control is touched after the last one.
        auto call = [](auto* handler, auto... args) {
            if (handler && *handler) {
                auto copy = *handler;
                copy(args...);
            }
        };
        const bool passive = passive_;
        // Only the left button double-clicks; a second quick press of another button is a press.
        const QEvent::Type kind = type == QEvent::MouseButtonDblClick && e->button() != Qt::LeftButton
                                      ? QEvent::MouseButtonPress
                                      : type;
        switch (kind) {
        case QEvent::MouseButtonPress:
            pressed_ = m.button == 1;
            call(handlers_.down, m);
            break;
        case QEvent::MouseMove:
            call(handlers_.move, m);
            break;
        case QEvent::MouseButtonRelease: {
            const bool click = passive && pressed_ && m.button == 1 &&
                               static_cast<QWidget*>(object)->rect().contains(e->position().toPoint());
            pressed_ = false;
            std::function<void()> onClick = handlers_.click && click ? *handlers_.click : nullptr;
            call(handlers_.up, m);
            if (onClick) onClick();
            break;
        }
        default:
            if (passive) call(handlers_.dblClick);
            break;
        }
        if (!passive) return false;
        event->accept();
        return true;
    }

    // The handlers' owner is gone; the widget may live a little longer.
    void Detach() { handlers_ = MouseHandlers{}; }

  private:
    MouseHandlers handlers_;
    bool passive_;
    bool pressed_ = false;
};

class EventHub : public QObject {
  public:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (!object->isWidgetType()) return false;
        auto* widget = static_cast<QWidget*>(object);
        switch (event->type()) {
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease: {
            if (!g_drag.active) return false;
            auto* e = static_cast<QMouseEvent*>(event);
            const QPointF global = e->globalPosition();
            QWidget* under =
                g_pointerWidget ? g_pointerWidget.data() : QApplication::widgetAt(global.toPoint());
            if (!under) under = widget;
            const QPointF local = g_pointerWidget ? g_pointerLocal : under->mapFromGlobal(global);
            if (event->type() == QEvent::MouseMove)
                DragMovedTo(under, local);
            else
                DropOn(under, local);
            event->accept();
            return true;
        }
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            // A key event travels up to the parents when a widget leaves it; only its first
            // receiver, the focused widget (or the window itself), counts.
            QWidget* focus = widget->window()->focusWidget();
            if (focus ? widget != focus : widget != widget->window()) return false;
            Form* form = FormOfWidget(widget);
            if (!form) return false;
            return HandleFormKey(*form, widget, static_cast<QKeyEvent*>(event));
        }
        default:
            return false;
        }
    }
};

} // namespace

int ButtonMaskOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

int ButtonsMaskOf(Qt::MouseButtons buttons) {
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0) |
           (buttons & Qt::MiddleButton ? 4 : 0);
}

Qt::MouseButton QtButtonOf(int mask) {
    if (mask & 1) return Qt::LeftButton;
    if (mask & 2) return Qt::RightButton;
    if (mask & 4) return Qt::MiddleButton;
    return Qt::NoButton;
}

int ShiftMaskOf(Qt::KeyboardModifiers modifiers) {
    return (modifiers & Qt::ShiftModifier ? keys::kShift : 0) |
           (modifiers & Qt::ControlModifier ? keys::kCtrl : 0) |
           (modifiers & Qt::AltModifier ? keys::kAlt : 0);
}

Qt::KeyboardModifiers QtModifiersOf(int shift) {
    Qt::KeyboardModifiers m;
    if (shift & keys::kShift) m |= Qt::ShiftModifier;
    if (shift & keys::kCtrl) m |= Qt::ControlModifier;
    if (shift & keys::kAlt) m |= Qt::AltModifier;
    return m;
}

int VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers & Qt::KeypadModifier;
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return (keypad ? keys::kNumpad0 : keys::kDigit0) + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return keys::kA + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return keys::kF1 + (qtKey - Qt::Key_F1);
    if (keypad)
        for (const auto& k : kKeypadKeys)
            if (k.qt == qtKey) return k.code;
    for (const auto& k : kKeys)
        if (k.qt == qtKey) return k.code;
    return 0;
}

int QtKeyOf(int code, bool& keypad) {
    keypad = false;
    if (code >= keys::kDigit0 && code <= keys::kDigit0 + 9) return Qt::Key_0 + (code - keys::kDigit0);
    if (code >= keys::kNumpad0 && code <= keys::kNumpad0 + 9) {
        keypad = true;
        return Qt::Key_0 + (code - keys::kNumpad0);
    }
    if (code >= keys::kA && code <= keys::kA + 25) return Qt::Key_A + (code - keys::kA);
    if (code >= keys::kF1 && code <= keys::kF12) return Qt::Key_F1 + (code - keys::kF1);
    for (const auto& k : kKeypadKeys)
        if (k.code == code) {
            keypad = true;
            return k.qt;
        }
    for (const auto& k : kKeys)
        if (k.code == code) return k.qt;
    return Qt::Key_unknown;
}

QObject* InstallMouseHook(QWidget* widget, MouseHandlers handlers, bool passive) {
    auto* hook = new MouseHook(widget, handlers, passive);
    widget->installEventFilter(hook);
    return hook;
}

void DetachMouseHook(QObject* hook) {
    if (auto* mouse = dynamic_cast<MouseHook*>(hook)) mouse->Detach();
}

void EnsureEventHub() {
    static QPointer<EventHub> hub;
    if (hub || !qApp) return;
    hub = new EventHub;
    hub->setParent(qApp);
    qApp->installEventFilter(hub);
}

void RegisterDropTarget(QWidget* widget, DropTarget target) {
    Targets()[widget] = target;
}

void UnregisterDropTarget(QWidget* widget) {
    Targets().erase(widget);
}

void BeginDrag(QWidget* source) {
    EnsureEventHub();
    g_drag = Drag{true, source, nullptr};
}

void CancelDrag() {
    g_drag = Drag{};
}

QWidget* DragSource() {
    return g_drag.active ? g_drag.source.data() : nullptr;
}

void DragMovedTo(QWidget* widget, QPointF local) {
    if (!g_drag.active) return;
    if (!g_drag.source) return CancelDrag();
    const QPointF global = widget ? widget->mapToGlobal(local) : QPointF();
    QWidget* target = widget ? FindTarget(widget, local) : nullptr;
    if (target != g_drag.over) {
        if (QWidget* left = g_drag.over) SendDrag(left, left->mapFromGlobal(global), 1, false, g_drag.source);
        g_drag.over = target;
        if (target) SendDrag(target, local, 0, false, g_drag.source);
        return;
    }
    if (target) SendDrag(target, local, 2, false, g_drag.source);
}

void SetPointerOverride(QWidget* widget, QPointF local) {
    g_pointerWidget = widget;
    g_pointerLocal = local;
}

void DropOn(QWidget* widget, QPointF local) {
    if (!g_drag.active) return;
    QPointer<QWidget> source = g_drag.source;
    QWidget* target = widget && source ? FindTarget(widget, local) : nullptr;
    // The drag is over before the handler runs, which may start another.
    CancelDrag();
    if (target) SendDrag(target, local, 2, true, source);
}

} // namespace platform
