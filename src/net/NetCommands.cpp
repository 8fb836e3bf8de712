#include "net/NetCommands.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "controls/TranspImg.h"
#include "controls/zLabelA.h"
#include "net/MultiplayerMgmt.h"
#include "platform/Twips.h"
#include "services/DebugMgmt.h"
#include "services/DiceRoller.h"
#include "services/LogMgmt.h"
#include "state/DecksMgmt.h"
#include "state/HandMgmt.h"
#include "state/Helpers.h"
#include "state/MarkersMgmt.h"
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
#include "table/TableMarkers.h"
#include "table/TableSetup.h"
#include "table/ToolBarForm.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace {

// What a field must be for its command to run.
enum class Field {
    Card,        // 1 .. the game's card count
    Control,     // a card control of the table window that shows a card
    Deck,        // 0 .. the game's deck count - 1
    Die,         // a die the game defines
    Seat,        // 1 .. the game's seat count
    Owner,       // a seat of the game or the arbitrator's
    Kind,        // an image marker kind the game defines
    Pixels,      // a position in pixels, perhaps with a fraction, that fits the table in twips
    NumMarker,   // a numerical marker in use
    ImageMarker, // the control of an image marker in use
    Turn,        // "L" (left) or "R" (right)
    Whole,       // a whole 16-bit number
    Text,        // anything
};

// In which phases a command is taken: the handshake and chat at any time, the table's commands
// only while the transferred table is loaded, the card actions only while its window is open too.
enum class Phase { Any, Table, TableWindow };

struct Row {
    const char* word;
    std::vector<Field> fields;
    // A command whose last field may be followed by one more, empty or not, that is not read.
    bool trailingField;
    Phase phase;
    void (*handler)(const NetCommand&);
    // The fields that name a card and the sender's control of it (-1 when none, else field
    // indexes from 0). The card must lie on this table; its control here stands in for the
    // sender's, which may number it otherwise.
    int cardField = -1;
    int controlField = -1;
    // What the fields alone cannot tell (an empty deck, a well-formed list): the reason the
    // command does not fit the table, or nullptr.
    const char* (*fits)(const NetCommand&) = nullptr;
    // Fields at the end of the row that a sender may leave out.
    std::size_t optionalFields = 0;
};

NetCommandHook g_handshake;
NetCommandHook g_chat;
// The connections on which "not known" and the tables gone apart were last told.
int g_toldUnknownOn = -1;
int g_toldApartOn = -1;

std::int16_t Whole(const std::string& field) {
    return static_cast<std::int16_t>(std::nearbyint(*WireNumber(field)));
}

// A position received in pixels, in this side's twips.
int Twips(const std::string& field) {
    return static_cast<int>(std::nearbyint(*WireNumber(field) * platform::kTwipsPerPixelX));
}

bool Fits(Field kind, const std::string& field) {
    if (kind == Field::Text) return true;
    if (kind == Field::Turn) return field == "L" || field == "R";
    if (kind == Field::Pixels) {
        const std::optional<double> pixels = WireNumber(field);
        if (!pixels) return false;
        const double twips = std::nearbyint(*pixels * platform::kTwipsPerPixelX);
        return twips >= -32768 && twips <= 32767;
    }
    const std::optional<double> value = WireNumber(field);
    if (!value || std::nearbyint(*value) != *value || *value < -32768 || *value > 32767) return false;
    const auto n = static_cast<std::int16_t>(*value);
    switch (kind) {
    case Field::Card:
        return n >= 1 && n <= Game.totalCards && CardTable::Contains(n);
    case Field::Control:
        return Actions() && Actions()->CardOfElement(n) != 0;
    case Field::Seat:
        return n >= 1 && n <= Game.playerCount && n <= kMaxPlayers;
    case Field::Owner:
        return (n >= 1 && n <= Game.playerCount && n <= kMaxPlayers) || n == kArbitratorSeat;
    case Field::Kind:
        return n >= 1 && n <= MarkerKindCount && MarkerKindTable::Contains(n);
    case Field::Deck:
        return n >= 0 && n < Game.deckCount && n < kMaxDecks;
    case Field::NumMarker:
        return MarkerFlags::Contains(n) && NumMarkerInUse[n] != kFalse;
    case Field::ImageMarker:
        return MarkerInstanceTable::Contains(n + 1) && GraphMarkers[n + 1].inUse != kFalse;
    case Field::Die:
        return IsDefinedDie(n);
    case Field::Whole:
    case Field::Text:
    case Field::Turn:
    case Field::Pixels:
        return true;
    }
    return false;
}

