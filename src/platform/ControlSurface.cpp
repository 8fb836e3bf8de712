#include "platform/ControlSurface.h"

#include "platform/EventGuard.h"
#include "platform/NativeWidget.h"
#include "platform/QtPicture.h"
#include "platform/QtRuntime.h"
#include "platform/QtText.h"
#include "platform/Twips.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace platform {

namespace {

// The pixels of a w x h block for which shown(x, y) holds, as the window system wants a region:
// rows with the same runs make one band of rectangles, bands from top to bottom and runs from left
// to right, so that no rectangle overlaps or touches another on its row.
template <typename Shown> QRegion BandRegion(int w, int h, Shown shown) {
    std::vector<QRect> rects;
    std::vector<std::pair<int, int>> band, row; // runs [start, end) of shown pixels
    int bandTop = 0;
    auto closeBand = [&](int bottom) {
        for (auto [start, end] : band)
            rects.emplace_back(start, bandTop, end - start, bottom - bandTop);
    };
    for (int y = 0; y < h; ++y) {
        row.clear();
        for (int x = 0; x < w;) {
            while (x < w && !shown(x, y))
                ++x;
            const int start = x;
            while (x < w && shown(x, y))
                ++x;
            if (x > start) row.emplace_back(start, x);
        }
        if (row != band) {
            closeBand(y);
            band.swap(row);
            bandTop = y;
        }
    }
    closeBand(h);
    QRegion region;
    if (!rects.empty()) region.setRects(rects.data(), static_cast<int>(rects.size()));
    return region;
}

// The one rule of what a transparent surface shows, and takes clicks on, of its mask picture: a
// pixel that is neither the mask colour (`key`, as a raw pixel) nor marked see-through by the
// picture itself (its alpha byte 0; the screen ignores that byte, so the pixel keeps its colour).
constexpr bool Shows(std::uint32_t pixel, std::uint32_t key) {
    return pixel != key && (pixel >> 24) != 0;
}

// Where a w x h mask shows.
QRegion ShownRegion(const std::uint32_t* bits, int stride, int w, int h, std::uint32_t key) {
    return BandRegion(
        w, h, [&](int x, int y) { return Shows(bits[static_cast<std::ptrdiff_t>(y) * stride + x], key); });
}

// How much a halo grows its surface, a side.
constexpr int kHaloGrowth = 5;

// The most rectangles the shape of a surface that hides what lies under it may have.
constexpr int kOpaqueRects = 64;

} // namespace

class SurfaceWidget : public QWidget {
  public:
    SurfaceWidget(ControlSurface::Impl& owner, QWidget* parent) : QWidget(parent), owner_(&owner) {
        // Opaque while its shape is simple: see UpdateMask.
        setAttribute(Qt::WA_OpaquePaintEvent, true);
        // The controls' MouseMove runs whenever the pointer moves over them, button or not.
        setMouseTracking(true);
    }
    // The surface is gone; the widget waits for its events to end before it goes too.
    void Orphan() { owner_ = nullptr; }
    std::string Tag() const;
    // What it shows: changes whenever another picture is drawn or a halo painted (for the
    // window probe).
    long long Look() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    ControlSurface::Impl* owner_;
};

struct ControlSurface::Impl {
    ControlSurface& self;
    QPointer<SurfaceWidget> widget;
    // The widget as registered for drops: a parent window may delete it first.
    QWidget* dropKey = nullptr;
    // The picture, the drawing and the mask picture each lie at a place of the surface: the
    // top-left corner unless a picture was placed (SetPictureAt), in which case it is shared as
    // it is rather than copied into a picture of the surface's size.
    Picture drawing;
    Picture picture;
    Picture maskPicture;
    QPoint drawingAt;
    QPoint pictureAt;
    QPoint maskAt;
    bool picturePlaced = false;
    bool drawingPlaced = false;
    int width = 0;
    int height = 0;
    Colour maskColor = 0;
    Colour backColor = kSystemColourFlag | 15;
    int backStyle = 1;
    int pointer = 0;
    // Shown as the program wants it; a window of its own stays hidden until it is asked for.
    bool visible;
    std::string tag;
    // What the widget mask was made from, so that it is rebuilt only when that changes.
    qint64 maskKey = -1;
    Colour maskKeyColour = 0;
    int maskKeyStyle = -1;
    QSize maskKeySize;
    QPoint maskKeyAt;
    std::size_t maskKeyHalos = 0;
    bool fullyHidden = false;
    // Selection halos, innermost first: rings painted round what the surface shows, each making
    // it kHaloGrowth pixels larger, without a picture of their own.
    struct Halo {
        QRegion ring;
        Colour colour;
    };
    std::vector<Halo> halos;

