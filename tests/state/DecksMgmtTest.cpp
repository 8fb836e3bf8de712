// Deck operations on hand-built tables: the three shuffles, finding and listing pile cards, the
// restricted actions, and splitting decks among the players and into parts.
#include "ReaderTestSupport.h"

#include "state/DecksMgmt.h"
#include "state/EffectMgmt.h"
#include "state/HandMgmt.h"
#include "state/Helpers.h"
#include "state/TableState.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using readertest::CardPlaceFaults;
using readertest::DrawPile;
using testing::ElementsAre;
using testing::IsEmpty;
using testsupport::MessageRecorder;

namespace {

class DecksMgmtTest : public testing::Test {
  protected:
    void SetUp() override {
        readertest::ResetReaderState();
        EffectDef[1].name = kOnHand;
        EffectDef[2].name = kOnPlay;
        Game.effectCount = 2;
        Game.playerCount = 3;
        SeedRandom(7);
    }
    void TearDown() override { readertest::ResetReaderState(); }

    // Adds a deck of n cards numbered on from the last card, at positions 1..n in card order.
    int AddDeck(int n, std::int16_t owner = 0) {
        const int deck = Game.deckCount++;
        Game.decks[deck].owner = owner;
        Game.decks[deck].section = "COMMON " + std::to_string(deck + 1);
        Game.decks[deck].firstCard = static_cast<std::int16_t>(Game.totalCards + 1);
        for (int i = 1; i <= n; ++i) {
            CardRecord& c = Cards[++Game.totalCards];
            c = NewCardRecord(static_cast<std::int16_t>(deck));
            c.owner = owner;
            c.key = "d" + std::to_string(deck) + "c" + std::to_string(i);
            c.pilePosition = static_cast<std::int16_t>(i);
        }
        Game.deckSizes[deck] = static_cast<std::int16_t>(n);
        CardsCreated = Game.totalCards;
        return deck;
    }

    static void Give(int card, int slot) { Cards[card].effects[static_cast<std::size_t>(slot - 1)] = kTrue; }
    static void OnPlay(int card) { Give(card, 2); }
    static void Discarded(int card, int position) {
        Cards[card].inDiscardPile = kTrue;
        Cards[card].pilePosition = static_cast<std::int16_t>(position);
    }
    static std::vector<std::string> Keys(const std::vector<int>& cards) {
        std::vector<std::string> keys;
        for (int card : cards)
            keys.push_back(Cards[card].key);
        return keys;
    }

