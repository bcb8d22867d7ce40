#pragma once
// Overlay items ("iovl": layers placed on a canvas) checked before libheif composes
// them: libheif 1.15 writes past its canvas when a layer lies partly outside it, so
// such files, valid as they are, must not reach it.
//
// The item's data (iloc: version 0 with 16-bit item ids, 1 and 2 with a
// construction method, 2 with 32-bit ids; data in the file or in idat) holds a
// version byte, a flags byte, four 16-bit fill values, the canvas width and height
// and, per layer, its signed horizontal and vertical offset; fields are 32-bit
// when flags bit 0 is set, else 16-bit. The layers are the item's dimg references,
// in order, and each one's size is its ispe (through ipma: 16-bit property indices
// when its flags bit 0 is set, else 8-bit, the top bit marking essential ones),
// sides swapped when its irot turns it a quarter. An overlay whose data, layers or
// sizes cannot be found is refused as well.
#include <cstddef>
#include <cstdint>

#include "s/image/heif/HeifItemTables.h"

namespace s::image::heif {

enum class [[nodiscard]] OverlayCheck : uint8_t {
  kOk,
  kLayerOutside,  // a layer reaches past the canvas (or starts before it)
  kUnreadable,    // its data, layers or their sizes could not be found
};

class HeifOverlays {
 public:
  static OverlayCheck check(const uint8_t* data, size_t size, const ItemTables& tables);
};

}  // namespace s::image::heif
