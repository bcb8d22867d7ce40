#pragma once
// StrBuffer: the library's text, a growable buffer of UTF-16 code units.
//
// Conventions of this class:
// - Lengths, capacities and indices count code units (char16_t); nothing here
//   knows about surrogate pairs. The block always has room for capacity + 1 units,
//   so a terminating zero can be written after the text without growing; the text
//   itself is not kept zero-terminated (data() writes the zero first).
// - A count n of kAll means "to the end" or "the whole text". A backward search
//   with start kFromEnd (0xFFFFFF), or any start at or past the end, searches from
//   the last unit.
// - Searches report whether they found something and store the index in *at (when
//   at is given). Backward searches look at positions start, start - 1, ..., 0:
//   findLast(text, start) finds the last occurrence beginning at or before start.
// - "IgnoreCase" means two things. The comparisons (compareToIgnoreCase,
//   equalsIgnoreCase, compareFromIgnoreCase, regionEqualsIgnoreCase,
//   startsWithIgnoreCase, endsWithIgnoreCase) use the platform's wide-character
//   case mapping (see CaseMap.h), so "É" equals "é". The searches (find*,
//   replaceAllIgnoreCase, prefixBefore*IgnoreCase), unitAtLower/Upper and
//   hashCodeIgnoreCase fold ASCII letters only.
// - Growth follows s/col/Growth.h: appending one unit grows by one step only when
//   the buffer is full; appending n units makes room by repeated steps. Sizes are
//   checked; running out of address space or memory is fatal (s/base/Memory.h).
// - Operations that return a new text (clone, substring, prefixBefore*) take it
//   from the text pool and hand it over in a holder that releases it.
// - As a stream (IInputStream/IOutputStream), positions are byte offsets into the
//   UTF-16 memory of the text (two bytes per unit, in memory order). Writing past
//   the end zero-fills any gap and raises the length to cover the written bytes.
//
// Pooled instances come from create() / of() / ofUtf8() and go back with release().
// A StrBuffer may also live as a plain member or local (constructed directly); such
// an object belongs to its scope and must never be released.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "s/base/IObject.h"
#include "s/io/IInputStream.h"
#include "s/io/IOutputStream.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Owned.h"
#include "s/thread/Pool.h"

namespace s::col::_array {
class ArrayU08;
}
namespace s::digest {
class IDigest;
}
namespace s::str::strarray {
class StrArray;
}

namespace s::str::strbuffer {

class Iterator;

// The interfaces a text implements, in protocol order.
class StrBufferBases : public base::IObject,
                       public io::IInputStream,
                       public io::IOutputStream,
                       public thread::IPoolable {};

class StrBuffer final : public thread::PooledObject<StrBuffer, StrBufferBases> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_str_strbuffer_StrBuffer";
  static constexpr size_t kAll = static_cast<size_t>(-1);
  static constexpr size_t kFromEnd = 0xFFFFFF;
  // Code pages for the code-page conversions.
  static constexpr uint32_t kCodePageDefault = 0;  // the system's default code page
  static constexpr uint32_t kCodePageUtf16Le = 1200;
  static constexpr uint32_t kCodePageUtf16Be = 1201;
  static constexpr uint32_t kCodePageUtf8 = 65001;

  StrBuffer() = default;
  explicit StrBuffer(std::u16string_view text) { assign(text); }
  explicit StrBuffer(const char16_t* text) { assign(std::u16string_view(text ? text : u"")); }
  // From UTF-8 bytes (malformed input becomes U+FFFD).
  explicit StrBuffer(std::string_view utf8) { assignUtf8(utf8); }
  StrBuffer(StrBuffer&& other) noexcept;
  StrBuffer& operator=(StrBuffer&& other) noexcept;
  StrBuffer(const StrBuffer&) = delete;
  StrBuffer& operator=(const StrBuffer&) = delete;
  ~StrBuffer() override;

  // A pooled text holding text / the UTF-8 bytes decoded.
  static thread::Owned<StrBuffer> of(std::u16string_view text);
  static thread::Owned<StrBuffer> ofUtf8(std::string_view utf8);

