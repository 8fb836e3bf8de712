// A program folder with a small two-seat game for direct play, a peer of the test's own on
// 127.0.0.1 that plays the other side of the connection, and a digest of the table's state that
// two sides of one game must agree on.
#pragma once

#include "TestSupport.h"
#include "net/NetSocket.h"
#include "platform/Socket.h"

#include <functional>
#include <string>
#include <vector>

namespace directplay {

// Two seats, Ann and Bob, each with the options "Red army" and "Blue army" (Ann's Red, Bob's Blue by
// default); one common deck of eight cards, two dealt to each seat, whose name holds the field
// separator as the bytes of a record may; the pictures lie in "img".
extern const std::string kGame;

// A fresh model and program folder holding test.game (and the pictures) and a direct.ini whose
// port is a free one.
class Folder {
  public:
    Folder();
    ~Folder();
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    const testsupport::TempProgramFolder& Files() const { return folder_; }
    void WriteGame(const std::string& name, const std::string& definition) const;

  private:
    testsupport::TempProgramFolder folder_;
};

// Lets window events run until the condition holds; false after 10 seconds.
bool PumpUntil(const std::function<bool()>& done);
int FreePort();

// The other side of the connection, as the test plays it: bytes in and out, cut into messages.
class Peer {
  public:
    Peer();
    // Connects to the program's socket listening on NetPort.
    bool Connect();
    // Listens on NetPort for the program to connect.
    void Listen();
    bool Connected() const { return socket.State() == platform::Socket::kConnected; }
    void Send(const std::string& command, const std::vector<std::string>& fields);
    void SendRaw(const std::string& bytes) { socket.SendData(bytes); }
    // Waits for the next message; nullopt when none arrives.
    std::optional<NetCommand> Next();
    // The bytes of the next message, as they came.
    std::optional<std::string> NextRaw();

    platform::Socket socket;

  private:
    NetFrameReader reader_;
};

// What both sides of a game must agree on: per card its owner, deck, pile position, discard,
// eliminated, rotation, hand, kept face down, control and the control's place; per deck the next
// draw and discard positions, the last discarded card and the lock; the stacking order; per marker
// its caption or kind, face, turn and owner, its place, size and the card it lies on; the dice
// rolled.
// Which face a card shows depends on the seat that looks, and is left out.
std::string TableDigest();

} // namespace directplay
