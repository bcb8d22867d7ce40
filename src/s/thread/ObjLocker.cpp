#include "s/thread/ObjLocker.h"

namespace s::thread {

ObjLocker::ObjLocker(void* object, DisposeFunction dispose, base::IDestructor* destructor)
    : object_(object), dispose_(dispose), destructor_(destructor) {}

ObjLocker::~ObjLocker() {
  if (!object_) return;
  if (dispose_) {
    dispose_(object_);
  } else if (destructor_) {
    destructor_->dispose(&object_);
  }
  object_ = nullptr;
}

}  // namespace s::thread
