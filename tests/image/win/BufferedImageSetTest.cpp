#include <gtest/gtest.h>

#include <cstring>

#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"
#include "s/thread/Owned.h"

namespace {

using s::image::win::BufferedImage;
using s::image::win::BufferedImageSet;
using s::thread::Owned;

BufferedImage* image(int width, int height, uint32_t colour = 0xFF000000) {
  BufferedImage* result = BufferedImage::create();
  result->create(width, height);
  BufferedImage::fill(result, colour >> 24, (colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF);
  return result;
}

TEST(BufferedImageSet, PrimaryIsLargestThenDeepestThenFirst) {
  Owned<BufferedImageSet> set(BufferedImageSet::create());
  set->add(image(32, 32), 4, 0, 0);
  set->add(image(32, 32), 8, 0, 0);
  set->add(image(32, 32), 8, 0, 0);
  EXPECT_EQ(set->getPrimaryIndex(), 1);
  set->add(nullptr, 32, 0, 0);  // ignored
  EXPECT_EQ(set->getCount(), 3);
  set->add(image(40, 30), 1, 0, 0);  // 1200 > 1024
  EXPECT_EQ(set->getPrimaryIndex(), 3);
  EXPECT_EQ(set->getWidth(), 40);
  EXPECT_EQ(set->getDelay(5), 1000);
  EXPECT_EQ(set->getDisposal(3), 0);
  EXPECT_EQ(set->getDisposal(-1), 1000);
}

TEST(BufferedImageSet, RecomputePrimarySizeKeepsTheEarlierOfEqualAreas) {
  Owned<BufferedImageSet> set(BufferedImageSet::create());
  EXPECT_EQ(set->recomputePrimarySize(), 0);
  EXPECT_EQ(set->getWidth(), 0);
  set->add(image(4, 2), 8, 0, 0);
  set->add(image(2, 4), 32, 0, 0);
  set->add(image(1, 1), 8, 0, 0);
  EXPECT_EQ(set->recomputePrimarySize(), 3);
  EXPECT_EQ(set->getWidth(), 4);
  EXPECT_EQ(set->getHeight(), 2);
}

TEST(BufferedImageSet, NearestSearches) {
  Owned<BufferedImageSet> set(BufferedImageSet::create());
  set->add(image(16, 16), 8, 0, 0);
  set->add(image(32, 32), 4, 0, 0);
  set->add(image(32, 32), 8, 0, 0);
  struct Case {
    const char* name;
    bool (BufferedImageSet::*find)(int, int, int, int*) const;
    int width, height, depth;
    bool found;
    int index;
  };
  const Case cases[] = {
      // Depth distance 24 ties between 0 and 2; area distance 0 beats 768.
      {"by depth", &BufferedImageSet::findNearestByDepth, 32, 32, 32, true, 2},
      {"by depth exact", &BufferedImageSet::findNearestByDepth, 32, 32, 4, true, 1},
      {"by size", &BufferedImageSet::findNearestBySize, 30, 30, 4, true, 1},
      {"by size depth tie-break", &BufferedImageSet::findNearestBySize, 32, 32, 7, true, 2},
      {"exact", &BufferedImageSet::findImage, 16, 16, 8, true, 0},
      {"exact missing", &BufferedImageSet::findImage, 16, 16, 4, false, 0},
      // Areas far beyond 32 bits do not wrap.
      {"huge target", &BufferedImageSet::findNearestBySize, 2000000000, 2000000000, 8, true, 2},
  };
  for (const Case& c : cases) {
    int index = -1;
    EXPECT_EQ(((*set).*c.find)(c.width, c.height, c.depth, &index), c.found) << c.name;
    EXPECT_EQ(index, c.index) << c.name;
  }
  Owned<BufferedImageSet> empty(BufferedImageSet::create());
  int index = -1;
  EXPECT_FALSE(empty->findNearestByDepth(1, 1, 1, &index));
  EXPECT_EQ(index, 0);
}

TEST(BufferedImageSet, ComposeFramesDrawsOverThePreviousFrame) {
  Owned<BufferedImageSet> set(BufferedImageSet::create());
  set->setAnimation(true, 5);
  set->add(image(2, 1, 0xFFFF0000), 8, 10, 0);
  BufferedImage* second = image(2, 1, 0x00000000);  // transparent, one green pixel
  std::memcpy(second->getLine(0) + 4, "\x00\xFF\x00\xFF", 4);
  second->setAlpha(true);
  set->add(second, 8, 20, 1);
  Owned<BufferedImageSet> frames(set->composeFrames());
  ASSERT_EQ(frames->getCount(), 2);
  EXPECT_TRUE(frames->isAnimated());
  EXPECT_EQ(frames->getLoopCount(), 5);
  EXPECT_EQ(frames->getDisposal(1), 2);
  EXPECT_EQ(frames->getDelay(1), 20);
  const uint8_t* line = frames->getImage(1)->getLine(0);
  EXPECT_EQ(line[2], 255);  // red shows through
  EXPECT_EQ(line[5], 255);  // green drawn over it
  EXPECT_EQ(line[6], 0);
}

TEST(BufferedImageSet, CopiesKeepValuesAndClearReleases) {
  Owned<BufferedImageSet> set(BufferedImageSet::create());
  set->add(image(4, 2), 24, 7, 2);
  set->addImage(image(2, 2));
  set->setAnimation(true, 3);
  for (BufferedImageSet* copy : {set->copySet(), set->scaledSet(2, 2, true), set->filteredSet()}) {
    EXPECT_EQ(copy->getCount(), 2);
    EXPECT_EQ(copy->getDelay(0), 7);
    EXPECT_EQ(copy->getDisposal(0), 2);
    EXPECT_EQ(copy->getDepth(1), 32);
    EXPECT_TRUE(copy->isAnimated());
    EXPECT_NE(copy->getImage(0), set->getImage(0));
    copy->release();
  }
  BufferedImage* first = set->getImage(0);
  BufferedImage* second = set->getImage(1);
  set->removeAll();
  EXPECT_EQ(set->getCount(), 0);
  EXPECT_EQ(set->getLoopCount(), 3);
  EXPECT_FALSE(set->isAnimated());
  first->release();
  second->release();
  set->clear();
  EXPECT_EQ(set->getLoopCount(), 1);
}

}  // namespace
