#pragma once
// The progress events a job on a worker thread sends to its receiver (a window's
// thread), synchronously through a SyncRelay: "ProcessStatusStart", one
// "ProcessStatusUpdate" per step, "ProcessStatusEnd". The texts belong to the sender
// and are valid only while the receiver handles the event.
#include <cstdint>
#include <string_view>

#include "s/thread/SyncRelay.h"

namespace s::thread {

inline constexpr char16_t kProcessStatusStart[] = u"ProcessStatusStart";
inline constexpr char16_t kProcessStatusUpdate[] = u"ProcessStatusUpdate";
inline constexpr char16_t kProcessStatusEnd[] = u"ProcessStatusEnd";
// Sent once just before "ProcessStatusEnd" when a job has files it could not read:
// the first number counts them, the second the files looked at, and the text names
// each with its reason, a line each (CR LF between lines).
inline constexpr char16_t kProcessStatusUnreadable[] = u"ProcessStatusUnreadable";

// First number of "ProcessStatusEnd": 0 when the job is complete, kEndFailed when
// something could not be written (the text then names each such path, one line each,
// lines separated by CR LF).
inline constexpr uint32_t kEndFailed = 1;

struct JobEvent {
  const char16_t* name = nullptr;
  uint32_t first = 0;   // Update: the number of steps
  uint32_t second = 0;  // Update: the index of this step, from 0
  const char16_t* text = nullptr;  // Update: the file name; or none

  bool is(const char16_t* eventName) const { return name && std::u16string_view(name) == eventName; }
  std::u16string_view textView() const { return text ? std::u16string_view(text) : std::u16string_view(); }

  RelayRecord toRecord() const {
    RelayRecord record;
    record.values[0] = reinterpret_cast<uintptr_t>(name);
    record.values[1] = first;
    record.values[2] = second;
    record.values[3] = reinterpret_cast<uintptr_t>(text);
    return record;
  }
  static JobEvent fromRecord(const RelayRecord& record) {
    return JobEvent{reinterpret_cast<const char16_t*>(record.values[0]), static_cast<uint32_t>(record.values[1]),
                        static_cast<uint32_t>(record.values[2]), reinterpret_cast<const char16_t*>(record.values[3])};
  }
};

}  // namespace s::thread
