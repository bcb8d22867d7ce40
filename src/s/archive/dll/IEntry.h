#pragma once
// A resource of an executable module: its type and name (each a number below 0x10000
// or a text), language and size. Numeric types are held as kinds, which number the
// platform's standard resource types in alphabetical order of their names (see
// ResourceKinds.h); other numbers are kept unchanged as their kind.
#include <cstdint>
#include <string>
#include <string_view>

#include "s/archive/IEntry.h"

namespace s::archive::dll {

class IEntry : public archive::IEntry {
 public:
  virtual void setSize(int64_t size) = 0;
  virtual void setNameNumber(uint16_t number) = 0;
  virtual void setName(std::u16string_view text) = 0;
  virtual bool nameIsNumber() const = 0;
  virtual bool nameIsText() const = 0;
  virtual uint16_t getNameNumber() const = 0;
  virtual const std::u16string& getNameText() const = 0;
  virtual void setKind(int kind) = 0;
  // A type number becomes its kind.
  virtual void setType(int typeNumber) = 0;
  virtual void setType(std::u16string_view text) = 0;
  virtual bool typeIsKind() const = 0;
  virtual bool typeIsText() const = 0;
  virtual int getKind() const = 0;
  virtual const std::u16string& getTypeText() const = 0;
  // The kind turned back into the platform's type number.
  virtual int getTypeNumber() const = 0;
  virtual void setLanguage(uint16_t language) = 0;
  virtual uint16_t getLanguage() const = 0;
  virtual void setSublanguage(uint16_t sublanguage) = 0;
  virtual uint16_t getSublanguage() const = 0;
};

}  // namespace s::archive::dll
