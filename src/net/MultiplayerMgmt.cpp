#include "net/MultiplayerMgmt.h"

#include "common/Numbers.h"
#include "net/NetSocket.h"
#include "net/WireWords.h"
#include "platform/Twips.h"
#include "services/DebugMgmt.h"
#include "state/SaveRecord.h"
#include "state/TableState.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace {

// A text field holding the message terminator would end the message early and run the rest as a
// command on the other side, and one holding a separator would shift the fields after it: such a
// command is not sent at all.
void SendOverConnection(const std::string& command, const std::vector<std::string>& fields) {
    if (const std::optional<std::string> message = BuildNetMessage(command, fields))
        SendNetData(*message);
    else
        DebugLog("net",
                 command + " not sent: a field holds the message terminator or shifts the fields after it");
}

NetSendHook g_sendHook = SendOverConnection;

using Fields = std::vector<std::string>;

std::string Num(long long value) {
    return std::to_string(value);
}

// A number the receiver reads with one leading blank when it is not negative.
std::string Untrimmed(long long value) {
    return value < 0 ? Num(value) : " " + Num(value);
}

// Positions travel in pixels of the horizontal scale, on both axes, and may carry a fraction.
std::string Pixels(int twips) {
    return FormatNumber(static_cast<double>(twips) / platform::kTwipsPerPixelX);
}

std::string Bool(bool value) {
    return value ? "TRUE" : "FALSE";
}

// The card a table control shows, as the tables hold it; 0 when it shows none.
std::int16_t CardOnControl(std::int16_t control) {
    const int last = std::min<int>(Game.totalCards, kMaxCards);
    for (int card = 1; card <= last; ++card)
        if (Cards[card].controlIndex == control && IsTableCard(Cards[card], Game))
            return static_cast<std::int16_t>(card);
    return 0;
}

// A command that names a card by the sender's control also names the card, so that the other side
// acts on its own control of that card whatever it numbered it; without a card it is left out.
void WithCard(Fields& fields, std::int16_t control) {
    if (const std::int16_t card = CardOnControl(control)) fields.push_back(Num(card));
}

void Send(const std::string& command, Fields fields) {
    if (GameMode != kModeDirect) return;
    // Copied first: a hook may replace itself while it sends.
    const NetSendHook hook = g_sendHook;
    if (hook) hook(command, fields);
}

} // namespace

DirectPlayOutbox& NetOutbox() {
    static DirectPlayOutbox outbox;
    return outbox;
}

NetSendHook SetNetSendHook(NetSendHook hook) {
    return std::exchange(g_sendHook, std::move(hook));
}

void DirectPlayOutbox::SendDrawCard(std::int16_t deck) {
    Send(wire::kDrawCard, {Num(deck)});
}

void DirectPlayOutbox::SendDrawCardToHand(std::int16_t deck) {
    Send(wire::kDrawCardToHand, {Num(deck)});
}

void DirectPlayOutbox::SendCardMove(std::int16_t control, int leftTwips, int topTwips) {
    if (GameMode != kModeDirect) return;
    Fields fields = {Num(control), Pixels(leftTwips), Pixels(topTwips)};
    WithCard(fields, control);
    Send(wire::kCardMove, std::move(fields));
}

void DirectPlayOutbox::SendCardDiscard(std::int16_t card, std::int16_t control) {
    Send(wire::kCardDiscard, {Num(card), Num(control)});
}

void DirectPlayOutbox::SendCardEliminate(std::int16_t card, std::int16_t control) {
    Send(wire::kCardEliminate, {Num(card), Num(control)});
}

void DirectPlayOutbox::SendCardFlip(std::int16_t card, std::int16_t control) {
    Send(wire::kCardFlip, {Num(card), Num(control)});
}

void DirectPlayOutbox::SendCardTake(std::int16_t card, std::int16_t control, std::int16_t player) {
    Send(wire::kCardTake, {Num(card), Num(control), Num(player)});
}

void DirectPlayOutbox::SendCardInvert(std::int16_t control) {
    if (GameMode != kModeDirect) return;
    Fields fields = {Num(control)};
    WithCard(fields, control);
    Send(wire::kCardInvert, std::move(fields));
}

void DirectPlayOutbox::SendCardGive(std::int16_t card, std::int16_t control, std::int16_t player) {
    Send(wire::kCardGive, {Num(card), Num(control), Num(player)});
}

void DirectPlayOutbox::SendPutBackAndReshuffle(std::int16_t card, std::int16_t control) {
    Send(wire::kCardPutBack, {Num(card), Num(control)});
}

void DirectPlayOutbox::SendEndGame() {
    Send(wire::kEndGame, {});
}

void DirectPlayOutbox::SendNewCard(std::int16_t deck, const std::string& line, std::int16_t card,
                                   std::int16_t control) {
    Send(wire::kNewCard, {Num(deck), line, Num(card), Num(control)});
}

void DirectPlayOutbox::SendCardRotate(std::int16_t control) {
    if (GameMode != kModeDirect) return;
    Fields fields = {Num(control)};
    WithCard(fields, control);
    Send(wire::kCardRotate, std::move(fields));
}

void DirectPlayOutbox::SendToBottomOfDrawDeck(std::int16_t card) {
    Send(wire::kCardToBottomOfDrawDeck, {Untrimmed(card)});
}

void DirectPlayOutbox::SendDiscardToBottom(std::int16_t deck) {
    Send(wire::kDiscardToBottom, {Num(deck)});
}

void DirectPlayOutbox::SendDiscardToPlay(std::int16_t deck) {
    Send(wire::kDiscardToPlay, {Num(deck)});
}

