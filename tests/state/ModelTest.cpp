// The one owner of the game state: the documented names read it, and one Reset brings back a
// freshly started program's values in every table, with no window about.
#include "TestSupport.h"

#include "state/GameMgmt.h"
#include "state/HandMgmt.h"
#include "state/Helpers.h"
#include "state/LogStore.h"
#include "state/Model.h"
#include "state/PropertyMgmt.h"
#include "state/ZOrder.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

struct StateCase {
    const char* name;
    std::function<void()> change;
    std::function<bool()> fresh;
};

} // namespace

TEST(Model, ResetBringsBackAFreshProgramsValuesInEveryTable) {
    const StateCase cases[] = {
        {"Game", [] { Game.totalCards = 9; }, [] { return Game.totalCards == 0; }},
        {"seat names", [] { Game.players[8].name = "x"; },
         [] { return Game.players[8].name == "Arbitrator"; }},
        {"Cards", [] { Cards[500].key = "K"; }, [] { return Cards[500].key.empty(); }},
        {"CurrentGameFile", [] { CurrentGameFile = "a.game"; }, [] { return CurrentGameFile.empty(); }},
        {"GameMode", [] { GameMode = kModeDirect; }, [] { return GameMode == kModeLocal; }},
        {"DesignMode", [] { DesignMode = kTrue; }, [] { return DesignMode == kFalse; }},
        {"GameListKind", [] { GameListKind = kFalse; }, [] { return GameListKind == kTrue; }},
        {"CardsCreated", [] { CardsCreated = 12; }, [] { return CardsCreated == 0; }},
        {"NextNumMarker", [] { NextNumMarker = 40; }, [] { return NextNumMarker == 1; }},
        {"NumMarkerInUse", [] { NumMarkerInUse[299] = kTrue; }, [] { return NumMarkerInUse[299] == kFalse; }},
        {"CardControlFree", [] { CardControlFree[0] = kTrue; }, [] { return CardControlFree[0] == kFalse; }},
        {"DraggedCard", [] { DraggedCard = 3; }, [] { return DraggedCard == -1; }},
        {"HandWindowWidth", [] { HandWindowWidth = 300; }, [] { return HandWindowWidth == -1; }},
        {"SelectionColour", [] { SelectionColour = 255; }, [] { return SelectionColour == 0; }},
        {"EffectDef", [] { EffectDef[4].name = "ON_PLAY"; }, [] { return EffectDef[4].name.empty(); }},
        {"GameOptionTable", [] { GameOptionTable.selectedOption[7] = 3; },
         [] { return GameOptionTable.selectedOption[7] == 0; }},
        {"ReportDef", [] { ReportDef[15].title = "t"; }, [] { return ReportDef[15].title.empty(); }},
        {"ReportCount", [] { ReportCount = 2; }, [] { return ReportCount == 0; }},
        {"LogLines", [] { LogLines.assign(5, "line"); }, [] { return LogLines.empty(); }},
        {"LogFirst", [] { LogFirst = 3; }, [] { return LogFirst == 1; }},
        {"Dice", [] { Dice[50].name = "d"; }, [] { return Dice[50].name.empty(); }},
        {"DiceLog", [] { DiceLog[100].serial = 4; }, [] { return DiceLog[100].serial == 0; }},
        {"DiceMarkerCascade", [] { DiceMarkerCascade = 2; }, [] { return DiceMarkerCascade == 0; }},
        {"NotesText", [] { NotesText = "n"; }, [] { return NotesText.empty(); }},
        {"GraphMarkers", [] { GraphMarkers[300].inUse = kTrue; },
         [] { return GraphMarkers[300].inUse == kFalse; }},
        {"GraphMarkerCount", [] { GraphMarkerCount = 7; }, [] { return GraphMarkerCount == 0; }},
        {"MarkerKinds", [] { MarkerKinds[300].label = "coin"; },
         [] { return MarkerKinds[300].label.empty(); }},
        {"MarkerGroups", [] { MarkerGroups[-7].members = "7"; },
         [] { return MarkerGroups[-7].members.empty(); }},
        {"PlayerAreas", [] { PlayerAreas[6].visible = true; }, [] { return !PlayerAreas[6].visible; }},
        // Direct play's records live in the model, though only direct play names them.
        {"NetPlayerData", [] { Model().NetPlayerData[1].name = "Bo"; },
         [] { return Model().NetPlayerData[1].name.empty(); }},
        {"IsServerSide", [] { Model().IsServerSide = false; }, [] { return Model().IsServerSide; }},
    };
    for (const StateCase& c : cases) {
        c.change();
        ASSERT_FALSE(c.fresh()) << c.name << ": the change did not show";
        Model().Reset();
        EXPECT_TRUE(c.fresh()) << c.name;
    }
}

TEST(Model, TheDocumentedNamesReadTheModel) {
    Model().Reset();
    Model().Game.handSize = 7;
    Model().Cards[3].image = "ace.bmp";
    Model().LogCount = 2;
    EXPECT_EQ(Game.handSize, 7);
    EXPECT_EQ(Cards[3].image, "ace.bmp");
    EXPECT_EQ(LogCount, 2);
    EXPECT_EQ(&Game, &Model().Game);
    EXPECT_EQ(&EffectDef, &Model().EffectDef);
    Model().Reset();
}

TEST(Model, AfterResetTheGeneratorRepeatsAFreshProgramsSequence) {
    auto draw = [] {
        std::vector<int> v;
        for (int i = 0; i < 10; ++i)
            v.push_back(RandomInt(1000));
        return v;
    };
    Model().Reset();
    const auto first = draw();
    SeedRandom(5.0);
    Model().Reset();
    EXPECT_EQ(draw(), first);
}

TEST(Model, AfterResetTheReportMessagesOfTheSameDefinitionAreShownAgain) {
    testsupport::TempProgramFolder folder;
    testsupport::MessageRecorder messages;
    folder.Write("g.game", "[REPORTS]\nnum_reports=1\nreport1=Total,AVG,ALL\n");
    Model().Reset();
    LoadReports("g.game");
    LoadReports("g.game");
    EXPECT_EQ(messages.Messages().size(), 1u) << "the unknown type, once";
    Model().Reset();
    LoadReports("g.game");
    EXPECT_EQ(messages.Messages().size(), 2u);
    Model().Reset();
}

TEST(Model, RunsWithoutAWindow) {
    // No view is installed: the do-nothing view answers for the table window.
    Model().Reset();
    Game.totalCards = 1;
    Game.playerCount = 1;
    Game.players[1].hasTableArea = kTrue;
    PlayerAreas[0] = PlayerAreaShape{0, 0, 10000, 10000, true, 0};
    Cards[1].owner = 1;
    Cards[1].controlIndex = 0;
    EXPECT_FALSE(IsCardInHand(0, 1)) << "without a table no card lies on it";
    BringToFrontZOrder(kZCard, 1, 0);
    EXPECT_NO_THROW(ApplyZOrder());
    EXPECT_EQ(Game.zOrderCount, 1);
    Model().Reset();
}
