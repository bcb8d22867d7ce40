#include <time.h>

#include "s/thread/Clock.h"

namespace s::thread {

int64_t clockMs() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void sleepMs(int milliseconds) {
  if (milliseconds <= 0) return;
  timespec duration{milliseconds / 1000, static_cast<long>(milliseconds % 1000) * 1000000L};
  while (nanosleep(&duration, &duration) != 0) {
  }
}

}  // namespace s::thread
