#pragma once
// What the toolkit's top-level windows share (HostWindow, Window): the root box of a
// component tree, painted with the window's skin (the skin's window drawer paints
// the client area's background and frame, which one-pixel margins keep free), a
// title and an optional menu bar.
#include <string_view>

#include "s/gui/BoxBase.h"
#include "s/gui/IWindow.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::gui::win {

class MenuEx;

class TopLevelBase : public BoxBase, public IWindow {
 public:
  // The class every toolkit window belongs to.
  static constexpr char16_t kWindowClassName[] = u"KorvelWindowClass";

  TopLevelBase();

  std::u16string_view getTitle() const { return title_.view(); }
  MenuEx* getMenuBar() const { return menuBar_; }

  void setSkin(const drawer::ISkin* skin) override;
  const drawer::ISkin& getSkin() const override;
  IWindow* getWindow() const override { return const_cast<TopLevelBase*>(this); }
  unsigned getEffectiveBackground() const override;
  void paint(drawer::ICanvas& canvas, const Rect& area, const drawer::PaintState& state) override;
  void skinChanged() override;
  void reset() override;

  // Called by the native window when the platform has destroyed it.
  virtual void frameDestroyed() {}

 protected:
  // Attaches the menu bar (not owned; nullptr for none) to the native window, on
  // Windows; elsewhere it is only kept.
  void setMenuBarNow(MenuEx* menu);
  void attachMenuBar();

  const drawer::ISkin* skin_ = nullptr;
  str::strbuffer::StrBuffer title_;
  MenuEx* menuBar_ = nullptr;
};

}  // namespace s::gui::win
