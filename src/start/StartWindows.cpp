#include "start/StartWindows.h"

#include "start/SavedGamesForm.h"
#include "start/TableDialogs.h"
#include "state/SaveRecord.h"
#include "table/SaveGameMgmt.h"

#include <vector>

namespace {

// The saves of the save folder as the game list shows them.
std::vector<GameListSave> ListSaves() {
    std::vector<GameListSave> list;
    for (const SavedGameEntry& save : ListSavedGames())
        list.push_back(MakeGameListSave(save.fileName, save.gameFile, !save.damage.empty()));
    return list;
}

} // namespace

StartWindows::StartWindows() {
    SetSavedGameSeams(SavedGameSeams{
        ListSaves,
        [](const GameListSave& save) { return LoadSavedGame(save.fileName, false); },
        RestoreLoadedTable,
        [] { DeleteOldFormatSaves(); },
    });
    splash.ShowGameType = [this] { gameType.form.Show(); };
    gameType.ShowGameList = [this] {
        // The list reads the design flag as it opens: a list left open takes the new choice too.
        gameList.form.Unload();
        gameList.form.Show();
    };
    // Direct play: the connection dialog, and the game list once its table closes.
    SetConnectionDialogOpener([this] { connection.form.Show(); });
    connection.ShowGameList = [this] { gameList.form.Show(); };
    connection.ShowGameType = [this] { gameType.form.Show(); };
    connection.WireTable = WireTableDialogs;
    connection.ChooseSavedGame = PickSavedGame;
}

StartWindows::~StartWindows() {
    SetConnectionDialogOpener(nullptr);
}

void StartWindows::Start() {
    splash.form.Show();
}
