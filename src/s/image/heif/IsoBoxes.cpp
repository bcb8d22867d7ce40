#include "s/image/heif/IsoBoxes.h"

#include "s/image/heif/HeifOverlays.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

namespace s::image::heif {

namespace {

uint16_t be16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

uint32_t be32(const uint8_t* p) {
  return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

uint64_t be64(const uint8_t* p) { return (uint64_t{be32(p)} << 32) | be32(p + 4); }

// One box: its type and its payload, as offsets into the file.
struct Box {
  const uint8_t* type = nullptr;
  size_t payload = 0;  // offset of the payload
  size_t size = 0;     // payload bytes
  size_t end = 0;      // offset after the box
  bool is(const char* name) const { return std::memcmp(type, name, 4) == 0; }
};

// Walks the boxes of the span [at, end) of the file, one after the other.
class BoxWalk {
 public:
  // lenientTail: fewer bytes than a box header at the end of the span are ignored
  // (files with a stray byte at their end are common); elsewhere they are damage.
  BoxWalk(const uint8_t* data, size_t at, size_t end, bool lenientTail)
      : data_(data), at_(at), end_(end), lenientTail_(lenientTail) {}

  // The next box into *box: kOk with *done false, or *done true after the last.
  HeifCheck next(Box* box, bool* done) {
    *done = false;
    if (at_ >= end_ || (lenientTail_ && end_ - at_ < 8)) {
      *done = true;
      return HeifCheck::kOk;
    }
    if (++count_ > IsoBoxes::kMaxBoxes) return HeifCheck::kTooManyBoxes;
    const size_t left = end_ - at_;
    if (left < 8) return HeifCheck::kBoxSize;
    const uint8_t* header = data_ + at_;
    uint64_t size = be32(header);
    size_t headerBytes = 8;
    if (size == 1) {
      if (left < 16) return HeifCheck::kBoxSize;
      size = be64(header + 8);
      headerBytes = 16;
    } else if (size == 0) {
      size = left;  // to the end of the parent
    }
    if (std::memcmp(header + 4, "uuid", 4) == 0) headerBytes += 16;
    // Compared with what is left, never added to the offset first: no wrap.
    if (size < headerBytes || size > left) return HeifCheck::kBoxSize;
    box->type = header + 4;
    box->payload = at_ + headerBytes;
    box->size = static_cast<size_t>(size) - headerBytes;
    box->end = at_ + static_cast<size_t>(size);
    at_ = box->end;
    return HeifCheck::kOk;
  }

 private:
  const uint8_t* data_;
  size_t at_;
  size_t end_;
  bool lenientTail_;
  int count_ = 0;
};

// Calls visit(box) for every child box of the span; stops at the first failure,
// of the walk or of visit.
template <class Visit>
HeifCheck forEachBox(const uint8_t* data, size_t at, size_t end, bool lenientTail, Visit visit) {
  BoxWalk walk(data, at, end, lenientTail);
  for (;;) {
    Box box;
    bool done = false;
    const HeifCheck walked = walk.next(&box, &done);
    if (walked != HeifCheck::kOk) return walked;
    if (done) return HeifCheck::kOk;
    const HeifCheck visited = visit(box);
    if (visited != HeifCheck::kOk) return visited;
  }
}

// What the meta box holds, as far as the checks need it.
struct MetaContents {
  bool hasPrimary = false;
  uint32_t primary = 0;
  bool hasItems = false;
  uint32_t declaredItems = 0;
  std::vector<uint32_t> itemIds;
  std::vector<uint32_t> derivationInputs;
  uint32_t references = 0;
  ItemTables tables;
};

HeifCheck readPrimary(const uint8_t* data, const Box& box, MetaContents* meta) {
  // Full box: version, flags, then the item id.
  if (box.size < 4) return HeifCheck::kNoPrimary;
  const uint8_t* p = data + box.payload;
  const bool narrow = p[0] == 0;
  if (box.size < (narrow ? 6u : 8u)) return HeifCheck::kNoPrimary;
  meta->hasPrimary = true;
  meta->primary = narrow ? be16(p + 4) : be32(p + 4);
  return HeifCheck::kOk;
}

HeifCheck readItems(const uint8_t* data, const Box& box, MetaContents* meta) {
  if (box.size < 4) return HeifCheck::kNoItems;
  const uint8_t* p = data + box.payload;
  const bool narrow = p[0] == 0;
  const size_t countBytes = narrow ? 2 : 4;
  if (box.size < 4 + countBytes) return HeifCheck::kNoItems;
  meta->hasItems = true;
  meta->declaredItems = narrow ? be16(p + 4) : be32(p + 4);
  const HeifCheck entries =
      forEachBox(data, box.payload + 4 + countBytes, box.end, false, [&](const Box& entry) {
        if (!entry.is("infe")) return HeifCheck::kOk;
        if (meta->itemIds.size() >= IsoBoxes::kMaxItems) return HeifCheck::kTooManyItems;
        // Full box; the item id follows: 16 bits below version 3, else 32.
        if (entry.size < 6) return HeifCheck::kNoItems;
        const uint8_t* q = data + entry.payload;
        if (q[0] >= 3 && entry.size < 8) return HeifCheck::kNoItems;
        const uint32_t id = q[0] >= 3 ? be32(q + 4) : be16(q + 4);
        meta->itemIds.push_back(id);
        // Versions 2 and 3 name the item's type after the id and a 16-bit
        // protection index.
        const size_t typeAt = q[0] >= 3 ? 10 : 8;
        if (q[0] >= 2 && entry.size >= typeAt + 4) {
          ItemTables::Type type;
          type.item = id;
          std::memcpy(type.type.data(), q + typeAt, 4);
          meta->tables.types.push_back(type);
        }
        return HeifCheck::kOk;
      });
  if (entries != HeifCheck::kOk) return entries;
  // A count larger than the entries present is damage; more entries than the
  // limit have been refused while walking them.
  return meta->declaredItems <= meta->itemIds.size() ? HeifCheck::kOk : HeifCheck::kNoItems;
}

HeifCheck readExtents(const uint8_t* data, const Box& box, int64_t maxPixels) {
  // Full box, then 32-bit width and height.
  if (box.size < 12) return HeifCheck::kEmptyPicture;
  const uint32_t width = be32(data + box.payload + 4);
  const uint32_t height = be32(data + box.payload + 8);
  if (width == 0 || height == 0) return HeifCheck::kEmptyPicture;
  if (width > IsoBoxes::kMaxSide || height > IsoBoxes::kMaxSide) return HeifCheck::kPictureTooLarge;
  // Both sides are below 2^15: the product fits.
  if (static_cast<int64_t>(width) * height > maxPixels) return HeifCheck::kPictureTooLarge;
  return HeifCheck::kOk;
}

HeifCheck readProperties(const uint8_t* data, const Box& box, int64_t maxPixels, MetaContents* meta) {
  return forEachBox(data, box.payload, box.end, false, [&](const Box& container) {
    if (container.is("ipma")) meta->tables.associations.push_back({container.payload, container.size});
    if (!container.is("ipco")) return HeifCheck::kOk;
    return forEachBox(data, container.payload, container.end, false, [&](const Box& property) {
      ItemTables::Property entry;
      std::memcpy(entry.type.data(), property.type, 4);
      entry.payload = {property.payload, property.size};
      meta->tables.properties.push_back(entry);
      return property.is("ispe") ? readExtents(data, property, maxPixels) : HeifCheck::kOk;
    });
  });
}

HeifCheck readReferences(const uint8_t* data, const Box& box, MetaContents* meta) {
  if (box.size < 4) return HeifCheck::kReferences;
  const size_t idBytes = data[box.payload] == 0 ? 2 : 4;
  auto id = [&](size_t at) { return idBytes == 2 ? uint32_t{be16(data + at)} : be32(data + at); };
  return forEachBox(data, box.payload + 4, box.end, false, [&](const Box& reference) {
    // From-item, count, to-items; compared with the box's size, never summed past it.
    if (reference.size < idBytes + 2) return HeifCheck::kReferences;
    const size_t count = be16(data + reference.payload + idBytes);
    if (count > (reference.size - idBytes - 2) / idBytes) return HeifCheck::kReferences;
    meta->references += static_cast<uint32_t>(count);
    if (meta->references > IsoBoxes::kMaxReferences) return HeifCheck::kTooManyBoxes;
    if (!reference.is("dimg")) return HeifCheck::kOk;
    ItemTables::Derivation derivation;
    derivation.from = id(reference.payload);
    for (size_t i = 0; i < count; ++i) derivation.inputs.push_back(id(reference.payload + idBytes + 2 + i * idBytes));
    meta->derivationInputs.insert(meta->derivationInputs.end(), derivation.inputs.begin(), derivation.inputs.end());
    meta->tables.derivations.push_back(std::move(derivation));
    return HeifCheck::kOk;
  });
}

HeifCheck readMeta(const uint8_t* data, const Box& box, int64_t maxPixels, MetaContents* meta) {
  if (box.size < 4) return HeifCheck::kNoMeta;  // a full box
  return forEachBox(data, box.payload + 4, box.end, false, [&](const Box& child) {
    if (child.is("pitm")) return readPrimary(data, child, meta);
    if (child.is("iinf")) return readItems(data, child, meta);
    if (child.is("iprp")) return readProperties(data, child, maxPixels, meta);
    if (child.is("iref")) return readReferences(data, child, meta);
    if (child.is("iloc")) meta->tables.locations = {child.payload, child.size};
    if (child.is("idat")) meta->tables.itemData = {child.payload, child.size};
    return HeifCheck::kOk;
  });
}

// Whether every item a derived image is made from is an image libheif decodes:
// libheif 1.15 fails an assertion (ending the process) composing a grid or
// overlay from an item it did not take as an image.
bool derivationsUseImages(const ItemTables& tables) {
  static constexpr const char* kImageTypes[] = {"hvc1", "av01", "grid", "iovl", "iden"};
  for (const ItemTables::Derivation& derivation : tables.derivations) {
    for (uint32_t input : derivation.inputs) {
      const auto type = std::find_if(tables.types.begin(), tables.types.end(),
                                     [input](const ItemTables::Type& t) { return t.item == input; });
      if (type == tables.types.end()) return false;
      const bool image = std::any_of(std::begin(kImageTypes), std::end(kImageTypes),
                                     [&](const char* name) { return std::memcmp(type->type.data(), name, 4) == 0; });
      if (!image) return false;
    }
  }
  return true;
}

// How deep derived images stack (an item made from items made from ...), or -1
// for a cycle (an item made, through others or directly, from itself). libheif
// 1.15 follows each level by recursion and, on a cycle, until its stack runs out:
// on Windows' 1 MB stack the process ends.
int derivationDepth(const ItemTables& tables) {
  std::vector<uint32_t> items;
  for (const ItemTables::Derivation& derivation : tables.derivations) items.push_back(derivation.from);
  std::sort(items.begin(), items.end());
  items.erase(std::unique(items.begin(), items.end()), items.end());
  auto inputsOf = [&](uint32_t item) {
    std::vector<uint32_t> inputs;
    for (const ItemTables::Derivation& derivation : tables.derivations)
      if (derivation.from == item) inputs.insert(inputs.end(), derivation.inputs.begin(), derivation.inputs.end());
    return inputs;
  };
  // Depth-first without recursion: state 1 while an item's inputs are being
  // walked, 2 once its depth is known.
  std::vector<uint8_t> state(items.size(), 0);
  std::vector<int> depth(items.size(), 0);
  auto indexOf = [&](uint32_t item) {
    const auto at = std::lower_bound(items.begin(), items.end(), item);
    return at != items.end() && *at == item ? static_cast<int>(at - items.begin()) : -1;
  };
  int deepest = 0;
  for (size_t start = 0; start < items.size(); ++start) {
    if (state[start] == 2) continue;
    std::vector<std::pair<int, std::vector<uint32_t>>> stack;
    stack.push_back({static_cast<int>(start), inputsOf(items[start])});
    state[start] = 1;
    while (!stack.empty()) {
      auto& [index, pending] = stack.back();
      if (pending.empty()) {
        state[static_cast<size_t>(index)] = 2;
        deepest = std::max(deepest, depth[static_cast<size_t>(index)]);
        const int finished = index;
        stack.pop_back();
        if (!stack.empty())
          depth[static_cast<size_t>(stack.back().first)] =
              std::max(depth[static_cast<size_t>(stack.back().first)], depth[static_cast<size_t>(finished)] + 1);
        continue;
      }
      const int next = indexOf(pending.back());
      pending.pop_back();
      if (next < 0) {  // a coded image: one level
        depth[static_cast<size_t>(index)] = std::max(depth[static_cast<size_t>(index)], 1);
        continue;
      }
      if (state[static_cast<size_t>(next)] == 1) return -1;
      if (state[static_cast<size_t>(next)] == 2) {
        depth[static_cast<size_t>(index)] =
            std::max(depth[static_cast<size_t>(index)], depth[static_cast<size_t>(next)] + 1);
        continue;
      }
      state[static_cast<size_t>(next)] = 1;
      stack.push_back({next, inputsOf(items[static_cast<size_t>(next)])});
    }
  }
  return deepest;
}

}  // namespace

HeifCheck IsoBoxes::check(const uint8_t* data, size_t size, int64_t maxPixels, HeifStructure* structure) {
  *structure = HeifStructure();
  if (!data || size < 16 || std::memcmp(data + 4, "ftyp", 4) != 0) return HeifCheck::kNoFileType;
  bool first = true;
  int metaBoxes = 0;
  MetaContents meta;
  const HeifCheck walked = forEachBox(data, 0, size, true, [&](const Box& box) {
    if (first) {
      first = false;
      // Major brand, minor version, compatible brands.
      if (!box.is("ftyp") || box.size < 8) return HeifCheck::kNoFileType;
      structure->kind = HeifBrands::classify(data + box.payload, box.size);
      return structure->kind == HeifKind::kNone ? HeifCheck::kNotHeif : HeifCheck::kOk;
    }
    if (!box.is("meta")) return HeifCheck::kOk;
    if (++metaBoxes > 1) return HeifCheck::kNoMeta;
    return readMeta(data, box, maxPixels, &meta);
  });
  if (walked != HeifCheck::kOk) return walked;
  if (metaBoxes != 1) return HeifCheck::kNoMeta;
  if (!meta.hasItems) return HeifCheck::kNoItems;
  if (!meta.hasPrimary ||
      std::find(meta.itemIds.begin(), meta.itemIds.end(), meta.primary) == meta.itemIds.end())
    return HeifCheck::kNoPrimary;
  const int depth = derivationDepth(meta.tables);
  if (depth < 0) return HeifCheck::kDerivationCycle;
  if (depth > kMaxDerivationDepth) return HeifCheck::kTooManyBoxes;
  if (!derivationsUseImages(meta.tables)) return HeifCheck::kDerivationInput;
  if (HeifOverlays::check(data, size, meta.tables) != OverlayCheck::kOk) return HeifCheck::kOverlay;
  structure->itemCount = static_cast<uint32_t>(meta.itemIds.size());
  structure->primaryItem = meta.primary;
  std::sort(meta.derivationInputs.begin(), meta.derivationInputs.end());
  meta.derivationInputs.erase(std::unique(meta.derivationInputs.begin(), meta.derivationInputs.end()),
                              meta.derivationInputs.end());
  structure->derivationInputs = std::move(meta.derivationInputs);
  return HeifCheck::kOk;
}

}  // namespace s::image::heif
