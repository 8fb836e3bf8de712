// The appearance properties that the side bar and its button and frame keep only to hand back and
// persist: colours, enabled, font and styles. Setting one tells PropertyChanged and changes
// nothing that the control draws or does.
#pragma once

#include "platform/Fonts.h"
#include "platform/Picture.h"
#include "platform/PropertyBag.h"

#include <cstdint>
#include <functional>
#include <string>

namespace controls {

// The font the side bar and its buttons draw their captions in: the design's 8.25-point
// sans-serif.
inline platform::FontSpec DesignFont() {
    return platform::SpecOf(platform::Font{"Arial", 8.25, false});
}

class StoredLook {
  public:
    platform::Colour BackColor() const { return backColor_; }
    void BackColor(platform::Colour c) {
        backColor_ = c;
        Changed("BackColor");
    }
    platform::Colour ForeColor() const { return foreColor_; }
    void ForeColor(platform::Colour c) {
        foreColor_ = c;
        Changed("ForeColor");
    }
    bool Enabled() const { return enabled_; }
    void Enabled(bool enabled) {
        enabled_ = enabled;
        Changed("Enabled");
    }
    const platform::Font& Font() const { return font_; }
    void Font(const platform::Font& font) {
        font_ = font;
        Changed("Font");
    }
    std::int16_t BackStyle() const { return backStyle_; }
    void BackStyle(std::int16_t style) {
        backStyle_ = style;
        Changed("BackStyle");
    }
    std::int16_t BorderStyle() const { return borderStyle_; }
    void BorderStyle(std::int16_t style) {
        borderStyle_ = style;
        Changed("BorderStyle");
    }
    void Refresh() {}

    std::function<void(const std::string& key)> PropertyChanged;

  protected:
    void Changed(const char* key) {
        if (PropertyChanged) PropertyChanged(key);
    }
    // Every key but "BackColor" when the control keeps that one itself.
    void ReadLook(const platform::PropertyBag& bag, const platform::Font& ambient, bool withBackColor = true);
    void WriteLook(platform::PropertyBag& bag, const platform::Font& ambient,
                   bool withBackColor = true) const;

  private:
    platform::Colour backColor_ = 0;
    platform::Colour foreColor_ = 0;
    bool enabled_ = false;
    platform::Font font_;
    std::int16_t backStyle_ = 0;
    std::int16_t borderStyle_ = 0;
};

} // namespace controls
