#pragma once
// The rows a gallery run collects, one per picture placed on the page, and the two
// page builders over them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/Owned.h"

namespace s::image::gui::dialogs::pictorva {

struct GalleryRows {
  std::vector<std::u16string> sourceNames;  // file name with extension
  std::vector<uint32_t> sourceWidths;
  std::vector<uint32_t> sourceHeights;
  std::vector<uint64_t> sourceSizes;        // bytes; 64-bit so files over 4 GiB show right
  std::vector<std::u16string> smallNames;   // Tile only
  std::vector<uint32_t> smallWidths;
  std::vector<uint32_t> smallHeights;

  size_t count() const { return sourceNames.size(); }
};

// The whole page as a new text (the caller releases it).
thread::Owned<str::strbuffer::StrBuffer> buildTilePage(std::u16string_view title, const GalleryRows& rows,
                                                       int32_t cellWidth);
thread::Owned<str::strbuffer::StrBuffer> buildFlatPage(std::u16string_view title, const GalleryRows& rows);

}  // namespace s::image::gui::dialogs::pictorva
