// The card menu and the checks of the acting side: which items the menu shows for a card, the
// permission checks that refuse an action with their message, and what each item does (check,
// announce through the outbox, run the body), alone or on every selected card; the end of the game.
#include "table/CardActions.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "platform/Seams.h"
#include "state/CaptionMgmt.h"
#include "state/DecksMgmt.h"
#include "state/GameMgmt.h"
#include "state/HandMgmt.h"
#include "state/Helpers.h"
#include "table/CardActionsInternal.h"
#include "table/CardEffects.h"
#include "table/CardInfoForm.h"
#include "table/HandCards.h"
#include "table/MainForm.h"
#include "table/Outbox.h"
#include "table/SelectionMgmt.h"
#include "table/TableSetup.h"

#include <algorithm>
#include <cstdlib>

using namespace card_actions;

namespace {

int LastCard() {
    return std::clamp<int>(Game.totalCards, 0, kMaxCards);
}

} // namespace

// ---- checks ----

bool CardActions::EnemyHandRefuses(std::int16_t card, std::int16_t element,
                                   const std::string& message) const {
    if (AllCardsVisible != kFalse || Cards[card].owner == CurrentPlayer()) return false;
    if (!IsCardInHand(element, card)) return false;
    ShowMsg(message);
    return true;
}

bool CardActions::RestrictionRefuses(std::int16_t card, const std::string& word, const std::string& message) {
    if (IsActionAllowed(CurrentPlayer(), word, card)) return false;
    ShowMsg(message);
    return true;
}

bool CardActions::HandIsFull() {
    // A limit lowered during play is not passed either: a hand at or above it takes no card.
    if (Game.handSize <= 0 || CountHandCards(CurrentPlayer()) < Game.handSize) return false;
    ShowMsg("You cannot draw another card (max hand size " + std::to_string(Game.handSize) + " cards)");
    return true;
}

bool CardActions::OpponentsDeck(std::int16_t deck) {
    if (AllCardsVisible != kFalse || !ValidDeck(deck)) return false;
    const std::int16_t owner = Game.decks[deck].owner;
    return owner != 0 && owner != CurrentPlayer();
}

bool CardActions::FaceVisibleHere(std::int16_t card, std::int16_t element) {
    if (AllCardsVisible != kFalse) return true;
    const CardRecord& c = Cards[card];
    return c.owner == CurrentPlayer() || (c.faceShown != kFalse && !IsCardInHand(element, card));
}

// ---- the card menu ----

void CardActions::SetSpecialMenu() {
    const auto key = [](const char* section, const char* name, bool fallback) {
        return GetBoolDirective(section, name, fallback);
    };
    useFlip_ = key("CARDMENU", "useFlip", true);
    useDiscard_ = key("CARDMENU", "useDiscard", true);
    Flip.SetVisible(useFlip_);
    InvertCardMenuItem.SetVisible(key("CARDMENU", "useInvert", false));
    DiscardAction.SetVisible(useDiscard_);
    RotateCrd.SetVisible(key("CARDMENU", "useRotate", true));
    EliminateAction.SetVisible(key("CARDMENU", "useEliminate", true));
    Move2BottomOfDrawDeckItem.SetVisible(key("GAME", "useMove2BottomOfDrawDeck", false));
    if (const std::string caption = GetIni("CARDMENU", "rotateDescription", CurrentGameFile);
        !caption.empty())
        RotateCrd.SetCaption(caption);
    if (const std::string caption = GetIni("CARDMENU", "invertDescription", CurrentGameFile);
        !caption.empty())
        InvertCardMenuItem.SetCaption(caption);
}

