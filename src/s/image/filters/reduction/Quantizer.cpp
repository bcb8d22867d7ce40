#include "s/image/filters/reduction/Quantizer.h"

#include <cstdlib>
#include <cstring>

#include "s/base/Memory.h"
#include "s/col/Growth.h"

namespace s::image::filters::reduction {

namespace {

// The tree holds at least this many leaves before it is reduced, whatever the
// colour count; smaller palettes are made by merging these leaves afterwards.
constexpr unsigned kMinLeafLimit = 16;

// Larger than any squared RGB distance (3 x 255 x 255 = 195075).
constexpr int kNoDistance = 200000;

// Every inner node has at least one leaf below it and a leaf has at most 8 inner
// ancestors, so a tree of L leaves has at most 9 x L nodes. Reduction runs right
// after the insertion that made L exceed the limit, so L <= limit + 1.
size_t nodeBound(unsigned leafLimit) { return 9 * (static_cast<size_t>(leafLimit) + 1) + 1; }

}  // namespace

Quantizer::Quantizer() { prepareSearch(); }

Quantizer::~Quantizer() { std::free(nodes_); }

void Quantizer::reset() {
  clearTree();
  std::free(nodes_);
  nodes_ = nullptr;
  nodeCapacity_ = 0;
  colourCount_ = 16;
  prepareSearch();  // the kept palette, searched with the new count
}

void Quantizer::clearTree() {
  // Slot 0 stands for "no node"; the next slot handed out is 1.
  nodesUsed_ = 1;
  freeNodes_ = kNoNode;
  root_ = kNoNode;
  leafCount_ = 0;
  for (NodeId& head : reducible_) head = kNoNode;
}

void Quantizer::reserveNodes(size_t count) {
  if (count <= nodeCapacity_) return;
  size_t bytes;
  if (!base::checkedMul(count, sizeof(Node), &bytes)) base::dieOutOfMemory(SIZE_MAX);
  nodes_ = static_cast<Node*>(base::reallocOrDie(nodes_, bytes));
  nodeCapacity_ = count;
}

Quantizer::NodeId Quantizer::newNode() {
  NodeId id = freeNodes_;
  if (id != kNoNode) {
    freeNodes_ = nodes_[id].nextReducible;
  } else {
    // buildPalette reserves the proven maximum, so this growth is only a safety net.
    if (nodesUsed_ == nodeCapacity_) reserveNodes(col::grownCapacity(nodeCapacity_, nodesUsed_ + 1));
    id = static_cast<NodeId>(nodesUsed_++);
  }
  std::memset(&nodes_[id], 0, sizeof(Node));
  return id;
}

void Quantizer::freeNode(NodeId id) {
  nodes_[id].nextReducible = freeNodes_;
  freeNodes_ = id;
}

// Walks from the root along the colour's bits (red, green, blue from the highest
// bit down), creating missing nodes, and adds the colour to the leaf it reaches.
// Returns that leaf.
Quantizer::NodeId Quantizer::insertColour(uint32_t red, uint32_t green, uint32_t blue) {
  if (root_ == kNoNode) {
    root_ = newNode();
    nodes_[root_].nextReducible = reducible_[0];
    reducible_[0] = root_;
  }
  NodeId id = root_;
  for (int level = 0;; ++level) {
    if (nodes_[id].isLeaf) {
      Node& leaf = nodes_[id];
      leaf.pixelCount += 1;
      leaf.redSum += red;
      leaf.greenSum += green;
      leaf.blueSum += blue;
      return id;
    }
    // A node at level 8 is always a leaf, so level <= 7 here.
    const int shift = 7 - level;
    const unsigned child = ((red >> shift) & 1) << 2 | ((green >> shift) & 1) << 1 | ((blue >> shift) & 1);
    NodeId next = nodes_[id].children[child];
    if (next == kNoNode) {
      next = newNode();
      const int childLevel = level + 1;
      if (childLevel == kLevels) {
        nodes_[next].isLeaf = 1;
        ++leafCount_;
      } else {
        nodes_[next].nextReducible = reducible_[childLevel];
        reducible_[childLevel] = next;
      }
      nodes_[id].children[child] = next;
    }
    id = next;
  }
}

// Folds the most recently created inner node of the deepest level that has one into
// a single leaf. Deeper levels hold no inner node at that point, so all its children
// are leaves. Returns false when there is nothing left to fold.
bool Quantizer::reduceOnce() {
  int level = kLevels - 1;
  while (level > 0 && reducible_[level] == kNoNode) --level;
  const NodeId id = reducible_[level];
  if (id == kNoNode) return false;
  Node& node = nodes_[id];
  reducible_[level] = node.nextReducible;
  node.nextReducible = kNoNode;
  unsigned childCount = 0;
  for (NodeId& childId : node.children) {
    if (childId == kNoNode) continue;
    const Node& child = nodes_[childId];
    node.pixelCount += child.pixelCount;
    node.redSum += child.redSum;
    node.greenSum += child.greenSum;
    node.blueSum += child.blueSum;
    freeNode(childId);
    childId = kNoNode;
    ++childCount;
  }
  node.isLeaf = 1;
  // childCount >= 1 and every child was a counted leaf, so this cannot wrap.
  leafCount_ = leafCount_ + 1 - childCount;
  return true;
}

void Quantizer::insertPixels(const RasterView& image, unsigned leafLimit) {
  if (image.empty()) return;
  // The leaf reached by the last inserted colour. While no reduction has happened
  // since, the tree's shape is unchanged and the same colour reaches the same leaf,
  // so runs of one colour skip the walk from the root.
  uint32_t lastColour = 0;
  NodeId lastLeaf = kNoNode;
  for (int y = 0; y < image.height; ++y) {
    const uint8_t* pixel = image.row(y);
    for (int x = 0; x < image.width; ++x, pixel += 4) {
      if (pixel[3] == 0) continue;  // fully transparent pixels take no part
      const uint32_t blue = pixel[0];
      const uint32_t green = pixel[1];
      const uint32_t red = pixel[2];
      const uint32_t colour = red << 16 | green << 8 | blue;
      if (lastLeaf != kNoNode && colour == lastColour) {
        Node& leaf = nodes_[lastLeaf];
        leaf.pixelCount += 1;
        leaf.redSum += red;
        leaf.greenSum += green;
        leaf.blueSum += blue;
        continue;
      }
      lastLeaf = insertColour(red, green, blue);
      lastColour = colour;
      if (leafCount_ > leafLimit) {
        while (leafCount_ > leafLimit && reduceOnce()) {
        }
        lastLeaf = kNoNode;
      }
    }
  }
}

void Quantizer::buildPalette(const RasterView& image, int colourCount) {
  clearTree();
  colourCount_ = colourCount < 0 ? 0 : colourCount > kMaxColours ? kMaxColours : colourCount;
  // Entries the picture does not fill read as black rather than as a previous
  // picture's colours.
  std::memset(palette_, 0, sizeof palette_);

  const unsigned leafLimit =
      static_cast<unsigned>(colourCount_) > kMinLeafLimit ? static_cast<unsigned>(colourCount_) : kMinLeafLimit;
  reserveNodes(nodeBound(leafLimit));
  insertPixels(image, leafLimit);
  finishPalette();
  prepareSearch();
}

// Gathers the leaves depth first, children in index order, which orders exact
// colours by their bit-interleaved value (red, green, blue bits from the highest).
int Quantizer::collectLeaves(LeafColour* leaves, int capacity) const {
  if (root_ == kNoNode) return 0;
  // Each level pushes at most 8 children after popping its node.
  NodeId stack[8 * (kLevels + 1) + 1];
  int depth = 0;
  stack[depth++] = root_;
  int count = 0;
  while (depth > 0) {
    const Node& node = nodes_[stack[--depth]];
    if (node.isLeaf) {
      if (count == capacity) break;
      LeafColour& leaf = leaves[count++];
      leaf.pixelCount = node.pixelCount;
      const uint64_t divisor = node.pixelCount ? node.pixelCount : 1;
      leaf.red = static_cast<uint32_t>(node.redSum / divisor);
      leaf.green = static_cast<uint32_t>(node.greenSum / divisor);
      leaf.blue = static_cast<uint32_t>(node.blueSum / divisor);
      continue;
    }
    for (int child = 7; child >= 0; --child) {
      if (node.children[child] != kNoNode) stack[depth++] = node.children[child];
    }
  }
  return count;
}

void Quantizer::finishPalette() {
  LeafColour leaves[kMaxColours];
  const int leafCount = collectLeaves(leaves, kMaxColours);
  const int n = colourCount_;
  if (n >= static_cast<int>(kMinLeafLimit) || n >= leafCount) {
    // The tree was kept within n leaves (or holds no more than n): one entry each.
    for (int i = 0; i < leafCount && i < n; ++i) setEntry(i, leaves[i].red, leaves[i].green, leaves[i].blue);
    return;
  }
  if (n < 1) return;  // no colours asked for: nothing to merge into
  // More leaves than colours: n consecutive groups of leaves, each merged into its
  // pixel-count-weighted average. Counts times channels stay below 2^64 for any
  // picture that fits in memory.
  for (int group = 0; group < n; ++group) {
    const int first = group * leafCount / n;
    const int end = (group + 1) * leafCount / n;
    uint64_t pixels = 0;
    uint64_t red = 0;
    uint64_t green = 0;
    uint64_t blue = 0;
    for (int i = first; i < end; ++i) {
      pixels += leaves[i].pixelCount;
      red += leaves[i].pixelCount * leaves[i].red;
      green += leaves[i].pixelCount * leaves[i].green;
      blue += leaves[i].pixelCount * leaves[i].blue;
    }
    if (pixels == 0) pixels = 1;  // every group holds a leaf, and leaves hold pixels
    setEntry(group, static_cast<uint32_t>(red / pixels), static_cast<uint32_t>(green / pixels),
             static_cast<uint32_t>(blue / pixels));
  }
}

void Quantizer::setEntry(int index, uint32_t red, uint32_t green, uint32_t blue) {
  palette_[index] = red << 16 | green << 8 | blue;
}

// Orders the searched entries by brightness (red + green + blue) with a counting
// sort, which keeps equal brightness in index order.
void Quantizer::prepareSearch() {
  uint16_t next[kBrightnessLevels] = {};
  auto brightness = [](uint32_t word) { return (word >> 16 & 0xFF) + (word >> 8 & 0xFF) + (word & 0xFF); };
  for (int i = 0; i < colourCount_; ++i) ++next[brightness(palette_[i])];
  uint16_t position = 0;
  for (int level = 0; level < kBrightnessLevels; ++level) {
    const uint16_t count = next[level];
    brightnessStart_[level] = next[level] = position;
    position = static_cast<uint16_t>(position + count);
  }
  for (int i = 0; i < colourCount_; ++i) {
    const uint32_t word = palette_[i];
    SearchEntry& entry = byBrightness_[next[brightness(word)]++];
    entry.brightness = static_cast<int32_t>(brightness(word));
    entry.red = static_cast<int32_t>(word >> 16 & 0xFF);
    entry.green = static_cast<int32_t>(word >> 8 & 0xFF);
    entry.blue = static_cast<int32_t>(word & 0xFF);
    entry.index = i;
  }
}

void Quantizer::writePaletteQuads(uint8_t* quads, int entryCount) const {
  if (entryCount > kMaxColours) entryCount = kMaxColours;
  for (int i = 0; i < entryCount; ++i, quads += 4) {
    quads[0] = static_cast<uint8_t>(palette_[i]);
    quads[1] = static_cast<uint8_t>(palette_[i] >> 8);
    quads[2] = static_cast<uint8_t>(palette_[i] >> 16);
    quads[3] = 0;
  }
}

int Quantizer::indexOf(uint8_t blue, uint8_t green, uint8_t red, uint8_t alpha) const {
  if (alpha != 255) return colourCount_;
  // The nearest entry by squared RGB distance, the lowest index among equally near
  // ones: what a scan of the entries in index order gives when only a strictly
  // smaller distance replaces the best and an exact match ends it.
  //
  // The entries are visited outwards from the pixel's brightness b = r + g + b.
  // By Cauchy-Schwarz, (delta b)^2 <= 3 x distance, so once (delta b)^2 exceeds
  // 3 x the best distance no further entry in that direction can be nearer or
  // equally near (an equal one could still win a tie with a lower index, hence
  // "exceeds"). Partial sums above the best distance skip an entry early.
  const int n = colourCount_;
  const int pixelBrightness = red + green + blue;
  int bestDistance = kNoDistance;
  int bestIndex = 0;
  auto consider = [&](const SearchEntry& entry) {
    const int dg = green - entry.green;
    int distance = dg * dg;
    const int dr = red - entry.red;
    distance += dr * dr;
    if (distance > bestDistance) return;
    const int db = blue - entry.blue;
    distance += db * db;
    if (distance < bestDistance || (distance == bestDistance && entry.index < bestIndex)) {
      bestDistance = distance;
      bestIndex = entry.index;
    }
  };
  int up = brightnessStart_[pixelBrightness];
  int down = up - 1;
  bool searchUp = up < n;
  bool searchDown = down >= 0;
  while (searchUp || searchDown) {
    if (searchUp) {
      const SearchEntry& entry = byBrightness_[up];
      const int delta = entry.brightness - pixelBrightness;
      if (delta * delta > 3 * bestDistance) {
        searchUp = false;
      } else {
        consider(entry);
        searchUp = ++up < n;
      }
    }
    if (searchDown) {
      const SearchEntry& entry = byBrightness_[down];
      const int delta = pixelBrightness - entry.brightness;
      if (delta * delta > 3 * bestDistance) {
        searchDown = false;
      } else {
        consider(entry);
        searchDown = --down >= 0;
      }
    }
  }
  return bestIndex;
}

void Quantizer::mapRow(const uint8_t* pixels, int pixelCount, uint8_t* out, int depth) const {
  if (depth != 8 && depth != 4 && depth != 1) return;
  // Neighbouring pixels often repeat; the last answer is reused for them.
  uint32_t lastPixel = 0;
  unsigned lastIndex = 0;
  bool haveLast = false;
  for (int i = 0; i < pixelCount; ++i, pixels += 4) {
    uint32_t pixel;
    std::memcpy(&pixel, pixels, 4);
    if (!haveLast || pixel != lastPixel) {
      lastIndex = static_cast<unsigned>(indexOf(pixels[0], pixels[1], pixels[2], pixels[3]));
      lastPixel = pixel;
      haveLast = true;
    }
    const unsigned index = lastIndex;
    if (depth == 8) {
      out[i] = static_cast<uint8_t>(index);
    } else if (depth == 4) {
      uint8_t& byte = out[i >> 1];
      if ((i & 1) == 0) {
        byte = static_cast<uint8_t>((index & 0x0F) << 4);
      } else {
        byte = static_cast<uint8_t>((byte & 0xF0) | (index & 0x0F));
      }
    } else {
      uint8_t& byte = out[i >> 3];
      const int shift = 7 - (i & 7);
      if (shift == 7) {
        byte = static_cast<uint8_t>((index & 1) << 7);
      } else {
        byte = static_cast<uint8_t>((byte & ~(1u << shift)) | ((index & 1) << shift));
      }
    }
  }
}

}  // namespace s::image::filters::reduction
