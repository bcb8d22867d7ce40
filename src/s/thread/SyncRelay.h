#pragma once
// Carries records from other threads to one receiving thread, synchronously: the
// sender waits until the receiver has handled its record and gets the handler's
// reply. This is how a worker reports progress to the thread that owns a window or
// the console, so the worker never runs ahead of what the user sees.
//
// The receiving thread binds itself once (bindReceiver) and handles queued records
// with pump() or waitAndPump(). A waker, when given, is called on the sender's
// thread after a record was queued, so that a receiver sleeping in a message loop
// can be woken (a window posts itself a message and pumps on it).
//
// close() ends the relay for good: queued and later sends fail at once, so a sender
// can never wait on a receiver that has gone away.
//
// A receiver that must wait for a sender to finish (to release it) waits by pumping:
// the sender may be waiting for the receiver to handle its record. The sender then
// signals the end of its work with wake().
#include <cstdint>
#include <deque>
#include <functional>
#include <thread>

#include "s/thread/ConditionVariable.h"
#include "s/thread/CriticalSection.h"

namespace s::thread {

// Four pointer-sized values (numbers, or pointers to texts the sender keeps alive
// until the send returns).
struct RelayRecord {
  uintptr_t values[4] = {0, 0, 0, 0};
};

class SyncRelay {
 public:
  using Handler = std::function<uintptr_t(const RelayRecord& record)>;
  using Waker = std::function<void()>;

  SyncRelay() = default;
  ~SyncRelay();
  SyncRelay(const SyncRelay&) = delete;
  SyncRelay& operator=(const SyncRelay&) = delete;

  // Makes the calling thread the receiver.
  void bindReceiver(Handler handler, Waker waker = nullptr);

  // Delivers record to the receiver and waits until it has been handled. False when
  // the relay is closed, has no receiver, or was closed while waiting. Sent from the
  // receiving thread itself, the record is handled at once.
  bool send(const RelayRecord& record, uintptr_t* reply = nullptr);

  // Receiving thread: handles every queued record; answers how many.
  int pump();
  // Receiving thread: waits up to timeoutMs (-1: no limit) for a record, close() or
  // wake(), then pumps. Answers how many records were handled.
  int waitAndPump(int timeoutMs);
  // Ends the receiver's current or next wait in waitAndPump, without a record.
  void wake();
  // The calling thread is the bound receiver.
  bool isReceiver();

  void close();
  bool isClosed();

 private:
  struct Pending {
    const RelayRecord* record;
    uintptr_t reply = 0;
    bool done = false;
    bool delivered = false;
  };

  CriticalSection section_;
  ConditionVariable changed_;
  std::deque<Pending*> queue_;
  Handler handler_;
  Waker waker_;
  std::thread::id receiver_;
  bool bound_ = false;
  bool closed_ = false;
  bool woken_ = false;  // wake() was called and no wait has ended on it yet
};

}  // namespace s::thread
