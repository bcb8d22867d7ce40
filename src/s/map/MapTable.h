#pragma once
// MapTable: a chained hash table from keys to values, guarded by its own lock.
//
// Conventions of the table:
// - Keys are objects of the library's protocol, in practice texts (StrBuffer). A
//   case-sensitive table hashes them with hashCode and compares them with equals; a
//   case-insensitive one uses hashCodeIgnoreCase and equalsIgnoreCase. Two keys are
//   the same key when their hashes agree and they compare equal. (A text's
//   hashCodeIgnoreCase folds ASCII letters only, so keys whose case differs beyond
//   ASCII, such as "É" and "é", stay two keys even when ignoring case.)
// - The table neither copies nor owns its keys and values: a key must stay alive and
//   unchanged while it is in the table, and values are plain pointers.
// - The bucket count climbs a fixed ladder of 20 primes (kPrimes): the first insertion
//   allocates 211 buckets; an insertion that finds the entry count at half the bucket
//   count or more first moves to the next rung, re-linking every entry, each
//   appended at the end of its new chain. The top rung is never left.
// - Entries come from one pool, shared by all tables, that keeps up to 10000 idle
//   entries.
// - Every operation holds the table's lock, so one table may be used from several
//   threads.
//
// Take tables with MapTable::make(rule) (or create(), case-sensitive) and give them
// back with release().
#include <cstddef>
#include <cstdint>
#include <vector>

#include "s/base/IObject.h"
#include "s/thread/IPoolable.h"
#include "s/thread/ObjLocker.h"
#include "s/thread/Owned.h"
#include "s/thread/Pool.h"

namespace s::map {

class MapTableBases : public base::IObject, public thread::IPoolable {};

class MapTable final : public thread::PooledObject<MapTable, MapTableBases> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_map_MapTable";
  static constexpr uint32_t kPrimes[] = {211,     431,     863,      1733,     3467,     6947,     13901,
                                         27803,   55609,   111227,   222461,   444929,   889871,   1779761,
                                         3559537, 7119103, 14238221, 28476473, 56952947, 113905901};
  static constexpr size_t kRungCount = sizeof kPrimes / sizeof kPrimes[0];
  static constexpr int kEntryPoolCapacity = 10000;

  enum class CaseRule { kExact, kIgnoreCase };

  MapTable() = default;
  ~MapTable() override;
  MapTable(const MapTable&) = delete;
  MapTable& operator=(const MapTable&) = delete;

  // An empty table with the given case rule, in a holder.
  static thread::Owned<MapTable> make(CaseRule rule);

  // Empty and case-sensitive again.
  void reset() override;

  // Sets the case rule of an empty table; false (nothing changed) when it holds
  // entries, whose buckets were chosen by the other rule.
  bool setCaseRule(CaseRule rule);
  CaseRule caseRule() const { return rule_; }

  // Adds key with value. False, and the table unchanged apart from a possible move
  // to the next rung, when the same key is already present.
  bool put(const base::IComparable* key, void* value);
  // The value of the same key, or nullptr; *found (when given) tells whether the key
  // is present, for tables whose values may be null.
  void* get(const base::IComparable* key, bool* found = nullptr) const;
  bool contains(const base::IComparable* key) const;

  size_t count() const;
  // The buckets of the current rung; 0 before the first insertion.
  size_t bucketCount() const;
  // Gives every entry back to the pool and frees the buckets (the case rule stays).
  void clear();

 private:
  struct Entry {
    uint32_t hash;
    const base::IComparable* key;
    void* value;
    Entry* next;
  };

  static thread::EasyPooler& entryPool();
  uint32_t hashOf(const base::IComparable* key) const;
  // The entry holding the same key as key (whose hash is hash), or none. Lock held.
  Entry* find(const base::IComparable* key, uint32_t hash) const;
  // Moves every entry into the buckets of rung. Lock held.
  void moveToRung(size_t rung);

  mutable thread::ObjLocker lock_;
  CaseRule rule_ = CaseRule::kExact;
  size_t rung_ = 0;  // the index in kPrimes of the bucket count, once there are buckets
  std::vector<Entry*> buckets_;
  size_t count_ = 0;
};

}  // namespace s::map
