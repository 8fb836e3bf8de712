// The connection dialog and the handshake over a real connection on 127.0.0.1: the program plays
// one side, a peer of the test the other. The server answers only a request for its own game and
// a free seat of it, sends the game before any card is dealt, and both sides then deal the same
// table; the client checks a received game whole and stays in the dialog when it refuses one.
#include "DirectPlaySupport.h"

#include "common/Helpers.h"
#include "net/ConnectionForm.h"
#include "net/MultiplayerMgmt.h"
#include "platform/Files.h"
#include "platform/TestDriver.h"
#include "platform/Timer.h"
#include "start/SavedGamesForm.h"
#include "state/Model.h"
#include "state/OptionMgmt.h"
#include "state/SaveRecord.h"
#include "state/TableState.h"
#include "table/MainForm.h"
#include "table/Outbox.h"
#include "table/SaveGameMgmt.h"
#include "table/TableSetup.h"
#include "table/ToolBarForm.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using directplay::Peer;
using directplay::PumpUntil;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;

namespace {

std::string LastLogLine(const ConnectionForm& dialog) {
    const std::string log = dialog.Log.Text();
    const std::size_t cut = log.rfind("\r\n");
    return cut == std::string::npos ? log : log.substr(cut + 2);
}

class ConnectionTest : public testing::Test {
  protected:
    // Fills the dialog as a player would: name, game, seat (from 1) and option.
    void Choose(const std::string& name, const std::string& game, int seat, const std::string& option = "") {
        dialog_->PlayerName.SetText(name);
        for (int i = 0; i < dialog_->GameName.ListCount(); ++i)
            if (dialog_->GameName.List(i) == game) dialog_->GameName.SetListIndex(i);
        dialog_->PlayerID.SetListIndex(seat - 1);
        dialog_->FillOptions();
        for (int i = 0; i < dialog_->OptionList.ListCount(); ++i)
            if (dialog_->OptionList.List(i) == option) dialog_->OptionList.SetListIndex(i);
    }

    void OpenDialog() {
        dialog_ = std::make_unique<ConnectionForm>();
        dialog_->form.Show();
    }

    // The program listens as the server for seat 1 and the peer connects.
    void StartServer(const std::string& saved = "") {
        OpenDialog();
        Choose("Ann", "test.game", 1, "Red army");
        dialog_->SavedName.SetText(saved);
        dialog_->ServerCMD_Click();
        ASSERT_EQ(NetSocketState(), platform::Socket::kListening);
        ASSERT_TRUE(peer_.Connect());
    }

    // The program connects as the client for seat 2 to the peer listening.
    void StartClient(const std::string& saved = "") {
        OpenDialog();
        Choose("Bob", "test.game", 2, "Blue army");
        dialog_->SavedName.SetText(saved);
        peer_.Listen();
        dialog_->ClientCMD_Click();
        ASSERT_TRUE(
            PumpUntil([&] { return peer_.Connected() && NetSocketState() == platform::Socket::kConnected; }));
        if (NetSocketState() == platform::Socket::kConnected && dialog_->ClientCMD.Enabled())
            dialog_->ClientCMD_Click();
        const std::optional<NetCommand> setup = peer_.Next();
        ASSERT_TRUE(setup);
        ASSERT_EQ(setup->word, "SETUP");
        EXPECT_THAT(setup->fields, ElementsAre("Bob", "test.game", "2", "Blue army"));
    }

    // A server's SRVDATA and DECKDATA for a request of seat 2, and the server's table digest once
    // its table was dealt.
    struct ServerAnswer {
        std::string serverData;
        std::string gameData;
        std::string digest;
    };
    ServerAnswer RunServer(const std::string& saved = "") {
        ServerAnswer answer;
        StartServer(saved);
        peer_.Send("SETUP", {"Bob", "test.game", "2", "Blue army"});
        answer.serverData = peer_.NextRaw().value_or("");
        answer.gameData = peer_.NextRaw().value_or("");
        EXPECT_TRUE(dialog_->Table() && dialog_->Table()->Window().Visible());
        EXPECT_TRUE(ToolBarShown()) << "the server's table shows its tool bar";
        answer.digest = directplay::TableDigest();
        return answer;
    }

