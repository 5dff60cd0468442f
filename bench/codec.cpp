// Throughput of the URL decoder over a whole UTF-8 result page (decode and
// convert to code page 936 in one call) and of the two code-page conversions
// it and the keyword encoder rest on. Sizes from 256 KB to 4 MB show whether
// the cost stays linear in the input.
#include <benchmark/benchmark.h>

#include <string>

#include "text/codepage_conversion.h"
#include "text/url_codec.h"

namespace quorrin {
namespace {

// A result-page row as the site sends it: UTF-8 mark-up and Chinese text,
// addresses with percent escapes, and a "%" that begins no escape.
std::string utf8Page(std::size_t size) {
    const std::string row =
        "<tr><td class=\"title\"><a href=\"/file-123.html?kw=%E7%88%B5%E8%BF%B9\">"
        "爵迹 临界天下 第一季 全集 1080p</a></td><td class=\"user\">分享者%20甲</td>"
        "<td>2016-10-01 100% 完整</td></tr>\n";
    std::string page;
    page.reserve(size + row.size());
    while (page.size() < size) {
        page += row;
    }
    page.resize(size);
    // Do not end inside a multi-byte character.
    while (!page.empty() && (static_cast<unsigned char>(page.back()) & 0x80) != 0) {
        page.pop_back();
    }
    return page;
}

void setThroughput(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
    state.SetComplexityN(static_cast<int64_t>(bytes));
}

void urlDecodeUtf8Page(benchmark::State& state) {
    const Text page(utf8Page(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        benchmark::DoNotOptimize(urlDecode(page, true));
    }
    setThroughput(state, static_cast<std::size_t>(page.length()));
}

void utf8ToGbkPage(benchmark::State& state) {
    const Text page(utf8Page(static_cast<std::size_t>(state.range(0))));
    for (auto _ : state) {
        benchmark::DoNotOptimize(utf8ToGbk(page));
    }
    setThroughput(state, static_cast<std::size_t>(page.length()));
}

void gbkToUtf8Page(benchmark::State& state) {
    const Text page = utf8ToGbk(Text(utf8Page(static_cast<std::size_t>(state.range(0)))));
    for (auto _ : state) {
        benchmark::DoNotOptimize(gbkToUtf8(page));
    }
    setThroughput(state, static_cast<std::size_t>(page.length()));
}

constexpr int64_t kSmall = 256 << 10;
constexpr int64_t kLarge = 4 << 20;

BENCHMARK(urlDecodeUtf8Page)->RangeMultiplier(4)->Range(kSmall, kLarge)->Complexity(benchmark::oN);
BENCHMARK(utf8ToGbkPage)->RangeMultiplier(4)->Range(kSmall, kLarge)->Complexity(benchmark::oN);
BENCHMARK(gbkToUtf8Page)->RangeMultiplier(4)->Range(kSmall, kLarge)->Complexity(benchmark::oN);

}  // namespace
}  // namespace quorrin

BENCHMARK_MAIN();
