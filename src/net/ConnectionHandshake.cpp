#include "net/ConnectionForm.h"

#include "net/ChatForm.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "net/MultiplayerMgmt.h"
#include "net/NetCommands.h"
#include "net/WireWords.h"
#include "platform/Codec.h"
#include "platform/Files.h"
#include "platform/Socket.h"
#include "services/DebugMgmt.h"
#include "services/DiceRoller.h"
#include "state/GameMgmt.h"
#include "state/Helpers.h"
#include "state/OptionMgmt.h"
#include "state/PropertyMgmt.h"
#include "state/SaveRecord.h"
#include "state/TableState.h"
#include "table/MainForm.h"
#include "table/SaveGameMgmt.h"
#include "table/TableSetup.h"
#include "table/ToolBarForm.h"

#include <cmath>

namespace {

std::string TransferFile(int role) {
    return "direct.save.data." + std::to_string(role);
}

std::int16_t SeatOf(const NetPlayer& player) {
    return LeadingInt16(player.seatId);
}

// A record travels as the one field of its command; bytes of the field separator in it cut it
// into several, which belong together again.
std::string JoinedFields(const NetCommand& command) {
    std::string joined;
    for (std::size_t i = 0; i < command.fields.size(); ++i) {
        if (i > 0) joined += kNetSeparator;
        joined += command.fields[i];
    }
    return joined;
}

} // namespace

void ConnectionForm::HandleHandshake(const NetCommand& command) {
    const std::string& word = command.word;
    if (word == wire::kSetup || word == wire::kRefusal || word == wire::kClosed) return AnalizeData(command);
    if (NetRole != kNetClient || stage_ != Stage::Requested) {
        DebugLog("dropped", word + ": no game was asked for");
        return;
    }
    if (word == wire::kServerData) return RecvServerData(command);
    if (!serverDataReceived_) {
        DebugLog("dropped", word + ": the server's data did not come first");
        return;
    }
    const bool newGame = word == wire::kNewGame;
    Game.CurrentPlayer = SeatOf(NetPlayerData[1]);
    if (!ReceiveGameData(command, newGame)) return;
    if (newGame)
        LoadReceivedGame();
    else
        LoadReceivedSavedGame();
}

void ConnectionForm::AnalizeData(const NetCommand& command) {
    if (command.word == wire::kClosed) {
        // Told once: a peer that sends it again has nothing new to say.
        if (termToldOn_ == NetConnectionSerial())
            return DebugLog("dropped", std::string(wire::kClosed) + ": told already");
        termToldOn_ = NetConnectionSerial();
        ShowMsg("Your adversary closed the program");
        return;
    }
    if (NetRole == kNetClient) {
        if (command.word != wire::kRefusal || stage_ != Stage::Requested) return;
        Add2Log("warning", "Game not found: please select another game");
        sendCMD.SetCaption("Send Game");
        sendCMD.SetEnabled(true);
        return;
    }
    // Only the first request of a connection is answered: a game once loaded is not loaded again.
    if (command.word != wire::kSetup || stage_ != Stage::Listening) {
        DebugLog("dropped", command.word + ": no request is awaited");
        return;
    }
    const std::vector<std::string>& f = command.fields;
    NetPlayerData[1] = NetPlayer{f[0], f[1], f[3], std::to_string(LeadingInt16(f[2]))};
    Add2Log("Received", "Name='" + f[0] + "' Game=" + f[1] + " ID=" + f[2] + " OPT=" + f[3]);
    const std::string refusal = SetupRefusal(command);
    if (!refusal.empty()) return RefuseRequest(refusal);
    RelistenTimer.SetEnabled(false);
    stage_ = Stage::Requested;
    SendServerData();
    LoadReceivedGame();
}

std::string ConnectionForm::SetupRefusal(const NetCommand& command) {
    const std::string& game = command.fields[1];
    if (game.empty()) return "the client named no game";
    if (!GameFileExists(game)) return "the game " + game + " is not beside the program";
    const NetPlayer& own = NetPlayerData[0];
    if (!platform::AnsiEqualNoCase(game, own.game))
        return "the client asked for " + game + ", this side plays " + own.game;
    const std::optional<double> seat = WireNumber(command.fields[2]);
    const int seats = SeatsOfGame(platform::ProgramFolder() + "\\" + own.game);
    if (!seat || *seat < 1 || *seat > seats || *seat != std::floor(*seat))
        return "the client asked for seat " + command.fields[2] + ", the game has seats 1 to " +
               std::to_string(seats);
    if (static_cast<int>(*seat) == SeatOf(own))
        return "the client asked for seat " + command.fields[2] + ", which this side plays";
    return "";
}