    // The table's game tool bar shows (the test game has no information panel to carry it).
    bool ToolBarShown() const {
        const MainForm* table = dialog_->Table();
        return table && table->ToolBar && table->ToolBar->form.Visible();
    }

    // The dialog and the connection go, and the model is that of a fresh program: the next side
    // starts as the other program would.
    void EndSession() {
        dialog_.reset();
        peer_.socket.Close();
        CloseConnection();
        Model().Reset();
    }

    void TearDown() override {
        dialog_.reset();
        peer_.socket.Close();
    }

    directplay::Folder folder_;
    testsupport::MessageRecorder messages_;
    Peer peer_;
    std::unique_ptr<ConnectionForm> dialog_;
};

TEST_F(ConnectionTest, TheDialogOpensOnTheSettingsOfDirectIni) {
    folder_.WriteGame("b.game", directplay::kGame);
    struct Case {
        std::string ini;
        int port;
        std::string game;
        std::string name;
        // The address offered: the last one joined, else this machine's loopback, which answers
        // whatever the network.
        std::string address;
    };
    const Case cases[] = {
        {"", 188, "b.game", "NickName here", "127.0.0.1"},
        {"[DIRECTPLAY]\nport=0\nGAME=test.game\nnickname=Cleo\n", 188, "test.game", "Cleo", "127.0.0.1"},
        {"[DIRECTPLAY]\nport=4000\nGAME=TEST.GAME\naddress=127.0.0.5\n", 4000, "b.game", "NickName here",
         "127.0.0.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ini);
        folder_.Files().Write("direct.ini", c.ini);
        OpenDialog();
        EXPECT_EQ(NetPort, c.port);
        EXPECT_EQ(dialog_->GameName.Text(), c.game);
        EXPECT_EQ(dialog_->PlayerName.Text(), c.name);
        EXPECT_EQ(GameMode, kModeDirect);
        EXPECT_EQ(dialog_->IPtxt.Text(), c.address);
        ASSERT_EQ(dialog_->PlayerID.ListCount(), 2);
        EXPECT_EQ(dialog_->PlayerID.List(1), "Bob");
        EXPECT_EQ(dialog_->PlayerID.ItemData(1), 2);
        EXPECT_EQ(dialog_->OptionList.Text(), "Red army");
        EXPECT_FALSE(dialog_->sendCMD.Visible());
    }
    // The direct.ini laid beside the bundled games opens a port that needs no special rights.
    folder_.Files().CopyIn(std::string(KARVEL_GAMES) + "/direct.ini", "direct.ini");
    OpenDialog();
    EXPECT_GE(NetPort, 1024);
}

TEST_F(ConnectionTest, ARoleIsTakenOnlyWithEverythingFilledIn) {
    OpenDialog();
    struct Case {
        std::string name;
        std::string game;
        std::string address;
        bool client;
        std::string message;
    };
    const Case cases[] = {
        {"Ann", "test.game", "", true, "Please insert the IP address"},
        {"", "test.game", "127.0.0.1", true, "Please select Your name"},
        {"Ann", "", "127.0.0.1", false, "Please select Your Game"},
        {"Ann", "none.game", "127.0.0.1", false, "Game not found - please select another name"},
        {"Ann", "..\\test.game", "127.0.0.1", false, "Game not found - please select another name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        messages_.Clear();
        dialog_->PlayerName.SetText(c.name);
        dialog_->GameName.SetText(c.game);
        dialog_->IPtxt.SetText(c.address);
        if (c.client)
            dialog_->ClientCMD_Click();
        else
            dialog_->ServerCMD_Click();
        EXPECT_THAT(messages_.Messages(), ElementsAre(c.message));
        EXPECT_EQ(dialog_->form.Caption(), "Direct Play options");
        EXPECT_EQ(NetSocketState(), platform::Socket::kClosed);
    }
}

TEST_F(ConnectionTest, TheServerSendsItsDataAndTheGameBeforeDealing) {
    StartServer();
    EXPECT_EQ(dialog_->form.Caption(), "Connect as Server");
    EXPECT_THAT(dialog_->Log.Text(), HasSubstr(">Status: Waiting for the client (state: 2)"));
    const std::string ini = folder_.Files().Path() + "\\direct.ini";
    EXPECT_EQ(GetIni("DIRECTPLAY", "GAME", ini), "test.game");
    EXPECT_EQ(GetIni("DIRECTPLAY", "nickname", ini), "Ann");

    // The game's name is compared without regard to case.
    peer_.Send("SETUP", {"Bob", "TEST.GAME", "2", "Blue army"});
    const std::optional<NetCommand> data = peer_.Next();
    ASSERT_TRUE(data);
    EXPECT_EQ(data->word, "SRVDATA");
    EXPECT_THAT(data->fields, ElementsAre("Ann", "test.game", " 1", "Red army"));
    const std::optional<std::string> game = peer_.NextRaw();
    ASSERT_TRUE(game);
    ASSERT_EQ(game->substr(0, 9), "DECKDATA\xA7");
    const std::string record = game->substr(9);
    EXPECT_EQ(platform::ReadFileBytes(SaveFilePath("direct.save.data.0")), record);
    const auto decoded = NewSaveRecord();
    std::string error;
    ASSERT_TRUE(DecodeSaveRecord(record, *decoded, error)) << error;
    // Nothing was dealt yet when the game left.
    for (int c = 1; c <= decoded->game.totalCards; ++c)
        EXPECT_EQ(decoded->cards[c].owner, 0) << c;

    EXPECT_THAT(LastLogLine(*dialog_), ">Received: Name='Bob' Game=TEST.GAME ID=2 OPT=Blue army");
    ASSERT_NE(dialog_->Table(), nullptr);
    EXPECT_TRUE(dialog_->Table()->Window().Visible());
    EXPECT_FALSE(dialog_->form.Visible());
    EXPECT_EQ(Game.GamePhase, kPhasePlaying);
    EXPECT_EQ(Game.CurrentPlayer, 1);
    EXPECT_EQ(GameOptionTable.selectedOption[1], 1);
    EXPECT_EQ(GameOptionTable.selectedOption[2], 4);
    EXPECT_THAT(NetPlayerData[1].seatId, "2");
    // Two cards dealt to each seat.
    int dealt = 0;
    for (int c = 1; c <= Game.totalCards; ++c)
        dealt += Cards[c].owner != 0;
    EXPECT_EQ(dealt, 4);
    EXPECT_THAT(messages_.Messages(), IsEmpty());
}

TEST_F(ConnectionTest, ARequestForAnotherGameOrABadSeatIsAnsweredGameNotFound) {
    folder_.WriteGame("other.game", directplay::kGame);
    StartServer();
    struct Case {
        std::string game;
        std::string seat;
        std::string reason;
    };
    const Case cases[] = {
        {"missing.game", "2", "the game missing.game is not beside the program"},
        {"other.game", "2", "the client asked for other.game, this side plays test.game"},
        {"..\\test.game", "2", "the game ..\\test.game is not beside the program"},
        {"test.game", "0", "the client asked for seat 0, the game has seats 1 to 2"},
        {"test.game", "9", "the client asked for seat 9, the game has seats 1 to 2"},
        {"test.game", "x", "the client asked for seat x, the game has seats 1 to 2"},
        {"test.game", "1.5", "the client asked for seat 1.5, the game has seats 1 to 2"},
        {"test.game", std::string(40, '9'),
         "the client asked for seat " + std::string(40, '9') + ", the game has seats 1 to 2"},
        {"test.game", "-32769", "the client asked for seat -32769, the game has seats 1 to 2"},
        {"test.game", "1", "the client asked for seat 1, which this side plays"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.game + " " + c.seat);
        peer_.Send("SETUP", {"Bob", c.game, c.seat, ""});
        const std::optional<NetCommand> answer = peer_.Next();
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->word, "ANF");
        EXPECT_EQ(LastLogLine(*dialog_), ">Refused: " + c.reason);
        EXPECT_EQ(dialog_->Table(), nullptr);
    }
    // Missing fields read as empty: a request of a name alone names no game.
    peer_.Send("SETUP", {"Bob"});
    const std::optional<NetCommand> refused = peer_.Next();
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->word, "ANF");
    EXPECT_EQ(LastLogLine(*dialog_), ">Refused: the client named no game");
    // A client has no game or server data to give.
    peer_.Send("SRVDATA", {"Eve", "test.game", " 2", ""});
    peer_.Send("DECKDATA", {"garbage"});
    // The server still waits, and a sound request is answered; a field beyond the four is not read.
    peer_.Send("SETUP", {"Bob", "test.game", "2", "", "more"});
    const std::optional<NetCommand> answer = peer_.Next();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->word, "SRVDATA");
    EXPECT_EQ(NetPlayerData[0].name, "Ann");
    EXPECT_EQ(NetPlayerData[1].name, "Bob");
    EXPECT_THAT(messages_.Messages(), IsEmpty());
}

