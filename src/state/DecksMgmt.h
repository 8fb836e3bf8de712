// Operations on the piles of a deck: shuffling, finding a card at a place of a pile, counting and
// listing pile and hand cards, closing gaps in a draw pile, splitting decks among the players or
// into parts at load, and the test of a deck's restricted actions. A deck or card number outside
// the tables (from a saved game or a peer) names nothing: nothing changes, the answer is empty.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Puts the deck's cards into a new random order. Both flags false: the first shuffle at load
// (the cards not yet placed). Discard flag: the discard pile and the draw pile become one new
// draw pile. Draw-pile flag (tested first): the draw pile alone. Afterwards the deck's draw pile
// holds positions 1 to N for its N cards, with no gap.
void ShuffleDeck(std::int16_t deck, bool discard, bool drawPile);

// A permutation of 1..n (at most 500 numbers), or 1..n in order when keepOrder.
std::vector<std::int16_t> BuildRandomOrder(std::int16_t n, bool keepOrder);

// The lowest card of the deck at that place of its discard pile (inDiscard) or draw pile; -1.
std::int16_t FindCard(std::int16_t deck, std::int16_t position, bool inDiscard);

// The cards of the deck's draw pile or discard pile (position 1 or more), lowest position first:
// the draw pile from its top, the discard pile from its bottom.
std::vector<std::int16_t> DrawPileInOrder(std::int16_t deck);
std::vector<std::int16_t> DiscardPileInOrder(std::int16_t deck);

// No card at the deck's next draw position (or that position lies beyond the deck size).
bool IsDeckEmpty(std::int16_t deck);

bool IsCardEliminated(std::int16_t card);

// The cards in the player's hand, in card order.
std::vector<std::int16_t> ListHandCards(std::int16_t player);

// The face-down cards of the draw pile from the next draw position on, in draw order; at most
// maxCount.
std::vector<std::int16_t> ListDrawPileCards(std::int16_t deck, std::int16_t maxCount);

std::int16_t CountHandCards(std::int16_t player);

// The cards of the deck in its discard pile, or in its draw pile (not in a hand).
std::int16_t CountPileCards(std::int16_t deck, bool discard);

// After cards were taken from inside the draw pile: the cards from `from` on close up in order.
void CloseDrawPileGaps(std::int16_t deck, std::int16_t from);

// Whether the player may FLIP, DISCARD, ELIMINATE, ROTATE or DRAW the card: always for the
// owner, in a design session and for the arbitrator; otherwise unless the deck restricts it.
bool IsActionAllowed(std::int16_t player, const std::string& action, std::int16_t card);

// At load: deals every deck with `split` out to the players' first decks, one card each in turn.
void SplitDeckAmongPlayers();

// At load: cuts every deck whose split count is above 1 into that many part decks.
void SplitDecks();

// The player's first deck; -1 when the player has none.
std::int16_t FindPlayerDeck(std::int16_t player);
