#pragma once

#include <chrono>
#include <optional>
#include <stop_token>

#include "platform/unique_fd.h"
#include "tests/support/loopback_server.h"

// Socket work of the loopback server: reading one request, sending one
// scripted reply and closing. All sockets are non-blocking and every wait is
// bounded by a deadline and by the stop token.
namespace quorrin::loopback {

using Clock = std::chrono::steady_clock;

// Reads one request head and its Content-Length body. nullopt when the peer
// closed or stalled before a whole head arrived; a body cut short is kept as
// far as it came.
[[nodiscard]] std::optional<RecordedRequest> readRequest(const UniqueFd& fd,
                                                         Clock::time_point deadline,
                                                         const std::stop_token& stop);

// Sends the reply as scripted: delay, pause, drop.
void sendReply(const UniqueFd& fd, const ScriptedReply& reply, Clock::time_point deadline,
               const std::stop_token& stop);

// Half-closes, lets the peer read what was sent, then closes. A plain close
// with unread input would reset the connection and could lose the reply.
void closeGracefully(UniqueFd fd, const std::stop_token& stop);

// The value of the first header line named `name` (case-insensitive) in a
// block of CRLF-closed lines, trimmed.
[[nodiscard]] std::optional<std::string> headerValue(std::string_view block, std::string_view name);

// Splits a received head (request line to blank line) and body into a record.
[[nodiscard]] RecordedRequest recordRequest(std::string raw, std::size_t headLength);

}  // namespace quorrin::loopback
