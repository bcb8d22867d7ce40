#include "FileList.h"

#include <cstdint>

#include "Platform.h"
#include "s/file/win/PathWin.h"
#include "s/str/strbuffer/StrBuffer.h"
#include "s/thread/Owned.h"

namespace pictorva::cli {

void appendListedPaths(std::string_view bytes, std::vector<std::u16string>* paths) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  while (!bytes.empty()) {
    const size_t end = bytes.find('\n');
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty()) continue;
    s::str::strbuffer::StrBuffer path;
    path.assignUtf8Lossless(line);
    paths->emplace_back(path.view());
  }
}

bool readFileList(std::u16string_view name, std::vector<std::u16string>* paths) {
  std::string bytes;
  if (name == u"-") {
    if (!readStandardInput(&bytes)) return false;
  } else {
    s::thread::Owned<s::file::win::PathWin> list(s::file::win::PathWin::fromText(absolutePath(name)));
    std::vector<uint8_t> content;
    if (!list->isFile() || !list->readAll(&content)) return false;
    bytes.assign(content.begin(), content.end());
  }
  appendListedPaths(bytes, paths);
  return true;
}

}  // namespace pictorva::cli
