#include "s/image/gui/dialogs/pictorva/ScaleHelpers.h"

#include <utility>

namespace s::image::gui::dialogs::pictorva {

using thread::CriticalSection;

ScaleHelpers::~ScaleHelpers() { end(); }

bool ScaleHelpers::begin(int helpers, size_t count, size_t ahead, Make make) {
  end();
  {
    CriticalSection::Scope hold(section_);
    make_ = std::move(make);
    count_ = count;
    next_ = 0;
    taken_ = 0;
    ending_ = false;
    slots_.clear();
    slots_.resize(ahead > 0 ? ahead : 1);
  }
  while (static_cast<int>(threads_.size()) < helpers) {
    thread::Owned<thread::win::Thread> helper(thread::win::Thread::create());
    if (!helper->hasSystemThread()) break;
    helper->setPriority(priority_);
    threads_.push_back(std::move(helper));
  }
  started_ = 0;
  for (int i = 0; i < helpers && i < static_cast<int>(threads_.size()); ++i) {
    if (threads_[static_cast<size_t>(i)]->start(this)) ++started_;
  }
  return started_ > 0;
}

std::unique_ptr<SmallCopyJob> ScaleHelpers::take(size_t index) {
  CriticalSection::Scope hold(section_);
  while (!slot(index)) changed_.wait(section_);
  std::unique_ptr<SmallCopyJob> job = std::move(slot(index));
  taken_ = index + 1;
  changed_.notifyAll();  // a helper may start the next job now
  return job;
}

void ScaleHelpers::end() {
  {
    CriticalSection::Scope hold(section_);
    ending_ = true;
    changed_.notifyAll();
  }
  for (int i = 0; i < started_; ++i) threads_[static_cast<size_t>(i)]->waitIdle();
  started_ = 0;
  std::vector<std::unique_ptr<SmallCopyJob>> dropped;
  {
    CriticalSection::Scope hold(section_);
    dropped.swap(slots_);
    make_ = nullptr;
  }
}

void ScaleHelpers::run() {
  CriticalSection::Scope hold(section_);
  for (;;) {
    while (!ending_ && next_ < count_ && next_ >= taken_ + slots_.size()) changed_.wait(section_);
    if (ending_ || next_ >= count_) return;
    const size_t index = next_++;
    auto job = std::make_unique<SmallCopyJob>();
    section_.leave();
    make_(index, *job);
    section_.enter();
    if (!ending_) {
      slot(index) = std::move(job);
      changed_.notifyAll();
    } else {
      // Dropped outside the lock.
      section_.leave();
      job.reset();
      section_.enter();
    }
  }
}

}  // namespace s::image::gui::dialogs::pictorva
