#include <windows.h>

#include <string>

#include "s/archive/ProgramResources.h"
#include "s/col/_array/ArrayU08.h"

namespace s::archive {

bool ProgramResources::readResource(std::u16string_view type, uint32_t number, col::_array::ArrayU08* out) {
  out->clear();
  if (number > 0xFFFF) return false;  // resource numbers are 16-bit
  const std::wstring typeText(type.begin(), type.end());
  // The executable's own module; its resources stay mapped while the program runs,
  // so there is nothing to free.
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(number), typeText.c_str());
  if (!found) return false;
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = SizeofResource(module, found);
  if (!bytes) return false;
  out->writeRaw(bytes, size, 0, 0);
  return true;
}

}  // namespace s::archive
