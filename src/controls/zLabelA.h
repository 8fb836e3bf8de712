// The numerical marker's label: draws its caption (CRLF-separated lines, optionally turned to
// read upward) in smoothed "Arial" and sizes itself to the text. Its size is in twips; what it
// draws stays until the next caption clears it.
#pragma once

#include "platform/ControlSurface.h"
#include "platform/Fonts.h"
#include "platform/Picture.h"
#include "platform/PropertyBag.h"
#include "platform/Twips.h"
#include "state/TableState.h"

#include <cstdint>
#include <functional>
#include <string>

namespace controls {

class zLabelA {
  public:
    explicit zLabelA(platform::NativeWidget* parent = nullptr);
    zLabelA(const zLabelA&) = delete;
    zLabelA& operator=(const zLabelA&) = delete;

    // The host's side: position, size, visibility, Tag, stacking.
    platform::ControlSurface& Surface() { return surface_; }
    const platform::ControlSurface& Surface() const { return surface_; }

    bool Enabled() const { return enabled_; }
    void Enabled(bool enabled);
    std::int16_t BorderStyle() const { return borderStyle_; }
    void BorderStyle(std::int16_t style);
    void Refresh() {}
    const std::string& caption() const { return caption_; }
    // Clears the label, sizes it to the caption and draws the caption; a caption is cut to its
    // first kMaxCaptionLength characters (a numerical marker's longest).
    void caption(const std::string& text);
    const platform::Font& Font() const { return font_; }
    void Font(const platform::Font& font);
    const platform::Picture& GetPicture() const { return surface_.GetPicture(); }
    void SetPicture(const platform::Picture& picture);
    platform::Colour MaskColor() const { return surface_.MaskColor(); }
    void MaskColor(platform::Colour c);
    // Shows a picture file behind the caption and takes its size; false (and nothing changed)
    // when the file cannot be read as a picture.
    bool loadNewPicture(const std::string& path);
    bool transparent() const { return transparent_; }
    void transparent(bool see);
    platform::Colour ForeColor() const { return foreColor_; }
    void ForeColor(platform::Colour c);
    const platform::Picture& hdc() const { return surface_.Drawing(); }
    bool Rotated() const { return rotated_; }
    void Rotated(bool rotated);
    platform::Colour BackColor() const { return surface_.BackColor(); }
    void BackColor(platform::Colour c);
    bool FontBold() const { return font_.bold; }
    void FontBold(bool bold);
    double Opacity() const { return opacity_; }
    void Opacity(double opacity);
    bool AutoSize() const { return autoSize_; }
    void AutoSize(bool autoSize);

    // The persisted properties, as a form that holds the label loads and saves them; the ambient
    // font is the host's. A restored caption is not drawn until the caption is set again.
    void ReadProperties(const platform::PropertyBag& bag, const platform::Font& ambient);
    void WriteProperties(platform::PropertyBag& bag, const platform::Font& ambient) const;

    // The caption's size in pixels as last measured.
    std::int32_t TextWidth() const { return textWidth_; }
    std::int32_t TextHeight() const { return textHeight_; }

    // Events 1 to 5; the point in twips from the label's corner.
    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void(std::int16_t button, std::int16_t shift, platform::TwipPoint at)> MouseDown;
    std::function<void(std::int16_t button, std::int16_t shift, platform::TwipPoint at)> MouseMove;
    std::function<void(std::int16_t button, std::int16_t shift, platform::TwipPoint at)> MouseUp;
    std::function<void(const std::string& key)> PropertyChanged;

  private:
    void Changed(const char* key);
    void DrawCaptionLines(const std::string& text, int x, int y, platform::Colour colour, std::int32_t size,
                          std::int16_t weight);

    platform::ControlSurface surface_;
    bool autoSize_ = false;
    double opacity_ = 1.0;
    bool rotated_ = false;
    bool transparent_ = false;
    bool enabled_ = false;
    std::int16_t borderStyle_ = 0;
    std::string caption_;
    std::int32_t textWidth_ = 0;
    std::int32_t textHeight_ = 0;
    platform::Font font_;
    platform::Colour foreColor_ = platform::kSystemColourFlag | 18;
};

} // namespace controls
