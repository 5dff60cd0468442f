#include "tests/support/loopback_server_io.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <thread>

#include "platform/ascii_case.h"

namespace quorrin::loopback {

namespace {

constexpr auto kTick = std::chrono::milliseconds(20);
constexpr std::size_t kHeadLimit = 1U << 20;
constexpr std::size_t kBodyLimit = 256U << 20;
constexpr std::string_view kBlankLine = "\r\n\r\n";

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) {
        s.remove_prefix(1);
    }
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) {
        s.remove_suffix(1);
    }
    return s;
}

// Waits until the socket is ready for `events`; false at the deadline or on
// a stop request.
bool waitReady(int fd, short events, Clock::time_point deadline, const std::stop_token& stop) {
    while (!stop.stop_requested()) {
        const auto now = Clock::now();
        if (now >= deadline) {
            return false;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
        pollfd ready{fd, events, 0};
        const int result =
            ::poll(&ready, 1,
                   static_cast<int>(std::clamp(left, std::chrono::milliseconds(1), kTick).count()));
        if (result > 0) {
            return true;  // errors and hang-ups show in the next read or write
        }
        if (result < 0 && errno != EINTR) {
            return false;
        }
    }
    return false;
}

void sleepUnlessStopped(std::chrono::milliseconds span, const std::stop_token& stop) {
    const auto end = Clock::now() + span;
    while (!stop.stop_requested() && Clock::now() < end) {
        std::this_thread::sleep_for(std::min<Clock::duration>(kTick, end - Clock::now()));
    }
}

// Appends what is there to read. False once the peer has closed, an error
// occurred, or the wait ran out.
bool readSome(int fd, std::string& into, Clock::time_point deadline, const std::stop_token& stop) {
    std::array<char, 16384> buffer{};
    while (waitReady(fd, POLLIN, deadline, stop)) {
        const ssize_t got = ::recv(fd, buffer.data(), buffer.size(), 0);
        if (got > 0) {
            into.append(buffer.data(), static_cast<std::size_t>(got));
            return true;
        }
        if (got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
            return false;
        }
    }
    return false;
}

bool sendAll(int fd, std::string_view bytes, Clock::time_point deadline,
             const std::stop_token& stop) {
    while (!bytes.empty()) {
        if (!waitReady(fd, POLLOUT, deadline, stop)) {
            return false;
        }
        const ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
            return false;
        }
    }
    return true;
}

std::size_t contentLength(std::string_view headerBlock) {
    const std::optional<std::string> value = headerValue(headerBlock, "Content-Length");
    std::size_t length = 0;
    if (value) {
        std::from_chars(value->data(), value->data() + value->size(), length);
    }
    return std::min(length, kBodyLimit);
}

}  // namespace

std::optional<std::string> headerValue(std::string_view block, std::string_view name) {
    while (!block.empty()) {
        const std::size_t end = block.find("\r\n");
        const std::string_view line = block.substr(0, end);
        const std::size_t colon = line.find(':');
        if (colon != std::string_view::npos && equalsIgnoringCase(line.substr(0, colon), name)) {
            return std::string(trimmed(line.substr(colon + 1)));
        }
        if (end == std::string_view::npos) {
            break;
        }
        block.remove_prefix(end + 2);
    }
    return std::nullopt;
}

RecordedRequest recordRequest(std::string raw, std::size_t headLength) {
    RecordedRequest request;
    const std::string_view head = std::string_view(raw).substr(0, headLength);
    const std::size_t lineEnd = head.find("\r\n");
    request.requestLine = std::string(head.substr(0, lineEnd));
    if (lineEnd != std::string_view::npos && headLength >= lineEnd + 2 + 2) {
        // Up to and including the CRLF of the last header line.
        request.headerBlock = std::string(head.substr(lineEnd + 2, headLength - 2 - (lineEnd + 2)));
    }
    const std::size_t firstSpace = request.requestLine.find(' ');
    request.method = request.requestLine.substr(0, firstSpace);
    if (firstSpace != std::string::npos) {
        const std::size_t secondSpace = request.requestLine.find(' ', firstSpace + 1);
        request.target = request.requestLine.substr(
            firstSpace + 1,
            secondSpace == std::string::npos ? std::string::npos : secondSpace - firstSpace - 1);
    }
    request.body = raw.substr(std::min(headLength, raw.size()));
    request.raw = std::move(raw);
    return request;
}

std::optional<RecordedRequest> readRequest(const UniqueFd& fd, Clock::time_point deadline,
                                           const std::stop_token& stop) {
    std::string raw;
    std::size_t blank = std::string::npos;
    while ((blank = raw.find(kBlankLine)) == std::string::npos) {
        if (raw.size() > kHeadLimit || !readSome(fd.get(), raw, deadline, stop)) {
            return std::nullopt;
        }
    }
    const std::size_t headLength = blank + kBlankLine.size();
    const std::size_t lineEnd = raw.find("\r\n");
    const std::size_t wanted = headLength + contentLength(std::string_view(raw).substr(
                                                lineEnd + 2, headLength - lineEnd - 2));
    while (raw.size() < wanted && readSome(fd.get(), raw, deadline, stop)) {
    }
    if (raw.size() > wanted) {
        raw.resize(wanted);  // one request a connection: anything after it is not ours
    }
    return recordRequest(std::move(raw), headLength);
}

void sendReply(const UniqueFd& fd, const ScriptedReply& reply, Clock::time_point deadline,
               const std::stop_token& stop) {
    sleepUnlessStopped(reply.delay, stop);
    const std::string_view bytes =
        std::string_view(reply.bytes).substr(0, std::min(reply.dropAt, reply.bytes.size()));
    if (reply.pauseAt < bytes.size()) {
        if (!sendAll(fd.get(), bytes.substr(0, reply.pauseAt), deadline + reply.delay, stop)) {
            return;
        }
        sleepUnlessStopped(reply.pause, stop);
        sendAll(fd.get(), bytes.substr(reply.pauseAt), deadline + reply.delay + reply.pause, stop);
        return;
    }
    sendAll(fd.get(), bytes, deadline + reply.delay, stop);
}

void closeGracefully(UniqueFd fd, const std::stop_token& stop) {
    ::shutdown(fd.get(), SHUT_WR);
    std::string discarded;
    const auto deadline = Clock::now() + std::chrono::seconds(2);
    while (readSome(fd.get(), discarded, deadline, stop)) {
        discarded.clear();
    }
}

}  // namespace quorrin::loopback
