// Resamplings on several threads at once give the bytes of one thread.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "image/filters/scale/TestPicture.h"
#include "s/image/filters/scale/ScaleFilter.h"

namespace {

using pictorva_test::TestPicture;
using s::image::filters::scale::ScaleFilter;

struct Job {
  int sourceWidth, sourceHeight, targetWidth, targetHeight;
};

std::vector<uint8_t> resampled(const Job& job) {
  TestPicture source(job.sourceWidth, job.sourceHeight, 3, 2);
  for (int y = 0; y < job.sourceHeight; ++y)
    for (int x = 0; x < job.sourceWidth; ++x)
      source.set(x, y, static_cast<uint8_t>(x * 7 + y), static_cast<uint8_t>(y * 5), static_cast<uint8_t>(x ^ y),
                 static_cast<uint8_t>(255 - x));
  TestPicture output(job.targetWidth, job.targetHeight, 1, 1);
  EXPECT_TRUE(ScaleFilter::resampleInto(source.view, output.view, ScaleFilter::sharedKernel(s::image::filters::scale::kKernelBilinear)));
  return output.pixels();
}

TEST(ResampleThreads, ConcurrentResamplingsMatchOneThread) {
  // Sizes that differ in every pass, so each thread's scratch is sized differently.
  const std::vector<Job> jobs = {{400, 300, 150, 112}, {97, 413, 31, 150}, {640, 20, 150, 5}, {33, 33, 80, 80}};
  std::vector<std::vector<uint8_t>> expected;
  for (const Job& job : jobs) expected.push_back(resampled(job));
  std::vector<std::thread> threads;
  for (size_t t = 0; t < jobs.size(); ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 6; ++round) {
        const size_t k = (t + static_cast<size_t>(round)) % jobs.size();
        EXPECT_EQ(resampled(jobs[k]), expected[k]) << "job " << k;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
}

}  // namespace
