#include "s/image/gui/dialogs/pictorva/AlbumPage.h"

#include <algorithm>

#include "s/image/gui/dialogs/pictorva/PageEscapes.h"
#include "s/image/gui/dialogs/pictorva/Setting.h"

namespace s::image::gui::dialogs::pictorva {

namespace {

#include "s/image/gui/dialogs/pictorva/AlbumTemplate.inc"

void appendNumber(std::u16string& out, uint64_t value) {
  const std::string digits = std::to_string(value);
  out.append(digits.begin(), digits.end());
}

// The link to a file of the gallery folder: folder + '/' + the name as a segment.
void appendLink(std::u16string& out, std::u16string_view folder, std::u16string_view name) {
  out.append(folder);
  out.push_back(u'/');
  PageEscapes::appendUrlSegment(out, name);
}

// The name without its extension (the text before the last '.'; all of it when the
// only '.' starts the name).
std::u16string_view titleOf(std::u16string_view fileName) {
  const size_t dot = fileName.rfind(u'.');
  return dot == std::u16string_view::npos || dot == 0 ? fileName : fileName.substr(0, dot);
}

}  // namespace

std::u16string AlbumPage::ratioText(uint32_t width, uint32_t height) {
  if (width == 0 || height == 0) return u"1";
  // Rounded to 1/10000, in integers: the page must not depend on the C library's
  // number formatting.
  const uint64_t scaled = (static_cast<uint64_t>(width) * 10000 + height / 2) / height;
  std::u16string text;
  appendNumber(text, scaled / 10000);
  uint64_t fraction = scaled % 10000;
  if (fraction == 0) return text;
  text.push_back(u'.');
  for (uint64_t unit = 1000; unit > 0 && fraction > 0; unit /= 10) {
    text.push_back(static_cast<char16_t>(u'0' + fraction / unit));
    fraction %= unit;
  }
  return text;
}

void AlbumPage::appendPicture(std::u16string& out, const GalleryRow& picture) {
  out.append(u"<a href=\"");
  if (picture.displayName.empty()) {
    appendLink(out, u"img", picture.imgName);
  } else {
    appendLink(out, u"simg", picture.displayName);
  }
  out.append(u"\" data-m=\"");
  appendNumber(out, picture.sourceWidth);
  out.push_back(u' ');
  appendNumber(out, picture.sourceHeight);
  out.push_back(u' ');
  appendNumber(out, picture.sourceSize);
  if (!picture.taken.empty()) {
    out.push_back(u' ');
    PageEscapes::appendAttribute(out, picture.taken);
  }
  out.push_back(u'"');
  // The name in "img" is the display link's own segment unless a copy is shown.
  if (!picture.displayName.empty()) {
    out.append(u" data-o=\"");
    PageEscapes::appendUrlSegment(out, picture.imgName);
    out.push_back(u'"');
  }
  out.append(u" style=\"--r:");
  out.append(ratioText(picture.smallWidth, picture.smallHeight));
  out.append(u"\"><img src=\"");
  appendLink(out, u"simg", picture.smallName);
  out.push_back(u'"');
  if (!picture.largeName.empty()) {
    out.append(u" srcset=\"");
    appendLink(out, u"simg", picture.largeName);
    out.append(u" 2x\"");
  }
  out.append(u" width=\"");
  appendNumber(out, picture.smallWidth);
  out.append(u"\" height=\"");
  appendNumber(out, picture.smallHeight);
  out.append(u"\" alt=\"");
  PageEscapes::appendAttribute(out, titleOf(picture.sourceName));
  out.append(u"\" loading=\"lazy\"></a>\n");
}

std::u16string AlbumPage::page(std::u16string_view title, const std::vector<GalleryRow>& pictures,
                               int32_t rowHeight, const AlbumWords& words) {
  const int32_t row = std::clamp(rowHeight, Setting::kMinRowHeight, Setting::kMaxRowHeight);
  const std::u16string_view text(kAlbumTemplate);
  std::u16string out;
  out.reserve(text.size() + pictures.size() * 320);
  size_t at = 0;
  while (at < text.size()) {
    const size_t open = text.find(u'@', at);
    const size_t shut = open == std::u16string_view::npos ? open : text.find(u'@', open + 1);
    if (shut == std::u16string_view::npos) {
      out.append(text.substr(at));
      break;
    }
    const std::u16string_view hole = text.substr(open + 1, shut - open - 1);
    auto word = [&](std::u16string_view value) { PageEscapes::appendAttribute(out, value); };
    out.append(text.substr(at, open - at));
    at = shut + 1;
    if (hole == u"LANG") {
      word(words.languageTag);
    } else if (hole == u"DIR") {
      out.append(words.rightToLeft ? u"rtl" : u"ltr");
    } else if (hole == u"TITLE") {
      PageEscapes::appendText(out, title);
    } else if (hole == u"ROW") {
      appendNumber(out, static_cast<uint64_t>(row));
    } else if (hole == u"PICTURES") {
      for (const GalleryRow& picture : pictures) appendPicture(out, picture);
    } else if (hole == u"CLOSE") {
      word(words.close);
    } else if (hole == u"PREVIOUS") {
      word(words.previous);
    } else if (hole == u"NEXT") {
      word(words.next);
    } else if (hole == u"DOWNLOAD") {
      word(words.download);
    } else if (hole == u"TAKEN") {
      word(words.taken);
    } else {
      // Not a hole ("@media", "@keyframes"): the text goes on from the second '@'.
      out.append(text.substr(open, shut - open));
      at = shut;
    }
  }
  return out;
}

}  // namespace s::image::gui::dialogs::pictorva
