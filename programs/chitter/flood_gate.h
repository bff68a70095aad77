// The pace of what the client sends, as servers count it (RFC 1459 8.10):
// each line moves a timer two seconds on from the later of itself and now,
// and a server reads lines while the timer is less than ten seconds ahead
// of now. A line goes when it leaves the timer at most ten seconds ahead: so
// five lines go at once, then one every two seconds, and no server drops
// the client for flooding. Urgent lines (PONG, QUIT) go before the others
// and at once, and count all the same. What waits is bounded.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace ludora::chitter {

// A timer that each event moves `cost` on from the later of itself and now;
// an event may happen when that leaves it at most `ahead` in front of now.
struct Pace {
  std::uint64_t timer = 0;
  bool Allows(std::uint64_t now, std::uint64_t cost, std::uint64_t ahead) const;
  void Take(std::uint64_t now, std::uint64_t cost);
};

class FloodGate {
 public:
  static constexpr std::uint64_t kCostMs = 2000;
  static constexpr std::uint64_t kAheadMs = 10000;
  static constexpr std::size_t kMaxWaiting = 400;

  // False when too much waits already: the line is dropped.
  bool Queue(std::string line);
  void QueueUrgent(std::string line);
  // The lines that may go at `now` (milliseconds), in order, taken off the queue.
  std::vector<std::string> Release(std::uint64_t now);
  std::size_t waiting() const { return queue_.size(); }
  // A new connection: nothing of the old one is sent on it.
  void Clear();

 private:
  std::deque<std::string> queue_;
  std::size_t urgent_ = 0;  // the first lines of the queue that go at once
  Pace pace_;
};

}  // namespace ludora::chitter