    Impl(ControlSurface& owner, QWidget* parent)
        : self(owner), widget(new SurfaceWidget(*this, parent)), visible(parent != nullptr) {
        widget->resize(0, 0);
    }
    ~Impl() {
        if (!widget) return;
        widget->Orphan();
        DisposeWhenIdle(widget.data());
    }

    Colour Back() const { return ResolveColour(backColor); }

    // The size of what is drawn: the surface without its halos.
    int InnerWidth() const { return width - kHaloGrowth * static_cast<int>(halos.size()); }
    int InnerHeight() const { return height - kHaloGrowth * static_cast<int>(halos.size()); }

    void Resize(int width, int height) {
        halos.clear();
        width = std::clamp(width, 0, Picture::kMaxSide);
        height = std::clamp(height, 0, Picture::kMaxSide);
        this->width = width;
        this->height = height;
        if (widget) widget->resize(width, height);
        // A placed drawing stays where it lies; what it does not cover shows nothing.
        if (!drawingPlaced) drawing.Resize(width, height, Back());
        UpdateMask();
        Update();
        if (self.OnResize) self.OnResize();
    }

    // A ring in `colour` round every pixel shown now: the shown pixels stretched from (w - 1) to
    // (w + 5) columns and rows, where nothing shows yet. The ring is kept as a region, so a
    // selected card holds no picture beyond the one it shares with the cards showing its look.
    void AddHalo(Colour colour) {
        const int w = width, h = height;
        if (w < 2 || h < 2 || w + kHaloGrowth > Picture::kMaxSide || h + kHaloGrowth > Picture::kMaxSide)
            return;
        // What shows now, as the drawing and the rings say: the key colour of the drawing does not.
        std::vector<std::uint8_t> shown(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
        const std::uint32_t key = Picture::PixelOf(ResolveColour(maskColor));
        const int left = std::max(drawingAt.x(), 0), top = std::max(drawingAt.y(), 0);
        const int right = std::min(drawingAt.x() + drawing.Width(), w);
        const int bottom = std::min(drawingAt.y() + drawing.Height(), h);
        for (int y = top; y < bottom; ++y) {
            const std::uint32_t* row = std::as_const(drawing).Row(y - drawingAt.y());
            std::uint8_t* out = shown.data() + static_cast<std::ptrdiff_t>(y) * w;
            for (int x = left; x < right; ++x)
                out[x] = Shows(row[x - drawingAt.x()], key);
        }
        for (const Halo& halo : halos)
            for (const QRect& r : halo.ring)
                for (int y = r.top(); y <= r.bottom(); ++y)
                    std::fill_n(shown.data() + static_cast<std::ptrdiff_t>(y) * w + r.left(), r.width(), 1);
        std::vector<int> columns(static_cast<std::size_t>(w + 2)), rows(static_cast<std::size_t>(h + 2));
        for (int x = 0; x < w + 2; ++x)
            columns[static_cast<std::size_t>(x)] =
                static_cast<int>(static_cast<long long>(x + 3) * (w - 1) / (w + 5));
        for (int y = 0; y < h + 2; ++y)
            rows[static_cast<std::size_t>(y)] =
                static_cast<int>(static_cast<long long>(y + 3) * (h - 1) / (h + 5));
        auto at = [&](int x, int y) {
            return shown[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) +
                         static_cast<std::size_t>(x)] != 0;
        };
        QRegion ring = BandRegion(w + 2, h + 2, [&](int x, int y) {
            if (x < w && y < h && at(x, y)) return false;
            return at(columns[static_cast<std::size_t>(x)], rows[static_cast<std::size_t>(y)]);
        });
        halos.push_back(Halo{std::move(ring), colour});
        Grown(w + kHaloGrowth, h + kHaloGrowth);
    }

