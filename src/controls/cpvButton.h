// The self-drawn push button of the table window: a frame in one of four appearances (flat,
// 3-D, flat toggle, 3-D toggle) whose four shades are derived from the button colour, a
// word-wrapped caption and, with Style 1, a picture chosen by state (normal, pressed, pointer
// over, disabled) with an optional transparent key colour.
#pragma once

#include "platform/ControlSurface.h"
#include "platform/Fonts.h"
#include "platform/Picture.h"
#include "platform/PropertyBag.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace controls {

// A rectangle in pixels; right and bottom lie just outside it.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class cpvButton {
  public:
    explicit cpvButton(platform::NativeWidget* parent = nullptr);
    ~cpvButton();
    cpvButton(const cpvButton&) = delete;
    cpvButton& operator=(const cpvButton&) = delete;

    platform::ControlSurface& Surface() { return surface_; }
    const platform::ControlSurface& Surface() const { return surface_; }

    void Refresh();
    void ResetToDefaultColors();

    std::int32_t Appearance() const { return appearance_; }
    void Appearance(std::int32_t appearance);
    platform::Colour ButtonColor() const { return buttonColor_; }
    void ButtonColor(platform::Colour c);
    const std::string& caption() const { return caption_; }
    void caption(const std::string& text);
    std::int32_t CaptionAlign() const { return captionAlign_; }
    void CaptionAlign(std::int32_t align);
    std::int32_t CaptionJustify() const { return captionJustify_; }
    void CaptionJustify(std::int32_t justify);
    bool Checked() const { return checked_; }
    void Checked(bool checked);
    bool Enabled() const { return enabled_; }
    void Enabled(bool enabled);
    bool FlatOver() const { return flatOver_; }
    void FlatOver(bool flatOver);
    bool FlatOverBox() const { return flatOverBox_; }
    void FlatOverBox(bool box);
    const platform::Font& Font() const { return font_; }
    void Font(const platform::Font& font);
    platform::Colour FontColor() const { return fontColor_; }
    void FontColor(platform::Colour c);
    platform::NativeWidget* hWnd() const { return surface_.Handle(); }
    platform::Colour MaskColor() const { return maskColor_; }
    void MaskColor(platform::Colour c);
    std::int32_t MousePointer() const { return mousePointer_; }
    // Outside 16 bits the value is refused: false, and the pointer stays as it was.
    bool MousePointer(std::int32_t pointer);
    const platform::Picture& MouseIcon() const { return mouseIcon_; }
    void MouseIcon(const platform::Picture& icon);
    const platform::Picture& GetPicture() const { return picture_; }
    void SetPicture(const platform::Picture& picture);
    const platform::Picture& PictureDisabled() const { return pictureDisabled_; }
    void PictureDisabled(const platform::Picture& picture);
    const platform::Picture& PictureDown() const { return pictureDown_; }
    void PictureDown(const platform::Picture& picture);
    const platform::Picture& PictureOver() const { return pictureOver_; }
    void PictureOver(const platform::Picture& picture);
    std::int16_t PictureTab() const { return pictureTab_; }
    void PictureTab(std::int16_t tab);
    bool ShowBorderOnFocus() const { return showBorderOnFocus_; }
    void ShowBorderOnFocus(bool show);
    bool ShowFocusRect() const { return showFocusRect_; }
    void ShowFocusRect(bool show);
    std::int32_t Style() const { return style_; }
    void Style(std::int32_t style);
    bool UseMaskColor() const { return useMaskColor_; }
    void UseMaskColor(bool use);

    // The character after the caption's first "&", else its first character (0 when none).
    char AccessKey() const { return accessKey_; }
    // The host saw the access key (either case), or Enter or Escape for its default or cancel
    // button.
    void AccessKeyPress(int keyAscii);

    // The four shades of the button colour that draw the frame.
    platform::Colour LightShade() const { return light_; }
    platform::Colour HighlightShade() const { return highlight_; }
    platform::Colour ShadowShade() const { return shadow_; }
    platform::Colour DarkShadowShade() const { return darkShadow_; }
    bool Pressed() const { return pressed_; }
    bool PointerOver() const { return over_; }
    const PixelRect& CaptionRectA() const { return rectA_; }

    // A button placed new in a host: its name as caption, the host's font and background colour.
    void InitProperties(const std::string& name, const platform::Font& ambientFont,
                        platform::Colour ambientBack);
    void ReadProperties(const platform::PropertyBag& bag, const std::string& name,
                        const platform::Font& ambientFont);
    void WriteProperties(platform::PropertyBag& bag, const std::string& name,
                         const platform::Font& ambientFont) const;

    // The host marks its default button; empty when the host cannot tell.
    std::function<std::optional<bool>()> IsDefault;

    std::function<void()> Click;
    std::function<void(std::int16_t keyCode, std::int16_t shift)> KeyDown;
    std::function<void(std::int16_t keyAscii)> KeyPress;
    std::function<void(std::int16_t keyCode, std::int16_t shift)> KeyUp;
    std::function<void(std::int16_t button, std::int16_t shift, float x, float y)> MouseDown;
    std::function<void(std::int16_t button, std::int16_t shift, float x, float y)> MouseMove;
    std::function<void(std::int16_t button, std::int16_t shift, float x, float y)> MouseUp;
    std::function<void(std::int16_t shift)> MouseIn;
    std::function<void(std::int16_t shift)> MouseOut;
    std::function<void(const std::string& key)> PropertyChanged;

  private:
    void Changed(const char* key);
    void Draw(bool pressed);
    void SetCaptionRects();
    void DrawButtonPicture(bool pressed);
    void DrawButtonCaption(bool pressed);
    void DrawButtonFrame(bool pressed);
    void ComputeShades();
    void SetAccessKey();
    bool RaiseClick();

    void OnDown(const platform::MouseEvent& e);
    void OnUp(const platform::MouseEvent& e);
    void OnDblClick();
    void OnMove(const platform::MouseEvent& e);
    void OnEnter(int shift);
    void OnLeave();
    void OnKeyDown(int keyCode, int shift);
    void OnKeyUp(int keyCode, int shift);
    void OnResize();

    platform::ControlSurface surface_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::int32_t appearance_ = 1;
    platform::Colour buttonColor_;
    std::string caption_;
    std::int32_t captionAlign_ = 0;
    std::int32_t captionJustify_ = 1;
    bool checked_ = false;
    bool enabled_ = true;
    bool flatOver_ = false;
    bool flatOverBox_ = false;
    platform::Font font_;
    platform::Colour fontColor_;
    platform::Colour maskColor_;
    std::int32_t mousePointer_ = 0;
    platform::Picture mouseIcon_;
    platform::Picture picture_;
    platform::Picture pictureDisabled_;
    platform::Picture pictureDown_;
    platform::Picture pictureOver_;
    std::int16_t pictureTab_ = 0;
    bool showBorderOnFocus_ = true;
    bool showFocusRect_ = true;
    std::int32_t style_ = 0;
    bool useMaskColor_ = false;

    bool focus_ = false;
    bool pressed_ = false;
    bool over_ = false;
    bool keyHeld_ = false;
    platform::MouseEvent lastDown_;
    bool pictureShown_ = false;
    PixelRect focusRect_;
    PixelRect rectA_;
    PixelRect rectB_;
    int border_ = 0;
    platform::Colour light_ = 0;
    platform::Colour highlight_ = 0;
    platform::Colour shadow_ = 0;
    platform::Colour darkShadow_ = 0;
    char accessKey_ = 0;
};

} // namespace controls
