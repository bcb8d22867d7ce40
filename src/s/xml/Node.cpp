// Node: the tree and its attribute records.
#include "s/xml/Node.h"

#include <vector>

namespace s::xml {

namespace {

// A child list that grew past this many entries gives its storage back when cleared.
constexpr size_t kKeptChildCapacity = 64;

}  // namespace

Node::~Node() { clear(); }

void Node::releaseChildren() {
  // Without recursion, so that no tree is too deep to release: each node's children
  // are moved to a work list before the node itself goes back to the pool, and the
  // pool then finds it childless.
  std::vector<Node*> pending;
  pending.reserve(children_.getCount());
  for (size_t i = 0; i < children_.getCount(); ++i) pending.push_back(childAt(i));
  if (children_.capacity() > kKeptChildCapacity) {
    children_.freeStorage();
  } else {
    children_.clear();
  }
  while (!pending.empty()) {
    Node* node = pending.back();
    pending.pop_back();
    for (size_t i = 0; i < node->children_.getCount(); ++i) pending.push_back(node->childAt(i));
    node->children_.clear();
    node->release();
  }
}

void Node::clear() {
  releaseChildren();
  attributes_.clear();
  name_.clear();
  if (name_.capacity() > 64) name_.shrink_to_fit();
}

bool Node::nameEquals(std::u16string_view text, Match match) const {
  if (match == Match::kExact) return std::u16string_view(name_) == text;
  return Attributes::namesEqual(name_, text);
}

Node* Node::addChild(std::u16string_view name) {
  Node* child = create();
  child->setName(name);
  children_.append(child);
  return child;
}

Node* Node::appendChild(Node* child) {
  if (child) children_.append(child);
  return child;
}

void Node::removeChildAt(size_t index) {
  if (index >= childCount()) return;
  Node* child = childAt(index);
  children_.removeRange(index, 1);
  child->release();
}

bool Node::findChildIndex(std::u16string_view name, size_t* index, Match match) const {
  for (size_t i = 0; i < childCount(); ++i) {
    if (childAt(i)->nameEquals(name, match)) {
      if (index) *index = i;
      return true;
    }
  }
  if (index) *index = kNone;
  return false;
}

Node* Node::findChild(std::u16string_view name, Match match) const {
  size_t index = kNone;
  return findChildIndex(name, &index, match) ? childAt(index) : nullptr;
}

}  // namespace s::xml
