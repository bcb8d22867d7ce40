#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "s/col/_array/ArrayS32.h"
#include "s/col/_array/ArrayU08.h"
#include "s/col/_array/ArrayU32.h"
#include "s/digest/Fnv1a64.h"
#include "s/thread/Owned.h"

namespace {

using s::col::_array::ArrayBase;
using s::col::_array::ArrayS32;
using s::col::_array::ArrayU08;
using s::col::_array::ArrayU32;
using s::thread::make;
using s::thread::Owned;

Owned<ArrayS32> arrayOf(const std::vector<int32_t>& values) {
  auto array = make<ArrayS32>();
  if (!values.empty()) array->append(values.data(), values.size(), 0);
  return array;
}

std::vector<int32_t> contents(const ArrayS32& array) {
  return std::vector<int32_t>(array.data(), array.data() + array.getCount());
}

TEST(ArrayEdit, InsertAtTheEndsIsAppendAndPrepend) {
  const std::vector<std::vector<int32_t>> starts = {{}, {1}, {1, 2, 3}};
  const int32_t block[] = {8, 9};
  for (const auto& start : starts) {
    for (size_t n : {size_t{1}, size_t{2}}) {
      auto inserted = arrayOf(start);
      auto appended = arrayOf(start);
      inserted->insert(inserted->getCount(), block, n, 0);
      appended->append(block, n, 0);
      EXPECT_EQ(contents(*inserted), contents(*appended));

      auto insertedFront = arrayOf(start);
      auto prepended = arrayOf(start);
      insertedFront->insert(0, block, n, 0);
      prepended->prepend(block, n, 0);
      EXPECT_EQ(contents(*insertedFront), contents(*prepended));
      EXPECT_EQ(insertedFront->get(0), 8);
    }
  }
}

TEST(ArrayEdit, InsertInTheMiddleWithSourceIndex) {
  auto array = arrayOf({1, 2, 3});
  const int32_t block[] = {7, 8, 9};
  array->insert(1, block, 2, 1);  // 8, 9 before element 1
  EXPECT_EQ(contents(*array), (std::vector<int32_t>{1, 8, 9, 2, 3}));
  array->insert(99, 5);  // an index past the count appends
  EXPECT_EQ(array->get(5), 5);
}

// The source lies in the array's own block, which growing frees: the elements must
// still arrive intact (this runs under AddressSanitizer too).
TEST(ArrayEdit, SourceInsideTheArrayItself) {
  auto array = make<ArrayS32>();
  for (int i = 0; i < 100; ++i) array->append(i);  // exactly full
  array->append(array->data(), 100, 0);            // grows while copying itself
  array->insert(1, array->data(), 2, 150);         // shifts past its own source
  ASSERT_EQ(array->getCount(), 202u);
  EXPECT_EQ(array->get(0), 0);
  EXPECT_EQ(array->get(1), 50);
  EXPECT_EQ(array->get(2), 51);
  EXPECT_EQ(array->get(3), 1);
  EXPECT_EQ(array->get(201), 99);

  auto bytes = make<ArrayU08>();
  for (int i = 0; i < 100; ++i) bytes->append(static_cast<uint8_t>(i));
  bytes->writeRaw(bytes->data(), 100, 0, 100);  // exact growth from itself
  EXPECT_EQ(bytes->get(199), 99);
  bytes->seekToEnd();
  EXPECT_TRUE(bytes->write(bytes->data(), 200, nullptr));  // stream write from itself
  EXPECT_EQ(bytes->get(399), 99);
}

TEST(ArrayEdit, RemovalsLeaveTheRestInOrder) {
  struct Case {
    const char* name;
    void (*edit)(ArrayBase&);
    std::vector<int32_t> expected;
  };
  const Case cases[] = {
      {"removeRange tail", [](ArrayBase& a) { a.removeRange(a.getCount() - 2, 2); }, {0, 1, 2, 3}},
      {"removeRange middle", [](ArrayBase& a) { a.removeRange(1, 3); }, {0, 4, 5}},
      {"removeRange past the count", [](ArrayBase& a) { a.removeRange(4, 10); }, {0, 1, 2, 3}},
      {"removeRange from past the count", [](ArrayBase& a) { a.removeRange(9, 1); }, {0, 1, 2, 3, 4, 5}},
      {"dropFirst", [](ArrayBase& a) { a.dropFirst(2); }, {2, 3, 4, 5}},
      {"dropLast", [](ArrayBase& a) { a.dropLast(2); }, {0, 1, 2, 3}},
      {"dropLast more than all", [](ArrayBase& a) { a.dropLast(7); }, {}},
      {"dropFirst more than all", [](ArrayBase& a) { a.dropFirst(7); }, {}},
  };
  for (const Case& c : cases) {
    auto array = arrayOf({0, 1, 2, 3, 4, 5});
    c.edit(*array);
    EXPECT_EQ(contents(*array), c.expected) << c.name;
  }
}

TEST(ArrayEdit, PopAndTakeCopyOutThenRemove) {
  auto array = arrayOf({0, 1, 2, 3, 4, 5});
  int32_t out[4] = {-1, -1, -1, -1};
  EXPECT_EQ(array->popLast(out, 2, 1), 2u);
  EXPECT_EQ(out[1], 4);
  EXPECT_EQ(out[2], 5);
  EXPECT_EQ(array->popFirst(out, 1, 0), 1u);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(array->takeRange(1, out, 2, 0), 2u);
  EXPECT_EQ(out[0], 2);
  EXPECT_EQ(out[1], 3);
  EXPECT_EQ(contents(*array), (std::vector<int32_t>{1}));
  EXPECT_EQ(array->popLast(out, 5, 0), 1u);  // only what is there
  EXPECT_EQ(array->popLast(), 0);            // empty: the zero value
  EXPECT_EQ(array->getCount(), 0u);
}

TEST(ArrayEdit, ReverseAndSwap) {
  const std::vector<std::vector<int32_t>> inputs = {{}, {1}, {1, 2}, {1, 2, 3}, {1, 2, 3, 4, 5, 6, 7}};
  for (const auto& input : inputs) {
    auto array = arrayOf(input);
    array->reverse();
    EXPECT_EQ(contents(*array), std::vector<int32_t>(input.rbegin(), input.rend()));
  }
  auto odd = arrayOf({1, 2, 3, 4, 5});
  odd->reverse();
  EXPECT_EQ(odd->get(2), 3);  // the middle stays

  auto bytes = make<ArrayU08>();
  const uint8_t raw[] = {1, 2, 3};
  bytes->append(raw, 3, 0);
  bytes->reverse();
  EXPECT_EQ(bytes->get(0), 3);

  auto array = arrayOf({1, 2, 3});
  array->swap(0, 2);
  EXPECT_EQ(contents(*array), (std::vector<int32_t>{3, 2, 1}));
  int32_t temporary;
  array->swapVia(0, 1, &temporary);
  EXPECT_EQ(contents(*array), (std::vector<int32_t>{2, 3, 1}));
  array->swapVia(1, 1, &temporary);
  EXPECT_EQ(contents(*array), (std::vector<int32_t>{2, 3, 1}));
}

TEST(ArrayEdit, CompareRawIsBytewiseThenShorterFirst) {
  struct Case {
    std::vector<uint8_t> mine;
    size_t start;
    std::vector<uint8_t> other;
    size_t otherStart;
    size_t n;
    int expected;
  };
  const size_t all = ArrayBase::kAll;
  const Case cases[] = {
      {{1, 2, 3}, 0, {1, 2, 3}, 0, all, 0},
      {{1, 2, 3}, 0, {1, 2, 4}, 0, all, -1},
      {{0x80}, 0, {0x01}, 0, all, 1},  // unsigned bytes
      {{1, 2}, 0, {1, 2, 3}, 0, all, -1},
      {{1, 2, 3}, 0, {1, 2}, 0, all, 1},
      {{1, 2, 3}, 0, {1, 2, 9}, 0, 2, 0},  // only n elements of each
      {{9, 1, 2}, 1, {1, 2}, 0, all, 0},
      {{1, 2}, 0, {7, 1, 2}, 1, all, 0},
      {{1, 2}, 0, {1, 2}, 5, all, 1},  // other start past its count: empty
      {{}, 0, {}, 0, all, 0},
  };
  for (const Case& c : cases) {
    auto array = make<ArrayU08>();
    if (!c.mine.empty()) array->append(c.mine.data(), c.mine.size(), 0);
    EXPECT_EQ(array->compareRaw(c.start, c.other.data(), c.other.size(), c.otherStart, c.n), c.expected);
  }
  // Wider elements compare their bytes in memory order.
  auto words = arrayOf({1, 2});
  const int32_t same[] = {1, 2};
  EXPECT_EQ(words->compareRaw(0, same, 2, 0), 0);
}

TEST(ArrayEdit, CopyBetweenArraysAndRawBlocks) {
  auto source = arrayOf({1, 2, 3, 4});
  auto target = arrayOf({9});
  EXPECT_TRUE(source->copyTo(target.get(), 1, 2));  // 3, 4 after the 9
  EXPECT_EQ(contents(*target), (std::vector<int32_t>{9, 3, 4}));
  EXPECT_TRUE(target->copyFrom(source.get(), 0, 3, 1));
  EXPECT_EQ(contents(*target), (std::vector<int32_t>{9, 3, 4, 1}));
  EXPECT_TRUE(source->copyTo(source.get(), 4, 0));  // onto its own end
  EXPECT_EQ(contents(*source), (std::vector<int32_t>{1, 2, 3, 4, 1, 2, 3, 4}));

  auto bytes = make<ArrayU08>();
  EXPECT_FALSE(source->copyTo(bytes.get(), 0, 0));  // widths differ
  EXPECT_EQ(bytes->getCount(), 0u);

  int32_t raw[3] = {};
  EXPECT_EQ(source->readRaw(raw, 1, 6), 2u);  // only two are left after 6
  EXPECT_EQ(raw[1], 3);
  EXPECT_EQ(raw[2], 4);
  EXPECT_EQ(source->readRaw(raw, 0, 20, 1), 0u);
  EXPECT_EQ(source->byteSize(), 32u);
  EXPECT_EQ(source->byteSize(3), 12u);
}

TEST(ArrayEdit, ClearKeepsStorageFreeStorageDropsIt) {
  auto array = arrayOf({1, 2, 3});
  array->seek(4);
  array->clear();
  EXPECT_EQ(array->getCount(), 0u);
  EXPECT_EQ(array->getPosition(), 0);
  EXPECT_EQ(array->capacity(), 100u);
  array->append(5);
  array->freeStorage();
  EXPECT_EQ(array->getCount(), 0u);
  EXPECT_EQ(array->capacity(), 0u);
  EXPECT_EQ(array->rawData(), nullptr);
}

TEST(ArrayEdit, DigestCoversTheElementBytes) {
  s::digest::Fnv1a64 digest;
  auto bytes = make<ArrayU08>();
  bytes->digest(&digest);
  EXPECT_EQ(digest.hash(), 0xcbf29ce484222325ull);  // FNV-1a of nothing
  bytes->append(uint8_t{'a'});
  digest.restart();
  bytes->digest(&digest);
  EXPECT_EQ(digest.hash(), 0xaf63dc4c8601ec8cull);  // FNV-1a 64 of "a"
  EXPECT_EQ(digest.value()[0], 0xaf);

  auto words = make<ArrayU32>();
  words->append(0x64636261u);  // "abcd" in little-endian memory
  s::digest::Fnv1a64 wordDigest;
  words->digest(&wordDigest);
  s::digest::Fnv1a64 expected;
  expected.update("abcd", 4);
  EXPECT_EQ(wordDigest.hash(), expected.hash());
}

TEST(ArrayEdit, IndexOfAndTypedAccess) {
  auto array = arrayOf({4, -5, 6});
  EXPECT_EQ(array->indexOf(-5), 1u);
  EXPECT_EQ(array->indexOf(7), ArrayBase::kAll);
  array->set(0, 40);
  EXPECT_EQ(array->get(0), 40);
  EXPECT_EQ(array->popFirst(), 40);
  EXPECT_EQ(*static_cast<int32_t*>(array->elementAt(1)), 6);
}

}  // namespace
