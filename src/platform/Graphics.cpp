#include "platform/Graphics.h"

#include "platform/QtPicture.h"
#include "platform/QtRuntime.h"
#include "platform/Twips.h"

#include <QFrame>
#include <QPainter>

#include <algorithm>

namespace platform {
namespace {

QColor ToQColor(Colour c) {
    c = ResolveColour(c);
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

// A widget that paints through a function of its control and lets the mouse pass.
class PaintedWidget : public QWidget {
  public:
    PaintedWidget(QWidget* parent, bool mouse) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents, !mouse);
    }
    std::function<void(QPainter&)> paint;

  protected:
    void paintEvent(QPaintEvent*) override {
        if (!paint) return;
        QPainter painter(this);
        paint(painter);
    }
};

PaintedWidget* Painted(NativeWidget* parent, bool mouse) {
    return new PaintedWidget(ToQWidget(parent), mouse);
}

} // namespace

// Shape

struct Shape::Impl {
    int kind = 0;
    Colour border = kSystemColourFlag | 8;
    int borderWidth = 1;
    bool backFilled = false;
    bool filled = false;
    Colour fill = 0;
};

Shape::Shape(NativeWidget* parent)
    : Control(ToNativeWidget(Painted(parent, false)), true), impl_(std::make_unique<Impl>()) {
    auto* widget = static_cast<PaintedWidget*>(WidgetOf(*this));
    widget->paint = [this, widget](QPainter& painter) {
        const Impl& s = *impl_;
        QRectF r = widget->rect();
        if (s.kind == 1 || s.kind == 3 || s.kind == 5) {
            const double side = std::min(r.width(), r.height());
            r = QRectF(r.center().x() - side / 2, r.center().y() - side / 2, side, side);
        }
        const double inset = s.borderWidth / 2.0;
        r.adjust(inset, inset, -inset, -inset);
        painter.setRenderHint(QPainter::Antialiasing, s.kind >= 2);
        painter.setPen(s.borderWidth > 0 ? QPen(ToQColor(s.border), s.borderWidth) : QPen(Qt::NoPen));
        auto draw = [&] {
            if (s.kind == 2 || s.kind == 3)
                painter.drawEllipse(r);
            else if (s.kind >= 4)
                painter.drawRoundedRect(r, r.width() / 10, r.height() / 10);
            else
                painter.drawRect(r);
        };
        if (s.backFilled) {
            painter.setBrush(ToQColor(BackColor()));
            draw();
        }
        painter.setBrush(s.filled ? QBrush(ToQColor(s.fill)) : QBrush(Qt::NoBrush));
        draw();
    };
}
Shape::~Shape() = default;
int Shape::Kind() const {
    return impl_->kind;
}
void Shape::SetKind(int kind) {
    impl_->kind = std::clamp(kind, 0, 5);
    Refresh();
}
Colour Shape::BorderColor() const {
    return impl_->border;
}
void Shape::SetBorderColor(Colour c) {
    impl_->border = c;
    Refresh();
}
int Shape::BorderWidth() const {
    return impl_->borderWidth;
}
void Shape::SetBorderWidth(int pixels) {
    impl_->borderWidth = std::clamp(pixels, 0, 8192);
    Refresh();
}
void Shape::SetBackStyle(int style) {
    impl_->backFilled = style != 0;
    Refresh();
}
void Shape::SetFillStyle(int style) {
    impl_->filled = style == 0;
    Refresh();
}
void Shape::SetFillColor(Colour c) {
    impl_->fill = c;
    Refresh();
}
void Shape::CopyDesign(const Control& base) {
    Control::CopyDesign(base);
    if (auto* other = dynamic_cast<const Shape*>(&base)) *impl_ = *other->impl_;
}

// Line

struct Line::Impl {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Colour border = kSystemColourFlag | 8;
    int borderWidth = 1;
};

Line::Line(NativeWidget* parent)
    : Control(ToNativeWidget(Painted(parent, false)), true), impl_(std::make_unique<Impl>()) {
    auto* widget = static_cast<PaintedWidget*>(WidgetOf(*this));
    widget->paint = [this, widget](QPainter& painter) {
        const Impl& l = *impl_;
        painter.setPen(QPen(ToQColor(l.border), l.borderWidth));
        const QPoint origin = widget->pos();
        painter.drawLine(
            QPoint(RoundedPixels(l.x1, kTwipsPerPixelX), RoundedPixels(l.y1, kTwipsPerPixelY)) - origin,
            QPoint(RoundedPixels(l.x2, kTwipsPerPixelX), RoundedPixels(l.y2, kTwipsPerPixelY)) - origin);
    };
}
Line::~Line() = default;
int Line::X1() const {
    return impl_->x1;
}
int Line::Y1() const {
    return impl_->y1;
}
int Line::X2() const {
    return impl_->x2;
}
int Line::Y2() const {
    return impl_->y2;
}
void Line::SetPoints(int x1, int y1, int x2, int y2) {
    impl_->x1 = x1;
    impl_->y1 = y1;
    impl_->x2 = x2;
    impl_->y2 = y2;
    // The widget covers the line with room for its width.
    const int pad = TwipsFromPixelsX(impl_->borderWidth + 1);
    Move(std::min(x1, x2) - pad, std::min(y1, y2) - pad, std::abs(x2 - x1) + 2 * pad,
         std::abs(y2 - y1) + 2 * pad);
    Refresh();
}
Colour Line::BorderColor() const {
    return impl_->border;
}
void Line::SetBorderColor(Colour c) {
    impl_->border = c;
    Refresh();
}
void Line::SetBorderWidth(int pixels) {
    impl_->borderWidth = std::clamp(pixels, 1, 8192);
    SetPoints(impl_->x1, impl_->y1, impl_->x2, impl_->y2);
}
void Line::CopyDesign(const Control& base) {
    Control::CopyDesign(base);
    if (auto* other = dynamic_cast<const Line*>(&base)) {
        *impl_ = *other->impl_;
        SetPoints(impl_->x1, impl_->y1, impl_->x2, impl_->y2);
    }
}