  // --- Object protocol ---------------------------------------------------------
  // Without a comparator, texts compare their UTF-16 memory byte by byte (unsigned,
  // in memory order) over the shorter length, then the shorter text first. Objects
  // that are not texts fall back to IComparable's order.
  int compareTo(const base::IComparable* other, const base::IComparator* comparator = nullptr) const override;
  // Unit by unit through the platform's lower-case mapping, then by length.
  int compareToIgnoreCase(const base::IComparable* other,
                          const base::IComparator* comparator = nullptr) const override;
  bool equals(const base::IComparable* other, const base::IComparator* comparator = nullptr) const override;
  bool equalsIgnoreCase(const base::IComparable* other,
                        const base::IComparator* comparator = nullptr) const override;
  // h = rotateLeft(h, 1) ^ unit over the units, from h = 0.
  uint32_t hashCode() const override;
  // The same over the units with A-Z folded to a-z. Only ASCII folds here, while
  // equalsIgnoreCase follows the platform's mapping: "É" and "é" are equal ignoring
  // case but hash differently, so case-insensitive hash tables must keep keys whose
  // case differs only beyond ASCII in one spelling.
  uint32_t hashCodeIgnoreCase() const override;
  void reset() override { freeStorage(); }

  int compareTo(std::u16string_view text) const;
  int compareToIgnoreCase(std::u16string_view text) const;
  bool equals(std::u16string_view text) const { return view() == text; }
  bool equalsIgnoreCase(std::u16string_view text) const;
  bool operator==(std::u16string_view text) const { return view() == text; }

  // --- Storage -----------------------------------------------------------------
  size_t length() const { return length_; }
  // Sets the length without touching the units (the caller wrote them through
  // units()). A length beyond the capacity grows the block to exactly that length
  // and zero-fills the new units.
  void setLength(size_t length);
  size_t capacity() const { return capacity_; }
  bool isEmpty() const { return length_ == 0; }
  // Capacity at least n; when it grows, to exactly n.
  void reserve(size_t n);
  // One growth step.
  void growOneStep();
  // Capacity at least n, by growth steps.
  void ensureCapacity(size_t n);
  // Length and stream position 0; the block is kept.
  void clear();
  // Frees the block: capacity, length and position 0.
  void freeStorage();

  // The raw units (nullptr while there is no block), not zero-terminated.
  char16_t* units() { return units_; }
  const char16_t* units() const { return units_; }
  // The units followed by a zero, written now (so this is a write, like any other
  // change to the text); a shared empty text when there is no block. Valid until
  // the text changes.
  const char16_t* data() const;
  const char16_t* terminate() { return data(); }
  std::u16string_view view() const { return {units_, length_}; }
  // Pointer to the unit at index (index <= length).
  char16_t* unitPointer(size_t index) { return units_ + index; }
  const char16_t* unitPointer(size_t index) const { return units_ + index; }

  // --- Units and case ----------------------------------------------------------
  char16_t unitAt(size_t index) const { return units_[index]; }
  char16_t unitAtLower(size_t index) const;  // ASCII letters only
  char16_t unitAtUpper(size_t index) const;  // ASCII letters only
  void reverse();
  void toLowerCase();
  void toUpperCase();
  // Lower-case, then upper-case the first unit when it is a-z.
  void capitalize();

  // --- Searching ---------------------------------------------------------------
  bool findUnit(char16_t unit, size_t start = 0, size_t* at = nullptr) const;
  bool findUnitIgnoreCase(char16_t unit, size_t start = 0, size_t* at = nullptr) const;
  bool findAnyOf(std::u16string_view set, size_t start = 0, size_t* at = nullptr) const;
  bool findAnyOfIgnoreCase(std::u16string_view set, size_t start = 0, size_t* at = nullptr) const;
  bool findLastUnit(char16_t unit, size_t start = kFromEnd, size_t* at = nullptr) const;
  bool findLastUnitIgnoreCase(char16_t unit, size_t start = kFromEnd, size_t* at = nullptr) const;
  bool findLastAnyOf(std::u16string_view set, size_t start = kFromEnd, size_t* at = nullptr) const;
  bool findLastAnyOfIgnoreCase(std::u16string_view set, size_t start = kFromEnd, size_t* at = nullptr) const;
  // The empty text is found at start (when start <= length).
  bool find(std::u16string_view text, size_t start = 0, size_t* at = nullptr) const;
  bool findIgnoreCase(std::u16string_view text, size_t start = 0, size_t* at = nullptr) const;
  bool findLast(std::u16string_view text, size_t start = kFromEnd, size_t* at = nullptr) const;
  bool findLastIgnoreCase(std::u16string_view text, size_t start = kFromEnd, size_t* at = nullptr) const;

