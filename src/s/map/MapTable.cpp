#include "s/map/MapTable.h"

namespace s::map {

MapTable::~MapTable() { clear(); }

thread::Owned<MapTable> MapTable::make(CaseRule rule) {
  thread::Owned<MapTable> table = thread::make<MapTable>();
  table->setCaseRule(rule);
  return table;
}

void MapTable::reset() {
  clear();
  rule_ = CaseRule::kExact;
}

bool MapTable::setCaseRule(CaseRule rule) {
  thread::ObjLocker::Scope lock(lock_);
  if (count_ != 0) return false;
  rule_ = rule;
  return true;
}

thread::EasyPooler& MapTable::entryPool() {
  // Never torn down, for the reason poolOf gives (s/thread/Pool.h).
  static thread::EasyPooler& pool = *new thread::EasyPooler(
      []() -> void* { return new Entry(); }, [](void* entry) { delete static_cast<Entry*>(entry); },
      [](void* entry) { *static_cast<Entry*>(entry) = Entry(); }, kEntryPoolCapacity);
  return pool;
}

uint32_t MapTable::hashOf(const base::IComparable* key) const {
  return rule_ == CaseRule::kIgnoreCase ? key->hashCodeIgnoreCase() : key->hashCode();
}

MapTable::Entry* MapTable::find(const base::IComparable* key, uint32_t hash) const {
  if (buckets_.empty()) return nullptr;
  for (Entry* entry = buckets_[hash % buckets_.size()]; entry; entry = entry->next) {
    if (entry->hash != hash) continue;
    if (rule_ == CaseRule::kIgnoreCase ? key->equalsIgnoreCase(entry->key) : key->equals(entry->key)) return entry;
  }
  return nullptr;
}

void MapTable::moveToRung(size_t rung) {
  std::vector<Entry*> buckets(kPrimes[rung], nullptr);
  // The last entry of each new chain, so every entry is appended in one step and
  // the entries of a chain keep the order they had in the old table.
  std::vector<Entry*> tails(buckets.size(), nullptr);
  for (Entry* chain : buckets_) {
    while (chain) {
      Entry* entry = chain;
      chain = chain->next;
      entry->next = nullptr;
      const size_t bucket = entry->hash % buckets.size();
      (tails[bucket] ? tails[bucket]->next : buckets[bucket]) = entry;
      tails[bucket] = entry;
    }
  }
  buckets_.swap(buckets);
  rung_ = rung;
}

bool MapTable::put(const base::IComparable* key, void* value) {
  // The entry is taken before the table's lock and given back after it, so the
  // pool's lock is never held inside this one.
  Entry* entry = static_cast<Entry*>(entryPool().take());
  bool added = false;
  {
    thread::ObjLocker::Scope lock(lock_);
    if (buckets_.empty()) {
      buckets_.assign(kPrimes[0], nullptr);
      rung_ = 0;
    } else if (2 * count_ >= buckets_.size() && rung_ + 1 < kRungCount) {
      moveToRung(rung_ + 1);
    }
    const uint32_t hash = hashOf(key);
    if (!find(key, hash)) {
      *entry = Entry{hash, key, value, nullptr};
      Entry** link = &buckets_[hash % buckets_.size()];
      while (*link) link = &(*link)->next;
      *link = entry;
      ++count_;
      added = true;
    }
  }
  if (!added) entryPool().giveBack(entry);
  return added;
}

void* MapTable::get(const base::IComparable* key, bool* found) const {
  thread::ObjLocker::Scope lock(lock_);
  const Entry* entry = find(key, hashOf(key));
  if (found) *found = entry != nullptr;
  return entry ? entry->value : nullptr;
}

bool MapTable::contains(const base::IComparable* key) const {
  bool found = false;
  get(key, &found);
  return found;
}

size_t MapTable::count() const {
  thread::ObjLocker::Scope lock(lock_);
  return count_;
}

size_t MapTable::bucketCount() const {
  thread::ObjLocker::Scope lock(lock_);
  return buckets_.size();
}

void MapTable::clear() {
  std::vector<Entry*> buckets;
  {
    thread::ObjLocker::Scope lock(lock_);
    buckets.swap(buckets_);
    rung_ = 0;
    count_ = 0;
  }
  for (Entry* chain : buckets) {
    while (chain) {
      Entry* next = chain->next;
      entryPool().giveBack(chain);
      chain = next;
    }
  }
}

}  // namespace s::map
