// The chunk structure check of WebP files on hand-built fixtures: what passes and
// where its parts lie, each damage and each limit by name; and a canvas past the
// limit refused before any pixel memory is taken.
#include <gtest/gtest.h>

#include "io/MemoryStreams.h"
#include "s/image/bmp/win/PixelBudget.h"
#include "s/image/webp/WebpChunks.h"
#include "s/image/webp/win/Webp.h"
#include "s/thread/Owned.h"

namespace {

using s::image::webp::WebpCheck;
using s::image::webp::WebpChunks;
using s::image::webp::WebpLayout;
using testing_streams::ByteWriter;

// A chunk: four-character code, little-endian payload size, payload, pad byte.
std::vector<uint8_t> chunk(const char* fourcc, const std::vector<uint8_t>& payload) {
  ByteWriter w;
  w.text(fourcc).u32(static_cast<uint32_t>(payload.size())).raw(payload);
  if (payload.size() % 2) w.u8(0);
  return w.bytes;
}

// "RIFF", the size of what follows, "WEBP", the chunks.
std::vector<uint8_t> riff(const std::vector<std::vector<uint8_t>>& chunks, int sizeChange = 0) {
  std::vector<uint8_t> body;
  for (const auto& c : chunks) body.insert(body.end(), c.begin(), c.end());
  ByteWriter w;
  w.text("RIFF").u32(static_cast<uint32_t>(static_cast<int>(body.size()) + 4 + sizeChange)).text("WEBP").raw(body);
  return w.bytes;
}

// VP8X: flags, 3 reserved bytes, canvas width - 1 and height - 1 in 24 bits each.
std::vector<uint8_t> extended(uint8_t flags, uint32_t width, uint32_t height) {
  ByteWriter w;
  w.u8(flags).u8(0).u8(0).u8(0);
  w.u8(width - 1).u8((width - 1) >> 8).u8((width - 1) >> 16);
  w.u8(height - 1).u8((height - 1) >> 8).u8((height - 1) >> 16);
  return chunk("VP8X", w.bytes);
}

// ANMF: the 16-byte frame header (position, size, duration, flags), then the
// frame's own chunks.
std::vector<uint8_t> frame(const std::vector<uint8_t>& inner) {
  ByteWriter w;
  w.zeros(16).raw(inner);
  return chunk("ANMF", w.bytes);
}

const std::vector<uint8_t> kLossy = chunk("VP8 ", std::vector<uint8_t>(10, 1));
const std::vector<uint8_t> kLossless = chunk("VP8L", std::vector<uint8_t>(5, 2));

TEST(WebpChunks, TheStructureAndWhereItsPartsLie) {
  WebpLayout layout;
  EXPECT_EQ(WebpChunks::parse(kLossless.data(), 0, 1000, &layout), WebpCheck::kNotWebp);
  std::vector<uint8_t> simple = riff({kLossless});
  ASSERT_EQ(WebpChunks::parse(simple.data(), simple.size(), 1000, &layout), WebpCheck::kOk);
  EXPECT_FALSE(layout.extended);
  EXPECT_FALSE(layout.animated);
  EXPECT_TRUE(layout.lossless);

  // Bytes after the RIFF data are no part of it.
  std::vector<uint8_t> trailing = riff({kLossy});
  trailing.insert(trailing.end(), {'j', 'u', 'n', 'k', 9, 9, 9});
  ASSERT_EQ(WebpChunks::parse(trailing.data(), trailing.size(), 1000, &layout), WebpCheck::kOk);
  EXPECT_FALSE(layout.lossless);

  const std::vector<uint8_t> profile(131, 7);  // odd: padded
  const std::vector<uint8_t> exif = {'I', 'I', 42, 0, 8, 0, 0, 0};
  std::vector<uint8_t> still = riff({extended(0x28, 30, 20), chunk("ICCP", profile), kLossy, chunk("EXIF", exif)});
  ASSERT_EQ(WebpChunks::parse(still.data(), still.size(), 1000, &layout), WebpCheck::kOk);
  EXPECT_TRUE(layout.extended);
  EXPECT_EQ(layout.flags, 0x28);
  EXPECT_EQ(layout.canvasWidth, 30);
  EXPECT_EQ(layout.canvasHeight, 20);
  ASSERT_EQ(layout.profileSize, profile.size());
  EXPECT_EQ(layout.profile[0], 7);
  ASSERT_EQ(layout.exifSize, exif.size());
  EXPECT_EQ(layout.exif[2], 42);

  // An animation is lossless only when every frame is.
  std::vector<uint8_t> animation = riff({extended(0x02, 8, 8), chunk("ANIM", std::vector<uint8_t>(6)),
                                         frame(kLossless), frame(kLossless)});
  ASSERT_EQ(WebpChunks::parse(animation.data(), animation.size(), 1000, &layout), WebpCheck::kOk);
  EXPECT_TRUE(layout.animated);
  EXPECT_EQ(layout.frameCount, 2);
  EXPECT_TRUE(layout.lossless);
  std::vector<uint8_t> mixed = riff({extended(0x02, 8, 8), frame(kLossless), frame(chunk("ALPH", {1}))});
  EXPECT_EQ(WebpChunks::parse(mixed.data(), mixed.size(), 1000, &layout), WebpCheck::kNoBitstream);
  mixed = riff({extended(0x12, 8, 8), frame(kLossless), frame(kLossy)});
  ASSERT_EQ(WebpChunks::parse(mixed.data(), mixed.size(), 1000, &layout), WebpCheck::kOk);
  EXPECT_FALSE(layout.lossless);
}

TEST(WebpChunks, DamageAndLimitsByName) {
  std::vector<uint8_t> shortFrame = riff({extended(2, 8, 8), chunk("ANMF", std::vector<uint8_t>(12))});
  std::vector<uint8_t> subChunkPastFrame = frame(kLossless);
  subChunkPastFrame[8 + 16 + 4] = 200;  // the VP8L size inside the frame
  const struct {
    const char* name;
    std::vector<uint8_t> file;
    int64_t maxPixels;
    WebpCheck expected;
  } kCases[] = {
      {"no RIFF", [] { auto f = riff({kLossy}); f[0] = 'X'; return f; }(), 1000, WebpCheck::kNotWebp},
      {"no WEBP", [] { auto f = riff({kLossy}); f[8] = 'A'; return f; }(), 1000, WebpCheck::kNotWebp},
      {"RIFF size past the end", riff({kLossy}, 2), 1000, WebpCheck::kRiffSize},
      {"RIFF size below a chunk header", riff({kLossy}, -static_cast<int>(kLossy.size()) - 1), 1000, WebpCheck::kRiffSize},
      {"chunk past the RIFF data", riff({chunk("VP8 ", std::vector<uint8_t>(10)), kLossy}, -10), 1000, WebpCheck::kChunkSize},
      {"VP8X after another chunk", riff({kLossy, extended(0, 4, 4)}), 1000, WebpCheck::kExtendedNotFirst},
      {"VP8X too short", riff({chunk("VP8X", {0, 0, 0})}), 1000, WebpCheck::kExtendedNotFirst},
      {"frame shorter than its header", shortFrame, 1000, WebpCheck::kFrameSize},
      {"sub-chunk past its frame", riff({extended(2, 8, 8), subChunkPastFrame}), 1000, WebpCheck::kFrameSize},
      {"nothing to decode", riff({chunk("ICCP", std::vector<uint8_t>(8))}), 1000, WebpCheck::kNoBitstream},
      // The limits.
      {"canvas past the pixel limit", riff({extended(0, 100, 11), kLossy}), 1000, WebpCheck::kCanvasTooLarge},
      {"canvas of 2^24 x 2^24", riff({extended(0, 1u << 24, 1u << 24), kLossy}), int64_t{1} << 29,
       WebpCheck::kCanvasTooLarge},
  };
  for (const auto& c : kCases) {
    WebpLayout layout;
    EXPECT_EQ(WebpChunks::parse(c.file.data(), c.file.size(), c.maxPixels, &layout), c.expected) << c.name;
  }
  // One frame past the frame limit.
  std::vector<std::vector<uint8_t>> frames = {extended(2, 8, 8)};
  frames.insert(frames.end(), WebpChunks::kMaxFrames + 1, frame(kLossless));
  std::vector<uint8_t> many = riff(frames);
  WebpLayout layout;
  EXPECT_EQ(WebpChunks::parse(many.data(), many.size(), 1000, &layout), WebpCheck::kTooManyFrames);
}

TEST(WebpChunks, AHugeCanvasIsRefusedBeforeAnyPixelMemory) {
  using s::image::bmp::win::PixelBudget;
  PixelBudget budget(size_t{1} << 40);
  {
    PixelBudget::Scope scope(budget, 0);
    testing_streams::MemoryInputStream in(riff({extended(0x10, 1u << 24, 1u << 24), kLossy}));
    s::thread::Owned<s::image::webp::win::Webp> webp(s::image::webp::win::Webp::create());
    EXPECT_FALSE(webp->read(in));
    // Ten frames on a 4096 x 4096 canvas: past a budget of 2^26 pixels for the
    // frames and the copies an image set makes of them.
    std::vector<std::vector<uint8_t>> frames = {extended(2, 4096, 4096)};
    frames.insert(frames.end(), 10, frame(kLossless));
    testing_streams::MemoryInputStream animation(riff(frames));
    EXPECT_FALSE(webp->readLimited(animation, int64_t{1} << 29, uint64_t{1} << 26));
  }
  EXPECT_EQ(budget.peak(), 0u);
}

}  // namespace
