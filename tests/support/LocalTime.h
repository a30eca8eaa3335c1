#pragma once

#include <chrono>

namespace tessaron::testing {

// A moment given in the machine's local time, for pinning a run's clock.
std::chrono::system_clock::time_point localTime(int year, int month, int day, int hour = 0,
                                                int minute = 0, int second = 0);

}  // namespace tessaron::testing
