#pragma once
// About3: the program's "Version Information" window ("AboutWindow", 340 × 285, skin
// "Classic LG"): the product name and a heading, the version and the date of the last
// update, the web address as a link, and a Close button. It is made once and shown
// again on each open(); closing hides it.
#include <cstdint>

#include "s/base/IObject.h"
#include "s/gui/events/IEventListener.h"
#include "s/thread/IPoolable.h"
#include "s/thread/Owned.h"
#include "s/thread/Pool.h"

namespace s::lang {
class Localizer;
}
namespace s::gui::drawer {
class Skinner;
}
namespace s::gui::win {
class Label;
class Window;
}  // namespace s::gui::win

namespace s::gui::dialogs {

class About3Bases : public events::IEventListener, public base::IObject, public thread::IPoolable {};

class About3 final : public thread::PooledObject<About3, About3Bases> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_dialogs_About3";
  static constexpr char16_t kWindowName[] = u"AboutWindow";
  static constexpr char16_t kDefaultSkin[] = u"Classic LG";
  static constexpr int kWidth = 340;
  static constexpr int kHeight = 285;

  About3();
  ~About3() override;
  void reset() override;

  // An About window for the texts of localizer (the product's at textBase + 0, + 10,
  // + 20); the localizer must outlive it.
  static thread::Owned<About3> newAbout(lang::Localizer& localizer, int32_t textBase);
  // Builds the window on the first call; shows it in front.
  void open();
  win::Window* getWindow() const { return window_.get(); }

  void onEvent(base::IObject* source, int eventType) override;

 private:
  void build();

  lang::Localizer* localizer_ = nullptr;
  int32_t textBase_ = 0;
  thread::Owned<drawer::Skinner> skins_;
  thread::Owned<win::Window> window_;
  win::Label* link_ = nullptr;
};

}  // namespace s::gui::dialogs
