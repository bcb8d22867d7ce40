#include <windows.h>
#include <winternl.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <vector>

#include "s/base/win/Scoped_win.h"
#include "s/col/_array/ArrayU08.h"
#include "s/file/WideText.h"
#include "s/reg/win/NtRegistry.h"
#include "s/thread/ObjLocker.h"

namespace s::reg::win::nt {

namespace {

using file::wide;

constexpr ACCESS_MASK kFullAccess = 0xF003F;  // KEY_ALL_ACCESS
constexpr ULONG kCaseInsensitive = 0x40;      // OBJ_CASE_INSENSITIVE
constexpr NTSTATUS kBufferOverflow = static_cast<NTSTATUS>(0x80000005);
constexpr NTSTATUS kBufferTooSmall = static_cast<NTSTATUS>(0xC0000023);
constexpr size_t kValueBufferSize = 16384;
constexpr size_t kEnumerationBufferSize = 1024;
constexpr size_t kGrowthSlack = 1026;
constexpr int kTokenUser = 1;  // TOKEN_INFORMATION_CLASS TokenUser

// The information records the calls fill (KEY_VALUE_PARTIAL_INFORMATION,
// KEY_BASIC_INFORMATION, KEY_VALUE_BASIC_INFORMATION); lengths are in bytes.
struct ValuePartialInformation {
  ULONG titleIndex;
  ULONG type;
  ULONG dataLength;
  UCHAR data[1];
};
struct KeyBasicInformation {
  LARGE_INTEGER lastWriteTime;
  ULONG titleIndex;
  ULONG nameLength;
  WCHAR name[1];
};
struct ValueBasicInformation {
  ULONG titleIndex;
  ULONG type;
  ULONG nameLength;
  WCHAR name[1];
};
constexpr ULONG kValuePartialInformationClass = 2;
constexpr ULONG kBasicInformationClass = 0;

using NtOpenKeyFunction = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES);
using NtCreateKeyFunction = NTSTATUS(NTAPI*)(PHANDLE, ACCESS_MASK, POBJECT_ATTRIBUTES, ULONG, PUNICODE_STRING, ULONG,
                                             PULONG);
using NtHandleFunction = NTSTATUS(NTAPI*)(HANDLE);
using NtRenameKeyFunction = NTSTATUS(NTAPI*)(HANDLE, PUNICODE_STRING);
using NtQueryValueKeyFunction = NTSTATUS(NTAPI*)(HANDLE, PUNICODE_STRING, ULONG, PVOID, ULONG, PULONG);
using NtSetValueKeyFunction = NTSTATUS(NTAPI*)(HANDLE, PUNICODE_STRING, ULONG, ULONG, PVOID, ULONG);
using NtDeleteValueKeyFunction = NTSTATUS(NTAPI*)(HANDLE, PUNICODE_STRING);
using NtEnumerateFunction = NTSTATUS(NTAPI*)(HANDLE, ULONG, ULONG, PVOID, ULONG, PULONG);
using NtOpenProcessTokenFunction = NTSTATUS(NTAPI*)(HANDLE, ACCESS_MASK, PHANDLE);
using NtQueryInformationTokenFunction = NTSTATUS(NTAPI*)(HANDLE, int, PVOID, ULONG, PULONG);
using RtlConvertSidFunction = NTSTATUS(NTAPI*)(PUNICODE_STRING, PVOID, BOOLEAN);
using RtlFreeUnicodeStringFunction = VOID(NTAPI*)(PUNICODE_STRING);
using RtlNtStatusToDosErrorFunction = ULONG(NTAPI*)(NTSTATUS);

struct EntryPoints {
  NtOpenKeyFunction openKey = nullptr;
  NtCreateKeyFunction createKey = nullptr;
  NtHandleFunction deleteKey = nullptr;
  NtHandleFunction flushKey = nullptr;
  NtHandleFunction close = nullptr;
  NtRenameKeyFunction renameKey = nullptr;
  NtQueryValueKeyFunction queryValueKey = nullptr;
  NtSetValueKeyFunction setValueKey = nullptr;
  NtDeleteValueKeyFunction deleteValueKey = nullptr;
  NtEnumerateFunction enumerateKey = nullptr;
  NtEnumerateFunction enumerateValueKey = nullptr;
  NtOpenProcessTokenFunction openProcessToken = nullptr;
  NtQueryInformationTokenFunction queryInformationToken = nullptr;
  RtlConvertSidFunction convertSidToUnicodeString = nullptr;
  RtlFreeUnicodeStringFunction freeUnicodeString = nullptr;
  RtlNtStatusToDosErrorFunction statusToDosError = nullptr;
  bool complete = false;
};

void showMessage(const std::wstring& text) {
  MessageBoxW(nullptr, text.c_str(), L"CNtRegistry: Message...", MB_OK | MB_ICONEXCLAMATION);
}

template <class Function>
bool resolve(HMODULE ntdll, const char* name, Function* function) {
  *function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(ntdll, name)));
  if (*function) return true;
  std::wstring text = L"Could not find ";
  for (const char* c = name; *c; ++c) text += static_cast<wchar_t>(*c);
  showMessage(text + L" entry point in NTDLL.DLL");
  return false;
}

