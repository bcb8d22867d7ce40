#include "s/image/filters/reduction/Quantizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

#include "s/image/RasterView.h"
#include "s/thread/Owned.h"

namespace {

using s::image::RasterView;
using s::image::filters::reduction::Quantizer;
using QuantizerHolder = s::thread::Owned<Quantizer>;

struct Bgra {
  uint8_t blue, green, red, alpha;
};

Bgra opaque(uint32_t rgb) { return {uint8_t(rgb), uint8_t(rgb >> 8), uint8_t(rgb >> 16), 255}; }

// A picture kept top row first, handed over as a bottom-up raster with spare columns
// and rows whose colour must never show up.
struct Picture {
  int width, height;
  std::vector<Bgra> pixels;
  std::vector<Bgra> raster;

  Picture(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h) {}
  explicit Picture(std::vector<Bgra> row) : width(static_cast<int>(row.size())), height(1), pixels(std::move(row)) {}
  Bgra& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }

  RasterView view() {
    const int capacityWidth = width + 3, capacityHeight = height + 2;
    raster.assign(static_cast<size_t>(capacityWidth) * capacityHeight, opaque(0x3CA55A));
    RasterView v{reinterpret_cast<uint8_t*>(raster.data()), width, height, capacityHeight, capacityWidth * 4};
    for (int y = 0; y < height; ++y) std::copy_n(&at(0, y), width, reinterpret_cast<Bgra*>(v.row(y)));
    return v;
  }
};

// The octree written out plainly from its description (pointer nodes, one walk per
// pixel, 64-bit sums) and a scan of the palette in index order: the independent model.
class ReferenceOctree {
 public:
  std::vector<uint32_t> build(const std::vector<Bgra>& pixels, int n) {
    for (const Bgra& p : pixels) {
      if (p.alpha == 0) continue;
      insert(root_, 0, p.red, p.green, p.blue);
      while (leaves_ > static_cast<unsigned>(std::max(n, 16))) reduce();
    }
    std::vector<Node*> leaves;
    collect(root_.get(), leaves);
    const int c = static_cast<int>(leaves.size());
    std::vector<uint32_t> palette(256, 0);
    // Group g of leaves [g c / n, (g + 1) c / n); one leaf per group when n >= c or n >= 16.
    const int groups = (n >= 16 || n >= c) ? c : n;
    for (int g = 0; g < groups; ++g) {
      uint64_t count = 0, sum[3] = {};
      const int first = groups == c ? g : g * c / n, end = groups == c ? g + 1 : (g + 1) * c / n;
      for (int i = first; i < end; ++i) {
        count += leaves[i]->count;
        for (int k = 0; k < 3; ++k) sum[k] += leaves[i]->count * (leaves[i]->sum[k] / leaves[i]->count);
      }
      palette[g] = static_cast<uint32_t>((sum[0] / count) << 16 | (sum[1] / count) << 8 | (sum[2] / count));
    }
    return palette;
  }

  static int map(const std::vector<uint32_t>& palette, int n, Bgra p) {
    if (p.alpha != 255) return n;
    int best = 200000, index = 0;
    for (int i = 0; i < n; ++i) {
      const int dr = p.red - int(palette[i] >> 16 & 0xFF), dg = p.green - int(palette[i] >> 8 & 0xFF),
                db = p.blue - int(palette[i] & 0xFF);
      const int d = dr * dr + dg * dg + db * db;
      if (d < best) best = d, index = i;
      if (d == 0) break;
    }
    return index;
  }

 private:
  struct Node {
    bool leaf = false;
    uint64_t count = 0, sum[3] = {};  // red, green, blue
    std::unique_ptr<Node> children[8];
    Node* next = nullptr;
  };

  void insert(std::unique_ptr<Node>& node, int level, int r, int g, int b) {
    static const int kMask[8] = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
    if (!node) {
      node = std::make_unique<Node>();
      if (level == 8) {
        node->leaf = true, ++leaves_;
      } else {
        node->next = lists_[level], lists_[level] = node.get();
      }
    }
    if (node->leaf) {
      node->count += 1, node->sum[0] += r, node->sum[1] += g, node->sum[2] += b;
      return;
    }
    const int m = kMask[level], s = 7 - level;
    insert(node->children[((r & m) >> s) * 4 + ((g & m) >> s) * 2 + ((b & m) >> s)], level + 1, r, g, b);
  }

