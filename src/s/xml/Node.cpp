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
  // Depth first without recursion, so that no tree is too deep to release: a node
  // goes back to its pool once its own children are gone, childless, so the pool's
  // reset has nothing left to walk.
  if (children_.empty()) return;
  struct Open {
    Node* node;
    size_t nextChild;
  };
  std::vector<Open> open;
  open.push_back({this, 0});
  while (!open.empty()) {
    Open& top = open.back();
    if (top.nextChild < top.node->childCount()) {
      Node* child = top.node->childAt(top.nextChild++);
      if (child->childCount() > 0) {
        open.push_back({child, 0});
      } else {
        child->release();
      }
      continue;
    }
    Node* done = top.node;
    open.pop_back();
    done->dropChildList();
    if (done != this) done->release();
  }
}

void Node::dropChildList() {
  if (children_.capacity() > kKeptChildCapacity) {
    std::vector<Node*>().swap(children_);
  } else {
    children_.clear();
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
  return appendChild(child);
}

Node* Node::appendChild(Node* child) {
  if (child) children_.push_back(child);
  return child;
}

void Node::removeChildAt(size_t index) {
  if (index >= childCount()) return;
  Node* child = childAt(index);
  children_.erase(children_.begin() + static_cast<std::ptrdiff_t>(index));
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
