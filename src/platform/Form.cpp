#include "platform/Form.h"

#include "platform/Keys.h"
#include "platform/QtPicture.h"
#include "platform/QtRuntime.h"
#include "platform/QtText.h"
#include "platform/Seams.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <optional>

namespace platform {
namespace {

ModalHandler g_modal;

// What tests put in place of the window system's desktop: its work area, and the frame a window
// manager adds around every window.
std::optional<TwipRect> g_simulatedArea;
std::optional<QMargins> g_simulatedFrame;

// The frame last reported for a main window (0) and for a tool window (1): a window that is not
// framed yet takes its kind's as the best guess of its own, or a main window's while no tool
// window was framed.
std::optional<QMargins> g_seenFrame[2];

QMargins GuessedFrame(int kind) {
    return g_seenFrame[kind].value_or(g_seenFrame[0].value_or(QMargins()));
}

int KindOf(const QWidget* window) {
    return window->windowType() == Qt::Tool ? 1 : 0;
}

// The offscreen platform of the tests has no stacking order and says so on every raise.
void Raise(QWidget* window) {
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) window->raise();
}

TwipRect TwipsOf(const QRect& pixels) {
    return {TwipsFromPixelsX(pixels.x()), TwipsFromPixelsY(pixels.y()), TwipsFromPixelsX(pixels.width()),
            TwipsFromPixelsY(pixels.height())};
}

} // namespace

class FormWidget : public QMainWindow {
  public:
    explicit FormWidget(Form& form) : form_(&form) {}
    // nullptr once the form is gone and the window waits to be deleted.
    Form* Owner() const { return form_; }
    void Orphan() { form_ = nullptr; }

  protected:
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    Form* form_;
};

namespace {

// The window raised, and then the windows it owns, which stay above it: without a window manager
// nothing else would keep a tool bar from falling behind its table.
void RaiseWithOwned(QWidget* window) {
    Raise(window);
    for (QObject* child : window->children())
        if (auto* owned = dynamic_cast<FormWidget*>(child); owned && owned->isVisible()) Raise(owned);
}

} // namespace

struct Form::Impl {
    Form& self;
    QPointer<FormWidget> window;
    QPointer<QWidget> client;
    Menu menus;
    bool loaded = false;
    bool keyPreview = false;
    Colour back = kSystemColourFlag | 15;
    QEventLoop* modalLoop = nullptr;
    QObject* mouse = nullptr;

    explicit Impl(Form& form) : self(form), window(new FormWidget(form)), client(new QWidget) {
        window->setCentralWidget(client);
        window->setAttribute(Qt::WA_QuitOnClose, true);
        AttachMenuBar(menus, window->menuBar());
    }

    // The code gave the window its place since it was last unloaded.
    bool placed = false;
    // The window system reported the window's frame since the window was last made.
    bool frameKnown = false;
    QMargins frame;
    // The outer size asked before the frame was known (pixels), and the inner size that was given
    // for it then: the outer size is kept once the frame is known, unless the window was resized
    // since.
    std::optional<QSize> wantedOuter;
    QSize givenInner;
    // The outer place asked for a shown window before its frame was known: the window system
    // took it for the place of the window itself, and the frame stands above and left of it.
    std::optional<QPoint> wantedPos;
    // How often the frame was looked for since the window showed.
    int frameLooks = 0;

    QMargins Frame() const { return frameKnown ? frame : GuessedFrame(KindOf(window)); }
    int FrameExtraWidth() const { return Frame().left() + Frame().right(); }
    int FrameExtraHeight() const { return Frame().top() + Frame().bottom(); }
    bool Wanted() const { return wantedOuter && window->size() == givenInner; }
    QSize OuterSize() const {
        if (!frameKnown && Wanted()) return *wantedOuter;
        return window->size() + QSize(FrameExtraWidth(), FrameExtraHeight());
    }
    TwipRect OuterRect() const { return TwipsOf(QRect(window->pos(), OuterSize())); }

    void ResizeOuter(QSize outer) {
        window->resize(std::max(1, outer.width() - FrameExtraWidth()),
                       std::max(1, outer.height() - FrameExtraHeight()));
        if (frameKnown) return;
        wantedOuter = outer;
        givenInner = window->size();
    }

