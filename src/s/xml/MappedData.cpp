#include "s/xml/MappedData.h"

#include <vector>

#include "s/col/_array/ArrayU08.h"
#include "s/file/win/PathWin.h"
#include "s/xml/Escaping.h"

namespace s::xml {

namespace {

using str::strbuffer::StrBuffer;

bool isSeparator(char16_t unit) { return unit == u'\\' || unit == u'/'; }

std::u16string_view viewOf(const char16_t* text) { return text ? std::u16string_view(text) : std::u16string_view(); }

}  // namespace

MappedData::MappedData() { reset(); }

void MappedData::reset() {
  path_.clear();
  scratch_.freeStorage();
  currentPath_.clear();
  root_ = thread::make<Node>();
  root_->setName(kRootName);
  selected_ = nullptr;
  autoFlush_ = false;
  backupPending_ = false;
}

bool MappedData::open(std::u16string_view path) {
  reset();
  path_.assign(path);
  thread::Owned<file::win::PathWin> file(file::win::PathWin::fromText(path));
  if (!file->exists()) return true;
  bool complete = false;
  const bool read = root_->loadFile(*file, &complete);
  if (read && complete && root_->nameEquals(kRootName, Node::Match::kExact)) return true;
  backupPending_ = true;
  if (!root_->nameEquals(kRootName, Node::Match::kExact)) {
    root_->clear();
    root_->setName(kRootName);
  }
  return false;
}

bool MappedData::isPlainName(std::u16string_view name) {
  if (name.empty() || name[0] == u'!') return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const char16_t unit = name[i];
    if (unit < 0x20 || unit == 0x7F || std::u16string_view(u" \"&'/<=>\\").find(unit) != std::u16string_view::npos) {
      return false;
    }
    // Surrogates only in pairs: an unpaired one could not be written as UTF-8.
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (i + 1 >= name.size() || name[i + 1] < 0xDC00 || name[i + 1] > 0xDFFF) return false;
      ++i;
    } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
      return false;
    }
  }
  return true;
}

bool MappedData::flush() {
  if (path_.empty()) return true;
  if (backupPending_) {
    thread::Owned<file::win::PathWin> file(file::win::PathWin::fromText(path_));
    // Without its backup the file is not overwritten.
    if (file->exists() && !file->moveTo(path_ + kBackupSuffix, true)) return false;
    backupPending_ = false;
  }
  return root_->saveFile(path_);
}

bool MappedData::select(const char16_t* key, bool create) {
  const std::u16string_view path = viewOf(key);
  if (selected_ && Attributes::namesEqual(path, currentPath_)) return true;
  selected_ = nullptr;
  currentPath_.clear();
  // Every component is checked before anything is made. A separator at either end or
  // two in a row leave an empty component, which is no plain name.
  std::vector<std::u16string_view> components;
  if (!path.empty()) {
    size_t start = 0;
    for (size_t i = 0; i <= path.size(); ++i) {
      if (i < path.size() && !isSeparator(path[i])) continue;
      components.push_back(path.substr(start, i - start));
      if (!isPlainName(components.back())) return false;
      start = i + 1;
    }
  }
  Node* element = root_.get();
  for (std::u16string_view component : components) {
    Node* child = element->findChild(component, Node::Match::kExact);
    if (!child) {
      if (!create) return false;
      child = element->addChild(component);
    }
    element = child;
  }
  currentPath_.assign(path);
  selected_ = element;
  return true;
}

bool MappedData::deleteKey(const char16_t* key) {
  const std::u16string_view path = viewOf(key);
  if (path.empty()) return false;
  size_t last = path.size();
  while (last > 0 && !isSeparator(path[last - 1])) --last;
  const std::u16string_view name = path.substr(last);
  const std::u16string parent(path.substr(0, last == 0 ? 0 : last - 1));
  if (!isPlainName(name) || !select(parent.c_str(), false)) return false;
  size_t index = Node::kNone;
  if (!selected_->findChildIndex(name, &index, Node::Match::kIgnoreCase)) return false;
  selected_->removeChildAt(index);
  afterWrite();
  return true;
}

Node* MappedData::elementWithValue(const char16_t* key, const char16_t* name) {
  if (!select(key, false)) return nullptr;
  return selected_->attributes().find(viewOf(name)) ? selected_ : nullptr;
}

bool MappedData::hasValue(const char16_t* key, const char16_t* name) { return elementWithValue(key, name); }

uint8_t MappedData::getU08(const char16_t* key, const char16_t* name, uint8_t defaultValue) {
  Node* element = elementWithValue(key, name);
  return element ? element->getU08(viewOf(name), defaultValue) : defaultValue;
}
uint16_t MappedData::getU16(const char16_t* key, const char16_t* name, uint16_t defaultValue) {
  Node* element = elementWithValue(key, name);
  return element ? element->getU16(viewOf(name), defaultValue) : defaultValue;
}
uint32_t MappedData::getU32(const char16_t* key, const char16_t* name, uint32_t defaultValue) {
  Node* element = elementWithValue(key, name);
  return element ? element->getU32(viewOf(name), defaultValue) : defaultValue;
}
uint64_t MappedData::getU64(const char16_t* key, const char16_t* name, uint64_t defaultValue) {
  Node* element = elementWithValue(key, name);
  return element ? element->getU64(viewOf(name), defaultValue) : defaultValue;
}
int8_t MappedData::getS08(const char16_t* key, const char16_t* name, int8_t defaultValue) {
  Node* element = elementWithValue(key, name);
  return element ? element->getS08(viewOf(name), defaultValue) : defaultValue;
}
int16_t MappedData::getS16(const char16_t* key, const char16_t* name, int16_t defaultValue) {
  Node* element = elementWithValue(key, name);
  return element ? element->getS16(viewOf(name), defaultValue) : defaultValue;
}
int32_t MappedData::getS32(const char16_t* key, const char16_t* name, int32_t defaultValue) {
  Node* element = elementWithValue(key, name);
  return element ? element->getS32(viewOf(name), defaultValue) : defaultValue;
}
int64_t MappedData::getS64(const char16_t* key, const char16_t* name, int64_t defaultValue) {
  Node* element = elementWithValue(key, name);
  return element ? element->getS64(viewOf(name), defaultValue) : defaultValue;
}
float MappedData::getFloat(const char16_t* key, const char16_t* name, float defaultValue) {
  Node* element = elementWithValue(key, name);
  return element ? element->getFloat(viewOf(name), defaultValue) : defaultValue;
}
double MappedData::getDouble(const char16_t* key, const char16_t* name, double defaultValue) {
  Node* element = elementWithValue(key, name);
  return element ? element->getDouble(viewOf(name), defaultValue) : defaultValue;
}
bool MappedData::getBool(const char16_t* key, const char16_t* name, bool defaultValue) {
  Node* element = elementWithValue(key, name);
  return element ? element->getBool(viewOf(name), defaultValue) : defaultValue;
}

