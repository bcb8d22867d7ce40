#pragma once
#include <string>
#include <vector>

namespace pictorva::cli {

// "gallery": makes a gallery of the given files. Takes the arguments after the
// command word; answers the exit code: 0 done, 1 the gallery could not be made
// (output folder refused, a copy or the page not written), 2 usage error, 130
// stopped by Ctrl-C.
int runGalleryCommand(const std::vector<std::u16string>& arguments);

}  // namespace pictorva::cli
