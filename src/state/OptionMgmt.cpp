#include "state/OptionMgmt.h"

#include "common/Messages.h"
#include "common/Numbers.h"
#include "state/Helpers.h"
#include "state/PlayerMgmt.h"

#include <algorithm>

namespace {

std::string OptionLine(int k, const std::string& file) {
    return GetIni("OPTIONS", "option" + std::to_string(k), file);
}

// The number of options of a definition, within the table.
int OptionCountOf(const std::string& file) {
    return std::clamp<int>(LeadingInt16(GetIni("OPTIONS", "num_options", file)), 0, kMaxOptions);
}

bool BelongsTo(const std::string& line, std::int16_t player) {
    return LeadingInt16(GetField(line, 3, ",")) == player;
}

bool MarkedDefault(const std::string& line) {
    return GetField(line, 4, ",") == "TRUE";
}

// The option a player selected; 0 when none, also for a selection outside the table, as a damaged
// saved game could hold.
std::int16_t SelectedIndex(int player) {
    if (player < 1 || player > kMaxPlayers) return 0;
    const std::int16_t selected = GameOptionTable.selectedOption[player];
    return selected >= 1 && selected <= kMaxOptions ? selected : 0;
}

std::string SelectedOptionName(int player) {
    const std::int16_t k = SelectedIndex(player);
    return k == 0 ? std::string() : GameOptionTable.optionNames[k];
}

// The last option of a player in a definition whose label is the one given; 0 when none.
std::int16_t LastOptionWithLabel(const std::string& file, std::int16_t player, const std::string& label) {
    std::int16_t found = 0;
    const int count = OptionCountOf(file);
    for (int k = 1; k <= count; ++k) {
        const std::string line = OptionLine(k, file);
        if (BelongsTo(line, player) && GetField(line, 2, ",") == label) found = static_cast<std::int16_t>(k);
    }
    return found;
}

} // namespace

void InitGameOptions() {
    InitGameOptions(CurrentGameFile);
}

void InitGameOptions(const std::string& file) {
    // Nothing of the previous game may stay, also when this one has no options.
    GameOptionTable.num_options = 0;
    GameOptionTable.optionNames.Fill("");
    GameOptionTable.selectedOption.Fill(0);

    // A count beyond the seats is refused by the definition reader; until then no one may index
    // the seat table with it.
    Game.playerCount = static_cast<std::int16_t>(
        std::clamp<int>(LeadingInt16(GetIni("Game", "players", file)), 0, kMaxPlayers));
    Game.arbitrator = ToFlag(GetBoolDirective("Game", "arbitrator", false, file));
    Game.players[kArbitratorSeat].seatId = kNoSeatId;
    LoadPlayerNames(file);

    const std::int16_t declared = LeadingInt16(GetIni("OPTIONS", "num_options", file));
    if (declared > kMaxOptions)
        ShowMsg("The game defines " + std::to_string(declared) + " options: only the first " +
                std::to_string(kMaxOptions) + " are used");
    GameOptionTable.num_options = static_cast<std::int16_t>(std::clamp<int>(declared, 0, kMaxOptions));
    if (GameOptionTable.num_options == 0) return;

    for (int player = 1; player <= kMaxPlayers; ++player)
        GameOptionTable.selectedOption[player] = DefaultOptionOf(static_cast<std::int16_t>(player), file);
    for (int k = 1; k <= kMaxOptions; ++k)
        GameOptionTable.optionNames[k] = GetField(OptionLine(k, file), 1, ",");
}

Flag HasOptions() {
    return ToFlag(GameOptionTable.num_options >= 1);
}

std::int16_t DefaultOptionOf(std::int16_t player) {
    return DefaultOptionOf(player, CurrentGameFile);
}

std::int16_t DefaultOptionOf(std::int16_t player, const std::string& file) {
    std::int16_t found = 0;
    const int count = std::clamp<int>(GameOptionTable.num_options, 0, kMaxOptions);
    for (int k = 1; k <= count; ++k) {
        const std::string line = OptionLine(k, file);
        if (BelongsTo(line, player) && MarkedDefault(line)) found = static_cast<std::int16_t>(k);
    }
    return found;
}

std::string SelectedOptionLabel(std::int16_t player) {
    const std::int16_t k = SelectedIndex(player);
    return k == 0 ? std::string() : GetField(OptionLine(k, CurrentGameFile), 2, ",");
}

std::int16_t FindOptionByName(const std::string& name) {
    for (int k = 1; k <= kMaxOptions; ++k) {
        if (GameOptionTable.optionNames[k] == name) return static_cast<std::int16_t>(k);
    }
    return -1;
}

Flag IsOptionExprActive(const std::string& expr) {
    // A game without options offers none to choose: a card naming one would be lost to every game.
    if (expr.empty() || GameOptionTable.num_options <= 0) return kFalse;
    const int players = std::clamp<int>(Game.playerCount, 0, kMaxPlayers);
    const int count = CountFields(expr, "+");
    for (int player = 1; player <= players; ++player) {
        const std::string selected = SelectedOptionName(player);
        if (selected.empty()) continue;
        for (int i = 1; i <= count; ++i) {
            if (GetField(expr, i, "+") == selected) return kFalse;
        }
    }
    return kTrue;
}

std::string DeckSectionFor(std::int16_t deck, std::int16_t player, const std::string& file) {
    const std::string section = "DECK " + std::to_string(deck) + " PLAYER " + std::to_string(player);
    const int variants = LeadingInt16(GetIni(section, "num_variants", file));
    if (variants <= 0) return section;
    const std::string selected = SelectedOptionName(player);
    std::string answer;
    if (selected.empty()) return answer;
    for (int k = 1; k <= variants; ++k) {
        const std::string line = GetIni(section, "var" + std::to_string(k), file);
        if (GetField(line, 2, ",") == selected) answer = "DECK " + GetField(line, 1, ",");
    }
    return answer;
}

void FillOptionList(const std::string& file, std::int16_t player, OptionList& list) {
    list.labels.clear();
    list.selected = -1;
    const int count = OptionCountOf(file);
    for (int k = 1; k <= count; ++k) {
        const std::string line = OptionLine(k, file);
        if (!BelongsTo(line, player)) continue;
        list.labels.push_back(GetField(line, 2, ","));
        if (MarkedDefault(line)) list.selected = static_cast<int>(list.labels.size()) - 1;
    }
}

std::string OptionNameFromLabel(const std::string& file, std::int16_t player, const std::string& label) {
    const std::int16_t k = LastOptionWithLabel(file, player, label);
    return k == 0 ? std::string() : GetField(OptionLine(k, file), 1, ",");
}

std::int16_t OptionIndexFromLabel(const std::string& file, std::int16_t player, const std::string& label) {
    return LastOptionWithLabel(file, player, label);
}
