// The discard pile window: browsing a pile one card at a time, taking a card from it into the
// hand, and closing the gap the card leaves on both sides of a game.
#include "CardActionsSupport.h"

#include "platform/TestDriver.h"
#include "state/DecksMgmt.h"
#include "state/HandMgmt.h"
#include "table/DiscardPileForm.h"
#include "table/HandCards.h"
#include "table/HandForm.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cardtest;
using testing::ElementsAre;

namespace {

constexpr int kLeft = 1; // mouse buttons
constexpr int kRight = 2;

class DiscardPileWindowTest : public CardTableTest {
  protected:
    // A pile of `n` cards from the draw pile (positions 1 to n, in draw order), the hands dealt
    // none; returns the piled cards in pile order.
    std::vector<std::int16_t> StartWithPile(int n, const std::string& gameExtra = "external_hand=TRUE",
                                            const std::string& deckExtra = "") {
        EXPECT_TRUE(Start(TwoSeatGame("openDiscardPile=TRUE\nchooseCardFromDiscardPile=TRUE\n" + deckExtra,
                                      gameExtra, "", 0)));
        std::vector<std::int16_t> pile;
        for (int k = 0; k < n; ++k) {
            const std::int16_t card = FindCard(0, Game.nextDrawPositions[0], false);
            Game.nextDrawPositions[0] = static_cast<std::int16_t>(Game.nextDrawPositions[0] + 1);
            CardRecord& c = Cards[card];
            c.inDiscardPile = kTrue;
            c.pilePosition = Game.nextDiscardPositions[0];
            Game.nextDiscardPositions[0] = static_cast<std::int16_t>(Game.nextDiscardPositions[0] + 1);
            Game.lastDiscarded[0] = card;
            pile.push_back(card);
        }
        recorder.sent.clear();
        return pile;
    }
    DiscardForm& Open() {
        actions().ShowDiscardPile(0);
        EXPECT_NE(DiscardForm::Current(), nullptr);
        return *DiscardForm::Current();
    }
};

TEST_F(DiscardPileWindowTest, APileOfOneBrowsesBetweenTheCardAndTheEmptyPicture) {
    const std::vector<std::int16_t> pile = StartWithPile(1);
    DiscardForm& window = Open();
    EXPECT_EQ(window.form.Caption(), "Discard Pile");
    const std::string face = FacePathOf(pile[0]);
    const std::string empty = Game.discardImages[0];
    EXPECT_EQ(window.CurrentPosition(), 1);
    EXPECT_EQ(window.Shown(0), face);
    EXPECT_EQ(window.Shown(1), empty);
    window.DiscardPile_MouseUp(1, kLeft); // forward: nothing further
    EXPECT_EQ(window.CurrentPosition(), 1);
    EXPECT_EQ(window.Shown(0), face);
    window.DiscardPile_MouseUp(0, kLeft); // back
    EXPECT_EQ(window.CurrentPosition(), 0);
    EXPECT_EQ(window.Shown(0), empty);
    EXPECT_EQ(window.Shown(1), face);
    window.DiscardPile_MouseUp(0, kLeft); // back: nothing below the pile
    EXPECT_EQ(window.CurrentPosition(), 0);
}

TEST_F(DiscardPileWindowTest, BrowsingStepsOneCardAtATimeThroughThePile) {
    const std::vector<std::int16_t> pile = StartWithPile(3);
    DiscardForm& window = Open();
    const std::vector<std::pair<int, int>> steps = {{0, 2}, {0, 1}, {1, 2}, {1, 3}, {1, 3}};
    for (const auto& [picture, position] : steps) {
        window.DiscardPile_MouseUp(picture, kLeft);
        ASSERT_EQ(window.CurrentPosition(), position);
        EXPECT_EQ(window.Shown(0), FacePathOf(pile[static_cast<std::size_t>(position - 1)]));
        EXPECT_EQ(window.Shown(1), position < 3 ? FacePathOf(pile[static_cast<std::size_t>(position)])
                                                : Game.discardImages[0]);
    }
}

TEST_F(DiscardPileWindowTest, TakingTheSecondOfFourRenumbersTheRestAndThePileShowsItsTop) {
    const std::vector<std::int16_t> pile = StartWithPile(4);
    DiscardForm& window = Open();
    window.DiscardPile_MouseUp(0, kLeft);
    window.DiscardPile_MouseUp(0, kLeft);
    ASSERT_EQ(window.CurrentPosition(), 2);
    platform::testdriver::DialogScript script;
    script.AnswerPopup("Move to Hand");
    window.DiscardPile_MouseUp(0, kRight);
    EXPECT_EQ(DiscardForm::Current(), nullptr) << "the window closes";

    const std::int16_t taken = pile[1];
    EXPECT_EQ(Cards[taken].inDiscardPile, kFalse);
    EXPECT_EQ(Cards[taken].inHand, kTrue);
    EXPECT_EQ(Cards[taken].owner, 1);
    EXPECT_EQ(Cards[pile[2]].pilePosition, 2);
    EXPECT_EQ(Cards[pile[3]].pilePosition, 3);
    EXPECT_EQ(Cards[pile[0]].pilePosition, 1);
    EXPECT_EQ(Game.nextDiscardPositions[0], 4);
    EXPECT_EQ(Game.lastDiscarded[0], pile[3]);
    EXPECT_EQ(table().DiscardImg(0)->GetPictureName(), FacePathOf(pile[3]));
    ASSERT_THAT(recorder.Commands(), ElementsAre("C2HAND", "DSC2HND"));
    EXPECT_THAT(recorder.sent[0].fields, ElementsAre(std::to_string(taken), "-1", "1"));
    EXPECT_THAT(recorder.sent[1].fields, ElementsAre("2", "0"));
    HandForm* hand = LoadedHandWindow();
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(hand->CardOfElement(Cards[taken].controlIndex), taken);
    ExpectEveryCardInOnePlace();
}

TEST_F(DiscardPileWindowTest, TheOtherSideClosesTheSameGapAndRefusesAPositionStillHeld) {
    const std::vector<std::int16_t> pile = StartWithPile(4);
    // The commands in the order they arrive: the card goes to the taker's hand, then the gap.
    PutCardInHand(pile[1], -1, 2);
    DiscardForm::UpdateDIscardList(2, 0);
    EXPECT_EQ(Cards[pile[1]].inDiscardPile, kFalse);
    EXPECT_EQ(Cards[pile[1]].owner, 2);
    EXPECT_EQ(Cards[pile[3]].pilePosition, 3);
    EXPECT_EQ(Game.nextDiscardPositions[0], 4);
    ExpectEveryCardInOnePlace();

    const std::string before = Snapshot();
    for (const std::int16_t position :
         {std::int16_t{1}, std::int16_t{0}, std::int16_t{4}, std::int16_t{-3}}) {
        SCOPED_TRACE(position);
        DiscardForm::UpdateDIscardList(position, 0);
        EXPECT_EQ(Snapshot(), before);
    }
}

TEST_F(DiscardPileWindowTest, TakingTheOnlyCardShowsTheEmptyPileAndTheEmptyPictureOffersNothing) {
    const std::vector<std::int16_t> pile = StartWithPile(1);
    DiscardForm& window = Open();
    {
        // Right on the empty picture beyond the top: the menu opens, its item takes nothing.
        platform::testdriver::DialogScript script;
        script.AnswerPopup("Move to Hand");
        window.DiscardPile_MouseUp(1, kRight);
        EXPECT_EQ(window.MenuPosition(), 2);
        EXPECT_EQ(DiscardForm::Current(), &window);
        EXPECT_TRUE(recorder.sent.empty());
    }
    platform::testdriver::DialogScript script;
    script.AnswerPopup("Move to Hand");
    window.DiscardPile_MouseUp(0, kRight);
    EXPECT_EQ(Game.nextDiscardPositions[0], 1);
    EXPECT_EQ(Game.lastDiscarded[0], -1);
    EXPECT_EQ(table().DiscardImg(0)->GetPictureName(), Game.discardImages[0]);
    EXPECT_EQ(Cards[pile[0]].inHand, kTrue);
    ExpectEveryCardInOnePlace();
}

TEST_F(DiscardPileWindowTest, WithoutChoosingTheMenuNeverOpensAndAFullHandTakesNothing) {
    struct Case {
        const char* name;
        std::string deckExtra;
        std::string gameExtra;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"choosing off", "chooseCardFromDiscardPile=FALSE", "external_hand=TRUE", nullptr},
        {"hand window at its limit", "", "external_hand=TRUE\nhandSize=1",
         "You cannot draw another card (max hand size 1 cards)"},
        {"table hand at its limit", "", "handSize=1", "You cannot draw another card (max hand size 1 cards)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartWithPile(2, c.gameExtra, c.deckExtra);
        // One card already held by seat 1 (on the table, or in the hand window).
        const std::int16_t held = FindCard(0, Game.nextDrawPositions[0], false);
        Cards[held].owner = 1;
        if (Game.external_hand != kFalse) {
            Cards[held].inHand = kTrue;
            Cards[held].pilePosition = kPileInPlay;
        } else {
            const std::int16_t control = TakePileCardToTable(held, 1, 1);
            ASSERT_EQ(actions().CardOfElement(control), held);
        }
        Game.nextDrawPositions[0] = static_cast<std::int16_t>(Game.nextDrawPositions[0] + 1);
        const std::string before = Snapshot();
        DiscardForm& window = Open();
        platform::testdriver::DialogScript script;
        if (c.message) script.AnswerPopup("Move to Hand");
        window.DiscardPile_MouseUp(0, kRight);
        EXPECT_EQ(Snapshot(), before);
        EXPECT_TRUE(recorder.sent.empty());
        if (c.message)
            EXPECT_THAT(script.Messages(), ElementsAre(c.message));
        else
            EXPECT_TRUE(script.Messages().empty());
    }
}

TEST_F(DiscardPileWindowTest, InAGameWithTableHandsTheTakenCardGoesInFrontOfThePlayer) {
    const std::vector<std::int16_t> pile = StartWithPile(2, "");
    DiscardForm& window = Open();
    platform::testdriver::DialogScript script;
    script.AnswerPopup("Move to Hand");
    window.DiscardPile_MouseUp(0, kRight);
    const std::int16_t taken = pile[1];
    const std::int16_t control = Cards[taken].controlIndex;
    ASSERT_EQ(actions().CardOfElement(control), taken);
    EXPECT_TRUE(IsCardInHand(control, taken));
    EXPECT_EQ(LoadedHandWindow(), nullptr);
    ASSERT_THAT(recorder.Commands(), ElementsAre("C2WINHAND", "DSC2HND"));
    const controls::TranspImg& image = *table().crd(control);
    EXPECT_THAT(recorder.sent[0].fields,
                ElementsAre(std::to_string(taken), std::to_string(image.Surface().Top()),
                            std::to_string(image.Surface().Left()), "1"));
    ExpectEveryCardInOnePlace();

    // The other side's copy puts the card at the same place.
    ASSERT_TRUE(Start(TwoSeatGame("", "", "", 0)));
    const std::int16_t card = FindCard(0, 1, false);
    TakeCardToTableHand(card, 3000, 3600, 2);
    ASSERT_EQ(actions().CardOfElement(Cards[card].controlIndex), card);
    EXPECT_EQ(table().crd(Cards[card].controlIndex)->Surface().Top(), 3000);
    EXPECT_EQ(Cards[card].owner, 2);
    EXPECT_EQ(Cards[card].faceShown, kFalse);
}

} // namespace