const EntryPoints& entryPoints() {
  static const EntryPoints points = [] {
    EntryPoints found;
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll) return found;
    found.complete = resolve(ntdll, "NtOpenKey", &found.openKey) && resolve(ntdll, "NtCreateKey", &found.createKey) &&
                     resolve(ntdll, "NtDeleteKey", &found.deleteKey) && resolve(ntdll, "NtFlushKey", &found.flushKey) &&
                     resolve(ntdll, "NtClose", &found.close) && resolve(ntdll, "NtRenameKey", &found.renameKey) &&
                     resolve(ntdll, "NtQueryValueKey", &found.queryValueKey) &&
                     resolve(ntdll, "NtSetValueKey", &found.setValueKey) &&
                     resolve(ntdll, "NtDeleteValueKey", &found.deleteValueKey) &&
                     resolve(ntdll, "NtEnumerateKey", &found.enumerateKey) &&
                     resolve(ntdll, "NtEnumerateValueKey", &found.enumerateValueKey) &&
                     resolve(ntdll, "NtOpenProcessToken", &found.openProcessToken) &&
                     resolve(ntdll, "NtQueryInformationToken", &found.queryInformationToken) &&
                     resolve(ntdll, "RtlConvertSidToUnicodeString", &found.convertSidToUnicodeString) &&
                     resolve(ntdll, "RtlFreeUnicodeString", &found.freeUnicodeString) &&
                     resolve(ntdll, "RtlNtStatusToDosError", &found.statusToDosError);
    return found;
  }();
  return points;
}

// A counted string over a text; false when the text is longer than a counted string
// can say (32767 units).
bool countedString(std::u16string_view text, UNICODE_STRING* counted) {
  if (text.size() > 32767) return false;
  counted->Length = static_cast<USHORT>(text.size() * sizeof(wchar_t));
  counted->MaximumLength = counted->Length;
  counted->Buffer = const_cast<PWSTR>(reinterpret_cast<const wchar_t*>(text.data()));
  return true;
}

void reportStatus(NTSTATUS status) {
  const ULONG error = entryPoints().statusToDosError(status);
  wchar_t* message = nullptr;
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  const base::win::LocalMemory<wchar_t*> allocated(message);
  wchar_t head[64];
  std::swprintf(head, 64, L"Error( %u [0x%8XL] ) - ", static_cast<unsigned>(status), static_cast<unsigned>(status));
  showMessage(std::wstring(head) +
              (length > 0 && message ? std::wstring(message, length) : L"No NT Error Data was returned??"));
}