TEST_F(ConnectionTest, AClientThatLeavesBeforeAskingLetsTheServerListenAgain) {
    platform::ManualTimers timers;
    StartServer();
    peer_.socket.Close();
    ASSERT_TRUE(PumpUntil([] { return NetSocketState() == platform::Socket::kClosing; }));
    platform::StepTimer(dialog_->RelistenTimer);
    EXPECT_EQ(NetSocketState(), platform::Socket::kListening);
    EXPECT_THAT(dialog_->Log.Text(), HasSubstr(">Status: The client left before asking for a game"));

    Peer second;
    ASSERT_TRUE(second.Connect());
    second.Send("SETUP", {"Bob", "test.game", "2", ""});
    const std::optional<NetCommand> answer = second.Next();
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->word, "SRVDATA");
    second.socket.Close();
}

TEST_F(ConnectionTest, BothSidesDealTheSameTableFromTheGameSent) {
    const ServerAnswer server = RunServer();
    // A game the client could continue, played on from the dealt table.
    const int moved = std::atoi(dialog_->Table()->crd(0)->Surface().Tag().c_str());
    dialog_->Table()->crd(0)->Surface().Move(4320, 2340);
    ASSERT_TRUE(SaveGame("cont.save"));
    EndSession();

    // The server deals a new game: the client deals it too, whatever its saved-game box holds.
    StartClient("cont");
    ASSERT_GT(moved, 0);
    EXPECT_EQ(dialog_->form.Caption(), "Connect as Client");
    peer_.SendRaw(server.serverData + "@#EnD!" + server.gameData + "@#EnD!");
    ASSERT_TRUE(PumpUntil([&] { return dialog_->Table() && dialog_->Table()->Window().Visible(); }));
    EXPECT_EQ(Game.CurrentPlayer, 2);
    EXPECT_EQ(NetPlayerData[0].seatId, "1");
    EXPECT_EQ(NetPlayerData[0].name, "Ann");
    EXPECT_EQ(directplay::TableDigest(), server.digest);
    EXPECT_TRUE(ToolBarShown()) << "the client's table shows its tool bar";
    // The record held the field separator and still arrived whole.
    EXPECT_NE(server.gameData.find('\xA7', 9), std::string::npos);
    EXPECT_EQ(platform::ReadFileBytes(SaveFilePath("direct.save.data.1")), server.gameData.substr(9));
    EXPECT_FALSE(dialog_->form.Visible());
    EXPECT_THAT(messages_.Messages(), IsEmpty());
}

