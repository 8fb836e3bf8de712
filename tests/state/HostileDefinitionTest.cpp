// Definitions whose counts and indexes do not fit the tables: each is refused, or cut to fit,
// with its message where it is read, and no checked table's throw ever gets out.
#include "ReaderTestSupport.h"

#include "state/DecksMgmt.h"
#include "state/MarkersMgmt.h"
#include "state/Model.h"
#include "state/PlayerMgmt.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

using readertest::DefinitionFolder;
using testing::Contains;
using testing::HasSubstr;
using testsupport::MessageRecorder;

namespace {

// A sound game of two seats and one common deck of three cards, loaded before each hostile one.
const std::string kSound = "[GAME]\nplayers=2\ncommon_decks=1\ndirectory=img\n"
                           "[PLAYER 1]\nname=Ann\n[PLAYER 2]\nname=Bo\n"
                           "[COMMON 1]\nname=Pile\ndeckSize=3\ncard1=a.bmp\ncard2=b.bmp\ncard3=c.bmp\n";

std::string Game2(const std::string& game, const std::string& rest) {
    return "[GAME]\ndirectory=img\n" + game + rest;
}

struct HostileCase {
    const char* name;
    std::string definition;
    bool loads;          // refused (false) or loaded with the excess cut (true)
    const char* message; // a message that says what was wrong
};

class HostileDefinitionTest : public testing::TestWithParam<HostileCase> {
  protected:
    void SetUp() override { Model().Reset(); }
    void TearDown() override { Model().Reset(); }

    DefinitionFolder definition;
    MessageRecorder messages;
};

} // namespace

