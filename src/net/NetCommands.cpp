#include "net/NetCommands.h"

#include "common/Messages.h"
#include "services/DebugMgmt.h"
#include "services/DiceRoller.h"
#include "state/MarkersMgmt.h"
#include "state/TableState.h"
#include "table/CardActions.h"
#include "table/MainForm.h"
#include "table/TableMarkers.h"
#include "table/TableSetup.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

// What a field must be for its command to run.
enum class Field {
    Card,        // 1 .. the game's card count
    Control,     // a card control of the table window that shows a card
    Deck,        // 0 .. the game's deck count - 1
    Die,         // a die the game defines
    Seat,        // 1 .. the game's seat count
    NumMarker,   // a numerical marker in use
    ImageMarker, // the control of an image marker in use
    Turn,        // "L" (left) or "R" (right)
    Whole,       // a whole 16-bit number
    Text,        // anything
};

// In which phases a command is taken: the handshake and chat at any time, the table's commands
// only while the transferred table is loaded, the card actions only while its window is open too.
enum class Phase { Any, Table, TableWindow };

struct Row {
    const char* word;
    std::vector<Field> fields;
    // A command whose last field may be followed by one more, empty or not, that is not read.
    bool trailingField;
    Phase phase;
    void (*handler)(const NetCommand&);
    // The fields that name a card and the control that must show it (-1 when none, else field
    // indexes from 0 of the card and of the control).
    int cardField = -1;
    int controlField = -1;
};

NetCommandHook g_handshake;
NetCommandHook g_chat;
// The connection on which "not known" was last told.
int g_toldUnknownOn = -1;

std::int16_t Whole(const std::string& field) {
    return static_cast<std::int16_t>(std::nearbyint(*WireNumber(field)));
}

bool Fits(Field kind, const std::string& field) {
    if (kind == Field::Text) return true;
    if (kind == Field::Turn) return field == "L" || field == "R";
    const std::optional<double> value = WireNumber(field);
    if (!value || std::nearbyint(*value) != *value || *value < -32768 || *value > 32767) return false;
    const auto n = static_cast<std::int16_t>(*value);
    switch (kind) {
    case Field::Card:
        return n >= 1 && n <= Game.totalCards && CardTable::Contains(n);
    case Field::Control:
        return Actions() && Actions()->CardOfElement(n) != 0;
    case Field::Seat:
        return n >= 1 && n <= Game.playerCount && n <= kMaxPlayers;
    case Field::Deck:
        return n >= 0 && n < Game.deckCount;
    case Field::NumMarker:
        return MarkerFlags::Contains(n) && NumMarkerInUse[n] != kFalse;
    case Field::ImageMarker:
        return MarkerInstanceTable::Contains(n + 1) && GraphMarkers[n + 1].inUse != kFalse;
    case Field::Die:
        return IsDefinedDie(n);
    case Field::Whole:
    case Field::Text:
    case Field::Turn:
        return true;
    }
    return false;
}

void ToHandshake(const NetCommand& c) {
    if (g_handshake)
        g_handshake(c);
    else
        DebugLog("dropped", c.word + ": no connection dialog is open");
}

void ToChat(const NetCommand& c) {
    if (g_chat)
        g_chat(c);
    else
        DebugLog("dropped", "CHAT: no chat is open");
}

void RecvDeckLock(const NetCommand& c) {
    Game.decks[Whole(c.fields[0])].locked = c.word == "DKLCK" ? kTrue : kFalse;
}

void RecvDiceRoll(const NetCommand& c) {
    ReceiveDiceRoll(Whole(c.fields[0]), c.fields[1]);
}

// The card actions: each handler runs the body the acting side ran, with the same arguments.
void RecvCardDiscard(const NetCommand& c) {
    Actions()->DiscardCardProcedure_body(Whole(c.fields[0]), Whole(c.fields[1]));
}
void RecvCardEliminate(const NetCommand& c) {
    Actions()->EliminateCardBody(Whole(c.fields[1]), Whole(c.fields[0]));
}
void RecvCardFlip(const NetCommand& c) {
    Actions()->MenuCard = Whole(c.fields[1]);
    Actions()->Flip_Click_body(Whole(c.fields[0]));
}
void RecvCardTake(const NetCommand& c) {
    Actions()->MenuCard = Whole(c.fields[1]);
    Actions()->TakeCard_body(Whole(c.fields[1]), Whole(c.fields[0]), Whole(c.fields[2]));
}
void RecvCardRotate(const NetCommand& c) {
    Actions()->MenuCard = Whole(c.fields[0]);
    RotateCard(Actions()->MenuCard, -1);
}
void RecvToBottomOfDrawDeck(const NetCommand& c) {
    Actions()->Move2BottomOfDrawDeck_body(Whole(c.fields[0]));
}
void RecvDiscardToBottom(const NetCommand& c) {
    if (GameMode == kModeDirect) Actions()->MoveDiscard2Bottom_body(Whole(c.fields[0]));
}

// The markers, by their controls.
void RecvMarkerDelete(const NetCommand& c) {
    DeleteMarkerProc(Whole(c.fields[0]));
}
void RecvGraphMarkerDelete(const NetCommand& c) {
    DeleteGraphicalMarkerProc(Whole(c.fields[0]));
}
void RecvGraphMarkerFlip(const NetCommand& c) {
    TableWindow()->Markers->MenuMarker = Whole(c.fields[0]);
    FlipMrk_Procedure();
}
void RecvMarkerRotate(const NetCommand& c) {
    TableWindow()->Markers->MenuMarker = Whole(c.fields[0]);
    RotateGraphMarker(static_cast<std::int16_t>(Whole(c.fields[0]) + 1), false, c.fields[1]);
}

