#pragma once
// A plain top-level window on the thread that opens it: a column box with the
// platform's frame and caption, its client area painted by the skin's window drawer.
// Tests and small programs that run their own message loop use it; the program's
// windows are Windows (s/gui/win/Window.h), each on a thread of its own. On Linux its
// native window is kept in memory.
//
// Its size is the size of its client area. Closing it (the platform's close button)
// destroys its native window; with quit-on-close it also ends the thread's message
// loop.
#include <string_view>

#include "s/gui/win/TopLevelBase.h"
#include "s/thread/Pool.h"

namespace s::gui::win {

class HostWindow final : public thread::PooledObject<HostWindow, TopLevelBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_win_HostWindow";

  // Creates the native window with a client area of width × height, creates the
  // children's windows, lays out and shows it. False when the platform refused.
  bool open(std::u16string_view title, int width, int height);
  // Destroys the native window (the components stay).
  void close();
  bool isOpen() const { return getNativeWindow() != nullptr; }
  void setQuitOnClose(bool quit) { quitOnClose_ = quit; }
  // The menu bar (not owned), attached while the window is open; nullptr for none.
  void setMenuBar(MenuEx* menu) { setMenuBarNow(menu); }

  void frameDestroyed() override;
  void reset() override;

 private:
  bool quitOnClose_ = false;
};

}  // namespace s::gui::win