    void ClearHalos() {
        if (halos.empty()) return;
        const int w = InnerWidth(), h = InnerHeight();
        halos.clear();
        Grown(w, h);
    }

    // The halos changed the surface's size; what is drawn stays as it is.
    void Grown(int width, int height) {
        this->width = width;
        this->height = height;
        if (widget) widget->resize(width, height);
        UpdateMask();
        Update();
        if (self.OnResize) self.OnResize();
    }

    bool InHalo(int x, int y) const {
        return std::any_of(halos.begin(), halos.end(),
                           [&](const Halo& h) { return h.ring.contains(QPoint(x, y)); });
    }

    void Redraw() {
        if (picturePlaced || (picture.Width() == InnerWidth() && picture.Height() == InnerHeight())) {
            // A placed picture, or one that covers the whole surface, is what it shows: it is
            // shared, not copied, so hundreds of cards showing one look hold one copy of it until
            // one draws on its own.
            drawing = picture;
            drawingAt = pictureAt;
            drawingPlaced = picturePlaced;
        } else {
            if (drawingPlaced || drawing.Width() != InnerWidth() || drawing.Height() != InnerHeight())
                drawing = Picture(InnerWidth(), InnerHeight());
            drawingAt = QPoint();
            drawingPlaced = false;
            drawing.Fill(Back());
            drawing.Copy(0, 0, picture.Width(), picture.Height(), picture, 0, 0);
        }
        Update();
    }

    // What shows round a placed picture (and round the drawing within a halo): nothing with
    // back style 0, so the key colour, else the back colour.
    Colour Surround() const { return backStyle == 0 ? ResolveColour(maskColor) : Back(); }

    // `p` lying at `at`, as a picture of the surface's inner size.
    Picture Composed(const Picture& p, QPoint at) const {
        if (at.isNull() && p.Width() == InnerWidth() && p.Height() == InnerHeight()) return p;
        Picture whole(InnerWidth(), InnerHeight(), Surround());
        whole.Copy(at.x(), at.y(), p.Width(), p.Height(), p, 0, 0);
        return whole;
    }

    // A drawing to draw on is one of the surface's size.
    void Unplace() {
        if (!drawingPlaced) return;
        drawing = Composed(drawing, drawingAt);
        drawingAt = QPoint();
        drawingPlaced = false;
    }

    void Update() {
        if (widget) widget->update();
    }

    void ApplyVisibility() {
        if (widget) widget->setVisible(visible && !fullyHidden);
    }

    void UpdateMask() {
        if (!widget) return;
        QSize size(width, height);
        qint64 key = PictureAccess::Image(maskPicture).cacheKey();
        if (key == maskKey && maskColor == maskKeyColour && backStyle == maskKeyStyle &&
            size == maskKeySize && halos.size() == maskKeyHalos && maskAt == maskKeyAt)
            return;
        maskKeyAt = maskAt;
        maskKey = key;
        maskKeyColour = maskColor;
        maskKeyStyle = backStyle;
        maskKeySize = size;
        maskKeyHalos = halos.size();
        bool hideAll = false;
        if (backStyle != 0) {
            widget->clearMask();
            widget->setAttribute(Qt::WA_OpaquePaintEvent, true);
        } else {
            const int w = std::clamp(InnerWidth() - maskAt.x(), 0, maskPicture.Width());
            const int h = std::clamp(InnerHeight() - maskAt.y(), 0, maskPicture.Height());
            const std::uint32_t key32 = Picture::PixelOf(ResolveColour(maskColor));
            // Read through a const view: asking a shared picture for writable pixels copies it.
            const std::uint32_t* maskBits = std::as_const(maskPicture).Bits();
            const int stride = maskPicture.Stride();
            bool any = false;
            if (!widget->parentWidget()) {
                // A window of its own is not shaped (only a child lets its parent show through):
                // it only needs to know whether anything shows at all.
                any = !halos.empty();
                for (int y = 0; y < h && !any; ++y) {
                    const std::uint32_t* row = maskBits + static_cast<std::ptrdiff_t>(y) * stride;
                    any = std::find_if(row, row + w, [key32](std::uint32_t p) { return Shows(p, key32); }) !=
                          row + w;
                }
            } else {
                QRegion shown = ShownRegion(maskBits, stride, w, h, key32).translated(maskAt);
                for (const Halo& halo : halos)
                    shown += halo.ring;
                any = !shown.isEmpty();
                if (any) widget->setMask(shown);
                // Every paint covers all the surface shows, so the window system may leave out
                // what lies under it: the table's background and the parts of cards that a card
                // hides are not painted only to be painted over. It does so by joining the shapes
                // of every opaque surface of the window anew whenever one moves, which costs
                // little for a card's few rectangles and a great deal for the outline of a text
                // label's glyphs: such a surface lets what lies under it be painted instead.
                widget->setAttribute(Qt::WA_OpaquePaintEvent, shown.rectCount() <= kOpaqueRects);
            }
            // An empty mask would mean no mask at all to the window system: hide instead.
            hideAll = !any;
        }
        if (hideAll != fullyHidden) {
            fullyHidden = hideAll;
            ApplyVisibility();
        }
    }

