// pictorva: the gallery window. Drop pictures on it and it makes a thumbnail gallery
// beside them.
//
//   pictorva.exe [FILE...]
//
// Files named on the command line are taken as a drop on the window (dropping files
// on the program's icon, "Send to"). When the program runs already, its window comes
// to the front, takes the files, and this start ends without a window of its own.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "s/app/win/AppBase.h"
#include "s/app/win/AppWindow.h"
#include "s/gui/dialogs/dragndrop/Dialog.h"
#include "s/gui/win/MessageBoxW.h"
#include "s/image/gui/dialogs/pictorva/Dialog.h"
#include "s/lang/Localizer.h"
#include "s/process/commandline/win/CommandLine.h"
#include "s/thread/Owned.h"

namespace {

using s::app::win::AppBase;
using s::app::win::AppWindow;
using s::thread::Owned;

constexpr char16_t kUnsupportedSystem[] =
    u"This Operating System is currently not supported by this Application. We are sorry for the inconvenience.";

// The files of the command line as full paths: the window that takes them may be
// another process, with another working folder.
std::vector<std::u16string> fullPaths(const std::vector<std::u16string>& files) {
  std::vector<std::u16string> paths;
  for (const std::u16string& file : files) {
    const auto* name = reinterpret_cast<const wchar_t*>(file.c_str());
    const DWORD length = GetFullPathNameW(name, 0, nullptr, nullptr);
    if (length == 0) continue;
    std::wstring full(length, L'\0');
    const DWORD written = GetFullPathNameW(name, length, full.data(), nullptr);
    if (written == 0 || written >= length) continue;
    full.resize(written);
    paths.emplace_back(reinterpret_cast<const char16_t*>(full.c_str()));
  }
  return paths;
}

// The program's life, in order: the application object and the window record; the
// system check; the first-run check; another running copy takes over (with the
// files); otherwise the gallery window runs until it is closed.
void run() {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), 0xFF};
  InitCommonControlsEx(&controls);

  Owned<AppBase> app(AppBase::create());
  app->initialize();
  Owned<AppWindow> record(AppWindow::create());
  record->setUp(app.get(), u"MainWindow", app->getTextBase(), 250, 250, u"Close");

  if (!AppBase::isSupportedSystem()) {
    s::gui::win::MessageBoxW::showInformation(app->getLocalizer().getText(app->getTextBase()), kUnsupportedSystem);
    return;
  }
  const std::vector<std::u16string> files = fullPaths(app->getCommandLine().getPlain());
  if (app->getCommandLine().getCount() == 0) app->checkFirstRun();
  if (app->signalOtherInstance(true, false, true)) {
    if (!files.empty()) s::gui::dialogs::dragndrop::Dialog::sendFiles(app->getOtherInstanceWindow(), files);
    return;
  }

  Owned<s::image::gui::dialogs::pictorva::Dialog> dialog(s::image::gui::dialogs::pictorva::Dialog::create());
  dialog->bind(record.get());
  dialog->buildAndRun(files);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  run();
  return 0;
}