void ConnectionForm::RefuseRequest(const std::string& reason) {
    Add2Log("Refused", reason);
    if (const std::optional<std::string> message = BuildNetMessage(wire::kRefusal, {})) SendNetData(*message);
}

void ConnectionForm::SendServerData() {
    const NetPlayer& own = NetPlayerData[0];
    // The player number travels with one leading blank, as the space-padded conversion gives it.
    const std::optional<std::string> message = BuildNetMessage(
        wire::kServerData, {own.name, own.game, " " + std::to_string(SeatOf(own)), own.option});
    if (message) SendNetData(*message);
}

void ConnectionForm::RecvServerData(const NetCommand& command) {
    const std::vector<std::string>& f = command.fields;
    const std::int16_t seat = LeadingInt16(f[2]);
    // The server's seat is the adversary's in every command that follows: it must be a seat of
    // the game, and not the one this side plays.
    const int seats = SeatsOfGame(platform::ProgramFolder() + "\\" + NetPlayerData[1].game);
    if (seat < 1 || seat > seats || seat == SeatOf(NetPlayerData[1])) {
        Add2Log("warning", "The server's seat " + StripBlanks(f[2]) + " does not fit this game");
        DebugLog("dropped", "SRVDATA: seat " + f[2]);
        return;
    }
    NetPlayerData[0] = NetPlayer{f[0], f[1], f[3], std::to_string(seat)};
    serverDataReceived_ = true;
}

bool ConnectionForm::SendGameData(bool newGame) {
    const std::string name = TransferFile(NetRole);
    if (!SaveGame(name)) return false;
    const std::optional<std::string> bytes = platform::ReadFileBytes(SaveFilePath(name));
    if (!bytes) {
        ShowMsg("The game could not be read back from " + SaveFilePath(name));
        return false;
    }
    const std::optional<std::string> message =
        BuildNetMessage(newGame ? wire::kNewGame : wire::kSavedGame, {*bytes});
    if (!message) {
        ShowMsg("The game cannot be sent: its record holds " + std::string(kNetTerminator));
        return false;
    }
    gameRecord_ = *bytes;
    return SendNetData(*message);
}

bool ConnectionForm::ReceiveGameData(const NetCommand& command, bool newGame) {
    const std::string bytes = JoinedFields(command);
    // Checked whole before the file, the table or the game change.
    const auto record = NewSaveRecord();
    std::string error;
    std::string refusal;
    if (!DecodeSaveRecord(bytes, *record, error)) {
        refusal = error;
    } else if (const std::string file = RerootedGameFile(record->gameFile);
               file.empty() || !FileExists(file)) {
        refusal = "its game file " + PathFileName(record->gameFile) + " is not beside the program";
    } else if (!platform::AnsiEqualNoCase(PathFileName(file), NetPlayerData[0].game)) {
        refusal = "it is a game of " + PathFileName(file) + ", not of " + NetPlayerData[0].game;
    } else if (SeatOf(NetPlayerData[1]) > record->game.playerCount ||
               SeatOf(NetPlayerData[0]) > record->game.playerCount) {
        refusal = "it has no seat " + NetPlayerData[1].seatId;
    } else if (newGame && HoldsPlayedTable(*record)) {
        // The opening deal would go over the cards already dealt.
        refusal = "it is a game already under way, sent as a new game";
    }
    if (refusal.empty() && !platform::WriteFileAtomic(SaveFilePath(TransferFile(kNetClient)), bytes))
        refusal = "it could not be written to " + SaveFilePath(TransferFile(kNetClient));
    if (!refusal.empty()) {
        ShowMsg("The game received cannot be loaded: " + refusal);
        return RefuseReceivedGame();
    }
    NewTable();
    if (!LoadSavedGame(TransferFile(kNetClient), true)) {
        table_.reset();
        // What was refused is not kept as the game received.
        platform::RemoveFile(SaveFilePath(TransferFile(kNetClient)));
        return RefuseReceivedGame();
    }
    gameRecord_ = bytes;
    return true;
}

