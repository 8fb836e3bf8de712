#include "services/LogMgmt.h"

#include "common/Numbers.h"
#include "state/Helpers.h"
#include "state/TableState.h"

void InitLog() {
    int size = LeadingInt16(GetIni("LOG", "max_log_items", CurrentGameFile));
    if (size < 1) size = 200;
    LogLines.assign(static_cast<std::size_t>(size) + 1, std::string()); // line 0 unused: lines count from 1
    LogCount = 0;
}
