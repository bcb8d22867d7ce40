#include "s/file/win/PathWin.h"

#include <string>

namespace s::file::win {

namespace {

constexpr PathStyle kStyle = kNativeStyle;
constexpr char16_t kSeparator = PathSyntax::separator(kStyle);

IPath::Text& fill(IPath::Text& target, bool append, IPath::TextView text) {
  if (!append) target.clear();
  target.append(text);
  return target;
}

IPath::Text numberText(int n) {
  const std::string digits = std::to_string(n);
  return IPath::Text(digits.begin(), digits.end());
}

char16_t foldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

}  // namespace

PathWin* PathWin::fromText(TextView text) {
  PathWin* path = create();
  path->set(text);
  return path;
}

void PathWin::reset() {
  given_.clear();
  drive_.clear();
  folder_.clear();
  longForm_.clear();
  fullPath_.clear();
  title_.clear();
  extension_.clear();
  volumeRoot_.clear();
  scratch_.clear();
  valid_ = false;
  stream_ = false;
  dropCaches();
}

void PathWin::dropCaches() {
  status_ = FileStatus();
  statusLoaded_ = false;
  attributesLoaded_ = false;
  attributes_ = 0;
  streamSize_ = -1;
  sizeOnDisk_ = -1;
  fileSystemKind_ = kUnknown;
  volumeRoot_.clear();
}

void PathWin::set(TextView text) {
  // The text may be a part of this path's own texts; keep a copy first.
  const Text given(text);
  reset();
  given_ = given;
  if (given_.empty()) return;
  PathParts parts;
  PathSyntax::split(given_, kStyle, &parts);
  valid_ = parts.valid;
  stream_ = parts.stream;
  fullPath_ = std::move(parts.fullPath);
  drive_ = std::move(parts.drive);
  folder_ = std::move(parts.folder);
  title_ = std::move(parts.title);
  extension_ = std::move(parts.extension);
  if (kStyle == PathStyle::kWindows && fullPath_.size() >= PathSyntax::kLongFormThreshold) {
    // "\\?\" names are taken literally, so the form is built from the absolute
    // path with "." and ".." resolved.
    Text absolute;
    if (!FileSystem::absolutePath(fullPath_, &absolute)) absolute = fullPath_;
    longForm_ = PathSyntax::longForm(absolute, kStyle);
  }
}

IPath::Text& PathWin::dump(Text& target, bool append) const {
  if (!append) target.clear();
  target += u"Original String: " + given_ + u"\n";
  target += u"Drive: " + drive_ + u"\n";
  target += u"Dir: " + folder_ + u"\n";
  target += u"FileTitle: " + title_ + u"\n";
  target += u"Ext: " + extension_ + u"\n";
  target += u"FullPath: " + fullPath_ + u"\n";
  return target;
}

bool PathWin::isAbsolute() const { return valid_ && PathSyntax::isAbsolute(fullPath_, kStyle); }

bool PathWin::isUnc() const { return PathSyntax::isUnc(fullPath_, kStyle); }

IPath::Text PathWin::getUncServer() const { return PathSyntax::uncServer(fullPath_, kStyle); }

bool PathWin::isDriveOnly() const { return PathSyntax::isDriveOnly(fullPath_, kStyle); }

bool PathWin::hasDrive() const { return PathSyntax::hasDrive(fullPath_, kStyle); }

char16_t PathWin::getFirstChar() const { return fullPath_.empty() ? u'\0' : fullPath_[0]; }

bool PathWin::isSameVolume(TextView other) const {
  PathParts parts;
  PathSyntax::split(other, kStyle, &parts);
  if (!valid_ || !parts.valid) return false;
  if (kStyle == PathStyle::kPosix) {
    return PathSyntax::isAbsolute(fullPath_, kStyle) && PathSyntax::isAbsolute(parts.fullPath, kStyle);
  }
  if (hasDrive() && PathSyntax::hasDrive(parts.fullPath, kStyle)) {
    return foldAscii(fullPath_[0]) == foldAscii(parts.fullPath[0]);
  }
  if (isUnc() && PathSyntax::isUnc(parts.fullPath, kStyle)) {
    const Text mine = getUncServer();
    const Text theirs = PathSyntax::uncServer(parts.fullPath, kStyle);
    if (mine.size() != theirs.size()) return false;
    for (size_t i = 0; i < mine.size(); ++i) {
      if (foldAscii(mine[i]) != foldAscii(theirs[i])) return false;
    }
    return true;
  }
  return false;
}

IPath::Text PathWin::makeRelative(TextView text, bool asFolder) {
  const Text base = (asFolder || isDirectory()) ? fullPath_ : getFolderTrimmed();
  Text normalized(text);
  if (kStyle == PathStyle::kWindows) {
    for (auto& c : normalized) {
      if (c == u'/') c = u'\\';
    }
  }
  return PathSyntax::makeRelative(base, normalized, kStyle);
}

IPath::Text PathWin::makeAbsolute(TextView text, bool asFolder) {
  const Text base = (asFolder || isDirectory()) ? fullPath_ : getFolderTrimmed();
  return PathSyntax::makeAbsolute(base, text, kStyle);
}

IPath::Text& PathWin::getFullPathString(Text& target, bool append) const { return fill(target, append, fullPath_); }

IPath::Text& PathWin::getFullPathWithSeparator(Text& target, bool append) const {
  fill(target, append, fullPath_);
  if (fullPath_.empty() || fullPath_.back() != kSeparator) target += kSeparator;
  return target;
}

const IPath::Text& PathWin::getFullPathWithSeparator() const { return getFullPathWithSeparator(scratch_); }

IPath::Text& PathWin::getFolder(Text& target, bool append) const {
  fill(target, append, drive_);
  target += folder_;
  // A drive alone ("C:") has no folder part; its folder text is the root "C:\".
  if (folder_.empty() && !drive_.empty() && title_.empty() && extension_.empty()) target += kSeparator;
  return target;
}

const IPath::Text& PathWin::getFolder() const { return getFolder(scratch_); }

IPath::Text& PathWin::getFolderTrimmed(Text& target, bool append) const {
  const size_t start = append ? target.size() : 0;
  getFolder(target, append);
  // Keep the separator of a root ("/", "C:\"), which names the root itself.
  const size_t rootLength = kStyle == PathStyle::kPosix ? 1 : (drive_.empty() ? 1 : 3);
  if (target.size() - start > rootLength && target.back() == kSeparator) target.pop_back();
  return target;
}

const IPath::Text& PathWin::getFolderTrimmed() const { return getFolderTrimmed(scratch_); }

IPath::Text& PathWin::getFileName(Text& target, bool append) const {
  fill(target, append, title_);
  target += extension_;
  return target;
}

const IPath::Text& PathWin::getFileName() const { return getFileName(scratch_); }

IPath::Text& PathWin::getTitle(Text& target, bool append) const { return fill(target, append, title_); }

IPath::Text& PathWin::getExtension(Text& target, bool append) const { return fill(target, append, extension_); }

IPath::Text& PathWin::getExtensionNoDot(Text& target, bool append) const {
  return fill(target, append, extension_.empty() ? TextView() : TextView(extension_).substr(1));
}

const IPath::Text& PathWin::getExtensionNoDot() const { return getExtensionNoDot(scratch_); }

bool PathWin::extensionEquals(TextView extension) const {
  if (extension.size() != extension_.size()) return false;
  for (size_t i = 0; i < extension.size(); ++i) {
    if (foldAscii(extension[i]) != foldAscii(extension_[i])) return false;
  }
  return true;
}

IPath::Text PathWin::childText(TextView name) const {
  Text text = fullPath_;
  if (text.empty() || text.back() != kSeparator) text += kSeparator;
  text += name;
  return text;
}

PathWin* PathWin::child(TextView name) const { return fromText(childText(name)); }

PathWin* PathWin::withNameSuffix(TextView suffix) const {
  Text text;
  getFolder(text);
  text += title_;
  text += suffix;
  return fromText(text);
}

PathWin* PathWin::withSuffix(TextView suffix) {
  Text text;
  getFolder(text);
  text += title_;
  if (isDirectory()) {
    text += extension_;
    text += suffix;
  } else {
    text += suffix;
    text += extension_;
  }
  return fromText(text);
}

PathWin* PathWin::numberedVariant(bool bareNumber) {
  if (!exists()) return fromText(fullPath_);
  const bool folder = isDirectory();
  Text base;
  getFolder(base);
  base += title_;
  PathWin* candidate = create();
  for (int n = 1; n > 0; ++n) {
    Text text = base;
    if (folder) text += extension_;
    text += bareNumber ? numberText(n) : u" (" + numberText(n) + u")";
    if (!folder) text += extension_;
    candidate->set(text);
    if (!candidate->exists()) return candidate;
  }
  candidate->release();
  return nullptr;
}

PathWin* PathWin::uniqueVariant() { return numberedVariant(false); }

PathWin* PathWin::uniqueNumbered() { return numberedVariant(true); }

PathWin* PathWin::parent() const { return fromText(getFolder()); }

PathWin* PathWin::getParentOrNone() const {
  if (!valid_ || isDriveOnly() || fullPath_ == u"/" || (drive_.empty() && folder_.empty())) return nullptr;
  return parent();
}

}  // namespace s::file::win