    MouseEvent EventOf(QMouseEvent* e, Qt::MouseButton button) const {
        MouseEvent m;
        m.button = button == Qt::NoButton ? ButtonsMaskOf(e->buttons()) : ButtonMaskOf(button);
        m.shift = ShiftMaskOf(e->modifiers());
        m.x = static_cast<float>(e->position().x());
        m.y = static_cast<float>(e->position().y());
        return m;
    }
};

std::string SurfaceWidget::Tag() const {
    return owner_ ? owner_->tag : std::string();
}
long long SurfaceWidget::Look() const {
    if (!owner_) return 0;
    // A sample of the pixels: a picture drawn in place keeps its image, so the image's identity
    // would not tell.
    const Picture& drawing = owner_->drawing;
    const std::uint32_t* bits = drawing.Bits();
    const long long count = static_cast<long long>(drawing.Stride()) * drawing.Height();
    unsigned long long hash = 1469598103934665603ULL;
    for (long long i = 0; bits && i < count; i += 7)
        hash = (hash ^ bits[i]) * 1099511628211ULL;
    // Where the drawing lies, and the halos painted round it, are part of the look.
    auto mix = [&hash](std::uint64_t v) { hash = (hash ^ v) * 1099511628211ULL; };
    mix(static_cast<std::uint32_t>(owner_->drawingAt.x()));
    mix(static_cast<std::uint32_t>(owner_->drawingAt.y()));
    for (const ControlSurface::Impl::Halo& halo : owner_->halos)
        mix(0x100000000ULL | halo.colour);
    return static_cast<long long>(hash >> 1);
}

void SurfaceWidget::paintEvent(QPaintEvent*) {
    if (!owner_) return;
    QPainter painter(this);
    const Picture& drawing = owner_->drawing;
    const QPoint at = owner_->drawingAt;
    if (!at.isNull() || drawing.Width() < width() || drawing.Height() < height()) {
        // Round a placed picture or a halo, the key colour shows as it would in a picture of the
        // whole surface (and the mask hides it).
        const bool keyed = owner_->drawingPlaced || !owner_->halos.empty();
        Colour back = keyed ? owner_->Surround() : owner_->Back();
        painter.fillRect(rect(), QColor(RedOf(back), GreenOf(back), BlueOf(back)));
    }
    painter.drawImage(at, PictureAccess::Image(drawing));
    for (const ControlSurface::Impl::Halo& halo : owner_->halos) {
        const Colour c = ResolveColour(halo.colour);
        for (const QRect& r : halo.ring)
            painter.fillRect(r, QColor(RedOf(c), GreenOf(c), BlueOf(c)));
    }
}

