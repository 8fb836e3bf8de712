// Whatever a definition holds (ON_PLAY and ON_HAND cards, decks dealt out among the players or
// cut into parts, lines left out by options, copies), after loading every card lies in exactly one
// place, every draw pile is numbered 1..N and the deck sizes count exactly the cards made.
#include "ReaderTestSupport.h"

#include "state/Helpers.h"
#include "state/TableState.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using testing::IsEmpty;

namespace {

struct InvariantCase {
    const char* name;
    std::string text;
    int totalCards;
    int deckCount;
    std::vector<std::string> messages;
};

void PrintTo(const InvariantCase& c, std::ostream* out) {
    *out << c.name;
}

std::string CommonDeck(int n, const std::string& directives, const std::vector<std::string>& lines) {
    std::string text = "[COMMON " + std::to_string(n) + "]\n" + directives +
                       "deckSize=" + std::to_string(lines.size()) +
                       "\nimg_back=back.bmp\nimg_discard=discard.bmp\n";
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += "card" + std::to_string(i + 1) + "=" + lines[i] + "\n";
    return text;
}

const std::string kMixedLines[] = {
    "a.bmp,,,A,", "b.bmp,ON_PLAY,,B,", "c.bmp,,,C,",        "d.bmp,ON_HAND,$OWNER=2,D,",
    "e.bmp,,,E,", "f.bmp,ON_PLAY,,F,", "g.bmp,ON_HAND,,G,", "h.bmp,,,H,"};
const std::vector<std::string> kMixed(std::begin(kMixedLines), std::end(kMixedLines));

std::vector<InvariantCase> Cases() {
    const std::string game2 = "[GAME]\nplayers=2\ndirectory=cards\n";
    const std::string game3 = "[GAME]\nplayers=3\ndirectory=cards\n";
    return {
        {"OnPlayAndOnHandWithTableHands",
         game2 + "common_decks=1\n" + CommonDeck(1, "split=FALSE\n", kMixed),
         8,
         1,
         {}},
        {"OnPlayAndOnHandWithHandWindow",
         game2 + "external_hand=TRUE\ncommon_decks=1\n" + CommonDeck(1, "split=FALSE\n", kMixed),
         8,
         1,
         {}},
        {"SplitAmongPlayers",
         game3 + "common_decks=2\n" + CommonDeck(1, "", kMixed) +
             CommonDeck(2, "", {"x.bmp,,,X,", "y.bmp,,,Y,"}) +
             "[PLAYER 2]\ndecks=1\n[DECK 1 PLAYER "
             "2]\ndecksize=2\ncard1=p.bmp,ON_PLAY,,P,\ncard2=q.bmp,,,Q,\n",
         12,
         5,
         {}},
        {"SplitIntoParts",
         game2 + "common_decks=1\n" +
             CommonDeck(1, "split=FALSE\nsplit_decks=3,ROW\ndeal=5\n",
                        {"(x3)a.bmp,,,A,", "b.bmp,ON_PLAY,,B,", "(x4)c.bmp,,,C,", "d.bmp,ON_HAND,,D,",
                         "e.bmp,,,E,"}),
         10,
         3,
         {}},
        {"OptionFilteredLines",
         game2 + "common_decks=2\n[OPTIONS]\nnum_options=2\noption1=ON,On,1,TRUE\noption2=OFF,Off,2,\n" +
             "[COMMON 1]\nsplit=FALSE\ndeckSize=9\nlastCard=6\ncard1=a.bmp,,,A,OFF\ncard2=b.bmp,,,B,ON\n"
             "card4=c.bmp,,,C,\ncard5=(x2)d.bmp,ON_PLAY,,D,OFF+ON\ncard6=e.bmp,,,E,OFF\n" +
             "[COMMON 2]\ndeckSize=3\ncard1=f.bmp,,,F,OFF\ncard2=g.bmp,,,G,\ncard3=h.bmp,ON_HAND,,H,ON\n",
         6,
         3,
         {}},
        {"CopiesEverywhere",
         game2 + "common_decks=1\n" +
             CommonDeck(1, "split=FALSE\nnoReshuffle=TRUE\n", {"(x4)a.bmp,,,A,", "(x0)b.bmp,,,B,"}) +
             "[PLAYER 1]\ndecks=1\n[DECK 1 PLAYER "
             "1]\ndecksize=2\ncard1=(x5)p.bmp,,,P,\ncard2=(x2)q.bmp,ON_HAND,,Q,\n",
         12,
         2,
         {}},
        {"EverythingAtOnce",
         game3 + "common_decks=3\n[OPTIONS]\nnum_options=1\noption1=ON,On,3,TRUE\n" +
             CommonDeck(1, "", kMixed) +
             CommonDeck(2, "split=FALSE\nsplit_decks=2,COL\nshuffleAndRotate=TRUE\nrotate=0,180\n",
                        {"(x5)r.bmp,,,R,", "s.bmp,ON_PLAY,,S,", "t.bmp,,,T,ON", "u.bmp,,,U,OFF"}) +
             CommonDeck(3, "split=FALSE\n", {"v.bmp,ON_HAND,,V,"}) +
             "[PLAYER 1]\ndecks=1\n[DECK 1 PLAYER 1]\ndecksize=1\ncard1=(x2)w.bmp,,,W,\n",
         18,
         7,
         {}},
        {"DeckTableFull",
         game3 + "common_decks=10\n" + CommonDeck(1, "", {"a.bmp,,,A,", "b.bmp,,,B,", "c.bmp,,,C,"}) +
             CommonDeck(2, "split=FALSE\nsplit_decks=4,ROW\n", {"(x8)d.bmp,,,D,"}) +
             [] {
                 std::string more;
                 for (int n = 3; n <= 10; ++n)
                     more += CommonDeck(n, "split=FALSE\n", {"z.bmp,,,Z,"});
                 return more;
             }(),
         19,
         12,
         {"Too many decks: [COMMON 1] cannot be split further (at most 12 decks)",
          "Too many decks: [COMMON 2] cannot be split further (at most 12 decks)"}},
    };
}

class ReaderInvariantTest : public testing::TestWithParam<InvariantCase> {
  protected:
    void SetUp() override { readertest::ResetReaderState(); }
    void TearDown() override { readertest::ResetReaderState(); }
};

TEST_P(ReaderInvariantTest, EveryCardLiesInExactlyOnePlaceAndDrawPilesAreNumberedWithoutGaps) {
    const InvariantCase& c = GetParam();
    readertest::DefinitionFolder definition;
    const std::string path = definition.Write("inv.game", c.text);
    for (int seed = 0; seed < 25; ++seed) {
        testsupport::MessageRecorder messages;
        SeedRandom(seed);
        ASSERT_TRUE(definition.Load(path));
        EXPECT_EQ(Game.totalCards, c.totalCards);
        EXPECT_EQ(Game.deckCount, c.deckCount);
        EXPECT_EQ(messages.Messages(), c.messages);
        EXPECT_THAT(readertest::CardPlaceFaults(), IsEmpty()) << "seed " << seed;
        if (HasFailure()) break;
    }
}

INSTANTIATE_TEST_SUITE_P(Definitions, ReaderInvariantTest, testing::ValuesIn(Cases()),
                         [](const testing::TestParamInfo<InvariantCase>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
