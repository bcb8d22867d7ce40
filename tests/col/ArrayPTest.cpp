#include <gtest/gtest.h>

#include <string>

#include "s/cleaner/CleanerIObject.h"
#include "s/col/CollectionInputStream.h"
#include "s/col/_array/ArrayP.h"
#include "s/col/_array/ArrayS08.h"
#include "s/col/_array/ArrayS32.h"
#include "s/col/_array/ArrayU08.h"
#include "s/col/_array/ArrayU32.h"
#include "s/col/_array/Iterator.h"
#include "s/comp/CompP.h"
#include "s/comp/CompS08.h"
#include "s/comp/CompS32.h"
#include "s/comp/CompU08.h"
#include "s/comp/CompU32.h"
#include "s/thread/Owned.h"
#include "s/thread/Pool.h"

namespace {

using s::col::_array::ArrayP;
using s::thread::make;
using s::thread::poolOf;

std::u16string nameOf(const s::base::IObject& object) { return object.getRegistrationName(); }

TEST(ArrayFamily, RegistrationNamesAndComparators) {
  EXPECT_EQ(std::u16string(s::col::_array::ArrayBase::kRegistrationName), u"s_col_array_ArrayBase");
  struct Case {
    s::thread::Owned<s::col::_array::ArrayBase> array;
    const char16_t* name;
    const s::base::IComparator* comparator;
    size_t width;
  };
  Case cases[] = {
      {s::thread::Owned<s::col::_array::ArrayBase>(ArrayP::create()), u"s_col__array_ArrayP", &s::comp::CompP::instance(), sizeof(void*)},
      {s::thread::Owned<s::col::_array::ArrayBase>(s::col::_array::ArrayS32::create()), u"s_col__array_ArrayS32", &s::comp::CompS32::instance(), 4},
      {s::thread::Owned<s::col::_array::ArrayBase>(s::col::_array::ArrayU32::create()), u"s_col__array_ArrayU32", &s::comp::CompU32::instance(), 4},
      {s::thread::Owned<s::col::_array::ArrayBase>(s::col::_array::ArrayU08::create()), u"s_col__array_ArrayU08", &s::comp::CompU08::instance(), 1},
      {s::thread::Owned<s::col::_array::ArrayBase>(s::col::_array::ArrayS08::create()), u"s_col__array_ArrayS08", &s::comp::CompS08::instance(), 1},
  };
  for (Case& c : cases) {
    EXPECT_EQ(nameOf(*c.array), c.name);
    EXPECT_EQ(std::u16string(c.array->typeName()), c.name);
    EXPECT_EQ(c.array->getComparator(), c.comparator) << std::string(c.name, c.name + 5);
    EXPECT_EQ(c.array->elementSize(), c.width);
    // newInstance comes from the same class's pool.
    s::thread::Owned<s::col::_array::ArrayBase> other(
        static_cast<s::col::_array::ArrayBase*>(c.array->newInstance()));
    EXPECT_EQ(nameOf(*other), c.name);
  }
  EXPECT_EQ(nameOf(*make<s::col::_array::Iterator>()), u"s_col__array_Iterator");
  EXPECT_EQ(nameOf(*make<s::col::CollectionInputStream>()), u"s_col_CollectionInputStream");
}

TEST(ArrayFamily, RecycledArrayIsEmpty) {
  auto& pool = poolOf<s::col::_array::ArrayS32>();
  auto* array = s::col::_array::ArrayS32::create();
  for (int i = 0; i < 10; ++i) array->append(i);
  array->seek(3);
  array->release();
  auto* again = s::col::_array::ArrayS32::create();  // last in, first out
  EXPECT_EQ(again, array);
  EXPECT_EQ(again->getCount(), 0u);
  EXPECT_EQ(again->capacity(), 0u);
  EXPECT_EQ(again->getPosition(), 0);
  again->release();
  (void)pool;
}

// An element type with a pool of its own, to see what an owning array does.
class ElementBase : public s::base::IObject, public s::thread::IPoolable {};
int elementsDestroyed = 0;
class Element final : public s::thread::PooledObject<Element, ElementBase> {
 public:
  static constexpr char16_t kRegistrationName[] = u"s_test_Element";
  ~Element() override { ++elementsDestroyed; }
  void reset() override { value = 0; }
  int value = 0;
};

int idle() { return poolOf<Element>().idleCount(); }

TEST(ArrayP, WithAPoolDisposerReturnsDroppedElements) {
  auto array = make<ArrayP>();
  array->setDisposer(&poolOf<Element>());
  for (int i = 0; i < 6; ++i) {
    Element* element = Element::create();
    element->value = i + 1;
    array->append(element);
  }
  const int idleBefore = idle();

  array->removeRange(1, 2);
  EXPECT_EQ(idle(), idleBefore + 2);
  EXPECT_EQ(array->getAs<Element>(1)->value, 4);

  // Popped elements go to the caller, not to the pool.
  Element* popped = static_cast<Element*>(array->popLast());
  EXPECT_EQ(popped->value, 6);
  EXPECT_EQ(idle(), idleBefore + 2);
  popped->release();

  array->setCount(2);  // drops one
  EXPECT_EQ(idle(), idleBefore + 4);
  array->setCount(4);  // two null slots: disposing of them is a no-op
  array->clear();
  EXPECT_EQ(idle(), idleBefore + 6);
  EXPECT_EQ(array->getCount(), 0u);

  // Released elements were reset by their pool.
  Element* recycled = Element::create();
  EXPECT_EQ(recycled->value, 0);
  recycled->release();
}

TEST(ArrayP, WithoutADisposerLeavesElementsAlone) {
  Element* elements[3] = {Element::create(), Element::create(), Element::create()};
  const int idleBefore = idle();
  {
    auto array = make<ArrayP>();
    for (Element* e : elements) array->append(e);
    array->dropFirst(1);
    array->clear();
    array->append(elements[0]);
  }  // released into its pool: freeStorage
  EXPECT_EQ(idle(), idleBefore);
  for (Element* e : elements) e->release();
}

TEST(ArrayP, ReleaseDisposesAndForgetsTheDisposer) {
  ArrayP* array = ArrayP::create();
  array->setDisposer(&poolOf<Element>());
  array->append(Element::create());
  array->append(Element::create());
  const int idleBefore = idle();
  array->release();
  EXPECT_EQ(idle(), idleBefore + 2);
  ArrayP* again = ArrayP::create();
  EXPECT_EQ(again, array);
  EXPECT_EQ(again->getDisposer(), nullptr);
  again->release();
}

TEST(ArrayP, CleanerDisposerDestroysElements) {
  elementsDestroyed = 0;
  auto array = make<ArrayP>();
  array->setDisposer(&s::cleaner::CleanerIObject::instance());
  array->append(new Element());
  array->append(new Element());
  array->freeStorage();
  EXPECT_EQ(elementsDestroyed, 2);
}

TEST(ArrayP, ElementsArePointerSized) {
  // Addresses above 4 GiB survive the round trip and keep their order.
  auto array = make<ArrayP>();
  const uintptr_t high = sizeof(void*) == 8 ? uintptr_t{0x1'0000'0010} : uintptr_t{0x8000'0010};
  array->append(reinterpret_cast<void*>(high));
  array->append(reinterpret_cast<void*>(uintptr_t{0x20}));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(array->get(0)), high);
  array->sort();
  EXPECT_EQ(reinterpret_cast<uintptr_t>(array->get(0)), uintptr_t{0x20});
  EXPECT_EQ(array->byteSize(), 2 * sizeof(void*));
}

}  // namespace
