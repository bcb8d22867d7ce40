#pragma once
// LangPack: the texts of one language, as the localizer builds them from the
// language document (see Localizer.h).
//
// - A pack is named three ways: its tag (the element name of its texts in the
//   document, such as "jpn"), its English name (the key for selection and saving,
//   such as "Japanese") and its true name (shown in the language menu, "日本語").
// - Texts are held by numeric id, in the order they were added, and by string id
//   (a hash index, case-sensitive, finds them). A lookup takes the first text of an
//   id; an id the pack does not hold gives none.
// - Every text is either the language's own translation or the fallback the
//   localizer gives to a pack that has none (the entry's first text, English in the
//   program's document); translatedCount() counts the entries translated.
// - Packs are not changed after loading and are read from one thread.
//
// Take packs with LangPack::create(); the localizer owns the ones it builds.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "s/base/IObject.h"
#include "s/col/_array/ArrayS32.h"
#include "s/map/MapTable.h"
#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pool.h"

namespace s::lang {

class LangPackBases : public base::IObject, public thread::IPoolable {};

class LangPack final : public thread::PooledObject<LangPack, LangPackBases> {
 public:
  using StrBuffer = str::strbuffer::StrBuffer;
  static constexpr char16_t kRegistrationName[] = u"s_lang_LangPack";

  LangPack() = default;
  ~LangPack() override = default;
  LangPack(const LangPack&) = delete;
  LangPack& operator=(const LangPack&) = delete;

  // No names, no texts.
  void reset() override;

  const StrBuffer& tag() const { return tag_; }
  const StrBuffer& englishName() const { return englishName_; }
  const StrBuffer& trueName() const { return trueName_; }
  void setNames(std::u16string_view tag, std::u16string_view englishName, std::u16string_view trueName);

  // Whether the texts are translations of the pack's own or fallbacks.
  enum class Origin { kOwn, kFallback };

  // --- Numeric ids ---------------------------------------------------------------
  void addText(int32_t id, std::u16string_view text, Origin origin);
  // Whether the pack holds a text for id (a linear search, as lookups do).
  bool holds(int32_t id) const;
  // The first text of id, or none. The pack keeps it.
  const StrBuffer* findText(int32_t id) const;
  size_t idCount() const { return ids_.getCount(); }
  int32_t idAt(size_t index) const { return ids_.get(index); }
  const StrBuffer& textAt(size_t index) const { return *texts_.textAt(index); }

  // --- String ids ----------------------------------------------------------------
  // Adds (id, text) unless the pack already holds a text for id (the hash index
  // keeps one text per id: the first).
  void addText(std::u16string_view id, std::u16string_view text, Origin origin);
  bool holds(std::u16string_view id) const { return findText(id) != nullptr; }
  const StrBuffer* findText(std::u16string_view id) const;
  size_t stringIdCount() const { return stringIds_.count(); }
  const StrBuffer& stringIdAt(size_t index) const { return *stringIds_.textAt(index); }
  const StrBuffer& stringTextAt(size_t index) const { return *stringTexts_.textAt(index); }

  // The entries of the document (numeric and string ids) the pack translates.
  size_t translatedCount() const { return translatedCount_; }

 private:
  StrBuffer tag_;
  StrBuffer englishName_;
  StrBuffer trueName_;
  col::_array::ArrayS32 ids_;
  str::strarray::StrArray texts_;  // parallel to ids_
  str::strarray::StrArray stringIds_;
  str::strarray::StrArray stringTexts_;  // parallel to stringIds_
  map::MapTable stringIndex_;            // a text of stringIds_ -> its text of stringTexts_
  size_t translatedCount_ = 0;
};

}  // namespace s::lang
