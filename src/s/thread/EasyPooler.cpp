#include "s/thread/EasyPooler.h"

namespace s::thread {

EasyPooler::EasyPooler(CreateFunction create, ObjectFunction destroy, ObjectFunction reset, int capacity)
    : capacity_(capacity), create_(create), destroy_(destroy), reset_(reset) {}

EasyPooler::~EasyPooler() {
  for (void* object : idle_) destroy_(object);
}

base::IObject* EasyPooler::newInstance() const { return new EasyPooler(create_, destroy_, reset_, capacity_); }

void* EasyPooler::take() {
  {
    ObjLocker::Scope scope(locker_);
    if (!idle_.empty()) {
      void* object = idle_.back();
      idle_.pop_back();
      return object;
    }
  }
  return create_();
}

void EasyPooler::giveBack(void* object) {
  if (!object) return;
  // Reset whether the object is kept or destroyed: a reset gives back what the
  // object holds (a picture's raster, say), which its destructor leaves alone.
  reset_(object);
  {
    ObjLocker::Scope scope(locker_);
    if (static_cast<int>(idle_.size()) < capacity_) {
      idle_.push_back(object);
      return;
    }
  }
  destroy_(object);
}

void EasyPooler::dispose(void** slot) {
  if (!slot || !*slot) return;
  giveBack(*slot);
  *slot = nullptr;
}

int EasyPooler::idleCount() {
  ObjLocker::Scope scope(locker_);
  return static_cast<int>(idle_.size());
}

}  // namespace s::thread
