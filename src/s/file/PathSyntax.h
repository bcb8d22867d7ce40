#pragma once
// The text rules of paths, apart from any file system: splitting into drive, folder,
// title and extension, the long form, and relative and absolute forms.
//
// Windows style: "/" and "\" both separate ("/" is turned into "\"), "C:" is a drive,
// "\\server\share" is a UNC name. POSIX style: only "/" separates; "\" and ":" are
// ordinary name characters; there are no drives.
#include <string>
#include <string_view>

namespace s::file {

enum class PathStyle { kWindows, kPosix };

#ifdef _WIN32
inline constexpr PathStyle kNativeStyle = PathStyle::kWindows;
#else
inline constexpr PathStyle kNativeStyle = PathStyle::kPosix;
#endif

struct PathParts {
  std::u16string fullPath;
  std::u16string drive;      // "C:", or empty
  std::u16string folder;     // leading and trailing separators: "\photos\"
  std::u16string title;      // name without extension
  std::u16string extension;  // from the last "." of the name, with it; or empty
  bool valid = false;
  bool stream = false;  // title or extension holds ':' (Windows only)
};

class PathSyntax {
 public:
  PathSyntax() = delete;

  // Longest drive, folder, title or extension a split accepts.
  static constexpr size_t kMaxPartLength = 780;
  // Full paths of this length and more get a long form.
  static constexpr size_t kLongFormThreshold = 250;

  static constexpr char16_t separator(PathStyle style) { return style == PathStyle::kWindows ? u'\\' : u'/'; }
  static constexpr bool isSeparator(char16_t c, PathStyle style) {
    return c == u'/' || (style == PathStyle::kWindows && c == u'\\');
  }

  // Splits text; parts->valid is false for the empty text and when a part is too long.
  static void split(std::u16string_view text, PathStyle style, PathParts* parts);

  static bool isUnc(std::u16string_view text, PathStyle style);
  static bool hasDrive(std::u16string_view text, PathStyle style);
  static bool isDriveOnly(std::u16string_view text, PathStyle style);
  static bool isAbsolute(std::u16string_view fullPath, PathStyle style);
  // The characters after the two leading separators up to the next separator.
  static std::u16string uncServer(std::u16string_view fullPath, PathStyle style);

  // "\\?\" + path, or "\\?\UNC\" + path without its two leading separators, for an
  // absolute Windows path of kLongFormThreshold characters or more; else empty.
  static std::u16string longForm(std::u16string_view absolutePath, PathStyle style);

  // text resolved against base (a folder): "." and ".." parts are resolved by name,
  // never above the root. An absolute text stays as it is (resolved).
  static std::u16string makeAbsolute(std::u16string_view base, std::u16string_view text, PathStyle style);
  // text relative to the folder base, with ".." parts for folders not shared;
  // text unchanged when the two have no common root.
  static std::u16string makeRelative(std::u16string_view base, std::u16string_view text, PathStyle style);

  // inner is outer or lies inside it, compared at separator boundaries (so "D\sub" is
  // not inside "D\subway"); Windows compares ignoring ASCII case. Both absolute,
  // without trailing separators.
  // Whether a and b are equal when ASCII letters are compared without case.
  static bool equalsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);
  static bool isSameOrInside(std::u16string_view inner, std::u16string_view outer, PathStyle style);
};

}  // namespace s::file
