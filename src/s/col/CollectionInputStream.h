#pragma once
// Reads the raw bytes of any collection's elements, in element order, through an
// iterator. Bytes are staged in blocks of up to 64; an element wider than the rest of
// a block continues in the next one. The collection is not owned and must outlive
// the stream (or the next open()).
#include <cstdint>

#include "s/base/IObject.h"
#include "s/col/ICollection.h"
#include "s/col/IIterator.h"
#include "s/io/IInputStream.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Owned.h"
#include "s/thread/Pool.h"

namespace s::col {

class CollectionInputStreamBase : public base::IObject, public io::IInputStream, public thread::IPoolable {
 public:
  static constexpr size_t kBlockSize = 64;

  // Starts reading collection's elements from the first one (nullptr: nothing).
  void open(ICollection* collection);

  bool read(void* buffer, size_t count, size_t* readCount) override;
  int64_t getPosition() const override { return position_; }
  void rewind() override;
  // Reads forward from the start to position; false when the bytes end before it
  // (the position is then the end).
  bool seek(int64_t position) override;

  void reset() override;

 private:
  // Stages the next block; false when no bytes are left.
  bool fillBlock();

  ICollection* collection_ = nullptr;
  thread::Owned<IIterator> iterator_;
  const uint8_t* element_ = nullptr;  // the element being staged
  size_t elementOffset_ = 0;          // its bytes already staged
  uint8_t block_[kBlockSize] = {};
  size_t blockLength_ = 0;
  size_t blockOffset_ = 0;  // bytes of the block already read
  int64_t position_ = 0;
};

class CollectionInputStream final : public thread::PooledObject<CollectionInputStream, CollectionInputStreamBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_col_CollectionInputStream";
};

}  // namespace s::col
