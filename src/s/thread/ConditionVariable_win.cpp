#include <windows.h>

#include <new>

#include "s/thread/ConditionVariable.h"

namespace s::thread {

static_assert(sizeof(CONDITION_VARIABLE) <= 64, "condition does not fit the opaque storage");

static CONDITION_VARIABLE* conditionOf(ConditionVariable* variable) {
  return static_cast<CONDITION_VARIABLE*>(variable->native());
}

ConditionVariable::ConditionVariable() { InitializeConditionVariable(new (storage_) CONDITION_VARIABLE); }

// Win32 condition variables need no clean-up.
ConditionVariable::~ConditionVariable() = default;

void ConditionVariable::wait(CriticalSection& section, int timeoutMs) {
  SleepConditionVariableCS(conditionOf(this), static_cast<CRITICAL_SECTION*>(section.native()),
                           timeoutMs < 0 ? INFINITE : static_cast<DWORD>(timeoutMs));
}

void ConditionVariable::notifyAll() { WakeAllConditionVariable(conditionOf(this)); }

}  // namespace s::thread
