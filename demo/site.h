#pragma once

#include <map>
#include <mutex>
#include <string>

#include "demo/catalog.h"

namespace quorrin::demo {

struct Response {
    int status = 200;
    std::string body;
};

// Answers the demo site's addresses:
//   /search-all-<percent-encoded UTF-8 keyword>-<n>/   result page n
//   /fileview<file id>                                  file detail page
//   /s/<file id>                                        download-link page
// File ids are known once a result page that lists them has been served.
class Site {
  public:
    // `selfBase` is the site's own address ("http://127.0.0.1:port"); the
    // download addresses point back to it.
    explicit Site(std::string selfBase);

    Response handle(const std::string& method, const std::string& target);

  private:
    Response searchPage(const std::string& rest);
    Response fileview(const std::string& fileId);
    Response link(const std::string& fileId);
    bool findShare(const std::string& fileId, Share& out);

    std::string selfBase_;
    std::mutex mutex_;
    std::map<std::string, Share> known_;
};

// Decodes %XX escapes; anything else stays as it is.
std::string percentDecode(const std::string& text);

}  // namespace quorrin::demo
