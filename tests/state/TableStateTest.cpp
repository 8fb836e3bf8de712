#include "state/TableState.h"

#include "state/Model.h"

#include <gtest/gtest.h>

TEST(TableState, TablesKeepTheGamesNumberingAndRefuseOtherIndexes) {
    CardTable cards;
    EXPECT_NO_THROW(cards[1]);
    EXPECT_NO_THROW(cards[500]);
    EXPECT_THROW(cards[0], std::out_of_range);
    EXPECT_THROW(cards[501], std::out_of_range);
    GameState game;
    EXPECT_NO_THROW(game.decks[0]);
    EXPECT_NO_THROW(game.decks[11]);
    EXPECT_THROW(game.decks[12], std::out_of_range);
    EXPECT_THROW(game.decks[-1], std::out_of_range);
    EXPECT_THROW(game.players[0], std::out_of_range);
    EXPECT_NO_THROW(game.players[8]);
    EXPECT_THROW(game.ZOrderList[201], std::out_of_range);
    EXPECT_THROW(NumMarkerInUse[300], std::out_of_range);
    EXPECT_NO_THROW(CardControlFree[500]);
    EXPECT_THROW(CardControlFree[32767], std::out_of_range);
}

TEST(TableState, ANewCardIsOffTheTableAndUnselected) {
    CardRecord card = NewCardRecord(3);
    EXPECT_EQ(card.deck, 3);
    EXPECT_EQ(card.controlIndex, -1);
    EXPECT_EQ(card.pilePosition, 0);
    EXPECT_EQ(card.selectionMark, -1);
    EXPECT_EQ(card.owner, 0);
    for (Flag f : {card.faceShown, card.keptFaceDown, card.inDiscardPile, card.eliminated, card.inHand})
        EXPECT_EQ(f, kFalse);
}

TEST(TableState, ANewGameStateHasItsSentinels) {
    Model().Reset();
    EXPECT_EQ(Game.players[kArbitratorSeat].name, "Arbitrator");
    EXPECT_EQ(Game.players[1].seatId, "++**~~^^+++");
    for (int d = 0; d < kMaxDecks; ++d) {
        EXPECT_EQ(Game.lastCardLines[d], -1);
        EXPECT_EQ(Game.nextDrawPositions[d], 1);
        EXPECT_EQ(Game.nextDiscardPositions[d], 1);
        EXPECT_EQ(Game.lastDiscarded[d], -1);
        EXPECT_EQ(Game.decks[d].rotate, "0,90");
        EXPECT_EQ(Game.decks[d].zoom, 100.0f);
    }
    EXPECT_EQ(Game.CurrentPlayer, -1);
    EXPECT_EQ(Game.GamePhase, kPhaseGameList);
    EXPECT_EQ(Game.baseMarker, 1);
    EXPECT_EQ(Game.zOrderCount, 0);
}
