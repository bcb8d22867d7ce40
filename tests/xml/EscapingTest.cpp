#include "s/xml/Escaping.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using s::str::strbuffer::StrBuffer;
using s::xml::Escaping;

std::u16string escaped(std::u16string_view name, std::u16string_view text) {
  StrBuffer out;
  Escaping::escape(name, text, out);
  return std::u16string(out.view());
}

std::u16string unescaped(std::u16string_view name, std::u16string_view stored) {
  StrBuffer out;
  Escaping::unescape(name, stored, out);
  return std::u16string(out.view());
}

TEST(XmlEscaping, EveryEscapeOfBothRuleSets) {
  struct Case {
    std::u16string_view name;  // empty: element text rules
    std::u16string_view plain;
    std::u16string_view stored;
  };
  const Case cases[] = {
      {u"a", u"x\ny\rz", u"x&#10;y&#13;z"},
      {u"a", u"say \"hi\" & <go> ", u"say &quot;hi&quot; &amp; &lt;go> "},
      {u"", u"x\ny\rz", u"x&#10;y&#13;z"},
      {u"", u"a b", u"a&#160;b"},
      {u"", u"1 & 2 < 3 > 0", u"1&#160;&amp;&#160;2&#160;&lt;&#160;3&#160;&gt;&#160;0"},
      {u"", u" Create: ", u"&#160;Create:&#160;"},
      {u"", u"tab\tstays", u"tab\tstays"},
      {u"", u"\u65E5\u672C\U0001F4F7", u"\u65E5\u672C\U0001F4F7"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(escaped(c.name, c.plain), c.stored);
    EXPECT_EQ(unescaped(c.name, c.stored), c.plain);
  }
}

TEST(XmlEscaping, ReadingDecodesOnlyItsOwnEntities) {
  // Attribute values keep "&gt;" and "&#160;" as they stand; unknown entities and a
  // lone "&" are literal in both rule sets.
  EXPECT_EQ(unescaped(u"a", u"&gt;&#160;&apos;&amp;amp;&"), u"&gt;&#160;&apos;&amp;&");
  EXPECT_EQ(unescaped(u"", u"&gt;&gt; &quot; &#x20; &amp"), u">> &quot; &#x20; &amp");
  EXPECT_EQ(unescaped(u"", u"Advanced Options &gt;&gt;"), u"Advanced Options >>");
  EXPECT_EQ(unescaped(u"", u"&lt;&lt; Minimize"), u"<< Minimize");
}

TEST(XmlEscaping, ElementTextTrimsWrittenBlanksButKeepsEntityBlanks) {
  struct Case {
    std::u16string_view stored;
    std::u16string_view plain;
  };
  const Case cases[] = {
      {u" \t\r\n hello  ", u"hello"},
      {u"&#160;x&#160;", u" x "},
      {u"Create:&#160;", u"Create: "},
      // Written blanks after the last entity go; the entity's blank stays.
      {u"Width:&#160;  \t", u"Width: "},
      {u"x\u3000\u3000", u"x"},
      {u"\u3000x", u"\u3000x"},  // U+3000 is trimmed at the end only
      {u"line&#10;", u"line\n"},
      {u"   ", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(unescaped(u"", c.stored), c.plain);
}

TEST(XmlEscaping, TrimmingNeverReachesTextAlreadyInTheTarget) {
  StrBuffer out(u"kept ");
  Escaping::unescapeText(u"  ", out);
  EXPECT_EQ(out.view(), u"kept ");
}

}  // namespace
