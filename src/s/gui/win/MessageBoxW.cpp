#include "s/gui/win/MessageBoxW.h"

#include <atomic>

namespace s::gui::win {

namespace {

std::atomic<MessageBoxW::Handler> handlerInUse{nullptr};

}  // namespace

void MessageBoxW::show(Kind kind, std::u16string_view title, std::u16string_view text) {
  if (Handler handler = handlerInUse.load()) {
    handler(kind, title, text);
  } else {
    showOnPlatform(kind, title, text);
  }
}

MessageBoxW::Handler MessageBoxW::setHandler(Handler handler) { return handlerInUse.exchange(handler); }

}  // namespace s::gui::win
