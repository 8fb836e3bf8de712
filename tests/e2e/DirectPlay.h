// Direct play between two real Karvel processes: a server and a client, each with a program folder
// and a virtual screen of its own (two players at two machines), connected over loopback on a free
// port that both folders' direct.ini name. Both go the player's road: the splash, the game type
// window's direct play, the connection dialog (seat, address, Server or Client), then the table.
#pragma once

#include "Session.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// A TCP port of the loopback that nothing listens on now.
int FreePort();

class DirectGame {
  public:
    // Starts both programs, opens the connection dialog on each and connects them for the game
    // (a file name beside the program: "Parlour Cards.game"); returns once both tables show, and
    // throws when one side shows a message instead. `extraGames` are copied beside the bundled
    // games in both program folders first.
    DirectGame(const std::string& run, const std::string& game, int serverSeat = 1, int clientSeat = 2,
               const std::vector<std::string>& extraGames = {});

    Session& Server() { return *server_; }
    Session& Client() { return *client_; }
    // 0 the server, 1 the client.
    Session& Side(int side) { return side == 0 ? *server_ : *client_; }
    int Seat(int side) const { return side == 0 ? serverSeat_ : clientSeat_; }
    static const char* SideName(int side) { return side == 0 ? "server" : "client"; }
    const std::string& Game() const { return game_; }

    // Closes both programs as players would, and checks that they ended cleanly.
    void Finish();

  private:
    std::string game_;
    int serverSeat_;
    int clientSeat_;
    std::unique_ptr<Session> server_;
    std::unique_ptr<Session> client_;
};

// The connection dialog's control of the class that stands to the right of the label, on its line
// ("Address", "QLineEdit"); its button showing the text ("Client").
const WidgetInfo* DialogControl(const Scene& scene, const std::string& label, const std::string& cls);
const WidgetInfo* DialogButton(const Scene& scene, const std::string& text);

// Opens the connection dialog from the splash: the game type window's direct play.
void OpenConnectionDialog(Session& s);

// Writes the program folder's direct.ini: the port, and the game the dialog preselects.
void WriteDirectIni(const std::string& home, int port, const std::string& game, const std::string& nickname);

// In the open connection dialog: chooses the seat, types the loopback address and presses Client
// until the request has gone (the Client button is disabled) or the table shows.
void AskAsClient(Session& client, int seat);

// The table window shows the dealt game (its card controls are there).
bool TableShown(const Scene& scene);

// The quick save's file of the game (F7 writes it into the save folder): "<home>/save/<game
// less .game>.pack.save".
std::string QuickSavePath(const Session& s, const std::string& game);

// Presses F7 on the side's table and waits until the quick save's file is written; its bytes.
// Throws when a message comes instead or nothing is written within a minute.
std::string QuickSave(Session& s, const std::string& game);
// The same, for a table that random input may have left busy (a window that keeps the keys, a
// message about to show): nothing when the table would not take the keys or no save came within
// the time; still throws when a message comes instead of the save.
std::optional<std::string> TryQuickSave(Session& s, const std::string& game, int timeoutMs);

// Brings the side's table to rest for a comparison, as a player would before saving: the menus
// closed, every message answered with the button that changes least (OK, Cancel, No, Close), the
// other windows closed, and a click on the bare felt (which lays a card the mouse carries). The
// texts of the messages answered.
std::vector<std::string> CalmTable(Session& s);

// Whether a message tells that a command of the other side did not fit this table.
bool TablesApartMessage(const std::string& text);

} // namespace e2e
