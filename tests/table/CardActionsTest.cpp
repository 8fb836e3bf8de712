// The card actions of the table: the checks and their messages, the order of each action's send
// against its body, drawing, the bodies, the discard pile, and the faults they are built to avoid.
#include "CardActionsSupport.h"

#include "net/MultiplayerMgmt.h"
#include "platform/TestDriver.h"
#include "state/DecksMgmt.h"
#include "state/HandMgmt.h"
#include "state/LogStore.h"
#include "state/ZOrder.h"
#include "table/CardActions.h"
#include "table/Outbox.h"
#include "table/SelectionMgmt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace cardtest;
using testing::ElementsAre;
using testing::IsEmpty;

namespace {

class CardActionsTest : public CardTableTest {};

// ---- the permission table ----

struct Permission {
    bool own;        // the card is the local seat's
    bool inArea;     // it lies in its owner's area (a hand)
    bool allVisible; // AllCardsVisible
    bool arbitrator; // ArbitratorLoggedIn
    bool design;     // DesignMode
    bool restricted; // the deck restricts the action for others
};

struct GuardedAction {
    const char* word;
    void (CardActions::*run)();
    const char* enemyHand;
    const char* restriction;
    const char* command;
};

const GuardedAction kGuarded[] = {
    {"ROTATE", &CardActions::RotateCrd_Click, "You cannot rotate a card on your adversary's hand",
     "You are not permitted to rotate this card", "CROTATE"},
    {"FLIP", &CardActions::Flip_Click, "You cannot inspect the cards on your enemy's hand",
     "You are not permitted to flip this card", "CFLIP"},
    {"DISCARD", &CardActions::DiscardCardProcedure, "You cannot discard the cards on your enemy's hand",
     "You are not permitted to discard this card", "CDISCARD"},
    {"ELIMINATE", &CardActions::EliminateAction_Click, "You cannot eliminate the cards on your enemy's hand",
     "You are not permitted to eliminate this card", "CELIM"},
};

TEST_F(CardActionsTest, EveryCombinationOfTheChecksGivesItsMessageOrTheAction) {
    for (const GuardedAction& action : kGuarded) {
        for (int bits = 0; bits < 64; ++bits) {
            const Permission p{(bits & 1) != 0, (bits & 2) != 0,  (bits & 4) != 0,
                               (bits & 8) != 0, (bits & 16) != 0, (bits & 32) != 0};
            SCOPED_TRACE(std::string(action.word) + " own " + std::to_string(p.own) + " inArea " +
                         std::to_string(p.inArea) + " allVisible " + std::to_string(p.allVisible) +
                         " arbitrator " + std::to_string(p.arbitrator) + " design " +
                         std::to_string(p.design) + " restricted " + std::to_string(p.restricted));
            ASSERT_TRUE(
                Start(TwoSeatGame(p.restricted ? "restricted_actions=FLIP,DISCARD,ELIMINATE,ROTATE" : "")));
            const std::int16_t card = DealtCardOf(p.own ? 1 : 2);
            ASSERT_NE(card, 0);
            const std::int16_t element = Cards[card].controlIndex;
            if (!p.inArea) MoveOutOfAreas(element);
            ASSERT_EQ(IsCardInHand(element, card), p.inArea);
            AllCardsVisible = ToFlag(p.allVisible);
            ArbitratorLoggedIn = ToFlag(p.arbitrator);
            DesignMode = ToFlag(p.design);

            const std::string before = Snapshot();
            recorder.sent.clear();
            messages.Clear();
            actions().MenuCard = element;
            (actions().*action.run)();

            const bool enemyHand = p.inArea && !p.own && !p.allVisible;
            const bool restrictedHere = !p.own && p.restricted && !p.design && !p.arbitrator;
            if (enemyHand || restrictedHere) {
                EXPECT_THAT(messages.Messages(),
                            ElementsAre(enemyHand ? action.enemyHand : action.restriction));
                EXPECT_EQ(Snapshot(), before);
                EXPECT_THAT(recorder.sent, IsEmpty());
            } else {
                EXPECT_THAT(messages.Messages(), IsEmpty());
                EXPECT_NE(Snapshot(), before);
                ASSERT_EQ(recorder.sent.size(), 1u);
                EXPECT_EQ(recorder.sent[0].command, action.command);
            }
        }
    }
}

TEST_F(CardActionsTest, DrawingChecksTheOpponentTheEmptyDeckTheRestrictionAndTheHandLimitInThatOrder) {
    struct Case {
        const char* name;
        std::string deck;
        std::string game;
        std::int16_t seat;
        bool empty;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"another seat's deck", "", "", 0, false, "You cannot inspect the cards of your opponent"},
        {"empty deck", "", "", 1, true, "No more cards"},
        {"restricted draw", "restricted_actions=DRAW", "", 1, false, "You cannot draw a card from this deck"},
        {"hand at its limit", "", "handSize=1", 1, false,
         "You cannot draw another card (max hand size 1 cards)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Seat 2 owns deck 1 in the first case; the local seat is 1.
        ASSERT_TRUE(Start(TwoSeatGame(c.deck, c.game, c.seat == 0 ? "" : "")));
        std::int16_t deck = 0;
        if (c.seat == 0) {
            Game.decks[0].owner = 2;
        }
        if (c.empty) Game.nextDrawPositions[0] = static_cast<std::int16_t>(Game.deckSizes[0] + 1);
        if (c.deck == "restricted_actions=DRAW") {
            // The top card is another seat's: the restriction holds for it.
            Cards[FindCard(0, Game.nextDrawPositions[0], false)].owner = 2;
        }
        const std::string before = Snapshot();
        recorder.sent.clear();
        messages.Clear();
        actions().DeckImg_DblClick(deck);
        EXPECT_THAT(messages.Messages(), ElementsAre(c.message));
        EXPECT_EQ(Snapshot(), before);
        EXPECT_THAT(recorder.sent, IsEmpty());
    }
}

TEST_F(CardActionsTest, AHandAboveALoweredLimitTakesNoCard) {
    ASSERT_TRUE(Start(TwoSeatGame("", "handSize=3", "", 3)));
    ASSERT_EQ(CountHandCards(1), 3);
    Game.handSize = 2;
    actions().DeckImg_DblClick(0);
    EXPECT_THAT(messages.Messages(), ElementsAre("You cannot draw another card (max hand size 2 cards)"));
}

// ---- send order ----

TEST_F(CardActionsTest, RotateFlipTakeToHandAndPlayBackSendBeforeTheirBodyTheOthersAfter) {
    struct Case {
        const char* command;
        bool before; // sent before the body changed the table
        std::function<void(CardActions&, std::int16_t element)> run;
        std::string game;
    };
    const std::vector<Case> cases = {
        {"CROTATE", true, [](CardActions& a, std::int16_t e) { a.MenuCard = e, a.RotateCrd_Click(); }, ""},
        {"CFLIP", true, [](CardActions& a, std::int16_t e) { a.MenuCard = e, a.Flip_Click(); }, ""},
        {"CTAKE", true, [](CardActions& a, std::int16_t e) { a.MenuCard = e, a.TakeCardMenuItem_Click(); },
         ""},
        {"C2HAND", true,
         [](CardActions& a, std::int16_t e) { a.MenuCard = e, a.MoveToHandMenuAction_Click(); }, ""},
        {"CDISCARD", false, [](CardActions& a, std::int16_t e) { a.MenuCard = e, a.DiscardCardProcedure(); },
         ""},
        {"CELIM", false, [](CardActions& a, std::int16_t e) { a.MenuCard = e, a.EliminateAction_Click(); },
         ""},
        {"C2BTMDD", false,
         [](CardActions& a, std::int16_t e) { a.MenuCard = e, a.Move2BottomOfDrawDeckItem_Click(); }, ""},
        {"CINVERT", true,
         [](CardActions& a, std::int16_t e) { a.MenuCard = e, a.InvertCardMenuItem_Click(); }, ""},
        {"CGIVE", false, [](CardActions& a, std::int16_t e) { a.MenuCard = e, a.giveTo_Click(1); }, ""},
        {"CPUTBACK", true,
         [](CardActions& a, std::int16_t e) { a.MenuCard = e, a.PutBackAndReshuffle_Click(); }, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        ASSERT_TRUE(Start(TwoSeatGame("rotate=0,90,180")));
        const std::int16_t card = DealtCardOf(2);
        const std::int16_t element = Cards[card].controlIndex;
        MoveOutOfAreas(element);
        std::string atSend;
        const std::string before = Snapshot();
        recorder.onSend = [&](const std::string& command) {
            if (command == c.command) atSend = Snapshot();
        };
        c.run(actions(), element);
        recorder.onSend = nullptr;
        ASSERT_FALSE(atSend.empty()) << "not sent";
        EXPECT_NE(Snapshot(), before);
        if (c.before)
            EXPECT_EQ(atSend, before);
        else
            EXPECT_EQ(atSend, Snapshot());
    }
}

TEST_F(CardActionsTest, PilesSendPlayBackBeforeAndMoveToBottomAfterTheirBody) {
    ASSERT_TRUE(Start(TwoSeatGame("draw_last_discard=TRUE\nmove_discard_to_bottom=TRUE")));
    DiscardDealtCards();
    ASSERT_EQ(Game.nextDiscardPositions[0], 3);
    std::string atSend;
    std::string before = Snapshot();
    // The place of the card played back follows its body as a move of its own.
    recorder.onSend = [&](const std::string& word) {
        if (word != "CMOVE") atSend = Snapshot();
    };
    actions().MenuDeck = 0;
    actions().MoveLastDiscard2Bottom_Click();
    EXPECT_EQ(atSend, Snapshot());
    EXPECT_NE(atSend, before);
    before = Snapshot();
    actions().MenuDeck = 0;
    actions().DrawLastDiscardItem_Click();
    EXPECT_EQ(atSend, before);
    EXPECT_NE(Snapshot(), before);
    EXPECT_EQ(recorder.Commands(), (std::vector<std::string>{"DKMD2B", "CDSC2PLAY", "CMOVE"}));
}

TEST_F(CardActionsTest, NothingIsSentOutsideDirectPlayAndInvertGiveAndInfoRunWithoutChecks) {
    ASSERT_TRUE(
        Start(TwoSeatGame("restricted_actions=FLIP,DISCARD,ELIMINATE,ROTATE", "cards_can_be_given=TRUE")));
    GameMode = kModeLocal;
    const std::int16_t card = DealtCardOf(2);
    actions().MenuCard = Cards[card].controlIndex;
    actions().InvertCardMenuItem_Click();
    EXPECT_EQ(Cards[card].rotation, 180);
    actions().giveTo_Click(1);
    EXPECT_EQ(Cards[card].owner, 1);
    EXPECT_THAT(messages.Messages(), IsEmpty());
    EXPECT_THAT(recorder.sent, IsEmpty());
}

TEST_F(CardActionsTest, WithoutAnOutboxInDirectPlayTheActionsRunAndAnnounceNothing) {
    ASSERT_TRUE(Start(TwoSeatGame("rotate=0,90,180")));
    ASSERT_EQ(GameMode, kModeDirect);
    TableOutbox* const installed = SetTableOutbox(nullptr);
    const std::int16_t card = DealtCardOf(2);
    MoveOutOfAreas(Cards[card].controlIndex);
    actions().MenuCard = Cards[card].controlIndex;
    actions().InvertCardMenuItem_Click();
    EXPECT_EQ(Cards[card].rotation, 180);
    actions().DiscardCardProcedure();
    SetTableOutbox(installed);
    EXPECT_EQ(Cards[card].inDiscardPile, kTrue);
    EXPECT_THAT(messages.Messages(), IsEmpty());
    EXPECT_THAT(recorder.sent, IsEmpty());
}

// ---- drawing ----

TEST_F(CardActionsTest, ADrawLaysTheTopCardOnTheDeckFaceUpForTheDrawerAndLogsIt) {
    ASSERT_TRUE(Start(TwoSeatGame("", "", "[LOG]\nuse_log=TRUE\nlog_card_actions=DRAW")));
    const std::int16_t top = FindCard(0, Game.nextDrawPositions[0], false);
    const std::int16_t next = Game.nextDrawPositions[0];
    actions().DeckImg_DblClick(0);
    const CardRecord& c = Cards[top];
    EXPECT_EQ(c.owner, 1);
    EXPECT_EQ(c.pilePosition, kPileInPlay);
    EXPECT_EQ(c.faceShown, kTrue);
    EXPECT_EQ(Game.nextDrawPositions[0], next + 1);
    EXPECT_EQ(Game.ZOrderList[Game.zOrderCount].index, top);
    const controls::TranspImg* image = table().crd(c.controlIndex);
    ASSERT_NE(image, nullptr);
    EXPECT_TRUE(image->Surface().Visible());
    EXPECT_EQ(image->Surface().Tag(), std::to_string(top));
    EXPECT_EQ(image->GetPictureName(), FacePathOf(top));
    EXPECT_EQ(recorder.Commands(), (std::vector<std::string>{"CLOAD", "CMOVE"}));
    ASSERT_EQ(LogCount, 1);
}

// A pile is dragged on one table alone, so a card that lands beside its pile lands where this side's
// pile lies: a move of its own tells the other side the place. A card drawn into its seat's area
// lies where the area says on both tables and needs none.
TEST_F(CardActionsTest, ACardLandingBesideAPileDraggedHereIsPlacedOnTheOtherTableByAMove) {
    ASSERT_TRUE(Start(TwoSeatGame("draw_last_discard=TRUE")));
    table().DeckImg(0)->Surface().Move(6000, 4500);
    table().DiscardImg(0)->Surface().Move(1500, 6000);
    const auto expectPlaceSent = [&](std::int16_t card, const std::string& after) {
        const std::vector<std::string> words = recorder.Commands();
        ASSERT_EQ(words.size(), 2u);
        EXPECT_EQ(words[0], after);
        ASSERT_EQ(words[1], "CMOVE");
        const std::vector<std::string>& f = recorder.sent[1].fields;
        const platform::ControlSurface& s = table().crd(Cards[card].controlIndex)->Surface();
        EXPECT_EQ(f[0], std::to_string(Cards[card].controlIndex));
        EXPECT_NEAR(std::stod(f[1]) * 15, s.Left(), 1);
        EXPECT_NEAR(std::stod(f[2]) * 15, s.Top(), 1);
    };
    const std::int16_t drawn = FindCard(0, Game.nextDrawPositions[0], false);
    actions().DeckImg_DblClick(0);
    expectPlaceSent(drawn, "CLOAD");

    DiscardDealtCards();
    recorder.sent.clear();
    const std::int16_t played = FindCard(0, static_cast<std::int16_t>(Game.nextDiscardPositions[0] - 1), true);
    actions().MenuDeck = 0;
    actions().DrawLastDiscardItem_Click();
    expectPlaceSent(played, "CDSC2PLAY");
}

// A double click on a card ends with a release that follows no press of its own: it changes
// nothing that the other side is not told of.
TEST_F(CardActionsTest, TheReleaseThatEndsADoubleClickLeavesTheHandAsItWas) {
    ASSERT_TRUE(Start(TwoSeatGame("drawToHand=TRUE")));
    const std::int16_t card = FindCard(0, Game.nextDrawPositions[0], false);
    actions().DeckImg_DblClick(0);
    const std::int16_t element = Cards[card].controlIndex;
    ASSERT_TRUE(IsCardInHand(element, card)) << "drawn into the drawer's area";
    const Flag before = Cards[card].inHand;
    recorder.sent.clear();
    actions().crd_MouseDown(element, 1, 0, {});
    actions().crd_MouseUp(element, 1, 0, {});
    actions().crd_DblClick(element);
    actions().crd_MouseUp(element, 1, 0, {});
    EXPECT_EQ(Cards[card].inHand, before);
    EXPECT_EQ(recorder.Commands(), std::vector<std::string>{"CMOVE"}) << "the click's release alone is sent";
}

TEST_F(CardActionsTest, ACardDrawnIntoItsSeatsAreaIsNotMovedAfterwards) {
    ASSERT_TRUE(Start(TwoSeatGame("drawToHand=TRUE")));
    table().DeckImg(0)->Surface().Move(6000, 4500);
    actions().DeckImg_DblClick(0);
    EXPECT_EQ(recorder.Commands(), std::vector<std::string>{"CLOAD"});
}

TEST_F(CardActionsTest, AFaceDownDeckLaysTheBack120TwipsRightAndBelowTheDeckImage) {
    ASSERT_TRUE(Start(TwoSeatGame("draw_facedown=TRUE")));
    const std::int16_t top = FindCard(0, Game.nextDrawPositions[0], false);
    actions().DeckImg_DblClick(0);
    const CardRecord& c = Cards[top];
    EXPECT_EQ(c.faceShown, kFalse);
    EXPECT_EQ(c.keptFaceDown, kTrue);
    const controls::TranspImg& image = *table().crd(c.controlIndex);
    EXPECT_EQ(image.GetPictureName(), Game.backImages[0]);
    const controls::TranspImg& deck = *table().DeckImg(0);
    EXPECT_NEAR(image.Surface().Left() + image.GetOriginLeft(), deck.Surface().Left() + 120, 8);
    EXPECT_NEAR(image.Surface().Top() + image.GetOriginTop(), deck.Surface().Top() + 120, 8);
}

TEST_F(CardActionsTest, ADrawToHandDeckLaysTheCard50TwipsIntoTheDrawersAreaAndTheMirrorShowsItsBack) {
    ASSERT_TRUE(Start(TwoSeatGame("drawToHand=TRUE")));
    const std::int16_t top = FindCard(0, Game.nextDrawPositions[0], false);
    actions().DeckImg_DblClick(0);
    const controls::TranspImg& image = *table().crd(Cards[top].controlIndex);
    EXPECT_NEAR(image.Surface().Left() + image.GetOriginLeft(), PlayerAreas[0].left + 50, 8);
    EXPECT_NEAR(image.Surface().Top() + image.GetOriginTop(), PlayerAreas[0].top + 50, 8);

    // The other side's draw repeated here: a new control, the card the other seat's.
    const std::int16_t mirrored = FindCard(0, Game.nextDrawPositions[0], false);
    const std::int16_t control = NewCardControl();
    Cards[mirrored].owner = 2;
    actions().DrawNewCard(0, mirrored, control, true);
    EXPECT_EQ(table().crd(control)->GetPictureName(), Game.backImages[0]);
    EXPECT_EQ(Cards[mirrored].faceShown, kFalse);
}

TEST_F(CardActionsTest, DrawingTheLastCardShowsTheDeckDiscardPictureAndADrawFindsItsCardBeforeItSends) {
    ASSERT_TRUE(Start(TwoSeatGame()));
    while (!IsDeckEmpty(0))
        actions().DeckImg_DblClick(0);
    EXPECT_EQ(table().DeckImg(0)->GetPictureName(), Game.discardImages[0]);
    recorder.sent.clear();
    messages.Clear();
    actions().DeckImg_DblClick(0);
    EXPECT_THAT(messages.Messages(), ElementsAre("No more cards"));
    EXPECT_THAT(recorder.sent, IsEmpty());
}

TEST_F(CardActionsTest, TheDeckMenuReshuffleLeavesTheDiscardPileReachable) {
    ASSERT_TRUE(Start(TwoSeatGame("enableReshuffleDrawDeck=TRUE\ndraw_last_discard=TRUE")));
    DiscardDealtCards();
    const std::int16_t nextDiscard = Game.nextDiscardPositions[0];
    actions().MenuDeck = 0;
    actions().ReshuffleDrawDeckMenuItem_Click();
    EXPECT_EQ(Game.nextDrawPositions[0], 1);
    EXPECT_EQ(Game.nextDiscardPositions[0], nextDiscard);
    actions().MenuDeck = 0;
    actions().DrawLastDiscardItem_Click();
    EXPECT_THAT(messages.Messages(), IsEmpty());
    EXPECT_EQ(Game.nextDiscardPositions[0], nextDiscard - 1);
    ExpectEveryCardInOnePlace();
}

TEST_F(CardActionsTest, TheDeckMenuAppliesTheOpponentCheck) {
    ASSERT_TRUE(Start(TwoSeatGame("openDrawDeck=TRUE")));
    Game.decks[0].owner = 2;
    actions().MenuDeck = 0;
    actions().DisplayDrawDeckMenuItem_Click();
    EXPECT_THAT(messages.Messages(), ElementsAre("You cannot inspect the cards of your opponent"));
}

// ---- the bodies ----

TEST_F(CardActionsTest, DiscardingATurnedFaceDownCardShowsItsFaceOnThePileAndCountsOnEvenWithTheImageHidden) {
    ASSERT_TRUE(Start(TwoSeatGame("hideDiscardPile=TRUE\nrotate=0,90")));
    const std::int16_t card = DealtCardOf(1);
    const std::int16_t element = Cards[card].controlIndex;
    MoveOutOfAreas(element);
    actions().MenuCard = element;
    actions().RotateCrd_Click();
    actions().Flip_Click();
    ASSERT_EQ(Cards[card].rotation, 90);
    ASSERT_EQ(Cards[card].keptFaceDown, kTrue);
    ToggleCardSelection(element);
    actions().DiscardCardProcedure();
    const CardRecord& c = Cards[card];
    EXPECT_EQ(c.rotation, 0);
    EXPECT_EQ(c.inDiscardPile, kTrue);
    EXPECT_EQ(c.pilePosition, 1);
    EXPECT_EQ(c.controlIndex, -1);
    EXPECT_EQ(c.selectionMark, -1);
    EXPECT_EQ(Game.nextDiscardPositions[0], 2);
    EXPECT_EQ(Game.lastDiscarded[0], card);
    EXPECT_EQ(table().DiscardImg(0)->GetPictureName(), FacePathOf(card));
    EXPECT_FALSE(table().crd.Exists(element) && table().crd(element)->Surface().Visible());
    // Loading the pile pictures again shows the same face.
    LoadDeckImages(true);
    EXPECT_EQ(table().DiscardImg(0)->GetPictureName(), FacePathOf(card));
}

TEST_F(CardActionsTest, ABodyGivenAnElementOfAnotherCardLeavesThatCardOnTheTable) {
    ASSERT_TRUE(Start(TwoSeatGame()));
    const std::int16_t card = DealtCardOf(1);
    const std::int16_t other = DealtCardOf(2);
    const std::int16_t otherElement = Cards[other].controlIndex;
    actions().DiscardCardProcedure_body(card, otherElement);
    actions().EliminateCardBody(otherElement, card);
    EXPECT_EQ(actions().CardOfElement(otherElement), other);
    EXPECT_EQ(Cards[other].controlIndex, otherElement);
}

TEST_F(CardActionsTest, EliminatingTakesTheCardOutOfTheGame) {
    ASSERT_TRUE(Start(TwoSeatGame()));
    const std::int16_t card = DealtCardOf(1);
    actions().MenuCard = Cards[card].controlIndex;
    actions().EliminateAction_Click();
    const CardRecord& c = Cards[card];
    EXPECT_EQ(c.pilePosition, kPileEliminated);
    EXPECT_EQ(c.eliminated, kTrue);
    EXPECT_EQ(c.controlIndex, -1);
    EXPECT_EQ(c.inHand, kFalse);
    for (int z = 1; z <= Game.zOrderCount; ++z)
        EXPECT_FALSE(Game.ZOrderList[z].kind == kZCard && Game.ZOrderList[z].index == card);
}

TEST_F(CardActionsTest, FlippingAnOpponentsHiddenHandCardOnlyTogglesKeptFaceDown) {
    ASSERT_TRUE(Start(TwoSeatGame()));
    const std::int16_t card = DealtCardOf(2);
    ASSERT_EQ(Cards[card].faceShown, kFalse);
    AllCardsVisible = kTrue; // passes the check; the body still keeps the face hidden here
    actions().MenuCard = Cards[card].controlIndex;
    actions().Flip_Click();
    EXPECT_EQ(Cards[card].keptFaceDown, kTrue);
    EXPECT_EQ(Cards[card].faceShown, kFalse);
    actions().Flip_Click();
    EXPECT_EQ(Cards[card].keptFaceDown, kFalse);
    EXPECT_EQ(table().crd(Cards[card].controlIndex)->GetPictureName(), Game.backImages[0]);
}

// Every flip is logged, also of another seat's hand card whose face showed here (to the
// arbitrator, in test mode); only the flip of a card whose face this side never saw is not.
TEST_F(CardActionsTest, AFlipIsLoggedUnlessItTurnsAnotherSeatsHandCardThisSideDoesNotSee) {
    ASSERT_TRUE(Start(TwoSeatGame("", "", "[LOG]\nlog_card_actions=FLIP")));
    AllCardsVisible = kTrue;
    struct Case {
        const char* name;
        int seat;
        bool shownBefore;
        const char* logged; // "" for none
    };
    for (const Case& c : {Case{"own card face down", 1, true, "Card Flipped to back: <on hand>"},
                          Case{"own card face up", 1, false, "Card Flipped to front: <on hand>"},
                          Case{"another seat's card shown here", 2, true, "Card Flipped to back: <on hand>"},
                          Case{"another seat's card never shown here", 2, false, ""}}) {
        SCOPED_TRACE(c.name);
        const std::int16_t card = DealtCardOf(c.seat);
        Cards[card].faceShown = ToFlag(c.shownBefore);
        Cards[card].keptFaceDown = ToFlag(!c.shownBefore);
        const int before = LogCount;
        actions().MenuCard = Cards[card].controlIndex;
        actions().Flip_Click();
        if (*c.logged == '\0') {
            EXPECT_EQ(LogCount, before);
        } else {
            ASSERT_EQ(LogCount, before + 1);
            EXPECT_EQ(LogEntry(LogCount), c.logged);
        }
    }
}

// A card laid out again turned (taken face up here) turns as any turn of a card does: logged.
TEST_F(CardActionsTest, ATurnedCardTakenFaceUpShowsItsFaceTurnedAndLogsTheTurn) {
    ASSERT_TRUE(Start(
        TwoSeatGame("played_cards_can_be_taken=ALWAYS\nrotate=0,90", "", "[LOG]\nlog_card_actions=ROTATE")));
    const std::int16_t card = DealtCardOf(2);
    const std::int16_t element = Cards[card].controlIndex;
    MoveOutOfAreas(element);
    Cards[card].rotation = 90;
    actions().MenuCard = element;
    actions().TakeCardMenuItem_Click();
    EXPECT_EQ(table().crd(element)->GetPictureName(), FacePathOf(card));
    EXPECT_EQ(table().crd(element)->rotation(), 90);
    ASSERT_EQ(LogCount, 1);
    EXPECT_THAT(LogEntry(1), testing::StartsWith("Card rotated (90) : "));
}

// A flip turns the flag both sides share, whatever this side happens to show: an own hand card
// kept face down still shows its face to its owner, and the other side sees it hidden.
TEST_F(CardActionsTest, AFlipTurnsWhetherTheCardIsKeptFaceDownWhateverThisSideShows) {
    ASSERT_TRUE(Start(TwoSeatGame()));
    AllCardsVisible = kTrue; // passes the check for the other seat's card
    struct Case {
        int seat;
        bool keptBefore;
        bool shownAfter;
    };
    for (const Case& k : {Case{1, true, true}, Case{2, true, false}, Case{1, false, false}}) {
        SCOPED_TRACE(testing::Message() << "seat " << k.seat << ", kept face down " << k.keptBefore);
        const std::int16_t card = DealtCardOf(k.seat);
        Cards[card].keptFaceDown = ToFlag(k.keptBefore);
        actions().MenuCard = Cards[card].controlIndex;
        actions().Flip_Click();
        EXPECT_EQ(Cards[card].keptFaceDown, ToFlag(!k.keptBefore));
        EXPECT_EQ(Cards[card].faceShown, ToFlag(k.shownAfter));
    }
}

TEST_F(CardActionsTest, TakingAFaceUpCardChangesItsOwnerAndAHiddenOneAlsoShowsItsFace) {
    ASSERT_TRUE(Start(TwoSeatGame("played_cards_can_be_taken=ALWAYS")));
    const std::int16_t card = DealtCardOf(2);
    const std::int16_t element = Cards[card].controlIndex;
    MoveOutOfAreas(element);
    ASSERT_EQ(Cards[card].faceShown, kFalse);
    actions().MenuCard = element;
    actions().TakeCardMenuItem_Click();
    EXPECT_EQ(Cards[card].owner, 1);
    EXPECT_EQ(Cards[card].faceShown, kTrue);
    EXPECT_EQ(table().crd(element)->GetPictureName(), FacePathOf(card));
}

TEST_F(CardActionsTest, MoveToBottomPutsTheCardUnderThePileWithoutShiftingAnyCard) {
    struct Case {
        const char* name;
        bool emptyPile;
        bool fromFirstPosition; // the next draw position is 1
    };
    for (const Case& c : {Case{"ordinary pile", false, false}, Case{"next draw position 1", false, true},
                          Case{"empty pile", true, false}}) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Start(TwoSeatGame()));
        const std::int16_t card = DealtCardOf(1);
        if (c.fromFirstPosition) {
            // Put the other dealt card back so that the pile starts at 1 again.
            actions().MenuCard = Cards[DealtCardOf(2)].controlIndex;
            actions().PutBackAndReshuffle_Click();
            ASSERT_EQ(Game.nextDrawPositions[0], 1);
        }
        if (c.emptyPile)
            while (!IsDeckEmpty(0))
                actions().DeckImg_DblClick(0);
        const std::vector<std::int16_t> pile = DrawPileInOrder(0);
        std::vector<std::int16_t> positions;
        for (std::int16_t other : pile)
            positions.push_back(Cards[other].pilePosition);
        actions().MenuCard = Cards[card].controlIndex;
        actions().Move2BottomOfDrawDeckItem_Click();
        EXPECT_EQ(actions().MenuCard, -1);
        // The pile keeps its order with the card under it; where there is room under the last
        // card, no other card changes its place.
        std::vector<std::int16_t> expected = pile;
        expected.push_back(card);
        EXPECT_EQ(DrawPileInOrder(0), expected);
        EXPECT_LE(Cards[card].pilePosition, Game.deckSizes[0]);
        if (c.fromFirstPosition) {
            for (std::size_t k = 0; k < pile.size(); ++k)
                EXPECT_EQ(Cards[pile[k]].pilePosition, positions[k]);
        }
        if (c.emptyPile) {
            EXPECT_EQ(table().DeckImg(0)->GetPictureName(), Game.backImages[0]);
        }
        // Every card of the pile can still be drawn, the moved card last.
        std::int16_t last = 0;
        while (!IsDeckEmpty(0)) {
            last = FindCard(0, Game.nextDrawPositions[0], false);
            actions().DeckImg_DblClick(0);
        }
        EXPECT_EQ(last, card);
        ExpectEveryCardInOnePlace();
    }
}

