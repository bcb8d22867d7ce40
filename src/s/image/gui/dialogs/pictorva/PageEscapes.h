#pragma once
// Escaping for the places a name or a title goes in an HTML page. Each function
// appends text so that, in its place, it reads back exactly as given: no name a
// file system allows can end an element, an attribute or a link early, or change
// what a link points at.
#include <string>
#include <string_view>

namespace s::image::gui::dialogs::pictorva {

class PageEscapes {
 public:
  PageEscapes() = delete;

  // Text between tags: '&', '<' and '>' as references.
  static void appendText(std::u16string& out, std::u16string_view text);
  // The value of an attribute in double quotes: also '"', and line breaks and tabs
  // as numeric references, which the parser would otherwise change.
  static void appendAttribute(std::u16string& out, std::u16string_view text);
  // %XX of each UTF-8 byte of the code point.
  static void appendPercentUtf8(std::u16string& out, char32_t codePoint);
  static constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

  // One segment of a relative link: every character but ASCII letters, digits and
  // "-._~()" as %XX of its UTF-8 bytes, so '/', '\', '#', '?', '%', '&', ',' and
  // blanks stay part of the name (a lone surrogate becomes U+FFFD, as the page's
  // UTF-8 does). The result needs no further escaping in an attribute or a srcset.
  static void appendUrlSegment(std::u16string& out, std::u16string_view name);
};

}  // namespace s::image::gui::dialogs::pictorva
