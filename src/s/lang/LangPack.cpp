#include "s/lang/LangPack.h"

namespace s::lang {

void LangPack::reset() {
  tag_.freeStorage();
  englishName_.freeStorage();
  trueName_.freeStorage();
  ids_.freeStorage();
  // The index points into the string lists: empty it first.
  stringIndex_.clear();
  texts_.reset();
  stringIds_.reset();
  stringTexts_.reset();
  translatedCount_ = 0;
}

void LangPack::setNames(std::u16string_view tag, std::u16string_view englishName, std::u16string_view trueName) {
  tag_.assign(tag);
  englishName_.assign(englishName);
  trueName_.assign(trueName);
}

void LangPack::addText(int32_t id, std::u16string_view text, Origin origin) {
  // An entry counts once, however often its language's element repeats.
  if (origin == Origin::kOwn && !holds(id)) ++translatedCount_;
  ids_.append(id);
  texts_.appendCopy(text);
}

bool LangPack::holds(int32_t id) const { return ids_.indexOf(id) != col::_array::ArrayS32::kAll; }

const str::strbuffer::StrBuffer* LangPack::findText(int32_t id) const {
  const size_t index = ids_.indexOf(id);
  return index == col::_array::ArrayS32::kAll ? nullptr : texts_.textAt(index);
}

void LangPack::addText(std::u16string_view id, std::u16string_view text, Origin origin) {
  thread::Owned<StrBuffer> key = StrBuffer::of(id);
  if (stringIndex_.contains(key.get())) return;
  thread::Owned<StrBuffer> value = StrBuffer::of(text);
  stringIndex_.put(key.get(), value.get());
  stringIds_.append(std::move(key));
  stringTexts_.append(std::move(value));
  if (origin == Origin::kOwn) ++translatedCount_;
}

const str::strbuffer::StrBuffer* LangPack::findText(std::u16string_view id) const {
  const StrBuffer probe(id);
  return static_cast<const StrBuffer*>(stringIndex_.get(&probe));
}

}  // namespace s::lang
