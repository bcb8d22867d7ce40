#pragma once
// The progress events a gallery run sends to its receiver (the window's thread, or
// the command line's main thread), synchronously through a SyncRelay. The texts
// belong to the sender and are valid only while the receiver handles the event.
#include <cstdint>
#include <string_view>

#include "s/thread/SyncRelay.h"

namespace s::image::gui::dialogs::pictorva {

inline constexpr char16_t kProcessStatusStart[] = u"ProcessStatusStart";
inline constexpr char16_t kProcessStatusUpdate[] = u"ProcessStatusUpdate";
inline constexpr char16_t kProcessStatusEnd[] = u"ProcessStatusEnd";

// First number of "ProcessStatusEnd": 0 when the gallery is complete, kEndFailed when
// a copy or the page could not be written (the text then names each such path, one
// line each, lines separated by CR LF).
inline constexpr uint32_t kEndFailed = 1;

struct GalleryEvent {
  const char16_t* name = nullptr;
  uint32_t first = 0;   // Update: the number of steps
  uint32_t second = 0;  // Update: the index of this step, from 0
  const char16_t* text = nullptr;  // Update: the file name; or none

  bool is(const char16_t* eventName) const { return name && std::u16string_view(name) == eventName; }
  std::u16string_view textView() const { return text ? std::u16string_view(text) : std::u16string_view(); }

  thread::RelayRecord toRecord() const {
    thread::RelayRecord record;
    record.values[0] = reinterpret_cast<uintptr_t>(name);
    record.values[1] = first;
    record.values[2] = second;
    record.values[3] = reinterpret_cast<uintptr_t>(text);
    return record;
  }
  static GalleryEvent fromRecord(const thread::RelayRecord& record) {
    return GalleryEvent{reinterpret_cast<const char16_t*>(record.values[0]), static_cast<uint32_t>(record.values[1]),
                        static_cast<uint32_t>(record.values[2]), reinterpret_cast<const char16_t*>(record.values[3])};
  }
};

}  // namespace s::image::gui::dialogs::pictorva
