// The other side's commands against the state of this table: a command is taken only where its
// card lies where the command says (a hand command only in a game with a hand window, a move to
// the bottom only of a card on the table), an elimination and a move to the bottom that crossed on
// the wire end alike on both sides, the commands that name a card beside the sender's control act
// on this side's control of it, and a command that does not fit is told to the players once.
#include "CardActionsSupport.h"

#include "net/NetCommands.h"
#include "net/NetSocket.h"
#include "state/DecksMgmt.h"
#include "state/TableState.h"
#include "table/SaveGameMgmt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using testing::ElementsAre;
using testing::IsEmpty;
using testing::StartsWith;

namespace {

class ReceivedCommandsStateTest : public cardtest::CardTableTest {
  public:
    // The cases of the table reach the table through these.
    using CardTableTest::actions;
    using CardTableTest::DrawOne;
    static std::string N(int value) { return std::to_string(value); }
    // The table as it stands, to play it once more from here as the other side.
    static bool SaveGameForRace() { return SaveGame("race.save"); }
    static bool LoadRaceSave() {
        if (!LoadSavedGame("race.save", true)) return false;
        RestoreLoadedTable();
        return true;
    }
    // A card that is held in the hand window of seat 2, this side's adversary.
    static std::int16_t HeldCard() {
        for (int card = 1; card <= Game.totalCards; ++card)
            if (Cards[card].inHand != kFalse && Cards[card].owner == 2)
                return static_cast<std::int16_t>(card);
        return 0;
    }
};

TEST_F(ReceivedCommandsStateTest, ACommandIsTakenOnlyWhereItsCardLiesAsTheCommandSays) {
    struct Case {
        const char* what;
        bool handWindow;
        // Brings a card where the case needs it; the command to receive for that card.
        std::function<NetCommand(ReceivedCommandsStateTest&)> arrange;
    };
    using T = ReceivedCommandsStateTest;
    const std::vector<Case> cases = {
        {"to the bottom of the draw deck, a card in the discard pile", false,
         [](T& t) {
             const auto [card, control] = t.DrawOne();
             t.actions().DiscardCardProcedure_body(card, control);
             return NetCommand{"C2BTMDD", {" " + N(card)}};
         }},
        {"to the bottom of the draw deck, a card in the draw pile", false,
         [](T&) {
             return NetCommand{"C2BTMDD", {" " + N(FindCard(0, Game.nextDrawPositions[0], false))}};
         }},
        {"a discarded card dropped from a hand, hands on the table", false,
         [](T& t) {
             const std::int16_t card = cardtest::DealtCardOf(2);
             t.actions().DiscardCardProcedure_body(card, Cards[card].controlIndex);
             return NetCommand{"CDRPHND", {N(card), "10", "10", "2", "FALSE"}};
         }},
        {"a table card into a hand window, hands on the table", false,
         [](T& t) {
             const auto [card, control] = t.DrawOne();
             return NetCommand{"C2HAND", {N(card), N(control), "2"}};
         }},
        {"a draw into a hand window, hands on the table", false,
         [](T&) {
             return NetCommand{"CLDONHAND", {"0"}};
         }},
        {"a hand window's discard, hands on the table", false,
         [](T&) {
             return NetCommand{"CHNDDSCARD", {N(cardtest::DealtCardOf(2)), "0"}};
         }},
        {"a discarded card dropped from the hand window", true,
         [](T& t) {
             const auto [card, control] = t.DrawOne();
             t.actions().DiscardCardProcedure_body(card, control);
             return NetCommand{"CDRPHND", {N(card), "10", "10", "2", "FALSE"}};
         }},
        {"an eliminated card into the hand window", true,
         [](T& t) {
             const auto [card, control] = t.DrawOne();
             t.actions().EliminateCardBody(control, card);
             return NetCommand{"C2HAND", {N(card), "-1", "2"}};
         }},
        {"a held card into the hand window again", true,
         [](T&) {
             return NetCommand{"C2HAND", {N(HeldCard()), "-1", "1"}};
         }},
        {"a card taken to a seat's area, hands in the hand window", true,
         [](T&) {
             return NetCommand{"C2WINHAND",
                               {N(FindCard(0, Game.nextDrawPositions[0], false)), "0", "0", "2"}};
         }},
        {"a card eliminated that is in the discard pile", false,
         [](T& t) {
             const auto [card, control] = t.DrawOne();
             t.actions().DiscardCardProcedure_body(card, control);
             return NetCommand{"CELIM", {N(card), N(control)}};
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // A drawn card goes to the table in either game.
        ASSERT_TRUE(Start(c.handWindow ? cardtest::TwoSeatGame("drawToTable=TRUE", "external_hand=TRUE")
                                       : cardtest::TwoSeatGame()));
        const NetCommand command = c.arrange(*this);
        const std::string before = Snapshot();
        messages.Clear();
        DispatchNetCommand(command);
        EXPECT_EQ(Snapshot(), before);
        EXPECT_THAT(messages.Messages(),
                    ElementsAre(StartsWith("The other side's command " + command.word + " ")));
        ExpectEveryCardInOnePlace();
    }
    EXPECT_THAT(recorder.sent, IsEmpty());
}

TEST_F(ReceivedCommandsStateTest, EveryBodyClearsWhatItsMoveEnds) {
    // A card held in a seat's area on the table and discarded is held no more: it cannot be
    // dropped from a hand later.
    ASSERT_TRUE(Start(cardtest::TwoSeatGame()));
    const std::int16_t held = cardtest::DealtCardOf(2);
    ASSERT_EQ(Cards[held].inHand, kTrue);
    Receive("CDISCARD", {N(held), N(Cards[held].controlIndex)});
    EXPECT_EQ(Cards[held].inHand, kFalse);
    ExpectEveryCardInOnePlace();

    // A card put back into its deck without the shuffle that should follow lies under the draw pile.
    const auto [card, control] = DrawOne();
    Receive("CPUTBACK", {N(card), N(control)});
    EXPECT_EQ(Cards[card].controlIndex, -1);
    EXPECT_EQ(DrawPileInOrder(0).back(), card);
    ExpectEveryCardInOnePlace();
    // The shuffle that follows gives it its place as the other side's order says.
    std::string order;
    int place = 0;
    for (int n = 1; n <= Game.totalCards; ++n) {
        if (Cards[n].inDiscardPile != kFalse || Cards[n].pilePosition < 1) {
            order += "$$$";
            continue;
        }
        ++place;
        order += std::string(place < 10 ? "00" : "0") + N(place);
    }
    Receive("DKSHUFF", {"0", order});
    EXPECT_EQ(Game.nextDrawPositions[0], 1);
    ExpectEveryCardInOnePlace();
    EXPECT_THAT(messages.Messages(), IsEmpty());
}

// One side eliminates a card while the other moves it to the bottom of the draw deck; each runs its
// own action, then receives the other's. The elimination wins on both sides, and the two tables
// agree, with draws of the other side after it too.
TEST_F(ReceivedCommandsStateTest, AnEliminationCrossingAMoveToTheBottomEliminatesTheCardOnBothSides) {
    for (const bool drawAfter : {false, true}) {
        SCOPED_TRACE(drawAfter ? "the eliminating side draws after" : "no draw");
        ASSERT_TRUE(Start(cardtest::TwoSeatGame()));
        const auto [card, control] = DrawOne();
        ASSERT_TRUE(SaveGameForRace());

        // The side that moved the card.
        actions().Move2BottomOfDrawDeck_body(card);
        Receive("CELIM", {N(card), N(control)});
        if (drawAfter) Receive("CLOAD", {"0"});
        EXPECT_EQ(Cards[card].eliminated, kTrue);
        EXPECT_EQ(Cards[card].pilePosition, kPileEliminated);
        ExpectEveryCardInOnePlace();
        const std::string mover = Snapshot();

        // The side that eliminated it, from the same table.
        ASSERT_TRUE(LoadRaceSave());
        actions().EliminateCardBody(control, card);
        if (drawAfter) Receive("CLOAD", {"0"});
        Receive("C2BTMDD", {" " + N(card)});
        ExpectEveryCardInOnePlace();
        EXPECT_EQ(Snapshot(), mover);
        EXPECT_THAT(messages.Messages(), IsEmpty()) << "a race settled is no difference of the tables";
    }
}

TEST_F(ReceivedCommandsStateTest, MovesTurnsAndInversionsActOnThisSidesControlOfTheCardNamed) {
    ASSERT_TRUE(Start(cardtest::TwoSeatGame()));
    const auto [card, control] = DrawOne();
    const auto [other, otherControl] = DrawOne();
    // The sender shows `card` on the control this side shows `other` on.
    const std::string theirs = N(otherControl);
    const int left = table().crd(otherControl)->Surface().Left();
    Receive("CMOVE", {theirs, "100", "200", N(card)});
    EXPECT_EQ(table().crd(control)->Surface().Left(), 1500);
    EXPECT_EQ(table().crd(control)->Surface().Top(), 3000);
    EXPECT_EQ(table().crd(otherControl)->Surface().Left(), left);
    Receive("CINVERT", {theirs, N(card)});
    EXPECT_EQ(Cards[card].rotation, 180);
    EXPECT_EQ(Cards[other].rotation, 0);
    Receive("CROTATE", {theirs, N(card)});
    EXPECT_NE(Cards[card].rotation, 180);
    EXPECT_EQ(Cards[other].rotation, 0);

    // A card that is not on this table is moved nowhere, whatever control the sender named.
    const std::string before = Snapshot();
    const std::int16_t inPile = FindCard(0, Game.nextDrawPositions[0], false);
    Receive("CMOVE", {N(control), "1", "1", N(inPile)});
    Receive("CINVERT", {N(control), N(inPile)});
    EXPECT_EQ(Snapshot(), before);
    EXPECT_THAT(messages.Messages(), ElementsAre(StartsWith("The other side's command CMOVE ")));
    EXPECT_THAT(recorder.sent, IsEmpty());
}

TEST_F(ReceivedCommandsStateTest, ACommandThatDoesNotFitIsToldOncePerConnectionWithItsName) {
    ASSERT_TRUE(Start(cardtest::TwoSeatGame()));
    Receive("CDISCARD", {"3", "40"});
    Receive("CFLIP", {"3", "40"});
    Receive("SRVDATA", {}); // the handshake's own faults are its own business
    EXPECT_THAT(
        messages.Messages(),
        ElementsAre("The other side's command CDISCARD does not fit this table: the two tables differ. "
                    "Save the game and continue it from the save on both sides to play on with equal "
                    "tables."));
    // A new connection hears of it again.
    ResetNetNotices();
    Receive("CFLIP", {"3", "40"});
    EXPECT_THAT(messages.Messages(), testing::SizeIs(2));
    EXPECT_THAT(messages.Messages()[1], StartsWith("The other side's command CFLIP "));
}

} // namespace