TEST_F(CardActionsTest, MoveToBottomOfACardWithoutControlMovesOnlyItsRecord) {
    ASSERT_TRUE(Start(TwoSeatGame("", "external_hand=TRUE")));
    std::int16_t card = 0;
    for (int n = 1; n <= Game.totalCards; ++n)
        if (Cards[n].owner == 1 && Cards[n].inHand != kFalse) card = static_cast<std::int16_t>(n);
    ASSERT_NE(card, 0);
    ASSERT_EQ(Cards[card].controlIndex, -1);
    const std::int16_t loaded = LoadedCardControls;
    actions().Move2BottomOfDrawDeck_body(card);
    EXPECT_EQ(DrawPileInOrder(0).back(), card);
    EXPECT_EQ(Cards[card].inHand, kFalse);
    EXPECT_EQ(LoadedCardControls, loaded);
    ExpectEveryCardInOnePlace();
}

TEST_F(CardActionsTest, PutBackAndReshuffleReturnsTheCardToTheDrawPileAndSendsTheNewOrder) {
    ASSERT_TRUE(Start(TwoSeatGame("cards_can_be_put_back=TRUE")));
    const std::int16_t card = DealtCardOf(1);
    const std::int16_t element = Cards[card].controlIndex;
    actions().MenuCard = element;
    actions().PutBackAndReshuffle_Click();
    EXPECT_GE(Cards[card].pilePosition, 1);
    EXPECT_EQ(Cards[card].controlIndex, -1);
    EXPECT_EQ(Game.nextDrawPositions[0], 1);
    EXPECT_EQ(recorder.Commands(), (std::vector<std::string>{"CPUTBACK", "DKSHUFF"}));
    ExpectEveryCardInOnePlace();
}

