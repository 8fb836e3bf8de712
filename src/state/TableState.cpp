#include "state/TableState.h"

GameState::GameState() {
    lastCardLines.Fill(-1);
    nextDrawPositions.Fill(1);
    nextDiscardPositions.Fill(1);
    lastDiscarded.Fill(-1);
    players[kArbitratorSeat].name = kArbitratorName;
}

CardRecord NewCardRecord(std::int16_t deck) {
    CardRecord card;
    card.deck = deck;
    return card;
}

void ClearCardTable() {
    Cards.Fill(CardRecord{});
}
