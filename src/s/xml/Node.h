#pragma once
// The XML model: a small, lenient element tree for the language pack carried in the
// program and for the XML form of the save-data store. It knows elements,
// double-quoted attributes, text content and comments, nothing else (no declaration,
// processing instruction, DOCTYPE or CDATA).
//
// Conventions of the model:
// - A node has a name, attribute records (Attributes.h) and child nodes, and owns
//   them: clearing or releasing a node releases its whole subtree.
// - Text content is held as attribute records with the empty name. The parser stores
//   every text run it meets that way; writing takes only the first one.
// - Attribute values are held escaped (see Escaping.h): typed setters escape and
//   append a new record (they never replace one), typed getters unescape and parse.
//   Attribute names compare case-insensitively everywhere; element names compare
//   exactly or ignoring case, as the caller asks (Match).
// - Reading is lenient and never fails: it stops where the text ends and keeps what
//   it built, and nesting deeper than kMaxDepth ends it the same way.
// - Writing produces no line breaks, indentation, declaration or self-closing form.
//
// Take nodes with Node::create() or thread::make<Node>(); give them back with
// release() (only the root: children belong to their parent).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <vector>

#include "s/thread/Pool.h"
#include "s/xml/Attributes.h"
#include "s/xml/IXml.h"

namespace s::col::_array {
class ArrayU08;
}
namespace s::file {
class IPath;
}
namespace s::str::strbuffer {
class StrBuffer;
}

namespace s::xml {

class Node final : public thread::PooledObject<Node, IXml> {
 public:
  using StrBuffer = str::strbuffer::StrBuffer;
  static constexpr char16_t kRegistrationName[] = u"s_xml_Node";
  static constexpr size_t kNone = static_cast<size_t>(-1);
  // Elements nested deeper than this end a parse.
  static constexpr size_t kMaxDepth = 256;
  // The node pool keeps this many idle nodes (not the usual 1000): a parsed document
  // goes back to it whole, and reading a document again then allocates nothing. At
  // about 100 bytes a node that bounds what it holds to a few megabytes.
  static constexpr int kIdleCapacity = 65536;

  // How element names compare: kExact compares the characters case-sensitively and
  // the name must end where the text ends; kIgnoreCase compares whole texts through
  // the platform's case mapping.
  enum class Match { kExact, kIgnoreCase };

  Node() = default;
  ~Node() override;
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;

  void reset() override { clear(); }

  // --- The tree ------------------------------------------------------------------
  size_t childCount() const override { return children_.size(); }
  void clear() override;
  std::u16string_view name() const override { return name_; }
  // The name, zero-terminated.
  const char16_t* nameData() const { return name_.c_str(); }
  void setName(std::u16string_view name) override { name_.assign(name); }
  bool nameEquals(std::u16string_view text, Match match = Match::kIgnoreCase) const;
  // Comments are nodes whose name begins with "!"; the parser drops them.
  bool isComment() const { return !name_.empty() && name_[0] == u'!'; }
  Node* childAt(size_t index) const { return children_[index]; }
  // A new child named name, appended last; the node keeps it.
  Node* addChild(std::u16string_view name);
  // Appends child, which this node now owns; returns it.
  Node* appendChild(Node* child);
  // Releases the child at index with its subtree.
  void removeChildAt(size_t index);
  // The first child whose name matches, or none (kNone as index).
  bool findChildIndex(std::u16string_view name, size_t* index, Match match = Match::kIgnoreCase) const;
  Node* findChild(std::u16string_view name, Match match = Match::kIgnoreCase) const;

  // --- Attributes ----------------------------------------------------------------
  Attributes& attributes() { return attributes_; }
  const Attributes& attributes() const { return attributes_; }

