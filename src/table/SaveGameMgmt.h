// Saving the running game to a file of the save folder and loading one back onto the table window:
// the record is filled from a copy of the tables and the table's controls, and a loaded record is
// checked whole before it replaces anything of the running game.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct SaveRecord;

// A marker control as a save reads it and a load makes it again: its place (twips), the caption
// of a numerical marker, and the tag that names the card control it lies on ("-1" none, "" never
// dropped).
struct MarkerControlState {
    int top = 0;
    int left = 0;
    std::string caption;
    std::string tag;
};

// The marker controls as saving and loading see them: the table window's markerNum and mrk unless
// another is installed (tests install their own).
class MarkerControls {
  public:
    virtual ~MarkerControls() = default;
    // Numerical marker control m (from 0); nothing when it is not loaded.
    virtual std::optional<MarkerControlState> NumMarker(int control);
    // The control of image marker record n (from 1); nothing when it is not loaded.
    virtual std::optional<MarkerControlState> ImageMarker(int record);
    // Every marker control goes before a saved game is laid out.
    virtual void ClearMarkers();
    // Makes numerical marker control m, shown in front, as the state says.
    virtual void RestoreNumMarker(int control, const MarkerControlState& state);
    // Makes the control of image marker record n, which GraphMarkers holds already.
    virtual void RestoreImageMarker(int record, const MarkerControlState& state);
};

// Installs the marker controls (nullptr: the table window's again) and returns the ones replaced
// (nullptr for the table window's); they are not owned.
MarkerControls* SetMarkerControls(MarkerControls* controls);

// Fills a record from the running game without changing it: the stacking order is renumbered in
// the copy only.
void FillSaveRecord(SaveRecord& record);

// Writes the running game to the file of exactly that name in the save folder, replacing it
// atomically. False, with a message, when the game cannot be written; the old file stays whole.
bool SaveGame(const std::string& fileName);

// The name quick save passes to SaveGame for a definition: its file name less ".game", with
// ".pack.save" ("chess.game" anywhere gives "chess.pack.save").
std::string QuickSaveName(const std::string& gameFile);

// The quick save of the table's key: the game in use under QuickSaveName, no dialog.
bool QuickSave();

// Reads the save file of exactly that name and, when it is sound, rebuilds the running game and
// the table from it. A refused file shows a message, changes nothing and gives false. With
// received (direct play) the current player stays as the connection set it; otherwise it is -1
// until the seat login sets it.
bool LoadSavedGame(const std::string& fileName, bool received);

// Lays out the table of a loaded game after the seat login: deck pictures, dice, reports, seat
// areas, stacking order, appearance, the saved positions of the window and the piles, and the
// markers' tips.
void RestoreLoadedTable();
