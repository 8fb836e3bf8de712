#include "net/MultiplayerMgmt.h"

#include "state/TableState.h"

void SendDeckShuffle(std::int16_t deck) {
    if (GameMode != kModeDirect || Game.GamePhase != kPhasePlaying) return;
    // The connection arrives with direct play; until then there is no other side to tell.
    (void)deck;
}

bool IsServer() {
    return IsServerSide;
}
