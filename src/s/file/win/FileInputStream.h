#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "s/base/IObject.h"
#include "s/file/FileHandle.h"
#include "s/file/IFileInputStream.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pool.h"

namespace s::file::win {

class FileInputStreamBase : public base::IObject, public thread::IPoolable, public IFileInputStream {};

// Reads a file opened for reading (shared for reading and writing, existing files
// only, sequential-scan hint). Take instances with create() or PathWin::openInput.
class FileInputStream final : public thread::PooledObject<FileInputStream, FileInputStreamBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_file_win_FileInputStream";

  // Opens path (the long form where there is one); false leaves the stream closed.
  bool open(std::u16string_view path);
  bool isOpen() const { return file_.isOpen(); }

  bool read(void* buffer, size_t count, size_t* readCount) override;
  bool close() override;
  int64_t getPosition() const override { return position_; }
  bool isSeekable() const override { return true; }
  void rewind() override { seek(0); }
  bool seekToEnd() override;
  bool seek(int64_t position) override;
  bool seekFromEnd(int64_t back) override;
  bool skip(int64_t forward) override;
  bool skipBack(int64_t back) override;
  void reset() override;

 private:
  bool moveTo(int64_t offset, FileHandle::Origin origin);

  FileHandle file_;
  int64_t position_ = 0;
};

}  // namespace s::file::win
