#include "state/CaptionMgmt.h"

#include "common/Helpers.h"
#include "common/Numbers.h"
#include "common/Version.h"
#include "platform/Codec.h"
#include "platform/Files.h"
#include "state/DecksMgmt.h"
#include "state/HandMgmt.h"
#include "state/Helpers.h"
#include "state/Model.h"
#include "state/OptionMgmt.h"
#include "state/TableState.h"

#include <unordered_map>

namespace {

const char* const kVersion = kVersionText;

struct CardInfoCache {
    std::string file;
    bool read = false;
    std::unordered_map<std::string, std::string> values; // by upper-cased key
};
CardInfoCache g_cardInfo;

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    if (from.empty()) return text;
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The lines of the [CARD INFO] section (exactly so spelt) up to the next section header; the
// first line of a key wins.
void ReadCardInfoSection() {
    g_cardInfo = CardInfoCache{CurrentGameFile, true, {}};
    const auto bytes = platform::ReadFileBytes(CurrentGameFile);
    if (!bytes) return;
    bool inSection = false;
    std::size_t start = 0;
    while (start < bytes->size()) {
        std::size_t end = bytes->find('\n', start);
        if (end == std::string::npos) end = bytes->size();
        std::string line = bytes->substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (inSection && !line.empty() && line[0] == '[') break;
        if (line == "[CARD INFO]") {
            inSection = true;
            continue;
        }
        if (inSection)
            g_cardInfo.values.emplace(platform::AnsiUpper(GetField(line, 1, "=")), GetField(line, 2, "="));
    }
}

std::string SeatName(int seat) {
    return seat >= 1 && seat <= kMaxSeats ? Game.players[seat].name : std::string();
}

std::string OwnerText(std::int16_t owner, bool brackets) {
    const std::string name = owner == 0 ? "COMMON" : SeatName(owner);
    return brackets ? "[" + name + "]" : name;
}

std::string Counted(int n) {
    return " (" + std::to_string(n) + " card" + (n == 1 ? "" : "s") + ")";
}

std::string OptionText(int seat) {
    if (seat < 1 || seat > kMaxSeats) return "";
    const std::string label = SelectedOptionLabel(static_cast<std::int16_t>(seat));
    return label.empty() ? "" : " (" + label + ")";
}

} // namespace

std::string ReadCardInfoFile(const std::string& key) {
    if (key.empty()) return "";
    if (!g_cardInfo.read || g_cardInfo.file != CurrentGameFile) ReadCardInfoSection();
    const auto it = g_cardInfo.values.find(platform::AnsiUpper(key));
    return it == g_cardInfo.values.end() ? "" : it->second;
}

void ForgetCardInfo() {
    g_cardInfo = CardInfoCache{};
}

std::string CardDisplayName(std::int16_t card) {
    if (!CardTable::Contains(card)) return {};
    const CardRecord& record = Cards[card];
    if (record.key.empty()) return record.image;
    const std::string title = GetField(ReadCardInfoFile(record.key), 1, "|");
    return title.empty() ? record.key : title;
}

std::string DeckDisplayName(std::int16_t deck) {
    if (!Game.decks.Contains(deck)) return {};
    const DeckRecord& record = Game.decks[deck];
    if (!record.name.empty()) return record.name;
    return platform::AnsiLower(record.section);
}

std::string CardTooltipText(std::int16_t card) {
    if (!CardTable::Contains(card)) return "";
    const CardRecord& c = Cards[card];
    std::string text = OwnerText(c.owner, true);
    const bool mayShow =
        (!IsCardInHand(c.controlIndex, card) && c.faceShown != kFalse) || c.owner == Game.CurrentPlayer;
    const std::string format =
        c.deck >= 0 && c.deck < kMaxDecks ? Game.decks[c.deck].cardTooltipFormat : std::string();
    if (mayShow && !format.empty()) {
        text = ReplaceAll(format, "%PL", OwnerText(c.owner, false));
        text = ReplaceAll(text, "%ID", CardDisplayName(card));
        std::string info = ReadCardInfoFile(c.key);
        if (info.empty()) info = "|<no info available>";
        text = ReplaceAll(text, "%INFO", GetField(info, 2, "|"));
        text = ReplaceAll(text, "\\n", "\r\n");
    }
    if (!text.empty() && text.back() == '|') text.pop_back();
    return text;
}

std::string CardInfoDescription(const std::string& info) {
    return ReplaceAll(GetField(info, 2, "|"), "\\n", "\r\n");
}

DeckPileTips DeckCountTips(std::int16_t deck) {
    DeckPileTips tips;
    if (deck < 0 || deck >= kMaxDecks) return tips;
    const DeckRecord& d = Game.decks[deck];
    tips.drawPile = !d.name.empty() ? d.name : OwnerText(d.owner, true);
    if (d.count_cards_in_draw_pile) tips.drawPile += Counted(CountPileCards(deck, false));
    if (d.count_cards_in_discard_pile) tips.discardPile = Counted(CountPileCards(deck, true));
    return tips;
}

std::string ProgramVersion() {
    return kVersion;
}

std::string TableCaption() {
    const int me = Game.CurrentPlayer;
    std::string caption = std::string("Karvel Engine - ") + kVersion + " [" + SeatName(me) + OptionText(me);
    if (GameMode != kModeLocal) {
        // The other side's seat: the client's entry on the server, the server's on the client.
        const TableModel& model = Model();
        const int other = LeadingInt16(model.NetPlayerData[model.IsServerSide ? 1 : 0].seatId);
        caption += " vs " + SeatName(other) + OptionText(other);
    }
    caption += "]";
    if (GetBoolDirective("GAME", "showAdversaryHandOnCaption", false)) {
        const std::int16_t adversary = me == 1 ? 2 : 1;
        caption += " - [Adversary hand: " + std::to_string(CountHandCards(adversary)) + "]";
    }
    if (Game.GamePhase == kPhaseEnded) caption += " *** END GAME ***";
    return caption;
}
