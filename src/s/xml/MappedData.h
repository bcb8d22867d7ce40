#pragma once
// The save-data store kept in an XML file (see s/map/IMappedData.h for the store's
// contract and Node.h for the model).
//
// The file: root element "savedata"; each key path component a child element named
// after it, nested in path order; each named value an attribute of its key's element,
// in the order of last writing (a rewrite removes the old attribute and appends the
// new one); the value under the empty name is the element's text. UTF-8 without
// byte-order mark, no declaration, no line breaks. Nothing about a value's type is
// stored: each typed read parses the text (Node.h has the forms).
//
// Names: key components compare exactly (case-sensitively), value names ignoring
// case; a key path selected again under another case reuses the selection, as the
// registry store does. Only plain names are written (see isPlainName): an empty key
// component, or a name the file could not carry back, makes a write do nothing and a
// read give its default.
//
// The file is read once, when the store is opened, and rewritten whole on every flush
// through a temporary file renamed over it, so a failed or interrupted flush leaves
// the previous file. A file that exists but does not read as a complete "savedata"
// element is kept as path + ".bak" before the first flush overwrites it: a store
// that could not read everything never silently wipes what it could not read.
#include <string>
#include <string_view>

#include "s/map/IMappedData.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/Owned.h"
#include "s/thread/Pool.h"
#include "s/xml/Node.h"

namespace s::xml {

class MappedData final : public thread::PooledObject<MappedData, map::IMappedData> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_xml_MappedData";
  static constexpr char16_t kRootName[] = u"savedata";
  static constexpr char16_t kBackupSuffix[] = u".bak";

  MappedData();
  ~MappedData() override = default;

  // Back to a store without file: an empty "savedata" root, auto-flush off.
  void reset() override;

  // Opens the store on the file at path: reads it when it exists. False when it
  // exists but could not be read whole as a "savedata" element; the store then holds
  // what could be read (nothing when the root had another name), and the first flush
  // keeps the file as path + ".bak" before writing.
  bool open(std::u16string_view path);
  const std::u16string& filePath() const { return path_; }
  bool isBackupPending() const { return backupPending_; }
  // The root element (the store keeps it).
  Node* root() const { return root_.get(); }

  // A name the file carries back unchanged: not empty, not starting with "!", no
  // control characters, none of blank " & ' / < = > \ and no unpaired surrogate.
  static bool isPlainName(std::u16string_view name);

  bool flush() override;
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
  void setExpandString(const char16_t* key, const char16_t* name, const char16_t* text) override {
    setString(key, name, text);
  }
  void setStrings(const char16_t* key, const char16_t* name, const str::strarray::StrArray* texts) override;
  void setBytes(const char16_t* key, const char16_t* name, const col::_array::ArrayU08* bytes) override;

  bool isAutoFlush() const override { return autoFlush_; }
  void setAutoFlush(bool on) override { autoFlush_ = on; }

 private:
  // Selects key (creating missing components when asked); false when it does not
  // exist or is not a path of plain names.
  bool select(const char16_t* key, bool create);
  // The selected element holding a value called name, or none (never creates).
  Node* elementWithValue(const char16_t* key, const char16_t* name);
  // Selects key for writing name, with any old value called name removed; none when
  // the key or the name cannot be written.
  Node* elementForWriting(const char16_t* key, const char16_t* name);
  template <class Write>
  void write(const char16_t* key, const char16_t* name, Write writeValue);
  void afterWrite();

  std::u16string path_;
  str::strbuffer::StrBuffer scratch_;  // the text getString returns
  std::u16string currentPath_;
  thread::Owned<Node> root_;
  Node* selected_ = nullptr;
  bool autoFlush_ = false;
  bool backupPending_ = false;
};

}  // namespace s::xml
