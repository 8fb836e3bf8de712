// The game log: the [LOG] settings of the game in use, the store of entries kept with the game,
// the wording of the card-action entries, and the link to an open log window.
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

// The [LOG] switches of the game in use: on when the value, upper-cased, is "TRUE".
bool IsLogEnabled();
bool LogAllDiceRolls();
// Whether [LOG] log_card_actions contains the action word (with case).
bool IsCardActionLogged(const std::string& word);

// Appends an entry as it stands; a full store drops its oldest entry.
void StoreLogItem(const std::string& text);
// Appends an entry with the acting player's prefix.
void AddLogEntry(const std::string& text);
// Appends an entry a player wrote in the log window, whose prefix names the arbitrator while the
// arbitrator is logged in. An open log window shows it as it shows every new entry.
void AddLogEntryToList(const std::string& text);

// The lines a list shows for an entry: its first line, then each further line after a TAB. How
// many there are, and line n of them (0 the first; "" past the last).
std::vector<std::string> LogListLines(const std::string& entry);
int LogListLineCount(const std::string& entry);
std::string LogListLine(const std::string& entry, int n);

// A card's name as the log and the tool tips give it: its [CARD INFO] title, its key, or its image
// file when it has no key. A deck's `name` directive, or its section name in lower case.
std::string CardDisplayName(std::int16_t card);
std::string DeckDisplayName(std::int16_t deck);

// The card-action entries, each written only when its action word is on in log_card_actions.
// They are called after the action changed the card; a card number outside the table writes
// nothing.
void LogCardPlayed(std::int16_t card);
void LogCardPlayedFromDiscard(std::int16_t card);
void LogCardDrawn(std::int16_t card, bool fromDiscard);
void LogCardDiscarded(std::int16_t card);
void LogCardEliminated(std::int16_t card);
void LogCardFlipped(std::int16_t card);
void LogCardRotated(std::int16_t card);
// The common tail: the text, then "<on hand>", "<facedown>" (when checkFace) or the card's name.
void LogCardAction(std::int16_t card, const std::string& text, bool checkFace);

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
