#pragma once
// One registry key, addressed by a hive and a path below it: opens or creates the
// key, reads and writes typed values, lists and deletes subkeys. Windows only (the
// registry does not exist elsewhere); see win/RegDir.h for the realisation.
//
// Value rules, shared with the registry save-data store:
// - 8/16/32-bit values and flags are written as 4-byte REG_DWORD (unsigned kinds
//   zero-extended, signed kinds sign-extended, flags 0 or 1); 64-bit values, float
//   and double as REG_BINARY of 8, 4 and 8 bytes (little-endian); texts as REG_SZ or
//   REG_EXPAND_SZ with their terminating zero; text lists as REG_MULTI_SZ; bytes as
//   REG_BINARY.
// - Reads accept a value of any type whose data has exactly the kind's size (4 bytes
//   for 8/16/32-bit kinds, flags and float; 8 for 64-bit kinds and double) and take
//   its low bits; texts only from REG_SZ and REG_EXPAND_SZ, text lists only from
//   REG_MULTI_SZ; bytes from any type. Anything else gives the caller's default.
// - Texts are bounded by the value's size and end at their first zero, whether or
//   not the data holds one.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"

namespace s::col::_array {
class ArrayU08;
}
namespace s::str::strarray {
class StrArray;
}

namespace s::reg {

// The predefined hives, by their handle values.
inline constexpr uint32_t kClassesRoot = 0x80000000;
inline constexpr uint32_t kCurrentUser = 0x80000001;
inline constexpr uint32_t kLocalMachine = 0x80000002;
inline constexpr uint32_t kUsers = 0x80000003;
inline constexpr uint32_t kCurrentConfig = 0x80000005;

// Value types.
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kRegMultiSz = 7;
inline constexpr uint32_t kRegQword = 11;

class IRegDir : public base::IObject, public thread::IPoolable {
 public:
  using Text = std::u16string_view;

  virtual uint32_t getHive() const = 0;
  // One of the hives above; any other value is ignored.
  virtual void setHive(uint32_t hive) = 0;
  // The path relative to the hive, without trailing backslash.
  virtual const std::u16string& getPath() const = 0;
  // Sets the path (a trailing backslash is removed), closes the key and opens the key
  // of the new path if it exists.
  virtual void setPath(Text path) = 0;
  // The last component of the path.
  virtual std::u16string getKeyName() const = 0;
  // A path starting (ignoring case) with a hive name ("HKEY_CURRENT_USER", ...) and a
  // backslash selects that hive and the rest as path; any other text selects the
  // current-user hive and the path "InvalidKey".
  virtual void setFullPath(Text fullPath) = 0;
  virtual void setHiveAndPath(uint32_t hive, Text path) = 0;
  // Hive name + "\\" + path.
  virtual const std::u16string& getFullPath() const = 0;

  virtual bool isOpen() const = 0;
  virtual void close() = 0;
  // Closes and opens again; whether the key is open.
  virtual bool reopen() = 0;
  // Creates the key (with its missing parents) unless it is open; whether it is open.
  virtual bool createKey() = 0;
  // Deletes every subkey tree, deepest keys first, and the key itself when asked.
  virtual bool deleteTree(bool deleteSelf) = 0;
  // Gives the key a new last component.
  virtual bool rename(Text newName) = 0;
  // Writes the key to disk.
  virtual bool flushKey() = 0;

  // The names of the subkeys (those starting with prefix, ignoring case), in
  // enumeration order, appended to names.
  virtual void listSubkeyNames(str::strarray::StrArray* names, Text prefix = Text()) = 0;
  // The value names, in enumeration order, appended to names.
  virtual void listValues(str::strarray::StrArray* names) = 0;
  // Reads a value into the key's data buffer: its type and size, and with an
  // expected type (not -1) success only for that type. False (type and size 0) when
  // there is no such value.
  virtual bool queryValue(Text name, uint32_t* type, size_t* size, int64_t expectedType = -1) = 0;
  // The data of the last value read by queryValue.
  virtual const col::_array::ArrayU08& valueData() const = 0;
  // The size of a value's data; 0 when missing.
  virtual size_t valueSize(Text name) = 0;

  virtual uint8_t getU08(Text name, uint8_t defaultValue) = 0;
  virtual uint16_t getU16(Text name, uint16_t defaultValue) = 0;
  virtual uint32_t getU32(Text name, uint32_t defaultValue) = 0;
  virtual uint64_t getU64(Text name, uint64_t defaultValue) = 0;
  virtual int8_t getS08(Text name, int8_t defaultValue) = 0;
  virtual int16_t getS16(Text name, int16_t defaultValue) = 0;
  virtual int32_t getS32(Text name, int32_t defaultValue) = 0;
  virtual int64_t getS64(Text name, int64_t defaultValue) = 0;
  virtual float getFloat(Text name, float defaultValue) = 0;
  virtual double getDouble(Text name, double defaultValue) = 0;
  virtual bool getBool(Text name, bool defaultValue) = 0;
  // The text into *text (replacing it); false (text unchanged) for a missing value or
  // one of another type. *wasExpandable tells REG_EXPAND_SZ; with expand its
  // environment variables are expanded.
  virtual bool getString(Text name, std::u16string* text, bool* wasExpandable = nullptr, bool expand = false) = 0;
  // The texts of a REG_MULTI_SZ value of more than 3 bytes appended to texts; one
  // empty text counts as none.
  virtual bool getStrings(Text name, str::strarray::StrArray* texts) = 0;
  // All data bytes of a value of any type into bytes (replacing its content).
  virtual bool getBytes(Text name, col::_array::ArrayU08* bytes) = 0;
  virtual bool deleteValue(Text name) = 0;

  // Writes create the key first when it is not open; false when nothing was written.
  virtual bool setU08(Text name, uint8_t value) = 0;
  virtual bool setU16(Text name, uint16_t value) = 0;
  virtual bool setU32(Text name, uint32_t value) = 0;
  virtual bool setU64(Text name, uint64_t value) = 0;
  virtual bool setS08(Text name, int8_t value) = 0;
  virtual bool setS16(Text name, int16_t value) = 0;
  virtual bool setS32(Text name, int32_t value) = 0;
  virtual bool setS64(Text name, int64_t value) = 0;
  virtual bool setFloat(Text name, float value) = 0;
  virtual bool setDouble(Text name, double value) = 0;
  virtual bool setBool(Text name, bool value) = 0;
  virtual bool setString(Text name, Text text) = 0;
  virtual bool setExpandString(Text name, Text text) = 0;
  virtual bool setStrings(Text name, const str::strarray::StrArray& texts) = 0;
  virtual bool setBytes(Text name, const void* bytes, size_t count) = 0;
  // Any type, as given.
  virtual bool setValue(Text name, uint32_t type, const void* data, size_t size) = 0;
};

}  // namespace s::reg
