#include "s/xml/Node.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "s/col/_array/ArrayU08.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "xml/XmlTestSupport.h"

namespace {

using s::thread::Owned;
using s::xml::Node;
using s::xml::testing::parsed;

std::u16string written(const Node& node) {
  s::str::strbuffer::StrBuffer text;
  node.toText(&text, false);
  return std::u16string(text.view());
}

TEST(XmlNode, ReadsAndWritesTheDocumentForms) {
  struct Case {
    const char* document;
    std::u16string_view written;
  };
  const Case cases[] = {
      // Self-closing elements are written as tag pairs, attributes in their order.
      {"<a x=\"1\" y=\"2\"/>", u"<a x=\"1\" y=\"2\"></a>"},
      {"\xEF\xBB\xBF\r\n  <a  x = \"1\"\ty=\"2\" ></a>", u"<a x=\"1\" y=\"2\"></a>"},
      // Text runs are stored raw: leading white space skipped, trailing kept up to "<".
      {"<a>  hello  <b/></a>", u"<a>hello  <b></b></a>"},
      // A comment child is dropped, as are comments before the element.
      {"<!-- c --><a><!-- x --><b/></a>", u"<a><b></b></a>"},
      // Only the first text run is written, ahead of the children.
      {"<a><b/>one<c/>two</a>", u"<a>one<b></b><c></c></a>"},
      // Values are taken literally; the closing name is not checked.
      {"<a v=\"x > y / &gt;\"></b>", u"<a v=\"x > y / &gt;\"></a>"},
      // No declaration support: it becomes the root.
      {"<?xml version=\"1.0\"?><r/>", u"<?xml version=\"1.0\" ?=\"\"><r></r></?xml>"},
      // A missing or unquoted value is empty (what follows "=" starts the next name).
      {"<a b c=d =\"e\">t</a>", u"<a b=\"\" c=\"\" d=\"e\">t</a>"},
      // A nameless attribute is dropped.
      {"<a =\"e\" f=\"g\"/>", u"<a f=\"g\"></a>"},
      {"no element at all", u"<></>"},
  };
  for (const Case& c : cases) {
    Owned<Node> node = parsed(c.document);
    EXPECT_EQ(written(*node), c.written) << c.document;
    // Writing what was read and reading it again changes nothing more.
    Owned<Node> again = parsed(node->toUtf8());
    EXPECT_EQ(again->toUtf8(), node->toUtf8()) << c.document;
  }
}

TEST(XmlNode, TextAndAttributeValuesReadThroughTheirRules) {
  Owned<Node> node = parsed("<a v=\"&gt;&amp;\" w=\"1&#10;2\">&#160;x&#160;  <b/>second</a>");
  s::str::strbuffer::StrBuffer text;
  EXPECT_TRUE(node->getText(text, u"v", u"", false));
  EXPECT_EQ(text.view(), u"&gt;&");
  node->getText(text, u"W", u"", false);  // attribute names ignore case
  EXPECT_EQ(text.view(), u"1\n2");
  node->getText(text, u"", u"", false);
  EXPECT_EQ(text.view(), u" x ");
  EXPECT_FALSE(node->getText(text, u"missing", u"default", true));
  EXPECT_EQ(text.view(), u" x default");
  EXPECT_EQ(std::u16string_view(node->rawAttribute(u"", u"")), u"&#160;x&#160;  ");
  EXPECT_EQ(node->attributes().count(), 4u);  // v, w and two text runs
}

TEST(XmlNode, ChildLookupFollowsTheCaseRule) {
  Owned<Node> node = parsed("<r><view/><View id=\"2\"/></r>");
  EXPECT_EQ(node->findChild(u"View", Node::Match::kExact)->getS32(u"id", 0), 2);
  EXPECT_EQ(node->findChild(u"VIEW"), node->childAt(0));
  EXPECT_EQ(node->findChild(u"Vie", Node::Match::kExact), nullptr);
  size_t index = 0;
  EXPECT_FALSE(node->findChildIndex(u"other", &index));
  EXPECT_EQ(index, Node::kNone);
  node->removeChildAt(0);
  EXPECT_EQ(node->childCount(), 1u);
  EXPECT_TRUE(node->childAt(0)->nameEquals(u"View", Node::Match::kExact));
}

TEST(XmlNode, TypedValuesKeepTheirWrittenForms) {
  Owned<Node> node = s::thread::make<Node>();
  node->setName(u"v");
  node->setS08(u"s8", -1);
  node->setU64(u"u64", UINT64_MAX);
  node->setS64(u"s64", INT64_MIN);
  node->setFloat(u"f", 1.5f);
  node->setDouble(u"d", -0.25);
  node->setBool(u"t", true);
  node->setU16(u"u16", 65535);
  const uint8_t bytes[] = {0x0A, 0xFF, 0x00};
  node->setBytes(u"b", bytes, 3);
  const uint64_t words[] = {0x0123456789ABCDEFull};
  node->setHex64AsWords(u"w", words, 1);
  node->setText(u"", u"a b");
  EXPECT_EQ(node->toUtf8(),
            "<v s8=\"-1\" u64=\"-1\" s64=\"-9223372036854775808\" f=\"1.500000\" d=\"-0.250000\" t=\"1\" "
            "u16=\"65535\" b=\"0aff00\" w=\"89abcdef01234567\">a&#160;b</v>");

  EXPECT_EQ(node->getS08(u"s8", 0), -1);
  EXPECT_EQ(node->getU32(u"s8", 0), 4294967295u);  // a signed value read unsigned, as the registry gives it
  EXPECT_EQ(node->getU64(u"u64", 0), UINT64_MAX);
  EXPECT_EQ(node->getS64(u"s64", 0), INT64_MIN);
  EXPECT_EQ(node->getFloat(u"f", 0), 1.5f);
  EXPECT_EQ(node->getDouble(u"d", 0), -0.25);
  EXPECT_EQ(node->getU08(u"u16", 0), 255);  // cut to the width
  EXPECT_EQ(node->getS16(u"u16", 0), -1);
  EXPECT_EQ(node->getS32(u"missing", 7), 7);

  // Setters append; the first record wins.
  node->setS32(u"s8", 5);
  EXPECT_EQ(node->getS08(u"s8", 0), -1);
}

TEST(XmlNode, FlagsAndBytesReadLeniently) {
  Owned<Node> node = parsed(
      "<a one=\"1\" yes=\"yes\" t=\"true\" T=\"True\" tt=\"trueish\" zero=\"0\" b=\"0aFf1\" junk=\"zz\" n=\" -12x\"/>");
  EXPECT_TRUE(node->getBool(u"one", false));
  EXPECT_FALSE(node->getBool(u"yes", true));
  EXPECT_TRUE(node->getBool(u"t", false));  // "t" and "T" are one name; the first is "true"
  EXPECT_TRUE(node->getBool(u"tt", false));
  EXPECT_FALSE(node->getBool(u"zero", true));
  EXPECT_TRUE(node->getBool(u"none", true));
  Owned<s::col::_array::ArrayU08> bytes = s::thread::make<s::col::_array::ArrayU08>();
  ASSERT_TRUE(node->getBytes(u"b", bytes.get()));
  ASSERT_EQ(bytes->getCount(), 2u);  // the odd last digit is ignored
  EXPECT_EQ(bytes->get(0), 0x0A);
  EXPECT_EQ(bytes->get(1), 0xFF);
  EXPECT_EQ(node->getS32(u"n", 0), -12);
  EXPECT_EQ(node->getU32(u"junk", 9), 0u);

  node->clear();
  node->setName(u"b");
  node->setText(u"t", u"True");
  EXPECT_FALSE(node->getBool(u"t", true));  // only lower-case "true"
}

TEST(XmlNode, WideAndUtf8ReadingAgreeOnMalformedBytes) {
  // Bad sequences sit right before the characters that steer the reader.
  const std::string documents[] = {
      "\xE3\x81<a\xFF b\xC3=\"\xF0\x9F\x98\">\xE2\x82<c/>\x80\xBF</a\xC0>",
      "<\xED\xA0\x80 x=\"\xF8\x88\x80\x80\x80\"/>",
      "<a>\xF4\x90\x80\x80<!--\xE0\x80--></a>",
  };
  for (const std::string& document : documents) {
    Owned<Node> fromBytes = parsed(document);
    Owned<Node> fromText = s::thread::make<Node>();
    bool complete = false;
    const std::u16string text(s::str::strbuffer::StrBuffer(document).view());
    fromText->parse(text, 0, &complete);
    EXPECT_EQ(written(*fromText), written(*fromBytes));
  }
}

TEST(XmlNode, EveryCutOfARealDocumentEndsCleanly) {
  const std::string document = s::xml::testing::languageDocument();
  bool complete = true;
  Owned<Node> whole = parsed(document, &complete);
  ASSERT_TRUE(complete);
  const std::string reference = whole->toUtf8();
  Owned<Node> node = s::thread::make<Node>();
  for (size_t cut = 0; cut < document.size(); ++cut) {
    const std::string_view prefix(document.data(), cut);
    // Read from a copy of exactly the prefix, so an over-read meets the sanitizer.
    const std::string copy(prefix);
    const size_t end = node->parseUtf8(copy, &complete);
    ASSERT_LE(end, cut);
    ASSERT_FALSE(complete) << cut;
    const std::string once = node->toUtf8();
    Owned<Node> again = parsed(once, &complete);
    ASSERT_TRUE(complete) << cut;
    ASSERT_EQ(again->toUtf8(), once) << cut;
  }
  EXPECT_EQ(node->parseUtf8(document, &complete), document.size());
  EXPECT_EQ(node->toUtf8(), reference);
}

TEST(XmlNode, NestingPastTheLimitEndsTheReading) {
  std::string deep;
  for (int i = 0; i < 10000; ++i) deep += "<e a=\"1\">";
  bool complete = true;
  Owned<Node> node = parsed(deep, &complete);
  EXPECT_FALSE(complete);
  size_t depth = 1;
  for (const Node* at = node.get(); at->childCount() > 0; at = at->childAt(0)) ++depth;
  EXPECT_EQ(depth, Node::kMaxDepth);
  Owned<Node> again = parsed(node->toUtf8(), &complete);
  EXPECT_TRUE(complete);

  // A tree built deeper by hand still writes and releases (neither recurses).
  Node* leaf = node.get();
  for (int i = 0; i < 100000; ++i) leaf = leaf->addChild(u"x");
  EXPECT_GT(node->toUtf8().size(), 700000u);
}

TEST(XmlNode, FilesAreUtf8WithoutMarkAndReplaceTheOldContent) {
  s::file::testing::TempFolder folder;
  ASSERT_TRUE(folder.created());
  const std::u16string path = folder / u"sub/deeper/doc.xml";
  Owned<Node> node = parsed("<r><\xC3\xA9t\xC3\xA9 v=\"\xE2\x82\xAC\"/></r>");
  ASSERT_TRUE(node->saveFile(path));
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(s::file::testing::pathOf(path)->readAll(&bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "<r><\xC3\xA9t\xC3\xA9 v=\"\xE2\x82\xAC\"></\xC3\xA9t\xC3\xA9></r>");

  node->setName(u"s");
  ASSERT_TRUE(node->saveFile(path));
  Owned<Node> loaded = s::thread::make<Node>();
  bool complete = false;
  ASSERT_TRUE(loaded->loadFile(path, &complete));
  EXPECT_TRUE(complete);
  EXPECT_EQ(loaded->toUtf8(), node->toUtf8());
  // Only the document is left in the folder: no temporary file.
  EXPECT_EQ(s::file::testing::namesIn(folder / u"sub/deeper"), std::vector<std::u16string>{u"doc.xml"});
  EXPECT_FALSE(loaded->loadFile(folder / u"missing.xml"));
  EXPECT_EQ(loaded->childCount(), 0u);
}

}  // namespace