  // Typed setters append a record: decimal forms ("%u", "%d", "%I64d", "%f"), and
  // text escaped by the rules for name (attribute rules, or element-text rules for
  // the empty name).
  void setU08(std::u16string_view name, uint8_t value);
  void setU16(std::u16string_view name, uint16_t value);
  void setU32(std::u16string_view name, uint32_t value);
  void setU64(std::u16string_view name, uint64_t value);  // written signed, as "%I64d"
  void setS08(std::u16string_view name, int8_t value);
  void setS16(std::u16string_view name, int16_t value);
  void setS32(std::u16string_view name, int32_t value);
  void setS64(std::u16string_view name, int64_t value);
  void setFloat(std::u16string_view name, float value);
  void setDouble(std::u16string_view name, double value);
  void setBool(std::u16string_view name, bool value);  // "1" or "0"
  void setText(std::u16string_view name, std::u16string_view text);
  // Arrays as lower-case hex digits without separators: 16 ("%016I64x"), 8, 4 or 2
  // digits per element; AsWords writes each 64-bit element as two "%08x" groups,
  // the 32-bit word at the lower address first.
  void setHex64(std::u16string_view name, const uint64_t* values, size_t count);
  void setHex64AsWords(std::u16string_view name, const uint64_t* values, size_t count);
  void setHex32(std::u16string_view name, const uint32_t* values, size_t count);
  void setHex16(std::u16string_view name, const uint16_t* values, size_t count);
  void setBytes(std::u16string_view name, const uint8_t* bytes, size_t count);

  // The stored (escaped) value of the first record named name, or defaultValue.
  const char16_t* rawAttribute(std::u16string_view name, const char16_t* defaultValue = nullptr) const;
  // Typed getters parse the unescaped value: unsigned kinds with an unsigned decimal
  // parse, signed 8/16/32-bit with a signed 32-bit parse, 64-bit kinds with a signed
  // 64-bit parse, each cut to its width; float and double with a decimal parse (0
  // without a number). bool is true when the text begins with "1" or with the four
  // lower-case letters "true". A missing attribute gives defaultValue.
  bool getBool(std::u16string_view name, bool defaultValue) const;
  uint8_t getU08(std::u16string_view name, uint8_t defaultValue) const;
  uint16_t getU16(std::u16string_view name, uint16_t defaultValue) const;
  uint32_t getU32(std::u16string_view name, uint32_t defaultValue) const;
  uint64_t getU64(std::u16string_view name, uint64_t defaultValue) const;
  int8_t getS08(std::u16string_view name, int8_t defaultValue) const;
  int16_t getS16(std::u16string_view name, int16_t defaultValue) const;
  int32_t getS32(std::u16string_view name, int32_t defaultValue) const;
  int64_t getS64(std::u16string_view name, int64_t defaultValue) const;
  float getFloat(std::u16string_view name, float defaultValue) const;
  double getDouble(std::u16string_view name, double defaultValue) const;
  // The unescaped value (or defaultValue) replaces target's content or is appended to
  // it; returns whether the attribute exists.
  bool getText(StrBuffer& target, std::u16string_view name, std::u16string_view defaultValue, bool append) const;
  // The hex digits of the value as bytes into out (replacing its content): pairs of
  // digits of either case; an odd last digit is ignored. False when missing.
  bool getBytes(std::u16string_view name, col::_array::ArrayU08* out) const;

  // --- Text and files ------------------------------------------------------------
  // Reads one element from text at from into this node (cleared first) and returns
  // the position after it: anything before the first "<" (a byte-order mark, blank
  // lines) and comments are skipped, so the first element becomes this node; without
  // one nothing is read and the end is returned. *complete (when given) is false
  // when the text ended before the element was closed, or nesting passed kMaxDepth.
  size_t parse(std::u16string_view text, size_t from = 0, bool* complete = nullptr);
  // The same from UTF-8 bytes (malformed sequences read as U+FFFD), returning a byte
  // offset.
  size_t parseUtf8(std::string_view bytes, bool* complete = nullptr);

  StrBuffer* toText(StrBuffer* target, bool append) const override;
  std::string toUtf8() const override;
  // The UTF-8 bytes into out, replacing its content.
  void toBytes(col::_array::ArrayU08* out) const;

  // Loads a whole UTF-8 file into this node (a missing or unreadable file leaves it
  // empty and gives false). *complete as for parse.
  bool loadFile(std::u16string_view path, bool* complete = nullptr);
  bool loadFile(file::IPath& path, bool* complete = nullptr);
  // Writes the element as the file's whole content, UTF-8 without byte-order mark,
  // creating missing folders. The file is replaced in one step (a temporary file in
  // the same folder is renamed over it), so a failure or a crash leaves the old
  // content. False when anything failed.
  bool saveFile(std::u16string_view path) const;
  bool saveFile(file::IPath& path) const;

 private:
  template <class Unit>
  friend class Parser;

  // Releases every child with its subtree.
  void releaseChildren();
  // Empties the child list without releasing the children.
  void dropChildList();

  std::u16string name_;
  Attributes attributes_;
  std::vector<Node*> children_;  // owned
};

}  // namespace s::xml
