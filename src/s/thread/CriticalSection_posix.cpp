#include <pthread.h>

#include <new>

#include "s/thread/CriticalSection.h"

namespace s::thread {

static_assert(sizeof(pthread_mutex_t) <= 64, "mutex does not fit the opaque storage");

static pthread_mutex_t* mutexOf(CriticalSection* section) {
  return static_cast<pthread_mutex_t*>(section->native());
}

CriticalSection::CriticalSection() {
  pthread_mutexattr_t attributes;
  pthread_mutexattr_init(&attributes);
  // Critical sections are re-entrant; a recursive mutex behaves the same.
  pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
  pthread_mutex_init(new (storage_) pthread_mutex_t, &attributes);
  pthread_mutexattr_destroy(&attributes);
}

CriticalSection::~CriticalSection() { pthread_mutex_destroy(mutexOf(this)); }

void CriticalSection::enter() { pthread_mutex_lock(mutexOf(this)); }

bool CriticalSection::tryEnter() { return pthread_mutex_trylock(mutexOf(this)) == 0; }

void CriticalSection::leave() { pthread_mutex_unlock(mutexOf(this)); }

}  // namespace s::thread
