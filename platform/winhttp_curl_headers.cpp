#include "platform/winhttp_curl_headers.h"

#include <algorithm>
#include <optional>

#include "platform/ascii_case.h"
#include "platform/winhttp.h"

namespace quorrin::winhttp_curl {
namespace {

std::string_view trimmed(std::string_view s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool isNameByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

// A line goes on the wire only when it cannot break the request apart.
std::optional<std::pair<std::string, std::string>> parsedLine(std::string_view line) {
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view name = trimmed(line.substr(0, colon));
    const std::string_view value = trimmed(line.substr(colon + 1));
    const bool controlInValue = std::any_of(value.begin(), value.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && c != '\t') || byte == 0x7F;
    });
    if (name.empty() || !std::all_of(name.begin(), name.end(), isNameByte) || controlInValue) {
        return std::nullopt;
    }
    return std::make_pair(std::string(name), std::string(value));
}

std::optional<HeaderLines> parsedBlock(std::string_view block) {
    HeaderLines lines;
    while (!block.empty()) {
        const std::size_t end = std::min(block.find("\r\n"), block.size());
        const std::string_view line = block.substr(0, end);
        block.remove_prefix(std::min(end + 2, block.size()));
        if (line.empty()) {
            continue;
        }
        auto parsed = parsedLine(line);
        if (!parsed) {
            return std::nullopt;
        }
        lines.push_back(std::move(*parsed));
    }
    return lines;
}

bool addOne(HeaderLines& headers, std::pair<std::string, std::string> line, std::uint32_t flags) {
    const auto named = [&](const auto& header) {
        return equalsIgnoringCase(header.first, line.first);
    };
    const auto found = std::find_if(headers.begin(), headers.end(), named);
    const bool present = found != headers.end();
    if ((flags & WINHTTP_ADDREQ_FLAG_REPLACE) != 0) {
        if (present) {
            const std::size_t at = static_cast<std::size_t>(found - headers.begin());
            std::string value = std::move(line.second);
            std::erase_if(headers, named);
            if (!value.empty()) {
                headers.insert(headers.begin() + static_cast<std::ptrdiff_t>(at),
                               {std::move(line.first), std::move(value)});
            }
            return true;
        }
        if ((flags & WINHTTP_ADDREQ_FLAG_ADD) == 0) {
            return false;
        }
    } else if ((flags & WINHTTP_ADDREQ_FLAG_ADD_IF_NEW) != 0 && present) {
        return false;
    }
    headers.push_back(std::move(line));
    return true;
}

}  // namespace

bool addHeaderLines(HeaderLines& headers, std::string_view block, std::uint32_t flags) {
    std::optional<HeaderLines> lines = parsedBlock(block);
    if (!lines) {
        return false;
    }
    HeaderLines result = headers;
    for (auto& line : *lines) {
        if (!addOne(result, std::move(line), flags)) {
            return false;
        }
    }
    headers = std::move(result);
    return true;
}

}  // namespace quorrin::winhttp_curl
