#include "TestSupport.h"

#include "state/EffectMgmt.h"
#include "state/Model.h"
#include "state/PropertyMgmt.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

const char* const kTwoEffects =
    "[EFFECTS]\nnum_effects=2\neffect1=peek\neffect2=Spy\n"
    "[peek]\nroutine=show_deck\nparams=3\nlabel=Peek at the deck\ndiscard=True\n"
    "[SPY]\nroutine=show_hand\nparams=ShowHidden,TakeCard\nlabel=Spy\ndiscard=yes\n";

class EffectMgmtTest : public ::testing::Test {
  protected:
    void SetUp() override { Model().Reset(); }
    void TearDown() override { Model().Reset(); }

    void LoadFrom(const std::string& name, const std::string& text) {
        folder_.Write(name, text);
        CurrentGameFile = folder_.Path() + "\\" + name;
        LoadEffects();
    }

    testsupport::TempProgramFolder folder_;
};

} // namespace

TEST_F(EffectMgmtTest, WithoutDefinedEffectsTheTableHoldsTheTwoBuiltInOnes) {
    LoadFrom("none.game", "[GAME]\nplayers=2\n");
    EXPECT_EQ(Game.effectCount, 2);
    EXPECT_EQ(EffectDef[1].name, "ON_HAND");
    EXPECT_EQ(EffectDef[1].routine, "ON_HAND");
    EXPECT_EQ(EffectDef[2].name, "ON_PLAY");
    EXPECT_EQ(EffectDef[2].routine, "ON_PLAY");
    EXPECT_EQ(EffectDef[2].label, "");
    EXPECT_EQ(EffectDef[2].discard, kFalse);
    EXPECT_EQ(EffectDef[3].name, "");
}

TEST_F(EffectMgmtTest, DefinedEffectsAreReadFromTheirOwnSections) {
    LoadFrom("two.game", kTwoEffects);
    EXPECT_EQ(Game.effectCount, 4);
    EXPECT_EQ(EffectDef[1].name, "peek");
    EXPECT_EQ(EffectDef[1].routine, "show_deck");
    EXPECT_EQ(EffectDef[1].params, "3");
    EXPECT_EQ(EffectDef[1].label, "Peek at the deck");
    EXPECT_EQ(EffectDef[1].discard, kTrue);
    EXPECT_EQ(EffectDef[2].name, "Spy");
    EXPECT_EQ(EffectDef[2].params, "ShowHidden,TakeCard");
    EXPECT_EQ(EffectDef[2].discard, kFalse);
    EXPECT_EQ(EffectDef[3].name, "ON_HAND");
    EXPECT_EQ(EffectDef[4].name, "ON_PLAY");
}

TEST_F(EffectMgmtTest, EffectsBeyondTheTableAreLeftOutWithAMessage) {
    testsupport::MessageRecorder messages;
    LoadFrom("three.game", "[EFFECTS]\nnum_effects=3\neffect1=a\neffect2=b\neffect3=c\n");
    EXPECT_EQ(messages.Messages(),
              std::vector<std::string>{"The game defines 3 effects: only the first 2 are used"});
    EXPECT_EQ(Game.effectCount, 4);
    EXPECT_EQ(EffectDef[2].name, "b");
    EXPECT_EQ(EffectDef[4].name, "ON_PLAY");
    EXPECT_EQ(FindEffect("c"), -1);
}

TEST_F(EffectMgmtTest, EffectsOfAPreviousGameNeverStay) {
    LoadFrom("two.game", kTwoEffects);
    LoadFrom("none.game", "[GAME]\n");
    EXPECT_EQ(FindEffect("peek"), -1);
    EXPECT_EQ(FindEffect("ON_PLAY"), 2);
    EXPECT_EQ(EffectDef[3].name, "");
    EXPECT_EQ(EffectDef[4].name, "");
    EXPECT_EQ(EffectDef[3].discard, kFalse);
}

