#pragma once

#include <cstdint>

// The process's resident memory, from /proc/self/status. resetPeak() restarts
// the high-water mark (VmHWM) at the current size, so that peakSince() gives
// what one piece of work added at its highest.
namespace PeakMemory {

std::int64_t residentBytes();
void resetPeak();
std::int64_t peakBytes();

}  // namespace PeakMemory
