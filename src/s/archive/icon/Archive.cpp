#include "s/archive/icon/Archive.h"

#include "s/image/NearestImage.h"
#include "s/image/ico/win/IconImage.h"

namespace s::archive::icon {

namespace {

image::NearestImage::Candidate describe(const void* owner, int index) {
  const auto* archive = static_cast<const Archive*>(owner);
  const _directory::DirectoryEntry* entry = archive->getEntry(index);
  // The directory's bytes as stored: 0 counts as 0.
  return {entry->getWidth(), entry->getHeight(), entry->getBitCount()};
}

}  // namespace

bool Archive::findNearestEntry(int width, int height, int* index) const {
  // Depth 32 is the target: a 32-bit entry of the size is taken at once, and depth
  // decides only between entries of equal area distance.
  return image::NearestImage::findBySize(this, getEntryCount(), describe, width, height, 32, index);
}

thread::Owned<image::ico::win::IconImage> Archive::makeIconImage(int index) {
  _directory::DirectoryEntry* entry = getEntry(index);
  if (!entry) return nullptr;
  if (!entry->isLoaded()) loadEntryData(entry);
  thread::Owned<image::ico::win::IconImage> image(image::ico::win::IconImage::create());
  entry->data().rewind();
  (void)image->read(entry->data());
  entry->data().rewind();
  return image;
}

}  // namespace s::archive::icon