TEST_F(CardActionsTest, HandLimitRefusesMoveToHandAtOrAboveTheLimit) {
    ASSERT_TRUE(Start(TwoSeatGame("", "handSize=1\nexternal_hand=FALSE")));
    const std::int16_t card = DealtCardOf(1);
    actions().MenuCard = Cards[card].controlIndex;
    actions().MoveToHandMenuAction_Click();
    EXPECT_THAT(messages.Messages(), ElementsAre("You cannot draw another card (max hand size 1 cards)"));
    EXPECT_THAT(recorder.sent, IsEmpty());
}

// ---- the discard pile ----

TEST_F(CardActionsTest, PlayingBackTheTopCardShowsItFaceUpBesideThePileAndThePileItsNewTop) {
    ASSERT_TRUE(Start(TwoSeatGame("draw_last_discard=TRUE\nzoom=150")));
    const std::int16_t first = DealtCardOf(1);
    const std::int16_t second = DealtCardOf(2);
    Cards[second].owner = 1;
    for (std::int16_t card : {first, second}) {
        actions().MenuCard = Cards[card].controlIndex;
        actions().Flip_Click(); // the first goes face down, so does the second
        actions().DiscardCardProcedure();
    }
    actions().MenuDeck = 0;
    actions().DrawLastDiscardItem_Click();
    const CardRecord& c = Cards[second];
    EXPECT_EQ(c.faceShown, kTrue);
    EXPECT_EQ(c.keptFaceDown, kFalse);
    EXPECT_EQ(c.owner, 1);
    EXPECT_EQ(c.pilePosition, kPileInPlay);
    const controls::TranspImg& image = *table().crd(c.controlIndex);
    EXPECT_EQ(image.zoom(), 150);
    const controls::TranspImg& pile = *table().DiscardImg(0);
    EXPECT_NEAR(image.Surface().Left() + image.GetOriginLeft(), pile.Surface().Left() + 100, 8);
    EXPECT_EQ(pile.GetPictureName(), FacePathOf(first));
    EXPECT_EQ(Game.lastDiscarded[0], first);
    actions().MenuDeck = 0;
    actions().DrawLastDiscardItem_Click();
    EXPECT_EQ(pile.GetPictureName(), Game.discardImages[0]);
    EXPECT_EQ(Game.lastDiscarded[0], -1);
    actions().MenuDeck = 0;
    actions().DrawLastDiscardItem_Click();
    EXPECT_THAT(messages.Messages(), ElementsAre("The discard pile is empty"));
}

