#include <windows.h>
#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <vector>

#include "s/base/win/Scoped_win.h"
#include "s/file/Shell.h"
#include "s/file/WideText.h"
#include "s/thread/CriticalSection.h"

namespace s::file {

namespace {


// The shell does not take the "\\?\" form.
std::u16string shellForm(std::u16string_view path) {
  if (path.substr(0, 8) == u"\\\\?\\UNC\\") return u"\\\\" + std::u16string(path.substr(8));
  if (path.substr(0, 4) == u"\\\\?\\") return std::u16string(path.substr(4));
  return std::u16string(path);
}

// COM for the calling thread, for one scope.
class ComScope {
 public:
  ComScope() : initialized_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComScope() {
    if (initialized_) CoUninitialize();
  }

 private:
  bool initialized_;
};

int readExplorerValue(const wchar_t* name, int fallback) {
  // The key is opened once per process (a missing key is looked for again at the
  // next listing); its values are read at every listing.
  static thread::CriticalSection lock;
  static HKEY key = nullptr;
  thread::CriticalSection::Scope scope(lock);
  if (!key && RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced", 0,
                            KEY_READ, &key) != ERROR_SUCCESS) {
    key = nullptr;
    return fallback;
  }
  DWORD value = 0;
  DWORD size = sizeof value;
  DWORD type = 0;
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD || size != sizeof value) {
    return fallback;
  }
  return static_cast<int>(value);
}

}  // namespace

bool Shell::recycle(std::u16string_view path, bool confirm) {
  // The shell wants a list ending in two zeros.
  std::u16string list = shellForm(path);
  list.push_back(0);
  list.push_back(0);
  SHFILEOPSTRUCTW operation = {};
  operation.wFunc = FO_DELETE;
  const WideText from(list);
  operation.pFrom = from;
  operation.fFlags = FOF_ALLOWUNDO;
  if (!confirm) operation.fFlags |= FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}

bool Shell::deleteAtRestart(std::u16string_view path) {
  return MoveFileExW(wide(path), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT) != 0;
}

void Shell::notifyCreated(std::u16string_view path, bool folder) {
  SHChangeNotify(folder ? SHCNE_MKDIR : SHCNE_CREATE, SHCNF_PATHW | SHCNF_FLUSHNOWAIT, wide(shellForm(path)), nullptr);
}

void Shell::notifyDeleted(std::u16string_view path, bool folder) {
  SHChangeNotify(folder ? SHCNE_RMDIR : SHCNE_DELETE, SHCNF_PATHW | SHCNF_FLUSHNOWAIT, wide(shellForm(path)), nullptr);
}

void Shell::notifyRenamed(std::u16string_view from, std::u16string_view to, bool folder) {
  const std::u16string fromText = shellForm(from);
  const std::u16string toText = shellForm(to);
  SHChangeNotify(folder ? SHCNE_RENAMEFOLDER : SHCNE_RENAMEITEM, SHCNF_PATHW | SHCNF_FLUSHNOWAIT, wide(fromText),
                 wide(toText));
}

void Shell::notifyUpdated(std::u16string_view path) {
  SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_PATHW | SHCNF_FLUSHNOWAIT, wide(shellForm(path)), nullptr);
}

std::u16string Shell::typeName(std::u16string_view path, bool exists, bool folder) {
  SHFILEINFOW info = {};
  UINT flags = SHGFI_TYPENAME;
  DWORD attributes = 0;
  if (!exists) {
    flags |= SHGFI_USEFILEATTRIBUTES;
    attributes = folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
  }
  if (!SHGetFileInfoW(wide(shellForm(path)), attributes, &info, sizeof info, flags)) return std::u16string();
  return std::u16string(reinterpret_cast<const char16_t*>(info.szTypeName));
}

std::u16string Shell::sizeText(int64_t size) {
  wchar_t buffer[64] = {};
  if (!StrFormatByteSizeW(size, buffer, 64)) return std::u16string();
  return std::u16string(reinterpret_cast<const char16_t*>(buffer));
}

bool Shell::open(std::u16string_view path) {
  const std::u16string file = shellForm(path);
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI;
  info.lpVerb = L"open";
  const WideText fileText(file);
  info.lpFile = fileText;
  info.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&info) != 0;
}

bool Shell::createShortcut(std::u16string_view target, std::u16string_view link, std::u16string_view description) {
  ComScope com;
  base::win::ComPtr<IShellLinkW> shellLink;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shellLink.out()))) {
    return false;
  }
  bool ok = SUCCEEDED(shellLink->SetPath(wide(shellForm(target))));
  if (ok && !description.empty()) shellLink->SetDescription(wide(description));
  base::win::ComPtr<IPersistFile> file;
  if (ok) ok = SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, file.out()));
  if (ok) ok = SUCCEEDED(file->Save(wide(shellForm(link)), TRUE));
  return ok;
}

std::u16string Shell::shortcutTarget(std::u16string_view link) {
  ComScope com;
  base::win::ComPtr<IShellLinkW> shellLink;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, shellLink.out()))) {
    return std::u16string();
  }
  std::u16string result;
  base::win::ComPtr<IPersistFile> file;
  if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, file.out())) &&
      SUCCEEDED(file->Load(wide(shellForm(link)), STGM_READ))) {
    std::vector<wchar_t> buffer(32768);
    if (SUCCEEDED(shellLink->GetPath(buffer.data(), static_cast<int>(buffer.size()), nullptr, 0))) {
      result.assign(reinterpret_cast<const char16_t*>(buffer.data()));
    }
  }
  return result;
}

bool Shell::listStreams(std::u16string_view path, std::vector<Stream>* streams) {
  streams->clear();
  WIN32_FIND_STREAM_DATA data;
  const base::win::FindHandle find(FindFirstStreamW(wide(path), FindStreamInfoStandard, &data, 0));
  if (!find) return false;
  do {
    Stream stream;
    stream.name.assign(reinterpret_cast<const char16_t*>(data.cStreamName));
    if (stream.name == u"::$DATA") continue;
    stream.size = data.StreamSize.QuadPart;
    streams->push_back(stream);
  } while (FindNextStreamW(find.get(), &data));
  return true;
}

int Shell::explorerHidden() { return readExplorerValue(L"Hidden", 1); }

int Shell::explorerShowSuperHidden() { return readExplorerValue(L"ShowSuperHidden", 0); }

}  // namespace s::file
