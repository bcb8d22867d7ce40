#pragma once
#include "s/base/IComparable.h"

namespace s::base {

class IObject : public IComparable {
 public:
  // "s_" + namespace path + "_" + class name, for example u"s_xml_Node".
  virtual const char16_t* getRegistrationName() const = 0;
  // A fresh or recycled instance of the same class, taken from the class's pool;
  // the caller releases it.
  virtual IObject* newInstance() const = 0;
};

}  // namespace s::base
