#pragma once
// Lets the encoder settings records (ISettingStore.h) keep their values in the
// save-data store.
#include "s/image/ISettingStore.h"
#include "s/map/IMappedData.h"

namespace s::image {

class SettingStoreAdapter final : public ISettingStore {
 public:
  // The store must outlive the adapter.
  explicit SettingStoreAdapter(map::IMappedData& store) : store_(store) {}

  int32_t getS32(const char16_t* keyPath, const char16_t* name, int32_t defaultValue) override {
    return store_.getS32(keyPath, name, defaultValue);
  }
  bool getBool(const char16_t* keyPath, const char16_t* name, bool defaultValue) override {
    return store_.getBool(keyPath, name, defaultValue);
  }
  void setS32(const char16_t* keyPath, const char16_t* name, int32_t value) override {
    store_.setS32(keyPath, name, value);
  }
  void setBool(const char16_t* keyPath, const char16_t* name, bool value) override {
    store_.setBool(keyPath, name, value);
  }

 private:
  map::IMappedData& store_;
};

}  // namespace s::image
