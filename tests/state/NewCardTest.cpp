// Cards added during play: the card record, its place in the stacking order and the definition's
// keys when the card fits, a refusal that changes nothing when it would take another card's number.
#include "ReaderTestSupport.h"

#include "common/Helpers.h"
#include "state/Sarnell.h"
#include "state/TableState.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

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
        {"the next deck holds the next number", Definition(2, Deck(1, 3) + Deck(2, 2)), 0, "new.bmp",
         "belongs to a card"},
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

} // namespace
