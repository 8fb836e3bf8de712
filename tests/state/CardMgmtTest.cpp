#include "TestSupport.h"

#include "state/CardMgmt.h"
#include "state/TableState.h"
#include "state/ZOrder.h"

#include <gtest/gtest.h>

namespace {

class DealCardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ClearGameState();
        ClearCardTable();
        LoadedCardControls = 0;
        AllCardsVisible = kFalse;
        // Deck 0 common with cards 1..3, deck 1 of seat 2 with cards 4..5, in draw order.
        for (int card = 1; card <= 5; ++card) {
            const std::int16_t deck = card <= 3 ? 0 : 1;
            Cards[card] = NewCardRecord(deck);
            Cards[card].pilePosition = static_cast<std::int16_t>(deck == 0 ? card : card - 3);
        }
        Game.decks[1].owner = 2;
        Game.deckSizes[0] = 3;
        Game.deckSizes[1] = 2;
        Game.deckCount = 2;
        Game.totalCards = 5;
        Game.playerCount = 3;
        Game.nextDrawPositions[0] = 1;
        Game.nextDrawPositions[1] = 1;
        Game.CurrentPlayer = 1;
    }
    void TearDown() override {
        ClearGameState();
        ClearCardTable();
        CardControlFree.Fill(kFalse);
        LoadedCardControls = 0;
        AllCardsVisible = kFalse;
    }
};

} // namespace

TEST_F(DealCardTest, DealsTheNextCardOfTheDrawPileOntoTheTable) {
    DealCard(0, 1, 1, -1, true);
    DealCard(0, 3, 1, -1, true);
    EXPECT_EQ(Cards[1].owner, 1);
    EXPECT_EQ(Cards[1].pilePosition, kPileInPlay);
    EXPECT_EQ(Cards[1].inHand, kTrue);
    EXPECT_EQ(Cards[1].controlIndex, 0);
    EXPECT_EQ(Cards[1].faceShown, kTrue); // the local seat sees its own card
    EXPECT_EQ(Cards[2].owner, 3);
    EXPECT_EQ(Cards[2].controlIndex, 1);
    EXPECT_EQ(Cards[2].faceShown, kFalse); // another seat's card shows its back
    EXPECT_EQ(Game.nextDrawPositions[0], 3);
    EXPECT_EQ(LoadedCardControls, 2);

    AllCardsVisible = kTrue;
    DealCard(0, 3, 2, -1, false);
    EXPECT_EQ(Cards[3].faceShown, kTrue);
    EXPECT_EQ(Game.nextDrawPositions[0], 3); // without advance
}

TEST_F(DealCardTest, NothingIsDealtFromAnEmptyPileOrAnotherSeatsDeck) {
    Game.nextDrawPositions[0] = 4;
    DealCard(0, 1, 1, -1, true);
    DealCard(1, 1, 1, -1, true); // seat 2's deck
    DealCard(0, 9, 1, 1, true);  // no such seat
    for (int card = 1; card <= 5; ++card) {
        EXPECT_EQ(Cards[card].inHand, kFalse) << card;
        EXPECT_GE(Cards[card].pilePosition, 1) << card;
    }
    EXPECT_EQ(Game.nextDrawPositions[0], 4);
    EXPECT_EQ(Game.nextDrawPositions[1], 1);
    // Hands on the table take a control on every attempt.
    EXPECT_EQ(LoadedCardControls, 3);
}

TEST_F(DealCardTest, TheHandWindowCascadesTheDealtCardsFaceUp) {
    Game.external_hand = kTrue;
    Game.CurrentPlayer = 1;
    DealCard(1, 2, 1, -1, true);
    DealCard(1, 2, 2, -1, true);
    EXPECT_EQ(Cards[4].handLeft, 350);
    EXPECT_EQ(Cards[4].handTop, 350);
    EXPECT_EQ(Cards[5].handLeft, 450);
    EXPECT_EQ(Cards[5].faceShown, kTrue);
    EXPECT_EQ(Cards[5].controlIndex, -1);
    EXPECT_EQ(LoadedCardControls, 0);
    EXPECT_EQ(Game.zOrderCount, 0); // nothing lies on the table
}

TEST_F(DealCardTest, ACardDealtOntoTheTableGoesOnTopAndItsControlCarriesNoMarkerYet) {
    BringToFrontZOrder(kZCard, 2, 0);
    CardControlFree.Fill(kTrue); // controls whose cards had left the table
    DealCard(0, 1, 1, 2, false);
    DealCard(0, 3, 1, -1, true);
    ASSERT_EQ(Game.zOrderCount, 2);
    EXPECT_EQ(Game.ZOrderList[1].index, 2);
    EXPECT_EQ(Game.ZOrderList[2].kind, kZCard);
    EXPECT_EQ(Game.ZOrderList[2].index, 1);
    EXPECT_EQ(CardControlFree[0], kFalse);
    EXPECT_EQ(CardControlFree[1], kFalse);
    EXPECT_EQ(CardControlFree[2], kTrue);

    // A refused deal takes a control but puts nothing on the table.
    DealCard(1, 1, 1, -1, true);
    EXPECT_EQ(Game.zOrderCount, 2);
    EXPECT_EQ(CardControlFree[2], kTrue);
}
