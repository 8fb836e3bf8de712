#include "net/ConnectionForm.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "net/MultiplayerMgmt.h"
#include "net/NetCommands.h"
#include "platform/Codec.h"
#include "platform/Files.h"
#include "platform/Seams.h"
#include "platform/Socket.h"
#include "services/DebugMgmt.h"
#include "services/DiceRoller.h"
#include "services/OptionMgmt.h"
#include "services/PropertyMgmt.h"
#include "state/GameMgmt.h"
#include "state/Helpers.h"
#include "state/SaveRecord.h"
#include "state/TableState.h"
#include "table/MainForm.h"
#include "table/SaveGameMgmt.h"
#include "table/SavedGamesForm.h"
#include "table/TableSetup.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>

std::int32_t NetRole = 0;

namespace {

constexpr int kServer = 0;
constexpr int kClient = 1;

std::string TransferFile(int role) {
    return "direct.save.data." + std::to_string(role);
}

bool SameText(const std::string& a, const std::string& b) {
    return platform::AnsiUpper(a) == platform::AnsiUpper(b);
}

// The seats a game file names ([GAME] players), as the player list shows them.
int SeatsOf(const std::string& gameFile) {
    return std::clamp<int>(LeadingInt16(GetIni("GAME", "players", gameFile)), 0, kMaxPlayers);
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

ConnectionForm* g_dialog = nullptr;

} // namespace

bool GameFileExists(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.find_first_of("\\/:") != std::string::npos)
        return false;
    return FileExists(platform::ProgramFolder() + "\\" + name);
}

ConnectionForm::ConnectionForm() {
    form.SetCaption("Direct Play options");
    form.Resize(9600, 7200);
    ServerFrame.SetCaption("Start a new game");
    ServerFrame.Move(120, 120, 4560, 1080);
    ServerText.SetCaption("Start a new game (your adversary will join your game)");
    ServerText.SetWordWrap(true);
    ServerText.Move(1320, 300, 3120, 660);
    ServerCMD.SetCaption("&Server");
    ServerCMD.Move(120, 360, 1080, 495);
    ClientFrame.SetCaption("Adversary");
    ClientFrame.Move(4800, 120, 4560, 1800);
    ClientText.SetCaption("Join an existing game (you need to specify the address of the server)");
    ClientText.SetWordWrap(true);
    ClientText.Move(1320, 300, 3120, 660);
    ClientCMD.SetCaption("C&lient");
    ClientCMD.Move(120, 360, 1080, 495);
    AddressLabel.SetCaption("Address");
    AddressLabel.Move(120, 1080, 960, 255);
    IPtxt.Move(1080, 1040, 2400, 315);
    Command3.SetCaption("List");
    Command3.Move(3600, 1040, 840, 315);
    GameFrame.SetCaption("Select New Game");
    GameFrame.Move(120, 1320, 4560, 2520);
    GameLabel.SetCaption("Game");
    GameLabel.Move(120, 360, 1080, 255);
    GameName.Move(1320, 320, 3120, 315);
    PlayerLabel.SetCaption("Player #");
    PlayerLabel.Move(120, 840, 1080, 255);
    PlayerID.Move(1320, 800, 3120, 315);
    OptionLabel.SetCaption("Options");
    OptionLabel.Move(120, 1320, 1080, 255);
    OptionList.Move(1320, 1280, 3120, 315);
    NameLabel.SetCaption("Name");
    NameLabel.Move(120, 1800, 1080, 255);
    PlayerName.Move(1320, 1760, 3120, 315);
    PlayerName.SetText("NickName here");
    SavedFrame.SetCaption("Load Saved Game");
    SavedFrame.Move(4800, 2040, 4560, 960);
    SavedLabel.SetCaption("Saved Game");
    SavedLabel.Move(120, 420, 1080, 255);
    SavedName.Move(1200, 380, 2280, 315);
    Command4.SetCaption("List");
    Command4.Move(3600, 380, 840, 315);
    ChatFrame.SetCaption("Chat");
    ChatFrame.Move(4800, 3120, 4560, 720);
    Command2.SetCaption("Open Chat");
    Command2.Move(120, 280, 1560, 315);
    sendCMD.SetCaption("&Send");
    sendCMD.Move(120, 3960, 2160, 375);
    CloseConnection.SetCaption("&Close the communication");
    CloseConnection.Move(2400, 3960, 2880, 375);
    Log.Move(120, 4440, 9240, 2160);
    Log.SetLocked(true);
    RelistenTimer.SetInterval(500);
    RelistenTimer.SetEnabled(false);

    form.OnLoad = [this] { Form_Load(); };
    form.OnUnload = [this](bool&) { Form_Unload(); };
    ServerCMD.OnClick = [this] { ServerCMD_Click(); };
    ClientCMD.OnClick = [this] { ClientCMD_Click(); };
    sendCMD.OnClick = [this] { sendCMD_Click(); };
    CloseConnection.OnClick = [this] { CloseConnection_Click(); };
    Command2.OnClick = [this] { Command2_Click(); };
    Command3.OnClick = [this] { Command3_Click(); };
    Command4.OnClick = [this] { Command4_Click(); };
    GameName.OnClick = [this] { FillPlayerList(); };
    GameName.OnChange = [this] { FillPlayerList(); };
    PlayerID.OnClick = [this] { FillOptions(); };
    RelistenTimer.OnTimer = [this] { RelistenTimer_Timer(); };

    g_dialog = this;
    SetHandshakeHandler([](const NetCommand& c) {
        if (g_dialog) g_dialog->HandleHandshake(c);
    });
    SetChatHandler([](const NetCommand& c) {
        if (g_dialog) g_dialog->ChatWindow().RecvChat(c);
    });
}

