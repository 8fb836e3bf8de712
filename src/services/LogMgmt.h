// The game log: the [LOG] settings of the game in use, the entries players and actions add, the
// wording of the card-action entries, and the lines a list shows of an entry. The entries are kept
// in the model's log store (state/LogStore.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The [LOG] switches of the game in use: on when the value, upper-cased, is "TRUE".
bool IsLogEnabled();
bool LogAllDiceRolls();
// Whether [LOG] log_card_actions contains the action word (with case).
bool IsCardActionLogged(const std::string& word);

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