TEST_F(EffectMgmtTest, EffectNamesAreFoundWithoutCaseUpToTheirEqualsSign) {
    LoadFrom("two.game", kTwoEffects);
    struct Case {
        const char* name;
        std::int16_t slot;
    } cases[] = {
        {"peek", 1},      {"PEEK", 1},   {"peek=3", 1}, {"spy", 2},    {"on_hand", 3},
        {"ON_PLAY=x", 4}, {"peeks", -1}, {"", -1},      {"=peek", -1}, {"show_deck", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindEffect(c.name), c.slot) << c.name;
}

TEST_F(EffectMgmtTest, CardEffectFlagsFollowTheCardLine) {
    LoadFrom("two.game", kTwoEffects);
    struct Case {
        const char* effects;
        std::array<Flag, kEffectSlots> flags;
    } cases[] = {
        {"peek=3+ON_HAND", {kTrue, kFalse, kTrue, kFalse}}, {"on_play", {kFalse, kFalse, kFalse, kTrue}},
        {"Spy+spy", {kFalse, kTrue, kFalse, kFalse}},       {"", {kFalse, kFalse, kFalse, kFalse}},
        {"peek++unknown", {kTrue, kFalse, kFalse, kFalse}}, // reading stops at the first empty name
    };
    for (const auto& c : cases) {
        Cards[7].effects.fill(kTrue);
        AssignCardEffects(7, c.effects);
        EXPECT_EQ(Cards[7].effects, c.flags) << c.effects;
    }

    AssignCardEffects(7, "peek=3+ON_HAND");
    EXPECT_EQ(CardHasEffect(7, "PEEK"), kTrue);
    EXPECT_EQ(CardHasEffect(7, "on_hand=1"), kTrue);
    EXPECT_EQ(CardHasEffect(7, "ON_PLAY"), kFalse);
    EXPECT_EQ(CardHasEffect(7, "spy"), kFalse);
    EXPECT_EQ(CardHasEffect(7, ""), kFalse);
    EXPECT_EQ(CardHasEffect(8, "peek"), kFalse);
    EXPECT_EQ(CardHasEffect(0, "peek"), kFalse);
}

TEST_F(EffectMgmtTest, AnUnknownEffectOnACardIsNamedAndSetsNothing) {
    LoadFrom("two.game", kTwoEffects);
    testsupport::MessageRecorder messages;
    EXPECT_EQ(AssignCardEffects(12, "peek+Teleport=2+Fly"), "Teleport=2");
    EXPECT_EQ(CardHasEffect(12, "peek"), kTrue);
    EXPECT_EQ(AssignCardEffects(12, "peek"), "");
    EXPECT_TRUE(messages.Messages().empty()) << "the definition reader refuses the game with its message";
}

namespace {

// A deck of `count` cards numbered from `first`, in its draw pile at positions 1..count.
void MakeDeck(std::int16_t deck, std::int16_t owner, int first, int count) {
    Game.decks[deck].owner = owner;
    Game.decks[deck].firstCard = static_cast<std::int16_t>(first);
    Game.deckSizes[deck] = static_cast<std::int16_t>(count);
    Game.nextDrawPositions[deck] = 1;
    for (int i = 0; i < count; ++i) {
        Cards[first + i] = NewCardRecord(deck);
        Cards[first + i].owner = owner;
        Cards[first + i].pilePosition = static_cast<std::int16_t>(i + 1);
    }
    Game.deckCount = std::max<std::int16_t>(Game.deckCount, static_cast<std::int16_t>(deck + 1));
    Game.totalCards = std::max<std::int16_t>(Game.totalCards, static_cast<std::int16_t>(first + count - 1));
}

// The draw-pile positions of a deck's cards, sorted.
std::vector<int> DrawPile(std::int16_t deck) {
    std::vector<int> positions;
    for (int card = 1; card <= Game.totalCards; ++card) {
        if (Cards[card].deck == deck && Cards[card].inDiscardPile == kFalse && Cards[card].pilePosition >= 0)
            positions.push_back(Cards[card].pilePosition);
    }
    std::sort(positions.begin(), positions.end());
    return positions;
}

std::vector<int> OneTo(int n) {
    std::vector<int> positions(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        positions[static_cast<std::size_t>(i)] = i + 1;
    return positions;
}

} // namespace

TEST_F(EffectMgmtTest, CommonOnHandCardsGoToTheirOwnerPropertyOrRoundTheSeats) {
    LoadFrom("two.game", kTwoEffects);
    Game.playerCount = 2;
    Game.external_hand = kTrue;
    MakeDeck(0, 0, 1, 8);
    for (int card : {2, 3, 5, 6, 7})
        AssignCardEffects(static_cast<std::int16_t>(card), "ON_HAND");
    SetCardProperties(5, "$OWNER=2");
    SetCardProperties(7, "$OWNER=9"); // names no seat of this game: dealt round the seats
    ProcessOnHandCards();

    struct Expect {
        int card;
        std::int16_t owner;
        std::int16_t slot;
    } expected[] = {{2, 1, 1}, {3, 2, 1}, {5, 2, 2}, {6, 1, 2}, {7, 2, 3}};
    for (const auto& e : expected) {
        const CardRecord& card = Cards[e.card];
        EXPECT_EQ(card.owner, e.owner) << e.card;
        EXPECT_EQ(card.inHand, kTrue) << e.card;
        EXPECT_EQ(card.pilePosition, kPileInPlay) << e.card;
        EXPECT_EQ(card.faceShown, kTrue) << e.card;
        EXPECT_EQ(card.handLeft, e.slot * 100 + 250) << e.card;
        EXPECT_EQ(card.handTop, e.slot * 100 + 250) << e.card;
    }
    // The three cards left are shuffled into a pile without gaps, drawn from its first place.
    EXPECT_EQ(DrawPile(0), OneTo(3));
    EXPECT_EQ(Game.nextDrawPositions[0], 1);
    EXPECT_EQ(Cards[1].owner, 0);
    EXPECT_EQ(Cards[1].inHand, kFalse);
}

TEST_F(EffectMgmtTest, ThreeCommonOnHandCardsInATwoPlayerGameGoToPlayersOneTwoOne) {
    LoadFrom("none.game", "[GAME]\n");
    Game.playerCount = 2;
    Game.external_hand = kTrue;
    MakeDeck(0, 0, 1, 3);
    for (int card = 1; card <= 3; ++card)
        AssignCardEffects(static_cast<std::int16_t>(card), "ON_HAND");
    ProcessOnHandCards();
    EXPECT_EQ(Cards[1].owner, 1);
    EXPECT_EQ(Cards[2].owner, 2);
    EXPECT_EQ(Cards[3].owner, 1);
    EXPECT_TRUE(DrawPile(0).empty());
}

TEST_F(EffectMgmtTest, PlayerDeckOnHandCardsGoToTheirOwnerAfterTheOpeningDeal) {
    LoadFrom("none.game", "[GAME]\n");
    Game.playerCount = 2;
    Game.external_hand = kFalse;
    Game.CurrentPlayer = 2;
    MakeDeck(0, 0, 1, 4);
    MakeDeck(1, 2, 5, 6);
    // The opening deal gave player 2 the first two cards of its deck.
    for (int card : {5, 6}) {
        Cards[card].pilePosition = kPileInPlay;
        Cards[card].inHand = kTrue;
    }
    Game.nextDrawPositions[1] = 3;
    LoadedCardControls = 2;
    AssignCardEffects(8, "ON_HAND");
    AssignCardEffects(10, "ON_HAND+ON_PLAY");
    ProcessOnHandCards();

    for (int card : {8, 10}) {
        EXPECT_EQ(Cards[card].owner, 2) << card;
        EXPECT_EQ(Cards[card].inHand, kTrue) << card;
        EXPECT_EQ(Cards[card].pilePosition, kPileInPlay) << card;
        EXPECT_EQ(Cards[card].faceShown, kTrue) << card; // the local player's own hand
    }
    // Hands on the table: each dealt card takes the next table control.
    EXPECT_EQ(Cards[8].controlIndex, 2);
    EXPECT_EQ(Cards[10].controlIndex, 3);
    EXPECT_EQ(LoadedCardControls, 4);
    EXPECT_EQ(DrawPile(1), OneTo(2));
    EXPECT_EQ(Game.nextDrawPositions[1], 1);
    // The common deck had no ON_HAND card and is not touched.
    EXPECT_EQ(DrawPile(0), OneTo(4));
    for (int card = 1; card <= 4; ++card)
        EXPECT_EQ(Cards[card].pilePosition, card);
}

TEST_F(EffectMgmtTest, WithoutPlayersCommonOnHandCardsStayInTheirDeck) {
    LoadFrom("none.game", "[GAME]\n");
    Game.playerCount = 0;
    Game.external_hand = kTrue;
    MakeDeck(0, 0, 1, 2);
    AssignCardEffects(1, "ON_HAND");
    ProcessOnHandCards();
    EXPECT_EQ(Cards[1].owner, 0);
    EXPECT_EQ(Cards[1].inHand, kFalse);
    EXPECT_EQ(DrawPile(0), OneTo(2));
}

TEST_F(EffectMgmtTest, OnHandCardsThatNobodyCanTakeGoBackIntoTheirDrawPile) {
    LoadFrom("none.game", "[GAME]\n");
    Game.playerCount = 0;
    for (Flag external : {kTrue, kFalse}) {
        Game.external_hand = external;
        MakeDeck(0, 0, 1, 3);
        // As the reader leaves them: ON_HAND cards wait in a hand for the opening deal.
        for (int card : {1, 3}) {
            AssignCardEffects(static_cast<std::int16_t>(card), "ON_HAND");
            Cards[card].inHand = kTrue;
            Cards[card].pilePosition = kPileInPlay;
        }
        Cards[2].pilePosition = 1;
        ProcessOnHandCards();
        for (int card = 1; card <= 3; ++card) {
            EXPECT_EQ(Cards[card].inHand, kFalse) << card;
            EXPECT_EQ(Cards[card].owner, 0) << card;
        }
        EXPECT_EQ(DrawPile(0), OneTo(3)) << external;
        EXPECT_EQ(Game.nextDrawPositions[0], 1);
    }
}

TEST_F(EffectMgmtTest, OnHandCardsFlaggedAtLoadEachGetTheirOwnPlaceInTheHandWindow) {
    LoadFrom("none.game", "[GAME]\n");
    Game.playerCount = 2;
    Game.external_hand = kTrue;
    MakeDeck(0, 2, 1, 4);
    // Dealt by the opening deal, and flagged in hand at load as ON_HAND cards.
    Cards[1].inHand = kTrue;
    Cards[1].pilePosition = kPileInPlay;
    for (int card : {2, 3}) {
        AssignCardEffects(static_cast<std::int16_t>(card), "ON_HAND");
        Cards[card].inHand = kTrue;
        Cards[card].pilePosition = kPileInPlay;
    }
    ProcessOnHandCards();
    EXPECT_EQ(Cards[2].handLeft, 450);
    EXPECT_EQ(Cards[3].handLeft, 550);
    EXPECT_EQ(DrawPile(0), OneTo(1));
}
