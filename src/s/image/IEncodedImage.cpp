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
  thread::Owned<file::IFileOutputStream> stream = path->openOutput();
  if (!stream) return false;
  const bool written = stream->isOpen() && write(*stream);
  // close() reports any byte the buffer could not write out.
  const bool closed = stream->close();
  return written && closed;
}

bool IEncodedImage::load(std::u16string_view path) {
  thread::Owned<file::win::PathWin> object(file::win::PathWin::fromText(path));
  return load(object.get());
}

bool IEncodedImage::load(file::IPath* path) {
  if (!path || !path->exists() || path->isDirectory()) return false;
  thread::Owned<file::IFileInputStream> stream = path->openInput();
  return stream && read(*stream);
}

}  // namespace s::image