void SurfaceWidget::mousePressEvent(QMouseEvent* e) {
    if (!owner_) return;
    if (auto h = owner_->self.OnMouseDown) {
        const MouseEvent m = owner_->EventOf(e, e->button());
        RunGuarded("MouseDown", [&] { h(m); });
    }
}
void SurfaceWidget::mouseMoveEvent(QMouseEvent* e) {
    if (!owner_) return;
    if (auto h = owner_->self.OnMouseMove) {
        const MouseEvent m = owner_->EventOf(e, Qt::NoButton);
        RunGuarded("MouseMove", [&] { h(m); });
    }
}
void SurfaceWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (!owner_) return;
    MouseEvent m = owner_->EventOf(e, e->button());
    bool inside = rect().contains(e->position().toPoint());
    // Handlers may destroy this surface; keep what is needed on the stack.
    auto onUp = owner_->self.OnMouseUp;
    auto onClick = owner_->self.OnClick;
    if (onUp) RunGuarded("MouseUp", [&] { onUp(m); });
    if (inside && m.button == 1 && onClick) RunGuarded("Click", [&] { onClick(); });
}
void SurfaceWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    if (!owner_) return;
    // Only the left button double-clicks; a second quick press of another button is a press like
    // the first (a player who closes a card's menu and right-clicks again at once gets the menu).
    if (e->button() != Qt::LeftButton) return mousePressEvent(e);
    if (auto h = owner_->self.OnDblClick) RunGuarded("DblClick", [&] { h(); });
}
void SurfaceWidget::enterEvent(QEnterEvent*) {
    if (!owner_) return;
    if (auto h = owner_->self.OnMouseEnter)
        RunGuarded("MouseEnter", [&] { h(ShiftMaskOf(QGuiApplication::keyboardModifiers())); });
}
void SurfaceWidget::leaveEvent(QEvent*) {
    if (!owner_) return;
    if (auto h = owner_->self.OnMouseLeave) RunGuarded("MouseLeave", [&] { h(); });
}
void SurfaceWidget::keyPressEvent(QKeyEvent* e) {
    if (!owner_) return;
    const int code = VirtualKeyOf(e->key(), e->modifiers());
    const int shift = ShiftMaskOf(e->modifiers());
    // A key press may close the control; keep the handlers on the stack.
    auto onDown = owner_->self.OnKeyDown;
    auto onPress = owner_->self.OnKeyPress;
    if (!onDown && !onPress) {
        e->ignore(); // the window holding the surface sees the key
        return;
    }
    if (onDown && code != 0) onDown(code, shift);
    int ascii = code == 13 || code == 27 || code == 8 ? code : 0;
    if (ascii == 0 && !e->text().isEmpty()) {
        const std::string typed = FromQString(e->text());
        ascii = typed.empty() ? 0 : static_cast<unsigned char>(typed[0]);
    }
    if (onPress && ascii != 0) onPress(ascii);
}
void SurfaceWidget::keyReleaseEvent(QKeyEvent* e) {
    // The window system repeats a held key with key downs alone.
    if (!owner_ || e->isAutoRepeat()) return;
    auto onUp = owner_->self.OnKeyUp;
    if (!onUp) {
        e->ignore();
        return;
    }
    const int code = VirtualKeyOf(e->key(), e->modifiers());
    if (code != 0) onUp(code, ShiftMaskOf(e->modifiers()));
}
void SurfaceWidget::focusInEvent(QFocusEvent*) {
    if (!owner_) return;
    if (auto h = owner_->self.OnGotFocus) h();
}
void SurfaceWidget::focusOutEvent(QFocusEvent*) {
    if (!owner_) return;
    if (auto h = owner_->self.OnLostFocus) h();
}

ControlSurface::ControlSurface(NativeWidget* parent)
    : impl_(std::make_unique<Impl>(*this, ToQWidget(parent))) {
    EnsureEventHub();
    impl_->dropKey = impl_->widget;
    RegisterDropTarget(impl_->dropKey, DropTarget{&OnDragOver, &OnDragDrop});
    if (parent) impl_->widget->show();
}
ControlSurface::~ControlSurface() {
    UnregisterDropTarget(impl_->dropKey);
    if (DragSource() == impl_->dropKey) CancelDrag();
}

void ControlSurface::Drag() {
    if (impl_->widget) BeginDrag(impl_->widget);
}

NativeWidget* ControlSurface::Handle() const {
    return ToNativeWidget(impl_->widget.data());
}

void ControlSurface::SetContainer(NativeWidget* parent) {
    QWidget* container = ToQWidget(parent);
    if (!impl_->widget || !container || impl_->widget->parentWidget() == container) return;
    const QPoint at = impl_->widget->pos();
    impl_->widget->setParent(container);
    impl_->widget->move(at);
    impl_->ApplyVisibility();
}

