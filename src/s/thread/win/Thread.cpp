#include "s/thread/win/Thread.h"

#include <utility>

#include "s/thread/Clock.h"

namespace s::thread::win {

namespace {

// The control lock for one scope, with access to its critical section for waits.
class ControlScope {
 public:
  explicit ControlScope(Thread::Control& control) : control_(control) { control_.lock.lock(); }
  ~ControlScope() { control_.lock.unlock(); }
  ControlScope(const ControlScope&) = delete;
  ControlScope& operator=(const ControlScope&) = delete;
  void wait(int timeoutMs) { control_.wake.wait(control_.lock.section(), timeoutMs); }

 private:
  Thread::Control& control_;
};

}  // namespace

Thread::Thread() {
  if (createSystemThread()) setPriority(0);
}

Thread::~Thread() {
  if (handle_) {
    stop();
    joinSystemThread();
  }
}

void Thread::reset() {
  if (!isIdle()) cancelAndWait();
  setPriority(0);
  control_.idle = 1;
  runFunction_ = nullptr;
}

void Thread::run() {
  if (runFunction_) runFunction_();
}

bool Thread::startWith(ITask* task, int count, int pacingMode, int intervalMs) {
  if (!handle_) return false;
  {
    ControlScope scope(control_);
    control_.task = task;
    control_.runsLeft = count;
    control_.pacingMode = pacingMode;
    control_.intervalMs = intervalMs;
    control_.sleepRequestMs = 0;
    control_.idle = 0;
    control_.finished = 0;
  }
  resume();
  return true;
}

void Thread::waitIdle() {
  ControlScope scope(control_);
  while (!control_.idle) scope.wait(20);
}

bool Thread::waitIdleOrRestart(int timeoutMs) {
  const int64_t deadline = clockMs() + timeoutMs;
  ControlScope scope(control_);
  while (!control_.idle) {
    const int64_t left = deadline - clockMs();
    if (left <= 0) return false;
    scope.wait(static_cast<int>(left < 20 ? left : 20));
  }
  return true;
}

void Thread::cancel() {
  {
    ControlScope scope(control_);
    control_.runsLeft = 0;
  }
  resume();
}

void Thread::cancelAndWait() {
  cancel();
  waitIdle();
}

void Thread::join() {
  if (!handle_) return;
  ControlScope scope(control_);
  while (!control_.finished) {
    control_.wake.notifyAll();
    scope.wait(100);
  }
}

void Thread::requestStop() {
  {
    ControlScope scope(control_);
    control_.stop = 1;
  }
  resume();
}

void Thread::stop() {
  requestStop();
  join();
}

void Thread::sleepOnce(int milliseconds) {
  ControlScope scope(control_);
  control_.sleepRequestMs = milliseconds;
}

void Thread::resume() { control_.wake.notifyAll(); }

int Thread::getPriority() const { return handle_ ? systemPriority() : priority_; }

bool Thread::setPriority(int priority) {
  priority_ = priority;
  return handle_ && setSystemPriority(priority);
}

// Step 5 of the loop: an idle worker sleeps until a start, a cancel, a resume or a
// stop request changes its state. Called and returning with the lock held.
void Thread::waitWhileIdle(Control* control) {
  while (control->idle && !control->stop) control->wake.wait(control->lock.section(), -1);
  control->looping = 1;
}

void Thread::routine(Control* control) {
  ControlScope scope(*control);
  control->looping = 1;
  while (!control->stop) {
    if (control->sleepRequestMs > 0) {
      const int sleepMsRequested = std::exchange(control->sleepRequestMs, 0);
      control->lock.unlock();
      sleepMs(sleepMsRequested);
      control->lock.lock();
      waitWhileIdle(control);
      continue;
    }
    if (control->runsLeft != 0) {
      if (control->runsLeft != kEndless) --control->runsLeft;
      const int runsLeft = control->runsLeft;
      const int pacingMode = control->pacingMode;
      const int intervalMs = control->intervalMs;
      ITask* task = control->task;
      control->lock.unlock();
      const int64_t startMs = clockMs();
      if (task) {
        task->run();
        if (pacingMode == kPacingPause && runsLeft != 0) {
          sleepMs(intervalMs);
        } else if (pacingMode == kPacingPeriod && runsLeft != 0) {
          const int64_t ahead = startMs + intervalMs - clockMs();
          if (ahead > 0) sleepMs(static_cast<int>(ahead));
        }
        control->lock.lock();
        control->looping = 1;
        continue;  // straight to the next run: a paced batch does not go idle between runs
      }
      control->lock.lock();
      waitWhileIdle(control);
      continue;
    }
    // No runs left: go idle, tell waiters, and sleep until there is work.
    control->idle = 1;
    control->wake.notifyAll();
    waitWhileIdle(control);
  }
  control->finished = 1;
  control->wake.notifyAll();
}

}  // namespace s::thread::win
