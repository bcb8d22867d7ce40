// program-probe: reads and drives the gallery window of a running pictorva.exe for
// the end-to-end tests (scripts/program-checks.sh), the way a user's clicks would.
//
//   program-probe.exe wait SECONDS        waits until the window is shown; prints
//                                          its caption and outer size "W H"
//   program-probe.exe gone SECONDS        waits until no pictorva window is shown
//   program-probe.exe count               prints the number of pictorva windows
//   program-probe.exe texts               the texts of the window's shown parts,
//                                          one a line (buttons, labels, fields,
//                                          list entries)
//   program-probe.exe command ID          chooses menu command ID
//   program-probe.exe choose INDEX        chooses entry INDEX of the "Create:" list
//   program-probe.exe type INDEX TEXT     puts TEXT into text field INDEX (from 0)
//   program-probe.exe click TEXT          presses the button showing TEXT
//   program-probe.exe rightclick          right-clicks the window's client area
//   program-probe.exe close               closes the window (its close button)
//   program-probe.exe drop-rect           the drop box's screen rectangle "X Y W H"
//   program-probe.exe foreground          prints 1 when the window is in front
//   program-probe.exe minimize            minimises the window
//   program-probe.exe rect [TITLE]        the screen rectangle "X Y W H" of the
//                                          window (or of the shown window titled TITLE)
//   program-probe.exe close-titled TITLE  closes the shown window titled TITLE
//   program-probe.exe progress            the width of the status bar's progress
//                                          group (0 while it is hidden)
//   program-probe.exe message-box         prints the text of a shown message box
//                                          and closes it (exit 1: none)
//
// Output is UTF-8. Exit status 1 when the window (or the part) is not found.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const wchar_t kClass[] = L"KorvelWindowClass";
const wchar_t kTitle[] = L"Tarn Pictorva";

void print(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                       nullptr);
  std::string utf8(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
  std::fwrite(utf8.data(), 1, utf8.size(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

std::wstring classOf(HWND hwnd);

// The window's text: its caption, or for a text field its contents (which only the
// field's own message gives to another process).
std::wstring textOf(HWND hwnd) {
  wchar_t text[1024] = {};
  if (_wcsicmp(classOf(hwnd).c_str(), L"Edit") == 0) {
    DWORD_PTR length = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &length);
    return std::wstring(text, length);
  }
  const int length = GetWindowTextW(hwnd, text, 1024);
  return std::wstring(text, length > 0 ? static_cast<size_t>(length) : 0);
}

std::wstring classOf(HWND hwnd) {
  wchar_t name[256];
  const int length = GetClassNameW(hwnd, name, 256);
  return std::wstring(name, length > 0 ? static_cast<size_t>(length) : 0);
}

struct Found {
  std::vector<HWND> windows;
  bool shownOnly;
};

BOOL CALLBACK collectMain(HWND hwnd, LPARAM parameter) {
  auto* found = reinterpret_cast<Found*>(parameter);
  if (classOf(hwnd) != kClass) return TRUE;
  if (textOf(hwnd).rfind(kTitle, 0) != 0) return TRUE;
  if (found->shownOnly && !IsWindowVisible(hwnd)) return TRUE;
  found->windows.push_back(hwnd);
  return TRUE;
}

std::vector<HWND> mainWindows(bool shownOnly) {
  Found found{{}, shownOnly};
  EnumWindows(collectMain, reinterpret_cast<LPARAM>(&found));
  return found.windows;
}

HWND mainWindow() {
  const std::vector<HWND> windows = mainWindows(true);
  return windows.empty() ? nullptr : windows.front();
}

std::vector<HWND> children(HWND parent) {
  std::vector<HWND> all;
  EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM parameter) {
        reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(hwnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  return all;
}

// The parts of a class that are shown, in creation order.
std::vector<HWND> partsOf(HWND window, const wchar_t* className) {
  std::vector<HWND> parts;
  for (HWND child : children(window)) {
    if (IsWindowVisible(child) && _wcsicmp(classOf(child).c_str(), className) == 0) parts.push_back(child);
  }
  return parts;
}

int waitShown(double seconds) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < seconds * 1000; Sleep(100)) {
    if (HWND hwnd = mainWindow()) {
      Sleep(300);  // the first layout and paint
      RECT rect{};
      GetWindowRect(hwnd, &rect);
      print(textOf(hwnd));
      print(std::to_wstring(rect.right - rect.left) + L" " + std::to_wstring(rect.bottom - rect.top));
      return 0;
    }
  }
  return 1;
}

int waitGone(double seconds) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < seconds * 1000; Sleep(100)) {
    if (mainWindows(false).empty()) return 0;
  }
  return 1;
}

