// The checked command table: one row per command word with its fields, phases and handler, the
// reading of a field (a number as the protocol writes it, a position in pixels), the check of each
// field against its kind, and the dispatch that drops what does not fit before anything changes.
// The checks the fields alone cannot make are in NetCommandChecks.cpp, the handlers in
// NetCardCommands.cpp and NetMarkerCommands.cpp.
#include "net/NetCommands.h"

#include "common/Messages.h"
#include "net/NetCommandsInternal.h"
#include "platform/Twips.h"
#include "services/DebugMgmt.h"
#include "services/DiceRoller.h"
#include "state/MarkersMgmt.h"
#include "state/TableState.h"
#include "table/CardActions.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace net_commands {

std::int16_t Whole(const std::string& field) {
    return static_cast<std::int16_t>(std::nearbyint(*WireNumber(field)));
}

// A position received in pixels, in this side's twips.
int Twips(const std::string& field) {
    return static_cast<int>(std::nearbyint(*WireNumber(field) * platform::kTwipsPerPixelX));
}

bool Fits(Field kind, const std::string& field) {
    if (kind == Field::Text) return true;
    if (kind == Field::Turn) return field == "L" || field == "R";
    if (kind == Field::Pixels) {
        const std::optional<double> pixels = WireNumber(field);
        if (!pixels) return false;
        const double twips = std::nearbyint(*pixels * platform::kTwipsPerPixelX);
        return twips >= -32768 && twips <= 32767;
    }
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
    case Field::Owner:
        // 0: nobody's, as a marker a roll places.
        return (n >= 0 && n <= Game.playerCount && n <= kMaxPlayers) || n == kArbitratorSeat;
    case Field::Kind:
        return n >= 1 && n <= MarkerKindCount && MarkerKindTable::Contains(n);
    case Field::Deck:
        return n >= 0 && n < Game.deckCount && n < kMaxDecks;
    case Field::NumMarker:
        return MarkerFlags::Contains(n) && NumMarkerInUse[n] != kFalse;
    case Field::ImageMarker:
        return MarkerInstanceTable::Contains(n + 1) && GraphMarkers[n + 1].inUse != kFalse;
    case Field::Die:
        return IsDefinedDie(n);
    case Field::Whole:
    case Field::Text:
    case Field::Turn:
    case Field::Pixels:
        return true;
    }
    return false;
}

} // namespace net_commands

using namespace net_commands;

namespace {

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
    // The fields that name a card and the sender's control of it (-1 when none, else field
    // indexes from 0). The card must lie on this table; its control here stands in for the
    // sender's, which may number it otherwise.
    int cardField = -1;
    int controlField = -1;
    // What the fields alone cannot tell (an empty deck, a well-formed list): the reason the
    // command does not fit the table, or nullptr.
    const char* (*fits)(const NetCommand&) = nullptr;
    // Fields at the end of the row that a sender may leave out.
    std::size_t optionalFields = 0;
};

NetCommandHook g_handshake;
NetCommandHook g_chat;
// The connections on which "not known" and the tables gone apart were last told.
int g_toldUnknownOn = -1;
int g_toldApartOn = -1;

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

