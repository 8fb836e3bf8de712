// The dice records the model holds: the dice of a definition (formula, name, result table), what
// every roll reads of the definition, and the ring of the last 100 rolls. Reading, rolling and
// listing them is the dice roller's (services/DiceRoller.h).
#pragma once

#include "state/FixedTable.h"

#include <cstdint>
#include <string>
#include <unordered_map>

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
