#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "s/base/IObject.h"
#include "s/file/FileHandle.h"
#include "s/file/IFileInputStream.h"
#include "s/file/IFileOutputStream.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pool.h"

namespace s::file::win {

class FileOutputStreamBase : public base::IObject,
                             public thread::IPoolable,
                             public IFileOutputStream,
                             public IFileInputStream {};

// Writes a file through a 65536-byte buffer. Take instances with create() or
// PathWin::openOutput. A stream that could not be opened fails every write; after a
// failed write every later write fails too and close answers false.
class FileOutputStream final : public thread::PooledObject<FileOutputStream, FileOutputStreamBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_file_win_FileOutputStream";

  // Opens path for reading and writing: created afresh, or with append opened (or
  // created) and positioned at its end.
  bool open(std::u16string_view path, bool append);
  bool isOpen() const override { return file_.isOpen(); }

  bool write(const void* buffer, size_t count, size_t* writtenCount) override;
  bool flush() override;
  bool truncate() override;
  bool close() override;
  int64_t getPosition() const override { return position_; }
  bool isSeekable() const override { return true; }
  void rewind() override { seek(0); }
  bool seekToEnd() override;
  bool seek(int64_t position) override;
  bool seekFromEnd(int64_t back) override;
  bool skip(int64_t forward) override;
  bool skipBack(int64_t back) override;
  bool closeAndRelease() override;
  IFileInputStream* asInput() override { return this; }
  void reset() override;

  // Reading the same file (see IFileOutputStream::asInput).
  bool read(void* buffer, size_t count, size_t* readCount) override;

 private:
  // Writes the buffered bytes to the file; a failure is remembered.
  bool writeBuffer();
  bool moveTo(int64_t offset, FileHandle::Origin origin);

  FileHandle file_;
  unsigned char* buffer_ = nullptr;
  size_t fill_ = 0;
  int64_t position_ = 0;
  bool failed_ = false;
};

}  // namespace s::file::win