const std::vector<Row>& Rows() {
    static const std::vector<Row> rows = {
        // Missing fields read as empty and further ones are not read: every request is answered.
        {"SETUP",
         {Field::Text, Field::Text, Field::Text, Field::Text},
         true,
         Phase::Any,
         ToHandshake,
         -1,
         -1,
         nullptr,
         4},
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
        {"CDISCARD", {Field::Card, Field::Whole}, false, Phase::TableWindow, RecvCardDiscard, 0, 1},
        {"CELIM",
         {Field::Card, Field::Whole},
         false,
         Phase::TableWindow,
         RecvCardEliminate,
         -1,
         -1,
         FitsEliminate},
        {"CFLIP", {Field::Card, Field::Whole}, false, Phase::TableWindow, RecvCardFlip, 0, 1},
        {"CTAKE", {Field::Card, Field::Whole, Field::Seat}, false, Phase::TableWindow, RecvCardTake, 0, 1},
        // The sender's control, and the card it shows there (which a sender may leave out).
        {"CROTATE", {Field::Whole, Field::Card}, false, Phase::TableWindow, RecvCardRotate, 1, 0, nullptr, 1},
        {"C2BTMDD", {Field::Card}, false, Phase::TableWindow, RecvToBottomOfDrawDeck, -1, -1, FitsToBottom},
        {"DKMD2B",
         {Field::Deck},
         false,
         Phase::TableWindow,
         RecvDiscardToBottom,
         -1,
         -1,
         DiscardPileHasACard},
        {"MRKDEL", {Field::NumMarker}, false, Phase::TableWindow, RecvMarkerDelete},
        {"GPHMRKDEL", {Field::ImageMarker}, false, Phase::TableWindow, RecvGraphMarkerDelete},
        {"GPHMRKFLP", {Field::ImageMarker}, false, Phase::TableWindow, RecvGraphMarkerFlip},
        {"MRKROT", {Field::ImageMarker, Field::Turn}, false, Phase::TableWindow, RecvMarkerRotate},
        {"CLOAD", {Field::Deck}, false, Phase::TableWindow, RecvDrawCard, -1, -1, DeckHasACard},
        {"CMOVE",
         {Field::Whole, Field::Pixels, Field::Pixels, Field::Card},
         false,
         Phase::TableWindow,
         RecvCardMove,
         3,
         0,
         nullptr,
         1},
        {"CDSC2PLAY",
         {Field::Deck},
         false,
         Phase::TableWindow,
         RecvDiscardToPlay,
         -1,
         -1,
         DiscardPileHasACard},
        {"CSELDR",
         {Field::Deck, Field::Text},
         false,
         Phase::TableWindow,
         RecvSelectedDraw,
         -1,
         -1,
         FitsSelectedDraw},
        // The turns follow only from a deck that turns its cards as it shuffles.
        {"DKSHUFF",
         {Field::Deck, Field::Text, Field::Text},
         false,
         Phase::TableWindow,
         RecvDeckShuffle,
         -1,
         -1,
         FitsDeckShuffle,
         1},
        {"CINVERT", {Field::Whole, Field::Card}, false, Phase::TableWindow, RecvCardInvert, 1, 0, nullptr, 1},
        {"CGIVE", {Field::Card, Field::Whole, Field::Seat}, false, Phase::TableWindow, RecvCardGive, 0, 1},
        {"CPUTBACK", {Field::Card, Field::Whole}, false, Phase::TableWindow, RecvPutBack, 0, 1},
        {"GAMEEND", {}, false, Phase::TableWindow, RecvEndGame},
        // The definition is followed by an empty field; a definition that held the separator is cut.
        {"MRKLOAD", {Field::Text}, true, Phase::TableWindow, RecvMarkerNew, -1, -1, NumMarkerFree},
        {"MRKMV",
         {Field::NumMarker, Field::NumMarker, Field::Pixels, Field::Pixels},
         false,
         Phase::TableWindow,
         RecvMarkerMove},
        {"MRKUPD", {Field::NumMarker, Field::Text}, true, Phase::TableWindow, RecvMarkerUpdate},
        {"GPHMRKLOAD",
         {Field::Kind, Field::Owner, Field::Pixels, Field::Pixels},
         false,
         Phase::TableWindow,
         RecvGraphMarkerNew,
         -1,
         -1,
         GraphMarkerCanBeMade},
        {"GPHMRKMV",
         {Field::ImageMarker, Field::ImageMarker, Field::Pixels, Field::Pixels},
         false,
         Phase::TableWindow,
         RecvGraphMarkerMove},
        {"CNEWCARD",
         {Field::Deck, Field::Text, Field::Whole, Field::Whole},
         false,
         Phase::TableWindow,
         RecvNewCard,
         -1,
         -1,
         FitsNewCard},
        // The hands.
        {"CLDONHAND", {Field::Deck}, false, Phase::TableWindow, RecvDrawCardToHand, -1, -1, FitsDrawToHand},
        {"CDRPHND",
         {Field::Card, Field::Pixels, Field::Pixels, Field::Seat, Field::Text},
         false,
         Phase::TableWindow,
         RecvCardDropFromHand,
         -1,
         -1,
         FitsHeldCard},
        {"C2WINHAND",
         {Field::Card, Field::Whole, Field::Whole, Field::Seat},
         false,
         Phase::TableWindow,
         RecvCardToWindowHand,
         -1,
         -1,
         FitsToTableHand},
        {"C2HAND",
         {Field::Card, Field::Whole, Field::Seat},
         false,
         Phase::TableWindow,
         RecvCardToHand,
         -1,
         -1,
         FitsToHandWindow},
        {"DSC2HND", {Field::Whole, Field::Deck}, false, Phase::TableWindow, RecvDiscardToHand},
        {"CHNDDSCARD",
         {Field::Card, Field::Whole},
         false,
         Phase::TableWindow,
         RecvHandDiscard,
         -1,
         -1,
         FitsHeldCard},
    };
    return rows;
}