TEST_F(ConnectionTest, BothSidesShuffleAlikeWhereTheOpeningDealsCardsStraightIntoAHand) {
    // Two cards start in a hand: the opening deal reshuffles their deck on each side.
    std::string game = directplay::kGame;
    game.replace(game.find("card1=f1.png,,,k1,"), 18, "card1=f1.png,ON_HAND,,k1,");
    game.replace(game.find("card5=f5.png,,,k5,"), 18, "card5=f5.png,ON_HAND,,k5,");
    // Enough cards left in the pile that two shuffles of it do not agree by chance.
    game.replace(game.find("deckSize=8"), 10, "deckSize=40");
    for (int k = 9; k <= 40; ++k)
        game += "card" + std::to_string(k) + "=f" + std::to_string(k % 8 + 1) + ".png,,,k" +
                std::to_string(k) + ",\n";
    folder_.WriteGame("test.game", game);
    const ServerAnswer server = RunServer();
    // The client's generator starts where a fresh program's does, not where the server's stands.
    EndSession();

    StartClient();
    peer_.SendRaw(server.serverData + "@#EnD!" + server.gameData + "@#EnD!");
    ASSERT_TRUE(PumpUntil([&] { return dialog_->Table() && dialog_->Table()->Window().Visible(); }));
    EXPECT_EQ(directplay::TableDigest(), server.digest);
    EXPECT_THAT(messages_.Messages(), IsEmpty());
}

