// toolkit-demo: a window with every control of the toolkit in nested boxes of all four
// layouts; its menu switches between the skins of both families.
//
//   toolkit-demo.exe [--skin FAMILY/NAME] [--at X,Y] [--shots FOLDER FAMILY/NAME...]
//
// --shots shows the window in each skin in turn, for a script that takes screenshots:
// for skin i it writes FOLDER\ready-i (the window's screen rectangle "x y width
// height") once the window is painted, waits until FOLDER\done-i exists, and ends
// after the last one.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "DemoWindow.h"
#include "s/gui/native/NativeWindow.h"
#include "s/gui/win/HostWindow.h"

namespace {

// Runs the window's messages for up to timeoutMs; false once the window has closed.
bool pumpFor(DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  MSG message;
  do {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) return false;
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  } while (GetTickCount() - start < timeoutMs);
  return true;
}

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::u16string toText(const wchar_t* argument) {
  return std::u16string(reinterpret_cast<const char16_t*>(argument));
}

int runShots(demo::DemoWindow& demo, const std::wstring& folder, const std::vector<std::u16string>& skins) {
  HWND hwnd = static_cast<HWND>(demo.window().getNativeWindow()->getHandle());
  for (size_t i = 0; i < skins.size(); ++i) {
    if (!demo.useSkin(skins[i])) {
      std::fwprintf(stderr, L"toolkit-demo: no skin %ls\n", reinterpret_cast<const wchar_t*>(skins[i].c_str()));
      return 2;
    }
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    if (!pumpFor(300)) return 1;
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    const std::wstring number = std::to_wstring(i);
    if (FILE* ready = _wfopen((folder + L"\\ready-" + number).c_str(), L"w")) {
      std::fprintf(ready, "%ld %ld %ld %ld\n", rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
      std::fclose(ready);
    }
    // The script takes its picture, then says so; it has a minute.
    for (int waited = 0; !fileExists(folder + L"\\done-" + number); waited += 100) {
      if (waited > 60000 || !pumpFor(100)) return 1;
    }
  }
  DestroyWindow(hwnd);
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::u16string skin = u"ThinWindow/Classic LG";
  int x = -1, y = -1;
  std::wstring shotFolder;
  std::vector<std::u16string> shotSkins;
  for (int i = 1; i < count; ++i) {
    const std::wstring argument = arguments[i];
    if (argument == L"--skin" && i + 1 < count) {
      skin = toText(arguments[++i]);
    } else if (argument == L"--at" && i + 1 < count) {
      swscanf(arguments[++i], L"%d,%d", &x, &y);
    } else if (argument == L"--shots" && i + 1 < count) {
      shotFolder = arguments[++i];
      while (i + 1 < count) shotSkins.push_back(toText(arguments[++i]));
    }
  }
  LocalFree(arguments);

  demo::DemoWindow demo;
  demo.useSkin(skin);
  if (!demo.open(x, y)) return 1;
  if (!shotFolder.empty()) return runShots(demo, shotFolder, shotSkins);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
