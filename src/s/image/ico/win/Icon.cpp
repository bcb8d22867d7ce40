#include "s/image/ico/win/Icon.h"

#include "s/archive/icon/Archive.h"
#include "s/image/NearestImage.h"
#include "s/image/ico/EncodeSetting.h"
#include "s/image/ico/win/IconImage.h"
#include "s/image/win/BufferedImage.h"
#include "s/image/win/BufferedImageSet.h"
#include "s/thread/Owned.h"

namespace s::image::ico::win {

using image::win::BufferedImage;
using image::win::BufferedImageSet;

Icon::~Icon() { removeAll(); }

void Icon::removeAll() {
  images_.clear();
}

IconImage* Icon::getIconImage(int index) const {
  if (index < 0 || index >= getImageCount()) return nullptr;
  return images_[static_cast<size_t>(index)].get();
}

void Icon::addIconImage(IconImage* image) {
  if (image) images_.emplace_back(image);
}

int Icon::getWidth() const { return images_.empty() ? 0 : images_[0]->getWidth(); }

int Icon::getHeight() const { return images_.empty() ? 0 : images_[0]->getHeight(); }

BufferedImage* Icon::toBufferedImage(int index, BufferedImage* target) {
  if (IconImage* image = getIconImage(index)) return image->toBufferedImage(0, target);
  if (!target) return BufferedImage::create();
  target->setSize(0, 0);
  return target;
}

thread::Owned<BufferedImageSet> Icon::toImageSet(int) {
  thread::Owned<BufferedImageSet> set(BufferedImageSet::create());
  for (const thread::Owned<IconImage>& image : images_) set->add(image->toBufferedImage(0, nullptr), image->getBitCount(), 0, 0);
  return set;
}

bool Icon::read(io::IInputStream& in) { return readLimited(in, kMaxTotalPixels); }

bool Icon::readLimited(io::IInputStream& in, int64_t maxTotalPixels) {
  removeAll();
  thread::Owned<archive::icon::Archive> archive = thread::make<archive::icon::Archive>();
  archive->attach(in);
  const int count = archive->getEntryCount();
  int nearest = 0;
  if (!archive->findNearestEntry(32, 32, &nearest)) return false;
  int64_t pixelsLeft = maxTotalPixels;
  int64_t bytesLeft = kMaxTotalBytes;
  bool whole = true;
  // The entry nearest to 32 x 32 first, then the others in directory order.
  for (int step = -1; step < count; ++step) {
    const int index = step < 0 ? nearest : step;
    if (step == nearest) continue;
    archive::_directory::DirectoryEntry* entry = archive->getEntry(index);
    if (pixelsLeft <= 0 || entry->getDataSize() > bytesLeft) {
      whole = false;
      break;
    }
    archive->loadEntryData(entry);
    thread::Owned<IconImage> image(IconImage::create());
    const bool decoded = image->readLimited(entry->data(), pixelsLeft);
    entry->unload();
    const int64_t pixels = static_cast<int64_t>(image->getWidth()) * image->getHeight();
    if (pixels == 0) {
      whole = false;  // damaged or refused: left out
      continue;
    }
    whole = whole && decoded;
    pixelsLeft -= pixels;
    bytesLeft -= static_cast<int64_t>(image->getEncoded().getCount());
    images_.push_back(std::move(image));
  }
  return whole && !images_.empty();
}

bool Icon::write(io::IOutputStream& out) {
  thread::Owned<archive::icon::Archive> archive = thread::make<archive::icon::Archive>();
  bool ok = true;
  for (const thread::Owned<IconImage>& image : images_) {
    thread::Owned<archive::icon::Entry> entry(archive::icon::Entry::create());
    uint8_t* directory = entry->directory();
    const int bitCount = image->getBitCount();
    directory[0] = static_cast<uint8_t>(image->getWidth() >= 256 ? 0 : image->getWidth());
    directory[1] = static_cast<uint8_t>(image->getHeight() >= 256 ? 0 : image->getHeight());
    directory[2] = static_cast<uint8_t>(bitCount < 8 ? 1 << bitCount : 0);
    entry->setField16(4, 1);
    entry->setField16(6, static_cast<uint16_t>(bitCount));
    ok = image->write(entry->data()) && ok;
    entry->markLoaded();
    archive->appendEntry(entry.detach());
  }
  return archive->writeIconFile(out) && ok;
}

thread::Owned<IEncodedImage> Icon::createLike(IImage* imageOrSet) {
  auto* set = dynamic_cast<BufferedImageSet*>(imageOrSet);
  if (!set) return createLike(dynamic_cast<BufferedImage*>(imageOrSet));
  thread::Owned<EncodeSetting> setting = thread::make<EncodeSetting>();
  setting->keepTransparency = true;
  setting->keepRatio = false;
  for (const thread::Owned<IconImage>& image : images_)
    setting->depthSizePairs.push_back(EncodeSetting::packPair(image->getBitCount(), image->getWidth()));
  return setting->encodeImageSet(set);
}

thread::Owned<IEncodedImage> Icon::createLike(BufferedImage* image) {
  if (!image) return nullptr;
  thread::Owned<EncodeSetting> setting = thread::make<EncodeSetting>();
  setting->keepTransparency = true;
  setting->keepRatio = false;
  return setting->encodeImage(image);
}

namespace {

NearestImage::Candidate describe(const void* owner, int index) {
  const IconImage* image = static_cast<const Icon*>(owner)->getIconImage(index);
  return {image->getWidth(), image->getHeight(), image->getBitCount()};
}

}  // namespace

bool Icon::findExactImage(int width, int height, int depth, int* index) const {
  return NearestImage::findExact(this, getImageCount(), describe, width, height, depth, index);
}

bool Icon::findNearestByDepth(int width, int height, int depth, int* index) const {
  return NearestImage::findByDepth(this, getImageCount(), describe, width, height, depth, index);
}

bool Icon::findNearestBySize(int width, int height, int depth, int* index) const {
  return NearestImage::findBySize(this, getImageCount(), describe, width, height, depth, index);
}

}  // namespace s::image::ico::win
