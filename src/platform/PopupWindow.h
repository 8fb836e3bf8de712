// A small window of our own over every other window: no frame, never takes the focus, and lets
// clicks through to whatever lies below it. Balloons and similar tips draw into a picture and
// show it here; a pixel may be partly see-through (a shadow over the desktop).
#pragma once

#include "platform/Fonts.h"
#include "platform/Picture.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace platform {

struct NativeWidget;

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

// The pointer's position and the screen's size, in pixels of the screen the pointer is on.
ScreenPoint CursorPosition();
TextSize ScreenSize();

// The font the system uses for status bars and tips.
FontSpec StatusFont();

class PopupWindow {
  public:
    // The window stays above its owner (a form's or a surface's handle) and closes with it.
    explicit PopupWindow(NativeWidget* owner = nullptr);
    ~PopupWindow();
    PopupWindow(const PopupWindow&) = delete;
    PopupWindow& operator=(const PopupWindow&) = delete;

    // Shows the picture with its top-left corner at a screen position. `opacity` holds one value
    // per pixel, row by row (0 clear to 255 opaque); when it is empty the picture is opaque.
    void Show(int x, int y, const Picture& picture, const std::vector<std::uint8_t>& opacity = {});
    bool Visible() const;
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;

    // One countdown bound to the window: starting it again starts it over, and it ends with the
    // window. `elapsed` runs from the event loop after the countdown, never inside a call here,
    // so it may destroy this window.
    void StartTimer(int milliseconds, std::function<void()> elapsed);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace platform