  // Whether the n units from index equal the n units of other from otherStart
  // (false when either range runs past its text). With n = kAll the rest of this
  // text from index must equal the rest of other from otherStart exactly.
  bool regionEquals(size_t index, std::u16string_view other, size_t otherStart = 0, size_t n = kAll) const;
  bool regionEqualsIgnoreCase(size_t index, std::u16string_view other, size_t otherStart = 0,
                              size_t n = kAll) const;
  bool startsWith(std::u16string_view text) const;
  bool startsWithIgnoreCase(std::u16string_view text) const;
  bool endsWith(std::u16string_view text) const;
  bool endsWithIgnoreCase(std::u16string_view text) const;
  // Compares the text from index with other (or other's first n units) in the order
  // of compareTo / compareToIgnoreCase: this text's part is at most as long as the
  // compared part of other. An index beyond the end gives -1.
  int compareFrom(size_t index, std::u16string_view other, size_t n = kAll) const;
  int compareFromIgnoreCase(size_t index, std::u16string_view other, size_t n = kAll) const;

  // --- Trimming (white space: blank, LF, U+3000, tab, CR) ----------------------
  void trimRight(size_t minLength = 0);
  void trimRightOf(std::u16string_view set, size_t minLength = 0);
  void trimLeft();
  void trimLeftOf(std::u16string_view set);
  void trim() { trimRight(); trimLeft(); }
  static bool isWhiteSpace(char16_t unit);

  // --- Building ----------------------------------------------------------------
  void append(const char16_t* units, size_t count);
  void append(std::u16string_view text) { append(text.data(), text.size()); }
  void append(const StrBuffer& text) { append(text.units_, text.length_); }
  void append(char16_t unit);
  void prepend(const char16_t* units, size_t count);
  void prepend(std::u16string_view text) { prepend(text.data(), text.size()); }
  // Each byte widened to one unit (Latin-1).
  void appendLatin1(const char* bytes, size_t count);
  void appendLatin1(const char* zeroTerminated);
  void assign(std::u16string_view text);
  void assign(const StrBuffer& text) { assign(text.view()); }
  StrBuffer& operator=(std::u16string_view text) {
    assign(text);
    return *this;
  }

  // --- Numbers ("%d", "%u", "%I64d", "%I64u", "%f") -----------------------------
  void appendInt64(int64_t value);
  void appendUInt64(uint64_t value);
  void appendInt32(int32_t value);
  void appendInt16(int16_t value) { appendInt32(value); }
  void appendInt8(int8_t value) { appendInt32(value); }
  void appendUInt32(uint32_t value);
  void appendUInt16(uint16_t value) { appendUInt32(value); }
  void appendUInt8(uint8_t value) { appendUInt32(value); }
  void appendDouble(double value);
  void appendFloat(float value) { appendDouble(value); }
  // The same forms replacing the text.
  void setInt64(int64_t value) { clear(); appendInt64(value); }
  void setUInt64(uint64_t value) { clear(); appendUInt64(value); }
  void setInt32(int32_t value) { clear(); appendInt32(value); }
  void setInt16(int16_t value) { clear(); appendInt16(value); }
  void setInt8(int8_t value) { clear(); appendInt8(value); }
  void setUInt32(uint32_t value) { clear(); appendUInt32(value); }
  void setUInt16(uint16_t value) { clear(); appendUInt16(value); }
  void setUInt8(uint8_t value) { clear(); appendUInt8(value); }
  void setDouble(double value) { clear(); appendDouble(value); }
  void setFloat(float value) { clear(); appendFloat(value); }

