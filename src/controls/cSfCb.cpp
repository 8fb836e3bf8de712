#include "controls/cSfCb.h"

#include "common/Numbers.h"
#include "platform/Keys.h"
#include "platform/Seams.h"
#include "platform/TextBox.h"
#include "platform/Twips.h"

#include <chrono>
#include <cmath>
#include <thread>

namespace controls {

namespace {

using platform::Colour;

constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kGrey = 0x808080;
constexpr Colour kButtonFace = platform::kSystemColourFlag | 15;
constexpr Colour kDarkBlue = platform::MakeColour(0, 0, 128);

constexpr std::int64_t StoredFlag(bool value) {
    return value ? -1 : 0;
}

const platform::Font& DesignedFont() {
    static const platform::Font font{"Arial", 8.25, true};
    return font;
}

int WholePixel(double value) {
    return static_cast<int>(std::nearbyint(value));
}

// The keyboard's pressed look stays this long on screen before the click goes out.
void ShowPressedLook() {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

// Every channel of every pixel but the ignored colour scaled, rounded half to even and kept in
// a byte.
platform::Picture Scaled(const platform::Picture& source, float factor, Colour ignore) {
    platform::Picture result = source;
    const std::uint32_t keep = platform::Picture::PixelOf(ignore);
    auto scale = [factor](int channel) {
        const float v = std::nearbyint(static_cast<float>(channel) * factor);
        return v >= 255.0f ? 255 : static_cast<int>(v);
    };
    for (int y = 0; y < result.Height(); ++y) {
        std::uint32_t* row = result.Row(y);
        for (int x = 0; x < result.Width(); ++x) {
            if (row[x] == keep) continue;
            const Colour c = platform::Picture::ColourOf(row[x]);
            row[x] = platform::Picture::PixelOf(platform::MakeColour(
                scale(platform::RedOf(c)), scale(platform::GreenOf(c)), scale(platform::BlueOf(c))));
        }
    }
    return result;
}

} // namespace

cSfCb::cSfCb(platform::NativeWidget* parent)
    : surface_(parent), highlight_(kWhite), lowLight_(kGrey), backColour_(kButtonFace), textStd_(0),
      textOver_(kDarkBlue), font_(DesignedFont()) {
    surface_.SetBackStyle(1);
    surface_.SetTakesFocus(true);
    surface_.OnMouseDown = [this](const platform::MouseEvent& e) { OnDown(e); };
    surface_.OnMouseMove = [this](const platform::MouseEvent& e) { OnMove(e); };
    surface_.OnMouseUp = [this](const platform::MouseEvent& e) { OnUp(e); };
    surface_.OnMouseEnter = [this](int) { PointerOver(); };
    surface_.OnMouseLeave = [this] { PointerGone(); };
    surface_.OnKeyDown = [this](int code, int) { OnKeyDown(code); };
    surface_.OnKeyUp = [this](int code, int) { OnKeyUp(code); };
    surface_.OnKeyPress = [this](int ascii) { OnKeyPress(ascii); };
    surface_.OnGotFocus = [this] { OnGotFocus(); };
    surface_.OnLostFocus = [this] { OnLostFocus(); };
    surface_.OnResize = [this] { DrawState(); };
}

cSfCb::~cSfCb() {
    *alive_ = false;
    surface_.OnResize = nullptr;
}

void cSfCb::Changed(const char* key) {
    if (PropertyChanged) PropertyChanged(key);
}

void cSfCb::SetPicture(const platform::Picture& picture) {
    picture_ = picture;
    Changed("Picture");
    if (autoSize_) SizeToPicture();
    if (autoDim_) MakeDimImages();
    DrawState();
}
void cSfCb::PictureOver(const platform::Picture& picture) {
    pictureOver_ = picture;
    Changed("PictureOver");
}
void cSfCb::PictureDown(const platform::Picture& picture) {
    pictureDown_ = picture;
    Changed("PictureDown");
}
void cSfCb::colourHighlight(Colour c) {
    highlight_ = c;
    Changed("colourHighlight");
}
void cSfCb::colourLowLight(Colour c) {
    lowLight_ = c;
    Changed("colourLowLight");
}
void cSfCb::colourBackColour(Colour c) {
    backColour_ = c;
    Changed("colourBackColour");
    surface_.SetBackColor(c);
    DrawState();
}
void cSfCb::colourTextStdColour(Colour c) {
    textStd_ = c;
    Changed("colourTextStdColour");
    DrawState();
}
void cSfCb::colourTextOverColour(Colour c) {
    textOver_ = c;
    Changed("colourTextOverColour");
}
void cSfCb::colourIgnore(Colour c) {
    ignore_ = c;
    Changed("colourIgnore");
}
void cSfCb::caption(const std::string& text) {
    caption_ = text;
    Changed("Caption");
    SetAccessKey();
    DrawState();
}
void cSfCb::SetAccessKey() {
    // What the button says is also its name to assistive tools and the window probe.
    surface_.SetAccessibleText(caption_);
    const std::size_t amp = caption_.find('&');
    accessKey_ = amp != std::string::npos && amp + 1 < caption_.size() ? caption_[amp + 1] : 0;
}
void cSfCb::UsePictures(bool use) {
    usePictures_ = use;
    Changed("UsePictures");
    DrawState();
}
void cSfCb::UseBevels(bool use) {
    useBevels_ = use;
    Changed("UseBevels");
    DrawState();
}
void cSfCb::UseDippedControls(bool use) {
    useDipped_ = use;
    Changed("UseDippedControls");
}
void cSfCb::AutoSize(bool autoSize) {
    autoSize_ = autoSize;
    Changed("AutoSize");
    if (autoSize) SizeToPicture();
}
void cSfCb::UseUnderlineOnFocus(bool use) {
    underlineOnFocus_ = use;
    Changed("UseUnderlineOnFocus");
}
void cSfCb::CaptionFont(const platform::Font& font) {
    font_ = font;
    Changed("CaptionFont");
    DrawState();
}
void cSfCb::Enabled(bool enabled) {
    enabled_ = enabled;
    Changed("Enabled");
}
void cSfCb::AlwaysDrawBevel(bool always) {
    alwaysDrawBevel_ = always;
    Changed("AlwaysDrawBevel");
    DrawState();
}
void cSfCb::AutoDim(bool autoDim) {
    autoDim_ = autoDim;
    Changed("AutoDim");
    if (!autoDim) {
        overImage_ = platform::Picture();
        pressedImage_ = platform::Picture();
    } else if (UserMode) {
        MakeDimImages();
    }
}
void cSfCb::TextPositionV(std::int32_t position) {
    textPositionV_ = position;
    Changed("TextPositionV");
    DrawState();
}
void cSfCb::TextPositionH(std::int32_t position) {
    textPositionH_ = position;
    Changed("TextPositionH");
    DrawState();
}

void cSfCb::AutoColour(bool autoColour) {
    const std::optional<Colour> container = ContainerBackColor ? ContainerBackColor() : std::nullopt;
    if (!container) {
        autoColour_ = false;
        platform::ShowMessage("Sorry, AutoColour can't be changed, because the container doesn't support a "
                              "BackColor property!");
        return;
    }
    if (autoColour) {
        rememberedBack_ = backColour_;
        backRemembered_ = true;
        colourBackColour(*container);
    } else if (backRemembered_) {
        colourBackColour(rememberedBack_);
    }
    autoColour_ = autoColour;
    Changed("AutoColour");
}

void cSfCb::SizeToPicture() {
    const int extra = useBevels_ ? 2 : 0;
    surface_.SetWidth(static_cast<double>(platform::TwipsFromPixelsX(picture_.Width() + extra)));
    surface_.SetHeight(static_cast<double>(platform::TwipsFromPixelsY(picture_.Height() + extra)));
}

void cSfCb::MakeDimImages() {
    if (picture_.IsEmpty()) return;
    // Two passes over every pixel of the picture: the pointer says the program is busy.
    const platform::BusyPointer busy;
    const Colour ignore = platform::ResolveColour(ignore_);
    pressedImage_ = Scaled(picture_, 0.9f, ignore);
    overImage_ = Scaled(picture_, 1.2f, ignore);
}

void cSfCb::DrawState() {
    if (!drawingEnabled_) return;
    platform::Picture& d = surface_.Drawing();
    d.Fill(platform::ResolveColour(backColour_));
    const std::int32_t look = state_ == 0 && alwaysDrawBevel_ ? kOver : state_;
    const bool over = (look & kOver) != 0;
    const platform::Picture* chosen = &picture_;
    const platform::Picture* dimmed = &picture_;
    if (look == kOver) {
        if (usePictures_ && !pictureOver_.IsEmpty()) chosen = &pictureOver_;
        dimmed = &overImage_;
    } else if (look == (kOver | kPressed)) {
        if (usePictures_ && !pictureDown_.IsEmpty()) chosen = &pictureDown_;
        dimmed = &pressedImage_;
    }
    if (chosen->IsEmpty()) {
        surface_.Refresh();
        return;
    }
    // Images not made yet (a designer shows the button) leave the chosen picture to be drawn.
    const platform::Picture& image = autoDim_ && !dimmed->IsEmpty() ? *dimmed : *chosen;
    const int sw = surface_.ScaleWidth(), sh = surface_.ScaleHeight();
    const int left = WholePixel(sw / 2.0 - chosen->Width() / 2.0);
    const int top = WholePixel(sh / 2.0 - chosen->Height() / 2.0);
    d.Copy(left, top, image.Width(), image.Height(), image, 0, 0);

    if (useBevels_ && look != 0) DrawBevel(look == kOver);

    platform::FontSpec spec = platform::SpecOf(font_);
    const int h = platform::MeasureTextBox(spec, caption_, 0, {}).height;
    const int w = platform::MeasureText(spec, caption_).width;
    int x = left;
    switch (textPositionH_) {
    case 0:
        x = 1;
        break;
    case 1:
        x = WholePixel(sw / 2.0 - w / 2.0);
        break;
    case 2:
        x = sw - 1 - w;
        break;
    default:
        break;
    }
    int y = top;
    switch (textPositionV_) {
    case 0:
        y = 1;
        break;
    case 1:
        y = WholePixel(sh / 2.0 - h / 2.0);
        break;
    case 2:
        y = sh - h - 1;
        break;
    case 3:
        y = WholePixel(sh * 3.0 / 4.0 - h / 2.0 - 1);
        break;
    default:
        break;
    }
    d.DrawText(x, y, caption_, spec, platform::ResolveColour(over ? textOver_ : textStd_));
    surface_.Refresh();
}

void cSfCb::DrawBevel(bool raised) {
    platform::Picture& d = surface_.Drawing();
    const int w = surface_.ScaleWidth() - 1, h = surface_.ScaleHeight() - 1;
    const Colour lightSide = platform::ResolveColour(raised ? highlight_ : lowLight_);
    const Colour darkSide = platform::ResolveColour(raised ? lowLight_ : highlight_);
    d.FillRect(0, 0, 1, h + 1, lightSide); // left
    d.FillRect(w, 0, 1, h + 1, darkSide);  // right
    d.FillRect(0, 0, w, 1, lightSide);     // top
    d.FillRect(1, h, w, 1, darkSide);      // bottom
}

bool cSfCb::Inside(float x, float y) const {
    return x >= 0 && x <= surface_.ScaleWidth() && y >= 0 && y <= surface_.ScaleHeight();
}

bool cSfCb::RaiseClick() {
    const std::shared_ptr<bool> alive = alive_;
    if (Click) Click();
    return *alive;
}

void cSfCb::OnDown(const platform::MouseEvent& e) {
    if (!enabled_) return;
    activeAtPress_ = false;
    const bool inside = Inside(e.x, e.y);
    if (e.button == platform::keys::kLeftButton) {
        // A press inside shows that the pointer is over the button, whether or not its
        // arrival was seen.
        state_ |= kPressed | (inside ? kOver : 0);
        pressedHere_ = activeAtPress_ = true;
        DrawState();
    }
    if (inside && MouseDown)
        MouseDown(static_cast<std::int16_t>(e.button), static_cast<std::int16_t>(e.shift), e.x, e.y);
}

void cSfCb::OnMove(const platform::MouseEvent& e) {
    if (!enabled_) return;
    std::int32_t next = state_;
    if (e.button == 0)
        next &= ~kPressed;
    else if ((e.button & 1) && pressedHere_)
        next |= kPressed;
    if (!Inside(e.x, e.y)) {
        // The pointer left while the button was held (the window system keeps sending moves).
        state_ = next;
        PointerGone();
        return;
    }
    const bool arrived = (state_ & kOver) == 0;
    next |= kOver;
    if (next != state_) {
        state_ = next;
        DrawState();
        if (arrived && MouseEnter) MouseEnter();
    }
    if (MouseMove)
        MouseMove(static_cast<std::int16_t>(e.button), static_cast<std::int16_t>(e.shift), e.x, e.y);
}

void cSfCb::PointerOver() {
    if (!enabled_ || (state_ & kOver)) return;
    state_ |= kOver;
    DrawState();
    if (MouseEnter) MouseEnter();
}

void cSfCb::PointerGone() {
    if (!enabled_ || state_ == 0) return;
    if (MouseExit) MouseExit();
    state_ = 0;
    DrawState();
}

void cSfCb::OnUp(const platform::MouseEvent& e) {
    if (!enabled_) return;
    if (e.button == platform::keys::kLeftButton) {
        state_ &= ~kPressed;
        DrawState();
    }
    if (pressedHere_ && activeAtPress_ && (state_ & kOver)) {
        activeAtPress_ = false;
        if (!RaiseClick()) return;
    }
    if (Inside(e.x, e.y) && MouseUp)
        MouseUp(static_cast<std::int16_t>(e.button), static_cast<std::int16_t>(e.shift), e.x, e.y);
    pressedHere_ = false;
}

void cSfCb::ShowPressed(std::int32_t state) {
    state_ = state;
    DrawState();
    surface_.RefreshNow();
}

void cSfCb::OnKeyDown(int keyCode) {
    if (!enabled_ || keyCode == lastKey_) return; // the key is repeating
    if (keyCode == 32) {
        savedKeyState_ = static_cast<std::int16_t>(state_);
        ShowPressed(kOver | kPressed);
    }
    lastKey_ = static_cast<std::int16_t>(keyCode);
}

void cSfCb::OnKeyUp(int keyCode) {
    if (!enabled_ || keyCode != 32 || lastKey_ != 32) return;
    ShowPressed(kOver);
    ShowPressedLook();
    if (!RaiseClick()) return;
    state_ = savedKeyState_;
    savedKeyState_ = 0;
    DrawState();
    lastKey_ = 0;
}

void cSfCb::OnKeyPress(int keyAscii) {
    if (!enabled_ || keyAscii != 13) return;
    const std::int32_t before = state_;
    ShowPressed(kOver | kPressed);
    ShowPressedLook();
    ShowPressed(kOver);
    ShowPressedLook();
    if (!RaiseClick()) return;
    state_ = before;
    DrawState();
}

void cSfCb::OnGotFocus() {
    font_.underline = underlineOnFocus_;
}

void cSfCb::OnLostFocus() {
    font_.underline = false;
    if (underlineOnFocus_) DrawState();
}

void cSfCb::ReadProperties(const platform::PropertyBag& bag) {
    picture_ = bag.ReadPicture("Picture");
    pictureDown_ = bag.ReadPicture("PictureDown");
    pictureOver_ = bag.ReadPicture("PictureOver");
    highlight_ = static_cast<Colour>(bag.ReadInt("colourHighlight", kWhite));
    lowLight_ = static_cast<Colour>(bag.ReadInt("colourLowlight", kGrey));
    backColour_ = static_cast<Colour>(bag.ReadInt("colourBackColour", kButtonFace));
    textStd_ = static_cast<Colour>(bag.ReadInt("colourTextStdColour", 0));
    textOver_ = static_cast<Colour>(bag.ReadInt("colourTextOverColour", textStd_));
    ignore_ = static_cast<Colour>(bag.ReadInt("colourIgnore", 0));
    caption_ = bag.ReadText("Caption", "");
    SetAccessKey();
    useBevels_ = bag.ReadInt("UseBevels", -1) != 0;
    usePictures_ = bag.ReadInt("UsePictures", -1) != 0;
    useDipped_ = bag.ReadInt("UseDippedControls", 0) != 0;
    autoSize_ = bag.ReadInt("AutoSize", 0) != 0;
    underlineOnFocus_ = bag.ReadInt("UseUnderlineOnFocus", -1) != 0;
    enabled_ = bag.ReadInt("Enabled", -1) != 0;
    font_ = bag.ReadFont("CaptionFont", DesignedFont());
    alwaysDrawBevel_ = bag.ReadInt("AlwaysDrawBevel", 0) != 0;
    autoDim_ = bag.ReadInt("AutoDim", 0) != 0;
    if (autoDim_ && UserMode) MakeDimImages();
    textPositionV_ = RoundToInt32(static_cast<double>(bag.ReadInt("TextPositionV", 1)));
    textPositionH_ = RoundToInt32(static_cast<double>(bag.ReadInt("TextPositionH", 1)));
    autoColour_ = bag.ReadInt("AutoColour", 0) != 0;
    // A stored AutoColour takes the container's colour as setting it does; the colour read above
    // is the one it gives back when switched off.
    if (autoColour_) {
        if (const std::optional<Colour> container =
                ContainerBackColor ? ContainerBackColor() : std::nullopt) {
            rememberedBack_ = backColour_;
            backRemembered_ = true;
            backColour_ = *container;
        }
    }
    if (autoSize_) SizeToPicture();
    surface_.SetBackColor(backColour_);
    drawingEnabled_ = true;
    DrawState();
}

void cSfCb::WriteProperties(platform::PropertyBag& bag) const {
    bag.WriteFont("CaptionFont", font_, DesignedFont());
    bag.WritePicture("Picture", picture_);
    bag.WritePicture("PictureDown", pictureDown_);
    bag.WritePicture("PictureOver", pictureOver_);
    bag.WriteInt("colourHighlight", highlight_, kWhite);
    bag.WriteInt("colourLowlight", lowLight_, kGrey);
    bag.WriteInt("colourBackColour", backColour_, kButtonFace);
    bag.WriteInt("colourTextStdColour", textStd_, 0);
    bag.WriteInt("colourTextOverColour", textOver_, textStd_);
    bag.WriteInt("colourIgnore", ignore_, 0);
    bag.WriteText("Caption", caption_, "");
    bag.WriteInt("UseBevels", StoredFlag(useBevels_), -1);
    bag.WriteInt("UsePictures", StoredFlag(usePictures_), -1);
    bag.WriteInt("UseDippedControls", StoredFlag(useDipped_), 0);
    bag.WriteInt("AutoSize", StoredFlag(autoSize_), 0);
    bag.WriteInt("Enabled", StoredFlag(enabled_), -1);
    bag.WriteInt("UseUnderlineOnFocus", StoredFlag(underlineOnFocus_), -1);
    bag.WriteInt("AlwaysDrawBevel", StoredFlag(alwaysDrawBevel_), 0);
    bag.WriteInt("AutoDim", StoredFlag(autoDim_), 0);
    bag.WriteInt("TextPositionV", textPositionV_, 1);
    bag.WriteInt("TextPositionH", textPositionH_, 1);
    bag.WriteInt("AutoColour", StoredFlag(autoColour_), 0);
}

} // namespace controls
