// Cards added during play: the card takes the next free number in the running game, its line goes
// after the deck's last line in the definition so that later games deal it with its deck, and a
// card that cannot be added soundly is refused without changing anything.
#include "ReaderTestSupport.h"

#include "common/Helpers.h"
#include "state/Sarnell.h"
#include "state/TableState.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using readertest::DefinitionFolder;
using testing::ElementsAre;
using testing::HasSubstr;
using testsupport::MessageRecorder;

namespace {

std::string Deck(int n, int lines, const std::string& first = "") {
    std::string text = "[COMMON " + std::to_string(n) + "]\nname=D" + std::to_string(n) + "\nsplit=FALSE" +
                       "\ndecksize=" + std::to_string(lines) + "\nimg_back=b.bmp\nimg_discard=e.bmp\n";
    for (int i = 1; i <= lines; ++i)
        text += "card" + std::to_string(i) + "=" + (i == 1 && !first.empty() ? first : "f.bmp") + ",,,k\n";
    return text;
}

std::string Definition(int decks, const std::string& body) {
    return "[GAME]\nplayers=2\ncommon_decks=" + std::to_string(decks) + "\ndirectory=img\n" + body;
}

// Seat 1's own deck of `cards` cards, pictures p1.bmp, p2.bmp, ...
std::string PlayerDeck(int cards) {
    std::string text =
        "[PLAYER 1]\ndecks=1\n[DECK 1 PLAYER 1]\nsplit=FALSE\nimg_back=b.bmp\nimg_discard=e.bmp\n"
        "decksize=" +
        std::to_string(cards) + "\n";
    for (int i = 1; i <= cards; ++i)
        text += "card" + std::to_string(i) + "=p" + std::to_string(i) + ".bmp,,,p\n";
    return text;
}

// The pictures of the cards 1 to the total, in card order.
std::vector<std::string> CardImages() {
    std::vector<std::string> images;
    for (int c = 1; c <= Game.totalCards; ++c)
        images.push_back(Cards[c].image);
    return images;
}

class NewCardTest : public testing::Test {
  protected:
    void SetUp() override { readertest::ResetReaderState(); }
    void TearDown() override { readertest::ResetReaderState(); }

    std::string Key(const std::string& section, const std::string& key) const {
        return GetIni(section, key, CurrentGameFile);
    }

