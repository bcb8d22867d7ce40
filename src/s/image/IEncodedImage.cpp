#include "s/image/IEncodedImage.h"

#include "s/file/win/PathWin.h"
#include "s/thread/Owned.h"

namespace s::image {

bool IEncodedImage::save(std::u16string_view path) {
  thread::Owned<file::win::PathWin> object(file::win::PathWin::fromText(path));
  return save(object.get());
}

bool IEncodedImage::save(file::IPath* path) {
  if (!path || path->exists()) return false;
  file::IFileOutputStream* stream = path->openOutput();
  if (!stream) return false;
  const bool written = stream->isOpen() && write(*stream);
  // close() reports any byte the buffer could not write out.
  const bool closed = stream->closeAndRelease();
  return written && closed;
}

bool IEncodedImage::load(std::u16string_view path) {
  thread::Owned<file::win::PathWin> object(file::win::PathWin::fromText(path));
  return load(object.get());
}

bool IEncodedImage::load(file::IPath* path) {
  if (!path || !path->exists() || path->isDirectory()) return false;
  file::IFileInputStream* stream = path->openInput();
  if (!stream) return false;
  const bool ok = read(*stream);
  stream->release();
  return ok;
}

}  // namespace s::image