  void reduce() {
    int level = 7;
    while (level > 0 && !lists_[level]) --level;
    Node* node = lists_[level];
    lists_[level] = node->next;
    for (auto& child : node->children) {
      if (!child) continue;
      node->count += child->count;
      for (int k = 0; k < 3; ++k) node->sum[k] += child->sum[k];
      child.reset();
      --leaves_;
    }
    node->leaf = true, ++leaves_;
  }

  static void collect(Node* node, std::vector<Node*>& out) {
    if (node && node->leaf) out.push_back(node);
    if (node && !node->leaf) {
      for (auto& child : node->children) collect(child.get(), out);
    }
  }

  std::unique_ptr<Node> root_;
  unsigned leaves_ = 0;
  Node* lists_[9] = {};
};

// Red, green, blue bits interleaved from the highest: the order of exact leaves.
uint32_t interleaved(uint32_t rgb) {
  uint32_t key = 0;
  for (int bit = 7; bit >= 0; --bit)
    key = key << 3 | (rgb >> (16 + bit) & 1) << 2 | (rgb >> (8 + bit) & 1) << 1 | (rgb >> bit & 1);
  return key;
}

std::vector<uint8_t> mapPixels(const Quantizer& q, const std::vector<Bgra>& pixels) {
  std::vector<uint8_t> indices(pixels.size());
  q.mapRow(reinterpret_cast<const uint8_t*>(pixels.data()), static_cast<int>(pixels.size()), indices.data(), 8);
  return indices;
}

// Distinct random colours, each repeated 1-3 times, in random order.
Picture shuffledColours(int count, std::mt19937& rng, std::vector<uint32_t>* chosen = nullptr, int step = 1) {
  std::vector<uint32_t> colours;
  while (static_cast<int>(colours.size()) < count) {
    uint32_t c = 0;
    for (int k = 0; k < 3; ++k) c = c << 8 | (rng() % (256 / step) * step);
    if (std::find(colours.begin(), colours.end(), c) == colours.end()) colours.push_back(c);
  }
  std::vector<Bgra> pixels;
  for (uint32_t c : colours) pixels.insert(pixels.end(), rng() % 3 + 1, opaque(c));
  std::shuffle(pixels.begin(), pixels.end(), rng);
  if (chosen) *chosen = colours;
  return Picture(pixels);
}

TEST(Quantizer, FewColoursGiveExactlyThoseInBitInterleavedOrder) {
  const struct {
    int colours, requested;
  } cases[] = {{1, 16}, {2, 2}, {2, 256}, {15, 15}, {16, 16}, {16, 256}, {100, 255}, {256, 256}};
  std::mt19937 rng(7);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.colours << " colours, " << c.requested << " requested");
    std::vector<uint32_t> colours;
    Picture picture = shuffledColours(c.colours, rng, &colours);
    QuantizerHolder q = s::thread::make<Quantizer>();
    q->buildPalette(picture.view(), c.requested);
    EXPECT_EQ(q->getColourCount(), c.requested);
    std::sort(colours.begin(), colours.end(), [](uint32_t a, uint32_t b) { return interleaved(a) < interleaved(b); });
    colours.resize(256, 0);  // entries not filled read 0
    EXPECT_TRUE(std::equal(colours.begin(), colours.end(), q->getPalette()));
    const std::vector<uint8_t> indices = mapPixels(*q, picture.pixels);
    for (size_t i = 0; i < indices.size(); ++i) {
      const Bgra p = picture.pixels[i];
      EXPECT_EQ(q->getPalette()[indices[i]], uint32_t(p.red << 16 | p.green << 8 | p.blue));
    }
  }
}