int ControlSurface::Left() const {
    return impl_->widget ? TwipsFromPixelsX(impl_->widget->x()) : 0;
}
int ControlSurface::Top() const {
    return impl_->widget ? TwipsFromPixelsY(impl_->widget->y()) : 0;
}
int ControlSurface::Width() const {
    return TwipsFromPixelsX(impl_->width);
}
int ControlSurface::Height() const {
    return TwipsFromPixelsY(impl_->height);
}
int ControlSurface::ScaleWidth() const {
    return impl_->width;
}
int ControlSurface::ScaleHeight() const {
    return impl_->height;
}

void ControlSurface::SetLeft(double twips) {
    if (impl_->widget) impl_->widget->move(RoundedPixels(twips, kTwipsPerPixelX), impl_->widget->y());
}
void ControlSurface::SetTop(double twips) {
    if (impl_->widget) impl_->widget->move(impl_->widget->x(), RoundedPixels(twips, kTwipsPerPixelY));
}
void ControlSurface::SetWidth(double twips) {
    impl_->Resize(RoundedPixels(twips, kTwipsPerPixelX), impl_->height);
}
void ControlSurface::SetHeight(double twips) {
    impl_->Resize(impl_->width, RoundedPixels(twips, kTwipsPerPixelY));
}
void ControlSurface::Move(double left, double top) {
    // One move: a dragged control repaints its old and new place once, not twice.
    if (impl_->widget)
        impl_->widget->move(RoundedPixels(left, kTwipsPerPixelX), RoundedPixels(top, kTwipsPerPixelY));
}
void ControlSurface::Move(double left, double top, double width, double height) {
    Move(left, top);
    impl_->Resize(RoundedPixels(width, kTwipsPerPixelX), RoundedPixels(height, kTwipsPerPixelY));
}
void ControlSurface::SetSizePixels(int width, int height) {
    impl_->Resize(width, height);
}

bool ControlSurface::Visible() const {
    return impl_->visible;
}
void ControlSurface::SetVisible(bool visible) {
    impl_->visible = visible;
    impl_->ApplyVisibility();
}
bool ControlSurface::Enabled() const {
    return impl_->widget && impl_->widget->isEnabled();
}
void ControlSurface::SetEnabled(bool enabled) {
    if (impl_->widget) impl_->widget->setEnabled(enabled);
}
void ControlSurface::BringToFront() {
    if (impl_->widget) impl_->widget->raise();
}
void ControlSurface::SendToBack() {
    if (impl_->widget) impl_->widget->lower();
}
std::string ControlSurface::Tag() const {
    return impl_->tag;
}
void ControlSurface::SetTag(const std::string& tag) {
    impl_->tag = tag;
}
std::string ControlSurface::ToolTipText() const {
    return impl_->widget ? FromQString(impl_->widget->toolTip()) : std::string();
}
namespace {

int g_busy = 0;

Qt::CursorShape ShapeOf(int shape) {
    switch (shape) {
    case 1:
        return Qt::ArrowCursor;
    case 2:
        return Qt::CrossCursor;
    case 3:
        return Qt::IBeamCursor;
    case 5:
    case 15:
        return Qt::SizeAllCursor;
    case 6:
        return Qt::SizeBDiagCursor;
    case 7:
        return Qt::SizeVerCursor;
    case 8:
        return Qt::SizeFDiagCursor;
    case 9:
        return Qt::SizeHorCursor;
    case 10:
        return Qt::UpArrowCursor;
    case 11:
        return Qt::WaitCursor;
    case 12:
        return Qt::ForbiddenCursor;
    case 13:
        return Qt::BusyCursor;
    case 14:
        return Qt::WhatsThisCursor;
    default:
        return Qt::ArrowCursor;
    }
}

} // namespace

BusyPointer::BusyPointer() {
    if (g_busy++ == 0 && qApp) QApplication::setOverrideCursor(Qt::WaitCursor);
}
BusyPointer::~BusyPointer() {
    if (--g_busy == 0 && qApp) QApplication::restoreOverrideCursor();
}
bool BusyPointer::Shown() {
    return g_busy > 0;
}

