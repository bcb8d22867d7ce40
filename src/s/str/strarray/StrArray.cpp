#include "s/str/strarray/StrArray.h"

#include "s/base/IComparator.h"

namespace s::str::strarray {
namespace {

using strbuffer::StrBuffer;

// Orders array slots (pointers to StrBuffer pointers) by their texts.
class TextOrder final : public base::IComparator {
 public:
  int compare(const void* a, const void* b) const override {
    return textOf(a)->compareTo(textOf(b)->view());
  }
  int compareIgnoreCase(const void* a, const void* b) const override {
    return textOf(a)->compareToIgnoreCase(textOf(b)->view());
  }

 private:
  static const StrBuffer* textOf(const void* slot) { return *static_cast<StrBuffer* const*>(slot); }
};

class TextOrderIgnoringCase final : public base::IComparator {
 public:
  int compare(const void* a, const void* b) const override { return order_.compareIgnoreCase(a, b); }

 private:
  TextOrder order_;
};

}  // namespace

StrArray::StrArray() { setDisposer(&thread::poolOf<StrBuffer>()); }

void StrArray::reset() {
  ArrayP::reset();  // disposes of the texts and forgets the disposer
  setDisposer(&thread::poolOf<StrBuffer>());
}

void StrArray::append(StrBuffer* text) {
  if (text) ArrayP::append(static_cast<void*>(text));
}

void StrArray::appendCopy(std::u16string_view text) { append(StrBuffer::of(text)); }

size_t StrArray::indexOf(std::u16string_view text, bool ignoreCase) const {
  for (size_t i = 0; i < getCount(); ++i) {
    const StrBuffer* candidate = textAt(i);
    if (ignoreCase ? candidate->equalsIgnoreCase(text) : candidate->equals(text)) return i;
  }
  return kAll;
}

void StrArray::sortTexts(bool ignoreCase, bool descending) {
  static const TextOrder kOrder;
  static const TextOrderIgnoringCase kOrderIgnoringCase;
  if (ignoreCase) {
    sort(kOrderIgnoringCase, descending);
  } else {
    sort(kOrder, descending);
  }
}

}  // namespace s::str::strarray
