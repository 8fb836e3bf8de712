// The small helpers the files of the editor window share: placing a control on a frame, the
// number a count box holds, a player's section of the game file. Only the window's own files
// include it.
#pragma once

#include "common/Numbers.h"
#include "platform/Controls.h"

#include <memory>
#include <string>

namespace wizard {

template <class T, class... A>
std::unique_ptr<T> Make(platform::NativeWidget* parent, int left, int top, int width, int height, A... args) {
    auto control = std::make_unique<T>(parent, args...);
    control->Move(left, top, width, height);
    return control;
}

inline std::unique_ptr<platform::CommandButton> Button(platform::NativeWidget* parent,
                                                       const std::string& caption, int left, int top,
                                                       int width, int height = 360) {
    auto button = Make<platform::CommandButton>(parent, left, top, width, height);
    button->SetCaption(caption);
    return button;
}

inline std::unique_ptr<platform::Label> Caption(platform::NativeWidget* parent, const std::string& caption,
                                                int left, int top, int width, int height = 285) {
    auto label = Make<platform::Label>(parent, left, top, width, height);
    label->SetCaption(caption);
    return label;
}

// The number of a count box: its leading number, rounded halves to even.
inline int BoxNumber(const std::string& text) {
    return RoundToInt16(LeadingNumber(text));
}

inline std::string PlayerSection(int p) {
    return "Player " + std::to_string(p);
}

} // namespace wizard
