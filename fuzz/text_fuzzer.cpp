// Feeds arbitrary bytes to the text decoders: UTF-8 in both modes and the number
// parsers. Checks the invariants the rest of the library relies on:
// - the lossless mode gives back exactly the input bytes;
// - the replacing mode yields no unpaired surrogates, so its re-encoding decodes to
//   the same units;
// - parsing never reads outside the text (AddressSanitizer) or overflows (UBSan).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "s/str/strbuffer/StrBuffer.h"

using s::str::strbuffer::StrBuffer;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  StrBuffer lossless;
  lossless.assignUtf8Lossless(bytes);
  if (lossless.toUtf8Lossless() != bytes) std::abort();

  StrBuffer replaced(bytes);
  StrBuffer again(replaced.toUtf8());
  if (!again.equals(replaced.view())) std::abort();

  (void)replaced.parseInt64();
  (void)replaced.parseUInt32();
  (void)replaced.parseInt8();
  (void)replaced.parseDouble();
  (void)replaced.parseFloat();
  StrBuffer latin1;
  latin1.appendLatin1(reinterpret_cast<const char*>(data), size);
  (void)latin1.parseDouble();
  (void)latin1.parseInt32();
  return 0;
}
