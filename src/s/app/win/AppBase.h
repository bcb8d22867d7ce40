#pragma once
// AppBase: the program's application object. It owns what every window of the
// program shares: the save-data store, the language packs, the command line, the
// program icon set and the two pictures the skins use, and the executable's path.
//
// Start-up (initialize) opens everything in a fixed order: command line, executable
// path and resources, icon set (icon group 128), localizer (resource "IDR_XML" 130,
// selected by the system language), pictures ("IDR_JPG" 131 and 132), then the
// registry store, where it writes the software id and the version and selects the
// saved language. A resource that is missing leaves its part empty; start-up goes on.
//
// Another running copy of the program is found by its executable path; its window is
// the one whose caption is a prefix of the program's title in any language. Finding
// it signals it (message 1027: come to the front).
#include <cstdint>
#include <string>
#include <string_view>

#include "s/app/IAppBase.h"
#include "s/base/IObject.h"
#include "s/map/IMappedData.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Owned.h"
#include "s/thread/Pool.h"

namespace s::archive::dll::win {
class Archive;
}
namespace s::archive::icon {
class Archive;
}
namespace s::image::win {
class BufferedImage;
}
namespace s::lang {
class Localizer;
}
namespace s::process::commandline::win {
class CommandLine;
}

namespace s::app::win {

class AppBaseBases : public IAppBase, public base::IObject, public thread::IPoolable {};

class AppBase final : public thread::PooledObject<AppBase, AppBaseBases> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_app_win_AppBase";
  static constexpr int32_t kTextBase = 500000;
  static constexpr int32_t kVersionOffset = 10;
  static constexpr int32_t kSoftwarePageOffset = 3;
  static constexpr int32_t kSoftwareIdText = 300000;
  // The message a second start sends to the first one's window: come to the front.
  static constexpr unsigned kRestoreMessage = 0x400 + 3;
  // The optional second message (the window tells its listeners).
  static constexpr unsigned kSignalMessage = 0x400 + 7;
  // The longest wait for another instance to take input, in milliseconds.
  static constexpr unsigned kOtherInstanceWaitMs = 5000;

  AppBase();
  ~AppBase() override;
  void reset() override;

  // The start-up sequence above. store: the save data to use instead of the
  // registry's (tests); nullptr opens the registry store.
  void initialize(thread::Owned<map::IMappedData> store = {});

  const std::u16string& getModulePath() const { return modulePath_; }
  const std::u16string& getModuleFolder() const { return moduleFolder_; }
  process::commandline::win::CommandLine& getCommandLine() { return *commandLine_; }
  archive::icon::Archive* getIconSet() const { return iconSet_.get(); }
  int32_t getTextBase() const { return textBase_; }
  lang::Localizer& getLocalizer() { return *localizer_; }
  // The pictures (none when the program does not carry them).
  image::win::BufferedImage* getPicture131() const { return picture131_.get(); }
  image::win::BufferedImage* getPicture132() const { return picture132_.get(); }
  map::IMappedData& getSaveData() { return *store_; }
  void flushSaveData();

  // "Language" (empty value name); default: the current pack's English name.
  std::u16string_view getSavedLanguage() override;
  void setSavedLanguage(std::u16string_view englishName) override;
  // "Skin" (empty value name); default: the default skin name.
  std::u16string getSavedSkin();
  void setSavedSkin(std::u16string_view name);

  // Another copy of this executable runs: its window was found and signalled
  // (message 1027; with secondMessage also 1031). The wait for it to take input is
  // bounded; when no window of it answers to the title, false: this copy starts as
  // if alone. With usePacks the program's title in every language is tried.
  bool signalOtherInstance(bool check, bool secondMessage, bool usePacks);
  // The first signalled window of the other instance (0 when none), for handing it
  // files after signalOtherInstance found it.
  void* getOtherInstanceWindow() const { return otherWindow_; }

  // First start after an install that asked for it: the value "Silent" of the
  // program's registry key is true. It is then cleared and the software page opened.
  void checkFirstRun();

  // The program runs on a system it supports (Windows XP, Server 2003, Vista or later).
  static bool isSupportedSystem();

 private:
  // Platform parts (AppBase_win.cpp, AppBase_posix.cpp).
  void initializePlatform();
  void uninitializePlatform();
  std::u16string findModulePath();

  void loadPictures();

  int32_t textBase_ = kTextBase;
  thread::Owned<process::commandline::win::CommandLine> commandLine_;
  std::u16string modulePath_;
  std::u16string moduleFolder_;
  thread::Owned<archive::dll::win::Archive> resources_;
  thread::Owned<lang::Localizer> localizer_;
  thread::Owned<archive::icon::Archive> iconSet_;
  thread::Owned<image::win::BufferedImage> picture131_;
  thread::Owned<image::win::BufferedImage> picture132_;
  bool flushed_ = false;
  thread::Owned<map::IMappedData> store_;
  std::u16string defaultSkinName_;
  std::u16string scratch_;
  bool comReady_ = false;
  void* otherWindow_ = nullptr;
};

}  // namespace s::app::win
