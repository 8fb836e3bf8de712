// The received commands of the cards, decks, dice and hands: each runs on this table the body the
// other side's action ran there, with the same arguments.
#include "common/Helpers.h"
#include "common/Numbers.h"
#include "controls/TranspImg.h"
#include "net/MultiplayerMgmt.h"
#include "net/NetCommandsInternal.h"
#include "net/WireWords.h"
#include "services/DebugMgmt.h"
#include "services/DiceRoller.h"
#include "services/LogMgmt.h"
#include "state/DecksMgmt.h"
#include "state/HandMgmt.h"
#include "state/Sarnell.h"
#include "state/TableState.h"
#include "state/ZOrder.h"
#include "table/CardActions.h"
#include "table/CarriedMarkers.h"
#include "table/DiscardPileForm.h"
#include "table/HandCards.h"
#include "table/HandForm.h"
#include "table/InfoPanel.h"
#include "table/MainForm.h"
#include "table/TableSetup.h"
#include "table/ToolBarForm.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace net_commands {

namespace {

// An elimination and a move to the bottom of the draw deck of one card may cross on the wire: each
// side then runs its own action first and receives the other's. The elimination wins on both
// sides: a card put out of the game stays out of it. The side that moved the card takes it out of
// its draw pile again when the elimination arrives; the side that eliminated it ignores the move.
// The move may have closed the pile up from 1, so both sides then lay their pile against its
// bottom in its order, and the two piles are equal again, also after draws made meanwhile.
void PackDrawPile(std::int16_t deck) {
    const std::vector<std::int16_t> pile = DrawPileInOrder(deck);
    const int size = std::max<int>(Game.deckSizes[deck], static_cast<int>(pile.size()));
    int place = size - static_cast<int>(pile.size()) + 1;
    Game.nextDrawPositions[deck] = ClampToInt16(place);
    for (std::int16_t card : pile)
        Cards[card].pilePosition = ClampToInt16(place++);
    UpdateDeckCountCaption(deck);
}

} // namespace

void RecvDeckLock(const NetCommand& c) {
    Game.decks[Whole(c.fields[0])].locked = c.word == wire::kDeckLock ? kTrue : kFalse;
}

void RecvDiceRoll(const NetCommand& c) {
    ReceiveDiceRoll(Whole(c.fields[0]), c.fields[1]);
    ExpectRolledMarker(Whole(c.fields[2]));
}

// The card actions: each handler runs the body the acting side ran, with the same arguments.
void RecvCardDiscard(const NetCommand& c) {
    Actions()->DiscardCardProcedure_body(Whole(c.fields[0]), Whole(c.fields[1]));
}
void RecvCardEliminate(const NetCommand& c) {
    const std::int16_t card = Whole(c.fields[0]);
    if (OnTable(card)) return Actions()->EliminateCardBody(Cards[card].controlIndex, card);
    // The move to the bottom this side made lost the race.
    CardRecord& rec = Cards[card];
    const std::int16_t deck = rec.deck;
    const bool wasEmpty = IsDeckEmpty(deck);
    rec.pilePosition = kPileEliminated;
    rec.eliminated = kTrue;
    rec.faceShown = kFalse;
    rec.selectionMark = -1;
    LogCardEliminated(card);
    PackDrawPile(deck);
    if (!wasEmpty && IsDeckEmpty(deck)) LoadDeckImages(true);
}
void RecvCardFlip(const NetCommand& c) {
    Actions()->MenuCard = Whole(c.fields[1]);
    Actions()->Flip_Click_body(Whole(c.fields[0]));
}
void RecvCardTake(const NetCommand& c) {
    Actions()->MenuCard = Whole(c.fields[1]);
    Actions()->TakeCard_body(Whole(c.fields[1]), Whole(c.fields[0]), Whole(c.fields[2]));
}
void RecvCardRotate(const NetCommand& c) {
    Actions()->MenuCard = Whole(c.fields[0]);
    RotateCard(Actions()->MenuCard, -1);
}
void RecvToBottomOfDrawDeck(const NetCommand& c) {
    const std::int16_t card = Whole(c.fields[0]);
    if (OnTable(card)) return Actions()->Move2BottomOfDrawDeck_body(card);
    // This side's elimination of the card won the race (see PackDrawPile).
    DebugLog("net", std::string(wire::kCardToBottomOfDrawDeck) + " of card " + std::to_string(card) +
                        ": the card was eliminated here first");
    PackDrawPile(Cards[card].deck);
}
void RecvDiscardToBottom(const NetCommand& c) {
    if (GameMode == kModeDirect) Actions()->MoveDiscard2Bottom_body(Whole(c.fields[0]));
}

