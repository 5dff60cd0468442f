#include "platform/web_address.h"

#include <string_view>

#include "platform/ascii_case.h"

namespace quorrin {
namespace {

std::string_view afterScheme(std::string_view text) {
    for (const std::string_view scheme :
         {std::string_view("http://"), std::string_view("https://")}) {
        if (startsWithIgnoringCase(text, scheme)) {
            return text.substr(scheme.size());
        }
    }
    return {};
}

bool hasControlOrSpace(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= 0x20 || byte == 0x7F) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool isWebAddress(const Text& address) {
    const std::string_view text = address.view();
    if (hasControlOrSpace(text)) {
        return false;
    }
    const std::string_view rest = afterScheme(text);
    std::string_view authority = rest.substr(0, rest.find_first_of("/?#\\"));
    if (const auto at = authority.rfind('@'); at != std::string_view::npos) {
        authority.remove_prefix(at + 1);
    }
    const std::string_view host = authority.substr(0, authority.find(':'));
    return !host.empty();
}

}  // namespace quorrin