std::u16string readCurrentUserPrefix() {
  const EntryPoints& nt = entryPoints();
  if (!nt.complete) return {};
  HANDLE token = nullptr;
  NTSTATUS status = nt.openProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token);
  if (status < 0) {
    reportStatus(status);
    return {};
  }
  std::vector<unsigned char> user(256);
  ULONG needed = 0;
  status = nt.queryInformationToken(token, kTokenUser, user.data(), static_cast<ULONG>(user.size()), &needed);
  if (status == kBufferTooSmall || status == kBufferOverflow) {
    user.resize(needed);
    status = nt.queryInformationToken(token, kTokenUser, user.data(), static_cast<ULONG>(user.size()), &needed);
  }
  nt.close(token);
  if (status < 0) {
    reportStatus(status);
    return {};
  }
  UNICODE_STRING sidText{};
  status = nt.convertSidToUnicodeString(&sidText, reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid, TRUE);
  if (status < 0) {
    reportStatus(status);
    return {};
  }
  std::u16string prefix = u"\\Registry\\User\\";
  prefix.append(reinterpret_cast<const char16_t*>(sidText.Buffer), sidText.Length / sizeof(wchar_t));
  nt.freeUnicodeString(&sidText);
  return prefix;
}

// A process-wide buffer for one kind of call, used under its own lock.
struct SharedBuffer {
  explicit SharedBuffer(size_t size) : bytes(size) {}
  thread::ObjLocker locker;
  std::vector<unsigned char> bytes;
};

SharedBuffer& valueBuffer() {
  static SharedBuffer& buffer = *new SharedBuffer(kValueBufferSize);
  return buffer;
}
SharedBuffer& subkeyBuffer() {
  static SharedBuffer& buffer = *new SharedBuffer(kEnumerationBufferSize);
  return buffer;
}
SharedBuffer& valueNameBuffer() {
  static SharedBuffer& buffer = *new SharedBuffer(kEnumerationBufferSize);
  return buffer;
}

// Calls call(buffer, size, &needed) until the buffer is large enough; the status.
template <class Call>
NTSTATUS callGrowing(SharedBuffer& buffer, Call call) {
  for (;;) {
    ULONG needed = 0;
    const NTSTATUS status = call(buffer.bytes.data(), static_cast<ULONG>(buffer.bytes.size()), &needed);
    if ((status != kBufferOverflow && status != kBufferTooSmall) || needed <= buffer.bytes.size()) return status;
    buffer.bytes.resize(static_cast<size_t>(needed) + kGrowthSlack);
  }
}

bool enumerate(NtEnumerateFunction function, SharedBuffer& buffer, KeyHandle key, uint32_t index,
               std::u16string* name, size_t nameOffset, size_t lengthOffset) {
  if (!available() || !key) return false;
  thread::ObjLocker::Scope scope(buffer.locker);
  const NTSTATUS status = callGrowing(buffer, [&](void* bytes, ULONG size, ULONG* needed) {
    return function(key, index, kBasicInformationClass, bytes, size, needed);
  });
  if (status < 0) return false;
  ULONG nameBytes = 0;
  std::memcpy(&nameBytes, buffer.bytes.data() + lengthOffset, sizeof nameBytes);
  // The stated length, bounded by the buffer.
  const size_t room = buffer.bytes.size() - nameOffset;
  const size_t units = (nameBytes < room ? nameBytes : room) / sizeof(char16_t);
  name->resize(units);
  std::memcpy(name->data(), buffer.bytes.data() + nameOffset, units * sizeof(char16_t));
  return true;
}

}  // namespace

bool available() { return entryPoints().complete; }

const std::u16string& currentUserPrefix() {
  static const std::u16string prefix = readCurrentUserPrefix();
  return prefix;
}

static bool openOrCreate(std::u16string_view nativePath, KeyHandle* key, bool create) {
  *key = nullptr;
  UNICODE_STRING path;
  if (!available() || !countedString(nativePath, &path)) return false;
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &path, kCaseInsensitive, nullptr, nullptr);
  HANDLE handle = nullptr;
  ULONG disposition = 0;
  const NTSTATUS status = create ? entryPoints().createKey(&handle, kFullAccess, &attributes, 0, nullptr, 0, &disposition)
                                 : entryPoints().openKey(&handle, kFullAccess, &attributes);
  if (status < 0) return false;
  *key = handle;
  return true;
}

