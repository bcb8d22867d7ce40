#pragma once
// Helpers of the XML tests.
#include <string>
#include <string_view>

#include "s/thread/Owned.h"
#include "s/xml/Node.h"
#include "file/TempFolder.h"

namespace s::xml::testing {

// A node read from UTF-8 bytes.
inline thread::Owned<Node> parsed(std::string_view document, bool* complete = nullptr) {
  thread::Owned<Node> node = thread::make<Node>();
  node->parseUtf8(document, complete);
  return node;
}

// A small document shaped like the program's language pack: a comment, languages
// with non-ASCII names, entries with one text per language, entities, a translator's
// note beside the texts, an empty element. It ends with the root's closing tag, so
// every shorter prefix is cut.
inline std::string languageDocument() {
  return "\xEF\xBB\xBF<!-- language pack -->\r\n"
         "<lang>\r\n"
         "  <languages>\r\n"
         "    <entry tagName=\"eng\" engName=\"English\" trueName=\"English\"/>\r\n"
         "    <entry tagName=\"rus\" engName=\"Russian\" trueName=\"\xD0\xA0\xD1\x83\xD1\x81\xD1\x81\xD0\xBA\xD0\xB8\xD0\xB9\"/>\r\n"
         "    <entry tagName=\"jpn\" engName=\"Japanese\" trueName=\"\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\"/>\r\n"
         "  </languages>\r\n"
         "  <entries>\r\n"
         "    <entry id=\"1004000\">\r\n"
         "      <eng>Create:&#160;</eng><rus>\xD0\xA1\xD0\xBE\xD0\xB7\xD0\xB4\xD0\xB0\xD1\x82\xD1\x8C:&#160;</rus>\r\n"
         "      <jpn>\xE4\xBD\x9C\xE6\x88\x90:&#160;</jpn>\r\n"
         "    </entry>\r\n"
         "    <entry id=\"1005000\">button text<eng>Advanced Options &gt;&gt;</eng>"
         "<rus>\xD0\x94\xD0\xB0\xD0\xBB\xD0\xB5\xD0\xB5 &gt;&gt;</rus><!-- no jpn --></entry>\r\n"
         "    <entry id=\"1006000\"><eng>&lt;&lt; Minimize</eng><rus/></entry>\r\n"
         "    <entry id=\"2\" note=\"a &quot;quoted&quot; &amp; &lt;odd&gt; value&#10;\"><eng>two&#10;lines</eng></entry>\r\n"
         "  </entries>\r\n"
         "</lang>";
}

}  // namespace s::xml::testing
