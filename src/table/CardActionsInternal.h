// What the files of the card actions (CardActions.cpp, CardMenus.cpp, CardBodies.cpp,
// DeckActions.cpp, CardMouse.cpp) share, and nothing outside them includes.
#pragma once

#include "state/TableState.h"

#include <cstdint>

namespace card_actions {

inline std::int16_t CurrentPlayer() {
    return Game.CurrentPlayer;
}

} // namespace card_actions
