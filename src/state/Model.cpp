#include "state/Model.h"

#include "common/FaultMessages.h"
#include "state/LogStore.h"

#include <memory>

namespace {

TableModel g_model;

} // namespace

TableModel& Model() {
    return g_model;
}

void TableModel::Reset() {
    // Made on the heap: the tables are too large for a temporary on the stack.
    const auto fresh = std::make_unique<TableModel>();
    *this = std::move(*fresh);
    ForgetShownFaults();
}

// The documented names, bound once to the model's members; the references never change, the
// model's values do.
GameState& Game = g_model.Game;
CardTable& Cards = g_model.Cards;
std::string& CurrentGameFile = g_model.CurrentGameFile;
std::int32_t& GameMode = g_model.GameMode;
Flag& DesignMode = g_model.DesignMode;
Flag& AllCardsVisible = g_model.AllCardsVisible;
Flag& ArbitratorLoggedIn = g_model.ArbitratorLoggedIn;
Flag& GameListKind = g_model.GameListKind;
std::string& DialogResult = g_model.DialogResult;
std::int16_t& CardsCreated = g_model.CardsCreated;
std::int16_t& LoadedCardControls = g_model.LoadedCardControls;
std::int16_t& NextNumMarker = g_model.NextNumMarker;
MarkerFlags& NumMarkerInUse = g_model.NumMarkerInUse;
ControlFlags& CardControlFree = g_model.CardControlFree;
MarkerOffsetTable& NumMarkerOffsets = g_model.NumMarkerOffsets;
MarkerOffsetTable& GraphMarkerOffsets = g_model.GraphMarkerOffsets;
Flag& SendToBackDrag = g_model.SendToBackDrag;
Flag& KeepStackingDrag = g_model.KeepStackingDrag;
std::int16_t& DraggedCard = g_model.DraggedCard;
std::int16_t& DraggedMarker = g_model.DraggedMarker;
std::int16_t& HandWindowWidth = g_model.HandWindowWidth;
std::int32_t& SelectionColour = g_model.SelectionColour;
std::int32_t& TableHeight = g_model.TableHeight;
std::int32_t& TableWidth = g_model.TableWidth;

EffectTable& EffectDef = g_model.EffectDef;
GameOptionRecord& GameOptionTable = g_model.GameOptionTable;
ReportTable& ReportDef = g_model.ReportDef;
std::int16_t& ReportCount = g_model.ReportCount;
std::string& ReportHeader = g_model.ReportHeader;
std::vector<std::string>& LogLines = g_model.LogLines;
std::int16_t& LogCount = g_model.LogCount;
std::int16_t& LogFirst = g_model.LogFirst;
DiceTable& Dice = g_model.Dice;
std::int16_t& DiceCount = g_model.DiceCount;
DiceLogTable& DiceLog = g_model.DiceLog;
std::int16_t& DiceMarkerCascade = g_model.DiceMarkerCascade;
DiceSettings& DiceRollSettings = g_model.DiceRollSettings;
std::string& NotesText = g_model.NotesText;

MarkerKindTable& MarkerKinds = g_model.MarkerKinds;
std::int16_t& MarkerKindCount = g_model.MarkerKindCount;
MarkerGroupTable& MarkerGroups = g_model.MarkerGroups;
std::int16_t& MarkerGroupCount = g_model.MarkerGroupCount;
MarkerInstanceTable& GraphMarkers = g_model.GraphMarkers;
std::int16_t& GraphMarkerCount = g_model.GraphMarkerCount;
PlayerAreaTable& PlayerAreas = g_model.PlayerAreas;

// Declared with direct play, which the model does not include.
std::array<NetPlayer, 2>& NetPlayerData = g_model.NetPlayerData;
bool& IsServerSide = g_model.IsServerSide;
