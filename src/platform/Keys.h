// Virtual key codes and shift masks, as the windows' key handlers receive them.
#pragma once

namespace platform::keys {

// Shift masks of key and mouse events.
constexpr int kShift = 1;
constexpr int kCtrl = 2;
constexpr int kAlt = 4;

// Mouse buttons, as mouse events name them.
constexpr int kLeftButton = 1;
constexpr int kRightButton = 2;
constexpr int kMiddleButton = 4;

constexpr int kBack = 8;
constexpr int kTab = 9;
constexpr int kReturn = 13;
constexpr int kShiftKey = 16;
constexpr int kControlKey = 17;
constexpr int kMenuKey = 18;
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kPageUp = 33;
constexpr int kPageDown = 34;
constexpr int kEnd = 35;
constexpr int kHome = 36;
constexpr int kLeft = 37;
constexpr int kUp = 38;
constexpr int kRight = 39;
constexpr int kDown = 40;
constexpr int kInsert = 45;
constexpr int kDelete = 46;
// Digits of the main row are '0' (48) to '9' (57); letters are 'A' (65) to 'Z' (90).
constexpr int kDigit0 = 48;
constexpr int kA = 65;
// Digits of the keypad, distinct from the main row: 96 to 105.
constexpr int kNumpad0 = 96;
constexpr int kMultiply = 106;
constexpr int kAdd = 107;
constexpr int kSubtract = 109;
constexpr int kDecimal = 110;
constexpr int kDivide = 111;
// F1 is 112, F12 is 123.
constexpr int kF1 = 112;
constexpr int kF4 = 115;
constexpr int kF12 = 123;

} // namespace platform::keys