TEST_F(CardActionsTest, PlayingBackTakesTheOwnerItIsGiven) {
    ASSERT_TRUE(Start(TwoSeatGame()));
    DiscardDealtCards();
    actions().DP_CrdPlayedFromDiscard_body(0, 2);
    EXPECT_EQ(Cards[DealtCardOfControl()].owner, 2);
}

TEST_F(CardActionsTest, MovingTheTopOfATwoCardPileToTheBottomSwapsThemAndShowsTheOther) {
    ASSERT_TRUE(Start(TwoSeatGame("move_discard_to_bottom=TRUE")));
    const std::int16_t first = DealtCardOf(1);
    const std::int16_t second = DealtCardOf(2);
    DiscardDealtCards();
    actions().MenuDeck = 0;
    actions().MoveLastDiscard2Bottom_Click();
    EXPECT_EQ(Cards[second].pilePosition, 1);
    EXPECT_EQ(Cards[first].pilePosition, 2);
    EXPECT_EQ(table().DiscardImg(0)->GetPictureName(), FacePathOf(first));
    EXPECT_EQ(actions().MenuDeck, -1);
    // With one card nothing happens, silently.
    actions().MenuDeck = 0;
    actions().DrawLastDiscardItem_Click();
    recorder.sent.clear();
    actions().MenuDeck = 0;
    actions().MoveLastDiscard2Bottom_Click();
    EXPECT_THAT(recorder.sent, IsEmpty());
    EXPECT_THAT(messages.Messages(), IsEmpty());
}

