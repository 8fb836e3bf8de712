#include "platform/TestDriver.h"

#include "platform/Keys.h"
#include "platform/Menu.h"
#include "platform/QtPicture.h"
#include "platform/QtRuntime.h"
#include "platform/QtText.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

namespace platform::testdriver {
namespace {

QPointF Pixels(int x, int y) {
    return QPointF(static_cast<double>(x) / kTwipsPerPixelX, static_cast<double>(y) / kTwipsPerPixelY);
}

// One mouse event at a point (pixels) of a widget, sent to its window as the window system would.
bool Deliver(QWidget* widget, QEvent::Type type, int button, int buttons, int shift, QPointF local) {
    if (!widget) return false;
    QWidget* window = widget->window();
    if (!window->isVisible() || !window->windowHandle()) return false;
    const QPointF inWindow = widget->mapTo(window, local);
    QWidget* source = DragSource();
    if (source && (type == QEvent::MouseMove || type == QEvent::MouseButtonRelease)) {
        // The mouse still belongs to the window the drag began in: the event goes there, and the
        // drag learns from us where the pointer is.
        QWidget* under = window->childAt(inWindow.toPoint());
        if (!under) under = window;
        const QPointF there = under->mapFrom(window, inWindow);
        QWidget* sourceWindow = source->window();
        if (!sourceWindow->windowHandle()) {
            if (type == QEvent::MouseMove)
                DragMovedTo(under, there);
            else
                DropOn(under, there);
            return true;
        }
        SetPointerOverride(under, there);
        const QPointF inSource = source->mapTo(sourceWindow, QPointF(0, 0));
        QMouseEvent event(type, inSource, sourceWindow->mapToGlobal(inSource), QtButtonOf(button),
                          type == QEvent::MouseMove ? QtButtonOf(buttons) : Qt::NoButton,
                          QtModifiersOf(shift));
        QApplication::sendEvent(sourceWindow->windowHandle(), &event);
        SetPointerOverride(nullptr, QPointF());
        return true;
    }
    Qt::MouseButtons held;
    for (int mask : {1, 2, 4})
        if (buttons & mask) held |= QtButtonOf(mask);
    QMouseEvent event(type, inWindow, window->mapToGlobal(inWindow), QtButtonOf(button), held,
                      QtModifiersOf(shift));
    QApplication::sendEvent(window->windowHandle(), &event);
    return true;
}

bool Press(QWidget* w, int button, int shift, QPointF p) {
    return Deliver(w, QEvent::MouseButtonPress, button, button, shift, p);
}
bool Release(QWidget* w, int button, int shift, QPointF p) {
    return Deliver(w, QEvent::MouseButtonRelease, button, 0, shift, p);
}
bool ClickIn(QWidget* w, QPointF p) {
    return Press(w, 1, 0, p) && Release(w, 1, 0, p);
}
bool DoubleClickIn(QWidget* w, QPointF p) {
    return ClickIn(w, p) && Deliver(w, QEvent::MouseButtonDblClick, 1, 1, 0, p) && Release(w, 1, 0, p);
}
QPointF Centre(const QWidget* w) {
    return w ? QPointF(w->width() / 2.0, w->height() / 2.0) : QPointF();
}
QWidget* SurfaceWidget(const ControlSurface& s) {
    return ToQWidget(s.Handle());
}

// The text a key types, for keys that type one.
QString TextOfKey(int keyCode, int shift) {
    if (shift & (keys::kCtrl | keys::kAlt)) return {};
    if (keyCode >= keys::kA && keyCode < keys::kA + 26)
        return QChar((shift & keys::kShift ? 'A' : 'a') + (keyCode - keys::kA));
    if (keyCode >= keys::kDigit0 && keyCode <= keys::kDigit0 + 9)
        return QChar('0' + (keyCode - keys::kDigit0));
    if (keyCode >= keys::kNumpad0 && keyCode <= keys::kNumpad0 + 9)
        return QChar('0' + (keyCode - keys::kNumpad0));
    switch (keyCode) {
    case keys::kReturn:
        return QStringLiteral("\r");
    case keys::kEscape:
        return QStringLiteral("\x1b");
    case keys::kBack:
        return QStringLiteral("\b");
    case keys::kSpace:
        return QStringLiteral(" ");
    default:
        return {};
    }
}

QWidget* KeyTarget(const Form& form) {
    QWidget* window = WindowWidgetOf(form);
    QWidget* focus = window->focusWidget();
    return focus ? focus : window;
}

void SendKey(QWidget* target, QEvent::Type type, int qtKey, Qt::KeyboardModifiers modifiers,
             const QString& text) {
    QKeyEvent event(type, qtKey, modifiers, text);
    QApplication::sendEvent(target, &event);
}

bool Key(const Form& form, QEvent::Type type, int keyCode, int shift) {
    bool keypad = false;
    const int qtKey = QtKeyOf(keyCode, keypad);
    if (qtKey == Qt::Key_unknown) return false;
    Qt::KeyboardModifiers modifiers = QtModifiersOf(shift);
    if (keypad) modifiers |= Qt::KeypadModifier;
    SendKey(KeyTarget(form), type, qtKey, modifiers, TextOfKey(keyCode, shift));
    return true;
}

} // namespace

bool MouseDown(const Control& c, int button, int shift, int x, int y) {
    return Press(WidgetOf(c), button, shift, Pixels(x, y));
}
bool MouseMove(const Control& c, int buttons, int shift, int x, int y) {
    return Deliver(WidgetOf(c), QEvent::MouseMove, 0, buttons, shift, Pixels(x, y));
}
bool MouseUp(const Control& c, int button, int shift, int x, int y) {
    return Release(WidgetOf(c), button, shift, Pixels(x, y));
}
bool MouseDown(const Form& f, int button, int shift, int x, int y) {
    return Press(ClientWidgetOf(f), button, shift, Pixels(x, y));
}
bool MouseMove(const Form& f, int buttons, int shift, int x, int y) {
    return Deliver(ClientWidgetOf(f), QEvent::MouseMove, 0, buttons, shift, Pixels(x, y));
}
bool MouseUp(const Form& f, int button, int shift, int x, int y) {
    return Release(ClientWidgetOf(f), button, shift, Pixels(x, y));
}
bool MouseDown(const ControlSurface& s, int button, int shift, int x, int y) {
    return Press(SurfaceWidget(s), button, shift, Pixels(x, y));
}
bool MouseMove(const ControlSurface& s, int buttons, int shift, int x, int y) {
    return Deliver(SurfaceWidget(s), QEvent::MouseMove, 0, buttons, shift, Pixels(x, y));
}
bool MouseUp(const ControlSurface& s, int button, int shift, int x, int y) {
    return Release(SurfaceWidget(s), button, shift, Pixels(x, y));
}

bool Click(const Control& c) {
    return ClickIn(WidgetOf(c), Centre(WidgetOf(c)));
}
bool Click(const Control& c, int x, int y) {
    return ClickIn(WidgetOf(c), Pixels(x, y));
}
bool Click(const Form& f, int x, int y) {
    return ClickIn(ClientWidgetOf(f), Pixels(x, y));
}
bool DoubleClick(const Control& c) {
    return DoubleClickIn(WidgetOf(c), Centre(WidgetOf(c)));
}
bool DoubleClick(const Control& c, int x, int y) {
    return DoubleClickIn(WidgetOf(c), Pixels(x, y));
}
bool DoubleClick(const Form& f, int x, int y) {
    return DoubleClickIn(ClientWidgetOf(f), Pixels(x, y));
}

bool PressKey(const Form& form, int keyCode, int shift) {
    return KeyDown(form, keyCode, shift) && KeyUp(form, keyCode, shift);
}
bool KeyDown(const Form& form, int keyCode, int shift) {
    return Key(form, QEvent::KeyPress, keyCode, shift);
}
bool KeyUp(const Form& form, int keyCode, int shift) {
    return Key(form, QEvent::KeyRelease, keyCode, shift);
}

bool TypeText(const Control& control, const std::string& text) {
    QWidget* widget = WidgetOf(control);
    if (!widget || !widget->isEnabled()) return false;
    widget->setFocus(Qt::OtherFocusReason);
    QWidget* focus = widget->window()->focusWidget();
    QWidget* target = focus ? focus : widget;
    for (QChar c : ToQString(text)) {
        int key = 0;
        QString typed(c);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            key = Qt::Key_Return;
            typed = QStringLiteral("\r");
        } else if (c.isLetterOrNumber() && c.unicode() < 128) {
            key = c.toUpper().unicode();
        } else if (c == QLatin1Char(' ')) {
            key = Qt::Key_Space;
        }
        SendKey(target, QEvent::KeyPress, key, Qt::NoModifier, typed);
        SendKey(target, QEvent::KeyRelease, key, Qt::NoModifier, typed);
    }
    return true;
}

