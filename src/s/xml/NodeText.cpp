// Node: reading and writing text and files.
#include <string>
#include <vector>

#include "s/col/_array/ArrayU08.h"
#include "s/file/FileReplacer.h"
#include "s/file/win/PathWin.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/str/strbuffer/Utf8.h"
#include "s/thread/Owned.h"
#include "s/xml/Node.h"
#include "s/xml/Parser.h"

namespace s::xml {

namespace {

using str::strbuffer::StrBuffer;

// Appends UTF-16 pieces to a text.
struct TextSink {
  StrBuffer& out;
  void add(std::u16string_view piece) { out.append(piece); }
  void add(char16_t unit) { out.append(unit); }
};

// Appends UTF-16 pieces to UTF-8 bytes.
struct Utf8Sink {
  std::string& out;
  void add(std::u16string_view piece) {
    using str::strbuffer::Utf8Mode;
    size_t ascii = 0;
    while (ascii < piece.size() && piece[ascii] < 0x80) ++ascii;
    if (ascii == piece.size()) {
      for (char16_t unit : piece) out.push_back(static_cast<char>(unit));
      return;
    }
    // Three bytes per unit is the most any unit takes.
    const size_t used = out.size();
    out.resize(used + 3 * piece.size());
    const size_t written = str::strbuffer::encodeUtf8(piece.data(), piece.size(),
                                                      reinterpret_cast<uint8_t*>(out.data() + used), Utf8Mode::kReplace);
    out.resize(used + written);
  }
  void add(char16_t unit) {
    if (unit < 0x80) {
      out.push_back(static_cast<char>(unit));
    } else {
      add(std::u16string_view(&unit, 1));
    }
  }
};

template <class Sink>
void writeOpening(const Node& node, Sink& sink) {
  sink.add(u'<');
  sink.add(node.name());
  const Attributes& attributes = node.attributes();
  const Attribute* text = nullptr;
  for (size_t i = 0; i < attributes.count(); ++i) {
    const Attribute* record = attributes.at(i);
    if (record->isText()) {
      // Only the first text run is written.
      if (!text) text = record;
      continue;
    }
    sink.add(u' ');
    sink.add(record->name());
    sink.add(u"=\"");
    sink.add(record->value());
    sink.add(u'"');
  }
  sink.add(u'>');
  if (text) sink.add(text->value());
}

template <class Sink>
void writeClosing(const Node& node, Sink& sink) {
  sink.add(u"</");
  sink.add(node.name());
  sink.add(u'>');
}

// Without recursion, so that trees built deeper than any parse allows still write.
template <class Sink>
void writeTree(const Node& root, Sink& sink) {
  struct Open {
    const Node* node;
    size_t nextChild;
  };
  std::vector<Open> open;
  writeOpening(root, sink);
  open.push_back({&root, 0});
  while (!open.empty()) {
    Open& top = open.back();
    if (top.nextChild < top.node->childCount()) {
      const Node* child = top.node->childAt(top.nextChild++);
      writeOpening(*child, sink);
      open.push_back({child, 0});
    } else {
      writeClosing(*top.node, sink);
      open.pop_back();
    }
  }
}

}  // namespace

size_t Node::parse(std::u16string_view text, size_t from, bool* complete) {
  clear();
  Parser<char16_t> parser(text.data(), text.size(), from);
  const bool closed = parser.readElement(this, true);
  if (complete) *complete = closed;
  return parser.position();
}

size_t Node::parseUtf8(std::string_view bytes, bool* complete) {
  clear();
  Parser<char> parser(bytes.data(), bytes.size(), 0);
  const bool closed = parser.readElement(this, true);
  if (complete) *complete = closed;
  return parser.position();
}

StrBuffer* Node::toText(StrBuffer* target, bool append) const {
  StrBuffer* out = target ? target : StrBuffer::create();
  if (!append) out->clear();
  TextSink sink{*out};
  writeTree(*this, sink);
  return out;
}

std::string Node::toUtf8() const {
  std::string out;
  out.reserve(4096);
  Utf8Sink sink{out};
  writeTree(*this, sink);
  return out;
}

void Node::toBytes(col::_array::ArrayU08* out) const {
  const std::string bytes = toUtf8();
  out->clear();
  out->append(bytes.data(), bytes.size(), 0);
}

bool Node::loadFile(std::u16string_view path, bool* complete) {
  thread::Owned<file::win::PathWin> file(file::win::PathWin::fromText(path));
  return loadFile(*file, complete);
}

bool Node::loadFile(file::IPath& path, bool* complete) {
  clear();
  if (complete) *complete = false;
  thread::Owned<col::_array::ArrayU08> bytes = thread::make<col::_array::ArrayU08>();
  if (!path.readAll(bytes.get())) return false;
  parseUtf8({reinterpret_cast<const char*>(bytes->data()), bytes->getCount()}, complete);
  return true;
}

bool Node::saveFile(std::u16string_view path) const {
  const std::string bytes = toUtf8();
  return file::FileReplacer::replace(path, bytes.data(), bytes.size());
}

bool Node::saveFile(file::IPath& path) const { return saveFile(path.getFullPath().view()); }

}  // namespace s::xml
