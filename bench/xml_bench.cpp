// The XML reader and writer on 1 MB documents, against pugixml on the same bytes in
// the same run (pugixml's default parse, its raw writer).
//
// Two documents of 1 MB: the shape of the program's language pack (34 languages, one
// short UTF-8 text per language and entry, with "&#160;", "&gt;&gt;" and "&#10;"),
// and a document of many small elements that are mostly attributes. The program's
// own language document (res/lang.xml, about 110 kB) is read too when it is there.
#include <benchmark/benchmark.h>

#include <pugixml.hpp>

#include <string>
#include <vector>

#include "s/file/win/PathWin.h"
#include "s/thread/Owned.h"
#include "s/xml/Node.h"

namespace {

using s::xml::Node;

constexpr size_t kDocumentSize = 1 << 20;

const char* const kTags[] = {"eng", "bel", "zhs", "deu", "ell", "fra", "spa", "ita", "jpn", "kor", "hun", "rus",
                             "swe", "tur", "vec", "ara", "ind", "bul", "zht", "cze", "cpn", "dan", "est", "hrv",
                             "nld", "per", "pol", "bra", "rom", "slk", "srp", "fin", "ukr", "vie"};
// Texts in a few scripts, with the entities the language pack uses.
const char* const kTexts[] = {"Create:&#160;", "Advanced Options &gt;&gt;", "&lt;&lt; Minimize",
                              "\xD0\xA1\xD0\xBE\xD0\xB7\xD0\xB4\xD0\xB0\xD1\x82\xD1\x8C:&#160;",
                              "\xE4\xBD\x9C\xE6\x88\x90&#10;\xE3\x81\x99\xE3\x82\x8B",
                              "Please drop image files here!", "Sample Image Size (Pixel)"};

std::string languageDocument() {
  std::string document = "<lang>\r\n  <languages>\r\n";
  for (const char* tag : kTags) {
    document += std::string("    <entry tagName=\"") + tag + "\" engName=\"Name " + tag + "\" trueName=\"" + tag + "\"/>\r\n";
  }
  document += "  </languages>\r\n  <entries>\r\n";
  for (int id = 100000; document.size() < kDocumentSize; id += 10) {
    document += "    <entry id=\"" + std::to_string(id) + "\">\r\n";
    for (size_t i = 0; i < std::size(kTags); ++i) {
      document += std::string("      <") + kTags[i] + ">" + kTexts[(id / 10 + i) % std::size(kTexts)] + "</" +
                  kTags[i] + ">\r\n";
    }
    document += "    </entry>\r\n";
  }
  return document + "  </entries>\r\n</lang>";
}

std::string attributeDocument() {
  std::string document = "<savedata>";
  for (int i = 0; document.size() < kDocumentSize; ++i) {
    document += "<Window" + std::to_string(i % 97) + " Width=\"" + std::to_string(i * 7 % 2000) +
                "\" Height=\"400\" CompactView=\"1\" Title=\"Gallery &quot;" + std::to_string(i) +
                "&quot;\"><View Skin=\"Thin\" Language=\"English\"></View></Window" + std::to_string(i % 97) + ">";
  }
  return document + "</savedata>";
}

std::string sourceLanguageDocument() {
  s::thread::Owned<s::file::win::PathWin> file(s::file::win::PathWin::fromText(u"" PICTORVA_SOURCE_DIR "/res/lang.xml"));
  std::vector<uint8_t> bytes;
  file->readAll(&bytes);
  return std::string(bytes.begin(), bytes.end());
}

const std::string& document(int which) {
  static const std::string documents[] = {languageDocument(), attributeDocument(), sourceLanguageDocument()};
  return documents[which];
}

void setLabel(benchmark::State& state) {
  const char* const labels[] = {"language pack", "attributes", "res/lang.xml"};
  state.SetLabel(labels[state.range(0)]);
}

// The documents to run: res/lang.xml only when it could be read.
void documents(benchmark::internal::Benchmark* benchmark) {
  benchmark->Arg(0)->Arg(1);
  if (!document(2).empty()) benchmark->Arg(2);
}

void BM_Parse(benchmark::State& state) {
  const std::string& bytes = document(static_cast<int>(state.range(0)));
  s::thread::Owned<Node> node = s::thread::make<Node>();
  for (auto _ : state) {
    node->parseUtf8(bytes);
    benchmark::DoNotOptimize(node->childCount());
  }
  setLabel(state);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_ParsePugixml(benchmark::State& state) {
  const std::string& bytes = document(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    pugi::xml_document tree;
    const pugi::xml_parse_result result = tree.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_utf8);
    benchmark::DoNotOptimize(result.status);
  }
  setLabel(state);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_Write(benchmark::State& state) {
  s::thread::Owned<Node> node = s::thread::make<Node>();
  node->parseUtf8(document(static_cast<int>(state.range(0))));
  size_t written = 0;
  for (auto _ : state) {
    const std::string text = node->toUtf8();
    written = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  setLabel(state);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * written));
}

struct StringWriter final : pugi::xml_writer {
  std::string text;
  void write(const void* data, size_t size) override { text.append(static_cast<const char*>(data), size); }
};

void BM_WritePugixml(benchmark::State& state) {
  const std::string& bytes = document(static_cast<int>(state.range(0)));
  pugi::xml_document tree;
  tree.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_utf8);
  size_t written = 0;
  for (auto _ : state) {
    StringWriter writer;
    tree.save(writer, "", pugi::format_raw | pugi::format_no_declaration, pugi::encoding_utf8);
    written = writer.text.size();
    benchmark::DoNotOptimize(writer.text.data());
  }
  setLabel(state);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * written));
}

}  // namespace

BENCHMARK(BM_Parse)->Apply(documents)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParsePugixml)->Apply(documents)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Write)->Apply(documents)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WritePugixml)->Apply(documents)->Unit(benchmark::kMicrosecond);
