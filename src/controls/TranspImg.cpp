#include "controls/TranspImg.h"

#include "common/FaultMessages.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "controls/FoxImaging.h"
#include "controls/ImageInfo.h"
#include "platform/Twips.h"
#include "state/Helpers.h"
#include "state/TableState.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <utility>

namespace controls {

namespace {

constexpr std::int64_t StoredFlag(bool value) {
    return value ? -1 : 0;
}
constexpr Colour kMagenta = platform::MakeColour(255, 0, 255);
constexpr double kTppX = platform::kTwipsPerPixelX;
constexpr double kTppY = platform::kTwipsPerPixelY;

// What a file's header says about its transparent colour, read once for each decoded picture:
// the shared picture stands for the file as it was when it was decoded, so every card showing it
// would read the same header. Pictures are told apart by their identity, which no other picture
// ever has; the few bytes of an entry stay until there are many.
struct Header {
    bool transparent = false;
    Colour colour = 0;
};
Header HeaderOf(const Picture& picture, const std::string& fileName) {
    static std::map<std::int64_t, Header> headers;
    if (auto known = headers.find(picture.Identity()); known != headers.end()) return known->second;
    if (headers.size() >= 4096) headers.clear();
    ImageInfo info;
    info.ReadImageInfo(fileName);
    const Header header{info.HasTransparency(), static_cast<Colour>(info.TranspRGB())};
    headers.emplace(picture.Identity(), header);
    return header;
}

// The side of the square frame that holds a w x h picture turned by any angle about its centre.
double FrameSide(int width, int height) {
    return std::sqrt(static_cast<double>(width) * width + static_cast<double>(height) * height) + 12.0;
}

int WholePixels(double pixels) {
    return static_cast<int>(std::clamp(std::nearbyint(pixels), 0.0, double{Picture::kMaxSide}));
}

// Whether a picture of w x h pixels may be made: a few bytes of a file can declare a picture
// whose frame alone would take hundreds of megabytes.
bool FitsThePixelLimit(double width, double height) {
    return width * height <= double{Picture::kMaxPixels};
}

// The square frame of a w x h picture may be made: a picture within the limit may still need a
// frame beyond it (1 x 8192 pixels makes a frame of 8204 x 8204).
bool FrameFits(int width, int height) {
    const double side = FrameSide(width, height);
    return FitsThePixelLimit(side, side);
}

// The first work surface, shared by every control; the others live only within one call.
Picture& WorkPicture1() {
    static Picture w1;
    return w1;
}

// Looks that many cards show alike: one file's picture turned by a quarter at its own size, or
// its square frame turned by another angle with one mask colour and quality. An entry keeps the
// decoded picture it was made from, so that the address that names it cannot come back for
// another picture while the entry lives; entries nobody shows any more are dropped whenever a
// new one is made.
struct LookKey {
    const std::uint32_t* pixels;
    int width;
    int height;
    int turn;
    Colour key;
    int quality;
    auto operator<=>(const LookKey&) const = default;
};
struct Look {
    Picture natural;
    Picture drawn;
    int left = 0;
    int top = 0;
};
std::map<LookKey, Look>& Looks() {
    static std::map<LookKey, Look> looks;
    return looks;
}

// Zoomed looks, shared in the same way: one picture (by its pixels) stretched to one size in one
// frame with one mask colour. A table of cards zoomed by their deck holds one zoomed picture per
// look rather than one per card.
struct ZoomKey {
    const std::uint32_t* pixels;
    int width;
    int height;
    int left;
    int top;
    int innerWidth;
    int innerHeight;
    int frameWidth;
    int frameHeight;
    int stretchWidth;
    int stretchHeight;
    platform::StretchMode mode;
    Colour key;
    auto operator<=>(const ZoomKey&) const = default;
};
std::map<ZoomKey, Look>& ZoomedLooks() {
    static std::map<ZoomKey, Look> looks;
    return looks;
}

// `surface` is the surface the zoom starts from: its picture, placed or not, stands for the
// picture of its whole inner size.
Picture ZoomedLook(const platform::ControlSurface& surface, int frameWidth, int frameHeight, int stretchWidth,
                   int stretchHeight, platform::StretchMode mode, Colour key) {
    const Picture& source = surface.GetPicture();
    const ZoomKey look{source.Bits(),
                       source.Width(),
                       source.Height(),
                       surface.PictureLeft(),
                       surface.PictureTop(),
                       surface.ScaleWidth(),
                       surface.ScaleHeight(),
                       frameWidth,
                       frameHeight,
                       stretchWidth,
                       stretchHeight,
                       mode,
                       key};
    auto& looks = ZoomedLooks();
    if (auto known = looks.find(look); known != looks.end()) return known->second.drawn;
    const Picture whole = surface.ShownPicture();
    Picture drawn(frameWidth, frameHeight, key);
    drawn.Stretch(0, 0, stretchWidth, stretchHeight, whole, 0, 0, whole.Width(), whole.Height(), mode);
    std::erase_if(looks, [](const auto& entry) { return !entry.second.drawn.PixelsShared(); });
    looks.emplace(look, Look{source, drawn});
    return drawn;
}

// The picture turned clockwise by q quarters, at its own size, pixel for pixel.
Picture QuarterTurned(const Picture& natural, int q) {
    const int w = natural.Width(), h = natural.Height();
    Picture turned(q % 2 ? h : w, q % 2 ? w : h);
    for (int j = 0; j < turned.Height(); ++j) {
        std::uint32_t* out = turned.Row(j);
        for (int i = 0; i < turned.Width(); ++i) {
            const int x = q == 1 ? j : q == 2 ? w - 1 - i : w - 1 - j;
            const int y = q == 1 ? h - 1 - i : q == 2 ? h - 1 - j : i;
            out[i] = natural.Row(y)[x];
        }
    }
    return turned;
}

} // namespace

void RotationCentre(int innerWidth, int innerHeight, int angle, int& cx, int& cy) {
    cx = innerWidth / 2;
    cy = innerHeight / 2;
    const bool widthEven = innerWidth % 2 == 0, heightEven = innerHeight % 2 == 0;
    switch (angle) {
    case 90:
        if (!widthEven && heightEven) ++cy;
        break;
    case 180:
        if (widthEven && heightEven) --cx;
        if (widthEven && !heightEven) {
            --cx;
            ++cy;
        }
        break;
    case 270:
        if (widthEven && heightEven) --cy;
        if (widthEven) --cx;
        break;
    default:
        break;
    }
}

TranspImg::TranspImg(platform::NativeWidget* parent) : surface_(parent) {
    surface_.SetBackStyle(0);
    surface_.SetMaskColor(0);
    surface_.SetEnabled(true);
    surface_.OnDblClick = [this] {
        if (DblClick) DblClick();
    };
    auto forward = [](auto& handler) {
        return [&handler](const platform::MouseEvent& e) {
            if (handler)
                handler(static_cast<std::int16_t>(e.button), static_cast<std::int16_t>(e.shift),
                        platform::PixelPoint{e.x, e.y});
        };
    };
    surface_.OnMouseMove = forward(MouseMove);
    surface_.OnMouseDown = forward(MouseDown);
    surface_.OnMouseUp = forward(MouseUp);
}

void TranspImg::Changed(const char* key) {
    if (PropertyChanged) PropertyChanged(key);
}

void TranspImg::BackColor(Colour c) {
    backColor_ = c;
    Changed("BackColor");
}
void TranspImg::ForeColor(Colour c) {
    foreColor_ = c;
    Changed("ForeColor");
}
void TranspImg::Font(const platform::Font& font) {
    font_ = font;
    Changed("Font");
}
void TranspImg::BorderStyle(std::int16_t style) {
    borderStyle_ = style;
    Changed("BorderStyle");
}
void TranspImg::bestResize(bool best) {
    bestResize_ = best;
    Changed("bestResize");
}
void TranspImg::useAntialias(bool smooth) {
    useAntialias_ = smooth;
    Changed("useAntialias");
}
void TranspImg::Enabled(bool enabled) {
    surface_.SetEnabled(enabled);
    Changed("Enabled");
}
void TranspImg::BackStyle(std::int16_t style) {
    surface_.SetBackStyle(style);
    Changed("BackStyle");
}

void TranspImg::SetPicture(const Picture& picture) {
    surface_.SetPicture(picture);
    surface_.SetMaskPicture(picture);
    Changed("Picture");
}

void TranspImg::SetSizePixels(double width, double height) {
    surface_.SetSizePixels(WholePixels(width), WholePixels(height));
}

void TranspImg::loadNewPicture(const std::string& fileName, bool natural, bool fit) {
    if (fileName.empty()) {
        surface_.SetPicture(Picture());
        return;
    }
    // The file is looked for only when it cannot be loaded: a table of hundreds of cards from a
    // few dozen files asks the disk about each card once, in the load.
    std::optional<Picture> picture = Picture::LoadWithin(fileName, kMaxPictureSide);
    if (!picture && !FileExists(fileName)) {
        ShowMsgOnce("picture file missing", "File " + fileName + " not found");
        return;
    }
    const bool square = !natural && !fit;
    if (!picture || (square && !FrameFits(picture->Width(), picture->Height()))) {
        // Nothing is touched: the control keeps showing what it showed.
        ShowMsgOnce("picture file broken", "File " + fileName + " cannot be shown as a picture");
        return;
    }
    const Header header = HeaderOf(*picture, fileName);
    // The pixels the file itself marks see-through show the mask colour the control will have,
    // so that they are see-through and let clicks pass as the mask colour does.
    bool seeThrough = false;
    if (std::optional<Picture> keyed = Picture::LoadWithin(
            fileName, kMaxPictureSide, header.transparent ? header.colour : Key(), seeThrough))
        picture = std::move(keyed);
    // The square and fit forms always make the control see-through on its mask colour; a picture
    // with see-through pixels of its own is shown see-through in its natural size too.
    if (seeThrough) surface_.SetBackStyle(0);
    fileName_ = fileName;
    // The header's size is the picture's; a header that says otherwise (or nothing) is not
    // believed, so that a hostile file cannot ask for a frame its picture does not fill.
    natural_ = std::move(*picture);
    naturalWidth_ = natural_.Width();
    naturalHeight_ = natural_.Height();
    transparent_ = header.transparent;
    transparentColour_ = header.colour;
    ShowStoredPicture(natural, fit);
}

void TranspImg::ShowStoredPicture(bool natural, bool fit) {
    const int w = naturalWidth_, h = naturalHeight_;
    if (natural && !fit) {
        SetSizePixels(w, h);
        surface_.SetPicture(natural_);
        if (transparent_) surface_.SetMaskColor(transparentColour_);
    } else {
        surface_.SetBackStyle(0);
        if (transparent_) surface_.SetMaskColor(transparentColour_);
        if (fit) {
            surface_.Drawing().Stretch(
                0, 0, surface_.ScaleWidth(), surface_.ScaleHeight(), natural_, 0, 0, w, h,
                bestResize_ ? platform::StretchMode::Halftone : platform::StretchMode::ColourOnColour);
        } else {
            const double d = FrameSide(w, h);
            SetSizePixels(d, d);
            ShowLook(FramedLook(0));
        }
    }
    surface_.TakeDrawingAsPicture();
    surface_.MaskWithPicture();
    if (zoom_ != 100) Zoom(zoom_);
    if (selected_) DrawSelectionHalo();
    surface_.Refresh();
}

TranspImg::PlacedLook TranspImg::FramedLook(int turn) const {
    const int w = naturalWidth_, h = naturalHeight_;
    const double d = FrameSide(w, h);
    const int side = WholePixels(d);
    // Where the unturned picture lies in its frame.
    const int ox = RoundToInt32((d - w) / 2), oy = RoundToInt32((d - h) / 2);
    // Unturned, the decoded picture itself shows, shared with every control showing the file.
    if (turn == 0) return PlacedLook{natural_, ox, oy};
    const int quality = useAntialias_ ? kFoxQualitySmooth : kFoxQualityFast;
    const LookKey key{std::as_const(natural_).Bits(), naturalWidth_, naturalHeight_, turn, Key(),
                      turn % 90 == 0 ? 0 : quality};
    auto& looks = Looks();
    if (auto known = looks.find(key); known != looks.end())
        return PlacedLook{known->second.drawn, known->second.left, known->second.top};
    Look look{natural_, Picture(), 0, 0};
    int cx = 0, cy = 0;
    RotationCentre(side, side, turn, cx, cy);
    if (turn % 90 == 0) {
        // A quarter turn of the frame about (cx, cy) moves the picture's block, turned, to a place
        // of its own: the picture is turned at its own size and placed there, as the turn of the
        // whole frame would draw it. The frame's pivot, as the turn takes it:
        const int px = side / 2, py = side - 1 - side / 2;
        const int q = turn / 90;
        look.drawn = QuarterTurned(natural_, q);
        look.left = q == 1 ? py + cx - oy - h + 1 : q == 2 ? px + cx - ox - w + 1 : oy - py + cx;
        look.top = q == 1 ? ox - px + cy : q == 2 ? py + cy - oy - h + 1 : px + cy - ox - w + 1;
    } else {
        Picture frame(side, side, Key());
        frame.Copy(ox, oy, w, h, natural_, 0, 0);
        look.drawn = Picture(side, side, Key());
        FoxRotate(look.drawn, cx, cy, side, side, frame, 0, 0, turn, Key(), quality);
    }
    std::erase_if(looks, [](const auto& entry) { return !entry.second.drawn.PixelsShared(); });
    const PlacedLook placed{look.drawn, look.left, look.top};
    looks.emplace(key, std::move(look));
    return placed;
}

void TranspImg::ShowLook(const PlacedLook& look) {
    surface_.SetPictureAt(look.picture, look.left, look.top);
}

void TranspImg::ReloadPictureOnTmpPict() {
    Picture frame;
    if (FrameFits(naturalWidth_, naturalHeight_)) {
        const PlacedLook look = FramedLook(0);
        const int side = WholePixels(FrameSide(naturalWidth_, naturalHeight_));
        frame = Picture(side, side, Key());
        frame.Copy(look.left, look.top, look.picture.Width(), look.picture.Height(), look.picture, 0, 0);
    }
    WorkPicture1() = frame;
}

void TranspImg::rotation(std::int16_t angle) {
    rotation_ = angle;
    if (fileName_.empty()) {
        // Nothing to turn yet: the next load draws the picture unturned, as a load always does.
        Changed("rotation");
        return;
    }
    // A marker turned left goes to -90, -180, ... and past -360: the same quarter turns, which
    // must land on the same pixels as their turns to the right.
    const int turn = (angle % 360 + 360) % 360;
    const bool frameFits = FrameFits(naturalWidth_, naturalHeight_);
    if (turn == 0) {
        // The picture of the file as it was loaded, in its square frame: the file is not read again.
        if (frameFits) ShowStoredPicture(false, false);
        Changed("rotation");
        return;
    }
    if (!frameFits) {
        // A picture loaded at its natural size whose frame would be too large is not turned.
        Changed("rotation");
        return;
    }
    const PlacedLook turned = FramedLook(turn);
    const int side = WholePixels(FrameSide(naturalWidth_, naturalHeight_));
    surface_.SetBackColor(MaskColor());
    surface_.SetSizePixels(side, side);
    ShowLook(turned);
    surface_.TakeDrawingAsPicture();
    if (surface_.BackStyle() == 0) surface_.MaskWithPicture();
    if (zoom_ != 100) Zoom(zoom_);
    if (selected_) DrawSelectionHalo();
    surface_.Refresh();
    Changed("rotation");
}

void TranspImg::GreyScale(bool grey) {
    greyScale_ = grey;
    if (grey) {
        Picture w1 = surface_.GetPicture();
        FoxGreyScale(surface_.Drawing(), surface_.PictureLeft(), surface_.PictureTop(), w1.Width(),
                     w1.Height(), w1, 0, 0, kMagenta, 1);
        surface_.Refresh();
    }
    Changed("GreyScale");
}

void TranspImg::zoom(std::int16_t percent) {
    if (percent < 1) return; // no size from nothing, no mirrored picture
    zoom_ = percent;
    if (fileName_.empty()) {
        Changed("zoom");
        return;
    }
    // The halo goes round the zoomed picture, not into it.
    surface_.ClearHalos();
    Zoom(percent);
    if (selected_) DrawSelectionHalo();
    Changed("zoom");
}

void TranspImg::Zoom(std::int16_t percent) {
    if (percent == 100) {
        SetSizePixels(naturalWidth_, naturalHeight_);
        surface_.SetPicture(natural_);
    } else {
        const int wi = surface_.ScaleWidth(), hi = surface_.ScaleHeight();
        double factor = percent / 100.0;
        // No surface grows beyond the largest picture: a too large zoom stops at that size.
        const int largest = std::max(wi, hi);
        if (largest > 0 && largest * factor > Picture::kMaxSide) factor = double{Picture::kMaxSide} / largest;
        if (!FitsThePixelLimit(wi * factor, hi * factor))
            factor = std::sqrt(Picture::kMaxPixels / (static_cast<double>(wi) * hi));
        const int stretchWidth = RoundToInt32(wi / 100.0 * (factor * 100.0));
        const int stretchHeight = RoundToInt32(hi / 100.0 * (factor * 100.0));
        // The control's size follows from its size in twips, as the window system keeps it.
        const float twipsWidth = static_cast<float>(surface_.Width() / 100.0 * (factor * 100.0));
        const float twipsHeight = static_cast<float>(surface_.Height() / 100.0 * (factor * 100.0));
        const int frameWidth = WholePixels(twipsWidth / kTppX),
                  frameHeight = WholePixels(twipsHeight / kTppY);
        const Picture zoomed = ZoomedLook(
            surface_, frameWidth, frameHeight, stretchWidth, stretchHeight,
            bestResize_ ? platform::StretchMode::Halftone : platform::StretchMode::ColourOnColour, Key());
        surface_.SetPicture(Picture());
        SetSizePixels(twipsWidth / kTppX, twipsHeight / kTppY);
        surface_.SetPicture(zoomed);
        surface_.TakeDrawingAsPicture();
    }
    if (surface_.BackStyle() == 0) surface_.MaskWithPicture();
    surface_.Refresh();
}

void TranspImg::MaskColor(Colour c) {
    if (surface_.BackStyle() != 0) {
        surface_.SetBackStyle(0);
        surface_.SetBackColor(c);
        surface_.MaskWithPicture();
    }
    surface_.SetMaskColor(c);
    Changed("MaskColor");
}

void TranspImg::selected(bool select) {
    if (select) {
        DrawSelectionHalo();
    } else if (selected_) {
        // The halo lies round the picture, which stays as it was: taking it away is enough.
        surface_.ClearHalos();
    }
    selected_ = select;
    Changed("selected");
}

void TranspImg::DrawSelectionHalo() {
    const int W = surface_.ScaleWidth(), H = surface_.ScaleHeight();
    // The outline is stretched by (W + 5) / (W - 1): a control under 2 pixels has none. Each
    // halo makes the control 5 pixels larger; it stops where the picture would pass the limit.
    if (W < 2 || H < 2 || !FitsThePixelLimit(W + 5, H + 5)) return;
    // Painted round the shared picture, not drawn into a copy of it.
    surface_.AddHalo(platform::ResolveColour(static_cast<Colour>(SelectionColour)));
}

void TranspImg::SetPosition(std::int16_t left, std::int16_t top) {
    const int dx = RoundToInt16((surface_.Width() / kTppX - naturalWidth_) / 2);
    const int dy = RoundToInt16((surface_.Height() / kTppY - naturalHeight_) / 2);
    surface_.Move((left - dx) * kTppX, (top - dy) * kTppY);
}

std::int32_t TranspImg::GetOriginLeft() const {
    if (fileName_.empty()) return 0;
    return RoundToInt32((surface_.Width() / kTppX - naturalWidth_) / 2 * kTppX);
}

std::int32_t TranspImg::GetOriginTop() const {
    if (fileName_.empty()) return 0;
    return RoundToInt32((surface_.Height() / kTppY - naturalHeight_) / 2 * kTppY);
}

std::int32_t TranspImg::GetRealWidth() const {
    return RoundToInt32(naturalWidth_ * kTppX);
}
std::int32_t TranspImg::GetRealHeight() const {
    return RoundToInt32(naturalHeight_ * kTppY);
}

void TranspImg::reset() {
    fileName_.clear();
    zoom_ = 100;
    rotation_ = 0;
    selected_ = false;
    natural_ = Picture();
    naturalWidth_ = 0;
    naturalHeight_ = 0;
    transparent_ = false;
    Changed("zoom");
    Changed("rotation");
    Changed("selected");
    surface_.SetBackStyle(1);
    surface_.SetMaskColor(kMagenta);
}

void TranspImg::ReadProperties(const platform::PropertyBag& bag, const platform::Font& ambient) {
    backColor_ = static_cast<Colour>(bag.ReadInt("BackColor", 0));
    foreColor_ = static_cast<Colour>(bag.ReadInt("ForeColor", 0));
    font_ = bag.ReadFont("Font", ambient);
    borderStyle_ = ClampToInt16(bag.ReadInt("BorderStyle", 0));
    rotation_ = ClampToInt16(bag.ReadInt("rotation", 0));
    greyScale_ = bag.ReadInt("GreyScale", 0) != 0;
    zoom_ = ClampToInt16(bag.ReadInt("zoom", 100));
    if (zoom_ < 1) zoom_ = 100;
    bestResize_ = bag.ReadInt("bestResize", 0) != 0;
    selected_ = bag.ReadInt("selected", 0) != 0;
    useAntialias_ = bag.ReadInt("useAntialias", 0) != 0;
    const Picture picture = bag.ReadPicture("Picture");
    SetSizePixels(std::max(picture.Width(), surface_.ScaleWidth()),
                  std::max(picture.Height(), surface_.ScaleHeight()));
    surface_.SetPicture(picture);
    surface_.SetMaskPicture(picture);
    surface_.SetMaskColor(static_cast<Colour>(bag.ReadInt("MaskColor", 0)));
    surface_.SetEnabled(bag.ReadInt("Enabled", 0) != 0);
    surface_.SetBackStyle(static_cast<int>(bag.ReadInt("BackStyle", 0)));
}

void TranspImg::WriteProperties(platform::PropertyBag& bag, const platform::Font& ambient) const {
    bag.WriteInt("BackColor", backColor_, 0);
    bag.WriteInt("ForeColor", foreColor_, 0);
    bag.WriteFont("Font", font_, ambient);
    bag.WriteInt("BorderStyle", borderStyle_, 0);
    bag.WritePicture("Picture", surface_.ShownPicture());
    bag.WriteInt("MaskColor", surface_.MaskColor(), 0);
    bag.WriteInt("rotation", rotation_, 0);
    bag.WriteInt("GreyScale", StoredFlag(greyScale_), 0);
    bag.WriteInt("zoom", zoom_, 100);
    bag.WriteInt("bestResize", StoredFlag(bestResize_), 0);
    bag.WriteInt("selected", StoredFlag(selected_), 0);
    bag.WriteInt("useAntialias", StoredFlag(useAntialias_), 0);
    bag.WriteInt("Enabled", StoredFlag(surface_.Enabled()));
    bag.WriteInt("BackStyle", surface_.BackStyle(), 0);
}

} // namespace controls
