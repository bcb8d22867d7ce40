#pragma once
#include <cstdint>

namespace s::thread {

// Milliseconds of a steady clock, for pacing and time-outs.
int64_t clockMs();
// Sleeps the calling thread.
void sleepMs(int milliseconds);

}  // namespace s::thread
