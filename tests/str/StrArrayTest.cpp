#include "s/str/strarray/StrArray.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "s/thread/Pool.h"

namespace {

using s::str::strarray::StrArray;
using s::str::strbuffer::StrBuffer;

std::vector<std::u16string> textsOf(const StrArray& array) {
  std::vector<std::u16string> texts;
  for (size_t i = 0; i < array.count(); ++i) texts.emplace_back(array.textAt(i)->view());
  return texts;
}

int idleTexts() { return s::thread::poolOf<StrBuffer>().idleCount(); }

TEST(StrArray, OwnsItsTextsAndGivesThemBackToThePool) {
  auto array = s::thread::make<StrArray>();
  EXPECT_EQ(std::u16string(array->getRegistrationName()), u"s_str_strarray_StrArray");
  array->append(StrBuffer::of(u"one"));
  array->appendCopy(u"two");
  array->append(static_cast<StrBuffer*>(nullptr));  // ignored
  ASSERT_EQ(array->count(), 2u);
  EXPECT_EQ(array->textAt(1)->view(), u"two");

  const int idleBefore = idleTexts();
  array->clear();
  EXPECT_EQ(idleTexts(), idleBefore + 2) << "clearing returns the texts to their pool";
  EXPECT_EQ(array->count(), 0u);

  // A recycled array still owns what it is given.
  array->appendCopy(u"three");
  StrArray* raw = array.detach();
  raw->release();
  EXPECT_EQ(idleTexts(), idleBefore + 2) << "release resets the array, which disposes of its text";
  auto again = s::thread::make<StrArray>();
  again->appendCopy(u"four");
  again->removeRange(0, 1);
  EXPECT_EQ(idleTexts(), idleBefore + 2);
}

TEST(StrArray, PoppedTextsBelongToTheCaller) {
  auto array = s::thread::make<StrArray>();
  array->appendCopy(u"a");
  array->appendCopy(u"b");
  s::thread::Owned<StrBuffer> last(static_cast<StrBuffer*>(array->popLast()));
  EXPECT_EQ(last->view(), u"b");
  EXPECT_EQ(array->count(), 1u);
}

TEST(StrArray, SortsTextsStably) {
  auto array = s::thread::make<StrArray>();
  for (const char16_t* text : {u"pear", u"Apple", u"apple", u"fig", u"APPLE"}) array->appendCopy(text);
  array->sortTexts(true);
  EXPECT_EQ(textsOf(*array), (std::vector<std::u16string>{u"Apple", u"apple", u"APPLE", u"fig", u"pear"}));
  array->sortTexts(false);
  EXPECT_EQ(textsOf(*array), (std::vector<std::u16string>{u"APPLE", u"Apple", u"apple", u"fig", u"pear"}));
  EXPECT_EQ(array->indexOf(u"FIG", true), 3u);
  EXPECT_EQ(array->indexOf(u"FIG"), StrArray::kAll);
}

TEST(StrArray, SplittingTexts) {
  struct Case {
    std::u16string text;
    std::vector<std::u16string> pieces;
    std::vector<std::u16string> words;
  };
  const Case cases[] = {
      {u"a,,b,", {u"a", u"b"}, {u"a,,b,"}},
      {u"", {}, {}},
      {u",,,", {}, {u",,,"}},
      {u"the cat,the  dog\tcat", {u"the cat", u"the  dog\tcat"}, {u"the", u"cat,the", u"dog", u"cat"}},
      {u" x x\u3000x ", {u" x x\u3000x "}, {u"x"}},
  };
  for (const Case& c : cases) {
    StrBuffer text(c.text);
    EXPECT_EQ(textsOf(*text.split(u',')), c.pieces) << text.toUtf8();
    EXPECT_EQ(textsOf(*text.splitWords()), c.words) << text.toUtf8();
  }
}

}  // namespace
