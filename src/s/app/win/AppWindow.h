#pragma once
// AppWindow: the application's record of one named window ("MainWindow" in this
// program). It keeps the window's placement and behaviour between starts in the
// save data, below the window's name, section "View":
//
//   X, Y, Width, Height     the outer rectangle (signed 32-bit; sizes default to the
//                           record's default size)
//   EasyDrag, Maximized,    flags (defaults true, false, true as the program sets
//   KeepOnTop               them up)
//   OnMClick                "DoNothing", "Iconize" or "Close" (letter case ignored
//                           when read)
//
// and, below the window's name itself, "SoftwareID" and "Version" (written by setUp).
#include <cstdint>
#include <string>
#include <string_view>

#include "s/app/IAppWindow.h"
#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Pool.h"

namespace s::lang {
class Localizer;
}
namespace s::map {
class IMappedData;
}

namespace s::app::win {

class AppBase;

class AppWindowBases : public IAppWindow, public base::IObject, public thread::IPoolable {};

class AppWindow final : public thread::PooledObject<AppWindow, AppWindowBases> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_app_win_AppWindow";
  static constexpr char16_t kViewSection[] = u"View";

  AppWindow() { reset(); }
  // Defaults of a record from the pool: 500 × 500, easy drag on, not maximised, not
  // kept on top, a middle click closes.
  void reset() override;

  // Binds the record to the application and the store and writes the window's
  // "SoftwareID" and "Version". store: the application's store when nullptr.
  void setUp(AppBase* app, std::u16string_view name, int32_t textBase, int defaultWidth, int defaultHeight,
             std::u16string_view middleClickAction, map::IMappedData* store = nullptr);

  IAppBase* getApp() override;
  AppBase* getAppBase() const { return app_; }
  std::u16string_view getName() const { return name_; }
  // name + "\\" + section; valid until the next call.
  const char16_t* sectionKey(std::u16string_view section);
  int32_t getTextBase() const { return textBase_; }
  lang::Localizer* getLocalizer();
  map::IMappedData& getStore() { return *store_; }

  bool hasPosition() override;
  void setPlacement(int x, int y, int width, int height) override;
  void setSize(int width, int height);
  void forgetPlacement();
  bool hasX();
  int getX() override;
  void setX(int x);
  bool hasY();
  int getY() override;
  void setY(int y);
  bool isWidthValid() override;
  bool hasWidth();
  int getWidth() override;
  void setWidth(int width);
  bool isHeightValid() override;
  bool hasHeight();
  int getHeight() override;
  void setHeight(int height);

  bool getEasyDrag() override;
  void setEasyDrag(bool easyDrag) override;
  bool getMaximized() override;
  void setMaximized(bool maximized) override;
  bool getKeepOnTop() override;
  void setKeepOnTop(bool keepOnTop) override;
  bool isMiddleClickClose();
  bool isMiddleClickIconize();
  std::u16string_view getMiddleClickAction() override;
  void setMiddleClickAction(std::u16string_view action) override;

  // The virtual screen's size (all monitors); the platform's part.
  static int virtualScreenWidth();
  static int virtualScreenHeight();

 private:
  int readS32(const char16_t* name, int defaultValue);
  bool readFlag(const char16_t* name, bool defaultValue);
  void writeS32(const char16_t* name, int value);
  void writeFlag(const char16_t* name, bool value);
  const char16_t* view() { return sectionKey(kViewSection); }

  std::u16string key_;  // scratch for sectionKey
  AppBase* app_ = nullptr;
  map::IMappedData* store_ = nullptr;
  std::u16string name_;
  int32_t textBase_ = 0;
  int defaultWidth_ = 500;
  int defaultHeight_ = 500;
  bool defaultEasyDrag_ = true;
  bool defaultMaximized_ = false;
  bool defaultKeepOnTop_ = false;
  std::u16string middleClick_;
};

}  // namespace s::app::win
