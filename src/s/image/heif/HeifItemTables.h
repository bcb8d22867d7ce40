#pragma once
// What the box check gathers from a HEIF file's meta box for the checks made per
// item: where each table lies (offsets into the file), and the item types and
// derivation references already read.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace s::image::heif {

// A box's payload: offset into the file and size.
struct Span {
  size_t at = 0;
  size_t size = 0;
  bool present() const { return size > 0; }
};

struct ItemTables {
  struct Type {
    uint32_t item = 0;
    std::array<uint8_t, 4> type{};  // "hvc1", "av01", "grid", "iovl", ...
  };
  struct Property {
    std::array<uint8_t, 4> type{};
    Span payload;
  };
  struct Derivation {
    uint32_t from = 0;
    std::vector<uint32_t> inputs;  // in reference order
  };

  std::vector<Type> types;            // from the infe boxes of version 2 and 3
  Span locations;                     // the iloc box
  Span itemData;                      // the idat box
  std::vector<Property> properties;   // the ipco boxes, in order (index 1 first)
  std::vector<Span> associations;     // the ipma boxes
  std::vector<Derivation> derivations;  // the dimg references
};

}  // namespace s::image::heif
