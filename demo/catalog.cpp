#include "demo/catalog.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace quorrin::demo {
namespace {

constexpr int kRowsPerPage = 10;
constexpr std::string_view kBusyKeyword = "爵迹";

// FNV-1a: small, stable across runs and machines.
std::uint32_t stableHash(const std::string& text) {
    std::uint32_t h = 2166136261U;
    for (const unsigned char c : text) {
        h = (h ^ c) * 16777619U;
    }
    return h;
}

std::string hex8(std::uint32_t value) {
    std::array<char, 9> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%08x", value);
    return buffer.data();
}

const std::array<const char*, 6> kSharers = {"云端小站",    "分享达人",   "影视仓库",
                                             "quorrin_fan", "资源搬运工", "老K"};
const std::array<const char*, 5> kKinds = {"高清版.mp4", "合集.rar", "原声音乐.flac", "电子书.pdf",
                                           "幕后花絮.mkv"};

// The n of a keyword ending in "#n" (n from 1 to 999, written without
// leading zeros); 0 for any other keyword.
int askedPageCount(const std::string& keyword) {
    const std::size_t mark = keyword.rfind('#');
    if (mark == std::string::npos) {
        return 0;
    }
    const std::string digits = keyword.substr(mark + 1);
    if (digits.empty() || digits.size() > 3 || digits.front() == '0') {
        return 0;
    }
    int count = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return 0;
        }
        count = count * 10 + (c - '0');
    }
    return count;
}

}  // namespace

int pageCountFor(const std::string& keyword) {
    if (keyword == kBusyKeyword) {
        return 5;
    }
    if (const int asked = askedPageCount(keyword); asked > 0) {
        return asked;
    }
    if (keyword.empty()) {
        return 1;
    }
    return 1 + static_cast<int>(stableHash(keyword) % 4);
}

std::vector<Share> sharesOnPage(const std::string& keyword, int page) {
    std::vector<Share> shares;
    if (page < 1 || page > pageCountFor(keyword)) {
        return shares;
    }
    for (int i = 1; i <= kRowsPerPage; ++i) {
        const std::string key = keyword + "#" + std::to_string(page) + "#" + std::to_string(i);
        const std::uint32_t h = stableHash(key);
        Share share;
        share.fileId = hex8(h);
        // Two rows a page hold some other text, so the client's keyword
        // filter has something to drop.
        if (i % 5 == 0) {
            share.title = std::string("热门资源推荐 第") + std::to_string(page) + "页-" +
                          std::to_string(i) + " " + kKinds[h % kKinds.size()];
        } else {
            share.title = keyword + " 第" + std::to_string(page) + "页-" + std::to_string(i) + " " +
                          kKinds[h % kKinds.size()];
        }
        share.sharer = kSharers[(h >> 8) % kSharers.size()];
        char date[32];
        std::snprintf(date, sizeof date, "20%02u-%02u-%02u %02u:%02u", 14 + (h >> 12) % 10,
                      1 + (h >> 4) % 12, 1 + (h >> 16) % 28, (h >> 20) % 24, (h >> 24) % 60);
        share.shareTime = date;
        share.expired = (i % 7 == 0);
        shares.push_back(share);
    }
    return shares;
}

}  // namespace quorrin::demo
