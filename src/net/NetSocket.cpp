#include "net/NetSocket.h"

#include "common/Messages.h"
#include "net/WireWords.h"
#include "platform/Seams.h"
#include "platform/Socket.h"
#include "services/DebugMgmt.h"

#include <algorithm>
#include <chrono>
#include <memory>
#include <utility>

std::optional<std::string> BuildNetMessage(const std::string& command,
                                           const std::vector<std::string>& fields) {
    std::size_t size = command.size();
    // A separator inside a field is harmless only where no field with content follows it: the
    // other side then reads the field cut short, never the later fields out of place.
    bool contentFollows = false;
    for (auto f = fields.rbegin(); f != fields.rend(); ++f) {
        if (f->find(kNetTerminator) != std::string::npos) return std::nullopt;
        if (contentFollows && f->find(kNetSeparator) != std::string::npos) return std::nullopt;
        contentFollows = contentFollows || !f->empty();
        size += 1 + f->size();
    }
    if (command.find(kNetTerminator) != std::string::npos) return std::nullopt;
    std::string message;
    message.reserve(size);
    message += command;
    for (const std::string& f : fields) {
        message += kNetSeparator;
        message += f;
    }
    return message;
}

NetCommand ParseNetMessage(std::string_view message) {
    NetCommand command;
    std::size_t cut = message.find(kNetSeparator);
    command.word = std::string(message.substr(0, cut));
    while (cut != std::string_view::npos) {
        const std::size_t from = cut + 1;
        cut = message.find(kNetSeparator, from);
        command.fields.emplace_back(message.substr(from, cut == std::string_view::npos ? cut : cut - from));
    }
    return command;
}

void NetFrameReader::SetLongLimit(std::size_t bytes, std::vector<std::string> words) {
    longLimit_ = bytes;
    longWords_ = std::move(words);
}

std::size_t NetFrameReader::LimitOf(std::string_view beginning) const {
    if (longLimit_ <= limit_) return limit_;
    for (const std::string& word : longWords_) {
        // The word and its separator, or as much of them as has arrived.
        const std::size_t n = std::min(beginning.size(), word.size());
        if (beginning.substr(0, n) != std::string_view(word).substr(0, n)) continue;
        if (beginning.size() <= word.size() || beginning[word.size()] == kNetSeparator) return longLimit_;
    }
    return limit_;
}

void NetFrameReader::Feed(std::string_view bytes) {
    buffer_.append(bytes);
    for (;;) {
        // A terminator may have begun in the bytes already searched.
        const std::size_t from =
            std::max(start_, searched_ >= kNetTerminator.size() - 1 ? searched_ - (kNetTerminator.size() - 1)
                                                                    : std::size_t{0});
        const std::size_t end = buffer_.find(kNetTerminator, from);
        if (end == std::string::npos) {
            searched_ = buffer_.size();
            break;
        }
        const std::size_t length = end - start_;
        if (skipping_ || length > LimitOf(std::string_view(buffer_).substr(start_, length))) {
            skipping_ = false;
            ++dropped_;
            DebugLog("net",
                     "a message of " + std::to_string(length) + " bytes or more was dropped: too long");
        } else {
            messages_.emplace_back(buffer_, start_, length);
        }
        start_ = end + kNetTerminator.size();
        searched_ = start_;
    }
    // An unfinished message already past its limit is dropped as it comes; only a possible
    // beginning of the terminator is kept (and counted: a message of the limit's length whose
    // terminator has half arrived is still taken).
    // The limit is that of the bytes before the possible beginning of a terminator, so that the
    // message is judged as it will be once whole, however it arrives.
    const std::size_t keep = kNetTerminator.size() - 1;
    const std::size_t unfinished = buffer_.size() - start_;
    if (unfinished > keep && (skipping_ || unfinished - keep > LimitOf(std::string_view(buffer_).substr(
                                                                   start_, unfinished - keep)))) {
        start_ = buffer_.size() - keep;
        searched_ = start_;
        skipping_ = true;
    }
    if (start_ > 0 && start_ * 2 >= buffer_.size()) {
        buffer_.erase(0, start_);
        searched_ -= start_;
        start_ = 0;
    }
}

