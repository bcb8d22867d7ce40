// The drop-box dialog: its events, menus, language changes and progress display.
#include <algorithm>

#include "s/app/win/AppWindow.h"
#include "s/file/Shell.h"
#include "s/gui/dialogs/About3.h"
#include "s/gui/dialogs/dragndrop/Dialog.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/Button.h"
#include "s/gui/win/CheckBox.h"
#include "s/gui/win/ComboBox.h"
#include "s/gui/win/GroupBox.h"
#include "s/gui/win/Label.h"
#include "s/gui/win/MenuEx.h"
#include "s/gui/win/ProgressBar.h"
#include "s/gui/win/Window.h"
#include "s/thread/JobEvent.h"
#include "s/app/SavedValues.h"
#include "s/lang/StatusTexts.h"
#include "s/lang/Localizer.h"
#include "s/str/strarray/StrArray.h"

namespace s::gui::dialogs::dragndrop {

namespace {

using thread::JobEvent;
using app::SavedValues;
using lang::StatusTexts;
using namespace s::gui::win;

constexpr int32_t kMakerAddressText = 101000;
constexpr int32_t kTranslateAddressText = 108500;
constexpr int32_t kMoreSoftwareAddressText = 108000;
constexpr int32_t kSoftwarePageOffset = 3;
constexpr int32_t kTellDevelopersOffset = 4;
// The progress bar takes ranges and positions of 24 bits.
constexpr int64_t kProgressLimit = 0xFFFFFF;

std::vector<std::u16string> pathsOf(const str::strarray::StrArray& list) {
  std::vector<std::u16string> paths;
  for (size_t i = 0; i < list.count(); ++i) paths.emplace_back(list.textAt(i)->view());
  return paths;
}

bool is(base::IObject* source, const void* component) { return static_cast<const void*>(source) == component; }

}  // namespace

void Dialog::onEvent(base::IObject* source, int eventType) {
  if (is(source, static_cast<base::IObject*>(window_.get()))) {
    if (eventType == Window::kEventCloseRequested) {
      storeSize(compact_);
      if (isJobRunning()) {
        cancelJob();
        showStatus(text(StatusTexts::kCanceling));
      }
    } else if (eventType == Window::kEventRecordRelayed) {
      relayedRecord();
    } else if (eventType == Window::kEventRightButtonDown) {
      if (isViewSwitchingEnabled() && rightClick_) switchView();
    }
  } else if (is(source, static_cast<base::IObject*>(localizer_))) {
    languageChanged();
  } else if (is(source, static_cast<base::IObject*>(main_)) && eventType == Box::kEventFilesDropped) {
    takeDrop(pathsOf(main_->getDroppedFiles()));
  } else if (is(source, static_cast<base::IObject*>(dropBox_))) {
    takeDrop(pathsOf(dropBox_->getDroppedFiles()));
  } else if (is(source, static_cast<base::IObject*>(keepOnTop_))) {
    window_->setKeepOnTop(keepOnTop_->isChecked());
    menu_->setChecked(kCommandKeepOnTop, keepOnTop_->isChecked());
  } else if (is(source, static_cast<base::IObject*>(choiceList_))) {
    choiceChanged();
  } else if (is(source, static_cast<base::IObject*>(viewButton_))) {
    switchView();
  } else if (is(source, static_cast<base::IObject*>(cancelButton_))) {
    if (isJobRunning()) {
      cancelJob();
      showStatus(text(StatusTexts::kCanceling));
    }
  } else if (is(source, static_cast<base::IObject*>(makerLink_))) {
    openAddress(kMakerAddressText);
  } else if (is(source, static_cast<base::IObject*>(menu_.get()))) {
    menuCommand(menu_->getCommand());
  }
}

void Dialog::takeDrop(const std::vector<std::u16string>& paths) {
  // A drop while a job runs is ignored, as is an empty one.
  if (paths.empty() || isJobRunning()) return;
  startJob(paths);
}

void Dialog::choiceChanged() {
  const int selected = choiceList_->getSelected();
  for (int i = 0; i < pages_->getChildCount(); ++i) pages_->getChild(i)->setVisible(i == selected, true);
  window_->layout();
  window_->redraw();
  if (selected >= 0) SavedValues::writeText(store(), SavedValues::kConvertTo, choiceList_->getItemText(selected));
}

void Dialog::menuCommand(int command) {
  switch (command) {
    case kCommandKeepOnTop: {
      const bool onTop = !menu_->isChecked(kCommandKeepOnTop);
      menu_->setChecked(kCommandKeepOnTop, onTop);
      keepOnTop_->setChecked(onTop);
      window_->setKeepOnTop(onTop);
      break;
    }
    case kCommandRightClickTransform:
      rightClick_ = !rightClick_;
      menu_->setChecked(kCommandRightClickTransform, rightClick_);
      SavedValues::writeFlag(store(), SavedValues::kRightClickTransform, rightClick_);
      break;
    case kCommandEasyDrag: {
      const bool easyDrag = !menu_->isChecked(kCommandEasyDrag);
      menu_->setChecked(kCommandEasyDrag, easyDrag);
      window_->setEasyDrag(easyDrag);
      break;
    }
    case kCommandCloseByWheelClick: {
      const bool close = !menu_->isChecked(kCommandCloseByWheelClick);
      menu_->setChecked(kCommandCloseByWheelClick, close);
      window_->setMiddleClickAction(close ? Window::MiddleClick::kClose : Window::MiddleClick::kDoNothing);
      break;
    }
    case kCommandTranslate:
      openAddress(kTranslateAddressText);
      break;
    case kCommandVersionInformation:
      if (!about_) about_ = About3::newAbout(*localizer_, record_->getTextBase());
      about_->open();
      break;
    case kCommandSoftwarePage:
      openAddress(record_->getTextBase() + kSoftwarePageOffset);
      break;
    case kCommandTellDevelopers:
      openAddress(record_->getTextBase() + kTellDevelopersOffset);
      break;
    case kCommandMoreSoftware:
      openAddress(kMoreSoftwareAddressText);
      break;
    default:
      if (command >= kCommandFirstLanguage &&
          static_cast<size_t>(command - kCommandFirstLanguage) < localizer_->packCount()) {
        // The localizer tells its listeners: the window (its title, the saved
        // language) and this dialog (every text, the menus).
        localizer_->selectLanguageAt(static_cast<size_t>(command - kCommandFirstLanguage));
      }
      break;
  }
}

void Dialog::languageChanged() {
  buildMenu();
  applyTexts();
  window_->layout();
  // Longer texts may need a larger window.
  window_->ensureMinimumSize();
  window_->layout();
  window_->redraw();
}

void Dialog::openAddress(int32_t textId) {
  const std::u16string address = text(textId);
  if (!address.empty()) file::Shell::open(address);
}

void Dialog::showStatus(std::u16string_view status) { statusLabel_->setText(status); }

// --- Progress display ----------------------------------------------------------------

void Dialog::relayedRecord() {
  thread::RelayRecord record;
  for (int i = 0; i < 4; ++i) record.values[i] = window_->getRelayValue(i + 1);
  const JobEvent event = JobEvent::fromRecord(record);
  if (event.is(thread::kProcessStatusStart)) {
    jobStarted();
  } else if (event.is(thread::kProcessStatusUpdate)) {
    jobProgress(event.first, event.second, event.textView());
  } else if (event.is(thread::kProcessStatusEnd)) {
    if (event.first == thread::kEndFailed && !event.textView().empty()) window_->showError(event.textView());
    jobEnded();
  }
}

void Dialog::jobStarted() {
  linkGroup_->setFixedWidth(0, true);
  progressGroup_->setFixedWidth(-1, true);
  progressBar_->setRange(0, 1000);
  progressBar_->setPosition(0);
  window_->layout();
}

void Dialog::jobProgress(uint32_t total, uint32_t index, std::u16string_view name) {
  if (isJobCancelling()) return;
  int64_t steps = total;
  int64_t at = index;
  while (steps > 32767) {
    steps >>= 1;
    at >>= 1;
  }
  if (steps + 1 <= kProgressLimit) {
    progressBar_->setRange(0, static_cast<int>(steps + 1));
    progressBar_->setPosition(static_cast<int>(at + 1));
  }
  showStatus(name);
}

void Dialog::jobEnded() {
  progressBar_->setRange(0, 1);
  progressBar_->setPosition(1);
  secondaryLabel_->setText(u"");
  showStatus(text(StatusTexts::kDone));
  progressGroup_->setFixedWidth(0, true);
  linkGroup_->setFixedWidth(-1, true);
  showStatus(text(StatusTexts::kReady));
  window_->layout();
  finishJob();
}

}  // namespace s::gui::dialogs::dragndrop
