// Saving the arranged table into the definition: the window, the piles, the seats' areas, the
// default markers and the places of the cards that start on the table, key by key.
#include "ReaderTestSupport.h"

#include "common/Helpers.h"
#include "state/LayoutMgmt.h"
#include "state/MarkersMgmt.h"
#include "state/PlayerMgmt.h"
#include "state/TableState.h"
#include "state/ZOrder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

using readertest::DefinitionFolder;
using testing::ElementsAre;
using testsupport::MessageRecorder;

namespace {

// Two players, three common decks (the second of them without cards once loaded), card 1 of the
// first deck carrying ON_PLAY.
const std::string kGame =
    "[GAME]\nplayers=2\ncommon_decks=3\ndirectory=img\n"
    "[PLAYER 1]\nname=Ann\nlayout=1,2,3,4\n[PLAYER 2]\nname=Bob\nlayout=5,6,7,8\n"
    "[COMMON 1]\nname=A\nsplit=FALSE\ndecksize=2\nimg_back=b.bmp\nimg_discard=e.bmp\n"
    "card1=f1.bmp,ON_PLAY,,k1\ncard2=f2.bmp,,,k2\n"
    "[COMMON 2]\nname=B\nsplit=FALSE\ndecksize=1\nimg_back=b.bmp\nimg_discard=e.bmp\ncard1=f3.bmp,,,k3\n"
    "[COMMON 3]\nname=C\nsplit=FALSE\ndecksize=1\nimg_back=b.bmp\nimg_discard=e.bmp\ncard1=f4.bmp,,,k4\n"
    "[Setup Default]\nmarker4=NUM,9,,1,1,old\n";

class LayoutWriterTest : public testing::Test {
  protected:
    void SetUp() override {
        readertest::ResetReaderState();
        ASSERT_TRUE(definition.LoadText(kGame));
        file = CurrentGameFile;
        // Deck 1 lost its cards; deck 2 was made by splitting its section in two.
        Game.deckSizes[1] = 0;
        Game.decks[2].splitCount = -2;
        layout.window = {100, 200, 9000, 12000};
        for (int d = 0; d < 3; ++d) {
            layout.decks.push_back({1000.0 + d, 2000.0 + d, 1440, 1080});
            layout.discards.push_back({3000.0 + d, 4000.5 + d, 1440, 1080});
        }
    }
    void TearDown() override { readertest::ResetReaderState(); }

    std::string Key(const std::string& section, const std::string& key) const {
        return GetIni(section, key, file);
    }

