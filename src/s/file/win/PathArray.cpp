#include "s/file/win/PathArray.h"

#include <algorithm>
#include <numeric>

#include "s/file/Extension.h"
#include "s/file/PathSyntax.h"
#include "s/file/Shell.h"
#include "s/file/win/PathWin.h"
#include "s/thread/Owned.h"

namespace s::file::win {

namespace {

char16_t foldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

// Windows names ignore case; POSIX names do not.
int comparePaths(const std::u16string& a, const std::u16string& b) {
  const size_t shorter = std::min(a.size(), b.size());
  for (size_t i = 0; i < shorter; ++i) {
    const char16_t x = kNativeStyle == PathStyle::kWindows ? foldAscii(a[i]) : a[i];
    const char16_t y = kNativeStyle == PathStyle::kWindows ? foldAscii(b[i]) : b[i];
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

std::u16string destinationIn(std::u16string_view folder, const IPath* path) {
  std::u16string text(folder);
  const char16_t separator = PathSyntax::separator(kNativeStyle);
  if (text.empty() || text.back() != separator) text += separator;
  text += path->getFileName();
  return text;
}

}  // namespace

void PathArray::releasePathsFrom(int index) {
  if (index < 0) index = 0;
  for (size_t i = static_cast<size_t>(index); i < paths_.size(); ++i) {
    if (paths_[i]) paths_[i]->release();
  }
  if (static_cast<size_t>(index) < paths_.size()) {
    paths_.resize(static_cast<size_t>(index));
    flags_.resize(static_cast<size_t>(index));
  }
}

void PathArray::insert(int index, IPath* path) {
  if (!path) return;
  index = std::clamp(index, 0, getCount());
  paths_.insert(paths_.begin() + index, path);
  flags_.insert(flags_.begin() + index, false);
}

void PathArray::insertText(int index, std::u16string_view text) { insert(index, PathWin::fromText(text)); }

IPath* PathArray::removeAt(int index) {
  if (!inRange(index)) return nullptr;
  IPath* path = paths_[static_cast<size_t>(index)];
  paths_.erase(paths_.begin() + index);
  flags_.erase(flags_.begin() + index);
  return path;
}

void PathArray::sortBy(bool descending) {
  // Flags travel with their entries.
  std::vector<size_t> order(paths_.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const int result = comparePaths(paths_[a]->getFullPath(), paths_[b]->getFullPath());
    return descending ? result > 0 : result < 0;
  });
  std::vector<IPath*> paths;
  std::vector<bool> flags;
  for (size_t i : order) {
    paths.push_back(paths_[i]);
    flags.push_back(flags_[i]);
  }
  paths_.swap(paths);
  flags_.swap(flags);
}

void PathArray::sortAscending() { sortBy(false); }

void PathArray::sortDescending() { sortBy(true); }

void PathArray::groupByExtension() {
  std::vector<size_t> order(paths_.size());
  std::iota(order.begin(), order.end(), 0);
  thread::Owned<Extension> left(Extension::create());
  thread::Owned<Extension> right(Extension::create());
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    left->set(paths_[a]->getExtensionText());
    right->set(paths_[b]->getExtensionText());
    return left->compareToIgnoreCase(right.get()) < 0;
  });
  std::vector<IPath*> paths;
  std::vector<bool> flags;
  for (size_t i : order) {
    paths.push_back(paths_[i]);
    flags.push_back(flags_[i]);
  }
  paths_.swap(paths);
  flags_.swap(flags);
}

int PathArray::find(const IPath* path) const { return path ? findText(path->getFullPath()) : -1; }

int PathArray::findText(std::u16string_view text) const {
  thread::Owned<PathWin> wanted(PathWin::fromText(text));
  for (size_t i = 0; i < paths_.size(); ++i) {
    if (comparePaths(paths_[i]->getFullPath(), wanted->getFullPath()) == 0) return static_cast<int>(i);
  }
  return -1;
}

std::u16string PathArray::join() const {
  std::u16string text;
  for (const IPath* path : paths_) {
    text += path->getFullPath();
    text.push_back(u'\0');
  }
  text.push_back(u'\0');
  return text;
}

bool PathArray::getFlag(int index) const { return inRange(index) && flags_[static_cast<size_t>(index)]; }

void PathArray::setFlag(int index, bool flag) {
  if (inRange(index)) flags_[static_cast<size_t>(index)] = flag;
}

bool PathArray::copyAll(std::u16string_view folder, bool overwrite) {
  bool ok = true;
  for (size_t i = 0; i < paths_.size(); ++i) {
    flags_[i] = paths_[i]->copyTo(destinationIn(folder, paths_[i]), overwrite);
    ok = ok && flags_[i];
  }
  return ok;
}

bool PathArray::moveAll(std::u16string_view folder, bool overwrite) {
  bool ok = true;
  for (size_t i = 0; i < paths_.size(); ++i) {
    flags_[i] = paths_[i]->moveTo(destinationIn(folder, paths_[i]), overwrite, false);
    ok = ok && flags_[i];
  }
  return ok;
}

bool PathArray::removeAll() {
  bool ok = true;
  for (size_t i = 0; i < paths_.size(); ++i) {
    flags_[i] = paths_[i]->remove(false);
    ok = ok && flags_[i];
  }
  return ok;
}

bool PathArray::recycleAll(bool confirm) {
  bool ok = true;
  for (size_t i = 0; i < paths_.size(); ++i) {
    flags_[i] = paths_[i]->recycle(confirm, false);
    ok = ok && flags_[i];
  }
  return ok;
}

void PathArray::notifyUpdated() {
  for (const IPath* path : paths_) Shell::notifyUpdated(path->getFullPath());
}

bool PathArray::openAll() {
  bool ok = !paths_.empty();
  for (size_t i = 0; i < paths_.size(); ++i) {
    flags_[i] = Shell::open(paths_[i]->getFullPath());
    ok = ok && flags_[i];
  }
  return ok;
}

IPath* PathArray::get(int index) const { return inRange(index) ? paths_[static_cast<size_t>(index)] : nullptr; }

}  // namespace s::file::win
