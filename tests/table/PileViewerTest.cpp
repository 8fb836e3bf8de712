// The pile viewer and card picker, the card menu's items, and the card effects that open the
// viewer on a deck or a hand.
#include "CardActionsSupport.h"

#include "platform/TestDriver.h"
#include "state/DecksMgmt.h"
#include "state/EffectMgmt.h"
#include "state/LogStore.h"
#include "table/CardEffects.h"
#include "table/PlayerSelectForm.h"
#include "table/SelectionMgmt.h"
#include "table/ShowCardsForm.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cardtest;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

namespace drive = platform::testdriver;

namespace {

const std::string kEffects = "[EFFECTS]\nnum_effects=2\neffect1=peek\neffect2=spy\n"
                             "[peek]\nroutine=show_deck\nparams=2\nlabel=Peek\ndiscard=true\n"
                             "[spy]\nroutine=show_hand\nparams=ShowHidden, takecard\nlabel=Spy\n";

class PileViewerTest : public CardTableTest {
  protected:
    ShowCardsForm& viewer() { return *ShowCardsForm::Current(); }

    // Marks a list position through the right-click menu of the left picture.
    void Mark(int position) {
        while (viewer().Position() < position)
            viewer().StepForward();
        while (viewer().Position() > position)
            viewer().StepBack();
        drive::DialogScript script;
        script.AnswerPopup("Move to hand");
        viewer().MarkMenu(0);
    }

