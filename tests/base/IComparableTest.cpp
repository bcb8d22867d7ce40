#include <gtest/gtest.h>

#include "s/base/IComparator.h"
#include "s/base/IObject.h"
#include "s/thread/ObjLocker.h"

namespace {

class Plain final : public s::base::IObject {
 public:
  const char16_t* getRegistrationName() const override { return u"s_test_Plain"; }
  s::base::IObject* newInstance() const override { return new Plain(); }
};

class Other final : public s::base::IObject {
 public:
  const char16_t* getRegistrationName() const override { return u"s_test_Other"; }
  s::base::IObject* newInstance() const override { return new Other(); }
};

// Orders everything as equal, except that compareIgnoreCase says "less".
class Fixed final : public s::base::IComparator {
 public:
  int compare(const void*, const void*) const override { return 0; }
  int compareIgnoreCase(const void*, const void*) const override { return -1; }
};

TEST(IComparable, WithoutComparatorObjectsCompareByAddress) {
  Plain objects[2];
  EXPECT_EQ(objects[0].compareTo(&objects[0]), 0);
  EXPECT_EQ(objects[0].compareTo(&objects[1]), -1);
  EXPECT_EQ(objects[1].compareTo(&objects[0]), 1);
  EXPECT_EQ(objects[1].compareToIgnoreCase(&objects[0]), 1);
  EXPECT_TRUE(objects[0].equals(&objects[0]));
  EXPECT_FALSE(objects[0].equalsIgnoreCase(&objects[1]));
}

TEST(IComparable, ComparatorDecides) {
  Plain a, b;
  Fixed fixed;
  EXPECT_TRUE(a.equals(&b, &fixed));
  EXPECT_EQ(a.compareToIgnoreCase(&b, &fixed), -1);
  EXPECT_FALSE(a.equalsIgnoreCase(&b, &fixed));
}

TEST(IComparable, HashIdentifiesTheClass) {
  Plain a, b;
  Other c;
  EXPECT_EQ(a.hashCode(), b.hashCode());
  EXPECT_NE(a.hashCode(), c.hashCode());
  EXPECT_EQ(a.hashCodeIgnoreCase(), a.hashCode());
}

TEST(ObjLocker, DisposesTheGuardedObjectAndIsReentrant) {
  static int disposed = 0;
  {
    s::thread::ObjLocker locker(new int(5), [](void* p) {
      ++disposed;
      delete static_cast<int*>(p);
    });
    s::thread::ObjLocker::Scope outer(locker);
    s::thread::ObjLocker::Scope inner(locker);  // a critical section may be entered twice
    EXPECT_EQ(*static_cast<int*>(locker.guarded()), 5);
  }
  EXPECT_EQ(disposed, 1);
  s::thread::ObjLocker deleting(new int(1), s::thread::ObjLocker::deleterFor<int>());
}

}  // namespace
