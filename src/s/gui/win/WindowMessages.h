#pragma once
// The messages a Window understands besides the platform's. Other threads (and other
// programs, for 1027 and 1031) reach the window's thread through them; each is sent
// synchronously, so the sender waits until the window's thread has handled it.
#include <cstdint>

namespace s::gui::win {

// First parameter: a thread::RelayRecord. Raises the relayed-record event; the
// result is the window's relay reply.
inline constexpr unsigned kRelayMessage = 1025;  // WM_USER + 1
// Second parameter: the mouse message (kMouseLeftDown, ...) on the notification-area icon.
inline constexpr unsigned kTrayIconMessage = 1026;
// Restore the window and bring it to the front (another start of the program asks).
inline constexpr unsigned kRestoreMessage = 1027;
// First parameter: a zero-terminated UTF-16 text, shown in an information box (1028),
// an error box (1029), or asked with Yes and No (1030; the result is 1 for Yes).
inline constexpr unsigned kInformationMessage = 1028;
inline constexpr unsigned kErrorMessage = 1029;
inline constexpr unsigned kQuestionMessage = 1030;
// Raises the signal event.
inline constexpr unsigned kSignalMessage = 1031;  // WM_USER + 7
// First parameter: a HotKeyRequest. Registers a system-wide hot key.
inline constexpr unsigned kRegisterHotKeyMessage = 1036;
// First parameter: the hot key's name (zero-terminated UTF-16). Unregisters it.
inline constexpr unsigned kUnregisterHotKeyMessage = 1037;
// Unregisters every hot key of the window.
inline constexpr unsigned kUnregisterHotKeysMessage = 1038;
// First parameter: a TimerRequest. Starts (1044) or stops (1045) a user timer.
inline constexpr unsigned kStartTimerMessage = 1044;
inline constexpr unsigned kStopTimerMessage = 1045;

// The toolkit's own, in the private range above the platform's application messages.
// First parameter: a std::function<void()>, run on the window's thread.
inline constexpr unsigned kInvokeMessage = 0x8003;
// The window's job-event relay has records waiting.
inline constexpr unsigned kPumpJobEventsMessage = 0x8004;
// A close request (as the frame's close button makes one).
inline constexpr unsigned kCloseMessage = 0x8005;

// Mouse messages as they arrive with kTrayIconMessage (the platform's numbers).
inline constexpr unsigned kMouseLeftDown = 0x0201;
inline constexpr unsigned kMouseRightDown = 0x0204;

struct HotKeyRequest {
  unsigned modifiers = 0;           // the platform's MOD_* flags
  unsigned key = 0;                 // a virtual key code
  const char16_t* name = nullptr;   // zero-terminated; the hot key's global atom
  bool report = false;              // tell the user when it cannot be registered
  const char16_t* message = nullptr;  // zero-terminated; what to tell then
};

struct TimerRequest {
  int number = 0;
  int periodMs = 0;
};

}  // namespace s::gui::win
