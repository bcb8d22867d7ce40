#include <errno.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstdlib>

#include "Platform.h"
#include "s/str/strbuffer/StrBuffer.h"

namespace pictorva::cli {

namespace {

// Lock-free, so the signal handler may touch them.
std::atomic<int> presses{0};
std::atomic<uint8_t>* cancelFlag = nullptr;
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<uint8_t>::is_always_lock_free);

void onInterrupt(int) {
  if (presses.fetch_add(1) >= 1) _exit(130);
  if (cancelFlag) cancelFlag->store(1);
}

}  // namespace

void writeText(Stream stream, std::u16string_view text) {
  const std::string bytes = s::str::strbuffer::StrBuffer(text).toUtf8Lossless();
  const int fd = stream == Stream::kOut ? STDOUT_FILENO : STDERR_FILENO;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t written = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (written < 0 && errno == EINTR) continue;  // a signal (Ctrl-C) came first
    if (written <= 0) return;
    done += static_cast<size_t>(written);
  }
}

bool isTerminal(Stream stream) { return isatty(stream == Stream::kOut ? STDOUT_FILENO : STDERR_FILENO) != 0; }

bool readStandardInput(std::string* bytes) {
  bytes->clear();
  char block[65536];
  for (;;) {
    const ssize_t got = ::read(STDIN_FILENO, block, sizeof block);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    if (got == 0) return true;
    bytes->append(block, static_cast<size_t>(got));
  }
}

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

void installInterruptHandler(std::atomic<uint8_t>* cancel) {
  cancelFlag = cancel;
  struct sigaction action = {};
  action.sa_handler = onInterrupt;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
}

int interruptPresses() { return presses.load(); }

}  // namespace pictorva::cli
