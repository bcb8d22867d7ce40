#pragma once
// The language document's ids of the status texts: the window's status bar and the
// command line's progress output.
#include <cstdint>

namespace s::lang {

struct StatusTexts {
  static constexpr int32_t kReady = 609450;           // "Ready": no gallery is being made
  static constexpr int32_t kDone = 609460;            // "Done!": a gallery is finished
  static constexpr int32_t kCanceling = 609470;       // "Canceling..": a canceled run is ending
  static constexpr int32_t kMakingThumbnails = 609480;  // a Tile gallery starts
  static constexpr int32_t kReadingSizes = 609481;      // a Flat gallery starts
};

}  // namespace s::lang
