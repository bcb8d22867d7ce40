#pragma once
// A skinner: the skins a window may use, all of one family ("ThinWindow" or "Thin"),
// with their names in a parallel list. The skinner owns its skins.
//
// A window's skin is chosen by name through the save-data store: the text value
// "Skin" under the window's key path (the root path "" for the application's choice)
// names it. The name must match a skin's name exactly; anything else (a missing value,
// another case, a name of another family) gives the window's default theme.
#include <string_view>

#include "s/base/IObject.h"
#include "s/col/_array/ArrayP.h"
#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pool.h"

namespace s::map {
class IMappedData;
}

namespace s::gui::drawer {

class ISkin;

class SkinnerBases : public base::IObject, public thread::IPoolable {};

class Skinner final : public thread::PooledObject<Skinner, SkinnerBases> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_Skinner";
  static constexpr char16_t kFamilyThinWindow[] = u"ThinWindow";
  static constexpr char16_t kFamilyThin[] = u"Thin";
  // The value name of a stored skin choice.
  static constexpr char16_t kSkinValue[] = u"Skin";

  // A skinner of family, filled with the family's skins (none for other families).
  static Skinner* newSkinner(std::u16string_view family);

  // Appends every skin of the family, in the family's order.
  void fillSkins();
  // Appends skin (now owned) under a copy of its name.
  void addSkin(ISkin* skin);
  // The index of the first skin named exactly name, or −1 (and false).
  bool findSkin(std::u16string_view name, int* index) const;

  std::u16string_view getFamilyName() const { return family_.view(); }
  int getSkinCount() const { return static_cast<int>(skins_.getCount()); }
  // The skin at index (kept by the skinner), or nullptr outside the list.
  ISkin* getSkin(int index) const;
  std::u16string_view getSkinName(int index) const;

  // The skin a window uses: the one store names under keyPath (value "Skin"), else the
  // one named defaultName; nullptr when neither exists. store may be nullptr.
  ISkin* chooseSkin(map::IMappedData* store, const char16_t* keyPath, std::u16string_view defaultName) const;
  // Remembers name as the skin choice under keyPath.
  static void storeSkinChoice(map::IMappedData& store, const char16_t* keyPath, std::u16string_view name);

  void reset() override;

 private:
  str::strbuffer::StrBuffer family_;
  col::_array::ArrayP skins_;
  str::strarray::StrArray names_;
};

}  // namespace s::gui::drawer
