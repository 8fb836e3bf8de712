// Direct play's wire. Receiving the game record in the pieces a network delivers must cost at most
// twice receiving it whole: received bytes are searched for the terminator once, never again from
// the start. And 50 moves sent one by one, each waiting until it is sent, at most twice writing the
// same 50 messages one by one without waiting.
#include "BenchSupport.h"

#include "net/NetSocket.h"
#include "platform/Seams.h"
#include "platform/Socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr std::size_t kRecordBytes = 2 * 1024 * 1024;
constexpr std::size_t kPiece = 1460;
constexpr int kMoves = 50;
// Fifteen: with nine, the pieces' ratio came within a twentieth of its limit while two other
// programs kept two cores busy.
constexpr int kRepetitions = 15;

const std::string& Record() {
    static const std::string record = [] {
        std::string r = "DECKDATA\xA7";
        while (r.size() < kRecordBytes)
            r += static_cast<char>('0' + r.size() % 10);
        return r + "@#EnD!";
    }();
    return record;
}

void ReceiveRecord(benchmark::State& state, std::size_t piece) {
    const std::string& record = Record();
    for (auto _ : state) {
        NetFrameReader reader;
        reader.SetLongLimit(kMaxGameTransferMessage, {"DECKDATA", "DECKDATALD"});
        for (std::size_t at = 0; at < record.size(); at += piece)
            reader.Feed(std::string_view(record).substr(at, piece));
        if (!reader.HasMessage()) state.SkipWithError("the record did not arrive");
        benchmark::DoNotOptimize(reader.TakeMessage());
    }
}

void BM_ReceiveRecordInPieces(benchmark::State& state) {
    ReceiveRecord(state, kPiece);
}
void BM_ReceiveRecordWhole(benchmark::State& state) {
    ReceiveRecord(state, kRecordBytes * 2);
}

// The other player: a plain socket on a thread of its own that takes and drops whatever arrives,
// so that its work is not counted as the sender's (the times are the sending thread's CPU time).
class DrainingPeer {
  public:
    DrainingPeer() {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(listener_, 4) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Run(); });
    }
    ~DrainingPeer() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        close(listener_);
    }
    DrainingPeer(const DrainingPeer&) = delete;
    DrainingPeer& operator=(const DrainingPeer&) = delete;

    int Port() const { return port_; }

  private:
    void Run() {
        std::vector<pollfd> fds{{listener_, POLLIN, 0}};
        char buffer[65536];
        while (!stop_) {
            if (poll(fds.data(), fds.size(), 20) <= 0) continue;
            for (std::size_t i = 1; i < fds.size(); ++i)
                if (fds[i].revents & POLLIN) (void)!read(fds[i].fd, buffer, sizeof buffer);
            if (fds[0].revents & POLLIN) fds.push_back({accept(listener_, nullptr, nullptr), POLLIN, 0});
        }
        for (std::size_t i = 1; i < fds.size(); ++i)
            close(fds[i].fd);
    }

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

template <typename Predicate> bool WaitUntil(Predicate done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        platform::WaitForEvents(10);
    }
    return true;
}

// A plain socket of the program's own connected to the same peer: the baseline writes with it.
platform::Socket* g_plain = nullptr;

std::string Move(int i) {
    return "CMOVE\xA7" + std::to_string(100 + i) + "\xA7" + "120.5\xA7" + "340";
}

void BM_SendMovesWaiting(benchmark::State& state) {
    for (auto _ : state)
        for (int i = 0; i < kMoves; ++i)
            if (!SendNetData(Move(i))) state.SkipWithError("a move was not sent");
}

void BM_WriteMovesWithoutWaiting(benchmark::State& state) {
    for (auto _ : state)
        for (int i = 0; i < kMoves; ++i)
            g_plain->SendData(Move(i) + std::string(kNetTerminator));
}

} // namespace

BENCHMARK(BM_ReceiveRecordInPieces)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReceiveRecordWhole)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SendMovesWaiting)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteMovesWithoutWaiting)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    benchsupport::MessageLog log;
    benchsupport::OffscreenTable table(argc, argv, 64, 64);
    benchsupport::Initialize(argc, argv, kRepetitions);
    DrainingPeer peer;
    NetPort = peer.Port();
    ConnectToHost("127.0.0.1");
    platform::Socket plain;
    plain.Connect("127.0.0.1", peer.Port());
    if (!WaitUntil([&] {
            return NetSocketState() == platform::Socket::kConnected &&
                   plain.State() == platform::Socket::kConnected;
        }))
        return 1;
    g_plain = &plain;
    benchsupport::MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    CloseConnection();
    std::vector<benchsupport::Ratio> ratios;
    benchsupport::AddRatio(ratios, reporter, "2 MiB record received in 1460-byte pieces / received whole",
                           "BM_ReceiveRecordInPieces", "BM_ReceiveRecordWhole", 2.0);
    benchsupport::AddRatio(ratios, reporter, "50 moves sent waiting for each / written without waiting",
                           "BM_SendMovesWaiting", "BM_WriteMovesWithoutWaiting", 2.0);
    return benchsupport::Finish(ratios, reporter, log);
}
