#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "s/col/_array/ArrayP.h"
#include "s/col/_array/ArrayS08.h"
#include "s/col/_array/ArrayS32.h"
#include "s/col/_array/ArrayU08.h"
#include "s/col/_array/ArrayU32.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/Owned.h"

namespace {

using s::col::_array::ArrayBase;
using s::str::strbuffer::StrBuffer;
using s::thread::make;
using s::thread::Owned;

std::u16string toU16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

TEST(ArrayText, DumpsOfEveryElementType) {
  auto s32 = make<s::col::_array::ArrayS32>();
  s32->append(-1);
  s32->append(2147483647);
  auto u32 = make<s::col::_array::ArrayU32>();
  u32->append(4294967295u);
  auto s08 = make<s::col::_array::ArrayS08>();
  s08->append(int8_t{-128});
  s08->append(int8_t{127});
  auto u08 = make<s::col::_array::ArrayU08>();
  u08->append(uint8_t{255});
  u08->append(uint8_t{0});
  auto empty = make<s::col::_array::ArrayS32>();

  struct Case {
    const ArrayBase* array;
    std::u16string text;
  };
  const Case cases[] = {
      {s32.get(), u"s_col__array_ArrayS32 [-1 2147483647]"},
      {u32.get(), u"s_col__array_ArrayU32 [4294967295]"},
      {s08.get(), u"s_col__array_ArrayS08 [-128 127]"},
      {u08.get(), u"s_col__array_ArrayU08 [255 0]"},
      {empty.get(), u"s_col__array_ArrayS32 []"},
  };
  for (const Case& c : cases) {
    Owned<StrBuffer> text(c.array->toText(nullptr, false));
    EXPECT_EQ(text->view(), c.text);
  }
}

TEST(ArrayText, XmlCarriesNameAndLength) {
  auto array = make<s::col::_array::ArrayS32>();
  array->append(1);
  array->append(2);
  Owned<StrBuffer> text(array->toXml(nullptr, false));
  EXPECT_EQ(text->view(), u"<s_col__array_ArrayS32 length=\"2\">1 2</s_col__array_ArrayS32>");
}

TEST(ArrayText, AppendFlagKeepsOrReplaces) {
  auto array = make<s::col::_array::ArrayU08>();
  array->append(uint8_t{7});
  StrBuffer text(u"x:");
  EXPECT_EQ(array->elementsText(&text, true), &text);
  EXPECT_EQ(text.view(), u"x:7");
  array->elementsText(&text, false);
  EXPECT_EQ(text.view(), u"7");
  array->toXml(&text, true);
  EXPECT_EQ(text.view(), u"7<s_col__array_ArrayU08 length=\"1\">7</s_col__array_ArrayU08>");
}

TEST(ArrayText, PointerElementsShowNameAndAddress) {
  auto array = make<s::col::_array::ArrayP>();
  Owned<StrBuffer> element = StrBuffer::of(u"abc");
  array->append(element.get());
  array->append(nullptr);
  StrBuffer text;
  array->elementsText(&text, false);
  const std::string address = std::to_string(reinterpret_cast<uintptr_t>(element.get()));
  EXPECT_EQ(text.view(), u"s_str_strbuffer_StrBuffer(" + toU16(address) + u") null(0)");
}

}  // namespace
