// What the fields of a received command alone cannot tell: whether the command fits the table as
// it stands here (an empty deck or pile, a well-formed order or list, a card where the command
// expects it, room for a new marker or card, a game that keeps its hands where the command goes).
#include "common/Helpers.h"
#include "net/NetCommandsInternal.h"
#include "state/DecksMgmt.h"
#include "state/HandMgmt.h"
#include "state/Helpers.h"
#include "state/MarkersMgmt.h"
#include "state/TableState.h"
#include "table/CardActions.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace net_commands {

namespace {

// The card waits in its deck's draw pile.
bool InDrawPile(const CardRecord& c) {
    return c.pilePosition >= 1 && c.inDiscardPile == kFalse && c.eliminated == kFalse &&
           c.controlIndex == -1 && c.inHand == kFalse;
}

const char* HandWindowGame() {
    return Game.external_hand == kFalse ? "this game keeps its hands on the table" : nullptr;
}

} // namespace

// The card lies on this table, shown by its own control.
bool OnTable(std::int16_t card) {
    return Actions()->CardOfElement(Cards[card].controlIndex) == card;
}

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

} // namespace net_commands
