#include "s/image/bmp/win/PixelBudget.h"

#include <algorithm>

#include "s/image/bmp/win/RasterMemory.h"

namespace s::image::bmp::win {

namespace {

constexpr size_t kMaxDefaultLimit = size_t{2} << 30;
constexpr size_t kUnknownMemoryLimit = size_t{1} << 30;

// The budget the rasters of this thread are charged to, and the picture's ticket.
thread_local PixelBudget* threadBudget = nullptr;
thread_local uint64_t threadTicket = 0;

}  // namespace

size_t PixelBudget::defaultLimit() {
  const uint64_t physical = RasterMemory::physicalMemory();
  if (physical == 0) return kUnknownMemoryLimit;
  return static_cast<size_t>(std::min<uint64_t>(physical / 4, kMaxDefaultLimit));
}

PixelBudget::Scope::Scope(PixelBudget& budget, uint64_t ticket)
    : budget_(budget), ticket_(ticket), outerBudget_(threadBudget), outerTicket_(threadTicket) {
  {
    thread::CriticalSection::Scope hold(budget_.section_);
    budget_.open_.push_back(ticket);
  }
  threadBudget = &budget;
  threadTicket = ticket;
}

PixelBudget::Scope::~Scope() {
  threadBudget = outerBudget_;
  threadTicket = outerTicket_;
  thread::CriticalSection::Scope hold(budget_.section_);
  auto at = std::find(budget_.open_.begin(), budget_.open_.end(), ticket_);
  if (at != budget_.open_.end()) budget_.open_.erase(at);
  // Another picture may now be the lowest open one.
  budget_.changed_.notifyAll();
}

PixelBudget* PixelBudget::current() { return threadBudget; }

bool PixelBudget::isLowestOpen(uint64_t ticket) const {
  return std::none_of(open_.begin(), open_.end(), [ticket](uint64_t other) { return other < ticket; });
}

bool PixelBudget::charge(size_t bytes) {
  const uint64_t ticket = threadTicket;
  thread::CriticalSection::Scope hold(section_);
  ++waiting_;
  while (!stopped_ && inFlight_ + bytes > limit_ && !isLowestOpen(ticket)) changed_.wait(section_);
  --waiting_;
  if (stopped_) return false;
  inFlight_ += bytes;
  peak_ = std::max(peak_, inFlight_);
  return true;
}

void PixelBudget::refund(size_t bytes) {
  thread::CriticalSection::Scope hold(section_);
  inFlight_ -= std::min(bytes, inFlight_);
  changed_.notifyAll();
}

void PixelBudget::stop() {
  thread::CriticalSection::Scope hold(section_);
  stopped_ = true;
  changed_.notifyAll();
}

size_t PixelBudget::inFlight() {
  thread::CriticalSection::Scope hold(section_);
  return inFlight_;
}

int PixelBudget::waiting() {
  thread::CriticalSection::Scope hold(section_);
  return waiting_;
}

size_t PixelBudget::peak() {
  thread::CriticalSection::Scope hold(section_);
  return peak_;
}

}  // namespace s::image::bmp::win
