#pragma once
// The save-data store kept in the registry (see s/map/IMappedData.h for the store's
// contract, IRegDir.h for the value rules). Windows only: declared everywhere, built
// for Windows.
//
// Each key path becomes a subkey path below the store's root key ("/" and "\\" both
// separate; the registry itself takes only "\\"); each value name a registry value
// (the empty name is the key's default value). Key and value names compare ignoring
// case, as the registry compares them. Every set writes through at once, so flush
// has nothing to do.
#include <string>
#include <string_view>

#include "s/map/IMappedData.h"
#include "s/reg/win/RegDir.h"
#include "s/thread/Owned.h"
#include "s/thread/Pool.h"

namespace s::reg {

class MappedData final : public thread::PooledObject<MappedData, map::IMappedData> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_reg_MappedData";

  MappedData() = default;
  ~MappedData() override = default;

  // No root key, no selection, auto-flush off.
  void reset() override;

  // Roots the store at rootPath under hive (the key need not exist: reads give their
  // defaults and the first write creates it).
  void open(std::u16string_view rootPath, uint32_t hive = kCurrentUser);
  // The root key (the store keeps it).
  win::RegDir* root() const { return root_.get(); }

  bool flush() override { return true; }
  bool openKey(const char16_t* key) override { return select(key, true); }
  bool deleteKey(const char16_t* key) override;
  bool findKey(const char16_t* key) override { return select(key, false); }
  bool hasValue(const char16_t* key, const char16_t* name) override;

  uint8_t getU08(const char16_t* key, const char16_t* name, uint8_t defaultValue) override;
  uint16_t getU16(const char16_t* key, const char16_t* name, uint16_t defaultValue) override;
  uint32_t getU32(const char16_t* key, const char16_t* name, uint32_t defaultValue) override;
  uint64_t getU64(const char16_t* key, const char16_t* name, uint64_t defaultValue) override;
  int8_t getS08(const char16_t* key, const char16_t* name, int8_t defaultValue) override;
  int16_t getS16(const char16_t* key, const char16_t* name, int16_t defaultValue) override;
  int32_t getS32(const char16_t* key, const char16_t* name, int32_t defaultValue) override;
  int64_t getS64(const char16_t* key, const char16_t* name, int64_t defaultValue) override;
  float getFloat(const char16_t* key, const char16_t* name, float defaultValue) override;
  double getDouble(const char16_t* key, const char16_t* name, double defaultValue) override;
  bool getBool(const char16_t* key, const char16_t* name, bool defaultValue) override;
  const char16_t* getString(const char16_t* key, const char16_t* name, const char16_t* defaultValue,
                            bool* wasExpandable = nullptr, bool expand = false) override;
  str::strarray::StrArray* getStrings(const char16_t*, const char16_t*) override { return nullptr; }
  col::_array::ArrayU08* getBytes(const char16_t* key, const char16_t* name, col::_array::ArrayU08* bytes) override;
  bool deleteValue(const char16_t* key, const char16_t* name) override;

  void setU08(const char16_t* key, const char16_t* name, uint8_t value) override;
  void setU16(const char16_t* key, const char16_t* name, uint16_t value) override;
  void setU32(const char16_t* key, const char16_t* name, uint32_t value) override;
  void setU64(const char16_t* key, const char16_t* name, uint64_t value) override;
  void setS08(const char16_t* key, const char16_t* name, int8_t value) override;
  void setS16(const char16_t* key, const char16_t* name, int16_t value) override;
  void setS32(const char16_t* key, const char16_t* name, int32_t value) override;
  void setS64(const char16_t* key, const char16_t* name, int64_t value) override;
  void setFloat(const char16_t* key, const char16_t* name, float value) override;
  void setDouble(const char16_t* key, const char16_t* name, double value) override;
  void setBool(const char16_t* key, const char16_t* name, bool value) override;
  void setString(const char16_t* key, const char16_t* name, const char16_t* text) override;
  void setExpandString(const char16_t* key, const char16_t* name, const char16_t* text) override;
  void setStrings(const char16_t* key, const char16_t* name, const str::strarray::StrArray* texts) override;
  void setBytes(const char16_t* key, const char16_t* name, const col::_array::ArrayU08* bytes) override;

  bool isAutoFlush() const override { return autoFlush_; }
  void setAutoFlush(bool on) override { autoFlush_ = on; }

 private:
  // Selects key (creating it with its missing parents when asked); false when it
  // does not exist or has an empty component.
  bool select(const char16_t* key, bool create);
  // The selected key for reading, or none.
  win::RegDir* keyFor(const char16_t* key);
  template <class Write>
  void write(const char16_t* key, Write writeValue);

  std::u16string currentPath_;
  thread::Owned<win::RegDir> root_;
  thread::Owned<win::RegDir> selected_;
  bool autoFlush_ = false;
  std::u16string scratch_;  // the text getString returns
};

}  // namespace s::reg