std::string NetFrameReader::TakeMessage() {
    std::string message = std::move(messages_.front());
    messages_.pop_front();
    return message;
}

void NetFrameReader::Clear() {
    buffer_.clear();
    start_ = searched_ = 0;
    skipping_ = false;
    messages_.clear();
}

int NetPortFromValue(long long value) {
    return value >= 1 && value <= 65535 ? static_cast<int>(value) : kDefaultNetPort;
}

int NetPort = kDefaultNetPort;

namespace {

struct Connection {
    platform::Socket socket;
    NetFrameReader reader;
    NetCommandHandler handler;
    bool sendComplete = false;
    // Guards against running a message inside another or inside a send's wait.
    bool dispatching = false;
    bool sending = false;
    bool drainQueued = false;
    // Chat lines received and not yet shown: the game's commands overtake them, so that play
    // never waits behind a conversation however long.
    std::deque<NetCommand> chat;
    std::size_t chatBytes = 0;
    int serial = 0;
    // When window events last ran after a send.
    std::chrono::steady_clock::time_point pumped{};
};

void Drain();
void QueueDrain();
void ForgetReceived();

void OnSocketError(int number, const std::string& description) {
    switch (number) {
    case 10061:
        return ShowMsg("Server refused the connection (not active?)");
    case 11001:
        return ShowMsg("Server not found (wrong IP address?)");
    case 10013:
        return ShowMsg("Winsock error: 10013 - " + description +
                       " (a port below 1024 needs special rights on this "
                       "system: choose another with the key port of [DIRECTPLAY] in direct.ini)");
    default:
        return ShowMsg("Winsock error: " + std::to_string(number) + " - " + description);
    }
}

Connection& Net() {
    static Connection* connection = [] {
        auto* c = new Connection;
        c->socket.Error = OnSocketError;
        c->socket.ConnectionRequest = [c](long id) {
            const int state = c->socket.State();
            if (state != platform::Socket::kClosed && state != platform::Socket::kClosing) c->socket.Close();
            c->socket.Accept(id);
            ForgetReceived();
            ++c->serial;
        };
        c->socket.SendComplete = [c] { c->sendComplete = true; };
        c->socket.DataArrival = [c] {
            const std::string bytes = c->socket.GetData(c->socket.BytesReceived());
            DebugLog("get", bytes);
            c->reader.Feed(bytes);
            Drain();
        };
        return c;
    }();
    return *connection;
}

void QueueDrain() {
    Connection& c = Net();
    if (c.drainQueued || (!c.reader.HasMessage() && c.chat.empty())) return;
    c.drainQueued = true;
    platform::RunLater([] {
        Net().drainQueued = false;
        Drain();
    });
}

// How long received messages run within one event before the window's own events (input,
// painting) get their turn: a flood of messages must not freeze the window.
constexpr auto kDrainSlice = std::chrono::milliseconds(50);

// Chat waiting to be shown is bounded: a peer that floods it loses its oldest lines, not the
// memory of this side.
constexpr std::size_t kMaxChatBacklogBytes = 4 * 1024 * 1024;

void Dispatch(const NetCommand& command) {
    Connection& c = Net();
    if (c.handler)
        c.handler(command);
    else
        DebugLog("net", "no handler for " + command.word);
}

void HoldChat(NetCommand command) {
    Connection& c = Net();
    c.chatBytes += command.fields.empty() ? 0 : command.fields[0].size();
    c.chat.push_back(std::move(command));
    while (c.chatBytes > kMaxChatBacklogBytes && c.chat.size() > 1) {
        const NetCommand& oldest = c.chat.front();
        c.chatBytes -= oldest.fields.empty() ? 0 : oldest.fields[0].size();
        DebugLog("net", "a chat line was dropped: too much chat waits to be shown");
        c.chat.pop_front();
    }
}

// The next message to run: the game's first, then the chat held back.
std::optional<NetCommand> NextCommand() {
    Connection& c = Net();
    while (c.reader.HasMessage()) {
        NetCommand command = ParseNetMessage(c.reader.TakeMessage());
        if (command.word != wire::kChat) return command;
        HoldChat(std::move(command));
    }
    if (c.chat.empty()) return std::nullopt;
    NetCommand command = std::move(c.chat.front());
    c.chat.pop_front();
    c.chatBytes -= command.fields.empty() ? 0 : command.fields[0].size();
    return command;
}

void Drain() {
    Connection& c = Net();
    if (c.dispatching || c.sending) return;
    c.dispatching = true;
    struct Reset {
        Connection& c;
        ~Reset() { c.dispatching = false; }
    } reset{c};
    const auto start = std::chrono::steady_clock::now();
    while (std::optional<NetCommand> command = NextCommand()) {
        Dispatch(*command);
        if ((c.reader.HasMessage() || !c.chat.empty()) &&
            std::chrono::steady_clock::now() - start >= kDrainSlice) {
            c.dispatching = false;
            QueueDrain();
            return;
        }
    }
}

void ForgetReceived() {
    Connection& c = Net();
    c.reader.Clear();
    c.chat.clear();
    c.chatBytes = 0;
}

} // namespace