    DefinitionFolder definition;
    MessageRecorder messages;
};

TEST_F(NewCardTest, ANewCardOfTheOnlyDeckIsWrittenIntoTheDefinitionAndDealtInTheNextGame) {
    ASSERT_TRUE(definition.LoadText(Definition(1, Deck(1, 10))));
    definition.Folder().Write("img/new.bmp", "");
    Game.CurrentPlayer = 2;
    const std::int16_t zBefore = Game.zOrderCount;

    ASSERT_EQ(CreateNewCard(0, "new.bmp"), 11);

    EXPECT_EQ(Key("COMMON 1", "decksize"), "11");
    EXPECT_EQ(Key("COMMON 1", "card11"), "new.bmp");
    EXPECT_EQ(Cards[11].image, "new.bmp");
    EXPECT_EQ(Cards[11].deck, 0);
    EXPECT_EQ(Cards[11].owner, 2);
    EXPECT_EQ(Cards[11].pilePosition, kPileInPlay);
    EXPECT_EQ(Cards[11].faceShown, kTrue);
    EXPECT_EQ(Game.deckSizes[0], 11);
    EXPECT_EQ(Game.totalCards, 11);
    ASSERT_EQ(Game.zOrderCount, zBefore + 1) << "markers attach through the stacking order";
    EXPECT_EQ(Game.ZOrderList[Game.zOrderCount].kind, kZCard);
    EXPECT_EQ(Game.ZOrderList[Game.zOrderCount].index, 11);
    EXPECT_TRUE(messages.Messages().empty());

    readertest::ResetReaderState();
    ASSERT_TRUE(definition.Load(definition.Folder().Path() + "\\test.game"));
    EXPECT_EQ(Game.deckSizes[0], 11);
    EXPECT_EQ(Cards[11].image, "new.bmp");
    EXPECT_TRUE(readertest::CardPlaceFaults().empty());
}

TEST_F(NewCardTest, ALineThatMakesCopiesCountsAsOneLineOfTheDefinition) {
    // Two lines make four cards: the new card is card 5 and the file's third line.
    ASSERT_TRUE(definition.LoadText(Definition(1, Deck(1, 2, "(x3) f.bmp"))));
    ASSERT_EQ(Game.deckSizes[0], 4);
    ASSERT_EQ(CreateNewCard(0, "new.bmp"), 5);
    EXPECT_EQ(Key("COMMON 1", "decksize"), "3");
    EXPECT_EQ(Key("COMMON 1", "card3"), "new.bmp");
    EXPECT_EQ(Key("COMMON 1", "card5"), "");
}

TEST_F(NewCardTest, ACardThatCannotBeAddedSoundlyIsRefusedWithAMessageAndChangesNothing) {
    struct Case {
        const char* name;
        std::string game;
        std::int16_t deck;
        std::string line;
        const char* message;
    };
    std::string full;
    for (int d = 1; d <= 5; ++d)
        full += Deck(d, 100);
    const std::vector<Case> cases = {
        {"the card table is full", Definition(5, full), 4, "new.bmp", "500 cards"},
        {"a comma would cut the line", Definition(1, Deck(1, 3)), 0, "a,b.bmp",
         "cannot stand in a card line"},
        {"a deck beyond the common decks", Definition(1, Deck(1, 3)), 1, "new.bmp", "no common deck"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        readertest::ResetReaderState();
        ASSERT_TRUE(definition.LoadText(c.game));
        const std::string before = definition.Folder().Read("test.game");
        const std::int16_t total = Game.totalCards;
        const std::int16_t stacked = Game.zOrderCount;
        messages.Clear();

        EXPECT_EQ(CreateNewCard(c.deck, c.line), 0);

        ASSERT_EQ(messages.Messages().size(), 1u);
        EXPECT_THAT(messages.Messages()[0], HasSubstr("You cannot add a new card"));
        EXPECT_THAT(messages.Messages()[0], HasSubstr(c.message));
        EXPECT_EQ(definition.Folder().Read("test.game"), before);
        EXPECT_EQ(Game.totalCards, total);
        EXPECT_EQ(Game.zOrderCount, stacked);
        EXPECT_TRUE(readertest::CardPlaceFaults().empty());
    }
}

TEST_F(NewCardTest, ANewCardTakesTheNextFreeNumberAndLaterGamesDealItWithItsDeck) {
    struct Case {
        const char* name;
        std::string game;
        std::int16_t number;            // in the running game
        const char* lastLine;           // the key of the new line
        std::vector<const char*> keys;  // decksize, then lastCard ("" when the deck has none)
        std::vector<std::string> later; // the cards of the next game, in card order
    };
    const std::string lastCardDeck =
        "[COMMON 1]\nname=D1\nsplit=FALSE\nlastCard=4\ndecksize=3\n"
        "img_back=b.bmp\nimg_discard=e.bmp\ncard1=f.bmp\ncard2=g.bmp\ncard4=h.bmp\n";
    const std::vector<Case> cases = {
        {"another common deck follows",
         Definition(2, Deck(1, 2) + Deck(2, 1, "x.bmp")),
         4,
         "card3",
         {"3", ""},
         {"f.bmp", "f.bmp", "new.bmp", "x.bmp"}},
        {"a seat's deck follows",
         Definition(1, Deck(1, 1) + PlayerDeck(2)),
         4,
         "card2",
         {"2", ""},
         {"f.bmp", "new.bmp", "p1.bmp", "p2.bmp"}},
        {"the deck names its last line, with a gap",
         Definition(1, lastCardDeck + PlayerDeck(1)),
         5,
         "card5",
         {"4", "5"},
         {"f.bmp", "g.bmp", "h.bmp", "new.bmp", "p1.bmp"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        readertest::ResetReaderState();
        ASSERT_TRUE(definition.LoadText(c.game));
        definition.Folder().Write("img/new.bmp", "");
        std::vector<std::string> before = CardImages();
        messages.Clear();

        ASSERT_EQ(CreateNewCard(0, "new.bmp"), c.number);

        // No card of the running game changes its number; the new one comes after them all.
        before.push_back("new.bmp");
        EXPECT_EQ(CardImages(), before);
        EXPECT_EQ(Cards[c.number].deck, 0);
        EXPECT_EQ(Key("COMMON 1", c.lastLine), "new.bmp");
        EXPECT_EQ(Key("COMMON 1", "decksize"), c.keys[0]);
        EXPECT_EQ(Key("COMMON 1", "lastCard"), c.keys[1]);
        if (*c.keys[1] != '\0') {
            EXPECT_EQ(Game.lastCardLines[0], std::atoi(c.keys[1]));
        }
        EXPECT_TRUE(messages.Messages().empty());

        readertest::ResetReaderState();
        ASSERT_TRUE(definition.Load(definition.Folder().Path() + "\\test.game"));
        EXPECT_EQ(CardImages(), c.later);
        const auto it = std::find(c.later.begin(), c.later.end(), "new.bmp");
        EXPECT_EQ(Cards[static_cast<int>(it - c.later.begin()) + 1].deck, 0);
        EXPECT_TRUE(readertest::CardPlaceFaults().empty());
    }
}

TEST_F(NewCardTest, TheSetUpPositionsOfTheCardsAfterTheNewOneMoveUpWithThem) {
    // Cards 1 and 2 are the common deck's, 3 and 4 the seat's: later games number those 4 and 5.
    ASSERT_TRUE(definition.LoadText(Definition(1, Deck(1, 2) + PlayerDeck(2)) +
                                    "[Setup Default]\ndeckIndex2=10,20,0\ndeckindex3=30,40,90\n"
                                    "deckIndex4=50,60,0\nmarkers=0\n"));
    definition.Folder().Write("img/new.bmp", "");
    ASSERT_EQ(CreateNewCard(0, "new.bmp"), 5);
    EXPECT_EQ(Key("Setup Default", "deckindex2"), "10,20,0");
    EXPECT_EQ(Key("Setup Default", "deckindex3"), "");
    EXPECT_EQ(Key("Setup Default", "deckindex4"), "30,40,90");
    EXPECT_EQ(Key("Setup Default", "deckindex5"), "50,60,0");
    EXPECT_EQ(Key("Setup Default", "markers"), "0");
}

} // namespace