void DirectPlayOutbox::SendDeckShuffle(std::int16_t deck) {
    // After the end of the game the players may still play on: the decks must stay alike.
    if (Game.GamePhase != kPhasePlaying && Game.GamePhase != kPhaseEnded) return;
    // The order is written out only when it travels: a shuffle alone at the table sends nothing.
    if (GameMode != kModeDirect) return;
    Fields fields = {Num(deck), DeckOrderText(deck)};
    if (deck >= 0 && deck < kMaxDecks && Game.decks[deck].shuffleAndRotate != kFalse)
        fields.push_back(DeckTurnsText(deck));
    Send(wire::kDeckShuffle, std::move(fields));
}

void DirectPlayOutbox::SendSelectedDraw(std::int16_t deck, const std::vector<std::int16_t>& cards) {
    std::string text;
    for (std::int16_t card : cards)
        text += Padded3(card);
    Send(wire::kSelectedDraw, {Untrimmed(deck), text});
}

void DirectPlayOutbox::SendCardDropFromHand(std::int16_t card, int topTwips, int leftTwips,
                                            std::int16_t owner, bool keptFaceDown) {
    Send(wire::kCardDropFromHand,
         {Num(card), Pixels(topTwips), Pixels(leftTwips), Num(owner), Bool(keptFaceDown)});
}

void DirectPlayOutbox::SendCardToWindowHand(std::int16_t card, int topTwips, int leftTwips,
                                            std::int16_t player) {
    Send(wire::kCardToWindowHand, {Num(card), Num(topTwips), Num(leftTwips), Num(player)});
}

void DirectPlayOutbox::SendCardToHand(std::int16_t card, std::int16_t control, std::int16_t player) {
    Send(wire::kCardToHand, {Num(card), Num(control), Num(player)});
}

void DirectPlayOutbox::SendDiscardToHand(std::int16_t position, std::int16_t deck) {
    Send(wire::kDiscardToHand, {Num(position), Num(deck)});
}

void DirectPlayOutbox::SendHandDiscard(std::int16_t card, std::int16_t handControl) {
    Send(wire::kHandDiscard, {Num(card), Num(handControl)});
}

void DirectPlayOutbox::SendMarkerNew(const std::string& definition) {
    // The empty last field: the message ends with a separator.
    Send(wire::kMarkerNew, {definition, ""});
}

void DirectPlayOutbox::SendMarkerMove(std::int16_t marker, std::int16_t zOrderIndex, int leftTwips,
                                      int topTwips) {
    Send(wire::kMarkerMove, {Num(marker), Num(zOrderIndex), Pixels(leftTwips), Pixels(topTwips)});
}

void DirectPlayOutbox::SendMarkerUpdate(std::int16_t marker, const std::string& text) {
    Send(wire::kMarkerUpdate, {Num(marker), text});
}

void DirectPlayOutbox::SendMarkerRotate(std::int16_t marker, bool toLeft) {
    Send(wire::kMarkerRotate, {Num(marker), toLeft ? "L" : "R"});
}

void DirectPlayOutbox::SendMarkerDelete(std::int16_t marker) {
    Send(wire::kMarkerDelete, {Num(marker)});
}

void DirectPlayOutbox::SendGraphMarkerNew(std::int16_t kind, std::int16_t owner, int leftTwips,
                                          int topTwips) {
    Send(wire::kImageMarkerNew, {Num(kind), Num(owner), Pixels(leftTwips), Pixels(topTwips)});
}

void DirectPlayOutbox::SendGraphMarkerMove(std::int16_t marker, std::int16_t zOrderIndex, int leftTwips,
                                           int topTwips) {
    Send(wire::kImageMarkerMove, {Num(marker), Num(zOrderIndex), Pixels(leftTwips), Pixels(topTwips)});
}

void DirectPlayOutbox::SendGraphMarkerDelete(std::int16_t marker) {
    Send(wire::kImageMarkerDelete, {Num(marker)});
}

void DirectPlayOutbox::SendGraphMarkerFlip(std::int16_t marker) {
    Send(wire::kImageMarkerFlip, {Num(marker)});
}

void DirectPlayOutbox::SendDiceRoll(std::int16_t die, const std::string& result, std::int16_t kind) {
    Send(wire::kDiceRoll, {Num(die), result, Num(kind)});
}

std::string DeckOrderText(std::int16_t deck) {
    std::string text;
    const int last = std::min<int>(Game.totalCards, kMaxCards);
    for (int card = 1; card <= last; ++card) {
        const CardRecord& c = Cards[card];
        if (c.deck != deck) continue;
        // A discarded card keeps a positive place in its discard pile; the other side must not
        // take that for a place in the draw pile.
        text += c.pilePosition > 0 && !c.inDiscardPile ? Padded3(c.pilePosition) : "$$$";
    }
    return text;
}

std::string DeckTurnsText(std::int16_t deck) {
    std::string text;
    const int last = std::min<int>(Game.totalCards, kMaxCards);
    for (int card = 1; card <= last; ++card) {
        if (Cards[card].deck != deck) continue;
        if (!text.empty()) text += ',';
        text += Num(Cards[card].rotation);
    }
    return text;
}

bool IsServer() {
    return IsServerSide;
}

std::int16_t AdversarySeat() {
    const std::int16_t seat = LeadingInt16(NetPlayerData[IsServer() ? 1 : 0].seatId);
    const int seats = std::clamp<int>(Game.playerCount, 0, kMaxPlayers);
    if ((seat >= 1 && seat <= seats) || seat == kArbitratorSeat) return seat;
    return Game.CurrentPlayer == 1 ? std::int16_t{2} : std::int16_t{1};
}
