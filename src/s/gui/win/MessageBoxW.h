#pragma once
// The toolkit's message boxes: a modal box with a title, a text and an OK button, in
// one of three kinds. A program (or a test, which must never block on a box) may
// replace how boxes are shown.
#include <string_view>

namespace s::gui::win {

class MessageBoxW {
 public:
  enum Kind { kInformation, kWarning, kError };
  using Handler = void (*)(Kind kind, std::u16string_view title, std::u16string_view text);

  static void show(Kind kind, std::u16string_view title, std::u16string_view text);
  static void showInformation(std::u16string_view title, std::u16string_view text) { show(kInformation, title, text); }
  static void showWarning(std::u16string_view title, std::u16string_view text) { show(kWarning, title, text); }
  static void showError(std::u16string_view title, std::u16string_view text) { show(kError, title, text); }
  // Boxes go to handler from now on (nullptr: the platform's box again). Returns the
  // handler it replaces.
  static Handler setHandler(Handler handler);

 private:
  // The platform's box: a Win32 message box, or a line on standard error.
  static void showOnPlatform(Kind kind, std::u16string_view title, std::u16string_view text);
};

}  // namespace s::gui::win
