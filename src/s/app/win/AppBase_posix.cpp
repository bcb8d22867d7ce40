// Linux: the program itself does not run here (it is a Windows program), but the
// application object does, for its portable parts: there is no COM, no registry key
// of a first run and no other copy to find.

#include "s/app/win/AppBase.h"

namespace s::app::win {

void AppBase::initializePlatform() {}

void AppBase::uninitializePlatform() {}

std::u16string AppBase::findModulePath() { return {}; }

bool AppBase::isSupportedSystem() { return true; }

void AppBase::checkFirstRun() {}

bool AppBase::signalOtherInstance(bool, bool, bool) {
  otherWindow_ = nullptr;
  return false;
}

}  // namespace s::app::win
