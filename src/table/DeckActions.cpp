// The decks and the discard piles: drawing a card from a deck (the acting side's draw and the
// other side's repeated here), the deck menu (look, reshuffle), the discard pile looked at, its last
// card played back or moved to the bottom, and the pile reshuffled into the deck.
#include "table/CardActions.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "services/LogMgmt.h"
#include "state/CaptionMgmt.h"
#include "state/DecksMgmt.h"
#include "state/HandMgmt.h"
#include "state/Helpers.h"
#include "state/PlayerMgmt.h"
#include "state/ZOrder.h"
#include "table/CardActionsInternal.h"
#include "table/HandCards.h"
#include "table/HandForm.h"
#include "table/InfoPanel.h"
#include "table/MainForm.h"
#include "table/Outbox.h"
#include "table/ShowCardsForm.h"
#include "table/TableSetup.h"

using namespace card_actions;

// ---- drawing ----

void CardActions::DeckImg_DblClick(std::int16_t deck) {
    PressedDeck = -1;
    if (!ValidDeck(deck)) return;
    if (OpponentsDeck(deck)) {
        ShowMsg("You cannot inspect the cards of your opponent");
        return;
    }
    if (IsDeckEmpty(deck)) {
        ShowMsg("No more cards");
        return;
    }
    const std::int16_t top = FindCard(deck, Game.nextDrawPositions[deck], false);
    if (RestrictionRefuses(top, "DRAW", "You cannot draw a card from this deck")) return;
    if (HandIsFull()) return;

    const bool toHandWindow = ArbitratorLoggedIn == kFalse && Game.external_hand != kFalse &&
                              Game.decks[deck].drawToTable == kFalse;
    std::int16_t control = 0;
    if (toHandWindow) {
        ShowHandForm();
        Outbox().SendDrawCardToHand(deck);
    } else {
        control = NewCardControl();
        Outbox().SendDrawCard(deck);
    }
    // The send let window events run (the other side's commands wait until the action is over):
    // the top card is looked up again.
    const std::int16_t card = FindCard(deck, Game.nextDrawPositions[deck], false);
    if (card == -1) {
        ShowMsg("No more cards");
        if (!toHandWindow) RemoveCardControl(control);
        return;
    }
    Cards[card].owner = CurrentPlayer();
    DrawNewCard(deck, card, control, false);
    // A card that lands beside its pile lands beside this side's pile: the other side is told where.
    // (A card drawn into its seat's area lies where the area says, on both tables alike.)
    const std::int16_t owner = Cards[card].owner;
    if (!toHandWindow && CardOfElement(control) == card &&
        (Game.decks[deck].drawToHand == kFalse || owner < 1 || owner > kMaxPlayers))
        SendPlaceOfCard(control);
    UpdateHandSizeCaptions();
    LogCardDrawn(card, false);
}

