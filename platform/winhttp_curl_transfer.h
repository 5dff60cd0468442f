#pragma once

#include <span>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

// One libcurl exchange for the WinHttp stand-in: what the handles collected,
// in the bytes that go on the wire, and what came back.
namespace quorrin::winhttp_curl {

struct Credentials {
    bool set = false;
    std::string userName;
    std::string password;
};

struct Settings {
    std::string proxy;  // a libcurl proxy address; empty: a direct connection
    std::string host;
    int port = 0;
    bool secure = false;
    std::string verb;
    std::string objectName;  // escaped for the request line
    int resolveMs = 0;       // the four time-outs; 0 or below: no limit
    int connectMs = 60000;
    int sendMs = 30000;
    int receiveMs = 30000;
    Credentials server;
    Credentials proxyLogin;
    bool cookiesDisabled = false;
    bool redirectsDisabled = false;
    std::vector<std::pair<std::string, std::string>> headers;  // name and value, in order
    std::stop_token stop;
};

struct Exchange {
    bool sent = false;       // the request went out
    bool responded = false;  // the final response's header block came in
    bool complete = false;   // and its whole body after it
    std::string
        headerBlock;  // the final response's lines, each closed by CRLF, blank line included
    std::string body;
};

[[nodiscard]] Exchange perform(const Settings& settings, std::span<const char> body);

}  // namespace quorrin::winhttp_curl
