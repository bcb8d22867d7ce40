// Text throughput: UTF-16 -> UTF-8 conversion and appending to a StrBuffer.
#include <benchmark/benchmark.h>

#include <string>

#include "s/str/strbuffer/StrBuffer.h"

namespace {

using s::str::strbuffer::StrBuffer;

constexpr size_t kTextUnits = 1 << 20;

// An HTML-like ASCII text: what the gallery page mostly is.
std::u16string asciiText() {
  const std::u16string line = u"<td><a href=\"img/picture_0042.jpg\"><img src=\"simg/picture_0042.jpg\"></a></td>\r\n";
  std::u16string text;
  while (text.size() < kTextUnits) text += line;
  text.resize(kTextUnits);
  return text;
}

// Mixed scripts: ASCII with Latin-1, Cyrillic, CJK and an emoji (a surrogate pair).
std::u16string mixedText() {
  const std::u16string words = u"caf\u00E9 \u0416\u0443\u0440\u043D\u0430\u043B \u5199\u771F\u30A2\u30EB\u30D0\u30E0 "
                               u"photo \U0001F4F7 ";
  std::u16string text;
  while (text.size() < kTextUnits) text += words;
  text.resize(kTextUnits - 1);  // never split a surrogate pair at the end
  if (text.back() >= 0xD800 && text.back() <= 0xDBFF) text.back() = u'x';
  return text;
}

void convertToUtf8(benchmark::State& state, const std::u16string& source) {
  StrBuffer text(source);
  std::string out;
  size_t bytes = 0;
  for (auto _ : state) {
    out.clear();
    text.appendUtf8To(out);
    bytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  // MB/s of UTF-16 input.
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(source.size() * 2));
  state.counters["utf8_bytes"] = static_cast<double>(bytes);
}

void BM_Utf16ToUtf8Ascii(benchmark::State& state) { convertToUtf8(state, asciiText()); }
void BM_Utf16ToUtf8Mixed(benchmark::State& state) { convertToUtf8(state, mixedText()); }

void BM_Utf8ToUtf16Mixed(benchmark::State& state) {
  const std::string utf8 = StrBuffer(mixedText()).toUtf8();
  StrBuffer text;
  for (auto _ : state) {
    text.assignUtf8(utf8);
    benchmark::DoNotOptimize(text.units());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(utf8.size()));
}

// Appending single units to a pooled text that starts empty each round, so growth
// steps are part of the cost, as they are for real callers.
void BM_AppendUnits(benchmark::State& state) {
  const size_t count = static_cast<size_t>(state.range(0));
  for (auto _ : state) {
    auto text = s::thread::make<StrBuffer>();
    for (size_t i = 0; i < count; ++i) text->append(static_cast<char16_t>(u'a' + (i & 15)));
    benchmark::DoNotOptimize(text->units());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(count));
}

void BM_AppendShortTexts(benchmark::State& state) {
  const size_t count = static_cast<size_t>(state.range(0));
  const std::u16string_view pieces[] = {u"<td>", u"picture_0042.jpg", u"\"", u"</a></td>\r\n", u" "};
  for (auto _ : state) {
    auto text = s::thread::make<StrBuffer>();
    for (size_t i = 0; i < count; ++i) text->append(pieces[i % 5]);
    benchmark::DoNotOptimize(text->units());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(count));
}

void BM_AppendNumbers(benchmark::State& state) {
  const size_t count = static_cast<size_t>(state.range(0));
  for (auto _ : state) {
    auto text = s::thread::make<StrBuffer>();
    for (size_t i = 0; i < count; ++i) text->appendInt32(static_cast<int32_t>(i * 7919));
    benchmark::DoNotOptimize(text->units());
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(count));
}

}  // namespace

BENCHMARK(BM_Utf16ToUtf8Ascii);
BENCHMARK(BM_Utf16ToUtf8Mixed);
BENCHMARK(BM_Utf8ToUtf16Mixed);
BENCHMARK(BM_AppendUnits)->Arg(64)->Arg(100000);
BENCHMARK(BM_AppendShortTexts)->Arg(64)->Arg(100000);
BENCHMARK(BM_AppendNumbers)->Arg(10000);
