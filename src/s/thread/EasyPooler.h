#pragma once
// The pool behind almost every class: up to `capacity` idle objects, handed out last
// in, first out. Objects are created outside the lock; an object is reset when it
// enters the pool, so whatever take() returns is in its initial state.
#include <vector>

#include "s/base/IDestructor.h"
#include "s/base/IGenerator.h"
#include "s/base/IObject.h"
#include "s/thread/ObjLocker.h"

namespace s::thread {

inline constexpr int kPoolCapacity = 1000;

class EasyPooler : public base::IObject, public base::IGenerator, public base::IDestructor {
 public:
  using CreateFunction = void* (*)();
  using ObjectFunction = void (*)(void* object);
  static constexpr char16_t kRegistrationName[] = u"s_thread_EasyPooler";

  EasyPooler(CreateFunction create, ObjectFunction destroy, ObjectFunction reset, int capacity = kPoolCapacity);
  // Destroys every idle object.
  ~EasyPooler() override;
  EasyPooler(const EasyPooler&) = delete;
  EasyPooler& operator=(const EasyPooler&) = delete;

  const char16_t* getRegistrationName() const override { return kRegistrationName; }
  // Pools are not pooled: an empty pool of the same kind, which the caller deletes.
  base::IObject* newInstance() const override;

  void* take();
  void giveBack(void* object);
  void* generate() override { return take(); }
  void dispose(void** slot) override;

  int capacity() const { return capacity_; }
  int idleCount();

 private:
  ObjLocker locker_;
  std::vector<void*> idle_;
  int capacity_;
  CreateFunction create_;
  ObjectFunction destroy_;
  ObjectFunction reset_;
};

}  // namespace s::thread
