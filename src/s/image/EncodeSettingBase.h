#pragma once
// What every encoder-settings record shares: the attached store and key path, the
// (never created) settings box, the background colour, and the load/save frame
// that puts each format's values under key path + the format's subkey.
#include <string>

#include "s/image/IEncodeSetting.h"
#include "s/thread/Owned.h"

namespace s::image {

class EncodeSettingBase : public IEncodeSetting {
 public:
  // The colour transparent pixels are composed onto when the target keeps no
  // transparency.
  int backgroundRed = 255;
  int backgroundGreen = 255;
  int backgroundBlue = 255;

  // Single-image formats: the set's primary image (or the image itself), with the
  // set's colour profile.
  thread::Owned<IEncodedImage> encodeImageSet(IImage* imageOrSet) override;
  base::IObject* createConfigBox() override { return nullptr; }
  bool applyConfigBox() override { return true; }
  bool hasStore() const override { return store_ != nullptr; }
  ISettingStore* getStore() const override { return store_; }
  void bind(const char16_t* keyPath, ISettingStore* store) override;
  void load() override;
  void save() override;

  const std::u16string& getKeyPath() const { return keyPath_; }

  // The picture an encoder works on: the result of the image's filter chain (run
  // now) when it has one, else the image. None for none.
  static win::BufferedImage* encodingSource(win::BufferedImage* image);

 protected:
  // "\\BmpEncodeSetting" and so on.
  virtual const char16_t* getSubkey() const = 0;
  virtual void loadValues(ISettingStore& store, const char16_t* key) = 0;
  virtual void saveValues(ISettingStore& store, const char16_t* key) = 0;
  // Restores the shared part (store, key path, colour) to its initial state.
  void resetShared();
  void loadBackground(ISettingStore& store, const char16_t* key);
  void saveBackground(ISettingStore& store, const char16_t* key);

 private:
  std::u16string fullKey() const { return keyPath_ + getSubkey(); }

  ISettingStore* store_ = nullptr;
  std::u16string keyPath_;
};

}  // namespace s::image