void RecvDrawCard(const NetCommand& c) {
    const std::int16_t deck = Whole(c.fields[0]);
    // A control is taken as the other side took one for its draw, so that both number them alike.
    const std::int16_t control = NewCardControl();
    const std::int16_t card = FindCard(deck, Game.nextDrawPositions[deck], false);
    Cards[card].owner = AdversarySeat();
    Actions()->DrawNewCard(deck, card, control, true);
    // A card that went to the hand window here leaves its control unused.
    if (Actions()->CardOfElement(control) != card) RemoveCardControl(control);
    UpdateHandSizeCaptions();
}

void RecvCardMove(const NetCommand& c) {
    const std::int16_t element = Whole(c.fields[0]);
    const std::int16_t card = Actions()->CardOfElement(element);
    controls::TranspImg* image = TableWindow()->crd(element);
    platform::ControlSurface& s = image->Surface();
    const int x = Twips(c.fields[1]);
    const int y = Twips(c.fields[2]);
    const bool wasInHand = IsCardInHand(element, card);
    const int dx = x - s.Left();
    const int dy = y - s.Top();
    s.Move(x, y);
    s.BringToFront();
    BringToFrontZOrder(kZCard, card, 0);
    MoveAttachedMarkers(element, ClampToInt16(dx), ClampToInt16(dy), kMarkersMove);
    CardRecord& rec = Cards[card];
    const bool wasShown = rec.faceShown != kFalse;
    const bool inHand = IsCardInHand(element, card);
    if (rec.keptFaceDown != kFalse) {
        rec.faceShown = kFalse;
        LoadCardPicture(element, card, true, true);
    } else if (!inHand && rec.faceShown == kFalse) {
        rec.faceShown = kTrue;
        LoadCardPicture(element, card, false, true);
    } else if (inHand && rec.owner != Game.CurrentPlayer && rec.faceShown != kFalse) {
        rec.faceShown = kFalse;
        LoadCardPicture(element, card, true, true);
    }
    const bool shown = rec.faceShown != kFalse;
    if (shown && !wasShown) MoveAttachedMarkers(element, 0, 0, kMarkersShow);
    if (!shown && wasShown) MoveAttachedMarkers(element, 0, 0, kMarkersHide);
    // As the mover's side noted it: a card that left its owner's area was played.
    if (wasInHand && !inHand) {
        LogCardPlayed(card);
        rec.inHand = kFalse;
    } else if (inHand && !wasInHand) {
        rec.inHand = kTrue;
    }
}

void RecvDiscardToPlay(const NetCommand& c) {
    Actions()->DP_CrdPlayedFromDiscard_body(Whole(c.fields[0]), AdversarySeat());
}

void RecvSelectedDraw(const NetCommand& c) {
    const std::int16_t deck = Whole(c.fields[0]);
    const std::string& list = c.fields[1];
    // The other side marks the cards it took as out of the pile only when they went to its hand
    // window; a card it took to the table came here as a command of its own.
    if (Game.external_hand != kFalse)
        for (std::size_t at = 0; at < list.size(); at += 3) {
            CardRecord& card = Cards[ListEntry(list, at)];
            if (card.controlIndex == -1 && card.inDiscardPile == kFalse && card.eliminated == kFalse)
                card.pilePosition = -30;
        }
    CloseDrawPileGaps(deck, Game.nextDrawPositions[deck]);
    SettlePileTakes(deck);
    UpdateDeckCountCaption(deck);
}

