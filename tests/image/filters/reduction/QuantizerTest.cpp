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

struct Bgra {
  uint8_t blue, green, red, alpha;
};

Bgra opaque(uint32_t rgb) {
  return {static_cast<uint8_t>(rgb), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb >> 16), 255};
}

// A picture kept top row first, handed to the quantizer as a bottom-up raster with
// spare columns and rows around it (filled with a colour that must never show up).
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<Bgra> pixels;  // top row first
  std::vector<uint8_t> raster;

  Picture(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h) {}
  Bgra& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }

  RasterView view() {
    const int capacityWidth = width + 3;
    const int capacityHeight = height + 2;
    raster.assign(static_cast<size_t>(capacityWidth) * capacityHeight * 4, 0);
    for (size_t i = 0; i < raster.size(); i += 4) {
      raster[i] = 0x5A, raster[i + 1] = 0xA5, raster[i + 2] = 0x3C, raster[i + 3] = 255;
    }
    RasterView v{raster.data(), width, height, capacityHeight, static_cast<ptrdiff_t>(capacityWidth) * 4};
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const Bgra p = at(x, y);
        uint8_t* d = v.pixel(x, y);
        d[0] = p.blue, d[1] = p.green, d[2] = p.red, d[3] = p.alpha;
      }
    }
    return v;
  }
};

// The octree written out plainly from its description: pointer nodes, one insertion
// per pixel, lists of reducible nodes, 64-bit sums. Used as the independent model.
class ReferenceOctree {
 public:
  struct Node {
    bool leaf = false;
    uint64_t count = 0, red = 0, green = 0, blue = 0;
    std::unique_ptr<Node> children[8];
    Node* next = nullptr;
  };

  std::vector<uint32_t> build(const Picture& picture, int n) {
    const unsigned limit = std::max(n, 16);
    for (const Bgra& p : picture.pixels) {
      if (p.alpha == 0) continue;
      insert(root_, 0, p.red, p.green, p.blue);
      while (leaves_ > limit) reduce();
    }
    std::vector<uint32_t> palette(256, 0);
    std::vector<Node*> leafNodes;
    collect(root_.get(), leafNodes);
    const int c = static_cast<int>(leafNodes.size());
    auto average = [](const Node* node, uint64_t Node::*sum) { return node->*sum / node->count; };
    if (n >= 16 || n >= c) {
      for (int i = 0; i < c; ++i) {
        const Node* leaf = leafNodes[i];
        palette[i] = static_cast<uint32_t>(average(leaf, &Node::red) << 16 | average(leaf, &Node::green) << 8 |
                                           average(leaf, &Node::blue));
      }
    } else {
      for (int g = 0; g < n; ++g) {
        uint64_t count = 0, red = 0, green = 0, blue = 0;
        for (int i = g * c / n; i < (g + 1) * c / n; ++i) {
          const Node* leaf = leafNodes[i];
          count += leaf->count;
          red += leaf->count * average(leaf, &Node::red);
          green += leaf->count * average(leaf, &Node::green);
          blue += leaf->count * average(leaf, &Node::blue);
        }
        palette[g] = static_cast<uint32_t>((red / count) << 16 | (green / count) << 8 | (blue / count));
      }
    }
    return palette;
  }

  static int map(const std::vector<uint32_t>& palette, int n, Bgra p) {
    if (p.alpha != 255) return n;
    int best = 200000, index = 0;
    for (int i = 0; i < n; ++i) {
      const int dr = p.red - static_cast<int>(palette[i] >> 16 & 0xFF);
      const int dg = p.green - static_cast<int>(palette[i] >> 8 & 0xFF);
      const int db = p.blue - static_cast<int>(palette[i] & 0xFF);
      const int d = dr * dr + dg * dg + db * db;
      if (d < best) best = d, index = i;
      if (d == 0) break;
    }
    return index;
  }

