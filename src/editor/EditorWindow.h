// What every window the editor opens over its main window shares: Esc closes it, so that it can
// be closed where no window manager gives it a close box.
#pragma once

#include "platform/Form.h"
#include "platform/Keys.h"

namespace wizard {

// Esc unloads the window, whichever of its controls has the focus.
inline void CloseOnEscape(platform::Form& window) {
    window.SetKeyPreview(true);
    window.OnKeyDown = [&window](int key, int) {
        if (key == platform::keys::kEscape) window.Unload();
    };
}

} // namespace wizard
