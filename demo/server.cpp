#include "demo/server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <sstream>

namespace quorrin::demo {
namespace {

constexpr int kPollMillis = 100;
constexpr int kReadTimeoutSeconds = 5;
constexpr std::size_t kMaxRequestBytes = 64 * 1024;

const char* reasonOf(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 404:
            return "Not Found";
        default:
            return "Method Not Allowed";
    }
}

void sendAll(int fd, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return;
        }
        sent += static_cast<std::size_t>(n);
    }
}

}  // namespace

Server::~Server() {
    stop();
}

bool Server::start(int port, Log log) {
    UniqueFd listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!listener.valid()) {
        return false;
    }
    const int yes = 1;
    ::setsockopt(listener.get(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (::bind(listener.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener.get(), 16) != 0) {
        return false;
    }
    socklen_t length = sizeof address;
    ::getsockname(listener.get(), reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    listener_ = std::move(listener);
    log_ = std::move(log);
    site_ = std::make_unique<Site>(baseUrl());
    stopping_ = false;
    thread_ = std::thread([this] { serve(); });
    return true;
}

void Server::stop() {
    stopping_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    listener_ = UniqueFd();
}

std::string Server::baseUrl() const {
    return "http://127.0.0.1:" + std::to_string(port_);
}

void Server::serve() {
    while (!stopping_) {
        pollfd waiting{listener_.get(), POLLIN, 0};
        if (::poll(&waiting, 1, kPollMillis) <= 0) {
            continue;
        }
        UniqueFd connection(::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (connection.valid()) {
            answer(std::move(connection));
        }
    }
}

void Server::answer(UniqueFd connection) {
    timeval timeout{kReadTimeoutSeconds, 0};
    ::setsockopt(connection.get(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
    std::string request;
    char buffer[4096];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < kMaxRequestBytes) {
        const ssize_t n = ::recv(connection.get(), buffer, sizeof buffer, 0);
        if (n <= 0) {
            return;
        }
        request.append(buffer, static_cast<std::size_t>(n));
    }
    const std::string requestLine = request.substr(0, request.find("\r\n"));
    if (log_) {
        log_(requestLine);
    }
    std::istringstream words(requestLine);
    std::string method;
    std::string target;
    words >> method >> target;
    const Response response = site_->handle(method, target);
    std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " +
                       reasonOf(response.status) +
                       "\r\nContent-Type: text/html; charset=utf-8\r\nContent-Length: " +
                       std::to_string(response.body.size()) + "\r\nConnection: close\r\n\r\n";
    sendAll(connection.get(), method == "HEAD" ? head : head + response.body);
    ::shutdown(connection.get(), SHUT_WR);
}

}  // namespace quorrin::demo
