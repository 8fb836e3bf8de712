// The selection frame of the marker picker's side bar: a one-pixel light-yellow line along each
// of its four edges and nothing else; the inside shows and takes the clicks of what lies below.
#pragma once

#include "platform/ControlSurface.h"
#include "platform/Fonts.h"
#include "platform/PropertyBag.h"

#include <cstdint>
#include <functional>
#include <string>

namespace controls {

class zShape {
  public:
    explicit zShape(platform::NativeWidget* parent = nullptr);
    zShape(const zShape&) = delete;
    zShape& operator=(const zShape&) = delete;

    platform::ControlSurface& Surface() { return surface_; }
    const platform::ControlSurface& Surface() const { return surface_; }

    // Stored and persisted only: the frame always draws its four light-yellow lines.
    platform::Colour BackColor() const { return backColor_; }
    void BackColor(platform::Colour c);
    platform::Colour ForeColor() const { return foreColor_; }
    void ForeColor(platform::Colour c);
    bool Enabled() const { return enabled_; }
    void Enabled(bool enabled);
    const platform::Font& Font() const { return font_; }
    void Font(const platform::Font& font);
    std::int16_t BackStyle() const { return backStyle_; }
    void BackStyle(std::int16_t style);
    std::int16_t BorderStyle() const { return borderStyle_; }
    void BorderStyle(std::int16_t style);
    void Refresh() {}

    void ReadProperties(const platform::PropertyBag& bag, const platform::Font& ambient);
    void WriteProperties(platform::PropertyBag& bag, const platform::Font& ambient) const;

    std::function<void(const std::string& key)> PropertyChanged;

  private:
    void Changed(const char* key);
    // Draws the lines for the present size and makes everything else see-through.
    void PlaceLines();

    platform::ControlSurface surface_;
    platform::Colour backColor_ = 0;
    platform::Colour foreColor_ = 0;
    bool enabled_ = false;
    platform::Font font_;
    std::int16_t backStyle_ = 0;
    std::int16_t borderStyle_ = 0;
};

// The colour of the frame's lines.
constexpr platform::Colour kFrameColour = platform::MakeColour(255, 255, 128);

} // namespace controls