TEST_P(HostileDefinitionTest, IsRefusedOrCutWithAMessageAndNeverThrows) {
    const HostileCase& c = GetParam();
    ASSERT_TRUE(definition.LoadText(kSound));
    const GameState sound = Game;
    messages.Clear();

    bool loaded = false;
    EXPECT_NO_THROW(loaded = definition.Load(definition.Write("hostile.game", c.definition)));
    EXPECT_EQ(loaded, c.loads);
    EXPECT_THAT(messages.Messages(), Contains(HasSubstr(c.message)));
    if (!c.loads) {
        // Refused before anything changed: the sound game is still there.
        EXPECT_EQ(Game.totalCards, sound.totalCards);
        EXPECT_EQ(Game.deckCount, sound.deckCount);
        EXPECT_EQ(Game.decks[0].name, "Pile");
        EXPECT_EQ(Cards[2].image, "b.bmp");
    } else {
        EXPECT_THAT(readertest::CardPlaceFaults(), testing::IsEmpty());
        EXPECT_LE(Game.deckCount, kMaxDecks);
        EXPECT_LE(MarkerKindCount, kMaxMarkerKinds);
        EXPECT_LE(MarkerGroupCount, kMaxMarkerGroups);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileDefinitionTest,
    testing::Values(
        HostileCase{"SeatsBeyondTheTable", Game2("players=8\n", ""), false, "8 players, at most 7"},
        HostileCase{"NegativeSeats", Game2("players=-2\n", ""), false, "-2 players"},
        HostileCase{"SeatsBeyond16Bits", Game2("players=1e9\n", ""), false, "players, at most 7"},
        HostileCase{"CommonDecksBeyondTheTable", Game2("common_decks=13\n", ""), false,
                    "13 common decks, at most 12"},
        HostileCase{"NegativeCommonDecks", Game2("common_decks=-1\n", ""), false, "-1 common decks"},
        HostileCase{"PlayerDecksBeyondTheTable",
                    Game2("players=2\ncommon_decks=1\n", "[COMMON 1]\ndeckSize=0\n[PLAYER 1]\ndecks=20\n"),
                    false, "more than 12 decks"},
        HostileCase{"CopyCountBeyondTheCardTable",
                    Game2("common_decks=1\n", "[COMMON 1]\ndeckSize=1\ncard1=(x600)a.bmp\n"), false,
                    "invalid copy count: (x600)a.bmp"},
        HostileCase{"HugeCopyCount",
                    Game2("common_decks=1\n", "[COMMON 1]\ndeckSize=1\ncard1=(x1e99)a.bmp\n"), false,
                    "invalid copy count"},
        HostileCase{
            "CardsBeyondTheCardTable",
            Game2("common_decks=1\n", "[COMMON 1]\ndeckSize=2\ncard1=(x300)a.bmp\ncard2=(x300)b.bmp\n"),
            false, "600 cards, at most 500"},
        HostileCase{"DeckSizeBeyond16Bits", Game2("common_decks=1\n", "[COMMON 1]\ndeckSize=99999\n"), false,
                    "32767 cards, at most 500"},
        HostileCase{
            "SplitIntoMorePartsThanDecks",
            Game2("common_decks=1\n", "[COMMON 1]\ndeckSize=2\ncard1=a.bmp\ncard2=b.bmp\nsplit_decks=50\n"),
            true, "Too many decks"},
        HostileCase{"MarkerKindsBeyondTheTable", Game2("players=1\n", "[PLAYER 1]\nname=Ann\nmarkers=400\n"),
                    true, "reduced to 300"},
        HostileCase{"MarkerGroupsBeyondTheTable", Game2("", "[MARKER GROUPS]\ngroups=50\n"), true,
                    "marker groups reduced to 20"},
        HostileCase{"EffectsBeyondTheTable", Game2("", "[EFFECTS]\nnum_effects=9\n"), true,
                    "defines 9 effects: only the first 2"},
        HostileCase{"OptionsBeyondTheTable", Game2("players=1\n", "[OPTIONS]\nnum_options=40\n"), true,
                    "defines 40 options: only the first 15"},
        HostileCase{"ReportsBeyondTheTable",
                    Game2("common_decks=1\n", "[COMMON 1]\ndeckSize=0\n[REPORTS]\nnum_reports=99\n"), true,
                    "defines 99 reports: only the first 15"},
        HostileCase{"CardNamingAMissingImage",
                    Game2("common_decks=1\n", "[COMMON 1]\ndeckSize=1\ncard1=gone.png\n"), true,
                    "File: gone.png not found on directory img"},
        // Its saves would be refused: the game is refused at once.
        HostileCase{
            "CardImageOutsideTheProgramFolder",
            Game2("common_decks=1\n", "[COMMON 1]\ndeckSize=1\ncard1=../../etc/passwd\n"), false,
            "The game cannot be loaded: the picture ../../etc/passwd of card 1 of [COMMON 1] leaves the "
            "program folder"}),
    [](const testing::TestParamInfo<HostileCase>& info) { return std::string(info.param.name); });

// Numbers that reach the model from a saved game or a peer name nothing when they lie outside
// the tables: the answer is empty and nothing changes.
TEST(IndexesOutsideTheTables, NameNothingAndNeverThrow) {
    Model().Reset();
    const std::function<void()> operations[] = {
        [] { ShuffleDeck(12, false, false); },
        [] { ShuffleDeck(-1, true, false); },
        [] { EXPECT_TRUE(IsDeckEmpty(99)); },
        [] { EXPECT_FALSE(IsCardEliminated(0)); },
        [] { EXPECT_FALSE(IsCardEliminated(501)); },
        [] { CloseDrawPileGaps(-7, 1); },
        [] { EXPECT_TRUE(ListDrawPileCards(12, 5).empty()); },
        [] { EXPECT_EQ(HasMarkerFlag(0, "LOCKED"), kFalse); },
        [] { EXPECT_EQ(HasMarkerFlag(301, "LOCKED"), kFalse); },
        [] { EXPECT_EQ(MarkerKindImagePath(-4), ""); },
        [] { EXPECT_EQ(ListEntryOfType(301), 0); },
        [] { SetPlayerAreaShape(7, "1,2,3,4", kTrue); },
        [] { ShowPlayerArea(-1, kTrue); },
    };
    for (std::size_t i = 0; i < std::size(operations); ++i)
        EXPECT_NO_THROW(operations[i]()) << "operation " << i;
    EXPECT_EQ(Game.deckCount, 0);
    for (const PlayerAreaShape& area : PlayerAreas)
        EXPECT_FALSE(area.visible);
}
