#pragma once
#include <string>
#include <vector>

namespace pictorva::cli {

// "info": one tab-separated line per file on standard output: the path, the type
// word of the content ("bmp", "jpg", "gif", "png", "ico", "tiff" or "unknown"), and
// for readable pictures width, height, bit depth, image count and "animated" or
// "still". Answers 0 when every file was read whole, 1 otherwise, 2 for usage
// errors.
int runInfoCommand(const std::vector<std::u16string>& arguments);

}  // namespace pictorva::cli