bool ChooseMenu(Form& form, const std::string& caption) {
    Menu* item = form.Menus().FindChoosable(caption);
    if (!item) return false;
    item->Choose();
    return true;
}

bool PressCloseBox(Form& form) {
    return WindowWidgetOf(form)->close();
}

Picture Grab(const Form& form) {
    return form.Grab();
}
Picture Grab(const Control& control) {
    QWidget* widget = WidgetOf(control);
    return widget ? PictureAccess::FromImage(widget->grab().toImage()) : Picture();
}

// DialogScript

SimulatedDesktop::SimulatedDesktop(TwipRect workArea, int frameLeft, int frameTop, int frameRight,
                                   int frameBottom) {
    SimulateDesktop(workArea, std::array<int, 4>{frameLeft, frameTop, frameRight, frameBottom});
}
SimulatedDesktop::~SimulatedDesktop() {
    SimulateDesktop(std::nullopt, std::nullopt);
}

DialogScript::DialogScript() {
    oldMessage_ = SetMessageHandler([this](const std::string& text) { messages_.push_back(text); });
    oldQuestion_ = SetQuestionHandler([this](const std::string& text) {
        questions_.push_back(text);
        auto answer = Next(Kind::YesNo, text);
        return answer && answer->yes;
    });
    oldInput_ =
        SetInputHandler([this](const std::string& prompt, const std::string&) -> std::optional<std::string> {
            questions_.push_back(prompt);
            auto answer = Next(Kind::Input, prompt);
            return answer ? answer->text : std::nullopt;
        });
    oldFile_ = SetFileHandler([this](bool, const FileRequest& request) -> std::optional<std::string> {
        files_.push_back(request);
        auto answer = Next(Kind::File, request.title);
        return answer ? answer->text : std::nullopt;
    });
    oldColour_ = SetColourHandler([this](Colour) -> std::optional<Colour> {
        auto answer = Next(Kind::Colour, "colour");
        return answer ? answer->colour : std::nullopt;
    });
    oldDocument_ = SetDocumentHandler([this](const std::string& file) {
        documents_.push_back(file);
        return true;
    });
    oldModal_ = SetModalHandler([this](Form& form) {
        auto answer = Next(Kind::Modal, form.Caption());
        if (answer && answer->actions) answer->actions(form);
    });
    oldPopup_ = SetPopupHandler([this](const Menu& menu) -> std::string {
        auto answer = Next(Kind::Popup, menu.Caption());
        if (!answer || !answer->text || answer->text->empty()) return {};
        if (!menu.FindChoosable(*answer->text))
            problems_.push_back("pop-up menu has no visible item \"" + *answer->text + "\"");
        return *answer->text;
    });
}

