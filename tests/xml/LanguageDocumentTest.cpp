// The program's own language document (res/lang.xml), read by the XML model.
#include <gtest/gtest.h>

#include <string>

#include "s/file/win/PathWin.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/xml/Node.h"

namespace {

using s::thread::Owned;
using s::xml::Node;

TEST(XmlLanguageDocument, ReadsWholeWithItsEntities) {
  const std::string path = std::string(PICTORVA_SOURCE_DIR) + "/res/lang.xml";
  Owned<s::file::win::PathWin> file(s::file::win::PathWin::fromText(s::str::strbuffer::StrBuffer(path).view()));
  if (!file->exists()) GTEST_SKIP() << "res/lang.xml is not in this tree";
  Owned<Node> lang = s::thread::make<Node>();
  bool complete = false;
  ASSERT_TRUE(lang->loadFile(*file, &complete));
  EXPECT_TRUE(complete);
  EXPECT_TRUE(lang->nameEquals(u"lang", Node::Match::kExact));
  const Node* languages = lang->findChild(u"languages", Node::Match::kExact);
  const Node* entries = lang->findChild(u"entries", Node::Match::kExact);
  ASSERT_TRUE(languages && entries);
  EXPECT_EQ(languages->childCount(), 34u);
  EXPECT_EQ(entries->childCount(), 82u);

  s::str::strbuffer::StrBuffer text;
  languages->childAt(8)->getText(text, u"trueName", u"", false);
  EXPECT_EQ(text.view(), u"\u65E5\u672C\u8A9E");
  struct Expected {
    int32_t id;
    std::u16string_view english;
  };
  const Expected expected[] = {{1004000, u"Create: "},
                               {1005000, u"Advanced Options >>"},
                               {1006000, u"<< Minimize"},
                               {300000, u"Tarn Pictorva"}};
  for (const Expected& e : expected) {
    const Node* found = nullptr;
    for (size_t i = 0; i < entries->childCount() && !found; ++i) {
      if (entries->childAt(i)->getS32(u"id", 0) == e.id) found = entries->childAt(i);
    }
    ASSERT_TRUE(found) << e.id;
    ASSERT_GT(found->childCount(), 0u);
    EXPECT_TRUE(found->childAt(0)->nameEquals(u"eng", Node::Match::kExact));
    found->childAt(0)->getText(text, u"", u"", false);
    EXPECT_EQ(text.view(), e.english) << e.id;
  }
  // Writing and reading again keeps the tree.
  Owned<Node> again = s::thread::make<Node>();
  again->parseUtf8(lang->toUtf8(), &complete);
  EXPECT_TRUE(complete);
  EXPECT_EQ(again->toUtf8(), lang->toUtf8());
}

}  // namespace
