#include "s/xml/Escaping.h"

namespace s::xml {

namespace {

using str::strbuffer::StrBuffer;

struct Entity {
  std::u16string_view text;
  char16_t unit;
};

// Decoded on reading attribute values and element text respectively.
constexpr Entity kAttributeEntities[] = {
    {u"&amp;", u'&'}, {u"&lt;", u'<'}, {u"&quot;", u'"'}, {u"&#13;", u'\r'}, {u"&#10;", u'\n'}};
constexpr Entity kTextEntities[] = {{u"&amp;", u'&'},   {u"&lt;", u'<'},    {u"&gt;", u'>'},
                                    {u"&#160;", u' '},  {u"&#13;", u'\r'},  {u"&#10;", u'\n'}};

// Appends text with each unit that has an entry in replace() written as that entry.
template <class Replace>
void escapeWith(std::u16string_view text, StrBuffer& out, Replace replace) {
  size_t plainStart = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const std::u16string_view entity = replace(text[i]);
    if (entity.empty()) continue;
    out.append(text.substr(plainStart, i - plainStart));
    out.append(entity);
    plainStart = i + 1;
  }
  out.append(text.substr(plainStart));
}

// Appends stored with the entities of table decoded. Returns the length of out just
// after the last unit an entity produced (out's length at the start when none did).
template <size_t N>
size_t unescapeWith(std::u16string_view stored, StrBuffer& out, const Entity (&table)[N]) {
  size_t afterEntity = out.length();
  size_t plainStart = 0;
  for (size_t i = 0; i < stored.size(); ++i) {
    if (stored[i] != u'&') continue;
    for (const Entity& entity : table) {
      if (stored.compare(i, entity.text.size(), entity.text) != 0) continue;
      out.append(stored.substr(plainStart, i - plainStart));
      out.append(entity.unit);
      afterEntity = out.length();
      i += entity.text.size() - 1;
      plainStart = i + 1;
      break;
    }
  }
  out.append(stored.substr(plainStart));
  return afterEntity;
}

bool isLeadingSpace(char16_t unit) { return unit == u'\t' || unit == u'\n' || unit == u'\r' || unit == u' '; }
bool isTrailingSpace(char16_t unit) { return isLeadingSpace(unit) || unit == 0x3000; }

}  // namespace

void Escaping::escapeAttribute(std::u16string_view text, StrBuffer& out) {
  escapeWith(text, out, [](char16_t unit) -> std::u16string_view {
    switch (unit) {
      case u'\n': return u"&#10;";
      case u'\r': return u"&#13;";
      case u'"': return u"&quot;";
      case u'&': return u"&amp;";
      case u'<': return u"&lt;";
      default: return {};
    }
  });
}

void Escaping::escapeText(std::u16string_view text, StrBuffer& out) {
  escapeWith(text, out, [](char16_t unit) -> std::u16string_view {
    switch (unit) {
      case u'\n': return u"&#10;";
      case u'\r': return u"&#13;";
      case u' ': return u"&#160;";
      case u'&': return u"&amp;";
      case u'<': return u"&lt;";
      case u'>': return u"&gt;";
      default: return {};
    }
  });
}

void Escaping::unescapeAttribute(std::u16string_view stored, StrBuffer& out) {
  unescapeWith(stored, out, kAttributeEntities);
}

void Escaping::unescapeText(std::u16string_view stored, StrBuffer& out) {
  size_t start = 0;
  while (start < stored.size() && isLeadingSpace(stored[start])) ++start;
  const size_t keep = unescapeWith(stored.substr(start), out, kTextEntities);
  size_t length = out.length();
  while (length > keep && isTrailingSpace(out.unitAt(length - 1))) --length;
  out.setLength(length);
}

}  // namespace s::xml
