// The arbitrator's choice of the acting player: the seat whose cards the table treats as the
// local player's (effects, reports, the log's prefix, the information panel).
#pragma once

// Shows the seats in the player selection; the chosen one becomes the acting player and the
// table's title follows. Leaving the selection without a choice keeps the acting player.
void SelectActingPlayer();
