#include "s/gui/win/Box.h"

#include <algorithm>

namespace s::gui::win {

Box::Box() : droppedFiles_(str::strarray::StrArray::create()) {}

Box::~Box() = default;

Box* Box::newBox(int widthPercent, int heightPercent, int horizontalAlignment, int verticalAlignment,
                 int horizontalGap, int verticalGap, int horizontalMargins, int verticalMargins, int layoutKind) {
  Box* box = create();
  switch (layoutKind) {
    case kRow: box->useRow(); break;
    case kFlow: box->useFlow(); break;
    case kPile: box->usePile(); break;
    default: box->useColumn(); break;
  }
  if (widthPercent >= 0) box->setWidthPercent(widthPercent, true);
  if (heightPercent >= 0) box->setHeightPercent(heightPercent, true);
  if (horizontalAlignment <= 0) {
    box->alignLeft();
  } else if (horizontalAlignment == 1) {
    box->alignCenter();
  } else {
    box->alignRight();
  }
  if (verticalAlignment <= 0) {
    box->alignTop();
  } else if (verticalAlignment == 1) {
    box->alignMiddle();
  } else {
    box->alignBottom();
  }
  if (horizontalGap > 0) box->setHorizontalGap(horizontalGap);
  if (verticalGap > 0) box->setVerticalGap(verticalGap);
  if (horizontalMargins > 0) box->setHorizontalMargins(horizontalMargins);
  if (verticalMargins > 0) box->setVerticalMargins(verticalMargins);
  return box;
}

void Box::setAcceptFiles(bool accept) {
  acceptFiles_ = accept;
  applyAcceptFiles();
}

void Box::addDropListener(events::IEventListener* listener) {
  if (listener) dropListeners_.push_back(listener);
}

bool Box::hasDropListener(const events::IEventListener* listener) const {
  return std::find(dropListeners_.begin(), dropListeners_.end(), listener) != dropListeners_.end();
}

void Box::filesDropped(const std::vector<std::u16string>& paths) {
  droppedFiles_->clear();
  for (const std::u16string& path : paths) droppedFiles_->appendCopy(path);
  notify(dropListeners_, kEventFilesDropped);
}

void Box::setAcceptWebAddresses(bool accept) {
  acceptWebAddresses_ = accept;
  if (!getNativeWindow()) return;
  if (accept) {
    createWebTarget();
  } else {
    destroyWebTarget();
  }
}

void Box::addWebAddressListener(events::IEventListener* listener) {
  if (listener) webAddressListeners_.push_back(listener);
}

void Box::nativeWindowCreated() {
  BoxBase::nativeWindowCreated();
  applyAcceptFiles();
  if (acceptWebAddresses_) createWebTarget();
}

void Box::nativeWindowDestroying() { destroyWebTarget(); }

void Box::reset() {
  setAcceptWebAddresses(false);
  BoxBase::reset();
  acceptFiles_ = false;
  droppedFiles_->clear();
  dropListeners_.clear();
  droppedWebAddress_.clear();
  webAddressListeners_.clear();
}

}  // namespace s::gui::win
