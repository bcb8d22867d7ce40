#include "s/reg/MappedData.h"

#include "s/col/_array/ArrayU08.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace s::reg {

namespace {

std::u16string_view viewOf(const char16_t* text) { return text ? std::u16string_view(text) : std::u16string_view(); }

// The key path with "\\" between its components, or false when a component is empty.
bool registryPath(std::u16string_view key, std::u16string* path) {
  path->assign(key);
  for (char16_t& unit : *path) {
    if (unit == u'/') unit = u'\\';
  }
  if (path->empty()) return true;
  return path->front() != u'\\' && path->back() != u'\\' && path->find(u"\\\\") == std::u16string::npos;
}

}  // namespace

void MappedData::reset() {
  currentPath_.clear();
  selected_.reset();
  root_.reset();
  autoFlush_ = false;
  scratch_.clear();
}

void MappedData::open(std::u16string_view rootPath, uint32_t hive) {
  reset();
  root_ = thread::make<win::RegDir>();
  root_->setHiveAndPath(hive, rootPath);
}

bool MappedData::select(const char16_t* key, bool create) {
  if (!root_) return false;
  const std::u16string_view requested = viewOf(key);
  if (selected_ && selected_->isOpen() && str::strbuffer::StrBuffer(requested).equalsIgnoreCase(currentPath_)) {
    return true;
  }
  selected_.reset();
  currentPath_.clear();
  std::u16string path;
  if (!registryPath(requested, &path)) return false;
  thread::Owned<win::RegDir> chosen = thread::make<win::RegDir>();
  chosen->setHiveAndPath(root_->getHive(), path.empty() ? root_->getPath() : root_->getPath() + u"\\" + path);
  if (!chosen->isOpen() && !(create && chosen->createKey())) return false;
  selected_ = std::move(chosen);
  currentPath_.assign(requested);
  return true;
}

win::RegDir* MappedData::keyFor(const char16_t* key) { return select(key, false) ? selected_.get() : nullptr; }

bool MappedData::deleteKey(const char16_t* key) {
  if (viewOf(key).empty() || !select(key, false)) return false;
  const bool deleted = selected_->deleteTree(true);
  selected_.reset();
  currentPath_.clear();
  if (autoFlush_) flush();
  return deleted;
}

bool MappedData::hasValue(const char16_t* key, const char16_t* name) {
  win::RegDir* dir = keyFor(key);
  return dir && dir->queryValue(viewOf(name), nullptr, nullptr);
}

uint8_t MappedData::getU08(const char16_t* key, const char16_t* name, uint8_t defaultValue) {
  win::RegDir* dir = keyFor(key);
  return dir ? dir->getU08(viewOf(name), defaultValue) : defaultValue;
}
uint16_t MappedData::getU16(const char16_t* key, const char16_t* name, uint16_t defaultValue) {
  win::RegDir* dir = keyFor(key);
  return dir ? dir->getU16(viewOf(name), defaultValue) : defaultValue;
}
uint32_t MappedData::getU32(const char16_t* key, const char16_t* name, uint32_t defaultValue) {
  win::RegDir* dir = keyFor(key);
  return dir ? dir->getU32(viewOf(name), defaultValue) : defaultValue;
}
uint64_t MappedData::getU64(const char16_t* key, const char16_t* name, uint64_t defaultValue) {
  win::RegDir* dir = keyFor(key);
  return dir ? dir->getU64(viewOf(name), defaultValue) : defaultValue;
}
int8_t MappedData::getS08(const char16_t* key, const char16_t* name, int8_t defaultValue) {
  win::RegDir* dir = keyFor(key);
  return dir ? dir->getS08(viewOf(name), defaultValue) : defaultValue;
}
int16_t MappedData::getS16(const char16_t* key, const char16_t* name, int16_t defaultValue) {
  win::RegDir* dir = keyFor(key);
  return dir ? dir->getS16(viewOf(name), defaultValue) : defaultValue;
}
int32_t MappedData::getS32(const char16_t* key, const char16_t* name, int32_t defaultValue) {
  win::RegDir* dir = keyFor(key);
  return dir ? dir->getS32(viewOf(name), defaultValue) : defaultValue;
}
int64_t MappedData::getS64(const char16_t* key, const char16_t* name, int64_t defaultValue) {
  win::RegDir* dir = keyFor(key);
  return dir ? dir->getS64(viewOf(name), defaultValue) : defaultValue;
}
float MappedData::getFloat(const char16_t* key, const char16_t* name, float defaultValue) {
  win::RegDir* dir = keyFor(key);
  return dir ? dir->getFloat(viewOf(name), defaultValue) : defaultValue;
}
double MappedData::getDouble(const char16_t* key, const char16_t* name, double defaultValue) {
  win::RegDir* dir = keyFor(key);
  return dir ? dir->getDouble(viewOf(name), defaultValue) : defaultValue;
}
bool MappedData::getBool(const char16_t* key, const char16_t* name, bool defaultValue) {
  win::RegDir* dir = keyFor(key);
  return dir ? dir->getBool(viewOf(name), defaultValue) : defaultValue;
}

