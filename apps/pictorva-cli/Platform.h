#pragma once
// What the command line needs of the operating system: its arguments as texts,
// console output, absolute paths and Ctrl-C.
#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace pictorva::cli {

enum class Stream { kOut, kErr };

// Writes text to standard output or error: UTF-8 (file names that were not valid
// UTF-8 get their original bytes back), or wide characters on a Windows console.
void writeText(Stream stream, std::u16string_view text);
bool isTerminal(Stream stream);
// Reads standard input to its end, as bytes. False when it cannot be read.
bool readStandardInput(std::string* bytes);
// The path made absolute against the current folder, without resolving links.
std::u16string absolutePath(std::u16string_view path);
// Ctrl-C (and Ctrl-Break on Windows) sets *cancel to 1 and counts up the presses
// interruptPresses() answers; the second press ends the process at once with exit
// code 130. The flag must live as long as the process, as the handler does.
void installInterruptHandler(std::atomic<uint8_t>* cancel);
int interruptPresses();

}  // namespace pictorva::cli
