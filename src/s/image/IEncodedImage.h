#pragma once
// The codec interface: every image-file format class holds its decoded picture(s)
// in raster form and converts them to and from pixel images.
//
// Conventions of all codecs:
// - read() starts from an emptied object; a damaged file leaves an empty or partly
//   decoded raster, never memory outside the object's buffers touched.
// - toBufferedImage/toImageSet/createLike hand over new objects: the caller
//   releases them.
// - write() reports whether every byte reached the stream.
#include <string_view>

#include "s/image/ColourProfile.h"
#include "s/image/IImage.h"
#include "s/io/IInputStream.h"
#include "s/io/IOutputStream.h"
#include "s/thread/Owned.h"

namespace s::file {
class IPath;
}

namespace s::image {

namespace win {
class BufferedImage;
class BufferedImageSet;
}  // namespace win

class IEncodedImage : public IImage {
 public:
  // ".bmp", ".jpg", ".gif", ".png", ".ico", ".heic", ".avif", ".webp" or ".tif".
  virtual const char16_t* getExtension() const = 0;
  // Picture number index (single-image formats ignore it) as a pixel image: into
  // target (resized first) or, without one, into a new image.
  virtual win::BufferedImage* toBufferedImage(int index, win::BufferedImage* target) = 0;
  // A new set with one entry per contained picture, in order.
  virtual thread::Owned<win::BufferedImageSet> toImageSet(int unused) = 0;
  virtual bool write(io::IOutputStream& out) = 0;
  virtual bool read(io::IInputStream& in) = 0;
  virtual bool hasMultipleImages() const = 0;
  virtual int getImageCount() const = 0;
  // Writes the file unless the path already exists: codecs never overwrite. True
  // only when the file was written completely.
  virtual bool save(std::u16string_view path);
  virtual bool save(file::IPath* path);
  // Reads the file when the path exists and is not a folder; what read() answered.
  virtual bool load(std::u16string_view path);
  virtual bool load(file::IPath* path);
  // A new codec object of this format built from an image or an image set with this
  // object's own parameters; none when the format cannot encode it.
  virtual thread::Owned<IEncodedImage> createLike(IImage* imageOrSet) = 0;
  virtual thread::Owned<IEncodedImage> createLike(win::BufferedImage* image) = 0;
  // Searches over the contained pictures. A format of one picture keeps these
  // answers: nothing found, index 0.
  virtual bool findExactImage(int /*width*/, int /*height*/, int /*depth*/, int* index) const {
    return noPictureFound(index);
  }
  virtual bool findNearestByDepth(int /*width*/, int /*height*/, int /*depth*/, int* index) const {
    return noPictureFound(index);
  }
  virtual bool findNearestBySize(int /*width*/, int /*height*/, int /*depth*/, int* index) const {
    return noPictureFound(index);
  }
  // The ICC profile the file embedded (read) or write embeds. Formats that carry
  // none keep these answers: nothing is kept, none is given.
  virtual void setColourProfile(const ColourProfile& /*profile*/) {}
  virtual ColourProfile getColourProfile() const { return {}; }

 private:
  static bool noPictureFound(int* index) {
    if (index) *index = 0;
    return false;
  }
};

}  // namespace s::image
