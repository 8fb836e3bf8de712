// What the table's actions announce once their body has run, so that the other side of direct
// play can repeat them: one function per command, named after the action. Direct play installs its
// outbox while its connection dialog is loaded; without one installed every call does nothing, as
// in a local game, a game by exchange of saved games or a design session.
//
// A call may let window events run while it sends: a caller holds no index or reference into the
// tables across it. Positions are twips of the table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TableOutbox {
  public:
    virtual ~TableOutbox() = default;

    virtual void SendDrawCard(std::int16_t /*deck*/) {}
    virtual void SendDrawCardToHand(std::int16_t /*deck*/) {}
    // A card moved on the table by this side's control of it.
    virtual void SendCardMove(std::int16_t /*control*/, int /*leftTwips*/, int /*topTwips*/) {}
    virtual void SendCardDiscard(std::int16_t /*card*/, std::int16_t /*control*/) {}
    virtual void SendCardEliminate(std::int16_t /*card*/, std::int16_t /*control*/) {}
    virtual void SendCardFlip(std::int16_t /*card*/, std::int16_t /*control*/) {}
    virtual void SendCardTake(std::int16_t /*card*/, std::int16_t /*control*/, std::int16_t /*player*/) {}
    virtual void SendCardRotate(std::int16_t /*control*/) {}
    // Turning a card upside down, giving it to a seat, putting it back into its deck before the
    // deck's shuffle (whose new order follows as its own announcement), and ending the game.
    virtual void SendCardInvert(std::int16_t /*control*/) {}
    virtual void SendCardGive(std::int16_t /*card*/, std::int16_t /*control*/, std::int16_t /*player*/) {}
    virtual void SendPutBackAndReshuffle(std::int16_t /*card*/, std::int16_t /*control*/) {}
    virtual void SendEndGame() {}
    virtual void SendToBottomOfDrawDeck(std::int16_t /*card*/) {}
    virtual void SendDiscardToBottom(std::int16_t /*deck*/) {}
    virtual void SendDiscardToPlay(std::int16_t /*deck*/) {}
    // A deck's new draw order; the shuffles of a game's set-up are not announced.
    virtual void SendDeckShuffle(std::int16_t /*deck*/) {}
    // The cards chosen from a deck's draw pile.
    virtual void SendSelectedDraw(std::int16_t /*deck*/, const std::vector<std::int16_t>& /*cards*/) {}
    virtual void SendCardDropFromHand(std::int16_t /*card*/, int /*topTwips*/, int /*leftTwips*/,
                                      std::int16_t /*owner*/, bool /*keptFaceDown*/) {}
    virtual void SendCardToWindowHand(std::int16_t /*card*/, int /*topTwips*/, int /*leftTwips*/,
                                      std::int16_t /*player*/) {}
    // control -1: the card has no table control.
    virtual void SendCardToHand(std::int16_t /*card*/, std::int16_t /*control*/, std::int16_t /*player*/) {}
    virtual void SendDiscardToHand(std::int16_t /*position*/, std::int16_t /*deck*/) {}
    virtual void SendHandDiscard(std::int16_t /*card*/, std::int16_t /*handControl*/) {}
    virtual void SendMarkerNew(const std::string& /*definition*/) {}
    virtual void SendMarkerMove(std::int16_t /*marker*/, std::int16_t /*zOrderIndex*/, int /*leftTwips*/,
                                int /*topTwips*/) {}
    virtual void SendMarkerUpdate(std::int16_t /*marker*/, const std::string& /*text*/) {}
    virtual void SendMarkerRotate(std::int16_t /*marker*/, bool /*toLeft*/) {}
    virtual void SendMarkerDelete(std::int16_t /*marker*/) {}
    virtual void SendGraphMarkerNew(std::int16_t /*kind*/, std::int16_t /*owner*/, int /*leftTwips*/,
                                    int /*topTwips*/) {}
    virtual void SendGraphMarkerMove(std::int16_t /*marker*/, std::int16_t /*zOrderIndex*/, int /*leftTwips*/,
                                     int /*topTwips*/) {}
    virtual void SendGraphMarkerDelete(std::int16_t /*marker*/) {}
    virtual void SendGraphMarkerFlip(std::int16_t /*marker*/) {}
    // A card added during play: its deck, its definition line (its picture's file name), the card
    // number it got and the index of its table control, so that the other side adds the same card.
    virtual void SendNewCard(std::int16_t /*deck*/, const std::string& /*line*/, std::int16_t /*card*/,
                             std::int16_t /*control*/) {}
    // kind -1: the die shows no marker.
    virtual void SendDiceRoll(std::int16_t /*die*/, const std::string& /*result*/, std::int16_t /*kind*/) {}
};

// Installs the outbox (nullptr for none) and returns the one it replaced; it is not owned.
TableOutbox* SetTableOutbox(TableOutbox* outbox);
// The outbox installed, or one that announces nothing.
TableOutbox& Outbox();
