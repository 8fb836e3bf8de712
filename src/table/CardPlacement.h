// A card put into a seat's hand in the hand window, as the card actions and the card picker do
// it until the hand window's own logic takes it over.
#pragma once

#include <cstdint>

// The record side of a card going into a seat's hand in the hand window: in play, held, at the
// window's first place, its face shown. The card has no table control.
void PutCardInHandWindow(std::int16_t card, std::int16_t player);
