#include <gtest/gtest.h>

#include "platform/literal.h"
#include "platform/pending_events.h"

namespace quorrin {
namespace {

TEST(LiteralText, ChineseLiteralBecomesCodePage936Bytes) {
    EXPECT_EQ(literalText("爵迹").str(), "\xBE\xF4\xBC\xA3");
    EXPECT_EQ(literalText("第1/").str(),
              "\xB5\xDA"
              "1/");
    EXPECT_EQ(literalText("a\u3000b").str(),
              "a\xA1\xA1"
              "b");
    EXPECT_EQ(literalText("plain").str(), "plain");
    EXPECT_TRUE(literalText("").empty());
}

int callCount = 0;  // only touched by the handler of the test below
void countCall() {
    ++callCount;
}

TEST(PendingEvents, CallsTheInstalledHandlerAndNothingWithoutOne) {
    callCount = 0;
    const PendingEventsHandler before = setPendingEventsHandler(&countCall);
    processPendingEvents();
    processPendingEvents();
    EXPECT_EQ(callCount, 2);
    EXPECT_EQ(setPendingEventsHandler(before), &countCall);
    processPendingEvents();
    EXPECT_EQ(callCount, 2);
}

}  // namespace
}  // namespace quorrin
