#pragma once
// StrArray: an ordered list of texts that owns them. It is a pointer array
// (s::col::_array::ArrayP) whose disposer is the text pool, so every text that
// leaves the list without being handed out (clear, removal, freeStorage, reset,
// destruction) goes back to the pool. popLast/popFirst/takeRange hand texts over
// instead, and the caller then releases them.
//
// Texts are taken over by append(); textAt() returns a text the list keeps (valid
// until it is removed).
#include <cstddef>
#include <string_view>

#include "s/col/_array/ArrayP.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/Owned.h"
#include "s/thread/Pool.h"

namespace s::str::strarray {

class StrArray final : public thread::PooledObject<StrArray, col::_array::ArrayP> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_str_strarray_StrArray";

  StrArray();
  // Frees the storage (texts back to their pool) and keeps owning future texts.
  void reset() override;

  // Takes ownership of text (nullptr is ignored).
  void append(strbuffer::StrBuffer* text);
  void append(thread::Owned<strbuffer::StrBuffer> text) { append(text.detach()); }
  // Appends a new pooled text holding text.
  void appendCopy(std::u16string_view text);

  size_t count() const { return getCount(); }
  // The text at index (index < count()); the list keeps it.
  strbuffer::StrBuffer* textAt(size_t index) const { return getAs<strbuffer::StrBuffer>(index); }
  // The first index whose text equals text (ignoring case through the platform's
  // mapping when asked), or kAll.
  size_t indexOf(std::u16string_view text, bool ignoreCase = false) const;

  // Stable sort by text, in the order of StrBuffer::compareTo / compareToIgnoreCase.
  void sortTexts(bool ignoreCase = false, bool descending = false);
};

}  // namespace s::str::strarray
