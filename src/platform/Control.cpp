#include "platform/Control.h"

#include "platform/QtFont.h"
#include "platform/QtRuntime.h"
#include "platform/QtText.h"
#include "platform/Twips.h"

#include <QFocusEvent>
#include <QPointer>

#include <unordered_map>

namespace platform {
namespace {

std::unordered_map<const QWidget*, Control*>& Registry() {
    static std::unordered_map<const QWidget*, Control*> registry;
    return registry;
}

// Raises LostFocus when the focus leaves the widget within the program. Switching to another
// program's window or opening a pop-up (a menu, a combo box's list) is not leaving the control.
class FocusHook : public QObject {
  public:
    FocusHook(QWidget* widget, std::function<void()>* lost) : QObject(widget), lost_(lost) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::FocusOut || !lost_ || !*lost_) return false;
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return false;
        // The handler may unload the control.
        auto call = *lost_;
        call();
        return false;
    }

    void Detach() { lost_ = nullptr; }

  private:
    std::function<void()>* lost_;
};

QColor ToQColor(Colour c) {
    c = ResolveColour(c);
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

} // namespace

struct Control::Base {
    QPointer<QWidget> widget;
    // The widget's address as registered: a container may delete the widget first.
    QWidget* key = nullptr;
    FocusHook* focus = nullptr;
    QObject* mouse = nullptr;
    std::string tag;
    int index = -1;
    Font font;
    Colour fore = kSystemColourFlag | 18;
    Colour back = kSystemColourFlag | 15;

