#pragma once
// The toolkit's message boxes: a modal box with a title, a text and an OK button in
// one of three kinds, or a question with Yes and No. A box is owned by a window when
// one is given (a Win32 HWND), so it stays in front of it. A program (or a test,
// which must never block on a box) may replace how boxes are shown.
//
// Windows show their boxes on their own thread (Window::showInformation, ...).
#include <string_view>

namespace s::gui::win {

class MessageBoxW {
 public:
  enum Kind { kInformation, kWarning, kError, kQuestion };
  // Shows a box; for kQuestion the answer is true for Yes.
  using Handler = bool (*)(Kind kind, std::u16string_view title, std::u16string_view text);

  static void show(Kind kind, std::u16string_view title, std::u16string_view text, void* owner = nullptr);
  static void showInformation(std::u16string_view title, std::u16string_view text) { show(kInformation, title, text); }
  static void showWarning(std::u16string_view title, std::u16string_view text) { show(kWarning, title, text); }
  static void showError(std::u16string_view title, std::u16string_view text) { show(kError, title, text); }
  // True when the user answers Yes.
  static bool askYesNo(std::u16string_view title, std::u16string_view text, void* owner = nullptr);
  // Boxes go to handler from now on (nullptr: the platform's box again). Returns the
  // handler it replaces.
  static Handler setHandler(Handler handler);

 private:
  static bool present(Kind kind, std::u16string_view title, std::u16string_view text, void* owner);
  // The platform's box: a Win32 message box, or a line on standard error (where a
  // question is answered No).
  static bool showOnPlatform(Kind kind, std::u16string_view title, std::u16string_view text, void* owner);
};

}  // namespace s::gui::win
