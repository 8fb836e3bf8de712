// The flat group button of the marker picker's side bar: its caption centred in black, a
// one-pixel highlight on its left and top edges while up, a sunken border while a mouse button is
// held on it. It reports the press and the release.
#pragma once

#include "controls/StoredLook.h"
#include "platform/ControlSurface.h"
#include "platform/Fonts.h"
#include "platform/PropertyBag.h"

#include <cstdint>
#include <functional>
#include <string>

namespace controls {

class zFlatButton : public StoredLook {
  public:
    explicit zFlatButton(platform::NativeWidget* parent = nullptr);
    zFlatButton(const zFlatButton&) = delete;
    zFlatButton& operator=(const zFlatButton&) = delete;

    platform::ControlSurface& Surface() { return surface_; }
    const platform::ControlSurface& Surface() const { return surface_; }

    // The stored properties (StoredLook) change nothing in what the button draws or how it reacts,
    // except BackColor, which is the surface's.
    const std::string& caption() const { return caption_; }
    // Stores the caption and draws the button up.
    void caption(const std::string& text);
    // The surface's background: the button shows it at once.
    platform::Colour BackColor() const { return surface_.BackColor(); }
    void BackColor(platform::Colour c);

    // The caption restored is not drawn until the next paint.
    void ReadProperties(const platform::PropertyBag& bag, const platform::Font& ambient);
    void WriteProperties(platform::PropertyBag& bag, const platform::Font& ambient) const;

    // Draws the button up or pressed.
    void Draw(bool pressed);

    // Event 1 (the release, before the button is drawn up) and event 2 (the press, after it is
    // drawn pressed); the point in pixels.
    std::function<void(std::int16_t button, std::int16_t shift, float x, float y)> MouseUp;
    std::function<void(std::int16_t button, std::int16_t shift, float x, float y)> MouseDown;

  private:
    platform::ControlSurface surface_;
    std::string caption_;
};

} // namespace controls
