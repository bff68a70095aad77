#include "chitter/flood_gate.h"

#include <algorithm>

namespace ludora::chitter {

bool Pace::Allows(std::uint64_t now, std::uint64_t cost, std::uint64_t ahead) const {
  return std::max(timer, now) + cost <= now + ahead;
}

void Pace::Take(std::uint64_t now, std::uint64_t cost) {
  timer = std::max(timer, now) + cost;
}

bool FloodGate::Queue(std::string line) {
  if (queue_.size() >= kMaxWaiting) return false;
  queue_.push_back(std::move(line));
  return true;
}

void FloodGate::QueueUrgent(std::string line) {
  if (urgent_ >= kMaxWaiting) return;  // a server that asks for nothing else
  queue_.insert(queue_.begin() + static_cast<std::ptrdiff_t>(urgent_++), std::move(line));
}

std::vector<std::string> FloodGate::Release(std::uint64_t now) {
  std::vector<std::string> lines;
  while (!queue_.empty() && (urgent_ > 0 || pace_.Allows(now, kCostMs, kAheadMs))) {
    lines.push_back(std::move(queue_.front()));
    queue_.pop_front();
    if (urgent_ > 0) --urgent_;
    pace_.Take(now, kCostMs);
  }
  return lines;
}

void FloodGate::Clear() {
  queue_.clear();
  urgent_ = 0;
  pace_ = {};
}

}  // namespace ludora::chitter