void ToHandshake(const NetCommand& c) {
    if (g_handshake)
        g_handshake(c);
    else
        DebugLog("dropped", c.word + ": no connection dialog is open");
}

void ToChat(const NetCommand& c) {
    if (g_chat)
        g_chat(c);
    else
        DebugLog("dropped", "CHAT: no chat is open");
}

void RecvDeckLock(const NetCommand& c) {
    Game.decks[Whole(c.fields[0])].locked = c.word == "DKLCK" ? kTrue : kFalse;
}

void RecvDiceRoll(const NetCommand& c) {
    ReceiveDiceRoll(Whole(c.fields[0]), c.fields[1]);
}

// The card actions: each handler runs the body the acting side ran, with the same arguments.
void RecvCardDiscard(const NetCommand& c) {
    Actions()->DiscardCardProcedure_body(Whole(c.fields[0]), Whole(c.fields[1]));
}
// The card lies on this table, shown by its own control.
bool OnTable(std::int16_t card) {
    return Actions()->CardOfElement(Cards[card].controlIndex) == card;
}

// The card waits in its deck's draw pile.
bool InDrawPile(const CardRecord& c) {
    return c.pilePosition >= 1 && c.inDiscardPile == kFalse && c.eliminated == kFalse &&
           c.controlIndex == -1 && c.inHand == kFalse;
}

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
    DebugLog("net", "C2BTMDD of card " + std::to_string(card) + ": the card was eliminated here first");
    PackDrawPile(Cards[card].deck);
}
void RecvDiscardToBottom(const NetCommand& c) {
    if (GameMode == kModeDirect) Actions()->MoveDiscard2Bottom_body(Whole(c.fields[0]));
}

// The markers, by their controls.
void RecvMarkerDelete(const NetCommand& c) {
    DeleteMarkerProc(Whole(c.fields[0]));
}
void RecvGraphMarkerDelete(const NetCommand& c) {
    DeleteGraphicalMarkerProc(Whole(c.fields[0]));
}
void RecvGraphMarkerFlip(const NetCommand& c) {
    TableWindow()->Markers->MenuMarker = Whole(c.fields[0]);
    FlipMrk_Procedure();
}
void RecvMarkerRotate(const NetCommand& c) {
    TableWindow()->Markers->MenuMarker = Whole(c.fields[0]);
    RotateGraphMarker(static_cast<std::int16_t>(Whole(c.fields[0]) + 1), false, c.fields[1]);
}

// ---- what the fields alone cannot tell ----

// The cards of a deck in card order, the order in which the deck's lists name them.
std::vector<std::int16_t> CardsOfDeck(std::int16_t deck) {
    std::vector<std::int16_t> cards;
    const int last = std::min<int>(Game.totalCards, kMaxCards);
    for (int card = 1; card <= last; ++card)
        if (Cards[card].deck == deck) cards.push_back(static_cast<std::int16_t>(card));
    return cards;
}

// The entry of three digits at `at` of a list; -1 when the three characters are not digits.
int ListEntry(const std::string& list, std::size_t at) {
    int value = 0;
    for (std::size_t k = at; k < at + 3; ++k) {
        if (k >= list.size() || list[k] < '0' || list[k] > '9') return -1;
        value = value * 10 + (list[k] - '0');
    }
    return value;
}

constexpr std::string_view kNotInDrawPile = "$$$";

