#include "s/reg/win/RegDir.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "reg/RegistryTestKey.h"
#include "s/col/_array/ArrayU08.h"
#include "s/str/strarray/StrArray.h"

namespace {

using s::reg::testing::RegistryTestKey;
using s::reg::win::RegDir;
using s::thread::Owned;

TEST(RegDir, FullPathsSelectTheirHive) {
  struct Case {
    std::u16string_view fullPath;
    uint32_t hive;
    std::u16string_view path;
    std::u16string_view nativePath;  // empty: not checked
  };
  const Case cases[] = {
      {u"hkey_local_machine\\Software\\X", s::reg::kLocalMachine, u"Software\\X", u"\\Registry\\Machine\\Software\\X"},
      {u"HKEY_CLASSES_ROOT\\.txt\\", s::reg::kClassesRoot, u".txt", u"\\Registry\\Machine\\SOFTWARE\\Classes\\.txt"},
      {u"HKEY_USERS\\.DEFAULT", s::reg::kUsers, u".DEFAULT", u"\\Registry\\User\\.DEFAULT"},
      {u"HKEY_CURRENT_USER\\Software", s::reg::kCurrentUser, u"Software", u""},
      {u"Software\\X", s::reg::kCurrentUser, u"InvalidKey", u""},
      {u"HKEY_USERSX\\a", s::reg::kCurrentUser, u"InvalidKey", u""},
  };
  Owned<RegDir> key = s::thread::make<RegDir>();
  for (const Case& c : cases) {
    key->setFullPath(c.fullPath);
    EXPECT_EQ(key->getHive(), c.hive);
    EXPECT_EQ(key->getPath(), c.path);
    if (!c.nativePath.empty()) EXPECT_EQ(key->getNativePath(), c.nativePath);
  }
  key->setHiveAndPath(s::reg::kCurrentUser, u"Software\\Tarn");
  EXPECT_EQ(key->getFullPath(), u"HKEY_CURRENT_USER\\Software\\Tarn");
  EXPECT_EQ(key->getKeyName(), u"Tarn");
  EXPECT_EQ(key->getNativePath().rfind(u"\\Registry\\User\\S-", 0), 0u);
  EXPECT_EQ(key->getParent()->getPath(), u"Software");
  key->setHive(0x80000004);  // not a hive this class knows: ignored
  EXPECT_EQ(key->getHive(), s::reg::kCurrentUser);
}

TEST(RegDir, WritesStoreTheTypesAndSizesOfTheValueRules) {
  RegistryTestKey root;
  Owned<RegDir> key = root.key(u"a\\b");
  EXPECT_FALSE(key->isOpen());
  ASSERT_TRUE(key->setS08(u"s8", -1));  // creates the key and its parent
  EXPECT_TRUE(key->isOpen());
  key->setU16(u"u16", 65535);
  key->setBool(u"flag", true);
  key->setU64(u"u64", 1);
  key->setFloat(u"f", 1.0f);
  key->setString(u"text", u"abc");
  key->setExpandString(u"expand", u"%x%");
  struct Case {
    std::u16string_view name;
    uint32_t type;
    size_t size;
  };
  const Case cases[] = {{u"s8", s::reg::kRegDword, 4},       {u"u16", s::reg::kRegDword, 4},
                        {u"flag", s::reg::kRegDword, 4},     {u"u64", s::reg::kRegBinary, 8},
                        {u"f", s::reg::kRegBinary, 4},       {u"text", s::reg::kRegSz, 8},
                        {u"expand", s::reg::kRegExpandSz, 8}};
  for (const Case& c : cases) {
    uint32_t type = 0;
    size_t size = 0;
    EXPECT_TRUE(key->queryValue(c.name, &type, &size));
    EXPECT_EQ(type, c.type);
    EXPECT_EQ(size, c.size);
  }
  EXPECT_EQ(key->getU32(u"s8", 0), 0xFFFFFFFFu);
  EXPECT_EQ(key->getS08(u"s8", 0), -1);
  EXPECT_EQ(key->getS16(u"u16", 0), static_cast<int16_t>(0xFFFF));
  EXPECT_FALSE(key->queryValue(u"text", nullptr, nullptr, s::reg::kRegDword));
  EXPECT_EQ(key->valueSize(u"missing"), 0u);
}

TEST(RegDir, ReadsAcceptAnyTypeOfTheRightSize) {
  RegistryTestKey root;
  Owned<RegDir> key = root.key();
  const uint32_t four = 0x01020304;
  const uint64_t eight = 0x0102030405060708ull;
  key->setValue(u"bin4", s::reg::kRegBinary, &four, 4);
  key->setValue(u"qword", s::reg::kRegQword, &eight, 8);
  key->setValue(u"bin3", s::reg::kRegBinary, &four, 3);
  key->setString(u"a", u"a");  // "a" and its zero: 4 bytes
  EXPECT_EQ(key->getU32(u"bin4", 0), four);
  EXPECT_EQ(key->getU08(u"bin4", 0), 0x04);
  EXPECT_TRUE(key->getBool(u"bin4", false));
  EXPECT_EQ(key->getU64(u"qword", 0), eight);
  EXPECT_EQ(key->getS64(u"qword", 0), static_cast<int64_t>(eight));
  EXPECT_EQ(key->getU32(u"qword", 9), 9u);  // 8 bytes are no DWORD
  EXPECT_EQ(key->getU64(u"bin4", 9), 9u);
  EXPECT_EQ(key->getU32(u"bin3", 9), 9u);
  EXPECT_EQ(key->getU32(u"a", 0), 0x61u);
  std::u16string text = u"unchanged";
  EXPECT_FALSE(key->getString(u"bin4", &text));
  EXPECT_EQ(text, u"unchanged");
  Owned<s::col::_array::ArrayU08> bytes = s::thread::make<s::col::_array::ArrayU08>();
  EXPECT_TRUE(key->getBytes(u"a", bytes.get()));  // bytes take any type
  EXPECT_EQ(bytes->getCount(), 4u);
}

TEST(RegDir, TextsAreBoundedByTheirData) {
  RegistryTestKey root;
  Owned<RegDir> key = root.key();
  struct Case {
    std::u16string_view name;
    std::u16string_view data;  // written without a terminating zero unless it holds one
    size_t extraByte;          // an odd last byte
    std::u16string_view text;
  };
  const Case cases[] = {
      {u"unterminated", u"abc", 0, u"abc"},
      {u"odd", u"abc", 1, u"abc"},
      {u"inner zero", std::u16string_view(u"ab\0cd", 5), 0, u"ab"},
      {u"empty", u"", 0, u""},
  };
  for (const Case& c : cases) {
    std::vector<uint8_t> data(c.data.size() * 2 + c.extraByte, 0x41);
    std::memcpy(data.data(), c.data.data(), c.data.size() * 2);
    ASSERT_TRUE(key->setValue(c.name, s::reg::kRegSz, data.data(), data.size()));
    std::u16string text = u"x";
    EXPECT_TRUE(key->getString(c.name, &text));
    EXPECT_EQ(text, c.text);
  }
  // A list without its closing zeros keeps its last text.
  const std::u16string_view list(u"one\0two\0three", 13);
  key->setValue(u"list", s::reg::kRegMultiSz, list.data(), list.size() * 2);
  Owned<s::str::strarray::StrArray> texts = s::thread::make<s::str::strarray::StrArray>();
  ASSERT_TRUE(key->getStrings(u"list", texts.get()));
  ASSERT_EQ(texts->count(), 3u);
  EXPECT_EQ(texts->textAt(2)->view(), u"three");
  texts->clear();
  texts->appendCopy(u"a");
  texts->appendCopy(u"bc");
  key->setStrings(u"written", *texts);
  EXPECT_EQ(key->valueSize(u"written"), (2 + 3 + 1) * 2u);
  EXPECT_FALSE(key->getStrings(u"unterminated", texts.get()));  // not REG_MULTI_SZ
}

TEST(RegDir, ExpandableTextsExpandInFull) {
  RegistryTestKey root;
  Owned<RegDir> key = root.key();
  // Longer than the 520 characters a fixed buffer would hold.
  const std::u16string folder(1500, u'd');
  ASSERT_TRUE(SetEnvironmentVariableW(L"PICTORVA_TEST_FOLDER", reinterpret_cast<const wchar_t*>(folder.c_str())));
  key->setExpandString(u"path", u"%PICTORVA_TEST_FOLDER%\\x");
  std::u16string text;
  bool expandable = false;
  ASSERT_TRUE(key->getString(u"path", &text, &expandable, true));
  EXPECT_TRUE(expandable);
  EXPECT_EQ(text, folder + u"\\x");
  ASSERT_TRUE(key->getString(u"path", &text, &expandable, false));
  EXPECT_EQ(text, u"%PICTORVA_TEST_FOLDER%\\x");
  SetEnvironmentVariableW(L"PICTORVA_TEST_FOLDER", nullptr);
}

TEST(RegDir, ValuesLargerThanTheSharedBufferAreReadWhole) {
  RegistryTestKey root;
  Owned<RegDir> key = root.key();
  std::vector<uint8_t> data(100000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
  ASSERT_TRUE(key->setBytes(u"big", data.data(), data.size()));
  Owned<s::col::_array::ArrayU08> bytes = s::thread::make<s::col::_array::ArrayU08>();
  ASSERT_TRUE(key->getBytes(u"big", bytes.get()));
  ASSERT_EQ(bytes->getCount(), data.size());
  EXPECT_EQ(bytes->compareRaw(0, data.data(), data.size(), 0), 0);
}

TEST(RegDir, TreesAreListedAndDeletedDeepestFirst) {
  RegistryTestKey root;
  root.key(u"A\\B\\C")->setU32(u"v", 1);
  root.key(u"A\\Bee")->setU32(u"v", 1);
  root.key(u"A\\D")->setU32(u"v", 1);
  Owned<RegDir> a = root.key(u"A");
  Owned<s::str::strarray::StrArray> names = s::thread::make<s::str::strarray::StrArray>();
  a->listSubkeyNames(names.get(), u"b");
  std::vector<std::u16string> found;
  for (size_t i = 0; i < names->count(); ++i) found.emplace_back(names->textAt(i)->view());
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::u16string>{u"B", u"Bee"}));
  names->clear();
  root.key(u"A\\D")->listValues(names.get());
  ASSERT_EQ(names->count(), 1u);
  EXPECT_EQ(names->textAt(0)->view(), u"v");

  Owned<RegDir> d = root.key(u"A\\D");
  ASSERT_TRUE(d->rename(u"E"));
  EXPECT_EQ(d->getPath(), root.path() + u"\\A\\E");
  EXPECT_TRUE(root.key(u"A\\E")->isOpen());

  EXPECT_TRUE(a->deleteTree(true));
  EXPECT_FALSE(a->isOpen());
  EXPECT_FALSE(root.key(u"A")->isOpen());
  EXPECT_TRUE(root.key()->isOpen());
}

}  // namespace