int NetSocketState() {
    return Net().socket.State();
}

void StartListening() {
    Connection& c = Net();
    c.socket.Close();
    ForgetReceived();
    c.socket.LocalPort = NetPort;
    if (c.socket.State() == platform::Socket::kClosed) c.socket.Listen();
}

void ConnectToHost(const std::string& host) {
    Connection& c = Net();
    const int state = c.socket.State();
    if (state != platform::Socket::kClosed && state != platform::Socket::kClosing) return;
    c.socket.Close();
    ForgetReceived();
    ++c.serial;
    c.socket.Connect(host, NetPort);
    platform::PumpEvents();
}

int NetConnectionSerial() {
    return Net().serial;
}

std::string GetLocalIP() {
    return platform::Socket::LocalIP();
}

bool SendNetData(const std::string& message) {
    Connection& c = Net();
    const int state = c.socket.State();
    if (state != platform::Socket::kConnected) {
        ShowMsg("Unable to send data:  (state: " + std::to_string(state) + ")");
        return false;
    }
    const bool outer = !c.sending;
    c.sending = true;
    c.sendComplete = false;
    c.socket.SendData(message + std::string(kNetTerminator));
    // The wait gives up only on a link where nothing moves: a long record on a slow link takes
    // as long as it takes.
    SendStallWatch watch(c.socket.BytesToWrite(), std::chrono::steady_clock::now());
    bool waited = false;
    while (!c.sendComplete && c.socket.State() == platform::Socket::kConnected) {
        waited = true;
        const auto now = std::chrono::steady_clock::now();
        if (watch.Stalled(c.socket.BytesToWrite(), now)) {
            DebugLog("net", "a send was abandoned: no byte of it left for 10 seconds");
            break;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(watch.Left(now));
        platform::WaitForEvents(static_cast<int>(std::clamp<long long>(left.count(), 1, 100)));
    }
    // Window events run once more after the send. A run of sends that each complete at once (a
    // group of cards moved) lets them run once a millisecond rather than once a message: the
    // window stays as lively, and each message is spared a turn of the event loop.
    const auto now = std::chrono::steady_clock::now();
    if (waited || now - c.pumped >= std::chrono::milliseconds(1)) {
        platform::PumpEvents();
        c.pumped = now;
    }
    if (outer) c.sending = false;
    const bool sent = c.sendComplete;
    // Messages that arrived during the wait run once the action that sent is over.
    QueueDrain();
    return sent;
}

void CloseConnection() {
    Connection& c = Net();
    const int state = c.socket.State();
    if (state != platform::Socket::kClosed && state != platform::Socket::kClosing &&
        state != platform::Socket::kListening) {
        SendNetData(wire::kClosed);
    }
    c.socket.Close();
    ForgetReceived();
}

NetCommandHandler SetNetCommandHandler(NetCommandHandler handler) {
    return std::exchange(Net().handler, std::move(handler));
}

void AllowGameTransferMessages(bool allow) {
    Net().reader.SetLongLimit(allow ? kMaxGameTransferMessage : 0, {wire::kNewGame, wire::kSavedGame});
}
