#pragma once

namespace s::base {

class IObject;

class IGenerator {
 public:
  virtual ~IGenerator() = default;
  // A new object, owned by the caller.
  virtual void* generate() = 0;
};

}  // namespace s::base