 private:
  void insert(std::unique_ptr<Node>& node, int level, int r, int g, int b) {
    static const int kMask[8] = {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01};
    if (!node) {
      node = std::make_unique<Node>();
      if (level == 8) {
        node->leaf = true;
        ++leaves_;
      } else {
        node->next = lists_[level];
        lists_[level] = node.get();
      }
    }
    if (node->leaf) {
      node->count += 1, node->red += r, node->green += g, node->blue += b;
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
    int children = 0;
    for (auto& child : node->children) {
      if (!child) continue;
      node->count += child->count, node->red += child->red, node->green += child->green, node->blue += child->blue;
      child.reset();
      ++children;
    }
    node->leaf = true;
    leaves_ = leaves_ + 1 - children;
  }

  static void collect(Node* node, std::vector<Node*>& out) {
    if (!node) return;
    if (node->leaf) {
      out.push_back(node);
      return;
    }
    for (auto& child : node->children) collect(child.get(), out);
  }

  std::unique_ptr<Node> root_;
  unsigned leaves_ = 0;
  Node* lists_[9] = {};
};

// Red, green, blue bits interleaved from the highest: the order of exact leaves.
uint32_t interleaved(uint32_t rgb) {
  uint32_t key = 0;
  for (int bit = 7; bit >= 0; --bit) {
    key = key << 3 | (rgb >> (16 + bit) & 1) << 2 | (rgb >> (8 + bit) & 1) << 1 | (rgb >> bit & 1);
  }
  return key;
}

std::vector<uint8_t> mapPicture(const Quantizer& q, Picture& picture) {
  std::vector<uint8_t> indices(picture.pixels.size());
  q.mapRow(reinterpret_cast<const uint8_t*>(picture.pixels.data()), static_cast<int>(picture.pixels.size()),
           indices.data(), 8);
  return indices;
}

// A picture of distinct random colours, each repeated count[i] times, in random order.
Picture distinctColours(const std::vector<uint32_t>& colours, std::mt19937& rng, int repeats = 3) {
  std::vector<Bgra> pixels;
  for (uint32_t c : colours) pixels.insert(pixels.end(), static_cast<size_t>(rng() % repeats) + 1, opaque(c));
  std::shuffle(pixels.begin(), pixels.end(), rng);
  Picture picture(static_cast<int>(pixels.size()), 1);
  picture.pixels = pixels;
  return picture;
}

std::vector<uint32_t> randomDistinct(int count, std::mt19937& rng) {
  std::vector<uint32_t> colours;
  while (static_cast<int>(colours.size()) < count) {
    const uint32_t c = rng() & 0xFFFFFF;
    if (std::find(colours.begin(), colours.end(), c) == colours.end()) colours.push_back(c);
  }
  return colours;
}

TEST(Quantizer, FewColoursGiveExactlyThoseInBitInterleavedOrder) {
  struct Case {
    int colours;
    int requested;
  } const cases[] = {{1, 16}, {2, 2}, {2, 256}, {15, 15}, {16, 16}, {16, 256}, {100, 255}, {256, 256}};
  std::mt19937 rng(7);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.colours << " colours, " << c.requested << " requested");
    std::vector<uint32_t> colours = randomDistinct(c.colours, rng);
    Picture picture = distinctColours(colours, rng);
    s::thread::Owned<Quantizer> q = s::thread::make<Quantizer>();
    q->buildPalette(picture.view(), c.requested);
    EXPECT_EQ(q->getColourCount(), c.requested);
    std::sort(colours.begin(), colours.end(), [](uint32_t a, uint32_t b) { return interleaved(a) < interleaved(b); });
    for (int i = 0; i < c.colours; ++i) EXPECT_EQ(q->getPalette()[i], colours[i]) << "entry " << i;
    for (int i = c.colours; i < 256; ++i) EXPECT_EQ(q->getPalette()[i], 0u) << "entry " << i;
    const std::vector<uint8_t> indices = mapPicture(*q, picture);
    for (size_t i = 0; i < indices.size(); ++i) {
      const Bgra p = picture.pixels[i];
      EXPECT_EQ(q->getPalette()[indices[i]], static_cast<uint32_t>(p.red << 16 | p.green << 8 | p.blue));
    }
  }
}

TEST(Quantizer, SmallTargetsMergeConsecutiveLeavesByPixelCount) {
  // 16 grey levels 0x00, 0x10, ... 0xF0 differ in their top four bits, so they are 16
  // exact leaves in ascending order. Level k appears k + 1 times.
  Picture picture(136, 1);
  int x = 0;
  for (int k = 0; k < 16; ++k) {
    for (int i = 0; i <= k; ++i) picture.at(x++, 0) = opaque(0x101010u * k);
  }
  auto grey = [](uint32_t v) { return v << 16 | v << 8 | v; };
  struct Case {
    int requested;
    std::vector<uint32_t> expected;
  } const cases[] = {
      // Groups [0,1) ... [13,14) keep their leaf; [14,16) merges 0xE0 x15 and 0xF0 x16.
      {15, {grey(0x00), grey(0x10), grey(0x20), grey(0x30), grey(0x40), grey(0x50), grey(0x60), grey(0x70),
            grey(0x80), grey(0x90), grey(0xA0), grey(0xB0), grey(0xC0), grey(0xD0), grey((0xE0 * 15 + 0xF0 * 16) / 31)}},
      // One group: the sum of (k + 1) x 16k over all 136 pixels is 21760.
      {1, {grey(21760 / 136)}},
      // Leaves [0,8) hold 36 pixels summing to 2688, leaves [8,16) the other 100.
      {2, {grey(2688 / 36), grey((21760 - 2688) / 100)}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.requested);
    s::thread::Owned<Quantizer> q = s::thread::make<Quantizer>();
    q->buildPalette(picture.view(), c.requested);
    for (size_t i = 0; i < c.expected.size(); ++i) EXPECT_EQ(q->getPalette()[i], c.expected[i]) << "entry " << i;
  }
}