    // A shown window's frame, once the window system reports it (a window manager frames a window
    // some time after it is shown; without one there is no frame to learn).
    void LearnFrame() {
        if (!window || !window->isVisible()) return;
        QMargins real;
        if (g_simulatedFrame) {
            real = *g_simulatedFrame;
        } else {
            const QRect outer = window->frameGeometry(), inner = window->geometry();
            real = QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                            outer.right() - inner.right(), outer.bottom() - inner.bottom());
            if (real.isNull()) {
                LookForFrameAgain();
                return;
            }
        }
        if (frameKnown && real == frame) return;
        frameKnown = true;
        frame = real;
        g_seenFrame[KindOf(window)] = real;
        if (Wanted()) ResizeOuter(*wantedOuter);
        wantedOuter.reset();
        if (wantedPos) {
            const QPoint place = *wantedPos;
            wantedPos.reset();
            if (window->pos() != place) window->move(place);
        }
        // A copy: the handler may replace itself.
        if (auto h = self.OnFramed) h();
    }

    // Where a window manager frames the windows (some window's frame was seen), a shown window's
    // frame may come without the window moving or changing its size, and so without an event that
    // would tell it: it is looked for again a few times, for two seconds at most.
    void LookForFrameAgain() {
        if (frameKnown || !window->isVisible() || !(g_seenFrame[0] || g_seenFrame[1]) || frameLooks >= 40)
            return;
        ++frameLooks;
        QTimer::singleShot(50, window, [w = window.data()] {
            if (Form* form = w->Owner()) form->Internals().LearnFrame();
        });
    }

    TwipRect WorkArea() const {
        if (g_simulatedArea) return *g_simulatedArea;
        QScreen* screen = QGuiApplication::screenAt(window->geometry().center());
        if (!screen) screen = QGuiApplication::primaryScreen();
        return screen ? TwipsOf(screen->availableGeometry()) : OuterRect();
    }

    // The window that opened this one: its owner, or the active window (an owned tool window's
    // owner when a tool bar is active).
    FormWidget* Opener() const {
        if (auto* owner = dynamic_cast<FormWidget*>(window->parentWidget())) return owner;
        auto* active = dynamic_cast<FormWidget*>(QApplication::activeWindow());
        if (active == window) return nullptr;
        if (auto* owner = active ? dynamic_cast<FormWidget*>(active->parentWidget()) : nullptr)
            active = owner;
        return active && active != window && active->isVisible() ? active : nullptr;
    }

    // Before a hidden window shows: centred over its opener when the code gave it no place, then
    // wholly on the work area.
    void PlaceOnScreen() {
        const TwipRect area = WorkArea();
        TwipRect place = OuterRect();
        if (!placed) {
            const FormWidget* opener = Opener();
            const TwipRect over = opener && opener->Owner() ? opener->Owner()->Internals().OuterRect() : area;
            place = CentreOver(place.width, place.height, over, area);
            placed = true;
        }
        const TwipRect fitted = FitInto(place, area);
        if (fitted.width != place.width || fitted.height != place.height)
            ResizeOuter(QSize(PixelsFromTwipsX(fitted.width), PixelsFromTwipsY(fitted.height)));
        window->move(PixelsFromTwipsX(fitted.left), PixelsFromTwipsY(fitted.top));
    }

    int MenuHeight() const {
        QMenuBar* bar = window->menuBar();
        return bar->isVisibleTo(window) ? bar->sizeHint().height() : 0;
    }

    bool Unload(UnloadMode mode) {
        QPointer<FormWidget> alive(window);
        bool cancel = false;
        if (auto h = self.OnQueryUnload) h(cancel, mode);
        if (cancel || !alive) return !cancel && !alive;
        if (auto h = self.OnUnload) h(cancel);
        if (cancel || !alive) return !cancel && !alive;
        loaded = false;
        // Loaded again, it opens where its code puts it, or over the window that opens it then.
        placed = false;
        window->hide();
        return true;
    }
};

void FormWidget::closeEvent(QCloseEvent* event) {
    if (!form_ || form_->Internals().Unload(UnloadMode::CloseBox))
        event->accept();
    else
        event->ignore();
}
void FormWidget::hideEvent(QHideEvent* event) {
    QMainWindow::hideEvent(event);
    if (!form_) return;
    if (QEventLoop* loop = form_->Internals().modalLoop) loop->quit();
}
void FormWidget::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!form_) return;
    form_->Internals().frameLooks = 0;
    form_->Internals().LearnFrame();
}
void FormWidget::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (form_) form_->Internals().LearnFrame();
}
void FormWidget::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (!form_) return;
    form_->Internals().LearnFrame();
    if (auto h = form_->OnResize) h();
}
void FormWidget::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        if (auto h = form_ ? form_->OnActivate : nullptr) h();
}