    void OpenDeck(const std::string& deckExtra = "chooseCardFromDrawDeck=TRUE",
                  const std::string& game = "") {
        ASSERT_TRUE(Start(TwoSeatGame("openDrawDeck=TRUE\n" + deckExtra, game, "[LOG]\nuse_log=TRUE")));
        actions().MenuDeck = 0;
        actions().DisplayDrawDeckMenuItem_Click();
        ASSERT_NE(ShowCardsForm::Current(), nullptr);
    }
};

TEST_F(PileViewerTest, DisplayDeckListsTheDrawPileFromTheTopAndLogsTheLook) {
    OpenDeck();
    const std::vector<std::int16_t> pile = DrawPileInOrder(0);
    ASSERT_EQ(viewer().Count(), static_cast<int>(pile.size()));
    EXPECT_EQ(viewer().CardAt(1), pile.front());
    EXPECT_EQ(viewer().DiscardPile[0]->GetPictureName(), FacePathOf(pile.front()));
    EXPECT_EQ(viewer().form.Caption(), "View cards");
    EXPECT_THAT(LogEntry(LogCount), HasSubstr("Looking at Stock"));
}

TEST_F(PileViewerTest, BrowsingAOneCardListShowsTheEmptyPictureAndStepsBack) {
    ASSERT_TRUE(Start(TwoSeatGame()));
    const std::int16_t card = FindCard(0, Game.nextDrawPositions[0], false);
    ShowCardsForm::Open({card}, 0, "", false);
    viewer().StepForward();
    EXPECT_EQ(viewer().DiscardPile[0]->GetPictureName(), Game.discardImages[0]);
    EXPECT_EQ(viewer().DiscardPile[1]->GetPictureName(), FacePathOf(card));
    viewer().StepForward();
    EXPECT_EQ(viewer().Position(), 2);
    viewer().StepBack();
    EXPECT_EQ(viewer().DiscardPile[0]->GetPictureName(), FacePathOf(card));
    EXPECT_EQ(viewer().Position(), 1);
}

TEST_F(PileViewerTest, MarkingTwiceUnmarksAndTheButtonFollowsTheCount) {
    OpenDeck();
    EXPECT_TRUE(viewer().ConfirmGetCards.Visible());
    Mark(1);
    EXPECT_EQ(viewer().ConfirmGetCards.Caption(), "Move the selected card to hand");
    Mark(2);
    EXPECT_EQ(viewer().ConfirmGetCards.Caption(), "Move the selected cards (2) to hand");
    Mark(2);
    Mark(1);
    EXPECT_EQ(viewer().ConfirmGetCards.Caption(), "Select the cards to draw and then click here");
    viewer().ConfirmGetCards_Click();
    EXPECT_THAT(messages.Messages(),
                ElementsAre("Please select one or more cards (right-click to open the menu)"));
    EXPECT_TRUE(viewer().form.Visible());
}

TEST_F(PileViewerTest, ADeckThatDoesNotLetChooseShowsNoButton) {
    OpenDeck("");
    EXPECT_FALSE(viewer().ConfirmGetCards.Visible());
}

TEST_F(PileViewerTest, TakingStopsAtTheHandLimitAndFinishesTheBookkeepingForTheCardsTaken) {
    OpenDeck("chooseCardFromDrawDeck=TRUE", "handSize=3");
    ASSERT_EQ(CountHandCards(1), 1);
    const std::int16_t first = viewer().CardAt(1);
    const std::int16_t second = viewer().CardAt(2);
    Mark(1);
    Mark(2);
    Mark(3);
    viewer().ConfirmGetCards_Click();
    EXPECT_THAT(messages.Messages(), ElementsAre("You cannot draw another card (max hand size 3 cards)"));
    EXPECT_EQ(Cards[first].owner, 1);
    EXPECT_EQ(Cards[second].owner, 1);
    EXPECT_EQ(CountHandCards(1), 3);
    EXPECT_EQ(recorder.Commands(), (std::vector<std::string>{"C2WINHAND", "C2WINHAND", "CSELDR"}));
    EXPECT_THAT(LogEntry(LogCount), HasSubstr("2 cards drawn from Stock"));
    EXPECT_FALSE(viewer().form.Visible());
    ExpectEveryCardInOnePlace();
    // The pile closed up: the next draw takes the card that was third.
    EXPECT_FALSE(IsDeckEmpty(0));
}

TEST_F(PileViewerTest, ACardTakenAlreadyIsNotTakenTwice) {
    OpenDeck();
    const std::int16_t first = viewer().CardAt(1);
    Mark(1);
    // The card left the pile while the viewer was open (drawn by the other side).
    actions().DeckImg_DblClick(0);
    ASSERT_EQ(Cards[first].pilePosition, kPileInPlay);
    recorder.sent.clear();
    const std::int16_t loaded = LoadedCardControls;
    viewer().ConfirmGetCards_Click();
    EXPECT_EQ(LoadedCardControls, loaded);
    EXPECT_THAT(recorder.sent, IsEmpty());
    ExpectEveryCardInOnePlace();
}

// ---- the card menu ----

TEST_F(PileViewerTest, TheCardMenuOffersWhatTheGameAndTheCardAllow) {
    ASSERT_TRUE(Start(TwoSeatGame("played_cards_can_be_taken=FACEUP\nrotate=0\ncards_can_be_put_back=TRUE",
                                  "card_info=TRUE\ncards_can_be_given=TRUE")));
    const std::int16_t own = DealtCardOf(1);
    const std::int16_t other = DealtCardOf(2);
    MoveOutOfAreas(Cards[own].controlIndex);
    actions().crd_MouseDown(Cards[own].controlIndex, 2, 0, {});
    EXPECT_EQ(actions().MenuCard, Cards[own].controlIndex);
    EXPECT_FALSE(actions().RotateCrd.Visible()); // rotate list "0"
    EXPECT_FALSE(actions().TakeCardMenuItem.Visible());
    EXPECT_TRUE(actions().InfoMenuItem.Visible());
    EXPECT_TRUE(actions().PutBackAndReshuffle.Visible());
    EXPECT_TRUE(actions().GiveToMenu.Visible());
    EXPECT_FALSE(actions().giveTo[1]->Visible());
    EXPECT_TRUE(actions().giveTo[2]->Visible());
    EXPECT_EQ(actions().giveTo[2]->Caption(), "Bob");
    EXPECT_FALSE(actions().giveTo[3]->Visible());
    EXPECT_FALSE(actions().DiscardAllBtn.Visible());

    // Another seat's hidden hand card: not to be taken face down, no information, no giving.
    ToggleCardSelection(Cards[own].controlIndex);
    ToggleCardSelection(Cards[other].controlIndex);
    actions().crd_MouseDown(Cards[other].controlIndex, 2, 0, {});
    EXPECT_FALSE(actions().TakeCardMenuItem.Visible());
    EXPECT_FALSE(actions().InfoMenuItem.Visible());
    EXPECT_FALSE(actions().GiveToMenu.Visible());
    EXPECT_TRUE(actions().DiscardAllBtn.Visible());
    EXPECT_TRUE(actions().FlipAllMenuItem.Visible());
}

// ---- effects ----

TEST_F(PileViewerTest, OnlyTheOwnerSeesACardsOwnEffectsNeverTheBuiltInOnes) {
    ASSERT_TRUE(Start(TwoSeatGame("", "", kEffects)));
    const std::int16_t own = DealtCardOf(1);
    const std::int16_t other = DealtCardOf(2);
    AssignCardEffects(own, "peek=3+ON_PLAY");
    AssignCardEffects(other, "spy");
    BuildEffectMenu(own);
    EXPECT_TRUE(actions().EffectMenu.Visible());
    EXPECT_TRUE(actions().effect[0]->Visible());
    EXPECT_EQ(actions().effect[0]->Caption(), "Peek");
    EXPECT_EQ(actions().effect[0]->Tag(), "1");
    EXPECT_FALSE(actions().effect[1]->Visible());
    EXPECT_FALSE(actions().effect[3]->Visible()); // ON_PLAY
    BuildEffectMenu(other);
    EXPECT_FALSE(actions().EffectMenu.Visible());
    AssignCardEffects(own, "ON_PLAY");
    BuildEffectMenu(own);
    EXPECT_FALSE(actions().EffectMenu.Visible());
}

TEST_F(PileViewerTest, ShowDeckShowsTheNextCardsAndThenDiscardsTheCard) {
    ASSERT_TRUE(Start(TwoSeatGame("", "", kEffects)));
    const std::int16_t own = DealtCardOf(1);
    const std::int16_t element = Cards[own].controlIndex;
    AssignCardEffects(own, "peek");
    const std::vector<std::int16_t> pile = DrawPileInOrder(0);
    drive::DialogScript script;
    std::vector<std::int16_t> shown;
    std::string caption;
    script.AnswerModal([&](platform::Form&) {
        caption = ShowCardsForm::Current()->form.Caption();
        for (int k = 1; k <= ShowCardsForm::Current()->Count(); ++k)
            shown.push_back(ShowCardsForm::Current()->CardAt(k));
    });
    RunEffect(element, 1);
    EXPECT_EQ(caption, "Next cards on the Stock deck");
    EXPECT_EQ(shown, (std::vector<std::int16_t>{pile[0], pile[1]}));
    EXPECT_FALSE(EffectCancelled());
    EXPECT_EQ(Cards[own].inDiscardPile, kTrue);
    EXPECT_EQ(recorder.Commands(), std::vector<std::string>{"CDISCARD"});
}

TEST_F(PileViewerTest, AnEvaluatorErrorOrACancelledChoiceLeavesTheCardInPlace) {
    ASSERT_TRUE(
        Start(TwoSeatGame("", "", kEffects + "[bad]\nroutine=show_deck\nparams=(1+\ndiscard=true\n")));
    const std::int16_t own = DealtCardOf(1);
    const std::int16_t element = Cards[own].controlIndex;
    EffectDef[1].params = "(1+";
    AssignCardEffects(own, "peek+spy");
    {
        drive::DialogScript script;
        RunEffect(element, 1);
        ASSERT_EQ(script.Messages().size(), 1u);
        EXPECT_THAT(script.Messages()[0], testing::StartsWith("Error "));
        EXPECT_TRUE(EffectCancelled());
    }
    {
        // The player window is left without a choice.
        drive::DialogScript script;
        script.AnswerModal([](platform::Form&) {});
        EffectDef[2].discard = kTrue;
        RunEffect(element, 2);
        EXPECT_TRUE(EffectCancelled());
    }
    EXPECT_EQ(Cards[own].inDiscardPile, kFalse);
    EXPECT_EQ(Cards[own].controlIndex, element);
    EXPECT_THAT(recorder.sent, IsEmpty());
}

TEST_F(PileViewerTest, ShowHandTakesACardOnTheTableWithoutASecondControlAndItsOptionsDoNotCarryOver) {
    ASSERT_TRUE(Start(TwoSeatGame("openDrawDeck=TRUE", "", kEffects)));
    const std::int16_t own = DealtCardOf(1);
    const std::int16_t other = DealtCardOf(2);
    const std::int16_t otherElement = Cards[other].controlIndex;
    AssignCardEffects(own, "spy");
    const std::int16_t loaded = LoadedCardControls;
    drive::DialogScript script;
    bool hidden = false;
    script
        .AnswerModal([](platform::Form&) {
            PlayerSelectForm& select = *PlayerSelectForm::Current();
            EXPECT_EQ(select.form.Caption(), "Select player");
            EXPECT_EQ(select.NameList.List(0), "Ann [Yourself]");
            select.NameList.SetListIndex(1);
            select.Accept();
        })
        .AnswerModal([&](platform::Form&) {
            ShowCardsForm& viewer = *ShowCardsForm::Current();
            EXPECT_EQ(viewer.form.Caption(), "Hand of Bob");
            hidden = viewer.DiscardPile[0]->GetPictureName() == Game.backImages[0];
            drive::DialogScript marking;
            marking.AnswerPopup("Move to hand");
            viewer.MarkMenu(0);
            viewer.ConfirmGetCards_Click();
        });
    RunEffect(Cards[own].controlIndex, 2);
    EXPECT_TRUE(hidden);
    EXPECT_EQ(Cards[other].owner, 1);
    EXPECT_EQ(Cards[other].controlIndex, otherElement);
    EXPECT_EQ(LoadedCardControls, loaded);
    ExpectEveryCardInOnePlace();

    actions().MenuDeck = 0;
    actions().DisplayDrawDeckMenuItem_Click();
    EXPECT_EQ(actions().ShowHidden, kFalse);
    EXPECT_EQ(actions().TakeCard, kFalse);
    EXPECT_FALSE(ShowCardsForm::Current()->ConfirmGetCards.Visible());
    EXPECT_EQ(ShowCardsForm::Current()->DiscardPile[0]->GetPictureName(),
              FacePathOf(ShowCardsForm::Current()->CardAt(1)));
}

} // namespace
