// The player seats: their names, their own decks and cards, and the outlined areas of the table in
// which the seats' hands lie. The areas are kept here as records; the table window draws them.
#pragma once

#include "state/FixedTable.h"
#include "state/TableState.h"

#include <cstdint>
#include <string>

// One seat's area on the table, in twips, with its outline colour (red in the low byte).
struct PlayerAreaShape {
    int top = 0;
    int left = 0;
    int height = 0;
    int width = 0;
    bool visible = false;
    std::int32_t outlineColour = 0;
};

// Areas 0 to 6 belong to seats 1 to 7; the arbitrator has none. The table window is told of
// every change through the view.
using PlayerAreaTable = FixedTable<PlayerAreaShape, 0, kMaxPlayers - 1>;
extern PlayerAreaTable& PlayerAreas;

// The colour of a seat (1 to 7), as the design tool bar's seat buttons show it; 0 for others.
std::int32_t SeatColour(int seat);

// Names seats 1 to the player count from [PLAYER n] name, gives them no ID and no table area, and
// names seat 8 "Arbitrator".
void LoadPlayerNames(const std::string& file);

// Reads every seat's own decks and their cards after the common decks, continuing the deck and
// card numbering. The caller has made sure that the decks and cards fit the tables.
void LoadPlayerDecks(const std::string& file);

// An area outside 0 to 6 (a seat number read from a file) is passed over by both.
// Places and sizes an area from a "top,left,height,width" text (missing fields give 0); with
// show, also outlines it in its seat's colour and shows it.
void SetPlayerAreaShape(std::int16_t area, const std::string& rect, Flag show);

// Outlines an area in its seat's colour and shows or hides it.
void ShowPlayerArea(std::int16_t area, Flag visible);
