#pragma once
// The language document's ids of the status texts (the window's status bar and
// messages, the command line's progress output) and of the texts that name what a
// gallery could not do, each with its English text for a pack that lacks it. A "%1",
// "%2" or "%3" in a text stands for a number or a name filled in where it is shown
// (StatusTexts::fill).
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace s::lang {

struct StatusTexts {
  static constexpr int32_t kReady = 609450;             // "Ready": no gallery is being made
  static constexpr int32_t kDone = 609460;              // "Done!": a gallery is finished
  static constexpr int32_t kCanceling = 609470;         // "Canceling..": a canceled run is ending
  static constexpr int32_t kMakingThumbnails = 609480;  // a Tile or Album gallery starts
  static constexpr int32_t kReadingSizes = 609481;      // a Flat gallery starts

  // A gallery in which something could not be written (the status instead of "Done!").
  static constexpr int32_t kFailed = 609490;
  // "%1 of %2 pictures could not be read": %1 the pictures not read, %2 all pictures.
  static constexpr int32_t kUnreadableCount = 609491;
  // The end of a list cut short: "and %1 more".
  static constexpr int32_t kAndMore = 609492;
  // The heading of the list of pictures not read.
  static constexpr int32_t kUnreadableHeading = 609493;

  // What could not be written, each followed by the path in quotes.
  static constexpr int32_t kCouldNotCreateFolder = 609500;
  static constexpr int32_t kCouldNotCopy = 609501;
  static constexpr int32_t kCouldNotMakeSmallCopy = 609502;
  static constexpr int32_t kCouldNotWriteSmallCopy = 609503;
  static constexpr int32_t kCouldNotWritePage = 609504;
  static constexpr int32_t kCouldNotMakeAlbumCopies = 609505;
  static constexpr int32_t kCouldNotMakeBrowserCopy = 609506;
  static constexpr int32_t kCouldNotWriteBrowserCopy = 609507;

  // Why a picture could not be read.
  static constexpr int32_t kDamaged = 609510;              // damaged or truncated
  static constexpr int32_t kTooLarge = 609511;             // %1 x %2 pixels, limit %3 pixels
  static constexpr int32_t kUnsupported = 609512;          // %1: the variant
  static constexpr int32_t kAnimationCut = 609513;         // %1: the frame limit
  static constexpr int32_t kNoPicturesInFolder = 609514;   // a dropped folder
  static constexpr int32_t kTooManyFramePixels = 609515;   // %1 pixels in all frames, limit %2

  // The English text of an id above; empty for another id.
  static std::u16string_view english(int32_t id);
  // text with "%1", "%2", ... replaced by the values in order.
  static std::u16string fill(std::u16string_view text, std::initializer_list<std::u16string_view> values);
};

}  // namespace s::lang
