#include <signal.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

#include "Platform.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace pictorva::cli {

namespace {

std::atomic<int>* interruptPresses = nullptr;

void onInterrupt(int) {
  if (interruptPresses && interruptPresses->fetch_add(1) >= 1) _exit(130);
}

}  // namespace

void writeText(Stream stream, std::u16string_view text) {
  const std::string bytes = s::str::strbuffer::StrBuffer(text).toUtf8Lossless();
  const int fd = stream == Stream::kOut ? STDOUT_FILENO : STDERR_FILENO;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (written <= 0) return;
    done += static_cast<size_t>(written);
  }
}

bool isTerminal(Stream stream) { return isatty(stream == Stream::kOut ? STDOUT_FILENO : STDERR_FILENO) != 0; }

std::u16string absolutePath(std::u16string_view path) {
  if (!path.empty() && path[0] == u'/') return std::u16string(path);
  char folder[PATH_MAX];
  if (!getcwd(folder, sizeof folder)) return std::u16string(path);
  s::str::strbuffer::StrBuffer text;
  text.assignUtf8Lossless(folder);
  if (text.length() == 0 || text.view().back() != u'/') text.append(u'/');
  text.append(path);
  return std::u16string(text.view());
}

void installInterruptHandler(std::atomic<int>* presses) {
  interruptPresses = presses;
  struct sigaction action = {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
}

}  // namespace pictorva::cli
