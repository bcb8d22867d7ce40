#include <windows.h>

#include "s/file/DirectoryReader.h"

namespace s::file {

namespace {

struct State {
  HANDLE find;
  WIN32_FIND_DATAW data;
  bool pending;  // data holds an entry not handed out yet
};

}  // namespace

bool DirectoryReader::open(std::u16string_view folder) {
  close();
  if (folder.empty()) return false;
  std::u16string pattern(folder);
  if (pattern.back() != u'\\' && pattern.back() != u'/') pattern += u'\\';
  pattern += u'*';
  auto* state = new State();
  state->find = FindFirstFileW(reinterpret_cast<const wchar_t*>(pattern.c_str()), &state->data);
  if (state->find == INVALID_HANDLE_VALUE) {
    delete state;
    return false;
  }
  state->pending = true;
  state_ = state;
  return true;
}

bool DirectoryReader::next(Entry* entry) {
  if (!state_) return false;
  auto* state = static_cast<State*>(state_);
  for (;;) {
    if (!state->pending && !FindNextFileW(state->find, &state->data)) return false;
    state->pending = false;
    const wchar_t* name = state->data.cFileName;
    if ((name[0] == L'.' && name[1] == 0) || (name[0] == L'.' && name[1] == L'.' && name[2] == 0)) continue;
    entry->name.assign(reinterpret_cast<const char16_t*>(name));
    entry->attributes = state->data.dwFileAttributes;
    entry->size = static_cast<int64_t>((static_cast<uint64_t>(state->data.nFileSizeHigh) << 32) | state->data.nFileSizeLow);
    return true;
  }
}

void DirectoryReader::close() {
  if (!state_) return;
  auto* state = static_cast<State*>(state_);
  FindClose(state->find);
  delete state;
  state_ = nullptr;
}

}  // namespace s::file