TEST(Quantizer, SmallTargetsMergeConsecutiveLeavesByPixelCount) {
  // Grey levels 16k (k = 0..15) differ in their top four bits: 16 exact leaves in
  // ascending order. Level k appears k + 1 times, 136 pixels in all, summing to 21760.
  std::vector<Bgra> row;
  for (int k = 0; k < 16; ++k) row.insert(row.end(), k + 1, opaque(0x101010u * k));
  Picture picture(row);
  auto grey = [](uint32_t v) { return v * 0x010101u; };
  const struct {
    int requested;
    std::vector<uint32_t> expected;
  } cases[] = {
      // Groups [0,1) ... [13,14) keep their leaf; [14,16) merges 0xE0 x15 and 0xF0 x16.
      {15,
       {grey(0x00), grey(0x10), grey(0x20), grey(0x30), grey(0x40), grey(0x50), grey(0x60), grey(0x70), grey(0x80),
        grey(0x90), grey(0xA0), grey(0xB0), grey(0xC0), grey(0xD0), grey((0xE0 * 15 + 0xF0 * 16) / 31)}},
      {1, {grey(21760 / 136)}},
      // Leaves [0,8) hold 36 pixels summing to 2688, leaves [8,16) the other 100.
      {2, {grey(2688 / 36), grey((21760 - 2688) / 100)}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.requested);
    QuantizerHolder q = s::thread::make<Quantizer>();
    q->buildPalette(picture.view(), c.requested);
    EXPECT_TRUE(std::equal(c.expected.begin(), c.expected.end(), q->getPalette()));
  }
}

TEST(Quantizer, MatchesThePlainOctreeOnRandomPictures) {
  std::mt19937 rng(2024);
  const struct {
    const char* name;
    int width, height;
    uint32_t (*colour)(std::mt19937&, int x, int y);
  } kinds[] = {
      {"noise", 61, 47, [](std::mt19937& r, int, int) { return uint32_t(r()); }},
      {"gradient", 80, 60,
       [](std::mt19937& r, int x, int y) {
         return uint32_t((x * 3 + r() % 9) << 16 | (y * 4) << 8 | (x + y + r() % 5));
       }},
      {"runs", 97, 13,
       [](std::mt19937& r, int x, int) { return uint32_t((x / 7) * 0x0A1B2C ^ (r() % 4 ? 0 : 0x010101)); }},
      {"few", 40, 40, [](std::mt19937& r, int, int) { return uint32_t(0x203040 * (r() % 40)); }},
  };
  for (const auto& kind : kinds) {
    for (bool withAlpha : {false, true}) {
      Picture picture(kind.width, kind.height);
      for (int y = 0; y < kind.height; ++y) {
        for (int x = 0; x < kind.width; ++x) {
          picture.at(x, y) = opaque(kind.colour(rng, x, y));
          if (withAlpha && rng() % 3 == 0) picture.at(x, y).alpha = uint8_t(rng());
        }
      }
      const RasterView view = picture.view();
      QuantizerHolder q = s::thread::make<Quantizer>();
      for (int n : {1, 2, 3, 7, 15, 16, 17, 64, 255, 256}) {
        SCOPED_TRACE(testing::Message() << kind.name << (withAlpha ? " with alpha" : "") << ", n = " << n);
        q->buildPalette(view, n);  // one quantizer reused: nothing may carry over
        const std::vector<uint32_t> expected = ReferenceOctree().build(picture.pixels, n);
        ASSERT_TRUE(std::equal(expected.begin(), expected.end(), q->getPalette()));
        const std::vector<uint8_t> indices = mapPixels(*q, picture.pixels);
        for (size_t i = 0; i < indices.size(); ++i) {
          ASSERT_EQ(indices[i], uint8_t(ReferenceOctree::map(expected, n, picture.pixels[i]))) << "pixel " << i;
        }
      }
    }
  }
}

