// The run lock of the machine the program runs on: a named mutex that a
// second run waits for and then goes without, and that is free again once
// the first run lets it go.
#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "platform/windows/WindowsMachineLock.h"

namespace tessaron::testing {
namespace {

using namespace std::chrono_literals;
using platform::windows::lockLocalMachine;

// Another run is another thread here: a mutex is its holding thread's to
// take again, so a second lock must be asked for (and let go) elsewhere.
bool lockedElsewhere(std::chrono::milliseconds patience) {
    return std::async(std::launch::async,
                      [patience] { return lockLocalMachine(patience) != nullptr; })
        .get();
}

TEST(WindowsMachineLock, SecondRunWaitsThePatienceThenGoesWithout) {
    auto first = lockLocalMachine(0ms);
    ASSERT_NE(first, nullptr);

    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(lockedElsewhere(300ms));
    EXPECT_GE(std::chrono::steady_clock::now() - started, 250ms);

    first.reset();
    EXPECT_TRUE(lockedElsewhere(0ms));
}

TEST(WindowsMachineLock, WaiterTakesTheLockWhenTheHolderLetsGo) {
    auto first = lockLocalMachine(0ms);
    ASSERT_NE(first, nullptr);
    auto waiter = std::async(std::launch::async, [] { return lockLocalMachine(10s) != nullptr; });
    EXPECT_EQ(waiter.wait_for(200ms), std::future_status::timeout);
    first.reset();
    EXPECT_TRUE(waiter.get());
}

}  // namespace
}  // namespace tessaron::testing
