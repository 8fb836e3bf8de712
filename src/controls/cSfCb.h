// The picture button of the tool bars: a picture centred in the button, a caption placed by two
// position settings and a one-pixel bevel, raised while the pointer is over the button and sunken
// while it is pressed. The pointer-over and pressed pictures may be given or made from the normal
// picture (AutoDim). Nothing is drawn until the stored properties have been read
// (ReadProperties, with an empty bag for a button made in code).
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

class cSfCb {
  public:
    // Bits of State(): the pointer is over the button, the button is pressed.
    static constexpr std::int32_t kOver = 1;
    static constexpr std::int32_t kPressed = 2;

    explicit cSfCb(platform::NativeWidget* parent = nullptr);
    ~cSfCb();
    cSfCb(const cSfCb&) = delete;
    cSfCb& operator=(const cSfCb&) = delete;

    // The host's side: position, size, visibility, stacking; what is drawn.
    platform::ControlSurface& Surface() { return surface_; }
    const platform::ControlSurface& Surface() const { return surface_; }

    void ForceRedraw() { DrawState(); }

    const platform::Picture& GetPicture() const { return picture_; }
    void SetPicture(const platform::Picture& picture);
    const platform::Picture& PictureOver() const { return pictureOver_; }
    void PictureOver(const platform::Picture& picture);
    const platform::Picture& PictureDown() const { return pictureDown_; }
    void PictureDown(const platform::Picture& picture);

    platform::Colour colourHighlight() const { return highlight_; }
    void colourHighlight(platform::Colour c);
    platform::Colour colourLowLight() const { return lowLight_; }
    void colourLowLight(platform::Colour c);
    platform::Colour colourBackColour() const { return backColour_; }
    void colourBackColour(platform::Colour c);
    platform::Colour colourTextStdColour() const { return textStd_; }
    void colourTextStdColour(platform::Colour c);
    platform::Colour colourTextOverColour() const { return textOver_; }
    void colourTextOverColour(platform::Colour c);
    platform::Colour colourIgnore() const { return ignore_; }
    void colourIgnore(platform::Colour c);

    const std::string& caption() const { return caption_; }
    void caption(const std::string& text);
    // The character after the caption's first "&" (when that is not its last character), else 0.
    char AccessKey() const { return accessKey_; }

    bool UsePictures() const { return usePictures_; }
    void UsePictures(bool use);
    bool UseBevels() const { return useBevels_; }
    void UseBevels(bool use);
    bool UseDippedControls() const { return useDipped_; }
    void UseDippedControls(bool use);
    bool AutoSize() const { return autoSize_; }
    void AutoSize(bool autoSize);
    bool UseUnderlineOnFocus() const { return underlineOnFocus_; }
    void UseUnderlineOnFocus(bool use);
    const platform::Font& CaptionFont() const { return font_; }
    void CaptionFont(const platform::Font& font);
    bool Enabled() const { return enabled_; }
    void Enabled(bool enabled);
    platform::NativeWidget* hWnd() const { return surface_.Handle(); }
    bool AlwaysDrawBevel() const { return alwaysDrawBevel_; }
    void AlwaysDrawBevel(bool always);
    bool AutoDim() const { return autoDim_; }
    void AutoDim(bool autoDim);
    std::int32_t TextPositionV() const { return textPositionV_; }
    void TextPositionV(std::int32_t position);
    std::int32_t TextPositionH() const { return textPositionH_; }
    void TextPositionH(std::int32_t position);
    bool AutoColour() const { return autoColour_; }
    void AutoColour(bool autoColour);

    std::int32_t State() const { return state_; }
    // The pictures AutoDim made: brightened for the pointer-over look, darkened for the pressed one.
    const platform::Picture& OverImage() const { return overImage_; }
    const platform::Picture& PressedImage() const { return pressedImage_; }

    void ReadProperties(const platform::PropertyBag& bag);
    void WriteProperties(platform::PropertyBag& bag) const;

    // The host's side of the control: its background colour, when it has one (AutoColour takes
    // it), and whether the program runs (false while a designer shows the button).
    std::function<std::optional<platform::Colour>()> ContainerBackColor;
    bool UserMode = true;

    // Events; X and Y in pixels from the button's corner. The host's property store learns of
    // every changed persisted property through PropertyChanged.
    std::function<void()> Click;
    std::function<void(std::int16_t button, std::int16_t shift, float x, float y)> MouseUp;
    std::function<void(std::int16_t button, std::int16_t shift, float x, float y)> MouseDown;
    std::function<void(std::int16_t button, std::int16_t shift, float x, float y)> MouseMove;
    std::function<void()> MouseEnter;
    std::function<void()> MouseExit;
    std::function<void(const std::string& key)> PropertyChanged;

  private:
    void Changed(const char* key);
    void SetAccessKey();
    void DrawState();
    void DrawBevel(bool raised);
    void SizeToPicture();
    void MakeDimImages();
    bool Inside(float x, float y) const;
    // Raises Click; false when a handler ended the button.
    bool RaiseClick();

    void OnDown(const platform::MouseEvent& e);
    void OnMove(const platform::MouseEvent& e);
    void OnUp(const platform::MouseEvent& e);
    void PointerOver();
    void PointerGone();
    void OnKeyDown(int keyCode);
    void OnKeyUp(int keyCode);
    void OnKeyPress(int keyAscii);
    void OnGotFocus();
    void OnLostFocus();
    void ShowPressed(std::int32_t state);

    platform::ControlSurface surface_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    bool drawingEnabled_ = false;
    bool underlineOnFocus_ = true;
    bool usePictures_ = true;
    bool useBevels_ = true;
    bool useDipped_ = false;
    std::int32_t state_ = 0;
    bool autoSize_ = false;
    std::string caption_;
    char accessKey_ = 0;
    bool enabled_ = true;
    bool alwaysDrawBevel_ = false;
    bool autoDim_ = false;
    std::int32_t textPositionV_ = 1;
    std::int32_t textPositionH_ = 1;
    bool autoColour_ = false;
    platform::Picture overImage_;
    platform::Picture pressedImage_;
    platform::Picture picture_;
    platform::Picture pictureOver_;
    platform::Picture pictureDown_;
    platform::Colour highlight_;
    platform::Colour lowLight_;
    platform::Colour backColour_;
    platform::Colour textStd_;
    platform::Colour textOver_;
    platform::Colour ignore_ = 0;
    std::int16_t savedKeyState_ = 0;
    std::int16_t lastKey_ = 0;
    bool activeAtPress_ = false;
    bool pressedHere_ = false;
    platform::Font font_;
    platform::Colour rememberedBack_ = 0;
    bool backRemembered_ = false;
};

} // namespace controls