void CardActions::OpenCardMenu(int index) {
    const auto element = static_cast<std::int16_t>(index);
    const std::int16_t card = CardOfElement(element);
    if (card == 0) return;
    MenuCard = element;
    if (CountSelectedCards() < 2) {
        DiscardAllBtn.SetVisible(false);
        FlipAllMenuItem.SetVisible(false);
    } else {
        if (useDiscard_) DiscardAllBtn.SetVisible(true);
        if (useFlip_) FlipAllMenuItem.SetVisible(true);
    }
    const CardRecord& c = Cards[card];
    const DeckRecord* deck = ValidDeck(c.deck) ? &Game.decks[c.deck] : nullptr;
    PutBackAndReshuffle.SetVisible(deck && deck->cards_can_be_put_back != kFalse);
    MoveToHandMenuAction.SetVisible(Game.external_hand != kFalse && c.owner == CurrentPlayer());
    if (c.owner == CurrentPlayer() || !deck) {
        TakeCardMenuItem.SetVisible(false);
    } else {
        switch (deck->played_cards_can_be_taken) {
        case 0:
            TakeCardMenuItem.SetVisible(false);
            break;
        case 1:
            TakeCardMenuItem.SetVisible(!IsCardInHand(element, card) && c.faceShown != kFalse);
            break;
        default:
            TakeCardMenuItem.SetVisible(true);
            break;
        }
    }
    // A common card belongs to no other player: its face shown, it has its information too.
    InfoMenuItem.SetVisible(Game.card_info != kFalse &&
                            (c.owner == CurrentPlayer() || c.faceShown != kFalse) &&
                            FaceVisibleHere(card, element));
    BuildGiveToMenu(card);
    BuildEffectMenu(card);
    const bool useRotate = GetBoolDirective("CARDMENU", "useRotate", true);
    RotateCrd.SetVisible(useRotate && deck && deck->rotate != "0");
    table_.HoveredCard.clear();
    table_.Window().PopupMenu(ActionsMenu);
    table_.CTip_Hide();
}

void CardActions::BuildGiveToMenu(std::int16_t card) {
    if ((ArbitratorLoggedIn == kFalse && Cards[card].owner != CurrentPlayer()) || !CardsCanBeGiven()) {
        GiveToMenu.SetVisible(false);
        return;
    }
    GiveToMenu.SetVisible(true);
    const int players = std::clamp<int>(Game.playerCount, 0, kMaxPlayers);
    for (int seat = 1; seat <= kMaxPlayers; ++seat) {
        platform::Menu& item = *giveTo[static_cast<std::size_t>(seat)];
        if (seat > players) {
            item.SetVisible(false);
            continue;
        }
        item.SetCaption(Game.players[seat].name);
        item.SetVisible(ArbitratorLoggedIn != kFalse || seat != CurrentPlayer());
    }
}

// ---- the checked actions ----

void CardActions::RotateCrd_Click() {
    const std::int16_t element = MenuCard;
    const std::int16_t card = CardOfElement(element);
    if (card == 0) return;
    if (EnemyHandRefuses(card, element, "You cannot rotate a card on your adversary's hand")) return;
    if (RestrictionRefuses(card, "ROTATE", "You are not permitted to rotate this card")) return;
    Outbox().SendCardRotate(element);
    if (CardOfElement(element) != card) return;
    RotateCard(element, -1);
}

void CardActions::InvertCardMenuItem_Click() {
    const std::int16_t element = MenuCard;
    const std::int16_t card = CardOfElement(element);
    if (card == 0) return;
    Outbox().SendCardInvert(element);
    if (CardOfElement(element) != card) return;
    InvertCard_body(element);
}
void CardActions::Flip_Click() {
    const std::int16_t element = MenuCard;
    const std::int16_t card = CardOfElement(element);
    if (card == 0) return;
    if (EnemyHandRefuses(card, element, "You cannot inspect the cards on your enemy's hand")) return;
    if (RestrictionRefuses(card, "FLIP", "You are not permitted to flip this card")) return;
    Outbox().SendCardFlip(card, element);
    if (CardOfElement(element) != card) return;
    MenuCard = element;
    Flip_Click_body(card);
}

void CardActions::DiscardCardProcedure() {
    const std::int16_t element = MenuCard;
    const std::int16_t card = CardOfElement(element);
    if (card == 0) return;
    if (EnemyHandRefuses(card, element, "You cannot discard the cards on your enemy's hand")) return;
    if (RestrictionRefuses(card, "DISCARD", "You are not permitted to discard this card")) return;
    DiscardCardProcedure_body(card, element);
    Outbox().SendCardDiscard(card, element);
}

void CardActions::EliminateAction_Click() {
    const std::int16_t element = MenuCard;
    const std::int16_t card = CardOfElement(element);
    if (card == 0) return;
    if (EnemyHandRefuses(card, element, "You cannot eliminate the cards on your enemy's hand")) return;
    if (RestrictionRefuses(card, "ELIMINATE", "You are not permitted to eliminate this card")) return;
    EliminateCardBody(element, card);
    Outbox().SendCardEliminate(card, element);
}