bool openKey(std::u16string_view nativePath, KeyHandle* key) { return openOrCreate(nativePath, key, false); }

bool createKey(std::u16string_view nativePath, KeyHandle* key) { return openOrCreate(nativePath, key, true); }

void closeKey(KeyHandle key) {
  if (key && available()) entryPoints().close(key);
}

bool deleteKey(KeyHandle key) { return key && available() && entryPoints().deleteKey(key) >= 0; }

bool flushKey(KeyHandle key) { return key && available() && entryPoints().flushKey(key) >= 0; }

bool renameKey(KeyHandle key, std::u16string_view newName) {
  UNICODE_STRING name;
  return key && available() && countedString(newName, &name) && entryPoints().renameKey(key, &name) >= 0;
}

bool queryValue(KeyHandle key, std::u16string_view name, uint32_t* type, col::_array::ArrayU08* data) {
  *type = 0;
  data->clear();
  UNICODE_STRING counted;
  if (!key || !available() || !countedString(name, &counted)) return false;
  SharedBuffer& buffer = valueBuffer();
  thread::ObjLocker::Scope scope(buffer.locker);
  const NTSTATUS status = callGrowing(buffer, [&](void* bytes, ULONG size, ULONG* needed) {
    return entryPoints().queryValueKey(key, &counted, kValuePartialInformationClass, bytes, size, needed);
  });
  if (status < 0) return false;
  const auto* information = reinterpret_cast<const ValuePartialInformation*>(buffer.bytes.data());
  const size_t headerSize = offsetof(ValuePartialInformation, data);
  // The stated length, bounded by what the buffer holds.
  const size_t length = information->dataLength < buffer.bytes.size() - headerSize ? information->dataLength
                                                                                     : buffer.bytes.size() - headerSize;
  *type = information->type;
  data->append(information->data, length, 0);
  return true;
}

bool setValue(KeyHandle key, std::u16string_view name, uint32_t type, const void* data, size_t size) {
  UNICODE_STRING counted;
  if (!key || !available() || !countedString(name, &counted) || size > 0x7FFFFFFF) return false;
  return entryPoints().setValueKey(key, &counted, 0, type, const_cast<void*>(data), static_cast<ULONG>(size)) >= 0;
}

bool deleteValue(KeyHandle key, std::u16string_view name) {
  UNICODE_STRING counted;
  return key && available() && countedString(name, &counted) && entryPoints().deleteValueKey(key, &counted) >= 0;
}

bool subkeyName(KeyHandle key, uint32_t index, std::u16string* name) {
  return enumerate(entryPoints().enumerateKey, subkeyBuffer(), key, index, name, offsetof(KeyBasicInformation, name),
                   offsetof(KeyBasicInformation, nameLength));
}

bool valueName(KeyHandle key, uint32_t index, std::u16string* name) {
  return enumerate(entryPoints().enumerateValueKey, valueNameBuffer(), key, index, name,
                   offsetof(ValueBasicInformation, name), offsetof(ValueBasicInformation, nameLength));
}

std::u16string expandEnvironment(std::u16string_view text) {
  const std::u16string source(text);
  std::u16string expanded;
  // The environment may grow between the two calls: ask again until it fits.
  DWORD size = ExpandEnvironmentStringsW(wide(source), nullptr, 0);
  while (size > 0) {
    expanded.assign(size, u'\0');
    const DWORD written = ExpandEnvironmentStringsW(wide(source), reinterpret_cast<wchar_t*>(expanded.data()), size);
    if (written == 0) break;
    if (written <= size) {
      expanded.resize(written - 1);  // without the terminating zero
      return expanded;
    }
    size = written;
  }
  return source;
}

}  // namespace s::reg::win::nt
