// The in-hand test every part of the engine asks, and the opening move of the ON_HAND cards into
// their hands. In a game whose hands lie on the table a card is in a hand when its control lies
// inside its owner's area; the view tells where the table's card controls are.
#pragma once

#include <cstdint>

// True when the card lies in its owner's hand: the in-hand flag in a hand-window game, otherwise
// the card's control lies strictly inside the area of its owner (who must have one).
bool IsCardInHand(std::int16_t control, std::int16_t card);

// At the start of a game every ON_HAND card gets pile position -3 and its in-hand flag; it has no
// control yet.
void DealOnHandCards();
