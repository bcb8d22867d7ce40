#pragma once
// The two escaping rule sets of the XML model. Values are stored escaped (as they
// stand in the file); these turn plain texts into stored form and back.
//
// Attribute values (a named attribute):
//   written: LF "&#10;", CR "&#13;", '"' "&quot;", '&' "&amp;", '<' "&lt;";
//   read:    "&amp;" "&lt;" "&quot;" "&#13;" "&#10;"; nothing else is decoded ("&gt;"
//            stays as it stands) and any other '&' is a literal '&'.
// Element text (the attribute with the empty name):
//   written: LF "&#10;", CR "&#13;", blank "&#160;", '&' "&amp;", '<' "&lt;", '>' "&gt;";
//   read:    leading tab, LF, CR and blank are skipped; "&amp;" "&lt;" "&gt;" "&#13;"
//            "&#10;" are decoded and "&#160;" becomes a plain blank (U+0020, not a
//            no-break space); any other '&' is literal; trailing blank, tab, LF, CR
//            and U+3000 are removed, but never back past the last character an
//            entity produced. So "&#160;" keeps a blank at either end of a text,
//            which is how texts that begin or end with a blank are stored.
#include <string_view>

#include "s/str/strbuffer/StrBuffer.h"

namespace s::xml {

class Escaping {
 public:
  Escaping() = delete;

  // Each appends to out.
  static void escapeAttribute(std::u16string_view text, str::strbuffer::StrBuffer& out);
  static void escapeText(std::u16string_view text, str::strbuffer::StrBuffer& out);
  static void unescapeAttribute(std::u16string_view stored, str::strbuffer::StrBuffer& out);
  static void unescapeText(std::u16string_view stored, str::strbuffer::StrBuffer& out);

  // Attribute rules for a named value, element-text rules for the empty name.
  static void escape(std::u16string_view name, std::u16string_view text, str::strbuffer::StrBuffer& out) {
    name.empty() ? escapeText(text, out) : escapeAttribute(text, out);
  }
  static void unescape(std::u16string_view name, std::u16string_view stored, str::strbuffer::StrBuffer& out) {
    name.empty() ? unescapeText(stored, out) : unescapeAttribute(stored, out);
  }
};

}  // namespace s::xml
