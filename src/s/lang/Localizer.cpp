#include "s/lang/Localizer.h"

#include <vector>

#include "s/archive/IResourceSource.h"
#include "s/col/_array/ArrayU08.h"
#include "s/gui/events/IEventListener.h"
#include "s/lang/SystemLanguage.h"
#include "s/lang/SystemVersion.h"
#include "s/map/IMappedData.h"
#include "s/xml/Node.h"

namespace s::lang {

using str::strbuffer::StrBuffer;

namespace {

constexpr char16_t kVenetianTag[] = u"vec";
// "ƚ" (Latin small letter l with bar) and the "ł" older fonts show in its place.
constexpr char16_t kBarredL = u'\u019A';
constexpr char16_t kStrokedL = u'\u0142';

bool isDecimalDigit(char16_t unit) { return unit >= u'0' && unit <= u'9'; }

}  // namespace

Localizer::Localizer() : olderThanVista_(systemIsOlderThanVista()) {
  packs_.setDisposer(&thread::poolOf<LangPack>());
}

Localizer::~Localizer() { packs_.freeStorage(); }

void Localizer::reset() {
  packs_.freeStorage();
  current_ = nullptr;
  listeners_.freeStorage();
  systemLanguage_.freeStorage();
  olderThanVista_ = systemIsOlderThanVista();
  scratch_.freeStorage();
}

thread::Owned<Localizer> Localizer::load(archive::IResourceSource& resources, std::u16string_view type,
                                         uint32_t number) {
  thread::Owned<Localizer> localizer = thread::make<Localizer>();
  localizer->loadFrom(resources, type, number);
  return localizer;
}

void Localizer::loadFrom(archive::IResourceSource& resources, std::u16string_view type, uint32_t number) {
  thread::Owned<col::_array::ArrayU08> bytes = thread::make<col::_array::ArrayU08>();
  thread::Owned<xml::Node> root = thread::make<xml::Node>();
  if (resources.readResource(type, number, bytes.get())) {
    root->parseUtf8({reinterpret_cast<const char*>(bytes->data()), bytes->getCount()});
  }
  build(*root);
  selectSystemLanguage();
}

// --- Building --------------------------------------------------------------------

void Localizer::build(const xml::Node& root) {
  packs_.clear();
  current_ = nullptr;
  if (const xml::Node* languages = root.findChild(u"languages")) {
    StrBuffer tag, englishName, trueName;
    for (size_t i = 0; i < languages->childCount(); ++i) {
      const xml::Node* language = languages->childAt(i);
      if (!language->nameEquals(u"entry")) continue;
      language->getText(tag, u"tagName", u"", false);
      language->getText(englishName, u"engName", u"", false);
      language->getText(trueName, u"trueName", u"", false);
      LangPack* pack = LangPack::create();
      pack->setNames(tag.view(), englishName.view(), trueName.view());
      packs_.append(pack);
    }
  }
  if (const xml::Node* entries = root.findChild(u"entries")) {
    for (size_t i = 0; i < entries->childCount(); ++i) {
      const xml::Node* entry = entries->childAt(i);
      if (entry->nameEquals(u"entry")) addEntry(*entry);
    }
  }
}

void Localizer::addEntry(const xml::Node& entry) {
  StrBuffer idText, text, fallback;
  entry.getText(idText, u"id", u"", false);
  const bool numeric = idText.length() > 0 && isDecimalDigit(idText.unitAt(0));
  const int32_t id = numeric ? idText.parseInt32() : 0;
  for (size_t i = 0; i < entry.childCount(); ++i) {
    const xml::Node* child = entry.childAt(i);
    // The element's text; a translator's note directly inside the entry is no child.
    child->getText(text, u"", u"", false);
    if (i == 0) fallback.assign(text);
    LangPack* pack = packTagged(child->name());
    if (!pack) continue;
    if (numeric) {
      addTo(pack, id, text.view(), LangPack::Origin::kOwn);
    } else {
      addTo(pack, idText.view(), text.view(), LangPack::Origin::kOwn);
    }
  }
  for (size_t i = 0; i < packCount(); ++i) {
    LangPack* pack = packAt(i);
    if (numeric ? pack->holds(id) : pack->holds(idText.view())) continue;
    if (numeric) {
      addTo(pack, id, fallback.view(), LangPack::Origin::kFallback);
    } else {
      addTo(pack, idText.view(), fallback.view(), LangPack::Origin::kFallback);
    }
  }
}

template <class Id>
void Localizer::addTo(LangPack* pack, Id id, std::u16string_view text, LangPack::Origin origin) {
  if (olderThanVista_ && pack->tag().equalsIgnoreCase(kVenetianTag) &&
      text.find(kBarredL) != std::u16string_view::npos) {
    scratch_.assign(text);
    for (size_t i = 0; i < scratch_.length(); ++i) {
      if (scratch_.unitAt(i) == kBarredL) scratch_.units()[i] = kStrokedL;
    }
    text = scratch_.view();
  }
  pack->addText(id, text, origin);
}

// --- Texts -----------------------------------------------------------------------

std::u16string_view Localizer::getText(int32_t id) {
  const LangPack* pack = currentPack();
  const StrBuffer* text = pack ? pack->findText(id) : nullptr;
  return text ? text->view() : std::u16string_view();
}

std::u16string_view Localizer::getText(std::u16string_view stringId) {
  const LangPack* pack = currentPack();
  const StrBuffer* text = pack ? pack->findText(stringId) : nullptr;
  return text ? text->view() : std::u16string_view();
}

bool Localizer::hasText() { return !getText(kProbeId).empty(); }

// --- Selection -------------------------------------------------------------------

LangPack* Localizer::packNamed(std::u16string_view name) const {
  for (size_t i = 0; i < packCount(); ++i) {
    if (packAt(i)->englishName().equalsIgnoreCase(name)) return packAt(i);
  }
  return nullptr;
}

LangPack* Localizer::packTagged(std::u16string_view tag) const {
  for (size_t i = 0; i < packCount(); ++i) {
    if (packAt(i)->tag().equalsIgnoreCase(tag)) return packAt(i);
  }
  return nullptr;
}

LangPack* Localizer::findPack(std::u16string_view englishName) const {
  if (LangPack* pack = packNamed(englishName)) return pack;
  // A language the document carries in one variety only, or a name that gives no
  // variety ("Chinese"), takes the variety the document has.
  struct Family {
    std::u16string_view prefix, first, second;
  };
  static constexpr Family kFamilies[] = {
      {u"Chinese", u"CHINESE_SIMPLIFIED", u"CHINESE_TRADITIONAL"},
      {u"Portuguese", u"PORTUGUESE_BRAZILIAN", u"PORTUGUESE_PORTUGAL"},
      {u"Serbian", u"SERBIAN_CYRILLIC", u"SERBIAN_LATIN"},
  };
  const StrBuffer name(englishName);
  for (const Family& family : kFamilies) {
    if (!name.startsWithIgnoreCase(family.prefix)) continue;
    LangPack* pack = packNamed(family.first);
    return pack ? pack : packNamed(family.second);
  }
  return nullptr;
}

void Localizer::ensureCurrent() {
  if (current_ || packCount() == 0) return;
  current_ = findPack(systemLanguage());
  if (!current_) current_ = packAt(0);
}

LangPack* Localizer::currentPack() {
  ensureCurrent();
  return current_;
}

void Localizer::selectLanguage(std::u16string_view englishName) {
  ensureCurrent();
  if (!current_ || current_->englishName().equalsIgnoreCase(englishName)) return;
  LangPack* pack = findPack(englishName);
  if (!pack) pack = packNamed(u"English");
  if (!pack) pack = packAt(0);
  makeCurrent(pack);
}

void Localizer::selectLanguageAt(size_t index) {
  if (index < packCount()) makeCurrent(packAt(index));
}

void Localizer::selectSystemLanguage() { selectLanguage(systemLanguage()); }

void Localizer::makeCurrent(LangPack* pack) {
  if (pack == current_) return;
  current_ = pack;
  // A listener may register or leave while it is told: tell the ones registered now.
  std::vector<gui::events::IEventListener*> told;
  for (size_t i = 0; i < listeners_.getCount(); ++i) told.push_back(listeners_.getAs<gui::events::IEventListener>(i));
  for (gui::events::IEventListener* listener : told) listener->onEvent(this, kEventLanguageChanged);
}

void Localizer::selectSaved(map::IMappedData& store) {
  const LangPack* pack = currentPack();
  if (!pack) return;
  // The store's text lives only until its next read: keep a copy.
  const StrBuffer saved(store.getString(kLanguageKey, u"", pack->englishName().data()));
  selectLanguage(saved.view());
  // A first start has nothing saved yet: it saves the pack it chose too.
  const StrBuffer& now = currentPack()->englishName();
  if (!saved.equalsIgnoreCase(now.view()) || !store.hasValue(kLanguageKey, u"")) {
    store.setString(kLanguageKey, u"", now.data());
  }
}

// --- Listeners and the system ------------------------------------------------------

void Localizer::addListener(gui::events::IEventListener* listener) {
  if (listener) listeners_.append(listener);
}

void Localizer::removeListener(gui::events::IEventListener* listener) {
  const size_t index = listeners_.indexOf(listener);
  if (index != col::_array::ArrayP::kAll) listeners_.removeRange(index, 1);
}

std::u16string_view Localizer::systemLanguage() const {
  return systemLanguage_.isEmpty() ? systemLanguageName() : systemLanguage_.view();
}

void Localizer::setSystemLanguage(std::u16string_view englishName) { systemLanguage_.assign(englishName); }

}  // namespace s::lang
