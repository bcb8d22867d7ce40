#pragma once
// The OLE drop target through which a box receives web addresses dragged from other
// programs (a browser's address bar, a link). It takes what a drag offers in the
// clipboard format "UniformResourceLocatorW" (a zero-terminated UTF-16 text); the
// narrow format "UniformResourceLocator" is registered but never asked for.
//
// Dragging such data over the target shows the link effect, anything else none. A
// drop keeps the text (never read past the end of the memory that carries it) and
// tells the owner box (target, kEventDropped); a drop without the wide format is
// accepted and changes nothing. Windows only: the target lives on the thread of the
// box's window, which registered it.
#include <string_view>

#include "s/base/IObject.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pool.h"

namespace s::gui::win {

class Box;

class UrlDropTargetBases : public base::IObject, public thread::IPoolable {};

class UrlDropTarget final : public thread::PooledObject<UrlDropTarget, UrlDropTargetBases> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_win_UrlDropTarget";
  static constexpr int kEventDropped = 3;
  // The platform's drop effects this target answers.
  static constexpr unsigned kEffectNone = 0;
  static constexpr unsigned kEffectLink = 4;

  UrlDropTarget();
  ~UrlDropTarget() override;
  UrlDropTarget(const UrlDropTarget&) = delete;
  UrlDropTarget& operator=(const UrlDropTarget&) = delete;

  // The box told of drops (not owned).
  void setOwner(Box* owner) { owner_ = owner; }
  // Registers the target for a window (an HWND); false when the platform refuses.
  bool registerFor(void* hwnd);
  // Takes the registration back (nothing when there is none).
  void revoke();

  // The exchange, with the dragged data object (an IDataObject*). Drag enter and drag
  // over answer the effect; drop answers whether it was accepted.
  unsigned dragOver(void* data);
  bool drop(void* data);
  void dragLeave() {}
  // The last dropped web address.
  std::u16string_view getText() const { return text_.view(); }
  // The target as the platform calls it (an IDropTarget*, kept by this object).
  void* getDropTarget() const { return dropTarget_; }

  // Empties the text, forgets the owner and takes the registration back.
  void reset() override;

 private:
  unsigned narrowFormat_ = 0;
  unsigned wideFormat_ = 0;
  str::strbuffer::StrBuffer text_;
  Box* owner_ = nullptr;
  void* dropTarget_ = nullptr;   // the COM object, owned
  void* registeredFor_ = nullptr;  // the HWND while registered
};

}  // namespace s::gui::win
