// The drop-box dialog: building the window and switching its views.
#include "s/gui/dialogs/dragndrop/Dialog.h"

#include "s/app/win/AppWindow.h"
#include "s/gui/dialogs/About3.h"
#include "s/gui/drawer/border/win/Plain.h"
#include "s/gui/drawer/border/win/UnderWindowMenu.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/Button.h"
#include "s/gui/win/CheckBox.h"
#include "s/gui/win/ComboBox.h"
#include "s/gui/win/GroupBox.h"
#include "s/gui/win/Label.h"
#include "s/gui/win/MenuEx.h"
#include "s/gui/win/ProgressBar.h"
#include "s/gui/win/Spacer.h"
#include "s/gui/win/StatusBar.h"
#include "s/gui/win/Window.h"
#include "s/app/SavedValues.h"
#include "s/lang/StatusTexts.h"
#include "s/lang/Localizer.h"
#include "s/map/IMappedData.h"

namespace s::gui::dialogs::dragndrop {

namespace {

using app::SavedValues;
using lang::StatusTexts;
using namespace s::gui::win;

// Text ids of the window's parts.
constexpr int32_t kKeepOnTopText = 1000000;
constexpr int32_t kDropBoxText = 1001000;
constexpr int32_t kDropHintText = 1002000;
constexpr int32_t kFormatHintText = 1003000;
constexpr int32_t kCreateText = 1004000;
constexpr int32_t kAdvancedText = 1005000;
constexpr int32_t kMinimizeText = 1006000;
constexpr int32_t kCancelText = 1006050;
constexpr int32_t kVersionTextOffset = 10;

constexpr drawer::Rgb kFrameGrey{145, 155, 156};
constexpr drawer::Rgb kHintGrey{119, 119, 119};
constexpr drawer::Rgb kLinkGrey{51, 51, 51};
constexpr drawer::Rgb kLinkBlue{0, 0, 238};
constexpr drawer::Rgb kWhite{255, 255, 255};

// Layout values: alignment 0 left/top, 1 centre, 2 right/bottom; -1 leaves a percent unset.
constexpr int kLeft = 0, kCentre = 1, kRight = 2;
constexpr int kTop = 0, kMiddle = 1;

}  // namespace

Dialog::Dialog() = default;

Dialog::~Dialog() = default;

void Dialog::reset() {
  // A job still running finishes first: its page is written before the dialog goes.
  if (window_) {
    cancelJob();
    waitForJob();
    removeCopyDataReceiver();
  }
  if (localizer_) localizer_->removeListener(this);
  about_.reset();
  window_.reset();
  menu_.reset();
  oldMenu_.reset();
  record_ = nullptr;
  localizer_ = nullptr;
  compact_ = true;
  rightClick_ = true;
}

void Dialog::bind(app::win::AppWindow* record) {
  record_ = record;
  localizer_ = record->getLocalizer();
}

std::u16string Dialog::text(int32_t id) const { return std::u16string(localizer_->getText(id)); }

map::IMappedData& Dialog::store() const { return record_->getStore(); }

void Dialog::buildAndRun(const std::vector<std::u16string>& files) {
  window_.reset(Window::create());
  if (!window_->hasPlatformWindow()) return;
  windowCreated();
  window_->invoke([this] { build(); });
  window_->show(true, true);
  // Parts whose native windows came with the first showing take their texts now; and
  // the view's size again, since showing may restore the window to an earlier one.
  window_->invoke([this] {
    applyTexts();
    applyViewSize();
    window_->layout();
  });
  installCopyDataReceiver();
  if (!files.empty()) window_->invoke([&] { takeDrop(files); });
  window_->waitUntilClosed();
  // The window is closed: a job still running ends with its page (reset waits), and
  // its last events still reach the window's thread, which runs until released.
  cancelJob();
  waitForJob();
}

void Dialog::build() {
  rightClick_ = SavedValues::readFlag(store(), SavedValues::kRightClickTransform);
  window_->setWindowRecord(record_);
  window_->setLocalizer(localizer_, record_->getTextBase(), record_->getTextBase() + kVersionTextOffset);
  if (void* icon = loadProgramIcon()) window_->setIcon(icon);
  localizer_->addListener(this);
  window_->addEventListener(Window::kEventCloseRequested, this);
  window_->addEventListener(Window::kEventRecordRelayed, this);
  window_->addEventListener(Window::kEventRightButtonDown, this);

  buildMenu();

  strip_ = Box::newBox(100, -1, kLeft, kTop, 0, 0, 0, 0, IBox::kColumn);
  strip_->setFixedHeight(7, false);
  strip_->setBorder(drawer::border::win::UnderWindowMenu::create());

  main_ = Box::newBox(100, 100, kLeft, kTop, 10, 7, 8, 0, IBox::kColumn);
  main_->setAcceptFiles(true);
  main_->addDropListener(this);
  main_->add(buildDropArea());
  main_->add(buildControls());
  if (!isDropAreaShown()) {
    dropArea_->setFixedWidth(0, false);
    dropArea_->setFixedHeight(0, false);
  }

  window_->add(strip_);
  window_->add(main_);
  window_->add(Spacer::newSpacer(true, 3));
  window_->add(buildStatusBar());
  applyTexts();

  // The stored "Create:" entry and its page.
  const std::u16string stored = SavedValues::readText(store(), SavedValues::kConvertTo);
  int chosen = defaultChoiceIndex();
  for (int i = 0; i < choiceList_->getItemCount(); ++i) {
    if (str::strbuffer::StrBuffer(choiceList_->getItemText(i)).equalsIgnoreCase(stored)) {
      chosen = i;
      break;
    }
  }
  if (choiceList_->getItemCount() > 0) choiceList_->setSelected(chosen);
  for (int i = 0; i < pages_->getChildCount(); ++i) pages_->getChild(i)->setVisible(i == chosen, true);

  if (SavedValues::readFlag(store(), SavedValues::kCompactView) || !isViewSwitchingEnabled()) {
    enterCompact(false);
  } else {
    enterExpanded(false);
  }
}

void Dialog::buildMenu() {
  // A new bar each time the language changes; the one shown keeps working until the
  // window has the new one.
  oldMenu_ = std::move(menu_);
  menu_.reset(MenuEx::create());
  MenuEx* view = menu_->addSubMenu(text(609000));
  view->addItem(kCommandKeepOnTop, text(609100));
  view->setChecked(kCommandKeepOnTop, window_->isKeepOnTop());
  if (isViewSwitchingEnabled()) {
    view->addItem(kCommandRightClickTransform, text(609200));
    view->setChecked(kCommandRightClickTransform, rightClick_);
  }
  view->addItem(kCommandEasyDrag, text(609300));
  view->setChecked(kCommandEasyDrag, window_->isEasyDrag());
  view->addItem(kCommandCloseByWheelClick, text(609350));
  view->setChecked(kCommandCloseByWheelClick, window_->getMiddleClickAction() == Window::MiddleClick::kClose);

  MenuEx* languages = menu_->addSubMenu(text(700000));
  languages->addItem(kCommandTranslate, text(700001));
  languages->addSeparator();
  const lang::LangPack* current = localizer_->currentPack();
  for (size_t i = 0; i < localizer_->packCount(); ++i) {
    const lang::LangPack* pack = localizer_->packAt(i);
    const int id = kCommandFirstLanguage + static_cast<int>(i);
    languages->addItem(id, pack->trueName().view());
    languages->setChecked(id, pack == current);
  }

  MenuEx* about = menu_->addSubMenu(text(701000));
  about->addItem(kCommandVersionInformation, text(701100));
  about->addSeparator();
  about->addItem(kCommandSoftwarePage, text(701200));
  about->addItem(kCommandTellDevelopers, text(701300));
  about->addSeparator();
  about->addItem(kCommandMoreSoftware, text(107000));

  menu_->addListener(this);
  window_->setMenuBar(menu_.get());
}

Box* Dialog::buildDropArea() {
  dropArea_ = Box::newBox(100, 100, kRight, kTop, 0, 0, 0, 0, IBox::kColumn);
  checkColumn_ = Box::newBox(-1, -1, kLeft, kMiddle, 0, 0, 0, 0, IBox::kColumn);
  upperSpacer_ = Spacer::newSpacer(true, 0);
  lowerSpacer_ = Spacer::newSpacer(true, 0);
  keepOnTop_ = CheckBox::create();
  keepOnTop_->setChecked(window_->isKeepOnTop());
  keepOnTop_->addListener(this);
  checkColumn_->add(upperSpacer_);
  checkColumn_->add(keepOnTop_);
  checkColumn_->add(lowerSpacer_);

  dropBox_ = GroupBox::create();
  dropBox_->fillParent();
  dropBox_->setFrameColour(kFrameGrey);
  dropBox_->setAcceptFiles(true);
  dropBox_->addDropListener(this);
  dropContent_ = Box::newBox(-1, -1, kCentre, kMiddle, 0, 0, 10, 0, IBox::kColumn);
  topLine_ = Box::newBox(100, -1, kLeft, kMiddle, 0, 0, 0, 0, IBox::kColumn);
  topLine_->add(Label::newLabel());
  dropHint_ = Label::newLabel();
  dropHint_->setTextColour(kHintGrey);
  formatHint_ = Label::newLabel();
  formatHint_->setTextColour(kHintGrey);
  dropContent_->add(topLine_);
  dropContent_->add(dropHint_);
  dropContent_->add(Label::newLabel());
  dropContent_->add(formatHint_);
  dropContent_->add(Label::newLabel());
  dropBox_->setContent(dropContent_);

  dropArea_->add(checkColumn_);
  dropArea_->add(dropBox_);
  return dropArea_;
}

Box* Dialog::buildControls() {
  controls_ = Box::newBox(100, -1, kLeft, kMiddle, 0, 4, 0, 0, IBox::kColumn);
  choiceRow_ = Box::newBox(100, -1, kLeft, kMiddle, 0, 0, 0, 0, IBox::kRow);
  createLabel_ = Label::newLabel();
  choiceList_ = ComboBox::create();
  fillChoices(*choiceList_);
  choiceList_->addListener(this);
  choiceRow_->add(createLabel_);
  choiceRow_->add(choiceList_);
  if (!isChoiceRowShown()) choiceRow_->setFixedHeight(0, false);

  pages_ = Box::newBox(-1, -1, kLeft, kTop, 0, 0, 0, 0, IBox::kPile);
  auto* border = drawer::border::win::Plain::create();
  border->setColour(kFrameGrey);
  pages_->setBorder(border);
  pages_->setBackgroundColour(drawer::toColour(kWhite));
  buildOptionsPages(*pages_);

  Box* buttonRow = Box::newBox(100, -1, kLeft, kTop, 0, 0, 0, 0, IBox::kRow);
  viewButton_ = Button::create();
  viewButton_->setWidthPercent(100, false);
  viewButton_->addListener(this);
  buttonRow->add(viewButton_);

  controls_->add(choiceRow_);
  controls_->add(pages_);
  controls_->add(buttonRow);
  return controls_;
}

IComponent* Dialog::buildStatusBar() {
  StatusBar* bar = StatusBar::create();
  Box* texts = Box::newBox(100, 100, kLeft, kMiddle, 0, 0, 2, 0, IBox::kRow);
  statusLabel_ = Label::newLabel();
  secondaryLabel_ = Label::newLabel();
  texts->add(statusLabel_);
  texts->add(secondaryLabel_);

  linkGroup_ = Box::newBox(-1, 100, kLeft, kMiddle, 0, 0, 3, 0, IBox::kRow);
  makerLink_ = Label::newLabel(u"tarn");
  makerLink_->setTextColour(kLinkGrey);
  makerLink_->setLinkMode(true, kLinkBlue);
  makerLink_->addListener(this);
  linkGroup_->add(makerLink_);

  progressGroup_ = Box::newBox(-1, 100, kLeft, kMiddle, 0, 0, 2, 0, IBox::kRow);
  progressBar_ = ProgressBar::create();
  cancelButton_ = Button::create();
  cancelButton_->setFixedHeight(18, false);
  if (cancelButtonWidth() >= 0) cancelButton_->setFixedWidth(cancelButtonWidth(), false);
  cancelButton_->addListener(this);
  progressGroup_->add(progressBar_);
  progressGroup_->add(Spacer::newSpacer(false, progressSpacerWidth()));
  progressGroup_->add(cancelButton_);
  progressGroup_->setFixedWidth(0, false);

  bar->add(texts);
  bar->add(linkGroup_);
  bar->add(progressGroup_);
  statusLabel_->setText(text(StatusTexts::kReady));
  return bar;
}

// Every text of the window's parts, in the current language.
void Dialog::applyTexts() {
  keepOnTop_->setText(text(kKeepOnTopText));
  dropBox_->setTitle(text(kDropBoxText));
  dropHint_->setText(text(kDropHintText));
  formatHint_->setText(text(kFormatHintText));
  createLabel_->setText(text(kCreateText));
  viewButton_->setText(text(compact_ ? kAdvancedText : kMinimizeText));
  cancelButton_->setText(text(kCancelText));
  if (!isJobRunning()) statusLabel_->setText(text(StatusTexts::kReady));
  retextChoices(*choiceList_, *pages_);
}

void Dialog::layOutAtViewSize() {
  // The window's minimum size follows the layout, and a layout of the other view's
  // parts leaves minimum sizes of that view behind: the view's size is applied once
  // the parts have their sizes for this view, and the parts laid out in it again.
  window_->layout();
  window_->layout();
  applyViewSize();
  window_->layout();
}

void Dialog::applyViewSize() {
  const auto& widthValue = compact_ ? SavedValues::kSmallWidth : SavedValues::kLargeWidth;
  const auto& heightValue = compact_ ? SavedValues::kSmallHeight : SavedValues::kLargeHeight;
  Rect placement = window_->getPlacement();
  placement.width = store().getS32(widthValue.keyPath, widthValue.name, compact_ ? compactWidth() : expandedWidth());
  placement.height =
      store().getS32(heightValue.keyPath, heightValue.name, compact_ ? compactHeight() : expandedHeight());
  window_->setPlacement(placement);
}

void Dialog::storeSize(bool compact) {
  const Rect placement = window_->getPlacement();
  SavedValues::writeNumber(store(), compact ? SavedValues::kSmallWidth : SavedValues::kLargeWidth, placement.width);
  SavedValues::writeNumber(store(), compact ? SavedValues::kSmallHeight : SavedValues::kLargeHeight, placement.height);
}

void Dialog::enterCompact(bool storeCurrentSize) {
  if (storeCurrentSize) storeSize(false);
  upperSpacer_->setFixedHeight(0, true);
  lowerSpacer_->setFixedHeight(0, true);
  dropArea_->setMinWidthOverride(-1);
  dropArea_->setWidthPercent(100, true);
  dropArea_->alignRight();
  dropContent_->alignCenter();
  main_->useColumn();
  controls_->setHeightPercent(-1, true);
  pages_->setWidthPercent(-1, false);
  pages_->setHeightPercent(-1, false);
  pages_->setFixedWidth(0, true);
  pages_->setFixedHeight(0, true);
  topLine_->setFixedHeight(-1, true);
  topLine_->setFixedWidth(-1, true);
  topLine_->setWidthPercent(100, true);
  viewButton_->setText(text(kAdvancedText));
  compact_ = true;
  SavedValues::writeFlag(store(), SavedValues::kCompactView, true);
  layOutAtViewSize();
}

void Dialog::enterExpanded(bool storeCurrentSize) {
  if (storeCurrentSize) storeSize(true);
  dropArea_->setWidthPercent(-1, true);
  dropArea_->setMinWidthOverride(dropAreaWidth());
  upperSpacer_->setFixedHeight(5, true);
  lowerSpacer_->setFixedHeight(9, true);
  dropArea_->alignCenter();
  dropContent_->alignLeft();
  main_->useRow();
  controls_->setHeightPercent(100, true);
  pages_->setFixedWidth(-1, false);
  pages_->setFixedHeight(-1, false);
  pages_->setWidthPercent(100, true);
  pages_->setHeightPercent(100, true);
  topLine_->setFixedHeight(0, true);
  topLine_->setFixedWidth(0, true);
  viewButton_->setText(text(kMinimizeText));
  compact_ = false;
  SavedValues::writeFlag(store(), SavedValues::kCompactView, false);
  layOutAtViewSize();
}

void Dialog::switchView() {
  if (!isViewSwitchingEnabled()) return;
  window_->show(false, false);
  if (compact_) {
    enterExpanded(true);
  } else {
    enterCompact(true);
  }
  window_->show(true, true);
}

}  // namespace s::gui::dialogs::dragndrop
