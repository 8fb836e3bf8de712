#include "controls/cpvButton.h"

#include "controls/Module.h"
#include "platform/TextBox.h"
#include "platform/Twips.h"

#include <algorithm>
#include <limits>

namespace controls {

namespace {

using platform::Colour;

constexpr Colour kButtonFace = platform::kSystemColourFlag | 15;
constexpr Colour kButtonText = platform::kSystemColourFlag | 18;
constexpr Colour kBlack = 0;

constexpr std::int64_t StoredFlag(bool value) {
    return value ? -1 : 0;
}

// A one-pixel outline with both corners included; what falls outside the picture is cut.
void Box(platform::Picture& d, int x1, int y1, int x2, int y2, Colour c) {
    d.FillRect(x1, y1, x2 - x1 + 1, 1, c);
    d.FillRect(x1, y2, x2 - x1 + 1, 1, c);
    d.FillRect(x1, y1, 1, y2 - y1 + 1, c);
    d.FillRect(x2, y1, 1, y2 - y1 + 1, c);
}

// Dotted one-pixel lines that invert what lies below them, so that drawing the rectangle twice
// takes it away again.
void FocusRect(platform::Picture& d, const PixelRect& r) {
    auto invert = [&d](int x, int y) {
        const Colour c = d.GetPixel(x, y);
        if (c != platform::Picture::kNoPixel) d.SetPixel(x, y, c ^ 0xFFFFFF);
    };
    for (int x = r.left; x < r.right; x += 2) {
        invert(x, r.top);
        if (r.bottom - 1 > r.top) invert(x, r.bottom - 1);
    }
    for (int y = r.top + 2; y < r.bottom - 1; y += 2) {
        invert(r.left, y);
        if (r.right - 1 > r.left) invert(r.right - 1, y);
    }
}

// Half of a length, rounded down also when it is negative (a picture larger than the button).
int FloorHalf(int v) {
    return v >= 0 ? v / 2 : -((1 - v) / 2);
}

Colour WithLightness(float h, float s, float l) {
    std::int32_t r, g, b;
    HSLToRGB(h, s, l, r, g, b);
    return platform::MakeColour(r, g, b);
}

} // namespace

cpvButton::cpvButton(platform::NativeWidget* parent)
    : surface_(parent), buttonColor_(kButtonFace), fontColor_(kButtonText), maskColor_(kButtonFace) {
    surface_.SetBackStyle(1);
    surface_.SetTakesFocus(true);
    surface_.OnMouseDown = [this](const platform::MouseEvent& e) { OnDown(e); };
    surface_.OnMouseUp = [this](const platform::MouseEvent& e) { OnUp(e); };
    surface_.OnMouseMove = [this](const platform::MouseEvent& e) { OnMove(e); };
    surface_.OnDblClick = [this] { OnDblClick(); };
    surface_.OnMouseEnter = [this](int shift) { OnEnter(shift); };
    surface_.OnMouseLeave = [this] { OnLeave(); };
    surface_.OnKeyDown = [this](int code, int shift) { OnKeyDown(code, shift); };
    surface_.OnKeyUp = [this](int code, int shift) { OnKeyUp(code, shift); };
    surface_.OnKeyPress = [this](int ascii) {
        if (KeyPress) KeyPress(static_cast<std::int16_t>(ascii));
    };
    surface_.OnGotFocus = [this] {
        focus_ = true;
        Refresh();
    };
    surface_.OnLostFocus = [this] {
        focus_ = pressed_ = over_ = false;
        Refresh();
    };
    surface_.OnResize = [this] { OnResize(); };
    ComputeShades();
}

cpvButton::~cpvButton() {
    *alive_ = false;
    surface_.OnResize = nullptr;
}

void cpvButton::Changed(const char* key) {
    if (PropertyChanged) PropertyChanged(key);
}

void cpvButton::ResetToDefaultColors() {
    ButtonColor(kButtonFace);
    FontColor(kButtonText);
}

void cpvButton::Appearance(std::int32_t appearance) {
    appearance_ = appearance;
    Changed("Appearance");
    Refresh();
}
void cpvButton::ButtonColor(Colour c) {
    buttonColor_ = c;
    surface_.SetBackColor(c);
    ComputeShades();
    Changed("ButtonColor");
    Refresh();
}
void cpvButton::caption(const std::string& text) {
    caption_ = text;
    SetAccessKey();
    Changed("Caption");
    Refresh();
}
void cpvButton::CaptionAlign(std::int32_t align) {
    captionAlign_ = align;
    Changed("CaptionAlign");
    Refresh();
}
void cpvButton::CaptionJustify(std::int32_t justify) {
    captionJustify_ = justify;
    Changed("CaptionJustify");
    Refresh();
}
void cpvButton::Checked(bool checked) {
    checked_ = checked;
    Changed("Checked");
    Refresh();
}
void cpvButton::Enabled(bool enabled) {
    enabled_ = enabled;
    surface_.SetEnabled(enabled);
    Changed("Enabled");
    Refresh();
}
void cpvButton::FlatOver(bool flatOver) {
    flatOver_ = flatOver;
    Changed("FlatOver");
    Refresh();
}
void cpvButton::FlatOverBox(bool box) {
    flatOverBox_ = box;
    Changed("FlatOverBox");
    Refresh();
}
void cpvButton::Font(const platform::Font& font) {
    font_ = font;
    Changed("Font");
    Refresh();
}
void cpvButton::FontColor(Colour c) {
    fontColor_ = c;
    Changed("FontColor");
    Refresh();
}
void cpvButton::MaskColor(Colour c) {
    maskColor_ = c;
    Changed("MaskColor");
    Refresh();
}
bool cpvButton::MousePointer(std::int32_t pointer) {
    if (pointer < std::numeric_limits<std::int16_t>::min() ||
        pointer > std::numeric_limits<std::int16_t>::max())
        return false;
    mousePointer_ = pointer;
    Changed("MousePointer");
    surface_.SetMousePointer(mousePointer_, mouseIcon_);
    return true;
}
void cpvButton::MouseIcon(const platform::Picture& icon) {
    mouseIcon_ = icon;
    Changed("MouseIcon");
    surface_.SetMousePointer(mousePointer_, mouseIcon_);
}
void cpvButton::SetPicture(const platform::Picture& picture) {
    picture_ = picture;
    Changed("Picture");
    Refresh();
}
void cpvButton::PictureDisabled(const platform::Picture& picture) {
    pictureDisabled_ = picture;
    Changed("PictureDisabled");
    Refresh();
}
void cpvButton::PictureDown(const platform::Picture& picture) {
    pictureDown_ = picture;
    Changed("PictureDown");
    Refresh();
}
void cpvButton::PictureOver(const platform::Picture& picture) {
    pictureOver_ = picture;
    Changed("PictureOver");
    Refresh();
}
void cpvButton::PictureTab(std::int16_t tab) {
    pictureTab_ = std::max<std::int16_t>(tab, 0);
    Changed("PictureTab");
    Refresh();
}
void cpvButton::ShowBorderOnFocus(bool show) {
    showBorderOnFocus_ = show;
    Changed("ShowBorderOnFocus");
    Refresh();
}
void cpvButton::ShowFocusRect(bool show) {
    showFocusRect_ = show;
    Changed("ShowFocusRect");
    Refresh();
}
void cpvButton::Style(std::int32_t style) {
    style_ = style;
    Changed("Style");
    Refresh();
}
void cpvButton::UseMaskColor(bool use) {
    useMaskColor_ = use;
    Changed("UseMaskColor");
    Refresh();
}

void cpvButton::SetAccessKey() {
    // What the button says is also its name to assistive tools and the window probe.
    surface_.SetAccessibleText(caption_);
    const std::size_t amp = caption_.find('&');
    if (amp == std::string::npos)
        accessKey_ = caption_.empty() ? 0 : caption_[0];
    else
        accessKey_ = amp + 1 < caption_.size() ? caption_[amp + 1] : 0;
}

void cpvButton::ComputeShades() {
    const Colour c = platform::ResolveColour(buttonColor_);
    float h, s, l;
    RGBToHSL(platform::RedOf(c), platform::GreenOf(c), platform::BlueOf(c), h, s, l);
    light_ = WithLightness(h, s, l + (1.0f - l) / 8.0f);
    highlight_ = WithLightness(h, s, l + (1.0f - l) / 2.0f);
    shadow_ = WithLightness(h, s, l / 1.5f);
    darkShadow_ = WithLightness(h, s, l / 3.5f);
}

void cpvButton::Refresh() {
    Draw(pressed_);
}

void cpvButton::SetCaptionRects() {
    const int w = surface_.ScaleWidth(), h = surface_.ScaleHeight();
    rectA_ = {6, 3, w - 7, h - 2};
    rectB_ = {7, 4, w - 6, h - 2};
}

void cpvButton::Draw(bool pressed) {
    platform::Picture& d = surface_.Drawing();
    d.Fill(platform::ResolveColour(buttonColor_));
    SetCaptionRects();
    if (appearance_ >= 2 && checked_ && !pressed)
        DrawUnionState(d, FillSolidRect, 0, 0, surface_.ScaleWidth(), surface_.ScaleHeight());
    if (style_ == 1) DrawButtonPicture(pressed);
    DrawButtonCaption(pressed);
    DrawButtonFrame(pressed);
    if (focus_ && showFocusRect_) FocusRect(d, focusRect_);
    surface_.Refresh();
}

void cpvButton::DrawButtonPicture(bool pressed) {
    const bool toggledOn = appearance_ >= 2 && checked_;
    const platform::Picture* chosen = &picture_;
    int o = 0;
    if ((enabled_ && toggledOn) || pressed) {
        chosen = &pictureDown_;
        o = 1;
    } else if (over_) {
        chosen = &pictureOver_;
    } else if (!enabled_) {
        chosen = &pictureDisabled_;
        o = toggledOn ? 1 : 0;
    }
    if (chosen->IsEmpty()) chosen = &picture_;
    if (chosen->IsEmpty()) return;
    pictureShown_ = true;
    const int w = surface_.ScaleWidth(), h = surface_.ScaleHeight();
    const int pw = chosen->Width(), ph = chosen->Height();
    int t = pictureTab_;
    if ((captionAlign_ == 3 || captionAlign_ == 4) && t + pw > w) t = w - pw;
    if ((captionAlign_ == 1 || captionAlign_ == 2) && t + ph > h) t = h - ph;
    int x = 0, y = 0;
    switch (captionAlign_) {
    case 0:
        x = FloorHalf(w - pw) + o;
        y = FloorHalf(h - ph) + o;
        break;
    case 1:
        x = FloorHalf(w - pw) + o;
        y = h - ph + o - t - 4;
        break;
    case 2:
        x = FloorHalf(w - pw) + o;
        y = o + t + 3;
        break;
    case 3:
        x = w - pw + o - t - 4;
        y = FloorHalf(h - ph) + o;
        rectA_.right -= pw;
        rectB_.right -= pw;
        break;
    case 4:
        x = o + t + 3;
        y = FloorHalf(h - ph) + o;
        rectA_.left += pw;
        rectB_.left += pw;
        break;
    default:
        break;
    }
    platform::Picture& d = surface_.Drawing();
    if (useMaskColor_)
        d.CopyColourKey(x, y, pw, ph, *chosen, 0, 0, platform::ResolveColour(maskColor_));
    else
        d.Copy(x, y, pw, ph, *chosen, 0, 0);
}

void cpvButton::DrawButtonCaption(bool pressed) {
    const platform::FontSpec spec = platform::SpecOf(font_);
    const platform::TextBoxFormat measure{0, true, false};
    const int h = surface_.ScaleHeight();
    for (PixelRect* r : {&rectB_, &rectA_}) {
        const bool b = r == &rectB_;
        const int th = platform::MeasureTextBox(spec, caption_, r->right - r->left, measure).height;
        const int centred = FloorHalf(h - th) + (b ? 1 : 0);
        if (style_ == 1 && pictureShown_) {
            if (captionAlign_ == 0 || captionAlign_ == 3 || captionAlign_ == 4)
                r->top = centred;
            else if (captionAlign_ == 2)
                r->top = h - th - (b ? 5 : 6);
        } else {
            r->top = centred;
        }
    }
    const platform::TextBoxFormat format{captionJustify_, true, false};
    platform::Picture& d = surface_.Drawing();
    auto draw = [&](const PixelRect& r, Colour c) {
        platform::DrawTextBox(d, r.left, r.top, r.right, r.bottom, caption_, spec, c, format);
    };
    if (enabled_) {
        const bool down = pressed || (appearance_ >= 2 && checked_);
        draw(down ? rectB_ : rectA_, platform::ResolveColour(fontColor_));
    } else {
        draw(rectB_, highlight_);
        draw(rectA_, shadow_);
    }
}

void cpvButton::DrawButtonFrame(bool pressed) {
    platform::Picture& d = surface_.Drawing();
    const int w = surface_.ScaleWidth(), h = surface_.ScaleHeight();
    if (appearance_ == 0 || appearance_ == 2) {
        const int b = border_ = flatOver_ && flatOverBox_ ? 1 : 0;
        if (pressed || (appearance_ == 2 && checked_)) {
            Box(d, b, b, w - b, h - b, shadow_);
            Box(d, b - 1, b - 1, w - 1 - b, h - 1 - b, highlight_);
        } else if (!flatOver_ || over_) {
            Box(d, b, b, w - b, h - b, highlight_);
            Box(d, b - 1, b - 1, w - 1 - b, h - 1 - b, shadow_);
        }
    } else if (appearance_ == 1 || appearance_ == 3) {
        // A host that cannot tell its default button leaves the border to the focus.
        const bool isDefault = IsDefault && IsDefault().value_or(false);
        const int b = border_ = appearance_ == 1 && (isDefault || (focus_ && showBorderOnFocus_)) ? 1 : 0;
        const bool down = pressed || (appearance_ == 3 && checked_);
        Box(d, b + 1, b + 1, w - 1 - b, h - 1 - b, down ? shadow_ : light_);
        Box(d, b, b, w - 2 - b, h - 2 - b, down ? light_ : shadow_);
        Box(d, b, b, w - b, h - b, down ? darkShadow_ : highlight_);
        Box(d, b - 1, b - 1, w - 1 - b, h - 1 - b, down ? highlight_ : darkShadow_);
    }
    if (border_ == 1) Box(d, 0, 0, w - 1, h - 1, kBlack);
}

bool cpvButton::RaiseClick() {
    const std::shared_ptr<bool> alive = alive_;
    if (Click) Click();
    return *alive;
}

void cpvButton::OnDown(const platform::MouseEvent& e) {
    if (!enabled_) return;
    lastDown_ = e;
    if (e.button != 2) {
        pressed_ = true;
        Refresh();
    }
    if (MouseDown)
        MouseDown(static_cast<std::int16_t>(e.button), static_cast<std::int16_t>(e.shift), e.x, e.y);
}

void cpvButton::OnUp(const platform::MouseEvent& e) {
    if (!enabled_) return;
    pressed_ = false;
    if (e.button != 2) {
        if (e.x >= 0 && e.x < surface_.ScaleWidth() && e.y >= 0 && e.y < surface_.ScaleHeight()) {
            if (appearance_ == 2 || appearance_ == 3) {
                checked_ = !checked_;
                Changed("Checked");
            }
            if (!RaiseClick()) return;
        }
        Refresh();
    }
    if (MouseUp) MouseUp(static_cast<std::int16_t>(e.button), static_cast<std::int16_t>(e.shift), e.x, e.y);
}

void cpvButton::OnDblClick() {
    OnDown(lastDown_);
}

void cpvButton::OnMove(const platform::MouseEvent& e) {
    if (!enabled_) return;
    const bool inside = e.x >= 0 && e.x < surface_.ScaleWidth() && e.y >= 0 && e.y < surface_.ScaleHeight();
    if (inside && !over_) {
        OnEnter(e.shift);
    } else if (!inside && over_) {
        // Dragged out while held: the window system keeps sending moves, not the departure.
        OnLeave();
    }
    if (MouseMove)
        MouseMove(static_cast<std::int16_t>(e.button), static_cast<std::int16_t>(e.shift), e.x, e.y);
}

void cpvButton::OnEnter(int shift) {
    if (!enabled_ || over_) return;
    over_ = true;
    if (MouseIn) MouseIn(static_cast<std::int16_t>(shift));
    Refresh();
}

void cpvButton::OnLeave() {
    if (!enabled_ || !over_) return;
    over_ = false;
    if (MouseOut) MouseOut(static_cast<std::int16_t>(lastDown_.shift));
    // A button still held looks released while the pointer is away; it stays pressed.
    Draw(false);
}

void cpvButton::OnKeyDown(int keyCode, int shift) {
    if (!enabled_) return;
    if (!keyHeld_) {
        if (keyCode == 13) {
            if (!RaiseClick()) return;
        } else if (keyCode == 32) {
            pressed_ = true;
            Refresh();
            if (!RaiseClick()) return;
        }
    }
    keyHeld_ = true;
    if (KeyDown) KeyDown(static_cast<std::int16_t>(keyCode), static_cast<std::int16_t>(shift));
}

void cpvButton::OnKeyUp(int keyCode, int shift) {
    if (!enabled_) return;
    if (keyCode == 32) {
        pressed_ = false;
        Refresh();
    }
    keyHeld_ = false;
    if (KeyUp) KeyUp(static_cast<std::int16_t>(keyCode), static_cast<std::int16_t>(shift));
}

void cpvButton::AccessKeyPress(int keyAscii) {
    if (!enabled_) return;
    if (keyAscii != 13 && keyAscii != 27 && (appearance_ == 2 || appearance_ == 3)) {
        checked_ = !checked_;
        Changed("Checked");
        Refresh();
    }
    RaiseClick();
}

void cpvButton::OnResize() {
    // Too small a button could not be seen or hit: it keeps at least 10 pixels a side.
    if (surface_.ScaleWidth() < 10) surface_.SetWidth(150);
    if (surface_.ScaleHeight() < 10) surface_.SetHeight(150);
    const int w = surface_.ScaleWidth(), h = surface_.ScaleHeight();
    focusRect_ = {4, 4, w - 4, h - 4};
    Refresh();
}

void cpvButton::InitProperties(const std::string& name, const platform::Font& ambientFont,
                               Colour ambientBack) {
    caption_ = name;
    font_ = ambientFont;
    buttonColor_ = ambientBack;
    surface_.SetBackColor(ambientBack);
    ComputeShades();
    SetAccessKey();
    Refresh();
}

void cpvButton::ReadProperties(const platform::PropertyBag& bag, const std::string& name,
                               const platform::Font& ambientFont) {
    auto flag = [&bag](const char* key, bool defaultValue) {
        return bag.ReadInt(key, StoredFlag(defaultValue)) != 0;
    };
    auto int32 = [&bag](const char* key, std::int32_t defaultValue) {
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(bag.ReadInt(key, defaultValue),
                                                                  std::numeric_limits<std::int32_t>::min(),
                                                                  std::numeric_limits<std::int32_t>::max()));
    };
    appearance_ = int32("Appearance", 1);
    checked_ = flag("Checked", false);
    caption_ = bag.ReadText("Caption", name);
    captionAlign_ = int32("CaptionAlign", 0);
    captionJustify_ = int32("CaptionJustify", 1);
    flatOver_ = flag("FlatOver", false);
    flatOverBox_ = flag("FlatOverBox", false);
    style_ = int32("Style", 0);
    showFocusRect_ = flag("ShowFocusRect", true);
    showBorderOnFocus_ = flag("ShowBorderOnFocus", true);
    useMaskColor_ = flag("UseMaskColor", false);
    font_ = bag.ReadFont("Font", ambientFont);
    picture_ = bag.ReadPicture("Picture");
    pictureDisabled_ = bag.ReadPicture("PictureDisabled");
    pictureDown_ = bag.ReadPicture("PictureDown");
    pictureOver_ = bag.ReadPicture("PictureOver");
    pictureTab_ = static_cast<std::int16_t>(std::clamp<std::int64_t>(bag.ReadInt("PictureTab", 0), 0, 32767));
    mouseIcon_ = bag.ReadPicture("MouseIcon");
    buttonColor_ = static_cast<Colour>(bag.ReadInt("ButtonColor", kButtonFace));
    enabled_ = flag("Enabled", true);
    fontColor_ = static_cast<Colour>(bag.ReadInt("FontColor", kButtonText));
    maskColor_ = static_cast<Colour>(bag.ReadInt("MaskColor", kButtonFace));
    mousePointer_ =
        static_cast<std::int16_t>(std::clamp<std::int64_t>(bag.ReadInt("MousePointer", 0), -32768, 32767));
    surface_.SetMousePointer(mousePointer_, mouseIcon_);
    surface_.SetBackColor(buttonColor_);
    surface_.SetEnabled(enabled_);
    ComputeShades();
    SetAccessKey();
    Refresh();
}

