#include "s/map/MapTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <thread>
#include <vector>

#include "s/str/strbuffer/StrBuffer.h"

namespace {

using s::map::MapTable;
using s::str::strbuffer::StrBuffer;
using s::thread::Owned;
using CaseRule = MapTable::CaseRule;

// Keys that live as long as the test: the table does not own them.
std::vector<Owned<StrBuffer>> numberedKeys(size_t count, std::u16string_view stem) {
  std::vector<Owned<StrBuffer>> keys;
  for (size_t i = 0; i < count; ++i) {
    Owned<StrBuffer> key = StrBuffer::of(stem);
    key->appendUInt64(i);
    keys.push_back(std::move(key));
  }
  return keys;
}

void* valueOf(size_t index) { return reinterpret_cast<void*>(index + 1); }

class MapTableRules : public ::testing::TestWithParam<CaseRule> {};

// The index climbs the ladder of primes rung by rung, keeping every entry findable
// and never more than half full (plus the entry that triggers the next move).
TEST_P(MapTableRules, GrowsThroughTheLadderKeepingEveryEntry) {
  Owned<MapTable> table = MapTable::make(GetParam());
  EXPECT_EQ(table->bucketCount(), 0u);
  const std::vector<Owned<StrBuffer>> keys = numberedKeys(1000, u"Key");
  std::vector<size_t> rungs;
  for (size_t i = 0; i < keys.size(); ++i) {
    ASSERT_TRUE(table->put(keys[i].get(), valueOf(i)));
    const size_t buckets = table->bucketCount();
    if (rungs.empty() || rungs.back() != buckets) {
      rungs.push_back(buckets);
      // Right after a move every earlier key is still found.
      for (size_t j = 0; j <= i; ++j) ASSERT_EQ(table->get(keys[j].get()), valueOf(j)) << j << " at " << buckets;
    }
    ASSERT_LE(2 * table->count(), buckets + 1);
  }
  EXPECT_EQ(table->count(), keys.size());
  ASSERT_GE(rungs.size(), 4u);
  for (size_t r = 0; r < rungs.size(); ++r) EXPECT_EQ(rungs[r], MapTable::kPrimes[r]);

  // The other spelling of a key: found only when the table ignores case.
  const Owned<StrBuffer> upper = StrBuffer::of(u"KEY517");
  bool found = false;
  EXPECT_EQ(table->get(upper.get(), &found), GetParam() == CaseRule::kIgnoreCase ? valueOf(517) : nullptr);
  EXPECT_EQ(found, GetParam() == CaseRule::kIgnoreCase);
}

INSTANTIATE_TEST_SUITE_P(BothCaseRules, MapTableRules, ::testing::Values(CaseRule::kExact, CaseRule::kIgnoreCase));

TEST(MapTable, TheFirstOfTwoSameKeysStays) {
  struct Case {
    CaseRule rule;
    std::u16string_view first, second;
    bool secondAdded;
  };
  const Case cases[] = {
      {CaseRule::kExact, u"Language", u"Language", false},
      {CaseRule::kExact, u"Language", u"language", true},
      {CaseRule::kIgnoreCase, u"Language", u"LANGUAGE", false},
      {CaseRule::kIgnoreCase, u"", u"", false},
      // The case-insensitive hash folds ASCII only: keys differing in case beyond
      // ASCII stay two keys.
      {CaseRule::kIgnoreCase, u"\u00C9t\u00E9", u"\u00E9t\u00E9", true},
  };
  for (const Case& c : cases) {
    Owned<MapTable> table = MapTable::make(c.rule);
    const StrBuffer first(c.first), second(c.second);
    int a = 0, b = 0;
    ASSERT_TRUE(table->put(&first, &a));
    EXPECT_EQ(table->put(&second, &b), c.secondAdded) << std::string(c.second.begin(), c.second.end());
    EXPECT_EQ(table->count(), c.secondAdded ? 2u : 1u);
    EXPECT_EQ(table->get(&first), &a);
    EXPECT_EQ(table->get(&second), c.secondAdded ? &b : &a);
  }
}

TEST(MapTable, NullValuesAreFoundAndMissingKeysAreNot) {
  Owned<MapTable> table = MapTable::make(CaseRule::kExact);
  const StrBuffer present(u"present"), absent(u"absent");
  bool found = true;
  EXPECT_EQ(table->get(&present, &found), nullptr);  // no buckets yet
  EXPECT_FALSE(found);
  ASSERT_TRUE(table->put(&present, nullptr));
  EXPECT_EQ(table->get(&present, &found), nullptr);
  EXPECT_TRUE(found);
  EXPECT_TRUE(table->contains(&present));
  EXPECT_FALSE(table->contains(&absent));
}

TEST(MapTable, TheCaseRuleChangesOnlyWhileEmptyAndResetRestoresAFreshTable) {
  Owned<MapTable> table = MapTable::make(CaseRule::kIgnoreCase);
  const StrBuffer key(u"Key"), other(u"KEY");
  ASSERT_TRUE(table->put(&key, nullptr));
  EXPECT_FALSE(table->setCaseRule(CaseRule::kExact));
  EXPECT_EQ(table->caseRule(), CaseRule::kIgnoreCase);
  table->clear();
  EXPECT_EQ(table->count(), 0u);
  EXPECT_EQ(table->bucketCount(), 0u);
  EXPECT_FALSE(table->contains(&key));
  EXPECT_TRUE(table->setCaseRule(CaseRule::kExact));
  ASSERT_TRUE(table->put(&key, nullptr));
  EXPECT_TRUE(table->put(&other, nullptr));

  table->reset();
  EXPECT_EQ(table->caseRule(), CaseRule::kExact);
  EXPECT_EQ(table->count(), 0u);
}

// The lock: two threads filling one table lose no entry and corrupt no chain.
TEST(MapTable, TwoThreadsFillOneTable) {
  Owned<MapTable> table = MapTable::make(CaseRule::kExact);
  const std::vector<Owned<StrBuffer>> left = numberedKeys(3000, u"left");
  const std::vector<Owned<StrBuffer>> right = numberedKeys(3000, u"right");
  auto fill = [&table](const std::vector<Owned<StrBuffer>>& keys) {
    for (size_t i = 0; i < keys.size(); ++i) table->put(keys[i].get(), valueOf(i));
  };
  std::thread other(fill, std::cref(right));
  fill(left);
  other.join();
  EXPECT_EQ(table->count(), 6000u);
  for (size_t i = 0; i < left.size(); ++i) {
    ASSERT_EQ(table->get(left[i].get()), valueOf(i));
    ASSERT_EQ(table->get(right[i].get()), valueOf(i));
  }
}

}  // namespace
