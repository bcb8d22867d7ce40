#pragma once
// The helper threads of a gallery run's scale pass: they make the jobs of the job
// list (SmallCopyJob) ahead of the run's worker, several at once, while the worker
// takes them one by one in file order and does what must happen in order (the
// progress event, the small copy's file, the row).
//
// Jobs are handed out in index order, and a helper starts job i only while i is
// fewer than `ahead` places beyond the job the worker takes next, so the jobs made
// ahead (small encoded copies) stay few. The job the worker waits for is always
// being made or done, so the worker never waits for a job that nobody makes.
//
// The threads are the run's: made on the first pass that needs them, idle (and
// costing nothing) between passes, ended when the helpers are destroyed.
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "s/image/gui/dialogs/pictorva/SmallCopyJob.h"
#include "s/thread/ConditionVariable.h"
#include "s/thread/CriticalSection.h"
#include "s/thread/ITask.h"
#include "s/thread/Owned.h"
#include "s/thread/win/Thread.h"

namespace s::image::gui::dialogs::pictorva {

class ScaleHelpers final : public thread::ITask {
 public:
  // Makes job index in the given object; called on the helper threads.
  using Make = std::function<void(size_t index, SmallCopyJob& job)>;

  explicit ScaleHelpers(int priority) : priority_(priority) {}
  // Ends a pass still going and the threads.
  ~ScaleHelpers() override;
  ScaleHelpers(const ScaleHelpers&) = delete;
  ScaleHelpers& operator=(const ScaleHelpers&) = delete;

  // Starts up to `helpers` threads on jobs 0 .. count - 1. False when not one
  // thread could be started (nothing runs then).
  bool begin(int helpers, size_t count, size_t ahead, Make make);
  // Waits until job index is made and hands it over; the worker takes the jobs in
  // order, from 0, each once.
  std::unique_ptr<SmallCopyJob> take(size_t index);
  // Starts no further job, waits until the helpers are idle and drops the jobs
  // made ahead.
  void end();

  // The helpers' loop, on each helper thread.
  void run() override;

 private:
  std::unique_ptr<SmallCopyJob>& slot(size_t index) { return slots_[index % slots_.size()]; }

  const int priority_;
  std::vector<thread::Owned<thread::win::Thread>> threads_;
  int started_ = 0;  // threads running this pass

  thread::CriticalSection section_;
  thread::ConditionVariable changed_;  // a job was made or taken, or the pass ends
  Make make_;
  size_t count_ = 0;
  size_t next_ = 0;   // the next job to start
  size_t taken_ = 0;  // the next job the worker takes
  bool ending_ = false;
  std::vector<std::unique_ptr<SmallCopyJob>> slots_;  // made jobs, by index modulo its size
};

}  // namespace s::image::gui::dialogs::pictorva
