#pragma once
// The key/value store that encoder settings are persisted in. The application's
// save-data store implements it; settings records only read and write flags and
// integers under a key path and a value name, each read with a default.
#include <cstdint>

namespace s::image {

class ISettingStore {
 public:
  virtual ~ISettingStore() = default;
  virtual int32_t getS32(const char16_t* keyPath, const char16_t* name, int32_t defaultValue) = 0;
  virtual bool getBool(const char16_t* keyPath, const char16_t* name, bool defaultValue) = 0;
  virtual void setS32(const char16_t* keyPath, const char16_t* name, int32_t value) = 0;
  virtual void setBool(const char16_t* keyPath, const char16_t* name, bool value) = 0;
};

}  // namespace s::image
