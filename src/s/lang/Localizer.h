#pragma once
// Localizer: every text the user sees, by numeric id, in the current language.
//
// The language document (res/lang.xml, carried in the program as the resource
// "IDR_XML" 130) is read once into one LangPack per language:
//
//   <lang>
//     <languages>
//       <entry tagName="jpn" engName="Japanese" trueName="日本語"/>   (pack order)
//     </languages>
//     <entries>
//       <entry id="609460">a translator's note, ignored
//         <eng>Done!</eng><jpn>完了!</jpn>
//       </entry>
//     </entries>
//   </lang>
//
// - An id whose first character is a decimal digit is numeric (a signed 32-bit
//   decimal, saturated); any other id, the empty one included, is a string id.
// - Each child of an entry adds its text to the first pack whose tag equals the
//   child's name ignoring case; children of no known tag are ignored. The first
//   child's text is the entry's fallback, which every pack still without the id then
//   gets: every pack answers every id of the document.
// - Texts follow the element-text rules of the XML model ("&#160;" is a blank that
//   survives trimming).
// - On Windows before Vista the Venetian pack ("vec") shows "ł" for "ƚ", which
//   older fonts lack.
//
// Selection: a pack is found by English name ignoring case; failing that, a name
// starting with "Chinese", "Portuguese" or "Serbian" finds the pack of that
// language the document has (Simplified before Traditional Chinese, Brazilian
// before Portugal's Portuguese, Cyrillic before Latin Serbian). Selecting a name no
// pack answers selects "English", else the first pack. When the current pack
// changes, every listener hears onEvent(localizer, kEventLanguageChanged), in the
// order they registered.
//
// The localizer is used from the user-interface thread only. Take it with load() or
// Localizer::create(); give it back with release().
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "s/base/IObject.h"
#include "s/col/_array/ArrayP.h"
#include "s/lang/LangPack.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Owned.h"
#include "s/thread/Pool.h"

namespace s::archive {
class IResourceSource;
}
namespace s::gui::events {
class IEventListener;
}
namespace s::map {
class IMappedData;
}
namespace s::xml {
class Node;
}

namespace s::lang {

class LocalizerBases : public base::IObject, public thread::IPoolable {};

class Localizer final : public thread::PooledObject<Localizer, LocalizerBases> {
 public:
  using StrBuffer = str::strbuffer::StrBuffer;
  static constexpr char16_t kRegistrationName[] = u"s_lang_Localizer";
  // Where the program carries its language document.
  static constexpr char16_t kResourceType[] = u"IDR_XML";
  static constexpr uint32_t kResourceNumber = 130;
  // The one id hasText() asks about; the document leaves it out, so the program
  // shows its own English message in its place.
  static constexpr int32_t kProbeId = 608299;
  // The saved choice: this key's value under the empty name.
  static constexpr char16_t kLanguageKey[] = u"Language";
  static constexpr int kEventLanguageChanged = 0;

  Localizer();
  ~Localizer() override;
  Localizer(const Localizer&) = delete;
  Localizer& operator=(const Localizer&) = delete;

  // No packs, no listeners, the system's language and version.
  void reset() override;

  // A localizer with the packs of the document held by resource (type, number),
  // selected by the system language. A missing resource, or a document without
  // "languages" or "entries", gives fewer packs or none.
  static thread::Owned<Localizer> load(archive::IResourceSource& resources, std::u16string_view type = kResourceType,
                                       uint32_t number = kResourceNumber);
  // The same into this localizer (its packs are replaced).
  void loadFrom(archive::IResourceSource& resources, std::u16string_view type = kResourceType,
                uint32_t number = kResourceNumber);
  // Replaces the packs by those of the document's root element; none is current.
  void build(const xml::Node& root);

  // The start-up selection, once the packs are loaded and selected by the system
  // language: the saved choice (key "Language", empty value name) is selected, and
  // when nothing was saved yet, or the pack now current has another English name
  // than the one saved (ignoring case), its name is saved. Flushing is the store's
  // owner's business.
  void selectSaved(map::IMappedData& store);

  // --- Texts of the current pack (the pack keeps them) ------------------------------
  // The text of id; empty when the id is unknown or there are no packs.
  std::u16string_view getText(int32_t id);
  std::u16string_view getText(std::u16string_view stringId);
  // Whether the current pack has a non-empty text for kProbeId.
  bool hasText();

  // --- Selection -----------------------------------------------------------------
  // Selects by English name (see above); listeners hear of a change.
  void selectLanguage(std::u16string_view englishName);
  // Selects the pack at index (the language menu's order); an index past the packs
  // changes nothing.
  void selectLanguageAt(size_t index);
  // Selects by the system language name (see systemLanguage()).
  void selectSystemLanguage();
  // The current pack, selected by the system language (or the first pack) when
  // none is yet; none without packs.
  LangPack* currentPack();
  // The pack an English name selects, with the fallbacks of selection but without
  // the final "English" / first-pack step; none when there is none.
  LangPack* findPack(std::u16string_view englishName) const;

  size_t packCount() const { return packs_.getCount(); }
  LangPack* packAt(size_t index) const { return packs_.getAs<LangPack>(index); }

  // --- Listeners -------------------------------------------------------------------
  // Registers a window that shows texts (not owned); it hears of every change of
  // the current pack until it is removed.
  void addListener(gui::events::IEventListener* listener);
  void removeListener(gui::events::IEventListener* listener);

  // --- The system --------------------------------------------------------------------
  // The language name selection starts from: systemLanguageName() unless set.
  std::u16string_view systemLanguage() const;
  void setSystemLanguage(std::u16string_view englishName);
  // Whether packs are built for a Windows older than Vista (see above):
  // systemIsOlderThanVista() unless set. Takes effect at the next build.
  bool isOlderThanVista() const { return olderThanVista_; }
  void setOlderThanVista(bool older) { olderThanVista_ = older; }

 private:
  // The first pack whose English name equals name, ignoring case.
  LangPack* packNamed(std::u16string_view name) const;
  // The first pack whose tag equals tag, ignoring case.
  LangPack* packTagged(std::u16string_view tag) const;
  // Makes a pack current if none is: by the system language, else the first one.
  void ensureCurrent();
  void makeCurrent(LangPack* pack);
  void addEntry(const xml::Node& entry);
  // Adds text to pack under id (numeric or string), with the Venetian letter rule.
  template <class Id>
  void addTo(LangPack* pack, Id id, std::u16string_view text, LangPack::Origin origin);

  col::_array::ArrayP packs_;  // LangPack, owned, in document order
  LangPack* current_ = nullptr;
  col::_array::ArrayP listeners_;  // IEventListener, not owned
  StrBuffer systemLanguage_;       // empty: systemLanguageName()
  bool olderThanVista_;
  StrBuffer scratch_;  // a text being added, while the Venetian rule changes it
};

}  // namespace s::lang
