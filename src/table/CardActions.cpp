#include "table/CardActions.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Seams.h"
#include "platform/Twips.h"
#include "services/EffectMgmt.h"
#include "services/LogMgmt.h"
#include "state/DecksMgmt.h"
#include "state/GameMgmt.h"
#include "state/HandMgmt.h"
#include "state/Helpers.h"
#include "state/PlayerMgmt.h"
#include "state/ZOrder.h"
#include "table/CardEffects.h"
#include "table/CardInfoForm.h"
#include "table/CarriedMarkers.h"
#include "table/DesignToolBarForm.h"
#include "table/DiscardPileForm.h"
#include "table/HandCards.h"
#include "table/HandForm.h"
#include "table/InfoPanel.h"
#include "table/MainForm.h"
#include "table/Outbox.h"
#include "table/SelectionMgmt.h"
#include "table/ShowCardsForm.h"
#include "table/TableSetup.h"
#include "table/ZoomForm.h"

#include <algorithm>
#include <cstdlib>

namespace {

CardActions* g_actions = nullptr;

constexpr int kLeftButton = 1;
constexpr int kShiftKey = 1;
constexpr int kCtrlKey = 2;
constexpr int kAltKey = 4;

bool ValidDeck(int deck) {
    return deck >= 0 && deck < kMaxDecks && deck < Game.deckCount;
}

std::int16_t CurrentPlayer() {
    return Game.CurrentPlayer;
}

int LastCard() {
    return std::clamp<int>(Game.totalCards, 0, kMaxCards);
}

std::string FacePath(std::int16_t card) {
    return GameImagePath(Cards[card].image);
}

} // namespace

CardActions* Actions() {
    return g_actions;
}

CardActions::CardActions(MainForm& table)
    : SelectionRectangle(table.BasePict.Handle()), table_(table), zoom_(std::make_unique<ZoomForm>()) {
    for (auto* hidden :
         {&InvertCardMenuItem, &MoveToHandMenuAction, &InfoMenuItem, &Move2BottomOfDrawDeckItem, &GiveToMenu,
          &PutBackAndReshuffle, &EffectMenu, &DiscardAllBtn, &FlipAllMenuItem})
        hidden->SetVisible(false);
    for (int seat = 1; seat <= kMaxPlayers; ++seat) {
        giveTo[static_cast<std::size_t>(seat)] = std::make_unique<platform::Menu>(GiveToMenu);
        giveTo[static_cast<std::size_t>(seat)]->SetIndex(seat);
        giveTo[static_cast<std::size_t>(seat)]->OnClick = [this, seat] { giveTo_Click(seat); };
    }
    for (int k = 0; k < kEffectSlots; ++k) {
        effect[static_cast<std::size_t>(k)] = std::make_unique<platform::Menu>(EffectMenu);
        effect[static_cast<std::size_t>(k)]->SetIndex(k);
        effect[static_cast<std::size_t>(k)]->OnClick = [this, k] { effect_Click(k); };
    }
    RotateCrd.OnClick = [this] { RotateCrd_Click(); };
    InvertCardMenuItem.OnClick = [this] { InvertCardMenuItem_Click(); };
    Flip.OnClick = [this] { Flip_Click(); };
    DiscardAction.OnClick = [this] { DiscardCardProcedure(); };
    EliminateAction.OnClick = [this] { EliminateAction_Click(); };
    MoveToHandMenuAction.OnClick = [this] { MoveToHandMenuAction_Click(); };
    TakeCardMenuItem.OnClick = [this] { TakeCardMenuItem_Click(); };
    InfoMenuItem.OnClick = [this] { InfoMenuItem_Click(); };
    Move2BottomOfDrawDeckItem.OnClick = [this] { Move2BottomOfDrawDeckItem_Click(); };
    PutBackAndReshuffle.OnClick = [this] { PutBackAndReshuffle_Click(); };
    DiscardAllBtn.OnClick = [this] { DiscardAllSelectedCards(); };
    FlipAllMenuItem.OnClick = [this] { FlipAllMenuItem_Click(); };
    DisplayDrawDeckMenuItem.OnClick = [this] { DisplayDrawDeckMenuItem_Click(); };
    ReshuffleDrawDeckMenuItem.OnClick = [this] { ReshuffleDrawDeckMenuItem_Click(); };
    DisplayDrawPileItem.OnClick = [this] {
        if (MenuDeck != -1) ShowDiscardPile(MenuDeck);
    };
    ReshuffleAction.OnClick = [this] { ReshuffleAction_Click(); };
    DrawLastDiscardItem.OnClick = [this] { DrawLastDiscardItem_Click(); };
    MoveLastDiscard2Bottom.OnClick = [this] { MoveLastDiscard2Bottom_Click(); };

    SelectionRectangle.SetVisible(false);
    SelectionRectangle.SetBorderWidth(1);

    // The table window wires its own card events (the balloon, the panel); the actions come first.
    for (int index : table.crd.Indexes())
        WireCard(index, *table.crd(index));
    auto previous = table.crd.OnLoaded;
    table.crd.OnLoaded = [this, previous](int index, controls::TranspImg& card) {
        if (previous) previous(index, card);
        WireCard(index, card);
    };
    for (int deck : table.DeckImg.Indexes())
        WireDeck(deck);
    table.DeckImg.OnLoaded = [this](int deck, controls::TranspImg&) { WireDeck(deck); };
    table.DiscardImg.OnLoaded = [this](int deck, controls::TranspImg&) { WireDeck(deck); };
    table.EndGameBtn.Click = [this] { EndGameBtn_Click(); };
    table.BasePict.OnMouseDown = [this](const platform::MouseEvent& e) {
        BasePict_MouseDown(e.button, e.x, e.y);
    };
    table.BasePict.OnMouseMove = [this](const platform::MouseEvent& e) { BasePict_MouseMove(e.x, e.y); };
    table.BasePict.OnMouseUp = [this](const platform::MouseEvent& e) {
        BasePict_MouseUp(e.button, e.x, e.y);
    };
    table.BasePict.OnDragDrop = [](const platform::DragEvent& e) { BasePict_DragDrop(e.source, e.x, e.y); };
    OpenDiscardWindow = [](std::int16_t deck) { DiscardForm::Open(deck); };
    g_actions = this;
}