const char16_t* MappedData::getString(const char16_t* key, const char16_t* name, const char16_t* defaultValue,
                                      bool* wasExpandable, bool expand) {
  if (wasExpandable) *wasExpandable = false;
  win::RegDir* dir = keyFor(key);
  if (!dir || !dir->getString(viewOf(name), &scratch_, wasExpandable, expand)) return defaultValue;
  return scratch_.c_str();
}

col::_array::ArrayU08* MappedData::getBytes(const char16_t* key, const char16_t* name,
                                            col::_array::ArrayU08* bytes) {
  win::RegDir* dir = keyFor(key);
  if (!dir || !dir->queryValue(viewOf(name), nullptr, nullptr)) return bytes;
  if (!bytes) bytes = col::_array::ArrayU08::create();
  dir->getBytes(viewOf(name), bytes);
  return bytes;
}

bool MappedData::deleteValue(const char16_t* key, const char16_t* name) {
  win::RegDir* dir = keyFor(key);
  const bool deleted = dir && dir->deleteValue(viewOf(name));
  if (deleted && autoFlush_) flush();
  return deleted;
}

template <class Write>
void MappedData::write(const char16_t* key, Write writeValue) {
  if (!select(key, true)) return;
  writeValue(*selected_);
  if (autoFlush_) flush();
}

void MappedData::setU08(const char16_t* key, const char16_t* name, uint8_t value) {
  write(key, [&](win::RegDir& dir) { dir.setU08(viewOf(name), value); });
}
void MappedData::setU16(const char16_t* key, const char16_t* name, uint16_t value) {
  write(key, [&](win::RegDir& dir) { dir.setU16(viewOf(name), value); });
}
void MappedData::setU32(const char16_t* key, const char16_t* name, uint32_t value) {
  write(key, [&](win::RegDir& dir) { dir.setU32(viewOf(name), value); });
}
void MappedData::setU64(const char16_t* key, const char16_t* name, uint64_t value) {
  write(key, [&](win::RegDir& dir) { dir.setU64(viewOf(name), value); });
}
void MappedData::setS08(const char16_t* key, const char16_t* name, int8_t value) {
  write(key, [&](win::RegDir& dir) { dir.setS08(viewOf(name), value); });
}
void MappedData::setS16(const char16_t* key, const char16_t* name, int16_t value) {
  write(key, [&](win::RegDir& dir) { dir.setS16(viewOf(name), value); });
}
void MappedData::setS32(const char16_t* key, const char16_t* name, int32_t value) {
  write(key, [&](win::RegDir& dir) { dir.setS32(viewOf(name), value); });
}
void MappedData::setS64(const char16_t* key, const char16_t* name, int64_t value) {
  write(key, [&](win::RegDir& dir) { dir.setS64(viewOf(name), value); });
}
void MappedData::setFloat(const char16_t* key, const char16_t* name, float value) {
  write(key, [&](win::RegDir& dir) { dir.setFloat(viewOf(name), value); });
}
void MappedData::setDouble(const char16_t* key, const char16_t* name, double value) {
  write(key, [&](win::RegDir& dir) { dir.setDouble(viewOf(name), value); });
}
void MappedData::setBool(const char16_t* key, const char16_t* name, bool value) {
  write(key, [&](win::RegDir& dir) { dir.setBool(viewOf(name), value); });
}
void MappedData::setString(const char16_t* key, const char16_t* name, const char16_t* text) {
  write(key, [&](win::RegDir& dir) { dir.setString(viewOf(name), viewOf(text)); });
}
void MappedData::setExpandString(const char16_t* key, const char16_t* name, const char16_t* text) {
  write(key, [&](win::RegDir& dir) { dir.setExpandString(viewOf(name), viewOf(text)); });
}
void MappedData::setBytes(const char16_t* key, const char16_t* name, const col::_array::ArrayU08* bytes) {
  write(key, [&](win::RegDir& dir) {
    dir.setBytes(viewOf(name), bytes ? bytes->data() : nullptr, bytes ? bytes->getCount() : 0);
  });
}

void MappedData::setStrings(const char16_t*, const char16_t*, const str::strarray::StrArray*) {
  // String lists are not stored; only the auto-flush step of a write remains.
  if (autoFlush_) flush();
}

}  // namespace s::reg
