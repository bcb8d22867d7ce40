#pragma once
// A pool that can also limit what it keeps by size: with the limit on, objects over
// kMaxObjectSize bytes are never kept, nor any object that would bring the kept total
// over kMaxTotalSize. Subclasses create (generate), reset and destroy the objects and
// may measure them (sizeOf). A subclass's destructor calls destroyIdle(), since the
// base destructor can no longer reach the subclass's destroyObject.
#include <vector>

#include "s/base/IDestructor.h"
#include "s/base/IGenerator.h"
#include "s/base/IObject.h"
#include "s/thread/EasyPooler.h"
#include "s/thread/ObjLocker.h"

namespace s::thread {

class PoolerBase : public base::IObject, public base::IGenerator, public base::IDestructor {
 public:
  static constexpr int kMaxObjectSize = 1024;
  static constexpr int kMaxTotalSize = 102400;
  static constexpr char16_t kRegistrationName[] = u"s_thread_PoolerBase";

  PoolerBase() = default;
  ~PoolerBase() override = default;
  PoolerBase(const PoolerBase&) = delete;
  PoolerBase& operator=(const PoolerBase&) = delete;

  const char16_t* getRegistrationName() const override { return kRegistrationName; }

  virtual int sizeOf(void* object);
  // size -1: ask sizeOf (only when the size limit is on).
  virtual void giveBack(void* object, int size = -1);
  virtual void* take();
  virtual void resetObject(void* object) = 0;
  virtual void destroyObject(void* object) = 0;
  void dispose(void** slot) override;

  void setLimitBySize(bool on) { limitBySize_ = on; }
  bool limitBySize() const { return limitBySize_; }
  int capacity() const { return capacity_; }
  int idleCount();
  int totalSize();

 protected:
  void destroyIdle();
  void setCapacity(int capacity) { capacity_ = capacity; }

 private:
  struct Kept {
    void* object;
    int size;
  };
  ObjLocker locker_;
  std::vector<Kept> idle_;
  int capacity_ = kPoolCapacity;
  int totalSize_ = 0;
  bool limitBySize_ = false;
};

}  // namespace s::thread
