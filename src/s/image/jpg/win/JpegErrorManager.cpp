#include "s/image/jpg/win/JpegErrorManager.h"

namespace s::image::jpg::win {

jpeg_error_mgr* JpegErrorManager::install() {
  jpeg_error_mgr* standard = jpeg_std_error(&library);
  standard->error_exit = exitToCaller;
  standard->output_message = discardMessage;
  return standard;
}

void JpegErrorManager::exitToCaller(j_common_ptr info) {
  // library is the first member, so the library's pointer is the manager's.
  auto* errors = reinterpret_cast<JpegErrorManager*>(info->err);
  longjmp(errors->jump, 1);
}

void JpegErrorManager::discardMessage(j_common_ptr) {}

}  // namespace s::image::jpg::win