TEST_F(CardActionsTest, ThePilesReshuffleTakesTheDiscardsBackAndLogs) {
    ASSERT_TRUE(Start(TwoSeatGame("", "", "[LOG]\nuse_log=TRUE")));
    DiscardDealtCards();
    actions().MenuDeck = 0;
    actions().ReshuffleAction_Click();
    EXPECT_EQ(Game.nextDiscardPositions[0], 1);
    EXPECT_EQ(Game.nextDrawPositions[0], 1);
    EXPECT_EQ(Game.lastDiscarded[0], -1);
    EXPECT_EQ(CountPileCards(0, false), 8);
    ASSERT_GE(LogCount, 1);
    EXPECT_THAT(LogEntry(LogCount), testing::EndsWith(" reshuffled"));
}

TEST_F(CardActionsTest, ThePileWindowChecksTheOpponentTheDirectiveAndAnEmptyPile) {
    ASSERT_TRUE(Start(TwoSeatGame()));
    actions().ShowDiscardPile(0);
    Game.decks[0].openDiscardPile = kTrue;
    actions().ShowDiscardPile(0);
    Game.decks[0].owner = 2;
    actions().ShowDiscardPile(0);
    EXPECT_THAT(messages.Messages(),
                ElementsAre("You cannot examine the discard pile", "No card has been discarded",
                            "You cannot inspect the cards of your opponent"));
}