    MessageRecorder messages;
};

TEST_F(DecksMgmtTest, NoReshuffleKeepsCardOrderInEveryMode) {
    const int deck = AddDeck(5);
    Game.decks[deck].noReshuffle = kTrue;
    for (int card = 1; card <= 5; ++card) // positions run against card order
        Cards[card].pilePosition = static_cast<std::int16_t>(6 - card);
    ShuffleDeck(0, false, true);
    EXPECT_THAT(DrawPile(0), ElementsAre(1, 2, 3, 4, 5));
    Discarded(3, 1);
    ShuffleDeck(0, true, false);
    EXPECT_THAT(DrawPile(0), ElementsAre(1, 2, 3, 4, 5));
}

TEST_F(DecksMgmtTest, DrawPileReshuffleLeavesTheDiscardPileAndTheTable) {
    AddDeck(7);
    Discarded(5, 1);
    Discarded(6, 2);
    Cards[7].pilePosition = kPileInPlay;
    Cards[7].controlIndex = 0;
    for (int seed = 0; seed < 20; ++seed) {
        SeedRandom(seed);
        ShuffleDeck(0, false, true);
        std::vector<int> pile = DrawPile(0);
        std::sort(pile.begin(), pile.end());
        EXPECT_THAT(pile, ElementsAre(1, 2, 3, 4));
        EXPECT_TRUE(Cards[5].inDiscardPile && Cards[5].pilePosition == 1);
        EXPECT_TRUE(Cards[6].inDiscardPile && Cards[6].pilePosition == 2);
        EXPECT_EQ(Cards[7].pilePosition, kPileInPlay);
        EXPECT_EQ(Cards[7].controlIndex, 0);
    }
}

TEST_F(DecksMgmtTest, DiscardReshuffleJoinsBothPilesAndLeavesHandsAndTable) {
    Game.external_hand = kTrue;
    AddDeck(8);
    Discarded(5, 1);
    Discarded(6, 2);
    Cards[7].pilePosition = kPileInPlay;
    Cards[7].controlIndex = 0;
    Cards[8].pilePosition = kPileInPlay;
    Cards[8].inHand = kTrue;
    Cards[8].owner = 2;
    ShuffleDeck(0, true, false);
    std::vector<int> pile = DrawPile(0);
    std::sort(pile.begin(), pile.end());
    EXPECT_THAT(pile, ElementsAre(1, 2, 3, 4, 5, 6));
    EXPECT_EQ(CountPileCards(0, true), 0);
    EXPECT_EQ(Cards[7].pilePosition, kPileInPlay);
    EXPECT_EQ(Cards[8].pilePosition, kPileInPlay);
    EXPECT_TRUE(Cards[8].inHand);
}

TEST_F(DecksMgmtTest, FirstShuffleLeavesOnPlayAndHandCardsOutWithoutAGap) {
    // In a game whose hands lie on the table an ON_HAND card has no control at load, so it is in a
    // hand by its flag only; it must neither be counted nor leave a hole in the numbering.
    for (const bool externalHand : {false, true}) {
        SetUp();
        Game.external_hand = ToFlag(externalHand);
        AddDeck(6);
        for (int card = 1; card <= 6; ++card)
            Cards[card].pilePosition = 0;
        OnPlay(2);
        Give(5, 1);
        DealOnHandCards();
        ShuffleDeck(0, false, false);
        std::vector<int> pile = DrawPile(0);
        std::sort(pile.begin(), pile.end());
        EXPECT_THAT(pile, ElementsAre(1, 3, 4, 6)) << externalHand;
        EXPECT_EQ(Cards[2].pilePosition, 0);
        EXPECT_EQ(Cards[5].pilePosition, kPileInPlay);
        EXPECT_THAT(CardPlaceFaults(), IsEmpty()) << externalHand;
    }
}

TEST_F(DecksMgmtTest, DiscardedOnPlayCardIsShuffledBackRatherThanLost) {
    AddDeck(4);
    OnPlay(2);
    Discarded(2, 1);
    Cards[3].pilePosition = 2; // closes the pile after card 2 left it
    Cards[4].pilePosition = 3;
    ShuffleDeck(0, true, false);
    EXPECT_FALSE(Cards[2].inDiscardPile);
    EXPECT_GE(Cards[2].pilePosition, 1);
    EXPECT_THAT(CardPlaceFaults(), IsEmpty());
}

TEST_F(DecksMgmtTest, OnPlayCardPutBackDuringPlayJoinsTheDrawPile) {
    // At load an ON_PLAY card waits at position 0 for the table; once play has started, position 0
    // means "put back, waiting for the shuffle", and the card must not stay hidden there.
    for (const bool withDiscard : {false, true}) {
        SetUp();
        AddDeck(4);
        OnPlay(2);
        Cards[2].pilePosition = 0; // put back from the table
        Cards[3].pilePosition = 2;
        Cards[4].pilePosition = 3;
        Game.GamePhase = kPhasePlaying;
        ShuffleDeck(0, withDiscard, !withDiscard);
        std::vector<int> pile = DrawPile(0);
        std::sort(pile.begin(), pile.end());
        EXPECT_THAT(pile, ElementsAre(1, 2, 3, 4)) << withDiscard;
        EXPECT_GE(Cards[2].pilePosition, 1) << withDiscard;
    }
}

TEST_F(DecksMgmtTest, CardDiscardedFromATableHandIsReshuffledWithItsPileIntoNoHand) {
    // In a game whose hands lie on the table, a card discarded straight from its owner's area
    // keeps its in-hand flag; it lies in the discard pile all the same and must come back.
    AddDeck(4);
    Cards[1].owner = 1;
    Cards[1].inHand = kTrue;
    Cards[1].faceShown = kTrue;
    Discarded(1, 1);
    Cards[2].pilePosition = 1;
    Cards[3].pilePosition = 2;
    Cards[4].pilePosition = 3;
    ShuffleDeck(0, true, false);
    EXPECT_FALSE(Cards[1].inDiscardPile);
    // Back in the draw pile it lies face down in no hand, as the other side's copy of the order
    // leaves it.
    EXPECT_FALSE(Cards[1].inHand);
    EXPECT_FALSE(Cards[1].faceShown);
    std::vector<int> pile = DrawPile(0);
    std::sort(pile.begin(), pile.end());
    EXPECT_THAT(pile, ElementsAre(1, 2, 3, 4));
    EXPECT_EQ(CountPileCards(0, true), 0);
}

TEST_F(DecksMgmtTest, ShuffleAndRotateTurnsCardsToAngleOfTheList) {
    AddDeck(30);
    Game.decks[0].rotate = "0,180";
    for (int card = 1; card <= 30; ++card)
        Cards[card].rotation = 90;
    ShuffleDeck(0, false, true);
    for (int card = 1; card <= 30; ++card)
        EXPECT_EQ(Cards[card].rotation, 0);
    Game.decks[0].shuffleAndRotate = kTrue;
    ShuffleDeck(0, false, true);
    std::set<int> seen;
    for (int card = 1; card <= 30; ++card)
        seen.insert(Cards[card].rotation);
    EXPECT_THAT(seen, ElementsAre(0, 180));
}

TEST_F(DecksMgmtTest, FindCardAndEmptyDeck) {
    AddDeck(4);
    Cards[3].pilePosition = 2; // cards 2 and 3 share place 2
    Cards[4].pilePosition = 5;
    EXPECT_EQ(FindCard(0, 2, false), 2);
    EXPECT_EQ(FindCard(0, 4, false), -1);
    EXPECT_EQ(FindCard(0, 1, true), -1);
    Game.nextDrawPositions[0] = 3; // inside the size, but no card lies there
    EXPECT_TRUE(IsDeckEmpty(0));
    Game.nextDrawPositions[0] = 1;
    EXPECT_FALSE(IsDeckEmpty(0));
    Game.nextDrawPositions[0] = 5;
    EXPECT_TRUE(IsDeckEmpty(0));
}

TEST_F(DecksMgmtTest, ListDrawPileCardsPassesOverFaceUpCardsAndStopsAtTheMaximum) {
    AddDeck(6);
    Cards[2].faceShown = kTrue;
    Game.nextDrawPositions[0] = 1;
    EXPECT_THAT(ListDrawPileCards(0, 501), ElementsAre(1, 3, 4, 5, 6));
    EXPECT_THAT(ListDrawPileCards(0, 2), ElementsAre(1, 3));
    Game.nextDrawPositions[0] = 7;
    EXPECT_THAT(ListDrawPileCards(0, 501), IsEmpty());
    EXPECT_THAT(ListDrawPileCards(12, 501), IsEmpty()) << "no such deck";
}

TEST_F(DecksMgmtTest, HandCardsAreListedAndCountedInCardOrder) {
    Game.external_hand = kTrue;
    AddDeck(5);
    for (int card : {4, 2}) {
        Cards[card].inHand = kTrue;
        Cards[card].owner = 2;
        Cards[card].pilePosition = kPileInPlay;
    }
    EXPECT_EQ(CountHandCards(2), 2);
    EXPECT_THAT(ListHandCards(2), ElementsAre(2, 4));
    EXPECT_EQ(CountPileCards(0, false), 3);
}

struct ActionCase {
    const char* name;
    std::int16_t player;
    const char* action;
    std::int16_t owner;
    const char* restricted;
    bool design;
    bool arbitrator;
    bool allowed;
};

class ActionTest : public DecksMgmtTest, public testing::WithParamInterface<ActionCase> {};

TEST_P(ActionTest, RestrictionsBindOtherPlayersCards) {
    const ActionCase& c = GetParam();
    AddDeck(1, c.owner);
    Game.decks[0].restricted_actions = c.restricted;
    DesignMode = ToFlag(c.design);
    ArbitratorLoggedIn = ToFlag(c.arbitrator);
    EXPECT_EQ(IsActionAllowed(c.player, c.action, 1), c.allowed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ActionTest,
    testing::Values(ActionCase{"OwnCard", 1, "DISCARD", 1, "DISCARD", false, false, true},
                    ActionCase{"CommonCard", 1, "DISCARD", 0, "DISCARD", false, false, false},
                    ActionCase{"CommonCardOtherSeat", 3, "DISCARD", 0, "DISCARD", false, false, false},
                    ActionCase{"OtherPlayersCard", 2, "FLIP", 1, "FLIPDISCARD", false, false, false},
                    ActionCase{"BlankSeparated", 2, "DISCARD", 1, "FLIP DISCARD", false, false, false},
                    ActionCase{"NotRestricted", 2, "ROTATE", 1, "FLIP,DISCARD", false, false, true},
                    ActionCase{"DesignSession", 2, "FLIP", 1, "FLIP", true, false, true},
                    ActionCase{"Arbitrator", 2, "FLIP", 1, "FLIP", false, true, true},
                    ActionCase{"OutsideTheFive", 2, "TAKE", 1, "TAKE", false, false, true},
                    ActionCase{"LowerCaseNameSearchedAsPassed", 2, "flip", 1, "FLIP", false, false, true}),
    [](const testing::TestParamInfo<ActionCase>& info) { return std::string(info.param.name); });

TEST_F(DecksMgmtTest, SplitAmongThreePlayersDealsInTurn) {
    AddDeck(10);
    Game.decks[0].split = kTrue;
    SplitDeckAmongPlayers();
    ASSERT_EQ(Game.deckCount, 4);
    EXPECT_EQ(Game.decks[1].section, "DECK 1 PLAYER 1");
    EXPECT_EQ(Game.decks[1].owner, 1);
    EXPECT_THAT(Keys(DrawPile(1)), ElementsAre("d0c1", "d0c4", "d0c7", "d0c10"));
    EXPECT_THAT(Keys(DrawPile(2)), ElementsAre("d0c2", "d0c5", "d0c8"));
    EXPECT_EQ(Game.deckSizes[0], 0);
    EXPECT_EQ(Game.deckSizes[1], 4);
    EXPECT_EQ(Cards[4].owner, 1);
    EXPECT_THAT(CardPlaceFaults(), IsEmpty());
    EXPECT_THAT(messages.Messages(), IsEmpty());
}

TEST_F(DecksMgmtTest, SplitCardsGoUnderThePlayersDeckWithoutAGap) {
    // The player's deck holds an ON_PLAY card that waits for the table: its size says 3, its draw
    // pile holds 2, and the cards dealt to it must follow at 3 and 4.
    Game.playerCount = 1;
    AddDeck(2);
    Game.decks[0].split = kTrue;
    AddDeck(3, 1);
    OnPlay(5);
    Cards[5].pilePosition = 0;
    SplitDeckAmongPlayers();
    EXPECT_THAT(Keys(DrawPile(1)), ElementsAre("d1c1", "d1c2", "d0c1", "d0c2"));
    EXPECT_EQ(Game.deckSizes[1], 5);
    EXPECT_THAT(CardPlaceFaults(), IsEmpty());
}

TEST_F(DecksMgmtTest, SplitPassesOverPlacesWithoutACard) {
    Game.playerCount = 2;
    AddDeck(5);
    Game.decks[0].split = kTrue;
    Cards[3].pilePosition = kPileInPlay; // an ON_HAND card dealt at load
    Cards[3].inHand = kTrue;
    Cards[4].pilePosition = 3;
    Cards[5].pilePosition = 4;
    Game.deckSizes[0] = 5;
    SplitDeckAmongPlayers();
    EXPECT_THAT(Keys(DrawPile(1)), ElementsAre("d0c1", "d0c4"));
    EXPECT_THAT(Keys(DrawPile(2)), ElementsAre("d0c2", "d0c5"));
    EXPECT_EQ(Game.deckSizes[0], 1); // the hand card stays in its deck
    EXPECT_THAT(CardPlaceFaults(), IsEmpty());
}

TEST_F(DecksMgmtTest, SplitInTwoLeavesOddPlacesAndMovesEvenOnes) {
    AddDeck(7);
    Game.decks[0].splitCount = 2;
    Game.decks[0].noReshuffle = kTrue;
    Cards[3].pilePosition = 0; // a hole at place 3 does not shift the turn
    OnPlay(3);
    SplitDecks();
    ASSERT_EQ(Game.deckCount, 2);
    EXPECT_EQ(Game.decks[1].splitCount, -2);
    EXPECT_THAT(Keys(DrawPile(0)), ElementsAre("d0c1", "d0c4", "d0c6"));
    EXPECT_THAT(Keys(DrawPile(1)), ElementsAre("d0c2", "d0c5", "d0c7"));
    EXPECT_THAT(CardPlaceFaults(), IsEmpty());
}

TEST_F(DecksMgmtTest, SplitShareTheDealAndTheImages) {
    AddDeck(9);
    Game.decks[0].splitCount = 3;
    Game.decks[0].deal = 10;
    Game.backImages[0] = "back";
    Game.discardImages[0] = "discard";
    SplitDecks();
    ASSERT_EQ(Game.deckCount, 3);
    EXPECT_EQ(Game.decks[0].deal, 4);
    EXPECT_EQ(Game.decks[1].deal, 3);
    EXPECT_EQ(Game.decks[2].deal, 3);
    EXPECT_EQ(Game.decks[2].splitCount, -3);
    EXPECT_EQ(Game.backImages[2], "back");
    EXPECT_EQ(Game.discardImages[1], "discard");
    EXPECT_EQ(Game.nextDrawPositions[2], 1);
    EXPECT_THAT(CardPlaceFaults(), IsEmpty());
}

TEST_F(DecksMgmtTest, SplittingStopsWhenTheDeckTableIsFull) {
    Game.playerCount = 3;
    AddDeck(9);
    Game.decks[0].splitCount = 4;
    for (int d = 1; d < 10; ++d)
        AddDeck(0);
    SplitDecks(); // room for two parts only
    EXPECT_EQ(Game.deckCount, kMaxDecks);
    EXPECT_THAT(messages.Messages(),
                ElementsAre("Too many decks: [COMMON 1] cannot be split further (at most 12 decks)"));
    EXPECT_EQ(Game.deckSizes[0] + Game.deckSizes[10] + Game.deckSizes[11], 9);
    EXPECT_THAT(CardPlaceFaults(), IsEmpty());

    messages.Clear();
    Game.decks[0].split = kTrue;
    SplitDeckAmongPlayers(); // no player has a deck and there is no room for one
    EXPECT_THAT(messages.Messages(),
                ElementsAre("Too many decks: [COMMON 1] cannot be split further (at most 12 decks)"));
    EXPECT_THAT(CardPlaceFaults(), IsEmpty());
}

TEST_F(DecksMgmtTest, CloseDrawPileGapsClosesUpInOrder) {
    AddDeck(3);
    Cards[1].pilePosition = 3;
    Cards[2].pilePosition = 5;
    Cards[3].pilePosition = 7;
    Game.deckSizes[0] = 7;
    CloseDrawPileGaps(0, 3);
    EXPECT_EQ(Cards[1].pilePosition, 3);
    EXPECT_EQ(Cards[2].pilePosition, 4);
    EXPECT_EQ(Cards[3].pilePosition, 5);
    CloseDrawPileGaps(0, 8);
    EXPECT_EQ(Cards[3].pilePosition, 5);
}

TEST_F(DecksMgmtTest, RandomOrderIsAPermutation) {
    for (int n : {1, 2, 3, 52, 500}) {
        std::vector<std::int16_t> order = BuildRandomOrder(static_cast<std::int16_t>(n), false);
        ASSERT_EQ(order.size(), static_cast<std::size_t>(n));
        std::sort(order.begin(), order.end());
        for (int k = 1; k <= n; ++k)
            ASSERT_EQ(order[static_cast<std::size_t>(k - 1)], k) << n;
    }
    EXPECT_THAT(BuildRandomOrder(4, true), ElementsAre(1, 2, 3, 4));
    EXPECT_THAT(BuildRandomOrder(-3, false), IsEmpty());
}

TEST_F(DecksMgmtTest, FindPlayerDeckGivesTheFirstDeckOfTheOwner) {
    AddDeck(1);
    AddDeck(1, 2);
    AddDeck(1, 2);
    EXPECT_EQ(FindPlayerDeck(2), 1);
    EXPECT_EQ(FindPlayerDeck(1), -1);
}

} // namespace
