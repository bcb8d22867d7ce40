#pragma once
// Writes the gallery page: an HTML page whose script builds a table of pictures when
// it is opened. The page is a fixed template (PageTemplates.inc) with the title, the
// cell width, the row count and one script line per picture put in. Lines end in
// CR LF; the caller converts the text to UTF-8 without byte-order mark.
//
// File names go into the page twice: as links (percent-encoded) and as display names
// inside a script string. Both are escaped so that no legal file name can end a
// string, an attribute or the script; names that Windows allows and that hold no '#'
// come out exactly as the classic encoding gives them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace s::image::gui::dialogs::pictorva {

// One picture of the page.
struct PageRow {
  std::u16string_view sourceName;  // file name with extension, as in its path
  uint32_t sourceWidth = 0;
  uint32_t sourceHeight = 0;
  uint64_t sourceSize = 0;         // bytes
  std::u16string_view smallName;   // Tile only
  uint32_t smallWidth = 0;
  uint32_t smallHeight = 0;
};

class PageWriter {
 public:
  static std::u16string tilePage(std::u16string_view title, const std::vector<PageRow>& rows, int32_t cellWidth);
  static std::u16string flatPage(std::u16string_view title, const std::vector<PageRow>& rows);

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
