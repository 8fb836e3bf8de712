#include "state/PlayerMgmt.h"

#include "common/Messages.h"
#include "common/Numbers.h"
#include "platform/Picture.h"
#include "state/GameMgmt.h"
#include "state/Helpers.h"
#include "state/OptionMgmt.h"
#include "state/TableView.h"

#include <algorithm>

namespace {

std::string PlayerSection(int p) {
    return "PLAYER " + std::to_string(p);
}

constexpr std::int32_t Rgb(int red, int green, int blue) {
    return static_cast<std::int32_t>(platform::MakeColour(red, green, blue));
}

int Seats() {
    return std::clamp<int>(Game.playerCount, 0, kMaxPlayers);
}

void AreaChanged(int area) {
    View().PlayerAreaChanged(area);
}

} // namespace

std::int32_t SeatColour(int seat) {
    static constexpr std::int32_t kColours[kMaxPlayers] = {
        Rgb(255, 0, 0),   Rgb(0, 0, 255),   Rgb(0, 192, 0), Rgb(128, 128, 128),
        Rgb(255, 0, 255), Rgb(192, 192, 0), Rgb(64, 64, 0)};
    if (seat < 1 || seat > kMaxPlayers) return 0;
    return kColours[seat - 1];
}

void LoadPlayerNames(const std::string& file) {
    for (int p = 1; p <= Seats(); ++p) {
        PlayerRecord& seat = Game.players[p];
        seat.name = GetIni(PlayerSection(p), "name", file);
        seat.seatId = kNoSeatId;
        seat.hasTableArea = kFalse;
    }
    Game.players[kArbitratorSeat].name = kArbitratorName;
}

void LoadPlayerDecks(const std::string& file) {
    for (int p = 1; p <= Seats(); ++p) {
        PlayerRecord& seat = Game.players[p];
        const std::string section = PlayerSection(p);
        seat.name = GetIni(section, "name", file);
        const int own = std::max<int>(0, LeadingInt16(GetIni(section, "decks", file)));
        seat.deckCount = 0;
        seat.hasTableArea = kFalse;
        for (int k = 1; k <= own && Game.deckCount < kMaxDecks; ++k) {
            const std::int16_t d = Game.deckCount;
            seat.decks[static_cast<std::size_t>(k - 1)] = d;
            seat.deckCount = static_cast<std::int16_t>(k);
            const std::string deckSection =
                DeckSectionFor(static_cast<std::int16_t>(k), static_cast<std::int16_t>(p), file);
            if (deckSection.empty())
                ShowMsg("No variant of [DECK " + std::to_string(k) + " PLAYER " + std::to_string(p) +
                        "] matches the option of player " + std::to_string(p));
            Game.backImages[d] = GameImagePath(GetIni(deckSection, "img_back", file));
            Game.discardImages[d] = GameImagePath(GetIni(deckSection, "img_discard", file));
            ReadDeckDirectives(d, deckSection, file, static_cast<std::int16_t>(p));
            Game.decks[d].split = kFalse;
            Game.decks[d].firstCard = static_cast<std::int16_t>(CardsCreated + 1);
            int made = 0;
            const auto lines = PlayerDeckLines(deckSection, file);
            for (const DeckLines::Entry& entry : lines->entries)
                made += CreateCardsFromLine(d, static_cast<std::int16_t>(p), entry.line);
            Game.deckSizes[d] = static_cast<std::int16_t>(made);
            Game.totalCards = static_cast<std::int16_t>(Game.totalCards + made);
            Game.deckCount = static_cast<std::int16_t>(d + 1);
        }
    }
}

void SetPlayerAreaShape(std::int16_t area, const std::string& rect, Flag show) {
    if (!PlayerAreaTable::Contains(area)) return;
    PlayerAreaShape& shape = PlayerAreas[area];
    const auto field = [&](int n) { return RoundToInt32(LeadingNumber(GetField(rect, n, ","))); };
    shape.top = field(1);
    shape.left = field(2);
    shape.height = field(3);
    shape.width = field(4);
    if (show) {
        shape.outlineColour = SeatColour(area + 1);
        shape.visible = true;
    }
    AreaChanged(area);
}

void ShowPlayerArea(std::int16_t area, Flag visible) {
    if (!PlayerAreaTable::Contains(area)) return;
    PlayerAreaShape& shape = PlayerAreas[area];
    shape.outlineColour = SeatColour(area + 1);
    shape.visible = visible != kFalse;
    AreaChanged(area);
}
