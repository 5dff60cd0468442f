#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "demo/site.h"
#include "platform/unique_fd.h"

namespace quorrin::demo {

// The demo site on 127.0.0.1, one connection at a time, each answered and
// closed. Runs on its own thread from start() until stop() or destruction.
class Server {
  public:
    using Log = std::function<void(const std::string& requestLine)>;

    Server() = default;
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;
    ~Server();

    // Binds 127.0.0.1:port (0 lets the system choose) and starts serving.
    // Returns false when the port cannot be bound.
    bool start(int port, Log log = {});
    void stop();

    [[nodiscard]] int port() const { return port_; }
    [[nodiscard]] std::string baseUrl() const;

  private:
    void serve();
    void answer(UniqueFd connection);

    UniqueFd listener_;
    int port_ = 0;
    Log log_;
    std::unique_ptr<Site> site_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace quorrin::demo
