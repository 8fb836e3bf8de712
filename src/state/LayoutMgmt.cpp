#include "state/LayoutMgmt.h"

#include "common/Helpers.h"
#include "state/PlayerMgmt.h"
#include "state/TableState.h"

#include <algorithm>

namespace {

int SeatsWithAreas() {
    return std::clamp<int>(Game.playerCount, 0, kMaxPlayers);
}

} // namespace

void LoadPlayerLayouts() {
    for (int p = 1; p <= SeatsWithAreas(); ++p) {
        const std::string rect = GetIni("PLAYER " + std::to_string(p), "layout", CurrentGameFile);
        if (rect.empty()) continue;
        Game.players[p].hasTableArea = kTrue;
        SetPlayerAreaShape(static_cast<std::int16_t>(p - 1), rect, kFalse);
    }
}

void ShowHandLines(const std::string& file) {
    const bool hideAll = GetIni("GAME", "show_hand_lines", file) == "false" || Game.external_hand != kFalse;
    for (int p = 1; p <= SeatsWithAreas(); ++p)
        ShowPlayerArea(static_cast<std::int16_t>(p - 1), hideAll ? kFalse : Game.players[p].hasTableArea);
}
