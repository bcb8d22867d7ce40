#pragma once
// The pool of attribute records: one process-wide factory. Like the node pool it
// keeps up to Node::kIdleCapacity idle records, so that reading a document again
// takes every record from here (a record keeps at most a small text block, see
// Attribute::clear). Containers that own records dispose of them here.
#include "s/thread/PoolerBase.h"
#include "s/xml/Attribute.h"

namespace s::xml {

class AttrFactory final : public thread::PoolerBase {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_xml_AttrFactory";
  static constexpr int kRecordSize = 16;
  static constexpr int kIdleCapacity = 65536;

  // The factory of the process, created on first use and never torn down (records
  // may be released while the process exits).
  static AttrFactory& instance();

  AttrFactory() { setCapacity(kIdleCapacity); }
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