const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
        {"SETUP", {Field::Text, Field::Text, Field::Text, Field::Text}, false, Phase::Any, ToHandshake},
        {"ANF", {}, false, Phase::Any, ToHandshake},
        {"TERM", {}, false, Phase::Any, ToHandshake},
        {"SRVDATA", {Field::Text, Field::Text, Field::Text, Field::Text}, false, Phase::Any, ToHandshake},
        // The record's own bytes may hold the separator: the connection dialog joins the fields.
        {"DECKDATA", {Field::Text}, true, Phase::Any, ToHandshake},
        {"DECKDATALD", {Field::Text}, true, Phase::Any, ToHandshake},
        // A chat line that held the separator arrives cut there: the rest is not read.
        {"CHAT", {Field::Text}, true, Phase::Any, ToChat},
        {"DKLCK", {Field::Deck}, false, Phase::Table, RecvDeckLock},
        {"DKUNLCK", {Field::Deck}, false, Phase::Table, RecvDeckLock},
        {"DCENEW", {Field::Die, Field::Text, Field::Whole}, false, Phase::Table, RecvDiceRoll},
        {"CDISCARD", {Field::Card, Field::Control}, false, Phase::TableWindow, RecvCardDiscard, 0, 1},
        {"CELIM", {Field::Card, Field::Control}, false, Phase::TableWindow, RecvCardEliminate, 0, 1},
        {"CFLIP", {Field::Card, Field::Control}, false, Phase::TableWindow, RecvCardFlip, 0, 1},
        {"CTAKE", {Field::Card, Field::Control, Field::Seat}, false, Phase::TableWindow, RecvCardTake, 0, 1},
        {"CROTATE", {Field::Control}, false, Phase::TableWindow, RecvCardRotate},
        {"C2BTMDD", {Field::Card}, false, Phase::TableWindow, RecvToBottomOfDrawDeck},
        {"DKMD2B", {Field::Deck}, false, Phase::TableWindow, RecvDiscardToBottom},
        {"MRKDEL", {Field::NumMarker}, false, Phase::TableWindow, RecvMarkerDelete},
        {"GPHMRKDEL", {Field::ImageMarker}, false, Phase::TableWindow, RecvGraphMarkerDelete},
        {"GPHMRKFLP", {Field::ImageMarker}, false, Phase::TableWindow, RecvGraphMarkerFlip},
        {"MRKROT", {Field::ImageMarker, Field::Turn}, false, Phase::TableWindow, RecvMarkerRotate},
    };
    return rows;
}

void Drop(const NetCommand& c, const std::string& why) {
    DebugLog("dropped", c.word + " (" + std::to_string(c.fields.size()) + " fields): " + why);
}

} // namespace

std::optional<double> WireNumber(const std::string& field) {
    std::size_t begin = field.find_first_not_of(' ');
    if (begin == std::string::npos) return std::nullopt;
    const std::size_t end = field.find_last_not_of(' ') + 1;
    if (field[begin] == '+') ++begin;
    double value = 0;
    const char* first = field.data() + begin;
    const char* last = field.data() + end;
    const auto [stop, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (error != std::errc() || stop != last || !std::isfinite(value)) return std::nullopt;
    return value;
}

void DispatchNetCommand(const NetCommand& command) {
    for (const Row& row : Rows()) {
        if (command.word != row.word) continue;
        const std::size_t n = row.fields.size();
        if (command.fields.size() != n && !(row.trailingField && command.fields.size() > n))
            return Drop(command, "expected " + std::to_string(n) + " fields");
        for (std::size_t i = 0; i < n; ++i)
            if (!Fits(row.fields[i], command.fields[i]))
                return Drop(command,
                            "field " + std::to_string(i + 2) + " is out of range: " + command.fields[i]);
        if (row.phase != Phase::Any && Game.GamePhase != kPhasePlaying && Game.GamePhase != kPhaseEnded)
            return Drop(command, "no table is being played");
        if (row.phase == Phase::TableWindow && !Actions()) return Drop(command, "no table window is open");
        if (row.cardField >= 0 &&
            Actions()->CardOfElement(Whole(command.fields[static_cast<std::size_t>(row.controlField)])) !=
                Whole(command.fields[static_cast<std::size_t>(row.cardField)]))
            return Drop(command, "the control does not show that card");
        return row.handler(command);
    }
    const std::string word = command.word.substr(0, 40);
    DebugLog("dropped", "unknown command " + word);
    if (g_toldUnknownOn == NetConnectionSerial()) return;
    g_toldUnknownOn = NetConnectionSerial();
    ShowMsg("Command " + word + " not known");
}

void InstallNetDispatcher() {
    SetNetCommandHandler(DispatchNetCommand);
}

NetCommandHook SetHandshakeHandler(NetCommandHook handler) {
    return std::exchange(g_handshake, std::move(handler));
}

NetCommandHook SetChatHandler(NetCommandHook handler) {
    return std::exchange(g_chat, std::move(handler));
}
