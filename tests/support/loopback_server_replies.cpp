#include <cstdio>

#include "tests/support/loopback_server.h"

// Ready-made replies for the loopback server.
namespace quorrin {

namespace {

std::string_view reasonPhrase(int status) {
    switch (status) {
        case 200:
            return "OK";
        case 204:
            return "No Content";
        case 301:
            return "Moved Permanently";
        case 302:
            return "Found";
        case 303:
            return "See Other";
        case 307:
            return "Temporary Redirect";
        case 308:
            return "Permanent Redirect";
        case 400:
            return "Bad Request";
        case 403:
            return "Forbidden";
        case 404:
            return "Not Found";
        case 500:
            return "Internal Server Error";
        case 503:
            return "Service Unavailable";
        default:
            return "Status";
    }
}

std::string head(int status, const std::vector<std::string>& headerLines) {
    std::string bytes = "HTTP/1.1 " + std::to_string(status) + " ";
    bytes += reasonPhrase(status);
    bytes += "\r\n";
    for (const std::string& line : headerLines) {
        bytes += line + "\r\n";
    }
    return bytes;
}

}  // namespace

std::string responseBytes(int status, const std::vector<std::string>& headerLines,
                          std::string_view body) {
    std::string bytes = head(status, headerLines);
    bytes += "Content-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
    bytes += body;
    return bytes;
}

std::string chunkedResponseBytes(int status, const std::vector<std::string>& headerLines,
                                 const std::vector<std::string>& chunks) {
    std::string bytes = head(status, headerLines);
    bytes += "Transfer-Encoding: chunked\r\nConnection: close\r\n\r\n";
    for (const std::string& chunk : chunks) {
        if (chunk.empty()) {
            continue;  // an empty chunk would end the body early
        }
        char size[32];
        std::snprintf(size, sizeof size, "%zx\r\n", chunk.size());
        bytes += size + chunk + "\r\n";
    }
    bytes += "0\r\n\r\n";
    return bytes;
}

ScriptedReply okReply(std::string_view body, const std::vector<std::string>& headerLines) {
    ScriptedReply reply;
    reply.bytes = responseBytes(200, headerLines, body);
    return reply;
}

ScriptedReply redirectReply(std::string_view location, int status) {
    ScriptedReply reply;
    reply.bytes = responseBytes(status, {"Location: " + std::string(location)}, "moved");
    return reply;
}

}  // namespace quorrin