// A table command that does not fit this table means that the two tables went apart (or that the
// other side is not an honest copy): the players are told once per connection, for they should
// bring the tables together again, and every drop goes to the debug log.
void Drop(const Row& row, const NetCommand& c, const std::string& why) {
    DebugLog("dropped", c.word + " (" + std::to_string(c.fields.size()) + " fields): " + why);
    if (row.phase == Phase::Any || g_toldApartOn == NetConnectionSerial()) return;
    g_toldApartOn = NetConnectionSerial();
    ShowMsg("The other side's command " + c.word +
            " does not fit this table: the two tables differ. Save the game and continue it from the save "
            "on both sides to play on with equal tables.");
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

void DispatchNetCommand(const NetCommand& received) {
    for (const Row& row : Rows()) {
        if (received.word != row.word) continue;
        const std::size_t n = row.fields.size();
        const std::size_t given = received.fields.size();
        // A table arrives only while a game is played: a command before that is not a sign of
        // tables gone apart.
        if (row.phase != Phase::Any && Game.GamePhase != kPhasePlaying && Game.GamePhase != kPhaseEnded)
            return DebugLog("dropped", received.word + ": no table is being played");
        if (row.phase == Phase::TableWindow && !Actions())
            return DebugLog("dropped", received.word + ": no table window is open");
        if ((given > n && !row.trailingField) || given + row.optionalFields < n)
            return Drop(row, received, "expected " + std::to_string(n) + " fields");
        for (std::size_t i = 0; i < std::min(n, given); ++i)
            if (!Fits(row.fields[i], received.fields[i]))
                return Drop(row, received,
                            "field " + std::to_string(i + 2) + " is out of range: " + received.fields[i]);
        // Fields a sender left out read as empty.
        NetCommand command = received;
        if (command.fields.size() < n) command.fields.resize(n);
        if (row.fits)
            if (const char* why = row.fits(command)) return Drop(row, command, why);
        if (row.cardField < 0) return row.handler(command);
        const auto cardField = static_cast<std::size_t>(row.cardField);
        const auto controlField = static_cast<std::size_t>(row.controlField);
        if (command.fields[cardField].empty()) {
            // A sender that names no card: the control it names must show one here.
            if (Actions()->CardOfElement(Whole(command.fields[controlField])) == 0)
                return Drop(row, command, "the control shows no card");
            return row.handler(command);
        }
        const std::int16_t card = Whole(command.fields[cardField]);
        const std::int16_t own = Cards[card].controlIndex;
        if (Actions()->CardOfElement(own) != card) return Drop(row, command, "the card is not on the table");
        // The card's control here stands in for the sender's, which may number it otherwise.
        command.fields[controlField] = std::to_string(own);
        return row.handler(command);
    }
    const std::string word = received.word.substr(0, 40);
    DebugLog("dropped", "unknown command " + word);
    if (g_toldUnknownOn == NetConnectionSerial()) return;
    g_toldUnknownOn = NetConnectionSerial();
    ShowMsg("Command " + word + " not known");
}

void ResetNetNotices() {
    g_toldUnknownOn = -1;
    g_toldApartOn = -1;
}

void InstallNetDispatcher() {
    ResetNetNotices();
    SetNetCommandHandler(DispatchNetCommand);
}

NetCommandHook SetHandshakeHandler(NetCommandHook handler) {
    return std::exchange(g_handshake, std::move(handler));
}

NetCommandHook SetChatHandler(NetCommandHook handler) {
    return std::exchange(g_chat, std::move(handler));
}