DialogScript::~DialogScript() {
    SetMessageHandler(oldMessage_);
    SetQuestionHandler(oldQuestion_);
    SetInputHandler(oldInput_);
    SetFileHandler(oldFile_);
    SetColourHandler(oldColour_);
    SetDocumentHandler(oldDocument_);
    SetModalHandler(oldModal_);
    SetPopupHandler(oldPopup_);
}

DialogScript& DialogScript::AnswerYesNo(bool yes) {
    answers_.push_back(Answer{Kind::YesNo, yes, {}, {}, {}});
    return *this;
}
DialogScript& DialogScript::AnswerInput(std::optional<std::string> text) {
    answers_.push_back(Answer{Kind::Input, false, std::move(text), {}, {}});
    return *this;
}
DialogScript& DialogScript::AnswerFile(std::optional<std::string> path) {
    answers_.push_back(Answer{Kind::File, false, std::move(path), {}, {}});
    return *this;
}
DialogScript& DialogScript::AnswerColour(std::optional<Colour> colour) {
    answers_.push_back(Answer{Kind::Colour, false, {}, colour, {}});
    return *this;
}
DialogScript& DialogScript::AnswerPopup(const std::string& caption) {
    answers_.push_back(Answer{Kind::Popup, false, caption, {}, {}});
    return *this;
}
DialogScript& DialogScript::AnswerModal(std::function<void(Form&)> actions) {
    answers_.push_back(Answer{Kind::Modal, false, {}, {}, std::move(actions)});
    return *this;
}

const char* DialogScript::NameOf(Kind kind) {
    switch (kind) {
    case Kind::YesNo:
        return "yes/no question";
    case Kind::Input:
        return "input box";
    case Kind::File:
        return "file chooser";
    case Kind::Colour:
        return "colour chooser";
    case Kind::Popup:
        return "pop-up menu";
    default:
        return "modal form";
    }
}

std::optional<DialogScript::Answer> DialogScript::Next(Kind kind, const std::string& what) {
    if (answers_.empty() || answers_.front().kind != kind) {
        problems_.push_back(std::string("unanswered ") + NameOf(kind) + " \"" + what + "\"" +
                            (answers_.empty() ? ""
                                              : std::string(" (next answer is for a ") +
                                                    NameOf(answers_.front().kind) + ")"));
        return std::nullopt;
    }
    Answer answer = std::move(answers_.front());
    answers_.pop_front();
    return answer;
}

std::vector<std::string> DialogScript::Problems() const {
    std::vector<std::string> all = problems_;
    for (const Answer& left : answers_)
        all.push_back(std::string("answer for a ") + NameOf(left.kind) + " was not used");
    return all;
}

} // namespace platform::testdriver
