#include <windows.h>

#include "s/thread/win/Thread.h"

namespace s::thread::win {

namespace {

DWORD WINAPI threadMain(void* argument) {
  Thread::routine(static_cast<Thread::Control*>(argument));
  return 0;
}

}  // namespace

bool Thread::createSystemThread() {
  DWORD id = 0;
  HANDLE thread = CreateThread(nullptr, 0, threadMain, &control_, 0, &id);
  if (!thread) return false;
  handle_ = reinterpret_cast<uintptr_t>(thread);
  control_.nativeId = id;
  return true;
}

void Thread::joinSystemThread() {
  HANDLE thread = reinterpret_cast<HANDLE>(handle_);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  handle_ = 0;
}

bool Thread::setSystemPriority(int priority) {
  return SetThreadPriority(reinterpret_cast<HANDLE>(handle_), priority) != 0;
}

int Thread::systemPriority() const { return GetThreadPriority(reinterpret_cast<HANDLE>(handle_)); }

}  // namespace s::thread::win
