#include "table/JudgeMgmt.h"

#include "state/TableState.h"
#include "table/MainForm.h"
#include "table/PlayerSelectForm.h"
#include "table/TableSetup.h"

#include <algorithm>

void SelectActingPlayer() {
    PlayerSelectForm window;
    window.form.Load();
    window.NameList.Clear();
    for (int seat = 1; seat <= std::clamp<int>(Game.playerCount, 0, kMaxPlayers); ++seat)
        window.NameList.AddItem(Game.players[seat].name);
    window.form.SetCaption("Select player");
    window.form.ShowModal();
    if (window.Result == -1) return;
    Game.CurrentPlayer = window.Result;
    if (TableWindow()) UpdateTitle();
}
