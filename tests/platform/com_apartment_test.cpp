#include <gtest/gtest.h>

#include <thread>

#include "platform/com_apartment.h"

namespace quorrin {
namespace {

TEST(ComApartment, CountsInitialisationsOfTheThread) {
    ASSERT_EQ(comInitCount(), 0);
    EXPECT_TRUE(coInitialize());
    EXPECT_FALSE(coInitialize());
    EXPECT_EQ(comInitCount(), 2);
    coUninitialize();
    EXPECT_EQ(comInitCount(), 1);
    coUninitialize();
    EXPECT_EQ(comInitCount(), 0);
    EXPECT_TRUE(coInitialize());  // a thread may enter again after leaving
    coUninitialize();
    EXPECT_EQ(comInitCount(), 0);
}

TEST(ComApartment, UnmatchedUninitialiseLeavesTheCountAtZero) {
    coUninitialize();
    EXPECT_EQ(comInitCount(), 0);
    EXPECT_TRUE(coInitialize());
    EXPECT_EQ(comInitCount(), 1);
    coUninitialize();
}

TEST(ComApartment, GuardHoldsOneInitialisationForItsScope) {
    {
        const ComApartment outer;
        EXPECT_EQ(comInitCount(), 1);
        {
            const ComApartment inner;
            EXPECT_EQ(comInitCount(), 2);
        }
        EXPECT_EQ(comInitCount(), 1);
    }
    EXPECT_EQ(comInitCount(), 0);
}

TEST(ComApartment, EachThreadHasItsOwnCount) {
    const ComApartment here;
    int seenByOther = -1;
    int heldByOther = -1;
    std::thread other([&] {
        seenByOther = comInitCount();
        const ComApartment there;
        const ComApartment again;
        heldByOther = comInitCount();
    });
    other.join();
    EXPECT_EQ(seenByOther, 0);
    EXPECT_EQ(heldByOther, 2);
    EXPECT_EQ(comInitCount(), 1);
}

}  // namespace
}  // namespace quorrin
