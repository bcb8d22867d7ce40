#pragma once
// Class-level pools and the mix-in that gives a class the pool protocol.
//
// A poolable class derives (directly or through its bases) from base::IObject and
// thread::IPoolable, implements reset(), and names itself:
//
//   class Node final : public thread::PooledObject<Node, NodeBase> {
//    public:
//     static constexpr char16_t kRegistrationName[] = u"s_xml_Node";
//     void reset() override;
//   };
//
// Users take instances with Node::create() (or thread::make<Node>() for a holder that
// releases on scope exit) and give them back with release(), exactly once.
#include "s/base/IObject.h"
#include "s/thread/EasyPooler.h"
#include "s/thread/IPoolable.h"

namespace s::thread {

// How many idle objects the pool of T keeps: kPoolCapacity, unless T declares its
// own kIdleCapacity (classes whose objects come and go by the ten thousand, such as
// the nodes of a parsed document).
template <class T>
constexpr int idleCapacityOf() {
  if constexpr (requires { T::kIdleCapacity; }) {
    return T::kIdleCapacity;
  } else {
    return kPoolCapacity;
  }
}

// The pool of class T, created on first use. It is never torn down: other statics
// (shared scratch texts, cached paths, idle workers) may release objects into it
// while the process exits, in an order no one controls, and a destroyed pool would
// then be written to. The idle objects stay reachable until the process ends.
template <class T>
EasyPooler& poolOf() {
  static EasyPooler& pool = *new EasyPooler([]() -> void* { return new T(); },
                                            [](void* object) { delete static_cast<T*>(object); },
                                            [](void* object) { static_cast<T*>(object)->reset(); },
                                            idleCapacityOf<T>());
  return pool;
}

// Implements getRegistrationName, newInstance and release for Derived on top of Base.
template <class Derived, class Base>
class PooledObject : public Base {
 public:
  using Base::Base;

  static Derived* create() { return static_cast<Derived*>(poolOf<Derived>().take()); }

  const char16_t* getRegistrationName() const override { return Derived::kRegistrationName; }
  base::IObject* newInstance() const override { return create(); }
  void release() override { poolOf<Derived>().giveBack(static_cast<Derived*>(this)); }
};

}  // namespace s::thread
