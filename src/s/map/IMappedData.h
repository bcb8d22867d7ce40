#pragma once
// The save-data store: everything the program remembers between starts.
//
// Callers name a key path and a value name and read or write a typed value; the
// medium (the registry, or an XML file) stays hidden behind this interface.
//
// - A key path is a text of components separated by "\\" or "/" (both accepted,
//   mixed too); the empty path is the store's root. Callers join with one "\\":
//   u"MainWindow\\View".
// - A value name names one value inside a key; the empty name is the key's own
//   value (the registry's default value, the XML element's text).
// - Every read takes a default and returns it when the key or the value does not
//   exist, or when the stored data does not fit the type. Reads never create keys
//   and never flush.
// - Every write (and deleteKey/deleteValue) ends with a flush when auto-flush is on.
// - A store object is used from one thread at a time.
// - Stores are pooled objects: whoever opened one gives it back with release()
//   (thread::Owned<IMappedData> does that), after a last flush when it matters.
#include <cstdint>

#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"

namespace s::col::_array {
class ArrayU08;
}
namespace s::str::strarray {
class StrArray;
}

namespace s::map {

class IMappedData : public base::IObject, public thread::IPoolable {
 public:
  // Writes the store to its medium (the XML store rewrites its file; the registry
  // store writes through on every set, so this does nothing there). False when the
  // medium could not be written.
  virtual bool flush() = 0;
  // Selects key, creating every missing component. False when it cannot be made.
  virtual bool openKey(const char16_t* key) = 0;
  // Removes key with everything below it. False when it did not exist (the empty
  // path, the store's root, is never deleted).
  virtual bool deleteKey(const char16_t* key) = 0;
  // Selects key if it exists; false (and nothing created) if any component is missing.
  virtual bool findKey(const char16_t* key) = 0;
  virtual bool hasValue(const char16_t* key, const char16_t* name) = 0;

  virtual uint8_t getU08(const char16_t* key, const char16_t* name, uint8_t defaultValue) = 0;
  virtual uint16_t getU16(const char16_t* key, const char16_t* name, uint16_t defaultValue) = 0;
  virtual uint32_t getU32(const char16_t* key, const char16_t* name, uint32_t defaultValue) = 0;
  virtual uint64_t getU64(const char16_t* key, const char16_t* name, uint64_t defaultValue) = 0;
  virtual int8_t getS08(const char16_t* key, const char16_t* name, int8_t defaultValue) = 0;
  virtual int16_t getS16(const char16_t* key, const char16_t* name, int16_t defaultValue) = 0;
  virtual int32_t getS32(const char16_t* key, const char16_t* name, int32_t defaultValue) = 0;
  virtual int64_t getS64(const char16_t* key, const char16_t* name, int64_t defaultValue) = 0;
  virtual float getFloat(const char16_t* key, const char16_t* name, float defaultValue) = 0;
  virtual double getDouble(const char16_t* key, const char16_t* name, double defaultValue) = 0;
  virtual bool getBool(const char16_t* key, const char16_t* name, bool defaultValue) = 0;
  // The text, or defaultValue. The result belongs to the store and stays valid until
  // the next read of the same store. *wasExpandable (when given) tells whether the
  // value is an expandable string; expand asks for environment variables expanded.
  virtual const char16_t* getString(const char16_t* key, const char16_t* name, const char16_t* defaultValue,
                                    bool* wasExpandable = nullptr, bool expand = false) = 0;
  // String lists are not supported by either store: always none.
  virtual str::strarray::StrArray* getStrings(const char16_t* key, const char16_t* name) = 0;
  // Fills bytes (a new array, which the caller releases, when none is given) and
  // returns it; when key or value is missing the array comes back unchanged (none
  // when none was given).
  virtual col::_array::ArrayU08* getBytes(const char16_t* key, const char16_t* name,
                                          col::_array::ArrayU08* bytes) = 0;
  // False when there was no such value.
  virtual bool deleteValue(const char16_t* key, const char16_t* name) = 0;

  virtual void setU08(const char16_t* key, const char16_t* name, uint8_t value) = 0;
  virtual void setU16(const char16_t* key, const char16_t* name, uint16_t value) = 0;
  virtual void setU32(const char16_t* key, const char16_t* name, uint32_t value) = 0;
  virtual void setU64(const char16_t* key, const char16_t* name, uint64_t value) = 0;
  virtual void setS08(const char16_t* key, const char16_t* name, int8_t value) = 0;
  virtual void setS16(const char16_t* key, const char16_t* name, int16_t value) = 0;
  virtual void setS32(const char16_t* key, const char16_t* name, int32_t value) = 0;
  virtual void setS64(const char16_t* key, const char16_t* name, int64_t value) = 0;
  virtual void setFloat(const char16_t* key, const char16_t* name, float value) = 0;
  virtual void setDouble(const char16_t* key, const char16_t* name, double value) = 0;
  virtual void setBool(const char16_t* key, const char16_t* name, bool value) = 0;
  virtual void setString(const char16_t* key, const char16_t* name, const char16_t* text) = 0;
  virtual void setExpandString(const char16_t* key, const char16_t* name, const char16_t* text) = 0;
  // No effect beyond the auto-flush step.
  virtual void setStrings(const char16_t* key, const char16_t* name, const str::strarray::StrArray* texts) = 0;
  // Stores the array's bytes (its element count is the byte count).
  virtual void setBytes(const char16_t* key, const char16_t* name, const col::_array::ArrayU08* bytes) = 0;

  virtual bool isAutoFlush() const = 0;
  virtual void setAutoFlush(bool on) = 0;
};

}  // namespace s::map
