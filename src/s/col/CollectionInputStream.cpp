#include "s/col/CollectionInputStream.h"

#include <cstring>

namespace s::col {

void CollectionInputStreamBase::open(ICollection* collection) {
  collection_ = collection;
  rewind();
}

void CollectionInputStreamBase::rewind() {
  iterator_.reset(collection_ ? collection_->iterator() : nullptr);
  element_ = nullptr;
  elementOffset_ = 0;
  blockLength_ = 0;
  blockOffset_ = 0;
  position_ = 0;
}

bool CollectionInputStreamBase::fillBlock() {
  blockLength_ = 0;
  blockOffset_ = 0;
  if (!iterator_) return false;
  const size_t width = collection_->elementSize();
  while (blockLength_ < kBlockSize) {
    if (element_ && elementOffset_ < width) {
      size_t take = width - elementOffset_;
      if (take > kBlockSize - blockLength_) take = kBlockSize - blockLength_;
      std::memcpy(block_ + blockLength_, element_ + elementOffset_, take);
      blockLength_ += take;
      elementOffset_ += take;
      continue;
    }
    if (!iterator_->hasNext()) break;
    element_ = static_cast<const uint8_t*>(iterator_->next());
    elementOffset_ = 0;
    if (!element_) break;
  }
  return blockLength_ > 0;
}

bool CollectionInputStreamBase::read(void* buffer, size_t count, size_t* readCount) {
  auto* out = static_cast<uint8_t*>(buffer);
  size_t copied = 0;
  while (copied < count) {
    if (blockOffset_ == blockLength_ && !fillBlock()) break;
    size_t take = blockLength_ - blockOffset_;
    if (take > count - copied) take = count - copied;
    std::memcpy(out + copied, block_ + blockOffset_, take);
    blockOffset_ += take;
    copied += take;
  }
  position_ += static_cast<int64_t>(copied);
  if (readCount) *readCount = copied;
  return copied > 0 || count == 0;
}

bool CollectionInputStreamBase::seek(int64_t position) {
  if (position < 0) return false;
  rewind();
  uint8_t skipped[kBlockSize];
  while (position_ < position) {
    const uint64_t left = static_cast<uint64_t>(position - position_);
    size_t got = 0;
    if (!read(skipped, left < kBlockSize ? static_cast<size_t>(left) : kBlockSize, &got)) return false;
  }
  return true;
}

void CollectionInputStreamBase::reset() {
  collection_ = nullptr;
  rewind();
}

}  // namespace s::col
