#include <windows.h>

#include "s/thread/Clock.h"

namespace s::thread {

int64_t clockMs() { return static_cast<int64_t>(GetTickCount64()); }

void sleepMs(int milliseconds) {
  if (milliseconds > 0) Sleep(static_cast<DWORD>(milliseconds));
}

}  // namespace s::thread