const char16_t* MappedData::getString(const char16_t* key, const char16_t* name, const char16_t* defaultValue,
                                      bool* wasExpandable, bool) {
  if (wasExpandable) *wasExpandable = false;
  Node* element = elementWithValue(key, name);
  if (!element) return defaultValue;
  element->getText(scratch_, viewOf(name), u"", false);
  return scratch_.data();
}

col::_array::ArrayU08* MappedData::getBytes(const char16_t* key, const char16_t* name,
                                            col::_array::ArrayU08* bytes) {
  Node* element = elementWithValue(key, name);
  if (!element) return bytes;
  if (!bytes) bytes = col::_array::ArrayU08::create();
  element->getBytes(viewOf(name), bytes);
  return bytes;
}

bool MappedData::deleteValue(const char16_t* key, const char16_t* name) {
  if (!select(key, false) || selected_->attributes().removeAll(viewOf(name)) == 0) return false;
  afterWrite();
  return true;
}

Node* MappedData::elementForWriting(const char16_t* key, const char16_t* name) {
  const std::u16string_view valueName = viewOf(name);
  if (!valueName.empty() && !isPlainName(valueName)) return nullptr;
  if (!select(key, true)) return nullptr;
  selected_->attributes().removeAll(valueName);
  return selected_;
}

template <class Write>
void MappedData::write(const char16_t* key, const char16_t* name, Write writeValue) {
  Node* element = elementForWriting(key, name);
  if (!element) return;
  writeValue(*element, viewOf(name));
  afterWrite();
}

void MappedData::afterWrite() {
  if (autoFlush_) (void)flush();
}

void MappedData::setU08(const char16_t* key, const char16_t* name, uint8_t value) {
  write(key, name, [&](Node& element, std::u16string_view valueName) { element.setU08(valueName, value); });
}
void MappedData::setU16(const char16_t* key, const char16_t* name, uint16_t value) {
  write(key, name, [&](Node& element, std::u16string_view valueName) { element.setU16(valueName, value); });
}
void MappedData::setU32(const char16_t* key, const char16_t* name, uint32_t value) {
  write(key, name, [&](Node& element, std::u16string_view valueName) { element.setU32(valueName, value); });
}
void MappedData::setU64(const char16_t* key, const char16_t* name, uint64_t value) {
  write(key, name, [&](Node& element, std::u16string_view valueName) { element.setU64(valueName, value); });
}
void MappedData::setS08(const char16_t* key, const char16_t* name, int8_t value) {
  write(key, name, [&](Node& element, std::u16string_view valueName) { element.setS08(valueName, value); });
}
void MappedData::setS16(const char16_t* key, const char16_t* name, int16_t value) {
  write(key, name, [&](Node& element, std::u16string_view valueName) { element.setS16(valueName, value); });
}
void MappedData::setS32(const char16_t* key, const char16_t* name, int32_t value) {
  write(key, name, [&](Node& element, std::u16string_view valueName) { element.setS32(valueName, value); });
}
void MappedData::setS64(const char16_t* key, const char16_t* name, int64_t value) {
  write(key, name, [&](Node& element, std::u16string_view valueName) { element.setS64(valueName, value); });
}
void MappedData::setFloat(const char16_t* key, const char16_t* name, float value) {
  write(key, name, [&](Node& element, std::u16string_view valueName) { element.setFloat(valueName, value); });
}
void MappedData::setDouble(const char16_t* key, const char16_t* name, double value) {
  write(key, name, [&](Node& element, std::u16string_view valueName) { element.setDouble(valueName, value); });
}
void MappedData::setBool(const char16_t* key, const char16_t* name, bool value) {
  write(key, name, [&](Node& element, std::u16string_view valueName) { element.setBool(valueName, value); });
}
void MappedData::setString(const char16_t* key, const char16_t* name, const char16_t* text) {
  write(key, name, [&](Node& element, std::u16string_view valueName) { element.setText(valueName, viewOf(text)); });
}
void MappedData::setBytes(const char16_t* key, const char16_t* name, const col::_array::ArrayU08* bytes) {
  write(key, name, [&](Node& element, std::u16string_view valueName) {
    element.setBytes(valueName, bytes ? bytes->data() : nullptr, bytes ? bytes->getCount() : 0);
  });
}

void MappedData::setStrings(const char16_t*, const char16_t*, const str::strarray::StrArray*) {
  // String lists are not stored; only the auto-flush step of a write remains.
  afterWrite();
}

}  // namespace s::xml
