#pragma once
// libjpeg's standard error manager with an exit that returns to the codec instead
// of ending the process, and the guard every library phase runs under.
//
// A fatal library error longjmps back into runGuarded, which then answers false.
// longjmp skips destructors, so the guarded frame and the phase it runs own no
// object with one: C++ objects (rasters, streams) live in the callers outside.
#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>
// After jpeglib.h: the message codes and the ERREXIT/WARNMS macros.
#include <jerror.h>

namespace s::image::jpg::win {

struct JpegErrorManager {
  jpeg_error_mgr library;  // first member: libjpeg knows only this part
  jmp_buf jump;

  // The standard manager, with messages (warnings included) discarded and the exit
  // below; the result goes into the library object's err field before creation.
  jpeg_error_mgr* install();
  [[noreturn]] static void exitToCaller(j_common_ptr info);
  static void discardMessage(j_common_ptr info);
};

// Runs one library phase; false when the library raised a fatal error inside it.
template <class Phase>
bool runGuarded(JpegErrorManager& errors, Phase phase) {
  if (setjmp(errors.jump)) return false;
  phase();
  return true;
}

}  // namespace s::image::jpg::win
