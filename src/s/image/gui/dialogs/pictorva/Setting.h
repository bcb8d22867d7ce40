#pragma once
// The choices of one gallery run: style, page title, cell size (Tile) and row height
// (Album). The window (or
// the command line) fills it just before a run; the run reads it on its worker
// thread and nobody changes it while the run lasts.
#include <cstdint>
#include <string_view>

#include "s/base/IObject.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Owned.h"
#include "s/thread/Pool.h"

namespace s::image::gui::dialogs::pictorva {

class SettingBases : public base::IObject, public thread::IPoolable {};

class Setting final : public thread::PooledObject<Setting, SettingBases> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_gui_dialogs_pictorva_Setting";
  static constexpr int32_t kStyleTile = 1;
  static constexpr int32_t kStyleFlat = 2;
  static constexpr int32_t kStyleAlbum = 3;
  static constexpr int32_t kDefaultCellSize = 150;
  static constexpr int32_t kDefaultRowHeight = 200;
  // The row heights an album is made with; others are brought within them.
  static constexpr int32_t kMinRowHeight = 16;
  static constexpr int32_t kMaxRowHeight = 1024;

  Setting();
  ~Setting() override;
  Setting(const Setting&) = delete;
  Setting& operator=(const Setting&) = delete;

  // Tile, empty title, 150 x 150, rows of 200.
  void reset() override;

  // A cell size typed into a field: empty keeps the default (150); otherwise the text's
  // leading integer (white space, optional sign, digits: "200px" is 200, "abc" is 0,
  // "-5" is -5), saturated to 32 bits.
  static int32_t cellSizeFromText(std::u16string_view text);
  // The style that a stored "Create:" choice selects: the first of the entry texts
  // equal to it, letter case ignored; Tile when none is (also for the empty text, or
  // a text of another language).
  static int32_t styleOf(std::u16string_view convertTo, std::u16string_view tileText = u"Tile",
                         std::u16string_view flatText = u"Flat", std::u16string_view albumText = u"Album");

  int32_t style = kStyleTile;
  thread::Owned<str::strbuffer::StrBuffer> title;
  int32_t cellWidth = kDefaultCellSize;
  int32_t cellHeight = kDefaultCellSize;
  int32_t rowHeight = kDefaultRowHeight;
};

}  // namespace s::image::gui::dialogs::pictorva
