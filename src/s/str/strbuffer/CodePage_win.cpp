#include <windows.h>

#include <climits>

#include "s/str/strbuffer/CodePage.h"
#include "s/str/strbuffer/Surrogates.h"

namespace s::str::strbuffer {
namespace {

// The Win32 conversions count in int; longer texts are converted in pieces that
// never split a surrogate pair (encoding) or, for decoding, in one piece only when
// they fit, since a multi-byte character could straddle a cut.
constexpr size_t kMaxPiece = INT_MAX / 4;


// Without best-fit mapping, characters a code page lacks become '?' (as on Linux)
// instead of look-alikes such as "a" for "ā", which can change a name's meaning.
// Some code pages (UTF-7, the ISO-2022 family) accept no flags at all.
int wideToMultiByte(UINT codePage, const wchar_t* wide, int count, char* out, int outSize) {
  const int result = WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide, count, out, outSize, nullptr, nullptr);
  if (result > 0 || GetLastError() != ERROR_INVALID_FLAGS) return result;
  return WideCharToMultiByte(codePage, 0, wide, count, out, outSize, nullptr, nullptr);
}

}  // namespace

bool CodePage::systemEncode(uint32_t codePage, const char16_t* units, size_t count, std::string& out) {
  const UINT windowsCodePage = codePage == kDefault ? CP_ACP : codePage;
  if (!IsValidCodePage(windowsCodePage) && windowsCodePage != CP_ACP) return false;
  while (count) {
    size_t piece = count < kMaxPiece ? count : kMaxPiece;
    if (piece < count && isHighSurrogate(units[piece - 1])) --piece;
    const auto* wide = reinterpret_cast<const wchar_t*>(units);
    const int needed = wideToMultiByte(windowsCodePage, wide, static_cast<int>(piece), nullptr, 0);
    if (needed <= 0) return false;
    const size_t start = out.size();
    out.resize(start + static_cast<size_t>(needed));
    wideToMultiByte(windowsCodePage, wide, static_cast<int>(piece), out.data() + start, needed);
    units += piece;
    count -= piece;
  }
  return true;
}

bool CodePage::systemDecode(uint32_t codePage, const uint8_t* bytes, size_t count, std::u16string& out) {
  const UINT windowsCodePage = codePage == kDefault ? CP_ACP : codePage;
  if (!IsValidCodePage(windowsCodePage) && windowsCodePage != CP_ACP) return false;
  if (count > kMaxPiece) return false;
  const auto* narrow = reinterpret_cast<const char*>(bytes);
  const int needed = MultiByteToWideChar(windowsCodePage, 0, narrow, static_cast<int>(count), nullptr, 0);
  if (needed <= 0) return false;
  const size_t start = out.size();
  out.resize(start + static_cast<size_t>(needed));
  MultiByteToWideChar(windowsCodePage, 0, narrow, static_cast<int>(count),
                      reinterpret_cast<wchar_t*>(out.data() + start), needed);
  return true;
}

}  // namespace s::str::strbuffer
