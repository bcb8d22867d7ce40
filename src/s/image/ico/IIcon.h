#pragma once
// An icon file: an ordered list of icon images of one icon at several sizes and
// depths.
#include "s/image/IEncodedImage.h"

namespace s::image::ico {

namespace win {
class IconImage;
}

class IIcon : public IEncodedImage {
 public:
  // Image index (none outside the list); the icon keeps it.
  virtual win::IconImage* getIconImage(int index) const = 0;
  // Takes over an image at the end of the list.
  virtual void addIconImage(win::IconImage* image) = 0;
  virtual void removeAll() = 0;
};

}  // namespace s::image::ico
