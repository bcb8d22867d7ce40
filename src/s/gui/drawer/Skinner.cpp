#include "s/gui/drawer/Skinner.h"

#include <string>

#include "s/gui/drawer/ISkin.h"
#include "s/gui/drawer/skin/Themes.h"
#include "s/gui/drawer/skin/Thin.h"
#include "s/gui/drawer/skin/ThinWindow.h"
#include "s/map/IMappedData.h"

namespace s::gui::drawer {

Skinner* Skinner::newSkinner(std::u16string_view family) {
  Skinner* skinner = create();
  skinner->family_.assign(family);
  skinner->fillSkins();
  return skinner;
}

void Skinner::fillSkins() {
  if (family_ == kFamilyThinWindow) {
    for (int id : skin::thinWindowOrder()) {
      if (ISkin* skin = skin::ThinWindow::newThinWindowSkin(id)) addSkin(skin);
    }
  } else if (family_ == kFamilyThin) {
    for (const skin::ThinTheme& theme : skin::thinThemes()) addSkin(skin::Thin::newThinSkin(theme.name, theme.colours));
  }
}

void Skinner::addSkin(ISkin* skin) {
  if (!skin) return;
  skins_.append(static_cast<void*>(skin));
  names_.appendCopy(skin->getSkinName());
}

bool Skinner::findSkin(std::u16string_view name, int* index) const {
  // Exact comparison: a stored name differing only in case is not the same skin.
  const size_t found = names_.indexOf(name, false);
  const bool ok = found != str::strarray::StrArray::kAll;
  if (index) *index = ok ? static_cast<int>(found) : -1;
  return ok;
}

ISkin* Skinner::getSkin(int index) const {
  if (index < 0 || index >= getSkinCount()) return nullptr;
  return skins_.getAs<ISkin>(static_cast<size_t>(index));
}

std::u16string_view Skinner::getSkinName(int index) const {
  if (index < 0 || index >= getSkinCount()) return {};
  return names_.textAt(static_cast<size_t>(index))->view();
}

ISkin* Skinner::chooseSkin(map::IMappedData* store, const char16_t* keyPath, std::u16string_view defaultName) const {
  int index = -1;
  if (store) {
    const std::u16string fallback(defaultName);
    const char16_t* stored = store->getString(keyPath, kSkinValue, fallback.c_str());
    if (stored && findSkin(stored, &index)) return getSkin(index);
  }
  return findSkin(defaultName, &index) ? getSkin(index) : nullptr;
}

void Skinner::storeSkinChoice(map::IMappedData& store, const char16_t* keyPath, std::u16string_view name) {
  const std::u16string text(name);
  store.setString(keyPath, kSkinValue, text.c_str());
}

void Skinner::reset() {
  for (size_t i = 0; i < skins_.getCount(); ++i) skins_.getAs<ISkin>(i)->release();
  skins_.freeStorage();
  names_.reset();
  family_.reset();
}

// The skin of windows without one: the thin window skin in the system's light greys,
// with black text (not one of the themes users choose from).
const ISkin& ISkin::getDefault() {
  static constexpr Rgb kSystemColours[15] = {
      {240, 240, 240}, {160, 160, 160}, {225, 225, 225}, {130, 130, 130}, {160, 160, 160},
      {0, 0, 0},       {109, 109, 109}, {205, 205, 205}, {204, 228, 247}, {0, 0, 0},
      {255, 255, 255}, {0, 0, 0},       {243, 243, 243}, {0, 0, 0},       {255, 255, 255}};
  static const ISkin& skin = *skin::ThinWindow::build(u"Default", kSystemColours);
  return skin;
}

}  // namespace s::gui::drawer
