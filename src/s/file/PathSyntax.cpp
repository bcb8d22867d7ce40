#include "s/file/PathSyntax.h"
#include "s/str/strbuffer/CaseMap.h"

#include <vector>

namespace s::file {

namespace {

bool sameUnit(char16_t a, char16_t b, PathStyle style) {
  if (style == PathStyle::kWindows) {
    if (a == u'/') a = u'\\';
    if (b == u'/') b = u'\\';
    return str::strbuffer::CaseMap::toLowerAscii(a) == str::strbuffer::CaseMap::toLowerAscii(b);
  }
  return a == b;
}

// The root of an absolute text: "C:\", "\\server\share\", "\" or "/"; empty for a
// relative text.
size_t rootLength(std::u16string_view text, PathStyle style) {
  if (style == PathStyle::kPosix) return (!text.empty() && text[0] == u'/') ? 1 : 0;
  if (PathSyntax::isUnc(text, style)) {
    // Server and share belong to the root.
    size_t i = 2;
    int separators = 0;
    while (i < text.size()) {
      if (PathSyntax::isSeparator(text[i], style) && ++separators == 2) return i + 1;
      ++i;
    }
    return text.size();
  }
  if (PathSyntax::hasDrive(text, style)) {
    return (text.size() > 2 && PathSyntax::isSeparator(text[2], style)) ? 3 : 2;
  }
  return (!text.empty() && PathSyntax::isSeparator(text[0], style)) ? 1 : 0;
}

std::vector<std::u16string_view> components(std::u16string_view text, PathStyle style) {
  std::vector<std::u16string_view> parts;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || PathSyntax::isSeparator(text[i], style)) {
      if (i > start) parts.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

bool sameText(std::u16string_view a, std::u16string_view b, PathStyle style) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (!sameUnit(a[i], b[i], style)) return false;
  }
  return true;
}

std::u16string normalizedRoot(std::u16string_view root, PathStyle style) {
  std::u16string result(root);
  if (style == PathStyle::kWindows) {
    for (auto& c : result) {
      if (c == u'/') c = u'\\';
    }
  }
  return result;
}

}  // namespace

void PathSyntax::split(std::u16string_view text, PathStyle style, PathParts* parts) {
  *parts = PathParts();
  if (text.empty()) return;
  parts->valid = true;
  std::u16string full(text);
  const char16_t sep = separator(style);
  if (style == PathStyle::kWindows) {
    for (auto& c : full) {
      if (c == u'/') c = u'\\';
    }
  }
  // Trailing separators go; the POSIX root keeps its one.
  const size_t keep = style == PathStyle::kPosix ? 1 : 0;
  while (full.size() > keep && full.back() == sep) full.pop_back();
  parts->fullPath = full;

  std::u16string_view rest(parts->fullPath);
  if (hasDrive(rest, style)) {
    parts->drive.assign(rest.substr(0, 2));
    rest.remove_prefix(2);
  }
  const size_t lastSeparator = rest.find_last_of(sep);
  std::u16string_view name = rest;
  if (lastSeparator != std::u16string_view::npos) {
    parts->folder.assign(rest.substr(0, lastSeparator + 1));
    name = rest.substr(lastSeparator + 1);
  }
  const size_t dot = name.find_last_of(u'.');
  if (dot != std::u16string_view::npos) {
    parts->extension.assign(name.substr(dot));
    name = name.substr(0, dot);
  }
  parts->title.assign(name);
  if (parts->drive.size() > kMaxPartLength || parts->folder.size() > kMaxPartLength ||
      parts->title.size() > kMaxPartLength || parts->extension.size() > kMaxPartLength) {
    parts->valid = false;
  }
  parts->stream = style == PathStyle::kWindows && (parts->title.find(u':') != std::u16string::npos ||
                                                   parts->extension.find(u':') != std::u16string::npos);
}

bool PathSyntax::isUnc(std::u16string_view text, PathStyle style) {
  if (style != PathStyle::kWindows || text.size() <= 2) return false;
  return isSeparator(text[0], style) && isSeparator(text[1], style) && !isSeparator(text[2], style);
}

bool PathSyntax::hasDrive(std::u16string_view text, PathStyle style) {
  return style == PathStyle::kWindows && text.size() >= 2 && text[1] == u':';
}

bool PathSyntax::isDriveOnly(std::u16string_view text, PathStyle style) {
  return style == PathStyle::kWindows && text.size() == 2 && text[1] == u':';
}

