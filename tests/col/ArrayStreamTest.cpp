#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "s/col/CollectionInputStream.h"
#include "s/col/_array/ArrayS32.h"
#include "s/col/_array/ArrayU08.h"
#include "s/col/_array/Iterator.h"
#include "s/thread/Owned.h"

namespace {

using s::col::CollectionInputStream;
using s::col::_array::ArrayS32;
using s::col::_array::ArrayU08;
using s::thread::make;

// Leaves the array empty over a block full of 0xEE, so bytes that are not written
// or zeroed show up.
void dirty(ArrayU08& array, size_t bytes) {
  array.setCount(bytes);
  std::memset(array.data(), 0xEE, bytes);
  array.clear();
}

TEST(ArrayStream, WriteGrowsAndRaisesTheCount) {
  auto array = make<ArrayU08>();
  size_t written = 0;
  EXPECT_TRUE(array->write("hello", 5, &written));
  EXPECT_EQ(written, 5u);
  EXPECT_EQ(array->getCount(), 5u);
  EXPECT_EQ(array->getPosition(), 5);
  EXPECT_EQ(array->capacity(), 100u);
  // Overwriting inside keeps the count.
  array->seek(1);
  EXPECT_TRUE(array->write("EL", 2, nullptr));
  EXPECT_EQ(array->getCount(), 5u);
  EXPECT_EQ(0, std::memcmp(array->data(), "hELlo", 5));
  // Room for position + length plus one more element, by growth steps.
  array->seek(99);
  EXPECT_TRUE(array->write("x", 1, nullptr));
  EXPECT_EQ(array->capacity(), 300u);
}

TEST(ArrayStream, WritingPastTheCountZeroFillsTheGap) {
  auto array = make<ArrayU08>();
  dirty(*array, 50);
  EXPECT_TRUE(array->write("ab", 2, nullptr));
  EXPECT_TRUE(array->seek(10));
  EXPECT_TRUE(array->write("c", 1, nullptr));
  ASSERT_EQ(array->getCount(), 11u);
  for (size_t i = 2; i < 10; ++i) EXPECT_EQ(array->get(i), 0) << i;
  EXPECT_EQ(array->get(10), 'c');
}

TEST(ArrayStream, PartlyWrittenElementIsZeroFilled) {
  auto array = make<ArrayS32>();
  array->setCount(8);
  std::memset(array->data(), 0xEE, 32);
  array->clear();
  const uint8_t bytes[5] = {1, 2, 3, 4, 5};
  EXPECT_TRUE(array->write(bytes, 5, nullptr));
  ASSERT_EQ(array->getCount(), 2u);  // the elements covering 5 bytes
  const auto* raw = static_cast<const uint8_t*>(array->rawData());
  EXPECT_EQ(raw[4], 5);
  EXPECT_EQ(raw[5], 0);
  EXPECT_EQ(raw[7], 0);
  EXPECT_EQ(array->getPosition(), 5);
}

TEST(ArrayStream, ReadStopsAtTheCount) {
  auto array = make<ArrayU08>();
  array->write("abcdef", 6, nullptr);
  array->rewind();
  char buffer[8] = {};
  size_t got = 99;
  EXPECT_TRUE(array->read(buffer, 4, &got));
  EXPECT_EQ(got, 4u);
  EXPECT_TRUE(array->read(buffer, 8, &got));  // only two left
  EXPECT_EQ(got, 2u);
  EXPECT_EQ(0, std::memcmp(buffer, "ef", 2));
  EXPECT_FALSE(array->read(buffer, 8, &got));  // at the end
  EXPECT_EQ(got, 0u);
  EXPECT_TRUE(array->seek(100));  // past the count
  EXPECT_FALSE(array->read(buffer, 8, &got));
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(array->getPosition(), 100);
}

TEST(ArrayStream, PositionMoves) {
  auto array = make<ArrayU08>();
  array->write("abcdef", 6, nullptr);
  struct Case {
    const char* name;
    bool (*move)(ArrayU08&);
    bool accepted;
    int64_t position;  // afterwards, starting from 3
  };
  const Case cases[] = {
      {"seek", [](ArrayU08& a) { return a.seek(5); }, true, 5},
      {"seek negative", [](ArrayU08& a) { return a.seek(-1); }, false, 3},
      {"seekToEnd", [](ArrayU08& a) { a.seekToEnd(); return true; }, true, 6},
      {"seekFromEnd", [](ArrayU08& a) { return a.seekFromEnd(2); }, true, 4},
      {"seekFromEnd beyond the start", [](ArrayU08& a) { return a.seekFromEnd(7); }, false, 3},
      {"moveBy back", [](ArrayU08& a) { return a.moveBy(-3); }, true, 0},
      {"moveBy before the start", [](ArrayU08& a) { return a.moveBy(-4); }, false, 3},
      {"moveBy INT64_MIN", [](ArrayU08& a) { return a.moveBy(INT64_MIN); }, false, 3},
      {"moveBy forward", [](ArrayU08& a) { return a.moveBy(10); }, true, 13},
      {"rewind", [](ArrayU08& a) { a.rewind(); return true; }, true, 0},
  };
  for (const Case& c : cases) {
    array->seek(3);
    EXPECT_EQ(c.move(*array), c.accepted) << c.name;
    EXPECT_EQ(array->getPosition(), c.position) << c.name;
  }
}

TEST(ArrayIterator, WalksForwardAndBackward) {
  auto array = make<ArrayS32>();
  for (int32_t v : {10, 20, 30}) array->append(v);

  s::thread::Owned<s::col::IIterator> it(array->iterator());
  EXPECT_EQ(it->getIndex(), -1);
  EXPECT_EQ(it->current(), nullptr);
  std::vector<int32_t> seen;
  while (it->hasNext()) seen.push_back(*static_cast<int32_t*>(it->next()));
  EXPECT_EQ(seen, (std::vector<int32_t>{10, 20, 30}));
  EXPECT_EQ(it->next(), nullptr);  // off the end, no read past the count

  s::thread::Owned<s::col::_array::Iterator> back(array->iteratorAt(3));
  seen.clear();
  while (back->hasPrevious()) seen.push_back(*static_cast<int32_t*>(back->previous()));
  EXPECT_EQ(seen, (std::vector<int32_t>{30, 20, 10}));
  EXPECT_EQ(back->getIndex(), 0);  // hasPrevious is index > 0
  EXPECT_EQ(back->previous(), nullptr);
  EXPECT_EQ(*static_cast<int32_t*>(back->skip(2)), 20);
  EXPECT_EQ(back->skip(4), nullptr);
  EXPECT_EQ(back->getIndex(), 5);
  back->setIndex(2);
  EXPECT_EQ(*static_cast<int32_t*>(back->current()), 30);
  EXPECT_FALSE(back->hasNext());

  auto empty = make<ArrayS32>();
  s::thread::Owned<s::col::IIterator> none(empty->iterator());
  EXPECT_FALSE(none->hasNext());
  EXPECT_FALSE(none->hasPrevious());
  EXPECT_EQ(none->next(), nullptr);
}

TEST(CollectionInputStream, ReadsTheElementBytesInBlocks) {
  auto array = make<ArrayS32>();
  for (int32_t i = 0; i < 40; ++i) array->append(i * 0x01010101);  // 160 bytes, over two blocks
  const auto* expected = static_cast<const uint8_t*>(array->rawData());

  auto stream = make<CollectionInputStream>();
  stream->open(array.get());
  for (size_t chunk : {size_t{1}, size_t{7}, size_t{64}, size_t{100}, size_t{500}}) {
    stream->rewind();
    std::vector<uint8_t> read;
    uint8_t buffer[500];
    size_t got = 0;
    while (stream->read(buffer, chunk, &got)) read.insert(read.end(), buffer, buffer + got);
    ASSERT_EQ(read.size(), 160u) << chunk;
    EXPECT_EQ(0, std::memcmp(read.data(), expected, 160)) << chunk;
    EXPECT_EQ(stream->getPosition(), 160);
  }

  EXPECT_TRUE(stream->seek(70));
  uint8_t byte = 0;
  EXPECT_TRUE(stream->read(&byte, 1, nullptr));
  EXPECT_EQ(byte, expected[70]);
  EXPECT_FALSE(stream->seek(161));
  EXPECT_EQ(stream->getPosition(), 160);

  auto empty = make<ArrayU08>();
  stream->open(empty.get());
  size_t got = 1;
  EXPECT_FALSE(stream->read(&byte, 1, &got));
  EXPECT_EQ(got, 0u);
}

}  // namespace

