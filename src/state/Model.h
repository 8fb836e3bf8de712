// The one owner of the game's state: the game state record and the card table, the program-wide
// values, and the tables of the modules (effects, options, reports, log, dice, the evaluator's
// state, marker kinds and groups, seat areas, the direct-play seats, the random generator). Code reads them
// by their documented names (Game, Cards, EffectDef, ...), which refer into this object.
#pragma once

#include "state/DiceRecords.h"
#include "state/EffectMgmt.h"
#include "state/EvaluatorState.h"
#include "state/MarkersMgmt.h"
#include "state/OptionMgmt.h"
#include "state/PlayerMgmt.h"
#include "state/PropertyMgmt.h"
#include "state/TableState.h"

#include <array>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

struct TableModel {
    GameState Game;
    CardTable Cards;

    std::string CurrentGameFile;
    std::int32_t GameMode = kModeLocal;
    Flag DesignMode = kFalse;
    Flag AllCardsVisible = kFalse;
    Flag ArbitratorLoggedIn = kFalse;
    Flag GameListKind = kTrue;
    std::string DialogResult;
    std::int16_t CardsCreated = 0;
    std::int16_t LoadedCardControls = 0;
    std::int16_t NextNumMarker = 1;
    MarkerFlags NumMarkerInUse;
    ControlFlags CardControlFree;
    MarkerOffsetTable NumMarkerOffsets;
    MarkerOffsetTable GraphMarkerOffsets;
    Flag SendToBackDrag = kFalse;
    Flag KeepStackingDrag = kFalse;
    std::int16_t DraggedCard = -1;
    std::int16_t DraggedMarker = -1;
    std::int16_t HandWindowWidth = -1;
    std::int32_t SelectionColour = 0;
    std::int32_t TableHeight = 0;
    std::int32_t TableWidth = 0;

    EffectTable EffectDef;
    GameOptionRecord GameOptionTable;
    ReportTable ReportDef;
    std::int16_t ReportCount = 0;
    std::string ReportHeader;
    // The definition whose report messages were shown: they are shown once per definition.
    std::string reportMessagesFile;
    bool reportMessagesShown = false;
    // The TRUE/FALSE directives whose invalid value was shown in this game: the definition is the
    // same at every later read, so the message is shown once.
    std::set<std::string> directiveMessagesShown;
    std::vector<std::string> LogLines;
    std::int16_t LogCount = 0;
    std::int16_t LogFirst = 1;

    DiceTable Dice;
    std::int16_t DiceCount = 0;
    DiceLogTable DiceLog;
    std::int16_t DiceMarkerCascade = 0;
    DiceSettings DiceRollSettings;
    std::string NotesText;
    // The state of the table's one evaluator: dice and card effects share its results and its
    // value stack.
    EvaluatorState evaluatorState;

    MarkerKindTable MarkerKinds;
    std::int16_t MarkerKindCount = 0;
    MarkerGroupTable MarkerGroups;
    std::int16_t MarkerGroupCount = 0;
    MarkerInstanceTable GraphMarkers;
    std::int16_t GraphMarkerCount = 0;
    PlayerAreaTable PlayerAreas;

    std::array<NetPlayer, 2> NetPlayerData;
    bool IsServerSide = true;

    // The program's one generator, seeded again by the game list; no outcome depends on the
    // sequence, but a test may seed it to repeat one.
    std::mt19937_64 random{0x4B617276656CULL};

    // Everything back to a freshly started program's values.
    void Reset();
};

TableModel& Model();