TEST_F(ConnectionTest, ClosingTheDialogWithoutAGameGoesBackToTheStart) {
    OpenDialog();
    int shown = 0;
    dialog_->ShowGameType = [&] { ++shown; };
    Choose("Bob", "test.game", 2, "Blue army");
    peer_.Listen();
    dialog_->ClientCMD_Click();
    // The address joined is offered next time.
    EXPECT_EQ(GetIni("DIRECTPLAY", "address", DirectIniPath()), "127.0.0.1");
    platform::testdriver::PressCloseBox(dialog_->form);
    EXPECT_EQ(shown, 1);
    EXPECT_FALSE(dialog_->form.Visible());
}

TEST_F(ConnectionTest, AClientAskingBeforeTheConnectionIsMadeAsksAgainOnTheSecondPress) {
    OpenDialog();
    Choose("Bob", "test.game", 2);
    peer_.Listen();
    dialog_->ClientCMD_Click();
    if (NetSocketState() != platform::Socket::kConnected) {
        EXPECT_THAT(LastLogLine(*dialog_),
                    testing::MatchesRegex(">Connection: Connection not active \\(state: [0-9]+\\)"));
        EXPECT_TRUE(dialog_->ClientCMD.Enabled());
        ASSERT_TRUE(PumpUntil([] { return NetSocketState() == platform::Socket::kConnected; }));
        dialog_->ClientCMD_Click();
    }
    EXPECT_FALSE(dialog_->ClientCMD.Enabled());
    EXPECT_FALSE(dialog_->ServerCMD.Enabled());
    const std::optional<NetCommand> setup = peer_.Next();
    ASSERT_TRUE(setup);
    EXPECT_EQ(setup->word, "SETUP");
}

TEST_F(ConnectionTest, GameNotFoundOffersSendGame) {
    StartClient();
    peer_.Send("ANF", {});
    ASSERT_TRUE(PumpUntil([&] { return dialog_->sendCMD.Caption() == "Send Game"; }));
    EXPECT_EQ(LastLogLine(*dialog_), ">warning: Game not found: please select another game");
    EXPECT_TRUE(dialog_->sendCMD.Enabled());
    dialog_->sendCMD_Click();
    const std::optional<NetCommand> again = peer_.Next();
    ASSERT_TRUE(again);
    EXPECT_EQ(again->word, "SETUP");
    EXPECT_THAT(again->fields, ElementsAre("Bob", "test.game", "2", "Blue army"));
}

