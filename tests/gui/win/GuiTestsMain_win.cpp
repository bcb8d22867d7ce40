// The windowed tests' program. Started as
//
//   gui_tests.exe --send-message HWND MESSAGE
//
// it is instead another program that sends a window a message (as a second start of
// the gallery program signals the first) and ends.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--send-message") == 0) {
    const HWND hwnd = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(argv[2], nullptr, 0)));
    const UINT message = static_cast<UINT>(std::strtoul(argv[3], nullptr, 0));
    DWORD_PTR result = 0;
    const LRESULT sent = SendMessageTimeoutW(hwnd, message, 0, 0, SMTO_ABORTIFHUNG, 3000, &result);
    return sent ? 0 : 1;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
