#include "net/MultiplayerMgmt.h"

#include "platform/Seams.h"
#include "state/TableState.h"

void ShowMsg(const std::string& text) {
    platform::ShowMessage(text);
}

void SendDeckShuffle(std::int16_t deck) {
    if (GameMode != kModeDirect || Game.GamePhase != kPhasePlaying) return;
    // The connection arrives with direct play; until then there is no other side to tell.
    (void)deck;
}

bool IsServer() {
    return IsServerSide;
}
