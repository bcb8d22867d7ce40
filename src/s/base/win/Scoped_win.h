#pragma once
// Scoped holders of Win32 handles and COM interfaces.
//
// Conventions of these classes:
// - Each closes, deletes or releases what it holds exactly once: when it goes out of
//   scope, or when reset() gives it something else. An empty holder does nothing.
// - They are move-only; copying is deleted. A moved-from holder is empty.
// - detach() hands the handle over without closing it; get() lends it.
// - A holder is true when it holds something valid, so a failed Create... call can
//   be tested on the holder itself.
//
// Only Windows sources include this header (it includes <windows.h>).
#include <windows.h>
#include <unknwn.h>

#include <memory>
#include <utility>

namespace s::base::win {

// A handle that Closer::close(handle) gives back; Closer::valid(handle) says whether
// there is one to give back.
template <typename Handle, typename Closer>
class Scoped {
 public:
  Scoped() = default;
  explicit Scoped(Handle handle) : handle_(handle) {}
  ~Scoped() { reset(); }
  Scoped(Scoped&& other) noexcept : handle_(other.detach()) {}
  Scoped& operator=(Scoped&& other) noexcept {
    if (this != &other) reset(other.detach());
    return *this;
  }
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;

  Handle get() const { return handle_; }
  explicit operator bool() const { return Closer::valid(handle_); }
  Handle detach() { return std::exchange(handle_, Closer::empty()); }
  void reset(Handle handle = Closer::empty()) {
    const Handle old = std::exchange(handle_, handle);
    if (Closer::valid(old)) Closer::close(old);
  }

