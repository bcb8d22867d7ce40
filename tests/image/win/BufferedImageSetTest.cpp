#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"
#include "s/thread/Owned.h"

namespace {

using s::image::win::BufferedImage;
using s::image::win::FrameArea;
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

// A w x 1 picture of 0xAARRGGBB words; alpha flag set when any is not opaque.
BufferedImage* row(const std::vector<uint32_t>& argb) {
  BufferedImage* result = BufferedImage::create();
  result->create(static_cast<int>(argb.size()), 1);
  std::memcpy(result->getLine(0), argb.data(), argb.size() * 4);
  BufferedImage::detectAlpha(result);
  return result;
}

std::vector<uint32_t> pixelsOf(const BufferedImage* image) {
  std::vector<uint32_t> argb(static_cast<size_t>(image->getWidth()));
  std::memcpy(argb.data(), image->getLine(0), argb.size() * 4);
  return argb;
}

TEST(BufferedImageSet, ComposeFramesAppliesEachDisposalAfterItsFrame) {
  constexpr uint32_t R = 0xFFFF0000, G = 0xFF00FF00, B = 0xFF0000FF, _ = 0;
  struct Frame {
    std::vector<uint32_t> pixels;
    FrameArea area;
    int disposal;
  };
  struct Case {
    const char* name;
    std::vector<Frame> frames;
    std::vector<std::vector<uint32_t>> shown;
    std::vector<int> disposals;  // of the composed frames
  };
  const Case cases[] = {
      {"keep: transparent pixels show the frame before",
       {{{R, R, R}, {0, 0, 3, 1}, 1}, {{_, G, _}, {0, 0, 3, 1}, 0}},
       {{R, R, R}, {R, G, R}},
       {1, 0}},
      {"clear to transparent: the next frame is then transparent there",
       {{{R, R, R}, {0, 0, 3, 1}, 2}, {{_, G, _}, {1, 0, 1, 1}, 1}},
       {{R, R, R}, {_, G, _}},
       {2, 1}},
      {"clear covers only the frame's own area",
       {{{R, R, R}, {0, 0, 3, 1}, 1}, {{_, G, _}, {1, 0, 1, 1}, 2}, {{_, _, B}, {2, 0, 1, 1}, 1}},
       {{R, R, R}, {R, G, R}, {R, _, B}},
       {1, 2, 1}},
      {"restore brings back the canvas before the frame",
       {{{R, R, R}, {0, 0, 3, 1}, 1}, {{G, _, _}, {0, 0, 1, 1}, 3}, {{_, _, B}, {2, 0, 1, 1}, 1}},
       {{R, R, R}, {G, R, R}, {R, R, B}},
       {1, 1, 1}},
      {"restore on the first frame gives the empty screen back",
       {{{R, _, _}, {0, 0, 1, 1}, 3}, {{_, G, _}, {1, 0, 1, 1}, 0}},
       {{R, _, _}, {_, G, _}},
       {2, 0}},
      {"a picture outside its area is not drawn; unknown disposals keep",
       {{{R, R, R}, {0, 0, 1, 1}, 5}, {{G, G, G}, {2, 0, 5, 5}, 1}},
       {{R, _, _}, {R, _, G}},
       {1, 1}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Owned<BufferedImageSet> set(BufferedImageSet::create());
    set->setAnimation(true, 5);
    for (size_t i = 0; i < c.frames.size(); ++i)
      set->add(row(c.frames[i].pixels), 8, static_cast<int>(10 * i), c.frames[i].disposal, c.frames[i].area);
    Owned<BufferedImageSet> composed(set->composeFrames());
    ASSERT_EQ(composed->getCount(), set->getCount());
    EXPECT_TRUE(composed->isAnimated());
    EXPECT_EQ(composed->getLoopCount(), 5);
    for (int i = 0; i < composed->getCount(); ++i) {
      EXPECT_EQ(pixelsOf(composed->getImage(i)), c.shown[static_cast<size_t>(i)]) << "frame " << i;
      const std::vector<uint32_t>& shown = c.shown[static_cast<size_t>(i)];
      const bool opaque = std::find(shown.begin(), shown.end(), _) == shown.end();
      EXPECT_EQ(composed->getImage(i)->hasAlpha(), !opaque);
      EXPECT_EQ(composed->getDisposal(i), c.disposals[static_cast<size_t>(i)]) << "frame " << i;
      EXPECT_EQ(composed->getDelay(i), 10 * i);
      EXPECT_EQ(composed->getFrameArea(i), (FrameArea{0, 0, 3, 1}));
    }
    // The composed frames are what a viewer shows: composing them again changes nothing.
    Owned<BufferedImageSet> again(composed->composeFrames());
    for (int i = 0; i < again->getCount(); ++i)
      EXPECT_EQ(pixelsOf(again->getImage(i)), c.shown[static_cast<size_t>(i)]) << "again, frame " << i;
  }
}

TEST(BufferedImageSet, CopiesKeepValuesAndClearReleases) {
  Owned<BufferedImageSet> set(BufferedImageSet::create());
  set->add(image(4, 2), 24, 7, 2, {1, 0, 2, 1});
  set->addImage(image(2, 2));
  set->setAnimation(true, 3);
  Owned<BufferedImageSet> copies[] = {set->copySet(), set->scaledSet(2, 2, true), set->filteredSet()};
  for (const Owned<BufferedImageSet>& copy : copies) {
    EXPECT_EQ(copy->getCount(), 2);
    // Halved, the area keeps every pixel it touched: columns 1-2 of 4 become 0-1 of 2.
    const bool halved = copy->getImage(0)->getWidth() == 2;
    EXPECT_EQ(copy->getFrameArea(0), (halved ? FrameArea{0, 0, 2, 1} : FrameArea{1, 0, 2, 1}));
    EXPECT_EQ(copy->getFrameArea(1), (FrameArea{0, 0, copy->getImage(1)->getWidth(), copy->getImage(1)->getHeight()}));
    EXPECT_EQ(copy->getDelay(0), 7);
    EXPECT_EQ(copy->getDisposal(0), 2);
    EXPECT_EQ(copy->getDepth(1), 32);
    EXPECT_TRUE(copy->isAnimated());
    EXPECT_NE(copy->getImage(0), set->getImage(0));
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
