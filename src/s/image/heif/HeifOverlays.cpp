#include "s/image/heif/HeifOverlays.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace s::image::heif {

namespace {

// Reads big-endian numbers of 0 to 8 bytes from a span without passing its end: a
// read that does not fit gives 0 and sets a sticky failure flag.
class Cursor {
 public:
  Cursor(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint64_t read(size_t bytes) {
    if (!ok_ || bytes > size_ - at_) {
      ok_ = false;
      return 0;
    }
    uint64_t value = 0;
    for (size_t i = 0; i < bytes; ++i) value = (value << 8) | data_[at_ + i];
    at_ += bytes;
    return value;
  }
  bool ok() const { return ok_; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
  bool ok_ = true;
};

// Overlay data is a few bytes a layer; more than this is not read.
constexpr size_t kMaxOverlayBytes = 64 * 1024;

// The bytes of item `item` as iloc locates them (its extents one after the other),
// or false when they cannot be found within the file.
bool itemBytes(const uint8_t* data, size_t size, const ItemTables& tables, uint32_t item, std::vector<uint8_t>* out) {
  if (!tables.locations.present()) return false;
  Cursor cursor(data + tables.locations.at, tables.locations.size);
  const uint64_t version = cursor.read(1);
  cursor.read(3);  // flags
  const uint64_t sizes = cursor.read(2);
  const size_t offsetBytes = (sizes >> 12) & 15;
  const size_t lengthBytes = (sizes >> 8) & 15;
  const size_t baseBytes = (sizes >> 4) & 15;
  const size_t indexBytes = version == 1 || version == 2 ? sizes & 15 : 0;
  const uint64_t count = cursor.read(version < 2 ? 2 : 4);
  for (uint64_t i = 0; i < count && cursor.ok(); ++i) {
    const uint64_t id = cursor.read(version < 2 ? 2 : 4);
    const uint64_t method = version == 1 || version == 2 ? cursor.read(2) & 15 : 0;
    cursor.read(2);  // data reference index
    const uint64_t base = cursor.read(baseBytes);
    const uint64_t extents = cursor.read(2);
    std::vector<uint8_t> bytes;
    for (uint64_t e = 0; e < extents && cursor.ok(); ++e) {
      cursor.read(indexBytes);
      const uint64_t offset = cursor.read(offsetBytes);
      const uint64_t length = cursor.read(lengthBytes);
      if (id != item) continue;
      // In the file (method 0) or in idat (method 1); offsets are compared with what
      // is left, never summed past the end.
      const size_t areaAt = method == 1 ? tables.itemData.at : 0;
      const size_t areaSize = method == 1 ? tables.itemData.size : size;
      if (method > 1 || base > areaSize || offset > areaSize - base || length > areaSize - base - offset ||
          length > kMaxOverlayBytes - bytes.size())
        return false;
      const uint8_t* from = data + areaAt + base + offset;
      bytes.insert(bytes.end(), from, from + length);
    }
    if (id == item && cursor.ok()) {
      *out = std::move(bytes);
      return true;
    }
  }
  return false;
}

// The 1-based property indices of an item in the ipma boxes.
std::vector<uint32_t> propertiesOf(const uint8_t* data, const ItemTables& tables, uint32_t item) {
  std::vector<uint32_t> indices;
  for (const Span& span : tables.associations) {
    Cursor cursor(data + span.at, span.size);
    const uint64_t version = cursor.read(1);
    const uint64_t flags = cursor.read(3);
    const uint64_t entries = cursor.read(4);
    for (uint64_t i = 0; i < entries && cursor.ok(); ++i) {
      const uint64_t id = cursor.read(version < 1 ? 2 : 4);
      const uint64_t count = cursor.read(1);
      for (uint64_t a = 0; a < count && cursor.ok(); ++a) {
        const uint64_t value = cursor.read(flags & 1 ? 2 : 1);
        const uint32_t index = static_cast<uint32_t>(flags & 1 ? value & 0x7FFF : value & 0x7F);
        if (id == item && cursor.ok()) indices.push_back(index);
      }
    }
  }
  return indices;
}

// The shown size of a layer: its ispe, sides swapped by a quarter-turn irot.
bool layerSize(const uint8_t* data, const ItemTables& tables, uint32_t item, int64_t* width, int64_t* height) {
  bool found = false;
  bool turned = false;
  for (uint32_t index : propertiesOf(data, tables, item)) {
    if (index == 0 || index > tables.properties.size()) continue;
    const ItemTables::Property& property = tables.properties[index - 1];
    Cursor cursor(data + property.payload.at, property.payload.size);
    if (std::memcmp(property.type.data(), "ispe", 4) == 0) {
      cursor.read(4);  // version, flags
      *width = static_cast<int64_t>(cursor.read(4));
      *height = static_cast<int64_t>(cursor.read(4));
      found = cursor.ok();
    } else if (std::memcmp(property.type.data(), "irot", 4) == 0) {
      turned = (cursor.read(1) & 1) != 0;
    }
  }
  if (found && turned) std::swap(*width, *height);
  return found;
}

// A signed number of `bytes` bytes (two's complement).
int64_t signedOf(uint64_t value, size_t bytes) {
  const uint64_t sign = uint64_t{1} << (bytes * 8 - 1);
  return static_cast<int64_t>(value ^ sign) - static_cast<int64_t>(sign);
}

OverlayCheck checkOverlay(const uint8_t* data, size_t size, const ItemTables& tables, uint32_t item) {
  std::vector<uint8_t> bytes;
  if (!itemBytes(data, size, tables, item, &bytes)) return OverlayCheck::kUnreadable;
  const auto derivation = std::find_if(tables.derivations.begin(), tables.derivations.end(),
                                       [item](const ItemTables::Derivation& d) { return d.from == item; });
  if (derivation == tables.derivations.end() || derivation->inputs.empty()) return OverlayCheck::kUnreadable;
  Cursor cursor(bytes.data(), bytes.size());
  cursor.read(1);  // version
  const size_t fieldBytes = (cursor.read(1) & 1) ? 4 : 2;
  cursor.read(8);  // fill colour
  const int64_t canvasWidth = static_cast<int64_t>(cursor.read(fieldBytes));
  const int64_t canvasHeight = static_cast<int64_t>(cursor.read(fieldBytes));
  for (uint32_t layer : derivation->inputs) {
    const int64_t x = signedOf(cursor.read(fieldBytes), fieldBytes);
    const int64_t y = signedOf(cursor.read(fieldBytes), fieldBytes);
    int64_t width = 0;
    int64_t height = 0;
    if (!cursor.ok() || !layerSize(data, tables, layer, &width, &height)) return OverlayCheck::kUnreadable;
    // Sides below 2^32 and offsets below 2^31: no sum here can wrap.
    if (x < 0 || y < 0 || x + width > canvasWidth || y + height > canvasHeight) return OverlayCheck::kLayerOutside;
  }
  return OverlayCheck::kOk;
}

}  // namespace

OverlayCheck HeifOverlays::check(const uint8_t* data, size_t size, const ItemTables& tables) {
  for (const ItemTables::Type& type : tables.types) {
    if (std::memcmp(type.type.data(), "iovl", 4) != 0) continue;
    const OverlayCheck overlay = checkOverlay(data, size, tables, type.item);
    if (overlay != OverlayCheck::kOk) return overlay;
  }
  return OverlayCheck::kOk;
}

}  // namespace s::image::heif
