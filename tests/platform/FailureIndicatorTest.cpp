#include <gtest/gtest.h>

#include "platform/Failure.h"

namespace tessaron {
namespace {

TEST(FailureIndicator, KeepsTheLatestFailureUntilCleared) {
    FailureIndicator indicator;
    EXPECT_FALSE(indicator.failed());

    EXPECT_FALSE(attempt(indicator, [] { throw PlatformError(76, "Path not found"); }));
    EXPECT_TRUE(attempt(indicator, [] {}));  // a later success clears nothing
    EXPECT_TRUE(indicator.failed());
    EXPECT_EQ(indicator.description(), "Path not found");

    auto value = attempt(indicator, []() -> int { throw PlatformError(53, "File not found"); });
    EXPECT_FALSE(value.has_value());
    EXPECT_EQ(indicator.number(), 53);
    EXPECT_EQ(indicator.description(), "File not found");

    indicator.clear();
    EXPECT_FALSE(indicator.failed());
    EXPECT_EQ(attempt(indicator, [] { return 7; }).value(), 7);
    EXPECT_FALSE(indicator.failed());
}

TEST(FailureIndicator, AFailureWithoutNumberStillCounts) {
    FailureIndicator indicator;
    indicator.record(PlatformError(0, "odd"));
    EXPECT_TRUE(indicator.failed());
}

}  // namespace
}  // namespace tessaron
