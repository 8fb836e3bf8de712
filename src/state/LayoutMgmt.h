// The table's layout as a game's definition keeps it: which seats have an area, where it lies,
// whether the outlines show, and the writer that saves the arranged table back into the file.
// The table window draws the areas it is told of and hands the writer what its controls show.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Gives each seat with a [PLAYER n] layout its table area (placed, not yet shown); seats without
// one keep their flag.
void LoadPlayerLayouts();

// Shows the area of every seat that has one, or hides them all when the game keeps hands in the
// hand window or [GAME] show_hand_lines is "false" (in that spelling).
void ShowHandLines(const std::string& file);

// The section of a deck's layout keys: its own section, or for a deck made by splitting its
// section followed by " SPLIT " and the number of the split.
std::string DeckLayoutSection(int deck);

// A rectangle in twips, written top,left,height,width.
struct LayoutRect {
    double top = 0;
    double left = 0;
    double height = 0;
    double width = 0;
};

// What the table's controls show, as the layout writer needs it. The writer decides which of
// them are saved: the areas come from the model, and a marker or card listed here that is not in
// use or not on the table is passed over.
struct TableLayout {
    LayoutRect window;
    // Entry d: the draw pile and the discard pile of deck d.
    std::vector<LayoutRect> decks;
    std::vector<LayoutRect> discards;
    struct NumMarker {
        int control = 0;
        std::string caption;
        double top = 0;
        double left = 0;
    };
    // Every numerical marker control loaded, in index order.
    std::vector<NumMarker> numMarkers;
    struct ImageMarker {
        int record = 0; // from 1
        double top = 0; // the control's top plus its picture's origin
        double left = 0;
    };
    std::vector<ImageMarker> imageMarkers;
    struct TableCard {
        int control = 0;
        std::string tag; // the card number as text; "" when the control shows no card
        double top = 0;
        double left = 0;
    };
    // Every card control loaded, in index order.
    std::vector<TableCard> cards;
};

// The default-marker line of a numerical marker: "NUM," value ",," top "," left "," label, the
// caption read as "label: value" or a bare value.
std::string NumMarkerLayoutLine(const std::string& caption, double top, double left);
// The default-marker line of image marker record n at a place (its picture's origin).
std::string ImageMarkerLayoutLine(std::int16_t record, double top, double left);

// Writes the layout into the game file in use: the window, the piles of every deck that holds
// cards, the visible seat areas, the default markers and the places of the ON_PLAY cards on the
// table, then says where. Keys it does not write keep their values. The file is written once,
// whole; when it cannot be written it keeps its old content, a message says so and false is
// returned.
bool SaveLayout(const TableLayout& layout);
