#include <windows.h>

#include <atomic>
#include <vector>

#include "s/file/FileSystem.h"
#include "s/file/PathSyntax.h"
#include "s/file/WideText.h"

namespace s::file {

namespace {

thread_local FsError lastError_ = FsError::kNone;

bool fail(FsError error) {
  lastError_ = error;
  return false;
}

bool failFromLastError() {
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
      return fail(FsError::kNotFound);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return fail(FsError::kExists);
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_WRITE_PROTECT:
      return fail(FsError::kAccessDenied);
    case ERROR_NOT_SAME_DEVICE:
      return fail(FsError::kCrossDevice);
    case ERROR_DIR_NOT_EMPTY:
      return fail(FsError::kNotEmpty);
    default:
      return fail(FsError::kOther);
  }
}


int64_t fileTimeOf(const FILETIME& time) {
  return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

FILETIME toFileTime(int64_t value) {
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(static_cast<uint64_t>(value) & 0xFFFFFFFF);
  time.dwHighDateTime = static_cast<DWORD>(static_cast<uint64_t>(value) >> 32);
  return time;
}

// Platform calls need "C:\" for a drive alone: "C:" means the current folder there.
std::u16string callable(std::u16string_view path) {
  std::u16string result(path);
  if (result.size() == 2 && result[1] == u':') result += u'\\';
  return result;
}

}  // namespace

FsError FileSystem::lastError() { return lastError_; }

uint32_t FileSystem::attributes(std::u16string_view path) {
  if (path.empty()) return kInvalidAttributes;
  const DWORD result = GetFileAttributesW(wide(callable(path)));
  if (result == INVALID_FILE_ATTRIBUTES) failFromLastError();
  return result;
}

bool FileSystem::setAttributes(std::u16string_view path, uint32_t attributes) {
  // Only the bits SetFileAttributes accepts; the directory bit is not one of them.
  const DWORD settable = attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                       FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                                       FILE_ATTRIBUTE_OFFLINE | FILE_ATTRIBUTE_TEMPORARY);
  return SetFileAttributesW(wide(callable(path)), settable ? settable : FILE_ATTRIBUTE_NORMAL) ||
         failFromLastError();
}

bool FileSystem::status(std::u16string_view path, FileStatus* status) {
  *status = FileStatus();
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (path.empty() || !GetFileAttributesExW(wide(callable(path)), GetFileExInfoStandard, &data)) {
    return failFromLastError();
  }
  status->size = static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
  status->creationTime = fileTimeOf(data.ftCreationTime);
  status->accessTime = fileTimeOf(data.ftLastAccessTime);
  status->writeTime = fileTimeOf(data.ftLastWriteTime);
  return true;
}