Form* FormOfWidget(const QWidget* widget) {
    if (!widget) return nullptr;
    auto* window = dynamic_cast<const FormWidget*>(widget->window());
    return window ? window->Owner() : nullptr;
}
QWidget* WindowWidgetOf(const Form& form) {
    return form.Internals().window;
}
QWidget* ClientWidgetOf(const Form& form) {
    return form.Internals().client;
}

Form::Form() : impl_(std::make_unique<Impl>(*this)) {
    EnsureEventHub();
    impl_->client->setMouseTracking(true);
    impl_->mouse = InstallMouseHook(
        impl_->client, MouseHandlers{&OnClick, &OnDblClick, &OnMouseDown, &OnMouseMove, &OnMouseUp}, true);
    RegisterDropTarget(impl_->client, DropTarget{&OnDragOver, &OnDragDrop});
}

Form::~Form() {
    UnregisterDropTarget(impl_->client);
    if (!impl_->window) return;
    // Owned windows are Qt children of this window: they belong to their own forms.
    for (QObject* child : impl_->window->children())
        if (auto* owned = dynamic_cast<FormWidget*>(child)) owned->setParent(nullptr);
    if (impl_->modalLoop) impl_->modalLoop->quit();
    impl_->window->Orphan();
    if (impl_->client) DetachMouseHook(impl_->mouse);
    // The window may be closing from one of its own events: it goes once that event is over.
    DisposeWhenIdle(impl_->window.data());
}

NativeWidget* Form::Handle() const {
    return ToNativeWidget(impl_->client.data());
}
Menu& Form::Menus() {
    return impl_->menus;
}

void Form::SetCaption(const std::string& caption) {
    impl_->window->setWindowTitle(ToQString(caption));
}
std::string Form::Caption() const {
    return FromQString(impl_->window->windowTitle());
}

int Form::Left() const {
    return TwipsFromPixelsX(impl_->window->x());
}
int Form::Top() const {
    return TwipsFromPixelsY(impl_->window->y());
}
int Form::Width() const {
    return TwipsFromPixelsX(impl_->OuterSize().width());
}
int Form::Height() const {
    return TwipsFromPixelsY(impl_->OuterSize().height());
}
void Form::SetLeft(int twips) {
    Move(twips, Top());
}
void Form::SetTop(int twips) {
    Move(Left(), twips);
}
void Form::SetWidth(int twips) {
    Resize(twips, Height());
}
void Form::SetHeight(int twips) {
    Resize(Width(), twips);
}
void Form::Move(int left, int top) {
    impl_->placed = true;
    const QPoint place(RoundedPixels(left, kTwipsPerPixelX), RoundedPixels(top, kTwipsPerPixelY));
    if (!impl_->frameKnown && impl_->window->isVisible())
        impl_->wantedPos = place;
    else
        impl_->wantedPos.reset();
    impl_->window->move(place);
}
void Form::Move(int left, int top, int width, int height) {
    Move(left, top);
    Resize(width, height);
}
void Form::Resize(int widthTwips, int heightTwips) {
    impl_->ResizeOuter(
        QSize(RoundedPixels(widthTwips, kTwipsPerPixelX), RoundedPixels(heightTwips, kTwipsPerPixelY)));
}
int Form::ScaleWidth() const {
    return TwipsFromPixelsX(impl_->window->width());
}
int Form::ScaleHeight() const {
    return TwipsFromPixelsY(std::max(0, impl_->window->height() - impl_->MenuHeight()));
}
void Form::SetClientSize(int widthTwips, int heightTwips) {
    impl_->wantedOuter.reset();
    impl_->window->resize(std::max(1, RoundedPixels(widthTwips, kTwipsPerPixelX)),
                          std::max(1, RoundedPixels(heightTwips, kTwipsPerPixelY) + impl_->MenuHeight()));
}
void Form::FitToContent(int marginTwips) {
    QRect content;
    for (QObject* child : impl_->client->children())
        if (auto* control = qobject_cast<QWidget*>(child);
            control && !control->isWindow() && !control->isHidden())
            content |= control->geometry();
    SetClientSize(TwipsFromPixelsX(std::max(0, content.right() + 1)) + marginTwips,
                  TwipsFromPixelsY(std::max(0, content.bottom() + 1)) + marginTwips);
}
TwipRect Form::ClientArea() const {
    const QMargins frame = impl_->Frame();
    return {Left() + TwipsFromPixelsX(frame.left()),
            Top() + TwipsFromPixelsY(frame.top() + impl_->MenuHeight()), ScaleWidth(), ScaleHeight()};
}
TwipRect Form::ScreenArea() const {
    return impl_->WorkArea();
}

