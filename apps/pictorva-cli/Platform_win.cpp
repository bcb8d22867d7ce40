#include <windows.h>

#include <atomic>
#include <vector>

#include "Platform.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace pictorva::cli {

namespace {

std::atomic<int> presses{0};
std::atomic<uint8_t>* cancelFlag = nullptr;

// On a thread of its own, which the system starts for the event.
BOOL WINAPI onControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  if (presses.fetch_add(1) >= 1) ExitProcess(130);
  if (cancelFlag) cancelFlag->store(1);
  return TRUE;
}

HANDLE handleOf(Stream stream) { return GetStdHandle(stream == Stream::kOut ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE); }

}  // namespace

void writeText(Stream stream, std::u16string_view text) {
  HANDLE handle = handleOf(stream);
  DWORD mode;
  if (GetConsoleMode(handle, &mode)) {
    DWORD written;
    WriteConsoleW(handle, reinterpret_cast<const wchar_t*>(text.data()), static_cast<DWORD>(text.size()), &written,
                  nullptr);
    return;
  }
  const std::string bytes = s::str::strbuffer::StrBuffer(text).toUtf8();
  DWORD written;
  WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

bool isTerminal(Stream stream) {
  DWORD mode;
  return GetConsoleMode(handleOf(stream), &mode) != 0;
}

bool readStandardInput(std::string* bytes) {
  bytes->clear();
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  if (input == INVALID_HANDLE_VALUE || !input) return false;
  char block[65536];
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(input, block, sizeof block, &got, nullptr)) {
      // The writing end of a pipe was closed: the end of the input.
      return GetLastError() == ERROR_BROKEN_PIPE;
    }
    if (got == 0) return true;
    bytes->append(block, got);
  }
}

std::u16string absolutePath(std::u16string_view path) {
  const std::wstring wide(path.begin(), path.end());
  const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (needed == 0) return std::u16string(path);
  std::vector<wchar_t> buffer(needed + 1);
  const DWORD length = GetFullPathNameW(wide.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
  if (length == 0 || length >= buffer.size()) return std::u16string(path);
  return std::u16string(buffer.begin(), buffer.begin() + length);
}

void installInterruptHandler(std::atomic<uint8_t>* cancel) {
  cancelFlag = cancel;
  SetConsoleCtrlHandler(onControl, TRUE);
}

int interruptPresses() { return presses.load(); }

}  // namespace pictorva::cli
