#pragma once
// One entry of an archive: an image of an icon or cursor file, or a resource of a
// module.
#include <cstdint>

#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"

namespace s::archive {

class IEntry : public base::IObject, public thread::IPoolable {
 public:
  static constexpr uint32_t kAttributeNormal = 128;  // an ordinary file

  // Entries of these archives have no names of their own: empty.
  virtual const char16_t* getName() const { return u""; }
  // The entry's data size (module resources); icon and cursor entries answer 0.
  virtual int64_t getSize() const = 0;
  uint32_t getSize32() const { return static_cast<uint32_t>(getSize()); }
  virtual uint32_t getAttributes() const { return kAttributeNormal; }
};

}  // namespace s::archive
