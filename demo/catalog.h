#pragma once

#include <string>
#include <vector>

// The demo site's made-up shares: for any keyword the same pages, rows and
// file ids every time, so a person and the tests see a stable site.
namespace quorrin::demo {

struct Share {
    std::string fileId;  // 8 lower-case hex digits
    std::string title;   // UTF-8
    std::string sharer;  // UTF-8
    std::string shareTime;
    bool expired = false;
};

// How many result pages a keyword has (UTF-8 keyword, as decoded from the
// address): 5 for "爵迹"; n for a keyword ending in "#n" with n from 1 to 999
// and no leading zero ("测试#50" has 50), so that long runs of load-all can
// be tried and measured; 1 to 4, fixed by the keyword, for any other.
int pageCountFor(const std::string& keyword);

// The rows of result page `page` (1-based) for the keyword; empty past the
// last page.
std::vector<Share> sharesOnPage(const std::string& keyword, int page);

}  // namespace quorrin::demo
