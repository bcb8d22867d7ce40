// The text dumps of ArrayBase: element lists, the one-line form and the XML form.
#include "s/col/_array/ArrayBase.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::col::_array {

namespace {

// The text to write into: the given one (emptied unless appending), or a new one.
str::strbuffer::StrBuffer* target(str::strbuffer::StrBuffer* text, bool append) {
  if (!text) return str::strbuffer::StrBuffer::create();
  if (!append) text->clear();
  return text;
}

}  // namespace

void ArrayBase::appendSigned(StrBuffer* text, int64_t value) { text->appendInt64(value); }

void ArrayBase::appendUnsigned(StrBuffer* text, uint64_t value) { text->appendUInt64(value); }

ArrayBase::StrBuffer* ArrayBase::elementsText(StrBuffer* text, bool append) const {
  text = target(text, append);
  for (size_t i = 0; i < count_; ++i) {
    if (i) text->append(u' ');
    appendElementText(text, storage_ + (i << widthShift_));
  }
  return text;
}

ArrayBase::StrBuffer* ArrayBase::toText(StrBuffer* text, bool append) const {
  text = target(text, append);
  text->append(std::u16string_view(getRegistrationName()));
  text->append(u" [");
  elementsText(text, true);
  text->append(u']');
  return text;
}

ArrayBase::StrBuffer* ArrayBase::toXml(StrBuffer* text, bool append) const {
  text = target(text, append);
  const std::u16string_view name(getRegistrationName());
  text->append(u'<');
  text->append(name);
  text->append(u" length=\"");
  text->appendUInt64(count_);
  text->append(u"\">");
  elementsText(text, true);
  text->append(u"</");
  text->append(name);
  text->append(u'>');
  return text;
}

}  // namespace s::col::_array