// The comma-separated turns that follow a deck's order when the deck turns its cards as it shuffles.
std::vector<std::string> Turns(const NetCommand& c) {
    std::vector<std::string> turns;
    if (c.fields.size() < 3 || c.fields[2].empty()) return turns;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = c.fields[2].find(',', from);
        turns.push_back(c.fields[2].substr(from, comma == std::string::npos ? comma : comma - from));
        if (comma == std::string::npos) return turns;
        from = comma + 1;
    }
}

const char* DeckHasACard(const NetCommand& c) {
    return IsDeckEmpty(Whole(c.fields[0])) ? "the deck is empty" : nullptr;
}

const char* DiscardPileHasACard(const NetCommand& c) {
    const std::int16_t deck = Whole(c.fields[0]);
    const int top = Game.nextDiscardPositions[deck] - 1;
    if (top < 1 || FindCard(deck, static_cast<std::int16_t>(top), true) == -1)
        return "the discard pile is empty";
    return nullptr;
}

const char* FitsSelectedDraw(const NetCommand& c) {
    const std::int16_t deck = Whole(c.fields[0]);
    const std::string& list = c.fields[1];
    if (list.empty() || list.size() % 3 != 0) return "the cards are not listed in entries of three digits";
    for (std::size_t at = 0; at < list.size(); at += 3) {
        const int card = ListEntry(list, at);
        if (card < 1 || card > Game.totalCards || !CardTable::Contains(card)) return "an entry names no card";
        if (Cards[card].deck != deck) return "an entry names a card of another deck";
    }
    return nullptr;
}

const char* FitsDeckShuffle(const NetCommand& c) {
    const std::int16_t deck = Whole(c.fields[0]);
    const std::vector<std::int16_t> cards = CardsOfDeck(deck);
    const std::string& order = c.fields[1];
    if (order.size() != 3 * cards.size()) return "the order does not list each card of the deck once";
    const int places = std::min<int>(static_cast<int>(cards.size()), Game.deckSizes[deck]);
    std::vector<bool> taken(static_cast<std::size_t>(std::max(places, 0)) + 1, false);
    for (std::size_t k = 0; k < cards.size(); ++k) {
        if (order.compare(3 * k, 3, kNotInDrawPile) == 0) continue;
        const int place = ListEntry(order, 3 * k);
        if (place < 1 || place > places) return "a place lies outside the deck";
        if (taken[static_cast<std::size_t>(place)]) return "two cards share a place";
        taken[static_cast<std::size_t>(place)] = true;
        const CardRecord& card = Cards[cards[k]];
        if (card.eliminated != kFalse || IsCardInHand(card.controlIndex, cards[k]))
            return "a card out of the game or in a hand would go back into the deck";
    }
    // A card the order leaves where it is must not keep a place of the draw pile that the order
    // gives another card.
    for (std::size_t k = 0; k < cards.size(); ++k) {
        const CardRecord& card = Cards[cards[k]];
        if (order.compare(3 * k, 3, kNotInDrawPile) != 0 || card.inDiscardPile != kFalse) continue;
        if (card.pilePosition >= 1 && card.pilePosition <= places &&
            taken[static_cast<std::size_t>(card.pilePosition)])
            return "a card left out of the order holds a place the order gives another card";
    }
    const std::vector<std::string> turns = Turns(c);
    if (!turns.empty() && turns.size() != cards.size()) return "the turns do not match the cards";
    for (const std::string& turn : turns)
        if (!Fits(Field::Whole, turn) || std::abs(Whole(turn)) > 360) return "a turn is not an angle";
    return nullptr;
}

const char* NumMarkerFree(const NetCommand&) {
    return NextNumMarker < 1 || NextNumMarker > kMaxMarkers ? "the numerical markers are used up" : nullptr;
}

const char* GraphMarkerCanBeMade(const NetCommand& c) {
    if (GraphMarkerCount >= kMaxMarkers) return "the image markers are used up";
    const std::int16_t kind = Whole(c.fields[0]);
    if (MarkerKinds[kind].frontImage.empty() || !FileExists(MarkerKindImagePath(kind)))
        return "the marker kind has no picture here";
    return nullptr;
}