bool ConnectionForm::RefuseReceivedGame() {
    Add2Log("warning", "The game received was refused");
    // No other record is awaited: long messages are no longer taken.
    AllowGameTransferMessages(false);
    return false;
}

MainForm& ConnectionForm::NewTable() {
    table_.reset();
    table_ = std::make_unique<MainForm>();
    table_->Others.unloadConnection = [this] { form.Unload(); };
    table_->Others.showGameList = [this] {
        if (ShowGameList) ShowGameList();
    };
    table_->Others.showChat = ShowChatWindow;
    if (WireTable) WireTable(*table_);
    return *table_;
}

void ConnectionForm::ShowTable() {
    form.Hide();
    AllowGameTransferMessages(false);
    stage_ = Stage::Playing;
    table_->Window().Show();
    if (!PanelCarriesToolBar()) ShowToolBar(*table_);
    Game.GamePhase = kPhasePlaying;
    UpdateTitle();
    table_->Window().Activate();
}

void ConnectionForm::AbandonServerGame(const std::string& why) {
    table_.reset();
    Add2Log("Status", why);
    ::CloseConnection();
    stage_ = Stage::Listening;
    StartListeningForClient();
}

void ConnectionForm::LoadReceivedGame() {
    // The server chooses between a new game and a saved one; the client follows what it sends,
    // whatever its own saved-game box holds.
    if (NetRole == kNetServer && !SavedName.Text().empty()) return LoadReceivedSavedGame();
    const int own = NetRole == kNetServer ? 0 : 1;
    if (NetRole == kNetServer) {
        CurrentGameFile = platform::ProgramFolder() + "\\" + NetPlayerData[0].game;
        InitGameOptions();
        for (const NetPlayer& p : NetPlayerData)
            GameOptionTable.selectedOption[SeatOf(p)] =
                OptionIndexFromLabel(CurrentGameFile, SeatOf(p), p.option);
        // The window is there before the game: the deck pictures are laid on it.
        NewTable();
        Game.CurrentPlayer = SeatOf(NetPlayerData[0]);
        if (!LoadDefinitionForTable(CurrentGameFile))
            return AbandonServerGame("The game could not be loaded");
        ResetTableState();
        LoadDeckImages(false);
        // The state leaves before any card is dealt: both sides deal the same cards from it.
        if (!SendGameData(true)) return AbandonServerGame("The game could not be sent");
    } else {
        // The definition's own parts that a record does not carry.
        LoadReports(CurrentGameFile);
    }
    Game.CurrentPlayer = SeatOf(NetPlayerData[static_cast<std::size_t>(own)]);
    // Both sides deal with one generator state, drawn from the game both hold, so the shuffles of
    // the opening deal (a deck that dealt a card straight into a hand) leave both tables alike;
    // each game sent is new, so each session deals anew. Then each side's rolls are its own again.
    SeedRandomFromBytes(gameRecord_);
    SetUpDealtTable(*table_);
    SeedRandomFromEntropy();
    LoadDice();
    ShowTable();
}

void ConnectionForm::LoadReceivedSavedGame() {
    if (NetRole == kNetServer) {
        CurrentGameFile = platform::ProgramFolder() + "\\" + NetPlayerData[0].game;
        NewTable();
        // The load keeps the seat this side plays, as it does for a received game.
        Game.CurrentPlayer = SeatOf(NetPlayerData[0]);
        if (!LoadSavedGame(SavedName.Text() + ".save", true))
            return AbandonServerGame("The saved game could not be loaded");
        if (!SendGameData(false)) return AbandonServerGame("The game could not be sent");
    }
    RestoreLoadedTable();
    ShowTable();
}

void ConnectionForm::RelistenTimer_Timer() {
    if (NetRole != kNetServer || stage_ != Stage::Listening) {
        RelistenTimer.SetEnabled(false);
        return;
    }
    const int state = NetSocketState();
    if (state == platform::Socket::kConnected) clientConnected_ = true;
    const bool left =
        state == platform::Socket::kClosing || (state == platform::Socket::kClosed && clientConnected_);
    if (!left) return;
    Add2Log("Status", "The client left before asking for a game");
    ::CloseConnection();
    StartListeningForClient();
}