void RecvDeckShuffle(const NetCommand& c) {
    const std::int16_t deck = Whole(c.fields[0]);
    const std::vector<std::int16_t> cards = CardsOfDeck(deck);
    const std::vector<std::string> turns = Turns(c);
    const std::string& order = c.fields[1];
    Actions()->MenuDeck = deck;
    for (std::size_t k = 0; k < cards.size(); ++k) {
        if (order.compare(3 * k, 3, kNotInDrawPile) == 0) continue;
        const std::int16_t card = cards[k];
        // A card the other side put back may still lie here: it must not stay as a ghost.
        if (Cards[card].controlIndex != -1) Actions()->TakeOffTable(card, Cards[card].controlIndex);
        CardRecord& rec = Cards[card];
        rec.pilePosition = static_cast<std::int16_t>(ListEntry(order, 3 * k));
        rec.inDiscardPile = kFalse;
        rec.controlIndex = -1;
        rec.faceShown = kFalse;
        rec.inHand = kFalse;
        rec.rotation = turns.empty() ? std::int16_t{0} : Whole(turns[k]);
    }
    Game.nextDrawPositions[deck] = 1;
    // A shuffle of the draw pile alone leaves the discard pile as it is.
    if (DiscardPileInOrder(deck).empty()) {
        Game.nextDiscardPositions[deck] = 1;
        Game.lastDiscarded[deck] = -1;
    }
    LoadDeckImages(true);
    UpdateDeckCountCaption(deck);
}

void RecvCardInvert(const NetCommand& c) {
    Actions()->InvertCard_body(Whole(c.fields[0]));
}
void RecvCardGive(const NetCommand& c) {
    Actions()->GiveCard_body(Whole(c.fields[1]), Whole(c.fields[0]), Whole(c.fields[2]));
}
// The deck's new order follows as a shuffle command of its own. Until it comes the card lies under
// the draw pile, so that it is in its deck even when no shuffle follows.
void RecvPutBack(const NetCommand& c) {
    const std::int16_t card = Whole(c.fields[0]);
    Actions()->PutBack_body(Whole(c.fields[1]));
    Actions()->Move2BottomOfDrawDeck_body(card);
}
void RecvEndGame(const NetCommand&) {
    Actions()->EndGame_body();
}

void RecvNewCard(const NetCommand& c) {
    const std::int16_t card = CreateNewCard(Whole(c.fields[0]), c.fields[1]);
    if (card == 0) return;
    Cards[card].owner = AdversarySeat();
    PlaceNewCard_body(*TableWindow(), card);
}

// The hand commands. A hand card's table control, when a command names one, must show that card.
void RecvDrawCardToHand(const NetCommand& c) {
    DrawCardToOtherHand(Whole(c.fields[0]), AdversarySeat());
}
void RecvCardDropFromHand(const NetCommand& c) {
    if (c.fields[4] != "TRUE" && c.fields[4] != "FALSE") return DebugLog("dropped", "CDRPHND: no face");
    DropCardFromHand_body(Whole(c.fields[0]), Twips(c.fields[1]), Twips(c.fields[2]), Whole(c.fields[3]),
                          c.fields[4] == "TRUE");
}
void RecvCardToWindowHand(const NetCommand& c) {
    TakeCardToTableHand(Whole(c.fields[0]), Whole(c.fields[1]), Whole(c.fields[2]), Whole(c.fields[3]));
}
// As with the other card commands, the card's own control here, whatever the other side numbered.
void RecvCardToHand(const NetCommand& c) {
    const std::int16_t card = Whole(c.fields[0]);
    PutCardInHand(card, Cards[card].controlIndex, Whole(c.fields[2]));
}
void RecvDiscardToHand(const NetCommand& c) {
    DiscardForm::UpdateDIscardList(Whole(c.fields[0]), Whole(c.fields[1]));
    UpdateDeckCountCaption(Whole(c.fields[1]));
}
void RecvHandDiscard(const NetCommand& c) {
    // The second field, the card's element in the other side's hand window, means nothing here.
    HandForm::DiscardCardProcedure_body(Whole(c.fields[0]));
}

} // namespace net_commands
