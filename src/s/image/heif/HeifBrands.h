#pragma once
// Which picture format an ISO base media file is, by the brands of its file-type
// box (ftyp): its major brand (bytes 0-3 of the box's payload), a minor version
// (4-7), then any number of compatible brands (4 bytes each).
//
// The brands are looked at in that order: the major brand, then each compatible
// brand. The first one that names a coding decides: "avif" or "avis" (AV1) makes
// the file AVIF; "heic", "heix", "heim", "heis", "hevc" or "hevx" (HEVC) makes it
// HEIC. When none names a coding, a structural brand "mif1" or "msf1" (an image
// or image-sequence file of unspecified coding) makes it HEIC. Anything else is no
// picture file of these formats (MP4 video, QuickTime, ...).
#include <cstddef>
#include <cstdint>

namespace s::image::heif {

enum class HeifKind : uint8_t { kNone, kHeic, kAvif };

class HeifBrands {
 public:
  // payload: the ftyp box after its 8-byte header, size bytes of it (a trailing
  // partial brand is ignored).
  static HeifKind classify(const uint8_t* payload, size_t size);
};

}  // namespace s::image::heif
