#include "platform/Controls.h"

#include "platform/QtRuntime.h"
#include "platform/QtText.h"
#include "platform/Twips.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTimer>

#include <algorithm>

namespace platform {
namespace {

template <class W> W* Make(NativeWidget* parent) {
    return new W(ToQWidget(parent));
}
template <class W> W* As(const Control& c) {
    return static_cast<W*>(WidgetOf(c));
}

// Check boxes and option buttons take a click anywhere on them, not only on their mark and text.
template <class B> class WholeButton : public B {
  public:
    using B::B;

  protected:
    bool hitButton(const QPoint& pos) const override { return this->rect().contains(pos); }
};

// Multi-line text boxes hold lines ended by CR LF, as the windows write them.
QString FromWindowsText(const std::string& text) {
    return ToQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
std::string ToWindowsText(QString text) {
    return FromQString(text.replace(QLatin1Char('\n'), QStringLiteral("\r\n")));
}

} // namespace

// Label

namespace {

// A label shows its container's background (a frame's, a form's, a picture's) unless it is given
// a colour of its own: the system's button face of a new control is the colour it was not given.
class LabelWidget : public QLabel {
  public:
    explicit LabelWidget(QWidget* parent) : QLabel(parent) { setAutoFillBackground(false); }
    const Label* label = nullptr;
    bool opaque = true;

