#pragma once
// A registry key through the native key calls of ntdll (see s/reg/IRegDir.h for the
// operations and value rules, NtRegistry.h for the calls). Windows only: the class
// is declared everywhere but built for Windows.
//
// Keys are addressed by their native object path: the hive's prefix (the current
// user's is "\\Registry\\User\\" + the user's security identifier) + "\\" + path.
// Take instances with RegDir::create() or thread::make<RegDir>(), then setHiveAndPath.
#include <string>

#include "s/col/_array/ArrayU08.h"
#include "s/reg/IRegDir.h"
#include "s/thread/Owned.h"
#include "s/thread/Pool.h"

namespace s::reg::win {

class RegDir final : public thread::PooledObject<RegDir, IRegDir> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_reg_win_RegDir";

  RegDir();
  ~RegDir() override;
  RegDir(const RegDir&) = delete;
  RegDir& operator=(const RegDir&) = delete;

  // Closed, on the current-user hive with the empty path.
  void reset() override;

  // A new key object on the same hive for the path before the last backslash (the
  // hive's root when there is none); the caller's holder releases it.
  thread::Owned<RegDir> getParent() const;
  const std::u16string& getNativePath() const { return nativePath_; }
  const std::u16string& getHiveName() const { return hiveName_; }

  uint32_t getHive() const override { return hive_; }
  void setHive(uint32_t hive) override;
  const std::u16string& getPath() const override { return path_; }
  void setPath(Text path) override;
  std::u16string getKeyName() const override;
  void setFullPath(Text fullPath) override;
  void setHiveAndPath(uint32_t hive, Text path) override;
  const std::u16string& getFullPath() const override { return fullPath_; }

  bool isOpen() const override { return key_ != nullptr; }
  void close() override;
  bool reopen() override;
  bool createKey() override;
  bool deleteTree(bool deleteSelf) override;
  bool rename(Text newName) override;
  bool flushKey() override;

  void listSubkeyNames(str::strarray::StrArray* names, Text prefix = Text()) override;
  void listValues(str::strarray::StrArray* names) override;
  bool queryValue(Text name, uint32_t* type, size_t* size, int64_t expectedType = -1) override;
  const col::_array::ArrayU08& valueData() const override { return data_; }
  size_t valueSize(Text name) override;

  uint8_t getU08(Text name, uint8_t defaultValue) override;
  uint16_t getU16(Text name, uint16_t defaultValue) override;
  uint32_t getU32(Text name, uint32_t defaultValue) override;
  uint64_t getU64(Text name, uint64_t defaultValue) override;
  int8_t getS08(Text name, int8_t defaultValue) override;
  int16_t getS16(Text name, int16_t defaultValue) override;
  int32_t getS32(Text name, int32_t defaultValue) override;
  int64_t getS64(Text name, int64_t defaultValue) override;
  float getFloat(Text name, float defaultValue) override;
  double getDouble(Text name, double defaultValue) override;
  bool getBool(Text name, bool defaultValue) override;
  bool getString(Text name, std::u16string* text, bool* wasExpandable = nullptr, bool expand = false) override;
  bool getStrings(Text name, str::strarray::StrArray* texts) override;
  bool getBytes(Text name, col::_array::ArrayU08* bytes) override;
  bool deleteValue(Text name) override;

  bool setU08(Text name, uint8_t value) override { return setU32(name, value); }
  bool setU16(Text name, uint16_t value) override { return setU32(name, value); }
  bool setU32(Text name, uint32_t value) override;
  bool setU64(Text name, uint64_t value) override;
  bool setS08(Text name, int8_t value) override { return setS32(name, value); }
  bool setS16(Text name, int16_t value) override { return setS32(name, value); }
  bool setS32(Text name, int32_t value) override { return setU32(name, static_cast<uint32_t>(value)); }
  bool setS64(Text name, int64_t value) override { return setU64(name, static_cast<uint64_t>(value)); }
  bool setFloat(Text name, float value) override;
  bool setDouble(Text name, double value) override;
  bool setBool(Text name, bool value) override { return setU32(name, value ? 1 : 0); }
  bool setString(Text name, Text text) override;
  bool setExpandString(Text name, Text text) override;
  bool setStrings(Text name, const str::strarray::StrArray& texts) override;
  bool setBytes(Text name, const void* bytes, size_t count) override;
  bool setValue(Text name, uint32_t type, const void* data, size_t size) override;

 private:
  // Rebuilds the full and native paths from hive and path.
  void rebuildPaths();
  // Reads a value whose data has exactly size bytes into out; false otherwise.
  bool readSized(Text name, size_t size, void* out);
  bool setText(Text name, uint32_t type, Text text);

  col::_array::ArrayU08 data_;  // the data of the last value read
  void* key_ = nullptr;         // the open native key, or none
  uint32_t hive_ = kCurrentUser;
  std::u16string hiveName_;
  std::u16string hivePrefix_;   // the hive's native path
  std::u16string path_;         // relative to the hive, no trailing backslash
  std::u16string fullPath_;     // hive name + "\\" + path
  std::u16string nativePath_;   // hive prefix + "\\" + path
};

}  // namespace s::reg::win