TEST(Quantizer, MatchesThePlainOctreeOnRandomPictures) {
  std::mt19937 rng(2024);
  struct Kind {
    const char* name;
    int width, height;
    uint32_t (*colour)(std::mt19937&, int x, int y);
  } const kinds[] = {
      {"noise", 61, 47, [](std::mt19937& r, int, int) { return static_cast<uint32_t>(r() & 0xFFFFFF); }},
      {"gradient", 80, 60,
       [](std::mt19937& r, int x, int y) {
         return static_cast<uint32_t>(((x * 3 + r() % 9) & 0xFF) << 16 | ((y * 4) & 0xFF) << 8 | ((x + y + r() % 5) & 0xFF));
       }},
      {"runs", 97, 13,
       [](std::mt19937& r, int x, int) { return static_cast<uint32_t>((x / 7) * 0x0A1B2C ^ (r() % 4 == 0 ? 0x010101 : 0)); }},
      {"few", 40, 40, [](std::mt19937& r, int, int) { return static_cast<uint32_t>(0x203040 * (r() % 40)) & 0xFFFFFF; }},
  };
  const int requested[] = {1, 2, 3, 7, 15, 16, 17, 64, 255, 256};
  for (const Kind& kind : kinds) {
    for (int withAlpha = 0; withAlpha < 2; ++withAlpha) {
      Picture picture(kind.width, kind.height);
      for (int y = 0; y < kind.height; ++y) {
        for (int x = 0; x < kind.width; ++x) {
          Bgra p = opaque(kind.colour(rng, x, y));
          if (withAlpha) p.alpha = static_cast<uint8_t>(rng() % 3 == 0 ? rng() % 256 : 255);
          picture.at(x, y) = p;
        }
      }
      const RasterView view = picture.view();
      s::thread::Owned<Quantizer> q = s::thread::make<Quantizer>();
      for (int n : requested) {
        SCOPED_TRACE(testing::Message() << kind.name << (withAlpha ? " with alpha" : "") << ", n = " << n);
        q->buildPalette(view, n);  // the same quantizer reused: nothing may carry over
        const std::vector<uint32_t> expected = ReferenceOctree().build(picture, n);
        ASSERT_TRUE(std::equal(expected.begin(), expected.end(), q->getPalette()));
        const std::vector<uint8_t> indices = mapPicture(*q, picture);
        for (size_t i = 0; i < indices.size(); ++i) {
          ASSERT_EQ(indices[i], static_cast<uint8_t>(ReferenceOctree::map(expected, n, picture.pixels[i])))
              << "pixel " << i;
        }
      }
    }
  }
}

TEST(Quantizer, SearchAgreesWithAScanInIndexOrder) {
  // Palettes with many equally near entries and repeated colours: coarse grids (even
  // channel values, so odd probes are equidistant from several entries), a few
  // leaves among many black fill entries, and merged leaves.
  std::mt19937 rng(99);
  struct Case {
    int colours;
    int step;
    int requested;
  } const cases[] = {{64, 2, 256}, {200, 4, 255}, {5, 2, 256}, {300, 64, 3}, {27, 128, 16}, {1000, 1, 256}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.colours << " colours on step " << c.step << ", n = " << c.requested);
    std::vector<uint32_t> colours;
    for (int i = 0; i < c.colours; ++i) {
      const uint32_t r = rng() % (256 / c.step) * c.step, g = rng() % (256 / c.step) * c.step;
      colours.push_back(r << 16 | g << 8 | (rng() % (256 / c.step) * c.step));
    }
    Picture picture = distinctColours(colours, rng);
    s::thread::Owned<Quantizer> q = s::thread::make<Quantizer>();
    q->buildPalette(picture.view(), c.requested);
    const std::vector<uint32_t> palette(q->getPalette(), q->getPalette() + 256);
    for (int probe = 0; probe < 20000; ++probe) {
      const uint32_t rgb = rng() & 0xFFFFFF;
      const Bgra p = opaque(probe % 2 ? rgb | 0x010101 : rgb);
      ASSERT_EQ(q->indexOf(p.blue, p.green, p.red, 255), ReferenceOctree::map(palette, c.requested, p))
          << std::hex << rgb;
    }
  }
}

