#include "tests/support/loopback_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <stop_token>
#include <thread>
#include <utility>

#include "tests/support/loopback_server_io.h"

namespace quorrin {

namespace {

using loopback::Clock;

constexpr auto kTick = std::chrono::milliseconds(20);

UniqueFd openListeningSocket() {
    UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd.valid()) {
        return {};
    }
    const int yes = 1;
    ::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd.get(), 64) != 0) {
        return {};
    }
    return fd;
}

int boundPort(const UniqueFd& fd) {
    sockaddr_in address{};
    socklen_t size = sizeof address;
    if (!fd.valid() || ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        return 0;
    }
    return ntohs(address.sin_port);
}

std::string pathOf(const std::string& target) {
    return target.substr(0, target.find('?'));
}

ScriptedReply notScripted() {
    return ScriptedReply{responseBytes(404, {"Content-Type: text/plain"}, "no reply scripted"),
                         {},
                         kWholeReply,
                         {},
                         kWholeReply};
}

// A connection's thread and the flag it raises when it is done, so the
// accept loop can join finished ones as it goes.
struct Connection {
    std::shared_ptr<std::atomic<bool>> done;
    std::jthread thread;
};

}  // namespace

class LoopbackServer::Impl {
  public:
    explicit Impl(Options options) : options_(options), listener_(openListeningSocket()) {
        port_ = boundPort(listener_);
        if (listener_.valid()) {
            acceptor_ = std::jthread([this](std::stop_token stop) { acceptLoop(stop); });
        }
    }
    ~Impl() { stop(); }
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    void stop() {
        if (acceptor_.joinable()) {
            acceptor_.request_stop();
            acceptor_.join();
        }
    }

    [[nodiscard]] bool listening() const { return listener_.valid(); }
    [[nodiscard]] int port() const { return port_; }

    void handle(std::string path, ReplyHandler handler) {
        const std::lock_guard lock(mutex_);
        handlers_[std::move(path)] = std::move(handler);
    }
    void enqueue(ScriptedReply reply) {
        const std::lock_guard lock(mutex_);
        queue_.push_back(std::move(reply));
    }
    [[nodiscard]] std::vector<RecordedRequest> requests() const {
        const std::lock_guard lock(mutex_);
        return recorded_;
    }
    [[nodiscard]] bool waitForRequests(std::size_t count, std::chrono::milliseconds timeout) const {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, timeout, [&] { return recorded_.size() >= count; });
    }

  private:
    void acceptLoop(const std::stop_token& stop) {
        std::vector<Connection> connections;
        auto lastActivity = Clock::now();
        while (!stop.stop_requested() && Clock::now() - lastActivity < options_.idleLimit) {
            std::erase_if(connections, [](const Connection& c) { return c.done->load(); });
            pollfd ready{listener_.get(), POLLIN, 0};
            if (::poll(&ready, 1, static_cast<int>(kTick.count())) <= 0) {
                continue;
            }
            UniqueFd client(
                ::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK));
            if (!client.valid()) {
                continue;
            }
            lastActivity = Clock::now();
            auto done = std::make_shared<std::atomic<bool>>(false);
            connections.push_back(Connection{
                done, std::jthread([this, done, fd = std::move(client)](std::stop_token s) mutable {
                    serve(std::move(fd), s);
                    done->store(true);
                })});
        }
        // Leaving the scope asks every connection thread to stop and joins it.
    }

    void serve(UniqueFd fd, const std::stop_token& stop) {
        const auto deadline = Clock::now() + options_.ioLimit;
        std::optional<RecordedRequest> request = loopback::readRequest(fd, deadline, stop);
        if (request) {
            const ScriptedReply reply = replyFor(*request);
            loopback::sendReply(fd, reply, Clock::now() + options_.ioLimit, stop);
        }
        loopback::closeGracefully(std::move(fd), stop);
    }

    ScriptedReply replyFor(const RecordedRequest& request) {
        ReplyHandler handler;
        std::optional<ScriptedReply> queued;
        {
            const std::lock_guard lock(mutex_);
            recorded_.push_back(request);
            auto found = handlers_.find(request.target);
            if (found == handlers_.end()) {
                found = handlers_.find(pathOf(request.target));
            }
            if (found != handlers_.end()) {
                handler = found->second;
            } else if (!queue_.empty()) {
                queued = std::move(queue_.front());
                queue_.pop_front();
            }
        }
        arrived_.notify_all();
        if (handler) {
            return handler(request);
        }
        return queued ? std::move(*queued) : notScripted();
    }

    const Options options_;
    UniqueFd listener_;
    int port_ = 0;
    mutable std::mutex mutex_;
    mutable std::condition_variable arrived_;
    std::map<std::string, ReplyHandler> handlers_;
    std::deque<ScriptedReply> queue_;
    std::vector<RecordedRequest> recorded_;
    std::jthread acceptor_;  // last: it stops before the members it uses go
};

std::optional<std::string> RecordedRequest::header(std::string_view name) const {
    return loopback::headerValue(headerBlock, name);
}

LoopbackServer::LoopbackServer() : LoopbackServer(Options{}) {}
LoopbackServer::LoopbackServer(Options options) : impl_(std::make_unique<Impl>(options)) {}
LoopbackServer::~LoopbackServer() = default;

bool LoopbackServer::listening() const {
    return impl_->listening();
}
int LoopbackServer::port() const {
    return impl_->port();
}
std::string LoopbackServer::baseUrl() const {
    return "http://127.0.0.1:" + std::to_string(impl_->port());
}
std::string LoopbackServer::url(std::string_view path) const {
    return baseUrl() + std::string(path);
}
void LoopbackServer::handle(std::string path, ReplyHandler handler) {
    impl_->handle(std::move(path), std::move(handler));
}
void LoopbackServer::reply(std::string path, ScriptedReply reply) {
    impl_->handle(std::move(path),
                  [reply = std::move(reply)](const RecordedRequest&) { return reply; });
}
void LoopbackServer::enqueue(ScriptedReply reply) {
    impl_->enqueue(std::move(reply));
}
std::vector<RecordedRequest> LoopbackServer::requests() const {
    return impl_->requests();
}
std::size_t LoopbackServer::requestCount() const {
    return impl_->requests().size();
}
std::vector<std::string> LoopbackServer::requestTargets() const {
    std::vector<std::string> targets;
    for (const RecordedRequest& request : impl_->requests()) {
        targets.push_back(request.target);
    }
    return targets;
}
bool LoopbackServer::waitForRequests(std::size_t count, std::chrono::milliseconds timeout) const {
    return impl_->waitForRequests(count, timeout);
}
void LoopbackServer::stop() {
    impl_->stop();
}

int closedLoopbackPort() {
    // Bound and closed again at once: nothing listens there afterwards.
    const UniqueFd fd = openListeningSocket();
    return boundPort(fd);
}

}  // namespace quorrin
