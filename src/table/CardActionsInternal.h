// What the files of the card actions (CardActions.cpp, CardMenus.cpp, CardBodies.cpp,
// DeckActions.cpp, CardMouse.cpp) share, and nothing outside them includes.
#pragma once

#include "state/TableState.h"

#include <cstdint>

namespace card_actions {

inline bool ValidDeck(int deck) {
    return deck >= 0 && deck < kMaxDecks && deck < Game.deckCount;
}

inline std::int16_t CurrentPlayer() {
    return Game.CurrentPlayer;
}

} // namespace card_actions