    void ApplyColours() {
        if (!widget) return;
        QPalette palette = widget->palette();
        const QColor f = ToQColor(fore), b = ToQColor(back);
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            palette.setColor(role, f);
        for (auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
            palette.setColor(role, b);
        widget->setPalette(palette);
    }
};

QWidget* WidgetOf(const Control& control) {
    return control.Internals().widget.data();
}

Control* ControlOfWidget(const QWidget* widget) {
    auto it = Registry().find(widget);
    return it == Registry().end() ? nullptr : it->second;
}

Control::Control(NativeWidget* handle, bool passive) : base_(std::make_unique<Base>()) {
    EnsureEventHub();
    QWidget* widget = ToQWidget(handle);
    base_->widget = widget;
    base_->key = widget;
    base_->mouse = InstallMouseHook(
        widget, MouseHandlers{&OnClick, &OnDblClick, &OnMouseDown, &OnMouseMove, &OnMouseUp}, passive);
    // MouseMove runs whenever the pointer moves over the control, button or not.
    widget->setMouseTracking(true);
    widget->setFont(ToQFont(SpecOf(base_->font)));
    base_->focus = new FocusHook(widget, &OnLostFocus);
    widget->installEventFilter(base_->focus);
    Registry()[widget] = this;
    RegisterDropTarget(widget, DropTarget{&OnDragOver, &OnDragDrop});
    if (widget->parentWidget()) widget->show();
}

Control::~Control() {
    Registry().erase(base_->key);
    UnregisterDropTarget(base_->key);
    if (DragSource() == base_->key) platform::CancelDrag();
    if (!base_->widget) return;
    // Nothing of this control may hear from the widget again, though it may outlive the control
    // while one of its events is still being handled.
    base_->focus->Detach();
    DetachMouseHook(base_->mouse);
    DisposeWhenIdle(base_->widget.data());
}

NativeWidget* Control::Handle() const {
    return ToNativeWidget(base_->widget.data());
}
NativeWidget* Control::ParentHandle() const {
    return base_->widget ? ToNativeWidget(base_->widget->parentWidget()) : nullptr;
}

int Control::Left() const {
    return base_->widget ? TwipsFromPixelsX(base_->widget->x()) : 0;
}
int Control::Top() const {
    return base_->widget ? TwipsFromPixelsY(base_->widget->y()) : 0;
}
int Control::Width() const {
    return base_->widget ? TwipsFromPixelsX(base_->widget->width()) : 0;
}
int Control::Height() const {
    return base_->widget ? TwipsFromPixelsY(base_->widget->height()) : 0;
}
void Control::SetLeft(int twips) {
    Move(twips, Top());
}
void Control::SetTop(int twips) {
    Move(Left(), twips);
}
void Control::SetWidth(int twips) {
    Move(Left(), Top(), twips, Height());
}
void Control::SetHeight(int twips) {
    Move(Left(), Top(), Width(), twips);
}
void Control::Move(int left, int top) {
    if (base_->widget)
        base_->widget->move(RoundedPixels(left, kTwipsPerPixelX), RoundedPixels(top, kTwipsPerPixelY));
}
void Control::Move(int left, int top, int width, int height) {
    if (!base_->widget) return;
    Move(left, top);
    base_->widget->resize(std::max(0, RoundedPixels(width, kTwipsPerPixelX)),
                          std::max(0, RoundedPixels(height, kTwipsPerPixelY)));
}

bool Control::Visible() const {
    return base_->widget && !base_->widget->isHidden();
}
void Control::SetVisible(bool visible) {
    if (base_->widget) base_->widget->setVisible(visible);
}
bool Control::Enabled() const {
    return base_->widget && base_->widget->isEnabled();
}
void Control::SetEnabled(bool enabled) {
    if (base_->widget) base_->widget->setEnabled(enabled);
}
const std::string& Control::Tag() const {
    return base_->tag;
}
void Control::SetTag(const std::string& tag) {
    base_->tag = tag;
}
int Control::Index() const {
    return base_->index;
}
void Control::SetIndex(int index) {
    base_->index = index;
}
std::string Control::ToolTipText() const {
    return base_->widget ? FromQString(base_->widget->toolTip()) : std::string();
}
void Control::SetToolTipText(const std::string& text) {
    if (base_->widget) base_->widget->setToolTip(ToQString(text));
}
std::string Control::Name() const {
    return base_->widget ? FromQString(base_->widget->objectName()) : std::string();
}
void Control::SetName(const std::string& name) {
    if (base_->widget) base_->widget->setObjectName(ToQString(name));
}
Font Control::GetFont() const {
    return base_->font;
}
void Control::SetFont(const Font& font) {
    base_->font = font;
    if (base_->widget) base_->widget->setFont(ToQFont(SpecOf(font)));
}
Colour Control::ForeColor() const {
    return base_->fore;
}
void Control::SetForeColor(Colour c) {
    base_->fore = c;
    base_->ApplyColours();
}
Colour Control::BackColor() const {
    return base_->back;
}
void Control::SetBackColor(Colour c) {
    base_->back = c;
    base_->ApplyColours();
}

void Control::SetFocus() {
    if (base_->widget) base_->widget->setFocus(Qt::OtherFocusReason);
}
bool Control::HasFocus() const {
    return base_->widget && base_->widget->window()->focusWidget() == base_->widget;
}
void Control::ZOrder(bool toFront) {
    if (!base_->widget) return;
    if (toFront)
        base_->widget->raise();
    else
        base_->widget->lower();
}
void Control::Refresh() {
    if (base_->widget) base_->widget->update();
}

void Control::Drag() {
    if (base_->widget) BeginDrag(base_->widget);
}
void Control::CancelDrag() {
    if (base_->widget && DragSource() == base_->widget) platform::CancelDrag();
}

void Control::CopyDesign(const Control& base) {
    const QWidget* from = base.base_->widget;
    if (!from || !base_->widget) return;
    base_->widget->setGeometry(from->geometry());
    base_->widget->setEnabled(from->isEnabled());
    base_->widget->setToolTip(from->toolTip());
    base_->tag = base.base_->tag;
    SetFont(base.base_->font);
    base_->fore = base.base_->fore;
    base_->back = base.base_->back;
    base_->ApplyColours();
}

void Control::RaiseClick() {
    if (auto h = OnClick) h();
}

} // namespace platform
