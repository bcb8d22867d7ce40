#include "s/xml/MappedData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "s/file/FileReplacer.h"
#include "file/TempFolder.h"

namespace {

using s::file::testing::TempFolder;
using s::thread::Owned;
using s::xml::MappedData;

std::string fileText(const std::u16string& path) {
  std::vector<uint8_t> bytes;
  if (!s::file::testing::pathOf(path)->readAll(&bytes)) return "(missing)";
  return std::string(bytes.begin(), bytes.end());
}

void writeFile(const std::u16string& path, std::string_view text) {
  ASSERT_TRUE(s::file::testing::pathOf(path)->writeAll(text.data(), text.size()));
}

Owned<MappedData> openStore(const std::u16string& path) {
  Owned<MappedData> store = s::thread::make<MappedData>();
  store->open(path);
  return store;
}

class XmlStore : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder_.created()); }
  std::u16string path() const { return folder_ / u"savedata/SaveData.xml"; }
  TempFolder folder_;
};

TEST_F(XmlStore, TheFileLayoutFollowsTheOrderOfLastWriting) {
  Owned<MappedData> store = openStore(path());
  ASSERT_TRUE(store->flush());
  EXPECT_EQ(fileText(path()), "<savedata></savedata>");
  store->setS32(u"MainWindow\\View", u"Width", 300);
  store->setS32(u"MainWindow\\View", u"Height", 200);
  store->setBool(u"MainWindow\\View", u"CompactView", false);
  store->setS32(u"MainWindow/View", u"width", 310);  // replaces "Width", now last
  store->setString(u"Language", u"", u"English");
  store->setString(u"MainWindow\\ConvertTo\\Tile", u"", u"a b");
  ASSERT_TRUE(store->flush());
  EXPECT_EQ(fileText(path()),
            "<savedata><MainWindow><View Height=\"200\" CompactView=\"0\" width=\"310\"></View>"
            "<ConvertTo><Tile>a&#160;b</Tile></ConvertTo></MainWindow><Language>English</Language></savedata>");
}

TEST_F(XmlStore, NamesTheFileCouldNotCarryAreRefused) {
  Owned<MappedData> store = openStore(path());
  // (Empty components are refused by both stores: see the store contract.)
  const char16_t* keys[] = {u"A<B", u"A B", u"!A", u"A\"B", u"A=B", u"A&B", u"\xD800"};
  for (const char16_t* key : keys) {
    store->setS32(key, u"v", 1);
    EXPECT_FALSE(store->openKey(key));
    EXPECT_EQ(store->getS32(key, u"v", 5), 5);
  }
  store->setS32(u"A", u"x y", 1);
  store->setS32(u"A", u"x=y", 1);
  store->setS32(u"A", u"x\"", 1);
  EXPECT_EQ(store->root()->toUtf8(), "<savedata></savedata>");  // nothing made for a refused write
  // Names of any script are plain.
  store->setS32(u"\u0412\u0438\u0434", u"\u5E45", 7);
  EXPECT_EQ(store->getS32(u"\u0412\u0438\u0434", u"\u5E45", 0), 7);
}

TEST_F(XmlStore, AutoFlushWritesEveryChange) {
  Owned<MappedData> store = openStore(path());
  store->setS32(u"K", u"a", 1);
  EXPECT_EQ(fileText(path()), "(missing)");
  store->setAutoFlush(true);
  store->setS32(u"K", u"b", 2);
  EXPECT_EQ(fileText(path()), "<savedata><K a=\"1\" b=\"2\"></K></savedata>");
  store->deleteValue(u"K", u"a");
  EXPECT_EQ(fileText(path()), "<savedata><K b=\"2\"></K></savedata>");
}

TEST_F(XmlStore, AnUnreadableFileIsKeptAsBackupBeforeTheFirstFlush) {
  struct Case {
    const char* content;
    int32_t keptWidth;  // what the store still reads
  };
  const Case cases[] = {
      {"", 250},
      {"<settings><View Width=\"5\"/></settings>", 250},
      {"<?xml version=\"1.0\"?><savedata/>", 250},
      // Cut short: what could be read stays, the file is still kept.
      {"<savedata><View Width=\"300\"/><View2 Height=\"1", 300},
  };
  for (const Case& c : cases) {
    writeFile(path(), c.content);
    Owned<MappedData> store = s::thread::make<MappedData>();
    EXPECT_FALSE(store->open(path())) << c.content;
    EXPECT_TRUE(store->isBackupPending());
    EXPECT_EQ(store->getS32(u"View", u"Width", 250), c.keptWidth);
    EXPECT_EQ(fileText(path()), c.content);  // reading never writes
    store->setS32(u"View", u"Height", 9);
    ASSERT_TRUE(store->flush());
    EXPECT_EQ(fileText(path() + u".bak"), c.content);
    Owned<MappedData> reopened = s::thread::make<MappedData>();
    EXPECT_TRUE(reopened->open(path()));
    EXPECT_EQ(reopened->getS32(u"View", u"Height", 0), 9);
    // The next flush does not back up the good file.
    ASSERT_TRUE(reopened->flush());
    EXPECT_EQ(fileText(path() + u".bak"), c.content);
  }
}

TEST_F(XmlStore, AFlushCutShortLeavesThePreviousFile) {
  {
    Owned<MappedData> store = openStore(path());
    store->setS32(u"View", u"Width", 300);
    ASSERT_TRUE(store->flush());
  }
  const std::string previous = fileText(path());
  {
    // The new content is written in full to the temporary file, and the process
    // stops before the rename.
    s::file::FileReplacer replacer(path());
    const std::string next = "<savedata><View Width=\"1\"></View></savedata>";
    ASSERT_TRUE(replacer.writeTemporary(next.data(), next.size()));
    EXPECT_EQ(fileText(replacer.temporaryPath()), next);
    EXPECT_EQ(fileText(path()), previous);
    Owned<MappedData> reader = openStore(path());
    EXPECT_EQ(reader->getS32(u"View", u"Width", 0), 300);
  }
  // The uncommitted temporary file is gone.
  EXPECT_EQ(s::file::testing::namesIn(folder_ / u"savedata"), std::vector<std::u16string>{u"SaveData.xml"});
}

TEST_F(XmlStore, AFlushThatCannotWriteSaysSo) {
  // The store's folder is a file, so neither the folder nor the file can be made.
  writeFile(folder_ / u"savedata", "x");
  Owned<MappedData> store = openStore(path());
  store->setS32(u"K", u"a", 1);
  EXPECT_FALSE(store->flush());
}

}  // namespace
