#include "LatencyRelay.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <deque>
#include <string>

namespace directplay {

namespace {

using Clock = std::chrono::steady_clock;

sockaddr_in Loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// One direction of the link: what was read, each piece with the time it may go on.
struct Direction {
    int from = -1;
    int to = -1;
    std::deque<std::pair<Clock::time_point, std::string>> held;
    bool ended = false;
    bool shut = false;
};

bool WriteAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

LatencyRelay::LatencyRelay(int serverPort, std::chrono::milliseconds latency)
    : serverPort_(serverPort), latency_(latency) {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = Loopback(0);
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 1);
    socklen_t length = sizeof address;
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Run(); });
}

LatencyRelay::~LatencyRelay() {
    stop_ = true;
    thread_.join();
    close(listener_);
}

void LatencyRelay::Run() {
    pollfd waiting{listener_, POLLIN, 0};
    while (!stop_ && poll(&waiting, 1, 20) <= 0) {
    }
    if (stop_) return;
    const int client = accept(listener_, nullptr, nullptr);
    const int server = socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = Loopback(serverPort_);
    if (client < 0 || connect(server, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        if (client >= 0) close(client);
        close(server);
        return;
    }
    for (int fd : {client, server}) {
        const int on = 1;
        setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    }
    Direction directions[2];
    directions[0].from = client;
    directions[0].to = server;
    directions[1].from = server;
    directions[1].to = client;
    while (!stop_) {
        pollfd fds[2] = {{client, static_cast<short>(directions[0].ended ? 0 : POLLIN), 0},
                         {server, static_cast<short>(directions[1].ended ? 0 : POLLIN), 0}};
        poll(fds, 2, 2);
        const Clock::time_point now = Clock::now();
        for (int k = 0; k < 2; ++k) {
            Direction& d = directions[k];
            if (!d.ended && (fds[k].revents & (POLLIN | POLLHUP | POLLERR))) {
                char chunk[65536];
                const ssize_t n = read(d.from, chunk, sizeof chunk);
                if (n > 0)
                    d.held.emplace_back(now + latency_, std::string(chunk, static_cast<std::size_t>(n)));
                else
                    d.ended = true;
            }
            while (!d.held.empty() && d.held.front().first <= now) {
                if (!WriteAll(d.to, d.held.front().second)) d.ended = true;
                d.held.pop_front();
            }
            // The side that closed is closed to the other too, once what it sent went on.
            if (d.ended && d.held.empty() && !d.shut) {
                shutdown(d.to, SHUT_WR);
                d.shut = true;
            }
        }
        if (directions[0].shut && directions[1].shut) break;
    }
    close(client);
    close(server);
}

} // namespace directplay
