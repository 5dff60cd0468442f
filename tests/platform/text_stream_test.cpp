#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/text_stream.h"

namespace quorrin {
namespace {

using namespace std::string_literals;

struct StreamCase {
    const char* name;
    std::string body;
    std::string charset;
    std::optional<std::string> expected;  // code-page-936 bytes; nothing = refused
};

TEST(ReadStreamText, DecodesTheDeclaredSetIntoCodePage936) {
    const std::vector<StreamCase> cases{
        {"utf-8 Chinese", "\xE4\xB8\xAD\xE6\x96\x87 ok", "utf-8", "\xD6\xD0\xCE\xC4 ok"},
        {"label in upper case", "\xE4\xB8\xAD", "UTF-8", "\xD6\xD0"},
        {"big5", "\xA4\xA4\xA4\xE5", "big5", "\xD6\xD0\xCE\xC4"},
        {"iso-8859-1 letter", "caf\xE9", "iso-8859-1", "caf\xA8\xA6"},
        // Read as windows-1252, as Windows does: 0x80 is the euro sign.
        {"iso-8859-1 euro byte", "\x80", "ISO-8859-1", "\x80"},
        // A GBK character outside GB2312 survives a page labelled gb2312.
        {"gb2312 label reads GBK", "\x81\x40\xD6\xD0", "GB2312", "\x81\x40\xD6\xD0"},
        {"gbk", "\xD6\xD0", "GBK", "\xD6\xD0"},
        {"utf-16le needs its zero bytes", "A\0B\0\x2D\x4E"s, "utf-16le", "AB\xD6\xD0"},
        {"zero byte ends the text", "ab\0cd"s, "utf-8", "ab"},
        {"zero byte first", "\0abc"s, "utf-8", ""},
        {"empty body", "", "utf-8", ""},
        {"character code page 936 lacks", "a\xF0\x9F\x98\x80z", "utf-8", "a?z"},
        {"invalid utf-8", "a\xFFz", "utf-8", "a?z"},
        {"markup around characters", "<p>\xE4\xB8\xAD</p>\xE6\x96\x87!", "utf-8",
         "<p>\xD6\xD0</p>\xCE\xC4!"},
        {"long markup runs", "<div class=\"row\">\xE4\xB8\xAD</div>\n<p>0123456789</p>", "utf-8",
         "<div class=\"row\">\xD6\xD0</div>\n<p>0123456789</p>"},
        {"cut sequence before ASCII", "a\xE4\xB8z\xE4\xB8\xAD", "utf-8", "a?z\xD6\xD0"},
        {"cut sequence before a zero byte", "\xE4\xB8\0z"s, "utf-8", "?"},
        {"cut sequence at the end", "ab\xE4", "utf-8", "ab?"},
        {"stray continuation bytes",
         "\x80\x80"
         "a",
         "utf8", "??a"},
        {"unknown set", "abc", "x-no-such-set", std::nullopt},
        {"empty label", "abc", "", std::nullopt},
        {"label with a path", "abc", "../utf-8", std::nullopt},
        {"label with an option list", "abc", "utf-8,swaplfnl", std::nullopt},
        {"overlong label", "abc", "utf-8" + std::string(60, '-'), std::nullopt},
    };
    for (const StreamCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::optional<Text> text = readStreamText(ByteSet(c.body), Text(c.charset));
        ASSERT_EQ(text.has_value(), c.expected.has_value());
        if (text) {
            EXPECT_EQ(text->str(), *c.expected);
            EXPECT_EQ(text->length(), static_cast<int>(c.expected->size()));
        }
    }
}

TEST(ReadStreamText, DecodesEveryByteOfALargeBody) {
    std::string body;
    for (int i = 0; i < 20000; ++i) {
        body += "\xE4\xB8\xAD";
    }
    const std::optional<Text> text = readStreamText(ByteSet(body), Text("utf-8"));
    ASSERT_TRUE(text.has_value());
    ASSERT_EQ(text->length(), 40000);
    EXPECT_EQ(text->str().substr(39998), "\xD6\xD0");
}

}  // namespace
}  // namespace quorrin
