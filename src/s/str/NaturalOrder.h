#pragma once
// Natural order of names, as people sort file names: letters compared without regard
// to case, and runs of digits compared by their value, so "IMG_2" comes before
// "IMG_10" and "a9" before "A10". Names equal in that order fall back to their units,
// so the order is total and stable.
#include <string_view>

namespace s::str {

bool naturalLess(std::u16string_view a, std::u16string_view b);

}  // namespace s::str
