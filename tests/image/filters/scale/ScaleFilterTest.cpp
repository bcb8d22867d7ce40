#include "s/image/filters/scale/ScaleFilter.h"

#include <gtest/gtest.h>

#include <vector>

#include "TestPicture.h"
#include "s/image/filters/scale/Contribution.h"
#include "s/image/filters/VectorLevel.h"
#include "s/thread/Owned.h"

namespace {

using pictorva_test::TestPicture;
using s::image::filters::scale::Contribution;
using s::image::filters::scale::ScaleFilter;
using s::image::filters::scale::ScalePlan;
using s::image::filters::VectorLevel;

// Every instruction level this processor has, the scalar reference first.
std::vector<VectorLevel> levels() {
  std::vector<VectorLevel> all{VectorLevel::kScalar};
  for (VectorLevel level : {VectorLevel::kSse2, VectorLevel::kAvx2}) {
    if (static_cast<int>(level) <= static_cast<int>(s::image::filters::detectedLevel())) {
      all.push_back(level);
    }
  }
  return all;
}

// Restores the default level when a test ends.
struct LevelGuard {
  ~LevelGuard() { s::image::filters::setLevelCeiling(VectorLevel::kAvx2); }
};

// One gray row scaled to `length` pixels: the blue channel of each output pixel.
std::vector<int> scaleRow(int kind, const std::vector<int>& row, int length) {
  TestPicture source(static_cast<int>(row.size()), 1);
  for (size_t x = 0; x < row.size(); ++x) source.setGray(static_cast<int>(x), 0, static_cast<uint8_t>(row[x]));
  TestPicture output(length, 1);
  EXPECT_TRUE(ScaleFilter::resampleInto(source.view, output.view, ScaleFilter::sharedKernel(kind)));
  std::vector<int> values;
  for (int x = 0; x < length; ++x) {
    const uint8_t* p = output.at(x, 0);
    EXPECT_TRUE(p[0] == p[1] && p[1] == p[2] && p[3] == 255) << "channels differ at " << x;
    values.push_back(p[0]);
  }
  return values;
}

TEST(ScaleFilter, KernelExamples) {
  struct Case {
    int kind;
    std::vector<int> enlarged;  // 0, 255 to 4 pixels
    std::vector<int> reduced;   // 0, 100, 200, 255 to 2 pixels
  };
  const Case cases[] = {
      {1, {0, 128, 255, 255}, {33, 189}},   {2, {0, 128, 255, 255}, {50, 185}},
      {3, {0, 128, 255, 255}, {5, 198}},    {4, {0, 128, 255, 255}, {0, 200}},
      {5, {96, 128, 159, 186}, {104, 152}},
  };
  LevelGuard guard;
  for (VectorLevel level : levels()) {
    s::image::filters::setLevelCeiling(level);
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << "kernel " << c.kind << " level " << static_cast<int>(level));
      EXPECT_EQ(scaleRow(c.kind, {0, 255}, 4), c.enlarged);
      EXPECT_EQ(scaleRow(c.kind, {0, 100, 200, 255}, 2), c.reduced);
    }
  }
}

TEST(ScaleFilter, KernelEdges) {
  // The peak of the triangle is its support; box and Blackman are still positive at it.
  EXPECT_EQ(ScaleFilter::sharedKernel(1).evaluate(0.0), 1.0);
  EXPECT_EQ(ScaleFilter::sharedKernel(1).evaluate(-1.0), 0.0);
  EXPECT_EQ(ScaleFilter::sharedKernel(2).evaluate(0.5), 1.0);
  EXPECT_EQ(ScaleFilter::sharedKernel(2).evaluate(0.5000001), 0.0);
  EXPECT_NEAR(ScaleFilter::sharedKernel(4).evaluate(0.5), 0.00001, 1e-12);
  EXPECT_EQ(ScaleFilter::sharedKernel(4).evaluate(0.51), 0.0);
  EXPECT_NEAR(ScaleFilter::sharedKernel(5).evaluate(0.0), 0.3989422804014327, 1e-15);
  EXPECT_EQ(ScaleFilter::sharedKernel(5).evaluate(3.01), 0.0);
  // A kind outside 1-5 falls back to the bilinear kernel.
  EXPECT_EQ(&ScaleFilter::sharedKernel(0), &ScaleFilter::sharedKernel(1));
}

