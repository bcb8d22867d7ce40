#include "s/image/gui/dialogs/pictorva/Setting.h"

namespace s::image::gui::dialogs::pictorva {

Setting::Setting() : title(str::strbuffer::StrBuffer::create()) { reset(); }

Setting::~Setting() = default;

void Setting::reset() {
  style = kStyleTile;
  title->freeStorage();
  cellWidth = kDefaultCellSize;
  cellHeight = kDefaultCellSize;
  rowHeight = kDefaultRowHeight;
}

int32_t Setting::cellSizeFromText(std::u16string_view text) {
  if (text.empty()) return kDefaultCellSize;
  return str::strbuffer::StrBuffer(text).parseInt32();
}

int32_t Setting::styleOf(std::u16string_view convertTo, std::u16string_view tileText, std::u16string_view flatText,
                         std::u16string_view albumText) {
  const str::strbuffer::StrBuffer stored(convertTo);
  if (stored.equalsIgnoreCase(tileText)) return kStyleTile;
  if (stored.equalsIgnoreCase(flatText)) return kStyleFlat;
  if (stored.equalsIgnoreCase(albumText)) return kStyleAlbum;
  return kStyleTile;
}

}  // namespace s::image::gui::dialogs::pictorva
