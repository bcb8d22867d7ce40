#pragma once
// The box structure of a HEIF or AVIF file, read and checked before any byte
// reaches libheif.
//
// The file is a sequence of boxes (ISO/IEC 14496-12): a big-endian 32-bit size
// (the whole box), a four-character type, then the payload. Size 1 means a 64-bit
// size follows the type; size 0 means the box runs to the end of its parent (the
// file, at the top). A "uuid" box has a 16-byte user type after the header. Full
// boxes start their payload with a version byte and 24 bits of flags.
//
// Checked, with the boxes this file's pictures depend on:
// - every box, at the top and inside the containers read below, is at least its
//   header and ends within its parent;
// - the first box is "ftyp" and its brands name HEIC or AVIF (HeifBrands);
// - one top-level "meta" (a full box) holding "pitm" (the primary item: 16-bit id
//   in version 0, else 32-bit) and "iinf" (the item count: 16-bit in version 0,
//   else 32-bit, then one "infe" box per item, whose item id is a 16-bit number
//   in versions below 3, else 32-bit); the count is within the limit and no larger
//   than the "infe" boxes present, and the primary item is one of them;
// - the item references ("iref": version 0 with 16-bit item ids, else 32-bit; a
//   box a reference type, each with a from-item, a 16-bit count and the to-items)
//   lie within their boxes; the items that are inputs of derived images ("dimg":
//   grid tiles, overlay layers, identity-derived sources) are noted;
// - every image-spatial-extents property ("ispe" in "iprp"/"ipco": full box, 32-bit
//   width and height) is non-empty, each side at most kMaxSide and the area within
//   the caller's pixel limit.
// - every item a derived image ("dimg") is made from has an infe of an image type
//   libheif decodes: hvc1, av01, grid, iovl or iden; no item is derived from
//   itself, and derivations stack at most kMaxDerivationDepth deep;
// - every overlay item passes HeifOverlays' check.
// Box counts are bounded. Everything else (item locations, references, the coded
// data) is libheif's to check.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "s/image/heif/HeifBrands.h"

namespace s::image::heif {

enum class [[nodiscard]] HeifCheck : uint8_t {
  kOk,
  // The caller's limits.
  kPictureTooLarge,  // an ispe side above kMaxSide or an area above the pixel limit
  kTooManyItems,     // an item count above kMaxItems
  kTooManyBoxes,     // more than kMaxBoxes boxes in one container, more than
                     // kMaxReferences item references, or derived images stacked
                     // deeper than kMaxDerivationDepth
  // Damage.
  kNoFileType,      // the first box is no "ftyp" (or the file is shorter than a box)
  kNotHeif,         // its brands name neither HEIC nor AVIF
  kBoxSize,         // a box smaller than its header or ending past its parent
  kNoMeta,          // no top-level "meta" box, or more than one
  kNoItems,         // no "iinf", or a count larger than the "infe" boxes it holds
  kNoPrimary,       // no "pitm", or its item is not among the items
  kEmptyPicture,    // an ispe with a width or height of 0, or one too short
  kReferences,      // an item reference box shorter than its counts say
  kOverlay,         // an overlay libheif 1.15 cannot compose safely (HeifOverlays)
  kDerivationInput, // a derived image made from an item that is no image libheif
                    // decodes (HEVC, AV1, grid, overlay, identity), or from none
  kDerivationCycle, // an item derived, through others or directly, from itself
};

struct HeifStructure {
  HeifKind kind = HeifKind::kNone;
  uint32_t itemCount = 0;
  uint32_t primaryItem = 0;
  // Items another item derives its picture from (sorted, without repeats): they
  // are parts of a picture, not pictures of their own.
  std::vector<uint32_t> derivationInputs;
};

class IsoBoxes {
 public:
  // The largest side a picture may have: AVIF's reference decoders refuse more by
  // default, and libheif is told the same.
  static constexpr uint32_t kMaxSide = 16384;
  static constexpr uint32_t kMaxItems = 4096;
  static constexpr int kMaxBoxes = 1 << 16;
  static constexpr uint32_t kMaxReferences = 1 << 16;
  // Levels of derived images on derived images: libheif decodes each level by
  // recursion (files in use have two: a grid of coded tiles).
  static constexpr int kMaxDerivationDepth = 8;

  static HeifCheck check(const uint8_t* data, size_t size, int64_t maxPixels, HeifStructure* structure);
};

}  // namespace s::image::heif
