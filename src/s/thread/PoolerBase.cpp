#include "s/thread/PoolerBase.h"

namespace s::thread {

int PoolerBase::sizeOf(void*) { return kMaxObjectSize; }

void PoolerBase::giveBack(void* object, int size) {
  if (!object) return;
  if (limitBySize_ && size < 0) size = sizeOf(object);
  {
    ObjLocker::Scope scope(locker_);
    // "Exceeds": this pool keeps one object more than its capacity before refusing.
    bool keep = static_cast<int>(idle_.size()) <= capacity_;
    if (keep && limitBySize_) {
      keep = size <= kMaxObjectSize && totalSize_ + size <= kMaxTotalSize;
    }
    if (keep) {
      resetObject(object);
      idle_.push_back({object, limitBySize_ ? size : 0});
      totalSize_ += limitBySize_ ? size : 0;
      return;
    }
  }
  destroyObject(object);
}

void* PoolerBase::take() {
  {
    ObjLocker::Scope scope(locker_);
    if (!idle_.empty()) {
      Kept kept = idle_.back();
      idle_.pop_back();
      totalSize_ -= kept.size;
      return kept.object;
    }
  }
  return generate();
}

void PoolerBase::dispose(void** slot) {
  if (!slot || !*slot) return;
  giveBack(*slot, -1);
  *slot = nullptr;
}

int PoolerBase::idleCount() {
  ObjLocker::Scope scope(locker_);
  return static_cast<int>(idle_.size());
}

int PoolerBase::totalSize() {
  ObjLocker::Scope scope(locker_);
  return totalSize_;
}

void PoolerBase::destroyIdle() {
  std::vector<Kept> idle;
  {
    ObjLocker::Scope scope(locker_);
    idle.swap(idle_);
    totalSize_ = 0;
  }
  for (const Kept& kept : idle) destroyObject(kept.object);
}

}  // namespace s::thread