  // Hexadecimal, lower case, fixed width: "%016I64x", "%08x", "%04x", "%02x" per value.
  void appendHex64(const uint64_t* values, size_t count);
  void appendHex64(uint64_t value) { appendHex64(&value, 1); }
  void appendHex32(const uint32_t* values, size_t count);
  void appendHex32(uint32_t value) { appendHex32(&value, 1); }
  void appendHex16(const uint16_t* values, size_t count);
  void appendHex16(uint16_t value) { appendHex16(&value, 1); }
  void appendHex8(const uint8_t* bytes, size_t count);
  void appendHex8(uint8_t value) { appendHex8(&value, 1); }
  // Each 64-bit value as two "%08x" groups, the 32-bit word at the lower address
  // first (on little-endian machines: the low word first).
  void appendHex64AsWords(const uint64_t* values, size_t count);

  // Decimal parsing from index `from`: leading white space, then an optional sign,
  // then digits up to the first non-digit; 0 without digits. Values beyond the
  // type's range saturate to its minimum or maximum; a negative value read as an
  // unsigned type gives 0.
  int64_t parseInt64(size_t from = 0) const;
  uint64_t parseUInt64(size_t from = 0) const;
  int32_t parseInt32(size_t from = 0) const;
  uint32_t parseUInt32(size_t from = 0) const;
  int16_t parseInt16(size_t from = 0) const;
  uint16_t parseUInt16(size_t from = 0) const;
  int8_t parseInt8(size_t from = 0) const;
  uint8_t parseUInt8(size_t from = 0) const;
  // Leading white space, then a decimal number with optional fraction and
  // exponent, or "inf"/"infinity"/"nan"; 0 without one. Finite values beyond the
  // type's range saturate to its largest finite value; tiny ones become 0.
  double parseDouble(size_t from = 0) const;
  float parseFloat(size_t from = 0) const;

  // Not empty and only 0-9, a-f, A-F.
  bool isHex() const;
  // The value of the hex digit at index; 0 for anything else.
  int hexDigitAt(size_t index) const;
  // Each pair of hex digits gives one byte (a non-digit counts as 0); an odd last
  // digit is ignored. Writes at most capacity bytes; returns the number written.
  size_t hexToBytes(uint8_t* out, size_t capacity) const;
  // The same into a byte array, replacing its content; returns the byte count.
  size_t hexToBytes(col::_array::ArrayU08* out) const;
  // Not empty, only digits, with one leading '-' allowed when the text is longer
  // than one unit.
  bool isInteger() const;

  // --- Lists (new StrArrays, handed over in a holder) ---------------------------
  // The pieces between occurrences of separator; empty pieces are dropped.
  thread::Owned<strarray::StrArray> split(char16_t separator) const;
  // The distinct words: runs of units that are not white space, each kept once
  // (exact comparison), in the order of their first appearance.
  thread::Owned<strarray::StrArray> splitWords() const;

  // --- Editing -----------------------------------------------------------------
  // Replaces every occurrence of from by to, left to right, never re-scanning
  // replaced text. Returns the number of replacements. An empty `from` does nothing.
  size_t replaceAll(std::u16string_view from, std::u16string_view to);
  size_t replaceAllIgnoreCase(std::u16string_view from, std::u16string_view to);
  // Keeps [from, to) in place; to is clamped to the length, from to `to`.
  void keepRange(size_t from, size_t to);

  // --- New texts -----------------------------------------------------------------
  thread::Owned<StrBuffer> clone() const;
  // The text of [from, to), to clamped to the length; empty when from >= to.
  thread::Owned<StrBuffer> substring(size_t from, size_t to = kAll) const;
  // Everything before the last occurrence; the empty text when there is none.
  thread::Owned<StrBuffer> prefixBeforeLast(char16_t unit) const;
  thread::Owned<StrBuffer> prefixBeforeLastIgnoreCase(char16_t unit) const;
  thread::Owned<StrBuffer> prefixBeforeLastAnyOf(std::u16string_view set) const;
  thread::Owned<StrBuffer> prefixBeforeLastAnyOfIgnoreCase(std::u16string_view set) const;
  thread::Owned<StrBuffer> prefixBeforeLast(std::u16string_view text) const;
  thread::Owned<StrBuffer> prefixBeforeLastIgnoreCase(std::u16string_view text) const;

