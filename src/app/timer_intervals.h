#pragma once
// Timer periods from the settings, kept within what a Windows timer can hold.

#include <cstdint>

namespace kelvane {

// The longest period a Windows timer keeps (USER_TIMER_MAXIMUM), about 24.8 days.
inline constexpr std::uint32_t kLongestTimerMs = 0x7FFFFFFF;

// DefragEvery minutes in milliseconds. A hand-edited period too long for a timer would
// otherwise wrap around and release every few seconds; it gets the longest timer instead.
std::uint32_t defragIntervalMs(std::int32_t minutes);

}  // namespace kelvane