bool FileSystem::setTimes(std::u16string_view path, const FileStatus& times) {
  // FILE_FLAG_BACKUP_SEMANTICS lets the same call open folders.
  HANDLE handle = CreateFileW(wide(callable(path)), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return failFromLastError();
  const FILETIME creation = toFileTime(times.creationTime);
  const FILETIME access = toFileTime(times.accessTime);
  const FILETIME write = toFileTime(times.writeTime);
  const BOOL ok = SetFileTime(handle, times.creationTime ? &creation : nullptr, times.accessTime ? &access : nullptr,
                              times.writeTime ? &write : nullptr);
  if (!ok) failFromLastError();
  CloseHandle(handle);
  return ok != 0;
}

bool FileSystem::canAccess(std::u16string_view path, bool read, bool write) {
  const DWORD attributes = GetFileAttributesW(wide(callable(path)));
  if (attributes == INVALID_FILE_ATTRIBUTES) return failFromLastError();
  if (write && (attributes & FILE_ATTRIBUTE_READONLY) && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return fail(FsError::kAccessDenied);
  }
  // Opening the object with the wanted rights is the access check that also covers
  // permissions and sharing.
  DWORD rights = 0;
  if (read) rights |= GENERIC_READ;
  if (write) rights |= GENERIC_WRITE;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    rights = read ? FILE_LIST_DIRECTORY : 0;
    if (write) rights |= FILE_ADD_FILE;
  }
  HANDLE handle = CreateFileW(wide(callable(path)), rights, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return failFromLastError();
  CloseHandle(handle);
  return true;
}

bool FileSystem::createDirectory(std::u16string_view path) {
  return CreateDirectoryW(wide(path), nullptr) || failFromLastError();
}

bool FileSystem::createNewFile(std::u16string_view path) {
  HANDLE handle = CreateFileW(wide(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return failFromLastError();
  return CloseHandle(handle) || failFromLastError();
}

bool FileSystem::removeFile(std::u16string_view path) { return DeleteFileW(wide(path)) || failFromLastError(); }

bool FileSystem::removeDirectory(std::u16string_view path) {
  return RemoveDirectoryW(wide(path)) || failFromLastError();
}

bool FileSystem::rename(std::u16string_view from, std::u16string_view to, bool replace) {
  DWORD flags = MOVEFILE_WRITE_THROUGH;
  if (replace) flags |= MOVEFILE_REPLACE_EXISTING;
  return MoveFileExW(wide(from), wide(to), flags) || failFromLastError();
}

bool FileSystem::copyFileToNew(std::u16string_view from, std::u16string_view to) {
  if (CopyFileW(wide(from), wide(to), TRUE)) return true;
  failFromLastError();
  // CopyFile may leave a partial target behind (a full disk); it was ours.
  if (lastError_ != FsError::kExists) DeleteFileW(wide(to));
  return false;
}

bool FileSystem::copySymbolicLink(std::u16string_view, std::u16string_view) { return fail(FsError::kOther); }

bool FileSystem::absolutePath(std::u16string_view path, std::u16string* absolute) {
  if (path.empty()) return fail(FsError::kNotFound);
  const DWORD needed = GetFullPathNameW(wide(path), 0, nullptr, nullptr);
  if (needed == 0) return failFromLastError();
  std::vector<wchar_t> buffer(needed + 1);
  const DWORD length = GetFullPathNameW(wide(path), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
  if (length == 0 || length >= buffer.size()) return failFromLastError();
  absolute->assign(reinterpret_cast<const char16_t*>(buffer.data()), length);
  return true;
}

bool FileSystem::canonicalPath(std::u16string_view path, std::u16string* canonical) {
  std::u16string absolute;
  if (!absolutePath(path, &absolute)) return false;
  // Resolve junctions and links of the longest existing prefix (the system names it
  // in its stored case), then append the rest by name.
  std::u16string existing = absolute;
  std::u16string rest;
  for (;;) {
    const std::u16string longForm = PathSyntax::longForm(existing, PathStyle::kWindows);
    HANDLE handle = CreateFileW(wide(longForm.empty() ? existing : longForm), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      std::vector<wchar_t> buffer(32768);
      const DWORD length = GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                                     FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
      CloseHandle(handle);
      if (length == 0 || length >= buffer.size()) break;
      std::u16string resolved(reinterpret_cast<const char16_t*>(buffer.data()), length);
      if (resolved.compare(0, 8, u"\\\\?\\UNC\\") == 0) {
        resolved = u"\\\\" + resolved.substr(8);
      } else if (resolved.compare(0, 4, u"\\\\?\\") == 0) {
        resolved = resolved.substr(4);
      }
      while (resolved.size() > 3 && resolved.back() == u'\\') resolved.pop_back();
      if (!rest.empty()) {
        if (resolved.back() != u'\\') resolved += u'\\';
        resolved += rest;
      }
      *canonical = resolved;
      return true;
    }
    const size_t separator = existing.find_last_of(u'\\');
    if (separator == std::u16string::npos || separator < 3) break;
    const std::u16string tail = existing.substr(separator + 1);
    rest = rest.empty() ? tail : tail + u'\\' + rest;
    existing.resize(separator);
  }
  // Nothing could be resolved: the absolute form by name.
  *canonical = absolute;
  return true;
}

bool FileSystem::volumeInfo(std::u16string_view root, VolumeInfo* info) {
  wchar_t name[MAX_PATH + 1] = {};
  if (!GetVolumeInformationW(wide(root), nullptr, 0, nullptr, nullptr, nullptr, name, MAX_PATH + 1)) {
    return failFromLastError();
  }
  info->fileSystemName.assign(reinterpret_cast<const char16_t*>(name));
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
  if (!GetDiskFreeSpaceW(wide(root), &sectorsPerCluster, &bytesPerSector, &freeClusters, &clusters)) {
    return failFromLastError();
  }
  info->bytesPerSector = bytesPerSector;
  info->sectorsPerCluster = sectorsPerCluster;
  return true;
}

std::u16string FileSystem::systemFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const UINT length = GetSystemDirectoryW(buffer, MAX_PATH + 1);
  if (length == 0 || length > MAX_PATH) return std::u16string();
  return std::u16string(reinterpret_cast<const char16_t*>(buffer), length);
}

std::u16string FileSystem::tempFolder() {
  wchar_t buffer[MAX_PATH + 2] = {};
  const DWORD length = GetTempPathW(MAX_PATH + 2, buffer);
  std::u16string result;
  if (length > 0 && length <= MAX_PATH + 1) result.assign(reinterpret_cast<const char16_t*>(buffer), length);
  while (result.size() > 3 && (result.back() == u'\\' || result.back() == u'/')) result.pop_back();
  return result;
}

uint64_t FileSystem::uniqueNumber() {
  static std::atomic<uint64_t> counter{0};
  return (static_cast<uint64_t>(GetCurrentProcessId()) << 32) ^ ++counter;
}

}  // namespace s::file
