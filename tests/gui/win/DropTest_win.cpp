// Drops on real windows: the platform's acceptance of files, file drops as the shell
// hands them over (paths of any length), and web addresses through the OLE target with
// a data object made here. Drops from another program: RealDropTest_win.cpp.
#include <windows.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "GuiTestSupport.h"
#include "WindowTestSupport.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/GroupBox.h"
#include "s/gui/win/UrlDropTarget.h"
#include "s/gui/win/Window.h"

namespace s::gui::testing {
namespace {

using thread::Owned;
using win::Box;
using win::GroupBox;
using win::UrlDropTarget;
using win::Window;

std::u16string u16(const std::wstring& text) { return {text.begin(), text.end()}; }

// A drop handle as the shell makes one: DROPFILES and the wide paths, each ending in a
// zero, with one more zero after the last.
HDROP makeDrop(const std::vector<std::wstring>& paths) {
  size_t units = 1;
  for (const auto& path : paths) units += path.size() + 1;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + units * sizeof(wchar_t));
  auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
  header->pFiles = sizeof(DROPFILES);
  header->fWide = TRUE;
  auto* text = reinterpret_cast<wchar_t*>(header + 1);
  for (const auto& path : paths) {
    std::copy(path.begin(), path.end(), text);
    text += path.size() + 1;
  }
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

// Notes every drop with the paths it finds, safe to read from other threads.
class DropCounter : public events::IEventListener {
 public:
  void onEvent(base::IObject* source, int eventType) override {
    std::vector<std::u16string> paths;
    const str::strarray::StrArray* list = nullptr;
    if (auto* box = dynamic_cast<Box*>(source)) list = &box->getDroppedFiles();
    if (auto* group = dynamic_cast<GroupBox*>(source)) list = &group->getDroppedFiles();
    if (list) {
      for (size_t i = 0; i < list->count(); ++i) paths.emplace_back(list->textAt(i)->view());
    }
    std::lock_guard<std::mutex> lock(mutex_);
    drops_.push_back({source, eventType, paths});
    count = static_cast<int>(drops_.size());
  }
  struct Drop {
    base::IObject* source;
    int type;
    std::vector<std::u16string> paths;
  };
  Drop at(size_t i) {
    std::lock_guard<std::mutex> lock(mutex_);
    return drops_.at(i);
  }
  std::atomic<int> count{0};

 private:
  std::mutex mutex_;
  std::vector<Drop> drops_;
};

class DropWindow : public ::testing::Test {
 protected:
  void SetUp() override { window.reset(Window::create()); }
  // A box filling the window, accepting files (set before its native window exists).
  Box* dropBox() {
    Box* box = nullptr;
    window->invoke([&] {
      box = Box::create();
      box->fillParent();
      box->setAcceptFiles(true);
      window->add(box);
      window->layout();
    });
    return box;
  }

