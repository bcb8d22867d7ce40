#pragma once
// Encoder settings: how a pixel image becomes a codec object of one format. Each
// format has one record class with its values, their defaults (restored by reset)
// and the names under which they are persisted in a setting store.
#include "s/base/IObject.h"
#include "s/image/IEncodedImage.h"
#include "s/image/ISettingStore.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Owned.h"

namespace s::image {

class IEncodeSetting : public base::IObject, public thread::IPoolable {
 public:
  // From an image or an image set; single-image formats take the set's primary.
  virtual thread::Owned<IEncodedImage> encodeImageSet(IImage* imageOrSet) = 0;
  // From one pixel image (its filter chain's result when it has filters).
  virtual thread::Owned<IEncodedImage> encodeImage(win::BufferedImage* image) = 0;
  // The settings box (a GUI component); none is offered, so applyConfigBox is true.
  virtual base::IObject* createConfigBox() = 0;
  virtual bool applyConfigBox() = 0;
  virtual bool hasStore() const = 0;
  virtual ISettingStore* getStore() const = 0;
  // Attaches the store under keyPath and loads every value from it.
  virtual void bind(const char16_t* keyPath, ISettingStore* store) = 0;
  virtual void load() = 0;
  virtual void save() = 0;
};

}  // namespace s::image