  // --- Encodings -------------------------------------------------------------------
  // UTF-8 (see Utf8.h for malformed input: U+FFFD per bad sequence; unpaired
  // surrogates encode as U+FFFD).
  std::string toUtf8() const;
  void appendUtf8To(std::string& out) const;
  void assignUtf8(std::string_view utf8);
  void appendUtf8(std::string_view utf8);
  // bytes of count bytes, or up to the first zero byte when count is kAll;
  // appended, or replacing the text.
  void fromUtf8(const char* bytes, size_t count, bool append);
  // Lossless forms for file names on Linux: every byte of a malformed sequence
  // becomes one unit U+DC80-U+DCFF, and those units (when not part of a surrogate
  // pair) turn back into their bytes, so any byte string round-trips exactly.
  void assignUtf8Lossless(std::string_view bytes);
  void appendUtf8Lossless(std::string_view bytes);
  std::string toUtf8Lossless() const;
  // The UTF-8 bytes into a byte array, replacing its content. With countZero a
  // terminating zero byte is part of the count; without, a zero is written after
  // the bytes but not counted. Returns the count.
  size_t toUtf8(col::_array::ArrayU08* out, bool countZero) const;

  // Code pages: kCodePageUtf16Le copies the units, kCodePageUtf16Be swaps their
  // bytes, kCodePageUtf8 is UTF-8; any other number goes through the system's
  // conversion (WideCharToMultiByte/MultiByteToWideChar on Windows, iconv on Linux,
  // where the default code page is UTF-8). Characters the code page lacks become
  // '?'; undecodable bytes become U+FFFD. False (output unchanged) when the system
  // does not know the code page.
  bool toCodePage(uint32_t codePage, std::string& out) const;
  // Into a byte array, replacing its content; countZero as for toUtf8 (a UTF-16
  // terminator is two zero bytes).
  bool toCodePage(uint32_t codePage, col::_array::ArrayU08* out, bool countZero) const;
  bool assignCodePage(uint32_t codePage, std::string_view bytes);
  bool appendCodePage(uint32_t codePage, std::string_view bytes);

  // --- Digests ---------------------------------------------------------------------
  // Feeds the UTF-16 bytes of the text (memory order) into digest and finishes it.
  void digest(digest::IDigest* digest) const;
  // The MD5 digest of the UTF-16 bytes.
  void md5(uint8_t out[16]) const;

  // --- Streams -------------------------------------------------------------------
  bool read(void* buffer, size_t count, size_t* readCount) override;
  bool write(const void* buffer, size_t count, size_t* writtenCount) override;
  int64_t getPosition() const override { return static_cast<int64_t>(position_); }
  void rewind() override { position_ = 0; }
  // Any position >= 0 is accepted; reading there returns nothing.
  bool seek(int64_t position) override;

  // --- Iterators (pooled; the caller's holder releases them) ---------------------
  thread::Owned<Iterator> iterator() const;              // before the first unit
  thread::Owned<Iterator> iteratorFromEnd() const;       // after the last unit
  thread::Owned<Iterator> iteratorAt(size_t index) const;
  // previous() then yields the unit at index first.
  thread::Owned<Iterator> iteratorBackwardFrom(size_t index) const;

 private:
  // Makes room for `extra` more units by growth steps; fatal when the sum overflows.
  void growFor(size_t extra);
  // Reallocates the block to exactly capacity units (+1 for the terminator).
  void reallocate(size_t capacity);
  // Appends count units of ASCII text.
  void appendAscii(const char* text, size_t count);
  bool findText(std::u16string_view text, size_t start, bool ignoreCase, size_t* at) const;
  bool findLastText(std::u16string_view text, size_t start, bool ignoreCase, size_t* at) const;
  size_t replaceAllImpl(std::u16string_view from, std::u16string_view to, bool ignoreCase);
  // Compares a and b in the order of compareTo (memory bytes) or, ignoring case,
  // unit by unit through the platform's lower-case mapping; then by length.
  static int compareViews(std::u16string_view a, std::u16string_view b, bool ignoreCase);
  void decodeUtf8Into(std::string_view bytes, bool append, bool lossless);
  std::string encodeAllUtf8(bool lossless) const;

  char16_t* units_ = nullptr;
  size_t length_ = 0;
  size_t capacity_ = 0;
  size_t position_ = 0;
};

}  // namespace s::str::strbuffer
