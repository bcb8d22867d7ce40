#pragma once
// One resource of a module: type (kind or text), name (number or text), language,
// size, and where its bytes are: the platform's handle of a module resource, or a
// copy held in memory (resources supplied without a module).
#include <cstdint>
#include <string>
#include <vector>

#include "s/archive/dll/IEntry.h"
#include "s/thread/Pool.h"

namespace s::archive::dll::win {

class Entry final : public thread::PooledObject<Entry, IEntry> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_archive_dll_win_Entry";

  void reset() override;

  int64_t getSize() const override { return size_; }
  void setSize(int64_t size) override { size_ = size; }
  void setNameNumber(uint16_t number) override;
  void setName(std::u16string_view text) override;
  bool nameIsNumber() const override { return nameIsNumber_; }
  bool nameIsText() const override { return !nameIsNumber_; }
  uint16_t getNameNumber() const override { return nameNumber_; }
  const std::u16string& getNameText() const override { return nameText_; }
  void setKind(int kind) override;
  void setType(int typeNumber) override;
  void setType(std::u16string_view text) override;
  bool typeIsKind() const override { return typeIsKind_; }
  bool typeIsText() const override { return !typeIsKind_; }
  int getKind() const override { return kind_; }
  const std::u16string& getTypeText() const override { return typeText_; }
  int getTypeNumber() const override;
  void setLanguage(uint16_t language) override { language_ = language; }
  uint16_t getLanguage() const override { return language_; }
  void setSublanguage(uint16_t sublanguage) override { sublanguage_ = sublanguage; }
  uint16_t getSublanguage() const override { return sublanguage_; }

  // The platform's handle of the resource in its module (none for held bytes).
  void* getHandle() const { return handle_; }
  void setHandle(void* handle) { handle_ = handle; }
  // Bytes held in memory in place of a module resource; the size becomes theirs.
  void holdBytes(const uint8_t* bytes, size_t size);
  bool holdsBytes() const { return holdsBytes_; }
  const std::vector<uint8_t>& heldBytes() const { return held_; }

 private:
  int64_t size_ = 0;
  bool nameIsNumber_ = true;
  uint16_t nameNumber_ = 0;
  std::u16string nameText_;
  bool typeIsKind_ = true;
  int kind_ = 0;
  std::u16string typeText_;
  uint16_t language_ = 0;
  uint16_t sublanguage_ = 0;
  void* handle_ = nullptr;
  bool holdsBytes_ = false;
  std::vector<uint8_t> held_;
};

}  // namespace s::archive::dll::win