void ControlSurface::SetMousePointer(int shape, const Picture& icon) {
    impl_->pointer = shape;
    if (!impl_->widget) return;
    if (shape == 99 && !icon.IsEmpty())
        impl_->widget->setCursor(QCursor(QPixmap::fromImage(PictureAccess::Image(icon))));
    else if (shape <= 0 || shape > 15 || shape == 4)
        impl_->widget->unsetCursor();
    else
        impl_->widget->setCursor(ShapeOf(shape));
}
int ControlSurface::MousePointer() const {
    return impl_->pointer;
}

void ControlSurface::SetToolTipText(const std::string& text) {
    if (impl_->widget) impl_->widget->setToolTip(ToQString(text));
}

std::string ControlSurface::Name() const {
    return impl_->widget ? FromQString(impl_->widget->objectName()) : std::string();
}
void ControlSurface::SetName(const std::string& name) {
    if (impl_->widget) impl_->widget->setObjectName(ToQString(name));
}
void ControlSurface::SetAccessibleText(const std::string& text) {
    if (impl_->widget) impl_->widget->setAccessibleName(ToQString(text));
}

bool IsSurfaceWidget(const QWidget* widget, std::string* tag, long long* look) {
    auto* surface = dynamic_cast<const SurfaceWidget*>(widget);
    if (!surface) return false;
    if (tag) *tag = surface->Tag();
    if (look) *look = surface->Look();
    return true;
}

Picture& ControlSurface::Drawing() {
    impl_->Unplace();
    return impl_->drawing;
}
const Picture& ControlSurface::Drawing() const {
    return impl_->drawing;
}
void ControlSurface::Refresh() {
    impl_->Update();
}
void ControlSurface::RefreshNow() {
    if (impl_->widget && impl_->widget->isVisible()) impl_->widget->repaint();
}
void ControlSurface::SetTakesFocus(bool takes) {
    if (impl_->widget) impl_->widget->setFocusPolicy(takes ? Qt::StrongFocus : Qt::NoFocus);
}
bool ControlSurface::HasFocus() const {
    return impl_->widget && impl_->widget->hasFocus();
}
void ControlSurface::SetFocus() {
    if (!impl_->widget) return;
    // The focus goes to a control of the active window only: its window comes forward first.
    if (impl_->widget->isVisible()) impl_->widget->window()->activateWindow();
    impl_->widget->setFocus(Qt::OtherFocusReason);
}
void ControlSurface::Clear() {
    impl_->Redraw();
}

const Picture& ControlSurface::GetPicture() const {
    return impl_->picture;
}
void ControlSurface::SetPicture(const Picture& picture) {
    impl_->picture = picture;
    impl_->pictureAt = QPoint();
    impl_->picturePlaced = false;
    impl_->Redraw();
}
void ControlSurface::SetPictureAt(const Picture& picture, int left, int top) {
    impl_->picture = picture;
    impl_->pictureAt = QPoint(left, top);
    impl_->picturePlaced = true;
    impl_->Redraw();
}
int ControlSurface::PictureLeft() const {
    return impl_->pictureAt.x();
}
int ControlSurface::PictureTop() const {
    return impl_->pictureAt.y();
}
Picture ControlSurface::ShownPicture() const {
    return impl_->picturePlaced ? impl_->Composed(impl_->picture, impl_->pictureAt) : impl_->picture;
}
Picture ControlSurface::ShownDrawing() const {
    return impl_->drawingPlaced ? impl_->Composed(impl_->drawing, impl_->drawingAt) : impl_->drawing;
}
void ControlSurface::TakeDrawingAsPicture() {
    impl_->picture = impl_->drawing;
    impl_->pictureAt = impl_->drawingAt;
    impl_->picturePlaced = impl_->drawingPlaced;
}

const Picture& ControlSurface::MaskPicture() const {
    return impl_->maskPicture;
}
void ControlSurface::SetMaskPicture(const Picture& picture) {
    impl_->maskPicture = picture;
    impl_->maskAt = QPoint();
    impl_->UpdateMask();
}
void ControlSurface::MaskWithPicture() {
    impl_->maskPicture = impl_->picture;
    impl_->maskAt = impl_->pictureAt;
    impl_->UpdateMask();
}
Colour ControlSurface::MaskColor() const {
    return impl_->maskColor;
}
void ControlSurface::SetMaskColor(Colour c) {
    impl_->maskColor = c;
    impl_->UpdateMask();
}
int ControlSurface::BackStyle() const {
    return impl_->backStyle;
}
void ControlSurface::SetBackStyle(int style) {
    impl_->backStyle = style == 0 ? 0 : 1;
    impl_->UpdateMask();
    impl_->Update();
}
Colour ControlSurface::BackColor() const {
    return impl_->backColor;
}
void ControlSurface::SetBackColor(Colour c) {
    impl_->backColor = c;
    impl_->Redraw();
}

