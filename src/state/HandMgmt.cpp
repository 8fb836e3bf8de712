#include "state/HandMgmt.h"

#include "state/EffectMgmt.h"
#include "state/PlayerMgmt.h"
#include "state/TableState.h"
#include "state/TableView.h"

bool IsCardInHand(std::int16_t control, std::int16_t card) {
    return IsCardInHand(control, card, [control] { return View().CardControlPicture(control); });
}

std::optional<bool> CardInHandWherever(std::int16_t control, std::int16_t card) {
    if (!CardTable::Contains(card)) return false;
    const CardRecord& c = Cards[card];
    if (Game.external_hand) return c.inHand != kFalse;
    if (control < 0) return false;
    // The owner's area first: asking where the control lies costs more.
    if (c.owner < 1 || c.owner > kMaxPlayers || !Game.players[c.owner].hasTableArea) return false;
    return std::nullopt;
}

bool PictureInOwnersArea(std::int16_t card, const CardPictureRect& picture) {
    if (!CardTable::Contains(card)) return false;
    const CardRecord& c = Cards[card];
    if (c.owner < 1 || c.owner > kMaxPlayers) return false;
    const PlayerAreaShape& area = PlayerAreas[c.owner - 1];
    // A card touching an edge of the area is not in the hand.
    return picture.top > area.top && picture.left > area.left &&
           area.top + area.height > picture.top + picture.height &&
           area.left + area.width > picture.left + picture.width;
}

void DealOnHandCards() {
    for (int card = 1; card <= Game.totalCards && CardTable::Contains(card); ++card) {
        if (!CardHasEffect(static_cast<std::int16_t>(card), kOnHand)) continue;
        Cards[card].pilePosition = kPileInPlay;
        Cards[card].inHand = kTrue;
    }
}
