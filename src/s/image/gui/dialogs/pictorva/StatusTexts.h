#pragma once
// The language pack's ids of the texts the gallery's status shows (the window's
// status bar, the command line's progress output).
#include <cstdint>

namespace s::image::gui::dialogs::pictorva {

struct StatusTexts {
  static constexpr int32_t kReady = 609450;           // "Ready": no gallery is being made
  static constexpr int32_t kDone = 609460;            // "Done!": a gallery is finished
  static constexpr int32_t kCanceling = 609470;       // "Canceling..": a canceled run is ending
  static constexpr int32_t kMakingThumbnails = 609480;  // a Tile gallery starts
  static constexpr int32_t kReadingSizes = 609481;      // a Flat gallery starts
  static constexpr int32_t kCopyingFiles = 609482;
  static constexpr int32_t kWritingPage = 609483;
};

}  // namespace s::image::gui::dialogs::pictorva