TEST_F(CardActionsTest, EndingTheGameShowsEveryCardAndEveryDiscardPile) {
    ASSERT_TRUE(Start(TwoSeatGame()));
    testsupport::QuestionScript yes({true});
    actions().EndGameBtn_Click();
    EXPECT_EQ(AllCardsVisible, kTrue);
    EXPECT_EQ(Game.GamePhase, kPhaseEnded);
    EXPECT_EQ(Game.decks[0].viewDiscard, kTrue);
    EXPECT_EQ(recorder.Commands(), std::vector<std::string>{"GAMEEND"});
}

// ---- hidden faces ----

TEST_F(CardActionsTest, ZoomAndInfoNeverRevealAnotherSeatsHiddenCard) {
    ASSERT_TRUE(Start(TwoSeatGame("zoom=200", "card_info=TRUE")));
    const std::int16_t hidden = DealtCardOf(2);
    actions().crd_DblClick(Cards[hidden].controlIndex);
    // A face-down card of another seat on the table is just as hidden, with a message of its own:
    // it lies in no hand.
    MoveOutOfAreas(Cards[hidden].controlIndex);
    actions().crd_DblClick(Cards[hidden].controlIndex);
    EXPECT_THAT(messages.Messages(), ElementsAre("You cannot zoom on a cards on your enemy's hand",
                                                 "You cannot zoom on a facedown card"));
    EXPECT_EQ(actions().ZoomCard, -1);
    messages.Clear();
    const std::int16_t own = DealtCardOf(1);
    actions().crd_DblClick(Cards[own].controlIndex);
    EXPECT_EQ(actions().ZoomCard, own);
    EXPECT_THAT(messages.Messages(), IsEmpty());
}

// ---- selection ----

// A common card belongs to no other seat: it offers its information once its face shows.
TEST_F(CardActionsTest, InfoIsOfferedOnACommonCardWhoseFaceShows) {
    ASSERT_TRUE(Start(TwoSeatGame("", "card_info=TRUE")));
    actions().DeckImg_DblClick(0);
    const std::int16_t card = DealtCardOfControl();
    const std::int16_t element = Cards[card].controlIndex;
    MoveOutOfAreas(element);
    struct Case {
        const char* name;
        std::int16_t owner;
        bool faceShown;
        bool offered;
    };
    for (const Case& c :
         {Case{"common, face up", 0, true, true}, Case{"common, face down", 0, false, false},
          Case{"own, face down", 1, false, true}, Case{"another seat's, face up", 2, true, true},
          Case{"another seat's, face down", 2, false, false}}) {
        SCOPED_TRACE(c.name);
        Cards[card].owner = c.owner;
        Cards[card].faceShown = ToFlag(c.faceShown);
        actions().crd_MouseDown(element, 2, 0, {});
        EXPECT_EQ(actions().InfoMenuItem.Visible(), c.offered);
    }
}