TEST(Contribution, Entries) {
  struct Tap {
    int first, last;
    std::vector<int> weights;
  };
  struct Case {
    int kind, output, input;
    int window;
    std::vector<Tap> entries;
  };
  const Case cases[] = {
      // Enlarging 2 -> 4: past the last input pixel it repeats. The window (3) is capped
      // at the line's length.
      {1, 4, 2, 2, {{0, 0, {65536}}, {0, 1, {32768, 32768}}, {1, 1, {65536}}, {1, 1, {65536}}}},
      // Box 4 -> 2: the box is closed, so position 1 (centre 2) takes taps 1 to 3.
      {2, 2, 4, 3, {{0, 1, {32768, 32768}}, {1, 3, {21845, 21845, 21845}}}},
      // Bilinear 10 -> 3: only the taps with positive weight are kept.
      {1, 3, 10, 9,
       {{0, 3, {29789, 20852, 11915, 2978}},
        {1, 6, {5957, 11915, 17873, 15887, 9929, 3971}},
        {4, 9, {3971, 9929, 15887, 17873, 11915, 5957}}}},
      // 1 -> 3: every entry is the one pixel.
      {1, 3, 1, 1, {{0, 0, {65536}}, {0, 0, {65536}}, {0, 0, {65536}}}},
  };
  s::thread::Owned<Contribution> table = s::thread::make<Contribution>();
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "kernel " << c.kind << " " << c.input << " -> " << c.output);
    ASSERT_TRUE(table->compute(ScaleFilter::sharedKernel(c.kind), c.output, c.input,
                               static_cast<double>(c.output) / c.input));
    ASSERT_EQ(table->getEntryCount(), c.output);
    EXPECT_EQ(table->getWindow(), c.window);
    EXPECT_EQ(table->getEntrySize(), static_cast<size_t>(4 * c.window + 8));
    for (int i = 0; i < c.output; ++i) {
      const Tap& tap = c.entries[static_cast<size_t>(i)];
      EXPECT_EQ(table->first(i), tap.first) << "entry " << i;
      EXPECT_EQ(table->last(i), tap.last) << "entry " << i;
      std::vector<int> weights(table->weights(i), table->weights(i) + (table->last(i) - table->first(i) + 1));
      EXPECT_EQ(weights, tap.weights) << "entry " << i;
    }
  }
  // Lengths that are not positive are refused.
  EXPECT_FALSE(table->compute(ScaleFilter::sharedKernel(1), 3, 0, 1.0));
  EXPECT_FALSE(table->compute(ScaleFilter::sharedKernel(1), 0, 3, 0.0));
  EXPECT_EQ(table->getEntryCount(), 0);
}

TEST(Contribution, TablesStayWithinTheLineAndTheWindow) {
  // Every kernel over many length pairs: taps inside [0, m - 1], at most `window` of
  // them, weights that add up to at most 1.0.
  s::thread::Owned<Contribution> table = s::thread::make<Contribution>();
  for (int kind = 1; kind <= 5; ++kind) {
    for (int m = 1; m <= 40; ++m) {
      for (int n = 1; n <= 40; ++n) {
        ASSERT_TRUE(table->compute(ScaleFilter::sharedKernel(kind), n, m, static_cast<double>(n) / m));
        for (int i = 0; i < n; ++i) {
          const int first = table->first(i), last = table->last(i);
          ASSERT_TRUE(first >= 0 && first <= last && last <= m - 1) << kind << ": " << m << " -> " << n << " entry " << i;
          ASSERT_LE(last - first + 1, table->getWindow());
          int64_t sum = 0;
          for (int k = 0; k <= last - first; ++k) sum += table->weights(i)[k];
          ASSERT_LE(sum, 65536);
        }
      }
    }
  }
  // An extreme reduction keeps the table as small as the line.
  ASSERT_TRUE(table->compute(ScaleFilter::sharedKernel(5), 1, 100000, 1.0 / 100000));
  EXPECT_EQ(table->getWindow(), 100000);
}

