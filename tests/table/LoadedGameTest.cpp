// A game saved and loaded back onto the table shows what its own definition asks for, whatever game
// ran before it: the smoothing of its cards, the font of its numerical markers, the see-through
// colour of its cards; and a game saved before a card was added to its definition still loads with
// exactly its own cards.
#include "TableTestSupport.h"

#include "controls/zLabelA.h"
#include "platform/Files.h"
#include "state/Sarnell.h"
#include "state/TableState.h"
#include "table/CardActions.h"
#include "table/SaveGameMgmt.h"
#include "table/TableMarkers.h"
#include "table/ToolBarForm.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using tabletest::TableFixture;

namespace {

// Two seats with areas, one common deck of six cards (card 6 starts on the table), and what the
// test adds to [GAME], to the deck and after everything.
std::string Game2(const std::string& gameExtra, const std::string& deckExtra = "",
                  const std::string& tail = "") {
    std::string text = "[GAME]\nplayers=2\ncommon_decks=1\ndirectory=img\ncards_can_be_added=TRUE\n" +
                       gameExtra +
                       "\n[PLAYER 1]\nname=Ann\nlayout=3000,1500,2400,6000\n"
                       "[PLAYER 2]\nname=Bob\nlayout=9000,1500,2400,6000\n"
                       "[COMMON 1]\nname=Stock\ndeckSize=6\nimg_back=back.png\nimg_discard=empty.png\n"
                       "split=FALSE\ndeal=1\n" +
                       deckExtra + "\n";
    for (int k = 1; k <= 6; ++k)
        text += "card" + std::to_string(k) + "=f" + std::to_string(k) + ".png," + (k == 6 ? "ON_PLAY" : "") +
                ",,key" + std::to_string(k) + ",\n";
    return text + tail + "\n";
}

class LoadedGameTest : public testing::Test {
  protected:
    // Sets a new game of that definition up, from its own file in the program folder.
    bool StartGame(const std::string& name, const std::string& definition) {
        fixture.Folder().Write(name, definition);
        Game.CurrentPlayer = 1;
        const bool started = SetUpNewGame(table, fixture.Folder().Path() + "\\" + name);
        Game.GamePhase = kPhasePlaying;
        return started;
    }
    bool Load(const std::string& save) {
        if (!LoadSavedGame(save, false)) return false;
        Game.CurrentPlayer = 1;
        RestoreLoadedTable();
        return true;
    }
    // The card controls that show a card.
    std::vector<const controls::TranspImg*> CardControls() {
        std::vector<const controls::TranspImg*> shown;
        for (int index : table.crd.Indexes())
            if (!table.crd(index)->Surface().Tag().empty()) shown.push_back(table.crd(index));
        return shown;
    }
    std::vector<std::string> CardImages() {
        std::vector<std::string> images;
        for (int c = 1; c <= Game.totalCards; ++c)
            images.push_back(Cards[c].image);
        return images;
    }

    TableFixture fixture;
    MainForm& table = fixture.Table();
    testsupport::MessageRecorder messages;
};

TEST_F(LoadedGameTest, ALoadedGamesCardsAreSmoothedAsItsOwnDefinitionSays) {
    struct Case {
        const char* name;
        bool saved;   // useAntialias of the saved game
        bool running; // useAntialias of the game started before the load
    };
    for (const Case& c : {Case{"smoothed game loaded after a plain one", true, false},
                          Case{"plain game loaded after a smoothed one", false, true}}) {
        SCOPED_TRACE(c.name);
        const auto smoothing = [](bool on) { return std::string("useAntialias=") + (on ? "TRUE" : "FALSE"); };
        ASSERT_TRUE(StartGame("saved.game", Game2(smoothing(c.saved))));
        ASSERT_TRUE(SaveGame("smooth.save"));
        ASSERT_TRUE(StartGame("running.game", Game2(smoothing(c.running))));
        for (const controls::TranspImg* card : CardControls())
            ASSERT_EQ(card->useAntialias(), c.running);

        ASSERT_TRUE(Load("smooth.save"));
        ASSERT_FALSE(CardControls().empty());
        for (const controls::TranspImg* card : CardControls())
            EXPECT_EQ(card->useAntialias(), c.saved);
        // And every card control made afterwards.
        table.cardActions->DeckImg_DblClick(0);
        EXPECT_EQ(table.crd(LoadedCardControls - 1)->useAntialias(), c.saved);
    }
}

TEST_F(LoadedGameTest, LoadedNumericalMarkersKeepTheDefinitionsFont) {
    ASSERT_TRUE(
        StartGame("font.game", Game2("", "", "[NUMERICAL MARKERS]\nfontsize=10\nfontname=Courier New")));
    const std::int16_t made = NewMarkerNumProc("7", 500, 500, "HP");
    const std::int16_t second = NewMarkerNumProc("", 900, 900, "");
    ASSERT_GE(made, 0);
    ASSERT_GE(second, 0);
    EXPECT_EQ(table.markerNum(made)->Font().size, 10);
    ASSERT_TRUE(SaveGame("font.save"));
    ASSERT_TRUE(StartGame("plain.game", Game2("")));

    ASSERT_TRUE(Load("font.save"));
    for (int m : {0, 1}) {
        SCOPED_TRACE(m);
        const controls::zLabelA* marker = table.markerNum(m);
        ASSERT_NE(marker, nullptr);
        EXPECT_EQ(marker->Font().size, 10);
        EXPECT_EQ(marker->Font().name, "Courier New");
    }
    EXPECT_EQ(table.markerNum(0)->caption(), "HP: 7");
}

// Without a deck's transparentColor every card control keeps the reset's magenta as its mask, on
// every road a card reaches the table; with one, the deck's colour.
TEST_F(LoadedGameTest, EveryCardOnTheTableTakesItsDecksMaskOrMagenta) {
    struct Case {
        const char* name;
        std::string deckExtra;
        platform::Colour mask;
    };
    for (const Case& c :
         {Case{"no transparentColor", "", platform::MakeColour(255, 0, 255)},
          Case{"transparentColor", "transparentColor=0,255,0", platform::MakeColour(0, 255, 0)}}) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(StartGame("mask.game", Game2("", c.deckExtra)));
        table.cardActions->DeckImg_DblClick(0); // drawn
        ASSERT_NE(AddNewCardDuringPlay(table, 0, "f7.png"), 0);
        // Dealt, on the table from the start, drawn and added.
        ASSERT_EQ(CardControls().size(), 5u);
        for (const controls::TranspImg* card : CardControls())
            EXPECT_EQ(card->MaskColor(), c.mask) << card->Surface().Tag();
        ASSERT_TRUE(SaveGame("mask.save"));
        ASSERT_TRUE(Load("mask.save"));
        ASSERT_EQ(CardControls().size(), 5u);
        for (const controls::TranspImg* card : CardControls())
            EXPECT_EQ(card->MaskColor(), c.mask) << "loaded " << card->Surface().Tag();
    }
}

