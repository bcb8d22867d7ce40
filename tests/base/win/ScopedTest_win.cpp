#include <gtest/gtest.h>

#include <utility>

#include "s/base/win/Scoped_win.h"

namespace {

using s::base::win::ComPtr;
using s::base::win::GdiObject;
using s::base::win::KernelHandle;
using s::base::win::OwnedDc;
using s::base::win::SelectedObject;

// A COM object that counts its releases.
class Counted final : public IUnknown {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override {
    ++releases;
    return --references;
  }
  ULONG references = 1;
  int releases = 0;
};

// Hands out a new reference through an out-parameter, as CoCreateInstance does.
HRESULT handOut(Counted& object, void** out) {
  object.AddRef();
  *out = static_cast<IUnknown*>(&object);
  return S_OK;
}

TEST(ComPtr, ReleasesEachReferenceExactlyOnce) {
  Counted a;
  Counted b;
  {
    ComPtr<IUnknown> first(&a);
    ComPtr<IUnknown> second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), &a);
    ComPtr<IUnknown> other(&b);
    other = std::move(second);  // b goes now, a stays held
    EXPECT_EQ(b.releases, 1);
    EXPECT_EQ(a.releases, 0);
    ComPtr<IUnknown>& same = other;
    other = std::move(same);  // moving onto itself keeps the reference
    EXPECT_EQ(a.releases, 0);
    EXPECT_EQ(other.get(), &a);
  }
  EXPECT_EQ(a.releases, 1);
  EXPECT_EQ(b.releases, 1);
}

TEST(ComPtr, OutParametersReleaseWhatWasHeldFirst) {
  Counted a;
  Counted b;
  {
    ComPtr<IUnknown> pointer(&a);
    ASSERT_EQ(handOut(b, pointer.out()), S_OK);  // a is released before the slot is handed out
    EXPECT_EQ(a.releases, 1);
    EXPECT_EQ(pointer.get(), &b);
    IUnknown** slot = &pointer;  // releases b's new reference
    EXPECT_EQ(b.releases, 1);
    EXPECT_EQ(*slot, nullptr);
    *slot = &b;
    b.AddRef();
  }
  EXPECT_EQ(a.releases, 1);
  EXPECT_EQ(b.releases, 2);
  EXPECT_EQ(b.references, 1u);

  Counted c;
  IUnknown* kept = nullptr;
  {
    ComPtr<IUnknown> pointer(&c);
    kept = pointer.detach();  // handed over: not released here
  }
  EXPECT_EQ(c.releases, 0);
  EXPECT_EQ(kept, &c);
}

TEST(Scoped, SelectionsAreRestoredBeforeTheirObjectsGo) {
  OwnedDc dc(CreateCompatibleDC(nullptr));
  ASSERT_TRUE(dc);
  const HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_BITMAP);
  HBITMAP bitmapHandle = nullptr;
  {
    GdiObject<HBITMAP> bitmap(CreateBitmap(4, 4, 1, 32, nullptr));
    ASSERT_TRUE(bitmap);
    bitmapHandle = bitmap.get();
    SelectedObject selected(dc.get(), bitmap.get());
    ASSERT_TRUE(selected);
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), bitmap.get());
    {
      SelectedObject moved(std::move(selected));  // the moved-to one restores, once
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), original);
    EXPECT_NE(GetObjectType(bitmapHandle), 0u);
  }
  EXPECT_EQ(GetObjectType(bitmapHandle), 0u);  // deleted with its holder
  EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_BITMAP), original);

  // A selection into no context does nothing, and restores nothing.
  SelectedObject nowhere(nullptr, GetStockObject(BLACK_BRUSH));
  EXPECT_FALSE(nowhere);
}

TEST(Scoped, KernelHandlesCloseOnceAndEmptyOnesNever) {
  DWORD flags = 0;
  HANDLE raw = nullptr;
  {
    KernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    raw = event.get();
    KernelHandle moved;
    moved = std::move(event);
    EXPECT_FALSE(event);
    EXPECT_TRUE(GetHandleInformation(raw, &flags));
  }
  EXPECT_FALSE(GetHandleInformation(raw, &flags));  // closed by the holder it moved to

  EXPECT_FALSE(KernelHandle(INVALID_HANDLE_VALUE));  // what CreateFile and snapshots fail with
  KernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  HANDLE kept = event.detach();
  event.reset();
  EXPECT_TRUE(GetHandleInformation(kept, &flags));  // detached: still open
  CloseHandle(kept);
}

}  // namespace
