#pragma once
// The hidden owner of a top-level Window: a pop-up window of the toolkit's class
// with the tool-window style and without the app-window style, so that it never shows
// a taskbar button; a window it owns gets a button only when it asks for one. It is
// created on the window's thread just before the window itself. Windows only.
namespace s::gui::win {

class InvisibleWindow {
 public:
  InvisibleWindow() = default;
  // Destroys the platform window (on the thread that created it).
  ~InvisibleWindow();
  InvisibleWindow(const InvisibleWindow&) = delete;
  InvisibleWindow& operator=(const InvisibleWindow&) = delete;

  // False when the platform refuses (the user has been told).
  bool create();
  void destroy();
  // The small icon (an HICON, not owned) of the owner, which the taskbar and the
  // task switcher may show for the windows it owns.
  void setIcon(void* icon);
  // The HWND, or nullptr.
  void* getHandle() const { return hwnd_; }

 private:
  void* hwnd_ = nullptr;
};

}  // namespace s::gui::win
