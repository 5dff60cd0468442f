#include "demo/pages.h"

namespace quorrin::demo {
namespace {

std::string head(const std::string& title) {
    return "<!DOCTYPE html>\n<html>\n<head>\n"
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
           "<title>" +
           title + "</title>\n</head>\n<body>\n";
}

const char* const kFoot =
    "<div class=\"footer\">Quorrin 演示站 · 好评率100% · 仅供测试</div>\n"
    "</body>\n</html>\n";

std::string row(const Share& share) {
    return "<div class=\"row\">\n"
           "  <div class=\"c_title\"><a href=\"/fileview" +
           share.fileId + "\" target=\"_blank\" title=\"" + share.title + "\">" + share.title +
           "</a></div>\n"
           "  <div class=\"c_user\"><a href=\"/user/" +
           share.fileId.substr(0, 4) + "\" target=\"_blank\">" + share.sharer +
           "</a></div>\n"
           "  <div class=\"c_ft\">" +
           share.shareTime +
           "</div>\n"
           "</div>\n";
}

std::string pager(const std::string& encodedKeyword, int page, int pages) {
    std::string out =
        "<div class=\"pager\">第" + std::to_string(page) + "/" + std::to_string(pages) + "页";
    for (int n = 1; n <= pages; ++n) {
        out += " <a href=\"/search-all-" + encodedKeyword + "-" + std::to_string(n) + "/\">" +
               std::to_string(n) + "</a>";
    }
    return out + "</div>\n";
}

}  // namespace

std::string resultPage(const std::string& keyword, const std::string& encodedKeyword, int page,
                       const std::vector<Share>& shares) {
    std::string out = head(keyword + " - 搜索结果");
    out += "<div class=\"header\"><a href=\"/\">首页</a> 搜索：" + keyword + "</div>\n";
    out += "<div class=\"list\">\n";
    for (const Share& share : shares) {
        out += row(share);
    }
    out += "</div>\n";
    out += pager(encodedKeyword, page, pageCountFor(keyword));
    return out + kFoot;
}

std::string detailPage(const Share& share, const std::string& linkAddress) {
    std::string out = head(share.title + " - 文件详情");
    out += "<h1>" + share.title + "</h1>\n";
    out += "<div class=\"info\">分享人：" + share.sharer + " 分享时间：" + share.shareTime +
           "</div>\n";
    out += "<!--文件信息区广告-->\r\n<a href=\"" + linkAddress +
           "\" target=\"_blank\" class=\"toyunDown\" rel=\"noreferrer\"><img "
           "src=\"/img/f_wangpan.gif\" alt=\"百度网盘下载\"></a>\n";
    return out + kFoot;
}

std::string linkPage(const Share& share) {
    if (share.expired) {
        return head("分享已取消") +
               "<div "
               "class=\"error\">啊哦，你来晚了，分享的文件已经被取消了，下次要早点哟。</div>\n" +
               kFoot;
    }
    return head(share.title + " - 免费高速下载") + "<div class=\"file\">" + share.title +
           "</div>\n<div class=\"size\">文件大小：1.2G</div>\n" + kFoot;
}

std::string notFoundPage() {
    return head("404") + "<p>没有这个页面</p>\n" + kFoot;
}

}  // namespace quorrin::demo
