// Cards added during play: a picture of the game's image folder becomes a new card of a common
// deck, in the running game and in the definition, so that every later game has it too.
#pragma once

#include <cstdint>
#include <string>

// Adds a card with that definition line (the picture's file name) to the deck: the card record,
// the deck's size and the game's card count, a place on top of the stacking order, and the
// definition's keys. The card is numbered after the deck's last card. Refused, with a message and
// nothing changed, when that number belongs to a card of another deck, when the card table is
// full, when the deck is not a common deck, or when the definition cannot be written. The new
// card's number, or 0 when refused. Its control is the table window's to make.
std::int16_t CreateNewCard(std::int16_t deck, const std::string& line);

// Appends the line to the deck's card lines in the game file in use: the deck's `decksize` grows
// by one and the new last `card` key holds the line. False, with a message, when the file cannot
// be written; it then keeps its old content.
bool SaveNewCardToGameFile(std::int16_t deck, const std::string& line);
