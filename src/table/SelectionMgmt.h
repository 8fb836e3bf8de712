// Several table cards selected at once, to be dragged, discarded or flipped together: Ctrl+click,
// the rectangle drawn on the bare table, select all and clear. A card's selection field and its
// control's halo always agree, and a selection never outlives the card's control.
#pragma once

#include "platform/Twips.h"

#include <cstdint>

void ToggleCardSelection(std::int16_t element);
// The rectangle, in twips of the table surface, from the press point to the right and down.
void StartRubberBand(float x, float y);
void UpdateRubberBand(float x, float y);
void SelectCardsInRubberBand(float x, float y);
void SelectAllCards();
void ClearSelection();
int CountSelectedCards();
// The other selected cards follow the dragged card by dx, dy twips; at the drop each sends its
// own move.
void DragSelectedCards(int dx, int dy, std::int16_t card);
// The rectangle of the table that the cards following the dragged card cover; empty when none
// follows.
platform::TwipRect FollowersExtent(std::int16_t card);
void SendSelectedCardMoves(std::int16_t card);
// The drag of a card ended (or a new one starts): which cards follow is decided afresh.
void EndGroupDrag();
