#include "s/gui/win/MessageBoxW.h"

#include <atomic>

namespace s::gui::win {

namespace {

std::atomic<MessageBoxW::Handler> handlerInUse{nullptr};

}  // namespace

bool MessageBoxW::present(Kind kind, std::u16string_view title, std::u16string_view text, void* owner) {
  if (Handler handler = handlerInUse.load()) return handler(kind, title, text);
  return showOnPlatform(kind, title, text, owner);
}

void MessageBoxW::show(Kind kind, std::u16string_view title, std::u16string_view text, void* owner) {
  present(kind, title, text, owner);
}

bool MessageBoxW::askYesNo(std::u16string_view title, std::u16string_view text, void* owner) {
  return present(kQuestion, title, text, owner);
}

MessageBoxW::Handler MessageBoxW::setHandler(Handler handler) { return handlerInUse.exchange(handler); }

}  // namespace s::gui::win
