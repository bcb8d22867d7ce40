#pragma once
// A bound on the pixel memory of pictures that several threads make at the same time.
//
// A thread that makes a picture opens a Scope on the budget with the picture's
// ticket (its place in the order the pictures are needed: lower tickets first).
// While the scope is open, every raster the thread creates (RasterMemory::create)
// is charged to the budget until the raster is destroyed, wherever that happens.
// A charge that would take the pixels in flight past the limit waits until enough
// is given back, except for the picture with the lowest open ticket: it always
// proceeds. So one picture alone may always exceed the limit, and the picture that
// everyone waits for is never held up by the others; the memory in flight stays
// below the limit plus that one picture.
//
// stop() ends the budget's use: waiting charges and later ones fail, as a refused
// allocation does (the picture then fails to decode), so helpers whose work will be
// dropped finish quickly.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "s/thread/ConditionVariable.h"
#include "s/thread/CriticalSection.h"

namespace s::image::bmp::win {

class PixelBudget {
 public:
  explicit PixelBudget(size_t limitBytes) : limit_(limitBytes) {}
  // Every raster charged to the budget must be destroyed first.
  ~PixelBudget() = default;
  PixelBudget(const PixelBudget&) = delete;
  PixelBudget& operator=(const PixelBudget&) = delete;

  // A quarter of the machine's physical memory, at most 2 GiB (1 GiB when the
  // size of the memory is unknown).
  static size_t defaultLimit();

  // Charges the rasters this thread creates to the budget, for picture ticket.
  class Scope {
   public:
    Scope(PixelBudget& budget, uint64_t ticket);
    ~Scope();
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;

   private:
    PixelBudget& budget_;
    uint64_t ticket_;
    PixelBudget* outerBudget_;
    uint64_t outerTicket_;
  };

  void stop();

  size_t limit() const { return limit_; }
  size_t inFlight();
  // The most that was in flight at once.
  size_t peak();
  // Charges waiting for room now.
  int waiting();

  // For RasterMemory: the budget this thread charges, or none.
  static PixelBudget* current();
  // Charges bytes for the current thread's picture, waiting as described above;
  // false (nothing charged) once the budget is stopped.
  bool charge(size_t bytes);
  void refund(size_t bytes);

 private:
  bool isLowestOpen(uint64_t ticket) const;

  const size_t limit_;
  thread::CriticalSection section_;
  thread::ConditionVariable changed_;
  size_t inFlight_ = 0;
  size_t peak_ = 0;
  int waiting_ = 0;
  std::vector<uint64_t> open_;  // tickets of the open scopes
  bool stopped_ = false;
};

}  // namespace s::image::bmp::win
