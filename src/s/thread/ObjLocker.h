#pragma once
// A critical section with an optional guarded object: the lock of every pool and of
// every process-wide scratch object. The guarded object is used only while the lock
// is held (see Scope).
#include "s/base/IDestructor.h"
#include "s/base/IObject.h"
#include "s/thread/CriticalSection.h"

namespace s::thread {

class ObjLocker : public base::IObject {
 public:
  using DisposeFunction = void (*)(void* object);
  static constexpr char16_t kRegistrationName[] = u"s_thread_ObjLocker";

  ObjLocker() = default;
  // Takes ownership of object. On destruction it is disposed of with dispose if set,
  // else through destructor if set, else not at all (the caller keeps it). For plain
  // deletion pass deleterFor<T>().
  explicit ObjLocker(void* object, DisposeFunction dispose = nullptr, base::IDestructor* destructor = nullptr);
  ~ObjLocker() override;
  ObjLocker(const ObjLocker&) = delete;
  ObjLocker& operator=(const ObjLocker&) = delete;

  const char16_t* getRegistrationName() const override { return kRegistrationName; }
  // A new, unguarded locker; the caller deletes it.
  base::IObject* newInstance() const override { return new ObjLocker(); }

  template <class T>
  static DisposeFunction deleterFor() {
    return [](void* object) { delete static_cast<T*>(object); };
  }

  void lock() { section_.enter(); }
  bool tryLock() { return section_.tryEnter(); }
  void unlock() { section_.leave(); }
  void* guarded() const { return object_; }
  CriticalSection& section() { return section_; }

  // Holds the lock for one scope.
  class Scope {
   public:
    explicit Scope(ObjLocker& locker) : locker_(locker) { locker_.lock(); }
    ~Scope() { locker_.unlock(); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    ObjLocker& locker_;
  };

 private:
  void* object_ = nullptr;
  DisposeFunction dispose_ = nullptr;
  base::IDestructor* destructor_ = nullptr;
  CriticalSection section_;
};

}  // namespace s::thread
