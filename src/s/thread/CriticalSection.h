#pragma once
// A re-entrant lock: a Win32 critical section on Windows, a recursive pthread mutex
// elsewhere. The platform object lives in opaque storage so that this header does
// not pull in <windows.h> or <pthread.h>.

namespace s::thread {

class CriticalSection {
 public:
  CriticalSection();
  ~CriticalSection();
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

  void enter();
  bool tryEnter();
  void leave();

  // Holds the lock for one scope.
  class Scope {
   public:
    explicit Scope(CriticalSection& section) : section_(section) { section_.enter(); }
    ~Scope() { section_.leave(); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    CriticalSection& section_;
  };

  // The platform object; only the platform files look inside.
  void* native() { return storage_; }

 private:
  alignas(16) unsigned char storage_[64];
};

}  // namespace s::thread
