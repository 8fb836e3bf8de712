// Dealing one card into a seat's hand: the record side. Hands that lie on the table also need a
// card control placed in the seat's area; the table window does that part.
#pragma once

#include <cstdint>

// Deals a card of the deck to a seat as its slot-th card of this deal (slot from 1). With card -1
// the card at the deck's next draw position is dealt; nothing happens when there is none, when
// the card belongs to another deck, or when the deck belongs to another seat. With advance the
// deck's next draw position moves on by one.
void DealCard(std::int16_t deck, std::int16_t player, std::int16_t slot, std::int16_t card, bool advance);
