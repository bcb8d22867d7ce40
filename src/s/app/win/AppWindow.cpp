#include "s/app/win/AppWindow.h"

#include "s/app/win/AppBase.h"
#include "s/lang/Localizer.h"
#include "s/map/IMappedData.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::app::win {

namespace {

constexpr char16_t kDoNothing[] = u"DoNothing";
constexpr char16_t kIconize[] = u"Iconize";
constexpr char16_t kClose[] = u"Close";

bool sameIgnoringCase(std::u16string_view a, std::u16string_view b) {
  return str::strbuffer::StrBuffer(a).equalsIgnoreCase(b);
}

}  // namespace

void AppWindow::reset() {
  app_ = nullptr;
  store_ = nullptr;
  name_.clear();
  textBase_ = 0;
  defaultWidth_ = defaultHeight_ = 500;
  defaultEasyDrag_ = true;
  defaultMaximized_ = false;
  defaultKeepOnTop_ = false;
  middleClick_ = kClose;
}

void AppWindow::setUp(AppBase* app, std::u16string_view name, int32_t textBase, int defaultWidth, int defaultHeight,
                      std::u16string_view middleClickAction, map::IMappedData* store) {
  app_ = app;
  store_ = store ? store : &app->getSaveData();
  name_ = name;
  textBase_ = textBase;
  defaultWidth_ = defaultWidth;
  defaultHeight_ = defaultHeight;
  defaultEasyDrag_ = true;
  defaultMaximized_ = false;
  defaultKeepOnTop_ = true;
  middleClick_ = middleClickAction;

  const bool autoFlush = store_->isAutoFlush();
  store_->setAutoFlush(false);
  if (app_) {
    const std::u16string softwareId(app_->getLocalizer().getText(AppBase::kSoftwareIdText));
    const std::u16string version(app_->getLocalizer().getText(textBase_ + AppBase::kVersionOffset));
    store_->setString(sectionKey(u"SoftwareID"), u"", softwareId.c_str());
    store_->setString(sectionKey(u"Version"), u"", version.c_str());
  }
  middleClick_ = getMiddleClickAction();
  store_->setAutoFlush(autoFlush);
}

IAppBase* AppWindow::getApp() { return app_; }

const char16_t* AppWindow::sectionKey(std::u16string_view section) {
  key_ = name_;
  key_ += u"\\";
  key_ += section;
  return key_.c_str();
}

lang::Localizer* AppWindow::getLocalizer() { return app_ ? &app_->getLocalizer() : nullptr; }

int AppWindow::readS32(const char16_t* name, int defaultValue) { return store_->getS32(view(), name, defaultValue); }
bool AppWindow::readFlag(const char16_t* name, bool defaultValue) {
  return store_->getBool(view(), name, defaultValue);
}
void AppWindow::writeS32(const char16_t* name, int value) { store_->setS32(view(), name, value); }
void AppWindow::writeFlag(const char16_t* name, bool value) { store_->setBool(view(), name, value); }

bool AppWindow::hasPosition() { return hasX() && hasY(); }

void AppWindow::setPlacement(int x, int y, int width, int height) {
  const bool autoFlush = store_->isAutoFlush();
  store_->setAutoFlush(false);
  setX(x);
  setY(y);
  setWidth(width);
  setHeight(height);
  store_->setAutoFlush(autoFlush);
}

void AppWindow::setSize(int width, int height) {
  setWidth(width);
  setHeight(height);
}

void AppWindow::forgetPlacement() {
  for (const char16_t* name : {u"X", u"Y", u"Width", u"Height"}) store_->deleteValue(view(), name);
}

bool AppWindow::hasX() { return store_->hasValue(view(), u"X"); }
int AppWindow::getX() { return readS32(u"X", 0); }
void AppWindow::setX(int x) { writeS32(u"X", x); }
bool AppWindow::hasY() { return store_->hasValue(view(), u"Y"); }
int AppWindow::getY() { return readS32(u"Y", 0); }
void AppWindow::setY(int y) { writeS32(u"Y", y); }

bool AppWindow::isWidthValid() {
  const int width = getWidth();
  return width >= 10 && width <= virtualScreenWidth();
}
bool AppWindow::hasWidth() { return store_->hasValue(view(), u"Width"); }
int AppWindow::getWidth() { return readS32(u"Width", defaultWidth_); }
void AppWindow::setWidth(int width) { writeS32(u"Width", width); }

bool AppWindow::isHeightValid() {
  const int height = getHeight();
  return height >= 10 && height <= virtualScreenHeight();
}
bool AppWindow::hasHeight() { return store_->hasValue(view(), u"Height"); }
int AppWindow::getHeight() { return readS32(u"Height", defaultHeight_); }
void AppWindow::setHeight(int height) { writeS32(u"Height", height); }

bool AppWindow::getEasyDrag() { return readFlag(u"EasyDrag", defaultEasyDrag_); }
void AppWindow::setEasyDrag(bool easyDrag) { writeFlag(u"EasyDrag", easyDrag); }
bool AppWindow::getMaximized() { return readFlag(u"Maximized", defaultMaximized_); }
void AppWindow::setMaximized(bool maximized) { writeFlag(u"Maximized", maximized); }
bool AppWindow::getKeepOnTop() { return readFlag(u"KeepOnTop", defaultKeepOnTop_); }
void AppWindow::setKeepOnTop(bool keepOnTop) { writeFlag(u"KeepOnTop", keepOnTop); }

bool AppWindow::isMiddleClickClose() { return getMiddleClickAction() == kClose; }
bool AppWindow::isMiddleClickIconize() { return getMiddleClickAction() == kIconize; }

std::u16string_view AppWindow::getMiddleClickAction() {
  const str::strbuffer::StrBuffer stored(store_->getString(view(), u"OnMClick", middleClick_.c_str()));
  if (stored.equalsIgnoreCase(kIconize)) return kIconize;
  if (stored.equalsIgnoreCase(kClose)) return kClose;
  return kDoNothing;
}

void AppWindow::setMiddleClickAction(std::u16string_view action) {
  if (sameIgnoringCase(action, getMiddleClickAction()) && store_->hasValue(view(), u"OnMClick")) return;
  middleClick_ = action;
  store_->setString(view(), u"OnMClick", middleClick_.c_str());
}

}  // namespace s::app::win
