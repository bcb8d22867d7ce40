#include "map/StoreContract.h"

#include <string>

#include "file/TempFolder.h"
#include "s/col/_array/ArrayU08.h"
#include "s/xml/MappedData.h"

namespace s::map::testing {

namespace {

using thread::Owned;

std::u16string_view textOf(const char16_t* text) { return text ? std::u16string_view(text) : u"(none)"; }

TEST_P(StoreContract, ReadsGiveTheirDefaultsAndCreateNothing) {
  Owned<IMappedData> store = open();
  EXPECT_EQ(store->getU32(u"MainWindow\\View", u"Width", 250), 250u);
  EXPECT_EQ(store->getS08(u"MainWindow\\View", u"Width", -3), -3);
  EXPECT_TRUE(store->getBool(u"MainWindow/View", u"CompactView", true));
  EXPECT_EQ(store->getDouble(u"MainWindow\\View", u"Zoom", 0.5), 0.5);
  EXPECT_EQ(textOf(store->getString(u"Language", u"", u"English")), u"English");
  EXPECT_EQ(store->getBytes(u"K", u"b", nullptr), nullptr);
  EXPECT_EQ(store->getStrings(u"K", u"list"), nullptr);
  EXPECT_FALSE(store->hasValue(u"MainWindow\\View", u"Width"));
  EXPECT_FALSE(store->findKey(u"MainWindow"));
  EXPECT_FALSE(open()->findKey(u"MainWindow"));
}

TEST_P(StoreContract, EveryTypeSurvivesANewStoreWithMixedSeparators) {
  Owned<col::_array::ArrayU08> bytes = thread::make<col::_array::ArrayU08>();
  const uint8_t raw[] = {0x00, 0x7F, 0x80, 0xFF};
  bytes->append(raw, 4, 0);
  const char16_t* text = u"\"quoted\" & <b>\r\n\u00E9\U0001F4F7";
  {
    Owned<IMappedData> store = open();
    store->setU08(u"T\\a", u"u8", 200);
    store->setU16(u"T/a", u"u16", 65000);
    store->setU32(u"T\\a", u"u32", 4000000000u);
    store->setU64(u"T/a", u"u64", 18000000000000000000ull);
    store->setS08(u"T\\a", u"s8", -100);
    store->setS16(u"T/a", u"s16", -30000);
    store->setS32(u"T\\a", u"s32", INT32_MIN);
    store->setS64(u"T/a", u"s64", INT64_MIN);
    store->setFloat(u"T\\a", u"f", -2.5f);
    store->setDouble(u"T/a", u"d", 1234567.125);
    store->setBool(u"T\\a", u"flag", true);
    store->setString(u"T/a", u"text", text);
    store->setExpandString(u"T\\a", u"path", u"%PICTORVA_NOT_SET%\\x");
    store->setString(u"T/a", u"", u" a b ");
    store->setBytes(u"T\\a", u"bytes", bytes.get());
    store->setString(u"T/a/deeper/still", u"x", u"y");
    ASSERT_TRUE(store->flush());
  }
  Owned<IMappedData> store = open();
  EXPECT_EQ(store->getU08(u"T/a", u"u8", 0), 200);
  EXPECT_EQ(store->getU16(u"T\\a", u"u16", 0), 65000);
  EXPECT_EQ(store->getU32(u"T/a", u"u32", 0), 4000000000u);
  EXPECT_EQ(store->getU64(u"T\\a", u"u64", 0), 18000000000000000000ull);
  EXPECT_EQ(store->getS08(u"T/a", u"s8", 0), -100);
  EXPECT_EQ(store->getS16(u"T\\a", u"s16", 0), -30000);
  EXPECT_EQ(store->getS32(u"T/a", u"s32", 0), INT32_MIN);
  EXPECT_EQ(store->getS64(u"T\\a", u"s64", 0), INT64_MIN);
  EXPECT_EQ(store->getFloat(u"T/a", u"f", 0), -2.5f);
  EXPECT_EQ(store->getDouble(u"T\\a", u"d", 0), 1234567.125);
  EXPECT_TRUE(store->getBool(u"T/a", u"FLAG", false));  // value names ignore case
  EXPECT_EQ(textOf(store->getString(u"T\\a", u"text", u"")), text);
  EXPECT_EQ(textOf(store->getString(u"T/a", u"path", u"")), u"%PICTORVA_NOT_SET%\\x");
  EXPECT_EQ(textOf(store->getString(u"T\\a", u"", u"")), u" a b ");
  EXPECT_EQ(textOf(store->getString(u"T\\a\\deeper\\still", u"x", u"")), u"y");
  Owned<col::_array::ArrayU08> read(store->getBytes(u"T/a", u"bytes", nullptr));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->getCount(), 4u);
  EXPECT_EQ(read->compareRaw(0, raw, 4, 0), 0);
  // A signed value read unsigned: the low bits of its 32-bit form.
  EXPECT_EQ(store->getU32(u"T/a", u"s8", 0), static_cast<uint32_t>(-100));
  EXPECT_EQ(store->getS08(u"T/a", u"u8", 0), static_cast<int8_t>(200));
}

TEST_P(StoreContract, DeletingValuesAndKeys) {
  Owned<IMappedData> store = open();
  store->setS32(u"A\\B\\C", u"x", 1);
  store->setS32(u"A\\B", u"y", 2);
  store->setS32(u"A\\D", u"z", 3);
  EXPECT_TRUE(store->deleteValue(u"A/B", u"Y"));
  EXPECT_FALSE(store->deleteValue(u"A/B", u"y"));
  EXPECT_FALSE(store->hasValue(u"A\\B", u"y"));
  EXPECT_TRUE(store->deleteKey(u"A/b"));
  EXPECT_FALSE(store->findKey(u"A\\B\\C"));
  EXPECT_EQ(store->getS32(u"A\\B\\C", u"x", -1), -1);
  EXPECT_EQ(store->getS32(u"A\\D", u"z", -1), 3);
  EXPECT_FALSE(store->deleteKey(u"A\\Missing"));
  EXPECT_FALSE(store->deleteKey(u""));
  ASSERT_TRUE(store->flush());
  Owned<IMappedData> again = open();
  EXPECT_FALSE(again->findKey(u"A\\B"));
  EXPECT_TRUE(again->deleteKey(u"A"));
  EXPECT_FALSE(again->findKey(u"A"));
}

TEST_P(StoreContract, PathsWithEmptyComponentsAreRefused) {
  Owned<IMappedData> store = open();
  for (const char16_t* key : {u"A\\\\B", u"\\A", u"A/", u"A//B"}) {
    store->setS32(key, u"v", 1);
    EXPECT_FALSE(store->openKey(key));
    EXPECT_EQ(store->getS32(key, u"v", 5), 5);
  }
  EXPECT_FALSE(store->findKey(u"A"));
}

// The XML store on a file of its own.
class XmlMedium final : public StoreMedium {
 public:
  thread::Owned<IMappedData> open() override {
    thread::Owned<xml::MappedData> store = thread::make<xml::MappedData>();
    (void)store->open(folder_ / u"savedata/SaveData.xml");
    return thread::Owned<IMappedData>(store.detach());
  }

 private:
  file::testing::TempFolder folder_;
};

INSTANTIATE_TEST_SUITE_P(Xml, StoreContract,
                         ::testing::Values(StoreKind{"Xml", [] { return std::unique_ptr<StoreMedium>(new XmlMedium()); }}),
                         kindName);

}  // namespace

}  // namespace s::map::testing
