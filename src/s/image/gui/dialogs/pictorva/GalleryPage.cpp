#include "s/image/gui/dialogs/pictorva/GalleryPage.h"

#include "s/image/gui/dialogs/pictorva/PageWriter.h"

namespace s::image::gui::dialogs::pictorva {

namespace {

std::vector<PageRow> pageRows(const GalleryRows& rows, bool tile) {
  std::vector<PageRow> out(rows.count());
  for (size_t i = 0; i < out.size(); ++i) {
    out[i].sourceName = rows.sourceNames[i];
    out[i].sourceWidth = rows.sourceWidths[i];
    out[i].sourceHeight = rows.sourceHeights[i];
    out[i].sourceSize = rows.sourceSizes[i];
    if (tile) {
      out[i].smallName = rows.smallNames[i];
      out[i].smallWidth = rows.smallWidths[i];
      out[i].smallHeight = rows.smallHeights[i];
    }
  }
  return out;
}

}  // namespace

thread::Owned<str::strbuffer::StrBuffer> buildTilePage(std::u16string_view title, const GalleryRows& rows,
                                                       int32_t cellWidth) {
  return str::strbuffer::StrBuffer::of(PageWriter::tilePage(title, pageRows(rows, true), cellWidth));
}

thread::Owned<str::strbuffer::StrBuffer> buildFlatPage(std::u16string_view title, const GalleryRows& rows) {
  return str::strbuffer::StrBuffer::of(PageWriter::flatPage(title, pageRows(rows, false)));
}

}  // namespace s::image::gui::dialogs::pictorva
