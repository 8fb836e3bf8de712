// What the rest of the engine needs of direct play: one sender per table action, each of which
// tells the other side what this side did, and the two seats of a connection. Positions are
// given in twips; the senders put them on the wire as the protocol carries them.
#pragma once

#include "state/TableState.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Receives every command a sender puts out: the command word and its fields as wire texts. The
// hook in place from the start sends over the connection; tests put a recorder in its place.
using NetSendHook = std::function<void(const std::string& command, const std::vector<std::string>& fields)>;
// Returns the hook it replaced; an empty hook sends nothing.
NetSendHook SetNetSendHook(NetSendHook hook);

// Each sender does nothing unless the game is in direct play. A send lets window events run while
// it waits, so a caller holds no index or reference into the tables across it. The commands that
// name a card by this side's control (move, turn, invert) carry the card too, as a last field.
void SendDrawCard(std::int16_t deck);
void SendDrawCardToHand(std::int16_t deck);
void SendCardMove(std::int16_t control, int leftTwips, int topTwips);
void SendCardDiscard(std::int16_t card, std::int16_t control);
void SendCardEliminate(std::int16_t card, std::int16_t control);
void SendCardFlip(std::int16_t card, std::int16_t control);
void SendCardTake(std::int16_t card, std::int16_t control, std::int16_t player);
void SendCardRotate(std::int16_t control);
void SendToBottomOfDrawDeck(std::int16_t card);
void SendDiscardToBottom(std::int16_t deck);
void SendDiscardToPlay(std::int16_t deck);
// Only once the game is played (also after its end): the shuffles of a game's set-up are not sent.
void SendDeckShuffle(std::int16_t deck);
// The cards chosen from a deck's draw pile.
void SendSelectedDraw(std::int16_t deck, const std::vector<std::int16_t>& cards);
void SendCardDropFromHand(std::int16_t card, int topTwips, int leftTwips, std::int16_t owner,
                          bool keptFaceDown);
// This one command carries its position in twips as they stand.
void SendCardToWindowHand(std::int16_t card, int topTwips, int leftTwips, std::int16_t player);
// control -1: the card has no table control.
void SendCardToHand(std::int16_t card, std::int16_t control, std::int16_t player);
void SendDiscardToHand(std::int16_t position, std::int16_t deck);
void SendHandDiscard(std::int16_t card, std::int16_t handControl);
void SendMarkerNew(const std::string& definition);
void SendMarkerMove(std::int16_t marker, std::int16_t zOrderIndex, int leftTwips, int topTwips);
void SendMarkerUpdate(std::int16_t marker, const std::string& text);
void SendMarkerRotate(std::int16_t marker, bool toLeft);
void SendMarkerDelete(std::int16_t marker);
void SendGraphMarkerNew(std::int16_t kind, std::int16_t owner, int leftTwips, int topTwips);
void SendGraphMarkerMove(std::int16_t marker, std::int16_t zOrderIndex, int leftTwips, int topTwips);
void SendGraphMarkerDelete(std::int16_t marker);
void SendGraphMarkerFlip(std::int16_t marker);
// The actions the command table has no word of its own for, so that the other side can repeat
// them: turning a card upside down, giving it to a seat, putting it back into its deck before the
// deck's shuffle (whose new order follows as its own command), and ending the game.
void SendCardInvert(std::int16_t control);
void SendCardGive(std::int16_t card, std::int16_t control, std::int16_t player);
void SendPutBackAndReshuffle(std::int16_t card, std::int16_t control);
void SendEndGame();
// A card added during play: "CNEWCARD" with the deck, the card's definition line (its picture's
// file name), the card number it got and the index of its table control, so that the other side
// adds the same card with the same numbers.
void SendNewCard(std::int16_t deck, const std::string& line, std::int16_t card, std::int16_t control);
// kind -1: the die shows no marker.
void SendDiceRoll(std::int16_t die, const std::string& result, std::int16_t kind);

// The deck's draw order as the other side rebuilds it: three characters per card of the deck in
// card order, its draw-pile position zero-padded, or "$$$" for a card outside the draw pile.
std::string DeckOrderText(std::int16_t deck);
// The turn of each card of a deck that shuffles and turns its cards, in the same order as the
// deck order, comma-separated: the other side cannot draw the same random angles.
std::string DeckTurnsText(std::int16_t deck);

// The two direct-play seats: entry 0 the server's, entry 1 the client's.
extern std::array<NetPlayer, 2>& NetPlayerData;

// This side of a connection is the server (true also when there is no connection).
extern bool& IsServerSide;
bool IsServer();

// The seat the other side plays: its entry of the connection data (a seat of this game or the
// arbitrator's), or, while that holds none, the first seat that is not this side's.
std::int16_t AdversarySeat();
