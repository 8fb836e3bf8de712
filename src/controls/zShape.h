// The selection frame of the marker picker's side bar: a one-pixel light-yellow line along each
// of its four edges and nothing else; the inside shows and takes the clicks of what lies below.
#pragma once

#include "controls/StoredLook.h"
#include "platform/ControlSurface.h"
#include "platform/Fonts.h"
#include "platform/PropertyBag.h"

#include <cstdint>
#include <functional>
#include <string>

namespace controls {

class zShape : public StoredLook {
  public:
    explicit zShape(platform::NativeWidget* parent = nullptr);
    zShape(const zShape&) = delete;
    zShape& operator=(const zShape&) = delete;

    platform::ControlSurface& Surface() { return surface_; }
    const platform::ControlSurface& Surface() const { return surface_; }

    // The stored properties (StoredLook) change nothing: the frame always draws its four lines.
    void ReadProperties(const platform::PropertyBag& bag, const platform::Font& ambient);
    void WriteProperties(platform::PropertyBag& bag, const platform::Font& ambient) const;

  private:
    // Draws the lines for the present size and makes everything else see-through.
    void PlaceLines();

    platform::ControlSurface surface_;
};

// The colour of the frame's lines.
constexpr platform::Colour kFrameColour = platform::MakeColour(255, 255, 128);

} // namespace controls