bool ControlSurface::ShowsPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= impl_->width || y >= impl_->height) return false;
    if (impl_->backStyle != 0) return true;
    if (impl_->InHalo(x, y)) return true;
    if (x >= impl_->InnerWidth() || y >= impl_->InnerHeight()) return false;
    const int mx = x - impl_->maskAt.x(), my = y - impl_->maskAt.y();
    const Picture& mask = impl_->maskPicture;
    if (mx < 0 || my < 0 || mx >= mask.Width() || my >= mask.Height()) return false;
    return Shows(mask.Row(my)[mx], Picture::PixelOf(ResolveColour(impl_->maskColor)));
}

void ControlSurface::AddHalo(Colour colour) {
    impl_->AddHalo(colour);
}
void ControlSurface::ClearHalos() {
    impl_->ClearHalos();
}
int ControlSurface::HaloCount() const {
    return static_cast<int>(impl_->halos.size());
}

Picture ControlSurface::Grab() const {
    if (!impl_->widget || impl_->width == 0 || impl_->height == 0) return Picture();
    return PictureAccess::FromImage(impl_->widget->grab().toImage());
}

void ClickAt(ControlSurface& window, int x, int y) {
    MouseAt(window, MouseAction::Press, x, y);
    MouseAt(window, MouseAction::Release, x, y);
}

void MouseAt(ControlSurface& window, MouseAction action, int x, int y, int button) {
    // The buttons held between a press and its release, as the window system remembers them.
    static Qt::MouseButtons held;
    QWidget* widget = ToQWidget(window.Handle());
    if (!widget) return;
    widget = widget->window();
    if (!widget->isVisible()) widget->show();
    QWindow* handle = widget->windowHandle();
    if (!handle) return;
    const Qt::MouseButton qtButton = button == 2   ? Qt::RightButton
                                     : button == 4 ? Qt::MiddleButton
                                                   : Qt::LeftButton;
    QPointF local(x, y);
    QPointF global = widget->mapToGlobal(local);
    // The window system tells a window first that the pointer came over it; the window passes
    // that on to the surface under the pointer.
    static QPointer<QWindow> pointerWindow;
    if (pointerWindow != handle) {
        if (pointerWindow) {
            QEvent leave(QEvent::Leave);
            QApplication::sendEvent(pointerWindow, &leave);
        }
        pointerWindow = handle;
        QEnterEvent enter(local, local, global);
        QApplication::sendEvent(handle, &enter);
    }
    QEvent::Type type = QEvent::MouseMove;
    Qt::MouseButton changed = Qt::NoButton;
    switch (action) {
    case MouseAction::Press:
        type = QEvent::MouseButtonPress;
        changed = qtButton;
        held |= qtButton;
        break;
    case MouseAction::Move:
        break;
    case MouseAction::Release:
        type = QEvent::MouseButtonRelease;
        changed = qtButton;
        held &= ~Qt::MouseButtons(qtButton);
        break;
    }
    QMouseEvent event(type, local, global, changed, held, Qt::NoModifier);
    QApplication::sendEvent(handle, &event);
}

void KeyAt(ControlSurface& surface, KeyAction action, int keyCode) {
    QWidget* widget = ToQWidget(surface.Handle());
    if (!widget) return;
    bool keypad = false;
    int key = QtKeyOf(keyCode, keypad);
    QString text = keyCode >= 0x20 && keyCode < 0x7F ? QString(QChar(keyCode)) : QString();
    if (keyCode == 13) text = QStringLiteral("\r");
    if (keyCode == 27) text = QString(QChar(27));
    const bool up = action == KeyAction::Up;
    QKeyEvent event(up ? QEvent::KeyRelease : QEvent::KeyPress, key,
                    keypad ? Qt::KeypadModifier : Qt::NoModifier, text, action == KeyAction::Repeat);
    QApplication::sendEvent(widget, &event);
}

} // namespace platform
