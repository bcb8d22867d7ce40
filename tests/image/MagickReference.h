#pragma once
// ImageMagick as an independent decoder for codec tests (POSIX hosts where
// `convert` is installed; elsewhere every reference is empty and tests skip it).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace magick_reference {

struct Rgba {
  std::vector<uint8_t> bytes;  // red, green, blue, alpha per pixel, top row first
  bool empty() const { return bytes.empty(); }
};

#ifdef _WIN32
inline bool available() { return false; }
inline Rgba decode(const std::filesystem::path&, const std::string& = "", int = 8) { return {}; }
#else
inline bool available() {
  static const bool present = std::system("convert -version >/dev/null 2>&1") == 0;
  return present;
}

// The standard output of a shell command; empty when it failed.
inline std::string run(const std::string& command) {
  std::string output;
  FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
  if (!pipe) return output;
  char chunk[65536];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof(chunk), pipe)) > 0) output.append(chunk, got);
  if (pclose(pipe) != 0) output.clear();
  return output;
}

// `convert [readOptions] file -depth D rgba:-`; empty when convert failed. At
// depth 16 each sample is two bytes, most significant first.
inline Rgba decode(const std::filesystem::path& file, const std::string& readOptions = "", int depth = 8) {
  const std::string output = run("convert " + readOptions + " '" + file.string() + "' -depth " +
                                 std::to_string(depth) + " -endian MSB rgba:-");
  return Rgba{std::vector<uint8_t>(output.begin(), output.end())};
}
#endif

// Files of a folder with the given extension, sorted; empty when it is missing.
inline std::vector<std::filesystem::path> filesIn(const std::string& folder, const std::string& extension) {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error))
    if (entry.path().extension() == extension) files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace magick_reference
