#pragma once
// Writes the album page: one HTML file, its style and script inline, that needs
// nothing outside the gallery folder. The pictures form a justified grid of rows at
// about the row height, each row filling the width (a flexible box that grows every
// picture by its width-to-height ratio, so a row's pictures keep one height);
// each picture links to its display copy, so the grid works without script. The
// script adds the lightbox: the display copy with its caption, stepping, the
// address's fragment naming the open picture (its name in "img"), and Back.
//
// The template is AlbumTemplate.inc; the page is UTF-8 (the caller converts) with
// LF line ends.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "s/image/gui/dialogs/pictorva/AlbumWords.h"
#include "s/image/gui/dialogs/pictorva/GalleryRow.h"

namespace s::image::gui::dialogs::pictorva {

class AlbumPage {
 public:
  static std::u16string page(std::u16string_view title, const std::vector<GalleryRow>& pictures, int32_t rowHeight,
                             const AlbumWords& words);
  // The element of one picture in the grid.
  static void appendPicture(std::u16string& out, const GalleryRow& picture);
  // A width-to-height ratio with at most four decimals ("1.5", "0.6667").
  static std::u16string ratioText(uint32_t width, uint32_t height);
};

}  // namespace s::image::gui::dialogs::pictorva
