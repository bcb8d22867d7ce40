#pragma once
// The toolkit's demonstration window: every kind of control, in nested boxes of all four
// layouts (rows, columns, a flow of buttons and a pile of pages), arranged like the
// program's gallery window, and a menu to switch between the skins of both families.
#include <string_view>

#include "s/gui/events/IEventListener.h"
#include "s/thread/Owned.h"

namespace s::gui {
class IComponent;
}
namespace s::gui::drawer {
class Skinner;
}
namespace s::gui::win {
class Box;
class Button;
class CheckBox;
class ComboBox;
class HostWindow;
class Label;
class MenuEx;
class ProgressBar;
}  // namespace s::gui::win

namespace demo {

class DemoWindow final : public s::gui::events::IEventListener {
 public:
  DemoWindow();
  ~DemoWindow() override;

  // Opens the window at (x, y) (the platform's choice when x < 0).
  bool open(int x, int y);
  // Chooses "Family/Name" (for example "ThinWindow/Classic LG"); false when there is
  // no such skin.
  bool useSkin(std::u16string_view familyAndName);
  s::gui::win::HostWindow& window() { return *window_; }

  void onEvent(s::base::IObject* source, int eventType) override;

 private:
  void buildMenu();
  s::gui::win::Box* buildDropArea();
  s::gui::win::Box* buildControls();
  s::gui::win::Box* buildPages();
  s::gui::win::Box* buildSkinFlow();
  s::gui::IComponent* buildStatusBar();
  void showPage(int page);

  s::thread::Owned<s::gui::drawer::Skinner> thinWindowSkins_;
  s::thread::Owned<s::gui::drawer::Skinner> thinSkins_;
  s::thread::Owned<s::gui::win::MenuEx> menu_;
  s::thread::Owned<s::gui::win::HostWindow> window_;
  s::gui::win::ComboBox* choice_ = nullptr;
  s::gui::win::Box* pages_ = nullptr;
  s::gui::win::Box* skinFlow_ = nullptr;
  s::gui::win::Label* status_ = nullptr;
  s::gui::win::ProgressBar* progress_ = nullptr;
  s::gui::win::CheckBox* keepOnTop_ = nullptr;
  s::gui::win::Button* viewButton_ = nullptr;
};

}  // namespace demo
