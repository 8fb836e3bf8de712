#include "platform/PopupWindow.h"

#include "platform/NativeWidget.h"
#include "platform/QtPicture.h"
#include "platform/QtText.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace platform {

namespace {

class PopupWidget : public QWidget {
  public:
    explicit PopupWidget(QWidget* owner)
        : QWidget(owner, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                             Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus) {
        setAttribute(Qt::WA_ShowWithoutActivating);
        setAttribute(Qt::WA_TranslucentBackground);
        setFocusPolicy(Qt::NoFocus);
    }
    QImage image;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(0, 0, image);
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

struct PopupWindow::Impl {
    QPointer<QWidget> owner;
    QPointer<PopupWidget> widget;
    QPointer<QTimer> timer; // a child of the widget: it ends with the window
    std::function<void()> elapsed;

    // A window still held when the program ends outlives the application object; the window
    // system has already let it go then.
    ~Impl() {
        if (QCoreApplication::instance()) delete widget.data();
    }
};

PopupWindow::PopupWindow(NativeWidget* owner) : impl_(std::make_unique<Impl>()) {
    impl_->owner = ToQWidget(owner);
    impl_->widget = new PopupWidget(impl_->owner.data());
    impl_->timer = new QTimer(impl_->widget);
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
    QImage image = PictureAccess::Image(picture).convertToFormat(QImage::Format_ARGB32);
    const std::size_t count =
        static_cast<std::size_t>(image.width()) * static_cast<std::size_t>(image.height());
    if (opacity.size() == count) {
        for (int row = 0; row < image.height(); ++row) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(row));
            const std::uint8_t* alpha = opacity.data() + static_cast<std::size_t>(row) * image.width();
            for (int col = 0; col < image.width(); ++col)
                line[col] = qRgba(qRed(line[col]), qGreen(line[col]), qBlue(line[col]), alpha[col]);
        }
    }
    w->image = std::move(image);
    w->setGeometry(x, y, picture.Width(), picture.Height());
    w->show();
    w->raise();
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
