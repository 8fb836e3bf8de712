#include "state/LogStore.h"

#include "common/Helpers.h"
#include "common/Numbers.h"
#include "state/TableState.h"

#include <utility>

namespace {

const std::string kNoText;

LogObserver* g_observer = nullptr;

} // namespace

void InitLog() {
    int size = LeadingInt16(GetIni("LOG", "max_log_items", CurrentGameFile));
    if (size < 1) size = 200;
    LogLines.assign(static_cast<std::size_t>(size) + 1, std::string()); // slot 0 unused: slots count from 1
    LogCount = 0;
    LogFirst = 1;
    if (g_observer) g_observer->LogEmptied();
}

int LogCapacity() {
    return LogLines.empty() ? 0 : static_cast<int>(LogLines.size()) - 1;
}

const std::string& LogEntry(int n) {
    if (n < 1 || n > LogCount || LogCapacity() == 0) return kNoText;
    return LogLines[static_cast<std::size_t>((LogFirst - 1 + n - 1) % LogCapacity() + 1)];
}

void StoreLogItem(const std::string& text) {
    if (LogCapacity() == 0) InitLog();
    const int capacity = LogCapacity();
    // A store restored from elsewhere may claim more than it holds; it is read as full.
    if (LogCount > capacity) LogCount = static_cast<std::int16_t>(capacity);
    if (LogFirst < 1 || LogFirst > capacity) LogFirst = 1;
    const bool full = LogCount == capacity;
    if (full) {
        LogLines[static_cast<std::size_t>(LogFirst)] = text;
        LogFirst = static_cast<std::int16_t>(LogFirst % capacity + 1);
    } else {
        ++LogCount;
        LogLines[static_cast<std::size_t>((LogFirst - 1 + LogCount - 1) % capacity + 1)] = text;
    }
    if (g_observer) g_observer->LogEntryStored(text, full);
}

LogObserver* SetLogObserver(LogObserver* observer) {
    std::swap(g_observer, observer);
    return observer;
}
