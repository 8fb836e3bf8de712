// What the balloon needs outside an instance: the tooltip delay of the table and hand windows,
// the balloon that is timing out, and the countdown's end that hides it.
#pragma once

#include <cstdint>
#include <memory>

namespace controls {

class CInfoTip;

// The balloon that last started a countdown; replaced by the next one, never cleared.
extern std::shared_ptr<CInfoTip> CurrentInfoTip;

// [INTERFACE] card_tooltip_delay of karvel.ini in the program folder, in milliseconds: 1500 when
// empty or missing, else the value's leading number rounded half to even and kept in 16 bits.
std::int16_t CardTooltipDelay();

// The end of a balloon's countdown: hides CurrentInfoTip, whichever balloon's countdown it was.
void InfoTipTimerProc();

} // namespace controls
