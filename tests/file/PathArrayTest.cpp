#include "s/file/win/PathArray.h"

#include <gtest/gtest.h>

#include <string>

#include "TempFolder.h"
#include "s/col/_array/ArrayP.h"
#include "s/col/_array/ArrayU08.h"
#include "s/file/Extension.h"
#include "s/file/win/PathWin.h"

namespace {

using s::file::Extension;
using s::file::IPath;
using s::file::testing::pathOf;
using s::file::testing::TempFolder;
using s::file::win::PathArray;
using s::file::win::PathWin;
using s::thread::Owned;
using s::thread::poolOf;

TEST(PathArray, OwnsItsPathsAndHandsOverRemovedOnes) {
  auto& pool = poolOf<PathWin>();
  // Start from a pool with room, so every released path is kept and counted.
  const int before = pool.idleCount();
  ASSERT_LT(before, 900);
  Owned<IPath> removed;
  {
    Owned<PathArray> array(PathArray::create());
    for (const char16_t* text : {u"b.png", u"a.JPG", u"c.jpg", u"d.gif"}) array->pushText(text);
    array->setFlag(1, true);
    removed.reset(array->removeAt(3));
    ASSERT_TRUE(removed);
    EXPECT_EQ(removed->getFileName(), u"d.gif");
    EXPECT_EQ(array->getCount(), 3);
    EXPECT_EQ(array->get(3), nullptr);
    const int taken = pool.idleCount();
    array->releasePathsFrom(2);  // releases c.jpg
    EXPECT_EQ(pool.idleCount(), taken + 1);
    EXPECT_EQ(array->getCount(), 2);
    EXPECT_TRUE(array->getFlag(1));
  }
  // The array's release gave back the two paths it still held.
  EXPECT_GE(pool.idleCount(), before - 2);
  EXPECT_EQ(removed->getTitle(), u"d");
}

TEST(PathArray, SortsGroupsAndFindsWithTheirFlags) {
  Owned<PathArray> array(PathArray::create());
  for (const char16_t* text : {u"x/b.png", u"x/a.JPG", u"x/c.jpg", u"x/d.gif"}) array->pushText(text);
  array->setFlag(0, true);  // b.png
  array->sortDescending();
  EXPECT_EQ(array->get(0)->getFileName(), u"d.gif");
  array->sortAscending();
  EXPECT_EQ(array->get(0)->getFileName(), u"a.JPG");
  EXPECT_EQ(array->get(1)->getFileName(), u"b.png");
  EXPECT_TRUE(array->getFlag(1));
  array->groupByExtension();
  // .gif, then .JPG and .jpg together in their previous order, then .png.
  EXPECT_EQ(array->get(0)->getExtension(), u".gif");
  EXPECT_EQ(array->get(1)->getFileName(), u"a.JPG");
  EXPECT_EQ(array->get(2)->getFileName(), u"c.jpg");
  EXPECT_EQ(array->get(3)->getFileName(), u"b.png");
  EXPECT_TRUE(array->getFlag(3));
  EXPECT_EQ(array->findText(u"x/c.jpg"), 2);
  EXPECT_EQ(array->findText(u"x/none.jpg"), -1);
  const std::u16string joined = array->join();
  EXPECT_EQ(joined.back(), u'\0');
  EXPECT_EQ(joined[joined.size() - 2], u'\0');
}

TEST(PathArray, BatchCopyMarksEachEntry) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  ASSERT_TRUE(pathOf(temp / u"a.txt")->writeAll("a", 1));
  Owned<PathArray> array(PathArray::create());
  array->pushText(temp / u"a.txt");
  array->pushText(temp / u"missing.txt");
  EXPECT_FALSE(array->copyAll(temp / u"out", false));
  EXPECT_TRUE(array->getFlag(0));
  EXPECT_FALSE(array->getFlag(1));
  EXPECT_TRUE(pathOf(temp / u"out/a.txt")->isFile());
}

TEST(PathArray, ListingIntoAnOwningPointerArray) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  ASSERT_TRUE(pathOf(temp / u"f1.bin")->writeAll("1", 1));
  ASSERT_TRUE(pathOf(temp / u"sub/f2.bin")->writeAll("22", 2));
  // The disposer outlives the list that uses it.
  struct Releaser final : s::base::IDestructor {
    void dispose(void** slot) override {
      if (*slot) static_cast<IPath*>(*slot)->release();
      *slot = nullptr;
    }
  } releaser;
  Owned<s::col::_array::ArrayP> list(s::col::_array::ArrayP::create());
  list->setDisposer(&releaser);
  ASSERT_TRUE(pathOf(temp.path())->listFiles(true, true, list.get()));
  ASSERT_EQ(list->getCount(), 2u);
  int64_t total = 0;
  for (size_t i = 0; i < list->getCount(); ++i) total += list->getAs<IPath>(i)->getSize();
  EXPECT_EQ(total, 3);
}

TEST(PathArray, ByteArraysReadAndWriteWholeFiles) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  Owned<s::col::_array::ArrayU08> bytes(s::col::_array::ArrayU08::create());
  for (int i = 0; i < 70000; ++i) bytes->append(static_cast<uint8_t>(i * 31));
  ASSERT_TRUE(pathOf(temp / u"bytes.bin")->writeAll(*bytes));
  Owned<s::col::_array::ArrayU08> back(s::col::_array::ArrayU08::create());
  ASSERT_TRUE(pathOf(temp / u"bytes.bin")->readAll(back.get()));
  ASSERT_EQ(back->getCount(), 70000u);
  EXPECT_EQ(back->compareRaw(0, bytes->data(), bytes->getCount(), 0), 0);
  EXPECT_FALSE(pathOf(temp / u"none.bin")->readAll(back.get()));
  EXPECT_EQ(back->getCount(), 0u);
}

TEST(Extension, ComparesByItsText) {
  Owned<Extension> jpg(Extension::create());
  Owned<Extension> upper(Extension::create());
  Owned<Extension> png(Extension::create());
  jpg->set(u".jpg");
  upper->set(u".JPG");
  png->set(u".png");
  EXPECT_LT(jpg->compareTo(png.get()), 0);
  EXPECT_NE(jpg->compareTo(upper.get()), 0);
  EXPECT_EQ(jpg->compareToIgnoreCase(upper.get()), 0);
  EXPECT_TRUE(jpg->equalsIgnoreCase(upper.get()));
  EXPECT_EQ(jpg->hashCodeIgnoreCase(), upper->hashCodeIgnoreCase());
  EXPECT_EQ(std::u16string(jpg->getRegistrationName()), u"s_file_Extension");
}

}  // namespace
