// What the rest of the engine needs of direct play: the outbox that tells the other side what this
// side's table did, and the two seats of a connection.
#pragma once

#include "state/TableState.h"
#include "table/Outbox.h"

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

// Direct play's outbox: each announcement of the table goes to the other side as the command of
// the protocol with the same arguments, and only in direct play. The commands that name a card by
// this side's control (move, turn, invert) carry the card too, as a last field. Positions travel
// as pixels, except for the card sent to the hand window, which carries its twips as they stand.
class DirectPlayOutbox final : public TableOutbox {
  public:
    void SendDrawCard(std::int16_t deck) override;
    void SendDrawCardToHand(std::int16_t deck) override;
    void SendCardMove(std::int16_t control, int leftTwips, int topTwips) override;
    void SendCardDiscard(std::int16_t card, std::int16_t control) override;
    void SendCardEliminate(std::int16_t card, std::int16_t control) override;
    void SendCardFlip(std::int16_t card, std::int16_t control) override;
    void SendCardTake(std::int16_t card, std::int16_t control, std::int16_t player) override;
    void SendCardRotate(std::int16_t control) override;
    void SendCardInvert(std::int16_t control) override;
    void SendCardGive(std::int16_t card, std::int16_t control, std::int16_t player) override;
    void SendPutBackAndReshuffle(std::int16_t card, std::int16_t control) override;
    void SendEndGame() override;
    void SendToBottomOfDrawDeck(std::int16_t card) override;
    void SendDiscardToBottom(std::int16_t deck) override;
    void SendDiscardToPlay(std::int16_t deck) override;
    // Only once the game is played (also after its end).
    void SendDeckShuffle(std::int16_t deck) override;
    void SendSelectedDraw(std::int16_t deck, const std::vector<std::int16_t>& cards) override;
    void SendCardDropFromHand(std::int16_t card, int topTwips, int leftTwips, std::int16_t owner,
                              bool keptFaceDown) override;
    void SendCardToWindowHand(std::int16_t card, int topTwips, int leftTwips, std::int16_t player) override;
    void SendCardToHand(std::int16_t card, std::int16_t control, std::int16_t player) override;
    void SendDiscardToHand(std::int16_t position, std::int16_t deck) override;
    void SendHandDiscard(std::int16_t card, std::int16_t handControl) override;
    void SendMarkerNew(const std::string& definition) override;
    void SendMarkerMove(std::int16_t marker, std::int16_t zOrderIndex, int leftTwips, int topTwips) override;
    void SendMarkerUpdate(std::int16_t marker, const std::string& text) override;
    void SendMarkerRotate(std::int16_t marker, bool toLeft) override;
    void SendMarkerDelete(std::int16_t marker) override;
    void SendGraphMarkerNew(std::int16_t kind, std::int16_t owner, int leftTwips, int topTwips) override;
    void SendGraphMarkerMove(std::int16_t marker, std::int16_t zOrderIndex, int leftTwips,
                             int topTwips) override;
    void SendGraphMarkerDelete(std::int16_t marker) override;
    void SendGraphMarkerFlip(std::int16_t marker) override;
    void SendNewCard(std::int16_t deck, const std::string& line, std::int16_t card,
                     std::int16_t control) override;
    void SendDiceRoll(std::int16_t die, const std::string& result, std::int16_t kind) override;
};

// The program's one outbox of direct play; the connection dialog installs it while it is loaded.
DirectPlayOutbox& NetOutbox();

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
