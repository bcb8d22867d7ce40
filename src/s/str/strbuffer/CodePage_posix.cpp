#include <errno.h>
#include <iconv.h>

#include <cstdio>
#include <string>

#include "s/str/strbuffer/CodePage.h"
#include "s/str/strbuffer/Utf8.h"
#include "s/str/strbuffer/Surrogates.h"

namespace s::str::strbuffer {
namespace {

// iconv's name for a Windows code page number. Most single- and double-byte code
// pages are known to glibc as "CP<number>"; the others are named here.
std::string iconvName(uint32_t codePage) {
  switch (codePage) {
    case 20127: return "ASCII";
    case 20866: return "KOI8-R";
    case 21866: return "KOI8-U";
    case 20932:
    case 51932: return "EUC-JP";
    case 50220:
    case 50221:
    case 50222: return "ISO-2022-JP";
    case 51936: return "EUC-CN";
    case 51949: return "EUC-KR";
    case 936: return "GBK";
    case 950: return "BIG5";
    case 54936: return "GB18030";
    case 12000: return "UTF-32LE";
    case 12001: return "UTF-32BE";
    case 65000: return "UTF-7";
    default: break;
  }
  if (codePage >= 28591 && codePage <= 28605) return "ISO-8859-" + std::to_string(codePage - 28590);
  return "CP" + std::to_string(codePage);
}

// One iconv conversion descriptor, closed on scope exit.
class Converter {
 public:
  Converter(const char* to, const char* from) : descriptor_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(descriptor_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return descriptor_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of input, appending to output. onBadInput(input, left) is called
  // where iconv stops at a sequence it cannot convert; it appends a substitute and
  // returns how many input bytes to skip.
  template <class OnBadInput>
  void run(const char* input, size_t inputLeft, std::string& output, const OnBadInput& onBadInput) {
    char buffer[4096];
    auto* in = const_cast<char*>(input);
    while (true) {
      char* out = buffer;
      size_t outLeft = sizeof buffer;
      // A null input flushes the shift state of stateful encodings at the end.
      const size_t result = inputLeft ? iconv(descriptor_, &in, &inputLeft, &out, &outLeft)
                                      : iconv(descriptor_, nullptr, nullptr, &out, &outLeft);
      const int error = errno;
      output.append(buffer, static_cast<size_t>(out - buffer));
      if (result != static_cast<size_t>(-1)) {
        if (!inputLeft) return;
        continue;
      }
      if (error == E2BIG) continue;
      if (!inputLeft) return;  // flushing failed: nothing more to write
      // EILSEQ, or EINVAL for a sequence cut by the end of the input.
      size_t skip = onBadInput(in, inputLeft, output);
      if (skip > inputLeft) skip = inputLeft;
      in += skip;
      inputLeft -= skip;
    }
  }

 private:
  iconv_t descriptor_;
};


}  // namespace

bool CodePage::systemEncode(uint32_t codePage, const char16_t* units, size_t count, std::string& out) {
  if (codePage == kDefault) return encode(kUtf8, units, count, out);
  Converter converter(iconvName(codePage).c_str(), "UTF-16LE");
  if (!converter.ok()) return false;
  // iconv reads UTF-16LE bytes; build them explicitly so the byte order is right
  // on any machine.
  std::string input;
  encode(kUtf16Le, units, count, input);
  converter.run(input.data(), input.size(), out, [](const char* at, size_t left, std::string& output) -> size_t {
    output.push_back('?');
    // Skip one character: a surrogate pair is two units.
    const auto unitAt = [at](size_t offset) {
      return static_cast<char16_t>(static_cast<uint8_t>(at[offset]) | static_cast<uint8_t>(at[offset + 1]) << 8);
    };
    if (left >= 4 && isHighSurrogate(unitAt(0)) && isLowSurrogate(unitAt(2))) return 4;
    return 2;
  });
  return true;
}

bool CodePage::systemDecode(uint32_t codePage, const uint8_t* bytes, size_t count, std::u16string& out) {
  if (codePage == kDefault) return decode(kUtf8, bytes, count, out);
  Converter converter("UTF-16LE", iconvName(codePage).c_str());
  if (!converter.ok()) return false;
  std::string output;
  converter.run(reinterpret_cast<const char*>(bytes), count, output,
                [](const char*, size_t, std::string& converted) -> size_t {
                  converted.push_back(static_cast<char>(kReplacementCharacter & 0xFF));
                  converted.push_back(static_cast<char>(kReplacementCharacter >> 8));
                  return 1;
                });
  return decode(kUtf16Le, reinterpret_cast<const uint8_t*>(output.data()), output.size(), out);
}

}  // namespace s::str::strbuffer
