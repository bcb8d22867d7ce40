#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "s/file/win/FileInputStream.h"
#include "s/file/win/FileOutputStream.h"
#include "s/file/win/PathWin.h"

namespace {

using s::file::IFileOutputStream;
using s::file::testing::pathOf;
using s::file::testing::TempFolder;
using s::file::win::FileInputStream;
using s::file::win::FileOutputStream;
using s::thread::Owned;

// Bytes that differ at every position of a long run, so a misplaced block shows.
std::vector<uint8_t> pattern(size_t size) {
  std::vector<uint8_t> bytes(size);
  uint32_t state = 12345;
  for (auto& b : bytes) {
    state = state * 1103515245u + 12345u;
    b = static_cast<uint8_t>(state >> 16);
  }
  return bytes;
}

TEST(FileStream, WritesAndReadsMoreThanTheBuffer) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  const size_t kBuffer = IFileOutputStream::kBufferSize;
  // Sizes around the buffer's edges, written in awkward pieces.
  for (size_t size : {size_t(0), size_t(1), kBuffer - 1, kBuffer, kBuffer + 1, 3 * kBuffer + 17}) {
    SCOPED_TRACE(size);
    const auto bytes = pattern(size);
    const std::u16string name = temp / u"big.bin";
    {
      Owned<FileOutputStream> out(pathOf(name)->openOutput());
      ASSERT_TRUE(out->isOpen());
      size_t done = 0;
      size_t piece = 1;
      while (done < size) {
        const size_t count = std::min(piece, size - done);
        size_t written = 0;
        ASSERT_TRUE(out->write(bytes.data() + done, count, &written));
        EXPECT_EQ(written, count);
        done += count;
        piece = piece * 7 + 3;
      }
      EXPECT_EQ(out->getPosition(), static_cast<int64_t>(size));
      EXPECT_TRUE(out->close());
    }
    EXPECT_EQ(pathOf(name)->getSize(), static_cast<int64_t>(size));
    Owned<FileInputStream> in(pathOf(name)->openInput());
    std::vector<uint8_t> back;
    uint8_t block[10000];
    size_t got = 0;
    while (in->read(block, sizeof block, &got)) back.insert(back.end(), block, block + got);
    EXPECT_EQ(got, 0u);  // the end reads as a failure with count 0
    EXPECT_EQ(back, bytes);
    EXPECT_EQ(in->getPosition(), static_cast<int64_t>(size));
  }
}

TEST(FileStream, InputSeeksAndSkips) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  ASSERT_TRUE(pathOf(temp / u"d.bin")->writeAll("0123456789", 10));
  Owned<FileInputStream> in(pathOf(temp / u"d.bin")->openInput());
  EXPECT_TRUE(in->isSeekable());
  char c = 0;
  size_t got = 0;
  EXPECT_TRUE(in->seek(4));
  EXPECT_TRUE(in->read(&c, 1, &got));
  EXPECT_EQ(c, '4');
  EXPECT_TRUE(in->skip(2));
  EXPECT_TRUE(in->read(&c, 1, &got));
  EXPECT_EQ(c, '7');
  EXPECT_TRUE(in->skipBack(3));
  EXPECT_EQ(in->getPosition(), 5);
  EXPECT_TRUE(in->seekFromEnd(1));
  EXPECT_TRUE(in->read(&c, 1, &got));
  EXPECT_EQ(c, '9');
  EXPECT_FALSE(in->read(&c, 1, &got));
  EXPECT_EQ(got, 0u);
  EXPECT_TRUE(in->seekToEnd());
  EXPECT_EQ(in->getPosition(), 10);
  in->rewind();
  EXPECT_TRUE(in->read(&c, 1, &got));
  EXPECT_EQ(c, '0');
}

TEST(FileStream, MissingFileFailsEveryRead) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  Owned<FileInputStream> in(pathOf(temp / u"missing.bin")->openInput());
  EXPECT_FALSE(in->isOpen());
  char c;
  size_t got = 7;
  EXPECT_FALSE(in->read(&c, 1, &got));
  EXPECT_EQ(got, 0u);
  // An empty path opens nothing either way.
  Owned<FileOutputStream> out(pathOf(u"")->openOutput());
  EXPECT_FALSE(out->write("x", 1, nullptr));
  EXPECT_FALSE(out->close());
  EXPECT_FALSE(pathOf(u"")->writeAll("x", 1));
}

TEST(FileStream, AppendTruncateAndReadBack) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  const std::u16string name = temp / u"a.txt";
  ASSERT_TRUE(pathOf(name)->writeAll("hello", 5));
  ASSERT_TRUE(pathOf(name)->writeAll(" world", 6, true));
  Owned<FileOutputStream> out(pathOf(name)->openOutput(true));
  EXPECT_EQ(out->getPosition(), 11);
  ASSERT_TRUE(out->write("!!", 2, nullptr));
  // Reading through the input view sees what was written before the seek.
  ASSERT_TRUE(out->seek(6));
  char word[5];
  size_t got = 0;
  ASSERT_TRUE(out->asInput()->read(word, 5, &got));
  EXPECT_EQ(std::string(word, got), "world");
  EXPECT_EQ(out->getPosition(), 11);
  ASSERT_TRUE(out->write("?", 1, nullptr));
  ASSERT_TRUE(out->truncate());
  EXPECT_TRUE(out->close());
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(pathOf(name)->readAll(&bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "hello world?");
}

TEST(FileStream, WritingToAFolderFailsEverywhere) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  ASSERT_TRUE(pathOf(temp / u"folder")->createDirectory());
  Owned<FileOutputStream> out(pathOf(temp / u"folder")->openOutput());
  EXPECT_FALSE(out->isOpen());
  EXPECT_FALSE(out->write("x", 1, nullptr));
  EXPECT_FALSE(out->flush());
  EXPECT_FALSE(out->close());
  EXPECT_FALSE(pathOf(temp / u"folder")->writeAll("x", 1));
  EXPECT_FALSE(pathOf(temp / u"folder")->writeText(u"x"));
  EXPECT_TRUE(pathOf(temp / u"folder")->isDirectory());
}

TEST(FileStream, ReplacingWriteSwapsWholeContentsAndLeavesNothingOnFailure) {
  TempFolder temp;
  ASSERT_TRUE(temp.created());
  const std::u16string name = temp / u"page.html";
  ASSERT_TRUE(pathOf(name)->writeAll("a longer old content", 20));
  const std::vector<uint8_t> bytes = pattern(200000);
  ASSERT_TRUE(pathOf(name)->writeAllReplacing(bytes.data(), bytes.size()));
  std::vector<uint8_t> back;
  ASSERT_TRUE(pathOf(name)->readAll(&back));
  EXPECT_EQ(back, bytes);
  // A folder in the way: the write fails, and neither the folder nor a temporary
  // file is left changed or behind.
  ASSERT_TRUE(pathOf(temp / u"taken.html")->createDirectory());
  EXPECT_FALSE(pathOf(temp / u"taken.html")->writeAllReplacing("x", 1));
  EXPECT_TRUE(pathOf(temp / u"taken.html")->isDirectory());
  auto names = s::thread::make<s::str::strarray::StrArray>();
  pathOf(temp.path())->listNames(true, names.get());
  EXPECT_EQ(s::file::testing::sortedNames(*names), (std::vector<std::u16string>{u"page.html", u"taken.html"}));
}

}  // namespace
