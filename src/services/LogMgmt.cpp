#include "services/LogMgmt.h"

#include "common/Numbers.h"
#include "platform/Codec.h"
#include "state/CaptionMgmt.h"
#include "state/HandMgmt.h"
#include "state/Helpers.h"
#include "state/LogStore.h"
#include "state/TableState.h"

#include <utility>

namespace {

const std::string kLineBreak = "\r\n";

bool LogSwitch(const std::string& key) {
    return platform::AnsiUpper(GetIni("LOG", key, CurrentGameFile)) == "TRUE";
}

std::string SeatName(int seat) {
    return Game.players.Contains(seat) ? Game.players[seat].name : std::string();
}

std::string PlayerPrefix(const std::string& name) {
    return LogSwitch("add_player_name") ? "[" + name + "] " : std::string();
}

std::string ActingPlayerPrefix() {
    return PlayerPrefix(SeatName(Game.CurrentPlayer));
}

bool IsCard(std::int16_t card) {
    return Cards.Contains(card);
}

// Hands each list line of an entry to `line` until it returns false.
template <typename Visit> void ForEachListLine(const std::string& entry, Visit line) {
    for (std::size_t start = 0, n = 0;; ++n) {
        const std::size_t end = entry.find(kLineBreak, start);
        const std::string text =
            entry.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line(n == 0 ? text : "\t" + text) || end == std::string::npos) return;
        start = end + kLineBreak.size();
    }
}

void LogCardIf(const std::string& word, std::int16_t card, const std::string& text, bool checkFace) {
    if (IsCard(card) && IsCardActionLogged(word)) LogCardAction(card, text, checkFace);
}

} // namespace

bool IsLogEnabled() {
    return LogSwitch("use_log");
}

bool LogAllDiceRolls() {
    return LogSwitch("log_all_dice_rolls");
}

bool IsCardActionLogged(const std::string& word) {
    return !word.empty() &&
           GetIni("LOG", "log_card_actions", CurrentGameFile).find(word) != std::string::npos;
}

void AddLogEntry(const std::string& text) {
    StoreLogItem(ActingPlayerPrefix() + text);
}

void AddLogEntryToList(const std::string& text) {
    const std::string name = ArbitratorLoggedIn ? kArbitratorName : SeatName(Game.CurrentPlayer);
    StoreLogItem(PlayerPrefix(name) + text);
}

std::vector<std::string> LogListLines(const std::string& entry) {
    std::vector<std::string> lines;
    ForEachListLine(entry, [&](std::string line) {
        lines.push_back(std::move(line));
        return true;
    });
    return lines;
}

int LogListLineCount(const std::string& entry) {
    int count = 1;
    for (std::size_t at = entry.find(kLineBreak); at != std::string::npos;
         at = entry.find(kLineBreak, at + kLineBreak.size()))
        ++count;
    return count;
}

std::string LogListLine(const std::string& entry, int n) {
    std::string found;
    if (n < 0) return found;
    ForEachListLine(entry, [&](std::string line) {
        if (n-- > 0) return true;
        found = std::move(line);
        return false;
    });
    return found;
}

void LogCardAction(std::int16_t card, const std::string& text, bool checkFace) {
    if (!IsCard(card)) return;
    const CardRecord& record = Cards[card];
    std::string what;
    if (IsCardInHand(record.controlIndex, card)) {
        what = "<on hand>";
    } else if (checkFace && record.faceShown == kFalse) {
        what = "<facedown>";
    } else {
        what = CardDisplayName(card);
        if (LogSwitch("add_card_ID")) what += " (#" + std::to_string(card) + ")";
    }
    StoreLogItem(ActingPlayerPrefix() + text + what);
}

void LogCardPlayed(std::int16_t card) {
    LogCardIf("PLAY", card, "Card Played: ", true);
}

void LogCardPlayedFromDiscard(std::int16_t card) {
    if (!IsCard(card)) return;
    LogCardIf("PLAY", card, "Card Played from discard pile of " + DeckDisplayName(Cards[card].deck) + ": ",
              false);
}

void LogCardDrawn(std::int16_t card, bool fromDiscard) {
    if (!IsCard(card) || !IsCardActionLogged("DRAW")) return;
    StoreLogItem(ActingPlayerPrefix() + "Draw from " + (fromDiscard ? "discard pile of " : "") +
                 DeckDisplayName(Cards[card].deck));
}

void LogCardDiscarded(std::int16_t card) {
    LogCardIf("DISCARD", card, "Card Discarded: ", false);
}

void LogCardEliminated(std::int16_t card) {
    LogCardIf("ELIMINATE", card, "Card Eliminated: ", false);
}

void LogCardFlipped(std::int16_t card) {
    if (!IsCard(card)) return;
    LogCardIf("FLIP", card,
              std::string("Card Flipped ") + (Cards[card].faceShown ? "to front: " : "to back: "), false);
}

void LogCardRotated(std::int16_t card) {
    if (!IsCard(card)) return;
    const std::int16_t rotation = Cards[card].rotation;
    std::string text = "Card rotated ";
    if (rotation != 0)
        text.append("(").append(std::to_string(rotation)).append(") : ");
    else
        text.append("to normal position: ");
    LogCardIf("ROTATE", card, text, true);
}
