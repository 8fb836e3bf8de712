#include "controls/MInfoTip.h"

#include "controls/CInfoTip.h"
#include "platform/Files.h"
#include "state/Helpers.h"
#include "common/Numbers.h"

namespace controls {

std::shared_ptr<CInfoTip> CurrentInfoTip;

std::int16_t CardTooltipDelay() {
    const std::string value =
        GetIni("INTERFACE", "card_tooltip_delay", platform::ProgramFolder() + "\\karvel.ini");
    if (value.empty()) return 1500;
    return RoundToInt16(LeadingNumber(value));
}

void InfoTipTimerProc() {
    if (CurrentInfoTip) CurrentInfoTip->Hide();
}

} // namespace controls
