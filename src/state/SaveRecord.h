// The saved-game record and its one codec: the bytes of a `.save` file, and of the game that
// direct play sends, written and read member by member in their stored widths and order.
//
// Byte form. Members follow each other with nothing between them: no header, no padding, no
// checksum. A 16-bit value or flag is 2 bytes, a float 4 bytes IEEE single precision, both
// little-endian. A text is its length as an unsigned 16-bit value, then that many ANSI bytes; a
// text longer than 65,535 bytes cannot be written. An array is its elements in index order
// without a count. The log lines, the one list of variable length, start with a descriptor: the
// number of dimensions (16-bit), then for one dimension the element count and the lower bound
// (32-bit each, the bound 1). The writer gives the full descriptor even to an empty list; the
// reader also takes the bare form of an empty list, a dimension count of 0 alone.
//
// The reader is strict: every count and index is checked against the fixed tables, a record must
// end exactly where the file does, and a file larger than kMaxSaveRecordBytes is refused before it
// is read. A deck's first card may be one past the total cards: the deck is empty. Whatever it
// refuses, it leaves the running game alone: it fills a record of its own.
#pragma once

#include "state/DiceRecords.h"
#include "state/FixedTable.h"
#include "state/MarkersMgmt.h"
#include "state/TableState.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A control's place on the table, in twips, as saved games hold it.
struct SavedPosition {
    std::int16_t top = 0;
    std::int16_t left = 0;
};

constexpr int kSavedPileSlots = 2 * kMaxDecks; // deck images 1 to 12, then discard piles 1 to 12

struct SaveRecord {
    std::string version;
    GameState game;
    CardTable cards;
    FixedTable<SavedPosition, 1, kMaxCards> cardPositions;
    FixedTable<SavedPosition, 1, kSavedPileSlots> pilePositions;
    FixedTable<SavedPosition, 1, kMaxMarkers> numMarkerPositions;
    FixedTable<std::string, 1, kMaxMarkers> numMarkerCaptions;
    FixedTable<std::int16_t, 1, kMaxMarkers> numMarkerCards; // card number, -1 none
    MarkerInstanceTable imageMarkers;
    std::int16_t numMarkerCount = 0;
    std::int16_t imageMarkerCount = 0;
    std::string gameFile;
    DiceLogTable diceLog;
    std::string notes;
    FixedTable<std::int16_t, 1, kMaxPlayers> options;
    DeckTable<DeckRecord> decks;
    std::vector<std::string> logLines; // lines 1 to logCount, oldest first
    std::int16_t logCount = 0;

    SaveRecord();
};

// Whether a card of a record lies on the table with a control of its own: it has one, is in no
// discard pile and is not in the hand window.
bool IsTableCard(const CardRecord& card, const GameState& game);

// Whether a record holds a game already under way: a card on the table, in a discard pile or
// eliminated, or a marker on the table. A new game leaves before its opening deal, and dealing
// again over such a record would give two cards one control.
bool HoldsPlayedTable(const SaveRecord& record);

// The largest record the program writes or reads. The format itself would allow records of
// gigabytes (thousands of texts of 64 KB); a real game stays far below this, and a file beyond it
// is refused before a byte of it is read.
constexpr std::size_t kMaxSaveRecordBytes = 64u * 1024u * 1024u;

// What a record holds that the game cannot take: every count and index the game reads the
// tables by, against the fixed tables, and every path it names below the program folder; "" when
// it is sound. The reader refuses such a record, and a save refuses to write it.
std::string SaveRecordProblem(const SaveRecord& record);

// The bytes of a record; false, with `error` set, when a text is longer than 65,535 bytes or the
// record would exceed kMaxSaveRecordBytes.
bool EncodeSaveRecord(const SaveRecord& record, std::string& bytes, std::string& error);

// Reads a record from bytes into `record`, which is left in an unspecified state on failure;
// false, with `error` saying what is wrong, for anything that is not one sound record.
bool DecodeSaveRecord(std::string_view bytes, SaveRecord& record, std::string& error);

// A new, empty record on the heap (it is too large for the stack).
std::unique_ptr<SaveRecord> NewSaveRecord();

// The save folder beside the program, and the model path of a file in it.
std::string SaveFolder();
std::string SaveFilePath(const std::string& fileName);

// What reading a save file gave.
enum class SaveReadResult {
    ok,
    unreadable, // missing, unreadable, outside the folder, or larger than any record
    malformed,  // read whole, and not a record of the current format
    refused,    // a record of the current format (or of this version, damaged) that the game cannot take
};

// Reads and decodes the file of exactly that name in the save folder into `record`.
SaveReadResult ReadSaveFile(const std::string& fileName, SaveRecord& record, std::string& error);

// The definition a record was saved from, as a file of this program folder: the program folder,
// "\" and the stored path's last component; "" when the stored path is empty or that component
// is not a name a file can have (control characters, wildcards, a drive).
std::string RerootedGameFile(const std::string& storedPath);

// The definition that the save `saveName` + ".save" was made from, re-rooted on the program
// folder; "" when the file does not read as a save of the current format. Changes nothing and
// shows nothing: its callers say what they make of an empty answer.
std::string ReadSaveHeader(const std::string& saveName);

// One save of the save folder as the game list and the save dialogs show it.
struct SavedGameEntry {
    std::string fileName;    // "name.save", the file to load
    std::string saveName;    // the file name less ".save"
    std::string gameFile;    // ReadSaveHeader's answer; "" for a save of an older format or a damaged one
    std::string damage;      // what is wrong with a file that is no older format and does not load; ""
    std::string gameName;    // [GAME] name of that definition
    std::string description; // [GAME] description of that definition, as it stands
    std::string modified;    // the file's last change, as "YYYY-MM-DD hh:mm:ss"
};

// Every "*.save" file of the save folder, sorted by name without regard to case, each read once.
std::vector<SavedGameEntry> ListSavedGames();

// Deletes the saves that were read whole and are not records of the current format; a file that
// could not be read stays, and so does every file of this version (a save refused for what it
// holds, or a damaged one). The number deleted.
int DeleteOldFormatSaves();

// The game list's text of an entry: name, " (", game name, ") - ", date; for an older format
// name, " (** Old savegame format **) - ", date; for a damaged save name, " (** Damaged saved
// game **) - ", date.
std::string SavedGameListText(const SavedGameEntry& entry);