TEST_F(CardActionsTest, DiscardAllAndFlipAllCheckEachCardSkipTheRefusedAndDropSelectionsWithoutControl) {
    ASSERT_TRUE(Start(TwoSeatGame("restricted_actions=DISCARD")));
    const std::int16_t own = DealtCardOf(1);
    const std::int16_t other = DealtCardOf(2);
    MoveOutOfAreas(Cards[own].controlIndex);
    MoveOutOfAreas(Cards[other].controlIndex, 1500);
    actions().DeckImg_DblClick(0);
    const std::int16_t drawn = DealtCardOfControl();
    ToggleCardSelection(Cards[own].controlIndex);
    ToggleCardSelection(Cards[other].controlIndex);
    ToggleCardSelection(Cards[drawn].controlIndex);
    // The drawn card leaves the table without the selection's knowledge of it.
    actions().Move2BottomOfDrawDeck_body(drawn);
    EXPECT_EQ(Cards[drawn].selectionMark, -1);
    EXPECT_EQ(CountSelectedCards(), 2);
    recorder.sent.clear();
    actions().DiscardAllSelectedCards();
    EXPECT_EQ(Cards[own].inDiscardPile, kTrue);
    EXPECT_EQ(Cards[other].inDiscardPile, kFalse);
    EXPECT_THAT(messages.Messages(),
                ElementsAre("You are not permitted to discard the card: key" + std::to_string(other)));
    EXPECT_EQ(recorder.Commands(), std::vector<std::string>{"CDISCARD"});
}

TEST_F(CardActionsTest, ACardThatLeavesTheTableDuringAGroupDragNoLongerFollows) {
    ASSERT_TRUE(Start(TwoSeatGame()));
    actions().DeckImg_DblClick(0);
    const std::int16_t dragged = DealtCardOfControl();
    actions().DeckImg_DblClick(0);
    const std::int16_t follower = DealtCardOfControl();
    const std::int16_t element = Cards[follower].controlIndex;
    ToggleCardSelection(Cards[dragged].controlIndex);
    ToggleCardSelection(element);
    const int left = table().crd(element)->Surface().Left();
    DragSelectedCards(150, 0, dragged);
    EXPECT_EQ(table().crd(element)->Surface().Left(), left + 150);
    // The other side's discard arrives between two steps of the drag.
    actions().DiscardCardProcedure_body(follower, element);
    DragSelectedCards(150, 0, dragged);
    recorder.sent.clear();
    SendSelectedCardMoves(dragged);
    EXPECT_THAT(recorder.sent, IsEmpty());
    EXPECT_EQ(Cards[follower].inDiscardPile, kTrue);
}

TEST_F(CardActionsTest, AFollowerDraggedIntoItsOwnersHandHidesItsFaceAndOutAgainShowsItUnlessKeptDown) {
    for (const bool keptDown : {false, true}) {
        SCOPED_TRACE(keptDown ? "kept face down" : "face up");
        ASSERT_TRUE(Start(TwoSeatGame()));
        const std::int16_t own = DealtCardOf(1);
        const std::int16_t other = DealtCardOf(2);
        const std::int16_t element = Cards[other].controlIndex;
        MoveOutOfAreas(Cards[own].controlIndex);
        MoveOutOfAreas(element, 1500);
        Cards[other].faceShown = kTrue;
        Cards[other].keptFaceDown = ToFlag(keptDown);
        ToggleCardSelection(Cards[own].controlIndex);
        ToggleCardSelection(element);
        // From the open table to the middle of Bob's area, in whole pixels.
        const std::optional<CardPictureRect> picture = table().CardControlPicture(element);
        ASSERT_TRUE(picture);
        const PlayerAreaShape& area = PlayerAreas[1];
        ASSERT_GE(area.width - picture->width, 60);
        const int dx = (area.left + (area.width - picture->width) / 2 - picture->left) / 15 * 15;
        const int dy = (area.top + (area.height - picture->height) / 2 - picture->top) / 15 * 15;

        DragSelectedCards(dx, dy, own);
        ASSERT_TRUE(IsCardInHand(element, other));
        EXPECT_EQ(Cards[other].faceShown, kFalse);
        DragSelectedCards(-dx, -dy, own);
        ASSERT_FALSE(IsCardInHand(element, other));
        EXPECT_EQ(Cards[other].faceShown, ToFlag(!keptDown));
        EndGroupDrag();
    }
}

TEST_F(CardActionsTest, TheRubberBandSelectsCardsWhoseCentreItHoldsButNoneInAHand) {
    ASSERT_TRUE(Start(TwoSeatGame()));
    const std::int16_t loose = DealtCardOf(1);
    const std::int16_t held = DealtCardOf(2);
    MoveOutOfAreas(Cards[loose].controlIndex);
    const platform::ControlSurface& s = table().crd(Cards[loose].controlIndex)->Surface();
    // Drawn up and to the left: it stays 1 by 1 and selects nothing.
    StartRubberBand(static_cast<float>(s.Left() + s.Width()), static_cast<float>(s.Top() + s.Height()));
    UpdateRubberBand(static_cast<float>(s.Left() - 10), static_cast<float>(s.Top() - 10));
    SelectCardsInRubberBand(0, 0);
    EXPECT_EQ(CountSelectedCards(), 0);
    StartRubberBand(0, 0);
    UpdateRubberBand(20000, 12000);
    SelectCardsInRubberBand(20000, 12000);
    EXPECT_EQ(Cards[loose].selectionMark, 1);
    EXPECT_EQ(Cards[held].selectionMark, -1);
    EXPECT_TRUE(table().crd(Cards[loose].controlIndex)->selected());
    SelectAllCards();
    EXPECT_EQ(CountSelectedCards(), 1);
    ClearSelection();
    EXPECT_EQ(CountSelectedCards(), 0);
    EXPECT_FALSE(table().crd(Cards[loose].controlIndex)->selected());
}

} // namespace

