// Dealing one card into a seat's hand: the record side. Hands that lie on the table also need a
// card control placed in the seat's area; the table window does that part.
#pragma once

#include <cstdint>
#include <string>

// Deals a card of the deck to a seat as its slot-th card of this deal (slot from 1). With card -1
// the card at the deck's next draw position is dealt; nothing happens when there is none or when
// the deck belongs to another seat. With advance the deck's next draw position moves on by one.
// Hands on the table: LoadedCardControls grows by one on every call (also when nothing is dealt)
// and the dealt card gets control LoadedCardControls - 1, its face shown to its receiver only,
// and goes on top of the stacking order; the table window loads, places and shows that control. Hand window:
// the card is placed face up at slot x 100 + 250 on both axes of the window.
void DealCard(std::int16_t deck, std::int16_t player, std::int16_t slot, std::int16_t card, bool advance);

// The angle that follows the card's rotation in its deck's `rotate` list; 0 after the last angle
// or for an angle not in the list. Where an angle stands twice, the last occurrence decides.
std::int16_t NextRotationAngle(std::int16_t card);

// The picture file of the card's back: its own "$BACK" picture, else its deck's back.
std::string CardBackImagePath(std::int16_t card);
bool HasCardBackProperty(std::int16_t card);

// Re-roots every deck's back and discard pictures in the game's image folder beside this program,
// keeping only their file names: a saved or received game names them as they lay on the machine
// that wrote it, and a picture path from a file never leads out of the program folder.
void RebaseImagePaths();
