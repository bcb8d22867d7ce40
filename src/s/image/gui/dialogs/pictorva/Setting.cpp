#include "s/image/gui/dialogs/pictorva/Setting.h"

namespace s::image::gui::dialogs::pictorva {

Setting::Setting() : title(str::strbuffer::StrBuffer::create()) { reset(); }

Setting::~Setting() { title->release(); }

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

}  // namespace s::image::gui::dialogs::pictorva
