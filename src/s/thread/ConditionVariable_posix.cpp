#include <pthread.h>
#include <time.h>

#include <new>

#include "s/thread/ConditionVariable.h"

namespace s::thread {

static_assert(sizeof(pthread_cond_t) <= 64, "condition does not fit the opaque storage");

static pthread_cond_t* conditionOf(ConditionVariable* variable) {
  return static_cast<pthread_cond_t*>(variable->native());
}

ConditionVariable::ConditionVariable() {
  pthread_condattr_t attributes;
  pthread_condattr_init(&attributes);
  // Timed waits measure on the monotonic clock, so a change of the wall clock does
  // not stretch or cut them.
  pthread_condattr_setclock(&attributes, CLOCK_MONOTONIC);
  pthread_cond_init(new (storage_) pthread_cond_t, &attributes);
  pthread_condattr_destroy(&attributes);
}

ConditionVariable::~ConditionVariable() { pthread_cond_destroy(conditionOf(this)); }

void ConditionVariable::wait(CriticalSection& section, int timeoutMs) {
  auto* mutex = static_cast<pthread_mutex_t*>(section.native());
  if (timeoutMs < 0) {
    pthread_cond_wait(conditionOf(this), mutex);
    return;
  }
  timespec deadline;
  clock_gettime(CLOCK_MONOTONIC, &deadline);
  deadline.tv_sec += timeoutMs / 1000;
  deadline.tv_nsec += static_cast<long>(timeoutMs % 1000) * 1000000L;
  if (deadline.tv_nsec >= 1000000000L) {
    deadline.tv_sec += 1;
    deadline.tv_nsec -= 1000000000L;
  }
  pthread_cond_timedwait(conditionOf(this), mutex, &deadline);
}

void ConditionVariable::notifyAll() { pthread_cond_broadcast(conditionOf(this)); }

}  // namespace s::thread
