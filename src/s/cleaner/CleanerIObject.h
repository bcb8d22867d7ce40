#pragma once
// Disposes of owned objects by destroying them (no pool involved).
#include "s/base/IDestructor.h"
#include "s/base/IObject.h"

namespace s::cleaner {

class CleanerIObject final : public base::IObject, public base::IDestructor {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_cleaner_CleanerIObject";
  // The one process-wide instance.
  static CleanerIObject& instance();

  const char16_t* getRegistrationName() const override { return kRegistrationName; }
  base::IObject* newInstance() const override { return &instance(); }
  // *slot must hold an IObject pointer (IObject is the first base of every class,
  // so a pointer to the object itself qualifies).
  void dispose(void** slot) override;
};

}  // namespace s::cleaner
