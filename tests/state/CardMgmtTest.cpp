#include "ReaderTestSupport.h"
#include "TestSupport.h"

#include "state/CardMgmt.h"
#include "state/EffectMgmt.h"
#include "state/TableState.h"
#include "state/ZOrder.h"

#include "state/Model.h"
#include <gmock/gmock.h>

#include <gtest/gtest.h>

#include <vector>

namespace {

class DealCardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Model().Reset();
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
    void TearDown() override { Model().Reset(); }
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

namespace {

struct OpeningDealCase {
    const char* name;
    const char* definition;
    // The seat each ON_HAND card ends with, in card order.
    std::vector<std::int16_t> onHandSeats;
};

class OpeningDealTest : public testing::TestWithParam<OpeningDealCase> {
  protected:
    void SetUp() override { readertest::ResetReaderState(); }
    void TearDown() override { readertest::ResetReaderState(); }
};

// The opening deal of every deck's `deal` count, round the seats, then the ON_HAND cards.
void DealOpeningCards() {
    for (int deck = 0; deck < Game.deckCount; ++deck)
        for (int k = 1; k <= Game.decks[deck].deal; ++k)
            for (int seat = 1; seat <= Game.playerCount; ++seat)
                if (Game.decks[deck].owner == 0 || Game.decks[deck].owner == seat)
                    DealCard(static_cast<std::int16_t>(deck), static_cast<std::int16_t>(seat),
                             static_cast<std::int16_t>(k), -1, true);
    ProcessOnHandCards();
}

} // namespace

TEST_P(OpeningDealTest, EveryCardLiesInOnePlaceAndOnHandCardsReachASeat) {
    readertest::DefinitionFolder definition;
    testsupport::MessageRecorder messages;
    ASSERT_TRUE(definition.LoadText(GetParam().definition));
    DealOpeningCards();
    EXPECT_THAT(messages.Messages(), testing::IsEmpty());
    EXPECT_THAT(readertest::CardPlaceFaults(), testing::IsEmpty());

    std::vector<std::int16_t> seats;
    for (int card = 1; card <= Game.totalCards; ++card) {
        if (CardHasEffect(static_cast<std::int16_t>(card), kOnHand))
            seats.push_back(Cards[card].inHand ? Cards[card].owner : std::int16_t{0});
        if (Cards[card].inHand) {
            EXPECT_GE(Cards[card].owner, 1) << card;
            EXPECT_LE(Cards[card].owner, Game.playerCount) << card;
        }
    }
    EXPECT_EQ(seats, GetParam().onHandSeats);
    for (int deck = 0; deck < Game.deckCount; ++deck) {
        const std::vector<int> pile = readertest::DrawPile(deck);
        if (!pile.empty()) {
            EXPECT_EQ(Cards[pile.front()].pilePosition, Game.nextDrawPositions[deck]) << deck;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Definitions, OpeningDealTest,
    testing::Values(
        // split defaults to TRUE: the ON_HAND cards stayed common while the rest was split.
        OpeningDealCase{"SplitCommonDeck",
                        "[GAME]\nplayers=2\ncommon_decks=1\nexternal_hand=TRUE\ndirectory=cards\n"
                        "[COMMON 1]\ndeckSize=2\ncard1=(x3)h.bmp,ON_HAND,,H,\ncard2=a.bmp,,,A,\n",
                        {1, 2, 1}},
        OpeningDealCase{"OwnerPropertyAndOnPlayOnTableHands",
                        "[GAME]\nplayers=3\ncommon_decks=1\ndirectory=cards\n"
                        "[COMMON 1]\nsplit=FALSE\ndeal=1\ndeckSize=4\ncard1=o.bmp,ON_HAND,$OWNER=3,O,\n"
                        "card2=p.bmp,ON_PLAY,,P,\ncard3=(x2)a.bmp,,,A,\ncard4=h.bmp,on_hand,,H,\n",
                        {3, 1}},
        OpeningDealCase{
            "PlayerDeckAfterItsDeal",
            "[GAME]\nplayers=2\nexternal_hand=TRUE\ndirectory=cards\n[PLAYER 1]\ndecks=1\n[PLAYER "
            "2]\ndecks=1\n"
            "[DECK 1 PLAYER 1]\ndecksize=2\ndeal=2\ncard1=(x3)a.bmp,,,A,\ncard2=h.bmp,ON_HAND,,H,\n"
            "[DECK 1 PLAYER 2]\ndecksize=1\ncard1=h.bmp,ON_HAND,,H,\n",
            {1, 2}},
        OpeningDealCase{"NoPlayers",
                        "[GAME]\nplayers=0\ncommon_decks=1\ndirectory=cards\n"
                        "[COMMON 1]\ndeckSize=2\ncard1=h.bmp,ON_HAND,,H,\ncard2=a.bmp,,,A,\n",
                        {0}}),
    [](const testing::TestParamInfo<OpeningDealCase>& info) { return std::string(info.param.name); });

namespace {

TEST(RebaseImagePaths, DeckPicturesMoveIntoThisProgramsImageFolderByTheirNamesAlone) {
    Model().Reset();
    testsupport::TempProgramFolder folder;
    Game.directory = "cards";
    Game.deckCount = 2;
    const std::string here = folder.Path() + "\\cards\\";
    struct Case {
        const char* name;
        std::string saved;
        std::string rebased;
    };
    const std::vector<Case> cases = {
        {"another machine's folder", "C:\\Games\\Old\\cards\\back.gif", here + "back.gif"},
        {"a name alone", "empty.gif", here + "empty.gif"},
        {"forward slashes", "/home/someone/cards/red.png", here + "red.png"},
        {"a way out of the folder", "cards\\..\\..", here},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Game.backImages[1] = c.saved;
        Game.discardImages[1] = c.saved;
        Game.backImages[2] = "untouched";
        RebaseImagePaths();
        EXPECT_EQ(Game.backImages[1], c.rebased);
        EXPECT_EQ(Game.discardImages[1], c.rebased);
        EXPECT_EQ(Game.backImages[2], "untouched"); // beyond the deck count
    }
    Model().Reset();
}

} // namespace
