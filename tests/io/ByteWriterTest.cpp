#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "s/io/ByteCursor.h"
#include "s/io/ByteWriter.h"

namespace {

using s::io::ByteCursor;
using s::io::ByteWriter;

std::vector<uint8_t> bytesOf(const ByteWriter& writer) {
  return std::vector<uint8_t>(writer.data(), writer.data() + writer.size());
}

TEST(ByteWriter, FieldsLandLittleEndianOneAfterAnother) {
  ByteWriter writer;
  writer.u8(0xAB);
  writer.u16(0x1234);
  writer.u32(0x89ABCDEF);
  writer.s32(-2);
  const char tag[] = {'B', 'M'};
  writer.bytes(tag, 2);
  writer.bytes(nullptr, 0);  // an empty run adds nothing
  writer.zeros(3);
  const std::vector<uint8_t> expected = {
      0xAB,                    // u8
      0x34, 0x12,              // u16, low byte first
      0xEF, 0xCD, 0xAB, 0x89,  // u32
      0xFE, 0xFF, 0xFF, 0xFF,  // s32 -2, two's complement
      'B',  'M',               // bytes
      0,    0,    0,           // zeros
  };
  EXPECT_EQ(bytesOf(writer), expected);
  EXPECT_EQ(writer.position(), expected.size());
}

TEST(ByteWriter, PatchesAFieldWrittenEarlierAndRefusesOutside) {
  ByteWriter writer;
  writer.u16(0x4D42);
  const size_t sizeAt = writer.position();
  writer.u32(0);  // the size, known once the rest is written
  writer.u16(0xFFFF);
  ASSERT_TRUE(writer.patch32(sizeAt, static_cast<uint32_t>(writer.size())));
  ASSERT_TRUE(writer.patch16(writer.size() - 2, 0x0102));  // the last field exactly
  EXPECT_EQ(bytesOf(writer), (std::vector<uint8_t>{0x42, 0x4D, 8, 0, 0, 0, 0x02, 0x01}));

  const std::vector<uint8_t> before = bytesOf(writer);
  EXPECT_FALSE(writer.patch16(writer.size() - 1, 0xAAAA));  // would pass the end by one byte
  EXPECT_FALSE(writer.patch32(writer.size() - 3, 0xAAAAAAAA));
  EXPECT_FALSE(writer.patch32(SIZE_MAX - 1, 1));  // at + 4 would wrap
  EXPECT_EQ(bytesOf(writer), before);
  ByteWriter empty;
  EXPECT_FALSE(empty.patch16(0, 1));
  EXPECT_FALSE(empty.patch32(0, 1));
}

TEST(ByteWriter, GrowsPastItsReserveKeepingEveryField) {
  ByteWriter writer(4);
  for (uint32_t i = 0; i < 10000; ++i) writer.u32(i * 2654435761u);
  ASSERT_EQ(writer.size(), 40000u);
  ByteCursor cursor(writer.data(), writer.size());
  for (uint32_t i = 0; i < 10000; ++i) ASSERT_EQ(cursor.u32(), i * 2654435761u) << i;
  EXPECT_TRUE(cursor.ok());
  writer.clear();
  EXPECT_EQ(writer.size(), 0u);
  writer.u16(7);
  EXPECT_EQ(bytesOf(writer), (std::vector<uint8_t>{7, 0}));
}

TEST(ByteWriter, StoresIntoARecordOfItsOwn) {
  uint8_t record[6] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
  ByteWriter::store16(record, 0xBEEF);
  ByteWriter::store32(record + 2, 0x00C0FFEE);
  EXPECT_EQ(std::vector<uint8_t>(record, record + 6), (std::vector<uint8_t>{0xEF, 0xBE, 0xEE, 0xFF, 0xC0, 0x00}));
}

}  // namespace
