// The in-hand test in both hand modes, and the opening move of the ON_HAND cards.
#include "state/HandMgmt.h"
#include "RecordingView.h"
#include "state/EffectMgmt.h"
#include "state/Model.h"
#include "state/PlayerMgmt.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class HandMgmtTest : public testing::Test {
  protected:
    void SetUp() override {
        Model().Reset();
        Game.totalCards = 3;
        Game.playerCount = 2;
        Game.players[1].hasTableArea = kTrue;
        PlayerAreas[0] = PlayerAreaShape{1000, 2000, 1000, 3000, true, 0};
        Cards[1].owner = 1;
        Cards[1].controlIndex = 0;
        view = std::make_unique<RecordingView>();
        view->pictures = [this](int control) -> std::optional<CardPictureRect> {
            if (control != 0) return std::nullopt;
            return picture;
        };
    }
    void TearDown() override {
        view.reset();
        Model().Reset();
    }

    std::unique_ptr<RecordingView> view;

    CardPictureRect picture{2100, 1100, 500, 700}; // left, top, width, height
};

TEST_F(HandMgmtTest, TableHandCardMustLieStrictlyInsideItsOwnersArea) {
    EXPECT_TRUE(IsCardInHand(0, 1));
    picture.top = 1000; // touching the top edge
    EXPECT_FALSE(IsCardInHand(0, 1));
    picture = {2100, 1100, 500, 900}; // reaching the bottom edge
    EXPECT_FALSE(IsCardInHand(0, 1));
    picture = {4400, 1100, 600, 700}; // reaching the right edge
    EXPECT_FALSE(IsCardInHand(0, 1));
}

TEST_F(HandMgmtTest, NoHandWithoutControlOwnerOrArea) {
    EXPECT_FALSE(IsCardInHand(-1, 1));
    EXPECT_FALSE(IsCardInHand(5, 1)); // no such control
    EXPECT_FALSE(IsCardInHand(0, -1));
    Cards[1].owner = 0;
    EXPECT_FALSE(IsCardInHand(0, 1));
    Cards[1].owner = 2; // seat 2 has no table area
    EXPECT_FALSE(IsCardInHand(0, 1));
    view.reset(); // no table window
    Cards[1].owner = 1;
    EXPECT_FALSE(IsCardInHand(0, 1));
}

TEST_F(HandMgmtTest, HandWindowGameAsksTheFlagOnly) {
    Game.external_hand = kTrue;
    EXPECT_FALSE(IsCardInHand(0, 1));
    Cards[2].inHand = kTrue;
    EXPECT_TRUE(IsCardInHand(-1, 2));
}

TEST_F(HandMgmtTest, OnHandCardsGoIntoTheirHandsAtTheStart) {
    EffectDef[1].name = kOnHand;
    EffectDef[2].name = kOnPlay;
    Game.effectCount = 2;
    Cards[2].effects[0] = kTrue;
    Cards[3].effects[1] = kTrue;
    DealOnHandCards();
    EXPECT_EQ(Cards[2].pilePosition, kPileInPlay);
    EXPECT_TRUE(Cards[2].inHand);
    EXPECT_EQ(Cards[2].controlIndex, -1);
    EXPECT_EQ(Cards[3].pilePosition, 0);
    EXPECT_FALSE(Cards[3].inHand);
}

} // namespace