CardActions::~CardActions() {
    ShowCardsForm::CloseCurrent();
    DiscardForm::CloseCurrent();
    DestroyHandForm();
    if (g_actions == this) g_actions = nullptr;
}

void CardActions::WireCard(int index, controls::TranspImg& card) {
    auto hover = card.MouseMove;
    card.MouseDown = [this, index](std::int16_t button, std::int16_t shift, platform::PixelPoint at) {
        crd_MouseDown(index, button, shift, at);
    };
    card.MouseMove = [this, index, hover](std::int16_t button, std::int16_t shift, platform::PixelPoint at) {
        if (crd_MouseMove(index, button, shift, at) && hover) hover(button, shift, at);
    };
    card.MouseUp = [this, index](std::int16_t button, std::int16_t shift, platform::PixelPoint at) {
        crd_MouseUp(index, button, shift, at);
    };
    card.DblClick = [this, index] { crd_DblClick(index); };
    // A hand card dropped on a card lands on the table all the same.
    card.Surface().OnDragDrop = [&card](const platform::DragEvent& e) {
        BasePict_DragDrop(e.source, card.Surface().Left() + e.x, card.Surface().Top() + e.y);
    };
}

void CardActions::WireDeck(int deck) {
    const auto d = static_cast<std::int16_t>(deck);
    if (controls::TranspImg* pile = table_.DeckImg(deck)) {
        pile->MouseDown = [this, d](std::int16_t button, std::int16_t, platform::PixelPoint at) {
            DeckImg_MouseDown(d, button, at);
        };
        pile->MouseMove = [this, d](std::int16_t, std::int16_t, platform::PixelPoint at) {
            DeckImg_MouseMove(d, at);
        };
        pile->MouseUp = [this](std::int16_t, std::int16_t, platform::PixelPoint) { PressedDeck = -1; };
        pile->DblClick = [this, d] { DeckImg_DblClick(d); };
    }
    if (controls::TranspImg* discard = table_.DiscardImg(deck)) {
        discard->MouseDown = [this, d](std::int16_t button, std::int16_t, platform::PixelPoint at) {
            DiscardImg_MouseDown(d, button, at);
        };
        discard->MouseMove = [this, d](std::int16_t, std::int16_t, platform::PixelPoint at) {
            DiscardImg_MouseMove(d, at);
        };
        discard->MouseUp = [this, d](std::int16_t button, std::int16_t, platform::PixelPoint) {
            DiscardImg_MouseUp(d, button);
        };
        discard->DblClick = [this, d] { ShowDiscardPile(d); };
    }
}

