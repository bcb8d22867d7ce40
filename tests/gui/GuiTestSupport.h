#pragma once
// What the toolkit's tests share: a leaf with sizes set by hand, a listener that
// records events, a root box whose native windows are kept in memory, and a save-data
// store in memory.
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "s/gui/Component.h"
#include "s/gui/events/IEventListener.h"
#include "s/gui/native/MemoryWindow.h"
#include "s/gui/win/Box.h"
#include "s/map/IMappedData.h"
#include "s/thread/Pool.h"

namespace s::gui {

// Readable rectangles and sizes in failure messages.
inline void PrintTo(const Rect& r, std::ostream* out) {
  *out << "{" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << "}";
}
inline void PrintTo(const Size& s, std::ostream* out) { *out << s.width << " x " << s.height; }

}  // namespace s::gui

namespace s::gui::testing {

// A leaf whose content minimum and preferred sizes the test sets.
class Probe final : public thread::PooledObject<Probe, Component> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_gui_testing_Probe";
  void setSizes(int minWidth, int minHeight, int preferredWidth, int preferredHeight) {
    setContentSizes(minWidth, minHeight, preferredWidth, preferredHeight);
  }
  static Probe* make(int minWidth, int minHeight, int preferredWidth, int preferredHeight) {
    Probe* probe = create();
    probe->setSizes(minWidth, minHeight, preferredWidth, preferredHeight);
    return probe;
  }
};

class EventRecorder : public events::IEventListener {
 public:
  void onEvent(base::IObject* source, int eventType) override { events.emplace_back(source, eventType); }
  int count(int eventType) const {
    int n = 0;
    for (const auto& event : events) n += event.second == eventType ? 1 : 0;
    return n;
  }
  std::vector<std::pair<base::IObject*, int>> events;
};

// A box of content size width × height at the root of a tree of memory windows.
inline win::Box* makeMemoryRoot(int width, int height) {
  win::Box* root = win::Box::create();
  root->attachRootWindow(new native::MemoryWindow(*root, nullptr));
  root->setSize(width, height);
  return root;
}

inline native::MemoryWindow* memoryWindowOf(const IComponent& component) {
  return static_cast<native::MemoryWindow*>(component.getNativeWindow());
}

// Texts and 32-bit numbers in memory; every other kind of value is absent.
class FakeStore final : public map::IMappedData {
 public:
  const char16_t* getRegistrationName() const override { return u"s_gui_testing_FakeStore"; }
  base::IObject* newInstance() const override { return nullptr; }
  bool flush() override { return true; }
  bool openKey(const char16_t*) override { return true; }
  bool deleteKey(const char16_t*) override { return false; }
  bool findKey(const char16_t*) override { return true; }
  bool hasValue(const char16_t* key, const char16_t* name) override { return texts_.count(path(key, name)) > 0; }
  uint8_t getU08(const char16_t*, const char16_t*, uint8_t value) override { return value; }
  uint16_t getU16(const char16_t*, const char16_t*, uint16_t value) override { return value; }
  uint32_t getU32(const char16_t*, const char16_t*, uint32_t value) override { return value; }
  uint64_t getU64(const char16_t*, const char16_t*, uint64_t value) override { return value; }
  int8_t getS08(const char16_t*, const char16_t*, int8_t value) override { return value; }
  int16_t getS16(const char16_t*, const char16_t*, int16_t value) override { return value; }
  int32_t getS32(const char16_t*, const char16_t*, int32_t value) override { return value; }
  int64_t getS64(const char16_t*, const char16_t*, int64_t value) override { return value; }
  float getFloat(const char16_t*, const char16_t*, float value) override { return value; }
  double getDouble(const char16_t*, const char16_t*, double value) override { return value; }
  bool getBool(const char16_t*, const char16_t*, bool value) override { return value; }
  const char16_t* getString(const char16_t* key, const char16_t* name, const char16_t* defaultValue, bool*,
                            bool) override {
    auto found = texts_.find(path(key, name));
    if (found == texts_.end()) return defaultValue;
    lastRead_ = found->second;
    return lastRead_.c_str();
  }
  str::strarray::StrArray* getStrings(const char16_t*, const char16_t*) override { return nullptr; }
  col::_array::ArrayU08* getBytes(const char16_t*, const char16_t*, col::_array::ArrayU08* bytes) override {
    return bytes;
  }
  bool deleteValue(const char16_t* key, const char16_t* name) override { return texts_.erase(path(key, name)) > 0; }
  void setU08(const char16_t*, const char16_t*, uint8_t) override {}
  void setU16(const char16_t*, const char16_t*, uint16_t) override {}
  void setU32(const char16_t*, const char16_t*, uint32_t) override {}
  void setU64(const char16_t*, const char16_t*, uint64_t) override {}
  void setS08(const char16_t*, const char16_t*, int8_t) override {}
  void setS16(const char16_t*, const char16_t*, int16_t) override {}
  void setS32(const char16_t*, const char16_t*, int32_t) override {}
  void setS64(const char16_t*, const char16_t*, int64_t) override {}
  void setFloat(const char16_t*, const char16_t*, float) override {}
  void setDouble(const char16_t*, const char16_t*, double) override {}
  void setBool(const char16_t*, const char16_t*, bool) override {}
  void setString(const char16_t* key, const char16_t* name, const char16_t* text) override {
    texts_[path(key, name)] = text;
  }
  void setExpandString(const char16_t* key, const char16_t* name, const char16_t* text) override {
    setString(key, name, text);
  }
  void setStrings(const char16_t*, const char16_t*, const str::strarray::StrArray*) override {}
  void setBytes(const char16_t*, const char16_t*, const col::_array::ArrayU08*) override {}
  bool isAutoFlush() const override { return true; }
  void setAutoFlush(bool) override {}

  // The stored text, or "" when there is none.
  std::u16string text(const char16_t* key, const char16_t* name) const {
    auto found = texts_.find(path(key, name));
    return found == texts_.end() ? std::u16string() : found->second;
  }

 private:
  static std::u16string path(const char16_t* key, const char16_t* name) {
    return std::u16string(key ? key : u"") + u"|" + (name ? name : u"");
  }
  std::map<std::u16string, std::u16string> texts_;
  std::u16string lastRead_;
};

}  // namespace s::gui::testing
