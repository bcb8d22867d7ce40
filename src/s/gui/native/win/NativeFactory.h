#pragma once
// Creates the Win32 window of a component under a parent window, by the component's
// native kind: a window of the toolkit's class for boxes, a platform control for the
// leaves. When the platform refuses, the user is told ("Window Creation Failed!") and
// the result is nullptr.
namespace s::gui {
class Component;
}
namespace s::gui::native {
class NativeWindow;
}

namespace s::gui::native::win {

NativeWindow* createNativeWindow(Component& component, void* parentHwnd);

// Registers the window class "KorvelWindowClass" once per process; false (after
// telling the user "Window Registration Failed!") when the platform refuses.
bool registerWindowClass();

}  // namespace s::gui::native::win
