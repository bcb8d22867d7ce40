#include <windows.h>

#include <new>

#include "s/thread/CriticalSection.h"

namespace s::thread {

static_assert(sizeof(CRITICAL_SECTION) <= 64, "critical section does not fit the opaque storage");

static CRITICAL_SECTION* sectionOf(CriticalSection* section) {
  return static_cast<CRITICAL_SECTION*>(section->native());
}

CriticalSection::CriticalSection() { InitializeCriticalSection(new (storage_) CRITICAL_SECTION); }

CriticalSection::~CriticalSection() { DeleteCriticalSection(sectionOf(this)); }

void CriticalSection::enter() { EnterCriticalSection(sectionOf(this)); }

bool CriticalSection::tryEnter() { return TryEnterCriticalSection(sectionOf(this)) != 0; }

void CriticalSection::leave() { LeaveCriticalSection(sectionOf(this)); }

}  // namespace s::thread
