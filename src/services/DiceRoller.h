// Dice: the dice of a definition (formula, name, result table), the roll, the ring of the last 100
// rolls and their lines as the roll window lists them. Rolls are computed by the table's one
// evaluator `ev`; a roll tells the table view, which places a marker it asks for and, in direct
// play, passes the roll on.
#pragma once

#include "state/FixedTable.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

constexpr int kMaxDice = 50;
constexpr int kDiceLogSize = 100;

struct DiceDef {
    std::string name;
    std::string formula; // without its "(xN)" prefix
    std::string table;   // "", a [TABLE t] of the definition, or "GLOBAL\t" of globals.dat
    std::int16_t repeat = 1;
    // The result table as LoadDice read it, keys in lower case, so that a roll reads no file.
    std::unordered_map<std::string, std::string> values;
    bool markerMode = false;
};

// What every roll of the game reads of the definition, read once by LoadDice: whether rolls go
// to the game log, and [GAME] newDiceMarker.
struct DiceSettings {
    bool logRolls = false;
    std::string markerCascade;
};

struct DiceLogEntry {
    std::int16_t serial = 0; // 0: the slot was never used
    std::int16_t die = 0;
    std::string text;
};

using DiceTable = FixedTable<DiceDef, 1, kMaxDice>;
using DiceLogTable = FixedTable<DiceLogEntry, 1, kDiceLogSize>;

// Dice 1 to DiceCount are defined. The ring's position and the roll serial are kept in the game
// state (Game.diceLogPosition, Game.diceSerial).
extern DiceTable& Dice;
extern std::int16_t& DiceCount;
extern DiceLogTable& DiceLog;
// How many markers the dice placed at [GAME] newDiceMarker since it was last reset.
extern std::int16_t& DiceMarkerCascade;
extern DiceSettings& DiceRollSettings;

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
