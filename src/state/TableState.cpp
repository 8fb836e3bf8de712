#include "state/TableState.h"

#include <algorithm>
#include <cmath>

GameState::GameState() {
    lastCardLines.Fill(-1);
    nextDrawPositions.Fill(1);
    nextDiscardPositions.Fill(1);
    lastDiscarded.Fill(-1);
    players[kArbitratorSeat].name = kArbitratorName;
}

float DeckZoom(double percent) {
    if (!(percent > 0) || !std::isfinite(percent)) return 100.0f;
    return static_cast<float>(std::clamp(percent, double{kMinDeckZoom}, double{kMaxDeckZoom}));
}

CardRecord NewCardRecord(std::int16_t deck) {
    CardRecord card;
    card.deck = deck;
    return card;
}

void ClearCardTable() {
    Cards.Fill(CardRecord{});
}
