#include "s/str/strbuffer/CodePage.h"

#include "s/str/strbuffer/Utf8.h"

namespace s::str::strbuffer {

bool CodePage::encode(uint32_t codePage, const char16_t* units, size_t count, std::string& out) {
  switch (codePage) {
    case kUtf16Le:
    case kUtf16Be: {
      const size_t start = out.size();
      out.resize(start + 2 * count);
      const bool bigEndian = codePage == kUtf16Be;
      for (size_t i = 0; i < count; ++i) {
        out[start + 2 * i + (bigEndian ? 1 : 0)] = static_cast<char>(units[i] & 0xFF);
        out[start + 2 * i + (bigEndian ? 0 : 1)] = static_cast<char>(units[i] >> 8);
      }
      return true;
    }
    case kUtf8: {
      const size_t start = out.size();
      out.resize(start + encodedUtf8Length(units, count, Utf8Mode::kReplace));
      encodeUtf8(units, count, reinterpret_cast<uint8_t*>(out.data()) + start, Utf8Mode::kReplace);
      return true;
    }
    default:
      return count == 0 || systemEncode(codePage, units, count, out);
  }
}

bool CodePage::decode(uint32_t codePage, const uint8_t* bytes, size_t count, std::u16string& out) {
  switch (codePage) {
    case kUtf16Le:
    case kUtf16Be: {
      const bool bigEndian = codePage == kUtf16Be;
      for (size_t i = 0; i + 1 < count; i += 2) {
        const uint8_t first = bytes[i];
        const uint8_t second = bytes[i + 1];
        out.push_back(static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first)));
      }
      if (count & 1) out.push_back(kReplacementCharacter);  // half a unit
      return true;
    }
    case kUtf8: {
      const size_t start = out.size();
      out.resize(start + count);
      out.resize(start + decodeUtf8(bytes, count, out.data() + start, Utf8Mode::kReplace));
      return true;
    }
    default:
      return count == 0 || systemDecode(codePage, bytes, count, out);
  }
}

}  // namespace s::str::strbuffer