ConnectionForm::~ConnectionForm() {
    if (g_dialog == this) {
        g_dialog = nullptr;
        SetHandshakeHandler(nullptr);
        SetChatHandler(nullptr);
    }
}

std::string ConnectionForm::GamePath() const {
    return platform::ProgramFolder() + "\\" + GameName.Text();
}

std::int16_t ConnectionForm::ChosenPlayer() const {
    const int i = PlayerID.ListIndex();
    return i < 0 ? std::int16_t{0} : static_cast<std::int16_t>(PlayerID.ItemData(i));
}

void ConnectionForm::Form_Load() {
    sendCMD.SetEnabled(false);
    sendCMD.SetVisible(false);
    sendCMD.SetCaption("&Send");
    CloseConnection.SetVisible(false);
    ServerCMD.SetEnabled(true);
    ClientCMD.SetEnabled(true);
    form.SetCaption("Direct Play options");
    Log.SetText("");
    IPtxt.SetText(GetLocalIP());
    GameMode = kModeDirect;
    InstallNetDispatcher();
    stage_ = Stage::Idle;

    const std::string ini = DirectIniPath();
    GameName.Clear();
    const std::vector<std::string> games = platform::ListFiles(platform::ProgramFolder(), "*.game");
    for (const std::string& game : games)
        GameName.AddItem(game);
    const std::string preselected = GetIni("DIRECTPLAY", "GAME", ini);
    int chosen = games.empty() ? -1 : 0;
    for (std::size_t i = 0; i < games.size(); ++i)
        if (games[i] == preselected) chosen = static_cast<int>(i);
    GameName.SetListIndex(chosen);
    GameName.SetTag(GamePath());
    FillPlayerList();
    if (games.empty()) Add2Log("Status", "No game was found beside the program");

    const double port = LeadingNumber(GetIni("DIRECTPLAY", "port", ini));
    NetPort = NetPortFromValue(port >= 1 && port <= 65535 ? static_cast<long long>(port) : 0);
    const std::string nickname = GetIni("DIRECTPLAY", "nickname", ini);
    if (!nickname.empty()) PlayerName.SetText(nickname);
}

void ConnectionForm::Form_Unload() {
    RelistenTimer.SetEnabled(false);
    const int state = NetSocketState();
    if (state != platform::Socket::kClosed && state != platform::Socket::kClosing) ::CloseConnection();
    if (Chat) Chat->form.Unload();
    if (Hosts) Hosts->form.Unload();
    AllowGameTransferMessages(false);
    stage_ = Stage::Idle;
}

void ConnectionForm::FillPlayerList() {
    GameName.SetTag(GamePath());
    PlayerID.Clear();
    const std::string file = GameName.Tag();
    const int seats = GameFileExists(GameName.Text()) ? SeatsOf(file) : 0;
    for (int i = 1; i <= seats; ++i) {
        PlayerID.AddItem(GetIni("player " + std::to_string(i), "name", file));
        PlayerID.SetItemData(PlayerID.ListCount() - 1, i);
    }
    if (seats > 0) PlayerID.SetListIndex(0);
    FillOptions();
}

