// Real drops from outside the program: the drag source ../shared/tools/xdnd-drop.py
// (python3 with python3-xlib) drops files on the window through the X server, as a
// file manager would, and Wine hands them to the box as a shell drop. Names with
// other than ASCII letters need Wine to run in a UTF-8 locale (LANG=C.UTF-8).
//
// The drag source is a Linux program: Wine starts it from here like any program.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "WindowTestSupport.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/Window.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/Clock.h"

namespace s::gui::testing {
namespace {

using thread::Owned;
using win::Box;
using win::Window;

const std::string kTool = PICTORVA_SOURCE_DIR "/../shared/tools/xdnd-drop.py";

// The Windows form of a Linux path (Wine's drive Z: is the root folder).
std::u16string windowsPath(const std::string& unixPath) {
  std::u16string path(u"Z:");
  path += str::strbuffer::StrBuffer(std::string_view(unixPath)).view();
  for (char16_t& unit : path) {
    if (unit == u'/') unit = u'\\';
  }
  return path;
}

// The long-path form, for names past the old 260-unit limit.
std::wstring longForm(const std::string& unixPath) {
  std::wstring path(L"\\\\?\\");
  for (char16_t unit : windowsPath(unixPath)) path += static_cast<wchar_t>(unit);
  return path;
}

bool makeFolder(const std::string& unixPath) { return CreateDirectoryW(longForm(unixPath).c_str(), nullptr) != FALSE; }

bool makeFile(const std::string& unixPath, const std::string& content = "x") {
  HANDLE file = CreateFileW(longForm(unixPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
  return true;
}

std::string readFile(const std::string& unixPath) {
  HANDLE file = CreateFileW(longForm(unixPath).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  char buffer[4096];
  DWORD read = 0;
  ReadFile(file, buffer, sizeof(buffer), &read, nullptr);
  CloseHandle(file);
  return std::string(buffer, read);
}

// Quoted for the shell: inside single quotes, a quote is closed, escaped, reopened.
std::string shellQuoted(const std::string& text) {
  std::string out = "'";
  for (char c : text) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// Records every drop with its paths; read from the test's thread.
class DropLog : public events::IEventListener {
 public:
  void onEvent(base::IObject* source, int) override {
    const auto& list = static_cast<Box*>(source)->getDroppedFiles();
    std::vector<std::u16string> paths;
    for (size_t i = 0; i < list.count(); ++i) paths.emplace_back(list.textAt(i)->view());
    std::lock_guard<std::mutex> lock(mutex_);
    drops_.push_back(paths);
    count = static_cast<int>(drops_.size());
  }
  std::vector<std::u16string> last() {
    std::lock_guard<std::mutex> lock(mutex_);
    return drops_.empty() ? std::vector<std::u16string>{} : drops_.back();
  }
  std::atomic<int> count{0};

 private:
  std::mutex mutex_;
  std::vector<std::vector<std::u16string>> drops_;
};

class RealDrop : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::u16string tool = windowsPath(kTool);
    if (GetFileAttributesW(std::wstring(tool.begin(), tool.end()).c_str()) == INVALID_FILE_ATTRIBUTES) {
      if (std::getenv("CI")) FAIL() << "the drag source " << kTool << " is missing";
      GTEST_SKIP() << "the drag source " << kTool << " is missing";
    }
    folder = "/tmp/pictorva-drops-" + std::to_string(GetCurrentProcessId());
    ASSERT_TRUE(makeFolder(folder));
    const std::string number = std::to_string(GetCurrentProcessId());
    title = u"Pictorva drop test " + std::u16string(number.begin(), number.end());
    window.reset(Window::create());
    window->invoke([&] {
      box = Box::create();
      box->fillParent();
      box->setAcceptFiles(true);
      box->addDropListener(&first);
      box->addDropListener(&second);
      window->add(box);
    });
    window->setTitle(title);
    window->setPlacement({60, 60, 400, 300});
    window->show(true, true);
  }
  void TearDown() override {
    window.reset();
    if (folder.empty()) return;
    // Everything made here, by the system's own remover (paths of any length).
    runUnix("rm -rf " + shellQuoted(folder));
    const int64_t end = thread::clockMs() + 5000;
    while (GetFileAttributesW(longForm(folder).c_str()) != INVALID_FILE_ATTRIBUTES && thread::clockMs() < end) {
      thread::sleepMs(20);
    }
  }

  // Starts a shell command line (Wine starts Linux programs by their Z: path too, but
  // cannot wait for them: callers watch for a file the command leaves).
  static bool runUnix(const std::string& commandLine) {
    std::wstring command = L"Z:\\bin\\sh -c \"" + std::wstring(commandLine.begin(), commandLine.end()) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
      return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
  }

  // Drops the files (Linux paths) on the window from outside; true when the drag
  // source reports success. Its output goes to the folder's log.
  bool dropFromOutside(const std::vector<std::string>& files) {
    const std::string script = folder + "/drop.sh";
    const std::string status = folder + "/status";
    // python3 TOOL --window-name TITLE --retry 5 FILE... >LOG 2>&1; echo $? >STATUS
    std::string text = "python3 ";
    text += shellQuoted(kTool);
    text += " --window-name ";
    text += shellQuoted(str::strbuffer::StrBuffer(std::u16string_view(title)).toUtf8());
    text += " --retry 5";
    for (const auto& file : files) {
      text += ' ';
      text += shellQuoted(file);
    }
    text += " >";
    text += shellQuoted(folder + "/drop.log");
    text += " 2>&1; echo $? >";
    text += shellQuoted(status + ".part");
    text += "; mv ";
    text += shellQuoted(status + ".part");
    text += ' ';
    text += shellQuoted(status);
    text += '\n';
    DeleteFileW(longForm(status).c_str());
    if (!makeFile(script, text) || !runUnix(". " + shellQuoted(script))) return false;
    // The script leaves its exit status.
    const int64_t end = thread::clockMs() + 30000;
    while (GetFileAttributesW(longForm(status).c_str()) == INVALID_FILE_ATTRIBUTES && thread::clockMs() < end) {
      thread::sleepMs(20);
    }
    const std::string result = readFile(status);
    if (result.rfind("0", 0) != 0) {
      ADD_FAILURE() << "the drag source ended with \"" << result << "\": " << readFile(folder + "/drop.log");
      return false;
    }
    return true;
  }

  // Waits for the listeners to hear of the drop, then a little longer, so a second
  // notice would be seen too.
  void waitForDrop(int drops) {
    waitFor([&] { return first.count >= drops && second.count >= drops; }, 10000);
    thread::sleepMs(200);
  }

  QuietMessageBoxes quiet;
  std::string folder;
  std::u16string title;
  Owned<Window> window;
  Box* box = nullptr;
  DropLog first, second;
};

TEST_F(RealDrop, ThreeFilesAndAFolderArriveInOrderOncePerListener) {
  const std::vector<std::string> files = {folder + "/a b.jpg", folder + "/#1.png", folder + "/写真.gif",
                                          folder + "/pictures"};
  ASSERT_TRUE(makeFile(files[0]));
  ASSERT_TRUE(makeFile(files[1]));
  ASSERT_TRUE(makeFile(files[2])) << "names other than ASCII need LANG=C.UTF-8";
  ASSERT_TRUE(makeFolder(files[3]));
  ASSERT_TRUE(dropFromOutside(files));
  waitForDrop(1);
  EXPECT_EQ(first.count, 1);
  EXPECT_EQ(second.count, 1);
  std::vector<std::u16string> expected;
  for (const auto& file : files) expected.push_back(windowsPath(file));
  EXPECT_EQ(first.last(), expected);
  EXPECT_EQ(second.last(), expected);
}

TEST_F(RealDrop, APathOf300CharactersArrivesWhole) {
  std::string deep = folder;
  for (char name : {'p', 'q', 'r'}) {
    deep += "/" + std::string(90, name);
    ASSERT_TRUE(makeFolder(deep));
  }
  const std::string file = deep + "/picture of the day.jpg";
  ASSERT_TRUE(makeFile(file));
  ASSERT_GE(windowsPath(file).size(), 300u);
  ASSERT_TRUE(dropFromOutside({file}));
  waitForDrop(1);
  EXPECT_EQ(first.count, 1);
  EXPECT_EQ(first.last(), (std::vector<std::u16string>{windowsPath(file)}));
}

}  // namespace
}  // namespace s::gui::testing
