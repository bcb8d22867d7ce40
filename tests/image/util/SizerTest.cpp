#include "s/image/util/Sizer.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "s/image/filters/scale/ScaleFilter.h"
#include "s/thread/Owned.h"

namespace {

using s::image::filters::scale::ScaleFilter;
using s::image::util::Sizer;
using s::image::util::TargetSize;

struct Source {
  int width;
  int height;
  int getWidth() const { return width; }
  int getHeight() const { return height; }
};

TEST(Sizer, BuildSizesSeries) {
  struct Case {
    bool absolute;
    int limitPolicy;
    int stepCount;
    int range;
    std::vector<int> expected;
  };
  const Case cases[] = {
      {true, 1, 10, 100, {32, 1200, 161, 291, 421, 551, 680, 810, 940, 1070}},
      {true, 1, 0, 100, {32, 1200}},
      {true, 1, 1, 100, {32, 1200}},
      {true, 1, 2, 100, {32, 1200}},
      {true, 1, 3, 100, {32, 1200, 616}},
      {false, 1, 10, 100, {-100, 100, -78, -56, -34, -12, 11, 33, 55, 77}},
      {false, 2, 10, 100, {-100, -10, -20, -30, -40, -50, -60, -70, -80, -90}},
      {false, 3, 10, 100, {100, 10, 20, 30, 40, 50, 60, 70, 80, 90}},
      {false, 3, 7, 100, {100, 14, 28, 42, 57, 71, 85}},  // steps of 14.28..., truncated
      {false, 4, 10, 100, {}},
      {false, 1, 2, 50, {-50, 50}},
  };
  for (const Case& c : cases) {
    s::thread::Owned<Sizer> sizer = s::thread::make<Sizer>();
    sizer->mode = Sizer::kModeSeries;
    sizer->seriesAbsolute = c.absolute;
    sizer->limitPolicy = c.limitPolicy;
    sizer->stepCount = c.stepCount;
    sizer->percentRange = c.range;
    sizer->buildSizes();
    SCOPED_TRACE(testing::Message() << "absolute " << c.absolute << " policy " << c.limitPolicy << " steps " << c.stepCount);
    if (c.absolute) {
      EXPECT_EQ(sizer->getWidths(), c.expected);
      EXPECT_EQ(sizer->getHeights(), c.expected);
      EXPECT_TRUE(sizer->getWidthPercents().empty());
    } else {
      EXPECT_EQ(sizer->getWidthPercents(), c.expected);
      EXPECT_EQ(sizer->getHeightPercents(), c.expected);
      EXPECT_TRUE(sizer->getWidths().empty());
    }
    EXPECT_EQ(sizer->getSizeCount(), static_cast<int>(c.expected.size()));
    // Building again gives the same lists, not longer ones.
    sizer->buildSizes();
    EXPECT_EQ(sizer->getSizeCount(), static_cast<int>(c.expected.size()));
  }
}

TEST(Sizer, SingleSizeAndCounts) {
  s::thread::Owned<Sizer> sizer = s::thread::make<Sizer>();
  sizer->buildSizes();  // defaults: single size 800 x 600 in pixels
  EXPECT_EQ(sizer->getWidths(), std::vector<int>{800});
  EXPECT_EQ(sizer->getHeights(), std::vector<int>{600});
  EXPECT_EQ(sizer->getSizeCount(), 1);

  sizer->absolute = false;
  sizer->buildSizes();
  EXPECT_TRUE(sizer->getWidths().empty());
  EXPECT_EQ(sizer->getWidthPercents(), std::vector<int>{200});
  EXPECT_EQ(sizer->getHeightPercents(), std::vector<int>{200});

  // One size even when it cannot apply; an unknown mode has none.
  sizer->absolute = true;
  sizer->width = 0;
  sizer->buildSizes();
  EXPECT_EQ(sizer->getSizeCount(), 1);
  EXPECT_FALSE(sizer->isApplicable(0, 100, 100));
  sizer->mode = 7;
  EXPECT_EQ(sizer->getSizeCount(), 0);

  // Reset restores the defaults and empties the lists.
  sizer->reset();
  EXPECT_EQ(sizer->width, 800);
  EXPECT_EQ(sizer->limitPolicy, 1);
  EXPECT_TRUE(sizer->getWidths().empty());
}

// Builds a sizer for one request.
s::thread::Owned<Sizer> makeSizer(int mode, bool absolute, int limitPolicy, int width, int height) {
  s::thread::Owned<Sizer> sizer = s::thread::make<Sizer>();
  sizer->mode = mode;
  sizer->seriesAbsolute = absolute;
  sizer->absolute = absolute;
  sizer->limitPolicy = limitPolicy;
  sizer->width = width;
  sizer->height = height;
  sizer->widthPercent = width;
  sizer->heightPercent = height;
  sizer->buildSizes();
  return sizer;
}

TEST(Sizer, Applicability) {
  struct Case {
    int mode;
    bool absolute;
    int limitPolicy;
    int index;
    int sourceWidth, sourceHeight;
    bool expected;
  };
  const Case cases[] = {
      // Series of changes, policy 1 (-100, 100, -78, ...): -100 % is never applicable.
      {1, false, 1, 0, 640, 480, false},
      {1, false, 1, 1, 640, 480, true},
      {1, false, 1, 2, 640, 480, true},
      // Series of changes, policy 2 (-100, -10, ...): the first size never applies.
      {1, false, 2, 0, 640, 480, false},
      {1, false, 2, 9, 1, 1, false},  // -90 %: 1 x 10 / 100 = 0
      {1, false, 2, 9, 10, 10, true},
      // Series of pixel sizes (32, 1200, 161, ...).
      {1, true, 2, 0, 32, 32, true},
      {1, true, 2, 0, 31, 640, false},
      {1, true, 2, 1, 1199, 1200, false},
      {1, true, 3, 1, 1200, 1200, true},
      {1, true, 3, 0, 33, 10, false},
      {1, true, 1, 1, 5, 5, true},
      // An empty source has nothing to scale.
      {1, true, 1, 1, 0, 5, false},
      // Out of range indices.
      {1, true, 1, 10, 100, 100, false},
      {1, true, 1, -1, 100, 100, false},
  };
  for (const Case& c : cases) {
    s::thread::Owned<Sizer> sizer = makeSizer(c.mode, c.absolute, c.limitPolicy, 0, 0);
    EXPECT_EQ(sizer->isApplicable(c.index, Source{c.sourceWidth, c.sourceHeight}), c.expected)
        << "mode " << c.mode << " absolute " << c.absolute << " policy " << c.limitPolicy << " index " << c.index
        << " source " << c.sourceWidth << " x " << c.sourceHeight;
  }
}

TEST(Sizer, ApplicabilityOfPercentages) {
  // -98 % leaves 2 %: 50 x 2 / 100 = 1, 49 x 2 / 100 = 0.
  s::thread::Owned<Sizer> sizer = makeSizer(1, false, 1, 0, 0);
  sizer->percentRange = 98;
  sizer->stepCount = 2;
  sizer->buildSizes();
  ASSERT_EQ(sizer->getWidthPercents()[0], -98);
  EXPECT_TRUE(sizer->isApplicable(0, 50, 50));
  EXPECT_FALSE(sizer->isApplicable(0, 49, 49));
  EXPECT_FALSE(sizer->isApplicable(0, 50, 49));

  struct Case {
    int widthPercent, heightPercent, sourceWidth, sourceHeight;
    bool expected;
  };
  const Case single[] = {
      {200, 200, 10, 10, true}, {0, 200, 10, 10, false}, {1, 1, 100, 100, true},
      {1, 1, 99, 100, false},   {-5, 50, 10, 10, false},
      {INT_MAX, INT_MAX, 1000, 1000, true},  // 64-bit products: no wrap to a negative size
  };
  for (const Case& c : single) {
    s::thread::Owned<Sizer> percent = makeSizer(2, false, 0, c.widthPercent, c.heightPercent);
    EXPECT_EQ(percent->isApplicable(0, c.sourceWidth, c.sourceHeight), c.expected)
        << c.widthPercent << " % x " << c.heightPercent << " % of " << c.sourceWidth << " x " << c.sourceHeight;
  }
}

TEST(Sizer, ScaleFiltersAndTargetSizes) {
  struct Case {
    int mode;
    bool absolute;
    int limitPolicy;
    bool keepRatio;
    int width, height;  // the request (pixels or percent)
    int index;
    int sourceWidth, sourceHeight;
    int filterWidth, filterHeight;
    bool filterAbsolute;
    TargetSize target;
  };
  const Case cases[] = {
      // Thumbnails in a 150 x 150 cell, never larger than the source.
      {2, true, 2, true, 150, 150, 0, 640, 480, 150, 150, true, {150, 112}},
      {2, true, 2, true, 150, 150, 0, 400, 300, 150, 150, true, {150, 112}},
      {2, true, 2, true, 150, 150, 0, 100, 300, 100, 150, true, {50, 150}},
      {2, true, 2, true, 150, 150, 0, 100, 50, 100, 50, true, {100, 50}},
      {2, true, 2, true, 800, 600, 0, 1024, 300, 800, 300, true, {800, 234}},
      {2, true, 2, false, 800, 600, 0, 1024, 300, 800, 300, true, {800, 300}},
      {2, true, 3, true, 10, 10, 0, 20, 5, 20, 10, true, {20, 5}},
      // Requested 1 x 1000 of a 1000 x 10 source: the height falls to 0, raised to 1.
      {2, true, 0, true, 1, 1000, 0, 1000, 10, 1, 1000, true, {1, 1}},
      // Single percentages are limited, not taken as changes.
      {2, false, 2, true, 200, 200, 0, 640, 480, 100, 100, false, {640, 480}},
      {2, false, 3, true, 50, 50, 0, 640, 480, 100, 100, false, {640, 480}},
      {2, false, 0, true, 50, 25, 0, 640, 480, 50, 25, false, {160, 120}},
      {2, false, 0, false, 50, 25, 0, 640, 480, 50, 25, false, {320, 120}},
      // Series of pixel boxes keep the ratio; policy 2 limits to the source.
      {1, true, 2, false, 0, 0, 2, 1000, 100, 161, 100, true, {161, 16}},
      {1, true, 3, false, 0, 0, 0, 64, 16, 64, 32, true, {64, 16}},
      // Series of changes: -78 % is 22 % of the source.
      {1, false, 1, false, 0, 0, 2, 1000, 500, 22, 22, false, {220, 110}},
      {1, false, 2, false, 0, 0, 1, 1000, 500, 90, 90, false, {900, 450}},
      {1, false, 1, false, 0, 0, 1, 1000, 500, 200, 200, false, {2000, 1000}},
  };
  for (const Case& c : cases) {
    s::thread::Owned<Sizer> sizer = makeSizer(c.mode, c.absolute, c.limitPolicy, c.width, c.height);
    sizer->keepRatio = c.keepRatio;
    SCOPED_TRACE(testing::Message() << "request " << c.width << " x " << c.height << " policy " << c.limitPolicy
                                    << " source " << c.sourceWidth << " x " << c.sourceHeight);
    s::thread::Owned<ScaleFilter> filter(sizer->makeScaleFilter(c.index, Source{c.sourceWidth, c.sourceHeight}));
    ASSERT_TRUE(filter);
    EXPECT_EQ(filter->width, c.filterWidth);
    EXPECT_EQ(filter->height, c.filterHeight);
    EXPECT_EQ(filter->widthAbsolute, c.filterAbsolute);
    EXPECT_EQ(filter->heightAbsolute, c.filterAbsolute);
    EXPECT_EQ(filter->keepRatio, c.mode == 1 ? true : c.keepRatio);
    EXPECT_EQ(filter->kernelKind, 1);
    EXPECT_FALSE(filter->canvas);
    EXPECT_EQ(filter->enlargePolicy, 0);
    EXPECT_TRUE(filter->isAutoRelease());
    EXPECT_EQ(Sizer::computeTargetSize(*filter, c.sourceWidth, c.sourceHeight), c.target);
  }
  s::thread::Owned<Sizer> sizer = makeSizer(2, true, 2, 150, 150);
  EXPECT_EQ(sizer->makeScaleFilter(1, 10, 10), nullptr);
}

TEST(Sizer, TargetSizeArithmeticDoesNotOverflow) {
  s::thread::Owned<ScaleFilter> filter = s::thread::make<ScaleFilter>();
  struct Case {
    bool absolute;
    bool keepRatio;
    int width, height, sourceWidth, sourceHeight;
    TargetSize expected;
  };
  const Case cases[] = {
      // 32-bit products would wrap to negative sizes here.
      {false, false, INT_MAX, 100, 1000, 10, {INT_MAX, 10}},
      {false, false, 3'000'000, 3'000'000, 1000, 1000, {30'000'000, 30'000'000}},
      {false, false, INT_MIN, -1, 1000, 10, {1, 1}},
      {true, true, INT_MAX, 1, 1, INT_MAX, {1, 1}},
      {true, true, -1000, 5, 1, 1'000'000'000, {1, 1}},  // -10^12 clamps, then 1
      {true, true, 0, 0, 10, 10, {1, 1}},
      // No proportions to keep for an empty source; the request is taken as it is.
      {true, true, 30, 20, 0, 0, {30, 20}},
      {false, true, 50, 50, 0, 10, {1, 5}},
  };
  for (const Case& c : cases) {
    filter->widthAbsolute = filter->heightAbsolute = c.absolute;
    filter->keepRatio = c.keepRatio;
    filter->width = c.width;
    filter->height = c.height;
    EXPECT_EQ(Sizer::computeTargetSize(*filter, c.sourceWidth, c.sourceHeight), c.expected)
        << c.width << " x " << c.height << " of " << c.sourceWidth << " x " << c.sourceHeight;
  }
}

}  // namespace