std::int16_t CardActions::CardOfElement(std::int16_t element) const {
    const controls::TranspImg* image = table_.crd(element);
    if (!image) return 0;
    const std::string& tag = image->Surface().Tag();
    if (tag.empty()) return 0;
    const int card = std::atoi(tag.c_str());
    return CardTable::Contains(card) ? static_cast<std::int16_t>(card) : 0;
}

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

void CardActions::InvertCard_body(std::int16_t element) {
    const std::int16_t card = CardOfElement(element);
    if (card == 0) return;
    RotateCard(element, Cards[card].rotation == 180 ? 0 : 180);
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

void CardActions::GiveCard_body(std::int16_t element, std::int16_t card, std::int16_t seat) {
    if (!CardTable::Contains(card) || seat < 1 || seat > kMaxSeats) return;
    Cards[card].owner = seat;
    if (GivenCardsGoToHand())
        PutCardInHand(card, CardOfElement(element) == card ? element : std::int16_t{-1}, seat);
    UpdateHandSizeCaptions();
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
                            // The send let the other side's commands run.
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

void CardActions::EndGame_body() {
    AllCardsVisible = kTrue;
    Game.GamePhase = kPhaseEnded;
    UpdateTitle();
    for (int d = 0; d < kMaxDecks; ++d)
        Game.decks[d].viewDiscard = kTrue;
}

// ---- the bodies ----

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
    // The send let the other side's commands run: the top card is looked up again.
    const std::int16_t card = FindCard(deck, Game.nextDrawPositions[deck], false);
    if (card == -1) {
        ShowMsg("No more cards");
        if (!toHandWindow) RemoveCardControl(control);
        return;
    }
    Cards[card].owner = CurrentPlayer();
    DrawNewCard(deck, card, control, false);
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

// ---- the mouse ----

void CardActions::crd_MouseDown(int index, int button, int shift, platform::PixelPoint at) {
    const auto element = static_cast<std::int16_t>(index);
    const std::int16_t card = CardOfElement(element);
    if (card == 0) return;
    if (button != kLeftButton) {
        OpenCardMenu(index);
        return;
    }
    DraggedCard = element;
    EndGroupDrag();
    draggedInHand_ = IsCardInHand(element, card);
    // Decided once, from where the card lay when the drag started.
    dragRefused_ = DesignMode == kFalse && AllCardsVisible == kFalse && draggedInHand_ &&
                   Cards[card].owner != CurrentPlayer();
    kept_ = at;
    controls::TranspImg* image = table_.crd(element);
    if (shift == kAltKey) {
        KeepStackingDrag = kTrue;
    } else {
        KeepStackingDrag = kFalse;
        SendToBackDrag = ToFlag(shift == kShiftKey);
        if (SendToBackDrag == kFalse) {
            image->Surface().BringToFront();
            BringToFrontZOrder(kZCard, card, 0);
            MoveAttachedMarkers(element, 0, 0, kMarkersRaise);
        } else {
            MoveAttachedMarkers(element, 0, 0, kMarkersLower);
            BringToFrontZOrder(kZCard, card, -1);
            image->Surface().SendToBack();
            for (int seat = 1; seat <= std::min<int>(Game.playerCount, kMaxPlayers); ++seat)
                if (platform::Shape* area = table_.PlayerArea(seat - 1); area && area->Visible())
                    area->ZOrder(false);
        }
    }
    if (shift == kCtrlKey) ToggleCardSelection(element);
}

bool CardActions::crd_MouseMove(int index, int, int, platform::PixelPoint at) {
    const auto element = static_cast<std::int16_t>(index);
    if (DraggedCard == -1 || DraggedCard != element) return true;
    const std::int16_t card = CardOfElement(element);
    if (card == 0) return true;
    if (dragRefused_) {
        DraggedCard = -1;
        ShowMsg("You cannot move the cards on your enemy's hand");
        return false;
    }
    if (at.x == kept_.x && at.y == kept_.y) return false;
    controls::TranspImg* image = table_.crd(element);
    // The card, and the selected cards that follow it, stop at the table's edges.
    CardRecord& c = Cards[card];
    platform::TwipRect dragged = MainForm::PictureRectOf(*image);
    if (c.selectionMark != -1) dragged = Enclosing(dragged, FollowersExtent(card));
    const Shift allowed =
        table_.ShiftOnTable(dragged, static_cast<int>((at.x - kept_.x) * platform::kTwipsPerPixelX),
                            static_cast<int>((at.y - kept_.y) * platform::kTwipsPerPixelY));
    const int dx = allowed.dx;
    const int dy = allowed.dy;
    if (dx == 0 && dy == 0) return true;
    image->Surface().Move(image->Surface().Left() + dx, image->Surface().Top() + dy);
    table_.CTip_Hide();
    if (c.faceShown != kFalse && c.owner != CurrentPlayer() && IsCardInHand(element, card))
        c.faceShown = kFalse;
    MoveAttachedMarkers(element, ClampToInt16(dx), ClampToInt16(dy), kMarkersMove);
    if (c.selectionMark != -1) DragSelectedCards(dx, dy, card);
    return true;
}

void CardActions::crd_MouseUp(int index, int, int, platform::PixelPoint) {
    const auto element = static_cast<std::int16_t>(index);
    const std::int16_t card = CardOfElement(element);
    if (DraggedCard != -1 && DraggedCard == element && card != 0) {
        const controls::TranspImg* image = table_.crd(element);
        Outbox().SendCardMove(element, image->Surface().Left(), image->Surface().Top());
        // The send let events run: the card is asked for again.
        if (CardOfElement(element) == card) SendSelectedCardMoves(card);
    }
    if (card != 0 && CardOfElement(element) == card) {
        const bool inHand = IsCardInHand(element, card);
        if (!inHand && draggedInHand_) {
            LogCardPlayed(card);
            Cards[card].inHand = kFalse;
        } else if (inHand && !draggedInHand_) {
            Cards[card].inHand = kTrue;
        }
    }
    DraggedCard = -1;
    SendToBackDrag = kFalse;
    EndGroupDrag();
    draggedInHand_ = false;
    dragRefused_ = false;
}

void CardActions::ZoomOn(std::int16_t card) {
    ZoomCard = card;
    zoom_->ShowCard(card);
}

void CardActions::crd_DblClick(int index) {
    const auto element = static_cast<std::int16_t>(index);
    const std::int16_t card = CardOfElement(element);
    if (card == 0 || !ValidDeck(Cards[card].deck) || Game.decks[Cards[card].deck].zoom == 100.0f) return;
    // The zoom shows what the balloon may show: never another seat's hidden face.
    if (!FaceVisibleHere(card, element)) {
        DraggedCard = -1;
        ShowMsg(IsCardInHand(element, card) ? "You cannot zoom on a cards on your enemy's hand"
                                            : "You cannot zoom on a facedown card");
        return;
    }
    ZoomOn(card);
}

void CardActions::DeckImg_MouseDown(std::int16_t deck, int button, platform::PixelPoint at) {
    PressedDeck = deck;
    kept_ = at;
    if (button == kLeftButton || !ValidDeck(deck)) return;
    PressedDeck = -1;
    MenuDeck = deck;
    const DeckRecord& d = Game.decks[deck];
    DummyDrawDeckItem.SetVisible(true);
    ReshuffleDrawDeckMenuItem.SetVisible(d.enableReshuffleDrawDeck != kFalse);
    DisplayDrawDeckMenuItem.SetVisible(d.openDrawDeck != kFalse || d.chooseCardFromDrawDeck != kFalse);
    if (d.openDrawDeck == kFalse && d.enableReshuffleDrawDeck == kFalse && d.chooseCardFromDrawDeck == kFalse)
        return;
    DummyDrawDeckItem.SetVisible(false);
    table_.Window().PopupMenu(DrawDeckMenu);
}

void CardActions::DeckImg_MouseMove(std::int16_t deck, platform::PixelPoint at) {
    DragPileImage(table_.DeckImg(deck), deck, at);
}

void CardActions::DiscardImg_MouseMove(std::int16_t deck, platform::PixelPoint at) {
    DragPileImage(table_.DiscardImg(deck), deck, at);
}

void CardActions::DragPileImage(controls::TranspImg* image, std::int16_t deck, platform::PixelPoint at) {
    if (!image || PressedDeck == -1 || PressedDeck != deck || !ValidDeck(deck)) return;
    if (Game.decks[deck].locked != kFalse && DesignMode == kFalse) return;
    // The image follows the mouse, which stays at the point where it grabbed the image, as far
    // as the table's edges (a pile in the information panel stays in the panel).
    int dx = static_cast<int>((at.x - kept_.x) * platform::kTwipsPerPixelX);
    int dy = static_cast<int>((at.y - kept_.y) * platform::kTwipsPerPixelY);
    if (!DeckStandsInPanel(deck)) {
        const Shift allowed = table_.ShiftOnTable(MainForm::PictureRectOf(*image), dx, dy);
        dx = allowed.dx;
        dy = allowed.dy;
    }
    if (dx != 0 || dy != 0) image->Surface().Move(image->Surface().Left() + dx, image->Surface().Top() + dy);
}

void CardActions::DiscardImg_MouseDown(std::int16_t deck, int, platform::PixelPoint at) {
    PressedDeck = deck;
    kept_ = at;
}

void CardActions::DiscardImg_MouseUp(std::int16_t deck, int button) {
    if (!ValidDeck(deck)) {
        PressedDeck = -1;
        return;
    }
    if (DesignMode == kFalse && OpponentsDeck(deck)) {
        ShowMsg("You cannot use the cards of your opponent");
        PressedDeck = -1;
        MenuDeck = -1;
        return;
    }
    if (button != kLeftButton) {
        MenuDeck = deck;
        const DeckRecord& d = Game.decks[deck];
        DrawLastDiscardItem.SetVisible(d.draw_last_discard != kFalse);
        MoveLastDiscard2Bottom.SetVisible(d.move_discard_to_bottom != kFalse);
        DisplayDrawPileItem.SetVisible(d.openDiscardPile != kFalse);
        ReshuffleAction.SetVisible(true);
        PressedDeck = -1;
        table_.Window().PopupMenu(DiscardPileMenu);
    }
    PressedDeck = -1;
}

void CardActions::BasePict_MouseDown(int, float x, float y) {
    if (DesignMode == kFalse)
        StartRubberBand(x, y);
    else
        DesignArea_MouseDown(table_, RubberBandActive, x, y);
}

void CardActions::BasePict_MouseMove(float x, float y) {
    table_.HoveredCard.clear();
    DraggedCard = -1;
    table_.CTip_Hide();
    if (DesignMode == kFalse)
        UpdateRubberBand(x, y);
    else
        DesignArea_MouseMove(table_, RubberBandActive, x, y);
}

void CardActions::BasePict_MouseUp(int button, float x, float y) {
    if (DesignMode != kFalse) {
        RubberBandActive = false;
        return;
    }
    if (button != 2 && RubberBandActive) SelectCardsInRubberBand(x, y);
}
