#pragma once
// A plain top-level window that carries a component tree: a column box with the
// platform's frame and caption, its client area painted by the skin's window drawer
// (background and a one-pixel frame, which the one-pixel margins keep free). Tests
// and the demo program use it; on Linux its native window is kept in memory.
//
// Its size is the size of its client area. Closing it (the platform's close button)
// destroys its native window; with quit-on-close it also ends the thread's message
// loop.
#include <string_view>

#include "s/gui/BoxBase.h"
#include "s/gui/IWindow.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/Pool.h"

namespace s::gui::win {

class MenuEx;

class HostWindow final : public thread::PooledObject<HostWindow, BoxBase>, public IWindow {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_win_HostWindow";
  // The class every toolkit window belongs to.
  static constexpr char16_t kWindowClassName[] = u"KorvelWindowClass";

  HostWindow();

  // Creates the native window with a client area of width × height, creates the
  // children's windows, lays out and shows it. False when the platform refused.
  bool open(std::u16string_view title, int width, int height);
  // Destroys the native window (the components stay).
  void close();
  bool isOpen() const { return getNativeWindow() != nullptr; }
  std::u16string_view getTitle() const { return title_.view(); }
  void setQuitOnClose(bool quit) { quitOnClose_ = quit; }
  bool isQuitOnClose() const { return quitOnClose_; }
  // The menu bar (not owned), attached while the window is open; nullptr for none.
  void setMenuBar(MenuEx* menu);
  MenuEx* getMenuBar() const { return menuBar_; }

  void setSkin(const drawer::ISkin* skin) override;
  const drawer::ISkin& getSkin() const override;
  IWindow* getWindow() const override { return const_cast<HostWindow*>(this); }
  unsigned getEffectiveBackground() const override;
  void paint(drawer::ICanvas& canvas, const Rect& area, const drawer::PaintState& state) override;
  void skinChanged() override;
  void reset() override;

 private:
  // Attaches the menu bar to the native window (on Windows; nothing elsewhere).
  void attachMenuBar();

  const drawer::ISkin* skin_ = nullptr;
  str::strbuffer::StrBuffer title_;
  MenuEx* menuBar_ = nullptr;
  bool quitOnClose_ = false;
};

}  // namespace s::gui::win
