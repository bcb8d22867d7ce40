// Feeds arbitrary bytes to the XML reader. Checks:
// - reading never hangs, reads outside the input (AddressSanitizer) or overflows
//   (UBSan), whatever the input, including cut and deeply nested documents;
// - writing is a fixed point after one round: the reader drops what the writer cannot
//   express (a second text run, comments, unclosed elements), so
//   write(read(write(read(x)))) must equal write(read(x));
// - the UTF-16 reader builds the same tree as the UTF-8 one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/Owned.h"
#include "s/xml/Node.h"

using s::xml::Node;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  s::thread::Owned<Node> first = s::thread::make<Node>();
  first->parseUtf8(bytes);
  const std::string once = first->toUtf8();

  s::thread::Owned<Node> second = s::thread::make<Node>();
  bool complete = false;
  second->parseUtf8(once, &complete);
  if (!complete || second->toUtf8() != once) std::abort();

  s::thread::Owned<Node> wide = s::thread::make<Node>();
  const s::str::strbuffer::StrBuffer text(bytes);
  wide->parse(text.view());
  if (wide->toUtf8() != once) std::abort();
  return 0;
}
