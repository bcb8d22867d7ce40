#pragma once
// The native key calls of ntdll behind RegDir, with portable types: handles are
// opaque pointers, texts UTF-16 views, keys addressed by their native object path
// ("\\Registry\\User\\<user's SID>\\Software\\..."). Windows only.
//
// The entry points are resolved once per process; when one is missing a message box
// names it ("Could not find NtOpenKey entry point in NTDLL.DLL") and every call
// fails. Value reads go through one process-wide buffer of at least 16384 bytes and
// key and value enumeration through buffers of at least 1024 bytes, each with its
// own lock; a buffer that is too small grows to the reported length plus 1026 bytes
// and the call is repeated.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace s::col::_array {
class ArrayU08;
}

namespace s::reg::win::nt {

using KeyHandle = void*;

// Whether every entry point was found.
bool available();
// "\\Registry\\User\\" + the text form of the current user's security identifier;
// empty when it could not be read (a message box said why).
const std::u16string& currentUserPrefix();

// Opened and created with full access (0xF003F), names compared ignoring case.
bool openKey(std::u16string_view nativePath, KeyHandle* key);
// Creates the last component only: the parent must exist.
bool createKey(std::u16string_view nativePath, KeyHandle* key);
void closeKey(KeyHandle key);
bool deleteKey(KeyHandle key);
bool flushKey(KeyHandle key);
bool renameKey(KeyHandle key, std::u16string_view newName);

// Type and data of a value (data replaces the array's content). False, with type 0
// and the array empty, when there is no such value.
bool queryValue(KeyHandle key, std::u16string_view name, uint32_t* type, col::_array::ArrayU08* data);
bool setValue(KeyHandle key, std::u16string_view name, uint32_t type, const void* data, size_t size);
bool deleteValue(KeyHandle key, std::u16string_view name);
// The name of subkey or value number index; false past the last.
bool subkeyName(KeyHandle key, uint32_t index, std::u16string* name);
bool valueName(KeyHandle key, uint32_t index, std::u16string* name);

// The text with environment variables expanded, in a buffer of the size the system
// asks for.
std::u16string expandEnvironment(std::u16string_view text);

}  // namespace s::reg::win::nt
