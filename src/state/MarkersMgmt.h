// The marker kinds of a game (the players', the program-wide ones of globals.dat and the groups')
// and the marker groups, with the lookups the rest of the engine makes on them. They are read
// again with every definition and saved game and are not saved.
#pragma once

#include "state/FixedTable.h"
#include "state/TableState.h"

#include <cstdint>
#include <string>

constexpr int kMaxMarkerKinds = 300;
constexpr int kMaxMarkerGroups = 20;

struct MarkerTypeRecord {
    std::string frontImage;
    std::string backFaces; // file names joined by "+", shown in turn when flipped
    std::string label;
    std::int16_t number = 0; // rotation step in degrees; below 1 the marker does not turn
    Flag restrictedFlip = kFalse;
    Flag locked = kFalse;
    Flag opaque = kFalse;
    Flag autoFlip = kFalse;
    std::string owner; // a seat number, a group name, or "0" for a global kind
    std::string flags; // the definition's flag words, upper case, joined by "+"
};

struct MarkerGroupRecord {
    std::string caption;
    std::string name;
    std::string members;                 // seat numbers joined by "+"; "" = every seat
    std::int32_t transparentColour = -1; // -1 = none
};

// One image marker on the table, shown by the table window's control mrk(n - 1). Records are
// handed out from 1 upward and never reused within a game; a deleted marker only leaves use. The
// declared order is the order of a saved game.
struct MarkerInstanceRecord {
    std::int16_t top = 0; // position and card: filled only in the copy a saved game holds
    std::int16_t left = 0;
    std::string reserved1;
    std::int16_t card = -1;
    std::string reserved2;
    std::int16_t rotation = 0; // degrees, kept within -360..360
    Flag flipped = kFalse;
    Flag inUse = kFalse;
    std::int16_t kind = 0;
    std::int16_t owner = 0;   // the seat that placed it; 0 for a group or global kind of the set-up
    std::int16_t face = 0;    // 0 the front image, k the k-th back face
    Flag dicePlaced = kFalse; // placed by a cascade of dice markers
};

using MarkerKindTable = FixedTable<MarkerTypeRecord, 1, kMaxMarkerKinds>;
extern MarkerKindTable& MarkerKinds;
extern std::int16_t& MarkerKindCount;

// Groups 1 to MarkerGroupCount come from the definition; 0 and -1 to -7 are reserved.
using MarkerGroupTable = FixedTable<MarkerGroupRecord, -kMaxPlayers, kMaxMarkerGroups>;
extern MarkerGroupTable& MarkerGroups;
extern std::int16_t& MarkerGroupCount;

using MarkerInstanceTable = FixedTable<MarkerInstanceRecord, 1, kMaxMarkers>;
extern MarkerInstanceTable& GraphMarkers;
// The highest image-marker record handed out in this game.
extern std::int16_t& GraphMarkerCount;

inline const std::string kGlobalMarkersName = "$GLOBAL MARKERS$";

// Empties both tables and reads the players' kinds, the global kinds of globals.dat and the groups
// with their kinds. Kinds beyond 300 and groups beyond 20 are cut with a message.
void LoadMarkerDefinitions(const std::string& file);

// Fills kind n from a line "front image,label,back faces,number,flags".
void ParseMarkerDefinition(std::int16_t n, const std::string& line, const std::string& owner);

// Reads [MARKER GROUPS] and each group's kinds.
void LoadMarkerGroups(const std::string& file);

// [NUMERICAL MARKERS] max_increment of the game in use; 10 when empty.
std::int16_t GetMaxIncrement();

// The position-th kind (in table order) whose owner is the owner text without surrounding blanks;
// 0 when there is none.
std::int16_t ParseListEntry(std::int16_t position, const std::string& owner);

// The position of a kind among the kinds of its owner; the inverse of ParseListEntry.
std::int16_t ListEntryOfType(std::int16_t kind);

// The defined group (1 to MarkerGroupCount) with that name; 0 when none.
std::int16_t GroupIndexByName(const std::string& name);

// Whether a seat (as text) may use a group's kinds: every seat when the members are "".
Flag IsMemberOfGroup(const std::string& name, const std::string& groupName);

// Whether the kind's flags hold the word (compared in upper case) as one of their "+" parts;
// false for a kind outside the table.
Flag HasMarkerFlag(std::int16_t kind, const std::string& word);

// The full path of a kind's front image: below the program folder when it starts with "\",
// otherwise in the game's image folder; "" for a kind outside the table.
std::string MarkerKindImagePath(std::int16_t kind);
