// A table set up for the card actions' tests: two seats with areas on the table and one common
// deck of eight cards, direct play with every command recorded, and the checks the tests share.
#pragma once

#include "TableTestSupport.h"
#include "TestSupport.h"

#include "net/MultiplayerMgmt.h"
#include "table/CardActions.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace cardtest {

struct Sent {
    std::string command;
    std::vector<std::string> fields;
};

// Records every command sent while it lives; onSend runs at each send, as the send would let the
// other side's commands run.
class SendRecorder {
  public:
    SendRecorder();
    ~SendRecorder();
    SendRecorder(const SendRecorder&) = delete;
    SendRecorder& operator=(const SendRecorder&) = delete;

    std::vector<std::string> Commands() const;

    std::vector<Sent> sent;
    std::function<void(const std::string& command)> onSend;

  private:
    tabletest::NetOutboxInstalled outbox_;
    NetSendHook previous_;
};

// Seats Ann (1) and Bob (2) with areas, a common deck "Stock" of 8 cards (faces f1.png to f8.png,
// keys key1 to key8) dealing `deal` cards to each seat; extra lines for the deck section, the
// [GAME] section and after everything.
std::string TwoSeatGame(const std::string& deckExtra = "", const std::string& gameExtra = "",
                        const std::string& tail = "", int deal = 1);

class CardTableTest : public testing::Test {
  protected:
    CardTableTest();
    ~CardTableTest() override;

    // Sets a new game up on the table for seat `seat`, in direct play while it is played.
    bool Start(const std::string& definition, std::int16_t seat = 1);

    MainForm& table() { return fixture.Table(); }
    CardActions& actions() { return *table().cardActions; }

    // Draws deck 0's top card onto the table as the local seat does, without a record of the
    // send; its card and control.
    std::pair<std::int16_t, std::int16_t> DrawOne();
    // A command of the other side, received.
    static void Receive(const std::string& word, const std::vector<std::string>& fields);
    // A text of everything an action may change: the cards, the piles, the stacking order.
    static std::string Snapshot();
    // Moves a card's control onto bare table, outside every area (further down by `below`).
    void MoveOutOfAreas(std::int16_t element, int below = 0);
    // The two dealt cards go onto the discard pile, seat 1's first.
    void DiscardDealtCards();
    // The card of the control loaded last.
    std::int16_t DealtCardOfControl();
    static std::string FacePathOf(std::int16_t card);
    // Every card lies in exactly one place: one place of a pile, the table, a hand or out of the
    // game, and no two cards share a place.
    void ExpectEveryCardInOnePlace();

    tabletest::TableFixture fixture;
    testsupport::MessageRecorder messages;
    SendRecorder recorder;

  private:
    int games_ = 0;
};

using tabletest::DealtCardOf;

} // namespace cardtest