  QuietMessageBoxes quiet;
  Owned<Window> window;
};

TEST_F(DropWindow, TheSettingReachesThePlatformWithTheNativeWindow) {
  Box* box = dropBox();
  const HWND hwnd = hwndOf(*box);
  EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  window->invoke([&] { box->setAcceptFiles(false); });
  EXPECT_FALSE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  window->invoke([&] { box->setAcceptFiles(true); });
  EXPECT_TRUE(GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

TEST_F(DropWindow, DroppedPathsArriveWholeInOrderOncePerListener) {
  Box* box = dropBox();
  DropCounter first, second;
  window->invoke([&] {
    box->addDropListener(&first);
    box->addDropListener(&second);
  });
  // Longer than the old 260-unit limit, in the long-path form too.
  const std::wstring longPath = L"C:\\" + std::wstring(120, L'a') + L"\\" + std::wstring(150, L'b') + L"\\c d#.jpg";
  const std::wstring prefixed = L"\\\\?\\" + longPath;
  const std::vector<std::wstring> paths = {L"C:\\photos\\a b.jpg", longPath, prefixed, L"C:\\photos\\写真.png",
                                           L"C:\\photos"};
  SendMessageW(hwndOf(*box), WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop(paths)), 0);
  ASSERT_EQ(first.count, 1);
  ASSERT_EQ(second.count, 1);
  const auto drop = first.at(0);
  EXPECT_EQ(drop.source, static_cast<base::IObject*>(box));
  EXPECT_EQ(drop.type, Box::kEventFilesDropped);
  ASSERT_EQ(drop.paths.size(), paths.size());
  for (size_t i = 0; i < paths.size(); ++i) EXPECT_EQ(drop.paths[i], u16(paths[i])) << i;
  EXPECT_GT(drop.paths[1].size(), 260u);
}

TEST_F(DropWindow, AGroupBoxHandsItsContentsDropsToItsListeners) {
  GroupBox* group = nullptr;
  Box* content = nullptr;
  DropCounter listener;
  window->invoke([&] {
    group = GroupBox::create();
    group->setTitle(u"Drop Box");
    group->fillParent();
    group->setAcceptFiles(true);
    content = Box::create();
    content->fillParent();
    group->setContent(content);
    group->addDropListener(&listener);
    window->add(group);
    window->layout();
  });
  EXPECT_TRUE(GetWindowLongPtrW(hwndOf(*content), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
  SendMessageW(hwndOf(*content), WM_DROPFILES, reinterpret_cast<WPARAM>(makeDrop({L"C:\\a.jpg", L"C:\\b.gif"})), 0);
  ASSERT_EQ(listener.count, 1);
  EXPECT_EQ(listener.at(0).source, static_cast<base::IObject*>(group));
  EXPECT_EQ(listener.at(0).paths, (std::vector<std::u16string>{u"C:\\a.jpg", u"C:\\b.gif"}));
}

// A data object offering one format with the given bytes (a new copy each time).
class DataObject final : public IDataObject {
 public:
  DataObject(CLIPFORMAT format, std::vector<char> bytes) : format_(format), bytes_(std::move(bytes)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDataObject)) {
      *object = this;
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (format->cfFormat != format_ || !(format->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes_.size());
    std::copy(bytes_.begin(), bytes_.end(), static_cast<char*>(GlobalLock(memory)));
    GlobalUnlock(memory);
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    medium->pUnkForRelease = nullptr;
    lastSize = GlobalSize(memory);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return format->cfFormat == format_ ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

  // The size of the memory the last GetData handed out.
  SIZE_T lastSize = 0;

 private:
  CLIPFORMAT format_;
  std::vector<char> bytes_;
};

std::vector<char> bytesOf(const std::u16string& text, bool terminated) {
  const auto* first = reinterpret_cast<const char*>(text.data());
  std::vector<char> bytes(first, first + text.size() * sizeof(char16_t));
  if (terminated) bytes.insert(bytes.end(), sizeof(char16_t), 0);
  return bytes;
}

const CLIPFORMAT kWideUrl = static_cast<CLIPFORMAT>(RegisterClipboardFormatW(L"UniformResourceLocatorW"));

TEST_F(DropWindow, WebAddressesArriveThroughTheOleTarget) {
  Box* box = dropBox();
  DropCounter listener;
  UrlDropTarget* target = nullptr;
  window->invoke([&] {
    box->setAcceptWebAddresses(true);
    box->addWebAddressListener(&listener);
    target = box->getWebAddressTarget();
  });
  ASSERT_NE(target, nullptr);
  // Registered for the box's window: a second registration is refused.
  DataObject url(kWideUrl, bytesOf(u"https://example.org/gallery?a=1#top", true));
  DataObject plain(CF_UNICODETEXT, bytesOf(u"just text", true));
  auto* com = static_cast<IDropTarget*>(target->getDropTarget());
  window->invoke([&] {
    EXPECT_EQ(RegisterDragDrop(hwndOf(*box), com), DRAGDROP_E_ALREADYREGISTERED);
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    com->DragEnter(&plain, 0, POINTL{0, 0}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    // Plain text dropped changes nothing and tells no one.
    com->Drop(&plain, 0, POINTL{0, 0}, &effect);
    EXPECT_EQ(listener.count, 0);

    effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    com->DragEnter(&url, 0, POINTL{0, 0}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_LINK));
    com->DragOver(0, POINTL{1, 1}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_LINK));
    com->Drop(&url, 0, POINTL{0, 0}, &effect);
  });
  ASSERT_EQ(listener.count, 1);
  EXPECT_EQ(listener.at(0).type, Box::kEventWebAddressDropped);
  EXPECT_EQ(listener.at(0).source, static_cast<base::IObject*>(box));
  EXPECT_EQ(box->getDroppedWebAddress(), u"https://example.org/gallery?a=1#top");

  // Switched off, the target is revoked and gone.
  window->invoke([&] {
    box->setAcceptWebAddresses(false);
    EXPECT_EQ(box->getWebAddressTarget(), nullptr);
    EXPECT_EQ(RevokeDragDrop(hwndOf(*box)), DRAGDROP_E_NOTREGISTERED);
  });
}

TEST(UrlDropTargetTest, ATextWithoutItsZeroEndsWithItsMemory) {
  Owned<UrlDropTarget> target(UrlDropTarget::create());
  DataObject unterminated(kWideUrl, bytesOf(u"https://example.org/x", false));
  EXPECT_TRUE(target->drop(&unterminated));
  // The platform may round the block up; the text never reaches past it.
  EXPECT_EQ(target->getText().substr(0, 21), u"https://example.org/x");
  EXPECT_LE(target->getText().size(), unterminated.lastSize / sizeof(char16_t));
  DataObject empty(kWideUrl, {});
  EXPECT_TRUE(target->drop(&empty));
  EXPECT_EQ(target->getText(), u"");
}

}  // namespace
}  // namespace s::gui::testing
