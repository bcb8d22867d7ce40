#include <windows.h>
#include <ole2.h>

#include "s/gui/win/Box.h"
#include "s/gui/win/UrlDropTarget.h"

namespace s::gui::win {

namespace {

// The COM face of a UrlDropTarget. It lives exactly as long as its target, which
// revokes every registration first, so reference counts only answer the platform.
class ComDropTarget final : public IDropTarget {
 public:
  explicit ComDropTarget(UrlDropTarget& target) : target_(target) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
    if (!object) return E_POINTER;
    if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IDropTarget)) {
      *object = static_cast<IDropTarget*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references_)); }
  ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(InterlockedDecrement(&references_)); }

  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    if (effect) *effect = target_.dragOver(data);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragOver(DWORD, POINTL, DWORD* effect) override {
    // The data object is only given on entering; the answer stays the same.
    if (effect) *effect = entered_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE DragLeave() override {
    target_.dragLeave();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD, POINTL, DWORD* effect) override {
    const unsigned answer = target_.dragOver(data);
    target_.drop(data);
    if (effect) *effect = answer;
    return S_OK;
  }

  DWORD entered_ = DROPEFFECT_NONE;

 private:
  UrlDropTarget& target_;
  LONG references_ = 0;
};

FORMATETC formatOf(unsigned format) { return {static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL}; }

}  // namespace

UrlDropTarget::UrlDropTarget()
    : narrowFormat_(RegisterClipboardFormatW(L"UniformResourceLocator")),
      wideFormat_(RegisterClipboardFormatW(L"UniformResourceLocatorW")),
      dropTarget_(new ComDropTarget(*this)) {}

UrlDropTarget::~UrlDropTarget() {
  revoke();
  delete static_cast<ComDropTarget*>(dropTarget_);
}

bool UrlDropTarget::registerFor(void* hwnd) {
  revoke();
  if (FAILED(RegisterDragDrop(static_cast<HWND>(hwnd), static_cast<ComDropTarget*>(dropTarget_)))) return false;
  registeredFor_ = hwnd;
  return true;
}

void UrlDropTarget::revoke() {
  if (registeredFor_) RevokeDragDrop(static_cast<HWND>(registeredFor_));
  registeredFor_ = nullptr;
}

unsigned UrlDropTarget::dragOver(void* data) {
  auto* object = static_cast<IDataObject*>(data);
  unsigned effect = kEffectNone;
  FORMATETC format = formatOf(wideFormat_);
  STGMEDIUM medium{};
  if (object && SUCCEEDED(object->GetData(&format, &medium))) {
    effect = kEffectLink;
    ReleaseStgMedium(&medium);
  }
  static_cast<ComDropTarget*>(dropTarget_)->entered_ = effect;
  return effect;
}

bool UrlDropTarget::drop(void* data) {
  text_.clear();
  auto* object = static_cast<IDataObject*>(data);
  FORMATETC format = formatOf(wideFormat_);
  STGMEDIUM medium{};
  if (!object || FAILED(object->GetData(&format, &medium))) return true;
  if (medium.tymed == TYMED_HGLOBAL && medium.hGlobal) {
    // The text ends at its zero or at the end of the memory, whichever comes first.
    const SIZE_T units = GlobalSize(medium.hGlobal) / sizeof(char16_t);
    if (const auto* text = static_cast<const char16_t*>(GlobalLock(medium.hGlobal))) {
      size_t length = 0;
      while (length < units && text[length] != 0) ++length;
      text_.assign(std::u16string_view(text, length));
      GlobalUnlock(medium.hGlobal);
    }
  }
  ReleaseStgMedium(&medium);
  if (owner_) owner_->onEvent(this, kEventDropped);
  return true;
}

void UrlDropTarget::reset() {
  revoke();
  text_.clear();
  owner_ = nullptr;
}

}  // namespace s::gui::win