int texts(HWND window) {
  for (HWND child : children(window)) {
    if (!IsWindowVisible(child)) continue;
    const std::wstring name = classOf(child);
    if (_wcsicmp(name.c_str(), L"ComboBox") == 0) {
      const LRESULT count = SendMessageW(child, CB_GETCOUNT, 0, 0);
      const LRESULT selected = SendMessageW(child, CB_GETCURSEL, 0, 0);
      for (LRESULT i = 0; i < count; ++i) {
        wchar_t entry[256] = {};
        if (SendMessageW(child, CB_GETLBTEXTLEN, i, 0) < 255) SendMessageW(child, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
        print(std::wstring(i == selected ? L"entry* " : L"entry ") + entry);
      }
      continue;
    }
    const std::wstring text = textOf(child);
    if (!text.empty()) print(text);
  }
  return 0;
}

int choose(HWND window, int index) {
  const std::vector<HWND> lists = partsOf(window, L"ComboBox");
  if (lists.empty()) return 1;
  HWND list = lists.front();
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  return 0;
}

int type(HWND window, size_t index, const wchar_t* text) {
  std::vector<HWND> fields;
  for (HWND child : children(window)) {
    if (_wcsicmp(classOf(child).c_str(), L"Edit") == 0 && GetParent(child) != nullptr &&
        _wcsicmp(classOf(GetParent(child)).c_str(), L"ComboBox") != 0) {
      fields.push_back(child);
    }
  }
  if (index >= fields.size()) return 1;
  SendMessageW(fields[index], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
  return 0;
}

int click(HWND window, const wchar_t* text) {
  for (HWND child : children(window)) {
    if (IsWindowVisible(child) && textOf(child) == text && _wcsicmp(classOf(child).c_str(), L"Button") == 0) {
      SendMessageW(child, BM_CLICK, 0, 0);
      return 0;
    }
  }
  return 1;
}

int printRect(HWND hwnd) {
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  print(std::to_wstring(rect.left) + L" " + std::to_wstring(rect.top) + L" " + std::to_wstring(rect.right - rect.left) +
        L" " + std::to_wstring(rect.bottom - rect.top));
  return 0;
}

int dropRect(HWND window) {
  // The drop box is the shown window part with the largest area below the menu
  // whose class is the toolkit's own and that holds the drop hint.
  for (HWND child : children(window)) {
    if (!IsWindowVisible(child) || classOf(child) != kClass) continue;
    bool holdsHint = false;
    for (HWND inner : children(child)) {
      if (textOf(inner).find(L"drop") != std::wstring::npos && GetParent(GetParent(inner)) == child) holdsHint = true;
    }
    if (holdsHint) return printRect(child);
  }
  return 1;
}

BOOL CALLBACK findBox(HWND hwnd, LPARAM parameter) {
  if (IsWindowVisible(hwnd) && classOf(hwnd) == L"#32770") {
    *reinterpret_cast<HWND*>(parameter) = hwnd;
    return FALSE;
  }
  return TRUE;
}

int messageBox() {
  HWND box = nullptr;
  EnumWindows(findBox, reinterpret_cast<LPARAM>(&box));
  if (!box) return 1;
  for (HWND child : children(box)) {
    if (_wcsicmp(classOf(child).c_str(), L"Static") == 0 && !textOf(child).empty()) print(textOf(child));
  }
  SendMessageW(box, WM_COMMAND, IDOK, 0);
  return 0;
}

}  // namespace

int wmain(int count, wchar_t** arguments) {
  if (count < 2) return 2;
  const std::wstring command = arguments[1];
  if (command == L"wait") return waitShown(count > 2 ? _wtof(arguments[2]) : 20);
  if (command == L"gone") return waitGone(count > 2 ? _wtof(arguments[2]) : 20);
  if (command == L"count") {
    print(std::to_wstring(mainWindows(true).size()));
    return 0;
  }
  if (command == L"message-box") return messageBox();
  if ((command == L"rect" && count > 2) || command == L"close-titled") {
    if (count < 3) return 2;
    HWND titled = FindWindowW(kClass, arguments[2]);
    if (!titled || !IsWindowVisible(titled)) return 1;
    if (command == L"close-titled") {
      PostMessageW(titled, WM_CLOSE, 0, 0);
      return 0;
    }
    return printRect(titled);
  }
  HWND window = mainWindow();
  if (!window) return 1;
  if (command == L"texts") return texts(window);
  if (command == L"dump") {
    for (HWND child : children(window)) {
      RECT rect{};
      GetWindowRect(child, &rect);
      print(classOf(child) + L" [" + textOf(child) + L"] " + (IsWindowVisible(child) ? L"shown " : L"hidden ") +
            std::to_wstring(rect.right - rect.left) + L"x" + std::to_wstring(rect.bottom - rect.top));
    }
    return 0;
  }
  if (command == L"command" && count > 2) {
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(_wtoi(arguments[2]), 0), 0);
    return 0;
  }
  if (command == L"choose" && count > 2) return choose(window, _wtoi(arguments[2]));
  if (command == L"type" && count > 3) return type(window, static_cast<size_t>(_wtoi(arguments[2])), arguments[3]);
  if (command == L"click" && count > 2) return click(window, arguments[2]);
  if (command == L"rightclick") {
    SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 40));
    SendMessageW(window, WM_RBUTTONUP, 0, MAKELPARAM(5, 40));
    return 0;
  }
  if (command == L"close") {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return 0;
  }
  if (command == L"drop-rect") return dropRect(window);
  if (command == L"rect") return printRect(window);
  if (command == L"progress") {
    for (HWND child : children(window)) {
      if (_wcsicmp(classOf(child).c_str(), L"msctls_progress32") != 0) continue;
      RECT rect{};
      GetWindowRect(GetParent(child), &rect);
      print(std::to_wstring(rect.right - rect.left));
      return 0;
    }
    return 1;
  }
  if (command == L"foreground") {
    print(GetForegroundWindow() == window ? L"1" : L"0");
    return 0;
  }
  if (command == L"minimize") {
    ShowWindow(window, SW_MINIMIZE);
    return 0;
  }
  return 2;
}
