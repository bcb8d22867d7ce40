#pragma once
#include <string>
#include <vector>

namespace pictorva::cli {

// "convert IN OUT [--sharpen N]": writes the picture of IN in the format named by
// OUT's extension (.bmp, .jpg, .jpeg, .gif, .png, .ico). Answers 0 when OUT was
// written, 1 when IN could not be read, OUT exists or has an unknown extension, or
// the writing failed, 2 for usage errors.
int runConvertCommand(const std::vector<std::u16string>& arguments);

}  // namespace pictorva::cli
