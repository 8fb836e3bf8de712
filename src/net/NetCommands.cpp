// The checked command table: one row per command word with its fields, phases and handler, the
// reading of a field (a number as the protocol writes it, a position in pixels), the check of each
// field against its kind, and the dispatch that drops what does not fit before anything changes.
// The checks the fields alone cannot make are in NetCommandChecks.cpp, the handlers in
// NetCardCommands.cpp and NetMarkerCommands.cpp.
#include "net/NetCommands.h"

#include "common/Messages.h"
#include "net/NetCommandsInternal.h"
#include "net/WireWords.h"
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
    std::vector<Field> fields = {};
    // A command whose last field may be followed by one more, empty or not, that is not read.
    bool trailingField = false;
    Phase phase = Phase::Any;
    void (*handler)(const NetCommand&) = nullptr;
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
        {.word = wire::kSetup,
         .fields = {Field::Text, Field::Text, Field::Text, Field::Text},
         .trailingField = true,
         .phase = Phase::Any,
         .handler = ToHandshake,
         .optionalFields = 4},
        {.word = wire::kRefusal, .phase = Phase::Any, .handler = ToHandshake},
        {.word = wire::kClosed, .phase = Phase::Any, .handler = ToHandshake},
        {.word = wire::kServerData,
         .fields = {Field::Text, Field::Text, Field::Text, Field::Text},
         .phase = Phase::Any,
         .handler = ToHandshake},
        // The record's own bytes may hold the separator: the connection dialog joins the fields.
        {.word = wire::kNewGame,
         .fields = {Field::Text},
         .trailingField = true,
         .phase = Phase::Any,
         .handler = ToHandshake},
        {.word = wire::kSavedGame,
         .fields = {Field::Text},
         .trailingField = true,
         .phase = Phase::Any,
         .handler = ToHandshake},
        // A chat line that held the separator arrives cut there: the rest is not read.
        {.word = wire::kChat,
         .fields = {Field::Text},
         .trailingField = true,
         .phase = Phase::Any,
         .handler = ToChat},
        {.word = wire::kDeckLock, .fields = {Field::Deck}, .phase = Phase::Table, .handler = RecvDeckLock},
        {.word = wire::kDeckUnlock, .fields = {Field::Deck}, .phase = Phase::Table, .handler = RecvDeckLock},
        {.word = wire::kDiceRoll,
         .fields = {Field::Die, Field::Text, Field::Whole},
         .phase = Phase::Table,
         .handler = RecvDiceRoll},
        {.word = wire::kCardDiscard,
         .fields = {Field::Card, Field::Whole},
         .phase = Phase::TableWindow,
         .handler = RecvCardDiscard,
         .cardField = 0,
         .controlField = 1},
        {.word = wire::kCardEliminate,
         .fields = {Field::Card, Field::Whole},
         .phase = Phase::TableWindow,
         .handler = RecvCardEliminate,
         .fits = FitsEliminate},
        {.word = wire::kCardFlip,
         .fields = {Field::Card, Field::Whole},
         .phase = Phase::TableWindow,
         .handler = RecvCardFlip,
         .cardField = 0,
         .controlField = 1},
        {.word = wire::kCardTake,
         .fields = {Field::Card, Field::Whole, Field::Seat},
         .phase = Phase::TableWindow,
         .handler = RecvCardTake,
         .cardField = 0,
         .controlField = 1},
        // The sender's control, and the card it shows there (which a sender may leave out).
        {.word = wire::kCardRotate,
         .fields = {Field::Whole, Field::Card},
         .phase = Phase::TableWindow,
         .handler = RecvCardRotate,
         .cardField = 1,
         .controlField = 0,
         .optionalFields = 1},
        {.word = wire::kCardToBottomOfDrawDeck,
         .fields = {Field::Card},
         .phase = Phase::TableWindow,
         .handler = RecvToBottomOfDrawDeck,
         .fits = FitsToBottom},
        {.word = wire::kDiscardToBottom,
         .fields = {Field::Deck},
         .phase = Phase::TableWindow,
         .handler = RecvDiscardToBottom,
         .fits = DiscardPileHasACard},
        {.word = wire::kMarkerDelete,
         .fields = {Field::NumMarker},
         .phase = Phase::TableWindow,
         .handler = RecvMarkerDelete},
        {.word = wire::kImageMarkerDelete,
         .fields = {Field::ImageMarker},
         .phase = Phase::TableWindow,
         .handler = RecvGraphMarkerDelete},
        {.word = wire::kImageMarkerFlip,
         .fields = {Field::ImageMarker},
         .phase = Phase::TableWindow,
         .handler = RecvGraphMarkerFlip},
        {.word = wire::kMarkerRotate,
         .fields = {Field::ImageMarker, Field::Turn},
         .phase = Phase::TableWindow,
         .handler = RecvMarkerRotate},
        {.word = wire::kDrawCard,
         .fields = {Field::Deck},
         .phase = Phase::TableWindow,
         .handler = RecvDrawCard,
         .fits = DeckHasACard},
        {.word = wire::kCardMove,
         .fields = {Field::Whole, Field::Pixels, Field::Pixels, Field::Card},
         .phase = Phase::TableWindow,
         .handler = RecvCardMove,
         .cardField = 3,
         .controlField = 0,
         .optionalFields = 1},
        {.word = wire::kDiscardToPlay,
         .fields = {Field::Deck},
         .phase = Phase::TableWindow,
         .handler = RecvDiscardToPlay,
         .fits = DiscardPileHasACard},
        {.word = wire::kSelectedDraw,
         .fields = {Field::Deck, Field::Text},
         .phase = Phase::TableWindow,
         .handler = RecvSelectedDraw,
         .fits = FitsSelectedDraw},
        // The turns follow only from a deck that turns its cards as it shuffles.
        {.word = wire::kDeckShuffle,
         .fields = {Field::Deck, Field::Text, Field::Text},
         .phase = Phase::TableWindow,
         .handler = RecvDeckShuffle,
         .fits = FitsDeckShuffle,
         .optionalFields = 1},
        {.word = wire::kCardInvert,
         .fields = {Field::Whole, Field::Card},
         .phase = Phase::TableWindow,
         .handler = RecvCardInvert,
         .cardField = 1,
         .controlField = 0,
         .optionalFields = 1},
        {.word = wire::kCardGive,
         .fields = {Field::Card, Field::Whole, Field::Seat},
         .phase = Phase::TableWindow,
         .handler = RecvCardGive,
         .cardField = 0,
         .controlField = 1},
        {.word = wire::kCardPutBack,
         .fields = {Field::Card, Field::Whole},
         .phase = Phase::TableWindow,
         .handler = RecvPutBack,
         .cardField = 0,
         .controlField = 1},
        {.word = wire::kEndGame, .phase = Phase::TableWindow, .handler = RecvEndGame},
        // The definition is followed by an empty field; a definition that held the separator is cut.
        {.word = wire::kMarkerNew,
         .fields = {Field::Text},
         .trailingField = true,
         .phase = Phase::TableWindow,
         .handler = RecvMarkerNew,
         .fits = NumMarkerFree},
        {.word = wire::kMarkerMove,
         .fields = {Field::NumMarker, Field::NumMarker, Field::Pixels, Field::Pixels},
         .phase = Phase::TableWindow,
         .handler = RecvMarkerMove},
        {.word = wire::kMarkerUpdate,
         .fields = {Field::NumMarker, Field::Text},
         .trailingField = true,
         .phase = Phase::TableWindow,
         .handler = RecvMarkerUpdate},
        {.word = wire::kImageMarkerNew,
         .fields = {Field::Kind, Field::Owner, Field::Pixels, Field::Pixels},
         .phase = Phase::TableWindow,
         .handler = RecvGraphMarkerNew,
         .fits = GraphMarkerCanBeMade},
        {.word = wire::kImageMarkerMove,
         .fields = {Field::ImageMarker, Field::ImageMarker, Field::Pixels, Field::Pixels},
         .phase = Phase::TableWindow,
         .handler = RecvGraphMarkerMove},
        {.word = wire::kNewCard,
         .fields = {Field::Deck, Field::Text, Field::Whole, Field::Whole},
         .phase = Phase::TableWindow,
         .handler = RecvNewCard,
         .fits = FitsNewCard},
        // The hands.
        {.word = wire::kDrawCardToHand,
         .fields = {Field::Deck},
         .phase = Phase::TableWindow,
         .handler = RecvDrawCardToHand,
         .fits = FitsDrawToHand},
        {.word = wire::kCardDropFromHand,
         .fields = {Field::Card, Field::Pixels, Field::Pixels, Field::Seat, Field::Text},
         .phase = Phase::TableWindow,
         .handler = RecvCardDropFromHand,
         .fits = FitsHeldCard},
        {.word = wire::kCardToWindowHand,
         .fields = {Field::Card, Field::Whole, Field::Whole, Field::Seat},
         .phase = Phase::TableWindow,
         .handler = RecvCardToWindowHand,
         .fits = FitsToTableHand},
        {.word = wire::kCardToHand,
         .fields = {Field::Card, Field::Whole, Field::Seat},
         .phase = Phase::TableWindow,
         .handler = RecvCardToHand,
         .fits = FitsToHandWindow},
        {.word = wire::kDiscardToHand,
         .fields = {Field::Whole, Field::Deck},
         .phase = Phase::TableWindow,
         .handler = RecvDiscardToHand},
        {.word = wire::kHandDiscard,
         .fields = {Field::Card, Field::Whole},
         .phase = Phase::TableWindow,
         .handler = RecvHandDiscard,
         .fits = FitsHeldCard},
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
