// Cards added during play: a picture of the game's image folder becomes a new card of a common
// deck, in the running game and in the definition, so that every later game has it too.
#pragma once

#include <cstdint>
#include <string>

// Adds a card with that definition line (the picture's file name) to the deck: the card record,
// the deck's size and the game's card count, a place on top of the stacking order, and the
// definition's keys. The card takes the next free card number, after every card of the game, so
// that no card of this game changes its number. Refused, with a message and nothing changed, when
// the card table is full, when the deck is not a common deck, when the line cannot stand in a
// definition, or when the definition cannot be written. The new card's number, or 0 when refused.
// Its control is the table window's to make.
std::int16_t CreateNewCard(std::int16_t deck, const std::string& line);

// Appends the line to the deck's card lines in the game file in use, after the last line the deck
// reads: `decksize` grows by one and, when the deck names its `lastCard`, that moves to the new
// line, so that every later game deals the card with its deck. The set-up positions of the cards
// that later games number after it move up by one with them. False, with a message, when the file
// cannot be written; it then keeps its old content.
bool SaveNewCardToGameFile(std::int16_t deck, const std::string& line);
