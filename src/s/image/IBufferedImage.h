#pragma once
// The pixel image's own operations: writing through the codecs, copies and
// rotations, and the filter chain.
#include <string_view>
#include <vector>

#include "s/image/IImageBuffer.h"
#include "s/image/filters/IFilter.h"
#include "s/io/IOutputStream.h"

namespace s::image {

namespace bmp {
class EncodeSetting;
}
namespace gif {
class EncodeSetting;
}
namespace jpg {
class EncodeSetting;
}
namespace png {
class EncodeSetting;
}

class IBufferedImage : public IImageBuffer {
 public:
  using FilterChain = std::vector<filters::IFilter*>;

  // Encode this image with the format's values and write it into a stream or a
  // file (created or replaced); false when the format gave no codec object or a
  // write failed.
  virtual bool writeBmp(io::IOutputStream& out, bmp::EncodeSetting& values) = 0;
  virtual bool saveBmp(std::u16string_view path, bmp::EncodeSetting& values) = 0;
  virtual bool writeGif(io::IOutputStream& out, gif::EncodeSetting& values) = 0;
  virtual bool saveGif(std::u16string_view path, gif::EncodeSetting& values) = 0;
  virtual bool writeJpeg(io::IOutputStream& out, jpg::EncodeSetting& values) = 0;
  virtual bool saveJpeg(std::u16string_view path, jpg::EncodeSetting& values) = 0;
  virtual bool writePng(io::IOutputStream& out, png::EncodeSetting& values) = 0;
  virtual bool savePng(std::u16string_view path, png::EncodeSetting& values) = 0;
  // Copies and rotations: into target (made the right size) or into a new image
  // handed to the caller when target is none.
  virtual win::BufferedImage* copyTo(win::BufferedImage* target) const = 0;
  virtual win::BufferedImage* rotateRight(win::BufferedImage* target) const = 0;
  virtual win::BufferedImage* rotate180(win::BufferedImage* target) const = 0;
  virtual win::BufferedImage* rotateLeft(win::BufferedImage* target) const = 0;
  virtual win::BufferedImage* mirror(win::BufferedImage* target) const = 0;
  virtual win::BufferedImage* flip(win::BufferedImage* target) const = 0;
  virtual bool hasFilters() const = 0;
  // First filter whose id is the same text object (identity); index untouched
  // when none matches.
  virtual bool findFilter(const char16_t* filterId, int* index) const = 0;
  virtual const FilterChain& getFilters() const = 0;
  virtual filters::IFilter* getFilter(int index) const = 0;
  virtual void addFilter(filters::IFilter* filter) = 0;
  virtual void insertFilter(int index, filters::IFilter* filter) = 0;
  virtual void removeFilter(int index) = 0;
  virtual void clearFilters() = 0;
  virtual void detachFilters() = 0;
  // Runs the chain; the result stays owned by this image.
  virtual win::BufferedImage* applyFilters() = 0;
  virtual win::BufferedImage* getFiltered() = 0;
  virtual void print(bool rotate, bool sharpen, bool fit) = 0;
};

}  // namespace s::image
