#pragma once
// The common root of pictures: pixel images, image sets and codec objects.
#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"

namespace s::image {

class IImage : public base::IObject, public thread::IPoolable {
 public:
  virtual int getWidth() const = 0;
  virtual int getHeight() const = 0;
};

}  // namespace s::image