  protected:
    void paintEvent(QPaintEvent* event) override {
        if (opaque && label && label->BackColor() != (kSystemColourFlag | 15)) {
            QPainter painter(this);
            painter.fillRect(rect(), palette().color(QPalette::Window));
        }
        QLabel::paintEvent(event);
    }
};

} // namespace

Label::Label(NativeWidget* parent) : Control(ToNativeWidget(Make<LabelWidget>(parent)), true) {
    As<LabelWidget>(*this)->label = this;
    As<QLabel>(*this)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}
Label::~Label() {
    if (auto* widget = As<LabelWidget>(*this)) widget->label = nullptr;
}
std::string Label::Caption() const {
    return FromQString(As<QLabel>(*this)->text());
}
void Label::SetCaption(const std::string& caption) {
    As<QLabel>(*this)->setText(FromWindowsText(caption));
    if (autoSize_) As<QLabel>(*this)->adjustSize();
}
int Label::Alignment() const {
    const Qt::Alignment a = As<QLabel>(*this)->alignment();
    return a & Qt::AlignRight ? 1 : a & Qt::AlignHCenter ? 2 : 0;
}
void Label::SetAlignment(int alignment) {
    const Qt::Alignment h = alignment == 1   ? Qt::AlignRight
                            : alignment == 2 ? Qt::AlignHCenter
                                             : Qt::AlignLeft;
    As<QLabel>(*this)->setAlignment(h | Qt::AlignTop);
}
void Label::SetAutoSize(bool autoSize) {
    autoSize_ = autoSize;
    if (autoSize) As<QLabel>(*this)->adjustSize();
}
void Label::SetWordWrap(bool wrap) {
    As<QLabel>(*this)->setWordWrap(wrap);
}
void Label::SetBackStyle(int style) {
    As<LabelWidget>(*this)->opaque = style != 0;
    As<QLabel>(*this)->update();
}
void Label::CopyDesign(const Control& base) {
    Control::CopyDesign(base);
    if (auto* other = dynamic_cast<const Label*>(&base)) {
        As<QLabel>(*this)->setAlignment(As<QLabel>(*other)->alignment());
        As<QLabel>(*this)->setWordWrap(As<QLabel>(*other)->wordWrap());
        As<LabelWidget>(*this)->opaque = As<LabelWidget>(*other)->opaque;
        autoSize_ = other->autoSize_;
        SetCaption(other->Caption());
    }
}

// TextBox

struct TextBox::Impl {
    QPointer<QLineEdit> line;
    QPointer<QPlainTextEdit> lines;
    int maxLength = 0;
    QObject* selectOnFocus = nullptr;
};

namespace {

QWidget* MakeTextWidget(NativeWidget* parent, bool multiLine) {
    if (multiLine) return new QPlainTextEdit(ToQWidget(parent));
    return new QLineEdit(ToQWidget(parent));
}

} // namespace

TextBox::TextBox(NativeWidget* parent, bool multiLine)
    : Control(ToNativeWidget(MakeTextWidget(parent, multiLine)), false), multiLine_(multiLine),
      impl_(std::make_unique<Impl>()) {
    SetBackColor(kSystemColourFlag | 5);
    SetForeColor(kSystemColourFlag | 8);
    auto changed = [this] {
        if (auto h = OnChange) h();
    };
    if (multiLine) {
        impl_->lines = As<QPlainTextEdit>(*this);
        QObject::connect(impl_->lines, &QPlainTextEdit::textChanged, impl_->lines, [this, changed] {
            // The plain text editor has no length limit of its own: what goes beyond is cut.
            QPlainTextEdit* edit = impl_->lines;
            if (impl_->maxLength > 0 && edit->toPlainText().size() > impl_->maxLength) {
                const QSignalBlocker block(edit);
                edit->setPlainText(edit->toPlainText().left(impl_->maxLength));
                edit->moveCursor(QTextCursor::End);
            }
            changed();
        });
    } else {
        impl_->line = As<QLineEdit>(*this);
        QObject::connect(impl_->line, &QLineEdit::textChanged, impl_->line, changed);
    }
}
TextBox::~TextBox() = default;

std::string TextBox::Text() const {
    if (impl_->line) return FromQString(impl_->line->text());
    if (impl_->lines) return ToWindowsText(impl_->lines->toPlainText());
    return {};
}
void TextBox::SetText(const std::string& text) {
    if (impl_->line) impl_->line->setText(FromWindowsText(text));
    if (impl_->lines) impl_->lines->setPlainText(FromWindowsText(text));
}
int TextBox::MaxLength() const {
    return impl_->maxLength;
}
void TextBox::SetMaxLength(int length) {
    impl_->maxLength = std::max(0, length);
    if (impl_->line) impl_->line->setMaxLength(impl_->maxLength > 0 ? impl_->maxLength : 32767);
}
bool TextBox::Locked() const {
    if (impl_->line) return impl_->line->isReadOnly();
    return impl_->lines && impl_->lines->isReadOnly();
}
void TextBox::SetLocked(bool locked) {
    if (impl_->line) impl_->line->setReadOnly(locked);
    if (impl_->lines) impl_->lines->setReadOnly(locked);
}
void TextBox::SetPasswordChar(char c) {
    if (impl_->line) impl_->line->setEchoMode(c ? QLineEdit::Password : QLineEdit::Normal);
}
int TextBox::SelStart() const {
    if (impl_->line)
        return impl_->line->hasSelectedText() ? impl_->line->selectionStart() : impl_->line->cursorPosition();
    return impl_->lines ? impl_->lines->textCursor().selectionStart() : 0;
}
void TextBox::SetSelStart(int start) {
    if (impl_->line) impl_->line->setCursorPosition(std::clamp<int>(start, 0, impl_->line->text().size()));
    if (impl_->lines) {
        QTextCursor cursor = impl_->lines->textCursor();
        cursor.setPosition(std::clamp<int>(start, 0, impl_->lines->document()->characterCount() - 1));
        impl_->lines->setTextCursor(cursor);
        impl_->lines->ensureCursorVisible();
    }
}
int TextBox::SelLength() const {
    if (impl_->line) return impl_->line->selectionLength();
    if (!impl_->lines) return 0;
    const QTextCursor cursor = impl_->lines->textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}
void TextBox::SetSelLength(int length) {
    const int start = SelStart();
    if (impl_->line) impl_->line->setSelection(start, std::max(0, length));
    if (impl_->lines) {
        QTextCursor cursor = impl_->lines->textCursor();
        cursor.setPosition(start);
        cursor.setPosition(
            std::clamp(start + std::max(0, length), 0, impl_->lines->document()->characterCount() - 1),
            QTextCursor::KeepAnchor);
        impl_->lines->setTextCursor(cursor);
    }
}
std::string TextBox::SelText() const {
    if (impl_->line) return FromQString(impl_->line->selectedText());
    return impl_->lines
               ? ToWindowsText(impl_->lines->textCursor().selectedText().replace(QChar(0x2029), '\n'))
               : std::string();
}
void TextBox::SetSelText(const std::string& text) {
    if (impl_->line) impl_->line->insert(FromWindowsText(text));
    if (impl_->lines) impl_->lines->insertPlainText(FromWindowsText(text));
}
namespace {

// Selects a box's whole text as it gets the focus. A click places the caret after the focus came,
// so the selection then waits until the click is over. A box that opens with the focus gets no
// focus at the click: there a click (not a drag over part of the text) selects the text too, until
// the user first changes it, so that typing after the click replaces the text as it would without.
class SelectAllOnFocus : public QObject {
  public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        QPointer<QObject> box(watched);
        const auto selectAll = [box] {
            if (auto* line = qobject_cast<QLineEdit*>(box.data())) line->selectAll();
            if (auto* lines = qobject_cast<QPlainTextEdit*>(box.data())) lines->selectAll();
        };
        if (event->type() == QEvent::MouseButtonRelease) {
            // At once, not from a timer: a key typed right after the click may already wait in
            // the same batch of window events, and must find the text selected.
            auto* line = qobject_cast<QLineEdit*>(watched);
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (line && mouse->button() == Qt::LeftButton && !line->isModified() && !line->hasSelectedText())
                line->selectAll();
            return false;
        }
        if (event->type() != QEvent::FocusIn) return false;
        selectAll();
        if (static_cast<QFocusEvent*>(event)->reason() == Qt::MouseFocusReason)
            QTimer::singleShot(0, this, selectAll);
        return false;
    }
};

} // namespace

void TextBox::SetSelectAllOnFocus(bool select) {
    QWidget* box = WidgetOf(*this);
    if (select && !impl_->selectOnFocus) {
        impl_->selectOnFocus = new SelectAllOnFocus(box);
        box->installEventFilter(impl_->selectOnFocus);
    } else if (!select && impl_->selectOnFocus) {
        box->removeEventFilter(impl_->selectOnFocus);
        delete impl_->selectOnFocus;
        impl_->selectOnFocus = nullptr;
    }
}
void TextBox::CopyDesign(const Control& base) {
    Control::CopyDesign(base);
    if (auto* other = dynamic_cast<const TextBox*>(&base)) {
        SetMaxLength(other->MaxLength());
        SetLocked(other->Locked());
        SetText(other->Text());
    }
}

// CommandButton

CommandButton::CommandButton(NativeWidget* parent)
    : Control(ToNativeWidget(Make<QPushButton>(parent)), false) {
    QPushButton* button = As<QPushButton>(*this);
    button->setAutoDefault(false);
    QObject::connect(button, &QPushButton::clicked, button, [this] { RaiseClick(); });
}
std::string CommandButton::Caption() const {
    return FromQString(As<QPushButton>(*this)->text());
}
void CommandButton::SetCaption(const std::string& caption) {
    As<QPushButton>(*this)->setText(ToQString(caption));
}
bool CommandButton::Default() const {
    return As<QPushButton>(*this)->property(kDefaultButtonProperty).toBool();
}
void CommandButton::SetDefault(bool isDefault) {
    QPushButton* button = As<QPushButton>(*this);
    if (isDefault)
        for (QPushButton* other : button->window()->findChildren<QPushButton*>())
            if (other->property(kDefaultButtonProperty).toBool()) {
                other->setProperty(kDefaultButtonProperty, false);
                other->setDefault(false);
            }
    button->setProperty(kDefaultButtonProperty, isDefault);
    button->setDefault(isDefault);
}
bool CommandButton::Cancel() const {
    return As<QPushButton>(*this)->property(kCancelButtonProperty).toBool();
}
void CommandButton::SetCancel(bool isCancel) {
    QPushButton* button = As<QPushButton>(*this);
    if (isCancel)
        for (QPushButton* other : button->window()->findChildren<QPushButton*>())
            other->setProperty(kCancelButtonProperty, false);
    button->setProperty(kCancelButtonProperty, isCancel);
}
void CommandButton::CopyDesign(const Control& base) {
    Control::CopyDesign(base);
    if (auto* other = dynamic_cast<const CommandButton*>(&base)) SetCaption(other->Caption());
}

// CheckBox

CheckBox::CheckBox(NativeWidget* parent)
    : Control(ToNativeWidget(Make<WholeButton<QCheckBox>>(parent)), false) {
    QCheckBox* box = As<QCheckBox>(*this);
    QObject::connect(box, &QCheckBox::stateChanged, box, [this] { RaiseClick(); });
}
std::string CheckBox::Caption() const {
    return FromQString(As<QCheckBox>(*this)->text());
}
void CheckBox::SetCaption(const std::string& caption) {
    As<QCheckBox>(*this)->setText(ToQString(caption));
}
int CheckBox::Value() const {
    switch (As<QCheckBox>(*this)->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}
void CheckBox::SetValue(int value) {
    QCheckBox* box = As<QCheckBox>(*this);
    box->setTristate(value == 2);
    box->setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
}
void CheckBox::CopyDesign(const Control& base) {
    Control::CopyDesign(base);
    if (auto* other = dynamic_cast<const CheckBox*>(&base)) {
        SetCaption(other->Caption());
        SetValue(other->Value());
    }
}

// OptionButton

namespace {

// The options of one parent, and only those: Qt's own grouping would take in the options of
// frames inside that parent as well.
QButtonGroup* OptionGroupOf(QWidget* parent) {
    static const QString name = QStringLiteral("karvelOptions");
    auto* group = parent->findChild<QButtonGroup*>(name, Qt::FindDirectChildrenOnly);
    if (!group) {
        group = new QButtonGroup(parent);
        group->setObjectName(name);
    }
    return group;
}

} // namespace

OptionButton::OptionButton(NativeWidget* parent)
    : Control(ToNativeWidget(Make<WholeButton<QRadioButton>>(parent)), false) {
    QRadioButton* option = As<QRadioButton>(*this);
    if (QWidget* container = option->parentWidget()) OptionGroupOf(container)->addButton(option);
    QObject::connect(option, &QRadioButton::toggled, option, [this](bool on) {
        if (on) RaiseClick();
    });
}
std::string OptionButton::Caption() const {
    return FromQString(As<QRadioButton>(*this)->text());
}
void OptionButton::SetCaption(const std::string& caption) {
    As<QRadioButton>(*this)->setText(ToQString(caption));
}
bool OptionButton::Value() const {
    return As<QRadioButton>(*this)->isChecked();
}
void OptionButton::SetValue(bool value) {
    QRadioButton* option = As<QRadioButton>(*this);
    if (value) {
        option->setChecked(true);
        return;
    }
    // Exclusive buttons cannot be unchecked one by one.
    QButtonGroup* group = option->group();
    if (group) group->setExclusive(false);
    option->setChecked(false);
    if (group) group->setExclusive(true);
}
void OptionButton::CopyDesign(const Control& base) {
    Control::CopyDesign(base);
    if (auto* other = dynamic_cast<const OptionButton*>(&base)) SetCaption(other->Caption());
}

// Frame

Frame::Frame(NativeWidget* parent) : Control(ToNativeWidget(Make<QGroupBox>(parent)), true) {}
std::string Frame::Caption() const {
    return FromQString(As<QGroupBox>(*this)->title());
}
void Frame::SetCaption(const std::string& caption) {
    As<QGroupBox>(*this)->setTitle(ToQString(caption));
}
void Frame::CopyDesign(const Control& base) {
    Control::CopyDesign(base);
    if (auto* other = dynamic_cast<const Frame*>(&base)) SetCaption(other->Caption());
}

// Placement

namespace {

// What a control shows of itself: a label its text (or its picture), anything else its whole area.
QRect ShownPart(const QWidget* widget) {
    const auto* label = qobject_cast<const QLabel*>(widget);
    if (!label) return widget->rect();
    if (label->text().isEmpty()) return label->pixmap().isNull() ? QRect() : label->rect();
    const int flags = static_cast<int>(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
    return label->fontMetrics().boundingRect(label->contentsRect(), flags, label->text()) & label->rect();
}

bool HoldsVisibleControl(const QWidget* widget, const QWidget* container) {
    for (const QWidget* child : widget->findChildren<QWidget*>())
        if (ControlOfWidget(child) && child->isVisibleTo(container)) return true;
    return false;
}

void CollectControlRects(QWidget* widget, QWidget* container, const std::vector<QWidget*>& except,
                         std::vector<TwipRect>& rects) {
    for (QWidget* child : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow() || !child->isVisibleTo(container)) continue;
        if (std::find(except.begin(), except.end(), child) != except.end()) continue;
        // A stock control that holds none, or a widget of our own controls' that holds nothing.
        const bool leaf = ControlOfWidget(child) ? !HoldsVisibleControl(child, container)
                                                 : child->findChildren<QWidget*>().empty();
        if (leaf) {
            const QRect shown = ShownPart(child);
            if (shown.isEmpty()) continue;
            const QRect r(child->mapTo(container, shown.topLeft()), shown.size());
            rects.push_back({TwipsFromPixelsX(r.x()), TwipsFromPixelsY(r.y()), TwipsFromPixelsX(r.width()),
                             TwipsFromPixelsY(r.height())});
        } else {
            CollectControlRects(child, container, except, rects);
        }
    }
}

} // namespace

TwipRect AreaOf(NativeWidget* container) {
    const QWidget* widget = ToQWidget(container);
    if (!widget) return {};
    return {0, 0, TwipsFromPixelsX(widget->width()), TwipsFromPixelsY(widget->height())};
}

std::vector<TwipRect> ControlRectsIn(NativeWidget* container, const std::vector<NativeWidget*>& except) {
    std::vector<TwipRect> rects;
    QWidget* widget = ToQWidget(container);
    if (!widget) return rects;
    std::vector<QWidget*> left;
    for (NativeWidget* handle : except)
        left.push_back(ToQWidget(handle));
    CollectControlRects(widget, widget, left, rects);
    return rects;
}

} // namespace platform
