// The program's one TCP connection for direct play, as the engine expects its socket control:
// a state it tests before every operation, listening for and accepting one peer, connecting to a
// server, sending a text of single-byte characters with a notice once it is sent, and keeping the
// bytes received until they are taken. Failures arrive as Error events with the numbers the engine
// knows (10061 refused, 11001 host not found, 10013 access denied, 10048 address in use).
//
// Events run on the window thread while events are pumped; a handler may close the socket or
// start a new connection from inside an event.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace platform {

class Socket {
  public:
    // The states the engine tests; every other state counts as not connected.
    enum : int {
        kClosed = 0,
        kListening = 2,
        kHostResolved = 5,
        kConnecting = 6,
        kConnected = 7,
        kClosing = 8,
        kError = 9,
    };

    Socket();
    ~Socket();
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    // The port Listen uses; 0 takes any free port (ListeningPort then tells which).
    int LocalPort = 0;
    // The first address of this machine that other machines can reach: a non-loopback IPv4
    // address of an interface that is up, else "127.0.0.1".
    static std::string LocalIP();

    int State() const;
    // The port a listening socket was given; 0 when not listening.
    int ListeningPort() const;

    // Starts connecting; the socket is connecting until it is connected or an Error arrives.
    void Connect(const std::string& host, int port);
    // Waits for one incoming connection on LocalPort. A port that cannot be taken arrives as an
    // Error event before Listen returns.
    void Listen();
    // Takes the incoming connection of a ConnectionRequest; only during that event.
    void Accept(long requestId);
    // Sends the bytes as they are; SendComplete follows once all of them are written.
    void SendData(const std::string& bytes);
    // How many bytes of the data sent still wait to leave: a sender watches it move.
    std::size_t BytesToWrite() const;
    // How many received bytes wait to be taken, and taking them.
    std::size_t BytesReceived() const;
    std::string PeekData() const;
    std::string GetData(std::size_t length);
    // Ends the connection or the listening; the received bytes not yet taken are dropped. When the
    // peer ends the connection the state is 8 (closing) until Close.
    void Close();

    // An incoming connection asks to be accepted; one not accepted during the event is refused.
    std::function<void(long requestId)> ConnectionRequest;
    std::function<void()> DataArrival;
    std::function<void()> SendComplete;
    // The socket is closed by the time the handler runs (State 0 unless the handler reopens it).
    std::function<void(int number, const std::string& description)> Error;

    struct Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

} // namespace platform
