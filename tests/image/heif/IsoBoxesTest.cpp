// The box structure check of HEIF and AVIF files on hand-built fixtures, and the
// brand rules that tell HEIC from AVIF.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "io/MemoryStreams.h"
#include "s/image/bmp/win/PixelBudget.h"
#include "s/image/heif/HeifBrands.h"
#include "s/image/heif/IsoBoxes.h"
#include "s/image/heif/win/Heif.h"
#include "s/thread/Owned.h"

namespace {

using s::image::heif::HeifBrands;
using s::image::heif::HeifCheck;
using s::image::heif::HeifKind;
using s::image::heif::HeifStructure;
using s::image::heif::IsoBoxes;

// Big-endian fields.
struct Writer {
  std::vector<uint8_t> bytes;
  Writer& u8(uint32_t v) {
    bytes.push_back(static_cast<uint8_t>(v));
    return *this;
  }
  Writer& u16(uint32_t v) { return u8(v >> 8).u8(v); }
  Writer& u32(uint32_t v) { return u16(v >> 16).u16(v); }
  Writer& text(const char* s) {
    while (*s) u8(static_cast<uint8_t>(*s++));
    return *this;
  }
  Writer& raw(const std::vector<uint8_t>& more) {
    bytes.insert(bytes.end(), more.begin(), more.end());
    return *this;
  }
};

// A box: 32-bit size of the whole box, its type, the payload.
std::vector<uint8_t> box(const char* type, const std::vector<uint8_t>& payload) {
  return Writer().u32(static_cast<uint32_t>(8 + payload.size())).text(type).raw(payload).bytes;
}
// A full box: version and 24 bits of flags before the payload.
std::vector<uint8_t> fullBox(const char* type, uint8_t version, const std::vector<uint8_t>& payload) {
  return box(type, Writer().u8(version).u8(0).u16(0).raw(payload).bytes);
}
std::vector<uint8_t> join(const std::vector<std::vector<uint8_t>>& parts) {
  std::vector<uint8_t> out;
  for (const auto& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

std::vector<uint8_t> fileType(const char* major, std::vector<const char*> compatible) {
  Writer w;
  w.text(major).u32(0);
  for (const char* brand : compatible) w.text(brand);
  return box("ftyp", w.bytes);
}
std::vector<uint8_t> item(uint16_t id) { return fullBox("infe", 2, Writer().u16(id).u16(0).text("hvc1").u8(0).bytes); }
std::vector<uint8_t> items(uint16_t count, const std::vector<std::vector<uint8_t>>& entries) {
  return fullBox("iinf", 0, Writer().u16(count).raw(join(entries)).bytes);
}
std::vector<uint8_t> primary(uint16_t id) { return fullBox("pitm", 0, Writer().u16(id).bytes); }
std::vector<uint8_t> extents(uint32_t width, uint32_t height) {
  return box("iprp", box("ipco", fullBox("ispe", 0, Writer().u32(width).u32(height).bytes)));
}
// dimg references from `from` to `to` (16-bit ids).
std::vector<uint8_t> derivation(uint16_t from, const std::vector<uint16_t>& to) {
  Writer w;
  w.u16(from).u16(static_cast<uint32_t>(to.size()));
  for (uint16_t id : to) w.u16(id);
  return fullBox("iref", 0, box("dimg", w.bytes));
}
std::vector<uint8_t> meta(const std::vector<std::vector<uint8_t>>& children) { return fullBox("meta", 0, join(children)); }

// A well-formed file: a 2 x 1 grid (item 1) of two tiles (2, 3).
std::vector<uint8_t> goodFile() {
  return join({fileType("heic", {"mif1", "heic"}),
               meta({box("hdlr", std::vector<uint8_t>(25)), primary(1), items(3, {item(1), item(2), item(3)}),
                     extents(640, 480), derivation(1, {2, 3})}),
               box("mdat", std::vector<uint8_t>(40))});
}

HeifCheck check(const std::vector<uint8_t>& file, int64_t maxPixels = int64_t{1} << 29) {
  HeifStructure structure;
  return IsoBoxes::check(file.data(), file.size(), maxPixels, &structure);
}

TEST(IsoBoxes, AWellFormedFileAndWhatItHolds) {
  const std::vector<uint8_t> file = goodFile();
  HeifStructure structure;
  ASSERT_EQ(IsoBoxes::check(file.data(), file.size(), int64_t{1} << 29, &structure), HeifCheck::kOk);
  EXPECT_EQ(structure.kind, HeifKind::kHeic);
  EXPECT_EQ(structure.itemCount, 3u);
  EXPECT_EQ(structure.primaryItem, 1u);
  EXPECT_EQ(structure.derivationInputs, (std::vector<uint32_t>{2, 3}));
  // A stray byte after the last box is tolerated; a 64-bit box size and a box of
  // size 0 (to the end of the file) are read.
  std::vector<uint8_t> tail = file;
  tail.push_back(0);
  EXPECT_EQ(check(tail), HeifCheck::kOk);
  std::vector<uint8_t> wide = join({file, Writer().u32(1).text("free").u32(0).u32(20).u32(0).bytes});
  EXPECT_EQ(check(wide), HeifCheck::kOk);
  std::vector<uint8_t> toEnd = join({file, Writer().u32(0).text("mdat").u32(7).bytes});
  EXPECT_EQ(check(toEnd), HeifCheck::kOk);
}

TEST(IsoBoxes, DamageAndLimitsByName) {
  const std::vector<uint8_t> ftyp = fileType("heic", {"mif1"});
  const std::vector<uint8_t> hdlr = box("hdlr", std::vector<uint8_t>(25));
  const std::vector<uint8_t> oneItem = items(1, {item(1)});
  std::vector<uint8_t> pastParent = goodFile();
  pastParent[fileType("heic", {"mif1", "heic"}).size() + 12 + 3] = 200;  // the hdlr size inside meta: 200
  std::vector<uint8_t> pastFile = goodFile();
  pastFile[pastFile.size() - 48 + 3] = 100;  // the mdat size: past the end
  const struct {
    const char* name;
    std::vector<uint8_t> file;
    int64_t maxPixels;
    HeifCheck expected;
  } kCases[] = {
      {"no ftyp first", join({meta({primary(1), oneItem}), ftyp}), 1 << 29, HeifCheck::kNoFileType},
      {"MP4 brands", join({fileType("isom", {"mp41"}), meta({primary(1), oneItem})}), 1 << 29, HeifCheck::kNotHeif},
      {"a box past its parent", pastParent, 1 << 29, HeifCheck::kBoxSize},
      {"a box past the file", pastFile, 1 << 29, HeifCheck::kBoxSize},
      {"a box smaller than its header", join({ftyp, Writer().u32(4).text("free").bytes}), 1 << 29, HeifCheck::kBoxSize},
      {"no meta", join({ftyp, box("moov", {})}), 1 << 29, HeifCheck::kNoMeta},
      {"two metas", join({ftyp, meta({primary(1), oneItem}), meta({})}), 1 << 29, HeifCheck::kNoMeta},
      {"no iinf", join({ftyp, meta({hdlr, primary(1)})}), 1 << 29, HeifCheck::kNoItems},
      {"a count above the entries", join({ftyp, meta({primary(1), items(5, {item(1)})})}), 1 << 29, HeifCheck::kNoItems},
      {"no pitm", join({ftyp, meta({oneItem})}), 1 << 29, HeifCheck::kNoPrimary},
      {"pitm of no item", join({ftyp, meta({primary(9), oneItem})}), 1 << 29, HeifCheck::kNoPrimary},
      {"an empty ispe", join({ftyp, meta({primary(1), oneItem, extents(0, 10)})}), 1 << 29, HeifCheck::kEmptyPicture},
      // Derived from itself, directly or around a loop: libheif 1.15 recursed until
      // Windows' stack ran out (CrabbyAvif's white_iden_self and white_iden_cycle).
      {"an item derived from itself",
       join({ftyp, meta({primary(1), items(1, {item(1)}), derivation(1, {1})})}), 1 << 29,
       HeifCheck::kDerivationCycle},
      {"a loop of derivations",
       join({ftyp, meta({primary(1), items(3, {item(1), item(2), item(3)}), derivation(1, {2}), derivation(2, {3}),
                         derivation(3, {1})})}),
       1 << 29, HeifCheck::kDerivationCycle},
      {"an iref shorter than its count",
       join({ftyp, meta({primary(1), oneItem, fullBox("iref", 0, box("dimg", Writer().u16(1).u16(5).u16(2).bytes))})}),
       1 << 29, HeifCheck::kReferences},
      // The limits.
      {"a side above 16384", join({ftyp, meta({primary(1), oneItem, extents(17000, 17000)})}), int64_t{1} << 40,
       HeifCheck::kPictureTooLarge},
      {"an area above the caller's limit", join({ftyp, meta({primary(1), oneItem, extents(2000, 2000)})}), 1 << 20,
       HeifCheck::kPictureTooLarge},
  };
  for (const auto& c : kCases) EXPECT_EQ(check(c.file, c.maxPixels), c.expected) << c.name;
  // Ten derived images on each other: past the depth libheif is given.
  std::vector<std::vector<uint8_t>> chainItems;
  std::vector<std::vector<uint8_t>> chainBoxes = {primary(1)};
  for (uint16_t id = 1; id <= 11; ++id) chainItems.push_back(item(id));
  chainBoxes.push_back(items(11, chainItems));
  for (uint16_t id = 1; id <= 10; ++id) chainBoxes.push_back(derivation(id, {static_cast<uint16_t>(id + 1)}));
  EXPECT_EQ(check(join({ftyp, meta(chainBoxes)})), HeifCheck::kTooManyBoxes);
  // More items than the limit, each of them present.
  std::vector<std::vector<uint8_t>> entries;
  for (uint32_t id = 1; id <= IsoBoxes::kMaxItems + 1; ++id) entries.push_back(item(static_cast<uint16_t>(id)));
  EXPECT_EQ(check(join({ftyp, meta({primary(1), items(static_cast<uint16_t>(entries.size()), entries)})})),
            HeifCheck::kTooManyItems);
}

// Items 1 and 2, 80 x 60 each, laid on a 160 x 140 canvas by overlay item 3 at
// the offsets given (16-bit fields); the overlay's data in idat.
// claimedBytes, when given, is the data length iloc claims instead.
std::vector<uint8_t> overlayFile(int16_t x1, int16_t y1, int16_t x2, int16_t y2, uint32_t claimedBytes = 0) {
  Writer data;
  data.u8(0).u8(0).u16(0).u16(0).u16(0).u16(0)  // version, flags, fill colour
      .u16(160).u16(140)                         // canvas
      .u16(static_cast<uint16_t>(x1)).u16(static_cast<uint16_t>(y1))
      .u16(static_cast<uint16_t>(x2)).u16(static_cast<uint16_t>(y2));
  // iloc version 1: 4-byte offsets and lengths, no base offset; item 3 in idat
  // (construction method 1) at 0.
  Writer locations;
  const uint32_t length = claimedBytes ? claimedBytes : static_cast<uint32_t>(data.bytes.size());
  locations.u16(0x4400).u16(1).u16(3).u16(1).u16(0).u16(1).u32(0).u32(length);
  // ipma: items 1 and 2 each associated with property 1 (the ispe).
  Writer associations;
  associations.u32(2).u16(1).u8(1).u8(1).u16(2).u8(1).u8(1);
  auto typed = [](uint16_t id, const char* type) {
    return fullBox("infe", 2, Writer().u16(id).u16(0).text(type).u8(0).bytes);
  };
  return join({fileType("avif", {"mif1"}),
               meta({primary(3), items(3, {typed(1, "av01"), typed(2, "av01"), typed(3, "iovl")}),
                     fullBox("iloc", 1, locations.bytes),
                     box("iprp", join({box("ipco", fullBox("ispe", 0, Writer().u32(80).u32(60).bytes)),
                                       fullBox("ipma", 0, associations.bytes)})),
                     fullBox("iref", 0, box("dimg", Writer().u16(3).u16(2).u16(1).u16(2).bytes)),
                     box("idat", data.bytes)})});
}

TEST(IsoBoxes, OverlayLayersMustLieWithinTheCanvas) {
  // Within the canvas, up to its edges.
  EXPECT_EQ(check(overlayFile(0, 0, 80, 80)), HeifCheck::kOk);
  // Past the right and bottom edges, or before the left and top ones.
  EXPECT_EQ(check(overlayFile(0, 0, 81, 80)), HeifCheck::kOverlay);
  EXPECT_EQ(check(overlayFile(0, 0, 80, 81)), HeifCheck::kOverlay);
  EXPECT_EQ(check(overlayFile(-1, 0, 80, 80)), HeifCheck::kOverlay);
  EXPECT_EQ(check(overlayFile(0, -40, 80, 80)), HeifCheck::kOverlay);
  // Layers that are no images libheif decodes: a fuzzed file whose first layer's
  // item type was damaged ended the process in libheif 1.15 (an assertion in
  // decode_image_planar_tracked).
  std::vector<uint8_t> damagedType = overlayFile(0, 0, 80, 80);
  const std::vector<uint8_t> av01 = {'a', 'v', '0', '1'};
  const auto found = std::search(damagedType.begin(), damagedType.end(), av01.begin(), av01.end());
  ASSERT_NE(found, damagedType.end());
  found[0] = 'v';
  found[1] = 'a';
  EXPECT_EQ(check(damagedType), HeifCheck::kDerivationInput);
  // An overlay whose data cannot be found is not given to libheif either.
  EXPECT_EQ(check(overlayFile(0, 0, 80, 80, 100)), HeifCheck::kOverlay);  // past idat's end
  EXPECT_EQ(check(overlayFile(0, 0, 80, 80, 14)), HeifCheck::kOverlay);   // too short for both layers
}

TEST(IsoBoxes, AFileFailingTheChecksIsRefusedBeforeAnyPixelMemory) {
  using s::image::bmp::win::PixelBudget;
  PixelBudget budget(size_t{1} << 40);
  {
    PixelBudget::Scope scope(budget, 0);
    for (const auto& file : {join({fileType("avif", {"mif1"}), meta({primary(1), items(1, {item(1)}),
                                                                     extents(100000, 100000)})}),
                             goodFile()}) {
      testing_streams::MemoryInputStream in(file);
      s::thread::Owned<s::image::heif::win::Heif> heif(s::image::heif::win::Heif::create());
      EXPECT_FALSE(heif->read(in));
      EXPECT_EQ(heif->getImageCount(), 0);
    }
  }
  EXPECT_EQ(budget.peak(), 0u);
}

TEST(HeifBrands, TheFirstBrandNamingACodingDecides) {
  const struct {
    const char* major;
    std::vector<const char*> compatible;
    HeifKind expected;
  } kCases[] = {
      {"avif", {"mif1", "miaf"}, HeifKind::kAvif},
      {"avis", {"msf1"}, HeifKind::kAvif},
      {"heic", {"mif1", "avif"}, HeifKind::kHeic},  // the major brand comes first
      {"mif1", {"avif", "heic"}, HeifKind::kAvif},
      {"mif1", {"heic", "avif"}, HeifKind::kHeic},
      {"mif1", {"miaf", "MiHB"}, HeifKind::kHeic},  // structural only: HEIC
      {"msf1", {"iso8"}, HeifKind::kHeic},
      {"hevx", {}, HeifKind::kHeic},
      {"heim", {}, HeifKind::kHeic},
      {"heis", {}, HeifKind::kHeic},
      {"hevc", {}, HeifKind::kHeic},
      {"heix", {}, HeifKind::kHeic},
      {"isom", {"mp41", "mp42"}, HeifKind::kNone},
      {"qt  ", {}, HeifKind::kNone},
      {"mif3", {"miaf"}, HeifKind::kNone},
  };
  for (const auto& c : kCases) {
    const std::vector<uint8_t> ftyp = fileType(c.major, c.compatible);
    EXPECT_EQ(HeifBrands::classify(ftyp.data() + 8, ftyp.size() - 8), c.expected) << c.major;
  }
  // A partial brand at the end is ignored.
  const std::vector<uint8_t> cut = {'m', 'i', 'f', '1', 0, 0, 0, 0, 'a', 'v', 'i'};
  EXPECT_EQ(HeifBrands::classify(cut.data(), cut.size()), HeifKind::kHeic);
}

}  // namespace
