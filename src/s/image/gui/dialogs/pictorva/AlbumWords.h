#pragma once
// The words an album page shows (its buttons, links and the caption's label), in
// the language the window or the command line speaks, and that language's standard
// tag and writing direction for the page's lang and dir attributes.
//
// Texts come from the language pack by id; a text the pack lacks (or an empty one)
// keeps its built-in English. The pack's own tags ("jpn", "zhs", "cze") map to the
// tags browsers know ("ja", "zh-Hans", "cs"); a tag of no known pack gives "en".
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace s::image::gui::dialogs::pictorva {

struct AlbumWords {
  static constexpr int32_t kCloseText = 1120000;
  static constexpr int32_t kPreviousText = 1120100;
  static constexpr int32_t kNextText = 1120200;
  static constexpr int32_t kDownloadText = 1120300;
  static constexpr int32_t kTakenText = 1120400;

  std::u16string languageTag = u"en";
  bool rightToLeft = false;
  std::u16string close = u"Close";
  std::u16string previous = u"Previous";
  std::u16string next = u"Next";
  std::u16string download = u"Download original";
  std::u16string taken = u"Taken";

  // The words of the pack tagged packTag; text(id) gives the pack's text of id,
  // empty when it has none. Without a text function the English words stay.
  static AlbumWords of(std::u16string_view packTag, const std::function<std::u16string(int32_t id)>& text);
  // The standard tag of a pack's tag (letter case ignored), "en" for an unknown one.
  static std::u16string_view standardTag(std::u16string_view packTag);
  // Whether the pack's language is written from right to left (Arabic, Persian).
  static bool isRightToLeft(std::u16string_view packTag);
};

}  // namespace s::image::gui::dialogs::pictorva