TEST(ScaleFilter, ResamplingCases) {
  LevelGuard guard;
  for (VectorLevel level : levels()) {
    s::image::filters::setLevelCeiling(level);
    SCOPED_TRACE(testing::Message() << "level " << static_cast<int>(level));

    // 1 x 1 to 3 x 3: nine copies of the pixel.
    TestPicture one(1, 1);
    one.set(0, 0, 10, 20, 30, 40);
    TestPicture nine(3, 3);
    ASSERT_TRUE(ScaleFilter::resampleInto(one.view, nine.view, ScaleFilter::sharedKernel(1)));
    for (int i = 0; i < 9; ++i) {
      EXPECT_EQ(std::vector<uint8_t>(nine.at(i % 3, i / 3), nine.at(i % 3, i / 3) + 4), (std::vector<uint8_t>{10, 20, 30, 40}));
    }

    // Vertical alignment is at the bottom: a 1 x 2 column (top 255, bottom 0) becomes
    // 0, 128, 255, 255 counted from the bottom.
    TestPicture column(1, 2);
    column.setGray(0, 0, 255);
    column.setGray(0, 1, 0);
    TestPicture tall(1, 4);
    ASSERT_TRUE(ScaleFilter::resampleInto(column.view, tall.view, ScaleFilter::sharedKernel(1)));
    EXPECT_EQ(tall.at(0, 3)[0], 0);
    EXPECT_EQ(tall.at(0, 2)[0], 128);
    EXPECT_EQ(tall.at(0, 1)[0], 255);
    EXPECT_EQ(tall.at(0, 0)[0], 255);

    // Alpha is filtered like a colour, and transparent colour counts.
    TestPicture pair(2, 1);
    pair.set(0, 0, 200, 0, 0, 0);
    pair.set(1, 0, 0, 0, 0, 255);
    TestPicture wide(4, 1);
    ASSERT_TRUE(ScaleFilter::resampleInto(pair.view, wide.view, ScaleFilter::sharedKernel(1)));
    EXPECT_EQ(wide.at(1, 0)[3], 128);
    EXPECT_EQ(wide.at(1, 0)[0], 100);

    // Only the width changes: the vertical pass copies, so every row is filtered alike.
    TestPicture rows(4, 3);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 4; ++x) rows.setGray(x, y, static_cast<uint8_t>(x * 80));
    }
    TestPicture narrow(2, 3, 5, 2);
    ASSERT_TRUE(ScaleFilter::resampleInto(rows.view, narrow.view, ScaleFilter::sharedKernel(2)));
    for (int y = 0; y < 3; ++y) {
      EXPECT_EQ(narrow.at(0, y)[1], 40);
      EXPECT_EQ(narrow.at(1, y)[1], 160);
    }
  }
}

TEST(ScaleFilter, RefusesEmptyOrTooSmallViews) {
  TestPicture source(4, 4);
  TestPicture output(2, 2);
  const auto& kernel = ScaleFilter::sharedKernel(1);
  s::image::RasterView empty = source.view;
  empty.width = 0;
  EXPECT_FALSE(ScaleFilter::resampleInto(empty, output.view, kernel));
  empty = source.view;
  empty.height = 0;
  EXPECT_FALSE(ScaleFilter::resampleInto(empty, output.view, kernel));
  EXPECT_FALSE(ScaleFilter::resampleInto(s::image::RasterView{}, output.view, kernel));
  EXPECT_FALSE(ScaleFilter::resampleInto(source.view, s::image::RasterView{}, kernel));
  // Sizes larger than the views hold.
  EXPECT_FALSE(ScaleFilter::resample(source.view, output.view, kernel, 5, 4, 2, 2));
  EXPECT_FALSE(ScaleFilter::resample(source.view, output.view, kernel, 4, 4, 2, 3));
  EXPECT_FALSE(ScaleFilter::resample(source.view, output.view, kernel, 4, -1, 2, 2));
  // Nothing was written.
  for (uint8_t byte : output.bytes) ASSERT_EQ(byte, 0xA5);
}