void ConnectionForm::FillOptions() {
    OptionList.Clear();
    const std::int16_t seat = ChosenPlayer();
    if (seat < 1) return;
    ::OptionList list;
    FillOptionList(GameName.Tag(), seat, list);
    for (const std::string& label : list.labels)
        OptionList.AddItem(label);
    if (!list.labels.empty()) OptionList.SetListIndex(std::max(list.selected, 0));
}

bool ConnectionForm::BasicDataValidation() {
    if (PlayerName.Text().empty()) {
        ShowMsg("Please select Your name");
        return false;
    }
    if (GameName.Text().empty()) {
        ShowMsg("Please select Your Game");
        return false;
    }
    if (!GameFileExists(GameName.Text())) {
        ShowMsg("Game not found - please select another name");
        return false;
    }
    if (ChosenPlayer() < 1) {
        ShowMsg("Please Specify your Player ID");
        return false;
    }
    return true;
}

void ConnectionForm::Add2Log(const std::string& kind, const std::string& text) {
    Log.SetSelStart(INT_MAX);
    Log.SetSelText("\r\n>" + kind + ": " + text);
}

std::string ConnectionForm::SendSetup(const std::string& name, const std::string& game, std::int16_t player,
                                      const std::string& option) {
    const int state = NetSocketState();
    if (state != platform::Socket::kConnected)
        return "Connection not active (state: " + std::to_string(state) + ")";
    for (const std::string& text : {name, game, option})
        if (text.find(kNetSeparator) != std::string::npos)
            return "The name, the game and the option cannot hold the character \xA7";
    const std::optional<std::string> message =
        BuildNetMessage("SETUP", {name, game, std::to_string(player), option});
    if (!message) return "The name, the game and the option cannot hold " + std::string(kNetTerminator);
    SendNetData(*message);
    platform::PumpEvents();
    return "";
}

void ConnectionForm::StartListeningForClient() {
    clientConnected_ = false;
    StartListening();
    Add2Log("Status", "Waiting for the client (state: " + std::to_string(NetSocketState()) + ")");
    RelistenTimer.SetEnabled(true);
}

void ConnectionForm::ServerCMD_Click() {
    if (!BasicDataValidation()) return;
    // A saved game continues only the game it was saved from: both sides load that game's file.
    const std::string saved = SavedName.Text();
    if (!saved.empty() && !SameText(PathFileName(ReadSaveHeader(saved)), GameName.Text())) {
        ShowMsg("The saved game " + saved + " is not a game of " + GameName.Text());
        return;
    }
    form.SetCaption("Connect as Server");
    NetRole = kServer;
    IsServerSide = true;
    NetPlayerData[0] =
        NetPlayer{PlayerName.Text(), GameName.Text(), OptionList.Text(), std::to_string(ChosenPlayer())};
    NetPlayerData[1] = NetPlayer{};
    ServerCMD.SetEnabled(false);
    ClientCMD.SetEnabled(false);
    CloseConnection.SetVisible(true);
    WriteIni("DIRECTPLAY", "GAME", GameName.Text(), DirectIniPath());
    WriteIni("DIRECTPLAY", "nickname", PlayerName.Text(), DirectIniPath());
    AllowGameTransferMessages(false);
    stage_ = Stage::Listening;
    StartListeningForClient();
}

void ConnectionForm::ClientCMD_Click() {
    if (IPtxt.Text().empty()) {
        ShowMsg("Please insert the IP address");
        return;
    }
    if (!BasicDataValidation()) return;
    form.SetCaption("Connect as Client");
    NetRole = kClient;
    IsServerSide = false;
    NetPlayerData[1] =
        NetPlayer{PlayerName.Text(), GameName.Text(), OptionList.Text(), std::to_string(ChosenPlayer())};
    InstallNetDispatcher();
    // The game arrives as one long message.
    AllowGameTransferMessages(true);
    stage_ = Stage::Requested;
    serverDataReceived_ = false;
    ConnectToHost(IPtxt.Text());
    const std::string notSent =
        SendSetup(PlayerName.Text(), GameName.Text(), ChosenPlayer(), OptionList.Text());
    sendCMD.SetVisible(true);
    if (!notSent.empty()) {
        Add2Log("Connection", notSent);
    } else {
        ServerCMD.SetEnabled(false);
        ClientCMD.SetEnabled(false);
    }
    WriteIni("DIRECTPLAY", "nickname", PlayerName.Text(), DirectIniPath());
}

