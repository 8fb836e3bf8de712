// The stacking order of the table's objects, kept in the game state's z-order list so that it is
// saved and sent with the game: entry 1 at the bottom, entry zOrderCount on top. The operations
// keep the list within its 200 entries, whatever the count read from a file holds.
#pragma once

#include <cstdint>

// Takes the pair out of the list; a pair that is not listed changes nothing.
void RemoveFromZOrder(std::int16_t kind, std::int16_t index);

// Moves the pair to the top (toBack 0) or to the bottom (toBack not 0), adding it when it is not
// listed. A full list keeps its top 200: a new pair on top drops the bottom entry, and a new pair
// sent to the bottom of a full list stays unlisted, which is below every listed object anyway.
void BringToFrontZOrder(std::int16_t kind, std::int16_t index, std::int16_t toBack);

// Restacks the table's controls (through the view) in list order, so that the last entry ends on top. Entries
// that name no existing control (a card in a discard pile or without a control, a marker control that is not
// loaded, an unknown kind) are passed over.
void ApplyZOrder();

// The list position (1..count) of the card shown by a table card control; -1 when none.
std::int16_t FindCardInZOrder(std::int16_t controlIndex);

// Renumbers the first entry of that kind and old index.
void ReplaceInZOrder(std::int16_t oldIndex, std::int16_t newIndex, std::int16_t kind);