TEST(ScaleFilter, Plans) {
  using Action = ScalePlan::Action;
  struct Case {
    bool canvas;
    int enlargePolicy;
    int width, height;  // absolute request, keep ratio
    int sourceWidth, sourceHeight;
    Action action;
    int pictureWidth, pictureHeight;
    bool pictureIsCopy;
    int resultWidth, resultHeight;
  };
  const Case cases[] = {
      {false, 0, 150, 150, 640, 480, Action::kResample, 150, 112, false, 150, 112},
      {false, 0, 100, 50, 100, 50, Action::kCopy, 100, 50, false, 100, 50},
      {false, 0, 300, 300, 100, 50, Action::kResample, 300, 150, false, 300, 150},
      {false, 1, 300, 300, 100, 50, Action::kCopy, 100, 50, false, 100, 50},
      {false, 1, 50, 50, 100, 50, Action::kResample, 50, 25, false, 50, 25},
      {false, 2, 50, 50, 100, 50, Action::kCopy, 100, 50, false, 100, 50},
      {false, 2, 300, 300, 100, 50, Action::kResample, 300, 150, false, 300, 150},
      {false, 0, 10, 10, 0, 50, Action::kRefuse, 0, 0, false, 1, 1},
      {true, 0, 150, 150, 640, 480, Action::kCanvas, 150, 112, false, 150, 150},
      {true, 0, 100, 50, 100, 50, Action::kCopy, 100, 50, false, 100, 50},
      {true, 1, 150, 150, 100, 50, Action::kCanvas, 100, 50, true, 150, 150},
      {true, 2, 150, 150, 640, 480, Action::kCanvas, 150, 112, false, 150, 150},
      {true, 0, 0, 150, 640, 480, Action::kRefuse, 0, 0, false, 1, 1},
  };
  for (const Case& c : cases) {
    s::thread::Owned<ScaleFilter> filter = s::thread::make<ScaleFilter>();
    filter->canvas = c.canvas;
    filter->enlargePolicy = c.enlargePolicy;
    filter->width = c.width;
    filter->height = c.height;
    ScalePlan plan = filter->plan(c.sourceWidth, c.sourceHeight);
    SCOPED_TRACE(testing::Message() << "canvas " << c.canvas << " policy " << c.enlargePolicy << " " << c.width << " x "
                                    << c.height << " of " << c.sourceWidth << " x " << c.sourceHeight);
    EXPECT_EQ(plan.action, c.action);
    EXPECT_EQ(plan.pictureWidth, c.pictureWidth);
    EXPECT_EQ(plan.pictureHeight, c.pictureHeight);
    EXPECT_EQ(plan.pictureIsCopy, c.pictureIsCopy);
    EXPECT_EQ(filter->getResultWidth(), c.resultWidth);
    EXPECT_EQ(filter->getResultHeight(), c.resultHeight);
    if (c.action == Action::kCanvas) {
      EXPECT_EQ(plan.canvasWidth, c.width);
      EXPECT_EQ(plan.canvasHeight, c.height);
    }
    if (c.action != Action::kRefuse) {
      EXPECT_EQ(filter->getSourceWidth(), c.sourceWidth);
    }
  }
  s::thread::Owned<ScaleFilter> filter = s::thread::make<ScaleFilter>();
  EXPECT_EQ(std::u16string(filter->getFilterId()), u"SCALE");
  EXPECT_EQ(filter->getFilterId(), ScaleFilter::kFilterId);
}

TEST(ScaleFilter, CanvasCentresAndClips) {
  struct Case {
    int pictureWidth, pictureHeight, canvasWidth, canvasHeight;
  };
  const Case cases[] = {{2, 2, 4, 3}, {1, 1, 5, 5}, {5, 5, 3, 3}, {6, 1, 3, 4}, {3, 3, 3, 3}};
  for (const Case& c : cases) {
    TestPicture picture(c.pictureWidth, c.pictureHeight);
    for (int y = 0; y < c.pictureHeight; ++y) {
      for (int x = 0; x < c.pictureWidth; ++x) picture.set(x, y, static_cast<uint8_t>(x), static_cast<uint8_t>(y), 7, 200);
    }
    TestPicture canvas(c.canvasWidth, c.canvasHeight, 1, 1);
    ScaleFilter::composeCanvas(picture.view, canvas.view);
    const int top = (c.canvasHeight - c.pictureHeight) / 2;
    const int left = (c.canvasWidth - c.pictureWidth) / 2;
    for (int y = 0; y < c.canvasHeight; ++y) {
      for (int x = 0; x < c.canvasWidth; ++x) {
        const int px = x - left, py = y - top;
        const bool inside = px >= 0 && px < c.pictureWidth && py >= 0 && py < c.pictureHeight;
        std::vector<uint8_t> expected = inside ? std::vector<uint8_t>{static_cast<uint8_t>(px), static_cast<uint8_t>(py), 7, 200}
                                               : std::vector<uint8_t>{255, 255, 255, 0};
        EXPECT_EQ(std::vector<uint8_t>(canvas.at(x, y), canvas.at(x, y) + 4), expected)
            << c.pictureWidth << " x " << c.pictureHeight << " on " << c.canvasWidth << " x " << c.canvasHeight << " at " << x
            << ", " << y;
      }
    }
    // The raster around the canvas is untouched: the unused bottom row, the column
    // right of the picture and the bytes after the raster.
    const s::image::RasterView& v = canvas.view;
    size_t changedOutside = 0;
    for (size_t i = 0; i < canvas.bytes.size(); ++i) {
      const size_t storageRow = i / static_cast<size_t>(v.rowBytes);
      const size_t column = i % static_cast<size_t>(v.rowBytes);
      const bool logical = storageRow < static_cast<size_t>(v.capacityHeight) &&
                           storageRow >= static_cast<size_t>(v.capacityHeight - v.height) &&
                           column < static_cast<size_t>(v.width) * 4;
      if (!logical) changedOutside += canvas.bytes[i] != 0xA5;
    }
    EXPECT_EQ(changedOutside, 0u);
  }
}

}  // namespace
