// Small copies of GIFs as the gallery makes them: animations stay what a viewer
// shows, opaque animations covering the screen keep their former bytes, and the
// colours follow the deepest colour table of the file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "image/SmallCopy.h"
#include "image/gif/win/GifFixtures.h"
#include "s/digest/Fnv1a64.h"

namespace {

using gif_fixtures::decode;
using gif_fixtures::lzwBlocks;
using s::image::gif::win::Gif;
using s::thread::Owned;
using testing_streams::ByteWriter;

uint64_t fingerprint(const std::vector<uint8_t>& bytes) {
  s::digest::Fnv1a64 digest;
  digest.update(bytes.data(), bytes.size());
  digest.finish();
  return digest.hash();
}

// Three opaque 12 x 8 frames covering the screen, drawn from a 256-colour global
// table; a 3 x 3 block moves over a fixed pattern. The first frame's disposal is
// given, the others keep (1).
std::vector<uint8_t> opaqueAnimation(int firstDisposal) {
  ByteWriter w;
  w.text("GIF89a").u16(12).u16(8).u8(0xF7).u8(0).u8(0);  // screen, global table of 256
  for (int i = 0; i < 256; ++i) w.u8(i).u8(255 - i).u8((i * 7) & 0xFF);
  w.u8(0x21).u8(0xFF).u8(11).text("NETSCAPE2.0").u8(3).u8(1).u16(0).u8(0);  // loop forever
  for (int frame = 0; frame < 3; ++frame) {
    const int disposal = frame == 0 ? firstDisposal : 1;
    w.u8(0x21).u8(0xF9).u8(4).u8(disposal << 2).u16(10 * (frame + 1)).u8(0).u8(0);  // no transparency
    w.u8(0x2C).u16(0).u16(0).u16(12).u16(8).u8(0);  // whole screen, no local table
    std::vector<uint8_t> indices(12 * 8);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 12; ++x) {
        const bool block = x >= 3 * frame && x < 3 * frame + 3 && y >= 2 && y < 5;
        indices[static_cast<size_t>(y * 12 + x)] = static_cast<uint8_t>(block ? 200 + frame : (x * 16 + y * 5) & 0xFF);
      }
    w.u8(8).raw(lzwBlocks(8, indices, 12, 8));
  }
  w.u8(0x3B);
  return w.bytes;
}

std::vector<uint8_t> testFile(const char* path) {
  return testing_streams::readFile(std::string(PICTORVA_TESTDATA) + "/" + path);
}

TEST(GifSmallCopy, OpaqueAnimationsCoveringTheScreenKeepTheirBytes) {
  struct Case {
    const char* name;
    std::vector<uint8_t> source;
    int cell;
    uint64_t fingerprint;  // of the small copy the gallery made before composing as viewers do
  };
  const Case cases[] = {
      {"first disposal 0", opaqueAnimation(0), 100, 0xc0a2367a942f8796},
      {"first disposal 1", opaqueAnimation(1), 100, 0x96471c0b9c08b722},
      {"first disposal 1, scaled", opaqueAnimation(1), 7, 0xef3e02a0f9f92e03},
      {"moon_impact.gif", testFile("gif-image-rs/samples/moon_impact.gif"), 4000, 0x885bf9a1eff82b3f},
      {"moon_impact.gif, scaled", testFile("gif-image-rs/samples/moon_impact.gif"), 60, 0x4441fa22d7a87a19},
      {"palette_not_needed_for_second_frame.gif", testFile("pillow/gif/palette_not_needed_for_second_frame.gif"), 90, 0x56a78d6bc76dc8b5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.source.empty()) {
      // The shared test data is always there on CI.
      if (std::getenv("CI")) ADD_FAILURE() << "missing test file";
      continue;
    }
    auto read = decode(c.source);
    ASSERT_TRUE(read.ok);
    const std::vector<uint8_t> small = small_copy::make(*read.gif, c.cell, c.cell);
    ASSERT_FALSE(small.empty());
    EXPECT_EQ(fingerprint(small), c.fingerprint) << std::hex << fingerprint(small);
  }
}

// Pixels of every frame as a viewer shows them.
std::vector<std::vector<uint32_t>> shownFrames(const std::vector<uint8_t>& file) {
  auto read = decode(file);
  Owned<s::image::win::BufferedImageSet> frames(read.gif->toImageSet(0));
  Owned<s::image::win::BufferedImageSet> composed(frames->composeFrames());
  std::vector<std::vector<uint32_t>> shown;
  for (int i = 0; i < composed->getCount(); ++i) shown.push_back(gif_fixtures::pixels(composed->getImage(i)));
  return shown;
}

// A file of 8 x 2 frames over a screen of the same size. Each table is given by its
// depth (0: none); frame f's pixel x has index x mod 2^depth of the table it uses,
// whose entry i is an arbitrary colour of that table.
std::vector<uint8_t> tabledFile(int globalDepth, const std::vector<int>& localDepths) {
  auto table = [](ByteWriter& w, int depth, int seed) {
    for (int i = 0; i < (1 << depth); ++i) w.u8((i * 97 + seed) & 0xFF).u8((i * 31 + seed * 3) & 0xFF).u8(255 - i * 13);
  };
  ByteWriter w;
  w.text("GIF89a").u16(8).u16(2).u8(globalDepth > 0 ? 0x80 | (globalDepth - 1) : 0).u8(0).u8(0);
  if (globalDepth > 0) table(w, globalDepth, 1);
  w.u8(0x21).u8(0xFF).u8(11).text("NETSCAPE2.0").u8(3).u8(1).u16(0).u8(0);
  for (size_t f = 0; f < localDepths.size(); ++f) {
    const int depth = localDepths[f] > 0 ? localDepths[f] : globalDepth;
    w.u8(0x21).u8(0xF9).u8(4).u8(1 << 2).u16(20).u8(0).u8(0);  // keep, 0.2 s, opaque
    w.u8(0x2C).u16(0).u16(0).u16(8).u16(2).u8(localDepths[f] > 0 ? 0x80 | (localDepths[f] - 1) : 0);
    if (localDepths[f] > 0) table(w, localDepths[f], 50 + static_cast<int>(f));
    std::vector<uint8_t> indices(16);
    for (size_t i = 0; i < indices.size(); ++i) indices[i] = static_cast<uint8_t>((i + f) % (1u << depth));
    const int codeSize = depth < 2 ? 2 : depth;
    w.u8(codeSize).raw(lzwBlocks(codeSize, indices, 8, 2));
  }
  w.u8(0x3B);
  return w.bytes;
}

TEST(GifSmallCopy, EveryColourOfTheDeepestTableIsKept) {
  struct Case {
    const char* name;
    int globalDepth;
    std::vector<int> localDepths;  // one frame each; 0 uses the global table
    int fileDepth;
  };
  const Case cases[] = {
      {"two colours: black and white stay apart", 1, {0}, 1},
      {"four colours", 2, {0}, 2},
      {"sixteen colours", 4, {0}, 4},
      {"a last frame of two colours after sixteen", 4, {0, 1}, 4},
      {"a later local table deeper than the global one", 1, {0, 3}, 3},
      {"frames without any table use the gray ramp", 0, {0, 2}, 8},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::vector<uint8_t> file = tabledFile(c.globalDepth, c.localDepths);
    auto read = decode(file);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.gif->getBitDepth(), c.fileDepth);
    const std::vector<uint8_t> small = small_copy::make(*read.gif, 100, 100);
    ASSERT_FALSE(small.empty());
    EXPECT_EQ(shownFrames(small), shownFrames(file));
  }
}

}  // namespace