const char* FitsEliminate(const NetCommand& c) {
    const std::int16_t card = Whole(c.fields[0]);
    if (OnTable(card) || InDrawPile(Cards[card])) return nullptr;
    return "the card is neither on the table nor in its draw pile";
}

const char* FitsToBottom(const NetCommand& c) {
    const std::int16_t card = Whole(c.fields[0]);
    if (OnTable(card) || Cards[card].eliminated != kFalse) return nullptr;
    return "the card is not on the table";
}

const char* HandWindowGame() {
    return Game.external_hand == kFalse ? "this game keeps its hands on the table" : nullptr;
}

// The hand window's commands: the game keeps hands there, and the card is held in one.
const char* FitsHeldCard(const NetCommand& c) {
    if (const char* why = HandWindowGame()) return why;
    const CardRecord& card = Cards[Whole(c.fields[0])];
    if (card.inHand == kFalse || card.inDiscardPile != kFalse || card.eliminated != kFalse)
        return "the card is not held in a hand";
    return nullptr;
}

const char* FitsDrawToHand(const NetCommand& c) {
    if (const char* why = HandWindowGame()) return why;
    return DeckHasACard(c);
}

// A card that goes into a hand window comes from the table or a pile, not out of the game or
// out of another hand.
const char* FitsToHandWindow(const NetCommand& c) {
    if (const char* why = HandWindowGame()) return why;
    const CardRecord& card = Cards[Whole(c.fields[0])];
    if (card.eliminated != kFalse) return "the card is out of the game";
    if (card.inHand != kFalse) return "the card is held in a hand already";
    return nullptr;
}

// A card a pile viewer takes into a seat's area on the table: a game that keeps hands there.
const char* FitsToTableHand(const NetCommand& c) {
    if (Game.external_hand != kFalse) return "this game keeps its hands in the hand window";
    if (Cards[Whole(c.fields[0])].eliminated != kFalse) return "the card is out of the game";
    return nullptr;
}

// The other side's new card must take the number it has here too, where the game lets cards be
// added: anything else would overwrite a card or write a line the game never allowed.
const char* FitsNewCard(const NetCommand& c) {
    const std::int16_t deck = Whole(c.fields[0]);
    const std::string& line = c.fields[1];
    if (!GetBoolDirective("GAME", "cards_can_be_added", false)) return "the game adds no cards";
    if (deck >= Game.common_decks || Game.decks[deck].owner != 0) return "the deck is no common deck";
    const int card = Whole(c.fields[2]);
    if (card != Game.totalCards + 1 || card > kMaxCards)
        return "the card's number is not the next free one here";
    if (line.empty() || line.find_first_of(",\r\n") != std::string::npos || !IsPlainRelativePath(line))
        return "the card line is not one";
    return nullptr;
}

// ---- the table's commands ----

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

void RecvMarkerNew(const NetCommand& c) {
    NewMarkerNumProc(c.fields[0], -1, -1, "");
}

void RecvMarkerMove(const NetCommand& c) {
    const std::int16_t marker = Whole(c.fields[0]);
    if (controls::zLabelA* label = TableWindow()->markerNum(marker)) {
        label->Surface().Move(Twips(c.fields[2]), Twips(c.fields[3]));
        label->Surface().BringToFront();
    }
    BringToFrontZOrder(kZNumMarker, Whole(c.fields[1]), 0);
    AttachNumericalMarker(marker);
}

void RecvMarkerUpdate(const NetCommand& c) {
    controls::zLabelA* label = TableWindow()->markerNum(Whole(c.fields[0]));
    if (!label) return;
    if (!WireNumber(c.fields[1])) label->AutoSize(true);
    label->caption(c.fields[1]);
    label->Surface().BringToFront();
}

