#include "s/thread/SyncRelay.h"

namespace s::thread {

SyncRelay::~SyncRelay() { close(); }

void SyncRelay::bindReceiver(Handler handler, Waker waker) {
  CriticalSection::Scope scope(section_);
  handler_ = std::move(handler);
  waker_ = std::move(waker);
  receiver_ = std::this_thread::get_id();
  bound_ = true;
}

bool SyncRelay::send(const RelayRecord& record, uintptr_t* reply) {
  Pending pending{&record};
  Waker waker;
  {
    CriticalSection::Scope scope(section_);
    if (closed_ || !bound_) return false;
    if (std::this_thread::get_id() == receiver_) {
      // The receiver sending to itself: waiting would never end.
      Handler handler = handler_;
      section_.leave();
      const uintptr_t result = handler ? handler(record) : 0;
      section_.enter();
      if (reply) *reply = result;
      return true;
    }
    queue_.push_back(&pending);
    waker = waker_;
    changed_.notifyAll();
  }
  if (waker) waker();
  CriticalSection::Scope scope(section_);
  while (!pending.done) changed_.wait(section_);
  if (reply) *reply = pending.reply;
  return pending.delivered;
}

int SyncRelay::pump() {
  int handled = 0;
  CriticalSection::Scope scope(section_);
  while (!queue_.empty() && !closed_) {
    Pending* pending = queue_.front();
    queue_.pop_front();
    Handler handler = handler_;
    // The handler runs without the lock, so it may send, close or bind.
    section_.leave();
    const uintptr_t result = handler ? handler(*pending->record) : 0;
    section_.enter();
    pending->reply = result;
    pending->delivered = true;
    pending->done = true;
    changed_.notifyAll();
    ++handled;
  }
  return handled;
}

int SyncRelay::waitAndPump(int timeoutMs) {
  {
    CriticalSection::Scope scope(section_);
    if (queue_.empty() && !closed_ && !woken_) changed_.wait(section_, timeoutMs);
    woken_ = false;
  }
  return pump();
}

void SyncRelay::wake() {
  Waker waker;
  {
    CriticalSection::Scope scope(section_);
    woken_ = true;
    waker = waker_;
    changed_.notifyAll();
  }
  if (waker) waker();
}

bool SyncRelay::isReceiver() {
  CriticalSection::Scope scope(section_);
  return bound_ && std::this_thread::get_id() == receiver_;
}

void SyncRelay::close() {
  CriticalSection::Scope scope(section_);
  closed_ = true;
  for (Pending* pending : queue_) pending->done = true;  // delivered stays false
  queue_.clear();
  changed_.notifyAll();
}

bool SyncRelay::isClosed() {
  CriticalSection::Scope scope(section_);
  return closed_;
}

}  // namespace s::thread