    DefinitionFolder definition;
    MessageRecorder messages;
    std::string file;
    TableLayout layout;
};

TEST_F(LayoutWriterTest, WindowPilesAndVisibleAreasAreWrittenAsRectanglesAndTheMessageNamesTheFile) {
    ShowPlayerArea(0, kTrue);
    SetPlayerAreaShape(0, "300,400.5,2400,6000", kTrue);
    ShowPlayerArea(1, kFalse);

    ASSERT_TRUE(SaveLayout(layout));

    EXPECT_EQ(Key("GAME", "layout"), "100,200,9000,12000");
    EXPECT_EQ(Key("COMMON 1", "layout_deck"), "1000,2000,1440,1080");
    EXPECT_EQ(Key("COMMON 1", "layout_discard"), "3000,4000.5,1440,1080");
    EXPECT_EQ(Key("COMMON 2", "layout_deck"), "") << "a deck without cards keeps its keys";
    EXPECT_EQ(Key("COMMON 3", "layout_deck"), "") << "a split deck saves under its split section";
    EXPECT_EQ(Key("COMMON 3 SPLIT 2", "layout_deck"), "1002,2002,1440,1080");
    EXPECT_EQ(Key("COMMON 3 SPLIT 2", "layout_discard"), "3002,4002.5,1440,1080");
    EXPECT_EQ(Key("PLAYER 1", "layout"), "300,400,2400,6000") << "areas are whole twips";
    EXPECT_EQ(Key("PLAYER 2", "layout"), "5,6,7,8") << "a hidden area keeps its old layout";
    EXPECT_THAT(messages.Messages(), ElementsAre("Layout saved to " + file));
}

TEST_F(LayoutWriterTest, DefaultMarkerLinesCountNumericalMarkersInUseThenImageMarkers) {
    NextNumMarker = 4; // controls 0 to 2 handed out
    NumMarkerInUse[0] = kTrue;
    NumMarkerInUse[1] = kFalse; // deleted
    NumMarkerInUse[2] = kTrue;
    layout.numMarkers = {{0, "Gold: 3", 1200, 2400}, {1, "5", 10, 10}, {2, "7", 1300, 2500.5}};
    MarkerKindCount = 3;
    MarkerKinds[1].owner = "1";
    MarkerKinds[2].owner = "0";
    MarkerKinds[3].owner = "0";
    GraphMarkerCount = 2;
    GraphMarkers[1] = MarkerInstanceRecord{};
    GraphMarkers[1].kind = 3;
    GraphMarkers[1].inUse = kTrue;
    GraphMarkers[1].flipped = kTrue;
    GraphMarkers[2] = GraphMarkers[1];
    GraphMarkers[2].kind = 1;
    GraphMarkers[2].flipped = kFalse;
    GraphMarkers[2].rotation = 90;
    layout.imageMarkers = {{1, 500, 750}, {2, 600, 800}};

    ASSERT_TRUE(SaveLayout(layout));

    EXPECT_EQ(Key("Setup Default", "marker1"), "NUM,3,,1200,2400,Gold");
    EXPECT_EQ(Key("Setup Default", "marker2"), "NUM,7,,1300,2500.5,");
    EXPECT_EQ(Key("Setup Default", "marker3"), "IMG,2,0,500,750,TRUE,");
    EXPECT_EQ(Key("Setup Default", "marker4"), "IMG,1,1,600,800,,90");
    EXPECT_EQ(Key("Setup Default", "markers"), "4");
}

TEST_F(LayoutWriterTest, WithoutMarkersTheCountIsZeroAndOlderLinesStay) {
    NextNumMarker = 1;
    ASSERT_TRUE(SaveLayout(layout));
    EXPECT_EQ(Key("Setup Default", "markers"), "0");
    EXPECT_EQ(Key("Setup Default", "marker4"), "NUM,9,,1,1,old");
}

TEST_F(LayoutWriterTest, OnlyOnPlayCardsOnTheTableGetTheirPlaceWithTheirRotation) {
    // Cards 1 (ON_PLAY) and 2 lie on controls 3 and 4 and are stacked; card 1 again on control 5,
    // which the stacking order does not list, and control 6 shows no card.
    Cards[1].controlIndex = 3;
    Cards[1].rotation = 90;
    Cards[2].controlIndex = 4;
    BringToFrontZOrder(kZCard, 1, 0);
    BringToFrontZOrder(kZCard, 2, 0);
    layout.cards = {{3, "1", 700, 800.5}, {4, "2", 1, 1}, {5, "1", 2, 2}, {6, "", 3, 3}};

    ASSERT_TRUE(SaveLayout(layout));

    EXPECT_EQ(Key("Setup Default", "deckIndex1"), "700,800.5,90");
    EXPECT_EQ(Key("Setup Default", "deckIndex2"), "");
}

TEST_F(LayoutWriterTest, AFileThatCannotBeWrittenIsReportedAndNothingClaimsSuccess) {
    const std::string before = definition.Folder().Read("test.game");
    // A game file below a plain file cannot be written.
    CurrentGameFile = file + "\\inside.game";
    EXPECT_FALSE(SaveLayout(layout));
    ASSERT_EQ(messages.Messages().size(), 1u);
    EXPECT_THAT(messages.Messages()[0], testing::HasSubstr("could not be written"));
    EXPECT_EQ(definition.Folder().Read("test.game"), before);
}

} // namespace
