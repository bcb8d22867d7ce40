#pragma once

namespace s::thread {

// Work for a worker thread. The task reports results by its own means.
class ITask {
 public:
  virtual ~ITask() = default;
  virtual void run() = 0;
};

}  // namespace s::thread