void CardActions::MoveToHandMenuAction_Click() {
    const std::int16_t element = MenuCard;
    const std::int16_t card = CardOfElement(element);
    if (card == 0 || HandIsFull()) return;
    const std::int16_t player = CurrentPlayer();
    Outbox().SendCardToHand(card, element, player);
    if (CardOfElement(element) != card) return;
    MoveCardToHandWindow(card, element);
}

void CardActions::TakeCardMenuItem_Click() {
    const std::int16_t element = MenuCard;
    const std::int16_t card = CardOfElement(element);
    if (card == 0) return;
    const std::int16_t player = CurrentPlayer();
    Outbox().SendCardTake(card, element, player);
    if (CardOfElement(element) != card) return;
    TakeCard_body(element, card, player);
}

void CardActions::giveTo_Click(int seat) {
    const std::int16_t element = MenuCard;
    const std::int16_t card = CardOfElement(element);
    if (card == 0 || seat < 1 || seat > std::min<int>(Game.playerCount, kMaxPlayers)) return;
    GiveCard_body(element, card, static_cast<std::int16_t>(seat));
    Outbox().SendCardGive(card, element, static_cast<std::int16_t>(seat));
}
void CardActions::InfoMenuItem_Click() {
    const std::int16_t element = MenuCard;
    const std::int16_t card = CardOfElement(element);
    if (card == 0 || !FaceVisibleHere(card, element)) return;
    ShowCardInfoForm(card);
}

void CardActions::effect_Click(int index) {
    const std::int16_t element = MenuCard;
    if (index < 0 || index >= kEffectSlots || CardOfElement(element) == 0) return;
    const int slot = std::atoi(effect[static_cast<std::size_t>(index)]->Tag().c_str());
    RunEffect(element, static_cast<std::int16_t>(slot));
}

void CardActions::Move2BottomOfDrawDeckItem_Click() {
    const std::int16_t card = CardOfElement(MenuCard);
    if (card == 0) return;
    Move2BottomOfDrawDeck_body(card);
    MenuCard = -1;
    Outbox().SendToBottomOfDrawDeck(card);
}

void CardActions::PutBackAndReshuffle_Click() {
    const std::int16_t element = MenuCard;
    const std::int16_t card = CardOfElement(element);
    if (card == 0) return;
    // Before the body: the other side takes the card off its table first, and the new order that
    // the shuffle sends then finds the card in the deck on both sides.
    Outbox().SendPutBackAndReshuffle(card, element);
    if (CardOfElement(element) != card) return;
    PutBackAndReshuffle_body(element);
}

void CardActions::ForEachSelectedCard(
    const std::string& word, const std::string& verb, const std::string& enemyHand,
    const std::function<void(std::int16_t card, std::int16_t element)>& act) {
    for (int n = 1; n <= LastCard(); ++n) {
        const auto card = static_cast<std::int16_t>(n);
        if (Cards[card].selectionMark == -1) continue;
        const std::int16_t element = Cards[card].controlIndex;
        // A selection outlives nothing: a card without its control is no longer on the table.
        if (CardOfElement(element) != card) {
            Cards[card].selectionMark = -1;
            continue;
        }
        if (EnemyHandRefuses(card, element, enemyHand)) continue;
        if (!IsActionAllowed(CurrentPlayer(), word, card)) {
            ShowMsg(Cards[card].keptFaceDown == kFalse
                        ? "You are not permitted to " + verb + " the card: " + CardDisplayName(card)
                        : "You are not permitted to " + verb + " this facedown card");
            continue;
        }
        act(card, element);
    }
}

void CardActions::DiscardAllSelectedCards() {
    ForEachSelectedCard("DISCARD", "discard", "You cannot discard the cards on your enemy's hand",
                        [this](std::int16_t card, std::int16_t element) {
                            DiscardCardProcedure_body(card, element);
                            Outbox().SendCardDiscard(card, element);
                        });
}

void CardActions::FlipAllMenuItem_Click() {
    ForEachSelectedCard("FLIP", "flip", "You cannot inspect the cards on your enemy's hand",
                        [this](std::int16_t card, std::int16_t element) {
                            Outbox().SendCardFlip(card, element);
                            // The send let window events run (the other side's commands wait
                            // until the action is over): the card is asked for again.
                            if (CardOfElement(element) != card) return;
                            MenuCard = element;
                            Flip_Click_body(card);
                        });
}

void CardActions::EndGameBtn_Click() {
    if (!platform::AskYesNo("Do you really want to end this game ?")) return;
    EndGame_body();
    Outbox().SendEndGame();
}