TEST_F(ConnectionTest, AHostileServerIsRefusedAndTheClientStaysInTheDialog) {
    folder_.WriteGame("other.game", directplay::kGame);
    const ServerAnswer server = RunServer();
    // The server's table once dealt: a game under way.
    ASSERT_TRUE(SaveGame("played.save"));
    const std::string played = platform::ReadFileBytes(SaveFilePath("played.save")).value_or("");
    EndSession();
    const std::string record = server.gameData.substr(9);

    // The same game saved from another definition beside the program.
    const auto other = NewSaveRecord();
    std::string error;
    ASSERT_TRUE(DecodeSaveRecord(record, *other, error));
    other->gameFile = "C:\\games\\other.game";
    std::string otherBytes;
    ASSERT_TRUE(EncodeSaveRecord(*other, otherBytes, error));
    // And saved with an image folder that holds none of its pictures here.
    other->gameFile = folder_.Files().Path() + "\\test.game";
    other->game.directory = "elsewhere";
    std::string noBackBytes;
    ASSERT_TRUE(EncodeSaveRecord(*other, noBackBytes, error));

    StartClient();
    const std::string srvdata = "SRVDATA\xA7"
                                "Ann\xA7test.game\xA7 1\xA7";
    struct Case {
        std::string what;
        std::string bytes;
        std::string message;
    };
    const Case cases[] = {
        {"the server claims the client's seat",
         "SRVDATA\xA7"
         "Ann\xA7test.game\xA7 2\xA7@#EnD!DECKDATA\xA7" +
             record + "@#EnD!",
         ""},
        {"a truncated record",
         srvdata + "@#EnD!DECKDATA\xA7" + record.substr(0, record.size() / 2) + "@#EnD!",
         "The game received cannot be loaded: "},
        {"bytes that are no record", srvdata + "@#EnD!DECKDATA\xA7garbage@#EnD!",
         "The game received cannot be loaded: "},
        {"a record of another game", srvdata + "@#EnD!DECKDATA\xA7" + otherBytes + "@#EnD!",
         "The game received cannot be loaded: it is a game of other.game, not of test.game"},
        {"a record whose deck has no back picture here",
         srvdata + "@#EnD!DECKDATA\xA7" + noBackBytes + "@#EnD!",
         "The saved game direct.save.data.1 cannot be loaded: Back image for deck 0 not found:"},
        // Dealing the opening over it would give two cards one control.
        {"a game under way sent as a new game", srvdata + "@#EnD!DECKDATA\xA7" + played + "@#EnD!",
         "The game received cannot be loaded: it is a game already under way, sent as a new game"},
        // Once a record was refused, no long one is taken any more: it is dropped unread.
        {"a long record after a refusal",
         srvdata + "@#EnD!DECKDATA\xA7" + std::string(100 * 1024, 'r') + "@#EnD!", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        messages_.Clear();
        peer_.SendRaw(c.bytes);
        peer_.SendRaw("CHAT\xA7mark@#EnD!");
        // The chat line sent after it shows that everything before it was handled.
        ASSERT_TRUE(PumpUntil([&] {
            return dialog_->Chat && dialog_->Chat->MessageLog.Text().find("mark") != std::string::npos;
        }));
        dialog_->Chat->MessageLog.SetText("");
        if (c.message.empty())
            EXPECT_THAT(messages_.Messages(), IsEmpty());
        else
            EXPECT_THAT(messages_.Messages(), ElementsAre(testing::StartsWith(c.message)));
        EXPECT_NO_THROW(platform::PumpEvents()) << "a refused game never ends the program";
        EXPECT_EQ(dialog_->Table(), nullptr);
        EXPECT_TRUE(dialog_->form.Visible());
        EXPECT_EQ(Game.totalCards, 0);
    }
    EXPECT_FALSE(FileExists(SaveFilePath("direct.save.data.1")));

    // A server asks for no game.
    peer_.Send("SETUP", {"Eve", "test.game", "1", ""});
    // The sound game after all that is taken.
    peer_.SendRaw(srvdata + "@#EnD!DECKDATA\xA7" + record + "@#EnD!");
    ASSERT_TRUE(PumpUntil([&] { return dialog_->Table() != nullptr; }));
    EXPECT_EQ(directplay::TableDigest(), server.digest);
}

TEST_F(ConnectionTest, ASavedGameContinuesWithItsPositionsAndStackingOrder) {
    // A game played a little and saved: a card moved and brought to the front.
    std::string saved;
    std::string savedDigest;
    {
        MainForm table;
        Game.CurrentPlayer = 1;
        ASSERT_TRUE(SetUpNewGame(table, folder_.Files().Path() + "\\test.game"));
        Game.GamePhase = kPhasePlaying;
        int moved = 0;
        for (int c = 1; c <= Game.totalCards && !moved; ++c)
            if (Cards[c].controlIndex >= 0) moved = c;
        ASSERT_GT(moved, 0);
        table.crd(Cards[moved].controlIndex)->Surface().Move(4320, 2340);
        ASSERT_TRUE(SaveGame("cont.save"));
    }
    Model().Reset();

    const ServerAnswer server = RunServer("cont");
    EXPECT_EQ(server.gameData.substr(0, 11), "DECKDATALD\xA7");
    // The load keeps the seat that the dialog chose.
    EXPECT_EQ(Game.CurrentPlayer, 1);
    EXPECT_THAT(server.digest, HasSubstr(" at 4320,2340"));
    EndSession();

    StartClient();
    peer_.SendRaw(server.serverData + "@#EnD!" + server.gameData + "@#EnD!");
    ASSERT_TRUE(PumpUntil([&] { return dialog_->Table() && dialog_->Table()->Window().Visible(); }));
    EXPECT_EQ(Game.CurrentPlayer, 2);
    EXPECT_EQ(directplay::TableDigest(), server.digest);
    EXPECT_THAT(messages_.Messages(), IsEmpty());
}

TEST_F(ConnectionTest, ASavedGameOfAnotherGameIsRefusedAtTheServerButton) {
    folder_.WriteGame("other.game", directplay::kGame);
    OpenDialog();
    Choose("Ann", "other.game", 1);
    {
        MainForm table;
        Game.CurrentPlayer = 1;
        ASSERT_TRUE(SetUpNewGame(table, folder_.Files().Path() + "\\test.game"));
        ASSERT_TRUE(SaveGame("cont.save"));
    }
    dialog_->SavedName.SetText("cont");
    dialog_->ServerCMD_Click();
    EXPECT_THAT(messages_.Messages(), ElementsAre("The saved game cont is not a game of other.game"));
    EXPECT_EQ(NetSocketState(), platform::Socket::kClosed);
}

TEST_F(ConnectionTest, TheSavedGamePickerChoosesTheSaveAndItsGame) {
    folder_.WriteGame("b.game", directplay::kGame);
    {
        MainForm table;
        Game.CurrentPlayer = 1;
        ASSERT_TRUE(SetUpNewGame(table, folder_.Files().Path() + "\\test.game"));
        ASSERT_TRUE(SaveGame("cont.save"));
    }
    Model().Reset();
    OpenDialog();
    ASSERT_EQ(dialog_->GameName.Text(), "b.game");
    dialog_->ChooseSavedGame = PickSavedGame;
    platform::testdriver::DialogScript script;
    // The only save is the list's first line.
    script.AnswerModal([](platform::Form& picker) { platform::testdriver::DoubleClick(picker, 600, 200); });
    dialog_->Command4_Click();
    EXPECT_THAT(script.Problems(), IsEmpty());
    EXPECT_EQ(dialog_->SavedName.Text(), "cont");
    EXPECT_EQ(dialog_->GameName.Text(), "test.game");
    EXPECT_EQ(dialog_->GameName.Tag(), folder_.Files().Path() + "\\test.game");
    EXPECT_EQ(dialog_->PlayerID.ListCount(), 2);
}

TEST_F(ConnectionTest, TheTableAnnouncesItsActionsToTheOtherSideOnlyWhileTheDialogIsLoaded) {
    EXPECT_NE(&Outbox(), &NetOutbox());
    RunServer();
    EXPECT_EQ(&Outbox(), &NetOutbox());
    Outbox().SendDiscardToBottom(0);
    const std::optional<NetCommand> sent = peer_.Next();
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->word, "DKMD2B");
    dialog_->form.Unload();
    EXPECT_NE(&Outbox(), &NetOutbox());
    // Still a game of direct play, but no connection: nothing is sent, and nothing is refused.
    ASSERT_EQ(GameMode, kModeDirect);
    Outbox().SendDiscardToBottom(0);
    EXPECT_THAT(messages_.Messages(), IsEmpty());
}

