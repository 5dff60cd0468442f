#include <gtest/gtest.h>

#include "platform/literal.h"
#include "platform/text_ops.h"

namespace quorrin {
namespace {

TEST(LiteralText, ChineseLiteralBecomesCodePage936Bytes) {
    EXPECT_EQ(literalText("爵迹").str(), "\xBE\xF4\xBC\xA3");
}

}  // namespace
}  // namespace quorrin
