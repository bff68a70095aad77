// What a worker thread hands a window: it puts its result in a queue the
// window owns and posts the window a message that carries nothing; at that
// message the window takes what is there. Any program may post a window any
// message, so a message never carries a pointer: one posted under the same
// number from outside finds only what the window's own threads put there.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "win32/win.h"

namespace ludora::win32 {

template <typename T>
class PostedQueue {
 public:
  // Held by the window and by each worker: a worker that ends after the
  // window puts its result in a queue no one reads, freed with the last hold.
  static std::shared_ptr<PostedQueue> Make(HWND window, UINT message) {
    return std::make_shared<PostedQueue>(window, message);
  }
  PostedQueue(HWND window, UINT message) : window_(window), message_(message) {
    ::InitializeCriticalSection(&lock_);
  }
  ~PostedQueue() { ::DeleteCriticalSection(&lock_); }
  PostedQueue(const PostedQueue&) = delete;
  PostedQueue& operator=(const PostedQueue&) = delete;

  // From any thread.
  void Put(T item) {
    {
      const Locked locked(lock_);
      items_.push_back(std::move(item));
    }
    ::PostMessageA(window_, message_, 0, 0);
  }
  // On the window's thread: what was put since the last time, in order.
  std::vector<T> Take() {
    std::vector<T> taken;
    const Locked locked(lock_);
    taken.swap(items_);
    return taken;
  }

 private:
  class Locked {
   public:
    explicit Locked(CRITICAL_SECTION& lock) : lock_(lock) { ::EnterCriticalSection(&lock_); }
    ~Locked() { ::LeaveCriticalSection(&lock_); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;

   private:
    CRITICAL_SECTION& lock_;
  };

  HWND window_;
  UINT message_;
  CRITICAL_SECTION lock_;
  std::vector<T> items_;
};

}  // namespace ludora::win32