bool PathSyntax::isAbsolute(std::u16string_view fullPath, PathStyle style) {
  if (style == PathStyle::kPosix) return !fullPath.empty() && fullPath[0] == u'/';
  return isUnc(fullPath, style) || hasDrive(fullPath, style);
}

std::u16string PathSyntax::uncServer(std::u16string_view fullPath, PathStyle style) {
  if (!isUnc(fullPath, style)) return std::u16string();
  const std::u16string_view rest = fullPath.substr(2);
  size_t end = 0;
  while (end < rest.size() && !isSeparator(rest[end], style)) ++end;
  return std::u16string(rest.substr(0, end));
}

std::u16string PathSyntax::longForm(std::u16string_view absolutePath, PathStyle style) {
  if (style != PathStyle::kWindows || absolutePath.size() < kLongFormThreshold) return std::u16string();
  if (absolutePath.substr(0, 4) == u"\\\\?\\") return std::u16string(absolutePath);
  if (absolutePath.size() >= 2 && absolutePath[0] == u'\\' && absolutePath[1] == u'\\') {
    return u"\\\\?\\UNC\\" + std::u16string(absolutePath.substr(2));
  }
  return u"\\\\?\\" + std::u16string(absolutePath);
}

std::u16string PathSyntax::makeAbsolute(std::u16string_view base, std::u16string_view text, PathStyle style) {
  std::u16string joined;
  if (rootLength(text, style) > 0 && (isAbsolute(text, style) || style == PathStyle::kPosix)) {
    joined.assign(text);
  } else if (hasDrive(text, style)) {
    joined.assign(text);  // "C:name": relative to a drive's current folder; left alone
    return joined;
  } else if (rootLength(text, style) == 1 && hasDrive(base, style)) {
    joined = std::u16string(base.substr(0, 2)) + std::u16string(text);  // "\x" on base's drive
  } else {
    joined.assign(base);
    if (!joined.empty() && !isSeparator(joined.back(), style)) joined += separator(style);
    joined += text;
  }
  const size_t root = rootLength(joined, style);
  std::vector<std::u16string_view> kept;
  for (auto part : components(std::u16string_view(joined).substr(root), style)) {
    if (part == u".") continue;
    if (part == u"..") {
      if (!kept.empty() && kept.back() != u"..") {
        kept.pop_back();
      } else if (root == 0) {
        kept.push_back(part);  // a relative base keeps climbing
      }
      continue;
    }
    kept.push_back(part);
  }
  std::u16string result = normalizedRoot(std::u16string_view(joined).substr(0, root), style);
  for (size_t i = 0; i < kept.size(); ++i) {
    if (i > 0) result += separator(style);
    result += kept[i];
  }
  return result;
}

std::u16string PathSyntax::makeRelative(std::u16string_view base, std::u16string_view text, PathStyle style) {
  const size_t baseRoot = rootLength(base, style);
  const size_t textRoot = rootLength(text, style);
  if (!sameText(base.substr(0, baseRoot), text.substr(0, textRoot), style)) return std::u16string(text);
  const auto baseParts = components(base.substr(baseRoot), style);
  const auto textParts = components(text.substr(textRoot), style);
  size_t common = 0;
  while (common < baseParts.size() && common < textParts.size() &&
         sameText(baseParts[common], textParts[common], style)) {
    ++common;
  }
  std::u16string result;
  const char16_t sep = separator(style);
  for (size_t i = common; i < baseParts.size(); ++i) {
    result += u"..";
    result += sep;
  }
  for (size_t i = common; i < textParts.size(); ++i) {
    result += textParts[i];
    if (i + 1 < textParts.size()) result += sep;
  }
  return result;
}

bool PathSyntax::isSameOrInside(std::u16string_view inner, std::u16string_view outer, PathStyle style) {
  while (outer.size() > 1 && isSeparator(outer.back(), style)) outer.remove_suffix(1);
  if (inner.size() < outer.size()) return false;
  for (size_t i = 0; i < outer.size(); ++i) {
    if (!sameUnit(inner[i], outer[i], style)) return false;
  }
  if (inner.size() == outer.size()) return true;
  // "D:\sub" is not inside "D:\subway"; a root ending in a separator contains all.
  return isSeparator(inner[outer.size()], style) || isSeparator(outer.back(), style);
}

bool PathSyntax::equalsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (str::strbuffer::CaseMap::toLowerAscii(a[i]) != str::strbuffer::CaseMap::toLowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace s::file
