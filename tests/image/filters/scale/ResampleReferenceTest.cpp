// The resampler against a plain loop written from the rules: contribution tables
// computed afresh, each output channel a sum over input pixels addressed by (x, y),
// the vertical positions counted from the bottom edge. Random pictures and sizes in
// both directions on both axes, at every instruction level.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>
#include <thread>
#include <vector>

#include "TestPicture.h"
#include "s/image/filters/scale/ScaleFilter.h"
#include "s/image/filters/VectorLevel.h"

namespace {

using pictorva_test::TestPicture;
using s::image::filters::scale::IScaleFilter;
using s::image::filters::scale::ScaleFilter;
using s::image::filters::VectorLevel;

struct Entry {
  int first = 0;
  std::vector<uint32_t> weights;  // one per tap from first
};

std::vector<Entry> referenceTable(const IScaleFilter& kernel, int n, int m) {
  const double scale = static_cast<double>(n) / static_cast<double>(m);
  const double support = kernel.getSupport();
  const double width = scale < 1.0 ? support / scale : support;
  const double factor = scale < 1.0 ? scale : 1.0;
  const int64_t window = std::min<int64_t>(2 * static_cast<int64_t>(std::ceil(width)) + 1, m);
  std::vector<Entry> table(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const double center = i / scale;
    const int left = std::max(0, static_cast<int>(std::floor(center - width)));
    const int right = std::min(m - 1, static_cast<int>(std::ceil(center + width)));
    std::vector<double> raw;
    int first = -1;
    double sum = 0;
    for (int j = left; j <= right; ++j) {
      const double value = kernel.evaluate(factor * (center - j));
      if (value <= 0 || static_cast<int64_t>(raw.size()) == window) {
        if (first >= 0) break;
        continue;
      }
      if (first < 0) first = j;
      raw.push_back(factor * value);
      sum += factor * value;
    }
    Entry& e = table[static_cast<size_t>(i)];
    if (first < 0) {
      e.first = right == m - 1 ? m - 1 : left;
      e.weights = {right == m - 1 ? 65536u : 0u};
      continue;
    }
    e.first = first;
    for (double w : raw) e.weights.push_back(static_cast<uint32_t>(static_cast<int32_t>(w / sum * 65536.0)));
  }
  return table;
}

uint8_t weigh(const Entry& e, const std::vector<uint8_t>& values) {
  if (e.weights.size() == 1) return values[static_cast<size_t>(e.first)];
  uint32_t sum = 0;
  for (size_t k = 0; k < e.weights.size(); ++k) sum += e.weights[k] * values[static_cast<size_t>(e.first) + k];
  return static_cast<uint8_t>((sum + 32768) >> 16);
}

// The expected picture, top row first, as TestPicture::pixels gives it.
std::vector<uint8_t> reference(TestPicture& source, int targetWidth, int targetHeight, const IScaleFilter& kernel) {
  const int sw = source.view.width, sh = source.view.height;
  const std::vector<Entry> across = referenceTable(kernel, targetWidth, sw);
  const std::vector<Entry> down = referenceTable(kernel, targetHeight, sh);
  // Horizontal first: middle[y][x][c].
  std::vector<uint8_t> middle(static_cast<size_t>(targetWidth) * sh * 4);
  std::vector<uint8_t> line(static_cast<size_t>(std::max(sw, sh)));
  for (int y = 0; y < sh; ++y) {
    for (int c = 0; c < 4; ++c) {
      for (int x = 0; x < sw; ++x) line[static_cast<size_t>(x)] = source.at(x, y)[c];
      for (int x = 0; x < targetWidth; ++x) {
        middle[(static_cast<size_t>(y) * targetWidth + x) * 4 + c] =
            targetWidth == sw ? line[static_cast<size_t>(x)] : weigh(across[static_cast<size_t>(x)], line);
      }
    }
  }
  // Then down each column, position 0 being the bottom row.
  std::vector<uint8_t> out(static_cast<size_t>(targetWidth) * targetHeight * 4);
  for (int x = 0; x < targetWidth; ++x) {
    for (int c = 0; c < 4; ++c) {
      for (int j = 0; j < sh; ++j) line[static_cast<size_t>(j)] = middle[(static_cast<size_t>(sh - 1 - j) * targetWidth + x) * 4 + c];
      for (int i = 0; i < targetHeight; ++i) {
        const int y = targetHeight - 1 - i;
        out[(static_cast<size_t>(y) * targetWidth + x) * 4 + c] =
            targetHeight == sh ? line[static_cast<size_t>(i)] : weigh(down[static_cast<size_t>(i)], line);
      }
    }
  }
  return out;
}

// Smooth areas, hard edges and noise, with alpha of every kind.
void paint(TestPicture& picture, std::mt19937& random) {
  std::uniform_int_distribution<int> byte(0, 255);
  const int style = byte(random) % 3;
  for (int y = 0; y < picture.view.height; ++y) {
    for (int x = 0; x < picture.view.width; ++x) {
      uint8_t* p = picture.at(x, y);
      for (int c = 0; c < 4; ++c) {
        if (style == 0) {
          p[c] = static_cast<uint8_t>(byte(random));
        } else if (style == 1) {
          p[c] = static_cast<uint8_t>((x * (c + 1) * 7 + y * 3) & 255);
        } else {
          p[c] = ((x / 3 + y / 2 + c) & 1) ? 255 : 0;
        }
      }
    }
  }
}

std::vector<VectorLevel> levels() {
  std::vector<VectorLevel> all{VectorLevel::kScalar};
  for (VectorLevel level : {VectorLevel::kSse2, VectorLevel::kAvx2}) {
    if (static_cast<int>(level) <= static_cast<int>(s::image::filters::detectedLevel())) {
      all.push_back(level);
    }
  }
  return all;
}

struct LevelGuard {
  ~LevelGuard() { s::image::filters::setLevelCeiling(VectorLevel::kAvx2); }
};

int randomSize(std::mt19937& random) {
  // Mostly small sizes (cheap, and every remainder of the vector widths), some large.
  std::uniform_int_distribution<int> pick(0, 9);
  std::uniform_int_distribution<int> small(1, 40);
  std::uniform_int_distribution<int> large(1, 300);
  return pick(random) < 7 ? small(random) : large(random);
}

TEST(ResampleReference, RandomPicturesMatchTheReferenceAtEveryLevel) {
  LevelGuard guard;
  std::mt19937 random(20261209);
  std::uniform_int_distribution<int> kind(1, 5);
  std::uniform_int_distribution<int> margin(0, 3);
  for (int round = 0; round < 150; ++round) {
    const int sw = randomSize(random), sh = randomSize(random);
    const int tw = randomSize(random), th = randomSize(random);
    const int k = kind(random);
    const IScaleFilter& kernel = ScaleFilter::sharedKernel(k);
    // Sometimes the output's stride equals the source's, sometimes not.
    const int sourceExtra = margin(random);
    const int outputExtra = (round % 4 == 0 && tw == sw) ? sourceExtra : margin(random);
    TestPicture source(sw, sh, sourceExtra, margin(random));
    paint(source, random);
    const std::vector<uint8_t> expected = reference(source, tw, th, kernel);
    for (VectorLevel level : levels()) {
      s::image::filters::setLevelCeiling(level);
      TestPicture output(tw, th, outputExtra, margin(random));
      ASSERT_TRUE(ScaleFilter::resampleInto(source.view, output.view, kernel));
      ASSERT_EQ(output.pixels(), expected) << "kernel " << k << ": " << sw << " x " << sh << " -> " << tw << " x " << th
                                           << " at level " << static_cast<int>(level);
    }
  }
}

TEST(ResampleReference, WideWeightsAndEveryRowRemainder) {
  // Enlargements whose weights pass 32767 (two taps near one input pixel), over
  // widths 1 to 40 so every tail length of the vector loops occurs.
  LevelGuard guard;
  std::mt19937 random(7);
  for (int k = 1; k <= 5; ++k) {
    const IScaleFilter& kernel = ScaleFilter::sharedKernel(k);
    for (int width = 1; width <= 40; ++width) {
      TestPicture source(width, 7);
      paint(source, random);
      const int tw = width * 3 + 1, th = 17;
      const std::vector<uint8_t> expected = reference(source, tw, th, kernel);
      for (VectorLevel level : levels()) {
        s::image::filters::setLevelCeiling(level);
        TestPicture output(tw, th);
        ASSERT_TRUE(ScaleFilter::resampleInto(source.view, output.view, kernel));
        ASSERT_EQ(output.pixels(), expected) << "kernel " << k << " width " << width << " level " << static_cast<int>(level);
      }
    }
  }
}

TEST(ResampleReference, ExtremeRatios) {
  struct Case {
    int sw, sh, tw, th;
  };
  const Case cases[] = {{1, 1, 300, 300}, {300, 1, 1, 300}, {1, 300, 300, 1}, {5000, 2, 1, 1}, {2, 5000, 3, 1}, {4099, 3, 7, 5}};
  LevelGuard guard;
  std::mt19937 random(3);
  for (const Case& c : cases) {
    TestPicture source(c.sw, c.sh);
    paint(source, random);
    for (int k = 1; k <= 5; ++k) {
      const std::vector<uint8_t> expected = reference(source, c.tw, c.th, ScaleFilter::sharedKernel(k));
      for (VectorLevel level : levels()) {
        s::image::filters::setLevelCeiling(level);
        TestPicture output(c.tw, c.th);
        ASSERT_TRUE(ScaleFilter::resampleInto(source.view, output.view, ScaleFilter::sharedKernel(k)));
        ASSERT_EQ(output.pixels(), expected) << "kernel " << k << ": " << c.sw << " x " << c.sh << " -> " << c.tw << " x "
                                             << c.th << " at level " << static_cast<int>(level);
      }
    }
  }
}

TEST(ResampleReference, ConcurrentResamplingsAreSerialised) {
  // Threads share the buffer and the table; each result must still be its own.
  std::mt19937 random(99);
  struct Job {
    TestPicture source;
    int tw, th, kind;
    std::vector<uint8_t> expected;
  };
  std::vector<Job> jobs;
  for (int i = 0; i < 4; ++i) {
    Job job{TestPicture(30 + i * 17, 20 + i * 9), 11 + i * 13, 40 - i * 7, 1 + i, {}};
    paint(job.source, random);
    job.expected = reference(job.source, job.tw, job.th, ScaleFilter::sharedKernel(job.kind));
    jobs.push_back(std::move(job));
  }
  std::vector<int> failures(jobs.size(), 0);
  std::vector<std::thread> threads;
  for (size_t t = 0; t < jobs.size(); ++t) {
    threads.emplace_back([&, t] {
      Job& job = jobs[t];
      for (int repeat = 0; repeat < 20; ++repeat) {
        TestPicture output(job.tw, job.th);
        if (!ScaleFilter::resampleInto(job.source.view, output.view, ScaleFilter::sharedKernel(job.kind)) ||
            output.pixels() != job.expected) {
          ++failures[t];
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int failed : failures) EXPECT_EQ(failed, 0);
}

}  // namespace
