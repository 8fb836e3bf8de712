// Dice: reading the dice of a definition, the roll, and the ring of the last 100 rolls as the roll
// window lists them; the records are the model's (state/DiceRecords.h). Rolls are computed by the
// table's one evaluator `ev`; a roll tells the table view, which places a marker it asks for and,
// in direct play, passes the roll on.
#pragma once

#include "state/DiceRecords.h"

#include <cstdint>
#include <string>
#include <vector>

// Reads [DICE] of the game in use, with the result tables the dice name. More than 50 dice: a message, and
// the first 50 are read. An unknown default die ("$key" missing from [DICES] of globals.dat): a message, and
// the die keeps its "$" text as formula.
void LoadDice();

// Whether a die number from anywhere (a key, a peer, a saved game) names a defined die.
bool IsDefinedDie(int die);

// Rolls a die: the result text (the number, or the value of its result table, or the label of
// the marker kind the table names), with withName the die's name and ": " before it. With show,
// an open roll window lists the roll. The roll enters the ring and, when the game asks for it,
// the game log. A die of "(xN)" rolls N times (at most the ring's 100), each roll counted,
// listed and logged on its own; the texts come back joined by ", ". An evaluator error shows
// "Error n: text" and that roll records nothing: the rolls before it stand. Nothing rolled gives
// "". An undefined die rolls nothing.
std::string RollDice(std::int16_t die, bool show, bool withName);

// Appends a roll to the ring with the current serial (the caller advances the serial).
void AddDiceLogEntry(std::int16_t die, const std::string& text);

// The serial after this one: it wraps from 32767 to 1 instead of overflowing.
std::int16_t NextDiceSerial(std::int16_t serial);

// A roll the peer made: entered into the ring under the next serial, neither listed nor logged.
// A die the game does not define is refused (false) and written to the debug log.
bool ReceiveDiceRoll(std::int16_t die, const std::string& text);

// The rolls of the ring, oldest first, as the roll window lists them: serial, TAB, die name, TAB
// and the text's first line, then each further line after three TABs.
std::vector<std::string> DiceLogLines();
// The lines of one roll in that form.
std::vector<std::string> DiceRollLines(std::int16_t serial, const std::string& name, const std::string& text);

// Whether a digit-key roll of the die places a marker rather than showing a text.
bool DiceUsesMarkers(std::int16_t die);

// A dice-placed marker was moved or deleted: the next one goes to newDiceMarker itself again.
void ResetDiceMarkerCascade();

// Told of every roll made with show, with the lines the roll window adds for it.
class DiceHistoryObserver {
  public:
    virtual ~DiceHistoryObserver() = default;
    virtual void RollShown(const std::vector<std::string>& lines) = 0;
};
// Installs the observer (nullptr for none) and returns the one it replaced; it is not owned.
DiceHistoryObserver* SetDiceHistoryObserver(DiceHistoryObserver* observer);
