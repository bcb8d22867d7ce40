#pragma once
// The lenient element reader behind Node::parse (UTF-16 text) and Node::parseUtf8
// (UTF-8 bytes). Both read the same way: every character that steers the reader is
// ASCII, and a malformed UTF-8 sequence never swallows an ASCII byte, so cutting the
// bytes at those characters and decoding each piece gives what decoding first and
// cutting afterwards would give.
//
// Reading one element:
//  1. Skip to the first "<"; without one nothing is read.
//  2. Skip white space (tab, LF, CR, blank).
//  3. "!" starts a comment: the node is named by the three characters from there
//     ("!--") and the text is skipped up to and including the next "-->". Otherwise
//     the name runs up to white space, "/" or ">".
//  4. Attributes, until ">" or "/": skip white space; the name runs up to "=", white
//     space, ">" or "/"; then "=" and a double-quoted value, taken literally (no
//     decoding; single quotes are not recognised). A nameless attribute is dropped,
//     and one without "=" and a quote gets the empty value.
//  5. "/" makes the element empty: skip to the ">" and end after it.
//  6. After ">": skip white space; characters up to the next "<" are a text run (an
//     attribute with the empty name).
//  7. While the character after the current "<" is not "/": read a child (a comment
//     child is dropped), then skip white space and store what comes before the next
//     "<" as a further text run.
//  8. At "</": skip to the next ">" and end after it. The closing name is not checked.
//
// The end of the text ends every step: what was built so far stays. The open
// elements are kept on an explicit stack, and an element deeper than
// Node::kMaxDepth ends the reading the same way, so no input can exhaust the stack.
#include <cstddef>
#include <cstring>
#include <string_view>
#include <type_traits>
#include <vector>

#include "s/str/strbuffer/Utf8.h"
#include "s/xml/AttrFactory.h"
#include "s/xml/Node.h"

namespace s::xml {

template <class Unit>
class Parser {
  static_assert(std::is_same_v<Unit, char> || std::is_same_v<Unit, char16_t>);

 public:
  Parser(const Unit* text, size_t size, size_t position) : text_(text), end_(size), position_(position) {}

  // Reads one element into root (which the caller cleared). With skipComments,
  // comments before the element are passed over. Returns whether the element was
  // closed before the text ended (and within the depth limit).
  bool readElement(Node* root, bool skipComments);
  size_t position() const { return position_; }

 private:
  enum class Tag { kComment, kEmpty, kOpen, kCut };

  bool atEnd() const { return position_ >= end_; }
  static bool isSpace(Unit unit) { return unit == ' ' || unit == '\t' || unit == '\n' || unit == '\r'; }
  void skipSpace() {
    while (position_ < end_ && isSpace(text_[position_])) ++position_;
  }
  // The position of the first unit at or after from, or the end.
  size_t find(Unit unit, size_t from) const;
  size_t findCommentEnd(size_t from) const;

  // From the "<" at the position: the name and attributes of a tag.
  Tag readTag(Node* node);
  // Skips white space, then stores what comes before the next "<" as a text run.
  void readTextRun(Node* node);

  void setName(Node* node, size_t start, size_t stop);
  void addAttribute(Node* node, size_t nameStart, size_t nameStop, size_t valueStart, size_t valueStop);

