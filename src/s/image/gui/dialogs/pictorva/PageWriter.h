#pragma once
// Writes the gallery pages: an HTML page whose script builds a table of pictures when
// it is opened. The page is a fixed template (PageTemplates.h) with the title, the
// cell width, the row count and one script line per picture put in its holes. Lines
// end in CR LF; the caller converts the text to UTF-8 without byte-order mark.
//
// File names go into the page twice: as links (percent-encoded) and as display names
// inside a script string. Both are escaped so that no legal file name can end a
// string, an attribute or the script; names that Windows allows and that hold no '#'
// come out exactly as the classic encoding gives them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "s/image/gui/dialogs/pictorva/GalleryRow.h"

namespace s::image::gui::dialogs::pictorva {

class PageWriter {
 public:
  // The Tile page: a grid of the small copies in cells of cellWidth, each linking to
  // its picture in img.
  static std::u16string buildTilePage(std::u16string_view title, const std::vector<GalleryRow>& rows,
                                      int32_t cellWidth);
  // The Flat page: the pictures of img in one column, shrunk to the browser's width.
  static std::u16string buildFlatPage(std::u16string_view title, const std::vector<GalleryRow>& rows);

  // The pieces of a row line, exposed for testing.
  // Percent-encodes what would break a link ("%" first, so "%20" becomes "%2520").
  static std::u16string linkName(std::u16string_view fileName);
  // base: text before the last '.', type: text after it; both empty without a '.'.
  static void splitName(std::u16string_view fileName, std::u16string_view* base, std::u16string_view* type);
  // The base as a script string: apostrophes as \', then, when shortening, cut as soon
  // as the running width (1 per unit below 256, else 2) reaches limit, with "..."
  // appended. A cut never splits a surrogate pair or an escape.
  static std::u16string displayName(std::u16string_view base, bool shorten, int64_t limit = 0);
  // (bytes / 1024) + 1 followed by unit: "k" on tile pages, "KB" on flat ones.
  static std::u16string sizeText(uint64_t bytes, std::u16string_view unit);
};

}  // namespace s::image::gui::dialogs::pictorva
