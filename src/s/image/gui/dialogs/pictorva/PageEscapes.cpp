#include "s/image/gui/dialogs/pictorva/PageEscapes.h"

#include <cstdint>

#include "s/str/strbuffer/Surrogates.h"

namespace s::image::gui::dialogs::pictorva {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

using str::strbuffer::isHighSurrogate;
using str::strbuffer::isLowSurrogate;

bool staysInUrl(char16_t unit) {
  return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z') || (unit >= u'0' && unit <= u'9') ||
         unit == u'-' || unit == u'.' || unit == u'_' || unit == u'~' || unit == u'(' || unit == u')';
}

void appendPercent(std::u16string& out, uint8_t byte) {
  out.push_back(u'%');
  out.push_back(PageEscapes::kHexDigits[byte >> 4]);
  out.push_back(PageEscapes::kHexDigits[byte & 0xF]);
}

}  // namespace

void PageEscapes::appendPercentUtf8(std::u16string& out, char32_t codePoint) {
  if (codePoint < 0x80) {
    appendPercent(out, static_cast<uint8_t>(codePoint));
  } else if (codePoint < 0x800) {
    appendPercent(out, static_cast<uint8_t>(0xC0 | (codePoint >> 6)));
    appendPercent(out, static_cast<uint8_t>(0x80 | (codePoint & 0x3F)));
  } else if (codePoint < 0x10000) {
    appendPercent(out, static_cast<uint8_t>(0xE0 | (codePoint >> 12)));
    appendPercent(out, static_cast<uint8_t>(0x80 | ((codePoint >> 6) & 0x3F)));
    appendPercent(out, static_cast<uint8_t>(0x80 | (codePoint & 0x3F)));
  } else {
    appendPercent(out, static_cast<uint8_t>(0xF0 | (codePoint >> 18)));
    appendPercent(out, static_cast<uint8_t>(0x80 | ((codePoint >> 12) & 0x3F)));
    appendPercent(out, static_cast<uint8_t>(0x80 | ((codePoint >> 6) & 0x3F)));
    appendPercent(out, static_cast<uint8_t>(0x80 | (codePoint & 0x3F)));
  }
}

void PageEscapes::appendText(std::u16string& out, std::u16string_view text) {
  for (char16_t unit : text) {
    switch (unit) {
      case u'&': out.append(u"&amp;"); break;
      case u'<': out.append(u"&lt;"); break;
      case u'>': out.append(u"&gt;"); break;
      default: out.push_back(unit); break;
    }
  }
}

void PageEscapes::appendAttribute(std::u16string& out, std::u16string_view text) {
  for (char16_t unit : text) {
    switch (unit) {
      case u'&': out.append(u"&amp;"); break;
      case u'"': out.append(u"&quot;"); break;
      case u'<': out.append(u"&lt;"); break;
      case u'>': out.append(u"&gt;"); break;
      // The parser turns a CR (or CR LF) into LF; references keep each as it is.
      case u'\r': out.append(u"&#13;"); break;
      case u'\n': out.append(u"&#10;"); break;
      case u'\t': out.append(u"&#9;"); break;
      default: out.push_back(unit); break;
    }
  }
}

void PageEscapes::appendUrlSegment(std::u16string& out, std::u16string_view name) {
  for (size_t i = 0; i < name.size(); ++i) {
    const char16_t unit = name[i];
    if (staysInUrl(unit)) {
      out.push_back(unit);
      continue;
    }
    char32_t codePoint = unit;
    if (isHighSurrogate(unit) && i + 1 < name.size() && isLowSurrogate(name[i + 1])) {
      codePoint = 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (name[i + 1] - 0xDC00);
      ++i;
    } else if (isHighSurrogate(unit) || isLowSurrogate(unit)) {
      codePoint = kReplacement;
    }
    appendPercentUtf8(out, codePoint);
  }
}

}  // namespace s::image::gui::dialogs::pictorva
