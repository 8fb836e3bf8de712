// A link with latency between two copies of the engine: listens on a port of its own, and for the
// one peer that connects there, connects to the server's port and carries the bytes both ways,
// each byte held for the latency before it goes on. It runs on a thread of the test's own, so
// that the two processes it joins see a slow link and nothing else.
#pragma once

#include <atomic>
#include <chrono>
#include <thread>

namespace directplay {

class LatencyRelay {
  public:
    LatencyRelay(int serverPort, std::chrono::milliseconds latency);
    ~LatencyRelay();
    LatencyRelay(const LatencyRelay&) = delete;
    LatencyRelay& operator=(const LatencyRelay&) = delete;

    // The port the client connects to.
    int Port() const { return port_; }

  private:
    void Run();

    int serverPort_;
    std::chrono::milliseconds latency_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace directplay
