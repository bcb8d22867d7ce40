#include "s/file/win/PathArray.h"

#include <algorithm>
#include <numeric>

#include "s/base/IDestructor.h"
#include "s/file/Extension.h"
#include "s/file/PathSyntax.h"
#include "s/file/Shell.h"
#include "s/file/win/PathWin.h"
#include "s/thread/Owned.h"
#include "s/str/strbuffer/CaseMap.h"

namespace s::file::win {

namespace {

// Gives the paths an array drops back to their pools.
class PathReleaser final : public base::IDestructor {
 public:
  void dispose(void** slot) override {
    if (!*slot) return;
    static_cast<IPath*>(*slot)->release();
    *slot = nullptr;
  }
};

PathReleaser& pathReleaser() {
  static PathReleaser releaser;
  return releaser;
}

// Windows names ignore case; POSIX names do not.
int comparePaths(std::u16string_view a, std::u16string_view b) {
  const size_t shorter = std::min(a.size(), b.size());
  for (size_t i = 0; i < shorter; ++i) {
    const char16_t x = kNativeStyle == PathStyle::kWindows ? str::strbuffer::CaseMap::toLowerAscii(a[i]) : a[i];
    const char16_t y = kNativeStyle == PathStyle::kWindows ? str::strbuffer::CaseMap::toLowerAscii(b[i]) : b[i];
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::u16string destinationIn(std::u16string_view folder, const IPath* path) {
  std::u16string text(folder);
  const char16_t separator = PathSyntax::separator(kNativeStyle);
  if (text.empty() || text.back() != separator) text += separator;
  text += path->getFileName().view();
  return text;
}

}  // namespace

PathArray::PathArray() { paths_.setDisposer(&pathReleaser()); }

void PathArray::releasePathsFrom(int index) {
  if (index < 0) index = 0;
  const size_t from = static_cast<size_t>(index);
  if (from >= paths_.getCount()) return;
  paths_.dropLast(paths_.getCount() - from);
  flags_.dropLast(flags_.getCount() - from);
}

void PathArray::insert(int index, IPath* path) {
  if (!path) return;
  index = std::clamp(index, 0, getCount());
  paths_.insert(static_cast<size_t>(index), static_cast<void*>(path));
  flags_.insert(static_cast<size_t>(index), uint8_t{0});
}

void PathArray::insertText(int index, std::u16string_view text) { insert(index, PathWin::fromText(text).detach()); }

IPath* PathArray::removeAt(int index) {
  if (!inRange(index)) return nullptr;
  void* path = nullptr;
  paths_.takeRange(static_cast<size_t>(index), &path, 1, 0);
  flags_.removeRange(static_cast<size_t>(index), 1);
  return static_cast<IPath*>(path);
}

void PathArray::reorder(const std::vector<size_t>& order) {
  std::vector<void*> paths;
  std::vector<uint8_t> flags;
  for (size_t i : order) {
    paths.push_back(paths_.get(i));
    flags.push_back(flags_.get(i));
  }
  // A permutation: set() overwrites without releasing anything.
  for (size_t i = 0; i < order.size(); ++i) {
    paths_.set(i, paths[i]);
    flags_.set(i, flags[i]);
  }
}

void PathArray::sortBy(bool descending) {
  std::vector<size_t> order(paths_.getCount());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const int result = comparePaths(at(a)->getFullPath().view(), at(b)->getFullPath().view());
    return descending ? result > 0 : result < 0;
  });
  reorder(order);
}

void PathArray::sortAscending() { sortBy(false); }

void PathArray::sortDescending() { sortBy(true); }

void PathArray::groupByExtension() {
  std::vector<size_t> order(paths_.getCount());
  std::iota(order.begin(), order.end(), 0);
  thread::Owned<Extension> left(Extension::create());
  thread::Owned<Extension> right(Extension::create());
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    left->set(at(a)->getExtensionText().view());
    right->set(at(b)->getExtensionText().view());
    return left->compareToIgnoreCase(right.get()) < 0;
  });
  reorder(order);
}

int PathArray::find(const IPath* path) const { return path ? findText(path->getFullPath().view()) : -1; }

int PathArray::findText(std::u16string_view text) const {
  thread::Owned<PathWin> wanted(PathWin::fromText(text));
  for (size_t i = 0; i < paths_.getCount(); ++i) {
    if (comparePaths(at(i)->getFullPath().view(), wanted->getFullPath().view()) == 0) return static_cast<int>(i);
  }
  return -1;
}

std::u16string PathArray::join() const {
  std::u16string text;
  for (size_t i = 0; i < paths_.getCount(); ++i) {
    text += at(i)->getFullPath().view();
    text.push_back(u'\0');
  }
  text.push_back(u'\0');
  return text;
}

bool PathArray::getFlag(int index) const { return inRange(index) && flags_.get(static_cast<size_t>(index)) != 0; }

void PathArray::setFlag(int index, bool flag) {
  if (inRange(index)) flags_.set(static_cast<size_t>(index), flag ? 1 : 0);
}

bool PathArray::copyAll(std::u16string_view folder, bool overwrite) {
  bool ok = true;
  for (int i = 0; i < getCount(); ++i) {
    IPath* path = at(static_cast<size_t>(i));
    setFlag(i, path->copyTo(destinationIn(folder, path), overwrite));
    ok = ok && getFlag(i);
  }
  return ok;
}

bool PathArray::moveAll(std::u16string_view folder, bool overwrite) {
  bool ok = true;
  for (int i = 0; i < getCount(); ++i) {
    IPath* path = at(static_cast<size_t>(i));
    setFlag(i, path->moveTo(destinationIn(folder, path), overwrite, false));
    ok = ok && getFlag(i);
  }
  return ok;
}

bool PathArray::removeAll() {
  bool ok = true;
  for (int i = 0; i < getCount(); ++i) {
    setFlag(i, at(static_cast<size_t>(i))->remove(false));
    ok = ok && getFlag(i);
  }
  return ok;
}

bool PathArray::recycleAll(bool confirm) {
  bool ok = true;
  for (int i = 0; i < getCount(); ++i) {
    setFlag(i, at(static_cast<size_t>(i))->recycle(confirm, false));
    ok = ok && getFlag(i);
  }
  return ok;
}

void PathArray::notifyUpdated() {
  for (size_t i = 0; i < paths_.getCount(); ++i) Shell::notifyUpdated(at(i)->getFullPath().view());
}

bool PathArray::openAll() {
  bool ok = getCount() > 0;
  for (int i = 0; i < getCount(); ++i) {
    setFlag(i, Shell::open(at(static_cast<size_t>(i))->getFullPath().view()));
    ok = ok && getFlag(i);
  }
  return ok;
}

IPath* PathArray::get(int index) const { return inRange(index) ? at(static_cast<size_t>(index)) : nullptr; }

}  // namespace s::file::win
