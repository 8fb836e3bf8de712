// The bodies of the card actions, run alike by the acting side and by the other side's commands:
// a card taken off the table, discarded, eliminated, flipped, inverted, taken, given, moved under
// its draw pile or put back into it; the discard pile's top picture; the end of the game.
#include "table/CardActions.h"

#include "common/Numbers.h"
#include "services/LogMgmt.h"
#include "state/DecksMgmt.h"
#include "state/GameMgmt.h"
#include "state/HandMgmt.h"
#include "state/ZOrder.h"
#include "table/CardActionsInternal.h"
#include "table/CarriedMarkers.h"
#include "table/HandCards.h"
#include "table/InfoPanel.h"
#include "table/MainForm.h"
#include "table/TableSetup.h"

using namespace card_actions;

namespace {

std::string FacePath(std::int16_t card) {
    return GameImagePath(Cards[card].image);
}

} // namespace

void CardActions::TakeOffTable(std::int16_t card, std::int16_t element) {
    // An element that shows another card (a stale index from the other side) keeps that card and
    // its markers.
    const bool shown = CardOfElement(element) == card;
    if (shown) MoveAttachedMarkers(element, 0, 0, kMarkersDelete);
    RemoveFromZOrder(kZCard, card);
    if (shown) RemoveCardControl(element);
    CardRecord& c = Cards[card];
    c.controlIndex = -1;
    c.selectionMark = -1;
}

void CardActions::ShowPileTop(std::int16_t deck) {
    controls::TranspImg* pile = table_.DiscardImg(deck);
    const std::int16_t top = Game.lastDiscarded[deck];
    if (!pile) return;
    if (CardTable::Contains(top))
        pile->loadNewPicture(FacePath(top), true, Game.decks[deck].resize != kFalse);
    else
        pile->loadNewPicture(Game.discardImages[deck], true);
}

void CardActions::DiscardCardProcedure_body(std::int16_t card, std::int16_t element) {
    if (!CardTable::Contains(card) || !ValidDeck(Cards[card].deck)) return;
    const std::int16_t deck = Cards[card].deck;
    TakeOffTable(card, element);
    CardRecord& c = Cards[card];
    c.inDiscardPile = kTrue;
    // A card held on the table is held no more once discarded.
    c.inHand = kFalse;
    c.eliminated = kFalse;
    c.faceShown = kFalse;
    c.rotation = 0;
    c.pilePosition = Game.nextDiscardPositions[deck];
    Game.nextDiscardPositions[deck] = ClampToInt16(Game.nextDiscardPositions[deck] + 1);
    Game.lastDiscarded[deck] = card;
    ShowPileTop(deck);
    UpdateHandSizeCaptions();
    UpdateDeckCountCaption(deck);
    LogCardDiscarded(card);
}

void CardActions::EliminateCardBody(std::int16_t element, std::int16_t card) {
    if (!CardTable::Contains(card)) return;
    const bool shown = CardOfElement(element) == card;
    if (shown) MoveAttachedMarkers(element, 0, 0, kMarkersDelete);
    RemoveFromZOrder(kZCard, card);
    LogCardEliminated(card);
    CardRecord& c = Cards[card];
    c.controlIndex = -1;
    c.pilePosition = kPileEliminated;
    c.selectionMark = -1;
    c.eliminated = kTrue;
    c.inHand = kFalse;
    c.inDiscardPile = kFalse;
    c.faceShown = kFalse;
    if (shown) RemoveCardControl(element);
}

void CardActions::Flip_Click_body(std::int16_t card) {
    const std::int16_t element = MenuCard;
    if (!CardTable::Contains(card) || CardOfElement(element) != card) return;
    CardRecord& c = Cards[card];
    // What a flip turns is whether the card is kept face down: both sides hold that alike, while
    // what each side shows differs (another seat's hand card is hidden here). Judging by the face
    // shown here would turn the card one way on the acting side and the other way on the other.
    c.keptFaceDown = ToFlag(c.keptFaceDown == kFalse);
    const bool othersHand = (IsCardInHand(element, card) || c.inHand != kFalse) && c.owner != CurrentPlayer();
    const bool shown = c.faceShown != kFalse;
    const bool show = c.keptFaceDown == kFalse && !othersHand;
    if (show != shown) {
        c.faceShown = ToFlag(show);
        LoadCardPicture(element, card, !show, true);
        MoveAttachedMarkers(element, 0, 0, show ? kMarkersShow : kMarkersHide);
    }
    // Another seat's hidden card changes nothing this side can see: no line names it. One whose
    // face showed here (to the arbitrator, in test mode) was seen to turn.
    if (!othersHand || shown) LogCardFlipped(card);
}

