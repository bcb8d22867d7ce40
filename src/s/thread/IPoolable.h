#pragma once

namespace s::thread {

// The second base of every poolable class, after its IObject part.
class IPoolable {
 public:
  virtual ~IPoolable() = default;
  // Gives the object back to its class's pool. The caller must not touch it again.
  virtual void release() = 0;
  // Returns the object to its freshly constructed state: frees buffers, releases
  // owned objects, clears fields. The pool calls it before keeping an object.
  virtual void reset() = 0;
};

}  // namespace s::thread