void CardActions::DrawNewCard(std::int16_t deck, std::int16_t card, std::int16_t control, bool mirrored) {
    if (!ValidDeck(deck) || !CardTable::Contains(card)) return;
    const DeckRecord& d = Game.decks[deck];
    // The other side's draw that this side repeats always came to the table: a draw into its hand
    // window arrives as a command of its own.
    if (!mirrored && ArbitratorLoggedIn == kFalse && Game.external_hand != kFalse &&
        d.drawToTable == kFalse) {
        DrawCardToHandWindow(deck, card);
        return;
    }
    controls::TranspImg* image = table_.crd(control);
    if (!image) return;
    Game.nextDrawPositions[deck] = ClampToInt16(Game.nextDrawPositions[deck] + 1);
    CardRecord& c = Cards[card];
    c.controlIndex = control;
    c.pilePosition = kPileInPlay;
    c.inDiscardPile = kFalse;
    BringToFrontZOrder(kZCard, card, 0);
    platform::ControlSurface& s = image->Surface();
    s.SetTag(std::to_string(card));
    if (d.draw_facedown != kFalse) c.keptFaceDown = kTrue;
    // A card drawn face down, or drawn by the other side into a hand, shows its back; the other
    // side's draw can only be judged once the card lies where it lands.
    bool show = d.draw_facedown == kFalse && (!mirrored || d.drawToHand == kFalse);
    const controls::TranspImg* pile = table_.DeckImg(deck);
    const int pileLeft = pile ? pile->Surface().Left() : 0;
    const int pileTop = pile ? pile->Surface().Top() : 0;
    // The picture decides the control's origin, so the card is placed after each load.
    const auto load_and_place = [&] {
        c.faceShown = ToFlag(show);
        LoadCardPicture(control, card, !show, true);
        if (d.drawToHand != kFalse && c.owner >= 1 && c.owner <= kMaxPlayers) {
            const std::string offset = GetIni(d.section, "cardOffset", CurrentGameFile);
            const auto fields = GetFields(offset, 2, ",");
            int x = RoundToInt32(LeadingNumber(fields[0]));
            int y = RoundToInt32(LeadingNumber(fields[1]));
            if (x == 0) x = 50;
            if (y == 0) y = 50;
            const PlayerAreaShape& area = PlayerAreas[c.owner - 1];
            s.SetLeft(area.left - image->GetOriginLeft() + x);
            s.SetTop(area.top - image->GetOriginTop() + y);
        } else if (d.draw_facedown != kFalse) {
            s.SetLeft(pileLeft + 120 - image->GetOriginLeft());
            s.SetTop(pileTop + 120 - image->GetOriginTop());
        } else {
            const int originLeft = pile ? pile->GetOriginLeft() : 0;
            const int originTop = pile ? pile->GetOriginTop() : 0;
            s.SetLeft(pileLeft - originLeft - image->GetOriginLeft());
            s.SetTop(pileTop - originTop - image->GetOriginTop());
        }
    };
    load_and_place();
    if (mirrored && show && IsCardInHand(control, card)) {
        show = false;
        load_and_place();
    }
    s.SetVisible(true);
    s.BringToFront();
    if (ControlFlags::Contains(control)) CardControlFree[control] = kFalse;
    if (IsDeckEmpty(deck))
        if (controls::TranspImg* empty = table_.DeckImg(deck))
            empty->loadNewPicture(Game.discardImages[deck], true);
    UpdateDeckCountCaption(deck);
}

void CardActions::DisplayDrawDeckMenuItem_Click() {
    const std::int16_t deck = MenuDeck;
    if (!ValidDeck(deck)) return;
    if (OpponentsDeck(deck)) {
        ShowMsg("You cannot inspect the cards of your opponent");
        return;
    }
    AddLogEntry("Looking at " + DeckDisplayName(deck));
    // What a show_hand effect left is not this opener's: it shows the deck as the deck allows.
    ShowHidden = kFalse;
    TakeCard = kFalse;
    ShowCardsForm::Open(ListDrawPileCards(deck, 501), deck, "", false);
}

void CardActions::ReshuffleDrawDeckMenuItem_Click() {
    PressedDeck = -1;
    if (!ValidDeck(MenuDeck)) return;
    ReshuffleDrawDeck_body(MenuDeck);
}

void CardActions::ReshuffleDrawDeck_body(std::int16_t deck) {
    if (!ValidDeck(deck)) return;
    ShuffleDeck(deck, false, true);
    // The discard pile keeps its cards, so its positions stay as they are.
    Game.nextDrawPositions[deck] = 1;
    LoadDeckImages(true);
    if (IsLogEnabled()) AddLogEntry(DeckDisplayName(deck) + " reshuffled (without discard)");
}

// ---- the discard pile ----

void CardActions::ShowDiscardPile(std::int16_t deck) {
    if (!ValidDeck(deck)) return;
    if (OpponentsDeck(deck)) {
        ShowMsg("You cannot inspect the cards of your opponent");
        PressedDeck = -1;
        MenuDeck = -1;
        return;
    }
    if (Game.decks[deck].openDiscardPile == kFalse) {
        ShowMsg("You cannot examine the discard pile");
        return;
    }
    if (Game.nextDiscardPositions[deck] <= 1) {
        ShowMsg("No card has been discarded");
        return;
    }
    MenuDeck = deck;
    if (OpenDiscardWindow) OpenDiscardWindow(deck);
}

