// The hand window of a game that keeps hands outside the table: filling and arranging it, its
// mouse, menu, balloon and discard, drawing and moving cards into it, dropping a card from it
// onto the table, and what the other side's copies of these actions do to the records.
#include "CardActionsSupport.h"

#include "net/NetCommands.h"
#include "platform/TestDriver.h"
#include "platform/Timer.h"
#include "state/CardMgmt.h"
#include "state/DecksMgmt.h"
#include "state/HandMgmt.h"
#include "table/HandCards.h"
#include "table/HandForm.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

using namespace cardtest;
using testing::ElementsAre;

namespace {

// A place in twips as a window keeps it: whole pixels of 15 twips.
int Snap(int twips) {
    return static_cast<int>(std::nearbyint(twips / 15.0)) * 15;
}
std::pair<int, int> Place(int left, int top) {
    return {Snap(left), Snap(top)};
}

class HandWindowTest : public CardTableTest {
  protected:
    // A game with hands in the hand window, `deal` cards dealt to each seat.
    bool StartHands(int deal, const std::string& deckExtra = "", const std::string& gameExtra = "",
                    const std::string& tail = "") {
        return Start(TwoSeatGame(deckExtra, "external_hand=TRUE\n" + gameExtra, tail, deal));
    }
    // The cards held by a seat, in card order.
    static std::vector<std::int16_t> HeldBy(std::int16_t seat) {
        std::vector<std::int16_t> held;
        for (int n = 1; n <= Game.totalCards; ++n)
            if (Cards[n].owner == seat && Cards[n].inHand != kFalse)
                held.push_back(static_cast<std::int16_t>(n));
        return held;
    }
    // Where the k-th card (from 0) of the cascade lies: 150 twips right of the one before and a
    // fifth of the cards' height lower, in whole pixels.
    static std::pair<int, int> Cascade(int k) {
        int left = Snap(200), top = Snap(100);
        for (int i = 0; i < k; ++i) {
            left = Snap(left + 150);
            top = Snap(top + tabletest::kFaceHeight * 15 / 5);
        }
        return {left, top};
    }
    static std::pair<int, int> PlaceOf(const HandForm& hand, int element) {
        const platform::ControlSurface& s = hand.crd(element)->Surface();
        return {s.Left(), s.Top()};
    }
    const Sent* LastSent(const std::string& command) const {
        for (auto it = recorder.sent.rbegin(); it != recorder.sent.rend(); ++it)
            if (it->command == command) return &*it;
        return nullptr;
    }
};

TEST_F(HandWindowTest, AnEmptyHandOpensEmptyWithNoElementInUse) {
    ASSERT_TRUE(StartHands(0));
    ShowHandForm();
    HandForm& hand = HandWindow();
    EXPECT_EQ(HandControlCount, 0);
    EXPECT_EQ(hand.crd.Count(), 1);
    EXPECT_EQ(hand.crd(0)->Surface().Tag(), "");
    EXPECT_EQ(hand.form.Caption(), "Hand");
}

TEST_F(HandWindowTest, TheFirstOpeningCascadesAndALaterOneRestoresPlacesAndPutsNewCardsAt200PerCard) {
    ASSERT_TRUE(StartHands(3));
    const std::vector<std::int16_t> held = HeldBy(1);
    ASSERT_EQ(held.size(), 3u);
    ShowHandForm();
    HandForm& hand = HandWindow();
    EXPECT_EQ(HandControlCount, 3);
    EXPECT_EQ(PlaceOf(hand, 0), Cascade(0));
    EXPECT_EQ(PlaceOf(hand, 1), Cascade(1));
    EXPECT_EQ(PlaceOf(hand, 2), Cascade(2));
    EXPECT_EQ(Cards[held[2]].handLeft, Cascade(2).first);
    EXPECT_EQ(Cards[held[2]].controlIndex, 2);
    // Another seat's hand shows nowhere here.
    for (int element : hand.crd.Indexes())
        EXPECT_EQ(Cards[hand.CardOfElement(element)].owner, 1);

    hand.form.Move(1500, 1200, 7000, 5000);
    const int width = hand.form.Width();
    UnloadHandForm();
    Cards[held[2]].handLeft = -1;
    Cards[held[2]].handTop = -1;
    ShowHandForm();
    EXPECT_EQ(hand.form.Left(), 1500);
    EXPECT_EQ(hand.form.Width(), width);
    EXPECT_EQ(PlaceOf(hand, 1), Cascade(1));
    EXPECT_EQ(PlaceOf(hand, 2), Place(600, 600));
    EXPECT_EQ(Cards[held[2]].handLeft, 600);

    // A new game forgets the place: the window cascades its cards again.
    UnloadHandForm();
    ASSERT_TRUE(StartHands(2));
    ShowHandForm();
    EXPECT_EQ(PlaceOf(HandWindow(), 1), Cascade(1));
}

TEST_F(HandWindowTest, ItOpensCentredOverTheTableAndADraggedCardStaysInsideIt) {
    ASSERT_TRUE(StartHands(3));
    platform::Form& window = table().Window();
    window.Move(900, 600, 9000, 7500);
    window.Show();
    window.Activate();
    ShowHandForm();
    HandForm& hand = HandWindow();
    EXPECT_NEAR(hand.form.Left() + hand.form.Width() / 2, window.Left() + window.Width() / 2, 15);
    EXPECT_NEAR(hand.form.Top() + hand.form.Height() / 2, window.Top() + window.Height() / 2, 15);

    controls::TranspImg& card = *hand.crd(1);
    for (const int far : {-60000, 60000}) {
        SCOPED_TRACE(far);
        // The card's mouse, in pixels of the card.
        card.MouseDown(1, 0, {5, 5});
        card.MouseMove(1, 0, {5.0f + far / 15.0f, 5.0f + far / 15.0f});
        card.MouseUp(1, 0, {5, 5});
        const platform::TwipRect p = MainForm::PictureRectOf(card);
        if (far < 0) {
            EXPECT_NEAR(p.left, 0, 15);
            EXPECT_NEAR(p.top, 0, 15);
        } else {
            EXPECT_NEAR(p.Right(), hand.BasePict.Width(), 15);
            EXPECT_NEAR(p.Bottom(), hand.BasePict.Height(), 15);
        }
        EXPECT_EQ(Cards[hand.CardOfElement(1)].handLeft, card.Surface().Left());
    }
}

TEST_F(HandWindowTest, DiscardingFromTheHandSendsItsCommandLeavesAnEmptyElementAndTheCascadeClosesUp) {
    ASSERT_TRUE(StartHands(3));
    ShowHandForm();
    HandForm& hand = HandWindow();
    const std::int16_t card = hand.CardOfElement(1);
    hand.SetMenuElement(1);
    hand.DiscardCardProcedure();

    EXPECT_EQ(hand.crd(1)->Surface().Tag(), "");
    EXPECT_FALSE(hand.crd(1)->Surface().Visible());
    EXPECT_EQ(Cards[card].inHand, kFalse);
    EXPECT_EQ(Cards[card].inDiscardPile, kTrue);
    EXPECT_EQ(Cards[card].pilePosition, 1);
    EXPECT_EQ(Cards[card].owner, 1);
    EXPECT_EQ(Game.nextDiscardPositions[0], 2);
    EXPECT_EQ(Game.lastDiscarded[0], card);
    ASSERT_THAT(recorder.Commands(), ElementsAre("CHNDDSCARD"));
    EXPECT_THAT(recorder.sent[0].fields, ElementsAre(std::to_string(card), "1"));
    // The table's pile shows the discarded face.
    EXPECT_EQ(table().DiscardImg(0)->GetPictureName(), FacePathOf(card));

    hand.ArrangeHandCards();
    EXPECT_EQ(PlaceOf(hand, 0), Cascade(0));
    EXPECT_EQ(PlaceOf(hand, 2), Cascade(1));
    ExpectEveryCardInOnePlace();
}

TEST_F(HandWindowTest, TheOtherSidesHandDiscardChangesTheSameRecordsAndRefreshesThePile) {
    ASSERT_TRUE(StartHands(2));
    const std::int16_t theirs = HeldBy(2).back();
    HandForm::DiscardCardProcedure_body(theirs);
    EXPECT_EQ(Cards[theirs].inDiscardPile, kTrue);
    EXPECT_EQ(Cards[theirs].pilePosition, 1);
    EXPECT_EQ(table().DiscardImg(0)->GetPictureName(), FacePathOf(theirs));
    // A card that is not held (a repeated or stale command) stays where it is.
    const std::string before = Snapshot();
    HandForm::DiscardCardProcedure_body(theirs);
    EXPECT_EQ(Snapshot(), before);
    ExpectEveryCardInOnePlace();
}

TEST_F(HandWindowTest, DoubleClickZoomsOnlyACardOfAZoomedDeck) {
    for (const auto& [deckExtra, zooms] :
         std::vector<std::pair<std::string, bool>>{{"", false}, {"zoom=150", true}}) {
        SCOPED_TRACE(deckExtra);
        ASSERT_TRUE(StartHands(1, deckExtra));
        actions().ZoomCard = -1;
        ShowHandForm();
        HandForm& hand = HandWindow();
        hand.crd(0)->DblClick();
        EXPECT_EQ(actions().ZoomCard, zooms ? hand.CardOfElement(0) : -1);
        UnloadHandForm();
    }
}

TEST_F(HandWindowTest, TheCardMenuFollowsTheFlipAndDiscardDirectives) {
    struct Case {
        const char* tail;
        bool faceDownEnabled;
        bool discardVisible;
    };
    for (const Case& c : {Case{"", true, true}, Case{"[CARDMENU]\nuseFlip=FALSE", false, true},
                          Case{"[CARDMENU]\nuseDiscard=FALSE", true, false}}) {
        SCOPED_TRACE(c.tail);
        ASSERT_TRUE(StartHands(1, "", "", c.tail));
        ShowHandForm();
        HandForm& hand = HandWindow();
        platform::testdriver::DialogScript script;
        script.AnswerPopup("");
        hand.crd(0)->MouseDown(2, 0, {5, 5});
        EXPECT_EQ(hand.MenuElement(), 0);
        EXPECT_TRUE(hand.Move2DesktopFaceDown.Visible());
        EXPECT_EQ(hand.Move2DesktopFaceDown.Enabled(), c.faceDownEnabled);
        EXPECT_EQ(hand.DiscardAction.Visible(), c.discardVisible);
        UnloadHandForm();
    }
}

TEST_F(HandWindowTest, ACardDraggedInsideTheWindowFollowsTheMouseAndKeepsItsPlace) {
    ASSERT_TRUE(StartHands(2));
    ShowHandForm();
    HandForm& hand = HandWindow();
    controls::TranspImg& element = *hand.crd(0);
    const std::int16_t card = hand.CardOfElement(0);
    const auto [left, top] = PlaceOf(hand, 0);
    element.MouseDown(1, 0, {10, 10});
    element.MouseMove(1, 0, {14, 12});
    EXPECT_EQ(PlaceOf(hand, 0), Place(left + 60, top + 30));
    EXPECT_EQ(Cards[card].handLeft, left + 60);
    EXPECT_EQ(Cards[card].handTop, top + 30);
    element.MouseUp(1, 0, {14, 12});
    element.MouseMove(0, 0, {20, 20});
    EXPECT_EQ(PlaceOf(hand, 0), Place(left + 60, top + 30));
    EXPECT_TRUE(recorder.sent.empty());
}

TEST_F(HandWindowTest, TheBalloonWaitsForTheDelayFollowsTheMouseTo5MsAndNeverShowsDuringADrag) {
    ASSERT_TRUE(StartHands(2));
    platform::ManualTimers timers;
    ShowHandForm();
    HandForm& hand = HandWindow();
    hand.form.Activate();
    platform::PumpEvents();
    ASSERT_TRUE(hand.form.IsActive());
    EXPECT_EQ(hand.ToolTipTimer.Interval(), 1500);

    hand.crd(0)->MouseMove(0, 0, {5, 5});
    platform::AdvanceTimers(1495);
    EXPECT_FALSE(hand.CTipH);
    platform::AdvanceTimers(5);
    ASSERT_TRUE(hand.CTipH);
    const auto first = hand.CTipH;
    // Resting on the card keeps its balloon without waking the window often.
    EXPECT_EQ(hand.ToolTipTimer.Interval(), 1500);
    platform::AdvanceTimers(3000);
    EXPECT_EQ(hand.CTipH, first);
    // Onto the next card, the balloon follows within 5 ms.
    hand.crd(1)->MouseMove(0, 0, {5, 5});
    EXPECT_EQ(hand.ToolTipTimer.Interval(), 5);
    platform::AdvanceTimers(5);
    ASSERT_TRUE(hand.CTipH);
    EXPECT_NE(hand.CTipH, first);

    hand.crd(1)->MouseDown(1, 0, {5, 5});
    platform::AdvanceTimers(1500);
    EXPECT_FALSE(hand.CTipH);
    hand.crd(1)->MouseUp(1, 0, {5, 5});
    hand.BasePict.OnMouseMove(platform::MouseEvent{});
    EXPECT_TRUE(hand.HoveredCard().empty());
    platform::AdvanceTimers(1500);
    EXPECT_FALSE(hand.CTipH);
}

TEST_F(HandWindowTest, DrawingIntoTheHandShowsTheWindowSendsTheDrawAndStacksNewCardsAt250) {
    ASSERT_TRUE(StartHands(0));
    actions().DeckImg_DblClick(0);
    actions().DeckImg_DblClick(0);
    HandForm* hand = LoadedHandWindow();
    ASSERT_NE(hand, nullptr);
    EXPECT_TRUE(hand->form.Visible());
    EXPECT_THAT(recorder.Commands(), ElementsAre("CLDONHAND", "CLDONHAND"));
    EXPECT_EQ(HandControlCount, 2);
    for (int element : {0, 1}) {
        const std::int16_t card = hand->CardOfElement(element);
        ASSERT_NE(card, 0);
        EXPECT_EQ(PlaceOf(*hand, element), Place(250, 250));
        EXPECT_EQ(Cards[card].controlIndex, element);
        EXPECT_EQ(Cards[card].owner, 1);
        EXPECT_EQ(Cards[card].faceShown, kTrue);
        EXPECT_EQ(hand->crd(element)->GetPictureName(), FacePathOf(card));
    }
    EXPECT_EQ(Game.nextDrawPositions[0], 3);
    ExpectEveryCardInOnePlace();
}

TEST_F(HandWindowTest, TheArbitratorAndADrawToTableDeckStillDrawOntoTheTable) {
    for (const auto& [deckExtra, arbitrator] :
         std::vector<std::pair<std::string, bool>>{{"drawToTable=TRUE", false}, {"", true}}) {
        SCOPED_TRACE(deckExtra);
        ASSERT_TRUE(StartHands(0, deckExtra));
        ArbitratorLoggedIn = ToFlag(arbitrator);
        AllCardsVisible = ToFlag(arbitrator);
        actions().DeckImg_DblClick(0);
        // The card lies beside this side's pile: its place follows.
        EXPECT_THAT(recorder.Commands(), ElementsAre("CLOAD", "CMOVE"));
        EXPECT_EQ(LoadedHandWindow(), nullptr);
        ArbitratorLoggedIn = kFalse;
        AllCardsVisible = kFalse;
    }
}

TEST_F(HandWindowTest, TheOtherSidesDrawIntoItsHandOnlyChangesRecords) {
    ASSERT_TRUE(StartHands(1, "draw_facedown=TRUE"));
    const std::int16_t top = FindCard(0, Game.nextDrawPositions[0], false);
    DrawCardToOtherHand(0, 2);
    EXPECT_EQ(Cards[top].owner, 2);
    EXPECT_EQ(Cards[top].inHand, kTrue);
    EXPECT_EQ(Cards[top].faceShown, kFalse);
    EXPECT_EQ(Cards[top].keptFaceDown, kTrue);
    EXPECT_EQ(Cards[top].controlIndex, 2) << "the slot after the one card the seat held";
    EXPECT_EQ(CountHandCards(2), 2);
    EXPECT_EQ(LoadedHandWindow(), nullptr);
    ExpectEveryCardInOnePlace();
}

TEST_F(HandWindowTest, ACardPutIntoThisSeatsOpenHandShowsThereOnceAndLeavesItForAnotherSeat) {
    ASSERT_TRUE(StartHands(1));
    ShowHandForm();
    HandForm& hand = HandWindow();
    const std::int16_t card = FindCard(0, Game.nextDrawPositions[0], false);
    Game.nextDrawPositions[0] = static_cast<std::int16_t>(Game.nextDrawPositions[0] + 1);
    for (int times = 0; times < 2; ++times)
        PutCardInHand(card, -1, 1);
    int shown = 0;
    for (int element : hand.crd.Indexes())
        shown += hand.CardOfElement(element) == card ? 1 : 0;
    EXPECT_EQ(shown, 1);
    ExpectEveryCardInOnePlace();
    PutCardInHand(card, -1, 2);
    for (int element : hand.crd.Indexes())
        EXPECT_NE(hand.CardOfElement(element), card);
    EXPECT_EQ(Cards[card].owner, 2);
    ExpectEveryCardInOnePlace();
}

TEST_F(HandWindowTest, MoveToHandTakesATableCardIntoTheWindowAndThePeerPutsItInTheSameHand) {
    ASSERT_TRUE(StartHands(0, "drawToTable=TRUE"));
    actions().DeckImg_DblClick(0);
    const std::int16_t card = DealtCardOfControl();
    ASSERT_NE(card, 0);
    const std::int16_t element = Cards[card].controlIndex;
    Cards[card].rotation = 90;
    Cards[card].selectionMark = 1;
    recorder.sent.clear();
    std::string atSend;
    recorder.onSend = [&](const std::string&) { atSend = Snapshot(); };
    const std::string before = Snapshot();
    actions().MenuCard = element;
    actions().MoveToHandMenuAction_Click();
    recorder.onSend = nullptr;
    ASSERT_THAT(recorder.Commands(), ElementsAre("C2HAND"));
    EXPECT_THAT(recorder.sent[0].fields, ElementsAre(std::to_string(card), std::to_string(element), "1"));
    EXPECT_EQ(atSend, before);
    EXPECT_EQ(actions().CardOfElement(element), 0);
    HandForm* hand = LoadedHandWindow();
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(hand->CardOfElement(Cards[card].controlIndex), card);
    EXPECT_EQ(Cards[card].rotation, 0);
    EXPECT_EQ(Cards[card].selectionMark, -1);
    ExpectEveryCardInOnePlace();

    // The other side's copy: the card leaves its table control for the seat's hand records.
    UnloadHandForm();
    ASSERT_TRUE(StartHands(0, "drawToTable=TRUE"));
    actions().DeckImg_DblClick(0);
    const std::int16_t theirs = DealtCardOfControl();
    Cards[theirs].owner = 2;
    PutCardInHand(theirs, Cards[theirs].controlIndex, 2);
    EXPECT_EQ(Cards[theirs].inHand, kTrue);
    EXPECT_EQ(Cards[theirs].controlIndex, 1);
    EXPECT_EQ(CountHandCards(2), 1);
    EXPECT_EQ(LoadedHandWindow(), nullptr);
    ExpectEveryCardInOnePlace();
}

TEST_F(HandWindowTest, ADropOnTheTableLaysTheCardUnderThePointerAndSendsItsFields) {
    for (const bool faceDown : {false, true}) {
        SCOPED_TRACE(faceDown ? "face down" : "face up");
        ASSERT_TRUE(StartHands(2));
        ShowHandForm();
        HandForm& hand = HandWindow();
        const std::int16_t card = hand.CardOfElement(1);
        hand.SetMenuElement(1);
        hand.StartDragToTable(faceDown);
        // The drag first passes over the card, 90 x 45 twips into it.
        const int originLeft = hand.crd(1)->GetOriginLeft();
        const int originTop = hand.crd(1)->GetOriginTop();
        hand.crd(1)->Surface().OnDragOver(
            platform::DragEvent{nullptr, originLeft + 90.0, originTop + 45.0, 0});
        hand.crd(1)->Surface().OnDragOver(platform::DragEvent{nullptr, 300, 300, 2});
        EXPECT_EQ(HandGrabX, originLeft + 90);
        EXPECT_EQ(HandGrabY, originTop + 45);
        // A drop of anything else is not a hand card's.
        table().BasePict.OnDragDrop(platform::DragEvent{nullptr, 9000, 7500, 2});
        EXPECT_EQ(Cards[card].inHand, kTrue);
        table().BasePict.OnDragDrop(platform::DragEvent{hand.crd(1)->Surface().Handle(), 9000, 7500, 2});

        const std::int16_t control = Cards[card].controlIndex;
        ASSERT_EQ(actions().CardOfElement(control), card);
        const controls::TranspImg& image = *table().crd(control);
        // Within the half pixel a control's place is rounded to.
        EXPECT_NEAR(tabletest::PictureLeft(image), 9000 - 90, 8);
        EXPECT_NEAR(tabletest::PictureTop(image), 7500 - 45, 8);
        EXPECT_TRUE(image.Surface().Visible());
        EXPECT_EQ(Cards[card].inHand, kFalse);
        EXPECT_EQ(Cards[card].faceShown, ToFlag(!faceDown));
        EXPECT_EQ(Cards[card].keptFaceDown, ToFlag(faceDown));
        EXPECT_EQ(image.GetPictureName(), faceDown ? CardBackImagePath(card) : FacePathOf(card));
        EXPECT_EQ(hand.crd(1)->Surface().Tag(), "");
        EXPECT_EQ(Game.ZOrderList[Game.zOrderCount].index, card);
        const Sent* sent = LastSent("CDRPHND");
        ASSERT_NE(sent, nullptr);
        ASSERT_EQ(sent->fields.size(), 5u);
        EXPECT_EQ(sent->fields[0], std::to_string(card));
        // The place in pixels, top before left.
        EXPECT_EQ(sent->fields[1], std::to_string(image.Surface().Top() / 15));
        EXPECT_EQ(sent->fields[2], std::to_string(image.Surface().Left() / 15));
        EXPECT_EQ(sent->fields[3], "1");
        EXPECT_EQ(sent->fields[4], faceDown ? "TRUE" : "FALSE");
        ExpectEveryCardInOnePlace();

        // The other side lays its copy at the same place and face.
        const std::int16_t theirs = HeldBy(2).front();
        const std::int16_t copy = DropCardFromHand_body(theirs, 3000, 4500, 2, faceDown);
        ASSERT_EQ(actions().CardOfElement(copy), theirs);
        EXPECT_EQ(table().crd(copy)->Surface().Top(), 3000);
        EXPECT_EQ(table().crd(copy)->Surface().Left(), 4500);
        EXPECT_EQ(Cards[theirs].keptFaceDown, ToFlag(faceDown));
        EXPECT_EQ(DropCardFromHand_body(theirs, 0, 0, 2, faceDown), -1) << "a card laid once is not held";
        ExpectEveryCardInOnePlace();
        UnloadHandForm();
    }
}

TEST_F(HandWindowTest, ADropOnACardLyingOnTheTableLandsAtThatPointOfTheTable) {
    ASSERT_TRUE(StartHands(2, "drawToTable=TRUE"));
    actions().DeckImg_DblClick(0);
    const std::int16_t onTable = DealtCardOfControl();
    ASSERT_NE(onTable, 0);
    controls::TranspImg& target = *table().crd(Cards[onTable].controlIndex);
    target.Surface().Move(4500, 3000);
    ShowHandForm();
    HandForm& hand = HandWindow();
    const std::int16_t card = hand.CardOfElement(0);
    hand.SetMenuElement(0);
    hand.StartDragToTable(false);
    const controls::TranspImg& dragged = *hand.crd(0);
    dragged.Surface().OnDragOver(
        platform::DragEvent{nullptr, dragged.GetOriginLeft() + 60.0, dragged.GetOriginTop() + 90.0, 0});
    target.Surface().OnDragDrop(platform::DragEvent{dragged.Surface().Handle(), 300, 450, 2});

    const std::int16_t control = Cards[card].controlIndex;
    ASSERT_EQ(actions().CardOfElement(control), card);
    const controls::TranspImg& image = *table().crd(control);
    EXPECT_NEAR(tabletest::PictureLeft(image), target.Surface().Left() + 300 - 60, 8);
    EXPECT_NEAR(tabletest::PictureTop(image), target.Surface().Top() + 450 - 90, 8);
    EXPECT_EQ(actions().CardOfElement(Cards[onTable].controlIndex), onTable) << "the card below stays";
    ExpectEveryCardInOnePlace();
}

TEST_F(HandWindowTest, EscapeClosesTheWindowAndCtrlAArrangesIt) {
    ASSERT_TRUE(StartHands(2));
    ShowHandForm();
    HandForm& hand = HandWindow();
    hand.crd(1)->Surface().Move(3000, 3000);
    hand.form.OnKeyDown(65, 2);
    EXPECT_EQ(PlaceOf(hand, 1), Cascade(1));
    hand.form.OnKeyDown(27, 0);
    EXPECT_FALSE(hand.form.Loaded());
}

TEST_F(HandWindowTest, TheOtherSidesHandCommandsRunTheirBodiesSendNothingAndBadOnesChangeNothing) {
    ASSERT_TRUE(StartHands(1));
    IsServerSide = true;
    NetPlayerData[1].seatId = "2";
    const auto receive = [](const std::string& word, const std::vector<std::string>& fields) {
        DispatchNetCommand(NetCommand{word, fields});
    };
    const std::int16_t top = FindCard(0, Game.nextDrawPositions[0], false);
    receive("CLDONHAND", {"0"});
    EXPECT_EQ(Cards[top].owner, 2);
    EXPECT_EQ(Cards[top].inHand, kTrue);

    receive("CDRPHND", {std::to_string(top), "200", "300", "2", "TRUE"});
    const std::int16_t control = Cards[top].controlIndex;
    ASSERT_EQ(actions().CardOfElement(control), top);
    EXPECT_EQ(table().crd(control)->Surface().Top(), 3000);
    EXPECT_EQ(table().crd(control)->Surface().Left(), 4500);
    EXPECT_EQ(Cards[top].keptFaceDown, kTrue);

    const std::int16_t held = HeldBy(2).front();
    receive("CHNDDSCARD", {std::to_string(held), "0"});
    EXPECT_EQ(Cards[held].inDiscardPile, kTrue);
    receive("C2HAND", {std::to_string(held), "-1", "2"});
    receive("DSC2HND", {"1", "0"});
    EXPECT_EQ(Cards[held].inHand, kTrue);
    EXPECT_EQ(Game.nextDiscardPositions[0], 1);
    ExpectEveryCardInOnePlace();

    const std::string before = Snapshot();
    const std::vector<std::pair<std::string, std::vector<std::string>>> bad = {
        {"CDRPHND", {std::to_string(held), "x", "300", "2", "TRUE"}},
        {"CDRPHND", {std::to_string(held), "200", "300", "2", "maybe"}},
        {"C2HAND", {std::to_string(held), "-1", "9"}},
        {"CHNDDSCARD", {"9999", "0"}},
        {"DSC2HND", {"7", "0"}},
        {"CLDONHAND", {"11"}},
    };
    for (const auto& [word, fields] : bad) {
        SCOPED_TRACE(word + " " + fields[0]);
        receive(word, fields);
        EXPECT_EQ(Snapshot(), before);
    }
    EXPECT_TRUE(recorder.sent.empty());
    NetPlayerData[1].seatId.clear();
}

// ---- after a load, with hands on the table ----

TEST_F(HandWindowTest, AfterALoadOwnHandCardsShowTheirFacesAndOthersTheirBacks) {
    struct Case {
        const char* name;
        std::string gameExtra;
        bool allVisible;
        bool keptDown;
        bool changes;
    };
    const std::vector<Case> cases = {
        {"table hands", "", false, false, true},
        {"own card kept face down", "", false, true, true},
        {"hand window", "external_hand=TRUE", false, false, false},
        {"all cards visible", "", true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Start(TwoSeatGame("", c.gameExtra)));
        const std::int16_t mine = DealtCardOf(1);
        const std::int16_t theirs = DealtCardOf(2);
        if (Game.external_hand != kFalse) {
            const std::string before = Snapshot();
            ShowOwnHandFaces();
            EXPECT_EQ(Snapshot(), before);
            continue;
        }
        // As a save of the other seat would leave them: its card face up, this seat's face down.
        Cards[theirs].faceShown = kTrue;
        LoadCardPicture(Cards[theirs].controlIndex, theirs, false, true);
        Cards[mine].faceShown = kFalse;
        Cards[mine].keptFaceDown = ToFlag(c.keptDown);
        LoadCardPicture(Cards[mine].controlIndex, mine, true, true);
        AllCardsVisible = ToFlag(c.allVisible);
        const std::string before = Snapshot();
        ShowOwnHandFaces();
        const std::string theirPicture = table().crd(Cards[theirs].controlIndex)->GetPictureName();
        const std::string myPicture = table().crd(Cards[mine].controlIndex)->GetPictureName();
        if (!c.changes) {
            EXPECT_EQ(Snapshot(), before);
            EXPECT_EQ(theirPicture, FacePathOf(theirs));
            continue;
        }
        EXPECT_NE(theirPicture, FacePathOf(theirs));
        EXPECT_EQ(Cards[theirs].faceShown, kTrue) << "the record keeps what its owner sees";
        EXPECT_EQ(Cards[mine].faceShown, ToFlag(!c.keptDown));
        EXPECT_EQ(myPicture == FacePathOf(mine), !c.keptDown);
    }
}

// ---- a scripted mix ----

TEST_F(HandWindowTest, AMixOfDrawsMovesDropsAndDiscardsKeepsEveryCardInOnePlace) {
    ASSERT_TRUE(StartHands(2, "openDiscardPile=TRUE\nchooseCardFromDiscardPile=TRUE"));
    ShowHandForm();
    HandForm& hand = HandWindow();
    actions().DeckImg_DblClick(0);
    ExpectEveryCardInOnePlace();
    hand.SetMenuElement(0);
    hand.StartDragToTable(false);
    table().BasePict.OnDragDrop(platform::DragEvent{hand.crd(0)->Surface().Handle(), 9000, 6000, 2});
    ExpectEveryCardInOnePlace();
    const std::int16_t played = DealtCardOfControl();
    actions().MenuCard = Cards[played].controlIndex;
    actions().MoveToHandMenuAction_Click();
    ExpectEveryCardInOnePlace();
    for (int element : {1, 2}) {
        hand.SetMenuElement(element);
        hand.DiscardCardProcedure();
        ExpectEveryCardInOnePlace();
    }
    HandForm::DiscardCardProcedure_body(HeldBy(2).front());
    ExpectEveryCardInOnePlace();
    UnloadHandForm();
    ShowHandForm();
    EXPECT_EQ(HandControlCount, static_cast<std::int16_t>(HeldBy(1).size()));
    ExpectEveryCardInOnePlace();
}

} // namespace
