#include "table/JudgeMgmt.h"

#include "state/TableState.h"
#include "table/MainForm.h"
#include "table/PlayerSelectForm.h"
#include "table/TableSetup.h"

#include <algorithm>
#include <string>
#include <vector>

void SelectActingPlayer() {
    std::vector<std::string> names;
    for (int seat = 1; seat <= std::clamp<int>(Game.playerCount, 0, kMaxPlayers); ++seat)
        names.push_back(Game.players[seat].name);
    // Esc, or a double click beside the names, keeps the acting player.
    const int chosen = PlayerSelectForm::Choose("Select player", names);
    if (chosen == -1) return;
    Game.CurrentPlayer = static_cast<std::int16_t>(chosen);
    if (TableWindow()) UpdateTitle();
}
