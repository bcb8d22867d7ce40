#pragma once
// pictorva-cli's commands. The first argument names the command; each command
// parses the arguments after it and answers the process's exit code.
#include <string>
#include <vector>

namespace pictorva::cli {

constexpr int kExitDone = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
// The gallery is done, but some pictures could not be read (each is named).
constexpr int kExitSomeUnread = 3;
constexpr int kExitInterrupted = 130;

// Runs pictorva-cli with the arguments after the program name.
int runCommandLine(const std::vector<std::u16string>& arguments);

// An ASCII or UTF-8 text as UTF-16.
std::u16string widen(const char* text);

}  // namespace pictorva::cli