TEST(Quantizer, AlphaDecidesWhoBuildsAndWhoIsSearched) {
  struct Case {
    uint8_t alpha;
    bool inPalette;
    bool searched;
  } const cases[] = {{0, false, false}, {1, true, false}, {32, true, false}, {254, true, false}, {255, true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.alpha));
    Picture picture(2, 1);
    picture.at(0, 0) = opaque(0x102030);
    picture.at(1, 0) = {0xCC, 0xBB, 0xAA, c.alpha};  // 0xAABBCC
    s::thread::Owned<Quantizer> q = s::thread::make<Quantizer>();
    q->buildPalette(picture.view(), 15);
    const bool found = std::count(q->getPalette(), q->getPalette() + 15, 0xAABBCCu) == 1;
    EXPECT_EQ(found, c.inPalette);
    EXPECT_EQ(q->indexOf(0xCC, 0xBB, 0xAA, c.alpha), c.searched ? 1 : 15);
  }
}

TEST(Quantizer, FullyTransparentPictureHasNoColours) {
  Picture picture(5, 4);
  for (Bgra& p : picture.pixels) p = {9, 8, 7, 0};
  s::thread::Owned<Quantizer> q = s::thread::make<Quantizer>();
  q->buildPalette(picture.view(), 255);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(q->getPalette()[i], 0u);
  const std::vector<uint8_t> indices = mapPicture(*q, picture);
  EXPECT_TRUE(std::all_of(indices.begin(), indices.end(), [](uint8_t i) { return i == 255; }));
}

TEST(Quantizer, EqualDistancesPickTheLowerIndex) {
  const uint32_t colours[] = {0x000000, 0x020000, 0x020200, 0x040404, 0x060604};
  Picture picture(5, 1);
  for (int i = 0; i < 5; ++i) picture.at(i, 0) = opaque(colours[i]);
  s::thread::Owned<Quantizer> q = s::thread::make<Quantizer>();
  q->buildPalette(picture.view(), 16);
  // Exact leaves come in bit-interleaved order, which here is the order above.
  for (int i = 0; i < 5; ++i) ASSERT_EQ(q->getPalette()[i], colours[i]);
  struct Case {
    uint32_t rgb;
    int expected;
  } const cases[] = {
      {0x010000, 0},  // 1 from entries 0 and 1
      {0x020000, 1},  // exact
      {0x000200, 0},  // 4 from entries 0 and 2; entry 2 shares the pixel's green
      {0x020100, 1},  // 1 from entries 1 and 2
      // 3 from entries 3 and 4. Entry 4 is nearer in brightness (16 against 12 for
      // entry 3, the pixel has 15), and entry 3 lies exactly on the brightness bound.
      {0x050505, 3},
  };
  for (const Case& c : cases) {
    const Bgra p = opaque(c.rgb);
    EXPECT_EQ(q->indexOf(p.blue, p.green, p.red, 255), c.expected) << std::hex << c.rgb;
  }
}

TEST(Quantizer, ColourCountOutsideThePaletteIsKeptInRange) {
  std::mt19937 rng(3);
  Picture picture = distinctColours(randomDistinct(300, rng), rng);
  struct Case {
    int requested;
    int kept;
  } const cases[] = {{0, 0}, {-5, 0}, {257, 256}, {100000, 256}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.requested);
    s::thread::Owned<Quantizer> q = s::thread::make<Quantizer>();
    q->buildPalette(picture.view(), c.requested);  // must neither divide by 0 nor overrun
    EXPECT_EQ(q->getColourCount(), c.kept);
    if (c.kept == 0) {
      for (int i = 0; i < 256; ++i) EXPECT_EQ(q->getPalette()[i], 0u);
      const std::vector<uint8_t> indices = mapPicture(*q, picture);
      EXPECT_TRUE(std::all_of(indices.begin(), indices.end(), [](uint8_t i) { return i == 0; }));
    }
  }
}

