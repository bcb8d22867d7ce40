#pragma once
// The window drawer of the thin skins: background, a one-pixel frame, and corners cut
// square, slightly or largely rounded, separately at the top and at the bottom.
#include "s/gui/drawer/IWindow.h"
#include "s/thread/Pool.h"

namespace s::gui::drawer::window::win {

class Thin final : public thread::PooledObject<Thin, IWindow> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_drawer_window_win_Thin";
  enum CornerStyle { kSquare = 0, kSmallRounding = 1, kLargeRounding = 2 };

  // The window's outline: a plain rectangle when both corner styles are square, else a
  // rounded rectangle with corner ellipses of this size, combined with a rectangle so
  // that only a styled edge is rounded.
  struct Shape {
    int topEllipse = 0;     // 0 (square), 5 or 11
    int bottomEllipse = 0;
    bool isRectangle() const { return topEllipse == 0 && bottomEllipse == 0; }
  };

  void setFrameColour(Rgb colour) { frame_ = toColour(colour); }
  // Also makes the window opaque.
  void setBackgroundColour(Rgb colour);
  void setTopCornerStyle(int style) { topStyle_ = style; }
  void setBottomCornerStyle(int style) { bottomStyle_ = style; }
  int getTopCornerStyle() const { return topStyle_; }
  int getBottomCornerStyle() const { return bottomStyle_; }

  Colour getBackgroundColour() const override { return background_; }
  Colour getFrameColour() const override { return frame_; }
  bool isTransparent() const override { return transparent_; }
  void paint(ICanvas& canvas, const Rect& area) const override;

  Shape getShape() const;
  // The shape as a platform region (a Win32 HRGN the caller owns) for a window of
  // width × height; nullptr where there are no regions.
  void* createRegion(int width, int height) const;

  void reset() override;

 private:
  int topStyle_ = kSquare;
  int bottomStyle_ = kSquare;
  bool transparent_ = true;
  Colour background_ = 0x00FFFFFF;
  Colour frame_ = 0;
};

}  // namespace s::gui::drawer::window::win
