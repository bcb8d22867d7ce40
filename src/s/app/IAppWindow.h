#pragma once
// The application's record of one named window, as the window itself uses it: the
// placement and view settings it keeps between runs (save data, section "View" below
// the window's name). A window given such a record takes its settings from it when
// the record is attached and writes every change back.
//
// Placement values are the outer window rectangle in screen coordinates.
#include <string_view>

namespace s::app {

class IAppBase;

class IAppWindow {
 public:
  virtual ~IAppWindow() = default;

  virtual IAppBase* getApp() = 0;

  // Both "X" and "Y" are stored.
  virtual bool hasPosition() = 0;
  virtual int getX() = 0;
  virtual int getY() = 0;
  virtual int getWidth() = 0;
  virtual int getHeight() = 0;
  // The stored width lies between 10 and the virtual screen's width (height alike).
  virtual bool isWidthValid() = 0;
  virtual bool isHeightValid() = 0;
  // Writes X, Y, Width and Height.
  virtual void setPlacement(int x, int y, int width, int height) = 0;

  virtual bool getMaximized() = 0;
  virtual void setMaximized(bool maximized) = 0;
  virtual bool getEasyDrag() = 0;
  virtual void setEasyDrag(bool easyDrag) = 0;
  virtual bool getKeepOnTop() = 0;
  virtual void setKeepOnTop(bool keepOnTop) = 0;
  // "DoNothing", "Iconize" or "Close".
  virtual std::u16string_view getMiddleClickAction() = 0;
  virtual void setMiddleClickAction(std::u16string_view action) = 0;
};

}  // namespace s::app