TEST(Quantizer, SearchAgreesWithAScanInIndexOrder) {
  // Palettes with many equally near entries and repeated colours: coarse grids (odd
  // probes are equidistant from several entries), few leaves among many black fill
  // entries, merged leaves.
  std::mt19937 rng(99);
  const struct {
    int colours, step, requested;
  } cases[] = {{64, 2, 256}, {200, 4, 255}, {5, 2, 256}, {60, 64, 3}, {8, 128, 16}, {1000, 1, 256}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.colours << " colours on step " << c.step << ", n = " << c.requested);
    Picture picture = shuffledColours(c.colours, rng, nullptr, c.step);
    QuantizerHolder q = s::thread::make<Quantizer>();
    q->buildPalette(picture.view(), c.requested);
    const std::vector<uint32_t> palette(q->getPalette(), q->getPalette() + 256);
    for (int probe = 0; probe < 20000; ++probe) {
      const Bgra p = opaque(probe % 2 ? rng() | 0x010101 : rng());
      ASSERT_EQ(q->indexOf(p.blue, p.green, p.red, 255), ReferenceOctree::map(palette, c.requested, p));
    }
  }
}

TEST(Quantizer, EqualDistancesPickTheLowerIndex) {
  // Exact leaves in bit-interleaved order, which here is the order given.
  Picture picture({opaque(0x000000), opaque(0x020000), opaque(0x020200), opaque(0x040404), opaque(0x060604)});
  QuantizerHolder q = s::thread::make<Quantizer>();
  q->buildPalette(picture.view(), 16);
  for (int i = 0; i < 5; ++i)
    ASSERT_EQ(q->getPalette()[i],
              uint32_t(picture.pixels[i].red << 16 | picture.pixels[i].green << 8 | picture.pixels[i].blue));
  const struct {
    uint32_t rgb;
    int expected;
  } cases[] = {
      {0x010000, 0},  // 1 from entries 0 and 1
      {0x020000, 1},  // exact
      {0x000200, 0},  // 4 from entries 0 and 2
      {0x020100, 1},  // 1 from entries 1 and 2
      // 3 from entries 3 and 4. Entry 4 is nearer in brightness (16, entry 3 has 12,
      // the pixel 15), and entry 3 lies exactly on the brightness bound.
      {0x050505, 3},
  };
  for (const auto& c : cases) {
    const Bgra p = opaque(c.rgb);
    EXPECT_EQ(q->indexOf(p.blue, p.green, p.red, 255), c.expected) << std::hex << c.rgb;
  }
}

TEST(Quantizer, AlphaDecidesWhoBuildsAndWhoIsSearched) {
  const struct {
    uint8_t alpha;
    bool inPalette, searched;
  } cases[] = {{0, false, false}, {1, true, false}, {32, true, false}, {254, true, false}, {255, true, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.alpha));
    Picture picture({opaque(0x102030), Bgra{0xCC, 0xBB, 0xAA, c.alpha}});
    QuantizerHolder q = s::thread::make<Quantizer>();
    q->buildPalette(picture.view(), 15);
    EXPECT_EQ(std::count(q->getPalette(), q->getPalette() + 256, 0xAABBCCu), c.inPalette ? 1 : 0);
    EXPECT_EQ(q->indexOf(0xCC, 0xBB, 0xAA, c.alpha), c.searched ? 1 : 15);
  }
}

TEST(Quantizer, NothingToBuildFromOrNothingAskedFor) {
  std::mt19937 rng(3);
  Picture transparent(5, 4);
  std::fill(transparent.pixels.begin(), transparent.pixels.end(), Bgra{9, 8, 7, 0});
  Picture colourful = shuffledColours(300, rng);
  const RasterView transparentView = transparent.view(), colourfulView = colourful.view();
  const struct {
    const char* name;
    RasterView view;
    int requested, kept, opaqueIndex;  // opaqueIndex < 0: not checked
  } cases[] = {
      {"fully transparent", transparentView, 255, 255, 0},
      {"empty view", RasterView{}, 256, 256, 0},
      // No colours: no division by zero, every pixel gets the transparent index 0.
      {"zero colours", colourfulView, 0, 0, 0},
      {"negative count", colourfulView, -5, 0, 0},
      // The palette has 256 entries: larger requests must not write past it.
      {"257 colours", colourfulView, 257, 256, -1},
      {"huge count", colourfulView, 100000, 256, -1},
  };
  QuantizerHolder first = s::thread::make<Quantizer>();
  first->buildPalette(colourfulView, 256);  // leaves colours behind in a pooled object
  first.reset();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QuantizerHolder q = s::thread::make<Quantizer>();
    EXPECT_EQ(q->getColourCount(), 16);
    q->buildPalette(c.view, c.requested);
    EXPECT_EQ(q->getColourCount(), c.kept);
    if (c.opaqueIndex < 0) continue;
    EXPECT_TRUE(std::all_of(q->getPalette(), q->getPalette() + 256, [](uint32_t e) { return e == 0; }));
    EXPECT_EQ(q->indexOf(1, 2, 3, 255), c.opaqueIndex);
    EXPECT_EQ(q->indexOf(1, 2, 3, 0), c.kept);
  }
}

