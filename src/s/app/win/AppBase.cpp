#include "s/app/win/AppBase.h"

#include "s/archive/ProgramResourceIds.h"
#include "s/archive/ProgramResources.h"
#include "s/archive/dll/win/Archive.h"
#include "s/archive/icon/Archive.h"
#include "s/col/_array/ArrayU08.h"
#include "s/image/jpg/win/Jpeg.h"
#include "s/image/win/BufferedImage.h"
#include "s/lang/Localizer.h"
#include "s/map/IMappedData.h"
#include "s/app/SaveDataStore.h"
#include "s/process/commandline/win/CommandLine.h"

namespace s::app::win {

namespace {

constexpr char16_t kSoftwareIdKey[] = u"SoftwareID";
constexpr char16_t kVersionKey[] = u"Version";
constexpr char16_t kSkinKey[] = u"Skin";

// A JPEG picture of the program's resources, decoded; none when it is missing or
// cannot be read.
image::win::BufferedImage* decodePicture(uint16_t number) {
  thread::Owned<col::_array::ArrayU08> bytes(col::_array::ArrayU08::create());
  if (!archive::ProgramResources::instance().readResource(archive::program::kPictureType, number, bytes.get())) return nullptr;
  bytes->rewind();
  thread::Owned<image::jpg::win::Jpeg> jpeg(image::jpg::win::Jpeg::create());
  if (!jpeg->read(*bytes)) return nullptr;
  return jpeg->toBufferedImage(0, nullptr);
}

}  // namespace

AppBase::AppBase() { initializePlatform(); }

AppBase::~AppBase() {
  reset();
  uninitializePlatform();
}

void AppBase::reset() {
  if (store_ && !flushed_) store_->flush();
  store_.reset();
  commandLine_.reset();
  resources_.reset();
  localizer_.reset();
  iconSet_.reset();
  picture131_.reset();
  picture132_.reset();
  modulePath_.clear();
  moduleFolder_.clear();
  defaultSkinName_.clear();
  flushed_ = false;
  otherWindow_ = nullptr;
  textBase_ = kTextBase;
}

void AppBase::initialize(thread::Owned<map::IMappedData> store) {
  textBase_ = kTextBase;
  commandLine_.reset(process::commandline::win::CommandLine::create());
  commandLine_->parseProcess();

  modulePath_ = findModulePath();
  const size_t slash = modulePath_.find_last_of(u"\\/");
  moduleFolder_ = slash == std::u16string::npos ? std::u16string() : modulePath_.substr(0, slash);
  resources_.reset(archive::dll::win::Archive::create());
  iconSet_.reset(archive::icon::Archive::create());
  if (resources_->open(modulePath_)) iconSet_->loadIconGroup(*resources_, archive::program::kIconGroup);

  localizer_ = lang::Localizer::load(archive::ProgramResources::instance());
  loadPictures();

  store_ = store ? std::move(store) : app::SaveDataStore::open(localizer_->getText(kSoftwareIdText).empty()
                                                                  ? app::SaveDataStore::kSoftwareId
                                                                  : localizer_->getText(kSoftwareIdText));
  store_->setAutoFlush(false);
  const std::u16string softwareId(localizer_->getText(kSoftwareIdText));
  const std::u16string version(localizer_->getText(textBase_ + kVersionOffset));
  store_->setString(kSoftwareIdKey, u"", softwareId.c_str());
  store_->setString(kVersionKey, u"", version.c_str());
  localizer_->selectSaved(*store_);
  store_->setAutoFlush(true);
}

void AppBase::loadPictures() {
  picture131_.reset(decodePicture(archive::program::kWidePicture));
  picture132_.reset(decodePicture(archive::program::kTallPicture));
}

void AppBase::flushSaveData() {
  store_->flush();
  flushed_ = true;
}

std::u16string_view AppBase::getSavedLanguage() {
  const lang::LangPack* pack = localizer_->currentPack();
  const std::u16string fallback = pack ? std::u16string(pack->englishName().view()) : std::u16string();
  scratch_ = store_->getString(lang::Localizer::kLanguageKey, u"", fallback.c_str());
  return scratch_;
}

void AppBase::setSavedLanguage(std::u16string_view englishName) {
  const std::u16string name(englishName);
  store_->setString(lang::Localizer::kLanguageKey, u"", name.c_str());
}

std::u16string AppBase::getSavedSkin() { return store_->getString(kSkinKey, u"", defaultSkinName_.c_str()); }

void AppBase::setSavedSkin(std::u16string_view name) {
  const std::u16string text(name);
  store_->setString(kSkinKey, u"", text.c_str());
}

}  // namespace s::app::win
