// The Windows side of the application object: COM, the executable's path, the system
// check, the first-run check and finding another running copy of the program.
#include <windows.h>
#include <objbase.h>
#include <ole2.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <vector>

#include "s/app/win/AppBase.h"
#include "s/base/win/Scoped_win.h"
#include "s/lang/Localizer.h"
#include "s/app/SaveDataStore.h"

namespace s::app::win {

namespace {

// The longest wait for the other copy's window to answer one message.
constexpr ULONGLONG kSendTimeoutMs = 3000;

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

std::u16string narrowed(const wchar_t* text) { return std::u16string(reinterpret_cast<const char16_t*>(text)); }

bool equalIgnoringCase(const std::u16string& a, const std::u16string& b) {
  return CompareStringOrdinal(wide(a), -1, wide(b), -1, TRUE) == CSTR_EQUAL;
}

// The executable of process id: its first module's path, or its image name.
std::u16string processPath(DWORD id) {
  if (const base::win::KernelHandle modules(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, id)); modules) {
    MODULEENTRY32W module{};
    module.dwSize = sizeof(module);
    if (Module32FirstW(modules.get(), &module)) return narrowed(module.szExePath);
  }
  const base::win::KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id));
  if (!process) return {};
  wchar_t path[MAX_PATH * 4];
  DWORD length = MAX_PATH * 4;
  const bool named = QueryFullProcessImageNameW(process.get(), 0, path, &length) != FALSE;
  return named ? narrowed(path) : std::u16string();
}

// The first other running process whose executable is ours; 0 when none.
DWORD findOtherProcess(const std::u16string& ourPath) {
  const base::win::KernelHandle processes(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!processes) return 0;
  const DWORD ours = GetCurrentProcessId();
  DWORD other = 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(processes.get(), &entry); more && other == 0;
       more = Process32NextW(processes.get(), &entry)) {
    if (entry.th32ProcessID == 0 || entry.th32ProcessID == ours) continue;
    const std::u16string path = processPath(entry.th32ProcessID);
    if (!path.empty() && equalIgnoringCase(path, ourPath)) other = entry.th32ProcessID;
  }
  return other;
}

struct WindowSearch {
  DWORD process;
  std::u16string title;  // empty: any window with a caption
  HWND found = nullptr;
};

// A caption names the program when it begins with the program's title (the window
// adds its version to the title); with no title any caption does. Windows without
// a caption (the hidden owner window) never do.
BOOL CALLBACK matchWindow(HWND hwnd, LPARAM parameter) {
  auto* search = reinterpret_cast<WindowSearch*>(parameter);
  DWORD process = 0;
  GetWindowThreadProcessId(hwnd, &process);
  if (process != search->process) return TRUE;
  wchar_t caption[512];
  const int length = GetWindowTextW(hwnd, caption, 512);
  if (length <= 0) return TRUE;
  const int titleLength = static_cast<int>(search->title.size());
  if (titleLength > 0 &&
      (length < titleLength ||
       CompareStringOrdinal(caption, titleLength, wide(search->title), titleLength, TRUE) != CSTR_EQUAL)) {
    return TRUE;
  }
  search->found = hwnd;
  return FALSE;
}

}  // namespace

void AppBase::initializePlatform() {
  comReady_ = SUCCEEDED(OleInitialize(nullptr));
  CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_PKT, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                       EOAC_NONE, nullptr);
}

void AppBase::uninitializePlatform() {
  if (comReady_) OleUninitialize();
  comReady_ = false;
}

std::u16string AppBase::findModulePath() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return std::u16string(reinterpret_cast<const char16_t*>(path.data()), length);
    path.resize(path.size() * 2);
  }
}

bool AppBase::isSupportedSystem() {
  // Windows XP is 5.1, Server 2003 5.2, Vista 6.0.
  OSVERSIONINFOEXW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  version.dwMajorVersion = 5;
  version.dwMinorVersion = 1;
  const DWORDLONG condition =
      VerSetConditionMask(VerSetConditionMask(0, VER_MAJORVERSION, VER_GREATER_EQUAL), VER_MINORVERSION, VER_GREATER_EQUAL);
  return VerifyVersionInfoW(&version, VER_MAJORVERSION | VER_MINORVERSION, condition) != FALSE;
}

void AppBase::checkFirstRun() {
  const std::u16string softwareId(localizer_->getText(kSoftwareIdText));
  const std::u16string path = u"Software\\Tarn\\" + (softwareId.empty() ? app::SaveDataStore::kSoftwareId : softwareId);
  HKEY opened = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, wide(path), 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &opened) != ERROR_SUCCESS) {
    return;
  }
  const base::win::RegistryKey key(opened);
  DWORD silent = 0, type = 0, size = sizeof(silent);
  const bool read = RegQueryValueExW(key.get(), L"Silent", nullptr, &type, reinterpret_cast<BYTE*>(&silent), &size) ==
                        ERROR_SUCCESS &&
                    size == sizeof(silent);
  if (read && silent != 0) {
    const DWORD cleared = 0;
    RegSetValueExW(key.get(), L"Silent", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&cleared), sizeof(cleared));
    const std::u16string page(localizer_->getText(textBase_ + kSoftwarePageOffset));
    if (!page.empty()) ShellExecuteW(nullptr, L"open", wide(page), nullptr, nullptr, SW_SHOWNORMAL);
  }
}

bool AppBase::signalOtherInstance(bool check, bool secondMessage, bool usePacks) {
  otherWindow_ = nullptr;
  if (!check) return false;
  const DWORD other = findOtherProcess(modulePath_);
  if (other == 0) return false;

  std::vector<std::u16string> titles;
  if (usePacks) {
    for (size_t i = 0; i < localizer_->packCount(); ++i) {
      const lang::LangPack* pack = localizer_->packAt(i);
      const str::strbuffer::StrBuffer* title = pack->findText(textBase_);
      if (!title || title->isEmpty()) continue;
      // Most languages keep the product's name: each title is tried once.
      bool known = false;
      for (const std::u16string& t : titles) known = known || equalIgnoringCase(t, std::u16string(title->view()));
      if (!known) titles.emplace_back(title->view());
    }
  }
  if (titles.empty()) titles.emplace_back();

  // The other copy may still be starting: wait for it to take input and show its
  // window, but never longer than kOtherInstanceWaitMs in all (a copy that hangs must
  // not keep this one from starting).
  const ULONGLONG deadline = GetTickCount64() + kOtherInstanceWaitMs;
  if (const base::win::KernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, other));
      process) {
    WaitForInputIdle(process.get(), kOtherInstanceWaitMs);
  }
  bool signalled = false;
  do {
    for (const std::u16string& title : titles) {
      const ULONGLONG now = GetTickCount64();
      if (now >= deadline) break;
      WindowSearch search{other, title};
      EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
      if (!search.found) continue;
      // A window that does not answer in time (a hung copy) counts as not found.
      const UINT timeout = static_cast<UINT>(std::min<ULONGLONG>(kSendTimeoutMs, deadline - now));
      DWORD_PTR result = 0;
      if (SendMessageTimeoutW(search.found, kRestoreMessage, 0, 0, SMTO_ABORTIFHUNG, timeout, &result) == 0) continue;
      if (secondMessage) SendMessageTimeoutW(search.found, kSignalMessage, 0, 0, SMTO_ABORTIFHUNG, timeout, &result);
      if (!otherWindow_) otherWindow_ = search.found;
      signalled = true;
      break;
    }
    if (!signalled) Sleep(100);
  } while (!signalled && GetTickCount64() < deadline);
  return signalled;
}

}  // namespace s::app::win
