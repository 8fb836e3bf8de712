#include "table/CardPlacement.h"

#include "state/TableState.h"
#include "table/InfoPanel.h"

namespace {

// The hand window's first place for a card.
constexpr std::int16_t kHandWindowPlace = 250;

} // namespace

void PutCardInHandWindow(std::int16_t card, std::int16_t player) {
    if (!CardTable::Contains(card)) return;
    CardRecord& c = Cards[card];
    c.owner = player;
    c.controlIndex = -1;
    c.pilePosition = kPileInPlay;
    c.inHand = kTrue;
    c.inDiscardPile = kFalse;
    c.eliminated = kFalse;
    c.faceShown = kTrue;
    c.handLeft = kHandWindowPlace;
    c.handTop = kHandWindowPlace;
    UpdateHandSizeCaptions();
}