TEST(Quantizer, HugeUniformPictureKeepsItsColour) {
  // 4200 x 4200 pixels (17.6 million) whose 32-bit channel sums would wrap. Every row
  // is the same memory, so the picture costs one row.
  constexpr int kSide = 4200;
  struct Case {
    int requested;
    uint32_t left, right;  // the two halves of every row
    uint32_t expected;
  } const cases[] = {
      {256, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
      {16, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF},
      // Two leaves of 8.8 million pixels each merged into one entry: (255 + 254) / 2.
      {1, 0xFFFFFF, 0xFEFEFE, 0xFEFEFE},
  };
  std::vector<Bgra> row(kSide);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.requested);
    for (int x = 0; x < kSide; ++x) row[x] = opaque(x < kSide / 2 ? c.left : c.right);
    const RasterView view{reinterpret_cast<uint8_t*>(row.data()), kSide, kSide, kSide, 0};
    s::thread::Owned<Quantizer> q = s::thread::make<Quantizer>();
    q->buildPalette(view, c.requested);
    EXPECT_EQ(q->getPalette()[0], c.expected);
  }
}

TEST(Quantizer, MapRowPacksIndicesAtEachDepth) {
  Picture picture(4, 1);
  const uint32_t colours[] = {0x000000, 0x0000FF, 0x00FF00, 0xFF0000};  // leaf order 0, 1, 2, 3
  for (int i = 0; i < 4; ++i) picture.at(i, 0) = opaque(colours[i]);
  s::thread::Owned<Quantizer> q = s::thread::make<Quantizer>();
  q->buildPalette(picture.view(), 16);
  // Pixels mapping to 3, 1, 2, transparent (16), 0, 3, 1, 2, 3.
  const uint32_t rowColours[] = {0xFF0000, 0x0000FF, 0x00FF00, 0, 0x000000, 0xFF0000, 0x0000FF, 0x00FF00, 0xFF0000};
  std::vector<Bgra> row;
  for (uint32_t c : rowColours) row.push_back(opaque(c));
  row[3].alpha = 128;
  const auto* pixels = reinterpret_cast<const uint8_t*>(row.data());
  struct Case {
    int depth;
    int pixelCount;
    std::vector<uint8_t> expected;  // output starts as 0xEE bytes
  } const cases[] = {
      {8, 9, {3, 1, 2, 16, 0, 3, 1, 2, 3, 0xEE}},
      {4, 9, {0x31, 0x20, 0x03, 0x12, 0x30, 0xEE}},  // the 16 keeps its low nibble 0
      {4, 3, {0x31, 0x20, 0xEE}},
      {1, 9, {0b11000110, 0b10000000, 0xEE}},  // low bits of the indices
      {2, 9, {0xEE, 0xEE}},  // unsupported depth: nothing written
      {8, 0, {0xEE}},
      {8, -1, {0xEE}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "depth " << c.depth << ", " << c.pixelCount << " pixels");
    std::vector<uint8_t> out(c.expected.size(), 0xEE);
    q->mapRow(pixels, c.pixelCount, out.data(), c.depth);
    EXPECT_EQ(out, c.expected);
  }
}

TEST(Quantizer, PaletteQuadsAreBlueGreenRedZero) {
  Picture picture(2, 1);
  picture.at(0, 0) = opaque(0x123456);
  picture.at(1, 0) = opaque(0xABCDEF);
  s::thread::Owned<Quantizer> q = s::thread::make<Quantizer>();
  q->buildPalette(picture.view(), 2);
  uint8_t quads[12];
  std::fill(std::begin(quads), std::end(quads), 0xEE);
  q->writePaletteQuads(quads, 2);
  const uint8_t expected[12] = {0x56, 0x34, 0x12, 0, 0xEF, 0xCD, 0xAB, 0, 0xEE, 0xEE, 0xEE, 0xEE};
  EXPECT_TRUE(std::equal(std::begin(quads), std::end(quads), expected));
}

TEST(Quantizer, ReleaseAndEmptyViewsLeaveNothingBehind) {
  std::mt19937 rng(11);
  Picture picture = distinctColours(randomDistinct(40, rng), rng);
  Quantizer* first = Quantizer::create();
  first->buildPalette(picture.view(), 256);
  first->release();
  s::thread::Owned<Quantizer> q = s::thread::make<Quantizer>();  // most likely the same object
  EXPECT_EQ(q->getColourCount(), 16);
  q->buildPalette(RasterView{}, 256);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(q->getPalette()[i], 0u);
  EXPECT_EQ(q->indexOf(1, 2, 3, 255), 0);
}

}  // namespace