void CardActions::TakeCard_body(std::int16_t element, std::int16_t card, std::int16_t player) {
    if (!CardTable::Contains(card)) return;
    CardRecord& c = Cards[card];
    c.owner = player;
    if (c.faceShown == kFalse && c.keptFaceDown == kFalse && CardOfElement(element) == card)
        PlaceCardOnTable(element, card);
}

void CardActions::Move2BottomOfDrawDeck_body(std::int16_t card) {
    if (!CardTable::Contains(card) || !ValidDeck(Cards[card].deck)) return;
    const std::int16_t deck = Cards[card].deck;
    const bool wasEmpty = IsDeckEmpty(deck);
    if (Cards[card].controlIndex != -1) {
        TakeOffTable(card, Cards[card].controlIndex);
    } else {
        RemoveFromZOrder(kZCard, card);
        Cards[card].selectionMark = -1;
    }
    CardRecord& c = Cards[card];
    c.inHand = kFalse;
    c.inDiscardPile = kFalse;
    c.eliminated = kFalse;
    c.faceShown = kFalse;
    c.pilePosition = -99; // out of the searches below
    const std::vector<std::int16_t> pile = DrawPileInOrder(deck);
    const int size = Game.deckSizes[deck];
    if (!pile.empty() && Cards[pile.back()].pilePosition < size) {
        // Under the last card: the cards above keep their places.
        c.pilePosition = ClampToInt16(Cards[pile.back()].pilePosition + 1);
    } else {
        // No room under the pile (or no pile): it closes up from 1, the card under it.
        for (std::size_t k = 0; k < pile.size(); ++k)
            Cards[pile[k]].pilePosition = ClampToInt16(static_cast<long long>(k) + 1);
        c.pilePosition = ClampToInt16(static_cast<long long>(pile.size()) + 1);
        Game.nextDrawPositions[deck] = 1;
    }
    UpdateDeckCountCaption(deck);
    if (wasEmpty)
        if (controls::TranspImg* image = table_.DeckImg(deck))
            image->loadNewPicture(Game.backImages[deck], true);
}

void CardActions::PutBack_body(std::int16_t element) {
    const std::int16_t card = CardOfElement(element);
    if (card == 0 || !ValidDeck(Cards[card].deck)) return;
    TakeOffTable(card, element);
    CardRecord& c = Cards[card];
    c.pilePosition = 0;
    c.faceShown = kFalse;
    c.rotation = 0;
    c.inHand = kFalse;
    c.inDiscardPile = kFalse;
    c.eliminated = kFalse;
}

void CardActions::PutBackAndReshuffle_body(std::int16_t element) {
    const std::int16_t card = CardOfElement(element);
    if (card == 0 || !ValidDeck(Cards[card].deck)) return;
    const std::int16_t deck = Cards[card].deck;
    PutBack_body(element);
    ShuffleDeck(deck, false, true);
    Game.nextDrawPositions[deck] = 1;
    if (controls::TranspImg* image = table_.DeckImg(deck)) image->loadNewPicture(Game.backImages[deck], true);
    UpdateDeckCountCaption(deck);
}

void CardActions::InvertCard_body(std::int16_t element) {
    const std::int16_t card = CardOfElement(element);
    if (card == 0) return;
    RotateCard(element, Cards[card].rotation == 180 ? 0 : 180);
}

void CardActions::GiveCard_body(std::int16_t element, std::int16_t card, std::int16_t seat) {
    if (!CardTable::Contains(card) || seat < 1 || seat > kMaxSeats) return;
    Cards[card].owner = seat;
    if (GivenCardsGoToHand())
        PutCardInHand(card, CardOfElement(element) == card ? element : std::int16_t{-1}, seat);
    UpdateHandSizeCaptions();
}

void CardActions::EndGame_body() {
    AllCardsVisible = kTrue;
    Game.GamePhase = kPhaseEnded;
    UpdateTitle();
    for (int d = 0; d < kMaxDecks; ++d)
        Game.decks[d].viewDiscard = kTrue;
}