// Image

struct Image::Impl {
    Picture picture;
    bool stretch = false;
};

Image::Image(NativeWidget* parent)
    : Control(ToNativeWidget(Painted(parent, true)), true), impl_(std::make_unique<Impl>()) {
    auto* widget = static_cast<PaintedWidget*>(WidgetOf(*this));
    widget->paint = [this, widget](QPainter& painter) {
        const QImage& image = PictureAccess::Image(impl_->picture);
        if (impl_->stretch) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(widget->rect(), image);
        } else {
            painter.drawImage(0, 0, image);
        }
    };
}
Image::~Image() = default;
const Picture& Image::GetPicture() const {
    return impl_->picture;
}
void Image::SetPicture(const Picture& picture) {
    impl_->picture = picture;
    if (!impl_->stretch) WidgetOf(*this)->resize(picture.Width(), picture.Height());
    Refresh();
}
bool Image::Stretch() const {
    return impl_->stretch;
}
void Image::SetStretch(bool stretch) {
    impl_->stretch = stretch;
    SetPicture(impl_->picture);
}
void Image::CopyDesign(const Control& base) {
    Control::CopyDesign(base);
    if (auto* other = dynamic_cast<const Image*>(&base)) {
        impl_->stretch = other->impl_->stretch;
        SetPicture(other->impl_->picture);
    }
}

// PictureBox

struct PictureBox::Impl {
    Picture picture;
    Picture drawing;
    bool autoSize = false;
    int border = 0;

    QSize Inner(const QWidget* widget) const {
        return QSize(std::max(0, widget->width() - 2 * border), std::max(0, widget->height() - 2 * border));
    }
    // The drawing follows the inner size; what it gains takes the back colour.
    Picture& Sized(const QWidget* widget, Colour back) {
        const QSize inner = Inner(widget);
        if (inner.width() != drawing.Width() || inner.height() != drawing.Height())
            drawing.Resize(inner.width(), inner.height(), ResolveColour(back));
        return drawing;
    }
};

PictureBox::PictureBox(NativeWidget* parent)
    : Control(ToNativeWidget(Painted(parent, true)), true), impl_(std::make_unique<Impl>()) {
    auto* widget = static_cast<PaintedWidget*>(WidgetOf(*this));
    widget->paint = [this, widget](QPainter& painter) {
        const int b = impl_->border;
        const Picture& drawing = impl_->Sized(widget, BackColor());
        // A drawing that covers the box leaves nothing for the back colour to show.
        if (b != 0 || drawing.Width() < widget->width() || drawing.Height() < widget->height())
            painter.fillRect(widget->rect(), ToQColor(BackColor()));
        painter.drawImage(b, b, PictureAccess::Image(drawing));
        if (b) {
            painter.setPen(QPen(Qt::black, 1));
            painter.drawRect(widget->rect().adjusted(0, 0, -1, -1));
        }
    };
}
PictureBox::~PictureBox() = default;
int PictureBox::ScaleWidth() const {
    return TwipsFromPixelsX(Drawing().Width());
}
int PictureBox::ScaleHeight() const {
    return TwipsFromPixelsY(Drawing().Height());
}
void PictureBox::SetBorderStyle(int style) {
    impl_->border = style == 1 ? 1 : 0;
    Refresh();
}
void PictureBox::SetAutoSize(bool autoSize) {
    impl_->autoSize = autoSize;
    SetPicture(impl_->picture);
}
const Picture& PictureBox::GetPicture() const {
    return impl_->picture;
}
void PictureBox::SetPicture(const Picture& picture) {
    impl_->picture = picture;
    if (impl_->autoSize && !picture.IsEmpty()) {
        const int b = 2 * impl_->border;
        WidgetOf(*this)->resize(picture.Width() + b, picture.Height() + b);
    }
    Cls();
}
Picture& PictureBox::Drawing() {
    return impl_->Sized(WidgetOf(*this), BackColor());
}
const Picture& PictureBox::Drawing() const {
    return impl_->Sized(WidgetOf(*this), BackColor());
}
void PictureBox::Cls() {
    if (impl_->Inner(WidgetOf(*this)) == QSize(impl_->picture.Width(), impl_->picture.Height())) {
        // A picture that fills the box is what it shows: shared, not copied (a table's background
        // of 4000 x 3000 pixels is 48 MB), until something is drawn on it.
        impl_->drawing = impl_->picture;
        Refresh();
        return;
    }
    Drawing().Fill(ResolveColour(BackColor()));
    impl_->drawing.Copy(0, 0, impl_->picture.Width(), impl_->picture.Height(), impl_->picture, 0, 0);
    Refresh();
}
void PictureBox::CopyDesign(const Control& base) {
    Control::CopyDesign(base);
    if (auto* other = dynamic_cast<const PictureBox*>(&base)) {
        impl_->border = other->impl_->border;
        impl_->autoSize = other->impl_->autoSize;
        SetPicture(other->impl_->picture);
    }
}

} // namespace platform