void cpvButton::WriteProperties(platform::PropertyBag& bag, const std::string& name,
                                const platform::Font& ambientFont) const {
    bag.WriteInt("Appearance", appearance_, 1);
    bag.WriteInt("ButtonColor", buttonColor_, kButtonFace);
    bag.WriteText("Caption", caption_, name);
    bag.WriteInt("CaptionAlign", captionAlign_, 0);
    bag.WriteInt("CaptionJustify", captionJustify_, 1);
    bag.WriteInt("Checked", StoredFlag(checked_), 0);
    bag.WriteInt("Enabled", StoredFlag(enabled_), -1);
    bag.WriteInt("FlatOver", StoredFlag(flatOver_), 0);
    bag.WriteInt("FlatOverBox", StoredFlag(flatOverBox_), 0);
    bag.WriteFont("Font", font_, ambientFont);
    bag.WriteInt("FontColor", fontColor_, kButtonText);
    bag.WriteInt("MaskColor", maskColor_, kButtonFace);
    bag.WritePicture("MouseIcon", mouseIcon_);
    bag.WriteInt("MousePointer", mousePointer_, 0);
    bag.WritePicture("Picture", picture_);
    bag.WritePicture("PictureDisabled", pictureDisabled_);
    bag.WritePicture("PictureDown", pictureDown_);
    bag.WritePicture("PictureOver", pictureOver_);
    bag.WriteInt("PictureTab", pictureTab_, 0);
    bag.WriteInt("ShowBorderOnFocus", StoredFlag(showBorderOnFocus_), -1);
    bag.WriteInt("ShowFocusRect", StoredFlag(showFocusRect_), -1);
    bag.WriteInt("Style", style_, 0);
    bag.WriteInt("UseMaskColor", StoredFlag(useMaskColor_), 0);
}

} // namespace controls
