#pragma once
// A filter attached to a pixel image and applied later, in chain order.
#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"

namespace s::image::win {
class BufferedImage;
}

namespace s::image::filters {

class IFilter : public base::IObject, public thread::IPoolable {
 public:
  // A fixed text per filter class. Filters are found by the identity of this
  // pointer, not by comparing texts.
  virtual const char16_t* getFilterId() const = 0;
  // An auto-release filter is owned by the image whose chain holds it.
  virtual bool isAutoRelease() const = 0;
  virtual void setAutoRelease(bool autoRelease) = 0;
  // Filters source into output (prepared by the filter) and returns the result, or
  // none. output may be none, then the filter makes its own result.
  virtual win::BufferedImage* apply(win::BufferedImage* source, win::BufferedImage* output) = 0;
};

}  // namespace s::image::filters