bool Form::FrameKnown() const {
    return impl_->frameKnown;
}

WindowState Form::State() const {
    const Qt::WindowStates s = impl_->window->windowState();
    if (s & Qt::WindowMinimized) return WindowState::Minimised;
    if (s & Qt::WindowMaximized) return WindowState::Maximised;
    return WindowState::Normal;
}
void Form::SetState(WindowState state) {
    switch (state) {
    case WindowState::Minimised:
        impl_->window->setWindowState(Qt::WindowMinimized);
        break;
    case WindowState::Maximised:
        impl_->window->setWindowState(Qt::WindowMaximized);
        break;
    default:
        impl_->window->setWindowState(Qt::WindowNoState);
        break;
    }
}

bool Form::Loaded() const {
    return impl_->loaded;
}
void Form::Load() {
    if (impl_->loaded) return;
    impl_->loaded = true;
    if (auto h = OnLoad) h();
}
void Form::Show() {
    Load();
    if (!impl_->loaded) return; // OnLoad unloaded it again
    if (!impl_->window->isVisible()) impl_->PlaceOnScreen();
    impl_->window->show();
    RaiseWithOwned(impl_->window);
    impl_->window->activateWindow();
}
void Form::ShowInactive() {
    Load();
    if (!impl_->loaded) return;
    if (!impl_->window->isVisible()) impl_->PlaceOnScreen();
    QWidget* active = QApplication::activeWindow();
    impl_->window->setAttribute(Qt::WA_ShowWithoutActivating, true);
    impl_->window->show();
    impl_->window->raise();
    impl_->window->setAttribute(Qt::WA_ShowWithoutActivating, false);
    // Some window managers still hand the focus to a window newly mapped; give it back.
    if (active && active != impl_->window && active->isVisible()) active->activateWindow();
}
void Form::ShowModal() {
    Load();
    if (!impl_->loaded) return;
    QPointer<FormWidget> window = impl_->window;
    window->setWindowModality(Qt::ApplicationModal);
    if (!window->isVisible()) impl_->PlaceOnScreen();
    window->show();
    window->activateWindow();
    if (g_modal) {
        g_modal(*this);
        // A script never leaves a modal form waiting.
        if (window && window->isVisible()) window->hide();
    } else if (window->isVisible()) {
        QEventLoop loop;
        impl_->modalLoop = &loop;
        loop.exec();
        if (!window) return;
        impl_->modalLoop = nullptr;
    }
    if (window) window->setWindowModality(Qt::NonModal);
}
void Form::Hide() {
    impl_->window->hide();
}
bool Form::Visible() const {
    return impl_->window->isVisible();
}
bool Form::Unload() {
    if (!impl_->loaded) return true;
    return impl_->Unload(UnloadMode::Code);
}

bool Form::Close() {
    if (!impl_->window->isVisible()) return Unload();
    return impl_->window->close();
}

void Form::SetOwner(Form* owner) {
    // Made anew, a window would be hidden and framed again: nothing changes for the same owner.
    QWidget* now = impl_->window->parentWidget();
    if (owner ? now == owner->impl_->window.data() : !now) return;
    const bool shown = impl_->window->isVisible();
    const QRect geometry = impl_->window->geometry();
    if (owner)
        impl_->window->setParent(owner->impl_->window, Qt::Tool);
    else
        impl_->window->setParent(nullptr, Qt::Window);
    // A window of the other kind is framed anew.
    impl_->frameKnown = false;
    impl_->window->setGeometry(geometry);
    if (shown) impl_->window->show();
}
Form* Form::Owner() const {
    auto* owner = dynamic_cast<FormWidget*>(impl_->window->parentWidget());
    return owner ? owner->Owner() : nullptr;
}
std::vector<TwipRect> Form::OwnedWindows() const {
    std::vector<TwipRect> shown;
    for (QObject* child : impl_->window->children())
        if (auto* owned = dynamic_cast<FormWidget*>(child); owned && owned->isVisible() && owned->Owner())
            shown.push_back(owned->Owner()->Internals().OuterRect());
    return shown;
}
bool Form::KeyPreview() const {
    return impl_->keyPreview;
}
void Form::SetKeyPreview(bool preview) {
    impl_->keyPreview = preview;
}
Colour Form::BackColor() const {
    return impl_->back;
}
void Form::SetBackColor(Colour c) {
    impl_->back = c;
    const Colour r = ResolveColour(c);
    QPalette palette = impl_->client->palette();
    palette.setColor(QPalette::Window, QColor(RedOf(r), GreenOf(r), BlueOf(r)));
    impl_->client->setPalette(palette);
    impl_->client->setAutoFillBackground(true);
}
bool Form::Enabled() const {
    return impl_->window->isEnabled();
}
void Form::SetEnabled(bool enabled) {
    impl_->window->setEnabled(enabled);
}