TEST(Quantizer, HugeUniformPictureKeepsItsColour) {
  // 4200 x 4200 pixels (17.6 million), whose 32-bit channel sums would wrap. Every
  // row is the same memory, so the picture costs one row.
  constexpr int kSide = 4200;
  const struct {
    int requested;
    uint32_t left, right, expected;  // left and right: the halves of every row
  } cases[] = {
      {256, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
      {16, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
      {1, 0xFFFFFF, 0xFEFEFE, 0xFEFEFE},  // two leaves of 8.8 million merged: (255 + 254) / 2
  };
  std::vector<Bgra> row(kSide);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.requested);
    for (int x = 0; x < kSide; ++x) row[x] = opaque(x < kSide / 2 ? c.left : c.right);
    QuantizerHolder q = s::thread::make<Quantizer>();
    q->buildPalette(RasterView{reinterpret_cast<uint8_t*>(row.data()), kSide, kSide, kSide, 0}, c.requested);
    EXPECT_EQ(q->getPalette()[0], c.expected);
  }
}

TEST(Quantizer, MapRowPacksIndicesAtEachDepth) {
  // Black, blue, green, red are leaves 0, 1, 2, 3.
  Picture picture({opaque(0x000000), opaque(0x0000FF), opaque(0x00FF00), opaque(0xFF0000)});
  QuantizerHolder q = s::thread::make<Quantizer>();
  q->buildPalette(picture.view(), 16);
  // Pixels mapping to 3, 1, 2, transparent (16), 0, 3, 1, 2, 3.
  std::vector<Bgra> row;
  for (uint32_t c : {0xFF0000, 0x0000FF, 0x00FF00, 0, 0x000000, 0xFF0000, 0x0000FF, 0x00FF00, 0xFF0000})
    row.push_back(opaque(c));
  row[3].alpha = 128;
  const struct {
    int depth, pixelCount;
    std::vector<uint8_t> expected;  // the output starts as 0xEE bytes
  } cases[] = {
      {8, 9, {3, 1, 2, 16, 0, 3, 1, 2, 3, 0xEE}},
      {4, 9, {0x31, 0x20, 0x03, 0x12, 0x30, 0xEE}},  // the 16 keeps only its low nibble
      {4, 3, {0x31, 0x20, 0xEE}},
      {1, 9, {0b11000110, 0b10000000, 0xEE}},  // low bits of the indices
      {2, 9, {0xEE, 0xEE}},                    // unsupported depth: nothing written
      {8, 0, {0xEE}},
      {8, -1, {0xEE}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "depth " << c.depth << ", " << c.pixelCount << " pixels");
    std::vector<uint8_t> out(c.expected.size(), 0xEE);
    q->mapRow(reinterpret_cast<const uint8_t*>(row.data()), c.pixelCount, out.data(), c.depth);
    EXPECT_EQ(out, c.expected);
  }
  std::vector<uint8_t> quads(20, 0xEE);
  q->writePaletteQuads(quads.data(), 4);
  EXPECT_EQ(quads,
            (std::vector<uint8_t>{0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0xEE, 0xEE, 0xEE, 0xEE}));
}

}  // namespace