TEST_F(ConnectionTest, ClosingTheTableTellsTheOtherSideAndClosingTheDialogToo) {
    RunServer();
    dialog_->Table()->Window().Unload();
    const std::optional<NetCommand> term = peer_.Next();
    ASSERT_TRUE(term);
    EXPECT_EQ(term->word, "TERM");
    EXPECT_EQ(NetSocketState(), platform::Socket::kClosed);

    // The other side's TERM is told, once for the connection however often it comes.
    peer_.socket.Close();
    StartServer();
    peer_.Send("TERM", {});
    peer_.Send("TERM", {});
    peer_.Send("CHAT", {"mark"});
    ASSERT_TRUE(PumpUntil([&] { return dialog_->Chat && !dialog_->Chat->MessageLog.Text().empty(); }));
    EXPECT_THAT(messages_.Messages(), ElementsAre("Your adversary closed the program"));
}

TEST_F(ConnectionTest, TheCloseButtonEndsTheConnection) {
    StartServer();
    dialog_->CloseConnection_Click();
    EXPECT_EQ(LastLogLine(*dialog_), ">Status:: Closing server connection (state:0)");
    EXPECT_TRUE(dialog_->ServerCMD.Enabled());
    EXPECT_TRUE(dialog_->ClientCMD.Enabled());
    EXPECT_FALSE(dialog_->CloseConnection.Visible());
}

} // namespace