void RecvGraphMarkerNew(const NetCommand& c) {
    if (GameMode != kModeDirect) return;
    AddGraphMarker(Whole(c.fields[0]), Whole(c.fields[1]), ClampToInt16(Twips(c.fields[3])),
                   ClampToInt16(Twips(c.fields[2])), false);
}

void RecvGraphMarkerMove(const NetCommand& c) {
    MainForm* table = TableWindow();
    const std::int16_t marker = Whole(c.fields[0]);
    const int left = Twips(c.fields[2]);
    const int top = Twips(c.fields[3]);
    if (controls::TranspImg* image = table->mrk(marker)) {
        image->Surface().Move(left, top);
        image->Surface().BringToFront();
    }
    if (IsDebugMode())
        table->Window().SetCaption("$-> marker " + std::to_string(marker) + " moved @ " +
                                   std::to_string(top) + " " + std::to_string(left));
    const std::int16_t z = Whole(c.fields[1]);
    BringToFrontZOrder(kZImageMarker, z, 0);
    AttachImageMarker(static_cast<std::int16_t>(z + 1));
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

const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
        // Missing fields read as empty and further ones are not read: every request is answered.
        {"SETUP",
         {Field::Text, Field::Text, Field::Text, Field::Text},
         true,
         Phase::Any,
         ToHandshake,
         -1,
         -1,
         nullptr,
         4},
        {"ANF", {}, false, Phase::Any, ToHandshake},
        {"TERM", {}, false, Phase::Any, ToHandshake},
        {"SRVDATA", {Field::Text, Field::Text, Field::Text, Field::Text}, false, Phase::Any, ToHandshake},
        // The record's own bytes may hold the separator: the connection dialog joins the fields.
        {"DECKDATA", {Field::Text}, true, Phase::Any, ToHandshake},
        {"DECKDATALD", {Field::Text}, true, Phase::Any, ToHandshake},
        // A chat line that held the separator arrives cut there: the rest is not read.
        {"CHAT", {Field::Text}, true, Phase::Any, ToChat},
        {"DKLCK", {Field::Deck}, false, Phase::Table, RecvDeckLock},
        {"DKUNLCK", {Field::Deck}, false, Phase::Table, RecvDeckLock},
        {"DCENEW", {Field::Die, Field::Text, Field::Whole}, false, Phase::Table, RecvDiceRoll},
        {"CDISCARD", {Field::Card, Field::Whole}, false, Phase::TableWindow, RecvCardDiscard, 0, 1},
        {"CELIM",
         {Field::Card, Field::Whole},
         false,
         Phase::TableWindow,
         RecvCardEliminate,
         -1,
         -1,
         FitsEliminate},
        {"CFLIP", {Field::Card, Field::Whole}, false, Phase::TableWindow, RecvCardFlip, 0, 1},
        {"CTAKE", {Field::Card, Field::Whole, Field::Seat}, false, Phase::TableWindow, RecvCardTake, 0, 1},
        // The sender's control, and the card it shows there (which a sender may leave out).
        {"CROTATE", {Field::Whole, Field::Card}, false, Phase::TableWindow, RecvCardRotate, 1, 0, nullptr, 1},
        {"C2BTMDD", {Field::Card}, false, Phase::TableWindow, RecvToBottomOfDrawDeck, -1, -1, FitsToBottom},
        {"DKMD2B",
         {Field::Deck},
         false,
         Phase::TableWindow,
         RecvDiscardToBottom,
         -1,
         -1,
         DiscardPileHasACard},
        {"MRKDEL", {Field::NumMarker}, false, Phase::TableWindow, RecvMarkerDelete},
        {"GPHMRKDEL", {Field::ImageMarker}, false, Phase::TableWindow, RecvGraphMarkerDelete},
        {"GPHMRKFLP", {Field::ImageMarker}, false, Phase::TableWindow, RecvGraphMarkerFlip},
        {"MRKROT", {Field::ImageMarker, Field::Turn}, false, Phase::TableWindow, RecvMarkerRotate},
        {"CLOAD", {Field::Deck}, false, Phase::TableWindow, RecvDrawCard, -1, -1, DeckHasACard},
        {"CMOVE",
         {Field::Whole, Field::Pixels, Field::Pixels, Field::Card},
         false,
         Phase::TableWindow,
         RecvCardMove,
         3,
         0,
         nullptr,
         1},
        {"CDSC2PLAY",
         {Field::Deck},
         false,
         Phase::TableWindow,
         RecvDiscardToPlay,
         -1,
         -1,
         DiscardPileHasACard},
        {"CSELDR",
         {Field::Deck, Field::Text},
         false,
         Phase::TableWindow,
         RecvSelectedDraw,
         -1,
         -1,
         FitsSelectedDraw},
        // The turns follow only from a deck that turns its cards as it shuffles.
        {"DKSHUFF",
         {Field::Deck, Field::Text, Field::Text},
         false,
         Phase::TableWindow,
         RecvDeckShuffle,
         -1,
         -1,
         FitsDeckShuffle,
         1},
        {"CINVERT", {Field::Whole, Field::Card}, false, Phase::TableWindow, RecvCardInvert, 1, 0, nullptr, 1},
        {"CGIVE", {Field::Card, Field::Whole, Field::Seat}, false, Phase::TableWindow, RecvCardGive, 0, 1},
        {"CPUTBACK", {Field::Card, Field::Whole}, false, Phase::TableWindow, RecvPutBack, 0, 1},
        {"GAMEEND", {}, false, Phase::TableWindow, RecvEndGame},
        // The definition is followed by an empty field; a definition that held the separator is cut.
        {"MRKLOAD", {Field::Text}, true, Phase::TableWindow, RecvMarkerNew, -1, -1, NumMarkerFree},
        {"MRKMV",
         {Field::NumMarker, Field::NumMarker, Field::Pixels, Field::Pixels},
         false,
         Phase::TableWindow,
         RecvMarkerMove},
        {"MRKUPD", {Field::NumMarker, Field::Text}, true, Phase::TableWindow, RecvMarkerUpdate},
        {"GPHMRKLOAD",
         {Field::Kind, Field::Owner, Field::Pixels, Field::Pixels},
         false,
         Phase::TableWindow,
         RecvGraphMarkerNew,
         -1,
         -1,
         GraphMarkerCanBeMade},
        {"GPHMRKMV",
         {Field::ImageMarker, Field::ImageMarker, Field::Pixels, Field::Pixels},
         false,
         Phase::TableWindow,
         RecvGraphMarkerMove},
        {"CNEWCARD",
         {Field::Deck, Field::Text, Field::Whole, Field::Whole},
         false,
         Phase::TableWindow,
         RecvNewCard,
         -1,
         -1,
         FitsNewCard},
        // The hands.
        {"CLDONHAND", {Field::Deck}, false, Phase::TableWindow, RecvDrawCardToHand, -1, -1, FitsDrawToHand},
        {"CDRPHND",
         {Field::Card, Field::Pixels, Field::Pixels, Field::Seat, Field::Text},
         false,
         Phase::TableWindow,
         RecvCardDropFromHand,
         -1,
         -1,
         FitsHeldCard},
        {"C2WINHAND",
         {Field::Card, Field::Whole, Field::Whole, Field::Seat},
         false,
         Phase::TableWindow,
         RecvCardToWindowHand,
         -1,
         -1,
         FitsToTableHand},
        {"C2HAND",
         {Field::Card, Field::Whole, Field::Seat},
         false,
         Phase::TableWindow,
         RecvCardToHand,
         -1,
         -1,
         FitsToHandWindow},
        {"DSC2HND", {Field::Whole, Field::Deck}, false, Phase::TableWindow, RecvDiscardToHand},
        {"CHNDDSCARD",
         {Field::Card, Field::Whole},
         false,
         Phase::TableWindow,
         RecvHandDiscard,
         -1,
         -1,
         FitsHeldCard},
    };
    return rows;
}

