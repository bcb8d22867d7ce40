#pragma once
// A condition variable that waits on a CriticalSection held exactly once by the
// caller: a Win32 CONDITION_VARIABLE on Windows, a pthread condition elsewhere.
#include "s/thread/CriticalSection.h"

namespace s::thread {

class ConditionVariable {
 public:
  ConditionVariable();
  ~ConditionVariable();
  ConditionVariable(const ConditionVariable&) = delete;
  ConditionVariable& operator=(const ConditionVariable&) = delete;

  // Releases section, waits for a notification or the timeout (milliseconds; -1 waits
  // without limit), takes section again. Spurious wake-ups happen: callers re-check.
  void wait(CriticalSection& section, int timeoutMs = -1);
  void notifyAll();

  void* native() { return storage_; }

 private:
  alignas(16) unsigned char storage_[64];
};

}  // namespace s::thread
