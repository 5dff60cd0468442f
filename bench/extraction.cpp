// Row extraction from a large result page and long text searches.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "app/site_grammar.h"
#include "platform/text_ops.h"

namespace quorrin {
namespace {

// Appends n two-byte characters: mostly common ones (both bytes 0xA1 and
// up), one in eight from the extended range whose trail byte is ASCII, so
// searches must keep to character starts.
void appendChinese(std::string& out, int n, std::minstd_rand& random) {
    for (int i = 0; i < n; ++i) {
        if (random() % 8 == 0) {
            out.push_back(static_cast<char>(0x81 + random() % 0x20));
            out.push_back(static_cast<char>(0x40 + random() % 0x3F));
        } else {
            out.push_back(static_cast<char>(0xB0 + random() % 0x28));
            out.push_back(static_cast<char>(0xA1 + random() % 0x5E));
        }
    }
}

// A result page of about `targetBytes` bytes in code page 936, built like the
// site's: one title link, sharer link, share time and description a row.
std::string syntheticResultPage(std::size_t targetBytes) {
    std::minstd_rand random(20161001);
    std::string page = "<html><head><title>result</title></head><body><div class=\"list\">\n";
    for (int row = 0; page.size() < targetBytes; ++row) {
        std::string title;
        appendChinese(title, 6 + static_cast<int>(random() % 10), random);
        title += " 1080P";
        page += "<div class=\"row\"><div class=\"title\"><a href=\"/fileview";
        page += std::to_string(10000000 + row);
        page += "\" target=\"_blank\" title=\"" + title + "\">" + title + "</a></div>\n";
        page +=
            "<div class=\"user\"><a href=\"/user/" + std::to_string(row) + "\" target=\"_blank\"> ";
        appendChinese(page, 2 + static_cast<int>(random() % 3), random);
        page += " </a></div>\n<div class=\"c_ft\">2016-10-";
        page += std::to_string(10 + row % 20);
        page += "</div>\n<p class=\"desc\">";
        appendChinese(page, 40 + static_cast<int>(random() % 40), random);
        page += "</p></div>\n";
    }
    page +=
        "<div class=\"pager\">\xB5\xDA"
        "1/300\xD2\xB3</div></body></html>\n";
    return page;
}

void BM_ExtractColumns(benchmark::State& state) {
    const Text page(syntheticResultPage(static_cast<std::size_t>(state.range(0))));
    int rows = 0;
    for (auto _ : state) {
        const site::ColumnLists lists = site::extractColumns(page);
        rows = lists.titles.count();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = rows;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * page.length());
    state.SetComplexityN(page.length());
}
BENCHMARK(BM_ExtractColumns)
    ->RangeMultiplier(4)
    ->Range(256 << 10, 4 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// The whole road from page to rows: the three lists and the keyword filter.
void BM_MatchingRows(benchmark::State& state) {
    const Text page(syntheticResultPage(1 << 20));
    std::size_t rows = 0;
    for (auto _ : state) {
        rows = site::matchingRows(page, "1080P").size();
        benchmark::DoNotOptimize(rows);
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * page.length());
}
BENCHMARK(BM_MatchingRows)->Unit(benchmark::kMillisecond);

// A search through 1 MB whose only match is at the very end.
void BM_FindTextAtEnd(benchmark::State& state) {
    const bool ignoreCase = state.range(0) != 0;
    std::minstd_rand random(7);
    std::string body;
    while (body.size() < (1 << 20)) {
        appendChinese(body, 30, random);
        body += " target=\"_blank\" title ";
    }
    const Text text(body + "target=\"_blank\" title=\"end");
    const Text sub =
        ignoreCase ? Text("TARGET=\"_BLANK\" TITLE=\"") : Text("target=\"_blank\" title=\"");
    int found = 0;
    for (auto _ : state) {
        found = findText(text, sub, 1, ignoreCase);
        benchmark::DoNotOptimize(found);
    }
    if (found != text.length() - sub.length() - 2) {
        state.SkipWithError("match not found at the end");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * text.length());
}
BENCHMARK(BM_FindTextAtEnd)->ArgName("ignoreCase")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace quorrin

BENCHMARK_MAIN();
