#pragma once
// The pool of attribute records: one process-wide factory, up to 1000 idle records,
// each reported as 16 bytes (its fixed part; a record keeps a small text block, see
// Attribute::clear). Containers that own records dispose of them here.
#include "s/thread/PoolerBase.h"
#include "s/xml/Attribute.h"

namespace s::xml {

class AttrFactory final : public thread::PoolerBase {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_xml_AttrFactory";
  static constexpr int kRecordSize = 16;

  // The factory of the process, created on first use and never torn down (records
  // may be released while the process exits).
  static AttrFactory& instance();

  AttrFactory() { setLimitBySize(true); }
  ~AttrFactory() override { destroyIdle(); }

  const char16_t* getRegistrationName() const override { return kRegistrationName; }
  // Factories are not pooled: a new, empty one that the caller deletes.
  base::IObject* newInstance() const override { return new AttrFactory(); }

  Attribute* takeRecord() { return static_cast<Attribute*>(take()); }
  void giveBackRecord(Attribute* record) { giveBack(record, kRecordSize); }

  void* generate() override { return new Attribute(); }
  int sizeOf(void*) override { return kRecordSize; }
  void resetObject(void* object) override { static_cast<Attribute*>(object)->clear(); }
  void destroyObject(void* object) override { delete static_cast<Attribute*>(object); }
};

}  // namespace s::xml
