// The senders of direct play: what each puts on the wire, and that nothing leaves this side
// outside direct play.
#include "net/MultiplayerMgmt.h"
#include "state/Model.h"
#include "state/TableState.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;

namespace {

struct Sent {
    std::string command;
    std::vector<std::string> fields;
};

// Installs itself as the send hook while it lives and keeps what was sent.
class SendRecorder {
  public:
    SendRecorder()
        : previous_(
              SetNetSendHook([this](const std::string& command, const std::vector<std::string>& fields) {
                  sent.push_back({command, fields});
              })) {}
    ~SendRecorder() { SetNetSendHook(previous_); }
    SendRecorder(const SendRecorder&) = delete;
    SendRecorder& operator=(const SendRecorder&) = delete;

    std::vector<Sent> sent;

  private:
    NetSendHook previous_;
};

class SendersTest : public testing::Test {
  protected:
    void SetUp() override {
        Model().Reset();
        GameMode = kModeDirect;
        Game.GamePhase = kPhasePlaying;
    }
    void TearDown() override { Model().Reset(); }
};

struct SenderCase {
    const char* name;
    std::function<void()> send;
    std::string command;
    std::vector<std::string> fields;
};

// Every sender with arguments, and what it puts on the wire. Positions are twips here and travel as
// pixels of 15 twips, fractions kept.
std::vector<SenderCase> SenderCases() {
    return {
        {"draw", [] { NetOutbox().SendDrawCard(3); }, "CLOAD", {"3"}},
        {"draw to hand", [] { NetOutbox().SendDrawCardToHand(0); }, "CLDONHAND", {"0"}},
        {"move", [] { NetOutbox().SendCardMove(7, 1500, 187); }, "CMOVE", {"7", "100", "12.4666666666667"}},
        {"move negative", [] { NetOutbox().SendCardMove(2, -30, 0); }, "CMOVE", {"2", "-2", "0"}},
        {"discard", [] { NetOutbox().SendCardDiscard(12, 4); }, "CDISCARD", {"12", "4"}},
        {"eliminate", [] { NetOutbox().SendCardEliminate(12, 4); }, "CELIM", {"12", "4"}},
        {"flip", [] { NetOutbox().SendCardFlip(9, 0); }, "CFLIP", {"9", "0"}},
        {"take", [] { NetOutbox().SendCardTake(9, 3, 2); }, "CTAKE", {"9", "3", "2"}},
        {"rotate", [] { NetOutbox().SendCardRotate(5); }, "CROTATE", {"5"}},
        {"to bottom", [] { NetOutbox().SendToBottomOfDrawDeck(17); }, "C2BTMDD", {" 17"}},
        {"discard to bottom", [] { NetOutbox().SendDiscardToBottom(1); }, "DKMD2B", {"1"}},
        {"discard to play", [] { NetOutbox().SendDiscardToPlay(2); }, "CDSC2PLAY", {"2"}},
        {"selected draw",
         [] {
             NetOutbox().SendSelectedDraw(1, {7, 12, 345});
         },
         "CSELDR",
         {" 1", "007012345"}},
        {"drop from hand",
         [] { NetOutbox().SendCardDropFromHand(4, 300, 45, 2, true); },
         "CDRPHND",
         {"4", "20", "3", "2", "TRUE"}},
        {"drop face up",
         [] { NetOutbox().SendCardDropFromHand(4, 0, 15, 1, false); },
         "CDRPHND",
         {"4", "0", "1", "1", "FALSE"}},
        {"to window hand",
         [] { NetOutbox().SendCardToWindowHand(6, 1234, 567, 3); },
         "C2WINHAND",
         {"6", "1234", "567", "3"}},
        {"to hand", [] { NetOutbox().SendCardToHand(6, -1, 3); }, "C2HAND", {"6", "-1", "3"}},
        {"discard to hand", [] { NetOutbox().SendDiscardToHand(2, 5); }, "DSC2HND", {"2", "5"}},
        {"hand discard", [] { NetOutbox().SendHandDiscard(8, 1); }, "CHNDDSCARD", {"8", "1"}},
        {"marker new", [] { NetOutbox().SendMarkerNew("Gold: 3"); }, "MRKLOAD", {"Gold: 3", ""}},
        {"marker move",
         [] { NetOutbox().SendMarkerMove(2, 14, 450, 900); },
         "MRKMV",
         {"2", "14", "30", "60"}},
        {"marker update", [] { NetOutbox().SendMarkerUpdate(2, "Gold: 4"); }, "MRKUPD", {"2", "Gold: 4"}},
        {"marker left", [] { NetOutbox().SendMarkerRotate(1, true); }, "MRKROT", {"1", "L"}},
        {"marker right", [] { NetOutbox().SendMarkerRotate(1, false); }, "MRKROT", {"1", "R"}},
        {"marker delete", [] { NetOutbox().SendMarkerDelete(3); }, "MRKDEL", {"3"}},
        {"image marker new",
         [] { NetOutbox().SendGraphMarkerNew(5, 2, 150, 30); },
         "GPHMRKLOAD",
         {"5", "2", "10", "2"}},
        {"image marker move",
         [] { NetOutbox().SendGraphMarkerMove(0, 3, 15, 15); },
         "GPHMRKMV",
         {"0", "3", "1", "1"}},
        {"image marker delete", [] { NetOutbox().SendGraphMarkerDelete(4); }, "GPHMRKDEL", {"4"}},
        {"image marker flip", [] { NetOutbox().SendGraphMarkerFlip(4); }, "GPHMRKFLP", {"4"}},
        {"dice", [] { NetOutbox().SendDiceRoll(2, "5", -1); }, "DCENEW", {"2", "5", "-1"}},
        {"invert", [] { NetOutbox().SendCardInvert(3); }, "CINVERT", {"3"}},
        {"give", [] { NetOutbox().SendCardGive(9, 3, 2); }, "CGIVE", {"9", "3", "2"}},
        {"put back", [] { NetOutbox().SendPutBackAndReshuffle(9, 3); }, "CPUTBACK", {"9", "3"}},
        {"end of game", [] { NetOutbox().SendEndGame(); }, "GAMEEND", {}},
        {"shuffle", [] { NetOutbox().SendDeckShuffle(0); }, "DKSHUFF", {"0", ""}},
    };
}

TEST_F(SendersTest, EachSenderPutsItsCommandAndFieldsOnTheWire) {
    for (const SenderCase& c : SenderCases()) {
        SCOPED_TRACE(c.name);
        SendRecorder recorder;
        c.send();
        ASSERT_EQ(recorder.sent.size(), 1u);
        EXPECT_EQ(recorder.sent[0].command, c.command);
        EXPECT_THAT(recorder.sent[0].fields, ElementsAreArray(c.fields));
    }
}

TEST_F(SendersTest, NothingIsSentOutsideDirectPlay) {
    GameMode = kModeLocal;
    SendRecorder recorder;
    for (const SenderCase& c : SenderCases())
        c.send();
    EXPECT_THAT(recorder.sent, IsEmpty());
}

TEST_F(SendersTest, AShuffleIsSentOnceTheGameIsPlayedAndAfterItsEnd) {
    SendRecorder recorder;
    Game.GamePhase = kPhaseGameList;
    NetOutbox().SendDeckShuffle(0);
    EXPECT_THAT(recorder.sent, IsEmpty());
    for (std::int16_t phase : {kPhasePlaying, kPhaseEnded})
        Game.GamePhase = phase, NetOutbox().SendDeckShuffle(0);
    ASSERT_EQ(recorder.sent.size(), 2u);
    EXPECT_EQ(recorder.sent[0].command, "DKSHUFF");
    EXPECT_EQ(recorder.sent[1].command, "DKSHUFF");
}

TEST_F(SendersTest, ADeckThatTurnsItsCardsAsItShufflesSendsTheTurnsToo) {
    Game.totalCards = 3;
    for (int card = 1; card <= 3; ++card) {
        Cards[card].deck = card == 2 ? 1 : 0;
        Cards[card].pilePosition = static_cast<std::int16_t>(card);
        Cards[card].rotation = static_cast<std::int16_t>(card * 90);
    }
    SendRecorder recorder;
    NetOutbox().SendDeckShuffle(0);
    Game.decks[0].shuffleAndRotate = kTrue;
    NetOutbox().SendDeckShuffle(0);
    ASSERT_EQ(recorder.sent.size(), 2u);
    EXPECT_THAT(recorder.sent[0].fields, ElementsAre("0", "001003"));
    EXPECT_THAT(recorder.sent[1].fields, ElementsAre("0", "001003", "90,270"));
}

TEST_F(SendersTest, TheDeckOrderListsDrawPositionsInCardOrderAndHidesOtherPlaces) {
    // Deck 0 holds cards 1 to 3, deck 1 cards 4 to 6; card 3 is in a hand, card 5 discarded
    // with a place in its discard pile, card 6 eliminated.
    Game.totalCards = 6;
    const std::vector<std::pair<std::int16_t, std::int16_t>> decksAndPlaces = {
        {0, 2}, {0, 1}, {0, kPileInPlay}, {1, 12}, {1, 1}, {1, kPileEliminated}};
    for (int card = 1; card <= 6; ++card) {
        Cards[card].deck = decksAndPlaces[card - 1].first;
        Cards[card].pilePosition = decksAndPlaces[card - 1].second;
    }
    Cards[5].inDiscardPile = kTrue;

    EXPECT_EQ(DeckOrderText(0), "002001$$$");
    EXPECT_EQ(DeckOrderText(1), "012$$$$$$");

    SendRecorder recorder;
    NetOutbox().SendDeckShuffle(1);
    ASSERT_EQ(recorder.sent.size(), 1u);
    EXPECT_THAT(recorder.sent[0].fields, ElementsAre("1", "012$$$$$$"));
}

} // namespace