namespace {

// A collection of three 100-byte elements (wider than a block), with an iterator
// of its own: the stream must carry an element over into the next block.
class WideCollection final : public s::col::ICollection {
 public:
  WideCollection() {
    for (size_t i = 0; i < sizeof bytes_; ++i) bytes_[i] = static_cast<uint8_t>(i * 7);
  }
  size_t getCount() const override { return 3; }
  size_t elementSize() const override { return 100; }
  s::col::IIterator* iterator() override { return new WideIterator(bytes_); }
  const uint8_t* bytes() const { return bytes_; }

 private:
  class WideIterator final : public s::col::IIterator {
   public:
    explicit WideIterator(uint8_t* bytes) : bytes_(bytes) {}
    const char16_t* getRegistrationName() const override { return u"s_test_WideIterator"; }
    s::base::IObject* newInstance() const override { return new WideIterator(bytes_); }
    void release() override { delete this; }
    void reset() override { index_ = -1; }
    int64_t getIndex() const override { return index_; }
    void setIndex(int64_t index) override { index_ = index; }
    bool hasNext() const override { return index_ < 2; }
    bool hasPrevious() const override { return index_ > 0; }
    void* next() override { return skip(1); }
    void* previous() override { return skip(-1); }
    void* skip(int64_t n) override {
      index_ += n;
      return current();
    }
    void* current() const override { return index_ >= 0 && index_ < 3 ? bytes_ + index_ * 100 : nullptr; }

   private:
    uint8_t* bytes_;
    int64_t index_ = -1;
  };

  uint8_t bytes_[300];
};

TEST(CollectionInputStream, ElementsWiderThanABlock) {
  WideCollection collection;
  auto stream = make<CollectionInputStream>();
  stream->open(&collection);
  std::vector<uint8_t> read(400);
  size_t got = 0;
  EXPECT_TRUE(stream->read(read.data(), read.size(), &got));
  ASSERT_EQ(got, 300u);
  EXPECT_EQ(0, std::memcmp(read.data(), collection.bytes(), 300));
}

}  // namespace
