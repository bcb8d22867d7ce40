#pragma once
// The ICO codec: an icon file as an ordered list of icon images.
//
// Reading goes through the icon archive: the image nearest to 32 x 32 (by the
// directory) comes first, then the others in file order. Each entry's data is read
// only as far as the file holds it and decoded by IconImage, which validates it;
// entries that do not decode to a picture are left out. A file may hold at most
// kMaxTotalPixels pixels and kMaxTotalBytes bytes of entry data in all; reading stops
// at the image that would pass either.
//
// Writing makes one directory entry per image (width and height bytes 0 for 256 and
// more, the colour count for depths below 8) and the images' data in order.
#include <cstdint>
#include <vector>

#include "s/image/ico/IIcon.h"
#include "s/image/ico/win/IconImage.h"
#include "s/thread/Pool.h"
#include "s/thread/Owned.h"

namespace s::image::ico::win {

class Icon final : public thread::PooledObject<Icon, IIcon> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_image_ico_win_Icon";
  static constexpr int64_t kMaxTotalPixels = int64_t{1} << 26;
  static constexpr int64_t kMaxTotalBytes = int64_t{256} << 20;

  Icon() = default;
  ~Icon() override;
  Icon(const Icon&) = delete;
  Icon& operator=(const Icon&) = delete;

  void reset() override { removeAll(); }

  // IImage / IEncodedImage: sizes are the first image's (0 without images).
  int getWidth() const override;
  int getHeight() const override;
  const char16_t* getExtension() const override { return u".ico"; }
  image::win::BufferedImage* toBufferedImage(int index, image::win::BufferedImage* target) override;
  thread::Owned<image::win::BufferedImageSet> toImageSet(int unused) override;
  bool write(io::IOutputStream& out) override;
  // True when at least one image was read and none was damaged or left out.
  bool read(io::IInputStream& in) override;
  bool hasMultipleImages() const override { return images_.size() > 1; }
  int getImageCount() const override { return static_cast<int>(images_.size()); }
  // An icon with the same sizes and depths as this one's images, one per image of
  // the set; none for a single pixel image (the encoder then has no sizes).
  thread::Owned<IEncodedImage> createLike(IImage* imageOrSet) override;
  thread::Owned<IEncodedImage> createLike(image::win::BufferedImage* image) override;
  bool findExactImage(int width, int height, int depth, int* index) const override;
  bool findNearestByDepth(int width, int height, int depth, int* index) const override;
  bool findNearestBySize(int width, int height, int depth, int* index) const override;

  // IIcon
  IconImage* getIconImage(int index) const override;
  void addIconImage(IconImage* image) override;
  void removeAll() override;

  bool readLimited(io::IInputStream& in, int64_t maxTotalPixels);

 private:
  std::vector<thread::Owned<IconImage>> images_;
};

}  // namespace s::image::ico::win
