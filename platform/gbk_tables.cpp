#include "platform/gbk_tables.h"

#include <unicode/ucnv.h>

#include <array>
#include <string>
#include <vector>

#include "platform/icu_converter.h"

namespace quorrin::gbk {
namespace {

// Calls `take(source index, first output index, output count)` for every run
// of output that came from one source index, by the offsets ICU reports.
template <typename Take>
void forEachSource(const std::vector<int32_t>& offsets, std::size_t produced, Take take) {
    for (std::size_t i = 0; i < produced;) {
        std::size_t end = i + 1;
        while (end < produced && offsets[end] == offsets[i]) {
            ++end;
        }
        if (offsets[i] >= 0) {
            take(static_cast<std::size_t>(offsets[i]), i, end - i);
        }
        i = end;
    }
}

// Every BMP code point but the surrogates in one call; the offsets tie each
// output byte to the code point it came from.
UnitTable readUnitTable() {
    UnitTable table{};
    table.fill(kNotInTable);
    const Converter converter = openConverter(kGbkConverterName);
    if (!converter) {
        return table;
    }
    std::u16string all;
    for (std::uint32_t c = 0; c < 0x10000; ++c) {
        if (c < 0xD800 || c > 0xDFFF) {
            all.push_back(static_cast<char16_t>(c));
        }
    }
    std::string bytes(all.size() * 4, '\0');
    std::vector<int32_t> offsets(bytes.size(), -1);
    char* target = bytes.data();
    const auto* source = reinterpret_cast<const UChar*>(all.data());
    const auto* const sourceEnd = source + all.size();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_fromUnicode(converter.get(), &target, bytes.data() + bytes.size(), &source, sourceEnd,
                     offsets.data(), true, &status);
    if (U_FAILURE(status) || source != sourceEnd) {
        return table;
    }
    for (const char16_t c : all) {
        table[c] = kNoBytes;  // until its bytes turn up below
    }
    forEachSource(offsets, static_cast<std::size_t>(target - bytes.data()),
                  [&](std::size_t from, std::size_t at, std::size_t count) {
                      const auto byte = [&](std::size_t i) {
                          return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[i]));
                      };
                      const char16_t c = all[from];
                      if (count == 1) {
                          table[c] = byte(at);
                      } else if (count == 2) {
                          table[c] = static_cast<std::uint16_t>((byte(at) << 8) | byte(at + 1));
                      } else {
                          table[c] = kNotInTable;
                      }
                  });
    return table;
}

// Every lead and trail pair, one after the other, in one call: a pair read
// as one unit gives one output unit whose offset is the pair's first byte.
PairTable readPairTable() {
    PairTable table{};
    table.fill(kNoUnit);
    const Converter converter = openConverter(kGbkConverterName);
    if (!converter) {
        return table;
    }
    std::string pairs;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            pairs += static_cast<char>(lead);
            pairs += static_cast<char>(trail);
        }
    }
    std::u16string units(pairs.size() * 2, u'\0');
    std::vector<int32_t> offsets(units.size(), -1);
    auto* target = reinterpret_cast<UChar*>(units.data());
    const char* source = pairs.data();
    const char* const sourceEnd = pairs.data() + pairs.size();
    UErrorCode status = U_ZERO_ERROR;
    ucnv_toUnicode(converter.get(), &target, target + units.size(), &source, sourceEnd,
                   offsets.data(), true, &status);
    if (U_FAILURE(status) || source != sourceEnd) {
        return table;
    }
    const std::size_t produced =
        static_cast<std::size_t>(target - reinterpret_cast<UChar*>(units.data()));
    // A pair is taken only when exactly one unit starts at its first byte
    // and the next unit (if any) starts at the next pair.
    for (std::size_t i = 0; i < produced; ++i) {
        const auto from = static_cast<std::size_t>(offsets[i]);
        const bool pairStart = offsets[i] >= 0 && from % 2 == 0;
        const bool alone = i + 1 == produced || offsets[i + 1] == static_cast<int32_t>(from + 2);
        const bool first = i == 0 || offsets[i - 1] != offsets[i];
        if (pairStart && alone && first) {
            const auto lead = static_cast<unsigned char>(pairs[from]);
            const auto trail = static_cast<unsigned char>(pairs[from + 1]);
            table[pairIndex(lead, trail)] = units[i];
        }
    }
    return table;
}

}  // namespace

const UnitTable& unitTable() {
    static const UnitTable table = readUnitTable();
    return table;
}

const PairTable& pairTable() {
    static const PairTable table = readPairTable();
    return table;
}

}  // namespace quorrin::gbk