// A card added during play changes the definition, not the saves: a game saved before the
// addition loads with its own cards, one saved after it with the added card too.
TEST_F(LoadedGameTest, GamesSavedBeforeAndAfterACardWasAddedLoadWithTheirOwnCards) {
    // A seat's deck follows the common deck: later games number its cards one further.
    std::string text = Game2("");
    text.replace(text.find("name=Ann\n"), 9, "name=Ann\ndecks=1\n");
    text += "[DECK 1 PLAYER 1]\nsplit=FALSE\ndecksize=2\nimg_back=back.png\nimg_discard=empty.png\n"
            "card1=f8.png,,,own1,\ncard2=f9.png,,,own2,\n";
    ASSERT_TRUE(StartGame("grow.game", text));
    ASSERT_EQ(Game.totalCards, 8);
    const std::vector<std::string> before = CardImages();
    ASSERT_TRUE(SaveGame("before.save"));

    const std::int16_t added = AddNewCardDuringPlay(table, 0, "f10.png");
    ASSERT_EQ(added, 9);
    std::vector<std::string> after = before;
    after.push_back("f10.png");
    ASSERT_TRUE(SaveGame("after.save"));

    // A later game deals the card with its deck; the seat's cards come after it.
    ASSERT_TRUE(SetUpNewGame(table, fixture.Folder().Path() + "\\grow.game"));
    ASSERT_EQ(Game.totalCards, 9);
    EXPECT_EQ(Cards[7].image, "f10.png");
    EXPECT_EQ(Cards[7].deck, 0);
    EXPECT_EQ(Cards[8].image, "f8.png");

    struct Case {
        const char* save;
        const std::vector<std::string>& images;
    };
    for (const Case& c : {Case{"before.save", before}, Case{"after.save", after}}) {
        SCOPED_TRACE(c.save);
        messages.Clear();
        ASSERT_TRUE(Load(c.save));
        EXPECT_TRUE(messages.Messages().empty());
        EXPECT_EQ(CardImages(), c.images);
        // The seat's cards are still its own.
        EXPECT_EQ(Cards[7].image, "f8.png");
        EXPECT_EQ(Cards[7].deck, 1);
    }
}

} // namespace

TEST_F(LoadedGameTest, ACardThatStartsOnTheTableOfAZoomedDeckKeepsItsSizeThroughASaveAndALoad) {
    ASSERT_TRUE(StartGame("zoomed.game", Game2("", "zoom=150")));
    const controls::TranspImg* placed = table.crd(Cards[6].controlIndex);
    ASSERT_NE(placed, nullptr);
    const int width = placed->GetRealWidth();
    const int height = placed->GetRealHeight();
    EXPECT_EQ(placed->zoom(), 150);
    ASSERT_TRUE(SaveGame("zoomed.save"));
    ASSERT_TRUE(Load("zoomed.save"));
    const controls::TranspImg* loaded = table.crd(Cards[6].controlIndex);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->zoom(), 150);
    EXPECT_EQ(loaded->GetRealWidth(), width);
    EXPECT_EQ(loaded->GetRealHeight(), height);
}