 private:
  Handle handle_ = Closer::empty();
};

namespace closers {

// Null means none for most handle kinds.
template <typename Handle>
struct NullEmpty {
  static Handle empty() { return nullptr; }
  static bool valid(Handle handle) { return handle != nullptr; }
};

// CreateFile, the snapshot functions and FindFirst... say "none" with
// INVALID_HANDLE_VALUE, the others with null: both are none.
struct KernelHandle : NullEmpty<HANDLE> {
  static bool valid(HANDLE handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static void close(HANDLE handle) { CloseHandle(handle); }
};

struct FindHandle {
  static HANDLE empty() { return INVALID_HANDLE_VALUE; }
  static bool valid(HANDLE handle) { return handle != INVALID_HANDLE_VALUE && handle != nullptr; }
  static void close(HANDLE handle) { FindClose(handle); }
};

template <typename Object>
struct GdiObject : NullEmpty<Object> {
  static void close(Object object) { DeleteObject(object); }
};

struct OwnedDc : NullEmpty<HDC> {
  static void close(HDC dc) { DeleteDC(dc); }
};

struct Icon : NullEmpty<HICON> {
  static void close(HICON icon) { DestroyIcon(icon); }
};

struct RegistryKey : NullEmpty<HKEY> {
  static void close(HKEY key) { RegCloseKey(key); }
};

template <typename Pointer>
struct LocalMemory : NullEmpty<Pointer> {
  static void close(Pointer memory) { LocalFree(memory); }
};

struct GlobalMemory : NullEmpty<HGLOBAL> {
  static void close(HGLOBAL memory) { GlobalFree(memory); }
};

}  // namespace closers

// A kernel object: process, snapshot, event, file... (CloseHandle).
using KernelHandle = Scoped<HANDLE, closers::KernelHandle>;
// A search of FindFirstFile or FindFirstStream (FindClose).
using FindHandle = Scoped<HANDLE, closers::FindHandle>;
// A bitmap, brush, font, pen or region (DeleteObject). Never delete one that is
// still selected into a device context: declare the SelectedObject after it.
template <typename Object>
using GdiObject = Scoped<Object, closers::GdiObject<Object>>;
// A device context of its own: from CreateCompatibleDC, CreateDC or a print dialog
// (DeleteDC).
using OwnedDc = Scoped<HDC, closers::OwnedDc>;
// An icon or cursor made by the program (DestroyIcon).
using Icon = Scoped<HICON, closers::Icon>;
// An opened registry key (RegCloseKey).
using RegistryKey = Scoped<HKEY, closers::RegistryKey>;
// A block the system allocated for the caller with LocalAlloc: FormatMessage's
// text, CommandLineToArgvW's array (LocalFree).
template <typename Pointer>
using LocalMemory = Scoped<Pointer, closers::LocalMemory<Pointer>>;
// A movable global block, such as a print dialog's settings (GlobalFree).
using GlobalMemory = Scoped<HGLOBAL, closers::GlobalMemory>;

// The device context of a window, or of the screen for a null window (GetDC, or
// GetWindowDC for the whole window with its frame; ReleaseDC).
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd = nullptr) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
  // The whole window, frame and caption included.
  static WindowDc whole(HWND hwnd) { return WindowDc(hwnd, GetWindowDC(hwnd)); }
  ~WindowDc() { reset(); }
  WindowDc(WindowDc&& other) noexcept
      : hwnd_(std::exchange(other.hwnd_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDc& operator=(WindowDc&& other) noexcept {
    if (this != &other) {
      reset();
      hwnd_ = std::exchange(other.hwnd_, nullptr);
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  void reset() {
    if (dc_) ReleaseDC(hwnd_, dc_);
    dc_ = nullptr;
    hwnd_ = nullptr;
  }

 private:
  WindowDc(HWND hwnd, HDC dc) : hwnd_(hwnd), dc_(dc) {}

  HWND hwnd_;
  HDC dc_;
};

// An object selected into a device context; the one it replaced is selected again
// on exit. Declare it after the holders of the context and of the object, so it
// goes first.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc) {
    // SelectObject says failure with null (HGDI_ERROR for regions, which are not
    // selected this way).
    if (dc_ && object) previous_ = SelectObject(dc_, object);
  }
  ~SelectedObject() { restore(); }
  SelectedObject(SelectedObject&& other) noexcept
      : dc_(std::exchange(other.dc_, nullptr)), previous_(std::exchange(other.previous_, nullptr)) {}
  SelectedObject& operator=(SelectedObject&& other) noexcept {
    if (this != &other) {
      restore();
      dc_ = std::exchange(other.dc_, nullptr);
      previous_ = std::exchange(other.previous_, nullptr);
    }
    return *this;
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

  // True when the object was selected.
  explicit operator bool() const { return previous_ != nullptr; }
  // Selects the previous object again now.
  void restore() {
    if (previous_) SelectObject(dc_, previous_);
    previous_ = nullptr;
  }

 private:
  HDC dc_;
  HGDIOBJ previous_ = nullptr;
};

// A COM interface pointer, released exactly once. &pointer hands out the slot for
// an out-parameter (CoCreateInstance, QueryInterface), releasing what was held
// before.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller owns (no AddRef).
  explicit ComPtr(Interface* pointer) : pointer_(pointer) {}
  ~ComPtr() { reset(); }
  ComPtr(ComPtr&& other) noexcept : pointer_(other.detach()) {}
  ComPtr& operator=(ComPtr&& other) noexcept {
    // std::addressof: &other would empty other through the operator below.
    if (this != std::addressof(other)) reset(other.detach());
    return *this;
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;

  Interface* get() const { return pointer_; }
  Interface* operator->() const { return pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  Interface** operator&() {
    reset();
    return &pointer_;
  }
  // The slot as the void** that CoCreateInstance and QueryInterface take.
  void** out() { return reinterpret_cast<void**>(operator&()); }
  Interface* detach() { return std::exchange(pointer_, nullptr); }
  void reset(Interface* pointer = nullptr) {
    if (Interface* old = std::exchange(pointer_, pointer)) old->Release();
  }

 private:
  Interface* pointer_ = nullptr;
};

}  // namespace s::base::win