namespace {

namespace driver = platform::testdriver;

// The centre of a control, in its own twips.
int MidX(const platform::ControlSurface& s) {
    return s.Width() / 2;
}
int MidY(const platform::ControlSurface& s) {
    return s.Height() / 2;
}

TEST_F(CardActionsTest, ACardDraggedWithTheMouseFollowsItAndSendsItsPlaceOnce) {
    ASSERT_TRUE(Start(TwoSeatGame()));
    table().Window().Show();
    const std::int16_t card = DealtCardOf(1);
    const std::int16_t element = Cards[card].controlIndex;
    MoveOutOfAreas(element);
    const platform::ControlSurface& s = table().crd(element)->Surface();
    const int left = s.Left();
    const int top = s.Top();
    ASSERT_TRUE(driver::MouseDown(s, 1, 0, MidX(s), MidY(s)));
    ASSERT_TRUE(driver::MouseMove(s, 1, 0, MidX(s) + 300, MidY(s) + 150));
    ASSERT_TRUE(driver::MouseUp(s, 1, 0, MidX(s), MidY(s)));
    EXPECT_NEAR(s.Left(), left + 300, 15);
    EXPECT_NEAR(s.Top(), top + 150, 15);
    ASSERT_EQ(recorder.Commands(), std::vector<std::string>{"CMOVE"});
    EXPECT_EQ(recorder.sent[0].fields[0], std::to_string(element));
    EXPECT_EQ(DraggedCard, -1);
}

TEST_F(CardActionsTest, ACardAndTheSelectedCardsFollowingItStopAtTheTablesEdges) {
    ASSERT_TRUE(Start(TwoSeatGame("", "", "", 2)));
    table().Window().Show();
    std::vector<std::int16_t> own;
    for (int card = 1; card <= Game.totalCards; ++card)
        if (Cards[card].owner == 1 && Cards[card].controlIndex >= 0)
            own.push_back(static_cast<std::int16_t>(card));
    ASSERT_EQ(own.size(), 2u);
    const controls::TranspImg& image = *table().crd(Cards[own[0]].controlIndex);
    const controls::TranspImg& follower = *table().crd(Cards[own[1]].controlIndex);
    MoveOutOfAreas(Cards[own[0]].controlIndex);
    MoveOutOfAreas(Cards[own[1]].controlIndex, 1500);
    const platform::ControlSurface& s = image.Surface();
    // Alone, far past the top left corner, then far past the bottom right one.
    for (const int far : {-60000, 60000}) {
        SCOPED_TRACE(far);
        ASSERT_TRUE(driver::MouseDown(s, 1, 0, MidX(s), MidY(s)));
        ASSERT_TRUE(driver::MouseMove(s, 1, 0, MidX(s) + far, MidY(s) + far));
        ASSERT_TRUE(driver::MouseUp(s, 1, 0, MidX(s), MidY(s)));
        const platform::TwipRect p = MainForm::PictureRectOf(image);
        if (far < 0) {
            EXPECT_NEAR(p.left, 0, 15);
            EXPECT_NEAR(p.top, 0, 15);
        } else {
            EXPECT_NEAR(p.Right(), TableWidth, 15);
            EXPECT_NEAR(p.Bottom(), TableHeight, 15);
        }
    }
    // Selected together, back in the middle, the two stop when the one further out meets the edge.
    MoveOutOfAreas(Cards[own[0]].controlIndex);
    MoveOutOfAreas(Cards[own[1]].controlIndex, 1500);
    ToggleCardSelection(Cards[own[0]].controlIndex);
    ToggleCardSelection(Cards[own[1]].controlIndex);
    const int apart = follower.Surface().Top() - s.Top();
    ASSERT_TRUE(driver::MouseDown(s, 1, 0, MidX(s), MidY(s)));
    ASSERT_TRUE(driver::MouseMove(s, 1, 0, MidX(s), MidY(s) + 60000));
    ASSERT_TRUE(driver::MouseUp(s, 1, 0, MidX(s), MidY(s)));
    const platform::TwipRect both =
        Enclosing(MainForm::PictureRectOf(image), MainForm::PictureRectOf(follower));
    EXPECT_NEAR(both.Bottom(), TableHeight, 15);
    EXPECT_EQ(follower.Surface().Top() - s.Top(), apart) << "the group keeps its shape";
}

TEST_F(CardActionsTest, AnOpponentsHandCardRefusesTheDragAndASelectedOneDoesNotFollowAGroupDrag) {
    ASSERT_TRUE(Start(TwoSeatGame()));
    table().Window().Show();
    const std::int16_t own = DealtCardOf(1);
    const std::int16_t other = DealtCardOf(2);
    MoveOutOfAreas(Cards[own].controlIndex);
    ToggleCardSelection(Cards[own].controlIndex);
    ToggleCardSelection(Cards[other].controlIndex);
    const platform::ControlSurface& otherSurface = table().crd(Cards[other].controlIndex)->Surface();
    const int otherLeft = otherSurface.Left();
    const platform::ControlSurface& s = table().crd(Cards[own].controlIndex)->Surface();
    ASSERT_TRUE(driver::MouseDown(s, 1, 0, MidX(s), MidY(s)));
    ASSERT_TRUE(driver::MouseMove(s, 1, 0, MidX(s) + 450, MidY(s)));
    ASSERT_TRUE(driver::MouseUp(s, 1, 0, MidX(s), MidY(s)));
    EXPECT_EQ(otherSurface.Left(), otherLeft);
    EXPECT_EQ(recorder.Commands(), std::vector<std::string>{"CMOVE"});

    recorder.sent.clear();
    ASSERT_TRUE(driver::MouseDown(otherSurface, 1, 0, MidX(otherSurface), MidY(otherSurface)));
    ASSERT_TRUE(driver::MouseMove(otherSurface, 1, 0, MidX(otherSurface) + 300, MidY(otherSurface)));
    ASSERT_TRUE(driver::MouseUp(otherSurface, 1, 0, MidX(otherSurface), MidY(otherSurface)));
    EXPECT_EQ(otherSurface.Left(), otherLeft);
    EXPECT_THAT(messages.Messages(), ElementsAre("You cannot move the cards on your enemy's hand"));
    EXPECT_THAT(recorder.sent, IsEmpty());
}

TEST_F(CardActionsTest, AScriptedGameOnTheBundledCardsKeepsEveryCardInOnePlace) {
    fixture.Folder().CopyIn(KARVEL_GAMES, "");
    Game.CurrentPlayer = 1;
    ASSERT_TRUE(SetUpNewGame(table(), fixture.Folder().Path() + "\\Parlour Cards.game"));
    Game.GamePhase = kPhasePlaying;
    table().Window().Show();
    ExpectEveryCardInOnePlace();

    for (int k = 0; k < 3; ++k) {
        actions().DeckImg_DblClick(0);
        ExpectEveryCardInOnePlace();
    }
    const std::int16_t drawn = DealtCardOfControl();
    ASSERT_NE(drawn, 0);
    const platform::ControlSurface& s = table().crd(Cards[drawn].controlIndex)->Surface();
    ASSERT_TRUE(driver::MouseDown(s, 1, 0, MidX(s), MidY(s)));
    ASSERT_TRUE(driver::MouseMove(s, 1, 0, MidX(s) + 900, MidY(s) + 600));
    ASSERT_TRUE(driver::MouseUp(s, 1, 0, MidX(s), MidY(s)));
    ExpectEveryCardInOnePlace();
    actions().MenuCard = Cards[drawn].controlIndex;
    actions().Flip_Click();
    ExpectEveryCardInOnePlace();
    actions().DiscardCardProcedure();
    ExpectEveryCardInOnePlace();
    Game.decks[0].draw_last_discard = kTrue;
    actions().MenuDeck = 0;
    actions().DrawLastDiscardItem_Click();
    ExpectEveryCardInOnePlace();
    actions().MenuCard = Cards[drawn].controlIndex;
    actions().DiscardCardProcedure();
    actions().MenuDeck = 0;
    actions().ReshuffleAction_Click();
    ExpectEveryCardInOnePlace();
    actions().MenuDeck = 0;
    actions().ReshuffleDrawDeckMenuItem_Click();
    ExpectEveryCardInOnePlace();
    EXPECT_THAT(messages.Messages(), IsEmpty());
}

} // namespace
