#include "text/url_codec.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "platform/literal.h"

namespace quorrin {
namespace {

struct EncodeCase {
    const char* name;
    std::string_view plain;
    bool keepSafe;
    bool utf8;
    std::string_view expected;
};

TEST(UrlEncode, EncodesEveryCase) {
    const std::vector<EncodeCase> cases = {
        {"empty keyword", "", true, true, ""},
        {"chinese as utf8", "\xBE\xF4\xBC\xA3", true, true, "%E7%88%B5%E8%BF%B9"},
        {"chinese as 936", "\xBE\xF4\xBC\xA3", true, false, "%BE%F4%BC%A3"},
        {"space and slash escaped, letters kept", "\xBE\xF4\xBC\xA3 a/b", true, true,
         "%E7%88%B5%E8%BF%B9%20a%2Fb"},
        {"letter escaped without keepSafe", "A", false, false, "%41"},
        {"utf8 without keepSafe", "a1", false, true, "%61%31"},
        {"line feed gets a leading zero", "\n", true, false, "%0A"},
        {"exactly the safe bytes pass", "-.09AZaz/_~+%", true, false, "-.09AZaz%2F%5F%7E%2B%25"},
        {"high bytes and last ascii byte", "\x7F\xFF\x80", true, false, "%7F%FF%80"},
        {"single-byte euro sign as utf8", "\x80", true, true, "%E2%82%AC"},
    };
    for (const EncodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(urlEncode(Text(c.plain), c.keepSafe, c.utf8).str(), c.expected);
    }
}

TEST(UrlEncode, OptionsDefaultToEscapingTheCodePage936Bytes) {
    EXPECT_EQ(urlEncode(literalText("爵a")).str(), "%BE%F4%61");
}

struct DecodeCase {
    const char* name;
    std::string_view encoded;
    bool utf8;
    std::string_view expected;
};

TEST(UrlDecode, DecodesEveryCase) {
    const std::vector<DecodeCase> cases = {
        {"empty", "", true, ""},
        {"lower-case utf8 escapes", "%e7%88%b5", true, "\xBE\xF4"},
        {"upper-case utf8 escapes", "%E7%88%B5", true, "\xBE\xF4"},
        {"mixed-case digits", "%e7%88%B5%E8%bf%b9", true, "\xBE\xF4\xBC\xA3"},
        {"raw bytes without utf8", "%e7%88%b5", false, "\xE7\x88\xB5"},
        {"space", "a%20b", false, "a b"},
        {"plus stays plus", "a+b", true, "a+b"},
        {"escape %00 adds nothing", "a%00b", false, "ab"},
        {"only %00", "%00", true, ""},
        {"no escape is the plain conversion", "x\xE7\x88\xB5\xE8\xBF\xB9y", true,
         "x\xBE\xF4\xBC\xA3y"},
        // The escapes of one character are joined with raw bytes before the
        // one conversion at the end.
        {"escapes joined with raw bytes", "%E7%88\xB5", true, "\xBE\xF4"},
        {"double-byte characters pass without utf8", "\xBE\xF4%41", false,
         "\xBE\xF4"
         "A"},
        // A "%" that begins no escape is copied and the walk goes on with
        // the next byte.
        {"percent at the end", "100%", true, "100%"},
        {"percent and one digit at the end", "a%4", false, "a%4"},
        {"percent u escape", "%u4E2D", true, "%u4E2D"},
        {"percent before a space", "50% off", false, "50% off"},
        {"second digit not hex", "%4G%41", false, "%4GA"},
        {"percent before an escape", "%%41", false, "%A"},
        {"percent before a chinese character", "%\xE7\x88\xB5", true, "%\xBE\xF4"},
        {"marker stays findable", "<a href=\"/f%zz\">%E7%88%B5</a>", true,
         "<a href=\"/f%zz\">\xBE\xF4</a>"},
    };
    for (const DecodeCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(urlDecode(Text(c.encoded), c.utf8).str(), c.expected);
    }
}

TEST(UrlDecode, Utf8OptionDefaultsToOff) {
    EXPECT_EQ(urlDecode(Text("%E7%88%B5")).str(), "\xE7\x88\xB5");
}

TEST(UrlCodec, DecodingUndoesEncoding) {
    const std::vector<std::string_view> plains = {"\xBE\xF4\xBC\xA3 a/b", "100% +-._~",
                                                  "\x80\xA1\xA1\n\t", "x"};
    for (const std::string_view plain : plains) {
        SCOPED_TRACE(plain);
        for (const bool keepSafe : {false, true}) {
            EXPECT_EQ(urlDecode(urlEncode(Text(plain), keepSafe, true), true).str(), plain);
            EXPECT_EQ(urlDecode(urlEncode(Text(plain), keepSafe, false), false).str(), plain);
        }
    }
}

}  // namespace
}  // namespace quorrin
