// The connection dialog of direct play and the handshake behind it: one side listens as the
// server, the other connects as the client and asks for a game and a seat ("SETUP"); the server
// answers with its own data ("SRVDATA") and the whole game as one saved-game record ("DECKDATA",
// or "DECKDATALD" when it continues a saved game), and both sides set up the same table.
//
// The two sides always play the server's game: a request for another game, or for a seat the
// game does not have or the server holds, is answered "ANF". A received record is decoded whole
// before anything changes; a refused one leaves the client in the dialog.
#pragma once

#include "net/ChatForm.h"
#include "net/HostListForm.h"
#include "net/NetSocket.h"
#include "platform/Controls.h"
#include "platform/Form.h"
#include "platform/Lists.h"
#include "platform/Timer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class MainForm;

// The role of this side: kNetServer or kNetClient.
inline constexpr std::int32_t kNetServer = 0;
inline constexpr std::int32_t kNetClient = 1;
extern std::int32_t NetRole;

// The seats a game file names ([GAME] players), as the player list shows them.
int SeatsOfGame(const std::string& gameFile);

// Whether the program folder holds a game file of that plain name (no folder, no "..").
bool GameFileExists(const std::string& name);

class ConnectionForm {
  public:
    ConnectionForm();
    ~ConnectionForm();
    ConnectionForm(const ConnectionForm&) = delete;
    ConnectionForm& operator=(const ConnectionForm&) = delete;

    platform::Form form;
    platform::Frame ServerFrame{form.Handle()};
    platform::Label ServerText{ServerFrame.Handle()};
    platform::CommandButton ServerCMD{ServerFrame.Handle()};
    platform::Frame ClientFrame{form.Handle()};
    platform::Label ClientText{ClientFrame.Handle()};
    platform::CommandButton ClientCMD{ClientFrame.Handle()};
    platform::Label AddressLabel{ClientFrame.Handle()};
    platform::TextBox IPtxt{ClientFrame.Handle()};
    platform::CommandButton Command3{ClientFrame.Handle()}; // the host list
    platform::Frame GameFrame{form.Handle()};
    platform::Label GameLabel{GameFrame.Handle()};
    platform::ComboBox GameName{GameFrame.Handle()};
    platform::Label PlayerLabel{GameFrame.Handle()};
    platform::ComboBox PlayerID{GameFrame.Handle(), 2};
    platform::Label OptionLabel{GameFrame.Handle()};
    platform::ComboBox OptionList{GameFrame.Handle(), 2};
    platform::Label NameLabel{GameFrame.Handle()};
    platform::TextBox PlayerName{GameFrame.Handle()};
    platform::Frame SavedFrame{form.Handle()};
    platform::Label SavedLabel{SavedFrame.Handle()};
    platform::TextBox SavedName{SavedFrame.Handle()};
    platform::CommandButton Command4{SavedFrame.Handle()}; // the saved-game picker
    platform::Frame ChatFrame{form.Handle()};
    platform::CommandButton Command2{ChatFrame.Handle()}; // Open Chat
    platform::CommandButton sendCMD{form.Handle()};
    platform::CommandButton CloseConnection{form.Handle()};
    platform::TextBox Log{form.Handle(), true};
    // Listens again when the client leaves before it asked for a game.
    platform::Timer RelistenTimer;

    std::unique_ptr<ChatForm> Chat;
    std::unique_ptr<HostListForm> Hosts;

    // The table of the game played over the connection; nullptr before one is set up.
    MainForm* Table() const { return table_.get(); }
    // Runs when the table window closes, as after any game: the program's start shows the game
    // list here.
    std::function<void()> ShowGameList;
    // Runs when the player closes the dialog without a game of it on the table: the program's
    // start shows the window the player came from.
    std::function<void()> ShowGameType;
    // What the program's start adds to each table the dialog makes: the windows the table opens
    // that belong to the start road (the save dialog, the seat ID editor).
    std::function<void(MainForm& table)> WireTable;
    // Shows the saved-game picker modally; the name of the save chosen, "" when none was. Without
    // it the dialog offers no saved game.
    std::function<std::string()> ChooseSavedGame;

    void ServerCMD_Click();
    void ClientCMD_Click();
    void sendCMD_Click();
    void CloseConnection_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void FillPlayerList();
    void FillOptions();
    bool BasicDataValidation();
    void Add2Log(const std::string& kind, const std::string& text);
    // "" once sent; else why nothing was sent.
    std::string SendSetup(const std::string& name, const std::string& game, std::int16_t player,
                          const std::string& option);

    // The handshake's commands as the dispatcher hands them over.
    void HandleHandshake(const NetCommand& command);
    ChatForm& ChatWindow();

  private:
    enum class Stage { Idle, Listening, Requested, Playing };

    void Form_Load();
    void Form_Unload();
    void AnalizeData(const NetCommand& command);
    void RecvServerData(const NetCommand& command);
    void RefuseRequest(const std::string& reason);
    std::string SetupRefusal(const NetCommand& command);
    void SendServerData();
    bool SendGameData(bool newGame);
    // Checks the record whole, then loads it onto a new, hidden table; false, with a message and
    // nothing changed, when it is refused.
    bool ReceiveGameData(const NetCommand& command, bool newGame);
    // A received game refused: logged, and the client takes no long message any more. False.
    bool RefuseReceivedGame();
    void LoadReceivedGame();
    void LoadReceivedSavedGame();
    // The server could not set up its game: the client is let go and the server listens again.
    void AbandonServerGame(const std::string& why);
    void RelistenTimer_Timer();
    MainForm& NewTable();
    void ShowTable();
    void StartListeningForClient();
    std::string GamePath() const;
    std::int16_t ChosenPlayer() const;

    std::unique_ptr<MainForm> table_;
    Stage stage_ = Stage::Idle;
    bool serverDataReceived_ = false;
    // The game's record as sent or received: both sides deal from it.
    std::string gameRecord_;
    bool clientConnected_ = false;
    // The connection on which the other side's closing was last told.
    int termToldOn_ = -1;
};
