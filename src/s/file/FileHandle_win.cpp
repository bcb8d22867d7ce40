#include <windows.h>

#include "s/file/FileHandle.h"
#include "s/file/WideText.h"

namespace s::file {

namespace {

HANDLE nativeOf(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

bool FileHandle::open(std::u16string_view path, Mode mode) {
  close();
  if (path.empty()) return false;
  DWORD access = GENERIC_READ | GENERIC_WRITE;
  DWORD disposition = CREATE_ALWAYS;
  DWORD flags = FILE_ATTRIBUTE_NORMAL;
  switch (mode) {
    case Mode::kRead:
      access = GENERIC_READ;
      disposition = OPEN_EXISTING;
      flags |= FILE_FLAG_SEQUENTIAL_SCAN;
      break;
    case Mode::kReadWriteCreate:
      break;
    case Mode::kReadWriteAppend:
      disposition = OPEN_ALWAYS;
      break;
  }
  HANDLE handle = CreateFileW(wide(path), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, disposition, flags, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  handle_ = reinterpret_cast<intptr_t>(handle);
  if (mode == Mode::kReadWriteAppend && seek(0, Origin::kEnd) < 0) {
    close();
    return false;
  }
  return true;
}

bool FileHandle::close() {
  if (handle_ == kNone) return true;
  HANDLE handle = nativeOf(handle_);
  handle_ = kNone;
  return CloseHandle(handle) != 0;
}

bool FileHandle::read(void* buffer, size_t size, size_t* count) {
  *count = 0;
  if (handle_ == kNone) return false;
  // ReadFile takes 32-bit counts.
  const DWORD chunk = size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<DWORD>(size);
  DWORD got = 0;
  if (!ReadFile(nativeOf(handle_), buffer, chunk, &got, nullptr)) return false;
  *count = got;
  return true;
}

bool FileHandle::write(const void* buffer, size_t size, size_t* count) {
  *count = 0;
  if (handle_ == kNone) return false;
  const char* data = static_cast<const char*>(buffer);
  while (*count < size) {
    const size_t left = size - *count;
    const DWORD chunk = left > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<DWORD>(left);
    DWORD written = 0;
    if (!WriteFile(nativeOf(handle_), data + *count, chunk, &written, nullptr) || written == 0) return false;
    *count += written;
  }
  return true;
}

int64_t FileHandle::seek(int64_t offset, Origin origin) {
  if (handle_ == kNone) return -1;
  const DWORD method = origin == Origin::kBegin ? FILE_BEGIN : origin == Origin::kCurrent ? FILE_CURRENT : FILE_END;
  LARGE_INTEGER distance;
  distance.QuadPart = offset;
  LARGE_INTEGER result;
  if (!SetFilePointerEx(nativeOf(handle_), distance, &result, method)) return -1;
  return result.QuadPart;
}

bool FileHandle::sync() { return handle_ != kNone && FlushFileBuffers(nativeOf(handle_)) != 0; }

bool FileHandle::truncateHere() { return handle_ != kNone && SetEndOfFile(nativeOf(handle_)) != 0; }

int64_t FileHandle::size() {
  LARGE_INTEGER result;
  if (handle_ == kNone || !GetFileSizeEx(nativeOf(handle_), &result)) return -1;
  return result.QuadPart;
}

}  // namespace s::file