void Form::Activate() {
    RaiseWithOwned(impl_->window);
    impl_->window->activateWindow();
    QApplication::setActiveWindow(impl_->window);
}
bool Form::IsActive() const {
    return impl_->window->isActiveWindow();
}

bool Form::PopupMenu(Menu& menu) {
    return ShowPopupMenu(menu);
}

Picture Form::Grab() const {
    return PictureAccess::FromImage(impl_->client->grab().toImage());
}

Form* ActiveForm() {
    return FormOfWidget(QApplication::activeWindow());
}

void SimulateDesktop(std::optional<TwipRect> workArea, std::optional<std::array<int, 4>> frame) {
    g_simulatedArea = workArea;
    if (frame)
        g_simulatedFrame = QMargins((*frame)[0], (*frame)[1], (*frame)[2], (*frame)[3]);
    else
        g_simulatedFrame.reset();
    g_seenFrame[0].reset();
    g_seenFrame[1].reset();
}

ModalHandler SetModalHandler(ModalHandler handler) {
    std::swap(g_modal, handler);
    return handler;
}

namespace {

QPushButton* MarkedButton(QWidget* window, const char* property) {
    for (QPushButton* button : window->findChildren<QPushButton*>())
        if (button->window() == window && button->property(property).toBool() && button->isVisible() &&
            button->isEnabled())
            return button;
    return nullptr;
}

Control* ControlAt(QWidget* widget) {
    for (QWidget* w = widget; w && !w->isWindow(); w = w->parentWidget())
        if (Control* control = ControlOfWidget(w)) return control;
    return nullptr;
}

} // namespace

// The key path of a form: the form first when it previews keys (or when nothing else has the
// focus), then the focused control, then Enter and Esc for the default and cancel buttons.
bool HandleFormKey(Form& form, QWidget* target, QKeyEvent* event) {
    Form::Impl& impl = form.Internals();
    const bool press = event->type() == QEvent::KeyPress;
    const int code = VirtualKeyOf(event->key(), event->modifiers());
    const int shift = ShiftMaskOf(event->modifiers());
    const bool formFirst = impl.keyPreview || target == impl.window || target == impl.client;
    QPointer<QWidget> alive(target);
    Control* control = ControlAt(target);

    auto keyHandler = [press](auto& owner) { return press ? owner.OnKeyDown : owner.OnKeyUp; };
    if (formFirst)
        if (auto h = keyHandler(form)) h(code, shift);
    if (!alive) return true;
    if (control)
        if (auto h = keyHandler(*control)) h(code, shift);
    if (!alive) return true;
    // Alt+F4 asks the window to close as its close box does. A window manager takes the key for
    // itself; without one the window has neither a close box nor another way to close.
    if (press && code == keys::kF4 && shift == keys::kAlt) {
        event->accept();
        form.Close();
        return true;
    }

    const std::string text = FromQString(event->text());
    if (press && !text.empty()) {
        int ascii = static_cast<unsigned char>(text[0]);
        if (formFirst)
            if (auto h = form.OnKeyPress) h(ascii);
        if (!alive) return true;
        if (ascii != 0 && control)
            if (auto h = control->OnKeyPress) h(ascii);
        if (!alive || ascii == 0) {
            event->accept();
            return true;
        }
    }

    if (!press || (code != keys::kReturn && code != keys::kEscape)) return false;
    QPushButton* button = nullptr;
    if (code == keys::kEscape) {
        button = MarkedButton(impl.window, kCancelButtonProperty);
    } else if (auto* focused = qobject_cast<QPushButton*>(target)) {
        button = focused;
    } else if (!qobject_cast<QPlainTextEdit*>(target)) {
        button = MarkedButton(impl.window, kDefaultButtonProperty);
    }
    if (!button) return false;
    event->accept();
    button->click();
    return true;
}

} // namespace platform
