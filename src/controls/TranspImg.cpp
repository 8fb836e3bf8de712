#include "controls/TranspImg.h"

#include "common/Messages.h"
#include "common/Numbers.h"
#include "controls/FoxImaging.h"
#include "controls/ImageInfo.h"
#include "platform/Twips.h"
#include "state/Helpers.h"
#include "state/TableState.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace controls {

namespace {

constexpr std::int64_t StoredFlag(bool value) {
    return value ? -1 : 0;
}
constexpr Colour kMagenta = platform::MakeColour(255, 0, 255);
constexpr double kTppX = platform::kTwipsPerPixelX;
constexpr double kTppY = platform::kTwipsPerPixelY;

// The side of the square frame that holds a w x h picture turned by any angle about its centre.
double FrameSide(int width, int height) {
    return std::sqrt(static_cast<double>(width) * width + static_cast<double>(height) * height) + 12.0;
}

int WholePixels(double pixels) {
    return static_cast<int>(std::clamp(std::nearbyint(pixels), 0.0, double{Picture::kMaxSide}));
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
    if (!FileExists(fileName)) {
        ShowMsg("File " + fileName + " not found");
        return;
    }
    std::optional<Picture> picture = Picture::Load(fileName);
    if (!picture) {
        // Nothing is touched: the control keeps showing what it showed.
        ShowMsg("File " + fileName + " cannot be shown as a picture");
        return;
    }
    ImageInfo info;
    info.ReadImageInfo(fileName);
    // The header's size is the picture's; a header that says otherwise (or nothing) is not
    // believed, so that a hostile file cannot ask for a frame its picture does not fill.
    const int w = picture->Width(), h = picture->Height();
    const bool transparent = info.HasTransparency();
    const Colour transparentColour = static_cast<Colour>(info.TranspRGB());

    if (natural && !fit) {
        SetSizePixels(w, h);
        surface_.SetPicture(*picture);
        if (transparent) surface_.SetMaskColor(transparentColour);
    } else {
        surface_.SetBackStyle(0);
        if (transparent) surface_.SetMaskColor(transparentColour);
        if (fit) {
            surface_.Drawing().Stretch(
                0, 0, surface_.ScaleWidth(), surface_.ScaleHeight(), *picture, 0, 0, w, h,
                bestResize_ ? platform::StretchMode::Halftone : platform::StretchMode::ColourOnColour);
        } else {
            PrepareSquareFrame(*picture, w, h);
        }
    }
    surface_.TakeDrawingAsPicture();
    surface_.SetMaskPicture(surface_.GetPicture());
    fileName_ = fileName;
    natural_ = *picture;
    naturalWidth_ = w;
    naturalHeight_ = h;
    if (zoom_ != 100) zoom(zoom_);
    if (selected_) DrawSelectionHalo();
    surface_.Refresh();
}

void TranspImg::PrepareSquareFrame(const Picture& picture, int width, int height) {
    const double d = FrameSide(width, height);
    SetSizePixels(d, d);
    Picture& drawing = surface_.Drawing();
    drawing.Fill(Key());
    drawing.Copy(RoundToInt32((d - width) / 2), RoundToInt32((d - height) / 2), width, height, picture, 0, 0);
}

void TranspImg::ReloadPictureOnTmpPict() {
    const int w = naturalWidth_, h = naturalHeight_;
    const double d = FrameSide(w, h);
    tmpPict_ = Picture(WholePixels(d), WholePixels(d), Key());
    tmpPict_.Copy(RoundToInt32((d - w) / 2), RoundToInt32((d - h) / 2), w, h, natural_, 0, 0);
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
    if (turn == 0) {
        loadNewPicture(fileName_);
        Changed("rotation");
        return;
    }
    ReloadPictureOnTmpPict();
    surface_.SetPicture(Picture());
    surface_.SetBackColor(MaskColor());
    surface_.SetSizePixels(tmpPict_.Width(), tmpPict_.Height());
    surface_.Drawing().Fill(Key());
    int cx = 0, cy = 0;
    RotationCentre(surface_.ScaleWidth(), surface_.ScaleHeight(), turn, cx, cy);
    FoxRotate(surface_.Drawing(), cx, cy, tmpPict_.Width(), tmpPict_.Height(), tmpPict_, 0, 0, turn, Key(),
              useAntialias_ ? kFoxQualitySmooth : kFoxQualityFast);
    surface_.TakeDrawingAsPicture();
    if (surface_.BackStyle() == 0) surface_.SetMaskPicture(surface_.GetPicture());
    if (zoom_ != 100) zoom(zoom_);
    if (selected_) DrawSelectionHalo();
    surface_.Refresh();
    Changed("rotation");
}

void TranspImg::GreyScale(bool grey) {
    greyScale_ = grey;
    if (grey) {
        Picture w1 = surface_.GetPicture();
        FoxGreyScale(surface_.Drawing(), 0, 0, w1.Width(), w1.Height(), w1, 0, 0, kMagenta, 1);
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
    if (percent == 100) {
        SetSizePixels(naturalWidth_, naturalHeight_);
        surface_.SetPicture(natural_);
    } else {
        const Picture w1 = surface_.GetPicture();
        const int wi = surface_.ScaleWidth(), hi = surface_.ScaleHeight();
        double factor = percent / 100.0;
        // No surface grows beyond the largest picture: a too large zoom stops at that size.
        const int largest = std::max(wi, hi);
        if (largest > 0 && largest * factor > Picture::kMaxSide) factor = double{Picture::kMaxSide} / largest;
        const int stretchWidth = RoundToInt32(wi / 100.0 * (factor * 100.0));
        const int stretchHeight = RoundToInt32(hi / 100.0 * (factor * 100.0));
        // The control's size follows from its size in twips, as the window system keeps it.
        const float twipsWidth = static_cast<float>(surface_.Width() / 100.0 * (factor * 100.0));
        const float twipsHeight = static_cast<float>(surface_.Height() / 100.0 * (factor * 100.0));
        surface_.SetPicture(Picture());
        SetSizePixels(twipsWidth / kTppX, twipsHeight / kTppY);
        surface_.Drawing().Fill(Key());
        surface_.Drawing().Stretch(0, 0, stretchWidth, stretchHeight, w1, 0, 0, w1.Width(), w1.Height(),
                                   bestResize_ ? platform::StretchMode::Halftone
                                               : platform::StretchMode::ColourOnColour);
        surface_.TakeDrawingAsPicture();
    }
    if (surface_.BackStyle() == 0) surface_.SetMaskPicture(surface_.GetPicture());
    surface_.Refresh();
    Changed("zoom");
}

void TranspImg::MaskColor(Colour c) {
    if (surface_.BackStyle() != 0) {
        surface_.SetBackStyle(0);
        surface_.SetBackColor(c);
        surface_.SetMaskPicture(surface_.GetPicture());
    }
    surface_.SetMaskColor(c);
    Changed("MaskColor");
}

void TranspImg::selected(bool select) {
    if (select) {
        DrawSelectionHalo();
    } else if (selected_) {
        selected_ = false;
        rotation(rotation_);
    }
    selected_ = select;
    Changed("selected");
}

void TranspImg::DrawSelectionHalo() {
    const int W = surface_.ScaleWidth(), H = surface_.ScaleHeight();
    // The outline is stretched by (W + 5) / (W - 1): a control under 2 pixels has none.
    if (W < 2 || H < 2) return;
    const Colour mask = Key();
    const Colour selection = platform::ResolveColour(static_cast<Colour>(SelectionColour));
    const Picture& drawing = surface_.Drawing();

    // The picture's outline (white on the picture), enlarged by 6 pixels from the top-left corner.
    Picture w1(W - 1, H - 1);
    FoxCreateFastMask(w1, 0, 0, W - 1, H - 1, drawing, 0, 0, mask, kFoxMaskInverse);
    Picture w2(W + 5, H + 5);
    w2.Stretch(0, 0, W + 5, H + 5, w1, 0, 0, W - 1, H - 1, platform::StretchMode::ColourOnColour);
    Picture w3(W + 5, H + 5);
    FoxCreateFastMask(w3, 0, 0, W + 5, H + 5, w2, 0, 0, 0, kFoxMaskForAnd);
    // The enlarged outline in the selection colour on the mask colour.
    w1 = Picture(W + 5, H + 5, selection);
    w1.Copy(0, 0, W + 5, H + 5, w2, 0, 0, platform::RasterOp::And);
    w2.Fill(mask);
    w2.Copy(0, 0, W + 5, H + 5, w3, 0, 0, platform::RasterOp::And);
    w2.Copy(0, 0, W + 5, H + 5, w1, 0, 0, platform::RasterOp::Or);
    // The picture over it at (3, 3), by the two-pass transparent copy.
    FoxCreateFastMask(w1, 0, 0, W, H, drawing, 0, 0, mask, kFoxMaskForAnd);
    w2.Copy(3, 3, W, H, w1, 0, 0, platform::RasterOp::And);
    FoxCreateFastData(w3, 0, 0, W, H, drawing, 0, 0, mask, kFoxMaskForAnd);
    w2.Copy(3, 3, W, H, w3, 0, 0, platform::RasterOp::Or);

    // The control grows by 5 pixels; what W2 does not cover stays see-through.
    surface_.SetSizePixels(W + 5, H + 5);
    Picture& target = surface_.Drawing();
    target.Fill(mask);
    target.Copy(0, 0, W + 2, H + 2, w2, 3, 3);
    surface_.TakeDrawingAsPicture();
    surface_.SetMaskPicture(surface_.GetPicture());
    surface_.Refresh();
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
    bag.WritePicture("Picture", surface_.GetPicture());
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