void ConnectionForm::sendCMD_Click() {
    if (sendCMD.Caption() != "Send Game") return;
    const std::string notSent =
        SendSetup(PlayerName.Text(), GameName.Text(), ChosenPlayer(), OptionList.Text());
    if (!notSent.empty()) Add2Log("Connection", notSent);
}

void ConnectionForm::CloseConnection_Click() {
    RelistenTimer.SetEnabled(false);
    ::CloseConnection();
    Add2Log("Status:", "Closing server connection (state:" + std::to_string(NetSocketState()) + ")");
    ServerCMD.SetEnabled(true);
    ClientCMD.SetEnabled(true);
    CloseConnection.SetVisible(false);
    stage_ = Stage::Idle;
}

ChatForm& ConnectionForm::ChatWindow() {
    if (!Chat) {
        Chat = std::make_unique<ChatForm>();
        Chat->ServerAddress = [this] { return IPtxt.Text(); };
        Chat->GameFile = [this] { return GamePath(); };
    }
    return *Chat;
}

void ConnectionForm::Command2_Click() {
    ConnectToHost(IPtxt.Text());
    ChatWindow().form.Show();
}

void ConnectionForm::Command3_Click() {
    if (!Hosts) {
        Hosts = std::make_unique<HostListForm>();
        Hosts->ChooseAddress = [this](const std::string& address) { IPtxt.SetText(address); };
    }
    Hosts->form.Show();
}

void ConnectionForm::Command4_Click() {
    DialogResult.clear();
    SavedGamesForm picker;
    picker.form.ShowModal();
    if (picker.chosen.empty()) return;
    const std::string gameFile = ReadSaveHeader(picker.chosen);
    if (gameFile.empty()) {
        ShowMsg("This is a game saved with a previous version of Karvel and cannot be used.");
        return;
    }
    SavedName.SetText(picker.chosen);
    GameName.SetText(PathFileName(gameFile));
    FillPlayerList();
}

void ConnectionForm::HandleHandshake(const NetCommand& command) {
    const std::string& word = command.word;
    if (word == "SETUP" || word == "ANF" || word == "TERM") return AnalizeData(command);
    if (NetRole != kClient || stage_ != Stage::Requested) {
        DebugLog("dropped", word + ": no game was asked for");
        return;
    }
    if (word == "SRVDATA") return RecvServerData(command);
    if (!serverDataReceived_) {
        DebugLog("dropped", word + ": the server's data did not come first");
        return;
    }
    const bool newGame = word == "DECKDATA";
    Game.CurrentPlayer = SeatOf(NetPlayerData[1]);
    if (!ReceiveGameData(command)) return;
    if (newGame)
        LoadReceivedGame();
    else
        LoadReceivedSavedGame();
}

