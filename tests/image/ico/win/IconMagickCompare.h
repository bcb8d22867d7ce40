#pragma once
// Comparing each entry of an icon file, decoded here, with ImageMagick's decoding.
#include <gtest/gtest.h>

#include <string>

#include "image/MagickReference.h"
#include "image/ico/win/IconFixtures.h"
#include "s/archive/icon/Archive.h"

namespace icon_magick {

using namespace icon_fixtures;

// Every entry of the file, decoded here, against ImageMagick's decoding of the same
// entry: alpha everywhere, colour where the pixel is not fully transparent. Answers
// the number of entries compared.
inline int compareEntries(const std::string& file) {
  const std::vector<uint8_t> bytes = testing_streams::readFile(file);
  testing_streams::MemoryInputStream in(bytes);
  Owned<s::archive::icon::Archive> archive = s::thread::make<s::archive::icon::Archive>();
  archive->attach(in);
  for (int i = 0; i < archive->getEntryCount(); ++i) {
    SCOPED_TRACE("entry " + std::to_string(i));
    Owned<IconImage> image(archive->makeIconImage(i));
    Owned<BufferedImage> ours(image->toBufferedImage(0, nullptr));
    const magick_reference::Rgba theirs = magick_reference::decode(file + "[" + std::to_string(i) + "]");
    EXPECT_EQ(theirs.bytes.size(), static_cast<size_t>(ours->getWidth()) * ours->getHeight() * 4);
    if (theirs.bytes.size() != static_cast<size_t>(ours->getWidth()) * ours->getHeight() * 4) continue;
    int mismatches = 0;
    for (int y = 0; y < ours->getHeight(); ++y)
      for (int x = 0; x < ours->getWidth(); ++x) {
        const uint32_t pixel = at(ours.get(), x, y);
        const uint8_t* rgba = &theirs.bytes[(static_cast<size_t>(y) * ours->getWidth() + x) * 4];
        const uint32_t expected = (uint32_t{rgba[3]} << 24) | (rgba[0] << 16) | (rgba[1] << 8) | rgba[2];
        const bool same = (pixel >> 24) == 0 ? (expected >> 24) == 0 : pixel == expected;
        if (!same && mismatches++ < 3)
          ADD_FAILURE() << "pixel " << x << "," << y << ": ours " << std::hex << pixel << ", ImageMagick's "
                        << expected;
      }
    EXPECT_EQ(mismatches, 0);
  }
  return archive->getEntryCount();
}

}  // namespace icon_magick
