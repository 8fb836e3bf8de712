// The lowest layer of direct play: the program's one socket, the framing of the text messages that
// travel over it, sending with a wait for the send to complete, and cutting the bytes received
// into messages for the command dispatcher.
//
// A message is the command word, then for each field the byte 0xA7 and the field's bytes, then the
// terminator "@#EnD!". Nothing is escaped and there is no length: the terminator alone ends a
// message, so a field that contains it cannot be sent.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view kNetTerminator = "@#EnD!";
inline constexpr char kNetSeparator = '\xA7';

// A message of the connection, cut into its command word and its fields.
struct NetCommand {
    std::string word;
    std::vector<std::string> fields;
};

// The message for a command and its fields, without the terminator; none when a field holds the
// terminator (it would end the message there and the rest would be read as a further command),
// or the separator with a field of some content after it (that field would be read in the wrong
// place).
std::optional<std::string> BuildNetMessage(const std::string& command,
                                           const std::vector<std::string>& fields);
NetCommand ParseNetMessage(std::string_view message);

// The largest message taken, in every phase; only the game's record ("DECKDATA", "DECKDATALD")
// may be longer, up to the second limit, while a client waits for the game it joins.
inline constexpr std::size_t kMaxNetMessage = 64 * 1024;
inline constexpr std::size_t kMaxGameTransferMessage = 32 * 1024 * 1024;

// Cuts a byte stream into messages. Bytes are searched once: a terminator that arrives in pieces
// is still found. A message longer than its limit is dropped up to its terminator.
class NetFrameReader {
  public:
    void SetLimit(std::size_t bytes) { limit_ = bytes; }
    std::size_t Limit() const { return limit_; }
    // The messages of these command words may reach `bytes` (above the limit); every other message
    // keeps the limit. No words: every message keeps it.
    void SetLongLimit(std::size_t bytes, std::vector<std::string> words);
    // The limit of a message that begins with these bytes: the long limit while they may still
    // begin one of the long words' messages.
    std::size_t LimitOf(std::string_view beginning) const;
    void Feed(std::string_view bytes);
    bool HasMessage() const { return !messages_.empty(); }
    // The oldest message received and not yet taken, without its terminator.
    std::string TakeMessage();
    // Messages dropped for their length since the reader was made.
    std::size_t Dropped() const { return dropped_; }
    // Forgets everything received and not yet taken.
    void Clear();

  private:
    std::string buffer_;
    // Where the unread part of the buffer begins, and how far it was searched.
    std::size_t start_ = 0;
    std::size_t searched_ = 0;
    // Bytes of an overlong message are being dropped up to its terminator.
    bool skipping_ = false;
    std::size_t limit_ = kMaxNetMessage;
    std::size_t longLimit_ = 0;
    std::vector<std::string> longWords_;
    std::size_t dropped_ = 0;
    std::deque<std::string> messages_;
};

// Watches a send leave: it has stalled once no byte of it left for the patience (10 seconds). A
// long record on a slow link moves all along and is never given up.
class SendStallWatch {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kPatience = std::chrono::seconds(10);
    SendStallWatch(std::size_t waiting, Clock::time_point now)
        : waiting_(waiting), deadline_(now + kPatience) {}
    // The bytes that still wait to leave now: true once none left for the patience.
    bool Stalled(std::size_t waiting, Clock::time_point now) {
        if (waiting < waiting_) {
            waiting_ = waiting;
            deadline_ = now + kPatience;
        }
        return now >= deadline_;
    }
    // How long from now until it counts as stalled.
    Clock::duration Left(Clock::time_point now) const { return deadline_ - now; }

  private:
    std::size_t waiting_;
    Clock::time_point deadline_;
};

// The port for listening and connecting: 1 to 65535, else the default 188.
inline constexpr int kDefaultNetPort = 188;
int NetPortFromValue(long long value);
extern int NetPort;

// The socket's state as the engine tests it: 0 closed, 2 listening, 7 connected, 8 closing.
int NetSocketState();
// Closes the socket and listens on NetPort for one peer.
void StartListening();
// Connects to a server on NetPort, only while the socket is closed or closing; does not wait.
void ConnectToHost(const std::string& host);
// Counts the connections made since the program started: what is told once per connection is
// told again on the next.
int NetConnectionSerial();
// This machine's address as the other player would reach it.
std::string GetLocalIP();
// Sends one message and waits until it is sent (window events run meanwhile, and after the send at
// least once a millisecond over a run of sends; received messages wait until the send is over). False with a
// message when the socket is not connected; the wait also ends when the connection fails or when
// no byte of it has left for 10 seconds (a long record on a slow link is waited for).
bool SendNetData(const std::string& message);
// Ends the connection: tells a connected peer "TERM" first.
void CloseConnection();

// Runs each received message, one at a time and in order; never while another runs or while a
// send waits. Messages that arrive together run within one event while they take little time; a
// run that takes longer goes on after the window's own events had their turn. Chat lines ("CHAT")
// keep their order among themselves but wait behind the game's commands, and a backlog of more
// than a few megabytes of chat loses its oldest lines.
using NetCommandHandler = std::function<void(const NetCommand&)>;
NetCommandHandler SetNetCommandHandler(NetCommandHandler handler);
// While a client waits for the game it joins, the game's record may reach kMaxGameTransferMessage;
// every other message keeps kMaxNetMessage.
void AllowGameTransferMessages(bool allow);
