#pragma once
// File lists for "--files-from": one path a line in UTF-8, lines ended by LF or
// CR LF. A list carries any number of paths, where a Windows command line holds at
// most 32,767 characters.
#include <string>
#include <string_view>
#include <vector>

namespace pictorva::cli {

// Appends the list's paths in order. Empty lines are skipped and a leading
// byte-order mark is dropped; the rest of a line is the path as it is, spaces
// included. Bytes that are not UTF-8 are kept as they are (a POSIX name may hold
// them), as in arguments.
void appendListedPaths(std::string_view bytes, std::vector<std::u16string>* paths);

// Reads the list named name ("-": standard input) and appends its paths. False when
// the list cannot be read.
bool readFileList(std::u16string_view name, std::vector<std::u16string>* paths);

}  // namespace pictorva::cli
