#include <pthread.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

#include "s/thread/win/Thread.h"

namespace s::thread::win {

namespace {

void* threadMain(void* argument) {
  auto* control = static_cast<Thread::Control*>(argument);
  {
    // Publish the kernel's id of this thread: priorities are set per thread by it.
    control->lock.lock();
    control->nativeId = static_cast<int64_t>(syscall(SYS_gettid));
    control->wake.notifyAll();
    control->lock.unlock();
  }
  Thread::routine(control);
  return nullptr;
}

// Windows' relative priority steps to nice values: 5 nice steps per priority step.
int niceFor(int priority) {
  int nice = -priority * 5;
  return nice < -20 ? -20 : (nice > 19 ? 19 : nice);
}

}  // namespace

bool Thread::createSystemThread() {
  pthread_t thread;
  if (pthread_create(&thread, nullptr, threadMain, &control_) != 0) return false;
  handle_ = static_cast<uintptr_t>(thread);
  control_.lock.lock();
  while (control_.nativeId == 0) control_.wake.wait(control_.lock.section(), -1);
  control_.lock.unlock();
  return true;
}

void Thread::joinSystemThread() {
  pthread_join(static_cast<pthread_t>(handle_), nullptr);
  handle_ = 0;
}

bool Thread::setSystemPriority(int priority) {
  return setpriority(PRIO_PROCESS, static_cast<id_t>(control_.nativeId), niceFor(priority)) == 0;
}

int Thread::systemPriority() const {
  errno = 0;
  const int nice = getpriority(PRIO_PROCESS, static_cast<id_t>(control_.nativeId));
  if (errno != 0) return priority_;
  return -nice / 5;
}

}  // namespace s::thread::win
