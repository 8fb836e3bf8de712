// What the files of the received commands share, and nothing outside them includes: the kinds of
// a command's fields and their reading (NetCommands.cpp), the checks that the fields alone cannot
// make (NetCommandChecks.cpp), and the handlers the command table names (NetCardCommands.cpp,
// NetMarkerCommands.cpp).
#pragma once

#include "net/NetSocket.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace net_commands {

// What a field must be for its command to run.
enum class Field {
    Card,        // 1 .. the game's card count
    Control,     // a card control of the table window that shows a card
    Deck,        // 0 .. the game's deck count - 1
    Die,         // a die the game defines
    Seat,        // 1 .. the game's seat count
    Owner,       // a seat of the game, the arbitrator's, or 0 for nobody
    Kind,        // an image marker kind the game defines
    Pixels,      // a position in pixels, perhaps with a fraction, that fits the table in twips
    NumMarker,   // a numerical marker in use
    ImageMarker, // the control of an image marker in use
    Turn,        // "L" (left) or "R" (right)
    Whole,       // a whole 16-bit number
    Text,        // anything
};

// The reading of a field that fits its kind.
std::int16_t Whole(const std::string& field);
int Twips(const std::string& field);
bool Fits(Field kind, const std::string& field);

// The entry of an order for a card that the order leaves out of the draw pile.
constexpr std::string_view kNotInDrawPile = "$$$";

bool OnTable(std::int16_t card);
std::vector<std::int16_t> CardsOfDeck(std::int16_t deck);
int ListEntry(const std::string& list, std::size_t at);
std::vector<std::string> Turns(const NetCommand& c);

// What the fields alone cannot tell: the reason the command does not fit the table, or nullptr.
const char* DeckHasACard(const NetCommand& c);
const char* DiscardPileHasACard(const NetCommand& c);
const char* FitsSelectedDraw(const NetCommand& c);
const char* FitsDeckShuffle(const NetCommand& c);
const char* NumMarkerFree(const NetCommand&);
const char* GraphMarkerCanBeMade(const NetCommand& c);
const char* FitsEliminate(const NetCommand& c);
const char* FitsToBottom(const NetCommand& c);
const char* FitsHeldCard(const NetCommand& c);
const char* FitsDrawToHand(const NetCommand& c);
const char* FitsToHandWindow(const NetCommand& c);
const char* FitsToTableHand(const NetCommand& c);
const char* FitsNewCard(const NetCommand& c);

// The handlers of the cards, decks, dice and hands.
void RecvDeckLock(const NetCommand& c);
void RecvDiceRoll(const NetCommand& c);
void RecvCardDiscard(const NetCommand& c);
void RecvCardEliminate(const NetCommand& c);
void RecvCardFlip(const NetCommand& c);
void RecvCardTake(const NetCommand& c);
void RecvCardRotate(const NetCommand& c);
void RecvToBottomOfDrawDeck(const NetCommand& c);
void RecvDiscardToBottom(const NetCommand& c);
void RecvDrawCard(const NetCommand& c);
void RecvCardMove(const NetCommand& c);
void RecvDiscardToPlay(const NetCommand& c);
void RecvSelectedDraw(const NetCommand& c);
void RecvDeckShuffle(const NetCommand& c);
void RecvCardInvert(const NetCommand& c);
void RecvCardGive(const NetCommand& c);
void RecvPutBack(const NetCommand& c);
void RecvEndGame(const NetCommand&);
void RecvNewCard(const NetCommand& c);
void RecvDrawCardToHand(const NetCommand& c);
void RecvCardDropFromHand(const NetCommand& c);
void RecvCardToWindowHand(const NetCommand& c);
void RecvCardToHand(const NetCommand& c);
void RecvDiscardToHand(const NetCommand& c);
void RecvHandDiscard(const NetCommand& c);

// The handlers of the markers.
void RecvMarkerDelete(const NetCommand& c);
void RecvGraphMarkerDelete(const NetCommand& c);
void RecvGraphMarkerFlip(const NetCommand& c);
void RecvMarkerRotate(const NetCommand& c);
void RecvMarkerNew(const NetCommand& c);
void RecvMarkerMove(const NetCommand& c);
void RecvMarkerUpdate(const NetCommand& c);
void RecvGraphMarkerNew(const NetCommand& c);
// A roll of the other side placed a marker of this kind (0 none): the image marker it sends next
// is marked as a roll's.
void ExpectRolledMarker(std::int16_t kind);
void RecvGraphMarkerMove(const NetCommand& c);

} // namespace net_commands
