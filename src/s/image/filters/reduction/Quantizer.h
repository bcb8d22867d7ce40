#pragma once
// Colour reduction for the palette formats (BMP and ICO at 1, 4 or 8 bits per pixel,
// GIF frames): an octree palette of at most 256 colours and a nearest-colour mapping
// without dithering.
//
// Use: take a quantizer from its pool, buildPalette over the picture, copy the first
// getColourCount() palette entries into the file's colour table, mapRow every picture
// row, release. One quantizer serves one picture at a time; once built, mapRow and
// indexOf only read, so several threads may map rows together. A pixel image is
// handed over as a RasterView of its raster (bits, logical size, capacity height,
// row stride).
//
// Conventions:
// - Pixels are bytes blue, green, red, alpha (straight alpha), as in RasterView.
// - Palette words hold red in bits 16-23, green in 8-15, blue in 0-7 and 0 in 24-31:
//   the layout of a device-independent bitmap's colour table entry. writePaletteQuads
//   gives the same entries as byte quads blue, green, red, 0.
// - The colour count requested is also the index given to pixels that are not fully
//   opaque (the transparent index): only alpha 255 is searched in the palette,
//   although every pixel with alpha above 0 takes part in building it. Indices are
//   written in as many bits as the depth holds: with 256 colours at depth 8 the
//   transparent index 256 becomes 0, so such callers flatten alpha first.
// - Palette building is deterministic: the palette depends only on the pixels, the
//   row order (top first) and the colour count.
#include <cstddef>
#include <cstdint>

#include "s/base/IObject.h"
#include "s/image/RasterView.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pool.h"

namespace s::image::filters::reduction {

namespace _quantizer {
// The two protocol bases joined, so the pool mix-in can sit on top of them.
class QuantizerBase : public base::IObject, public thread::IPoolable {};
}  // namespace _quantizer

class Quantizer final : public thread::PooledObject<Quantizer, _quantizer::QuantizerBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_filters_reduction_Quantizer";
  static constexpr int kMaxColours = 256;

  Quantizer();
  ~Quantizer() override;
  Quantizer(const Quantizer&) = delete;
  Quantizer& operator=(const Quantizer&) = delete;

  // Frees the tree and its node storage; colour count 16. The palette is kept.
  void reset() override;

  // Builds the palette of at most colourCount colours from every pixel of the view's
  // logical area whose alpha is not 0. colourCount is kept within 0..256 (the palette
  // has 256 entries); 0 gives no colours, every pixel then maps to index 0.
  void buildPalette(const RasterView& image, int colourCount);

  // The 256 palette words; the first getColourCount() are meaningful (entries after
  // the colours found are 0).
  const uint32_t* getPalette() const { return palette_; }
  int getColourCount() const { return colourCount_; }
  // Writes the first entryCount palette entries (at most 256) as quads blue, green,
  // red, 0: 4 x entryCount bytes.
  void writePaletteQuads(uint8_t* quads, int entryCount) const;

  // Maps pixelCount pixels (4 bytes each) to palette indices written to out:
  // depth 8 one byte per pixel; depth 4 two pixels per byte, the first in the high
  // nibble; depth 1 eight pixels per byte, the first in the highest bit. The byte
  // holding the first pixel of a group is overwritten, the later pixels of that
  // byte are merged into it. Other depths write nothing.
  void mapRow(const uint8_t* pixels, int pixelCount, uint8_t* out, int depth) const;

  // The palette index of one pixel.
  int indexOf(uint8_t blue, uint8_t green, uint8_t red, uint8_t alpha) const;

 private:
  using NodeId = uint32_t;  // index into nodes_; 0 is "no node"
  static constexpr NodeId kNoNode = 0;
  static constexpr int kLevels = 8;  // levels 0-7 are inner, a node at level 8 is a leaf

  // One octree node. Sums are 64-bit so that no picture size wraps them.
  struct Node {
    uint64_t pixelCount;
    uint64_t redSum;
    uint64_t greenSum;
    uint64_t blueSum;
    NodeId children[8];
    NodeId nextReducible;  // next node in the level's reducible list, or in the free list
    uint8_t isLeaf;
  };

  // A leaf gathered for the palette, in depth-first order.
  struct LeafColour {
    uint64_t pixelCount;
    uint32_t red;
    uint32_t green;
    uint32_t blue;
  };

  // A palette entry as the nearest-colour search reads it.
  struct SearchEntry {
    int32_t brightness;  // red + green + blue
    int32_t green;
    int32_t red;
    int32_t blue;
    int32_t index;
  };

  void clearTree();
  void reserveNodes(size_t count);
  NodeId newNode();
  void freeNode(NodeId id);
  NodeId insertColour(uint32_t red, uint32_t green, uint32_t blue);
  bool reduceOnce();
  void insertPixels(const RasterView& image, unsigned leafLimit);
  int collectLeaves(LeafColour* leaves, int capacity) const;
  void finishPalette();
  void setEntry(int index, uint32_t red, uint32_t green, uint32_t blue);
  void prepareSearch();

  Node* nodes_ = nullptr;       // node storage; slot 0 unused
  size_t nodeCapacity_ = 0;     // slots allocated
  size_t nodesUsed_ = 0;        // slots handed out at least once (high-water mark)
  NodeId freeNodes_ = kNoNode;  // freed slots, linked through nextReducible
  NodeId root_ = kNoNode;
  unsigned leafCount_ = 0;
  NodeId reducible_[kLevels + 1] = {};  // per level, most recently created first
  uint32_t palette_[kMaxColours] = {};
  int colourCount_ = 16;
  // The first colourCount_ entries ordered by brightness (then by index) for the
  // nearest-colour search, and per brightness the first position whose brightness
  // is not smaller.
  static constexpr int kBrightnessLevels = 3 * 255 + 1;
  SearchEntry byBrightness_[kMaxColours] = {};
  uint16_t brightnessStart_[kBrightnessLevels] = {};
};

}  // namespace s::image::filters::reduction
