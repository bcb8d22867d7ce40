#pragma once

namespace s::base {

// Disposes of objects for containers that own their elements.
class IDestructor {
 public:
  virtual ~IDestructor() = default;
  // If *slot holds an object, disposes of it and sets *slot to nullptr.
  virtual void dispose(void** slot) = 0;
};

}  // namespace s::base
