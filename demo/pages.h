#pragma once

#include <string>
#include <vector>

#include "demo/catalog.h"

// The mark-up of the demo site's three kinds of page, all UTF-8 and each
// declaring its charset in a meta tag near the top.
namespace quorrin::demo {

// `encodedKeyword` is the keyword as it stood in the address; it goes back
// into the pager links, so the page carries percent escapes.
std::string resultPage(const std::string& keyword, const std::string& encodedKeyword, int page,
                       const std::vector<Share>& shares);

// `linkAddress` is the absolute address of the share's download-link page.
std::string detailPage(const Share& share, const std::string& linkAddress);

// A live share names its file; an expired one does not.
std::string linkPage(const Share& share);

std::string notFoundPage();

}  // namespace quorrin::demo
