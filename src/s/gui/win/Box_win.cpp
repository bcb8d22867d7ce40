#include <windows.h>
#include <shellapi.h>

#include "s/gui/native/NativeWindow.h"
#include "s/gui/native/win/HwndWindow.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/UrlDropTarget.h"

namespace s::gui::win {

namespace {

HWND hwndOf(const Box& box) {
  return box.getNativeWindow() ? static_cast<HWND>(box.getNativeWindow()->getHandle()) : nullptr;
}

}  // namespace

void Box::applyAcceptFiles() {
  if (HWND hwnd = hwndOf(*this)) DragAcceptFiles(hwnd, acceptFiles_ ? TRUE : FALSE);
}

void Box::nativeFilesDropped(void* drop) {
  HDROP handle = static_cast<HDROP>(drop);
  std::vector<std::u16string> paths;
  const UINT count = DragQueryFileW(handle, 0xFFFFFFFF, nullptr, 0);
  paths.reserve(count);
  for (UINT i = 0; i < count; ++i) {
    // Each length first: paths longer than the old 260-unit limit arrive whole.
    const UINT length = DragQueryFileW(handle, i, nullptr, 0);
    std::u16string path(length + 1, u'\0');
    const UINT copied = DragQueryFileW(handle, i, reinterpret_cast<wchar_t*>(path.data()), length + 1);
    path.resize(copied);
    paths.push_back(std::move(path));
  }
  filesDropped(paths);
  DragFinish(handle);
}

void Box::createWebTarget() {
  const HWND hwnd = hwndOf(*this);
  if (!hwnd || webTarget_) return;
  webTarget_ = UrlDropTarget::create();
  webTarget_->setOwner(this);
  webTarget_->registerFor(hwnd);
}

void Box::destroyWebTarget() {
  if (!webTarget_) return;
  webTarget_->release();  // revokes its registration
  webTarget_ = nullptr;
}

void Box::onEvent(base::IObject* source, int eventType) {
  if (!webTarget_ || source != static_cast<base::IObject*>(webTarget_) || eventType != UrlDropTarget::kEventDropped) return;
  if (HWND hwnd = hwndOf(*this)) SendMessageW(hwnd, native::win::kWebAddressDroppedMessage, 0, 0);
}

void Box::webAddressDropped() {
  if (webTarget_) droppedWebAddress_.assign(webTarget_->getText());
  notify(webAddressListeners_, kEventWebAddressDropped);
}

}  // namespace s::gui::win
