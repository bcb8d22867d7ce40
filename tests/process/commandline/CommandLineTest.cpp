#include "s/process/commandline/win/CommandLine.h"

#include <gtest/gtest.h>

#include "s/thread/Owned.h"

namespace s::process::commandline::win {
namespace {

TEST(CommandLineTest, SwitchesReadAsDashAndTheirTextPlainParametersAsGiven) {
  thread::Owned<CommandLine> line(CommandLine::create());
  line->parse({u"a.jpg", u"/silent", u"-x", u"C:\\b c.png", u"", u"/"});
  const std::u16string_view expected[] = {u"a.jpg", u"-silent", u"-x", u"C:\\b c.png", u"", u"-"};
  ASSERT_EQ(line->getCount(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(line->getAt(i), expected[i]) << i;
  EXPECT_EQ(line->getAt(99), u"");
  EXPECT_EQ(line->getPlain(), (std::vector<std::u16string>{u"a.jpg", u"C:\\b c.png"}));
  line->reset();
  EXPECT_EQ(line->getCount(), 0u);
}

}  // namespace
}  // namespace s::process::commandline::win
