#include "platform/PopupWindow.h"

#include "platform/NativeWidget.h"
#include "platform/QtPicture.h"
#include "platform/QtRuntime.h"
#include "platform/QtText.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <cstring>
#include <utility>

namespace platform {

namespace {

class PopupWidget : public QWidget {
  public:
    explicit PopupWidget(QWidget* owner)
        // A tip window is above every other window already.
        : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput |
                             Qt::WindowDoesNotAcceptFocus) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TranslucentBackground);
        setFocusPolicy(Qt::NoFocus);
    }
    QImage image;
    QImage opacity; // one byte a pixel; none when the picture is opaque
    QTimer* timer = new QTimer(this);

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        if (opacity.isNull()) {
            painter.drawImage(0, 0, image);
            return;
        }
        QImage shown = image.convertToFormat(QImage::Format_ARGB32);
        shown.setAlphaChannel(opacity);
        painter.drawImage(0, 0, shown);
    }
};

QScreen* ScreenOfPointer() {
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

ScreenPoint CursorPosition() {
    const QPoint p = QCursor::pos();
    return ScreenPoint{p.x(), p.y()};
}

TextSize ScreenSize() {
    QScreen* screen = ScreenOfPointer();
    if (!screen) return TextSize{};
    const QRect r = screen->geometry();
    return TextSize{r.width(), r.height()};
}

FontSpec StatusFont() {
    const QFont font = QApplication::font("QStatusBar");
    FontSpec spec;
    spec.face = FromQString(font.family());
    QFontInfo info(font);
    spec.pixelHeight = std::max(1, info.pixelSize());
    spec.bold = font.bold();
    spec.italic = font.italic();
    spec.underline = font.underline();
    spec.strikeout = font.strikeOut();
    return spec;
}

namespace {

// The window of the last balloon that ended, kept hidden for the next one of the same owner: a
// table shows a new balloon for every card the pointer stops on.
QPointer<PopupWidget> g_spare;

// The offscreen platform (tests, benchmarks) cannot raise windows and says so each time a tip
// window is shown; that one complaint is dropped, every other message goes on as before.
QtMessageHandler g_nextHandler = nullptr;

void DropOffscreenRaiseWarning(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message == QLatin1String("This plugin does not support raise()")) return;
    if (g_nextHandler)
        g_nextHandler(type, context, message);
    else
        qt_message_output(type, context, message);
}

PopupWidget* TakeWidget(QWidget* owner) {
    static const bool quiet = [] {
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            g_nextHandler = qInstallMessageHandler(DropOffscreenRaiseWarning);
        return true;
    }();
    (void)quiet;
    if (g_spare && g_spare->parentWidget() == owner) {
        PopupWidget* w = g_spare.data();
        g_spare = nullptr;
        return w;
    }
    return new PopupWidget(owner);
}

} // namespace

struct PopupWindow::Impl {
    QPointer<QWidget> owner;
    QPointer<PopupWidget> widget;
    QPointer<QTimer> timer; // a child of the widget: it ends with the window
    std::function<void()> elapsed;

    // A window still held when the program ends outlives the application object; the window
    // system has already let it go then.
    ~Impl() {
        if (!QCoreApplication::instance() || !widget) return;
        if (timer) {
            timer->stop();
            timer->disconnect();
        }
        widget->hide();
        if (g_spare) DisposeWhenIdle(g_spare.data());
        g_spare = widget.data();
    }
};

PopupWindow::PopupWindow(NativeWidget* owner) : impl_(std::make_unique<Impl>()) {
    impl_->owner = ToQWidget(owner);
    impl_->widget = TakeWidget(impl_->owner.data());
    impl_->timer = impl_->widget->timer;
    impl_->timer->setSingleShot(true);
    QObject::connect(impl_->timer, &QTimer::timeout, [impl = impl_.get()] {
        // Run from the event loop, out of the timer's own signal: the callback may end this window.
        std::function<void()> elapsed = impl->elapsed;
        if (elapsed) QTimer::singleShot(0, qApp, std::move(elapsed));
    });
}

PopupWindow::~PopupWindow() = default;

void PopupWindow::Show(int x, int y, const Picture& picture, const std::vector<std::uint8_t>& opacity) {
    PopupWidget* w = impl_->widget.data();
    if (!w) return;
    const int width = picture.Width(), height = picture.Height();
    QImage alpha;
    if (opacity.size() == static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        alpha = QImage(width, height, QImage::Format_Alpha8);
        for (int row = 0; row < height; ++row)
            std::memcpy(alpha.scanLine(row), opacity.data() + static_cast<std::size_t>(row) * width,
                        static_cast<std::size_t>(width));
    }
    // Shared with the picture until one of them changes; painting lays the opacity over it.
    QImage image = PictureAccess::Image(picture);
    w->image = std::move(image);
    w->opacity = std::move(alpha);
    w->setGeometry(x, y, picture.Width(), picture.Height());
    w->show();
    w->update();
}

bool PopupWindow::Visible() const {
    return impl_->widget && impl_->widget->isVisible();
}
int PopupWindow::Left() const {
    return impl_->widget ? impl_->widget->x() : 0;
}
int PopupWindow::Top() const {
    return impl_->widget ? impl_->widget->y() : 0;
}
int PopupWindow::Width() const {
    return impl_->widget ? impl_->widget->width() : 0;
}
int PopupWindow::Height() const {
    return impl_->widget ? impl_->widget->height() : 0;
}

void PopupWindow::StartTimer(int milliseconds, std::function<void()> elapsed) {
    impl_->elapsed = std::move(elapsed);
    if (impl_->timer) impl_->timer->start(std::max(0, milliseconds));
}

} // namespace platform
