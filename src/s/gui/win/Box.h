#pragma once
// The general container (see s/gui/BoxBase.h), which can also take files and web
// addresses dropped on it from other programs.
//
// Files. A box that accepts files (setAcceptFiles; the setting survives its native
// window and applies to each new one) receives the platform's file drops: the full
// paths, folders and files alike, in the platform's order, replace the dropped-paths
// list, and every drop listener hears (box, kEventFilesDropped) in the order they
// registered, on the window's thread, inside the drop. The list stays until the next
// drop or reset: a listener that needs the paths later copies them.
//
// Web addresses. A box that accepts web addresses registers a UrlDropTarget for its
// native window while both exist; a web address dropped there becomes the box's
// dropped web address and every web-address listener hears (box,
// kEventWebAddressDropped).
#include <string>
#include <string_view>
#include <vector>

#include "s/gui/BoxBase.h"
#include "s/str/strarray/StrArray.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/Owned.h"
#include "s/thread/Pool.h"

namespace s::gui::win {

class UrlDropTarget;

class Box final : public thread::PooledObject<Box, BoxBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_win_Box";
  static constexpr int kEventFilesDropped = 1;
  static constexpr int kEventWebAddressDropped = 7;

  Box();
  ~Box() override;

  // A box from the pool with: the layout kind (IBox::kRow ... kPile); the width and
  // height percent when ≥ 0 (with relayout); horizontal alignment ≤ 0 left, 1 centre,
  // else right; vertical alignment ≤ 0 top, 1 middle, else bottom; each gap and each
  // margin pair only when > 0.
  static Box* newBox(int widthPercent, int heightPercent, int horizontalAlignment, int verticalAlignment,
                     int horizontalGap, int verticalGap, int horizontalMargins, int verticalMargins, int layoutKind);

  // --- Dropped files ----------------------------------------------------------------------
  // Tells the platform at once when the native window exists.
  void setAcceptFiles(bool accept);
  bool isAcceptingFiles() const { return acceptFiles_; }
  // Not owned; registering twice notifies twice.
  void addDropListener(events::IEventListener* listener);
  bool hasDropListener(const events::IEventListener* listener) const;
  const str::strarray::StrArray& getDroppedFiles() const { return *droppedFiles_; }
  // A file drop on the native window: paths replace the list and the listeners hear it.
  void filesDropped(const std::vector<std::u16string>& paths);

  // --- Dropped web addresses --------------------------------------------------------------
  void setAcceptWebAddresses(bool accept);
  bool isAcceptingWebAddresses() const { return acceptWebAddresses_; }
  void addWebAddressListener(events::IEventListener* listener);
  std::u16string_view getDroppedWebAddress() const { return droppedWebAddress_.view(); }
  // The box's web-address target, while it has one (its native window exists).
  UrlDropTarget* getWebAddressTarget() const { return webTarget_; }
  // Its target reports a drop (target, UrlDropTarget::kEventDropped).
  void onEvent(base::IObject* source, int eventType) override;
  // The web address has arrived on the box's window: it becomes the dropped web
  // address and the listeners hear it.
  void webAddressDropped();

  // --- What the native window reports ------------------------------------------------------
  // A file drop (a Win32 HDROP): the paths are read whole, however long.
  void nativeFilesDropped(void* drop);
  // The native window is being destroyed: the web-address target goes with it.
  void nativeWindowDestroying();

  void reset() override;

 protected:
  void nativeWindowCreated() override;

 private:
  // The platform's side (Box_win.cpp, Box_posix.cpp).
  void applyAcceptFiles();
  void createWebTarget();
  void destroyWebTarget();

  bool acceptFiles_ = false;
  thread::Owned<str::strarray::StrArray> droppedFiles_;
  std::vector<events::IEventListener*> dropListeners_;
  bool acceptWebAddresses_ = false;
  UrlDropTarget* webTarget_ = nullptr;  // owned
  str::strbuffer::StrBuffer droppedWebAddress_;
  std::vector<events::IEventListener*> webAddressListeners_;
};

}  // namespace s::gui::win
