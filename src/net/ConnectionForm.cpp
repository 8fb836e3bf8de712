#include "net/ConnectionForm.h"

#include "common/Helpers.h"
#include "common/Messages.h"
#include "common/Numbers.h"
#include "net/MultiplayerMgmt.h"
#include "net/NetCommands.h"
#include "net/WireWords.h"
#include "platform/Codec.h"
#include "platform/Files.h"
#include "platform/Seams.h"
#include "platform/Socket.h"
#include "state/OptionMgmt.h"
#include "state/SaveRecord.h"
#include "state/TableState.h"
#include "table/MainForm.h"
#include "table/Outbox.h"

#include <algorithm>
#include <climits>

std::int32_t NetRole = 0;

namespace {

ConnectionForm* g_dialog = nullptr;

// Once the dialog unloads, the table's actions are no longer announced to anyone.
void WithdrawOutbox() {
    if (&Outbox() == &NetOutbox()) SetTableOutbox(nullptr);
}

} // namespace

int SeatsOfGame(const std::string& gameFile) {
    return std::clamp<int>(LeadingInt16(GetIni("GAME", "players", gameFile)), 0, kMaxPlayers);
}

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
    form.OnQueryUnload = [this](bool&, platform::UnloadMode mode) {
        // The next window opens before this one goes, so that the program never stands without one.
        if (mode == platform::UnloadMode::CloseBox && stage_ != Stage::Playing && ShowGameType)
            ShowGameType();
    };
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
    WithdrawOutbox();
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
    // The address last joined, else this machine's own: an address that answers on this machine
    // whatever its network.
    const std::string lastAddress = GetIni("DIRECTPLAY", "address", DirectIniPath());
    IPtxt.SetText(lastAddress.empty() ? "127.0.0.1" : lastAddress);
    GameMode = kModeDirect;
    InstallNetDispatcher();
    // From here until the dialog unloads the table's actions go to the other side.
    SetTableOutbox(&NetOutbox());
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
    WithdrawOutbox();
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
    const int seats = GameFileExists(GameName.Text()) ? SeatsOfGame(file) : 0;
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
        BuildNetMessage(wire::kSetup, {name, game, std::to_string(player), option});
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
    if (!saved.empty() && !platform::AnsiEqualNoCase(PathFileName(ReadSaveHeader(saved)), GameName.Text())) {
        ShowMsg("The saved game " + saved + " is not a game of " + GameName.Text());
        return;
    }
    form.SetCaption("Connect as Server");
    NetRole = kNetServer;
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
    // The other player joins at this address.
    Add2Log("Status", "This machine's address: " + GetLocalIP());
}

void ConnectionForm::ClientCMD_Click() {
    if (IPtxt.Text().empty()) {
        ShowMsg("Please insert the IP address");
        return;
    }
    if (!BasicDataValidation()) return;
    form.SetCaption("Connect as Client");
    NetRole = kNetClient;
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
    WriteIni("DIRECTPLAY", "address", IPtxt.Text(), DirectIniPath());
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

void ShowChatWindow(const std::string& text) {
    if (!g_dialog) return;
    ChatForm& chat = g_dialog->ChatWindow();
    KeepAboveTable(chat.form);
    chat.form.Show();
    if (!text.empty()) chat.MsgText.SetText(text);
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
    const std::string chosen = ChooseSavedGame ? ChooseSavedGame() : std::string();
    if (chosen.empty()) return;
    const std::string gameFile = ReadSaveHeader(chosen);
    if (gameFile.empty()) {
        ShowMsg("This is a game saved with a previous version of Karvel and cannot be used.");
        return;
    }
    SavedName.SetText(chosen);
    GameName.SetText(PathFileName(gameFile));
    FillPlayerList();
}
