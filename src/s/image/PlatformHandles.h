#pragma once
// Platform drawing handles as seen by portable code. On Windows they carry an
// HBITMAP, HDC or HICON (all pointer-sized); elsewhere they are always null and
// the operations that take them do nothing.
namespace s::image {

using BitmapHandle = void*;
using DeviceContextHandle = void*;
using IconHandle = void*;

}  // namespace s::image
