#include "s/gui/dialogs/About3.h"

#include <string>

#include "s/file/Shell.h"
#include "s/gui/drawer/Skinner.h"
#include "s/gui/win/Box.h"
#include "s/gui/win/Button.h"
#include "s/gui/win/Label.h"
#include "s/gui/win/Spacer.h"
#include "s/gui/win/Window.h"
#include "s/lang/Localizer.h"

namespace s::gui::dialogs {

namespace {

using namespace s::gui::win;

constexpr int32_t kHeadingText = 400100;
constexpr int32_t kVersionLabel = 400010;
constexpr int32_t kUpdatedLabel = 400020;
constexpr int32_t kAddressLabel = 400080;
constexpr int32_t kCloseText = 400120;
constexpr int32_t kAddressText = 101000;
constexpr int32_t kVersionOffset = 10;
constexpr int32_t kUpdatedOffset = 20;

// A row: a label and its value.
Box* newLine(std::u16string_view label, IComponent* value) {
  Box* row = Box::newBox(100, -1, 0, 1, 6, 0, 0, 0, IBox::kRow);
  row->add(Label::newLabel(label));
  row->add(value);
  return row;
}

}  // namespace

About3::About3() = default;

About3::~About3() { reset(); }

void About3::reset() {
  window_.reset();
  skins_.reset();
  localizer_ = nullptr;
  link_ = nullptr;
  textBase_ = 0;
}

thread::Owned<About3> About3::newAbout(lang::Localizer& localizer, int32_t textBase) {
  thread::Owned<About3> about(create());
  about->localizer_ = &localizer;
  about->textBase_ = textBase;
  return about;
}

void About3::open() {
  // A closed window stays closed (a second close would destroy it): a closed About
  // window is made again.
  if (window_ && window_->isClosed()) window_.reset();
  if (!window_) {
    window_.reset(Window::create());
    if (!window_->hasPlatformWindow()) return;
    window_->invoke([this] { build(); });
  }
  window_->show(true, true);
}

void About3::build() {
  auto text = [this](int32_t id) { return std::u16string(localizer_->getText(id)); };
  skins_.reset(drawer::Skinner::newSkinner(drawer::Skinner::kFamilyThinWindow));
  int index = 0;
  if (skins_->findSkin(kDefaultSkin, &index)) window_->setSkin(skins_->getSkin(index));
  window_->setTitle(text(kHeadingText));
  window_->setResizable(false);
  window_->setMaximizeBox(false);
  window_->setMinimizeBox(false);
  window_->setTaskbarButton(false);
  const Rect area = window_->getWorkArea();
  window_->setPlacement({area.x + (area.width - kWidth) / 2, area.y + (area.height - kHeight) / 2, kWidth, kHeight});

  Box* content = Box::newBox(100, 100, 0, 0, 0, 6, 16, 12, IBox::kColumn);
  content->add(Label::newLabel(text(textBase_)));
  content->add(Label::newLabel(text(kHeadingText)));
  content->add(Spacer::newSpacer(true, 8));
  content->add(newLine(text(kVersionLabel), Label::newLabel(text(textBase_ + kVersionOffset))));
  content->add(newLine(text(kUpdatedLabel), Label::newLabel(text(textBase_ + kUpdatedOffset))));
  link_ = Label::newLabel(text(kAddressText));
  link_->setLinkMode(true);
  link_->addListener(this);
  content->add(newLine(text(kAddressLabel), link_));

  Box* buttons = Box::newBox(100, 100, 2, 2, 0, 0, 0, 0, IBox::kRow);
  Button* close = Button::create();
  close->setText(text(kCloseText));
  close->setFixedWidth(80, false);
  buttons->add(close);
  content->add(buttons);
  window_->addClosingSource(close);
  close->addListener(window_.get());
  window_->add(content);
  window_->layout();
}

void About3::onEvent(base::IObject* source, int) {
  if (source == static_cast<base::IObject*>(link_)) file::Shell::open(link_->getText());
}

}  // namespace s::gui::dialogs