// A table command that does not fit this table means that the two tables went apart (or that the
// other side is not an honest copy): the players are told once per connection, for they should
// bring the tables together again, and every drop goes to the debug log.
void Drop(const Row& row, const NetCommand& c, const std::string& why) {
    DebugLog("dropped", c.word + " (" + std::to_string(c.fields.size()) + " fields): " + why);
    if (row.phase == Phase::Any || g_toldApartOn == NetConnectionSerial()) return;
    g_toldApartOn = NetConnectionSerial();
    ShowMsg("The other side's command " + c.word +
            " does not fit this table: the two tables differ. Save the game and continue it from the save "
            "on both sides to play on with equal tables.");
}

} // namespace

std::optional<double> WireNumber(const std::string& field) {
    std::size_t begin = field.find_first_not_of(' ');
    if (begin == std::string::npos) return std::nullopt;
    const std::size_t end = field.find_last_not_of(' ') + 1;
    if (field[begin] == '+') ++begin;
    double value = 0;
    const char* first = field.data() + begin;
    const char* last = field.data() + end;
    const auto [stop, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (error != std::errc() || stop != last || !std::isfinite(value)) return std::nullopt;
    return value;
}

void DispatchNetCommand(const NetCommand& received) {
    for (const Row& row : Rows()) {
        if (received.word != row.word) continue;
        const std::size_t n = row.fields.size();
        const std::size_t given = received.fields.size();
        // A table arrives only while a game is played: a command before that is not a sign of
        // tables gone apart.
        if (row.phase != Phase::Any && Game.GamePhase != kPhasePlaying && Game.GamePhase != kPhaseEnded)
            return DebugLog("dropped", received.word + ": no table is being played");
        if (row.phase == Phase::TableWindow && !Actions())
            return DebugLog("dropped", received.word + ": no table window is open");
        if ((given > n && !row.trailingField) || given + row.optionalFields < n)
            return Drop(row, received, "expected " + std::to_string(n) + " fields");
        for (std::size_t i = 0; i < std::min(n, given); ++i)
            if (!Fits(row.fields[i], received.fields[i]))
                return Drop(row, received,
                            "field " + std::to_string(i + 2) + " is out of range: " + received.fields[i]);
        // Fields a sender left out read as empty.
        NetCommand command = received;
        if (command.fields.size() < n) command.fields.resize(n);
        if (row.fits)
            if (const char* why = row.fits(command)) return Drop(row, command, why);
        if (row.cardField < 0) return row.handler(command);
        const auto cardField = static_cast<std::size_t>(row.cardField);
        const auto controlField = static_cast<std::size_t>(row.controlField);
        if (command.fields[cardField].empty()) {
            // A sender that names no card: the control it names must show one here.
            if (Actions()->CardOfElement(Whole(command.fields[controlField])) == 0)
                return Drop(row, command, "the control shows no card");
            return row.handler(command);
        }
        const std::int16_t card = Whole(command.fields[cardField]);
        const std::int16_t own = Cards[card].controlIndex;
        if (Actions()->CardOfElement(own) != card) return Drop(row, command, "the card is not on the table");
        // The card's control here stands in for the sender's, which may number it otherwise.
        command.fields[controlField] = std::to_string(own);
        return row.handler(command);
    }
    const std::string word = received.word.substr(0, 40);
    DebugLog("dropped", "unknown command " + word);
    if (g_toldUnknownOn == NetConnectionSerial()) return;
    g_toldUnknownOn = NetConnectionSerial();
    ShowMsg("Command " + word + " not known");
}

void ResetNetNotices() {
    g_toldUnknownOn = -1;
    g_toldApartOn = -1;
}

void InstallNetDispatcher() {
    ResetNetNotices();
    SetNetCommandHandler(DispatchNetCommand);
}

NetCommandHook SetHandshakeHandler(NetCommandHook handler) {
    return std::exchange(g_handshake, std::move(handler));
}

NetCommandHook SetChatHandler(NetCommandHook handler) {
    return std::exchange(g_chat, std::move(handler));
}