void CardActions::DrawLastDiscardItem_Click() {
    const std::int16_t deck = MenuDeck;
    if (!ValidDeck(deck)) return;
    if (Game.nextDiscardPositions[deck] <= 1) {
        ShowMsg("The discard pile is empty");
        return;
    }
    const std::int16_t player = CurrentPlayer();
    const auto top = static_cast<std::int16_t>(Game.nextDiscardPositions[deck] - 1);
    const std::int16_t card = FindCard(deck, top, true);
    Outbox().SendDiscardToPlay(deck);
    // The send let events run: the other side repeats the play of the card that was on top.
    if (Game.nextDiscardPositions[deck] - 1 != top || FindCard(deck, top, true) != card) return;
    DP_CrdPlayedFromDiscard_body(deck, player);
    // The card lands beside this side's discard pile: the other side is told where.
    if (Cards[card].pilePosition == kPileInPlay) SendPlaceOfCard(Cards[card].controlIndex);
}

void CardActions::DP_CrdPlayedFromDiscard_body(std::int16_t deck, std::int16_t owner) {
    if (!ValidDeck(deck)) return;
    MenuDeck = deck;
    const std::int16_t card =
        FindCard(deck, static_cast<std::int16_t>(Game.nextDiscardPositions[deck] - 1), true);
    if (card == -1) return;
    CardRecord& c = Cards[card];
    c.inDiscardPile = kFalse;
    c.inHand = kFalse;
    c.pilePosition = kPileInPlay;
    c.owner = owner;
    Game.nextDiscardPositions[deck] = ClampToInt16(Game.nextDiscardPositions[deck] - 1);
    const std::int16_t control = NewCardControl();
    controls::TranspImg* image = table_.crd(control);
    if (!image) return;
    c.controlIndex = control;
    // Played back face up, whatever way it went onto the pile.
    c.faceShown = kTrue;
    c.keptFaceDown = kFalse;
    LoadCardPicture(control, card, false, false);
    const controls::TranspImg* pile = table_.DiscardImg(deck);
    platform::ControlSurface& s = image->Surface();
    s.SetTop((pile ? pile->Surface().Top() : 0) + 100 - image->GetOriginTop());
    s.SetLeft((pile ? pile->Surface().Left() : 0) + 100 - image->GetOriginLeft());
    s.SetTag(std::to_string(card));
    s.SetVisible(true);
    if (ControlFlags::Contains(control)) CardControlFree[control] = kFalse;
    Game.lastDiscarded[deck] =
        Game.nextDiscardPositions[deck] <= 1
            ? std::int16_t{-1}
            : FindCard(deck, static_cast<std::int16_t>(Game.nextDiscardPositions[deck] - 1), true);
    ShowPileTop(deck);
    // A card on the table belongs to the stacking order, as a drawn card does.
    BringToFrontZOrder(kZCard, card, 0);
    s.BringToFront();
    UpdateDeckCountCaption(deck);
    LogCardPlayedFromDiscard(card);
}

void CardActions::MoveLastDiscard2Bottom_Click() {
    const std::int16_t deck = MenuDeck;
    if (!ValidDeck(deck) || Game.nextDiscardPositions[deck] <= 2) return;
    MoveDiscard2Bottom_body(deck);
    Outbox().SendDiscardToBottom(deck);
    MenuDeck = -1;
}

void CardActions::MoveDiscard2Bottom_body(std::int16_t deck) {
    if (!ValidDeck(deck)) return;
    const std::vector<std::int16_t> pile = DiscardPileInOrder(deck);
    if (pile.size() < 2) return;
    // The top card goes under the others, which each move up by one.
    const std::int16_t top = pile.back();
    for (std::size_t k = 0; k + 1 < pile.size(); ++k)
        Cards[pile[k]].pilePosition = ClampToInt16(Cards[pile[k]].pilePosition + 1);
    Cards[top].pilePosition = 1;
    Game.lastDiscarded[deck] = pile[pile.size() - 2];
    ShowPileTop(deck);
}

void CardActions::ReshuffleAction_Click() {
    PressedDeck = -1;
    if (!ValidDeck(MenuDeck)) return;
    ReshuffleDiscardPile_body(MenuDeck);
}

void CardActions::ReshuffleDiscardPile_body(std::int16_t deck) {
    if (!ValidDeck(deck)) return;
    ShuffleDeck(deck, true, false);
    Game.nextDrawPositions[deck] = 1;
    Game.nextDiscardPositions[deck] = 1;
    Game.lastDiscarded[deck] = -1;
    LoadDeckImages(true);
    if (IsLogEnabled()) AddLogEntry(DeckDisplayName(deck) + " reshuffled");
}
