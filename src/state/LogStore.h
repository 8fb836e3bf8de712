// The store of the game log the model holds, kept with the game, and the link to an open log
// window. What goes into it and how a window lists it is the game log's (services/LogMgmt.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The store is a ring: slots 1 to LogLines.size() - 1, LogCount of them in use, the oldest in
// slot LogFirst. A new entry in a full store overwrites the oldest, so logging costs the same
// whatever the store holds.
extern std::vector<std::string>& LogLines;
extern std::int16_t& LogCount;
extern std::int16_t& LogFirst;

// Sizes the log store for the game in use ([LOG] max_log_items, 200 when below 1) and empties it;
// an open log window empties with it.
void InitLog();

// The number of entries the store holds at most.
int LogCapacity();
// Entry n, 1 the oldest to LogCount the newest; "" outside that range.
const std::string& LogEntry(int n);

// Appends an entry as it stands; a full store drops its oldest entry.
void StoreLogItem(const std::string& text);

// Told of every entry stored while it is installed, and whether the oldest was dropped for it; and
// told when InitLog emptied the store (a new game, or a saved game about to fill it again).
class LogObserver {
  public:
    virtual ~LogObserver() = default;
    virtual void LogEntryStored(const std::string& entry, bool droppedOldest) = 0;
    virtual void LogEmptied() = 0;
};
// Installs the observer (nullptr for none) and returns the one it replaced; it is not owned.
LogObserver* SetLogObserver(LogObserver* observer);
