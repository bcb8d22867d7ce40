#include "s/file/win/PathWin.h"

#include <string>

#include "s/str/Decimal.h"
#include "s/str/strbuffer/CaseMap.h"

namespace s::file::win {

namespace {

constexpr char16_t kSeparator = PathSyntax::separator(kNativeStyle);

using String = std::u16string;

IPath::Text* fill(IPath::Text* target, bool append, IPath::TextView text) {
  if (!target) target = IPath::Text::create();
  if (!append) target->clear();
  target->append(text);
  return target;
}

}  // namespace

thread::Owned<PathWin> PathWin::fromText(TextView text) {
  thread::Owned<PathWin> path(create());
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
  const String given(text);
  reset();
  given_.assign(given);
  if (given.empty()) return;
  PathParts parts;
  PathSyntax::split(given, kNativeStyle, &parts);
  valid_ = parts.valid;
  stream_ = parts.stream;
  fullPath_.assign(parts.fullPath);
  drive_.assign(parts.drive);
  folder_.assign(parts.folder);
  title_.assign(parts.title);
  extension_.assign(parts.extension);
  if (kNativeStyle == PathStyle::kWindows && parts.fullPath.size() >= PathSyntax::kLongFormThreshold) {
    // "\\?\" names are taken literally, so the form is built from the absolute
    // path with "." and ".." resolved.
    String absolute;
    if (!FileSystem::absolutePath(parts.fullPath, &absolute)) absolute = parts.fullPath;
    longForm_.assign(PathSyntax::longForm(absolute, kNativeStyle));
  }
}

IPath::Text* PathWin::dump(Text* target, bool append) const {
  target = fill(target, append, u"Original String: ");
  target->append(given_);
  target->append(u"\nDrive: ");
  target->append(drive_);
  target->append(u"\nDir: ");
  target->append(folder_);
  target->append(u"\nFileTitle: ");
  target->append(title_);
  target->append(u"\nExt: ");
  target->append(extension_);
  target->append(u"\nFullPath: ");
  target->append(fullPath_);
  target->append(u'\n');
  return target;
}

bool PathWin::isAbsolute() const { return valid_ && PathSyntax::isAbsolute(fullPath_.view(), kNativeStyle); }

bool PathWin::isUnc() const { return PathSyntax::isUnc(fullPath_.view(), kNativeStyle); }

thread::Owned<IPath::Text> PathWin::getUncServer() const {
  return Text::of(PathSyntax::uncServer(fullPath_.view(), kNativeStyle));
}

bool PathWin::isDriveOnly() const { return PathSyntax::isDriveOnly(fullPath_.view(), kNativeStyle); }

bool PathWin::hasDrive() const { return PathSyntax::hasDrive(fullPath_.view(), kNativeStyle); }

char16_t PathWin::getFirstChar() const { return fullPath_.isEmpty() ? u'\0' : fullPath_.unitAt(0); }

bool PathWin::isSameVolume(TextView other) const {
  PathParts parts;
  PathSyntax::split(other, kNativeStyle, &parts);
  if (!valid_ || !parts.valid) return false;
  const TextView full = fullPath_.view();
  if (kNativeStyle == PathStyle::kPosix) {
    return PathSyntax::isAbsolute(full, kNativeStyle) && PathSyntax::isAbsolute(parts.fullPath, kNativeStyle);
  }
  if (hasDrive() && PathSyntax::hasDrive(parts.fullPath, kNativeStyle)) {
    return str::strbuffer::CaseMap::toLowerAscii(full[0]) == str::strbuffer::CaseMap::toLowerAscii(parts.fullPath[0]);
  }
  if (isUnc() && PathSyntax::isUnc(parts.fullPath, kNativeStyle)) {
    return PathSyntax::equalsIgnoringAsciiCase(PathSyntax::uncServer(full, kNativeStyle), PathSyntax::uncServer(parts.fullPath, kNativeStyle));
  }
  return false;
}

thread::Owned<IPath::Text> PathWin::makeRelative(TextView text, bool asFolder) {
  const String base((asFolder || isDirectory()) ? fullPath_.view() : getFolderTrimmed().view());
  String normalized(text);
  if (kNativeStyle == PathStyle::kWindows) {
    for (auto& c : normalized) {
      if (c == u'/') c = u'\\';
    }
  }
  return Text::of(PathSyntax::makeRelative(base, normalized, kNativeStyle));
}

thread::Owned<IPath::Text> PathWin::makeAbsolute(TextView text, bool asFolder) {
  const String base((asFolder || isDirectory()) ? fullPath_.view() : getFolderTrimmed().view());
  return Text::of(PathSyntax::makeAbsolute(base, text, kNativeStyle));
}

IPath::Text* PathWin::getFullPathString(Text* target, bool append) const { return fill(target, append, fullPath_.view()); }

IPath::Text* PathWin::getFullPathWithSeparator(Text* target, bool append) const {
  target = fill(target, append, fullPath_.view());
  if (fullPath_.isEmpty() || !fullPath_.endsWith(TextView(&kSeparator, 1))) target->append(kSeparator);
  return target;
}

const IPath::Text& PathWin::getFullPathWithSeparator() const { return *getFullPathWithSeparator(&scratch_); }

IPath::Text* PathWin::getFolder(Text* target, bool append) const {
  target = fill(target, append, drive_.view());
  target->append(folder_);
  // A drive alone ("C:") has no folder part; its folder text is the root "C:\".
  if (folder_.isEmpty() && !drive_.isEmpty() && title_.isEmpty() && extension_.isEmpty()) target->append(kSeparator);
  return target;
}

const IPath::Text& PathWin::getFolder() const { return *getFolder(&scratch_); }

IPath::Text* PathWin::getFolderTrimmed(Text* target, bool append) const {
  const size_t start = (append && target) ? target->length() : 0;
  target = getFolder(target, append);
  // Keep the separator of a root ("/", "C:\"), which names the root itself.
  const size_t rootLength = kNativeStyle == PathStyle::kPosix ? 1 : (drive_.isEmpty() ? 1 : 3);
  const size_t length = target->length();
  if (length - start > rootLength && target->unitAt(length - 1) == kSeparator) target->setLength(length - 1);
  return target;
}

const IPath::Text& PathWin::getFolderTrimmed() const { return *getFolderTrimmed(&scratch_); }

IPath::Text* PathWin::getFileName(Text* target, bool append) const {
  target = fill(target, append, title_.view());
  target->append(extension_);
  return target;
}

const IPath::Text& PathWin::getFileName() const { return *getFileName(&scratch_); }

IPath::Text* PathWin::getTitle(Text* target, bool append) const { return fill(target, append, title_.view()); }

IPath::Text* PathWin::getExtension(Text* target, bool append) const { return fill(target, append, extension_.view()); }

IPath::Text* PathWin::getExtensionNoDot(Text* target, bool append) const {
  return fill(target, append, extension_.isEmpty() ? TextView() : extension_.view().substr(1));
}

const IPath::Text& PathWin::getExtensionNoDot() const { return *getExtensionNoDot(&scratch_); }

bool PathWin::extensionEquals(TextView extension) const { return PathSyntax::equalsIgnoringAsciiCase(extension, extension_.view()); }

std::u16string PathWin::childText(TextView name) const {
  String text(fullPath_.view());
  if (text.empty() || text.back() != kSeparator) text += kSeparator;
  text += name;
  return text;
}

PathWin* PathWin::newChild(TextView name) const { return fromText(childText(name)).detach(); }

PathWin* PathWin::newWithNameSuffix(TextView suffix) const {
  String text(getFolder().view());
  text += title_.view();
  text += suffix;
  return fromText(text).detach();
}

PathWin* PathWin::newWithSuffix(TextView suffix) {
  const bool folder = isDirectory();
  String text(getFolder().view());
  text += title_.view();
  if (folder) {
    text += extension_.view();
    text += suffix;
  } else {
    text += suffix;
    text += extension_.view();
  }
  return fromText(text).detach();
}

thread::Owned<PathWin> PathWin::numberedVariant(bool bareNumber) {
  if (!exists()) return fromText(fullPath_);
  const bool folder = isDirectory();
  String base(getFolder().view());
  base += title_.view();
  thread::Owned<PathWin> candidate(create());
  for (int n = 1; n > 0; ++n) {
    String text = base;
    if (folder) text += extension_.view();
    text += bareNumber ? str::decimal(n) : u" (" + str::decimal(n) + u")";
    if (!folder) text += extension_.view();
    candidate->set(text);
    if (!candidate->exists()) return candidate;
  }
  return nullptr;
}

PathWin* PathWin::newUniqueVariant() { return numberedVariant(false).detach(); }

PathWin* PathWin::newUniqueNumbered() { return numberedVariant(true).detach(); }

PathWin* PathWin::newParent() const { return fromText(getFolder()).detach(); }

PathWin* PathWin::newParentOrNone() const {
  if (!valid_ || isDriveOnly() || fullPath_ == u"/" || (drive_.isEmpty() && folder_.isEmpty())) return nullptr;
  return newParent();
}

}  // namespace s::file::win
