#pragma once
#include "s/base/IDestructor.h"
#include "s/base/IObject.h"

namespace s::cleaner {

// Disposes of raw memory blocks taken with malloc (or the helpers of s/base/Memory.h).
class CleanerRawObject final : public base::IObject, public base::IDestructor {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_cleaner_CleanerRawObject";
  static CleanerRawObject& instance();

  const char16_t* getRegistrationName() const override { return kRegistrationName; }
  base::IObject* newInstance() const override { return &instance(); }
  void dispose(void** slot) override;
};

}  // namespace s::cleaner
