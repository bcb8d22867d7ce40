#pragma once
// The application object as windows see it: the saved choice of language. The
// program's application object implements it (with much more: save data, language
// packs, icons, the command line).
#include <string_view>

namespace s::app {

class IAppBase {
 public:
  virtual ~IAppBase() = default;
  // The English name of the language saved for the next start.
  virtual std::u16string_view getSavedLanguage() = 0;
  virtual void setSavedLanguage(std::u16string_view englishName) = 0;
};

}  // namespace s::app