  const Unit* text_;
  size_t end_;
  size_t position_;
};

template <class Unit>
size_t Parser<Unit>::find(Unit unit, size_t from) const {
  if (from >= end_) return end_;
  if constexpr (std::is_same_v<Unit, char>) {
    const void* hit = std::memchr(text_ + from, unit, end_ - from);
    return hit ? static_cast<size_t>(static_cast<const char*>(hit) - text_) : end_;
  } else {
    for (size_t i = from; i < end_; ++i) {
      if (text_[i] == unit) return i;
    }
    return end_;
  }
}

template <class Unit>
size_t Parser<Unit>::findCommentEnd(size_t from) const {
  for (size_t at = find('-', from); at < end_; at = find('-', at + 1)) {
    if (end_ - at >= 3 && text_[at + 1] == '-' && text_[at + 2] == '>') return at;
  }
  return end_;
}

template <class Unit>
void Parser<Unit>::setName(Node* node, size_t start, size_t stop) {
  if constexpr (std::is_same_v<Unit, char>) {
    std::u16string& name = node->name_;
    name.resize(stop - start);
    name.resize(str::strbuffer::decodeUtf8(reinterpret_cast<const uint8_t*>(text_ + start), stop - start,
                                           name.data(), str::strbuffer::Utf8Mode::kReplace));
  } else {
    node->name_.assign(text_ + start, stop - start);
  }
}

template <class Unit>
void Parser<Unit>::addAttribute(Node* node, size_t nameStart, size_t nameStop, size_t valueStart,
                                size_t valueStop) {
  Attribute* record = AttrFactory::instance().takeRecord();
  if constexpr (std::is_same_v<Unit, char>) {
    record->assignUtf8({text_ + nameStart, nameStop - nameStart}, {text_ + valueStart, valueStop - valueStart});
  } else {
    record->assign({text_ + nameStart, nameStop - nameStart}, {text_ + valueStart, valueStop - valueStart});
  }
  node->attributes_.append(record);
}

template <class Unit>
typename Parser<Unit>::Tag Parser<Unit>::readTag(Node* node) {
  ++position_;  // the "<"
  skipSpace();
  if (atEnd()) return Tag::kCut;
  if (text_[position_] == '!') {
    setName(node, position_, position_ + (end_ - position_ < 3 ? end_ - position_ : 3));
    const size_t close = findCommentEnd(position_ + 1);
    if (close == end_) {
      position_ = end_;
      return Tag::kCut;
    }
    position_ = close + 3;
    return Tag::kComment;
  }
  const size_t nameStart = position_;
  while (!atEnd() && !isSpace(text_[position_]) && text_[position_] != '/' && text_[position_] != '>') ++position_;
  setName(node, nameStart, position_);

  for (;;) {
    skipSpace();
    if (atEnd()) return Tag::kCut;
    if (text_[position_] == '>') {
      ++position_;
      return Tag::kOpen;
    }
    if (text_[position_] == '/') {
      position_ = find('>', position_);
      if (atEnd()) return Tag::kCut;
      ++position_;
      return Tag::kEmpty;
    }
    // Not white space, ">" or "/": the name loop stops at once only at "=", which is
    // then taken, so every round moves on.
    const size_t attributeStart = position_;
    while (!atEnd()) {
      const Unit unit = text_[position_];
      if (isSpace(unit) || unit == '=' || unit == '>' || unit == '/') break;
      ++position_;
    }
    const size_t attributeStop = position_;
    skipSpace();
    size_t valueStart = position_;
    size_t valueStop = position_;
    bool cut = false;
    if (!atEnd() && text_[position_] == '=') {
      ++position_;
      skipSpace();
      valueStart = valueStop = position_;
    }
    if (!atEnd() && text_[position_] == '"') {
      valueStart = position_ + 1;
      valueStop = find('"', valueStart);
      cut = valueStop == end_;
      position_ = cut ? end_ : valueStop + 1;
    }
    if (attributeStop > attributeStart) addAttribute(node, attributeStart, attributeStop, valueStart, valueStop);
    if (cut) return Tag::kCut;
  }
}

template <class Unit>
void Parser<Unit>::readTextRun(Node* node) {
  skipSpace();
  if (atEnd() || text_[position_] == '<') return;
  const size_t start = position_;
  position_ = find('<', position_);
  addAttribute(node, start, start, start, position_);
}

template <class Unit>
bool Parser<Unit>::readElement(Node* root, bool skipComments) {
  Tag tag;
  for (;;) {
    position_ = find('<', position_);
    if (atEnd()) return false;
    tag = readTag(root);
    if (!skipComments || !root->isComment()) break;
    root->clear();
    if (tag == Tag::kCut) return false;
  }
  if (tag == Tag::kComment || tag == Tag::kEmpty) return true;
  if (tag == Tag::kCut) return false;

  std::vector<Node*> open;
  open.reserve(32);
  open.push_back(root);
  readTextRun(root);
  for (;;) {
    // Here the position is at a "<", or at the end.
    if (end_ - position_ < 2) return false;
    if (text_[position_ + 1] == '/') {
      position_ = find('>', position_ + 2);
      if (atEnd()) return false;
      ++position_;
      open.pop_back();
      if (open.empty()) return true;
      readTextRun(open.back());
      continue;
    }
    if (open.size() >= Node::kMaxDepth) return false;
    Node* child = Node::create();
    tag = readTag(child);
    if (child->isComment()) {
      child->release();
    } else {
      open.back()->appendChild(child);
    }
    if (tag == Tag::kCut) return false;
    if (tag == Tag::kOpen) open.push_back(child);
    readTextRun(open.back());
  }
}

}  // namespace s::xml
