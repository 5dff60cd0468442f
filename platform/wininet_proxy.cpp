#include "platform/wininet_proxy.h"

#include <vector>

#include "platform/ascii_case.h"

namespace quorrin {

namespace {

std::vector<std::string_view> entries(std::string_view list) {
    std::vector<std::string_view> found;
    while (!list.empty()) {
        const std::size_t end = list.find_first_of("; ");
        if (end != 0) {
            found.push_back(list.substr(0, end));
        }
        if (end == std::string_view::npos) {
            break;
        }
        list.remove_prefix(end + 1);
    }
    return found;
}

std::string asProxyAddress(std::string_view server) {
    if (server.empty()) {
        return {};
    }
    if (server.find("://") != std::string_view::npos) {
        return std::string(server);
    }
    return "http://" + std::string(server);
}

}  // namespace

std::string proxyForScheme(std::string_view proxyList, std::string_view scheme) {
    std::string_view general;
    bool haveGeneral = false;
    for (const std::string_view entry : entries(proxyList)) {
        const std::size_t equals = entry.find('=');
        if (equals == std::string_view::npos) {
            if (!haveGeneral) {
                general = entry;
                haveGeneral = true;
            }
        } else if (equalsIgnoringCase(entry.substr(0, equals), scheme)) {
            return asProxyAddress(entry.substr(equals + 1));
        }
    }
    return asProxyAddress(general);
}

std::string noProxyList(std::string_view proxyBypass) {
    std::string joined;
    for (std::string_view entry : entries(proxyBypass)) {
        if (equalsIgnoringCase(entry, "<local>")) {
            continue;
        }
        if (entry.starts_with("*.")) {
            entry.remove_prefix(1);  // libcurl reads ".b.com" as every host under b.com
        }
        if (!joined.empty()) {
            joined += ',';
        }
        joined += entry;
    }
    return joined;
}

}  // namespace quorrin