void ConnectionForm::AnalizeData(const NetCommand& command) {
    if (command.word == "TERM") {
        ShowMsg("Your adversary closed the program");
        return;
    }
    if (NetRole == kClient) {
        if (command.word != "ANF" || stage_ != Stage::Requested) return;
        Add2Log("warning", "Game not found: please select another game");
        sendCMD.SetCaption("Send Game");
        sendCMD.SetEnabled(true);
        return;
    }
    // Only the first request of a connection is answered: a game once loaded is not loaded again.
    if (command.word != "SETUP" || stage_ != Stage::Listening) {
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
    if (!GameFileExists(game)) return "the game " + game + " is not beside the program";
    const NetPlayer& own = NetPlayerData[0];
    if (!SameText(game, own.game)) return "the client asked for " + game + ", this side plays " + own.game;
    const std::optional<double> seat = WireNumber(command.fields[2]);
    const int seats = SeatsOf(platform::ProgramFolder() + "\\" + own.game);
    if (!seat || *seat < 1 || *seat > seats || *seat != std::floor(*seat))
        return "the client asked for seat " + command.fields[2] + ", the game has seats 1 to " +
               std::to_string(seats);
    if (static_cast<int>(*seat) == SeatOf(own))
        return "the client asked for seat " + command.fields[2] + ", which this side plays";
    return "";
}

void ConnectionForm::RefuseRequest(const std::string& reason) {
    Add2Log("Refused", reason);
    if (const std::optional<std::string> message = BuildNetMessage("ANF", {})) SendNetData(*message);
}

void ConnectionForm::SendServerData() {
    const NetPlayer& own = NetPlayerData[0];
    // The player number travels with one leading blank, as the space-padded conversion gives it.
    const std::optional<std::string> message =
        BuildNetMessage("SRVDATA", {own.name, own.game, " " + std::to_string(SeatOf(own)), own.option});
    if (message) SendNetData(*message);
}

void ConnectionForm::RecvServerData(const NetCommand& command) {
    const std::vector<std::string>& f = command.fields;
    const std::int16_t seat = LeadingInt16(f[2]);
    // The server's seat is the adversary's in every command that follows: it must be a seat of
    // the game, and not the one this side plays.
    const int seats = SeatsOf(platform::ProgramFolder() + "\\" + NetPlayerData[1].game);
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
    const std::optional<std::string> message = BuildNetMessage(newGame ? "DECKDATA" : "DECKDATALD", {*bytes});
    if (!message) {
        ShowMsg("The game cannot be sent: its record holds " + std::string(kNetTerminator));
        return false;
    }
    return SendNetData(*message);
}

bool ConnectionForm::ReceiveGameData(const NetCommand& command) {
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
    } else if (!SameText(PathFileName(file), NetPlayerData[0].game)) {
        refusal = "it is a game of " + PathFileName(file) + ", not of " + NetPlayerData[0].game;
    } else if (SeatOf(NetPlayerData[1]) > record->game.playerCount ||
               SeatOf(NetPlayerData[0]) > record->game.playerCount) {
        refusal = "it has no seat " + NetPlayerData[1].seatId;
    }
    if (refusal.empty() && !platform::WriteFileAtomic(SaveFilePath(TransferFile(kClient)), bytes))
        refusal = "it could not be written to " + SaveFilePath(TransferFile(kClient));
    if (!refusal.empty()) {
        ShowMsg("The game received cannot be loaded: " + refusal);
        Add2Log("warning", "The game received was refused");
        return false;
    }
    NewTable();
    if (!LoadSavedGame(TransferFile(kClient), true)) {
        table_.reset();
        Add2Log("warning", "The game received was refused");
        return false;
    }
    return true;
}

MainForm& ConnectionForm::NewTable() {
    table_.reset();
    table_ = std::make_unique<MainForm>();
    table_->Others.unloadConnection = [this] { form.Unload(); };
    table_->Others.showGameList = [this] {
        if (ShowGameList) ShowGameList();
    };
    return *table_;
}

void ConnectionForm::ShowTable() {
    form.Hide();
    AllowGameTransferMessages(false);
    stage_ = Stage::Playing;
    table_->Window().Show();
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
    if (!SavedName.Text().empty()) return LoadReceivedSavedGame();
    const int own = NetRole == kServer ? 0 : 1;
    if (NetRole == kServer) {
        CurrentGameFile = platform::ProgramFolder() + "\\" + NetPlayerData[0].game;
        InitGameOptions();
        for (const NetPlayer& p : NetPlayerData)
            GameOptionTable.selectedOption[SeatOf(p)] =
                OptionIndexFromLabel(CurrentGameFile, SeatOf(p), p.option);
        // The window is there before the game: the deck pictures are laid on it.
        NewTable();
        Game.CurrentPlayer = SeatOf(NetPlayerData[0]);
        if (!LoadGameDefinition(CurrentGameFile)) return AbandonServerGame("The game could not be loaded");
        ResetTableState();
        LoadDeckImages(false);
        // The state leaves before any card is dealt: both sides deal the same cards from it.
        if (!SendGameData(true)) return AbandonServerGame("The game could not be sent");
    } else {
        // The definition's own parts that a record does not carry.
        LoadReports(CurrentGameFile);
    }
    Game.CurrentPlayer = SeatOf(NetPlayerData[static_cast<std::size_t>(own)]);
    SetUpDealtTable(*table_);
    LoadDice();
    ShowTable();
}

void ConnectionForm::LoadReceivedSavedGame() {
    if (NetRole == kServer) {
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
    if (NetRole != kServer || stage_ != Stage::Listening) {
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
