// Which card a control shows is written on the control itself: its tag holds the card's number,
// as the card records the control that shows it (`controlIndex`). These are the one reading of
// that tag, for the table's controls and the hand window's alike.
#pragma once

#include <cstdint>
#include <string>

namespace controls {
class TranspImg;
}

// The card a control's tag names; 0 when it names none.
std::int16_t CardOfTag(const std::string& tag);
// The card a control shows; 0 when it shows none or there is no control.
std::int16_t CardShownBy(const controls::TranspImg* image);
